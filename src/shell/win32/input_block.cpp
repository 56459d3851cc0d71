#include "shell/win32/input_block.h"

namespace shell::win32 {

InputBlock::InputBlock(HWND except) : except_(except) {
  EnumThreadWindows(GetCurrentThreadId(), &InputBlock::Disable, reinterpret_cast<LPARAM>(this));
}

InputBlock::~InputBlock() {
  for (HWND window : disabled_) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
}

BOOL CALLBACK InputBlock::Disable(HWND window, LPARAM self) {
  auto* block = reinterpret_cast<InputBlock*>(self);
  if (window != block->except_ && IsWindowEnabled(window)) {
    EnableWindow(window, FALSE);
    block->disabled_.push_back(window);
  }
  return TRUE;
}

}  // namespace shell::win32
