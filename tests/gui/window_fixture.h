// The real window in the test's own process, as the program's entry makes it:
// the application window and frm_Main over the system's OS layer, with the
// executable placed in the test's folder (so the log file lands there), a
// registry of the test's making and a fixed year, 2009, whose proposals name
// the fixture's pair of installations. Keys go in as real input (SendInput)
// and through the program's own message loop; message boxes are recorded
// and answered at once, with what the program did to its windows meanwhile.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "shell/win32/application_window.h"
#include "shell/win32/main_window.h"
#include "shell/win32/message_boxes.h"
#include "support/fake_registry.h"
#include "support/forwarding_os.h"
#include "support/installations.h"

namespace testing_support {

// A key with the modifiers held down while it is pressed.
struct Keystroke {
  WORD key = 0;
  bool shift = false, ctrl = false, alt = false;
};
inline Keystroke Shift(WORD key) { return {key, true}; }
inline Keystroke Ctrl(WORD key) { return {key, false, true}; }
inline Keystroke Alt(WORD key) { return {key, false, false, true}; }

// The program's list window once a thread of the test sees it open, or null
// after five seconds.
inline HWND AwaitListWindow() {
  HWND list = nullptr;
  for (int tries = 0; tries < 500 && list == nullptr; ++tries) {
    Sleep(10);
    list = FindWindowW(L"Dopliki32List", nullptr);
  }
  return list;
}

struct ShownBox {
  HWND owner;
  std::u16string text, caption;
  UINT flags;
  bool othersDisabled;  // no other window of the program took input meanwhile
  // "caption|text|flags", as the transfer's tests write a box.
  std::u16string Event() const;
};

// The first dialog (#32770) of this process that `matches`, or null: a box or
// the folder browser, looked for from another thread while it is open.
HWND FindOwnDialog(const std::function<bool(HWND)>& matches);

// The stand-in for MessageBoxW that the fixture uses unless told otherwise:
// notes the box and answers OK at once.
int WINAPI RecordBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT flags);

// A key pressed or released as real input (SendInput).
void SendKey(WORD key, bool up);
// The mouse moved to a point of the screen, with `flags` (a button pressed or
// released), as real input.
void SendMouse(POINT at, DWORD flags);

// Tells another thread when the window's thread has taken a key from its
// queue. Keys are taken in the order they were typed, each dealt with before
// the next is taken: once a key typed last has been taken, every key typed
// before it has done what it does. Made on the window's thread.
class KeyTakenWatch {
 public:
  KeyTakenWatch();
  ~KeyTakenWatch();
  KeyTakenWatch(const KeyTakenWatch&) = delete;
  KeyTakenWatch& operator=(const KeyTakenWatch&) = delete;
  // From another thread: types a key that nothing answers (Shift), and
  // waits until the window's thread has taken it, at most `limitMs`.
  bool TypeAndWait(DWORD limitMs);

 private:
  static LRESULT CALLBACK NoteTaken(int code, WPARAM remove, LPARAM message);
  HHOOK hook_;
};

// The system's OS layer for the window, which can do something of the
// test's choosing in the middle of a handler: at its next opening of a file,
// as a user typing while a run works.
class HandlerOs : public RegionalOs {
 public:
  using RegionalOs::RegionalOs;
  std::uint32_t OpenExisting(std::u16string_view name, platform::FileHandle& handle) override {
    if (atNextOpen) std::exchange(atNextOpen, nullptr)();
    return RegionalOs::OpenExisting(name, handle);
  }
  std::function<void()> atNextOpen;
};

class WindowTest : public ::testing::Test {
 protected:
  static constexpr int kYear = 2009;
  static constexpr std::u16string_view kTitle = u"Dopliki_gui_tests";

  WindowTest();
  WindowTest(const WindowTest&) = delete;
  WindowTest& operator=(const WindowTest&) = delete;
  ~WindowTest() override;

  // Registry values naming the fixture's installations, for both years.
  void ProposeThePair();
  // Creates the window (start-up runs) and shows it, as the entry does.
  void Open();
  void Close();

  // Keys typed one at a time, each dealt with before the next.
  void Keys(std::initializer_list<Keystroke> keys);
  // Keys typed in one go, faster than the program takes them: all are queued
  // before the first is dealt with, which the next Pump does.
  void TypeAtOnce(std::initializer_list<Keystroke> keys);
  // A click on a control's middle, queued as real input.
  void TypeClick(shell::Id control);
  // Dispatches through the program's message loop until it has been idle a
  // moment: every key sent before has been dealt with.
  void Pump();

  HWND Control(shell::Id id) const { return main->Control(id); }
  std::u16string Text(shell::Id id) const;
  // A control's rectangle relative to its parent's client area.
  shell::Rect Placed(shell::Id id) const;
  int Dpi() const;
  std::optional<shell::Id> Focus() const;
  // The DPI the test run expects (DOPLIKI_EXPECT_DPI), if it says one.
  static std::optional<int> ExpectedDpi();

  // Every box shown since the window opened, in order.
  std::vector<ShownBox>& Boxes();
  // How boxes are shown: recorded and answered at once, unless a test wants
  // the system's own (set before Open).
  shell::win32::MessageBoxes::BoxFunction showBox = nullptr;
  // How the folder dialog is shown (set before Open).
  shell::win32::FolderDialog::BrowseFunction browse = &SHBrowseForFolderW;

  Installations pair;
  FakeRegistry registry;
  HandlerOs os;
  std::optional<shell::win32::ApplicationWindow> application;
  std::optional<shell::win32::MessageBoxes> boxes;
  std::optional<shell::win32::FolderDialog> folders;
  std::optional<shell::win32::MainWindow> main;
};

}  // namespace testing_support
