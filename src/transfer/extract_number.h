// The number in an installation path, which names its annual record files.
#pragma once

#include <string>
#include <string_view>

namespace transfer {

// The last integer that a window scan finds in aString, in decimal, or the
// empty text. Windows grow from their start while they read as a 32-bit
// integer; the first window is the first two characters, so it alone can
// carry a leading blank, sign or hexadecimal marker ("-5", "x5").
std::u16string ExtractNumber(std::u16string_view aString);

}  // namespace transfer
