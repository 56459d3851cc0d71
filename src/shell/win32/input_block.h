// While a modal box or dialog of the program is open, no other window of the
// program takes input.
#pragma once

#include <windows.h>

#include <vector>

namespace shell::win32 {

// Disables the enabled top-level windows of this thread but one (the owner of
// the box, which the box disables itself), and enables them again when it ends.
class InputBlock {
 public:
  explicit InputBlock(HWND except);
  ~InputBlock();
  InputBlock(const InputBlock&) = delete;
  InputBlock& operator=(const InputBlock&) = delete;

 private:
  static BOOL CALLBACK Disable(HWND window, LPARAM self);

  HWND except_;
  std::vector<HWND> disabled_;
};

}  // namespace shell::win32
