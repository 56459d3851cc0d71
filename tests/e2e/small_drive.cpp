#include "e2e/small_drive.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "e2e/wine.h"

namespace e2e {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void Refused(const std::string& step) {
  throw std::runtime_error("small drive: " + step + ": " + std::strerror(errno));
}

void WriteProcFile(const char* name, const std::string& text) {
  const int fd = open(name, O_WRONLY | O_CLOEXEC);
  if (fd < 0) Refused(std::string("open ") + name);
  const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  close(fd);
  if (!written) Refused(std::string("write ") + name);
}

// Once per process: a user namespace in which this process is the same user
// as before (so Wine finds its prefix its own), with a mount namespace that
// it may mount in. Only a single-threaded process may enter one.
void EnterOwnMountNamespace() {
  static bool entered = false;
  if (entered) return;
  const uid_t uid = getuid();
  const gid_t gid = getgid();
  // The wineserver runs outside; the next one starts in here and sees mounts.
  EndWindowsPrograms();
  if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) Refused("unshare");
  WriteProcFile("/proc/self/uid_map", std::to_string(uid) + " " + std::to_string(uid) + " 1");
  WriteProcFile("/proc/self/setgroups", "deny");
  WriteProcFile("/proc/self/gid_map", std::to_string(gid) + " " + std::to_string(gid) + " 1");
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) Refused("private mounts");
  entered = true;
}

std::string SizeOption(std::size_t bytes) { return "size=" + std::to_string(bytes); }

}  // namespace

SmallDrive::SmallDrive(fs::path mountPoint, std::size_t bytes, char letter)
    : mountPoint_(std::move(mountPoint)),
      letter_(static_cast<char>(std::tolower(static_cast<unsigned char>(letter)))) {
  EnterOwnMountNamespace();
  fs::create_directories(mountPoint_);
  if (mount("tmpfs", mountPoint_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV,
            SizeOption(bytes).c_str()) != 0) {
    Refused("mount");
  }
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix == nullptr) throw std::runtime_error("small drive: WINEPREFIX is not set");
  link_ = fs::path(prefix) / "dosdevices" / (std::string(1, letter_) + ":");
  fs::remove(link_);
  fs::create_directory_symlink(mountPoint_, link_);
}

SmallDrive::~SmallDrive() {
  // No Windows program may still hold a file on it.
  EndWindowsPrograms();
  std::error_code ignored;
  fs::remove(link_, ignored);
  umount2(mountPoint_.c_str(), MNT_DETACH);
}

void SmallDrive::Resize(std::size_t bytes) {
  if (mount(nullptr, mountPoint_.c_str(), nullptr, MS_REMOUNT | MS_NOSUID | MS_NODEV,
            SizeOption(bytes).c_str()) != 0) {
    Refused("remount");
  }
}

}  // namespace e2e
