// Records what an operation reports, for tests of the operations alone.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "transfer/report.h"

namespace testing_support {

struct RecordingReport final : transfer::RunReport, transfer::LoadReport {
  std::vector<std::u16string> lines;
  std::vector<std::u16string> names, katalogi;

  void Logged(std::u16string_view line) override { lines.emplace_back(line); }
  void CompanyRead(std::u16string_view nazwa, std::u16string_view katalog) override {
    names.emplace_back(nazwa);
    katalogi.emplace_back(katalog);
  }
  // The lines as an empty log box would hold them: each followed by CR LF.
  std::u16string Text() const {
    std::u16string text;
    for (const auto& line : lines) text.append(line).append(u"\r\n");
    return text;
  }
};

}  // namespace testing_support
