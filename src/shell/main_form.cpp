#include "shell/main_form.h"

#include <optional>
#include <utility>

#include "platform/overlay_os.h"
#include "shell/preview.h"
#include "transfer/activity_log.h"
#include "transfer/company_register.h"
#include "transfer/file_copy.h"
#include "transfer/inventory_transfer.h"
#include "transfer/journal_file.h"
#include "transfer/paths.h"
#include "transfer/report.h"
#include "transfer/undo.h"
#include "transfer/undo_texts.h"

namespace shell {

namespace {

// The run's lines go into the log box as it shows them.
class LogBoxReport final : public transfer::RunReport {
 public:
  explicit LogBoxReport(LogControl& box) : box_(box) {}
  void Logged(std::u16string_view line) override { Log(box_, line); }

 private:
  LogControl& box_;
};

// Each company goes into the two lists as it is read: a load that fails
// part-way leaves those read so far listed.
class ListsReport final : public transfer::LoadReport {
 public:
  ListsReport(LinesControl& names, LinesControl& katalogi) : names_(names), katalogi_(katalogi) {}
  void CompanyRead(std::u16string_view nazwa, std::u16string_view katalog) override {
    names_.Append(nazwa);
    katalogi_.Append(katalog);
  }

 private:
  LinesControl& names_;
  LinesControl& katalogi_;
};

}  // namespace

Tfrm_Main::Tfrm_Main(platform::Os& os, const MainFormControls& controls)
    : os_(os), c_(controls), separator_(os) {}

void Tfrm_Main::Show(const Message& message) {
  c_.messages.Show(message.text, message.caption, message.flags);
}

void Tfrm_Main::btn_1Click() {
  const std::u16string source = c_.edt_ZETKA_source.Text();
  const std::u16string dest = c_.edt_ZETKA_dest.Text();
  switch (transfer::JudgePaths(os_, source, dest)) {
    case transfer::PathVerdict::kSame:
      Show(kPathsEqual);
      return;
    case transfer::PathVerdict::kIncomplete:
      Show(kRegisterMissing);
      return;
    case transfer::PathVerdict::kAccepted:
      break;
  }
  c_.screens.ShowCompanyLists();
  fSciezka_source_ = transfer::SlashStr(source);
  fSciezka_dest_ = transfer::SlashStr(dest);
  ZaladujFirmy();
  c_.screens.ShowRunScreen();
}

void Tfrm_Main::btn_2Click() {
  const bool copy = c_.chk_4.Checked();
  const bool carry = c_.chk_Remanenty.Checked();
  const std::vector<std::u16string> katalogi =
      copy || carry ? c_.mmo_2.Lines() : std::vector<std::u16string>();
  {
    // A run that may change something keeps its journal in the new
    // installation, so that an undo can take the run back. The OS layer
    // offers no clock: the run's time stays empty.
    std::optional<transfer::RunJournal> journal;
    if (copy || carry) journal.emplace(os_, fSciezka_source_, fSciezka_dest_, u"");
    if (copy) SkopiujPliki(katalogi, c_.mmo_3.Lines(), &*journal);
    if (carry) SkopiujRemanenty(katalogi, &*journal);
    if (journal) journal->Close();
  }
  Show(kRunEnded);
  // The log is saved as the box holds it then, with what the user typed.
  transfer::SaveLog(os_, c_.mmo_Log.Text(), transfer::LogFilePath(os_.ExecutablePath()));
}

void Tfrm_Main::btn_PodgladClick() {
  // The controls are read as "SRU" reads them.
  const bool copy = c_.chk_4.Checked();
  const bool carry = c_.chk_Remanenty.Checked();
  const std::vector<std::u16string> katalogi =
      copy || carry ? c_.mmo_2.Lines() : std::vector<std::u16string>();
  const std::vector<std::u16string> pliki = copy ? c_.mmo_3.Lines() : std::vector<std::u16string>();

  platform::OverlayOs overlay(os_);
  PreviewedRun run = RunPreview(overlay, fSciezka_source_, fSciezka_dest_, katalogi, pliki, copy,
                                carry, separator_.Text());
  const std::u16string summary =
      PreviewSummary({fSciezka_source_, fSciezka_dest_, katalogi, overlay.Changes(),
                      run.transferLines, run.failure, separator_.Text()});
  std::vector<std::u16string> lines = std::move(run.copyLines);
  lines.insert(lines.end(), run.transferLines.begin(), run.transferLines.end());
  c_.lists.ShowList(kPreviewTitle, summary, lines);
}

void Tfrm_Main::btn_CofnijClick() {
  const std::u16string journal = transfer::JournalPath(fSciezka_dest_);
  const transfer::UndoPlan plan = transfer::PlanUndo(os_, journal);
  std::vector<std::u16string> lines = transfer::PlanLines(plan);
  if (plan.outcome != transfer::UndoPlan::Outcome::kReady) {
    c_.lists.ShowList(kUndoTitle, lines.front(), {});
    return;
  }
  // The run first, then the question; its changes below, newest first.
  const std::u16string run = lines.front();
  lines.erase(lines.begin());
  if (!c_.lists.Ask(kUndoTitle, run + u"\n" + std::u16string(kUndoQuestion), lines)) return;

  Log(c_.mmo_Log, run);
  transfer::Undo(os_, journal, [&](const std::u16string& line) { Log(c_.mmo_Log, line); });
  transfer::SaveLog(os_, c_.mmo_Log.Text(), transfer::LogFilePath(os_.ExecutablePath()));
}

void Tfrm_Main::ZaladujFirmy() {
  c_.mmo_1.Clear();
  c_.mmo_2.Clear();
  ListsReport lists(c_.mmo_1, c_.mmo_2);
  transfer::ZaladujFirmy(os_, fSciezka_dest_, lists);
}

void Tfrm_Main::SkopiujPliki(const std::vector<std::u16string>& katalogi,
                             const std::vector<std::u16string>& pliki,
                             transfer::RunJournal* journal) {
  LogBoxReport log(c_.mmo_Log);
  transfer::SkopiujPliki(os_, fSciezka_source_, fSciezka_dest_, katalogi, pliki, log, journal);
}

void Tfrm_Main::SkopiujRemanenty(const std::vector<std::u16string>& katalogi,
                                 transfer::RunJournal* journal) {
  LogBoxReport log(c_.mmo_Log);
  transfer::SkopiujRemanenty(os_, fSciezka_source_, fSciezka_dest_, katalogi, log,
                             separator_.Text(), journal);
}

}  // namespace shell
