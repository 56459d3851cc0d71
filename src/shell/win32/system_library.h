// Where the program takes code from at run time: the system's folder only.
// Windows looks for a DLL beside the executable before its own folder, except
// for its KnownDLLs; a DLL of the same name planted there (in a Downloads
// folder, say) would run inside the program. So the exe imports only
// KnownDLLs (and comctl32.dll, which the manifest binds to the system's
// side-by-side assembly), and every other DLL is looked up here.
#pragma once

#include <windows.h>

namespace shell::win32 {

// Makes the system's folder the only place the process searches for a DLL
// named without a path, for the program's own loads and those Windows makes
// for it. The first thing the program does.
void SearchDllsInSystemFolderOnly();

// The function `name` of the system folder's `dll`; null where the system
// lacks the DLL or the function. A DLL of that name anywhere else is never
// loaded.
FARPROC SystemProcedure(const wchar_t* dll, const char* name);

// The same, typed as the SDK declares it:
// SystemFunction<decltype(&OpenThemeData)>(L"uxtheme.dll", "OpenThemeData").
template <typename Function>
Function SystemFunction(const wchar_t* dll, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(SystemProcedure(dll, name)));
}

}  // namespace shell::win32
