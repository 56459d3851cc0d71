// The run's journal in the new installation: a run that may change something
// opens it before anything else, and one it cannot open or take for its own
// ends the run there, through the failure display, with every data file and
// the log file as they were.
#include <gtest/gtest.h>

#include "platform/utf8.h"
#include "support/records.h"
#include "support/whole_operation.h"
#include "transfer/errors.h"
#include "transfer/journal_file.h"
#include "transfer/undo.h"

namespace {

using testing_support::Bytes;
using testing_support::Installations;
using testing_support::RokRecord;
using testing_support::WholeOperation;

const std::u16string kJournal = u"zetka_2009\\dopliki32.cofnij";
const std::u16string kLog = u"bin\\dopliki32.log";

std::string Utf8(const std::u16string& text) { return platform::TextToUtf8(text); }

TEST(RunJournalTest, JournalThatCannotBeOpenedStopsTheRunBeforeAnyChange) {
  const struct {
    const char* label;
    void (*put)(WholeOperation&);
    // The code the failure names.
    std::uint32_t code;
  } rows[] = {
      {"a folder under its name", [](WholeOperation& op) { op.pair.dir.MakeDir(kJournal); },
       platform::err::kAccessDenied},
      {"another file under its name",
       [](WholeOperation& op) { op.pair.dir.WriteBytes(kJournal, "lista zakupów\r\n"); },
       transfer::kJournalInvalid},
      {"a journal of another version",
       [](WholeOperation& op) {
         op.pair.dir.WriteBytes(kJournal, "dopliki32 - dziennik zmian do cofnięcia, format 9\r\n");
       },
       transfer::kJournalInvalid},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    WholeOperation op;
    op.Register({"FIRMA"});
    op.pair.AddCompany(u"FIRMA", RokRecord(0, 12.5), RokRecord(0, 0));
    op.pair.dir.WriteBytes(Installations::In(Installations::kOld, u"FIRMA", u"BAZA_DW8.REK"),
                           "nowa");
    op.pair.dir.WriteBytes(Installations::In(Installations::kNew, u"FIRMA", u"BAZA_DW8.REK"),
                           "stara");
    op.pair.dir.WriteBytes(kLog, "poprzedni\r\n");
    row.put(op);
    const bool file = row.code == transfer::kJournalInvalid;
    const Bytes journalBefore = file ? op.pair.dir.ReadBytes(kJournal) : Bytes();
    ASSERT_EQ(op.Accept().events, testing_support::kAccepted);
    op.form.mmo_3.lines = {u"BAZA_DW8.REK"};
    const auto before = op.Files();

    const auto run = op.Run(true, true);

    const auto failure =
        transfer::EInOutError(static_cast<std::int32_t>(row.code), op.pair.dir.Path(kJournal));
    EXPECT_EQ(Utf8(run.failure), Utf8(failure.Message()));
    EXPECT_EQ(run.events, testing_support::Events{});  // no "Koniec"
    EXPECT_EQ(run.logged, u"");
    EXPECT_EQ(testing_support::Differences(before, op.Files()), "");
    EXPECT_EQ(op.pair.dir.ReadBytes(kLog), "poprzedni\r\n");
    // What is under the journal's name is left as it was.
    if (file) {
      EXPECT_EQ(op.pair.dir.ReadBytes(kJournal), journalBefore);
    }
  }
}

// A run that may change nothing (no switch ticked) makes no journal.
TEST(RunJournalTest, RunWithNoSwitchTickedMakesNoJournal) {
  WholeOperation op;
  op.Register({"FIRMA"});
  op.pair.AddCompany(u"FIRMA", RokRecord(0, 12.5), RokRecord(0, 0));
  ASSERT_EQ(op.Accept().events, testing_support::kAccepted);
  EXPECT_EQ(op.Run(false, false).events, testing_support::kKoniec);
  EXPECT_FALSE(op.pair.dir.Exists(kJournal));
}

// A read-only extra file gives a read-only copy, which the journal still
// reads to describe it; the undo then takes the copy back.
TEST(RunJournalTest, ReadOnlyExtraFileIsCopiedJournalledAndTakenBack) {
  WholeOperation op;
  op.Register({"FIRMA"});
  op.pair.AddCompany(u"FIRMA", RokRecord(0, 12.5), RokRecord(0, 0));
  const auto source = Installations::In(Installations::kOld, u"FIRMA", u"BAZA_DW8.REK");
  const auto target = Installations::In(Installations::kNew, u"FIRMA", u"BAZA_DW8.REK");
  op.pair.dir.WriteBytes(source, "nowa");
  op.pair.dir.WriteBytes(target, "stara");
  op.pair.dir.SetReadOnly(source);
  ASSERT_EQ(op.Accept().events, testing_support::kAccepted);
  op.form.mmo_3.lines = {u"BAZA_DW8.REK"};
  const auto before = op.Files();

  const auto run = op.Run(true, false);

  EXPECT_EQ(Utf8(run.failure), "");
  EXPECT_EQ(run.events, testing_support::kKoniec);
  EXPECT_EQ(op.pair.dir.ReadBytes(target), "nowa");
  EXPECT_EQ(op.pair.dir.ReadBytes(target + u".old"), "stara");

  std::vector<std::u16string> lines;
  const auto undone = transfer::Undo(op.os, op.pair.dir.Path(kJournal),
                                     [&](const std::u16string& line) { lines.push_back(line); });
  EXPECT_EQ(undone.outcome, transfer::UndoPlan::Outcome::kReady);
  EXPECT_EQ(testing_support::Differences(before, op.Files()), "");
}

}  // namespace
