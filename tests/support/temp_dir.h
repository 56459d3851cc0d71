// A fresh directory per test, removed afterwards, with helpers that build and
// inspect fixture files byte by byte without going through the OS layer.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace testing_support {

using Bytes = std::string;

class TempDir {
 public:
  // In the system's temporary folder, or in the folder given.
  explicit TempDir(const std::filesystem::path& base = std::filesystem::temp_directory_path());
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The path as the program's code sees it: the directory, a backslash and
  // the relative part (which may itself use backslashes). The POSIX layer
  // reads backslashes as separators, so the same text works on both systems.
  std::u16string Path(std::u16string_view relative = u"") const;
  // The same location for the fixture's own use.
  std::filesystem::path Native(std::u16string_view relative) const;

  void MakeDir(std::u16string_view relative) const;
  void WriteBytes(std::u16string_view relative, const Bytes& bytes) const;
  Bytes ReadBytes(std::u16string_view relative) const;
  bool Exists(std::u16string_view relative) const;
  void SetReadOnly(std::u16string_view relative, bool readOnly = true) const;

 private:
  std::filesystem::path root_;
};

}  // namespace testing_support
