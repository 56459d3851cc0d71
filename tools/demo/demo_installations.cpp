#include "demo/demo_installations.h"

#include <fstream>
#include <iomanip>
#include <iterator>
#include <optional>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "platform/posix/posix_os.h"
#include "platform/utf8.h"
#include "support/records.h"

namespace demo {

namespace {

namespace fs = std::filesystem;
using testing_support::Bytes;

struct Company {
  std::u16string_view name;
  std::u16string_view katalog;
  std::optional<double> oldClosing;  // none: new this year, no annual file of the old year
  double newOpening;                 // not zero: already entered, so left alone
};

// Both kinds of line show in the log: carried over, already set, missing.
constexpr Company kCompanies[] = {
    {u"Piekarnia Kłos s.c.", u"PIEKARNIA", 18250.40, 0},
    {u"Zakład Stolarski Wiórek", u"STOLARZ", 7340.15, 0},
    {u"Apteka Pod Różą", u"APTEKA", 45210.75, 0},
    {u"Sklep spożywczy Gąska", u"GASKA", 3120.00, 5120.00},
    {u"Usługi Transportowe Świerk", u"SWIERK", 12999.99, 0},
    {u"Biuro Rachunkowe Źdźbło", u"ZDZBLO", std::nullopt, 0},
};

// The program's files hold Windows-1250, as on a Polish Windows.
platform::posix::PosixOs& Ansi() {
  static platform::posix::PosixOs os(1250);
  return os;
}

std::string AnsiOf(std::u16string_view text) { return Ansi().TextToAnsi(text).value_or(""); }

fs::path In(const Installation& installation, const Company& company) {
  return installation.dir / platform::TextToUtf8(company.katalog);
}

fs::path Annual(const Installation& installation, const Company& company) {
  return In(installation, company) / (std::to_string(installation.year) + "_ROK.REK");
}

void Write(const fs::path& file, const Bytes& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

Bytes Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string Number(double value) {
  std::ostringstream text;
  text << std::setprecision(15) << value;
  return text.str();
}

}  // namespace

void Build(const Installation& old, const Installation& now) {
  fs::remove_all(old.dir);
  fs::remove_all(now.dir);
  Bytes oldRegister, newRegister;
  for (const Company& company : kCompanies) {
    const Bytes record =
        testing_support::FirmaRecord(AnsiOf(company.name), AnsiOf(company.katalog));
    newRegister += record;
    const std::string katalog = platform::TextToUtf8(company.katalog);
    if (company.oldClosing) {
      oldRegister += record;
      Write(Annual(old, company), testing_support::RokRecord(0, *company.oldClosing));
      Write(In(old, company) / "BAZA_DW8.REK",
            "BAZA_DW8 " + katalog + " " + std::to_string(old.year) + " (po roku)\r\n");
    }
    Write(Annual(now, company), testing_support::RokRecord(company.newOpening, 0));
    Write(In(now, company) / "BAZA_DW8.REK",
          "BAZA_DW8 " + katalog + " " + std::to_string(now.year) + " (po konwersji)\r\n");
  }
  Write(old.dir / "spisfirm.dat", oldRegister);
  Write(now.dir / "spisfirm.dat", newRegister);
}

void BlockAnnualFile(const Installation& now, std::u16string_view katalog) {
  for (const Company& company : kCompanies) {
    if (company.katalog != katalog) continue;
    fs::remove(Annual(now, company));
    fs::create_directory(Annual(now, company));
    return;
  }
  throw std::invalid_argument("no demo company in " + platform::TextToUtf8(katalog));
}

void Report(const Installation& now, const fs::path& log, std::ostream& out) {
  if (fs::exists(log)) {
    out << "The log saved beside the exe (" << log.string() << "):\n";
    std::istringstream lines(platform::TextToUtf8(Ansi().AnsiToText(Read(log))));
    std::string line;
    while (std::getline(lines, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      out << "  " << line << "\n";
    }
  } else {
    out << "No log was saved (" << log.string() << ").\n";
  }
  ReportInventories(now, "Opening inventories of " + std::to_string(now.year) + " that changed",
                    out);
}

void ReportInventories(const Installation& now, const std::string& heading, std::ostream& out) {
  out << heading << ":\n";
  bool any = false;
  for (const Company& company : kCompanies) {
    const Bytes record = Read(Annual(now, company));
    if (record.size() < 512) continue;
    const double value = testing_support::ValueAt(record, testing_support::kOpening);
    if (record.substr(testing_support::kOpening, 8) ==
        testing_support::DoubleBytes(company.newOpening)) {
      continue;
    }
    any = true;
    out << "  " << platform::TextToUtf8(company.name) << " ("
        << platform::TextToUtf8(company.katalog) << "): " << Number(company.newOpening) << " -> "
        << Number(value) << "\n";
  }
  if (!any) out << "  none\n";
}

}  // namespace demo
