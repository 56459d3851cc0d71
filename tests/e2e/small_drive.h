// A small drive of the test's own: a tmpfs of a chosen size, mounted on a
// folder of the test and given to Wine as a drive letter, so that a full
// disk is met as an office meets it. Mounting needs a mount namespace of
// the test process's own (in a user namespace of its own, as an ordinary
// user may make them); the process enters it at the first small drive, with
// every program it starts from then on. The wineserver is ended first, so
// that the next one starts in it and sees the drive.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace e2e {

class SmallDrive {
 public:
  // Throws std::runtime_error when the system refuses a step.
  SmallDrive(std::filesystem::path mountPoint, std::size_t bytes, char letter);
  ~SmallDrive();
  SmallDrive(const SmallDrive&) = delete;
  SmallDrive& operator=(const SmallDrive&) = delete;

  // A new size; what the drive holds stays.
  void Resize(std::size_t bytes);
  // "S:", as Windows names the drive.
  std::string Letter() const { return std::string(1, letter_) + ":"; }

 private:
  std::filesystem::path mountPoint_;
  char letter_;
  std::filesystem::path link_;
};

}  // namespace e2e
