#include "transfer/number_format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <string>
#include <system_error>
#include <utility>

namespace transfer {
namespace {

constexpr int kSignificantDigits = 15;

// Seventeen significant digits, correctly rounded from the exact value, tell
// on which side of the tie in the sixteenth digit the exact value lies,
// except when they read ...50 there: the value then lies within half a unit
// of the seventeenth digit from the tie, and only its exact expansion tells.
// Every double has one of at most 767 significant digits; this many after the
// point gives it whole.
constexpr int kDecidingPrecision = kSignificantDigits + 1;
constexpr int kExactPrecision = 800;

// The magnitude's significant digits (no leading zero, no trailing zeros) and
// the exponent E of value = 0.d1d2... * 10^E. The value is finite, non-zero.
struct Decimal {
  std::string digits;
  int exponent = 0;
};

// The value's digits in scientific notation with `precision` digits after
// the first, correctly rounded, and its exponent.
Decimal ScientificDigits(double magnitude, int precision) {
  std::array<char, kExactPrecision + 32> buffer{};
  const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                       std::chars_format::scientific, precision);
  (void)ec;  // The buffer is large enough for every double.
  const std::string_view text(buffer.data(), static_cast<std::size_t>(end - buffer.data()));

  // text is "d.ddd...e[+-]xx".
  const std::size_t e = text.find('e');
  Decimal result;
  result.digits.reserve(e);
  for (char c : text.substr(0, e)) {
    if (c != '.') result.digits.push_back(c);
  }
  std::string_view exponentText = text.substr(e + 1);
  if (exponentText.front() == '+') exponentText.remove_prefix(1);
  std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), result.exponent);
  return result;
}

Decimal RoundedDecimal(double magnitude) {
  Decimal result = ScientificDigits(magnitude, kDecidingPrecision);
  if (result.digits.compare(kSignificantDigits, 2, "50") == 0) {
    result = ScientificDigits(magnitude, kExactPrecision);
  }
  result.exponent += 1;
  // A sixteenth digit of 5 or more means the rest is at least half a unit:
  // round away from zero, ties included.
  const bool up = result.digits[kSignificantDigits] >= '5';
  result.digits.resize(kSignificantDigits);
  if (up) {
    std::size_t i = result.digits.size();
    while (i > 0 && result.digits[i - 1] == '9') {
      result.digits[--i] = '0';
    }
    if (i == 0) {
      // 999...9 carried into a new leading digit.
      result.digits.insert(result.digits.begin(), '1');
      result.digits.pop_back();
      ++result.exponent;
    } else {
      ++result.digits[i - 1];
    }
  }
  while (!result.digits.empty() && result.digits.back() == '0') result.digits.pop_back();
  return result;
}

void AppendAscii(std::u16string& out, std::string_view ascii) {
  for (char c : ascii) out.push_back(static_cast<char16_t>(c));
}

}  // namespace

std::u16string FormatLogNumber(double value, std::u16string_view separator) {
  if (std::isnan(value)) return u"NAN";
  if (std::isinf(value)) return value < 0 ? u"-INF" : u"INF";
  if (value == 0) return u"0";

  const Decimal decimal = RoundedDecimal(std::fabs(value));
  const std::string_view digits = decimal.digits;
  const int exponent = decimal.exponent;
  const int count = static_cast<int>(digits.size());

  std::u16string out;
  if (value < 0) out.push_back(u'-');

  if (exponent >= -3 && exponent <= 15) {
    if (exponent <= 0) {
      out.push_back(u'0');
      out.append(separator);
      out.append(static_cast<std::size_t>(-exponent), u'0');
      AppendAscii(out, digits);
    } else {
      const int integerDigits = exponent < count ? exponent : count;
      AppendAscii(out, digits.substr(0, static_cast<std::size_t>(integerDigits)));
      out.append(static_cast<std::size_t>(exponent - integerDigits), u'0');
      if (count > exponent) {
        out.append(separator);
        AppendAscii(out, digits.substr(static_cast<std::size_t>(exponent)));
      }
    }
    return out;
  }

  AppendAscii(out, digits.substr(0, 1));
  if (count > 1) {
    out.append(separator);
    AppendAscii(out, digits.substr(1));
  }
  out.push_back(u'E');
  std::array<char, 8> exponentText{};
  const auto [end, ec] =
      std::to_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent - 1);
  (void)ec;
  AppendAscii(out, std::string_view(exponentText.data(),
                                    static_cast<std::size_t>(end - exponentText.data())));
  return out;
}

std::u16string ChooseDecimalSeparator(std::optional<std::u16string> symbol) {
  if (symbol && symbol->size() == 1) return std::move(*symbol);
  return u".";
}

DecimalSeparator::DecimalSeparator(platform::Os& os) : os_(os) { Refresh(); }

void DecimalSeparator::Refresh() { text_ = ChooseDecimalSeparator(os_.DecimalSymbol()); }

}  // namespace transfer
