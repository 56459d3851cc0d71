// The real dopliki32.exe under Wine, driven with real keystrokes on the
// session's display as a user would drive it, and the files it leaves.
// Needs DISPLAY (with a window manager), WINEPREFIX and DOPLIKI_EXE (the exe).
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "e2e/desktop.h"
#include "e2e/wine.h"
#include "support/installations.h"

namespace e2e {

using namespace std::chrono_literals;

inline constexpr char kCaption[] = "Kopiwanie dodatkowych plików ZETKA_WX po konwersji na nowy rok";
inline constexpr char kCaptionRegex[] = "^Kopiwanie dodatkowych plik";
// The first start of Windows in a fresh wineserver takes a while.
inline constexpr Millis kStartLimit = 60s;
inline constexpr Millis kStepLimit = 20s;

int CurrentYear();
// The name of the active window, quoted, for a failure's message.
std::string ActiveName();
// Every file under a folder, by its path relative to it.
std::map<std::string, testing_support::Bytes> Files(const std::filesystem::path& root);

class RealExeTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The exe copied under `name` into a folder of its own (bin, unless given).
  void Install(const std::string& name, std::u16string_view folder = u"bin");
  // Started from another folder, as a user would: the main window appears
  // and is active. `started` is how Wine is given the exe (its path by default).
  void Start(const std::optional<std::string>& started = std::nullopt);
  // Closes the window with Alt+F4, as a user would, and waits for the end.
  void Close();
  // A taskbar lists the managed windows that neither skip it nor belong to
  // another window: only the application window, labelled with the title.
  void ExpectOneTaskbarEntry(const std::string& title);
  // The registry's proposal of a year's installation: one of the pair's, or
  // any Windows path.
  void ProposeInRegistry(int year, std::u16string_view installation);
  void ProposeWindowsPath(int year, const std::string& windowsPath);
  // Both years of the pair proposed, for this year and the last.
  void ProposeThePair();
  // Enter on the proposed paths, and the run screen shown.
  void Accept();
  // "SRU" waited for: its "Info" box, once shown.
  std::optional<WindowId> WaitForKoniec(Millis limit = kStepLimit);

  testing_support::Installations pair;
  std::filesystem::path exe;
  std::optional<Process> program;
  WindowId main = 0;
  std::vector<std::string> keys;
  bool madeParentKey = false;
};

}  // namespace e2e
