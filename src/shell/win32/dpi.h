// The DPI a window is shown at, on every Windows from 7 on: the per-window
// functions of Windows 10 where the system has them, the screen's otherwise.
#pragma once

#include <windows.h>

namespace shell::win32 {

UINT WindowDpi(HWND window);

// The primary monitor's work area, and its DPI, where the program starts.
RECT PrimaryWorkArea();
UINT PrimaryMonitorDpi();

// The outer size of a window whose client area is `client`, at a DPI.
SIZE WindowSizeFor(SIZE client, DWORD style, DWORD exStyle, UINT dpi);

}  // namespace shell::win32
