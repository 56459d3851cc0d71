#include "demo/demo_drive.h"

#include <chrono>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "demo/demo_installations.h"
#include "e2e/desktop.h"
#include "e2e/wine.h"

namespace demo {

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr e2e::Millis kStartLimit = 60s;
constexpr e2e::Millis kStepLimit = 20s;

class Driver {
 public:
  Driver(const fs::path& folder, std::ostream& out) : folder_(folder), out_(out) {}

  bool Fail(const std::string& what) {
    const fs::path shot = folder_ / "failure.png";
    e2e::SaveScreen(shot);
    out_ << "the drive stopped: " << what << " (the screen: " << shot.string() << ")\n";
    return false;
  }

  // The main window of the program just started, once active; nothing when
  // it did not come.
  std::optional<e2e::WindowId> MainWindow() {
    const auto main = e2e::WaitForWindow("^Kopiwanie dodatkowych plik", kStartLimit);
    if (!main || !e2e::WaitUntilActive(*main, kStepLimit)) return std::nullopt;
    return main;
  }

  // What the window shows once painted, differing from `unlike`, saved as `name`.
  std::optional<std::string> Settle(e2e::WindowId window, const std::string& unlike,
                                    const char* name) {
    auto shown = e2e::WaitUntilStill(window, unlike, kStepLimit);
    if (shown && name != nullptr) {
      const fs::path png = folder_ / name;
      e2e::SaveScreenshot(window, png);
      out_ << "screenshot: " << png.string() << "\n";
    }
    return shown;
  }

  // The list window titled by `titleRegex`, once active and painted, saved
  // as `name`, then answered with `keys`.
  bool Answer(const std::string& titleRegex, const char* name,
              const std::vector<std::string>& keys) {
    const auto list = e2e::WaitForWindow(titleRegex, kStepLimit);
    if (!list || !e2e::WaitUntilActive(*list, kStepLimit)) return false;
    Settle(*list, "", name);
    e2e::Type(keys);
    return e2e::WaitUntilGone(*list, kStepLimit);
  }

  // The message box that `main` opened, saved over the window as `name`
  // and closed with Enter; what the window shows then, once painted.
  std::optional<std::string> Box(e2e::WindowId main, const std::string& unlike, const char* name) {
    const auto box = e2e::WaitUntilActiveOther(main, kStepLimit);
    if (!box) return std::nullopt;
    const auto shown = Settle(main, unlike, name);
    e2e::Type({"Return"});
    if (!shown || !e2e::WaitUntilGone(*box, kStepLimit)) return std::nullopt;
    if (!e2e::WaitUntilActive(main, kStepLimit)) return std::nullopt;
    return Settle(main, *shown, nullptr);
  }

 private:
  fs::path folder_;
  std::ostream& out_;
};

// The typical use from the paths screen as `paths` shows it: Enter for
// "OK", both switches ticked, "Podgląd" and Esc, Enter for "SRU", Enter on
// "Koniec", then "Cofnij" and "Tak". Leaves the window with the undo logged.
bool TypicalUse(Driver& driver, e2e::WindowId main, const std::string& paths,
                const Installation& now, std::ostream& out) {
  e2e::Type({"Return"});
  const auto accepted = driver.Settle(main, paths, nullptr);
  if (!accepted || !e2e::WaitUntilActive(main, 2s)) return driver.Fail("\"OK\" did not lead on");

  e2e::Type({"Tab", "space", "Tab", "Tab", "space"});
  const auto ticked = driver.Settle(main, *accepted, "run-screen.png");
  if (!ticked) return driver.Fail("the switches did not change");

  // On past the log and the run's buttons to "Podgląd"; Esc closes it.
  e2e::Type({"Tab", "Tab", "Tab", "Tab", "Tab", "Return"});
  if (!driver.Answer("^Podgl", "podglad.png", {"Escape"})) return driver.Fail("no \"Podgląd\"");

  // Back to "SRU".
  e2e::Type({"shift+Tab", "shift+Tab", "shift+Tab", "Return"});
  const auto info = e2e::WaitForWindow("^Info$", kStepLimit);
  if (!info || !e2e::WaitUntilActive(*info, kStepLimit)) return driver.Fail("no \"Koniec\" box");
  const auto koniec = driver.Settle(main, *ticked, "koniec.png");
  e2e::Type({"Return"});
  if (!e2e::WaitUntilGone(*info, kStepLimit)) return driver.Fail("the box stayed");
  const auto logged = driver.Settle(main, koniec.value_or(""), "run-screen-log.png");
  if (!logged) return driver.Fail("the log was not shown");
  ReportInventories(now, "After the run, opening inventories that changed", out);

  // From "SRU" on to "Cofnij"; Shift+Tab from "Nie" to "Tak", Enter.
  if (!e2e::WaitUntilActive(main, kStepLimit)) return driver.Fail("the window is not active");
  e2e::Type({"Tab", "Tab", "Tab", "Tab", "Return"});
  if (!driver.Answer("^Cofnij$", "cofnij.png", {"shift+Tab", "Return"})) {
    return driver.Fail("no \"Cofnij\"");
  }
  if (!driver.Settle(main, *logged, "run-screen-undone.png")) {
    return driver.Fail("the undo was not logged");
  }
  if (!e2e::WaitUntilActive(main, kStepLimit)) return driver.Fail("the window is not active");
  return true;
}

// Alt+F4, and the program's end.
bool Close(Driver& driver, e2e::Process& program, std::ostream& out) {
  e2e::Type({"alt+F4"});
  const auto code = program.Wait(kStepLimit);
  if (!code) return driver.Fail("the window did not close");
  out << "the program ended with code " << *code << "\n";
  return *code == 0;
}

// The guide's installations in the prefix, with fixed years so that every
// screenshot is the same whenever it is made: the demo's pair where the
// registry proposes it, and a pair whose run fails on a file it cannot open.
struct GuidePair {
  const char* oldDir;  // below drive C:, as Windows names it there
  const char* newDir;
};
constexpr int kOldYear = 2025;
constexpr int kNewYear = 2026;
constexpr GuidePair kGuidePair{"zetka_2025", "Programy\\ZETKA_WX_2026"};
constexpr GuidePair kFailingPair{"Proba\\zetka_2025", "Proba\\ZETKA_WX_2026"};
constexpr std::u16string_view kBlockedCompany = u"APTEKA";
// A folder with no installation in it: one character left out.
constexpr const char* kMistypedDir = "C:\\zetka2025";

std::string Windows(const char* dir) { return std::string("C:\\") + dir; }

Installation In(const fs::path& prefix, const char* dir, int year) {
  std::string unix = dir;
  for (char& c : unix) {
    if (c == '\\') c = '/';
  }
  return {prefix / "drive_c" / unix, year};
}

// Both pairs made anew, and the registry's entries of both years (as the
// program's clock names them) pointing at the demo's pair.
void PrepareGuide(std::ostream& out) {
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix == nullptr) throw std::runtime_error("WINEPREFIX is not set");
  Build(In(prefix, kGuidePair.oldDir, kOldYear), In(prefix, kGuidePair.newDir, kNewYear));
  const Installation failingNew = In(prefix, kFailingPair.newDir, kNewYear);
  Build(In(prefix, kFailingPair.oldDir, kOldYear), failingNew);
  BlockAnnualFile(failingNew, kBlockedCompany);

  const auto now = std::chrono::year_month_day(
      std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now()));
  const int year = static_cast<int>(now.year());
  const auto key = [](int y) {
    return "Software\\wx\\ZT0" + std::to_string(y % 100 + 100).substr(1);
  };
  e2e::DeleteRegistryKey("Software\\wx");
  e2e::SetRegistryText(key(year - 1), "InstallPath", Windows(kGuidePair.oldDir));
  e2e::SetRegistryText(key(year), "InstallPath", Windows(kGuidePair.newDir));
  out << "guide: installations " << Windows(kGuidePair.oldDir) << " -> "
      << Windows(kGuidePair.newDir) << ", and " << Windows(kFailingPair.oldDir) << " -> "
      << Windows(kFailingPair.newDir) << " (a folder in place of APTEKA's " << kNewYear
      << "_ROK.REK)\n";
}

// The focused directory field's text replaced by `text`, typed; Esc closes
// the suggestions it may have opened.
void TypeIntoField(const std::string& text) {
  e2e::Type({"Home", "shift+End"});
  e2e::TypeText(text);
  e2e::Type({"Escape"});
}

}  // namespace

bool Drive(const fs::path& exe, const fs::path& folder, const Installation& now,
           std::ostream& out) {
  Driver driver(folder, out);
  e2e::Process program(e2e::WindowsProgram(exe, folder));
  const auto main = driver.MainWindow();
  if (!main) return driver.Fail("no active window");
  const auto paths = driver.Settle(*main, "", "paths-screen.png");
  if (!paths) return driver.Fail("the paths screen was not painted");
  if (!TypicalUse(driver, *main, *paths, now, out)) return false;
  return Close(driver, program, out);
}

bool Shots(const fs::path& exe, const fs::path& folder, std::ostream& out) {
  PrepareGuide(out);
  const char* prefix = std::getenv("WINEPREFIX");
  Driver driver(folder, out);
  e2e::Process program(e2e::WindowsProgram(exe, folder));
  const auto main = driver.MainWindow();
  if (!main) return driver.Fail("no active window");
  auto shown = driver.Settle(*main, "", "paths-screen.png");
  if (!shown) return driver.Fail("the paths screen was not painted");

  // The focus starts on the screen's page: Tab to the source field, which
  // gets the destination: the two paths are the same.
  e2e::Type({"Tab"});
  TypeIntoField(Windows(kGuidePair.newDir));
  shown = driver.Settle(*main, *shown, nullptr);
  if (!shown) return driver.Fail("the field did not change");
  e2e::Type({"Return"});
  shown = driver.Box(*main, *shown, "box-paths-equal.png");
  if (!shown) return driver.Fail("no box for equal paths");

  // A folder with no installation.
  TypeIntoField(kMistypedDir);
  shown = driver.Settle(*main, *shown, nullptr);
  if (!shown) return driver.Fail("the field did not change");
  e2e::Type({"Return"});
  shown = driver.Box(*main, *shown, "box-wrong-folder.png");
  if (!shown) return driver.Fail("no box for a wrong folder");

  // The right folder again, and the folder dialog on Alt+Down, cancelled.
  TypeIntoField(Windows(kGuidePair.oldDir));
  e2e::Type({"alt+Down"});
  const auto dialog = e2e::WaitUntilActiveOther(*main, kStepLimit);
  if (!dialog || !driver.Settle(*dialog, "", "folder-dialog.png")) {
    return driver.Fail("no folder dialog");
  }
  e2e::Type({"Escape"});
  if (!e2e::WaitUntilGone(*dialog, kStepLimit) || !e2e::WaitUntilActive(*main, kStepLimit)) {
    return driver.Fail("the folder dialog stayed");
  }
  // Back to the page, where the typical use starts.
  e2e::Type({"shift+Tab"});
  shown = driver.Settle(*main, *shown, nullptr);
  if (!shown) return driver.Fail("the paths screen was not painted");

  if (!TypicalUse(driver, *main, *shown, In(prefix, kGuidePair.newDir, kNewYear), out)) {
    return false;
  }
  // "Cofnij" once more: nothing is left to take back.
  const auto undone = e2e::Capture(*main);
  e2e::Type({"Return"});
  if (!driver.Answer("^Cofnij$", "cofnij-nothing.png", {"Escape"})) {
    return driver.Fail("no second \"Cofnij\"");
  }

  // Esc back to the paths, the failing pair, "OK" and "SRU": the run stops
  // on the annual file it cannot open.
  if (!e2e::WaitUntilActive(*main, kStepLimit)) return driver.Fail("the window is not active");
  e2e::Type({"Escape"});
  shown = driver.Settle(*main, undone, nullptr);
  if (!shown) return driver.Fail("no paths screen");
  TypeIntoField(Windows(kFailingPair.oldDir));
  e2e::Type({"Tab"});
  TypeIntoField(Windows(kFailingPair.newDir));
  shown = driver.Settle(*main, *shown, nullptr);
  if (!shown) return driver.Fail("the fields did not change");
  e2e::Type({"Return"});
  shown = driver.Settle(*main, *shown, nullptr);
  if (!shown || !e2e::WaitUntilActive(*main, 2s)) return driver.Fail("\"OK\" did not lead on");
  // From the first switch on to "Podgląd", which tells where the run would
  // stop; then back to "SRU".
  e2e::Type({"Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Return"});
  if (!driver.Answer("^Podgl", "podglad-failure.png", {"Escape"})) {
    return driver.Fail("no \"Podgląd\" of the failing run");
  }
  e2e::Type({"shift+Tab", "shift+Tab", "shift+Tab", "Return"});
  shown = driver.Box(*main, *shown, "box-file-failure.png");
  if (!shown) return driver.Fail("no failure display");
  const fs::path png = folder / "run-screen-failure.png";
  e2e::SaveScreenshot(*main, png);
  out << "screenshot: " << png.string() << "\n";
  return Close(driver, program, out);
}

}  // namespace demo
