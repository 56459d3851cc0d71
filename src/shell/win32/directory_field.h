// What a directory field has beyond an edit control: a square button with a
// folder picture inside its right end that opens the folder dialog, the
// drop of files and folders from the file manager, and folder suggestions.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/os.h"
#include "shell/win32/folder_suggestions.h"

namespace shell::win32 {

// Sent to the main window when a field's button is clicked; wParam: the field.
inline constexpr UINT kFolderButtonClicked = WM_APP + 4;

class DirectoryField {
 public:
  // The field's edit control, its Id for the main window's messages, and the
  // OS layer that tells a dropped file from a folder.
  DirectoryField(HWND edit, WPARAM id, platform::Os& os);
  ~DirectoryField();
  DirectoryField(const DirectoryField&) = delete;
  DirectoryField& operator=(const DirectoryField&) = delete;

  HWND Edit() const { return edit_; }
  HWND Button() const { return button_; }
  // The button at the DPI, inside the field's right end.
  void PlaceButton(UINT dpi);

  // The folder last chosen through this field's dialog since start-up.
  const std::u16string& LastChosen() const { return lastChosen_; }
  void SetLastChosen(std::u16string folder) { lastChosen_ = std::move(folder); }

  // Whether the drop-down of suggested folders under the field is shown.
  bool SuggestionsShown() const { return suggestions_.Shown(); }

 private:
  static LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR id, DWORD_PTR self);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnDrop(HDROP drop);

  HWND edit_;
  WPARAM id_;
  platform::Os& os_;
  HWND button_;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  bool suggestionsTried_ = false;
  FolderSuggestions suggestions_;
  std::u16string lastChosen_;
};

// Puts text into a field as the tool sets it: up to its first line break.
void SetFieldText(HWND field, std::u16string_view text);

}  // namespace shell::win32
