// The modal list window over frm_Main: what it shows, how each key and
// button answers it, and that the program's windows take no input while it
// is open and frm_Main has the activation after it.
#include "shell/win32/list_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

#include "shell/form.h"
#include "shell/win32/box_controls.h"
#include "window_fixture.h"

namespace {

using shell::win32::ListAnswer;
using shell::win32::ListContent;
using testing_support::Keystroke;
using testing_support::SendKey;
using testing_support::WindowTest;

// What the test saw while the window was open.
struct Seen {
  std::u16string title, text;
  bool ownerBlocked = false, applicationBlocked = false;
};

class ListWindowTest : public WindowTest {
 protected:
  void SetUp() override { Open(); }

  // Shows the window; once it is up, notes what it shows and types the keys
  // (or presses the button with that id), each as real input.
  ListAnswer ShowAndType(const ListContent& content, const std::vector<Keystroke>& keys,
                         int clicked = 0) {
    std::thread user([&, keys] {
      const HWND list = testing_support::AwaitListWindow();
      if (list == nullptr) return;
      seen.title = shell::win32::WindowText(list);
      seen.text = shell::win32::WindowText(FindWindowExW(list, nullptr, L"EDIT", nullptr));
      seen.ownerBlocked = !IsWindowEnabled(main->Handle());
      seen.applicationBlocked = !IsWindowEnabled(application->Handle());
      if (std::getenv("DOPLIKI_SHOT")) Sleep(4000);
      if (clicked != 0) {
        PostMessageW(list, WM_COMMAND, MAKEWPARAM(clicked, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(list, clicked)));
        return;
      }
      for (const Keystroke& k : keys) {
        if (k.shift) SendKey(VK_SHIFT, false);
        SendKey(k.key, false);
        SendKey(k.key, true);
        if (k.shift) SendKey(VK_SHIFT, true);
      }
    });
    const auto font =
        reinterpret_cast<HFONT>(SendMessageW(Control(shell::Id::lbl_1), WM_GETFONT, 0, 0));
    const ListAnswer answer = shell::win32::ShowList(main->Handle(), content, font, Dpi());
    user.join();
    Pump();
    return answer;
  }

  Seen seen;
};

TEST_F(ListWindowTest, ShowsTheSummaryAndTheLinesAndAnswersAsAsked) {
  const struct {
    const char* what;
    bool asks;
    std::vector<Keystroke> keys;
    int clicked;
    ListAnswer answer;
  } cases[] = {
      {"Esc closes", false, {{VK_ESCAPE}}, 0, ListAnswer::kClosed},
      {"Enter presses Zamknij", false, {{VK_RETURN}}, 0, ListAnswer::kClosed},
      {"Zamknij clicked", false, {}, 3, ListAnswer::kClosed},
      {"Esc says no", true, {{VK_ESCAPE}}, 0, ListAnswer::kNo},
      {"Enter presses Nie, focused first", true, {{VK_RETURN}}, 0, ListAnswer::kNo},
      {"Shift+Tab to Tak, then Enter", true, {{VK_TAB, true}, {VK_RETURN}}, 0, ListAnswer::kYes},
      {"Tab past Nie to the box and on to Tak",
       true,
       {{VK_TAB}, {VK_TAB}, {VK_RETURN}},
       0,
       ListAnswer::kYes},
      {"Tak clicked", true, {}, 1, ListAnswer::kYes},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    seen = {};
    const ListContent content{u"Podgląd",
                              u"Firma ALFA\nremanent: 0 -> 12,5",
                              {u"ALFA REMA: 12,5", u"OK. Remamenty skopiowano!"},
                              c.asks};
    EXPECT_EQ(ShowAndType(content, c.keys, c.clicked), c.answer);
    EXPECT_EQ(seen.title, u"Podgląd");
    EXPECT_EQ(seen.text,
              u"Firma ALFA\r\nremanent: 0 -> 12,5\r\n\r\nALFA REMA: 12,5\r\nOK. Remamenty "
              u"skopiowano!");
    EXPECT_TRUE(seen.ownerBlocked);
    EXPECT_TRUE(seen.applicationBlocked);
    EXPECT_TRUE(IsWindowEnabled(main->Handle()));
    EXPECT_TRUE(IsWindowEnabled(application->Handle()));
    EXPECT_EQ(GetActiveWindow(), main->Handle());
    EXPECT_EQ(FindWindowW(L"Dopliki32List", nullptr), nullptr);
  }
}

// A key held down when the window opened (Enter that started what it shows)
// answers nothing: only a key pressed again does.
TEST_F(ListWindowTest, AKeyHeldWhenItOpenedAnswersNothing) {
  std::atomic<bool> openAfterTheRepeats{false};
  std::thread user([&] {
    const HWND list = testing_support::AwaitListWindow();
    if (list == nullptr) return;
    for (int i = 0; i < 3; ++i) SendKey(VK_RETURN, false);
    Sleep(300);
    openAfterTheRepeats = IsWindow(list) != FALSE;
    SendKey(VK_RETURN, true);
    SendKey(VK_ESCAPE, false);
    SendKey(VK_ESCAPE, true);
  });
  SendKey(VK_RETURN, false);
  const auto font =
      reinterpret_cast<HFONT>(SendMessageW(Control(shell::Id::lbl_1), WM_GETFONT, 0, 0));
  const ListAnswer answer =
      shell::win32::ShowList(main->Handle(), {u"Cofnij", u"", {}, true}, font, Dpi());
  user.join();
  Pump();
  EXPECT_TRUE(openAfterTheRepeats);
  EXPECT_EQ(answer, ListAnswer::kNo);
}

}  // namespace
