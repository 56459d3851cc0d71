#include "platform/posix/posix_os.h"

#include <fcntl.h>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <wctype.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "platform/names.h"
#include "platform/posix/posix_errors.h"
#include "platform/single_byte.h"
#include "platform/system_os.h"
#include "platform/utf8.h"

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE 1
#endif

namespace platform {
namespace posix {
namespace {

// --- names ---

// Windows refuses a wildcard in a name as invalid; a NUL would cut the name
// short on its way to the system; a device name is refused as the Win32 layer
// refuses it.
bool IsInvalidName(std::u16string_view name) {
  return name.find_first_of(u"*?") != std::u16string_view::npos || HoldsNul(name) ||
         NamesDevice(name);
}

// UTF-8 with "/" for every run of "\" or "/" (UTF-8 never uses byte 0x5C
// inside a multi-byte sequence, so replacing bytes is safe). Every file call
// converts its names: done in place, in one pass.
std::string NativePath(std::u16string_view name) {
  std::string path = TextToUtf8(name);
  std::size_t kept = 0;
  for (char c : path) {
    if (c == '\\') c = '/';
    if (c == '/' && kept > 0 && path[kept - 1] == '/') continue;
    path[kept++] = c;
  }
  path.resize(kept);
  return path;
}

// A missing entry is "file not found" when its directory exists and "path not
// found" when a directory on the way is missing, as Windows tells them apart.
std::uint32_t MissingCode(const std::string& path) {
  std::string entry = path;
  while (entry.size() > 1 && entry.back() == '/') entry.pop_back();
  if (entry.empty()) return err::kPathNotFound;
  const auto slash = entry.rfind('/');
  const std::string parent =
      slash == std::string::npos ? std::string(".") : (slash == 0 ? "/" : entry.substr(0, slash));
  struct stat st {};
  return stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? err::kFileNotFound
                                                               : err::kPathNotFound;
}

std::uint32_t PathError(int error, const std::string& path) {
  return error == ENOENT ? MissingCode(path) : WindowsCode(error);
}

// Windows' read-only attribute: a regular file without the owner's write bit.
// Checked by hand because root may write such a file anyway.
bool IsReadOnly(const struct stat& st) {
  return S_ISREG(st.st_mode) && (st.st_mode & S_IWUSR) == 0;
}

// --- descriptors ---

// A folder on Windows holds files and directories only. A FIFO, a socket or a
// device is refused as access denied before it is opened: a FIFO would block
// the open or a read forever, and a device may act on being opened.
std::uint32_t RefuseSpecialEntry(const std::string& path) {
  struct stat st {};
  const bool special = stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
  return special ? err::kAccessDenied : err::kSuccess;
}

// Windows opens only files for reading and writing, and no read-only one;
// whatever else the descriptor turned out to be (a directory, or an entry
// swapped for a FIFO since it was looked at) is refused and closed.
// Gives what fstat tells of it.
std::uint32_t RefuseUnlessWritableFile(int fd, struct stat& st) {
  const std::uint32_t code = fstat(fd, &st) != 0                      ? WindowsCode(errno)
                             : !S_ISREG(st.st_mode) || IsReadOnly(st) ? err::kAccessDenied
                                                                      : err::kSuccess;
  if (code != err::kSuccess) close(fd);
  return code;
}

// Descriptor 0 is valid, handle 0 is not: the handle is the descriptor plus one.
FileHandle ToHandle(int fd) { return static_cast<FileHandle>(fd) + 1; }

int ToFd(FileHandle handle) {
  return handle == 0 || handle > static_cast<FileHandle>(INT_MAX) ? -1
                                                                  : static_cast<int>(handle - 1);
}

// Opens without ever waiting (a FIFO's open would wait for its other end);
// reads and writes on the descriptor then block as usual.
int OpenRetrying(const std::string& path, int flags, mode_t mode = 0) {
  int fd = -1;
  do {
    fd = open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, mode);
  } while (fd < 0 && errno == EINTR);
  if (fd >= 0) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

// Opens a regular file for reading only; anything else is refused as
// Windows refuses it, and no descriptor stays open on a refusal.
std::uint32_t OpenFileForReading(const std::string& path, int& fd, struct stat& st) {
  fd = -1;
  if (const auto code = RefuseSpecialEntry(path)) return code;
  const int opened = OpenRetrying(path, O_RDONLY);
  if (opened < 0) return PathError(errno, path);
  const std::uint32_t code = fstat(opened, &st) != 0 ? WindowsCode(errno)
                             : !S_ISREG(st.st_mode)  ? err::kAccessDenied
                                                     : err::kSuccess;
  if (code != err::kSuccess) {
    close(opened);
    return code;
  }
  fd = opened;
  return err::kSuccess;
}

// Closes without touching errno, for cleanup on a path that already failed.
void CloseQuietly(int fd) {
  const int saved = errno;
  close(fd);
  errno = saved;
}

// One chunk per call stays well inside ssize_t on every ABI.
constexpr std::size_t kMaxChunk = 1u << 30;

// Repeats the call until `size` bytes have moved, or until it moves none (the
// end of the file for a read, a full device for a write); errno on failure.
template <typename Byte, typename Call>
bool Fully(Call call, int fd, Byte* buffer, std::uint32_t size, std::uint32_t& done) {
  done = 0;
  while (done < size) {
    const ssize_t n = call(fd, buffer + done, std::min<std::size_t>(size - done, kMaxChunk));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) break;
    done += static_cast<std::uint32_t>(n);
  }
  return true;
}

bool ReadFully(int fd, char* buffer, std::uint32_t size, std::uint32_t& done) {
  return Fully(::read, fd, buffer, size, done);
}

bool WriteFully(int fd, const char* buffer, std::uint32_t size, std::uint32_t& done) {
  return Fully(::write, fd, buffer, size, done);
}

// --- move and copy ---

std::uint32_t MoveError(int error, const std::string& from) {
  if (error == EEXIST || error == ENOTEMPTY) return err::kAlreadyExists;
  if (error == ENOENT) {
    // Either the source is missing or the destination's directory is.
    struct stat st {};
    return lstat(from.c_str(), &st) != 0 ? MissingCode(from) : err::kPathNotFound;
  }
  return WindowsCode(error);
}

// For kernels or file systems without RENAME_NOREPLACE: a hard link refuses an
// existing name atomically; directories, and files where links are not
// supported, are checked first and renamed.
std::uint32_t MoveWithoutRenameFlags(const std::string& from, const std::string& to) {
  struct stat st {};
  if (lstat(from.c_str(), &st) != 0) return PathError(errno, from);
  if (!S_ISDIR(st.st_mode)) {
    if (link(from.c_str(), to.c_str()) == 0) {
      if (unlink(from.c_str()) == 0) return err::kSuccess;
      const int error = errno;
      unlink(to.c_str());
      return WindowsCode(error);
    }
    if (errno != EPERM && errno != EOPNOTSUPP) return MoveError(errno, from);
  }
  if (lstat(to.c_str(), &st) == 0) return err::kAlreadyExists;
  if (rename(from.c_str(), to.c_str()) != 0) return MoveError(errno, from);
  return err::kSuccess;
}

std::uint32_t CopyContents(int in, int out) {
  std::vector<char> buffer(std::size_t{64} * 1024);
  for (;;) {
    std::uint32_t got = 0;
    if (!ReadFully(in, buffer.data(), static_cast<std::uint32_t>(buffer.size()), got)) {
      return WindowsCode(errno);
    }
    if (got == 0) return err::kSuccess;
    std::uint32_t put = 0;
    if (!WriteFully(out, buffer.data(), got, put)) return WindowsCode(errno);
    if (put < got) return err::kDiskFull;
  }
}

// Contents, permission bits and times, as CopyFileW carries contents,
// attributes (read-only among them) and the last write time.
std::uint32_t CopyIntoNewFile(int in, const struct stat& source, int out) {
  if (const auto code = CopyContents(in, out); code != err::kSuccess) return code;
  if (fchmod(out, source.st_mode & 07777) != 0) return WindowsCode(errno);
  const struct timespec times[2] = {source.st_atim, source.st_mtim};
  futimens(out, times);  // Times are a courtesy; a file system may refuse them.
  return err::kSuccess;
}

// --- text ---

// Converts with iconv to UTF-16; nothing when iconv cannot.
std::optional<std::u16string> IconvToText(std::string_view bytes, const char* charset) {
  const iconv_t cd = iconv_open("UTF-16LE", charset);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string input(bytes);
  std::string output(input.size() * 4 + 8, '\0');
  char* in = input.data();
  std::size_t inLeft = input.size();
  char* out = output.data();
  std::size_t outLeft = output.size();
  const std::size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
  iconv_close(cd);
  if (result == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
  std::u16string text;
  const std::size_t produced = output.size() - outLeft;
  for (std::size_t i = 0; i + 1 < produced; i += 2) {
    text += static_cast<char16_t>(static_cast<unsigned char>(output[i]) |
                                  (static_cast<unsigned char>(output[i + 1]) << 8));
  }
  return text;
}

std::u16string Latin1ToText(std::string_view bytes) {
  std::u16string text;
  for (char c : bytes) text += static_cast<char16_t>(static_cast<unsigned char>(c));
  return text;
}

}  // namespace

PosixOs::PosixOs(std::uint32_t ansiCodePage) : codePage_(ansiCodePage) {
  if (codePage_ == 65001) {
    utf8_ = true;
    return;
  }
  // Each byte on its own: a byte the code page leaves undefined keeps its own
  // value as code point, as Windows' tables do (0x81 in 1250 is U+0081).
  const std::string charset = "CP" + std::to_string(codePage_);
  for (unsigned byte = 0; byte < 256; ++byte) {
    const std::string one(1, static_cast<char>(byte));
    const auto text = IconvToText(one, charset.c_str());
    toText_[byte] = text && text->size() == 1 ? (*text)[0] : static_cast<char16_t>(byte);
  }
  for (unsigned byte = 0; byte < 256; ++byte) {
    toAnsi_.emplace_back(toText_[byte], static_cast<char>(byte));
  }
  // Sorted by unit; for a unit reached from two bytes the lower byte wins.
  std::stable_sort(toAnsi_.begin(), toAnsi_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  toAnsi_.erase(std::unique(toAnsi_.begin(), toAnsi_.end(),
                            [](const auto& a, const auto& b) { return a.first == b.first; }),
                toAnsi_.end());
}

std::uint32_t PosixOs::OpenExisting(std::u16string_view name, FileHandle& handle) {
  handle = 0;
  if (IsInvalidName(name)) return err::kInvalidName;
  const std::string path = NativePath(name);
  if (const auto code = RefuseSpecialEntry(path)) return code;
  const int fd = OpenRetrying(path, O_RDWR);
  if (fd < 0) return PathError(errno, path);
  struct stat st {};
  if (const auto code = RefuseUnlessWritableFile(fd, st)) return code;
  handle = ToHandle(fd);
  return err::kSuccess;
}

std::uint32_t PosixOs::OpenForReading(std::u16string_view name, FileHandle& handle) {
  handle = 0;
  if (IsInvalidName(name)) return err::kInvalidName;
  int fd = -1;
  struct stat st {};
  if (const auto code = OpenFileForReading(NativePath(name), fd, st)) return code;
  handle = ToHandle(fd);
  return err::kSuccess;
}

std::uint32_t PosixOs::CreateAlways(std::u16string_view name, FileHandle& handle) {
  handle = 0;
  if (IsInvalidName(name)) return err::kInvalidName;
  const std::string path = NativePath(name);
  if (const auto code = RefuseSpecialEntry(path)) return code;
  int fd = OpenRetrying(path, O_RDWR | O_CREAT | O_EXCL, 0666);
  if (fd >= 0) {
    handle = ToHandle(fd);
    return err::kSuccess;
  }
  if (errno != EEXIST) return PathError(errno, path);
  // It exists: open without truncating, so a refused file keeps its bytes.
  fd = OpenRetrying(path, O_RDWR);
  if (fd < 0 && errno == ENOENT) {
    // Gone meanwhile, or a link to nothing: create where it points.
    fd = OpenRetrying(path, O_RDWR | O_CREAT, 0666);
  }
  if (fd < 0) return PathError(errno, path);
  struct stat st {};
  if (const auto code = RefuseUnlessWritableFile(fd, st)) return code;
  if (ftruncate(fd, 0) != 0) {
    const auto code = WindowsCode(errno);
    close(fd);
    return code;
  }
  handle = ToHandle(fd);
  return err::kSuccess;
}

std::uint32_t PosixOs::Read(FileHandle handle, void* buffer, std::uint32_t size,
                            std::uint32_t& done) {
  done = 0;
  const int fd = ToFd(handle);
  if (fd < 0) return werr::kInvalidHandle;
  return ReadFully(fd, static_cast<char*>(buffer), size, done) ? err::kSuccess : WindowsCode(errno);
}

std::uint32_t PosixOs::Write(FileHandle handle, const void* buffer, std::uint32_t size,
                             std::uint32_t& done) {
  done = 0;
  const int fd = ToFd(handle);
  if (fd < 0) return werr::kInvalidHandle;
  if (WriteFully(fd, static_cast<const char*>(buffer), size, done)) return err::kSuccess;
  // Windows refuses a write through a handle opened for reading as access denied.
  const int error = errno;
  const int flags = fcntl(fd, F_GETFL);
  if (error == EBADF && flags >= 0 && (flags & O_ACCMODE) == O_RDONLY) return err::kAccessDenied;
  return WindowsCode(error);
}

std::uint32_t PosixOs::Seek(FileHandle handle, std::int32_t distance, SeekOrigin origin,
                            std::uint32_t& position) {
  const int fd = ToFd(handle);
  if (fd < 0) return werr::kInvalidHandle;
  off_t base = 0;
  if (origin == SeekOrigin::kCurrent) {
    base = lseek(fd, 0, SEEK_CUR);
    if (base < 0) return WindowsCode(errno);
  }
  // The pointer stays put when the target is before the start or beyond
  // what a 32-bit position can report.
  const std::int64_t target = static_cast<std::int64_t>(base) + distance;
  if (target < 0) return werr::kNegativeSeek;
  if (target > static_cast<std::int64_t>(UINT32_MAX)) return werr::kInvalidParameter;
  const off_t reached = lseek(fd, static_cast<off_t>(target), SEEK_SET);
  if (reached < 0) return WindowsCode(errno);
  position = static_cast<std::uint32_t>(reached);
  return err::kSuccess;
}

std::uint32_t PosixOs::Size(FileHandle handle, std::uint32_t& size) {
  const int fd = ToFd(handle);
  if (fd < 0) return werr::kInvalidHandle;
  struct stat st {};
  if (fstat(fd, &st) != 0) return WindowsCode(errno);
  size = static_cast<std::uint32_t>(static_cast<std::uint64_t>(st.st_size) & 0xFFFFFFFFu);
  return err::kSuccess;
}

std::uint32_t PosixOs::Close(FileHandle handle) {
  const int fd = ToFd(handle);
  if (fd < 0) return werr::kInvalidHandle;
  // On Linux the descriptor is released even when close reports EINTR.
  if (close(fd) != 0 && errno != EINTR) return WindowsCode(errno);
  return err::kSuccess;
}

std::uint32_t PosixOs::Flush(FileHandle handle) {
  const int fd = ToFd(handle);
  if (fd < 0) return werr::kInvalidHandle;
  return fsync(fd) == 0 ? err::kSuccess : WindowsCode(errno);
}

std::uint32_t PosixOs::Attributes(std::u16string_view name, EntryInfo& info) {
  if (IsInvalidName(name)) return err::kInvalidName;
  const std::string path = NativePath(name);
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) return PathError(errno, path);
  // The entry's own attributes, as Windows gives them for a link too: a link
  // made to a directory is a directory, a link to a file or to nothing a file.
  struct stat target {};
  info.isDirectory =
      S_ISDIR(st.st_mode) ||
      (S_ISLNK(st.st_mode) && stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode));
  info.readOnly = IsReadOnly(st);
  return err::kSuccess;
}

std::uint32_t PosixOs::FindFirst(std::u16string_view name, EntryInfo& info) {
  // Without wildcards (refused as invalid names) a search finds exactly the
  // entry itself.
  return Attributes(name, info);
}

std::uint32_t PosixOs::Identity(std::u16string_view name, FileIdentity& identity) {
  if (IsInvalidName(name)) return err::kInvalidName;
  const std::string path = NativePath(name);
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return PathError(errno, path);
  identity.volume = static_cast<std::uint64_t>(st.st_dev);
  identity.index = static_cast<std::uint64_t>(st.st_ino);
  return err::kSuccess;
}

std::uint32_t PosixOs::Move(std::u16string_view from, std::u16string_view to) {
  if (IsInvalidName(from) || IsInvalidName(to)) return err::kInvalidName;
  const std::string source = NativePath(from);
  const std::string target = NativePath(to);
#ifdef SYS_renameat2
  if (syscall(SYS_renameat2, AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(),
              RENAME_NOREPLACE) == 0) {
    return err::kSuccess;
  }
  if (errno != EINVAL && errno != ENOSYS) return MoveError(errno, source);
#endif
  return MoveWithoutRenameFlags(source, target);
}

std::uint32_t PosixOs::CopyNew(std::u16string_view from, std::u16string_view to) {
  if (IsInvalidName(from) || IsInvalidName(to)) return err::kInvalidName;
  const std::string source = NativePath(from);
  const std::string target = NativePath(to);
  int in = -1;
  struct stat st {};
  if (const auto code = OpenFileForReading(source, in, st)) return code;
  // Owner-writable while we fill it; the source's bits are set at the end.
  const int out = OpenRetrying(target, O_WRONLY | O_CREAT | O_EXCL, 0600);
  if (out < 0) {
    const int error = errno;
    CloseQuietly(in);
    return error == ENOENT ? err::kPathNotFound : WindowsCode(error);
  }
  auto code = CopyIntoNewFile(in, st, out);
  if (close(out) != 0 && errno != EINTR && code == err::kSuccess) code = WindowsCode(errno);
  close(in);
  if (code != err::kSuccess) unlink(target.c_str());  // No partial copy stays behind.
  return code;
}

std::uint32_t PosixOs::Replace(std::u16string_view from, std::u16string_view to) {
  if (IsInvalidName(from) || IsInvalidName(to)) return err::kInvalidName;
  const std::string source = NativePath(from);
  const std::string target = NativePath(to);
  struct stat st {};
  if (lstat(source.c_str(), &st) != 0) return PathError(errno, source);
  // Windows replaces neither a directory nor a read-only file; rename would.
  if (lstat(target.c_str(), &st) == 0 && (S_ISDIR(st.st_mode) || IsReadOnly(st))) {
    return err::kAccessDenied;
  }
  return rename(source.c_str(), target.c_str()) == 0 ? err::kSuccess : MoveError(errno, source);
}

std::uint32_t PosixOs::Remove(std::u16string_view name) {
  if (IsInvalidName(name)) return err::kInvalidName;
  const std::string path = NativePath(name);
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) return PathError(errno, path);
  if (S_ISDIR(st.st_mode)) return err::kAccessDenied;
  return unlink(path.c_str()) == 0 ? err::kSuccess : PathError(errno, path);
}

std::u16string PosixOs::ErrorText(std::uint32_t code) { return WindowsErrorText(code); }

std::uint32_t PosixOs::AnsiCodePage() { return codePage_; }

std::u16string PosixOs::AnsiToText(std::string_view bytes) {
  if (utf8_) return Utf8ToText(bytes);
  std::u16string text(bytes.size(), u'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    text[i] = toText_[static_cast<unsigned char>(bytes[i])];
  }
  return text;
}

std::optional<std::string> PosixOs::TextToAnsi(std::u16string_view text) {
  if (utf8_) return TextToUtf8(text);
  return TextToSingleByte(text, [this](char16_t unit) {
    const auto found =
        std::lower_bound(toAnsi_.begin(), toAnsi_.end(), unit,
                         [](const auto& entry, char16_t u) { return entry.first < u; });
    return found != toAnsi_.end() && found->first == unit ? found->second : '?';
  });
}

std::optional<std::u16string> PosixOs::DecimalSymbol() {
  // The character set comes with LC_CTYPE; a locale that has only its numeric
  // part installed is read as UTF-8.
  locale_t locale = newlocale(LC_NUMERIC_MASK | LC_CTYPE_MASK, "", locale_t{});
  if (locale == locale_t{}) locale = newlocale(LC_NUMERIC_MASK, "", locale_t{});
  if (locale == locale_t{}) return std::nullopt;
  const char* radix = nl_langinfo_l(RADIXCHAR, locale);
  const char* codeset = nl_langinfo_l(CODESET, locale);
  const std::string symbol = radix != nullptr ? radix : "";
  const std::string charset = codeset != nullptr ? codeset : "UTF-8";
  freelocale(locale);
  if (symbol.empty()) return std::nullopt;
  if (charset == "UTF-8" || charset == "ANSI_X3.4-1968") return Utf8ToText(symbol);
  if (auto text = IconvToText(symbol, charset.c_str())) return text;
  return Latin1ToText(symbol);
}

std::u16string PosixOs::LowerCase(std::u16string_view text) {
  // Unicode's own mapping, whatever the process's locale; unit by unit, as
  // the system maps UTF-16 (a surrogate stays as it is).
  static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
  std::u16string lower(text);
  if (unicode == locale_t{}) return lower;
  for (char16_t& unit : lower) {
    if (unit >= 0xD800 && unit < 0xE000) continue;
    const wint_t mapped = towlower_l(static_cast<wint_t>(unit), unicode);
    if (mapped <= 0xFFFF) unit = static_cast<char16_t>(mapped);
  }
  return lower;
}

std::u16string PosixOs::ExecutablePath() {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return u"";
    if (static_cast<std::size_t>(n) < buffer.size()) {
      return Utf8ToText(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace posix

std::unique_ptr<Os> MakeSystemOs() { return std::make_unique<posix::PosixOs>(1250); }

std::u16string SystemErrorText(std::uint32_t code) { return posix::WindowsErrorText(code); }

}  // namespace platform
