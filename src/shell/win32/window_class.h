// A window class of the program's own. Its first window registers it, once
// for the process; a class the system refuses is a failure, so no window of
// it is ever looked for in vain.
#pragma once

#include <windows.h>

namespace shell::win32 {

class WindowClass {
 public:
  // `describe` fills in what the class has beyond its name and the
  // program's instance: its procedure, look and extra bytes.
  using Describe = void (*)(WNDCLASSEXW& windowClass);
  constexpr WindowClass(const wchar_t* name, Describe describe)
      : name_(name), describe_(describe) {}
  WindowClass(const WindowClass&) = delete;
  WindowClass& operator=(const WindowClass&) = delete;
  ~WindowClass() = default;

  // The class's name for CreateWindowExW, registered now if it was not yet.
  // Raises the system's refusal.
  const wchar_t* Name();

  // Whether a window is of one of the program's own classes.
  static bool IsOwn(HWND window);

 private:
  const wchar_t* name_;
  Describe describe_;
  ATOM atom_ = 0;
};

}  // namespace shell::win32
