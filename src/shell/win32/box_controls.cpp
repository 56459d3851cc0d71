#include "shell/win32/box_controls.h"

namespace shell::win32 {

namespace {

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

}  // namespace

std::u16string WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  const int copied = GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

void SetWindowText(HWND window, std::u16string_view text) {
  SetWindowTextW(window, Wide(std::u16string(text)));
}

GatheredAppends::GatheredAppends(HWND edit) : edit_(edit) {
  SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
}

void GatheredAppends::Flush() const {
  if (pending_.empty()) return;
  const int length = GetWindowTextLengthW(edit_);
  SendMessageW(edit_, EM_SETSEL, length, length);
  SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(Wide(pending_)));
  pending_.clear();
}

std::vector<std::u16string> LinesBox::Lines() const {
  Flush();
  return SplitLines(WindowText(Edit()));
}

void LinesBox::Clear() {
  pending_.clear();
  SetWindowTextW(Edit(), L"");
}

void LinesBox::Append(std::u16string_view entry) {
  AppendShownInBox(pending_, entry);
  pending_ += u"\r\n";
}

std::u16string LogBox::Text() const {
  Flush();
  return WindowText(Edit());
}

bool LogBox::EndsWithLineBreak() const {
  if (!pending_.empty()) return pending_.back() == u'\n' || pending_.back() == u'\r';
  // The box never wraps, so its last line begins right after its last line
  // break, or at 0: an empty last line means the text ends with a break.
  const LRESULT length = GetWindowTextLengthW(Edit());
  const LRESULT lastLine = SendMessageW(Edit(), EM_GETLINECOUNT, 0, 0) - 1;
  return SendMessageW(Edit(), EM_LINEINDEX, lastLine, 0) == length;
}

void LogBox::AppendText(std::u16string_view text) { pending_.append(text); }

bool CheckBox::Checked() const { return SendMessageW(button_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace shell::win32
