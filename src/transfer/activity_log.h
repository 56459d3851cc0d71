// The activity log's file: the log saved whole beside the executable at the
// end of every completed run.
#pragma once

#include <string>
#include <string_view>

#include "platform/os.h"

namespace transfer {

inline constexpr std::u16string_view kLogFileName = u"dopliki32.log";

// The log file beside the executable: its directory (up to the last
// separator or drive colon) followed by the log file's name.
std::u16string LogFilePath(std::u16string_view executablePath);

// Writes the text to the file in the ANSI code page, no byte-order mark,
// creating it anew. Raises ECreateError or EWriteError, and then the file is
// as it was: the new one is written beside it and replaces it only when whole.
void SaveLog(platform::Os& os, std::u16string_view text, std::u16string_view fileName);

}  // namespace transfer
