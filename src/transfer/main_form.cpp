#include "transfer/main_form.h"

#include "transfer/activity_log.h"
#include "transfer/company_register.h"
#include "transfer/file_copy.h"
#include "transfer/inventory_transfer.h"
#include "transfer/paths.h"

namespace transfer {

Tfrm_Main::Tfrm_Main(platform::Os& os, const Controls& controls)
    : os_(os), c_(controls), separator_(os) {}

void Tfrm_Main::Show(const Message& message) {
  c_.messages.Show(message.text, message.caption, message.flags);
}

void Tfrm_Main::btn_1Click() {
  const std::u16string source = c_.edt_ZETKA_source.Text();
  const std::u16string dest = c_.edt_ZETKA_dest.Text();
  switch (JudgePaths(os_, source, dest)) {
    case PathVerdict::kSame:
      Show(kPathsEqual);
      return;
    case PathVerdict::kIncomplete:
      Show(kRegisterMissing);
      return;
    case PathVerdict::kAccepted:
      break;
  }
  c_.screens.ShowCompanyLists();
  fSciezka_source_ = SlashStr(source);
  fSciezka_dest_ = SlashStr(dest);
  ZaladujFirmy();
  c_.screens.ShowRunScreen();
}

void Tfrm_Main::btn_2Click() {
  if (c_.chk_4.Checked()) SkopiujPliki();
  if (c_.chk_Remanenty.Checked()) SkopiujRemanenty();
  Show(kRunEnded);
  SaveLog(os_, c_.mmo_Log.Text(), LogFilePath(os_.ExecutablePath()));
}

void Tfrm_Main::ZaladujFirmy() { transfer::ZaladujFirmy(os_, fSciezka_dest_, c_.mmo_1, c_.mmo_2); }

void Tfrm_Main::SkopiujPliki() {
  transfer::SkopiujPliki(os_, fSciezka_source_, fSciezka_dest_, c_.mmo_2.Lines(), c_.mmo_3.Lines(),
                         c_.mmo_Log);
}

void Tfrm_Main::SkopiujRemanenty() {
  transfer::SkopiujRemanenty(os_, fSciezka_source_, fSciezka_dest_, c_.mmo_2.Lines(), c_.mmo_Log,
                             separator_.Text());
}

}  // namespace transfer
