// Windows programs under Wine, in the prefix and on the display that the
// environment names (WINEPREFIX, DISPLAY): paths as Windows sees them, the
// registry of the prefix, and programs started as a user would start them.
#pragma once

#include <filesystem>
#include <string>

#include "e2e/process.h"

namespace e2e {

// The Windows name of a Unix path: Wine's drive Z: is the root.
std::string WindowsPath(const std::filesystem::path& path);

// Values under HKEY_CURRENT_USER, through Wine's reg. Throw when reg fails.
void SetRegistryText(const std::string& key, const std::string& value, const std::string& text);
void DeleteRegistryKey(const std::string& key);
bool RegistryKeyExists(const std::string& key);

// A Windows program started from `cwd`, with the locale given to Wine
// (pl_PL.UTF-8: a Polish Windows, code page 1250, decimal symbol ",").
Command WindowsProgram(const std::filesystem::path& exe, const std::filesystem::path& cwd,
                       const std::string& locale = "pl_PL.UTF-8");

// Ends every Windows program of the prefix (wineserver -k).
void EndWindowsPrograms();

}  // namespace e2e
