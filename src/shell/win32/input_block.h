// While a modal box or dialog of the program is open, no other window of the
// program takes input, and no input from before it opened acts in it.
#pragma once

#include <windows.h>

#include <bitset>
#include <vector>

namespace shell::win32 {

// Drops the keyboard and mouse input that the system has queued for this
// thread. Input queued while a handler ran was typed at what the screen
// showed before: delivered afterwards it would close a box unseen, start a
// run again or go back to the paths screen.
void DropQueuedInput();

// Disables the program's enabled top-level windows but one (the owner of
// the box, which the box disables itself), and enables them again when it
// ends. Meanwhile the box takes no input typed before it: what was queued is
// dropped, and a key held down when it opened acts only once released and
// pressed again (its auto-repeats are the keystroke from before).
class InputBlock {
 public:
  explicit InputBlock(HWND except);
  ~InputBlock();
  InputBlock(const InputBlock&) = delete;
  InputBlock& operator=(const InputBlock&) = delete;

 private:
  static BOOL CALLBACK Disable(HWND window, LPARAM self);
  static LRESULT CALLBACK IgnoreHeldKeys(int code, WPARAM remove, LPARAM message) noexcept;

  HWND except_;
  std::vector<HWND> disabled_;
  std::bitset<256> held_;
  HHOOK hook_ = nullptr;
  InputBlock* outer_ = nullptr;  // the block of a box that opened this one
};

}  // namespace shell::win32
