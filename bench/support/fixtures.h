// The benchmarks' installations: many companies, built in the folder the run
// names (a tmpfs), and put back between runs so that every run does the same.
#pragma once

#include <string>
#include <vector>

#include "support/floor.h"
#include "support/installations.h"

namespace bench {

// Fixtures go into the folder given as the program's first argument, if any:
// the temporary folder is pointed there before any fixture is made.
void UseFixtureDirectory(int argc, char** argv);

// The additional file that each company has in the old installation.
inline constexpr std::u16string_view kAdditionalFile = u"BAZA_DW8.REK";

// A pair of installations whose registers list `companies` companies, and
// nothing else.
class RegisterFixture {
 public:
  explicit RegisterFixture(int companies);

  testing_support::Installations pair;
  std::filesystem::path registerFile;  // the new installation's
};

// A pair of installations with `companies` companies: annual files in both
// (a non-zero closing inventory in the old, a zero opening one in the new),
// the additional file in the old, and the register of the new.
class CompanyFixture {
 public:
  explicit CompanyFixture(int companies);

  // Every new opening inventory zero again, every copied additional file gone.
  void Restore() const;

  testing_support::Installations pair;
  std::vector<std::u16string> katalogi;
  std::vector<AnnualFiles> annualFiles;  // the system's own names

 private:
  std::vector<std::filesystem::path> copies_;
};

}  // namespace bench
