// "Cofnij": takes back the newest run of the accepted new installation, told
// first and done only on "Tak", each step logged and the log saved as after
// a run; the same whether the program was closed in between or not.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/utf8.h"
#include "shell/main_form.h"
#include "support/office.h"
#include "support/records.h"
#include "transfer/errors.h"

namespace {

using testing_support::In;
using testing_support::kDest;
using testing_support::kJournalFile;
using testing_support::kLogFile;
using testing_support::kSource;
using testing_support::Office;
using testing_support::RokRecord;

std::string Utf8(const std::u16string& text) { return platform::TextToUtf8(text); }

// The office's data files: all but the log, the journal and partial copies
// (".$$$"), which are the program's own and which a run clears away.
using Files = std::map<std::u16string, std::string>;
Files DataFiles(Office& office) {
  auto files = office.os.Files();
  std::erase_if(files, [&](const auto& file) {
    return file.first.ends_with(u".$$$") || file.first == *office.os.Key(kLogFile) ||
           file.first == *office.os.Key(kJournalFile);
  });
  return files;
}

// The names whose bytes differ, one per line: short enough to read.
std::string Changed(const Files& before, const Files& after) {
  std::string names;
  for (const auto& [name, bytes] : before) {
    const auto found = after.find(name);
    if (found == after.end() || found->second != bytes) names += Utf8(name) + "\n";
  }
  for (const auto& [name, bytes] : after) {
    if (!before.contains(name)) names += Utf8(name) + " (new)\n";
  }
  return names;
}

std::u16string NothingToTakeBack() { return u"Brak przebiegu do cofnięcia."; }

TEST(UndoButton, TakesBackAnyRunOverGeneratedInstallations) {
  int undone = 0, failedRuns = 0;
  for (unsigned seed = 1; seed <= 300; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    Office office;
    testing_support::Generate(random, office);
    office.Accept();
    const auto before = DataFiles(office);
    try {
      office.main.btn_2Click();
    } catch (const transfer::Exception&) {
      ++failedRuns;
    }
    const bool changed = DataFiles(office) != before;
    const std::u16string logBefore = office.form.mmo_Log.text;

    const auto shown = office.Undo(true);

    EXPECT_EQ(Changed(before, DataFiles(office)), "");
    EXPECT_EQ(office.os.OpenHandles(), 0u);
    if (office.form.screen.events == std::vector<std::u16string>{u"list|Cofnij"}) {
      // Only a run that wrote nothing leaves nothing to take back.
      EXPECT_FALSE(changed);
      EXPECT_EQ(Utf8(shown.summary), Utf8(NothingToTakeBack()));
      EXPECT_EQ(office.form.mmo_Log.text, logBefore);
      continue;
    }
    undone += changed;
    EXPECT_EQ(office.form.screen.events, std::vector<std::u16string>{u"ask|Cofnij"});
    const std::u16string logged = office.form.mmo_Log.text.substr(logBefore.size());
    EXPECT_TRUE(logged.ends_with(u"OK. Cofnięto przebieg nr 1.\r\n")) << Utf8(logged);
    // The next one finds no run left.
    EXPECT_EQ(Utf8(office.Undo(true).summary), Utf8(NothingToTakeBack()));
    EXPECT_EQ(Changed(before, DataFiles(office)), "");
  }
  // Runs that changed files, complete or cut short, are among them.
  EXPECT_GT(undone, 100);
  EXPECT_GT(failedRuns, 20);
}

// One company: its opening inventory carried and its extra file replaced.
struct OneCompany : Office {
  OneCompany() {
    Register({"ALFA"});
    os.MakeDir(In(kSource, u"ALFA"));
    os.MakeDir(In(kDest, u"ALFA"));
    os.PutFile(In(kSource, u"ALFA\\2008_ROK.REK"), RokRecord(0, 12.5));
    os.PutFile(In(kDest, u"ALFA\\2009_ROK.REK"), RokRecord(0, 0));
    os.PutFile(In(kSource, u"ALFA\\BAZA_DW8.REK"), "nowa");
    os.PutFile(In(kDest, u"ALFA\\BAZA_DW8.REK"), "stara");
    form.mmo_3.lines = {u"BAZA_DW8.REK"};
    form.chk_4.checked = form.chk_Remanenty.checked = true;
    Accept();
  }
};

TEST(UndoButton, TellsWhatItWillDoAndDoesItOnlyOnYes) {
  OneCompany office;
  const auto before = DataFiles(office);
  office.main.btn_2Click();
  const auto afterRun = office.os.Files();
  const std::u16string logAfterRun = office.form.mmo_Log.text;

  // "Nie": nothing changes, nothing is logged or saved. The window names the
  // files within the installation its first line names; the log in full.
  const auto asked = office.Undo(false);
  EXPECT_EQ(office.form.screen.events, std::vector<std::u16string>{u"ask|Cofnij"});
  EXPECT_EQ(Utf8(asked.summary),
            "Cofnięcie przebiegu nr 1 (C:\\zetka_2008\\ -> C:\\zetka_2009\\):\n"
            "Cofnąć ten przebieg? Pliki zmienione od przebiegu zostaną pozostawione bez zmian.");
  ASSERT_EQ(asked.lines.size(), 2u);
  EXPECT_EQ(Utf8(asked.lines[0]),
            "DO COFNIĘCIA ALFA\\2009_ROK.REK - remanent początkowy wróci do "
            "wartości sprzed przebiegu");
  EXPECT_EQ(Utf8(asked.lines[1]),
            "DO COFNIĘCIA ALFA\\BAZA_DW8.REK - kopia zostanie usunięta, plik "
            "sprzed przebiegu wróci z .old");
  EXPECT_EQ(office.os.Files(), afterRun);
  EXPECT_EQ(office.form.mmo_Log.text, logAfterRun);

  // "Tak": taken back, newest change first, and the log saved.
  office.Undo(true);
  EXPECT_EQ(Changed(before, DataFiles(office)), "");
  EXPECT_EQ(Utf8(office.form.mmo_Log.text.substr(logAfterRun.size())),
            "Cofnięcie przebiegu nr 1 (C:\\zetka_2008\\ -> C:\\zetka_2009\\):\r\n"
            "COFNIĘTO C:\\zetka_2009\\ALFA\\2009_ROK.REK - remanent początkowy ma wartość "
            "sprzed przebiegu\r\n"
            "COFNIĘTO C:\\zetka_2009\\ALFA\\BAZA_DW8.REK - kopia usunięta, plik sprzed "
            "przebiegu wrócił z .old\r\n"
            "OK. Cofnięto przebieg nr 1.\r\n");
  EXPECT_EQ(office.os.FileBytes(kLogFile), office.os.TextToAnsi(office.form.mmo_Log.text));
}

// The program closed after the run and started again: the journal in the
// new installation is all the undo needs.
TEST(UndoButton, TakesBackARunOfAnEarlierStartOfTheProgram) {
  OneCompany office;
  const auto before = DataFiles(office);
  office.main.btn_2Click();

  testing_support::FakeForm form;
  shell::Tfrm_Main restarted(office.os, form.Controls());
  form.edt_ZETKA_source.text = kSource;
  form.edt_ZETKA_dest.text = kDest;
  restarted.btn_1Click();
  form.screen.answer = true;
  restarted.btn_CofnijClick();
  EXPECT_EQ(Changed(before, DataFiles(office)), "");
  EXPECT_TRUE(form.mmo_Log.text.ends_with(u"OK. Cofnięto przebieg nr 1.\r\n"));
}

// Taken back only where the file still holds what the run wrote: a copy
// changed since stays, and says so in the log.
TEST(UndoButton, LeavesAloneWhatChangedSinceTheRun) {
  OneCompany office;
  office.main.btn_2Click();
  office.os.PutFile(In(kDest, u"ALFA\\BAZA_DW8.REK"), "poprawiona");
  const std::u16string logAfterRun = office.form.mmo_Log.text;

  const auto asked = office.Undo(true);
  EXPECT_EQ(Utf8(asked.lines[1]),
            "ZOSTANIE POZOSTAWIONY ALFA\\BAZA_DW8.REK - zmieniony od przebiegu");
  EXPECT_EQ(office.os.FileBytes(In(kDest, u"ALFA\\BAZA_DW8.REK")), "poprawiona");
  EXPECT_EQ(office.os.FileBytes(In(kDest, u"ALFA\\BAZA_DW8.REK.old")), "stara");
  EXPECT_EQ(office.os.FileBytes(In(kDest, u"ALFA\\2009_ROK.REK")), RokRecord(0, 0));
  EXPECT_NE(office.form.mmo_Log.text.find(
                u"POZOSTAWIONO C:\\zetka_2009\\ALFA\\BAZA_DW8.REK - zmieniony od przebiegu\r\n",
                logAfterRun.size()),
            std::u16string::npos);
}

}  // namespace
