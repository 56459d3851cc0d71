// The application title: what the taskbar entry shows and what captions the
// failure display. Made once at start-up from the executable's path.
#pragma once

#include <string>
#include <string_view>

#include "platform/os.h"

namespace shell {

// The part of the path after its last backslash, cut before its first ".";
// the first character stays as it is, every following one in lower case as
// the system maps letters. Only the first 255 characters of the path count,
// as the system reports no more of it. C:\Narzedzia\KOPIA.EXE gives "Kopia".
std::u16string ApplicationTitle(std::u16string_view executablePath, platform::Os& os);

}  // namespace shell
