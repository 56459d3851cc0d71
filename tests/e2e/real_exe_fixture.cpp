#include "e2e/real_exe_fixture.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>

namespace e2e {

namespace fs = std::filesystem;

namespace {

// The bookkeeping program's registry key of a year: ZT0 and its last two digits.
constexpr char kParentKey[] = "Software\\wx";
std::string YearKey(int year) {
  const std::string digits = std::to_string(year);
  return std::string(kParentKey) + "\\ZT0" + digits.substr(digits.size() - 2);
}

}  // namespace

int CurrentYear() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_year + 1900;
}

std::string ActiveName() {
  const auto active = ActiveWindow();
  return active ? "\"" + WindowName(*active) + "\"" : "none";
}

std::map<std::string, testing_support::Bytes> Files(const fs::path& root) {
  std::map<std::string, testing_support::Bytes> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[fs::relative(entry.path(), root).string()] = {std::istreambuf_iterator<char>(in), {}};
  }
  return files;
}

void RealExeTest::SetUp() {
  for (const char* name : {"DISPLAY", "WINEPREFIX", "DOPLIKI_EXE"}) {
    ASSERT_NE(std::getenv(name), nullptr) << name << " is not set";
  }
  pair.dir.MakeDir(u"bin");
  pair.dir.MakeDir(u"elsewhere");
}

void RealExeTest::TearDown() {
  if (HasFailure()) {
    const fs::path shot =
        fs::temp_directory_path() /
        (std::string("dopliki-e2e-") +
         ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png");
    if (SaveScreen(shot)) std::cout << "screen at the failure: " << shot << "\n";
  }
  if (program) {
    program->Kill();
    EndWindowsPrograms();
  }
  // Leave the prefix's registry as it was: reg made the parent key too.
  for (const auto& key : keys) DeleteRegistryKey(key);
  if (madeParentKey) DeleteRegistryKey(kParentKey);
}

void RealExeTest::Install(const std::string& name, std::u16string_view folder) {
  pair.dir.MakeDir(folder);
  exe = pair.dir.Native(folder) / name;
  fs::copy_file(std::getenv("DOPLIKI_EXE"), exe);
}

void RealExeTest::Start(const std::optional<std::string>& started) {
  Command command = WindowsProgram(exe, pair.dir.Native(u"elsewhere"));
  if (started) command.args.back() = *started;
  program.emplace(command);
  const auto window = WaitForWindow(kCaptionRegex, kStartLimit);
  ASSERT_TRUE(window) << "the main window did not appear";
  main = *window;
  EXPECT_EQ(WindowName(main), kCaption);
  ASSERT_TRUE(WaitUntilActive(main, kStepLimit))
      << "the main window is not active; the active one: " << ActiveName();
}

void RealExeTest::Close() {
  ASSERT_TRUE(WaitUntilActive(main, kStepLimit));
  Type({"alt+F4"});
  EXPECT_EQ(program->Wait(kStepLimit), 0) << "the program did not end with code 0";
}

void RealExeTest::ExpectOneTaskbarEntry(const std::string& title) {
  const auto windows = ManagedWindows();
  std::string seen;
  std::vector<ManagedWindow> listed;
  for (const auto& window : windows) {
    seen += " \"" + window.name + "\"" + (window.skipTaskbar ? " (skips the taskbar)" : "") +
            (window.transientFor ? " (owned)" : "");
    if (!window.skipTaskbar && !window.transientFor) listed.push_back(window);
  }
  ASSERT_EQ(listed.size(), 1u) << "managed windows:" << seen;
  EXPECT_EQ(listed.front().name, title);
  bool mainSeen = false;
  for (const auto& window : windows) {
    if (window.id != main) continue;
    mainSeen = true;
    EXPECT_EQ(window.name, kCaption);
    EXPECT_TRUE(window.skipTaskbar);
    EXPECT_EQ(window.transientFor, listed.front().id) << "the main window's owner";
  }
  EXPECT_TRUE(mainSeen) << "the main window is not managed; managed windows:" << seen;
}

void RealExeTest::ProposeInRegistry(int year, std::u16string_view installation) {
  ProposeWindowsPath(year, WindowsPath(pair.dir.Native(installation)));
}

void RealExeTest::ProposeWindowsPath(int year, const std::string& windowsPath) {
  if (keys.empty()) madeParentKey = !RegistryKeyExists(kParentKey);
  keys.push_back(YearKey(year));
  SetRegistryText(keys.back(), "InstallPath", windowsPath);
}

void RealExeTest::ProposeThePair() {
  const int year = CurrentYear();
  ProposeInRegistry(year - 1, testing_support::Installations::kOld);
  ProposeInRegistry(year, testing_support::Installations::kNew);
}

void RealExeTest::Accept() {
  const std::string pathsScreen = Capture(main);
  Type({"Return"});
  ASSERT_TRUE(WaitUntilStill(main, pathsScreen, kStepLimit)) << "the screen did not change";
  ASSERT_TRUE(WaitUntilActive(main, kStepLimit)) << "another window is active: " << ActiveName();
}

std::optional<WindowId> RealExeTest::WaitForKoniec(Millis limit) {
  return WaitForWindow("^Info$", limit);
}

}  // namespace e2e
