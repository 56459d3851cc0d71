// Windows names are case-insensitive: two spellings of one installation must
// not pass for two installations.
#include <gtest/gtest.h>

#include "support/system.h"
#include "support/temp_dir.h"
#include "transfer/company_register.h"

namespace {

TEST(SameDirectoryWin32, LetterCaseAndSlashesNameOneDirectory) {
  testing_support::TempDir dir;
  dir.MakeDir(u"zetka_2020");
  dir.WriteBytes(u"zetka_2020\\spisfirm.dat", "");
  const auto path = dir.Path(u"zetka_2020");
  auto upper = path;
  for (auto& c : upper) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  auto slashed = path;
  for (auto& c : slashed) {
    if (c == u'\\') c = u'/';
  }
  for (const auto& other : {upper, slashed}) {
    EXPECT_EQ(transfer::JudgePaths(testing_support::SystemOs(), path, other),
              transfer::PathVerdict::kSame);
  }
}

}  // namespace
