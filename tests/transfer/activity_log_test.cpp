#include "transfer/activity_log.h"

#include <gtest/gtest.h>

#include "support/forwarding_os.h"
#include "support/system.h"
#include "support/temp_dir.h"
#include "transfer/errors.h"

namespace {

using testing_support::Bytes;
using testing_support::SystemOs;
using testing_support::TempDir;

TEST(LogFilePath, BesideTheExecutable) {
  const struct {
    std::u16string executable, log;
  } cases[] = {
      {u"C:\\Narzedzia\\dopliki32.exe", u"C:\\Narzedzia\\dopliki32.log"},
      {u"C:dopliki32.exe", u"C:dopliki32.log"},
      {u"\\\\serwer\\udzial\\x.exe", u"\\\\serwer\\udzial\\dopliki32.log"},
      {u"/opt/narzedzia/dopliki_tests", u"/opt/narzedzia/dopliki32.log"},
      {u"dopliki32.exe", u"dopliki32.log"},
  };
  for (const auto& c : cases) EXPECT_EQ(transfer::LogFilePath(c.executable), c.log);
}

class SaveLogTest : public ::testing::Test {
 protected:
  void Save(std::u16string_view text) { transfer::SaveLog(SystemOs(), text, dir.Path(u"x.log")); }
  TempDir dir;
};

TEST_F(SaveLogTest, WritesTheTextAsItIsWithNoByteOrderMark) {
  Save(u"a\r\nb\r\n");
  EXPECT_EQ(dir.ReadBytes(u"x.log"), "a\r\nb\r\n");
  Save(u"");
  EXPECT_EQ(dir.ReadBytes(u"x.log"), "");
}

TEST_F(SaveLogTest, UsesTheAnsiCodePage) {
  if (SystemOs().AnsiCodePage() != 1250) GTEST_SKIP() << "needs code page 1250";
  // "ж" is not in the code page: the platform's replacement stands for it.
  Save(u"łódź ж\r\n");
  EXPECT_EQ(dir.ReadBytes(u"x.log"),
            "\xB3\xF3"
            "d\x9F ?\r\n");
}

TEST_F(SaveLogTest, AReadOnlyFileIsLeftAsItWas) {
  dir.WriteBytes(u"x.log", "stary");
  dir.SetReadOnly(u"x.log");
  try {
    Save(u"nowy\r\n");
    FAIL() << "a read-only log file was written";
  } catch (const transfer::ECreateError& e) {
    // The system's own text follows, without its full stop and line break.
    const std::u16string prefix = u"Cannot create file \"" + dir.Path(u"x.log") + u"\". ";
    ASSERT_EQ(e.Message().substr(0, prefix.size()), prefix);
    const std::u16string clause = e.Message().substr(prefix.size());
    const std::u16string systemText = SystemOs().ErrorText(5);
    ASSERT_FALSE(clause.empty());
    EXPECT_EQ(systemText.substr(0, clause.size()), clause);
    EXPECT_NE(clause.back(), u'.');
    EXPECT_EQ(systemText.find_first_not_of(u". \r\n", clause.size()), std::u16string::npos);
  }
  EXPECT_EQ(dir.ReadBytes(u"x.log"), "stary");
  EXPECT_FALSE(dir.Exists(u"x.log.$$$"));
}

// A save that fails on the way (the disk full after part of the text) keeps
// the previous log whole, and leaves no part of the new one.
TEST_F(SaveLogTest, ASaveCutShortKeepsThePreviousLog) {
  struct FullDisk : testing_support::ForwardingOs {
    using ForwardingOs::ForwardingOs;
    std::uint32_t Write(platform::FileHandle handle, const void* buffer, std::uint32_t size,
                        std::uint32_t& done) override {
      ForwardingOs::Write(handle, buffer, size / 2, done);
      return platform::err::kDiskFull;
    }
  } os{SystemOs()};
  dir.WriteBytes(u"x.log", "stary\r\n");
  EXPECT_THROW(transfer::SaveLog(os, u"nowy, dłuższy\r\n", dir.Path(u"x.log")),
               transfer::EWriteError);
  EXPECT_EQ(dir.ReadBytes(u"x.log"), "stary\r\n");
  EXPECT_FALSE(dir.Exists(u"x.log.$$$"));
  // A partial log that such a save could not remove is replaced by the next.
  dir.WriteBytes(u"x.log.$$$", "resztki");
  Save(u"nowy\r\n");
  EXPECT_EQ(dir.ReadBytes(u"x.log"), "nowy\r\n");
  EXPECT_FALSE(dir.Exists(u"x.log.$$$"));
}

TEST_F(SaveLogTest, AMissingDirectoryCannotBeCreated) {
  EXPECT_THROW(transfer::SaveLog(SystemOs(), u"x", dir.Path(u"brak\\x.log")),
               transfer::ECreateError);
}

// A conversion the system refuses (a text longer than it counts) is a write
// failure, not an empty file reported as saved; the old file stays.
TEST_F(SaveLogTest, ATextTheConversionRefusesIsAWriteFailure) {
  struct RefusingOs : testing_support::ForwardingOs {
    using ForwardingOs::ForwardingOs;
    std::optional<std::string> TextToAnsi(std::u16string_view) override { return std::nullopt; }
  } os{SystemOs()};
  dir.WriteBytes(u"x.log", "stary");
  EXPECT_THROW(transfer::SaveLog(os, u"nowy\r\n", dir.Path(u"x.log")), transfer::EWriteError);
  EXPECT_EQ(dir.ReadBytes(u"x.log"), "stary");
}

}  // namespace
