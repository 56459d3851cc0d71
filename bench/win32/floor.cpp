// The Win32 floors make the calls that the Win32 OS layer makes for the same
// steps, in the same order.
#include "support/floor.h"

#include <windows.h>

#include <array>

namespace bench {

namespace {

constexpr DWORD kRecord = 512;

HANDLE OpenExisting(const wchar_t* path) {
  return CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE OpenForReading(const wchar_t* path) {
  return CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

void RunReadsFloor(const std::filesystem::path& journal, const std::vector<CopyFiles>& copies,
                   const std::vector<AnnualFiles>& annual) {
  if (const HANDLE file = OpenForReading(journal.c_str()); file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
  }
  std::array<char, 64 * 1024> bytes{};
  DWORD done = 0;
  for (const CopyFiles& files : copies) {
    GetFileAttributesW(files.target.c_str());
    const HANDLE source = OpenForReading(files.source.c_str());
    while (ReadFile(source, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
           done > 0) {
    }
    CloseHandle(source);
  }
  AnnualCalls(annual, false);
}

void TransferFloor(const std::vector<AnnualFiles>& companies) { AnnualCalls(companies, true); }

std::size_t LoadFloor(const std::filesystem::path& registerFile, std::uint32_t recordSize,
                      bool sizeEach) {
  const HANDLE file = OpenExisting(registerFile.c_str());
  std::array<char, 512> record{};
  std::size_t records = 0;
  DWORD done = 0;
  while ((!sizeEach || GetFileSize(file, nullptr) != INVALID_FILE_SIZE) &&
         ReadFile(file, record.data(), recordSize, &done, nullptr) && done == recordSize) {
    ++records;
  }
  CloseHandle(file);
  return records;
}

}  // namespace bench
