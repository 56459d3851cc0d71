// The application window: unowned, shown at a size of nothing, so that it
// carries the program's one taskbar entry, labelled with the application
// title. It owns the main window, which therefore gets no entry of its own,
// and minimises and restores it when the entry is clicked.
#pragma once

#include <windows.h>

#include <string>

#include "shell/win32/base_window.h"

namespace shell::win32 {

class ApplicationWindow : public BaseWindow<ApplicationWindow> {
 public:
  explicit ApplicationWindow(const std::u16string& title);
  ~ApplicationWindow();
  ApplicationWindow(const ApplicationWindow&) = delete;
  ApplicationWindow& operator=(const ApplicationWindow&) = delete;

  // The window it minimises and restores with itself.
  void SetMainWindow(HWND main) { main_ = main; }
  void Minimize();

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  HWND main_ = nullptr;
};

}  // namespace shell::win32
