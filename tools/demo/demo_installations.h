// The demo's pair of installations of the bookkeeping program: a handful of
// companies with Polish names, their annual files with inventory values and
// one BAZA_DW8.REK each, made anew on every `make run`.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>

namespace demo {

struct Installation {
  std::filesystem::path dir;
  int year;
};

// Removes both installations and makes them as the demo starts them.
void Build(const Installation& old, const Installation& now);

// Puts a folder in place of the new year's annual file of the company in
// folder `katalog`: the system refuses to open it as a file (code 5, as for
// a read-only file or one the user has no rights to, which a process run by
// root under Wine would open all the same), so a run fails on it.
void BlockAnnualFile(const Installation& now, std::u16string_view katalog);

// Prints the log that the program saved (Windows-1250) and every opening
// inventory of the new year that is no longer what Build wrote.
void Report(const Installation& now, const std::filesystem::path& log, std::ostream& out);
// Prints only the opening inventories, each line after `heading`.
void ReportInventories(const Installation& now, const std::string& heading, std::ostream& out);

}  // namespace demo
