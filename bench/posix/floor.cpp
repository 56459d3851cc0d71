// The POSIX floors make the calls that the POSIX OS layer makes for the same
// steps, in the same order (strace shows the two sequences alike).
#include "support/floor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>

namespace bench {

namespace {

constexpr std::size_t kRecord = 512;

// The layer's opens of an existing file (`access` O_RDWR, or O_RDONLY for
// reading only): refuse anything but files and directories, open without
// waiting, block again, look at what was opened.
int OpenExisting(const char* path, int access = O_RDWR) {
  struct stat st {};
  stat(path, &st);
  const int fd = open(path, access | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return fd;
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  fstat(fd, &st);
  return fd;
}

int OpenForReading(const char* path) { return OpenExisting(path, O_RDONLY); }

// The transfer's calls for each company; without `writes`, its reads alone,
// both files opened for reading.
void AnnualCalls(const std::vector<AnnualFiles>& companies, bool writes) {
  const int access = writes ? O_RDWR : O_RDONLY;
  AnnualRecord oldImage{}, newImage{};
  for (const AnnualFiles& files : companies) {
    struct stat st {};
    if (lstat(files.oldFile.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) continue;
    const int oldFd = OpenExisting(files.oldFile.c_str(), access);
    read(oldFd, oldImage.data(), kRecord);
    const int newFd = OpenExisting(files.newFile.c_str(), access);
    read(newFd, newImage.data(), kRecord);
    if (writes && CarryOver(newImage, oldImage)) {
      lseek(newFd, 0, SEEK_SET);
      write(newFd, newImage.data(), kRecord);
    }
    close(oldFd);
    close(newFd);
  }
}

}  // namespace

void RunReadsFloor(const std::filesystem::path& journal, const std::vector<CopyFiles>& copies,
                   const std::vector<AnnualFiles>& annual) {
  if (const int fd = OpenForReading(journal.c_str()); fd >= 0) close(fd);
  std::array<char, std::size_t{64} * 1024> bytes{};
  for (const CopyFiles& files : copies) {
    struct stat st {};
    lstat(files.target.c_str(), &st);
    const int fd = OpenForReading(files.source.c_str());
    while (read(fd, bytes.data(), bytes.size()) > 0) {
    }
    close(fd);
  }
  AnnualCalls(annual, false);
}

void TransferFloor(const std::vector<AnnualFiles>& companies) { AnnualCalls(companies, true); }

std::size_t LoadFloor(const std::filesystem::path& registerFile, std::uint32_t recordSize,
                      bool sizeEach) {
  const int fd = OpenExisting(registerFile.c_str());
  std::array<char, 512> record{};
  std::size_t records = 0;
  struct stat st {};
  while ((!sizeEach || fstat(fd, &st) == 0) &&
         read(fd, record.data(), recordSize) == static_cast<ssize_t>(recordSize)) {
    ++records;
  }
  close(fd);
  return records;
}

}  // namespace bench
