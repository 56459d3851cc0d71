// Path texts as the user types them and as the program joins them.
#pragma once

#include <string>
#include <string_view>

namespace transfer {

// The path ending with a backslash (only a backslash counts as one).
std::u16string SlashStr(std::u16string_view path);
// Appends SlashStr(path) to a text being joined.
void AppendSlashStr(std::u16string& text, std::u16string_view path);

// The text without leading and trailing characters of code U+0020 or below.
std::u16string_view TrimControls(std::u16string_view text);

// True when the name, joined to a directory, climbs out of it: a part of two
// dots or more and blanks only, which the system reads as "..". A company
// directory read from the register must never take a run outside its
// installation, whatever a damaged register holds.
bool ClimbsOut(std::u16string_view relative);

}  // namespace transfer
