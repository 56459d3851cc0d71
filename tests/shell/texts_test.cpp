// The texts the window makes itself: the application title, the failure
// display's full stop, and the directory fields' one line.
#include <gtest/gtest.h>

#include "platform/utf8.h"
#include "shell/application_title.h"
#include "shell/failure_text.h"
#include "shell/field_text.h"
#include "support/system.h"

namespace {

TEST(ApplicationTitle, TheFileNameUpToItsFirstDotWithTheRestInLowerCase) {
  const struct {
    std::u16string path, title;
  } cases[] = {
      {u"C:\\Narzedzia\\KOPIA.EXE", u"Kopia"},
      {u"D:\\x\\kopia.roczna.exe", u"kopia"},
      {u"C:\\dopliki32.exe", u"dopliki32"},
      {u"C:\\Programy\\ŁĄCZNIK.EXE", u"Łącznik"},
      {u"C:\\ŻÓŁW ĘŚĆŃŹ.exe", u"Żółw ęśćńź"},
      {u"C:\\x\\ÀÉÎÕÜ ΑΩ ДЖЁ.exe", u"Àéîõü αω джё"},
      {u"C:\\x\\.ukryty", u""},
      {u"C:\\x\\bez_kropki", u"bez_kropki"},
      {u"/opt/narzedzia/dopliki_tests", u"/opt/narzedzia/dopliki_tests"},
      // The system reports 255 characters of a longer path.
      {u"C:\\" + std::u16string(246, u'a') + u"\\ABCDEFG.exe", u"Abcde"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(shell::ApplicationTitle(c.path, testing_support::SystemOs()), c.title)
        << platform::TextToUtf8(c.path);
  }
}

TEST(FailureText, AFullStopAfterACharacterThatComesAfterTheStop) {
  const struct {
    std::u16string message, shown;
  } cases[] = {
      {u"File access denied", u"File access denied."},
      {u"I/O error 32", u"I/O error 32."},
      {u"Czy na pewno?", u"Czy na pewno?."},
      {u"Uwaga:", u"Uwaga:."},
      {u"Invalid data type for 'InstallPath'", u"Invalid data type for 'InstallPath'"},
      {u"Koniec.", u"Koniec."},
      {u"ends with a blank ", u"ends with a blank "},
      {u"\"quoted\"", u"\"quoted\""},
      {u"(nawias)", u"(nawias)"},
      {u"przecinek,", u"przecinek,"},
      {u"myślnik-", u"myślnik-"},
      {u"Stop!", u"Stop!"},
      {u"", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(shell::FailureText(c.message), c.shown) << platform::TextToUtf8(c.message);
  }
}

TEST(DirectoryFieldText, NothingFromTheFirstLineBreakOn) {
  const struct {
    std::u16string typed, kept;
  } cases[] = {
      {u"c:\\zetka_2024", u"c:\\zetka_2024"},
      {u"c:\\zetka_2024\r\nc:\\inna", u"c:\\zetka_2024"},
      {u"c:\\a\nb", u"c:\\a"},
      {u"c:\\a\rb", u"c:\\a"},
      {u"\r\nc:\\a", u""},
      {u" c:\\a \t", u" c:\\a \t"},
  };
  for (const auto& c : cases) EXPECT_EQ(shell::DirectoryFieldText(c.typed), c.kept);
}

}  // namespace
