#include "transfer/extract_number.h"

#include <gtest/gtest.h>

#include "platform/utf8.h"

namespace transfer {
namespace {

struct ExtractCase {
  const char16_t* text;
  const char16_t* number;
};

const ExtractCase kExtractCases[] = {
    // Installation paths as they come.
    {u"c:\\zetka_2008\\", u"2008"},
    {u"c:\\2008\\zetka_2009\\", u"2009"},
    {u"c:\\zetka_2009_kopia2\\", u"2"},
    {u"c:\\zetka_007\\", u"7"},
    {u"c:\\zetka_12a5\\", u"5"},
    {u"d:\\programy\\zetka\\", u""},
    {u"c:\\zetka_2009\u0105\\", u"2009"},
    // Ten nines leave the 32-bit range, so the run stops at nine of them;
    // the next window starts on the eleventh nine alone.
    {u"c:\\zetka_99999999999\\", u"9"},
    {u"c:\\2147483647\\", u"2147483647"},
    {u"c:\\2147483648\\", u"214748364"},
    {u"12", u"12"},
    {u"5", u"5"},
    {u"", u""},
    {u"-", u""},
    // "7\" fails as the first window; the next one, "\", fails too.
    {u"7\\", u""},
    // Only the first window, the first two characters, may hold a blank,
    // a sign or a hexadecimal marker before its digit.
    {u"-5abc", u"-5"},
    {u"+7", u"7"},
    {u" 5", u"5"},
    {u"x5", u"5"},
    {u"x1\\zetka\\", u"1"},
    {u"$A", u"10"},
    {u"XFF", u"255"},
    {u"$FFFFFFFF", u"-1"},
    {u"-2147483648", u"-2147483648"},
    // "0x" is a marker alone; later windows see "x" and then "1", "1F".
    {u"0x1F", u"1"},
    // A blank after the digits does not read; a blank alone neither.
    {u"1 2", u"2"},
    // After a failed first window the next one starts on its last character,
    // not past it: "a5" fails, then "5" reads.
    {u"a5", u"5"},
    // "-2147483649" is out of range, after it the last character "9" reads.
    {u"-2147483649", u"9"},
    // Nine hex digits exceed 32 bits; the failed window's last "0" then reads.
    {u"$100000000", u"0"},
};

TEST(ExtractNumberTest, FindsTheLastIntegerOfTheWindowScan) {
  for (const ExtractCase& c : kExtractCases) {
    EXPECT_EQ(platform::TextToUtf8(ExtractNumber(c.text)), platform::TextToUtf8(c.number))
        << "text \"" << platform::TextToUtf8(c.text) << "\"";
  }
}

}  // namespace
}  // namespace transfer
