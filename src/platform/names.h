// File names as they reach the system. The system reads a name as a C string:
// one that holds a NUL would reach it cut short and name another file, so both
// OS layers refuse such a name as invalid before any system call.
#pragma once

#include <string_view>

namespace platform {

inline bool HoldsNul(std::u16string_view name) {
  return name.find(u'\0') != std::u16string_view::npos;
}

}  // namespace platform
