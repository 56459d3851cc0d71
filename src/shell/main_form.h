// The main form: the handlers of its buttons over its controls, reached
// through small interfaces. Each click reads the controls it needs once and
// runs the year-end transfer's operations on those values; what they report
// goes into the boxes. Only the two accepted paths are fields of their own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os.h"
#include "shell/controls.h"
#include "transfer/number_format.h"

namespace transfer {
class RunJournal;
}

namespace shell {

struct MainFormControls {
  TextControl& edt_ZETKA_source;
  TextControl& edt_ZETKA_dest;
  LinesControl& mmo_1;  // company names
  LinesControl& mmo_2;  // company data directories, entry i belongs to company i
  LinesControl& mmo_3;  // additional file names
  CheckControl& chk_4;  // additional file copy
  CheckControl& chk_Remanenty;
  LogControl& mmo_Log;
  Screens& screens;
  MessageDisplay& messages;
  ListDisplay& lists;
};

// The main form's message boxes: text, caption and platform flags.
struct Message {
  std::u16string_view text;
  std::u16string_view caption;
  std::uint32_t flags;
};
inline constexpr Message kPathsEqual{
    u"Ścieżki muszą być rózne. Popraw ścieżki, albo skontaktuj się z Fabryką.",
    u"Informacja szydząca", 0x30};
inline constexpr Message kRegisterMissing{u"Coś nie tak. Sprawdź czy katalogi są dobre", u"Błąd",
                                          0x10};
inline constexpr Message kRunEnded{u"Koniec", u"Info", 0x40};

// The undo's window: its title, and the question below what it will do.
inline constexpr std::u16string_view kUndoTitle = u"Cofnij";
inline constexpr std::u16string_view kUndoQuestion =
    u"Cofnąć ten przebieg? Pliki zmienione od przebiegu zostaną pozostawione bez zmian.";

class Tfrm_Main {
 public:
  Tfrm_Main(platform::Os& os, const MainFormControls& controls);

  // "OK": accepts the pair of installation paths and loads the companies.
  void btn_1Click();
  // "SRU": the run. The copy, then the transfer, "Koniec", then the log file.
  // With a switch ticked, the run first opens its journal ("dopliki32.cofnij"
  // in the new installation); one that cannot be opened ends the run there.
  void btn_2Click();
  // "Podgląd": the operations "SRU" would run, run over an overlay of the
  // files so that nothing is written, then what they would do and log shown
  // in a window. Nothing goes into the log box or the log file.
  void btn_PodgladClick();
  // "Cofnij": shows what taking back the newest run of the accepted new
  // installation would do, read from its journal and the files, and on
  // "Tak" takes it back, each step a line in the log box, then saves the log
  // as a run does. Where there is no run to take back it says why.
  void btn_CofnijClick();

  // Lists the destination's companies in mmo_1 and mmo_2, each as it is read.
  void ZaladujFirmy();
  // The operations, each change recorded in the run's journal first.
  void SkopiujPliki(const std::vector<std::u16string>& katalogi,
                    const std::vector<std::u16string>& pliki, transfer::RunJournal* journal);
  void SkopiujRemanenty(const std::vector<std::u16string>& katalogi, transfer::RunJournal* journal);

  // The regional settings changed: the log's decimal separator follows them.
  void RefreshDecimalSeparator() { separator_.Refresh(); }

  const std::u16string& fSciezka_source() const { return fSciezka_source_; }
  const std::u16string& fSciezka_dest() const { return fSciezka_dest_; }

 private:
  void Show(const Message& message);

  platform::Os& os_;
  MainFormControls c_;
  transfer::DecimalSeparator separator_;
  std::u16string fSciezka_source_;
  std::u16string fSciezka_dest_;
};

}  // namespace shell
