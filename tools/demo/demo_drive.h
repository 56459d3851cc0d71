// The typical use of the program, driven with real keystrokes on a display
// where nobody watches: Enter for "OK", both switches ticked, "Podgląd" and
// Esc, Enter for "SRU", Enter on "Koniec", then "Cofnij" and "Tak", Alt+F4;
// a screenshot of every screen and window on the way, and the opening
// inventories told after the run, before it is taken back.
#pragma once

#include <filesystem>
#include <iosfwd>

#include "demo/demo_installations.h"

namespace demo {

// Starts `exe` under Wine from `folder` and saves the screenshots there.
// False, with what went wrong told on `out`, when a step did not come.
bool Drive(const std::filesystem::path& exe, const std::filesystem::path& folder,
           const Installation& now, std::ostream& out);

// For the guide: makes its installations in the prefix (WINEPREFIX) and the
// registry's entries, then drives every screen and every box and window a
// user can meet (the message boxes of the paths screen, the folder dialog,
// the typical use as Drive does, "Cofnij" with nothing left, a run that
// fails on a file it cannot open) and saves a screenshot of each into `folder`.
bool Shots(const std::filesystem::path& exe, const std::filesystem::path& folder,
           std::ostream& out);

}  // namespace demo
