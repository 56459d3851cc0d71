#include "shell/win32/dpi.h"

namespace shell::win32 {

namespace {

// Looked up at run time: Windows 7 and 8 lack them.
template <typename Function>
Function User32Function(const char* name) {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

// shcore.dll is no DLL every Windows maps for every process: loaded from the
// system's folder only, never from beside the executable.
template <typename Function>
Function ShcoreFunction(const char* name) {
  const HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (shcore == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(shcore, name)));
}

HMONITOR PrimaryMonitor() { return MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY); }

using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

}  // namespace

UINT WindowDpi(HWND window) {
  static const auto forWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
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
  static const auto forMonitor = ShcoreFunction<GetDpiForMonitorFunction>("GetDpiForMonitor");
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
      User32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
  RECT rect{0, 0, client.cx, client.cy};
  if (adjust == nullptr || !adjust(&rect, style, FALSE, exStyle, dpi)) {
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
  return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace shell::win32
