// The program's message boxes: MessageBoxW with the flags as given, owned by
// the main window while that is active and by the application window
// otherwise. While a box is open no window of the program takes input;
// afterwards the active window and the focus are where they were.
#pragma once

#include <windows.h>

#include <functional>

#include "shell/controls.h"

namespace shell::win32 {

class MessageBoxes final : public MessageDisplay {
 public:
  // How a box is shown: MessageBoxW, or a test's stand-in for it.
  using BoxFunction = int(WINAPI*)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT flags);

  explicit MessageBoxes(HWND applicationWindow, BoxFunction showBox = &MessageBoxW)
      : application_(applicationWindow), showBox_(showBox) {}

  // The application window, once it is made: boxes shown before it have no
  // owner.
  void SetApplicationWindow(HWND applicationWindow) { application_ = applicationWindow; }

  // The main window, what must happen before any box shows (the lines
  // gathered for the boxes go into them first) and after it has closed.
  void SetMainWindow(HWND mainWindow, std::function<void()> beforeShowing,
                     std::function<void()> afterShowing);

  void Show(std::u16string_view text, std::u16string_view caption, std::uint32_t flags) override;

 private:
  HWND application_;
  BoxFunction showBox_;
  HWND main_ = nullptr;
  std::function<void()> beforeShowing_, afterShowing_;
};

}  // namespace shell::win32
