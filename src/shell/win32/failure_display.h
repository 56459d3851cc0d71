// The failure display: what escapes a click, a key, a drop or the creation
// of the window ends that handler and is shown in a message box captioned
// with the application title; the window then goes on.
#pragma once

#include <string>

#include "shell/win32/message_boxes.h"

namespace shell::win32 {

// Where failures are shown, until another display is installed or this one
// removed (before its boxes go).
void InstallFailureDisplay(MessageBoxes& boxes, std::u16string applicationTitle);
void RemoveFailureDisplay() noexcept;

// Shows the failure being handled. Call it only inside a catch block; it
// raises nothing.
void ShowEscapedFailure() noexcept;

// Shows a failure's message (a full stop added by the display's rule).
void ShowFailure(std::u16string_view message) noexcept;

}  // namespace shell::win32
