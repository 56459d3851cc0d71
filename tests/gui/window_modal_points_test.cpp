// Input and close requests that arrive while a handler runs: keys typed
// during a run act on nothing afterwards, a box waits for a key typed after
// it appeared, a held key acts once, and a close request waits until the
// handler, and every box it shows, has ended.
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

#include "shell/form.h"
#include "support/records.h"
#include "transfer/controls.h"
#include "window_fixture.h"

namespace {

using shell::Id;
using shell::Screen;
using testing_support::FirmaRecord;
using testing_support::Installations;
using testing_support::RokRecord;
using testing_support::SendKey;
using testing_support::WindowTest;

constexpr char kOneRun[] = "FIRMA1 REMA: 12,5\r\nOK. Remamenty skopiowano!\r\n";

// A pair with one company whose inventory carries over, proposed by the
// registry: Enter accepts it, Enter again runs.
class WindowModalPointsTest : public WindowTest {
 protected:
  WindowModalPointsTest() {
    pair.AddCompany(u"FIRMA1", RokRecord(0, 12.5), RokRecord(0, 0));
    pair.dir.WriteBytes(u"zetka_2008\\spisfirm.dat", "");
    pair.dir.WriteBytes(u"zetka_2009\\spisfirm.dat", FirmaRecord("Alfa", "FIRMA1"));
    ProposeThePair();
  }

  // Accepts the pair and ticks the inventory transfer.
  void ReadyToRun() {
    Open();
    Keys({{VK_RETURN}});
    ASSERT_EQ(main->ShownScreen(), Screen::kRun);
    SendMessageW(Control(Id::chk_Remanenty), BM_SETCHECK, BST_CHECKED, 0);
  }

  // Keys typed, as real input, while the run works.
  void TypeDuringTheRun(std::vector<WORD> keys) {
    os.atNextOpen = [keys] {
      for (const WORD key : keys) {
        SendKey(key, false);
        SendKey(key, true);
      }
    };
  }

  int KoniecShown() {
    int shown = 0;
    for (const auto& box : Boxes()) shown += box.Event() == u"Info|Koniec|64";
    return shown;
  }

  std::string SavedLog() { return pair.dir.ReadBytes(u"bin\\dopliki32.log"); }
};

// Enter, Enter, Esc, Esc typed while the run works: no second run, no
// return to the paths screen.
TEST_F(WindowModalPointsTest, KeysTypedDuringARunActOnNothingAfterIt) {
  ReadyToRun();
  TypeDuringTheRun({VK_RETURN, VK_RETURN, VK_ESCAPE, VK_ESCAPE});
  Keys({{VK_RETURN}});
  EXPECT_EQ(KoniecShown(), 1);
  EXPECT_EQ(main->ShownScreen(), Screen::kRun);
  EXPECT_EQ(SavedLog(), kOneRun);
}

// The system's own "Koniec": keys typed during the run, and a key held down
// since the one that started it, leave it open; a key pressed after it
// appeared closes i
TEST_F(WindowModalPointsTest, TheBoxWaitsForAKeyTypedAfterItAppeared) {
  showBox = &MessageBoxW;
  const struct {
    const char* what;
    std::vector<WORD> typedDuringTheRun;
    bool startingKeyHeld;
  } cases[] = {
      {"typed during the run", {VK_RETURN, VK_SPACE, VK_ESCAPE}, false},
      {"held down", {}, true},
  };
  ReadyToRun();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TypeDuringTheRun(c.typedDuringTheRun);
    std::atomic<bool> found{false}, openAfterTheKeys{false};
    std::thread user([&] {
      HWND box = nullptr;
      for (int tries = 0; tries < 500 && box == nullptr; ++tries) {
        Sleep(10);
        box = testing_support::FindOwnDialog(
            [](HWND dialog) { return GetDlgItem(dialog, 0xFFFF) != nullptr; });
      }
      found = box != nullptr;
      if (box == nullptr) return;
      // The held key repeats, as the keyboard repeats i
      if (c.startingKeyHeld) {
        for (int i = 0; i < 3; ++i) SendKey(VK_RETURN, false);
      }
      // Whatever reached the box has had time to ac
      Sleep(500);
      openAfterTheKeys = IsWindow(box) && IsWindowVisible(box);
      SendKey(VK_RETURN, true);
      SendKey(VK_RETURN, false);
      SendKey(VK_RETURN, true);
    });
    // Pressed and, for the first case, released: the run starts on the press.
    SendKey(VK_RETURN, false);
    if (!c.startingKeyHeld) SendKey(VK_RETURN, true);
    Pump();
    user.join();
    Pump();
    EXPECT_TRUE(found);
    EXPECT_TRUE(openAfterTheKeys);
    EXPECT_EQ(main->ShownScreen(), Screen::kRun);
  }
  // One run each, both saved.
  EXPECT_EQ(SavedLog(), std::string(kOneRun) +
                            "FIRMA1 REMANENT DOCELOWY NIEZEROWY 12,5 - pomijam\r\n"
                            "OK. Remamenty skopiowano!\r\n");
}

// Enter held down: its auto-repeats are the same keystroke, one run.
TEST_F(WindowModalPointsTest, AHeldEnterRunsOnce) {
  ReadyToRun();
  SendKey(VK_RETURN, false);
  Pump();
  for (int i = 0; i < 3; ++i) SendKey(VK_RETURN, false);
  Pump();
  SendKey(VK_RETURN, true);
  Pump();
  EXPECT_EQ(KoniecShown(), 1);
  EXPECT_EQ(SavedLog(), kOneRun);
}

// --- a close request at a modal point ---

// What a box's own message loop would do with a close request that Windows'
// task list sends to the taskbar entry meanwhile: it dispatches i Whether
// the main window was still there when the box ended is noted.
bool mainKeptUnderTheBox = true;

void RequestCloseAndDispatch() {
  PostMessageW(FindWindowW(L"Dopliki32Application", nullptr), WM_CLOSE, 0, 0);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  mainKeptUnderTheBox = mainKeptUnderTheBox && FindWindowW(L"Tfrm_Main", nullptr) != nullptr;
}

int WINAPI BoxClosedUnder(HWND owner, LPCWSTR text, LPCWSTR caption, UINT flags) {
  testing_support::RecordBox(owner, text, caption, flags);
  RequestCloseAndDispatch();
  return IDOK;
}

PIDLIST_ABSOLUTE WINAPI BrowserClosedUnder(LPBROWSEINFOW) {
  RequestCloseAndDispatch();
  return nullptr;
}

// At every modal point of a handler: the handler ends as it would, with
// everything it had still to do done, and then the program closes.
TEST_F(WindowModalPointsTest, ACloseRequestWaitsUntilTheHandlerHasEnded) {
  const struct {
    const char* modalPoint;
    std::function<void()> prepare, act;
    std::u16string box;  // the box shown, if any
  } cases[] = {
      {"Koniec", [] {},
       [this] {
         SendMessageW(Control(Id::chk_Remanenty), BM_SETCHECK, BST_CHECKED, 0);
         Keys({{VK_RETURN}});
       },
       u"Info|Koniec|64"},
      {"equal paths", [] {},
       [this] {
         Keys({{VK_ESCAPE}});
         SetWindowTextW(Control(Id::edt_ZETKA_dest),
                        reinterpret_cast<const wchar_t*>(Text(Id::edt_ZETKA_source).c_str()));
         Keys({{VK_RETURN}});
       },
       u"Informacja szydząca|Ścieżki muszą być rózne. Popraw ścieżki, albo skontaktuj się z "
       u"Fabryką.|48"},
      {"no register", [] {},
       [this] {
         Keys({{VK_ESCAPE}});
         SetWindowTextW(Control(Id::edt_ZETKA_dest), L"nie ma takiego");
         Keys({{VK_RETURN}});
       },
       u"Błąd|Coś nie tak. Sprawdź czy katalogi są dobre|16"},
      {"the failure display", [this] { pair.dir.SetReadOnly(Installations::NewAnnual(u"FIRMA1")); },
       [this] {
         SendMessageW(Control(Id::chk_Remanenty), BM_SETCHECK, BST_CHECKED, 0);
         Keys({{VK_RETURN}});
       },
       std::u16string(kTitle) + u"|File access denied.|16"},
      {"the folder dialog", [this] { browse = &BrowserClosedUnder; },
       [this] {
         Keys({{VK_ESCAPE}});
         SetFocus(Control(Id::edt_ZETKA_dest));
         Keys({testing_support::Alt(VK_DOWN)});
       },
       u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.modalPoint);
    showBox = &BoxClosedUnder;
    mainKeptUnderTheBox = true;
    c.prepare();
    ReadyToRun();
    Boxes().clear();
    c.act();
    Pump();
    if (!c.box.empty()) {
      ASSERT_EQ(Boxes().size(), 1u);
      EXPECT_EQ(Boxes()[0].Event(), c.box);
    }
    EXPECT_TRUE(mainKeptUnderTheBox);
    EXPECT_EQ(main->Handle(), nullptr) << "the close was not carried out";
    Close();
    pair.dir.SetReadOnly(Installations::NewAnnual(u"FIRMA1"), false);
  }
  // The run's log was saved whole before the program closed.
  EXPECT_EQ(SavedLog(), kOneRun);
}

// A close requested while start-up shows its failure: the window is made
// whole, and then closes.
TEST_F(WindowModalPointsTest, ACloseRequestDuringStartUpWaitsForIt) {
  registry.keys[shell::YearKey(kYear)] = testing_support::RegistryValue{4, std::string(4, '\1')};
  showBox = &BoxClosedUnder;
  mainKeptUnderTheBox = true;
  Open();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_TRUE(mainKeptUnderTheBox);
  EXPECT_EQ(main->Handle(), nullptr);
}

}  // namespace
