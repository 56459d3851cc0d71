// The undo on small drives in memory: what it does with each state an
// annual file or a copied file may be in when it comes, how it picks the
// run, what it tells the person before and while it works, and that it never
// acts on a journal it cannot trust.
#include "transfer/undo.h"

#include <gtest/gtest.h>

#include "platform/utf8.h"
#include "support/memory_os.h"
#include "support/records.h"
#include "support/simulated_run.h"
#include "transfer/journal_file.h"
#include "transfer/undo_texts.h"

namespace {

using testing_support::CompanyChanges;
using testing_support::MemoryOs;
using transfer::LeftAlone;
using transfer::UndoAction;
using transfer::UndoPlan;
using transfer::ValueBytes;
using Outcome = UndoPlan::Outcome;

const std::u16string kSource = u"C:\\STARA\\";
const std::u16string kDest = u"C:\\NOWA\\";
const std::u16string kJournal = u"C:\\NOWA\\dopliki32.cofnij";
const std::string kNone = "(none)";
const std::string kFolder = "(folder)";

std::u16string AnnualOf(std::u16string_view company) {
  return kDest + std::u16string(company) + u"\\2009_ROK.REK";
}
std::u16string Target(std::u16string_view company) {
  return kDest + std::u16string(company) + u"\\BAZA_DW8.REK";
}
std::u16string SourceOf(std::u16string_view company) {
  return kSource + std::u16string(company) + u"\\BAZA_DW8.REK";
}

constexpr ValueBytes kZero{};
constexpr ValueBytes kCarried{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x40};
constexpr ValueBytes kOther{0, 0, 0, 0, 0, 0, 0x59, 0x40};

// The first k bytes of one value, the rest of another.
ValueBytes Mixed(const ValueBytes& first, const ValueBytes& rest, std::size_t k) {
  ValueBytes bytes = rest;
  std::copy(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(k), bytes.begin());
  return bytes;
}

class UndoTest : public ::testing::Test {
 protected:
  void PutAnnual(std::u16string_view company, const ValueBytes& opening) {
    testing_support::Bytes record = testing_support::RokRecord(0, 5);
    std::copy(opening.begin(), opening.end(), record.begin() + testing_support::kOpening);
    drive.PutFile(AnnualOf(company), record);
  }
  ValueBytes Opening(std::u16string_view company) const {
    const auto bytes = drive.FileBytes(AnnualOf(company));
    ValueBytes value{};
    if (bytes && bytes->size() >= testing_support::kOpening + 8) {
      std::copy_n(bytes->begin() + testing_support::kOpening, 8, value.begin());
    }
    return value;
  }
  void SetOpening(std::u16string_view company, const ValueBytes& value) {
    auto bytes = *drive.FileBytes(AnnualOf(company));
    std::copy(value.begin(), value.end(), bytes.begin() + testing_support::kOpening);
    drive.PutFile(AnnualOf(company), bytes);
  }
  // A file's content, kNone or kFolder.
  std::string At(const std::u16string& name) {
    platform::EntryInfo info;
    if (drive.Attributes(name, info) != 0) return kNone;
    return info.isDirectory ? kFolder : *drive.FileBytes(name);
  }
  void Put(const std::u16string& name, const std::string& state) {
    drive.Remove(name);
    if (state == kFolder) drive.MakeDir(name);
    if (state != kNone && state != kFolder) drive.PutFile(name, state);
  }
  void Run(const std::vector<CompanyChanges>& companies) {
    testing_support::SimulateRun(drive, kSource, kDest, companies);
  }
  UndoPlan Undo() {
    return transfer::Undo(drive, kJournal, [&](const std::u16string& line) {
      log.push_back(platform::TextToUtf8(line));
    });
  }
  const transfer::UndoStep& StepOf(const UndoPlan& plan, std::uint32_t change) {
    for (const auto& step : plan.steps) {
      if (step.change == change) return step;
    }
    throw std::runtime_error("no step");
  }

  MemoryOs drive;
  std::vector<std::string> log;
};

// Two companies' opening inventories carried (A is the run's first change, B
// its last), then the one the case names put in a state.
TEST_F(UndoTest, AnnualFileByWhatItHolds) {
  const struct {
    const char* what;
    std::u16string company;
    std::optional<ValueBytes> now;  // nothing: the file is gone
    bool undoBegan;
    UndoAction action;
    LeftAlone why;
    ValueBytes after;
  } cases[] = {
      {"the run's bytes", u"A", kCarried, false, UndoAction::kRestoreBytes, LeftAlone::kNot, kZero},
      {"the bytes before the run", u"A", kZero, false, UndoAction::kNothingToDo, LeftAlone::kNot,
       kZero},
      {"changed since", u"A", kOther, false, UndoAction::kLeaveAlone, LeftAlone::kChanged, kOther},
      {"the run's last write cut short", u"B", Mixed(kCarried, kZero, 4), false,
       UndoAction::kRestoreBytes, LeftAlone::kNot, kZero},
      {"the same bytes where the write was not the last", u"A", Mixed(kCarried, kZero, 4), false,
       UndoAction::kLeaveAlone, LeftAlone::kChanged, Mixed(kCarried, kZero, 4)},
      {"an undo's write cut short", u"A", Mixed(kZero, kCarried, 3), true,
       UndoAction::kRestoreBytes, LeftAlone::kNot, kZero},
      {"the same bytes where no undo began", u"A", Mixed(kZero, kCarried, 3), false,
       UndoAction::kLeaveAlone, LeftAlone::kChanged, Mixed(kZero, kCarried, 3)},
      {"the file gone", u"A", std::nullopt, false, UndoAction::kLeaveAlone, LeftAlone::kMissing,
       kZero},
  };
  for (const auto& c : cases) {
    drive = MemoryOs();
    log.clear();
    PutAnnual(u"A", kZero);
    PutAnnual(u"B", kZero);
    Run({{AnnualOf(u"A"), kCarried, {}}, {AnnualOf(u"B"), kCarried, {}}});
    const std::uint32_t change = c.company == u"A" ? 1 : 2;
    if (c.undoBegan)
      transfer::JournalWriter(drive, kJournal).Append({transfer::RestoringEntry{1, change}});
    if (c.now) {
      SetOpening(c.company, *c.now);
    } else {
      drive.Remove(AnnualOf(c.company));
    }
    const auto plan = Undo();
    ASSERT_EQ(plan.outcome, Outcome::kReady) << c.what;
    EXPECT_EQ(StepOf(plan, change).action, c.action) << c.what;
    EXPECT_EQ(StepOf(plan, change).why, c.why) << c.what;
    EXPECT_EQ(Opening(c.company), c.after) << c.what;
    EXPECT_EQ(At(AnnualOf(c.company)) != kNone, c.now.has_value()) << c.what;
    EXPECT_EQ(Opening(c.company == u"A" ? u"B" : u"A"), kZero) << c.what;
    EXPECT_EQ(drive.OpenHandles(), 0u) << c.what;
  }
}

// A file shorter than the bytes the run wrote is not the file it wrote.
TEST_F(UndoTest, AnnualFileCutShorterIsLeftAlone) {
  PutAnnual(u"A", kZero);
  Run({{AnnualOf(u"A"), kCarried, {}}});
  drive.PutFile(AnnualOf(u"A"), drive.FileBytes(AnnualOf(u"A"))->substr(0, 153));
  const auto plan = Undo();
  EXPECT_EQ(StepOf(plan, 1).why, LeftAlone::kChanged);
  EXPECT_EQ(drive.FileBytes(AnnualOf(u"A"))->size(), 153u);
}

// One copy, onto nothing or onto a file it moved to ".old", then the target
// and the ".old" put in a state: the file before the run comes back from the
// ".old" only when it is the file the run moved there, and only a copy that
// can be let go is removed.
TEST_F(UndoTest, CopyByWhatTargetAndBackupHold) {
  const std::string kRunLeft = "(as the run left it)";
  const struct {
    bool onto;  // a file was there before the run
    std::string target, backup;
    UndoAction action;
    LeftAlone why;
    std::string targetAfter, backupAfter;
  } cases[] = {
      {false, kRunLeft, kNone, UndoAction::kRemoveCopy, LeftAlone::kNot, kNone, kNone},
      {false, kNone, kNone, UndoAction::kNothingToDo, LeftAlone::kNot, kNone, kNone},
      {false, "cudzy", kNone, UndoAction::kLeaveAlone, LeftAlone::kChanged, "cudzy", kNone},
      {false, "nowx", kNone, UndoAction::kLeaveAlone, LeftAlone::kChanged, "nowx", kNone},
      {false, kFolder, kNone, UndoAction::kLeaveAlone, LeftAlone::kInTheWay, kFolder, kNone},
      {true, kRunLeft, kRunLeft, UndoAction::kRemoveCopyAndMoveBack, LeftAlone::kNot, "stary",
       kNone},
      {true, kNone, kRunLeft, UndoAction::kMoveBack, LeftAlone::kNot, "stary", kNone},
      {true, kRunLeft, kNone, UndoAction::kLeaveAlone, LeftAlone::kNoBackup, "nowy", kNone},
      {true, "cudzy", kRunLeft, UndoAction::kLeaveAlone, LeftAlone::kChanged, "cudzy", "stary"},
      {true, "cudzy", kNone, UndoAction::kNothingToDo, LeftAlone::kNot, "cudzy", kNone},
      {true, kNone, kNone, UndoAction::kLeaveAlone, LeftAlone::kNoBackup, kNone, kNone},
      {true, kFolder, kRunLeft, UndoAction::kLeaveAlone, LeftAlone::kInTheWay, kFolder, "stary"},
      {true, kRunLeft, kFolder, UndoAction::kLeaveAlone, LeftAlone::kBackupChanged, "nowy",
       kFolder},
      {true, kRunLeft, "inny", UndoAction::kLeaveAlone, LeftAlone::kBackupChanged, "nowy", "inny"},
      {true, kNone, "inny", UndoAction::kLeaveAlone, LeftAlone::kBackupChanged, kNone, "inny"},
      // The file there before the run the same as the copy, the ".old" not
      // the one the run made: the only whole file is never removed.
      {true, "nowy", "stara", UndoAction::kLeaveAlone, LeftAlone::kBackupChanged, "nowy", "stara"},
  };
  for (const auto& c : cases) {
    const std::string trace =
        std::string(c.onto ? "onto a file: " : "onto nothing: ") + c.target + " / " + c.backup;
    drive = MemoryOs();
    drive.MakeDir(kDest + u"F");
    drive.PutFile(SourceOf(u"F"), "nowy");
    if (c.onto) drive.PutFile(Target(u"F"), "stary");
    Run({{std::nullopt, {}, {{SourceOf(u"F"), Target(u"F")}}}});
    if (c.target != kRunLeft) Put(Target(u"F"), c.target);
    if (c.backup != kRunLeft) Put(Target(u"F") + u".old", c.backup);
    const auto plan = Undo();
    ASSERT_EQ(plan.outcome, Outcome::kReady) << trace;
    EXPECT_EQ(StepOf(plan, 1).action, c.action) << trace;
    EXPECT_EQ(StepOf(plan, 1).why, c.why) << trace;
    EXPECT_EQ(At(Target(u"F")), c.targetAfter) << trace;
    EXPECT_EQ(At(Target(u"F") + u".old"), c.backupAfter) << trace;
  }
}

// A run of two companies, one copy changed since: the plan a person reads
// first changes nothing and names the files within the run's installation;
// the undo then logs each change newest first, each path whole.
TEST_F(UndoTest, PlanChangesNothingAndUndoLogsEachChange) {
  PutAnnual(u"ŻÓŁW 100%", kZero);
  drive.PutFile(SourceOf(u"ŻÓŁW 100%"), "nowy-ż");
  drive.PutFile(Target(u"ŻÓŁW 100%"), "stary-ż");
  drive.PutFile(SourceOf(u"B"), "nowy-b");
  drive.MakeDir(kDest + u"B");
  Run({{AnnualOf(u"ŻÓŁW 100%"), kCarried, {{SourceOf(u"ŻÓŁW 100%"), Target(u"ŻÓŁW 100%")}}},
       {std::nullopt, {}, {{SourceOf(u"B"), Target(u"B")}}}});
  drive.PutFile(Target(u"B"), "poprawiony");
  const auto files = drive.Files();

  const auto plan = transfer::PlanUndo(drive, kJournal);
  EXPECT_EQ(drive.Files(), files);
  std::vector<std::string> lines;
  for (const auto& line : transfer::PlanLines(plan)) lines.push_back(platform::TextToUtf8(line));
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "Cofnięcie przebiegu nr 1 z test (C:\\STARA\\ -> C:\\NOWA\\):",
                       "ZOSTANIE POZOSTAWIONY B\\BAZA_DW8.REK - zmieniony od przebiegu",
                       "DO COFNIĘCIA ŻÓŁW 100%\\BAZA_DW8.REK - kopia zostanie usunięta, "
                       "plik sprzed przebiegu wróci z .old",
                       "DO COFNIĘCIA ŻÓŁW 100%\\2009_ROK.REK - remanent początkowy wróci "
                       "do wartości sprzed przebiegu",
                   }));

  Undo();
  EXPECT_EQ(log, (std::vector<std::string>{
                     "POZOSTAWIONO C:\\NOWA\\B\\BAZA_DW8.REK - zmieniony od przebiegu",
                     "COFNIĘTO C:\\NOWA\\ŻÓŁW 100%\\BAZA_DW8.REK - kopia usunięta, plik sprzed "
                     "przebiegu wrócił z .old",
                     "COFNIĘTO C:\\NOWA\\ŻÓŁW 100%\\2009_ROK.REK - remanent początkowy ma "
                     "wartość sprzed przebiegu",
                     "OK. Cofnięto przebieg nr 1.",
                 }));
  EXPECT_EQ(At(Target(u"ŻÓŁW 100%")), "stary-ż");
  EXPECT_EQ(At(Target(u"ŻÓŁW 100%") + u".old"), kNone);
  EXPECT_EQ(Opening(u"ŻÓŁW 100%"), kZero);
  EXPECT_EQ(At(Target(u"B")), "poprawiony");
}

// Three runs, each undo takes the newest not yet taken back; then none is
// left. No journal: nothing to take back, and no journal made.
TEST_F(UndoTest, EachUndoReachesTheRunBefore) {
  log.clear();
  Undo();
  EXPECT_EQ(log, std::vector<std::string>{"Brak przebiegu do cofnięcia."});
  EXPECT_EQ(At(kJournal), kNone);
  PutAnnual(u"A", kZero);
  PutAnnual(u"B", kZero);
  drive.PutFile(SourceOf(u"A"), "nowy");
  Run({{AnnualOf(u"A"), kCarried, {}}});
  Run({{std::nullopt, {}, {{SourceOf(u"A"), Target(u"A")}}}});
  Run({{AnnualOf(u"B"), kOther, {}}});
  const struct {
    Outcome outcome;
    std::uint32_t run;
    ValueBytes a, b;
    std::string target;
  } steps[] = {
      {Outcome::kReady, 3, kCarried, kZero, "nowy"},
      {Outcome::kReady, 2, kCarried, kZero, kNone},
      {Outcome::kReady, 1, kZero, kZero, kNone},
      {Outcome::kNothing, 0, kZero, kZero, kNone},
  };
  for (const auto& step : steps) {
    const auto plan = Undo();
    EXPECT_EQ(plan.outcome, step.outcome);
    EXPECT_EQ(plan.run ? plan.run->run : 0u, step.run);
    EXPECT_EQ(Opening(u"A"), step.a) << step.run;
    EXPECT_EQ(Opening(u"B"), step.b) << step.run;
    EXPECT_EQ(At(Target(u"A")), step.target) << step.run;
  }
}

// A journal it cannot trust for the run: nothing is touched, and the person
// learns why. A damaged line of an earlier run only earns a note.
TEST_F(UndoTest, JournalNotTrustedIsNotActedOn) {
  PutAnnual(u"A", kZero);
  PutAnnual(u"B", kZero);
  Run({{AnnualOf(u"A"), kCarried, {}}});
  Run({{AnnualOf(u"B"), kCarried, {}}});
  const std::string journal = *drive.FileBytes(kJournal);
  // Lines: 1 title, 2-3 the first run, 4-5 the second.
  const auto lineStart = [&](int line) {
    std::size_t at = 0;
    for (int i = 1; i < line; ++i) at = journal.find('\n', at) + 1;
    return at;
  };
  const auto damaged = [&](int line) {
    std::string bytes = journal;
    bytes[lineStart(line) + 3] ^= 0x20;
    return bytes;
  };
  const struct {
    std::string bytes;
    Outcome outcome;
    std::size_t problemLine;
    const char* logged;
  } cases[] = {
      {damaged(5), Outcome::kDamagedInTheWay, 5,
       "Cofanie wstrzymane: wiersz 5 dziennika jest nieczytelny, a może dotyczyć cofanego "
       "przebiegu."},
      {damaged(4), Outcome::kDamagedInTheWay, 4,
       "Cofanie wstrzymane: wiersz 4 dziennika jest nieczytelny, a może dotyczyć cofanego "
       "przebiegu."},
      {"dopliki32 - dziennik zmian do cofnięcia, format 2" + journal.substr(journal.find('\r')),
       Outcome::kOtherVersion, 0,
       "Cofanie wstrzymane: dziennik innej wersji (dopliki32 - dziennik zmian do cofnięcia, "
       "format 2)."},
      {"zakupy\r\n", Outcome::kNotJournal, 0,
       "Cofanie wstrzymane: plik dopliki32.cofnij nie jest dziennikiem programu."},
  };
  for (const auto& c : cases) {
    drive.PutFile(kJournal, c.bytes);
    const auto files = drive.Files();
    log.clear();
    const auto plan = Undo();
    EXPECT_EQ(plan.outcome, c.outcome) << c.logged;
    EXPECT_EQ(plan.problemLine, c.problemLine) << c.logged;
    EXPECT_EQ(log, std::vector<std::string>{c.logged});
    EXPECT_EQ(drive.Files(), files) << c.logged;
  }
  drive.PutFile(kJournal, damaged(3));
  const auto plan = transfer::PlanUndo(drive, kJournal);
  EXPECT_EQ(plan.outcome, Outcome::kReady);
  EXPECT_EQ(plan.earlierProblems, std::vector<std::size_t>{3});
  EXPECT_EQ(platform::TextToUtf8(transfer::PlanLines(plan).back()),
            "Uwaga: wiersz 3 dziennika jest nieczytelny (wcześniejszy przebieg, cofnięcie go nie "
            "dotyczy)");
  Undo();
  EXPECT_EQ(Opening(u"B"), kZero);
  EXPECT_EQ(Opening(u"A"), kCarried);
}

}  // namespace
