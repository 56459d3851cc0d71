// The shell's folder browser for a directory field: the whole namespace from
// the desktop, the newer resizable style, owned by the application window,
// centred on the primary monitor's work area, a starting folder preselected.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>
#include <string_view>

namespace shell::win32 {

class FolderDialog {
 public:
  // How the browser is shown: SHBrowseForFolderW, or a test's stand-in that
  // looks at what it is given and passes it on.
  using BrowseFunction = PIDLIST_ABSOLUTE(WINAPI*)(LPBROWSEINFOW);

  explicit FolderDialog(HWND applicationWindow, BrowseFunction browse = &SHBrowseForFolderW)
      : application_(applicationWindow), browse_(browse) {}

  // The full parsing name of the item the user confirms, or nothing when the
  // user cancels. While it is open no window of the program takes input.
  std::optional<std::u16string> Choose(std::u16string_view start);

 private:
  HWND application_;
  BrowseFunction browse_;
};

}  // namespace shell::win32
