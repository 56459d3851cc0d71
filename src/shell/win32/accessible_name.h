// Names for screen readers on controls that show none of their own: a
// picture-only button, a box without a label before it.
#pragma once

#include <windows.h>

#include <string_view>

namespace shell::win32 {

// Gives `control` the name screen readers say for it; an empty name leaves
// the one the system finds. COM must be initialised on the calling thread.
void GiveAccessibleName(HWND control, std::u16string_view name);

}  // namespace shell::win32
