// Start-up's proposals for the two directory fields: last year's and this
// year's installation of the bookkeeping program, from its per-year registry
// keys or, where they give nothing, from a default built from the year.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "transfer/errors.h"

namespace shell {

// Value types of the registry that hold text.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;

// Reads values under HKEY_CURRENT_USER, one key at a time; never writes.
class RegistryReader {
 public:
  virtual ~RegistryReader() = default;
  // Opens an existing key for reading values; false when it cannot be opened.
  virtual bool OpenKey(std::u16string_view path) = 0;
  // The type and data size of a value of the open key; false when there is
  // no such value or it cannot be queried.
  virtual bool QueryValue(std::u16string_view name, std::uint32_t& type, std::uint32_t& size) = 0;
  // The value's data, reading `size` bytes; false when the read fails (the
  // value has grown or gone since it was queried).
  virtual bool ReadData(std::u16string_view name, std::uint32_t size, std::string& bytes) = 0;
  virtual void CloseKey() = 0;
};

// A registry value that cannot be used as text.
class ERegistryException : public transfer::Exception {
 public:
  using Exception::Exception;
};

// The value "InstallPath" of the open key (or of none): the text up to its
// first NUL, taken literally; empty when the value is missing or empty.
// Raises ERegistryException when it is not text or cannot be read.
std::u16string ReadInstallPath(RegistryReader& reader, bool keyOpen);

// The key of year N: "Software\wx\ZT0" and the third and fourth digits of N.
std::u16string YearKey(int year);
// The default installation of year N: "c:\zetka_" and N.
std::u16string DefaultInstallation(int year);

struct Proposals {
  std::u16string source;  // year Y - 1
  std::u16string dest;    // year Y
  // Messages of the values that could not be read, source first. Each such
  // field holds its default: start-up never ends without two proposals.
  std::vector<std::u16string> failures;
};

// The proposals of a start in year Y. A field's text keeps what the value
// holds up to its first line break, blanks included; a blank text gives the
// default.
Proposals ProposeInstallations(RegistryReader& reader, int year);

}  // namespace shell
