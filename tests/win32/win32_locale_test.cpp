// The code page and the decimal symbol come from the system's regional
// settings, so the expected values come from whoever started the tests:
//   DOPLIKI_EXPECT_ACP      the ANSI code page, "1250" or "1252"
//   DOPLIKI_EXPECT_DECIMAL  the user's decimal symbol, "," or "."
// Without them the exact checks skip. Suites named *LocaleTest run once per
// locale (see cmake/wine-test.sh).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/os.h"
#include "platform/system_os.h"
#include "platform/utf8.h"

namespace {

std::optional<std::string> Expected(const char* variable) {
  const char* value = std::getenv(variable);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::string(value);
}

// Bytes and text that convert into each other; one-way cases only from text,
// for characters the code page lacks.
struct Conversion {
  std::uint32_t codePage;
  std::string_view bytes;
  std::u16string_view text;
  bool bothWays;
};

const Conversion kConversions[] = {
    {1250, "\xB3", u"\u0142", true},  // ł: the byte that tells the two code pages apart
    {1250, "\xA3\xA5\x8C\x8F\xAF\xC6\xCA\xD1\xD3",
     u"\u0141\u0104\u015A\u0179\u017B\u0106\u0118\u0143\u00D3", true},
    {1250, "a?b", u"a\u4E00b", false},
    // No look-alike for what the code page lacks: a path would name another folder.
    {1250, "C:\\?rsted\\?", u"C:\\\u00D8rsted\\\u0100", false},
    {1252, "\xB3", u"\u00B3", true},  // superscript three
    {1252, "\x80\xA3\xE9", u"\u20AC\u00A3\u00E9", true},
    {1252, "a?b", u"a\u4E00b", false},
    {1252, "C:\\?ukasz\\?", u"C:\\\u0141ukasz\\\u0100", false},
};

class Win32LocaleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto acp = Expected("DOPLIKI_EXPECT_ACP");
    if (!acp) GTEST_SKIP() << "DOPLIKI_EXPECT_ACP is not set";
    codePage_ = static_cast<std::uint32_t>(std::stoul(*acp));
  }

  std::unique_ptr<platform::Os> os_ = platform::MakeSystemOs();
  std::uint32_t codePage_ = 0;
};

TEST_F(Win32LocaleTest, AnsiCodePageIsTheExpectedOne) { EXPECT_EQ(os_->AnsiCodePage(), codePage_); }

TEST_F(Win32LocaleTest, ConvertsWithTheCodePage) {
  int checked = 0;
  for (const Conversion& c : kConversions) {
    if (c.codePage != codePage_) continue;
    ++checked;
    SCOPED_TRACE(platform::TextToUtf8(c.text));
    EXPECT_EQ(os_->TextToAnsi(c.text), c.bytes);
    if (c.bothWays) {
      EXPECT_EQ(os_->AnsiToText(c.bytes), c.text);
    }
  }
  EXPECT_GT(checked, 0) << "no cases for code page " << codePage_;
}

TEST(Win32DecimalLocaleTest, DecimalSymbolIsTheUsersOne) {
  const auto expected = Expected("DOPLIKI_EXPECT_DECIMAL");
  if (!expected) GTEST_SKIP() << "DOPLIKI_EXPECT_DECIMAL is not set";
  const auto symbol = platform::MakeSystemOs()->DecimalSymbol();
  ASSERT_TRUE(symbol.has_value());
  EXPECT_EQ(platform::TextToUtf8(*symbol), *expected);
}

}  // namespace
