// The journal's checks on known vectors: SHA-256 (FIPS 180-4's examples and
// the NIST test of a million "a"), CRC-32 (the standard check value).
#include <gtest/gtest.h>

#include <string>

#include "transfer/crc32.h"
#include "transfer/sha256.h"

namespace {

std::string Hex(const transfer::Sha256Digest& digest) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (const auto byte : digest) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0xF];
  }
  return text;
}

// Each test runs twice: with the processor's SHA instructions where it has
// them, and with the portable code.
class Sha256Test : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override { transfer::Sha256::UsePortableCode(GetParam()); }
  void TearDown() override { transfer::Sha256::UsePortableCode(false); }
};

INSTANTIATE_TEST_SUITE_P(Code, Sha256Test, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& param) {
                           return param.param ? "Portable" : "Fastest";
                         });

TEST_P(Sha256Test, KnownVectors) {
  const struct {
    std::string message;
    const char* digest;
  } cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlm"
       "nopqrsmnopqrstnopqrstu",
       "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Hex(transfer::Sha256::Of(c.message)), c.digest) << c.message.size() << " bytes";
  }
}

// Lengths around the block (64) and its padding room (56), given in two
// pieces split at every point: the same digest as in one piece.
TEST_P(Sha256Test, PiecesGiveTheDigestOfTheWhole) {
  for (const std::size_t length : {55u, 56u, 63u, 64u, 65u, 119u, 120u, 128u, 200u}) {
    std::string message;
    for (std::size_t i = 0; i < length; ++i) message += static_cast<char>(i * 7 + 3);
    const auto whole = transfer::Sha256::Of(message);
    for (std::size_t split = 0; split <= length; ++split) {
      transfer::Sha256 hash;
      hash.Update(message.data(), split);
      hash.Update(message.data() + split, length - split);
      EXPECT_EQ(hash.Finish(), whole) << length << " split at " << split;
    }
  }
}

TEST(Crc32Test, KnownVectors) {
  EXPECT_EQ(transfer::Crc32(""), 0u);
  EXPECT_EQ(transfer::Crc32("123456789"), 0xCBF43926u);
  EXPECT_EQ(transfer::Crc32("The quick brown fox jumps over the lazy dog"), 0x414FA339u);
}

}  // namespace
