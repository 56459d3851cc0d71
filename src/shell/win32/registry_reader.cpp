#include "shell/win32/registry_reader.h"

#include <string>

namespace shell::win32 {

namespace {

std::wstring Terminated(std::u16string_view text) {
  return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

}  // namespace

RegistryReader::~RegistryReader() { CloseKey(); }

bool RegistryReader::OpenKey(std::u16string_view path) {
  CloseKey();
  // Querying values is all it takes: a key the user may only read still
  // tells where the bookkeeping program is installed.
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Terminated(path).c_str(), 0, KEY_QUERY_VALUE, &key) !=
      ERROR_SUCCESS) {
    return false;
  }
  key_ = key;
  return true;
}

bool RegistryReader::QueryValue(std::u16string_view name, std::uint32_t& type,
                                std::uint32_t& size) {
  DWORD valueType = 0, valueSize = 0;
  if (key_ == nullptr || RegQueryValueExW(key_, Terminated(name).c_str(), nullptr, &valueType,
                                          nullptr, &valueSize) != ERROR_SUCCESS) {
    return false;
  }
  type = valueType;
  size = valueSize;
  return true;
}

bool RegistryReader::ReadData(std::u16string_view name, std::uint32_t size, std::string& bytes) {
  bytes.assign(size, '\0');
  DWORD read = size;
  if (key_ == nullptr ||
      RegQueryValueExW(key_, Terminated(name).c_str(), nullptr, nullptr,
                       reinterpret_cast<BYTE*>(bytes.data()), &read) != ERROR_SUCCESS) {
    return false;
  }
  bytes.resize(read);
  return true;
}

void RegistryReader::CloseKey() {
  if (key_ != nullptr) RegCloseKey(key_);
  key_ = nullptr;
}

}  // namespace shell::win32
