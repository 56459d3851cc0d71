#include "shell/win32/failure_display.h"

#include <windows.h>

#include <exception>

#include "shell/failure_text.h"

namespace shell::win32 {

namespace {

// The one display of the process, installed by the program's entry before
// any window exists.
MessageBoxes* installedBoxes = nullptr;
std::u16string* installedTitle = nullptr;

}  // namespace

void InstallFailureDisplay(MessageBoxes& boxes, std::u16string applicationTitle) {
  static std::u16string title;
  title = std::move(applicationTitle);
  installedBoxes = &boxes;
  installedTitle = &title;
}

void RemoveFailureDisplay() noexcept {
  installedBoxes = nullptr;
  installedTitle = nullptr;
}

void ShowEscapedFailure() noexcept {
  try {
    ShowFailure(FailureMessage(std::current_exception()));
  } catch (...) {
    // Nothing is left to show it with.
  }
}

void ShowFailure(std::u16string_view message) noexcept {
  try {
    // A drag of a splitter must not go on under the box.
    ReleaseCapture();
    const std::u16string text = FailureText(message);
    if (installedBoxes != nullptr) {
      installedBoxes->Show(text, *installedTitle, MB_OK | MB_ICONERROR);
    } else {
      MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.c_str()), nullptr,
                  MB_OK | MB_ICONERROR);
    }
  } catch (...) {
    // Nothing is left to show it with.
  }
}

}  // namespace shell::win32
