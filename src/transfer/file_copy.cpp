#include "transfer/file_copy.h"

#include "transfer/errors.h"
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

// Leaves the pair either copied (a complete copy of the source at the target,
// the file it replaced at the backup) or as it was. Returns whether it was
// copied. The copy is made beside the target and takes the target's name
// only once complete; the file it replaces is moved aside only then.
bool CopyPair(platform::Os& os, const std::u16string& source, const std::u16string& target) {
  const std::u16string backup = target + std::u16string(kBackupSuffix);
  // A name the system cannot take is never passed on.
  if (!Fits(source) || !Fits(backup)) return false;
  const bool present = FileIsPresent(os, target);
  // An earlier backup is never lost: the present file stays, and nothing is
  // copied over it.
  if (present && EntryExists(os, backup)) return false;
  const std::u16string partial = PartialName(target);
  if (!CopyToPartial(os, source, partial)) return false;
  const bool movedAside = present && MoveAside(os, target, backup);
  if (present && !movedAside) {
    DiscardPartial(os, partial);
    return false;
  }
  if (Succeeded(os.Move(partial, target))) return true;
  // Both are put back, whatever either answers. A file left only under its
  // backup name, or a partial file left beside it, is reported: the run must
  // not go on as if nothing had happened.
  const auto movedBack = movedAside ? os.Move(backup, target) : err::kSuccess;
  const auto removed = RemovePartial(os, partial);
  if (!Succeeded(movedBack)) throw EInOutError(static_cast<std::int32_t>(movedBack), target);
  if (!Succeeded(removed)) throw EInOutError(static_cast<std::int32_t>(removed), partial);
  return false;
}

}  // namespace

void SkopiujPliki(platform::Os& os, std::u16string_view fSciezka_source,
                  std::u16string_view fSciezka_dest, const std::vector<std::u16string>& katalogi,
                  const std::vector<std::u16string>& pliki, RunReport& report) {
  report.Logged(u"Skopiowane fimry:");
  for (const auto& katalog : katalogi) {
    // Nothing outside the installations is moved or replaced.
    if (ClimbsOut(katalog)) continue;
    for (const auto& plik : pliki) {
      const std::u16string entry = katalog + u"\\" + plik;
      if (CopyPair(os, std::u16string(fSciezka_source) + entry,
                   std::u16string(fSciezka_dest) + entry)) {
        report.Logged(entry);
      }
    }
  }
}

}  // namespace transfer
