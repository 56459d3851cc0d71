#include "e2e/wine.h"

#include <stdexcept>

namespace e2e {

namespace {

constexpr Millis kRegLimit{60'000};

// True when reg succeeded.
bool Reg(std::vector<std::string> args, bool mustSucceed) {
  args.insert(args.begin(), {"wine", "reg"});
  const Outcome outcome = Run({args, {}, {}}, kRegLimit, true);
  const bool succeeded = outcome.finished && outcome.exitCode == 0;
  if (mustSucceed && !succeeded) {
    std::string command;
    for (const auto& arg : args) command += arg + " ";
    throw std::runtime_error("failed: " + command);
  }
  return succeeded;
}

}  // namespace

std::string WindowsPath(const std::filesystem::path& path) {
  std::string text = "Z:" + std::filesystem::absolute(path).lexically_normal().string();
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
  return text;
}

void SetRegistryText(const std::string& key, const std::string& value, const std::string& text) {
  // Windows' command line would read a backslash before the closing quote
  // as an escaped quote.
  if (text.ends_with('\\')) throw std::invalid_argument("a registry text ending in \\: " + text);
  Reg({"add", "HKCU\\" + key, "/v", value, "/t", "REG_SZ", "/d", text, "/f"}, true);
}

void DeleteRegistryKey(const std::string& key) { Reg({"delete", "HKCU\\" + key, "/f"}, false); }

bool RegistryKeyExists(const std::string& key) { return Reg({"query", "HKCU\\" + key}, false); }

Command WindowsProgram(const std::filesystem::path& exe, const std::filesystem::path& cwd,
                       const std::string& locale) {
  return {{"wine", std::filesystem::absolute(exe).string()}, {"LC_ALL=" + locale}, cwd.string()};
}

void EndWindowsPrograms() { Run({{"wineserver", "-k"}, {}, {}}, Millis(10'000), true); }

}  // namespace e2e
