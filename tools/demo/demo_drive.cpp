#include "demo/demo_drive.h"

#include <optional>
#include <ostream>
#include <string>

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

 private:
  fs::path folder_;
  std::ostream& out_;
};

}  // namespace

bool Drive(const fs::path& exe, const fs::path& folder, const std::optional<Installation>& now,
           std::ostream& out) {
  Driver driver(folder, out);
  e2e::Process program(e2e::WindowsProgram(exe, folder));
  const auto main = e2e::WaitForWindow("^Kopiwanie dodatkowych plik", kStartLimit);
  if (!main || !e2e::WaitUntilActive(*main, kStepLimit)) return driver.Fail("no active window");

  const auto paths = driver.Settle(*main, "", "paths-screen.png");
  if (!paths) return driver.Fail("the paths screen was not painted");
  e2e::Type({"Return"});
  const auto accepted = driver.Settle(*main, *paths, nullptr);
  if (!accepted || !e2e::WaitUntilActive(*main, 2s)) return driver.Fail("\"OK\" did not lead on");

  e2e::Type({"Tab", "space", "Tab", "Tab", "space"});
  const auto ticked = driver.Settle(*main, *accepted, "run-screen.png");
  if (!ticked) return driver.Fail("the switches did not change");

  // On past the log and the run's buttons to "Podgląd"; Esc closes it.
  e2e::Type({"Tab", "Tab", "Tab", "Tab", "Tab", "Return"});
  if (!driver.Answer("^Podgl", "podglad.png", {"Escape"})) return driver.Fail("no \"Podgląd\"");

  // Back to "SRU".
  e2e::Type({"shift+Tab", "shift+Tab", "shift+Tab", "Return"});
  const auto info = e2e::WaitForWindow("^Info$", kStepLimit);
  if (!info || !e2e::WaitUntilActive(*info, kStepLimit)) return driver.Fail("no \"Koniec\" box");
  const auto koniec = driver.Settle(*main, *ticked, "koniec.png");
  e2e::Type({"Return"});
  if (!e2e::WaitUntilGone(*info, kStepLimit)) return driver.Fail("the box stayed");
  const auto logged = driver.Settle(*main, koniec.value_or(""), "run-screen-log.png");
  if (!logged) return driver.Fail("the log was not shown");
  if (now) ReportInventories(*now, "After the run, opening inventories that changed", out);

  // From "SRU" on to "Cofnij"; Shift+Tab from "Nie" to "Tak", Enter.
  if (!e2e::WaitUntilActive(*main, kStepLimit)) return driver.Fail("the window is not active");
  e2e::Type({"Tab", "Tab", "Tab", "Tab", "Return"});
  if (!driver.Answer("^Cofnij$", "cofnij.png", {"shift+Tab", "Return"})) {
    return driver.Fail("no \"Cofnij\"");
  }
  if (!driver.Settle(*main, *logged, "run-screen-undone.png")) {
    return driver.Fail("the undo was not logged");
  }

  if (!e2e::WaitUntilActive(*main, kStepLimit)) return driver.Fail("the window is not active");
  e2e::Type({"alt+F4"});
  const auto code = program.Wait(kStepLimit);
  if (!code) return driver.Fail("the window did not close");
  out << "the program ended with code " << *code << "\n";
  return *code == 0;
}

}  // namespace demo
