// The system's accessible object of a control under a name of ours: the
// control's role, state, value, place and children stay the system's.
#pragma once

#include <windows.h>
#include <oleacc.h>

namespace shell::win32 {

// A new object, holding one reference, over `system` (whose reference it
// takes) that answers `name` for the control itself. Null when memory runs
// out; `system` is then released.
IAccessible* WithName(IAccessible* system, const wchar_t* name, UINT length);

}  // namespace shell::win32
