#include "support/simulated_run.h"

#include <algorithm>

#include "support/records.h"
#include "transfer/errors.h"
#include "transfer/file_digest.h"
#include "transfer/journal_file.h"
#include "transfer/owned_file.h"
#include "transfer/partial_file.h"
#include "transfer/record_file.h"

namespace testing_support {

namespace {

void Check(std::uint32_t code, std::u16string_view name) {
  if (code) throw transfer::EInOutError(static_cast<std::int32_t>(code), name);
}

bool Exists(platform::Os& os, const std::u16string& name) {
  platform::EntryInfo info;
  return os.Attributes(name, info) == platform::err::kSuccess;
}

// +0.0 or -0.0, as little-endian bytes.
bool IsZero(const transfer::ValueBytes& bytes) {
  return std::all_of(bytes.begin(), bytes.end() - 1, [](std::uint8_t b) { return b == 0; }) &&
         (bytes[7] & 0x7F) == 0;
}

struct Copy {
  std::u16string partial, target;
  bool present = false;
};

}  // namespace

void SimulateRun(platform::Os& os, std::u16string_view source, std::u16string_view dest,
                 const std::vector<CompanyChanges>& companies, std::u16string_view time) {
  transfer::RunJournal journal(os, source, dest, time);
  for (const auto& company : companies) {
    std::vector<transfer::Change> changes;
    if (company.annual) {
      transfer::OwnedFile file(os);
      if (!file.OpenIfPresent(*company.annual))
        Check(platform::err::kFileNotFound, *company.annual);
      file.SeekTo(kOpening);
      transfer::AnnualChange change{*company.annual, kOpening, {}, company.carried};
      if (file.Read(change.before.data(), 8) != 8) Check(100, *company.annual);
      file.Close();
      // A non-zero opening inventory is left as it is.
      if (IsZero(change.before)) changes.push_back(change);
    }
    std::vector<Copy> copies;
    for (const auto& [from, target] : company.copies) {
      Copy copy{transfer::PartialName(target), target, transfer::FileIsPresent(os, target)};
      // A pair whose target is already backed up is skipped.
      if (copy.present && Exists(os, target + u".old")) continue;
      transfer::DiscardPartial(os, copy.partial);
      Check(os.CopyNew(from, copy.partial), copy.partial);
      const auto digest = transfer::DigestOf(os, copy.partial);
      transfer::CopyChange change{target, copy.present, digest.size, digest.hash};
      if (copy.present) {
        const auto replaced = transfer::DigestOf(os, target);
        change.replacedSize = replaced.size;
        change.replacedHash = replaced.hash;
      }
      changes.push_back(change);
      copies.push_back(copy);
    }
    if (changes.empty()) continue;
    journal.Record(changes);
    for (const auto& change : changes) {
      if (const auto* annual = std::get_if<transfer::AnnualChange>(&change)) {
        transfer::OwnedFile file(os);
        if (!file.OpenIfPresent(annual->path)) Check(platform::err::kFileNotFound, annual->path);
        file.SeekTo(annual->offset);
        file.Write(annual->after.data(), 8);
        file.Close();
      }
    }
    for (const auto& copy : copies) {
      if (copy.present) Check(os.Move(copy.target, copy.target + u".old"), copy.target);
      Check(os.Move(copy.partial, copy.target), copy.partial);
    }
  }
}

}  // namespace testing_support
