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

}  // namespace

void TransferFloor(const std::vector<AnnualFiles>& companies) {
  AnnualRecord oldImage{}, newImage{};
  for (const AnnualFiles& files : companies) {
    const DWORD attributes = GetFileAttributesW(files.oldFile.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      continue;
    }
    DWORD done = 0;
    const HANDLE oldFile = OpenExisting(files.oldFile.c_str());
    ReadFile(oldFile, oldImage.data(), kRecord, &done, nullptr);
    const HANDLE newFile = OpenExisting(files.newFile.c_str());
    ReadFile(newFile, newImage.data(), kRecord, &done, nullptr);
    if (CarryOver(newImage, oldImage)) {
      SetFilePointer(newFile, 0, nullptr, FILE_BEGIN);
      WriteFile(newFile, newImage.data(), kRecord, &done, nullptr);
    }
    CloseHandle(oldFile);
    CloseHandle(newFile);
  }
}

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
