// The file work of the year-end transfer against its floor, the same system
// calls written by hand: the inventory transfer over 10,000 companies and the
// register load of 50,000; and the additional file copy of 2,000 companies
// against a copy straight onto each target. A run of both operations over
// 10,000 companies twice more: previewed, against its reads alone; and with
// its undo journal, against the same run without one. The OS layer is the
// system's own, so this program gives the native figures on Linux and the
// Wine figures as a Windows build.
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/overlay_os.h"
#include "shell/preview.h"
#include "support/fixtures.h"
#include "support/recording_report.h"
#include "support/system.h"
#include "support/timing.h"
#include "transfer/company_register.h"
#include "transfer/file_copy.h"
#include "transfer/inventory_transfer.h"
#include "transfer/journal_file.h"
#include "transfer/rekordy.h"

namespace {

#ifdef _WIN32
constexpr const char* kSystem = "wine";
#else
constexpr const char* kSystem = "native";
#endif

std::string Figure(const char* name) { return std::string(name) + "-" + kSystem; }

void Transfer(int companies, int repetitions) {
  const bench::CompanyFixture fixture(companies);
  testing_support::RecordingReport log;
  bench::CompareWithFloor(
      Figure("transfer"), repetitions,
      [&] {
        fixture.Restore();
        log.lines.clear();
      },
      [&] {
        transfer::SkopiujRemanenty(testing_support::SystemOs(), fixture.pair.Source(),
                                   fixture.pair.Dest(), fixture.katalogi, log, u",");
      },
      [&] { bench::TransferFloor(fixture.annualFiles); });
}

// The additional file copy of each company's file (4 KiB, no target yet)
// against a copy straight onto each target, as a copy made before partial
// files were: what making the copy beside its target and renaming it into
// place costs.
void Copy(int companies, int repetitions) {
  const bench::CompanyFixture fixture(companies);
  testing_support::RecordingReport log;
  const std::vector<std::u16string> files{std::u16string(bench::kAdditionalFile)};
  std::vector<std::pair<std::u16string, std::u16string>> pairs;
  for (const auto& katalog : fixture.katalogi) {
    const std::u16string entry = katalog + u"\\" + files.front();
    pairs.emplace_back(fixture.pair.Source() + entry, fixture.pair.Dest() + entry);
  }
  bench::CompareWithFloor(
      Figure("copy"), repetitions,
      [&] {
        fixture.Restore();
        log.lines.clear();
      },
      [&] {
        transfer::SkopiujPliki(testing_support::SystemOs(), fixture.pair.Source(),
                               fixture.pair.Dest(), fixture.katalogi, files, log);
      },
      [&] {
        for (const auto& [source, target] : pairs) {
          testing_support::SystemOs().CopyNew(source, target);
        }
      });
}

// The floor reads the records. What a size query a record costs on its own,
// the load's end-of-file test, is shown after the figure.
void Load(int companies, int repetitions) {
  const bench::RegisterFixture fixture(companies);
  testing_support::RecordingReport listed;
  volatile std::size_t records = 0;
  bench::CompareWithFloor(
      Figure("load"), repetitions, [] {},
      [&] {
        // Emptied as the window empties its lists before a load.
        listed.names.clear();
        listed.katalogi.clear();
        transfer::ZaladujFirmy(testing_support::SystemOs(), fixture.pair.Dest(), listed);
      },
      [&] { records = bench::LoadFloor(fixture.registerFile, transfer::TFirma::kSize); });
  bench::Samples withSize;
  for (int i = 0; i < repetitions; ++i) {
    withSize.Add(bench::Seconds(
        [&] { bench::LoadFloor(fixture.registerFile, transfer::TFirma::kSize, true); }));
  }
  std::printf("        the same reads with a size query each: %s\n",
              bench::Describe(withSize).c_str());
  if (listed.katalogi.size() != static_cast<std::size_t>(companies) ||
      records != listed.katalogi.size()) {
    std::printf("bench: %s read %zu records, the floor %zu\n", Figure("load").c_str(),
                listed.katalogi.size(), static_cast<std::size_t>(records));
  }
}

// Both operations as "SRU" runs them: each company's additional file copied,
// then the inventory transfer; with a journal, each change recorded in it
// first.
class BothOperations {
 public:
  explicit BothOperations(int companies) : fixture_(companies) {}

  const bench::CompanyFixture& Fixture() const { return fixture_; }
  const std::vector<std::u16string>& Files() const { return files_; }

  // Every file as before a run, and no journal.
  void Restore() {
    fixture_.Restore();
    testing_support::SystemOs().Remove(transfer::JournalPath(fixture_.pair.Dest()));
    log_.lines.clear();
  }

  void Run(bool withJournal) {
    platform::Os& os = testing_support::SystemOs();
    const std::u16string source = fixture_.pair.Source(), dest = fixture_.pair.Dest();
    std::optional<transfer::RunJournal> journal;
    if (withJournal) journal.emplace(os, source, dest, u"");
    transfer::RunJournal* const kept = journal ? &*journal : nullptr;
    transfer::SkopiujPliki(os, source, dest, fixture_.katalogi, files_, log_, kept);
    transfer::SkopiujRemanenty(os, source, dest, fixture_.katalogi, log_, u",", kept);
    if (journal) journal->Close();
  }

 private:
  bench::CompanyFixture fixture_;
  std::vector<std::u16string> files_{std::u16string(bench::kAdditionalFile)};
  testing_support::RecordingReport log_;
};

// The preview's work, as "Podgląd" does it (the window's text and list
// aside): both operations and the journal over an overlay of the system's
// files, which reads them and keeps every change in memory. Its floor is the
// same run's reads and nothing else (see bench::RunReadsFloor): a preview
// cannot see the files but through them, and everything it costs above them
// is the overlay's and the operations' own work.
void Preview(BothOperations& run, int repetitions) {
  const bench::CompanyFixture& fixture = run.Fixture();
  using testing_support::Installations;
  std::vector<bench::CopyFiles> copies;
  for (const auto& katalog : fixture.katalogi) {
    copies.push_back(
        {fixture.pair.dir.Native(Installations::In(Installations::kOld, katalog, run.Files()[0])),
         fixture.pair.dir.Native(Installations::In(Installations::kNew, katalog, run.Files()[0]))});
  }
  const std::filesystem::path journal = fixture.pair.dir.Native(
      std::u16string(Installations::kNew) + u"\\" + std::u16string(transfer::kJournalName));
  std::size_t changes = 0;
  bench::CompareWithFloor(
      Figure("preview"), repetitions, [&] { run.Restore(); },
      [&] {
        platform::OverlayOs overlay(testing_support::SystemOs());
        const shell::PreviewedRun previewed =
            shell::RunPreview(overlay, fixture.pair.Source(), fixture.pair.Dest(), fixture.katalogi,
                              run.Files(), true, true, u",");
        changes = overlay.Changes().size();
        if (previewed.failure) {
          std::printf("bench: %s failed\n", Figure("preview").c_str());
        }
      },
      [&] { bench::RunReadsFloor(journal, copies, fixture.annualFiles); });
  std::printf("        %zu changes kept in the overlay\n", changes);
}

// The real run with its journal against the same run without one: what
// recording each company's changes (one flush each) costs.
void Journal(BothOperations& run, int repetitions) {
  bench::CompareWithFloor(
      Figure("journal"), repetitions, [&] { run.Restore(); }, [&] { run.Run(true); },
      [&] { run.Run(false); });
}

}  // namespace

int main(int argc, char** argv) {
  bench::UseFixtureDirectory(argc, argv);
  const int repetitions = bench::Repetitions(11);
  Transfer(10000, repetitions);
  Copy(2000, repetitions);
  Load(50000, repetitions);
  // A preview over 10,000 companies takes seconds under Wine: fewer runs.
  const int fewer = bench::Repetitions(3);
  BothOperations both(10000);
  Preview(both, fewer);
  Journal(both, fewer);
  return 0;
}
