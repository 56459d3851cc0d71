// The window classes of the containers (pg_1, the two screens, the panels)
// and of the splitters. They paint themselves and hand everything their
// controls report on to the main window, which owns all behaviour.
#pragma once

#include <windows.h>

#include "shell/form.h"

namespace shell::win32 {

inline constexpr wchar_t kPanelClass[] = L"Dopliki32Panel";
inline constexpr wchar_t kSplitterClass[] = L"Dopliki32Splitter";

// Messages to the main window. wParam: the Id of the sender.
inline constexpr UINT kSplitterGrabbed = WM_APP + 1;
inline constexpr UINT kSplitterDragged = WM_APP + 2;  // lParam: pixels moved since grabbed
inline constexpr UINT kFocusMoved = WM_APP + 3;

// Registers both classes once; raises the system's refusal.
void RegisterPanelClasses();

}  // namespace shell::win32
