// The executable's path as the program uses it: whatever form the system
// gives it in, the log file's path made from it is one the program opens.
#include "platform/names.h"

#include <gtest/gtest.h>

#include "platform/utf8.h"

namespace {

TEST(OrdinaryPath, LongPathAndShareFormsBecomeOrdinaryOnes) {
  const struct {
    std::u16string given, ordinary;
  } cases[] = {
      {u"C:\\Narzedzia\\dopliki32.exe", u"C:\\Narzedzia\\dopliki32.exe"},
      {u"\\\\serwer\\udzial\\dopliki32.exe", u"\\\\serwer\\udzial\\dopliki32.exe"},
      // Wine's answer for a program started from a share.
      {u"UNC\\serwer\\udzial\\dopliki32.exe", u"\\\\serwer\\udzial\\dopliki32.exe"},
      {u"unc\\serwer\\udzial\\dopliki32.exe", u"\\\\serwer\\udzial\\dopliki32.exe"},
      // Windows' long-path forms, which the program refuses as device names.
      {u"\\\\?\\UNC\\serwer\\udzial\\dopliki32.exe", u"\\\\serwer\\udzial\\dopliki32.exe"},
      {u"\\\\?\\C:\\Narzedzia\\dopliki32.exe", u"C:\\Narzedzia\\dopliki32.exe"},
      // Anything else stays as it is.
      {u"UNCJA\\dopliki32.exe", u"UNCJA\\dopliki32.exe"},
      {u"\\\\?\\Volume{1}\\dopliki32.exe", u"\\\\?\\Volume{1}\\dopliki32.exe"},
      {u"", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::OrdinaryPath(c.given), c.ordinary) << platform::TextToUtf8(c.given);
  }
}

}  // namespace
