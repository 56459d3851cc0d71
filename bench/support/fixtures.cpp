#include "support/fixtures.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>

#include "support/records.h"
#include "transfer/company_register.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace bench {

namespace {

using testing_support::Installations;

std::u16string Ascii(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::string Katalog(int company) {
  char katalog[16];
  std::snprintf(katalog, sizeof(katalog), "FIRMA%05d", company);
  return katalog;
}

// Both installations' registers list the same companies.
std::filesystem::path WriteRegisters(const testing_support::TempDir& dir, int companies) {
  std::string bytes;
  for (int i = 0; i < companies; ++i) {
    char nazwa[32];
    std::snprintf(nazwa, sizeof(nazwa), "Sklep spozywczy nr %d", i);
    bytes += testing_support::FirmaRecord(nazwa, Katalog(i));
  }
  std::u16string name;
  for (const auto installation : {Installations::kOld, Installations::kNew}) {
    name = std::u16string(installation) + u"\\" + std::u16string(transfer::kRegisterName);
    dir.WriteBytes(name, bytes);
  }
  return dir.Native(name);
}

}  // namespace

void UseFixtureDirectory(int argc, char** argv) {
  if (argc < 2) return;
#ifdef _WIN32
  SetEnvironmentVariableA("TMP", argv[1]);
  SetEnvironmentVariableA("TEMP", argv[1]);
#else
  setenv("TMPDIR", argv[1], 1);
#endif
}

RegisterFixture::RegisterFixture(int companies)
    : registerFile(WriteRegisters(pair.dir, companies)) {}

CompanyFixture::CompanyFixture(int companies) {
  for (int i = 0; i < companies; ++i) {
    const std::u16string katalog = Ascii(Katalog(i));
    katalogi.push_back(katalog);
    // Closing inventories as an office has them: most not round.
    pair.AddCompany(katalog, testing_support::RokRecord(0, 1000 + i * 12.37),
                    testing_support::RokRecord(0, 0));
    pair.dir.WriteBytes(Installations::In(Installations::kOld, katalog, kAdditionalFile),
                        std::string(4096, 'x'));
    annualFiles.push_back({pair.dir.Native(Installations::OldAnnual(katalog)),
                           pair.dir.Native(Installations::NewAnnual(katalog))});
    copies_.push_back(
        pair.dir.Native(Installations::In(Installations::kNew, katalog, kAdditionalFile)));
  }
  WriteRegisters(pair.dir, companies);
}

void CompanyFixture::Restore() const {
  const char zero[8] = {};
  for (const AnnualFiles& files : annualFiles) {
    std::fstream file(files.newFile, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(testing_support::kOpening);
    file.write(zero, sizeof(zero));
  }
  std::error_code ignored;
  for (const auto& copy : copies_) std::filesystem::remove(copy, ignored);
}

}  // namespace bench
