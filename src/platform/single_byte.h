// Text to the bytes of a single-byte code page, as the system's conversion
// makes them: a character the code page lacks becomes '?', and a character
// outside the BMP (a surrogate pair) is one character, so one '?'.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// `byteOf(unit)` gives the code page's byte for a UTF-16 unit, or '?'.
template <typename ByteOf>
std::string TextToSingleByte(std::u16string_view text, ByteOf byteOf) {
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      ++i;
      bytes += '?';
      continue;
    }
    bytes += byteOf(unit);
  }
  return bytes;
}

}  // namespace platform
