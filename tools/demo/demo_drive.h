// The typical use of the program, driven with real keystrokes on a display
// where nobody watches: Enter for "OK", both switches ticked, Enter for
// "SRU", Enter on "Koniec", Alt+F4; a screenshot of every screen on the way.
#pragma once

#include <filesystem>
#include <iosfwd>

namespace demo {

// Starts `exe` under Wine from `folder` and saves the screenshots there.
// False, with what went wrong told on `out`, when a step did not come.
bool Drive(const std::filesystem::path& exe, const std::filesystem::path& folder,
           std::ostream& out);

}  // namespace demo
