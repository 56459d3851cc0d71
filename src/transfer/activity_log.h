// The activity log: lines appended to the log box, saved whole beside the
// executable at the end of every completed run.
#pragma once

#include <string>
#include <string_view>

#include "platform/os.h"
#include "transfer/controls.h"

namespace transfer {

inline constexpr std::u16string_view kLogFileName = u"dopliki32.log";

// Appends one line. Text the user typed without a final line break stays a
// line of its own: the new line then begins with the break instead. A NUL in
// the line shows as "<NUL>".
void Log(LogControl& mmo_Log, std::u16string_view Zapis);

// The log file beside the executable: its directory (up to the last
// separator or drive colon) followed by the log file's name.
std::u16string LogFilePath(std::u16string_view executablePath);

// Writes the text to the file in the ANSI code page, no byte-order mark,
// creating it anew. Raises ECreateError or EWriteError, and then the file is
// as it was: the new one is written beside it and replaces it only when whole.
void SaveLog(platform::Os& os, std::u16string_view text, std::u16string_view fileName);

}  // namespace transfer
