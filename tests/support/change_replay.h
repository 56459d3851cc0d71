// The files as a list of changes leaves them, so that a test can hold a
// preview's list against what the real run left on the disk.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "platform/file_change.h"
#include "support/temp_dir.h"

namespace testing_support {

// Every file by a name of the test's choosing, with its bytes.
using Tree = std::map<std::string, Bytes>;
// The name in a Tree of a file the program named.
using TreeName = std::function<std::string(std::u16string_view)>;

// The changes applied in order. Throws std::logic_error where a change does
// not fit the files (a write's "before" bytes that are not there, a rename of
// no file), so a list that misstates the run fails the test that replays it.
Tree Replayed(Tree files, const platform::FileChanges& changes, const TreeName& nameOf);

// Every file under the folder, the executable's folder too, by its relative
// path with "/" between parts.
Tree FilesUnder(const TempDir& dir);
// The relative path, as FilesUnder names it, of a name the program gave
// under the folder (either separator, runs of them as one).
TreeName RelativeTo(const TempDir& dir);

}  // namespace testing_support
