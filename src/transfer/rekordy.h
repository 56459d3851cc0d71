// Record layouts of the bookkeeping program's files, read and written as byte
// images at fixed offsets. Bytes the program does not interpret go back as
// they were read.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/os.h"

namespace transfer {

// One company of the register "spisfirm.dat".
struct TFirma {
  static constexpr std::uint32_t kSize = 103;
  using Image = std::array<std::uint8_t, kSize>;

  std::u16string Nazwa;    // company name
  std::u16string Katalog;  // the company's data directory inside the installation

  // Decodes the two length-prefixed texts (ANSI code page). A length byte
  // larger than its field's room reads only the room: never beyond the record.
  static TFirma Decode(const Image& image, platform::Os& os);
};

// The first record of a company's annual file "<year>_ROK.REK".
struct TRokRekord {
  static constexpr std::uint32_t kSize = 512;
  static constexpr std::size_t kRemanentPoczatkowy = 150;  // opening inventory
  static constexpr std::size_t kRemanentKoncowy = 246;     // closing inventory
  static constexpr std::size_t kValueSize = 8;             // IEEE 754 binary64, little-endian
  using Image = std::array<std::uint8_t, kSize>;

  // The 8 stored bytes of a value, as they are. Test NaNs and signs on these,
  // never on a double returned by a function: on i686 it passes through the
  // x87 stack, which quiets a signalling NaN.
  static std::uint64_t Bits(const Image& image, std::size_t offset);
};

}  // namespace transfer
