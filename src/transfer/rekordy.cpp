#include "transfer/rekordy.h"

#include <algorithm>
#include <string_view>

namespace transfer {

namespace {

std::u16string DecodeText(const TFirma::Image& image, std::size_t lengthAt, std::size_t room,
                          platform::Os& os) {
  const std::size_t length = std::min<std::size_t>(image[lengthAt], room);
  const std::string_view bytes(reinterpret_cast<const char*>(image.data()) + lengthAt + 1, length);
  return os.AnsiToText(bytes);
}

}  // namespace

TFirma TFirma::Decode(const Image& image, platform::Os& os) {
  constexpr std::size_t kNazwaLength = 0, kNazwaRoom = 31;
  constexpr std::size_t kKatalogLength = 32, kKatalogRoom = kSize - kKatalogLength - 1;
  static_assert(kKatalogRoom == 70);
  return TFirma{DecodeText(image, kNazwaLength, kNazwaRoom, os),
                DecodeText(image, kKatalogLength, kKatalogRoom, os)};
}

std::uint64_t TRokRekord::Bits(const Image& image, std::size_t offset) {
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < kValueSize; ++i) {
    bits |= std::uint64_t{image[offset + i]} << (8 * i);
  }
  return bits;
}

}  // namespace transfer
