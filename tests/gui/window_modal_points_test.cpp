// Input and close requests that arrive while a handler runs: input typed
// during a run or a load acts on nothing afterwards, no box or dialog gets
// keys typed before it appeared, a held key acts once, and a close request
// waits until the handler, and every box it shows, has ended.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>

#include "shell/controls.h"
#include "shell/form.h"
#include "support/records.h"
#include "window_fixture.h"

namespace {

using shell::Id;
using shell::Screen;
using testing_support::FirmaRecord;
using testing_support::Installations;
using testing_support::Keystroke;
using testing_support::RokRecord;
using testing_support::SendKey;
using testing_support::WindowTest;

constexpr char kOneRun[] = "FIRMA1 REMA: 12,5\r\nOK. Remamenty skopiowano!\r\n";

// Stand-ins for MessageBoxW and SHBrowseForFolderW that, while open, do what
// the test has chosen of what a box's own message loop does; then the box is
// answered OK, the dialog cancelled.
void (*whileOpen)() = nullptr;

int WINAPI BoxStandIn(HWND owner, LPCWSTR text, LPCWSTR caption, UINT flags) {
  testing_support::RecordBox(owner, text, caption, flags);
  whileOpen();
  return IDOK;
}

PIDLIST_ABSOLUTE WINAPI BrowserStandIn(LPBROWSEINFOW) {
  whileOpen();
  return nullptr;
}

// A point where a handler waits for the user: how the test gets there from
// the run screen, with the pair accepted and the inventory transfer ticked.
struct ModalPoint {
  const char* name;
  bool runFails;  // the new year's file of FIRMA1 is read-only
  std::function<void()> setUp;
  Keystroke key;       // the key that reaches it
  Screen shown;        // the screen it leaves shown
  std::u16string box;  // the box it shows, if any (the folder dialog: none)
};

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

  // Something the user does, as real input, while the handler works: at its
  // next opening of a file.
  void DuringTheHandler(std::function<void()> typing) { os.atNextOpen = std::move(typing); }

  // Every modal point of the window's handlers.
  std::vector<ModalPoint> ModalPoints() {
    const auto backToThePaths = [this](const wchar_t* dest) {
      Keys({{VK_ESCAPE}});
      SetWindowTextW(Control(Id::edt_ZETKA_dest), dest);
    };
    return {
        {"Koniec", false, [] {}, {VK_RETURN}, Screen::kRun, u"Info|Koniec|64"},
        {"equal paths",
         false,
         [this, backToThePaths] {
           const std::u16string source = Text(Id::edt_ZETKA_source);
           backToThePaths(reinterpret_cast<const wchar_t*>(source.c_str()));
         },
         {VK_RETURN},
         Screen::kPaths,
         u"Informacja szydząca|Ścieżki muszą być rózne. Popraw ścieżki, albo skontaktuj się z "
         u"Fabryką.|48"},
        {"no register",
         false,
         [backToThePaths] { backToThePaths(L"nie ma takiego"); },
         {VK_RETURN},
         Screen::kPaths,
         u"Błąd|Coś nie tak. Sprawdź czy katalogi są dobre|16"},
        {"the failure display",
         true,
         [] {},
         {VK_RETURN},
         Screen::kRun,
         std::u16string(kTitle) + u"|File access denied.|16"},
        {"the folder dialog", false,
         [this] {
           Keys({{VK_ESCAPE}});
           SetFocus(Control(Id::edt_ZETKA_dest));
         },
         testing_support::Alt(VK_DOWN), Screen::kPaths, u""},
    };
  }

  // The run screen, then what leads to the point; the key that reaches it
  // is the caller's.
  void ReadyFor(const ModalPoint& point) {
    if (point.runFails) pair.dir.SetReadOnly(Installations::NewAnnual(u"FIRMA1"));
    ReadyToRun();
    point.setUp();
    Boxes().clear();
  }

  void Leave(const ModalPoint& point) {
    Close();
    if (point.runFails) pair.dir.SetReadOnly(Installations::NewAnnual(u"FIRMA1"), false);
  }

  int KoniecShown() {
    int shown = 0;
    for (const auto& box : Boxes()) shown += box.Event() == u"Info|Koniec|64";
    return shown;
  }

  std::string SavedLog() {
    return pair.dir.Exists(u"bin\\dopliki32.log") ? pair.dir.ReadBytes(u"bin\\dopliki32.log")
                                                  : std::string("(none)");
  }
};

// Enter, Enter, Esc, Esc (or a click on "SRU") while a run or a load works:
// once it has ended, no run starts and the paths screen does not come back.
TEST_F(WindowModalPointsTest, InputDuringAHandlerActsOnNothingAfterIt) {
  const struct {
    const char* what;
    bool run;  // the run, or the load of the accepted pair
    bool click;
  } cases[] = {
      {"keys during the run", true, false},
      {"a click on SRU during the run", true, true},
      {"keys during the load", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.run) {
      ReadyToRun();
    } else {
      Open();
    }
    Boxes().clear();
    DuringTheHandler([this, &c] {
      if (c.click) {
        TypeClick(Id::btn_2);
      } else {
        TypeAtOnce({{VK_RETURN}, {VK_RETURN}, {VK_ESCAPE}, {VK_ESCAPE}});
      }
    });
    Keys({{VK_RETURN}});
    EXPECT_EQ(KoniecShown(), c.run ? 1 : 0);
    EXPECT_EQ(main->ShownScreen(), Screen::kRun);
    EXPECT_EQ(SavedLog(), c.run ? kOneRun : "(none)");
    Close();
    // The next case starts from the same files.
    std::filesystem::remove(pair.dir.Native(u"bin\\dopliki32.log"));
    pair.dir.WriteBytes(Installations::NewAnnual(u"FIRMA1"), RokRecord(0, 0));
  }
}

// The system's notice of a changed setting is no input of the user's: keys
// typed before it still act after it.
TEST_F(WindowModalPointsTest, ASettingChangeDropsNoKeys) {
  Open();
  TypeAtOnce({{VK_RETURN}});
  SendMessageW(main->Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
  Pump();
  EXPECT_EQ(main->ShownScreen(), Screen::kRun);
}

// Keys the stand-ins took from the queue while they were open.
int keysTakenByTheBox = 0;

// What a box's own message loop does first: it takes what is queued, and a
// key among it reaches the box as typed at it.
void TakeTheQueue() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
      ++keysTakenByTheBox;
    } else if (message.message != WM_QUIT) {
      DispatchMessageW(&message);
    }
  }
}

// Keys typed right behind the one that reaches a modal point, before its box
// or dialog appeared: none of them reaches it, and none acts afterwards.
TEST_F(WindowModalPointsTest, NoBoxGetsKeysTypedBeforeItAppeared) {
  showBox = &BoxStandIn;
  browse = &BrowserStandIn;
  whileOpen = &TakeTheQueue;
  for (const ModalPoint& point : ModalPoints()) {
    SCOPED_TRACE(point.name);
    ReadyFor(point);
    keysTakenByTheBox = 0;
    TypeAtOnce({point.key, {VK_RETURN}, {VK_SPACE}, {VK_ESCAPE}});
    Pump();
    EXPECT_EQ(keysTakenByTheBox, 0);
    EXPECT_EQ(Boxes().size(), point.box.empty() ? 0u : 1u);
    EXPECT_EQ(main->ShownScreen(), point.shown);
    Leave(point);
  }
}

// The system's own "Koniec": keys typed during the run, and a key held down
// since the one that started it, leave it open; a key pressed after it
// appeared closes it.
TEST_F(WindowModalPointsTest, TheBoxWaitsForAKeyTypedAfterItAppeared) {
  showBox = &MessageBoxW;
  const struct {
    const char* what;
    std::vector<Keystroke> typedDuringTheRun;
    bool startingKeyHeld;
  } cases[] = {
      {"typed during the run", {{VK_RETURN}, {VK_SPACE}, {VK_ESCAPE}}, false},
      {"held down", {}, true},
  };
  ReadyToRun();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    DuringTheHandler([this, &c] {
      for (const Keystroke& key : c.typedDuringTheRun) TypeAtOnce({key});
    });
    testing_support::KeyTakenWatch watch;
    std::atomic<bool> found{false}, taken{false}, openAfterTheKeys{false};
    std::thread user([&] {
      HWND box = nullptr;
      for (int tries = 0; tries < 500 && box == nullptr; ++tries) {
        Sleep(10);
        box = testing_support::FindOwnDialog(
            [](HWND dialog) { return GetDlgItem(dialog, 0xFFFF) != nullptr; });
      }
      found = box != nullptr;
      if (box == nullptr) return;
      // The held key repeats, as the keyboard repeats it.
      if (c.startingKeyHeld) {
        for (int i = 0; i < 3; ++i) SendKey(VK_RETURN, false);
      }
      taken = watch.TypeAndWait(5000);
      openAfterTheKeys = IsWindow(box) && IsWindowVisible(box);
      SendKey(VK_RETURN, true);
      // With the box gone, Enter would start another run, whose box no one
      // would close.
      if (!openAfterTheKeys) return;
      SendKey(VK_RETURN, false);
      SendKey(VK_RETURN, true);
    });
    // Pressed and, for the first case, released: the run starts on the press.
    SendKey(VK_RETURN, false);
    if (!c.startingKeyHeld) SendKey(VK_RETURN, true);
    Pump();
    user.join();
    Pump();
    EXPECT_TRUE(found) << "no box, or closed at once";
    if (!found) continue;
    EXPECT_TRUE(taken) << "the keys were not taken";
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
// task list sends to the taskbar entry meanwhile: it dispatches it. Whether
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

// At every modal point of a handler: the handler ends as it would, with
// everything it had still to do done, and then the program closes.
TEST_F(WindowModalPointsTest, ACloseRequestWaitsUntilTheHandlerHasEnded) {
  showBox = &BoxStandIn;
  browse = &BrowserStandIn;
  whileOpen = &RequestCloseAndDispatch;
  for (const ModalPoint& point : ModalPoints()) {
    SCOPED_TRACE(point.name);
    mainKeptUnderTheBox = true;
    ReadyFor(point);
    Keys({point.key});
    if (!point.box.empty()) {
      ASSERT_EQ(Boxes().size(), 1u);
      EXPECT_EQ(Boxes()[0].Event(), point.box);
    }
    EXPECT_TRUE(mainKeptUnderTheBox);
    EXPECT_EQ(main->Handle(), nullptr) << "the close was not carried out";
    Leave(point);
  }
  // The run's log was saved whole before the program closed.
  EXPECT_EQ(SavedLog(), kOneRun);
}

// A close requested while start-up shows its failure: the window is made
// whole, and then closes.
TEST_F(WindowModalPointsTest, ACloseRequestDuringStartUpWaitsForIt) {
  registry.keys[shell::YearKey(kYear)] = testing_support::RegistryValue{4, std::string(4, '\1')};
  showBox = &BoxStandIn;
  whileOpen = &RequestCloseAndDispatch;
  mainKeptUnderTheBox = true;
  Open();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_TRUE(mainKeptUnderTheBox);
  EXPECT_EQ(main->Handle(), nullptr);
}

// --- the windows around a box ---

// A box blocks the program's own windows, and no other window of its thread
// (the input method's, OLE's, a suggestion list: here a hidden popup). Shown
// while another program's window was active, the box is owned by the
// application window, which the system activates as the box closes: frm_Main
// takes the activation from it, or the keys would go to a window that shows
// nothing.
TEST_F(WindowModalPointsTest, ABoxBlocksOnlyTheProgramsWindowsAndLeavesFrmMainActive) {
  showBox = &MessageBoxW;
  Open();
  const HWND foreign = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
  // Another program's window, on a thread of its own, takes the activation.
  std::atomic<HWND> elsewhere{nullptr};
  std::atomic<bool> done{false};
  std::thread otherProgram([&] {
    const HWND window =
        CreateWindowExW(0, L"STATIC", L"elsewhere", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                        100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(window);
    elsewhere = window;
    while (!done) {
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
      Sleep(10);
    }
    DestroyWindow(window);
  });
  while (elsewhere == nullptr) Sleep(10);
  Pump();
  ASSERT_NE(GetActiveWindow(), main->Handle());

  std::atomic<bool> found{false}, foreignEnabled{false}, programBlocked{false};
  std::thread user([&] {
    HWND box = nullptr;
    for (int tries = 0; tries < 500 && box == nullptr; ++tries) {
      Sleep(10);
      box = testing_support::FindOwnDialog([](HWND) { return true; });
    }
    found = box != nullptr;
    if (box == nullptr) return;
    foreignEnabled = IsWindowEnabled(foreign) != FALSE;
    programBlocked = !IsWindowEnabled(main->Handle()) && !IsWindowEnabled(application->Handle());
    // The user clicks the box, which brings the program to the front, and OK.
    SetForegroundWindow(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  boxes->Show(u"Koniec", u"Info", MB_OK | MB_ICONINFORMATION);
  user.join();
  Pump();
  EXPECT_TRUE(found);
  EXPECT_TRUE(foreignEnabled);
  EXPECT_TRUE(programBlocked);
  EXPECT_EQ(GetActiveWindow(), main->Handle());
  done = true;
  otherProgram.join();
  DestroyWindow(foreign);
}

}  // namespace
