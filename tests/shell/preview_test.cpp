// "Podgląd": the run "SRU" would make, over an overlay of the files. It
// writes nothing, logs nothing, and shows the lines the following "SRU" logs
// and a summary of what that run would change.
#include "shell/preview.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/utf8.h"
#include "shell/main_form.h"
#include "support/office.h"
#include "support/records.h"
#include "transfer/errors.h"

namespace {

using testing_support::Generate;
using testing_support::In;
using testing_support::kDest;
using testing_support::kLogFile;
using testing_support::kSource;
using testing_support::Office;
using testing_support::RokRecord;

std::string Utf8(const std::u16string& text) { return platform::TextToUtf8(text); }

// The lines as the log box would hold them.
std::u16string AsLogged(const std::vector<std::u16string>& lines) {
  std::u16string text;
  for (const auto& line : lines) {
    shell::AppendShownInBox(text, line);
    text += u"\r\n";
  }
  return text;
}

std::vector<std::u16string> Split(std::u16string_view text) {
  std::vector<std::u16string> lines;
  for (std::size_t start = 0;;) {
    const auto end = text.find(u'\n', start);
    lines.emplace_back(text.substr(start, end - start));
    if (end == std::u16string_view::npos) return lines;
    start = end + 1;
  }
}

int Count(const std::vector<std::u16string>& lines, std::u16string_view part) {
  int count = 0;
  for (const auto& line : lines) count += line.find(part) != std::u16string::npos;
  return count;
}

TEST(Preview, ShowsWhatTheFollowingRunLogsAndWritesNothing) {
  int failures = 0, carried = 0, copied = 0;
  for (unsigned seed = 1; seed <= 400; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    Office office;
    Generate(random, office);
    office.Accept();
    const auto before = office.os.Files();
    const std::u16string logBefore = office.form.mmo_Log.text;

    const auto shown = office.Preview();
    EXPECT_EQ(office.os.Files(), before);
    EXPECT_FALSE(office.os.Exists(kLogFile));
    EXPECT_EQ(office.form.mmo_Log.text, logBefore);
    EXPECT_EQ(office.os.OpenHandles(), 0u);
    EXPECT_EQ(shown.title, u"Podgląd");

    std::u16string failure;
    try {
      office.main.btn_2Click();
    } catch (const transfer::Exception& e) {
      failure = e.Message();
    }
    EXPECT_EQ(Utf8(AsLogged(shown.lines)), Utf8(office.form.mmo_Log.text.substr(logBefore.size())));

    // The summary tells of the failure where the run failed, with its
    // message, and of one carried value for each one logged.
    const auto summary = Split(shown.summary);
    const int told = Count(summary, u"Przebieg zakończyłby się błędem");
    EXPECT_EQ(told, failure.empty() ? 0 : 1);
    if (!failure.empty()) {
      ++failures;
      EXPECT_EQ(Count(summary, u": " + failure), 1) << Utf8(shown.summary);
    }
    const int values = Count(shown.lines, u" REMA: ");
    EXPECT_EQ(Count(summary, u"Remanent początkowy "), values) << Utf8(shown.summary);
    carried += values;
    copied += Count(summary, u"Plik ");
  }
  // The generated installations reach every kind of outcome.
  EXPECT_GT(failures, 20);
  EXPECT_GT(carried, 50);
  EXPECT_GT(copied, 50);
}

TEST(Preview, TheSummaryTellsValuesFilesAndSkippedCompanies) {
  Office office;
  office.Register({"ALFA", "BETA", "GAMMA"});
  for (const std::u16string katalog : {u"ALFA", u"BETA", u"GAMMA"}) {
    office.os.MakeDir(In(kSource, katalog));
    office.os.MakeDir(In(kDest, katalog));
    office.os.PutFile(In(kSource, katalog + u"\\BAZA_DW8.REK"), "nowa");
  }
  office.os.PutFile(In(kSource, u"ALFA\\2008_ROK.REK"), RokRecord(0, 12.5));
  office.os.PutFile(In(kDest, u"ALFA\\2009_ROK.REK"), RokRecord(0, 0));
  office.os.PutFile(In(kDest, u"ALFA\\BAZA_DW8.REK"), "stara");
  office.os.PutFile(In(kSource, u"BETA\\2008_ROK.REK"), RokRecord(0, 5));
  office.os.PutFile(In(kDest, u"BETA\\2009_ROK.REK"), RokRecord(77.25, 0));
  office.os.PutFile(In(kDest, u"GAMMA\\2009_ROK.REK"), RokRecord(0, 0));
  office.form.chk_4.checked = office.form.chk_Remanenty.checked = true;
  office.Accept();

  const auto shown = office.Preview();
  EXPECT_EQ(Utf8(shown.summary),
            "Podgląd przebiegu \"SRU\": nic nie zostało jeszcze zmienione ani zapisane.\n"
            "Remanent początkowy ALFA: 0 -> 12,5\n"
            "Plik ALFA\\BAZA_DW8.REK: zostanie zastąpiony (poprzedni zachowany jako "
            "BAZA_DW8.REK.old)\n"
            "Plik BETA\\BAZA_DW8.REK: zostanie utworzony\n"
            "Plik GAMMA\\BAZA_DW8.REK: zostanie utworzony\n"
            "Firma BETA pominięta: remanent początkowy już niezerowy (77,25)\n"
            "Firma GAMMA pominięta: brak pliku C:\\zetka_2008\\GAMMA\\2008_ROK.REK\n"
            "Wiersze, które przebieg zapisałby w logu:");

  // A read-only annual file ends the run there; what came before is told.
  office.os.PutFile(In(kDest, u"BETA\\2009_ROK.REK"), RokRecord(0, 0), true);
  office.form.chk_4.checked = false;
  const auto failed = office.Preview();
  EXPECT_EQ(Utf8(failed.summary),
            "Podgląd przebiegu \"SRU\": nic nie zostało jeszcze zmienione ani zapisane.\n"
            "Remanent początkowy ALFA: 0 -> 12,5\n"
            "Przebieg zakończyłby się błędem przy przenoszeniu remanentu firmy BETA: " +
                Utf8(transfer::EInOutError(5, u"").Message()) +
                "\n"
                "Zmiany wymienione wyżej zostałyby zrobione przed błędem.\n"
                "Wiersze, które przebieg zapisałby w logu:");
  EXPECT_EQ(failed.lines, (std::vector<std::u16string>{u"ALFA REMA: 12,5"}));

  // Nothing ticked: nothing would change and nothing is logged.
  office.form.chk_Remanenty.checked = false;
  const auto nothing = office.Preview();
  EXPECT_EQ(Utf8(nothing.summary),
            "Podgląd przebiegu \"SRU\": nic nie zostało jeszcze zmienione ani zapisane.\n"
            "Żaden plik firmy nie zostałby zmieniony.\n"
            "Wiersze, które przebieg zapisałby w logu:");
  EXPECT_TRUE(nothing.lines.empty());
}

}  // namespace
