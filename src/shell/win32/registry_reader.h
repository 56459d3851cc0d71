// Start-up's registry reader over the Windows registry: HKEY_CURRENT_USER,
// keys opened for querying values only, nothing ever written.
#pragma once

#include <windows.h>

#include "shell/startup.h"

namespace shell::win32 {

class RegistryReader final : public shell::RegistryReader {
 public:
  RegistryReader() = default;
  ~RegistryReader() override;
  RegistryReader(const RegistryReader&) = delete;
  RegistryReader& operator=(const RegistryReader&) = delete;

  bool OpenKey(std::u16string_view path) override;
  bool QueryValue(std::u16string_view name, std::uint32_t& type, std::uint32_t& size) override;
  bool ReadData(std::u16string_view name, std::uint32_t size, std::string& bytes) override;
  void CloseKey() override;

 private:
  HKEY key_ = nullptr;
};

}  // namespace shell::win32
