// Entries that only a POSIX system can put into an installation, seen as the
// program sees them on Windows: a link made to a directory is a directory,
// and a FIFO ends a run with a refusal instead of holding it up forever.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/installations.h"
#include "support/recording_report.h"
#include "support/system.h"
#include "transfer/company_register.h"
#include "transfer/errors.h"
#include "transfer/file_copy.h"
#include "transfer/inventory_transfer.h"

namespace {

using testing_support::Installations;
using testing_support::RecordingReport;
using testing_support::RokRecord;
using testing_support::SystemOs;
using Lines = std::vector<std::u16string>;

constexpr std::u16string_view kBaza = u"BAZA_DW8.REK";

class LinksAndFifosTest : public ::testing::Test {
 protected:
  LinksAndFifosTest() {
    pair.AddCompany(u"F", std::nullopt, RokRecord(0, 0));
    pair.dir.MakeDir(u"elsewhere");
  }
  void LinkToDirectory(std::u16string_view relative) const {
    std::filesystem::create_directory_symlink(pair.dir.Native(u"elsewhere"),
                                              pair.dir.Native(relative));
  }
  void Fifo(std::u16string_view relative) const {
    ASSERT_EQ(mkfifo(pair.dir.Native(relative).c_str(), 0666), 0);
  }
  void Transfer() {
    transfer::SkopiujRemanenty(SystemOs(), pair.Source(), pair.Dest(), {u"F"}, log, u",");
  }
  void Copy() {
    transfer::SkopiujPliki(SystemOs(), pair.Source(), pair.Dest(), {u"F"}, {std::u16string(kBaza)},
                           log);
  }

  Installations pair;
  RecordingReport log;
};

TEST_F(LinksAndFifosTest, ARegisterThatLinksToADirectoryIsMissing) {
  pair.dir.WriteBytes(u"zetka_2008\\spisfirm.dat", "");
  LinkToDirectory(u"zetka_2009\\spisfirm.dat");
  EXPECT_EQ(transfer::JudgePaths(SystemOs(), pair.dir.Path(Installations::kOld),
                                 pair.dir.Path(Installations::kNew)),
            transfer::PathVerdict::kIncomplete);
}

TEST_F(LinksAndFifosTest, AnAnnualFileThatLinksToADirectoryIsMissing) {
  LinkToDirectory(Installations::OldAnnual(u"F"));
  Transfer();
  EXPECT_EQ(log.Text(), u"BAD.Brak pliku " + pair.dir.Path(Installations::OldAnnual(u"F")) +
                            u"\r\nOK. Remamenty skopiowano!\r\n");
}

TEST_F(LinksAndFifosTest, ATargetThatLinksToADirectoryIsNeitherMovedNorReplaced) {
  pair.dir.WriteBytes(Installations::In(Installations::kOld, u"F", kBaza), "nowa");
  const auto target = Installations::In(Installations::kNew, u"F", kBaza);
  LinkToDirectory(target);
  Copy();
  EXPECT_EQ(log.Text(), u"Skopiowane fimry:\r\n");
  EXPECT_TRUE(std::filesystem::is_symlink(pair.dir.Native(target)));
  EXPECT_FALSE(pair.dir.Exists(target + u".old"));
}

TEST_F(LinksAndFifosTest, AFifoAsTheOldAnnualFileEndsTheRunRefused) {
  Fifo(Installations::OldAnnual(u"F"));
  try {
    Transfer();
    FAIL() << "a FIFO was read as an annual file";
  } catch (const transfer::EInOutError& e) {
    EXPECT_EQ(e.ErrorCode, 5);
  }
  EXPECT_EQ(pair.dir.ReadBytes(Installations::NewAnnual(u"F")), RokRecord(0, 0));
}

TEST_F(LinksAndFifosTest, AFifoAsACopySourceIsNotCopied) {
  Fifo(Installations::In(Installations::kOld, u"F", kBaza));
  const auto target = Installations::In(Installations::kNew, u"F", kBaza);
  pair.dir.WriteBytes(target, "stara");
  Copy();
  EXPECT_EQ(log.Text(), u"Skopiowane fimry:\r\n");
  EXPECT_EQ(pair.dir.ReadBytes(target), "stara");
  EXPECT_FALSE(pair.dir.Exists(target + u".old"));
}

}  // namespace
