#include "transfer/undo_texts.h"

#include "platform/utf8.h"

namespace transfer {

namespace {

std::u16string Number(std::uint64_t value) { return platform::Utf8ToText(std::to_string(value)); }

const std::u16string& PathOf(const Change& change) {
  if (const auto* annual = std::get_if<AnnualChange>(&change)) return annual->path;
  return std::get<CopyChange>(change).target;
}

std::u16string Reason(LeftAlone why) {
  switch (why) {
    case LeftAlone::kChanged:
      return u"zmieniony od przebiegu";
    case LeftAlone::kMissing:
      return u"brak pliku";
    case LeftAlone::kNoBackup:
      return u"brak pliku .old z zawartością sprzed przebiegu";
    case LeftAlone::kBackupChanged:
      return u"plik .old zmieniony od przebiegu";
    case LeftAlone::kInTheWay:
      return u"w jego miejscu jest folder";
    case LeftAlone::kNot:
      break;
  }
  return u"";
}

// The change as planned (future) or as done (past), after the file's name.
std::u16string What(UndoAction action, bool done) {
  switch (action) {
    case UndoAction::kRestoreBytes:
      return done ? u"remanent początkowy ma wartość sprzed przebiegu"
                  : u"remanent początkowy wróci do wartości sprzed przebiegu";
    case UndoAction::kRemoveCopy:
      return done ? u"kopia usunięta" : u"kopia zostanie usunięta";
    case UndoAction::kRemoveCopyAndMoveBack:
      return done ? u"kopia usunięta, plik sprzed przebiegu wrócił z .old"
                  : u"kopia zostanie usunięta, plik sprzed przebiegu wróci z .old";
    case UndoAction::kMoveBack:
      return done ? u"plik sprzed przebiegu wrócił z .old" : u"plik sprzed przebiegu wróci z .old";
    case UndoAction::kNothingToDo:
    case UndoAction::kLeaveAlone:
      break;
  }
  return u"";
}

// `within`: the installation the plan's title names, left out of the paths
// under it so that a line of the plan fits the window; the log keeps them whole.
std::u16string StepLine(const UndoStep& step, bool done, std::u16string_view within = {}) {
  std::u16string_view path = PathOf(step.what);
  if (!within.empty() && path.size() > within.size() && path.starts_with(within)) {
    path.remove_prefix(within.size());
  }
  switch (step.action) {
    case UndoAction::kNothingToDo:
      return u"NIC DO COFNIĘCIA " + std::u16string(path);
    case UndoAction::kLeaveAlone:
      return (done ? u"POZOSTAWIONO " : u"ZOSTANIE POZOSTAWIONY ") + std::u16string(path) + u" - " +
             Reason(step.why);
    default:
      return (done ? u"COFNIĘTO " : u"DO COFNIĘCIA ") + std::u16string(path) + u" - " +
             What(step.action, done);
  }
}

}  // namespace

std::u16string PlannedStepLine(const UndoStep& step) { return StepLine(step, false); }

std::u16string DoneStepLine(const UndoStep& step) { return StepLine(step, true); }

std::vector<std::u16string> PlanLines(const UndoPlan& plan) {
  if (plan.outcome != UndoPlan::Outcome::kReady) return {OutcomeLine(plan)};
  const RunEntry& run = *plan.run;
  std::vector<std::u16string> lines;
  std::u16string title = u"Cofnięcie przebiegu nr " + Number(run.run);
  if (!run.time.empty()) title += u" z " + run.time;
  lines.push_back(title + u" (" + run.source + u" -> " + run.dest + u"):");
  for (const auto& step : plan.steps) lines.push_back(StepLine(step, false, run.dest));
  for (const auto line : plan.earlierProblems) {
    lines.push_back(
        u"Uwaga: wiersz " + Number(line) +
        u" dziennika jest nieczytelny (wcześniejszy przebieg, cofnięcie go nie dotyczy)");
  }
  return lines;
}

std::u16string OutcomeLine(const UndoPlan& plan) {
  switch (plan.outcome) {
    case UndoPlan::Outcome::kReady:
      return u"OK. Cofnięto przebieg nr " + Number(plan.run->run) + u".";
    case UndoPlan::Outcome::kNothing:
      return u"Brak przebiegu do cofnięcia.";
    case UndoPlan::Outcome::kNotJournal:
      return u"Cofanie wstrzymane: plik dopliki32.cofnij nie jest dziennikiem programu.";
    case UndoPlan::Outcome::kOtherVersion:
      return u"Cofanie wstrzymane: dziennik innej wersji (" + platform::Utf8ToText(plan.firstLine) +
             u").";
    case UndoPlan::Outcome::kDamagedInTheWay:
      return u"Cofanie wstrzymane: wiersz " + Number(plan.problemLine) +
             u" dziennika jest nieczytelny, a może dotyczyć cofanego przebiegu.";
  }
  return u"";
}

}  // namespace transfer
