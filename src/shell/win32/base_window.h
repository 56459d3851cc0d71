// One C++ object per window: `this` is stored when the window is created and
// every message goes to the object's HandleMessage, through the guard that
// shows what escapes it.
#pragma once

#include <windows.h>

#include "shell/win32/boundary.h"

namespace shell::win32 {

template <typename Derived>
class BaseWindow {
 public:
  HWND Handle() const { return hwnd_; }

  // The window procedure of Derived's class; lpParam of CreateWindowExW is
  // the object.
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Derived* self = nullptr;
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      self = static_cast<Derived*>(create->lpCreateParams);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      self->hwnd_ = hwnd;
    } else {
      self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      // The window's last message: the object may outlive it, so each
      // forgets the other before the system frees the handle.
      self->hwnd_ = nullptr;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return ShownOnFailure(LRESULT{0}, [&] { return self->HandleMessage(message, wParam, lParam); });
  }

 protected:
  HWND hwnd_ = nullptr;
};

}  // namespace shell::win32
