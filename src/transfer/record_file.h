// Files of fixed-size records: the one way the program reads and changes the
// bookkeeping program's data files. A RecordFile opens only existing files,
// keeps no buffer (one system call per record) and closes itself on every
// path, so no file stays held after a failure.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/os.h"

namespace transfer {

// The longest file name the system takes; a longer one is never passed on.
inline constexpr std::size_t kMaxFileName = 259;

class RecordFile {
 public:
  explicit RecordFile(platform::Os& os) : os_(os) {}
  ~RecordFile();
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;

  // Opens the existing file for reading and writing, shared for both, at
  // record 0. Every failure raises EInOutError with the system's code.
  void Open(std::u16string_view name, std::uint32_t recordSize);
  // True when no whole record remains at the position.
  bool AtEnd();
  // Reads one record (recordSize bytes) and advances by one record.
  void ReadRecord(void* buffer);
  void SeekRecord(std::uint32_t index);
  // Writes one record (recordSize bytes) and advances by one record.
  void WriteRecord(const void* buffer);
  void Close();

  bool IsOpen() const { return handle_ != 0; }

 private:
  [[noreturn]] void Fail(std::uint32_t code) const;
  std::uint32_t Position();
  // Follows a call that moved the file pointer by `moved` bytes; a call that
  // failed leaves it where the system knows, and only the system.
  void Moved(std::uint32_t code, std::uint32_t moved);

  platform::Os& os_;
  std::u16string name_;
  std::uint32_t recordSize_ = 0;
  platform::FileHandle handle_ = 0;
  // The file pointer as this file's own reads, writes and seeks left it, so
  // that the end-of-file test before each record asks the system only for
  // the size. Nothing else moves the pointer of our handle.
  std::optional<std::uint64_t> position_;
};

// True when Name is an existing entry that is not a directory. Never raises.
bool FileIsPresent(platform::Os& os, std::u16string_view name);

}  // namespace transfer
