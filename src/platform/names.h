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

#include <string>
#include <string_view>

namespace platform {

inline bool HoldsNul(std::u16string_view name) {
  return name.find(u'\0') != std::u16string_view::npos;
}

bool NamesDevice(std::u16string_view name);

// The executable's path as a path the program can use: the system may give
// it in the long-path form ("\\?\C:\...", "\\?\UNC\server\share\...")
// that the program refuses as a device name, and Wine gives a program
// started from a share "UNC\server\share\...", which reads as a relative
// path. Either becomes the ordinary form ("C:\...", "\\server\share\...").
std::u16string OrdinaryPath(std::u16string path);

}  // namespace platform
