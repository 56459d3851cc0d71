#include "transfer/number_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iomanip>
#include <limits>
#include <optional>
#include <random>
#include <string>

#include "platform/utf8.h"

namespace transfer {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

struct FormatCase {
  double value;
  const char16_t* separator;
  const char16_t* text;
};

// The expected texts come from the exact binary value of each double.
const FormatCase kFormatCases[] = {
    {0.0, u",", u"0"},
    {-0.0, u",", u"0"},
    {1234.5, u",", u"1234,5"},
    {1234.5, u".", u"1234.5"},
    {-17.25, u",", u"-17,25"},
    {1.0 / 3.0, u",", u"0,333333333333333"},
    {2.0 / 3.0, u",", u"0,666666666666667"},
    {-2.0 / 3.0, u",", u"-0,666666666666667"},
    {100.0, u",", u"100"},
    {150000000000000.0, u",", u"150000000000000"},
    {0.00012345, u",", u"0,00012345"},
    // Fixed notation down to 0.0001, scientific below it.
    {0.0001, u",", u"0,0001"},
    {0.00001, u",", u"1E-5"},
    {-1.5e-7, u",", u"-1,5E-7"},
    // ... and up to below 10^15, scientific from it.
    {999999999999999.0, u",", u"999999999999999"},
    {1e15, u",", u"1E15"},
    {1234567890123456789.0, u",", u"1,23456789012346E18"},
    {1234567890123456789.0, u".", u"1.23456789012346E18"},
    {-1234567890123456789.0, u",", u"-1,23456789012346E18"},
    {1e100, u",", u"1E100"},
    // An exact tie in the sixteenth digit rounds away from zero.
    {1000000000000005.0, u",", u"1,00000000000001E15"},
    {-1000000000000005.0, u",", u"-1,00000000000001E15"},
    // Exactly 8.62690363243509494..., below the tie that its shortest
    // round-trip text 8.626903632435095 would suggest.
    {8.626903632435095, u",", u"8,62690363243509"},
    // Seventeen digits read ...50 for both; only the exact value tells:
    // 84931756773.07044982910..., below the tie, and 48696386992.56105041503...,
    // above it.
    {84931756773.07045, u",", u"84931756773,0704"},
    {48696386992.56105, u",", u"48696386992,5611"},
    // 0.30000000000000004440892...: the noise lies past the fifteenth digit.
    {0.1 + 0.2, u",", u"0,3"},
    // Rounding carries into a new leading digit and moves the notation.
    {999999999999999.5, u",", u"1E15"},
    {9.9999999999999995e-5, u",", u"0,0001"},
    // The extremes of the format.
    {std::numeric_limits<double>::denorm_min(), u",", u"4,94065645841247E-324"},
    {std::numeric_limits<double>::max(), u",", u"1,79769313486232E308"},
    {std::numeric_limits<double>::lowest(), u",", u"-1,79769313486232E308"},
    {kInf, u",", u"INF"},
    {-kInf, u",", u"-INF"},
    {kNan, u",", u"NAN"},
    {-kNan, u",", u"NAN"},
};

TEST(FormatLogNumberTest, WritesEachValueAsTheLogShowsIt) {
  for (const FormatCase& c : kFormatCases) {
    EXPECT_EQ(platform::TextToUtf8(FormatLogNumber(c.value, c.separator)),
              platform::TextToUtf8(c.text))
        << "value " << std::setprecision(17) << c.value << " separator "
        << platform::TextToUtf8(c.separator);
  }
}

// The value rounded to 15 significant digits from its whole exact expansion,
// written as "d.ddd...e[+-]x": what the log's text must read as.
std::string ExactlyRounded(double magnitude) {
  char exact[1024];
  char* const end =
      std::to_chars(exact, exact + sizeof(exact) - 1, magnitude, std::chars_format::scientific, 800)
          .ptr;
  *end = '\0';
  std::string digits;
  const char* e = std::find(exact, end, 'e');
  for (const char* c = exact; c != e; ++c) {
    if (*c != '.') digits += *c;
  }
  int exponent = std::atoi(e + 1);
  const bool up = digits[15] >= '5';
  digits.resize(15);
  if (up) {
    int i = 14;
    for (; i >= 0 && digits[i] == '9'; --i) digits[i] = '0';
    if (i < 0) {
      digits.insert(0, "1");
      ++exponent;
    } else {
      ++digits[i];
    }
  }
  return digits.substr(0, 1) + "." + digits.substr(1, 14) + "e" + std::to_string(exponent);
}

// Every finite value, whatever its bits, reads back as its exact rounding.
TEST(FormatLogNumberTest, RoundsEveryValueFromItsExactExpansion) {
  std::mt19937_64 random(20091231);
  for (int i = 0; i < 100000; ++i) {
    // Any bits, and amounts of groszy as offices keep them.
    const double value = i % 2 == 0 ? std::bit_cast<double>(random())
                                    : static_cast<double>(random() % 100000000000) / 100;
    if (!std::isfinite(value) || value == 0) continue;
    const std::string text = platform::TextToUtf8(FormatLogNumber(value, u"."));
    ASSERT_EQ(std::strtod(text.c_str(), nullptr),
              std::strtod(ExactlyRounded(std::fabs(value)).c_str(), nullptr) * (value < 0 ? -1 : 1))
        << std::setprecision(17) << value << " written " << text;
  }
}

struct SeparatorCase {
  std::optional<std::u16string> symbol;
  const char16_t* separator = nullptr;
};

TEST(ChooseDecimalSeparatorTest, TakesOnlyASingleCharacterSymbol) {
  const SeparatorCase cases[] = {
      {u",", u","}, {u".", u"."}, {u"'", u"'"}, {u"", u"."}, {u", ", u"."}, {std::nullopt, u"."},
  };
  for (const SeparatorCase& c : cases) {
    EXPECT_EQ(platform::TextToUtf8(ChooseDecimalSeparator(c.symbol)),
              platform::TextToUtf8(c.separator))
        << "symbol " << (c.symbol ? "\"" + platform::TextToUtf8(*c.symbol) + "\"" : "none");
  }
}

}  // namespace
}  // namespace transfer
