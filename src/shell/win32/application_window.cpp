#include "shell/win32/application_window.h"

namespace shell::win32 {

namespace {

constexpr wchar_t kClassName[] = L"Dopliki32Application";

void RegisterOnce() {
  static const bool registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &BaseWindow<ApplicationWindow>::WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hIcon = LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(1));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass) != 0;
  }();
  (void)registered;
}

}  // namespace

ApplicationWindow::ApplicationWindow(const std::u16string& title) {
  RegisterOnce();
  // On the screen, at the centre of the primary monitor: a window off the
  // screen, or never shown, gets no taskbar entry.
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  CreateWindowExW(0, kClassName, reinterpret_cast<const wchar_t*>(title.c_str()),
                  WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS,
                  (work.left + work.right) / 2, (work.top + work.bottom) / 2, 0, 0, nullptr,
                  nullptr, GetModuleHandleW(nullptr), this);
  ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
}

ApplicationWindow::~ApplicationWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void ApplicationWindow::Minimize() { ShowWindow(hwnd_, SW_MINIMIZE); }

LRESULT ApplicationWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      // The taskbar entry minimises and restores this window; the main
      // window follows.
      if (main_ != nullptr && wParam == SIZE_MINIMIZED) {
        ShowWindow(main_, SW_HIDE);
      } else if (main_ != nullptr && wParam == SIZE_RESTORED && !IsWindowVisible(main_)) {
        ShowWindow(main_, SW_SHOW);
        SetForegroundWindow(main_);
      }
      return 0;
    case WM_ACTIVATE:
      // Activated through its taskbar entry: the main window is the one to use.
      if (LOWORD(wParam) != WA_INACTIVE && main_ != nullptr && IsWindowVisible(main_) &&
          IsWindowEnabled(main_)) {
        SetActiveWindow(main_);
        return 0;
      }
      break;
    case WM_CLOSE:
      // Closing the taskbar entry closes the program, as closing its window does.
      if (main_ != nullptr) {
        PostMessageW(main_, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace shell::win32
