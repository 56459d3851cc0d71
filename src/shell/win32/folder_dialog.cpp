#include "shell/win32/folder_dialog.h"

#include <exception>

#include "shell/win32/boundary.h"
#include "shell/win32/input_block.h"

namespace shell::win32 {

namespace {

// What the dialog's callback needs, and a failure it caught.
struct Browse {
  HWND application;
  PIDLIST_ABSOLUTE selection;
  std::exception_ptr failure;
};

void CentreOnPrimaryWorkArea(HWND dialog, HWND application) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(application, MONITOR_DEFAULTTOPRIMARY), &monitor);
  RECT box{};
  GetWindowRect(dialog, &box);
  const RECT& work = monitor.rcWork;
  const int width = box.right - box.left, height = box.bottom - box.top;
  SetWindowPos(dialog, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Called by the shell: nothing may leave it but its answer.
int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM data) {
  auto* browse = reinterpret_cast<Browse*>(data);
  // A failure is raised again once the dialog has ended, not shown over it.
  return Guarded(
      [&] {
        if (message != BFFM_INITIALIZED) return 0;
        CentreOnPrimaryWorkArea(dialog, browse->application);
        // By item, not by path: a path names a folder made just before as the
        // desktop. Once now, and once more when the dialog has done with its
        // own start, which under Wine may select another folder after this
        // callback (the item lives until the dialog has ended).
        if (browse->selection != nullptr) {
          const auto item = reinterpret_cast<LPARAM>(browse->selection);
          SendMessageW(dialog, BFFM_SETSELECTIONW, FALSE, item);
          PostMessageW(dialog, BFFM_SETSELECTIONW, FALSE, item);
        }
        return 0;
      },
      [browse]() noexcept {
        browse->failure = std::current_exception();
        return 0;
      });
}

// The item of a folder path; "\" and other relative paths as the current
// directory makes them.
PIDLIST_ABSOLUTE ItemOf(std::u16string_view path) {
  const std::wstring relative(reinterpret_cast<const wchar_t*>(path.data()), path.size());
  wchar_t full[MAX_PATH * 2] = {};
  if (GetFullPathNameW(relative.c_str(), MAX_PATH * 2, full, nullptr) == 0) return nullptr;
  PIDLIST_ABSOLUTE item = nullptr;
  if (FAILED(SHParseDisplayName(full, nullptr, &item, 0, nullptr))) return nullptr;
  return item;
}

std::optional<std::u16string> ParsingName(PCIDLIST_ABSOLUTE item) {
  IShellItem* shellItem = nullptr;
  if (FAILED(SHCreateItemFromIDList(item, IID_PPV_ARGS(&shellItem)))) return std::nullopt;
  wchar_t* name = nullptr;
  const HRESULT result = shellItem->GetDisplayName(SIGDN_DESKTOPABSOLUTEPARSING, &name);
  shellItem->Release();
  if (FAILED(result) || name == nullptr) return std::nullopt;
  std::u16string text(reinterpret_cast<const char16_t*>(name));
  CoTaskMemFree(name);
  return text;
}

}  // namespace

std::optional<std::u16string> FolderDialog::Choose(std::u16string_view start) {
  Browse browse{application_, ItemOf(start), nullptr};
  wchar_t displayName[MAX_PATH] = {};
  BROWSEINFOW info{};
  info.hwndOwner = application_;
  info.pszDisplayName = displayName;
  info.ulFlags = BIF_NEWDIALOGSTYLE | BIF_STATUSTEXT;
  info.lpfn = &BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(&browse);
  PIDLIST_ABSOLUTE chosen = nullptr;
  {
    InputBlock block(application_);
    chosen = browse_(&info);
  }
  CoTaskMemFree(browse.selection);
  if (browse.failure) {
    CoTaskMemFree(chosen);
    std::rethrow_exception(browse.failure);
  }
  if (chosen == nullptr) return std::nullopt;
  auto name = ParsingName(chosen);
  CoTaskMemFree(chosen);
  return name;
}

}  // namespace shell::win32
