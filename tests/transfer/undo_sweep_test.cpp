// The undo over generated runs, each cut short at every call: a run of a
// few companies (opening inventories carried, extra files copied onto
// nothing, onto a file, onto a file already backed up, now and then with the
// very content already there) is made with its journal, once as the
// simulated run makes it and once by the real operations (the file copy,
// then the inventory transfer, as the main form's run calls them, going on
// past a pair they cannot copy), with its Nth call refused (once or from then on, cleanly or after
// part of its work), as a killed process or a power cut would stop it; in
// some cases somebody then changes an annual file and a copied file. Then an
// undo, itself cut short at its Nth call in a second sweep, and another
// undo after a cut-short one. Afterwards:
//   1. every data file is byte for byte as before the run, but what somebody
//      changed after the run, which holds their content, and the ".old" of
//      such a file, which holds what it held before the run or the file's
//      content before the run (nothing is lost either way);
//   2. a change somebody made to a file the run had changed is listed;
//   3. the journal reads without a problem and marks the run taken back;
//   4. no file is left open.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "platform/utf8.h"
#include "support/fault_os.h"
#include "support/memory_os.h"
#include "support/recording_report.h"
#include "support/records.h"
#include "support/simulated_run.h"
#include "transfer/errors.h"
#include "transfer/file_copy.h"
#include "transfer/inventory_transfer.h"
#include "transfer/journal_file.h"
#include "transfer/undo.h"

namespace {

using testing_support::CompanyChanges;
using testing_support::FaultOs;
using testing_support::MemoryOs;
using Effect = FaultOs::Effect;

const std::u16string kSource = u"C:\\STARA 2008\\";
const std::u16string kDest = u"C:\\NOWA 2009\\";
const std::u16string kJournal = kDest + u"dopliki32.cofnij";
const std::u16string kFiles[] = {u"BAZA_DW8.REK", u"ŁĄKA 100%.DAT"};
const transfer::ValueBytes kUserValue{0, 0, 0, 0, 0, 0, 0x24, 0x40};
const std::string kUserContent = "zmiana użytkownika";

struct Way {
  bool fromThenOn;
  Effect effect;
};
constexpr Way kWays[] = {{false, Effect::kNone},
                         {true, Effect::kNone},
                         {false, Effect::kPartial},
                         {true, Effect::kPartial}};

std::string Trace(const char* what, std::uint64_t n, const Way& way) {
  return std::string(what) + " N=" + std::to_string(n) + (way.fromThenOn ? " from" : " once") +
         (way.effect == Effect::kPartial ? " partial" : "");
}

// A drive before the run, and the run's changes.
struct Scenario {
  MemoryOs drive;
  std::vector<CompanyChanges> companies;
  std::vector<std::u16string> katalogi;
  std::vector<std::u16string> annualFiles;
  std::vector<std::pair<std::u16string, std::u16string>> copies;  // source, target
};

Scenario Generate(std::uint32_t seed) {
  std::mt19937 random(seed);
  const auto below = [&](std::uint32_t n) { return static_cast<std::uint32_t>(random() % n); };
  const auto content = [&] {
    std::string bytes(below(40), '\0');
    for (auto& b : bytes) b = static_cast<char>(random());
    return bytes;
  };
  Scenario s;
  const std::uint32_t count = 1 + below(3);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::u16string company = u"FIRMA Ż" + std::u16string(1, static_cast<char16_t>(u'A' + i));
    s.drive.MakeDir(kSource + company);
    s.drive.MakeDir(kDest + company);
    CompanyChanges changes;
    if (below(4) != 0) {
      const std::u16string annual = kDest + company + u"\\2009_ROK.REK";
      // Now and then a non-zero opening inventory, which the run leaves.
      s.drive.PutFile(annual, testing_support::RokRecord(below(5) == 0 ? 7.5 : 0.0, 1.0));
      changes.annual = annual;
      for (auto& b : changes.carried) b = static_cast<std::uint8_t>(1 + below(255));
      // The old year's closing inventory holds the bytes carried.
      auto old = testing_support::RokRecord(0.0, 0.0);
      std::copy(changes.carried.begin(), changes.carried.end(),
                old.begin() + testing_support::kClosing);
      s.drive.PutFile(kSource + company + u"\\2008_ROK.REK", old);
      s.annualFiles.push_back(annual);
    }
    for (const auto& file : kFiles) {
      if (below(3) == 0) continue;
      const std::u16string source = kSource + company + u"\\" + file;
      const std::u16string target = kDest + company + u"\\" + file;
      const std::string copied = content();
      s.drive.PutFile(source, copied);
      if (below(2) == 0) s.drive.PutFile(target, below(4) == 0 ? copied : content());
      if (below(4) == 0) s.drive.PutFile(target + u".old", content());
      changes.copies.emplace_back(source, target);
      s.copies.emplace_back(source, target);
    }
    s.companies.push_back(changes);
    s.katalogi.push_back(company);
  }
  return s;
}

// How the scenario's run is made.
using RunWay = void (*)(platform::Os&, const Scenario&);

void Simulated(platform::Os& os, const Scenario& s) {
  testing_support::SimulateRun(os, kSource, kDest, s.companies);
}

// The real operations in the main form's order, with one journal.
void Real(platform::Os& os, const Scenario& s) {
  testing_support::RecordingReport report;
  transfer::RunJournal journal(os, kSource, kDest, u"");
  const std::vector<std::u16string> files(std::begin(kFiles), std::end(kFiles));
  transfer::SkopiujPliki(os, kSource, kDest, s.katalogi, files, report, &journal);
  transfer::SkopiujRemanenty(os, kSource, kDest, s.katalogi, report, u",", &journal);
  journal.Close();
}

struct NamedRun {
  const char* name;
  RunWay run;
};
constexpr NamedRun kRuns[] = {{"simulated", Simulated}, {"real", Real}};

// Every data file by its key: no partial file, no journal.
std::map<std::u16string, std::string> DataFiles(const MemoryOs& drive) {
  auto files = drive.Files();
  std::erase_if(files, [&](const auto& file) {
    return file.first.ends_with(u".$$$") || file.first == *drive.Key(kJournal);
  });
  return files;
}

std::optional<std::string> Entry(const std::map<std::u16string, std::string>& files,
                                 const std::u16string& key) {
  const auto found = files.find(key);
  if (found == files.end()) return std::nullopt;
  return found->second;
}

// What somebody changed after the run: file key -> content, and the lines
// the undo must list for it.
struct UserChanges {
  std::map<std::u16string, std::string> files;
  std::set<std::u16string> backups;  // keys of the changed targets' ".old"
  std::vector<std::u16string> listed;
};

const transfer::CopyChange* CopyEntryOf(const transfer::Journal& journal,
                                        const std::u16string& target) {
  for (const auto& run : journal.runs) {
    for (const auto& change : run.changes) {
      const auto* copy = std::get_if<transfer::CopyChange>(&change);
      if (copy && copy->target == target) return copy;
    }
  }
  return nullptr;
}

UserChanges ChangeAfterRun(MemoryOs& drive, const Scenario& s) {
  UserChanges user;
  const transfer::Journal journal = transfer::ReadJournal(drive, kJournal);
  const auto journalled = [&](const std::u16string& name) {
    for (const auto& run : journal.runs) {
      for (const auto& change : run.changes) {
        const auto* annual = std::get_if<transfer::AnnualChange>(&change);
        if (annual && annual->path == name) return true;
      }
    }
    return false;
  };
  if (!s.annualFiles.empty()) {
    const auto& name = s.annualFiles.front();
    auto bytes = *drive.FileBytes(name);
    std::copy(kUserValue.begin(), kUserValue.end(), bytes.begin() + testing_support::kOpening);
    drive.PutFile(name, bytes);
    user.files[*drive.Key(name)] = bytes;
    if (journalled(name))
      user.listed.push_back(u"POZOSTAWIONO " + name + u" - zmieniony od przebiegu");
  }
  if (!s.copies.empty()) {
    const auto& name = s.copies.front().second;
    // Left alone, and listed, where the undo would have taken the copy
    // back: made onto nothing, or its target moved aside to ".old".
    const auto* copy = CopyEntryOf(journal, name);
    const bool listed =
        copy && (!copy->movedAside || drive.FileBytes(name + u".old") == s.drive.FileBytes(name));
    drive.PutFile(name, kUserContent);
    user.files[*drive.Key(name)] = kUserContent;
    user.backups.insert(*drive.Key(name + u".old"));
    if (listed) user.listed.push_back(u"POZOSTAWIONO " + name + u" - zmieniony od przebiegu");
  }
  return user;
}

class Undoer {
 public:
  explicit Undoer(platform::Os& os) : os_(os) {}
  bool Undo() {
    try {
      transfer::Undo(os_, kJournal, [&](const std::u16string& line) { log.push_back(line); });
      return true;
    } catch (const transfer::EInOutError&) {
      return false;
    }
  }
  std::vector<std::u16string> log;

 private:
  platform::Os& os_;
};

void CheckAfterUndo(const MemoryOs& drive, const std::map<std::u16string, std::string>& before,
                    const UserChanges& user, const std::vector<std::u16string>& log,
                    const std::string& trace) {
  const auto after = DataFiles(drive);
  std::set<std::u16string> names;
  for (const auto& [key, bytes] : before) names.insert(key);
  for (const auto& [key, bytes] : after) names.insert(key);
  for (const auto& key : names) {
    const auto now = Entry(after, key);
    const auto was = Entry(before, key);
    if (user.files.count(key)) {
      EXPECT_EQ(now, user.files.at(key)) << trace << " " << platform::TextToUtf8(key);
    } else if (user.backups.count(key)) {
      const auto target = key.substr(0, key.size() - 4);
      EXPECT_TRUE(now == was || now == Entry(before, target))
          << trace << " " << platform::TextToUtf8(key);
    } else {
      EXPECT_EQ(now, was) << trace << " " << platform::TextToUtf8(key);
    }
  }
  for (const auto& line : user.listed) {
    EXPECT_NE(std::find(log.begin(), log.end(), line), log.end())
        << trace << " unlisted: " << platform::TextToUtf8(line);
  }
  MemoryOs reader = drive;
  const auto journal = transfer::ReadJournal(reader, kJournal);
  EXPECT_TRUE(journal.problems.empty()) << trace;
  for (const auto& run : journal.runs) EXPECT_TRUE(run.undone || run.changes.empty()) << trace;
  EXPECT_EQ(drive.OpenHandles(), 0u) << trace;
}

// The run made on a copy of the drive, with the Nth call refused (n beyond
// the run's calls: not at all).
// (The real transfer also ends at a carried signalling NaN: EInvalidOp.)
MemoryOs RunCut(const Scenario& s, RunWay run, std::uint64_t n, const Way& way) {
  MemoryOs drive = s.drive;
  FaultOs os(drive);
  way.fromThenOn ? os.FailFrom(n, way.effect) : os.FailOnce(n, way.effect);
  try {
    run(os, s);
  } catch (const transfer::Exception&) {
  }
  return drive;
}

std::uint64_t CallsOf(const std::function<void(platform::Os&)>& work, MemoryOs drive) {
  FaultOs os(drive);
  try {
    work(os);
  } catch (const transfer::EInvalidOp&) {
  }
  return os.Calls();
}

constexpr std::uint32_t kSeeds = 40;

TEST(UndoSweepTest, RunCutShortAtEveryCallIsTakenBack) {
  for (std::uint32_t seed = 0; seed < kSeeds; ++seed) {
    const Scenario s = Generate(seed);
    const auto before = DataFiles(s.drive);
    for (const auto& [name, run] : kRuns) {
      const std::uint64_t calls =
          CallsOf([&, run = run](platform::Os& os) { run(os, s); }, s.drive);
      for (std::uint64_t n = 1; n <= calls + 1; ++n) {
        for (const auto& way : kWays) {
          const std::string trace =
              std::string(name) + " seed " + std::to_string(seed) + Trace(" run", n, way);
          MemoryOs drive = RunCut(s, run, n, way);
          const bool changedAfter = (n + seed) % 3 == 0;
          const UserChanges user = changedAfter ? ChangeAfterRun(drive, s) : UserChanges{};
          Undoer undoer(drive);
          EXPECT_TRUE(undoer.Undo()) << trace;
          CheckAfterUndo(drive, before, user, undoer.log, trace);
          if (n > calls) break;
        }
      }
    }
  }
}

TEST(UndoSweepTest, UndoCutShortAtEveryCallIsFinishedByTheNext) {
  for (std::uint32_t seed = 0; seed < kSeeds; ++seed) {
    const Scenario s = Generate(seed);
    const auto before = DataFiles(s.drive);
    for (const auto& [name, run] : kRuns) {
      const std::uint64_t runCalls =
          CallsOf([&, run = run](platform::Os& os) { run(os, s); }, s.drive);
      // The run complete, and cut short in its middle after part of a call.
      for (const std::uint64_t runCut : {runCalls + 1, runCalls / 2 + 1}) {
        const MemoryOs ran = RunCut(s, run, runCut, {false, Effect::kPartial});
        const std::uint64_t calls = CallsOf([&](platform::Os& os) { Undoer(os).Undo(); }, ran);
        for (std::uint64_t n = 1; n <= calls; ++n) {
          for (const auto& way : kWays) {
            const std::string trace = std::string(name) + " seed " + std::to_string(seed) +
                                      " run cut at " + std::to_string(runCut) +
                                      Trace(", undo", n, way);
            MemoryOs drive = ran;
            FaultOs os(drive);
            way.fromThenOn ? os.FailFrom(n, way.effect) : os.FailOnce(n, way.effect);
            Undoer first(os);
            const bool finished = first.Undo();
            EXPECT_EQ(os.OpenHandles(), 0u) << trace;
            os.Disarm();
            Undoer second(drive);
            if (!finished) {
              EXPECT_TRUE(second.Undo()) << trace;
            }
            CheckAfterUndo(drive, before, {}, second.log, trace);
          }
        }
      }
    }
  }
}

// The real operations write the journal the simulated run writes for the
// same changes made in the same order (every company's copies, then every
// company's opening inventory), entry for entry and byte for byte.
TEST(UndoSweepTest, RealRunJournalsAsTheSimulatedRun) {
  std::size_t journalled = 0;
  for (std::uint32_t seed = 0; seed < kSeeds; ++seed) {
    const Scenario s = Generate(seed);
    MemoryOs real = s.drive, simulated = s.drive;
    try {
      Real(real, s);
    } catch (const transfer::EInvalidOp&) {
      continue;  // a carried signalling NaN ends the real run
    }
    std::vector<CompanyChanges> inOrder;
    for (const auto& company : s.companies) inOrder.push_back({std::nullopt, {}, company.copies});
    for (const auto& company : s.companies)
      inOrder.push_back({company.annual, company.carried, {}});
    testing_support::SimulateRun(simulated, kSource, kDest, inOrder, u"");
    const auto journal = real.FileBytes(kJournal);
    ASSERT_TRUE(journal) << seed;
    EXPECT_EQ(journal, simulated.FileBytes(kJournal)) << seed;
    EXPECT_EQ(DataFiles(real), DataFiles(simulated)) << seed;
    journalled += transfer::ParseJournal(*journal).runs.size();
  }
  // Most scenarios change something: the comparison is not of empty journals.
  EXPECT_GT(journalled, kSeeds / 2);
}

}  // namespace
