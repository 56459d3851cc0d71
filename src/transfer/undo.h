// The undo ("Cofnij"): takes back the newest run of the journal that changed
// something and is not taken back yet, however long ago it was and however
// it ended (complete, failed, killed, cut by a power cut).
//
// It puts a file back only where it still holds exactly what the run left
// there, and leaves alone, and lists, what changed since:
//   - an annual file gets its 8 bytes back where they are the run's "after"
//     bytes (or a write of them cut short, when that write was the run's or
//     an undo's last); "before" bytes there mean nothing is left to do;
//   - a copy is removed where its size and SHA-256 match, and the file it
//     replaced comes back from ".old" where the run had moved one there,
//     only when the target's name is free and the ".old" holds that file
//     (its size and SHA-256 match too); a copy whose ".old" is gone or
//     changed stays, since removing it would lose the file.
// The changes are taken back newest first; then an entry marks the run as
// taken back, so the next undo reaches the run before it. An undo cut short
// at any point leaves every file as the run left it or as before the run,
// and the next undo finishes the job.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os.h"
#include "transfer/journal.h"

namespace transfer {

enum class UndoAction {
  kRestoreBytes,           // the annual file's 8 bytes back
  kRemoveCopy,             // the copy removed (nothing was there before it)
  kRemoveCopyAndMoveBack,  // the copy removed, the ".old" back at its name
  kMoveBack,               // the ".old" back at its name (the copy is gone)
  kNothingToDo,            // the file holds nothing of the run
  kLeaveAlone,             // changed since the run: stays as it is
};

enum class LeftAlone {
  kNot,
  kChanged,        // holds neither what the run wrote nor what was there before
  kMissing,        // the annual file is gone
  kNoBackup,       // the ".old" the file would come back from is gone
  kBackupChanged,  // the ".old" holds another file than the run moved there
  kInTheWay,       // a folder holds the name
};

struct UndoStep {
  std::uint32_t change = 0;  // from 1, in the run's order
  Change what;
  UndoAction action = UndoAction::kNothingToDo;
  LeftAlone why = LeftAlone::kNot;
};

struct UndoPlan {
  enum class Outcome {
    kReady,           // a run to take back: `run` and its `steps`
    kNothing,         // no run left to take back
    kNotJournal,      // another file under the journal's name
    kOtherVersion,    // a journal of another format version (`firstLine`)
    kDamagedInTheWay  // an entry at `problemLine` may belong to the run
  };
  Outcome outcome = Outcome::kNothing;
  std::optional<RunEntry> run;
  // Newest change first: the order they are taken back in.
  std::vector<UndoStep> steps;
  std::string firstLine;
  std::size_t problemLine = 0;
  // Lines not applied that lie before the run: they belong to runs before
  // it and do not stand in its way, but a person should know of them.
  std::vector<std::size_t> earlierProblems;
};

// What an undo would do now, read from the journal and the files; changes
// nothing. Raises EInOutError where a file cannot be read.
UndoPlan PlanUndo(platform::Os& os, std::u16string_view journalPath);

using UndoLog = std::function<void(const std::u16string& line)>;

// Takes the run back, logging a line for each change as it is dealt with,
// then the outcome (also when there is no run to take back).
// Raises EInOutError where a file operation is refused: what was done stays
// done, and the next undo goes on from there. Returns the plan as it was
// carried out (steps as they were found when each was reached).
UndoPlan Undo(platform::Os& os, std::u16string_view journalPath, const UndoLog& log);

}  // namespace transfer
