// Record images of the bookkeeping program's files, built byte by byte.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "support/temp_dir.h"

namespace testing_support {

// A 103-byte register record; the texts are ANSI bytes, their length bytes
// as given (they may claim more than the field holds).
Bytes FirmaRecord(std::string_view nazwa, std::string_view katalog);
Bytes FirmaRecord(std::uint8_t nazwaLength, std::string_view nazwa, std::uint8_t katalogLength,
                  std::string_view katalog);

// A 512-byte first record of an annual file. Every byte that the transfer
// does not interpret holds a pattern, so a changed byte shows.
Bytes RokRecord(double opening, double closing);

inline constexpr std::size_t kOpening = 150;
inline constexpr std::size_t kClosing = 246;

Bytes DoubleBytes(double value);
Bytes BitsBytes(std::uint64_t bits);
double ValueAt(const Bytes& bytes, std::size_t offset);

}  // namespace testing_support
