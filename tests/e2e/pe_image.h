// A Windows executable's image as its file holds it (PE32 for i686, PE32+
// for x86_64), read from the bytes alone so that a Linux test can see what
// Windows will see when it loads the exe: the resources the loader reads
// (the manifest) and the DLLs and functions it binds before the program runs.
// Every field is read at its offset, little-endian; a malformed image throws.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

struct PeFormatError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// One DLL of the import directory and the functions imported from it by
// name, in the image's order; imports by ordinal only are counted.
struct ImportedDll {
  std::string name;  // as the image spells it: "KERNEL32.dll"
  std::vector<std::string> functions;
  int byOrdinal = 0;
};

class PeImage {
 public:
  static constexpr std::uint16_t kI386 = 0x14c;
  static constexpr std::uint16_t kAmd64 = 0x8664;
  static constexpr std::uint32_t kVersionType = 16;   // RT_VERSION
  static constexpr std::uint32_t kManifestType = 24;  // RT_MANIFEST

  explicit PeImage(std::string bytes);
  static PeImage Load(const std::filesystem::path& file);

  std::uint16_t Machine() const { return machine_; }
  bool Is64() const { return is64_; }

  // The statically imported DLLs (not the delay-loaded ones).
  std::vector<ImportedDll> Imports() const;
  // Whether the file holds `name` as a C string, as a function the program
  // looks up with GetProcAddress is held.
  bool HoldsName(std::string_view name) const;
  // The data of a resource with a numeric type and id, in its first language.
  std::optional<std::string> Resource(std::uint32_t type, std::uint32_t id) const;

 private:
  struct Section {
    std::uint32_t address, virtualSize, rawOffset, rawSize;
  };
  struct Directory {
    std::uint32_t address = 0, size = 0;
  };

  std::uint16_t U16(std::size_t offset) const;
  std::uint32_t U32(std::size_t offset) const;
  std::uint64_t U64(std::size_t offset) const;
  // The file offset of an image address, `length` bytes of which the file holds.
  std::size_t At(std::uint32_t address, std::size_t length = 1) const;
  std::string Text(std::uint32_t address) const;
  // The subdirectory or data entry (relative to the resource directory) of
  // the numeric id in the resource directory table at `table`.
  std::optional<std::uint32_t> ResourceEntry(std::uint32_t table, std::optional<std::uint32_t> id,
                                             bool wantTable) const;

  std::string bytes_;
  std::uint16_t machine_ = 0;
  bool is64_ = false;
  std::vector<Section> sections_;
  Directory imports_, resources_;
};

}  // namespace e2e
