#include "shell/win32/window_class.h"

#include <algorithm>
#include <array>
#include <string>

#include "shell/win32/system_failure.h"

namespace shell::win32 {

namespace {

// The atoms of the classes registered so far; the program has a handful.
std::array<ATOM, 8> ownAtoms{};
std::size_t ownCount = 0;

}  // namespace

const wchar_t* WindowClass::Name() {
  if (atom_ != 0) return name_;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = name_;
  describe_(windowClass);
  const ATOM atom = RegisterClassExW(&windowClass);
  if (atom == 0) {
    const DWORD code = GetLastError();
    const std::wstring name(name_);
    RaiseSystemFailure(
        u"Cannot register the window class \"" + std::u16string(name.begin(), name.end()) + u"\"",
        code);
  }
  atom_ = atom;
  if (ownCount < ownAtoms.size()) ownAtoms[ownCount++] = atom;
  return name_;
}

bool WindowClass::IsOwn(HWND window) {
  const auto atom = static_cast<ATOM>(GetClassLongPtrW(window, GCW_ATOM));
  return atom != 0 && std::find(ownAtoms.begin(), ownAtoms.begin() + ownCount, atom) !=
                          ownAtoms.begin() + ownCount;
}

}  // namespace shell::win32
