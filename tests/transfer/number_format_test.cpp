#include "transfer/number_format.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <limits>
#include <optional>
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

struct SeparatorCase {
  std::optional<std::u16string> symbol;
  const char16_t* separator;
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
