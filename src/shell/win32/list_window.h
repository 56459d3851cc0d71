// A modal window of the program's own over frm_Main: a text a person reads at
// a glance, then a list of lines as they are, with "Zamknij", or with "Tak"
// and "Nie" when it asks something. It shows what a run would do before it is
// done, and what taking a run back would restore.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace shell::win32 {

struct ListContent {
  std::u16string title;
  std::u16string summary;             // lines separated by "\n"
  std::vector<std::u16string> lines;  // below the summary, each as it is
  bool asks = false;                  // "Tak" and "Nie" in place of "Zamknij"
};

enum class ListAnswer { kClosed, kYes, kNo };

// Shows the window over `owner`, in its font and at its DPI; no other window
// of the program takes input meanwhile. Returns when the user has answered:
// Esc or the window's close answers kClosed, or kNo when it asks; Enter
// presses the focused button, else the first one focused: "Zamknij", or "Nie"
// when it asks, so that a key meant for something else never says yes.
ListAnswer ShowList(HWND owner, const ListContent& content, HFONT font, UINT dpi);

}  // namespace shell::win32
