#include "support/fake_registry.h"

#include <gtest/gtest.h>

namespace testing_support {

std::string Utf16Bytes(std::u16string_view text) {
  std::string bytes;
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

RegistryValue TextValue(std::u16string_view text, std::uint32_t type) {
  return {type, Utf16Bytes(text) + std::string(2, '\0')};
}

bool FakeRegistry::OpenKey(std::u16string_view path) {
  EXPECT_EQ(openKeys, 0) << "a key is still open";
  const std::u16string key(path);
  if (!keys.contains(key) || unopenable.contains(key)) return false;
  opened.push_back(key);
  current_ = key;
  ++openKeys;
  return true;
}

bool FakeRegistry::QueryValue(std::u16string_view name, std::uint32_t& type, std::uint32_t& size) {
  const auto& value = keys.at(current_);
  if (name != u"InstallPath" || !value) return false;
  type = value->type;
  size = static_cast<std::uint32_t>(value->bytes.size());
  return true;
}

bool FakeRegistry::ReadData(std::u16string_view, std::uint32_t size, std::string& bytes) {
  const auto& value = keys.at(current_);
  if (value->readFails) return false;
  bytes = value->bytes.substr(0, size);
  return true;
}

}  // namespace testing_support
