// Suggestions of existing folders under a directory field, in a drop-down,
// through the shell's autocompletion (IAutoComplete2) in suggest mode only:
// the typed text is never completed in place. The folders come from a source
// of our own, as the shell's own source gives nothing under Wine.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <shobjidl.h>

#include <memory>

namespace shell::win32 {

// The suggestions of one field: the autocompletion, kept to be asked whether
// its drop-down is shown.
class FolderSuggestions {
 public:
  // Attaches the suggestions to the field for its life; false when the
  // system has no autocompletion, and the field then works without it.
  bool Attach(HWND field);
  // Lets the autocompletion go, as the field goes.
  void Release() { dropDown_.reset(); }
  // Whether the drop-down of suggested folders is shown now.
  bool Shown() const;

 private:
  struct Releaser {
    void operator()(IUnknown* object) const { object->Release(); }
  };
  std::unique_ptr<IAutoCompleteDropDown, Releaser> dropDown_;
};

// A source of folders as the autocompletion gets it, also an IACList, with
// one reference for the caller; null when memory ran out. Any thread may
// call it.
IEnumString* MakeFolderSource();

}  // namespace shell::win32
