// File names as they reach the system. The system reads a name as a C string:
// one that holds a NUL would reach it cut short and name another file, so both
// OS layers refuse such a name as invalid before any system call.
//
// A name whose last part is a DOS device (CON, PRN, AUX, NUL, COM1 to COM9,
// LPT1 to LPT9, CONIN$, CONOUT$, also with an extension or blanks after it) or
// that lies in the device namespace ("\\.\", "\\?\", "\??\") reaches a device,
// not a file: opening the console or a serial port can wait forever, and
// writing to NUL loses the bytes while reporting success. No file the program
// works with has such a name, so both OS layers refuse it as invalid too.
#pragma once

#include <string_view>

namespace platform {

inline bool HoldsNul(std::u16string_view name) {
  return name.find(u'\0') != std::u16string_view::npos;
}

bool NamesDevice(std::u16string_view name);

}  // namespace platform
