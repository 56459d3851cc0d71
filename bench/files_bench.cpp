// The file work of the year-end transfer against its floor, the same system
// calls written by hand: the inventory transfer over 10,000 companies and the
// register load of 50,000; and the additional file copy of 2,000 companies
// against a copy straight onto each target. The OS layer is the system's own, so this program
// gives the native figures on Linux and the Wine figures as a Windows build.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "support/fixtures.h"
#include "support/recording_report.h"
#include "support/system.h"
#include "support/timing.h"
#include "transfer/company_register.h"
#include "transfer/file_copy.h"
#include "transfer/inventory_transfer.h"
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

}  // namespace

int main(int argc, char** argv) {
  bench::UseFixtureDirectory(argc, argv);
  const int repetitions = bench::Repetitions(11);
  Transfer(10000, repetitions);
  Copy(2000, repetitions);
  Load(50000, repetitions);
  return 0;
}
