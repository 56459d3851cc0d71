// The rules of the directory fields' shell services that do not depend on the
// shell: where the folder dialog starts, what a drop puts into the field, and
// which folder's subfolders the suggestions list.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/os.h"

namespace shell {

// What a path names, as the OS layer sees it: a name it refuses (a device, a
// NUL) names nothing.
enum class Named { kNothing, kFile, kFolder };
Named WhatIsNamed(platform::Os& os, std::u16string_view path);

// The folder the dialog starts at: the field's text; when that is empty, the
// folder last chosen through this field's dialog, or "\"; and "\" (the root
// of the current drive) whenever that names no existing folder.
std::u16string StartingFolder(std::u16string_view text, std::u16string_view lastChosen,
                              const std::function<bool(std::u16string_view)>& isFolder);

// What a dropped item puts into a field: a file gives the folder that holds
// it, anything else its own path; one trailing backslash is then removed
// (C:\ gives C:).
std::u16string DroppedText(std::u16string_view path, bool isFile);

// The folder whose subfolders are suggested for a typed text: the text up to
// and including its last backslash; none when it has no backslash.
std::u16string_view SuggestionFolder(std::u16string_view typed);

}  // namespace shell
