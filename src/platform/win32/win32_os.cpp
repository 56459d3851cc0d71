// The product's OS layer: thin calls into Win32, each returning 0 or the
// system's own error code.
#include <windows.h>

#include <climits>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/names.h"
#include "platform/os.h"
#include "platform/system_os.h"

namespace platform {

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 text passes to W functions as is");

// The name NUL-terminated, as every W function wants it; nothing for a name
// that holds a NUL of its own, which the system would read cut short, or that
// names a device, which the system would open instead of a file.
std::optional<std::wstring> SystemName(std::u16string_view name) {
  if (HoldsNul(name) || NamesDevice(name)) return std::nullopt;
  return std::wstring(reinterpret_cast<const wchar_t*>(name.data()), name.size());
}

std::u16string FromWide(const wchar_t* text, std::size_t length) {
  return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

// The code of the call that just failed. A failure must never read as
// success, should the system have left no code behind.
std::uint32_t LastError(std::uint32_t ifNone = ERROR_GEN_FAILURE) {
  const DWORD code = GetLastError();
  return code != ERROR_SUCCESS ? code : ifNone;
}

HANDLE ToHandle(FileHandle handle) { return reinterpret_cast<HANDLE>(handle); }
FileHandle FromHandle(HANDLE handle) { return reinterpret_cast<FileHandle>(handle); }

const HANDLE kInvalidHandle = INVALID_HANDLE_VALUE;

// WideCharToMultiByte takes neither flags nor a default character for these
// code pages; a system whose ANSI code page is UTF-8 (65001) has one of them.
bool TakesConversionFlags(UINT codePage) {
  return !(codePage == CP_UTF7 || codePage == CP_UTF8 || codePage == 42 || codePage == 52936 ||
           codePage == 54936 || (codePage >= 50220 && codePage <= 50229) ||
           (codePage >= 57002 && codePage <= 57011));
}

// The Win32 conversion functions count in int.
std::optional<int> ConversionLength(std::size_t length) {
  if (length > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
  return static_cast<int>(length);
}

std::uint32_t OpenFile(std::u16string_view name, DWORD access, DWORD shareMode, DWORD disposition,
                       FileHandle& handle) {
  handle = 0;
  const auto path = SystemName(name);
  if (!path) return err::kInvalidName;
  const HANDLE opened = CreateFileW(path->c_str(), access, shareMode, nullptr, disposition,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened == kInvalidHandle) return LastError();
  handle = FromHandle(opened);
  return err::kSuccess;
}

class Win32Os final : public Os {
 public:
  std::uint32_t OpenExisting(std::u16string_view name, FileHandle& handle) override {
    return OpenFile(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    OPEN_EXISTING, handle);
  }

  std::uint32_t OpenForReading(std::u16string_view name, FileHandle& handle) override {
    return OpenFile(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, handle);
  }

  std::uint32_t CreateAlways(std::u16string_view name, FileHandle& handle) override {
    return OpenFile(name, GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS, handle);
  }

  std::uint32_t Read(FileHandle handle, void* buffer, std::uint32_t size,
                     std::uint32_t& done) override {
    DWORD read = 0;
    const BOOL ok = ReadFile(ToHandle(handle), buffer, size, &read, nullptr);
    done = read;
    return ok ? err::kSuccess : LastError();
  }

  std::uint32_t Write(FileHandle handle, const void* buffer, std::uint32_t size,
                      std::uint32_t& done) override {
    DWORD written = 0;
    const BOOL ok = WriteFile(ToHandle(handle), buffer, size, &written, nullptr);
    done = written;
    return ok ? err::kSuccess : LastError();
  }

  std::uint32_t Seek(FileHandle handle, std::int32_t distance, SeekOrigin origin,
                     std::uint32_t& position) override {
    const DWORD method = origin == SeekOrigin::kBegin ? FILE_BEGIN : FILE_CURRENT;
    // INVALID_SET_FILE_POINTER is also a valid position; only the code tells.
    SetLastError(ERROR_SUCCESS);
    const DWORD moved = SetFilePointer(ToHandle(handle), distance, nullptr, method);
    if (moved == INVALID_SET_FILE_POINTER && GetLastError() != ERROR_SUCCESS) {
      return GetLastError();
    }
    position = moved;
    return err::kSuccess;
  }

  std::uint32_t Size(FileHandle handle, std::uint32_t& size) override {
    SetLastError(ERROR_SUCCESS);
    const DWORD low = GetFileSize(ToHandle(handle), nullptr);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return GetLastError();
    size = low;
    return err::kSuccess;
  }

  std::uint32_t Close(FileHandle handle) override {
    return CloseHandle(ToHandle(handle)) ? err::kSuccess : LastError();
  }

  std::uint32_t Flush(FileHandle handle) override {
    return FlushFileBuffers(ToHandle(handle)) ? err::kSuccess : LastError();
  }

  std::uint32_t Attributes(std::u16string_view name, EntryInfo& info) override {
    const auto path = SystemName(name);
    if (!path) return err::kInvalidName;
    const DWORD attributes = GetFileAttributesW(path->c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return LastError();
    info.isDirectory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    info.readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    return err::kSuccess;
  }

  std::uint32_t FindFirst(std::u16string_view name, EntryInfo& info) override {
    const auto path = SystemName(name);
    if (!path) return err::kInvalidName;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(path->c_str(), &found);
    if (search == kInvalidHandle) return LastError(err::kFileNotFound);
    FindClose(search);
    info.isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    info.readOnly = (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    return err::kSuccess;
  }

  std::uint32_t Identity(std::u16string_view name, FileIdentity& identity) override {
    const auto path = SystemName(name);
    if (!path) return err::kInvalidName;
    // No access asked for, and backup semantics, so directories open too.
    const HANDLE opened =
        CreateFileW(path->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (opened == kInvalidHandle) return LastError();
    BY_HANDLE_FILE_INFORMATION information{};
    const BOOL ok = GetFileInformationByHandle(opened, &information);
    const std::uint32_t code = ok ? err::kSuccess : LastError();
    CloseHandle(opened);
    if (code != err::kSuccess) return code;
    identity.volume = information.dwVolumeSerialNumber;
    identity.index = (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow;
    return err::kSuccess;
  }

  std::uint32_t Move(std::u16string_view from, std::u16string_view to) override {
    const auto source = SystemName(from);
    const auto target = SystemName(to);
    if (!source || !target) return err::kInvalidName;
    return MoveFileW(source->c_str(), target->c_str()) ? err::kSuccess : LastError();
  }

  std::uint32_t CopyNew(std::u16string_view from, std::u16string_view to) override {
    const auto source = SystemName(from);
    const auto target = SystemName(to);
    if (!source || !target) return err::kInvalidName;
    return CopyFileW(source->c_str(), target->c_str(), TRUE) ? err::kSuccess : LastError();
  }

  std::uint32_t Replace(std::u16string_view from, std::u16string_view to) override {
    const auto source = SystemName(from);
    const auto target = SystemName(to);
    if (!source || !target) return err::kInvalidName;
    // Windows refuses to replace a read-only file or a directory (Wine
    // replaces a read-only file): a log made read-only stays as it is.
    const DWORD replaced = GetFileAttributesW(target->c_str());
    if (replaced != INVALID_FILE_ATTRIBUTES &&
        (replaced & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
      return ERROR_ACCESS_DENIED;
    }
    return MoveFileExW(source->c_str(), target->c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? err::kSuccess
               : LastError();
  }

  std::uint32_t Remove(std::u16string_view name) override {
    const auto path = SystemName(name);
    if (!path) return err::kInvalidName;
    if (DeleteFileW(path->c_str())) return err::kSuccess;
    const std::uint32_t code = LastError();
    // DeleteFileW refuses a read-only file; a copy of a read-only source is one.
    const DWORD attributes = GetFileAttributesW(path->c_str());
    if (code != ERROR_ACCESS_DENIED || attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
        (attributes & FILE_ATTRIBUTE_READONLY) == 0 ||
        !SetFileAttributesW(path->c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) {
      return code;
    }
    if (DeleteFileW(path->c_str())) return err::kSuccess;
    const std::uint32_t again = LastError();
    SetFileAttributesW(path->c_str(), attributes);
    return again;
  }

  std::u16string ErrorText(std::uint32_t code) override { return SystemErrorText(code); }

  std::uint32_t AnsiCodePage() override { return GetACP(); }

  std::u16string AnsiToText(std::string_view bytes) override {
    if (bytes.empty()) return {};
    const UINT codePage = GetACP();
    // A register's text is a few dozen bytes; more than an int counts never comes.
    const auto counted = ConversionLength(bytes.size());
    if (!counted) throw std::length_error("text too long for a code page conversion");
    const int length = *counted;
    const int needed = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    if (needed <= 0) return {};
    std::wstring text(static_cast<std::size_t>(needed), L'\0');
    const int converted =
        MultiByteToWideChar(codePage, 0, bytes.data(), length, text.data(), needed);
    return FromWide(text.data(), static_cast<std::size_t>(converted > 0 ? converted : 0));
  }

  std::optional<std::string> TextToAnsi(std::u16string_view text) override {
    if (text.empty()) return std::string();
    const UINT codePage = GetACP();
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const auto counted = ConversionLength(text.size());
    if (!counted) return std::nullopt;
    const int length = *counted;
    // The default conversion writes a look-alike for a character the code
    // page lacks ("Ø" as "O"): a log would name a believable but different
    // folder. "?" says plainly that a character was lost.
    const bool flags = TakesConversionFlags(codePage);
    const DWORD noBestFit = flags ? WC_NO_BEST_FIT_CHARS : 0;
    const char* unknown = flags ? "?" : nullptr;
    const int needed =
        WideCharToMultiByte(codePage, noBestFit, wide, length, nullptr, 0, unknown, nullptr);
    if (needed <= 0) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(needed), '\0');
    const int converted = WideCharToMultiByte(codePage, noBestFit, wide, length, bytes.data(),
                                              needed, unknown, nullptr);
    if (converted <= 0) return std::nullopt;
    bytes.resize(static_cast<std::size_t>(converted));
    return bytes;
  }

  std::optional<std::u16string> DecimalSymbol() override {
    const int needed = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, nullptr, 0);
    if (needed <= 0) return std::nullopt;
    std::wstring symbol(static_cast<std::size_t>(needed), L'\0');
    const int written = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, symbol.data(), needed);
    if (written <= 0) return std::nullopt;
    // The count includes the terminating NUL.
    return FromWide(symbol.data(), static_cast<std::size_t>(written - 1));
  }

  std::u16string LowerCase(std::u16string_view text) override {
    std::wstring lower(reinterpret_cast<const wchar_t*>(text.data()), text.size());
    if (!lower.empty()) CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    return FromWide(lower.data(), lower.size());
  }

  std::u16string ExecutablePath() override {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
      const DWORD capacity = static_cast<DWORD>(path.size());
      const DWORD length = GetModuleFileNameW(nullptr, path.data(), capacity);
      if (length == 0) return {};
      // A full buffer means the path may have been cut short.
      if (length < capacity) return OrdinaryPath(FromWide(path.data(), length));
      path.resize(path.size() * 2);
    }
  }
};

}  // namespace

std::unique_ptr<Os> MakeSystemOs() { return std::make_unique<Win32Os>(); }

std::u16string SystemErrorText(std::uint32_t code) {
  wchar_t* text = nullptr;
  // With ALLOCATE_BUFFER the buffer argument receives the allocated pointer.
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  if (length == 0 || text == nullptr) return {};
  std::u16string result = FromWide(text, length);
  LocalFree(text);
  return result;
}

}  // namespace platform
