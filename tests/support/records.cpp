#include "support/records.h"

#include <bit>
#include <cstring>

namespace testing_support {

Bytes FirmaRecord(std::uint8_t nazwaLength, std::string_view nazwa, std::uint8_t katalogLength,
                  std::string_view katalog) {
  Bytes record(103, '\xEE');
  record[0] = static_cast<char>(nazwaLength);
  std::memcpy(record.data() + 1, nazwa.data(), std::min<std::size_t>(nazwa.size(), 31));
  record[32] = static_cast<char>(katalogLength);
  std::memcpy(record.data() + 33, katalog.data(), std::min<std::size_t>(katalog.size(), 70));
  return record;
}

Bytes FirmaRecord(std::string_view nazwa, std::string_view katalog) {
  return FirmaRecord(static_cast<std::uint8_t>(nazwa.size()), nazwa,
                     static_cast<std::uint8_t>(katalog.size()), katalog);
}

Bytes BitsBytes(std::uint64_t bits) {
  Bytes bytes(8, '\0');
  for (std::size_t i = 0; i < 8; ++i) bytes[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
  return bytes;
}

Bytes DoubleBytes(double value) { return BitsBytes(std::bit_cast<std::uint64_t>(value)); }

double ValueAt(const Bytes& bytes, std::size_t offset) {
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    bits |= std::uint64_t{static_cast<unsigned char>(bytes.at(offset + i))} << (8 * i);
  }
  return std::bit_cast<double>(bits);
}

Bytes RokRecord(double opening, double closing) {
  Bytes record(512, '\0');
  for (std::size_t i = 0; i < record.size(); ++i) record[i] = static_cast<char>((i * 7 + 3) & 0xFF);
  record.replace(kOpening, 8, DoubleBytes(opening));
  record.replace(kClosing, 8, DoubleBytes(closing));
  return record;
}

}  // namespace testing_support
