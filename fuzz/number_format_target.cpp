// The log number format of any 8 bytes (an IEEE 754 binary64, little-endian),
// with either separator, against an exact reference: the binary value's full
// decimal expansion computed with big integers, rounded to 15 significant
// digits (a tie away from zero), then written by the format's rule.
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/check.h"
#include "fuzz/targets.h"
#include "platform/utf8.h"
#include "transfer/number_format.h"

namespace fuzz {

namespace {

// A natural number in base 10^9, least significant limb first.
class BigNumber {
 public:
  explicit BigNumber(std::uint64_t value) {
    do {
      limbs_.push_back(static_cast<std::uint32_t>(value % kBase));
      value /= kBase;
    } while (value != 0);
  }
  // factor below 2^32
  void Multiply(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (auto& limb : limbs_) {
      const std::uint64_t product = std::uint64_t{limb} * factor + carry;
      limb = static_cast<std::uint32_t>(product % kBase);
      carry = product / kBase;
    }
    while (carry != 0) {
      limbs_.push_back(static_cast<std::uint32_t>(carry % kBase));
      carry /= kBase;
    }
  }
  void MultiplyByPower(std::uint32_t base, int exponent) {
    for (; exponent > 0; --exponent) Multiply(base);
  }
  std::string Decimal() const {
    std::string text = std::to_string(limbs_.back());
    for (auto it = limbs_.rbegin() + 1; it != limbs_.rend(); ++it) {
      const std::string limb = std::to_string(*it);
      text += std::string(9 - limb.size(), '0') + limb;
    }
    return text;
  }

 private:
  static constexpr std::uint64_t kBase = 1000000000;
  std::vector<std::uint32_t> limbs_;
};

// The magnitude's significant digits d1 d2 ... and its exponent E, so that
// the value is 0.d1d2... times 10^E, exactly.
struct Expansion {
  std::string digits;
  int exponent = 0;
};

Expansion Expand(std::uint64_t significand, int binaryExponent) {
  // significand * 2^e is (significand * 5^-e) / 10^-e for a negative e.
  BigNumber number(significand);
  int scale = 0;
  if (binaryExponent >= 0) {
    number.MultiplyByPower(2, binaryExponent);
  } else {
    number.MultiplyByPower(5, -binaryExponent);
    scale = -binaryExponent;
  }
  Expansion expansion;
  expansion.digits = number.Decimal();
  expansion.exponent = static_cast<int>(expansion.digits.size()) - scale;
  return expansion;
}

// To 15 significant digits: what lies beyond is at least half a unit exactly
// when the sixteenth digit is 5 or more; then round away from zero.
Expansion Round(Expansion exact) {
  std::string digits = exact.digits.substr(0, 15);
  if (exact.digits.size() > 15 && exact.digits[15] >= '5') {
    int i = static_cast<int>(digits.size()) - 1;
    for (; i >= 0 && digits[static_cast<std::size_t>(i)] == '9'; --i) {
      digits[static_cast<std::size_t>(i)] = '0';
    }
    if (i < 0) {
      digits.insert(digits.begin(), '1');
      ++exact.exponent;
    } else {
      ++digits[static_cast<std::size_t>(i)];
    }
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  return {digits, exact.exponent};
}

std::string Reference(std::uint64_t bits, char separator) {
  const bool negative = (bits >> 63) != 0;
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased == 0x7FF) return fraction != 0 ? "NAN" : negative ? "-INF" : "INF";
  if (biased == 0 && fraction == 0) return "0";
  const std::uint64_t significand = biased == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
  const int binaryExponent = (biased == 0 ? 1 : biased) - 1075;
  const Expansion rounded = Round(Expand(significand, binaryExponent));
  const std::string& d = rounded.digits;
  const int e = rounded.exponent;

  std::string text = negative ? "-" : "";
  if (e >= -3 && e <= 15) {
    // Digit k (from 0) stands at decimal place e - 1 - k: place 0 is the units.
    std::string integer, decimals;
    for (int place = e - 1; place >= 0; --place) {
      const int k = e - 1 - place;
      integer += k < static_cast<int>(d.size()) ? d[static_cast<std::size_t>(k)] : '0';
    }
    const int lastPlace = e - static_cast<int>(d.size());
    for (int place = -1; place >= lastPlace; --place) {
      const int k = e - 1 - place;
      decimals += k >= 0 ? d[static_cast<std::size_t>(k)] : '0';
    }
    text += integer.empty() ? "0" : integer;
    if (!decimals.empty()) text += separator + decimals;
    return text;
  }
  text += d[0];
  if (d.size() > 1) text += separator + d.substr(1);
  return text + "E" + std::to_string(e - 1);
}

}  // namespace

int NumberFormatTarget(const std::uint8_t* data, std::size_t size) {
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < 8 && i < size; ++i) bits |= std::uint64_t{data[i]} << (8 * i);
  for (const char separator : {',', '.'}) {
    const std::string expected = Reference(bits, separator);
    const std::u16string sep(1, static_cast<char16_t>(separator));
    const std::string written =
        platform::TextToUtf8(transfer::FormatLogNumber(std::bit_cast<double>(bits), sep));
    if (written != expected) {
      Fail("bits " + std::to_string(bits) + " written \"" + written + "\", exactly \"" + expected +
           "\"");
    }
  }
  return 0;
}

}  // namespace fuzz
