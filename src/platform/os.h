// The operating-system layer: every file, code-page and locale service the
// year-end transfer needs, behind one interface that is passed in as an object.
// Win32 is the product; POSIX serves native tests, sanitizers and benchmarks and
// gives the same observable results, error codes included (Windows codes).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// An opaque open file. Zero is never a valid handle.
using FileHandle = std::uintptr_t;

// Windows system error codes that the core tests for or produces itself.
namespace err {
inline constexpr std::uint32_t kSuccess = 0;
inline constexpr std::uint32_t kFileNotFound = 2;
inline constexpr std::uint32_t kPathNotFound = 3;
inline constexpr std::uint32_t kTooManyOpenFiles = 4;
inline constexpr std::uint32_t kAccessDenied = 5;
inline constexpr std::uint32_t kNoMoreFiles = 18;
inline constexpr std::uint32_t kSharingViolation = 32;
inline constexpr std::uint32_t kLockViolation = 33;
inline constexpr std::uint32_t kFileExists = 80;
inline constexpr std::uint32_t kDiskFull = 112;
inline constexpr std::uint32_t kInvalidName = 123;
inline constexpr std::uint32_t kAlreadyExists = 183;
inline constexpr std::uint32_t kFilenameExcedRange = 206;
inline constexpr std::uint32_t kIoDevice = 1117;

// The answer of a call that found no entry under the name: none there, no
// folder on the way to it, or a name that can hold none.
inline constexpr bool NoSuchEntry(std::uint32_t code) {
  return code == kFileNotFound || code == kPathNotFound || code == kInvalidName;
}
}  // namespace err

enum class SeekOrigin { kBegin, kCurrent };

// What the file system knows about one directory entry.
struct EntryInfo {
  bool isDirectory = false;
  // The read-only attribute: such a file refuses opening for writing and
  // being replaced.
  bool readOnly = false;
};

// The identity of a file or directory: same identity, same object, whatever
// the path that reached it (letter case, links, relative or absolute).
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// Every call that can fail returns 0 on success or the Windows error code.
class Os {
 public:
  virtual ~Os() = default;

  // --- files ---
  // Opens an existing file for reading and writing, shared for reading and
  // writing with others (CreateFileW, OPEN_EXISTING).
  virtual std::uint32_t OpenExisting(std::u16string_view name, FileHandle& handle) = 0;
  // Opens an existing file for reading only, shared as OpenExisting is, so a
  // read-only file opens too; a write through the handle is refused with
  // kAccessDenied (CreateFileW, GENERIC_READ, OPEN_EXISTING).
  virtual std::uint32_t OpenForReading(std::u16string_view name, FileHandle& handle) = 0;
  // Creates the file anew or truncates it, read and write access, not shared
  // while open (CreateFileW, CREATE_ALWAYS).
  virtual std::uint32_t CreateAlways(std::u16string_view name, FileHandle& handle) = 0;
  virtual std::uint32_t Read(FileHandle handle, void* buffer, std::uint32_t size,
                             std::uint32_t& done) = 0;
  virtual std::uint32_t Write(FileHandle handle, const void* buffer, std::uint32_t size,
                              std::uint32_t& done) = 0;
  // Moves the file pointer (SetFilePointer, 32-bit distance); gives the new position.
  virtual std::uint32_t Seek(FileHandle handle, std::int32_t distance, SeekOrigin origin,
                             std::uint32_t& position) = 0;
  // The file size, low 32 bits (GetFileSize).
  virtual std::uint32_t Size(FileHandle handle, std::uint32_t& size) = 0;
  virtual std::uint32_t Close(FileHandle handle) = 0;
  // Writes what the system still holds of the file to the disk (FlushFileBuffers).
  virtual std::uint32_t Flush(FileHandle handle) = 0;

  // The entry's own attributes, links not followed (GetFileAttributesW).
  virtual std::uint32_t Attributes(std::u16string_view name, EntryInfo& info) = 0;
  // Searches for the name (FindFirstFileW, then FindClose); kFileNotFound
  // or another code when nothing is found.
  virtual std::uint32_t FindFirst(std::u16string_view name, EntryInfo& info) = 0;
  // The identity of an existing file or directory, links followed.
  virtual std::uint32_t Identity(std::u16string_view name, FileIdentity& identity) = 0;

  // Renames; never replaces an existing entry (MoveFileW).
  virtual std::uint32_t Move(std::u16string_view from, std::u16string_view to) = 0;
  // Copies a file to a new name that must not exist yet; creates no directory
  // and leaves no partial target behind (CopyFileW with fail-if-exists).
  virtual std::uint32_t CopyNew(std::u16string_view from, std::u16string_view to) = 0;
  // Renames over an existing file of the new name in one step: the name
  // holds the old file or the new one, never neither (MoveFileExW with
  // MOVEFILE_REPLACE_EXISTING and MOVEFILE_WRITE_THROUGH). A read-only file
  // or a directory of the new name refuses it.
  virtual std::uint32_t Replace(std::u16string_view from, std::u16string_view to) = 0;
  // Removes a file, never a directory (DeleteFileW). The program removes only
  // files of its own making, which carry the read-only attribute when a copy
  // gave them its source's: that attribute does not keep one.
  virtual std::uint32_t Remove(std::u16string_view name) = 0;

  // The platform's text for an error code (FormatMessageW).
  virtual std::u16string ErrorText(std::uint32_t code) = 0;

  // --- text ---
  // The system's ANSI code page (GetACP) and conversions with it. A character
  // the code page lacks becomes "?", never a look-alike of another letter
  // (no best-fit mapping), so a saved path never names another folder.
  // TextToAnsi gives nothing for a text longer than the system's conversion takes.
  virtual std::uint32_t AnsiCodePage() = 0;
  virtual std::u16string AnsiToText(std::string_view bytes) = 0;
  virtual std::optional<std::string> TextToAnsi(std::u16string_view text) = 0;

  // The user's decimal symbol as the regional settings give it, or nothing
  // when it cannot be read (GetLocaleInfoW, LOCALE_SDECIMAL).
  virtual std::optional<std::u16string> DecimalSymbol() = 0;

  // The text in lower case as the system maps letters (CharLowerBuffW).
  virtual std::u16string LowerCase(std::u16string_view text) = 0;

  // --- process ---
  // The full path of the running executable (GetModuleFileNameW).
  virtual std::u16string ExecutablePath() = 0;
};

}  // namespace platform
