#include "shell/win32/message_boxes.h"

#include <string>
#include <vector>

namespace shell::win32 {

namespace {

// Disables the enabled top-level windows of this thread but one, and enables
// them again when it ends.
class InputBlock {
 public:
  explicit InputBlock(HWND except) : except_(except) {
    EnumThreadWindows(GetCurrentThreadId(), &InputBlock::Disable, reinterpret_cast<LPARAM>(this));
  }
  ~InputBlock() {
    for (HWND window : disabled_) {
      if (IsWindow(window)) EnableWindow(window, TRUE);
    }
  }
  InputBlock(const InputBlock&) = delete;
  InputBlock& operator=(const InputBlock&) = delete;

 private:
  static BOOL CALLBACK Disable(HWND window, LPARAM self) {
    auto* block = reinterpret_cast<InputBlock*>(self);
    if (window != block->except_ && IsWindowEnabled(window)) {
      EnableWindow(window, FALSE);
      block->disabled_.push_back(window);
    }
    return TRUE;
  }

  HWND except_;
  std::vector<HWND> disabled_;
};

}  // namespace

void MessageBoxes::SetMainWindow(HWND mainWindow, std::function<void()> beforeShowing) {
  main_ = mainWindow;
  beforeShowing_ = std::move(beforeShowing);
}

void MessageBoxes::Show(std::u16string_view text, std::u16string_view caption,
                        std::uint32_t flags) {
  if (beforeShowing_) beforeShowing_();
  const HWND active = GetActiveWindow();
  const HWND focus = GetFocus();
  const HWND owner = main_ != nullptr && active == main_ ? main_ : application_;
  const std::wstring boxText(reinterpret_cast<const wchar_t*>(text.data()), text.size());
  const std::wstring boxCaption(reinterpret_cast<const wchar_t*>(caption.data()), caption.size());
  {
    // The box disables its owner itself; every other window is ours to block.
    InputBlock block(owner);
    showBox_(owner, boxText.c_str(), boxCaption.c_str(), flags);
  }
  if (active != nullptr && IsWindow(active)) SetActiveWindow(active);
  if (focus != nullptr && IsWindow(focus) && IsWindowVisible(focus)) SetFocus(focus);
}

}  // namespace shell::win32
