// Suggestions of existing folders under a directory field, in a drop-down,
// through the shell's autocompletion (IAutoComplete2) in suggest mode only:
// the typed text is never completed in place. The folders come from a source
// of our own, as the shell's own source gives nothing under Wine.
#pragma once

#include <windows.h>
#include <objidl.h>

namespace shell::win32 {

// Attaches the suggestions to the field for its life; false when the system
// has no autocompletion, and the field then works without it.
bool AttachFolderSuggestions(HWND field);

// A source of folders as the autocompletion gets it, also an IACList, with
// one reference for the caller; null when memory ran out. Any thread may
// call it.
IEnumString* MakeFolderSource();

}  // namespace shell::win32
