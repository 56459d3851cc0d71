// The application title: what the taskbar entry shows and what captions the
// failure display. Made once at start-up from the executable's path.
#pragma once

#include <string>
#include <string_view>

namespace shell {

// The part of the path after its last backslash, cut before its first ".";
// the first character stays as it is, every following one in lower case.
// Only the first 255 characters of the path count, as the system reports
// no more of it. C:\Narzedzia\KOPIA.EXE gives "Kopia".
std::u16string ApplicationTitle(std::u16string_view executablePath);

// The lower-case letter of a UTF-16 unit, as the system maps Latin, Greek and
// Cyrillic letters; every other unit stays as it is.
char16_t ToLower(char16_t unit);

}  // namespace shell
