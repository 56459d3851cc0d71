// A call to Windows that the program cannot go on without, refused: the
// failure names what was being done and gives the system's message.
#pragma once

#include <windows.h>

#include <string_view>

namespace shell::win32 {

// Raises the failure of `what` (English, as the program's failures are) with
// the system's message for `code`, as GetLastError gave it; a refusal that
// left no code gives `what` alone.
[[noreturn]] void RaiseSystemFailure(std::u16string_view what, DWORD code);

}  // namespace shell::win32
