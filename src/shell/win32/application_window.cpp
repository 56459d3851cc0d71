#include "shell/win32/application_window.h"

#include "shell/win32/dpi.h"
#include "shell/win32/system_failure.h"
#include "shell/win32/window_class.h"

namespace shell::win32 {

namespace {

// Posted to itself: the main window takes the activation, if this window
// still has it.
constexpr UINT kActivateMain = WM_APP + 1;

WindowClass applicationClass(L"Dopliki32Application", [](WNDCLASSEXW& windowClass) {
  windowClass.lpfnWndProc = &BaseWindow<ApplicationWindow>::WindowProc;
  windowClass.hIcon = LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(1));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
});

}  // namespace

ApplicationWindow::ApplicationWindow(const std::u16string& title) {
  // On the screen, at the centre of the primary monitor: a window off the
  // screen, or never shown, gets no taskbar entry.
  const RECT work = PrimaryWorkArea();
  const HWND created =
      CreateWindowExW(0, applicationClass.Name(), reinterpret_cast<const wchar_t*>(title.c_str()),
                      WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS,
                      (work.left + work.right) / 2, (work.top + work.bottom) / 2, 0, 0, nullptr,
                      nullptr, GetModuleHandleW(nullptr), this);
  if (created == nullptr)
    RaiseSystemFailure(u"Cannot create the application window", GetLastError());
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
      // Activated through its taskbar entry, or as the owner of a box or
      // dialog that has closed: the main window is the one to use, never
      // this one, which shows nothing and would take the keys. The main
      // window is still disabled while the box that closed ends: once it has
      // ended, then.
      if (LOWORD(wParam) != WA_INACTIVE && main_ != nullptr && IsWindowVisible(main_)) {
        if (IsWindowEnabled(main_)) {
          SetActiveWindow(main_);
        } else {
          PostMessageW(hwnd_, kActivateMain, 0, 0);
        }
        return 0;
      }
      break;
    case kActivateMain:
      if (GetActiveWindow() == hwnd_ && main_ != nullptr && IsWindowVisible(main_) &&
          IsWindowEnabled(main_)) {
        SetActiveWindow(main_);
      }
      return 0;
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
