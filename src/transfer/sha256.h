// SHA-256 (FIPS 180-4): the fingerprint the undo compares a copied file
// against before it removes it. A file that only looks like the copy (same
// size, another content) must never be taken for it; with 256 bits an
// accidental match is out of reach, which no shorter checksum promises.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace transfer {

using Sha256Digest = std::array<std::uint8_t, 32>;

class Sha256 {
 public:
  Sha256();
  void Update(const void* data, std::size_t size);
  // The digest of everything given so far; the object is spent afterwards.
  Sha256Digest Finish();

  static Sha256Digest Of(std::string_view bytes);

  // Whether the processor's own SHA instructions compute the blocks; the
  // portable code does where it has none, with the same digests.
  static bool Accelerated();
  // With true, the hashes of this process use the portable code until it is
  // called with false: a test checks that code on a processor that has the
  // instructions.
  static void UsePortableCode(bool portable);

 private:
  // Whole 64-byte blocks, one after another.
  void Blocks(const std::uint8_t* blocks, std::size_t count);

  std::array<std::uint32_t, 8> state_;
  std::array<std::uint8_t, 64> buffer_{};
  std::size_t buffered_ = 0;
  std::uint64_t length_ = 0;
};

}  // namespace transfer
