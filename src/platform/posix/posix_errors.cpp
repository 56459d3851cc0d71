#include "platform/posix/posix_errors.h"

#include <cerrno>
#include <string_view>

#include "platform/os.h"

namespace platform::posix {

std::uint32_t WindowsCode(int error) {
  switch (error) {
    case 0:
      return err::kSuccess;
    case ENOENT:
      return err::kFileNotFound;
    case ENOTDIR:
      return err::kPathNotFound;
    case EMFILE:
    case ENFILE:
      return err::kTooManyOpenFiles;
    // A read-only file system is refused like a read-only file.
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return err::kAccessDenied;
    case EBADF:
      return werr::kInvalidHandle;
    case ENOMEM:
      return werr::kNotEnoughMemory;
    case EXDEV:
      return werr::kNotSameDevice;
    case EBUSY:
    case ETXTBSY:
      return err::kSharingViolation;
    case EEXIST:
      return err::kFileExists;
    case ENOSPC:
    case EDQUOT:
      return err::kDiskFull;
    case ENAMETOOLONG:
      return err::kFilenameExcedRange;
    case ELOOP:
      return werr::kCantResolveFilename;
    case EINVAL:
      return werr::kInvalidParameter;
    case ENOTEMPTY:
      return werr::kDirNotEmpty;
    case EFBIG:
      return werr::kFileTooLarge;
    case ENOSYS:
    case EOPNOTSUPP:
      return werr::kNotSupported;
    default:
      return err::kIoDevice;
  }
}

namespace {

struct CodeText {
  std::uint32_t code;
  std::u16string_view text;
};

constexpr CodeText kTexts[] = {
    {werr::kInvalidFunction, u"Incorrect function."},
    {err::kFileNotFound, u"The system cannot find the file specified."},
    {err::kPathNotFound, u"The system cannot find the path specified."},
    {err::kTooManyOpenFiles, u"The system cannot open the file."},
    {err::kAccessDenied, u"Access is denied."},
    {werr::kInvalidHandle, u"The handle is invalid."},
    {werr::kNotEnoughMemory, u"Not enough memory resources are available to process this command."},
    {werr::kNotSameDevice, u"The system cannot move the file to a different disk drive."},
    {err::kNoMoreFiles, u"There are no more files."},
    {err::kSharingViolation,
     u"The process cannot access the file because it is being used by another process."},
    {err::kLockViolation,
     u"The process cannot access the file because another process has locked a portion of the "
     u"file."},
    {werr::kNotSupported, u"The request is not supported."},
    {err::kFileExists, u"The file exists."},
    {werr::kInvalidParameter, u"The parameter is incorrect."},
    {err::kDiskFull, u"There is not enough space on the disk."},
    {err::kInvalidName, u"The filename, directory name, or volume label syntax is incorrect."},
    {werr::kNegativeSeek,
     u"An attempt was made to move the file pointer before the beginning of the file."},
    {werr::kDirNotEmpty, u"The directory is not empty."},
    {err::kAlreadyExists, u"Cannot create a file when that file already exists."},
    {err::kFilenameExcedRange, u"The filename or extension is too long."},
    {werr::kFileTooLarge, u"The file size exceeds the limit allowed and cannot be saved."},
    {err::kIoDevice, u"The request could not be performed because of an I/O device error."},
    {werr::kCantResolveFilename, u"The name of the file cannot be resolved by the system."},
};

std::u16string Decimal(std::uint32_t value) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value != 0);
  return digits;
}

}  // namespace

std::u16string WindowsErrorText(std::uint32_t code) {
  for (const auto& entry : kTexts) {
    if (entry.code == code) return std::u16string(entry.text) + u"\r\n";
  }
  return u"Unknown error " + Decimal(code) + u".\r\n";
}

}  // namespace platform::posix
