#include "e2e/pe_image.h"

#include <fstream>
#include <iterator>
#include <utility>

namespace e2e {

namespace {

// Offsets of the Portable Executable format (Microsoft's "PE Format").
constexpr std::size_t kNewHeaderOffset = 0x3c;  // e_lfanew in the MS-DOS header
constexpr std::size_t kFileHeaderSize = 20;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::uint16_t kMagic32 = 0x10b, kMagic64 = 0x20b;
constexpr std::uint32_t kImportDirectory = 1, kResourceDirectory = 2;
constexpr std::size_t kImportDescriptorSize = 20;
constexpr std::uint32_t kHighBit = 0x8000'0000;

}  // namespace

PeImage::PeImage(std::string bytes) : bytes_(std::move(bytes)) {
  if (bytes_.size() < 0x40 || bytes_.compare(0, 2, "MZ") != 0) {
    throw PeFormatError("no MS-DOS header");
  }
  const std::size_t pe = U32(kNewHeaderOffset);
  if (U32(pe) != 0x0000'4550) throw PeFormatError("no PE signature");
  const std::size_t file = pe + 4;
  machine_ = U16(file);
  const std::uint16_t sectionCount = U16(file + 2);
  const std::uint16_t optionalSize = U16(file + 16);
  const std::size_t optional = file + kFileHeaderSize;

  const std::uint16_t magic = U16(optional);
  if (magic != kMagic32 && magic != kMagic64) throw PeFormatError("unknown optional header");
  is64_ = magic == kMagic64;
  // The data directories follow the fields whose width depends on the format.
  const std::size_t directoryCount = U32(optional + (is64_ ? 108 : 92));
  const std::size_t directories = optional + (is64_ ? 112 : 96);
  const auto directory = [&](std::uint32_t index) {
    if (index >= directoryCount) return Directory{};
    return Directory{U32(directories + std::size_t{8} * index),
                     U32(directories + std::size_t{8} * index + 4)};
  };
  imports_ = directory(kImportDirectory);
  resources_ = directory(kResourceDirectory);

  const std::size_t table = optional + optionalSize;
  for (std::size_t i = 0; i < sectionCount; ++i) {
    const std::size_t header = table + i * kSectionHeaderSize;
    sections_.push_back({U32(header + 12), U32(header + 8), U32(header + 20), U32(header + 16)});
  }
}

PeImage PeImage::Load(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw PeFormatError("cannot open " + file.string());
  return PeImage({std::istreambuf_iterator<char>(in), {}});
}

std::uint16_t PeImage::U16(std::size_t offset) const {
  if (offset > bytes_.size() || bytes_.size() - offset < 2) throw PeFormatError("cut short");
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes_[offset + i]); };
  return static_cast<std::uint16_t>(byte(0) | byte(1) << 8);
}

std::uint32_t PeImage::U32(std::size_t offset) const {
  return U16(offset) | static_cast<std::uint32_t>(U16(offset + 2)) << 16;
}

std::uint64_t PeImage::U64(std::size_t offset) const {
  return U32(offset) | static_cast<std::uint64_t>(U32(offset + 4)) << 32;
}

std::size_t PeImage::At(std::uint32_t address, std::size_t length) const {
  for (const Section& section : sections_) {
    if (address < section.address) continue;
    const std::size_t into = address - section.address;
    // Past its raw data a section is zeros that the file does not hold.
    if (into >= section.rawSize) continue;
    if (section.rawSize - into < length) break;
    const std::size_t offset = section.rawOffset + into;
    if (offset > bytes_.size() || bytes_.size() - offset < length) break;
    return offset;
  }
  throw PeFormatError("address " + std::to_string(address) + " is not in the file");
}

std::string PeImage::Text(std::uint32_t address) const {
  const std::size_t start = At(address);
  const std::size_t end = bytes_.find('\0', start);
  if (end == std::string::npos) throw PeFormatError("unterminated name");
  return bytes_.substr(start, end - start);
}

std::vector<ImportedDll> PeImage::Imports() const {
  std::vector<ImportedDll> dlls;
  if (imports_.address == 0) return dlls;
  // The descriptors end with one of zeros.
  for (std::uint32_t descriptor = imports_.address;; descriptor += kImportDescriptorSize) {
    const std::size_t at = At(descriptor, kImportDescriptorSize);
    const std::uint32_t lookup = U32(at), name = U32(at + 12), bound = U32(at + 16);
    if (lookup == 0 && name == 0 && bound == 0) break;
    ImportedDll dll{Text(name), {}, 0};
    // The lookup table names the imports; linkers that leave it out name
    // them in the address table, which the loader overwrites only in memory.
    const std::uint32_t thunkSize = is64_ ? 8 : 4;
    for (std::uint32_t thunk = lookup != 0 ? lookup : bound;; thunk += thunkSize) {
      const std::uint64_t entry = is64_ ? U64(At(thunk, 8)) : U32(At(thunk, 4));
      if (entry == 0) break;
      const bool byOrdinal = ((entry >> (is64_ ? 63 : 31)) & 1) != 0;
      if (byOrdinal) {
        ++dll.byOrdinal;
      } else {
        // A hint (the index in the DLL's export names), then the name.
        dll.functions.push_back(Text(static_cast<std::uint32_t>(entry & ~kHighBit) + 2));
      }
    }
    dlls.push_back(std::move(dll));
  }
  return dlls;
}

std::optional<std::uint32_t> PeImage::ResourceEntry(std::uint32_t table,
                                                    std::optional<std::uint32_t> id,
                                                    bool wantTable) const {
  const std::size_t at = At(table, 16);
  const std::uint16_t named = U16(at + 12), numbered = U16(at + 14);
  // Entries named by strings come first, then those with numeric ids.
  for (std::size_t i = id ? named : 0; i < std::size_t{named} + numbered; ++i) {
    const std::size_t entry = At(table + 16 + static_cast<std::uint32_t>(i) * 8, 8);
    if (id && U32(entry) != *id) continue;
    const std::uint32_t target = U32(entry + 4);
    if (((target & kHighBit) != 0) != wantTable) throw PeFormatError("resource tree out of shape");
    return resources_.address + (target & ~kHighBit);
  }
  return std::nullopt;
}

bool PeImage::HoldsName(std::string_view name) const {
  std::string terminated(name);
  terminated += '\0';
  return bytes_.find(terminated) != std::string::npos;
}

std::optional<std::string> PeImage::Resource(std::uint32_t type, std::uint32_t id) const {
  if (resources_.address == 0) return std::nullopt;
  // Three levels: type, then name or id, then language; then the data entry.
  const auto names = ResourceEntry(resources_.address, type, true);
  if (!names) return std::nullopt;
  const auto languages = ResourceEntry(*names, id, true);
  if (!languages) return std::nullopt;
  const auto data = ResourceEntry(*languages, std::nullopt, false);
  if (!data) return std::nullopt;
  const std::size_t entry = At(*data, 16);
  const std::uint32_t size = U32(entry + 4);
  return bytes_.substr(At(U32(entry), size), size);
}

}  // namespace e2e
