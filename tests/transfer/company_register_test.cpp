#include "transfer/company_register.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "platform/utf8.h"
#include "support/forwarding_os.h"
#include "support/recording_report.h"
#include "support/records.h"
#include "support/system.h"
#include "support/temp_dir.h"
#include "transfer/errors.h"
#include "transfer/paths.h"

namespace {

using testing_support::Bytes;
using testing_support::FirmaRecord;
using testing_support::RecordingReport;
using testing_support::SystemOs;
using testing_support::TempDir;
using transfer::PathVerdict;

TEST(SlashStr, AppendsOnlyAMissingBackslash) {
  const struct {
    std::u16string path, slashed;
  } cases[] = {
      {u"c:\\zetka_2009", u"c:\\zetka_2009\\"},
      {u"c:\\zetka_2009\\", u"c:\\zetka_2009\\"},
      {u"", u"\\"},
      {u"c:/zetka/", u"c:/zetka/\\"},
      {u"c:\\zetka\\\\", u"c:\\zetka\\\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(transfer::SlashStr(c.path), c.slashed);
}

TEST(ClimbsOut, OnlyPartsOfDotsAndBlanksWithTwoDotsOrMore) {
  for (const auto* name :
       {u"..", u"..\\x", u"x\\..", u"x/../y", u"...", u". .", u" ..", u"x\\..\\"}) {
    EXPECT_TRUE(transfer::ClimbsOut(name)) << platform::TextToUtf8(name);
  }
  for (const auto* name :
       {u"", u".", u"x", u"a..b", u"..x", u".x.", u"x\\.\\y", u"\\\\server\\share"}) {
    EXPECT_FALSE(transfer::ClimbsOut(name)) << platform::TextToUtf8(name);
  }
}

TEST(TrimControls, RemovesControlsAndBlanksOnly) {
  EXPECT_EQ(transfer::TrimControls(u" \t\r\n\x01x y\x1F "), u"x y");
  EXPECT_EQ(transfer::TrimControls(u"\u00A0x\u00A0"), u"\u00A0x\u00A0");
  EXPECT_EQ(transfer::TrimControls(u" \t "), u"");
}

class RegisterTest : public ::testing::Test {
 protected:
  void Load(const Bytes& content) {
    dir.WriteBytes(u"spisfirm.dat", content);
    listed = {};
    transfer::ZaladujFirmy(SystemOs(), dir.Path(), listed);
  }
  TempDir dir;
  RecordingReport listed;
  const std::vector<std::u16string>& names = listed.names;
  const std::vector<std::u16string>& katalogi = listed.katalogi;
};

TEST_F(RegisterTest, OneEntryPerWholeRecord) {
  Load("");
  EXPECT_TRUE(names.empty());
  EXPECT_TRUE(katalogi.empty());

  const Bytes two = FirmaRecord("Alfa", "FIRMA1") + FirmaRecord("", "FIRMA2");
  Load(two);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"Alfa", u""}));
  EXPECT_EQ(katalogi, (std::vector<std::u16string>{u"FIRMA1", u"FIRMA2"}));

  // 250 bytes: the 44 bytes after the second record are no company.
  Load(two + Bytes(44, 'x'));
  EXPECT_EQ(katalogi, (std::vector<std::u16string>{u"FIRMA1", u"FIRMA2"}));
}

TEST_F(RegisterTest, LengthBytesBeyondTheFieldReadOnlyItsRoom) {
  const Bytes name31(31, 'N'), dir70(70, 'K');
  Load(FirmaRecord(255, name31, 255, dir70) + FirmaRecord(0, "", 71, dir70));
  EXPECT_EQ(names, (std::vector<std::u16string>{std::u16string(31, u'N'), u""}));
  EXPECT_EQ(katalogi,
            (std::vector<std::u16string>{std::u16string(70, u'K'), std::u16string(70, u'K')}));
}

// Any length and any bytes: one entry per whole record, none longer than its
// field (the sanitized build catches a read outside the record).
TEST_F(RegisterTest, AnyBytesLoadWithinTheirRecords) {
  std::mt19937 random(2009);
  for (int round = 0; round < 50; ++round) {
    Bytes content(random() % 700, '\0');
    for (auto& byte : content) byte = static_cast<char>(random());
    Load(content);
    ASSERT_EQ(katalogi.size(), content.size() / 103);
    ASSERT_EQ(names.size(), katalogi.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
      EXPECT_LE(names[i].size(), 31u);
      EXPECT_LE(katalogi[i].size(), 70u);
    }
  }
}

TEST_F(RegisterTest, TextsAreInTheAnsiCodePage) {
  if (SystemOs().AnsiCodePage() != 1250) GTEST_SKIP() << "needs code page 1250";
  Load(
      FirmaRecord("Pi\xB3"
                  "ka",
                  "F\xB3"));
  EXPECT_EQ(names, std::vector<std::u16string>{u"Piłka"});
  EXPECT_EQ(katalogi, std::vector<std::u16string>{u"Fł"});
}

TEST_F(RegisterTest, AFailedLoadKeepsTheEntriesReadSoFar) {
  dir.WriteBytes(u"spisfirm.dat", FirmaRecord("A", "B"));
  dir.SetReadOnly(u"spisfirm.dat");
  try {
    transfer::ZaladujFirmy(SystemOs(), dir.Path(), listed);
    FAIL() << "a read-only register loaded";
  } catch (const transfer::EInOutError& e) {
    EXPECT_EQ(e.ErrorCode, 5);
    EXPECT_EQ(e.Message(), u"File access denied");
  }
  EXPECT_TRUE(names.empty());

  // A read refused after the first record: that company was reported as read.
  testing_support::NthReadRefused os{SystemOs(), 2};
  dir.SetReadOnly(u"spisfirm.dat", false);
  dir.WriteBytes(u"spisfirm.dat", FirmaRecord("A", "B") + FirmaRecord("C", "D"));
  EXPECT_THROW(transfer::ZaladujFirmy(os, dir.Path(), listed), transfer::EInOutError);
  EXPECT_EQ(names, std::vector<std::u16string>{u"A"});
  EXPECT_EQ(katalogi, std::vector<std::u16string>{u"B"});
}

class JudgePathsTest : public ::testing::Test {
 protected:
  JudgePathsTest() {
    for (const auto* installation : {u"stary", u"nowy"}) {
      dir.MakeDir(installation);
      dir.WriteBytes(std::u16string(installation) + u"\\spisfirm.dat", "");
    }
    dir.MakeDir(u"pusty");
    dir.MakeDir(u"zly\\spisfirm.dat");
  }
  PathVerdict Judge(const std::u16string& source, const std::u16string& dest) {
    return transfer::JudgePaths(SystemOs(), source, dest);
  }
  TempDir dir;
};

TEST_F(JudgePathsTest, DecidesBetweenSameIncompleteAndAccepted) {
  const auto stary = dir.Path(u"stary"), nowy = dir.Path(u"nowy");
  const struct {
    std::u16string source, dest;
    PathVerdict verdict;
  } cases[] = {
      {u"", u"", PathVerdict::kSame},
      {u"  ", u"\t", PathVerdict::kSame},
      {stary, u" " + stary + u"\t", PathVerdict::kSame},
      // One directory behind two texts is refused like equal texts.
      {stary, stary + u"\\", PathVerdict::kSame},
      {stary + u"\\", stary + u"\\\\", PathVerdict::kSame},
      {stary, nowy, PathVerdict::kAccepted},
      {stary + u"\\", nowy, PathVerdict::kAccepted},
      {stary, dir.Path(u"pusty"), PathVerdict::kIncomplete},
      {dir.Path(u"pusty"), nowy, PathVerdict::kIncomplete},
      {stary, dir.Path(u"brak"), PathVerdict::kIncomplete},
      {dir.Path(u"zly"), nowy, PathVerdict::kIncomplete},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Judge(c.source, c.dest), c.verdict)
        << platform::TextToUtf8(c.source) << " | " << platform::TextToUtf8(c.dest);
  }
}

TEST_F(JudgePathsTest, RelativeAndAbsoluteTextsOfOneDirectoryAreTheSame) {
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.Native(u""));
  const auto verdict = Judge(u"stary", dir.Path(u"stary"));
  const auto other = Judge(u"nowy", dir.Path(u"stary"));
  std::filesystem::current_path(previous);
  EXPECT_EQ(verdict, PathVerdict::kSame);
  EXPECT_EQ(other, PathVerdict::kAccepted);
}

}  // namespace
