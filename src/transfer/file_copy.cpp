#include "transfer/file_copy.h"

#include "transfer/activity_log.h"
#include "transfer/paths.h"
#include "transfer/record_file.h"

namespace transfer {

namespace {

bool Fits(const std::u16string& name) { return name.size() <= kMaxFileName; }

// Leaves the pair either copied (the new content at the target, the old one at
// the backup) or as it was. Returns whether it was copied.
bool CopyPair(platform::Os& os, const std::u16string& source, const std::u16string& target) {
  // A name the system cannot take is never passed on: without its backup
  // name the target is not moved, and the copy then meets it and fails.
  if (!Fits(source) || !Fits(target)) return false;
  const std::u16string backup = target + u".old";
  // The move refuses an existing backup, so an earlier backup is never lost;
  // the copy then meets the target and fails.
  const bool movedAside = Fits(backup) && FileIsPresent(os, target) &&
                          os.Move(target, backup) == platform::err::kSuccess;
  if (os.CopyNew(source, target) == platform::err::kSuccess) return true;
  // The copy created nothing: the old file goes back under its own name.
  if (movedAside) os.Move(backup, target);
  return false;
}

}  // namespace

void SkopiujPliki(platform::Os& os, std::u16string_view fSciezka_source,
                  std::u16string_view fSciezka_dest, const std::vector<std::u16string>& katalogi,
                  const std::vector<std::u16string>& pliki, LogControl& mmo_Log) {
  Log(mmo_Log, u"Skopiowane fimry:");
  for (const auto& katalog : katalogi) {
    // Nothing outside the installations is moved or replaced.
    if (ClimbsOut(katalog)) continue;
    for (const auto& plik : pliki) {
      const std::u16string entry = katalog + u"\\" + plik;
      if (CopyPair(os, std::u16string(fSciezka_source) + entry,
                   std::u16string(fSciezka_dest) + entry)) {
        Log(mmo_Log, entry);
      }
    }
  }
}

}  // namespace transfer
