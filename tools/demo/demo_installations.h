// The demo's pair of installations of the bookkeeping program: a handful of
// companies with Polish names, their annual files with inventory values and
// one BAZA_DW8.REK each, made anew on every `make run`.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>

namespace demo {

struct Installation {
  std::filesystem::path dir;
  int year;
};

// Removes both installations and makes them as the demo starts them.
void Build(const Installation& old, const Installation& now);

// Prints the log that the program saved (Windows-1250) and every opening
// inventory of the new year that is no longer what Build wrote.
void Report(const Installation& now, const std::filesystem::path& log, std::ostream& out);
// Prints only the opening inventories, each line after `heading`.
void ReportInventories(const Installation& now, const std::string& heading, std::ostream& out);

}  // namespace demo
