// A run's changes made as the real run makes them with its journal: for each
// company, the copies made beside their targets first, then one batch of
// entries describing every change on the disk, then the changes (the
// opening inventory's 8 bytes written, each copy's target moved to ".old",
// each copy given the target's name). It stops at the first refused call,
// as a process killed there would.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/os.h"
#include "transfer/journal.h"

namespace testing_support {

struct CompanyChanges {
  // The company's annual file and the 8 bytes to carry into it, if any.
  std::optional<std::u16string> annual;
  transfer::ValueBytes carried{};
  // Source and target of each extra file.
  std::vector<std::pair<std::u16string, std::u16string>> copies;
};

// Raises EInOutError where a call is refused.
void SimulateRun(platform::Os& os, std::u16string_view source, std::u16string_view dest,
                 const std::vector<CompanyChanges>& companies, std::u16string_view time = u"test");

}  // namespace testing_support
