// One change that a run made to the files, as a person reads it in a
// summary: which file was made, written, renamed, put in another's place,
// removed or copied. Applied in order to the files as they were, the changes
// give the files as the run left them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct FileChange {
  enum class Kind {
    kCreated,   // a new, empty file at `name`
    kEmptied,   // the file at `name` cut to nothing, made anew in its place
    kWritten,   // `after` put at `offset` of `name`, where `before` was
    kRenamed,   // the file at `from` now at `name`, where there was none
    kReplaced,  // the file at `from` now at `name`, the file there before gone
    kRemoved,   // the file at `name` gone
    kCopied,    // a new file at `name` holding what `from` holds
  };
  Kind kind = Kind::kCreated;
  // Names as the program gave them.
  std::u16string name;
  std::u16string from;
  // kWritten only. `before` is shorter than `after` where the write went past
  // the end; a write that starts past the end fills the gap with zeros.
  std::uint32_t offset = 0;
  std::string before;
  std::string after;
};

using FileChanges = std::vector<FileChange>;

}  // namespace platform
