// Every input kept in the fuzz corpora (fuzz/corpus/<target>/), run once
// through its target: the seeds, and each input that once broke a property,
// stay fixed with the suite.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/check.h"
#include "fuzz/targets.h"

namespace fuzz {
void PrintTo(const NamedTarget& target, std::ostream* out) { *out << target.name; }
}  // namespace fuzz

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>());
}

class CorpusReplay : public ::testing::TestWithParam<fuzz::NamedTarget> {};

TEST_P(CorpusReplay, EveryInputKeepsTheTargetsProperties) {
  fuzz::ThrowOnBrokenProperty();
  const fs::path corpus = fs::path(DOPLIKI_FUZZ_CORPUS) / std::string(GetParam().name);
  ASSERT_TRUE(fs::is_directory(corpus)) << corpus;
  int inputs = 0;
  for (const auto& entry : fs::directory_iterator(corpus)) {
    const auto bytes = Contents(entry.path());
    try {
      GetParam().target(bytes.data(), bytes.size());
    } catch (const std::exception& e) {
      ADD_FAILURE() << entry.path().filename() << ": " << e.what();
    }
    ++inputs;
  }
  EXPECT_GT(inputs, 0) << "an empty corpus";
}

INSTANTIATE_TEST_SUITE_P(Targets, CorpusReplay,
                         ::testing::ValuesIn(fuzz::Targets().begin(), fuzz::Targets().end()),
                         [](const ::testing::TestParamInfo<fuzz::NamedTarget>& param) {
                           return std::string(param.param.name);
                         });

}  // namespace
