// A link is one way of naming the same installation twice.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/system.h"
#include "support/temp_dir.h"
#include "transfer/company_register.h"

namespace {

TEST(SameDirectoryPosix, ALinkNamesTheDirectoryItPointsTo) {
  testing_support::TempDir dir;
  dir.MakeDir(u"zetka_2020");
  dir.MakeDir(u"zetka_2021");
  dir.WriteBytes(u"zetka_2020\\spisfirm.dat", "");
  dir.WriteBytes(u"zetka_2021\\spisfirm.dat", "");
  std::filesystem::create_directory_symlink(dir.Native(u"zetka_2020"), dir.Native(u"link"));
  auto& os = testing_support::SystemOs();
  EXPECT_EQ(transfer::JudgePaths(os, dir.Path(u"link"), dir.Path(u"zetka_2020")),
            transfer::PathVerdict::kSame);
  EXPECT_EQ(transfer::JudgePaths(os, dir.Path(u"link"), dir.Path(u"zetka_2021")),
            transfer::PathVerdict::kAccepted);
}

}  // namespace
