#include "transfer/file_copy.h"

#include <algorithm>
#include <optional>

#include "transfer/errors.h"
#include "transfer/file_digest.h"
#include "transfer/journal_file.h"
#include "transfer/partial_file.h"
#include "transfer/paths.h"
#include "transfer/record_file.h"

namespace transfer {

namespace {

namespace err = platform::err;

constexpr std::u16string_view kBackupSuffix = u".old";
// One length test serves both names made from a target.
static_assert(kPartialSuffix.size() == kBackupSuffix.size());

bool Fits(const std::u16string& name) { return name.size() <= kMaxFileName; }

bool Succeeded(std::uint32_t code) { return code == err::kSuccess; }

// Any entry of that name, a directory too: a rename onto it is refused.
bool EntryExists(platform::Os& os, const std::u16string& name) {
  platform::EntryInfo info;
  return Succeeded(os.Attributes(name, info));
}

// A complete copy of the source under the partial name. A partial file that
// a run cut short left there is replaced.
bool CopyToPartial(platform::Os& os, const std::u16string& source, const std::u16string& partial) {
  auto code = os.CopyNew(source, partial);
  if (code == err::kFileExists || code == err::kAlreadyExists) {
    DiscardPartial(os, partial);
    code = os.CopyNew(source, partial);
  }
  if (Succeeded(code)) return true;
  // A copy refused before it began (no source, no folder for the target, a
  // name the system cannot take) made nothing; one that failed on the way
  // may have left part of itself, as Wine's does on a full disk.
  if (!err::NoSuchEntry(code)) DiscardPartial(os, partial);
  return false;
}

// Moves the present target to its backup name. A rename whose answer was
// lost may have happened all the same: then the target's name is free.
bool MoveAside(platform::Os& os, const std::u16string& target, const std::u16string& backup) {
  return Succeeded(os.Move(target, backup)) || !FileIsPresent(os, target);
}

// A pair whose copy is complete under its partial name, waiting to take
// the target's name.
struct Prepared {
  std::u16string entry, target, backup, partial;
  bool present = false;
};

// The first half of a pair: the copy made beside the target. Returns nothing
// where the pair is left as it was.
std::optional<Prepared> Prepare(platform::Os& os, std::u16string entry,
                                const std::u16string& source, std::u16string target) {
  std::u16string backup = target + std::u16string(kBackupSuffix);
  // A name the system cannot take is never passed on.
  if (!Fits(source) || !Fits(backup)) return std::nullopt;
  const bool present = FileIsPresent(os, target);
  // An earlier backup is never lost: the present file stays, and nothing is
  // copied over it.
  if (present && EntryExists(os, backup)) return std::nullopt;
  std::u16string partial = PartialName(target);
  if (!CopyToPartial(os, source, partial)) return std::nullopt;
  return Prepared{std::move(entry), std::move(target), std::move(backup), std::move(partial),
                  present};
}

// The second half: leaves the pair either copied (a complete copy of the
// source at the target, the file it replaced at the backup) or as it was.
// Returns whether it was copied. The file the copy replaces is moved aside
// only now that the copy is complete.
bool Place(platform::Os& os, const Prepared& pair) {
  const bool movedAside = pair.present && MoveAside(os, pair.target, pair.backup);
  if (pair.present && !movedAside) {
    DiscardPartial(os, pair.partial);
    return false;
  }
  if (Succeeded(os.Move(pair.partial, pair.target))) return true;
  // Both are put back, whatever either answers. A file left only under its
  // backup name, or a partial file left beside it, is reported: the run must
  // not go on as if nothing had happened.
  const auto movedBack = movedAside ? os.Move(pair.backup, pair.target) : err::kSuccess;
  const auto removed = RemovePartial(os, pair.partial);
  if (!Succeeded(movedBack)) {
    throw EInOutError(static_cast<std::int32_t>(movedBack), pair.target);
  }
  if (!Succeeded(removed)) throw EInOutError(static_cast<std::int32_t>(removed), pair.partial);
  return false;
}

// What the journal keeps of the prepared copies: each copy's size and
// SHA-256, and those of the file it is about to move aside, so that an undo
// removes only this copy and takes back only that file.
std::vector<Change> Describe(platform::Os& os, const std::vector<Prepared>& batch) {
  std::vector<Change> changes;
  changes.reserve(batch.size());
  for (const auto& pair : batch) {
    const auto copy = DigestOf(os, pair.partial);
    CopyChange change{pair.target, pair.present, copy.size, copy.hash};
    if (pair.present) {
      const auto replaced = DigestOf(os, pair.target);
      change.replacedSize = replaced.size;
      change.replacedHash = replaced.hash;
    }
    changes.push_back(std::move(change));
  }
  return changes;
}

// Records the batch, then gives each copy its target's name. A batch the
// journal cannot describe changes nothing: its partial copies are removed
// (as far as the system lets them be) and the failure ends the run.
void PlaceBatch(platform::Os& os, std::vector<Prepared>& batch, RunReport& report,
                RunJournal* journal) {
  if (batch.empty()) return;
  if (journal) {
    try {
      journal->Record(Describe(os, batch));
    } catch (const EInOutError&) {
      for (const auto& pair : batch) RemovePartial(os, pair.partial);
      batch.clear();
      throw;
    }
  }
  for (const auto& pair : batch) {
    if (Place(os, pair)) report.Logged(pair.entry);
  }
  batch.clear();
}

}  // namespace

void SkopiujPliki(platform::Os& os, std::u16string_view fSciezka_source,
                  std::u16string_view fSciezka_dest, const std::vector<std::u16string>& katalogi,
                  const std::vector<std::u16string>& pliki, RunReport& report,
                  RunJournal* journal) {
  report.Logged(u"Skopiowane fimry:");
  std::vector<Prepared> batch;
  // The batch's file names as the system compares them: a name listed twice
  // would make its partial copy over the batch's own, so the batch is placed
  // first and the second copy sees the first in place, as it would alone.
  std::vector<std::u16string> names;
  for (const auto& katalog : katalogi) {
    // Nothing outside the installations is moved or replaced.
    if (ClimbsOut(katalog)) continue;
    for (const auto& plik : pliki) {
      std::u16string name = os.LowerCase(plik);
      if (std::find(names.begin(), names.end(), name) != names.end()) {
        PlaceBatch(os, batch, report, journal);
        names.clear();
      }
      const std::u16string entry = katalog + u"\\" + plik;
      std::optional<Prepared> pair;
      try {
        pair = Prepare(os, entry, std::u16string(fSciezka_source) + entry,
                       std::u16string(fSciezka_dest) + entry);
      } catch (const EInOutError&) {
        // A partial file that cannot be removed ends the run; the copies
        // made before it take their names first, as they would one by one.
        PlaceBatch(os, batch, report, journal);
        throw;
      }
      if (!pair) continue;
      batch.push_back(std::move(*pair));
      names.push_back(std::move(name));
    }
    PlaceBatch(os, batch, report, journal);
    names.clear();
  }
}

}  // namespace transfer
