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

// The layer's open of an existing file: refuse anything but files and
// directories, open without waiting, block again, look at what was opened.
int OpenExisting(const char* path) {
  struct stat st {};
  stat(path, &st);
  const int fd = open(path, O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return fd;
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  fstat(fd, &st);
  return fd;
}

}  // namespace

void TransferFloor(const std::vector<AnnualFiles>& companies) {
  AnnualRecord oldImage{}, newImage{};
  for (const AnnualFiles& files : companies) {
    struct stat st {};
    if (lstat(files.oldFile.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) continue;
    const int oldFd = OpenExisting(files.oldFile.c_str());
    read(oldFd, oldImage.data(), kRecord);
    const int newFd = OpenExisting(files.newFile.c_str());
    read(newFd, newImage.data(), kRecord);
    if (CarryOver(newImage, oldImage)) {
      lseek(newFd, 0, SEEK_SET);
      write(newFd, newImage.data(), kRecord);
    }
    close(oldFd);
    close(newFd);
  }
}

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
