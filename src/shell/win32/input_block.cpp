#include "shell/win32/input_block.h"

#include <string_view>

#include "shell/win32/boundary.h"
#include "shell/win32/window_class.h"

namespace shell::win32 {

namespace {

// The innermost open block of this thread, which the hook serves.
thread_local InputBlock* current = nullptr;

bool IsKeyMessage(UINT message) {
  return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN ||
         message == WM_SYSKEYUP;
}

// A window the program made: one of its own classes, or a box or dialog
// (the folder browser among them). The thread has other top-level windows,
// which must stay as they are: the input method's, OLE's, the suggestion
// list of a directory field.
bool IsProgramWindow(HWND window) {
  wchar_t className[8] = {};
  return WindowClass::IsOwn(window) ||
         (GetClassNameW(window, className, 8) > 0 && std::wstring_view(className) == L"#32770");
}

}  // namespace

void DropQueuedInput() {
  // By range, so that nothing but input is taken: keys with their characters,
  // and mouse messages of client and non-client areas alike.
  constexpr struct {
    UINT first, last;
  } kInput[] = {{WM_KEYFIRST, WM_KEYLAST},
                {WM_MOUSEFIRST, WM_MOUSELAST},
                {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK}};
  MSG message;
  for (const auto& range : kInput) {
    while (PeekMessageW(&message, nullptr, range.first, range.last, PM_REMOVE)) {
    }
  }
}

InputBlock::InputBlock(HWND except) : except_(except) {
  EnumThreadWindows(GetCurrentThreadId(), &InputBlock::Disable, reinterpret_cast<LPARAM>(this));
  DropQueuedInput();
  // The thread's key state follows the input it has taken: a key down now
  // went down before the box.
  BYTE keys[256] = {};
  if (GetKeyboardState(keys)) {
    for (int key = 0; key < 256; ++key) held_[key] = (keys[key] & 0x80) != 0;
  }
  // Every message loop of the thread, the box's own included, passes its
  // messages through this hook as it takes them.
  hook_ =
      SetWindowsHookExW(WH_GETMESSAGE, &InputBlock::IgnoreHeldKeys, nullptr, GetCurrentThreadId());
  outer_ = current;
  current = this;
}

InputBlock::~InputBlock() {
  current = outer_;
  if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
  for (HWND window : disabled_) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
}

BOOL CALLBACK InputBlock::Disable(HWND window, LPARAM self) {
  auto* block = reinterpret_cast<InputBlock*>(self);
  return Guarded(
      [&] {
        if (window != block->except_ && IsProgramWindow(window) && IsWindowEnabled(window)) {
          // Noted first: a window disabled is one to enable again.
          block->disabled_.push_back(window);
          EnableWindow(window, FALSE);
        }
        return TRUE;
      },
      []() noexcept { return FALSE; });
}

LRESULT CALLBACK InputBlock::IgnoreHeldKeys(int code, WPARAM remove, LPARAM message) noexcept {
  // Nothing here can fail: bits of a bitset and a field of the message.
  auto* taken = reinterpret_cast<MSG*>(message);
  if (code == HC_ACTION && remove == PM_REMOVE && current != nullptr &&
      IsKeyMessage(taken->message) && taken->wParam < 256 && current->held_[taken->wParam]) {
    if (taken->message == WM_KEYUP || taken->message == WM_SYSKEYUP) {
      current->held_[taken->wParam] = false;
    }
    // Taken from the queue, and nothing done with it.
    taken->message = WM_NULL;
  }
  return CallNextHookEx(nullptr, code, remove, message);
}

}  // namespace shell::win32
