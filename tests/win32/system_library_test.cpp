// The program takes code from the system's folder only: a DLL beside the exe
// (dopliki_planted.dll, built there by the tests) is never loaded, however it
// is asked for, and a DLL or function the system lacks is null, not a crash.
#include "shell/win32/system_library.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <string>

namespace {

constexpr wchar_t kPlanted[] = L"dopliki_planted.dll";

bool PlantedBesideTheExe() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
  path.resize(path.find_last_of(L'\\') + 1);
  return GetFileAttributesW((path + kPlanted).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Ascii(const wchar_t* name) { return std::string(name, name + wcslen(name)); }

TEST(SystemLibraryTest, FindsOnlyWhatTheSystemFolderHolds) {
  // The fixture is in place: Windows' usual search, the exe's folder first,
  // finds it.
  const HMODULE usual = LoadLibraryW(kPlanted);
  ASSERT_NE(usual, nullptr) << "dopliki_planted.dll is not beside the test exe";
  ASSERT_NE(GetProcAddress(usual, "Planted"), nullptr);
  FreeLibrary(usual);

  struct Case {
    const wchar_t* dll;
    const char* function;
    bool found;
  };
  const Case cases[] = {
      {L"user32.dll", "CreateWindowExW", true},  // a KnownDLL, mapped already
      {L"uxtheme.dll", "OpenThemeData", true},   // none, loaded from the system's folder
      {L"uxtheme.dll", "NoSuchFunction", false},
      {L"dopliki_no_such.dll", "Planted", false},
      {kPlanted, "Planted", false},
  };
  for (const auto& [dll, function, found] : cases) {
    EXPECT_EQ(shell::win32::SystemProcedure(dll, function) != nullptr, found)
        << Ascii(dll) << " " << function;
  }
}

// What the program does first holds for every later load in the process,
// its own and those Windows makes for it.
TEST(SystemLibraryTest, AfterTheStartNoLoadSearchesTheExesFolder) {
  ASSERT_TRUE(PlantedBesideTheExe());
  shell::win32::SearchDllsInSystemFolderOnly();
  const HMODULE planted = LoadLibraryW(kPlanted);
  EXPECT_EQ(planted, nullptr);
  if (planted != nullptr) FreeLibrary(planted);
  EXPECT_NE(LoadLibraryW(L"uxtheme.dll"), nullptr);
}

}  // namespace
