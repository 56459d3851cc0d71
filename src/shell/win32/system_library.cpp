#include "shell/win32/system_library.h"

#include <string>

namespace shell::win32 {

namespace {

// kernel32.dll is mapped into every process before the program runs.
FARPROC Kernel32Procedure(const char* name) {
  const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  return kernel32 != nullptr ? GetProcAddress(kernel32, name) : nullptr;
}

// Windows 8 and later, and Windows 7 with KB2533623, know the
// LOAD_LIBRARY_SEARCH_ flags; Microsoft's test for them is whether kernel32
// exports the functions that came with them. Elsewhere LoadLibraryExW fails
// on the flags.
bool SearchFlagsKnown() {
  static const bool known = Kernel32Procedure("SetDefaultDllDirectories") != nullptr;
  return known;
}

HMODULE LoadFromSystemFolder(const wchar_t* dll) {
  if (SearchFlagsKnown()) return LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  // Without the flags: the full path of the system folder's copy, its own
  // DLLs then searched from that folder on, never from the executable's.
  std::wstring path(MAX_PATH, L'\0');
  const UINT length = GetSystemDirectoryW(path.data(), static_cast<UINT>(path.size()));
  if (length == 0 || length >= path.size()) return nullptr;
  path.resize(length);
  path += L'\\';
  path += dll;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

void SearchDllsInSystemFolderOnly() {
  // Looked up, not imported: an exe importing it would not start at all on a
  // Windows 7 without KB2533623.
  const auto setDefault = reinterpret_cast<decltype(&SetDefaultDllDirectories)>(
      reinterpret_cast<void*>(Kernel32Procedure("SetDefaultDllDirectories")));
  if (setDefault != nullptr && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  // Microsoft's advice where the call is not there: at least the current
  // folder leaves the search.
  SetDllDirectoryW(L"");
}

FARPROC SystemProcedure(const wchar_t* dll, const char* name) {
  // Never freed: the functions stay valid for the process's life, and a
  // second load of a loaded DLL only counts a reference.
  const HMODULE module = LoadFromSystemFolder(dll);
  return module != nullptr ? GetProcAddress(module, name) : nullptr;
}

}  // namespace shell::win32
