// The undo journal on a drive: runs numbered on from the journal's last, a
// torn last entry dropped so the next entry starts clean, another version or
// file left as it is and refused, and every refused call of the writer
// reported with the system's code, leaving a journal that still reads.
#include "transfer/journal_file.h"

#include <gtest/gtest.h>

#include "support/fault_os.h"
#include "support/memory_os.h"
#include "transfer/errors.h"

namespace {

using testing_support::FaultOs;
using testing_support::MemoryOs;
using transfer::AnnualChange;
using transfer::Change;
using transfer::ChangeEntry;
using transfer::CopyChange;
using transfer::JournalEntry;
using transfer::RunEntry;

const std::u16string kDest = u"C:\\Programy\\ZETKA_WX_2009";
const std::u16string kJournal = u"C:\\Programy\\ZETKA_WX_2009\\dopliki32.cofnij";

Change Annual(std::uint8_t value) {
  return AnnualChange{kDest + u"\\FIRMA\\2009_ROK.REK", 150, {}, {value}};
}
Change Copy(std::string_view content) {
  return CopyChange{kDest + u"\\FIRMA\\BAZA_DW8.REK", true, content.size(),
                    transfer::Sha256::Of(content)};
}

std::string Entries(const std::vector<JournalEntry>& entries) {
  std::string text;
  for (const auto& entry : entries) text += transfer::EncodeEntry(entry);
  return text;
}

class JournalFileTest : public ::testing::Test {
 protected:
  JournalFileTest() { drive.MakeDir(kDest); }
  std::string Journal() const { return drive.FileBytes(kJournal).value_or("(none)"); }
  MemoryOs drive;
};

TEST_F(JournalFileTest, RunsAppendWithRisingNumbers) {
  EXPECT_EQ(transfer::JournalPath(kDest), kJournal);
  EXPECT_EQ(transfer::JournalPath(kDest + u"\\"), kJournal);
  for (std::uint32_t run = 1; run <= 3; ++run) {
    transfer::RunJournal journal(drive, u"C:\\zetka_2008\\", kDest, u"dziś");
    EXPECT_EQ(journal.Run(), run);
    journal.Record({Annual(1), Copy("a")});
    journal.Record({Annual(2)});
  }
  std::string expected = transfer::JournalHeader();
  for (std::uint32_t run = 1; run <= 3; ++run) {
    expected +=
        Entries({RunEntry{run, u"C:\\zetka_2008\\", kDest, u"dziś"}, ChangeEntry{run, Annual(1)},
                 ChangeEntry{run, Copy("a")}, ChangeEntry{run, Annual(2)}});
  }
  EXPECT_EQ(Journal(), expected);
  EXPECT_EQ(drive.OpenHandles(), 0u);
}

// A run that records nothing leaves no entry; its number is taken again.
TEST_F(JournalFileTest, RunWithoutChangesLeavesNoEntry) {
  { transfer::RunJournal unused(drive, u"C:\\a\\", kDest, u""); }
  EXPECT_EQ(Journal(), transfer::JournalHeader());
  transfer::RunJournal journal(drive, u"C:\\a\\", kDest, u"");
  EXPECT_EQ(journal.Run(), 1u);
}

// Torn at every byte of the last entry, or of the first line while the
// journal was made: the next writer's entry starts where the whole part
// ends, never glued onto the torn bytes.
TEST_F(JournalFileTest, NextEntryAfterATornOneIsClean) {
  const std::string whole =
      transfer::JournalHeader() +
      Entries({RunEntry{4, u"C:\\a\\", kDest, u""}, ChangeEntry{4, Annual(9)}});
  const std::string torn = Entries({ChangeEntry{4, Copy("torn")}});
  const std::string next =
      Entries({RunEntry{5, u"C:\\a\\", kDest, u""}, ChangeEntry{5, Annual(7)}});
  for (std::size_t cut = 1; cut < torn.size(); ++cut) {
    drive.PutFile(kJournal, whole + torn.substr(0, cut));
    transfer::RunJournal(drive, u"C:\\a\\", kDest, u"").Record({Annual(7)});
    EXPECT_EQ(Journal(), whole + next) << cut;
  }
  const std::string header = transfer::JournalHeader();
  const std::string first =
      Entries({RunEntry{1, u"C:\\a\\", kDest, u""}, ChangeEntry{1, Annual(7)}});
  for (std::size_t cut = 0; cut < header.size(); ++cut) {
    drive.PutFile(kJournal, header.substr(0, cut));
    transfer::RunJournal(drive, u"C:\\a\\", kDest, u"").Record({Annual(7)});
    EXPECT_EQ(Journal(), header + first) << cut;
  }
  EXPECT_FALSE(drive.FileBytes(kJournal + u".$$$").has_value());
  EXPECT_EQ(drive.OpenHandles(), 0u);
}

TEST_F(JournalFileTest, AnotherVersionOrFileIsRefusedAndKept) {
  for (const std::string bytes : {"dopliki32 - dziennik zmian do cofnięcia, format 2\r\n",
                                  "notatki biura\r\n", "\x89PNG\r\n\x1A\n"}) {
    drive.PutFile(kJournal, bytes);
    try {
      transfer::RunJournal journal(drive, u"C:\\a\\", kDest, u"");
      ADD_FAILURE() << "taken: " << bytes;
    } catch (const transfer::EInOutError& failure) {
      EXPECT_EQ(failure.ErrorCode, 13);
    }
    EXPECT_EQ(Journal(), bytes);
  }
  EXPECT_EQ(drive.OpenHandles(), 0u);
}

// The Nth call of a run's journal (opening a journal with a torn last
// entry, then two batches) refused, once or from then on, cleanly or after
// part of its work: a failure is raised exactly when a call was refused
// (but the last close: the entries are on the disk by then), with the
// system's code; the next writer finds a journal without damage, holding the
// entries before and the new ones up to a whole line (a batch cut short may
// leave its first entries: they describe changes not made, which an undo
// finds nothing to do for).
TEST_F(JournalFileTest, EveryRefusedCallIsReportedAndLeavesAJournalThatReads) {
  const std::string before =
      transfer::JournalHeader() + Entries({RunEntry{1, u"C:\\a\\", kDest, u""}});
  const std::string batch1 = Entries(
      {RunEntry{2, u"C:\\a\\", kDest, u""}, ChangeEntry{2, Annual(1)}, ChangeEntry{2, Copy("b")}});
  const std::string batch2 = Entries({ChangeEntry{2, Annual(3)}});
  const auto write = [&](platform::Os& os) {
    drive.PutFile(kJournal, before + "PRZEBIEG\t2\tC:");
    transfer::RunJournal journal(os, u"C:\\a\\", kDest, u"");
    journal.Record({Annual(1), Copy("b")});
    journal.Record({Annual(3)});
  };
  FaultOs counting(drive);
  write(counting);
  const std::uint64_t lastClose = counting.Calls();
  for (const bool fromThenOn : {false, true}) {
    for (const auto effect : {FaultOs::Effect::kNone, FaultOs::Effect::kPartial}) {
      for (std::uint64_t n = 1;; ++n) {
        FaultOs os(drive);
        fromThenOn ? os.FailFrom(n, effect) : os.FailOnce(n, effect);
        bool raised = false;
        try {
          write(os);
        } catch (const transfer::EInOutError& failure) {
          raised = true;
          EXPECT_TRUE(failure.ErrorCode == 5 || failure.ErrorCode == 112 ||
                      failure.ErrorCode == 1117)
              << failure.ErrorCode;
        }
        const std::string trace = "n=" + std::to_string(n) + (fromThenOn ? " from" : " once") +
                                  (effect == FaultOs::Effect::kPartial ? " partial" : "");
        EXPECT_EQ(raised, n < lastClose) << trace;
        EXPECT_EQ(os.OpenHandles(), 0u) << trace;
        const auto read = transfer::ReadJournal(drive, kJournal);
        EXPECT_TRUE(read.problems.empty()) << trace;
        const std::string text = Journal();
        const std::string whole = text.substr(0, read.whole);
        EXPECT_TRUE(whole.starts_with(before) && (before + batch1 + batch2).starts_with(whole))
            << trace;
        if (os.FaultsFired() == 0) {
          EXPECT_EQ(text, before + batch1 + batch2) << trace;
          break;
        }
      }
    }
  }
}

// After a refused append the journal may end in a torn entry: the writer
// takes no further entry, which would be glued onto it.
TEST_F(JournalFileTest, NoEntryAfterARefusedAppend) {
  FaultOs os(drive);
  transfer::RunJournal journal(os, u"C:\\a\\", kDest, u"");
  os.FailOnce(1, FaultOs::Effect::kPartial);
  EXPECT_THROW(journal.Record({Annual(1)}), transfer::EInOutError);
  const std::string afterFailure = Journal();
  EXPECT_THROW(journal.Record({Annual(2)}), transfer::EInOutError);
  EXPECT_EQ(Journal(), afterFailure);
}

}  // namespace
