#include "shell/win32/dpi.h"

#include "shell/win32/system_library.h"

namespace shell::win32 {

namespace {

HMONITOR PrimaryMonitor() { return MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY); }

// Looked up at run time: Windows 7 and 8 lack them (Windows 7 has no
// shcore.dll at all).
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

}  // namespace

UINT WindowDpi(HWND window) {
  static const auto forWindow =
      SystemFunction<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
  if (forWindow != nullptr && window != nullptr) {
    if (const UINT dpi = forWindow(window); dpi != 0) return dpi;
  }
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

RECT PrimaryWorkArea() {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!GetMonitorInfoW(PrimaryMonitor(), &monitor)) {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &monitor.rcWork, 0);
  }
  return monitor.rcWork;
}

UINT PrimaryMonitorDpi() {
  static const auto forMonitor =
      SystemFunction<GetDpiForMonitorFunction>(L"shcore.dll", "GetDpiForMonitor");
  constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
  UINT x = 0, y = 0;
  if (forMonitor != nullptr && SUCCEEDED(forMonitor(PrimaryMonitor(), kEffectiveDpi, &x, &y)) &&
      y != 0) {
    return y;
  }
  return WindowDpi(nullptr);
}

SIZE WindowSizeFor(SIZE client, DWORD style, DWORD exStyle, UINT dpi) {
  static const auto adjust =
      SystemFunction<AdjustWindowRectExForDpiFunction>(L"user32.dll", "AdjustWindowRectExForDpi");
  RECT rect{0, 0, client.cx, client.cy};
  if (adjust == nullptr || !adjust(&rect, style, FALSE, exStyle, dpi)) {
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
  return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace shell::win32
