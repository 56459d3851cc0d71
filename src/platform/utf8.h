// Conversions between the program's UTF-16 text and UTF-8 (POSIX file names,
// diagnostics). Malformed input becomes U+FFFD rather than failing.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::u16string Utf8ToText(std::string_view utf8);
std::string TextToUtf8(std::u16string_view text);

}  // namespace platform
