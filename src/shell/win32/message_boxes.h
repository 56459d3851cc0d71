// The program's message boxes: MessageBoxW with the flags as given, owned by
// the main window while that is active and by the application window
// otherwise. While a box is open no window of the program takes input;
// afterwards the active window and the focus are where they were.
#pragma once

#include <windows.h>

#include <functional>

#include "transfer/controls.h"

namespace shell::win32 {

class MessageBoxes final : public transfer::MessageDisplay {
 public:
  explicit MessageBoxes(HWND applicationWindow) : application_(applicationWindow) {}

  // The main window, and what must happen before any box shows (the lines
  // gathered for the boxes go into them first).
  void SetMainWindow(HWND mainWindow, std::function<void()> beforeShowing);

  void Show(std::u16string_view text, std::u16string_view caption, std::uint32_t flags) override;

 private:
  HWND application_;
  HWND main_ = nullptr;
  std::function<void()> beforeShowing_;
};

}  // namespace shell::win32
