#include "transfer/file_digest.h"

#include <vector>

#include "transfer/errors.h"
#include "transfer/owned_file.h"

namespace transfer {

FileDigest DigestOf(platform::Os& os, std::u16string_view name) {
  // The bytes are counted as read: the system's size query gives only the
  // low 32 bits of a larger file.
  OwnedFile file(os);
  // Read only: a copy carries its source's read-only attribute.
  if (!file.OpenIfPresent(name, OwnedFile::Access::kRead))
    throw EInOutError(platform::err::kFileNotFound, name);
  FileDigest digest;
  Sha256 hash;
  std::vector<std::uint8_t> chunk(std::size_t{64} * 1024);
  for (;;) {
    const auto read = file.Read(chunk.data(), static_cast<std::uint32_t>(chunk.size()));
    if (read == 0) break;
    hash.Update(chunk.data(), read);
    digest.size += read;
  }
  file.Close();
  digest.hash = hash.Finish();
  return digest;
}

}  // namespace transfer
