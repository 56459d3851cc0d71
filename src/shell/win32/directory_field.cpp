#include "shell/win32/directory_field.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

#include "shell/field_text.h"
#include "shell/folder_field.h"
#include "shell/layout.h"
#include "shell/win32/accessible_name.h"
#include "shell/win32/boundary.h"
#include "shell/win32/box_controls.h"
#include "shell/win32/folder_suggestions.h"
#include "shell/win32/painting.h"

namespace shell::win32 {

namespace {

constexpr int kButtonWidth = 21;
constexpr UINT_PTR kSubclassId = 1;
// WM_COPYGLOBALDATA, which the system's drag and drop sends and no header names.
constexpr UINT kCopyGlobalData = 0x0049;

}  // namespace

void SetFieldText(HWND field, std::u16string_view text) {
  SetWindowText(field, DirectoryFieldText(text));
}

DirectoryField::DirectoryField(HWND edit, WPARAM id, platform::Os& os)
    : edit_(edit),
      id_(id),
      os_(os),
      // Not a tab stop: the keyboard opens the dialog with Alt+Down.
      button_(CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 0, 0,
                              edit_, nullptr, GetModuleHandleW(nullptr), nullptr)) {
  GiveAccessibleName(button_, FolderButtonName(static_cast<Id>(id_)));
  SetWindowSubclass(edit_, &DirectoryField::Subclass, kSubclassId,
                    reinterpret_cast<DWORD_PTR>(this));
  DragAcceptFiles(edit_, TRUE);
  // Run as administrator, the program would get no drops from the file
  // manager, which runs with less: the drop comes in these three messages.
  for (const UINT message : {UINT{WM_DROPFILES}, UINT{WM_COPYDATA}, UINT{kCopyGlobalData}}) {
    ChangeWindowMessageFilterEx(edit_, message, MSGFLT_ALLOW, nullptr);
  }
}

DirectoryField::~DirectoryField() {
  if (IsWindow(edit_)) RemoveWindowSubclass(edit_, &DirectoryField::Subclass, kSubclassId);
}

void DirectoryField::PlaceButton(UINT dpi) {
  dpi_ = dpi;
  RECT client{};
  GetClientRect(edit_, &client);
  const int width = Scale(kButtonWidth, static_cast<int>(dpi));
  SetWindowPos(button_, nullptr, client.right - width, 0, width, client.bottom,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void DirectoryField::OnDrop(HDROP drop) {
  // Only the first item counts.
  const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
  std::vector<wchar_t> name(length + 1, L'\0');
  const bool got = length > 0 && DragQueryFileW(drop, 0, name.data(), length + 1) > 0;
  DragFinish(drop);
  if (!got) return;
  const std::u16string path(reinterpret_cast<const char16_t*>(name.data()), length);
  SetFieldText(edit_, DroppedText(path, WhatIsNamed(os_, path) == Named::kFile));
}

LRESULT DirectoryField::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DROPFILES:
      OnDrop(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_SIZE:
      PlaceButton(dpi_);
      break;
    case WM_PAINT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      // The edit control paints over the button inside it as it paints its
      // text or shows the focus (seen under Wine): the button paints again.
      const LRESULT result = DefSubclassProc(edit_, message, wParam, lParam);
      RedrawWindow(button_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      if (message == WM_SETFOCUS && !suggestionsTried_) {
        // The suggestions come with the field's first focus: only typing
        // needs them, and making them takes start-up a good part of its time.
        suggestionsTried_ = true;
        suggestions_.Attach(edit_);
      }
      return result;
    }
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lParam) == button_ && HIWORD(wParam) == BN_CLICKED) {
        SendMessageW(GetAncestor(edit_, GA_ROOT), kFolderButtonClicked, id_, 0);
        return 0;
      }
      break;
    case WM_NCDESTROY:
      // A subclass goes before its window does, and the autocompletion with
      // it, while COM is still there.
      RemoveWindowSubclass(edit_, &DirectoryField::Subclass, kSubclassId);
      suggestions_.Release();
      break;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->hwndItem == button_) {
        PaintFolderButton(*item, dpi_, HighContrastOn());
        return TRUE;
      }
      break;
    }
    default:
      break;
  }
  return DefSubclassProc(edit_, message, wParam, lParam);
}

LRESULT CALLBACK DirectoryField::Subclass(HWND, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR self) {
  return ShownOnFailure(LRESULT{0}, [&] {
    return reinterpret_cast<DirectoryField*>(self)->HandleMessage(message, wParam, lParam);
  });
}

}  // namespace shell::win32
