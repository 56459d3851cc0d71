// The number in an installation path against a second, slow reading of its
// rule: windows of the text that grow while they read as a 32-bit integer,
// the last valid window giving the result. Each byte of the input is one
// character (U+0000 to U+00FF), so digits, signs, blanks, markers and
// separators all come up often.
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz/check.h"
#include "fuzz/targets.h"
#include "platform/utf8.h"
#include "transfer/extract_number.h"

namespace fuzz {

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsHexDigit(char16_t c) {
  return IsDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

std::u16string Ascii(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::u16string WithoutLeadingZeros(const std::u16string& digits) {
  const auto first = digits.find_first_not_of(u'0');
  return first == std::u16string::npos ? u"0" : digits.substr(first);
}

// Digit strings of equal length compare as their numbers do.
bool AtMost(const std::u16string& digits, const std::u16string& limit) {
  return digits.size() < limit.size() || (digits.size() == limit.size() && digits <= limit);
}

// The integer reading rule on a whole window: its value in decimal, or nothing.
std::optional<std::u16string> ReadWindow(std::u16string_view window) {
  std::size_t i = 0;
  while (i < window.size() && window[i] == u' ') ++i;
  bool minus = false;
  if (i < window.size() && (window[i] == u'+' || window[i] == u'-')) minus = window[i++] == u'-';
  const std::u16string rest(window.substr(i));

  if (!rest.empty() && rest.find_first_not_of(u"0123456789") == std::u16string::npos) {
    const std::u16string digits = WithoutLeadingZeros(rest);
    if (!AtMost(digits, minus ? u"2147483648" : u"2147483647")) return std::nullopt;
    return (minus && digits != u"0" ? u"-" : u"") + digits;
  }
  for (const std::u16string_view marker : {u"0x", u"0X", u"$", u"x", u"X"}) {
    if (!rest.starts_with(marker) || rest.size() == marker.size()) continue;
    const std::u16string hex = rest.substr(marker.size());
    bool allHex = true;
    for (const char16_t c : hex) allHex = allHex && IsHexDigit(c);
    if (!allHex) continue;
    const std::u16string digits = WithoutLeadingZeros(hex);
    if (digits.size() > 8) return std::nullopt;
    std::uint64_t value = 0;
    for (const char16_t c : digits) {
      value = value * 16 + static_cast<std::uint64_t>(IsDigit(c)  ? c - u'0'
                                                      : c >= u'a' ? c - u'a' + 10
                                                                  : c - u'A' + 10);
    }
    // Two's complement of 32 bits, negated within 32 bits.
    std::int64_t number = value >= 0x80000000u ? static_cast<std::int64_t>(value) - 0x100000000
                                               : static_cast<std::int64_t>(value);
    if (minus) number = -number;
    if (number > 2147483647) number -= 0x100000000;
    return Ascii(std::to_string(number));
  }
  return std::nullopt;
}

// The scan in groups of windows: a group starts at position `from` (from 1),
// its first window `first` characters long (two for the first group, one
// after); each window that reads, while no longer than the text, is followed
// by one a character longer. The next group starts `last` characters after
// the group's start, where `last` is its last window's length; the first
// group's start counts as 0 for this, although its windows begin at 1.
std::u16string SlowExtractNumber(std::u16string_view text) {
  const std::size_t length = text.size();
  std::u16string result;
  std::size_t start = 0, first = 2;
  while (start <= length) {
    const std::size_t from = start == 0 ? 1 : start;
    std::size_t width = first;
    for (;; ++width) {
      const std::u16string_view window =
          from > length ? std::u16string_view() : text.substr(from - 1, width);
      const auto value = ReadWindow(window);
      if (value) result = *value;
      if (!value || width > length) break;
    }
    start += width;
    first = 1;
  }
  return result;
}

}  // namespace

int ExtractNumberTarget(const std::uint8_t* data, std::size_t size) {
  std::u16string text(size, u'\0');
  for (std::size_t i = 0; i < size; ++i) text[i] = data[i];
  const std::u16string expected = SlowExtractNumber(text);
  const std::u16string found = transfer::ExtractNumber(text);
  if (found != expected) {
    Fail("ExtractNumber(\"" + platform::TextToUtf8(text) + "\") gave \"" +
         platform::TextToUtf8(found) + "\", the rule \"" + platform::TextToUtf8(expected) + "\"");
  }
  return 0;
}

}  // namespace fuzz
