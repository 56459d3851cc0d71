#include "shell/win32/message_boxes.h"

#include <string>

#include "shell/win32/input_block.h"

namespace shell::win32 {

void MessageBoxes::SetMainWindow(HWND mainWindow, std::function<void()> beforeShowing,
                                 std::function<void()> afterShowing) {
  main_ = mainWindow;
  beforeShowing_ = std::move(beforeShowing);
  afterShowing_ = std::move(afterShowing);
}

void MessageBoxes::Show(std::u16string_view text, std::u16string_view caption,
                        std::uint32_t flags) {
  const std::wstring boxText(reinterpret_cast<const wchar_t*>(text.data()), text.size());
  const std::wstring boxCaption(reinterpret_cast<const wchar_t*>(caption.data()), caption.size());
  if (beforeShowing_) beforeShowing_();
  const HWND active = GetActiveWindow();
  const HWND focus = GetFocus();
  const HWND owner = main_ != nullptr && active == main_ ? main_ : application_;
  {
    // The box disables its owner itself; every other window is ours to block.
    InputBlock block(owner);
    showBox_(owner, boxText.c_str(), boxCaption.c_str(), flags);
  }
  if (active != nullptr && IsWindow(active)) SetActiveWindow(active);
  if (focus != nullptr && IsWindow(focus) && IsWindowVisible(focus)) SetFocus(focus);
  if (afterShowing_) afterShowing_();
}

}  // namespace shell::win32
