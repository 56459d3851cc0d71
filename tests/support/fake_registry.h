// A registry of the test's making for start-up: keys by path, each with its
// "InstallPath" value or none; some keys refuse to open.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "shell/startup.h"

namespace testing_support {

struct RegistryValue {
  std::uint32_t type = shell::kRegSz;
  std::string bytes;
  bool readFails = false;  // grown or gone between the query and the read
};

// Text as UTF-16 little-endian bytes.
std::string Utf16Bytes(std::u16string_view text);
// A string value as the system stores it, with its terminating NUL.
RegistryValue TextValue(std::u16string_view text, std::uint32_t type = shell::kRegSz);

class FakeRegistry : public shell::RegistryReader {
 public:
  std::map<std::u16string, std::optional<RegistryValue>> keys;
  std::set<std::u16string> unopenable;
  std::vector<std::u16string> opened;
  int openKeys = 0;

  bool OpenKey(std::u16string_view path) override;
  bool QueryValue(std::u16string_view name, std::uint32_t& type, std::uint32_t& size) override;
  bool ReadData(std::u16string_view name, std::uint32_t size, std::string& bytes) override;
  void CloseKey() override { --openKeys; }

 private:
  std::u16string current_;
};

}  // namespace testing_support
