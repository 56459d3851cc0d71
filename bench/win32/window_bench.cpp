// The real window against plain objects: a run of both operations over
// 10,000 companies and the acceptance of the paths through frm_Main as the
// program makes it (real log box, real company lists), each against the same
// handler over plain objects; and the growth of the real log box over
// 100,000 lines appended as runs append them.
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>

#include "shell/controls.h"
#include "shell/main_form.h"
#include "shell/win32/application_window.h"
#include "shell/win32/box_controls.h"
#include "shell/win32/failure_display.h"
#include "shell/win32/folder_dialog.h"
#include "shell/win32/main_window.h"
#include "shell/win32/message_boxes.h"
#include "support/fake_controls.h"
#include "support/fixtures.h"
#include "support/forwarding_os.h"
#include "support/system.h"
#include "support/timing.h"

namespace {

using shell::Id;

constexpr int kCompanies = 10000;

// No installation of the bookkeeping program is registered: start-up
// proposes the defaults, which the benchmark replaces.
class NoRegistry final : public shell::RegistryReader {
 public:
  bool OpenKey(std::u16string_view) override { return false; }
  bool QueryValue(std::u16string_view, std::uint32_t&, std::uint32_t&) override { return false; }
  bool ReadData(std::u16string_view, std::uint32_t, std::string&) override { return false; }
  void CloseKey() override {}
};

// "Koniec" and every other box is answered at once.
int WINAPI AnswerAtOnce(HWND, LPCWSTR, LPCWSTR, UINT) { return IDOK; }

// frm_Main as the program's entry makes it, shown.
class Window {
 public:
  explicit Window(platform::Os& os)
      : application_(u"Dopliki32"),
        boxes_(application_.Handle(), &AnswerAtOnce),
        folders_(application_.Handle()) {
    shell::win32::InstallFailureDisplay(boxes_, u"Dopliki32");
    main_.emplace(os, application_, boxes_, folders_, registry_, 2009);
    main_->Create();
    main_->Show();
    Pump();
  }

  HWND Control(Id id) const { return main_->Control(id); }

  void SetText(Id id, const std::u16string& text) const {
    SetWindowTextW(Control(id), reinterpret_cast<const wchar_t*>(text.c_str()));
  }

  // A click on a button, and everything the window does about it until its
  // queue is empty (the boxes painted anew among it).
  void Click(Id button) {
    const HWND control = Control(button);
    SendMessageW(main_->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
    Pump();
  }

  void Check(Id box) const { SendMessageW(Control(box), BM_SETCHECK, BST_CHECKED, 0); }

  void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) continue;
      if (main_->PreTranslate(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }

 private:
  NoRegistry registry_;
  shell::win32::ApplicationWindow application_;
  shell::win32::MessageBoxes boxes_;
  shell::win32::FolderDialog folders_;
  std::optional<shell::win32::MainWindow> main_;
};

// The same operations over plain objects.
struct PlainForm {
  testing_support::FakeForm controls;
  shell::Tfrm_Main form;
  explicit PlainForm(platform::Os& os) : form(os, controls.Controls()) {}
};

void Accept(const bench::CompanyFixture& fixture, Window& window, PlainForm& plain) {
  window.SetText(Id::edt_ZETKA_source, fixture.pair.Source());
  window.SetText(Id::edt_ZETKA_dest, fixture.pair.Dest());
  plain.controls.edt_ZETKA_source.text = fixture.pair.Source();
  plain.controls.edt_ZETKA_dest.text = fixture.pair.Dest();
  bench::CompareWithFloor(
      "window-load-wine", bench::Repetitions(7), [&] { window.Click(Id::btn_3); },
      [&] { window.Click(Id::btn_1); }, [&] { plain.form.btn_1Click(); });

  // What the boxes themselves cost: the lists' text put into them anew by
  // hand, in one replacement each, as the acceptance does.
  const std::u16string texts[] = {shell::win32::WindowText(window.Control(Id::mmo_1)),
                                  shell::win32::WindowText(window.Control(Id::mmo_2))};
  bench::Samples boxes;
  for (int i = 0; i < bench::Repetitions(7); ++i) {
    boxes.Add(bench::Seconds([&] {
      for (const Id id : {Id::mmo_1, Id::mmo_2}) {
        const HWND edit = window.Control(id);
        SetWindowTextW(edit, L"");
        SendMessageW(edit, EM_REPLACESEL, FALSE,
                     reinterpret_cast<LPARAM>(texts[id == Id::mmo_1 ? 0 : 1].c_str()));
      }
      window.Pump();
    }));
  }
  std::printf("        the two lists alone, each put into its box in one replacement: %s\n",
              bench::Describe(boxes).c_str());
}

void Run(const bench::CompanyFixture& fixture, Window& window, PlainForm& plain) {
  window.Check(Id::chk_4);
  window.Check(Id::chk_Remanenty);
  plain.controls.chk_4.checked = plain.controls.chk_Remanenty.checked = true;
  bench::CompareWithFloor(
      "window-run-wine", bench::Repetitions(7),
      [&] {
        fixture.Restore();
        window.SetText(Id::mmo_Log, u"");
        plain.controls.mmo_Log.text.clear();
      },
      [&] { window.Click(Id::btn_2); }, [&] { plain.form.btn_2Click(); });
}

// 100 handlers of 1,000 lines each into the visible log box: the lines of
// the last handler must cost what those of the first did.
void LogGrowth(Window& window) {
  constexpr int kHandlers = 100, kLines = 1000;
  shell::win32::LogBox box(window.Control(Id::mmo_Log));
  bench::Samples first, last;
  for (int repetition = 0; repetition < bench::Repetitions(7); ++repetition) {
    window.SetText(Id::mmo_Log, u"");
    window.Pump();
    for (int handler = 0; handler < kHandlers; ++handler) {
      const double seconds = bench::Seconds([&] {
        for (int line = 0; line < kLines; ++line) {
          char text[48];
          std::snprintf(text, sizeof(text), "FIRMA%05d REMA: %d,%02d", handler * kLines + line,
                        1000 + line * 7, line % 100);
          const std::string ascii(text);
          shell::Log(box, std::u16string(ascii.begin(), ascii.end()));
        }
        box.Flush();
        window.Pump();
      });
      if (handler == 0) first.Add(seconds / kLines);
      if (handler == kHandlers - 1) last.Add(seconds / kLines);
    }
  }
  char absolute[160];
  std::snprintf(absolute, sizeof(absolute),
                "last thousand: min %.2f us, median %.2f us a line; first thousand: min %.2f us, "
                "median %.2f us a line",
                last.Min() * 1e6, last.Median() * 1e6, first.Min() * 1e6, first.Median() * 1e6);
  bench::Report("log-growth-wine", last.Min() / first.Min(), absolute);
}

}  // namespace

int main(int argc, char** argv) {
  bench::UseFixtureDirectory(argc, argv);
  // As the program's entry does, for the directory fields' suggestions.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  const bench::CompanyFixture fixture(kCompanies);
  // The executable in the fixture's folder: the log file is saved there.
  testing_support::RelocatedOs os(testing_support::SystemOs(),
                                  fixture.pair.dir.Path(u"dopliki32.exe"));
  Window window(os);
  PlainForm plain(os);
  Accept(fixture, window, plain);
  Run(fixture, window, plain);
  LogGrowth(window);
  return 0;
}
