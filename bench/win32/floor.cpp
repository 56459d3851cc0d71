// The Win32 floors make the calls that the Win32 OS layer makes for the same
// steps, in the same order.
#include "support/floor.h"

#include <windows.h>

#include <array>

namespace bench {

namespace {

constexpr DWORD kRecord = 512;

// For reading and writing, or (`access` GENERIC_READ) for reading only.
HANDLE OpenExisting(const wchar_t* path, DWORD access = GENERIC_READ | GENERIC_WRITE) {
  return CreateFileW(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE OpenForReading(const wchar_t* path) { return OpenExisting(path, GENERIC_READ); }

// The transfer's calls for each company; without `writes`, its reads alone,
// both files opened for reading.
void AnnualCalls(const std::vector<AnnualFiles>& companies, bool writes) {
  const DWORD access = writes ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
  AnnualRecord oldImage{}, newImage{};
  for (const AnnualFiles& files : companies) {
    const DWORD attributes = GetFileAttributesW(files.oldFile.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      continue;
    }
    DWORD done = 0;
    const HANDLE oldFile = OpenExisting(files.oldFile.c_str(), access);
    ReadFile(oldFile, oldImage.data(), kRecord, &done, nullptr);
    const HANDLE newFile = OpenExisting(files.newFile.c_str(), access);
    ReadFile(newFile, newImage.data(), kRecord, &done, nullptr);
    if (writes && CarryOver(newImage, oldImage)) {
      SetFilePointer(newFile, 0, nullptr, FILE_BEGIN);
      WriteFile(newFile, newImage.data(), kRecord, &done, nullptr);
    }
    CloseHandle(oldFile);
    CloseHandle(newFile);
  }
}

}  // namespace

void RunReadsFloor(const std::filesystem::path& journal, const std::vector<CopyFiles>& copies,
                   const std::vector<AnnualFiles>& annual) {
  if (const HANDLE file = OpenForReading(journal.c_str()); file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
  }
  std::array<char, std::size_t{64} * 1024> bytes{};
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
