// The failure display: what escapes a click, a key, a drop or the creation
// of the window ends that handler and is shown in a message box captioned
// with the application title; the window then goes on.
#pragma once

#include <string>

#include "shell/win32/message_boxes.h"

namespace shell::win32 {

// Where failures are shown, for the life of the process.
void InstallFailureDisplay(MessageBoxes& boxes, std::u16string applicationTitle);

// Shows the failure being handled. Call it only inside a catch block; it
// raises nothing.
void ShowEscapedFailure() noexcept;

// Shows a failure's message (a full stop added by the display's rule).
void ShowFailure(std::u16string_view message) noexcept;

}  // namespace shell::win32
