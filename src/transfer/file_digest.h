// A file's size and SHA-256, read through the OS layer: what the journal
// keeps of a copy, and what the undo compares before it removes one.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/os.h"
#include "transfer/sha256.h"

namespace transfer {

struct FileDigest {
  std::uint64_t size = 0;
  Sha256Digest hash{};
  friend bool operator==(const FileDigest&, const FileDigest&) = default;
};

// Reads the whole existing file. Raises EInOutError with the system's code.
FileDigest DigestOf(platform::Os& os, std::u16string_view name);

}  // namespace transfer
