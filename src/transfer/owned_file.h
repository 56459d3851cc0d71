// One open file owned by one object, for the journal and the undo: every
// failure raises EInOutError with the system's code and the file's name, and
// the file is closed on every path.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/os.h"

namespace transfer {

class OwnedFile {
 public:
  explicit OwnedFile(platform::Os& os) : os_(os) {}
  ~OwnedFile();
  OwnedFile(const OwnedFile&) = delete;
  OwnedFile& operator=(const OwnedFile&) = delete;

  enum class Access { kReadWrite, kRead };
  // Opens an existing file, for reading and writing unless `access` says
  // reading only (which a read-only file allows); false, raising nothing,
  // when there is no such file.
  bool OpenIfPresent(std::u16string_view name, Access access = Access::kReadWrite);
  // Creates the file anew, or empties it.
  void Create(std::u16string_view name);
  // Reads up to `size` bytes; gives how many came (0 at the end).
  std::uint32_t Read(void* buffer, std::uint32_t size);
  // Writes all `size` bytes or raises.
  void Write(const void* buffer, std::uint32_t size);
  void SeekTo(std::uint32_t position);
  void Flush();
  void Close();

 private:
  [[noreturn]] void Fail(std::uint32_t code) const;

  platform::Os& os_;
  std::u16string name_;
  platform::FileHandle handle_ = 0;
};

}  // namespace transfer
