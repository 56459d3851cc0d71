#include "transfer/extract_number.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace transfer {
namespace {

bool IsDecimalDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int HexDigitValue(char16_t c) {
  if (IsDecimalDigit(c)) return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Reads the whole text as a 32-bit integer: leading blanks, an optional sign,
// then decimal digits within the signed range, or a marker ("$", "x", "X",
// "0x", "0X") and at most 32 bits of hexadecimal digits, taken as two's
// complement. Anything else, trailing blanks included, does not read.
std::optional<std::int32_t> ReadInteger(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }

  bool hex = false;
  if (i < text.size() && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
    hex = true;
    i += 1;
  } else if (i + 1 < text.size() && text[i] == u'0' &&
             (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    hex = true;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;

  if (hex) {
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
      const int digit = HexDigitValue(text[i]);
      if (digit < 0) return std::nullopt;
      value = value * 16 + static_cast<std::uint64_t>(digit);
      if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    // Negation wraps like the 32-bit value it applies to.
    std::uint32_t bits = static_cast<std::uint32_t>(value);
    if (negative) bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
  }

  const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
  std::uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    if (!IsDecimalDigit(text[i])) return std::nullopt;
    magnitude = magnitude * 10 + static_cast<std::uint64_t>(text[i] - u'0');
    if (magnitude > limit) return std::nullopt;
  }
  const std::int64_t value =
      negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
  return static_cast<std::int32_t>(value);
}

std::u16string ToDecimalText(std::int32_t value) {
  const std::string ascii = std::to_string(value);
  return std::u16string(ascii.begin(), ascii.end());
}

}  // namespace

// Positions count from 1. The first window starts at position 1 while start
// is still 0, so after it fails the next group begins on its last character
// rather than just past it.
std::u16string ExtractNumber(std::u16string_view aString) {
  const std::int64_t length = static_cast<std::int64_t>(aString.size());
  std::u16string result;
  std::int64_t start = 0;
  std::int64_t count = 1;
  while (start <= length) {
    bool valid = false;
    do {
      ++count;
      const std::int64_t first = start < 1 ? 1 : start;
      std::u16string_view window;
      if (first <= length) {
        window =
            aString.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(count));
      }
      const std::optional<std::int32_t> value = ReadInteger(window);
      valid = value.has_value();
      if (valid) result = ToDecimalText(*value);
    } while (valid && count <= length);
    start += count;
    count = 0;
  }
  return result;
}

}  // namespace transfer
