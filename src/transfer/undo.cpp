#include "transfer/undo.h"

#include <algorithm>
#include <cstring>

#include "transfer/errors.h"
#include "transfer/file_digest.h"
#include "transfer/journal_file.h"
#include "transfer/owned_file.h"
#include "transfer/undo_texts.h"

namespace transfer {

namespace {

namespace err = platform::err;

constexpr std::u16string_view kBackupSuffix = u".old";

// --- which run ---

// The newest run with changes not taken back, or why there is none to take.
UndoPlan Select(const Journal& journal, const JournalRun*& chosen) {
  UndoPlan plan;
  chosen = nullptr;
  plan.firstLine = journal.firstLine;
  if (journal.state == JournalState::kNotJournal) {
    plan.outcome = UndoPlan::Outcome::kNotJournal;
    return plan;
  }
  if (journal.state == JournalState::kOtherVersion) {
    plan.outcome = UndoPlan::Outcome::kOtherVersion;
    return plan;
  }
  for (auto run = journal.runs.rbegin(); run != journal.runs.rend() && !chosen; ++run) {
    if (!run->undone && !run->changes.empty()) chosen = &*run;
  }
  // A line not applied after the run's entry may be one of its changes, the
  // mark that it was taken back, or a newer run: nothing is done then.
  for (const auto& problem : journal.problems) {
    if (!chosen || problem.line < chosen->line) {
      plan.earlierProblems.push_back(problem.line);
    } else if (plan.problemLine == 0) {
      plan.problemLine = problem.line;
    }
  }
  if (plan.problemLine != 0) {
    plan.outcome = UndoPlan::Outcome::kDamagedInTheWay;
  } else if (chosen) {
    plan.outcome = UndoPlan::Outcome::kReady;
    plan.run = chosen->start;
  }
  return plan;
}

// --- what a file holds ---

enum class Presence { kAbsent, kFile, kDirectory };

Presence PresenceOf(platform::Os& os, std::u16string_view name) {
  platform::EntryInfo info;
  auto code = os.Attributes(name, info);
  // The entry may exist while its attributes cannot be read (a file the
  // system holds open): the directory listing still knows it. An answer
  // neither gives is raised, never taken for an absence.
  if (code != err::kSuccess && !err::NoSuchEntry(code)) code = os.FindFirst(name, info);
  if (err::NoSuchEntry(code)) return Presence::kAbsent;
  if (code != err::kSuccess) throw EInOutError(static_cast<std::int32_t>(code), name);
  return info.isDirectory ? Presence::kDirectory : Presence::kFile;
}

// The bytes a write of `to` over `from` leaves when cut short: the first of
// the new bytes, the rest of the old.
bool TornBetween(const ValueBytes& now, const ValueBytes& from, const ValueBytes& to) {
  for (std::size_t written = 1; written < now.size(); ++written) {
    if (std::equal(now.begin(), now.begin() + written, to.begin()) &&
        std::equal(now.begin() + written, now.end(), from.begin() + written)) {
      return true;
    }
  }
  return false;
}

struct Verdict {
  UndoAction action;
  LeftAlone why = LeftAlone::kNot;
};

constexpr Verdict kNothing{UndoAction::kNothingToDo};

Verdict Leave(LeftAlone why) { return {UndoAction::kLeaveAlone, why}; }

// tornByRun: the run's write of these bytes may have been cut short;
// tornByUndo: an undo's write of them back may have been.
Verdict JudgeAnnual(const ValueBytes& now, const AnnualChange& change, bool tornByRun,
                    bool tornByUndo) {
  if (now == change.before) return kNothing;
  if (now == change.after) return {UndoAction::kRestoreBytes};
  if (tornByRun && TornBetween(now, change.before, change.after)) {
    return {UndoAction::kRestoreBytes};
  }
  if (tornByUndo && TornBetween(now, change.after, change.before)) {
    return {UndoAction::kRestoreBytes};
  }
  return Leave(LeftAlone::kChanged);
}

// What a copy's target or its ".old" holds, as far as the undo cares.
enum class Holds { kNone, kFolder, kTheRuns, kOther };

// target: the copy is kTheRuns; backup: the file the run moved aside is.
Verdict JudgeCopy(const CopyChange& change, Holds target, Holds backup) {
  if (target == Holds::kFolder) return Leave(LeftAlone::kInTheWay);
  if (!change.movedAside) {
    if (target == Holds::kNone) return kNothing;
    return target == Holds::kTheRuns ? Verdict{UndoAction::kRemoveCopy}
                                     : Leave(LeftAlone::kChanged);
  }
  if (target == Holds::kOther) {
    // Nothing of the run's at ".old" either: the run was cut short before
    // it moved the file aside, or an undo put it back.
    return backup == Holds::kTheRuns ? Leave(LeftAlone::kChanged) : kNothing;
  }
  // The copy is removed only when the file it replaced can come back.
  if (backup == Holds::kNone) return Leave(LeftAlone::kNoBackup);
  if (backup != Holds::kTheRuns) return Leave(LeftAlone::kBackupChanged);
  return {target == Holds::kTheRuns ? UndoAction::kRemoveCopyAndMoveBack : UndoAction::kMoveBack};
}

void Raise(std::uint32_t code, std::u16string_view name) {
  if (code != err::kSuccess) throw EInOutError(static_cast<std::int32_t>(code), name);
}

// --- one run's changes ---

// Examines each change of the run and, given a writer, takes it back.
class Engine {
 public:
  Engine(platform::Os& os, const JournalRun& run, JournalWriter* writer)
      : os_(os), run_(run), writer_(writer) {
    for (std::size_t i = 0; i < run.changes.size(); ++i) {
      if (std::holds_alternative<AnnualChange>(run.changes[i])) lastAnnual_ = i + 1;
    }
  }

  UndoStep Step(std::uint32_t index) {
    UndoStep step{index, run_.changes[index - 1]};
    const Verdict verdict =
        std::visit([&](const auto& change) { return Take(index, change); }, step.what);
    step.action = verdict.action;
    step.why = verdict.why;
    return step;
  }

 private:
  Verdict Take(std::uint32_t index, const AnnualChange& change) {
    OwnedFile file(os_);
    if (!file.OpenIfPresent(change.path)) return Leave(LeftAlone::kMissing);
    file.SeekTo(change.offset);
    ValueBytes now{};
    std::uint32_t got = 0;
    while (got < now.size()) {
      const auto read = file.Read(now.data() + got, static_cast<std::uint32_t>(now.size()) - got);
      if (read == 0) break;
      got += read;
    }
    // A file too short to hold the bytes is not the one the run wrote.
    if (got < now.size()) return Leave(LeftAlone::kChanged);
    // A run ends at its first failed write of an annual file, so only its
    // last one can have been cut short.
    const Verdict verdict =
        JudgeAnnual(now, change, index == lastAnnual_, run_.restoring.count(index) > 0);
    if (writer_ && verdict.action == UndoAction::kRestoreBytes) {
      // On the disk before the write, so that a later undo knows the bytes
      // of a write cut short for its own.
      writer_->Append({RestoringEntry{run_.start.run, index}});
      file.SeekTo(change.offset);
      file.Write(change.before.data(), static_cast<std::uint32_t>(change.before.size()));
      // On the disk before the run is marked as taken back.
      file.Flush();
    }
    file.Close();
    return verdict;
  }

  Holds WhatIsAt(const std::u16string& name, const FileDigest& runs) {
    switch (PresenceOf(os_, name)) {
      case Presence::kAbsent:
        return Holds::kNone;
      case Presence::kDirectory:
        return Holds::kFolder;
      case Presence::kFile:
        break;
    }
    return DigestOf(os_, name) == runs ? Holds::kTheRuns : Holds::kOther;
  }

  Verdict Take(std::uint32_t, const CopyChange& change) {
    const std::u16string backup = change.target + std::u16string(kBackupSuffix);
    const Holds target = WhatIsAt(change.target, {change.size, change.hash});
    const Holds moved = change.movedAside
                            ? WhatIsAt(backup, {change.replacedSize, change.replacedHash})
                            : Holds::kNone;
    const Verdict verdict = JudgeCopy(change, target, moved);
    if (!writer_) return verdict;
    switch (verdict.action) {
      case UndoAction::kRemoveCopy:
        Raise(os_.Remove(change.target), change.target);
        break;
      case UndoAction::kRemoveCopyAndMoveBack:
        Raise(os_.Remove(change.target), change.target);
        Raise(os_.Move(backup, change.target), backup);
        break;
      case UndoAction::kMoveBack:
        Raise(os_.Move(backup, change.target), backup);
        break;
      default:
        break;
    }
    return verdict;
  }

  platform::Os& os_;
  const JournalRun& run_;
  JournalWriter* writer_;
  std::size_t lastAnnual_ = 0;
};

}  // namespace

UndoPlan PlanUndo(platform::Os& os, std::u16string_view journalPath) {
  const Journal journal = ReadJournal(os, journalPath);
  const JournalRun* run = nullptr;
  UndoPlan plan = Select(journal, run);
  if (plan.outcome != UndoPlan::Outcome::kReady) return plan;
  Engine engine(os, *run, nullptr);
  for (auto index = static_cast<std::uint32_t>(run->changes.size()); index > 0; --index) {
    plan.steps.push_back(engine.Step(index));
  }
  return plan;
}

UndoPlan Undo(platform::Os& os, std::u16string_view journalPath, const UndoLog& log) {
  const JournalRun* run = nullptr;
  UndoPlan plan = Select(ReadJournal(os, journalPath), run);
  if (plan.outcome != UndoPlan::Outcome::kReady) {
    log(OutcomeLine(plan));
    return plan;
  }
  // Opened only with a run to take back: no journal is made by an undo.
  JournalWriter writer(os, std::u16string(journalPath));
  plan = Select(writer.Contents(), run);
  if (plan.outcome != UndoPlan::Outcome::kReady) {
    log(OutcomeLine(plan));
    return plan;
  }
  Engine engine(os, *run, &writer);
  for (auto index = static_cast<std::uint32_t>(run->changes.size()); index > 0; --index) {
    plan.steps.push_back(engine.Step(index));
    log(DoneStepLine(plan.steps.back()));
  }
  writer.Append({UndoneEntry{run->start.run}});
  log(OutcomeLine(plan));
  return plan;
}

}  // namespace transfer
