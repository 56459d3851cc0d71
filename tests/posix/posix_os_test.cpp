// What only the POSIX OS layer can show: links, FIFOs and devices,
// code pages through iconv and the C library's locale.
#include "platform/posix/posix_os.h"

#include <gtest/gtest.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/posix/posix_errors.h"
#include "platform/utf8.h"
#include "support/temp_dir.h"

namespace {

using platform::EntryInfo;
using platform::FileHandle;
using platform::FileIdentity;
using platform::posix::PosixOs;
namespace err = platform::err;

class PosixOsTest : public ::testing::Test {
 protected:
  PosixOs os_;
  testing_support::TempDir dir_;
};

// As Windows reports a link: a directory link is a directory, a link to a
// file or to nothing a file.
TEST_F(PosixOsTest, LinksAreJudgedAsWindowsJudgesThemButFollowedForIdentity) {
  dir_.MakeDir(u"target");
  dir_.WriteBytes(u"file.dat", "x");
  std::filesystem::create_directory_symlink(dir_.Native(u"target"), dir_.Native(u"to_dir"));
  std::filesystem::create_symlink(dir_.Native(u"file.dat"), dir_.Native(u"to_file"));
  std::filesystem::create_symlink(dir_.Native(u"gone.dat"), dir_.Native(u"dangling"));

  const struct {
    std::u16string_view name;
    bool isDirectory;
  } cases[] = {{u"to_dir", true}, {u"to_file", false}, {u"dangling", false}};
  for (const auto& c : cases) {
    EntryInfo info;
    info.isDirectory = !c.isDirectory;
    ASSERT_EQ(os_.Attributes(dir_.Path(c.name), info), err::kSuccess);
    EXPECT_EQ(info.isDirectory, c.isDirectory) << platform::TextToUtf8(c.name);
  }

  FileIdentity viaLink, direct;
  ASSERT_EQ(os_.Identity(dir_.Path(u"to_dir"), viaLink), err::kSuccess);
  ASSERT_EQ(os_.Identity(dir_.Path(u"target"), direct), err::kSuccess);
  EXPECT_EQ(viaLink, direct);
}

// A folder on Windows holds no FIFO, socket or device. Each is refused as
// access denied, at once: a FIFO's open or read would wait forever.
TEST_F(PosixOsTest, FifosAndDevicesAreRefusedWithoutWaiting) {
  ASSERT_EQ(mkfifo(dir_.Native(u"fifo").c_str(), 0666), 0);
  for (const std::u16string& name : {dir_.Path(u"fifo"), std::u16string(u"\\dev\\full")}) {
    SCOPED_TRACE(platform::TextToUtf8(name));
    FileHandle handle = 0;
    EXPECT_EQ(os_.OpenExisting(name, handle), err::kAccessDenied);
    EXPECT_EQ(os_.CreateAlways(name, handle), err::kAccessDenied);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(os_.CopyNew(name, dir_.Path(u"copy")), err::kAccessDenied);
    EXPECT_FALSE(dir_.Exists(u"copy"));
  }
}

TEST(PosixErrorCodeTest, AFullDeviceIsDiskFull) {
  EXPECT_EQ(platform::posix::WindowsCode(ENOSPC), err::kDiskFull);
}

TEST_F(PosixOsTest, CopyThatFailsWhileReadingLeavesNoTarget) {
  // Reading this process's memory at offset 0 fails with EIO.
  EXPECT_EQ(os_.CopyNew(u"/proc/self/mem", dir_.Path(u"copy.dat")), err::kIoDevice);
  EXPECT_FALSE(dir_.Exists(u"copy.dat"));
}

TEST_F(PosixOsTest, CopyCarriesPermissionBits) {
  dir_.WriteBytes(u"tool.sh", "#!/bin/sh\n");
  namespace fs = std::filesystem;
  fs::permissions(dir_.Native(u"tool.sh"), fs::perms::owner_all | fs::perms::group_read);
  ASSERT_EQ(os_.CopyNew(dir_.Path(u"tool.sh"), dir_.Path(u"copy.sh")), err::kSuccess);
  EXPECT_EQ(fs::status(dir_.Native(u"copy.sh")).permissions(),
            fs::perms::owner_all | fs::perms::group_read);
}

TEST(PosixCodePageTest, UndefinedBytesKeepTheirValue) {
  PosixOs os(1250);
  EXPECT_EQ(os.AnsiToText("\x81\x83\x88\x90\x98"), u"\u0081\u0083\u0088\u0090\u0098");
}

TEST(PosixCodePageTest, CodePagesOtherThanTheDefault) {
  PosixOs western(1252);
  EXPECT_EQ(western.AnsiToText("\x80\xE9"), u"€é");
  EXPECT_EQ(western.TextToAnsi(u"€éł"), "\x80\xE9?");

  PosixOs utf8(65001);
  EXPECT_EQ(utf8.AnsiToText("\xC5\x82"), u"ł");
  EXPECT_EQ(utf8.TextToAnsi(u"ł"), "\xC5\x82");

  // A code page iconv does not know reads bytes as their own code points.
  PosixOs unknown(59999);
  EXPECT_EQ(unknown.AnsiCodePage(), 59999u);
  EXPECT_EQ(unknown.AnsiToText("a\xB3\xFF"), u"a\u00B3\u00FF");
  EXPECT_EQ(unknown.TextToAnsi(u"a\u00B3ł"), "a\xB3?");
}

TEST(PosixCodePageTest, CharacterOutsideTheBasicPlaneIsOneDefaultCharacter) {
  PosixOs os(1250);
  EXPECT_EQ(os.TextToAnsi(u"a\U0001F600b\xD800"), "a?b?");
}

// Sets LC_ALL for one test and restores it.
class LocaleEnvironment {
 public:
  explicit LocaleEnvironment(const char* value) {
    if (const char* old = std::getenv("LC_ALL")) saved_ = old;
    setenv("LC_ALL", value, 1);
  }
  ~LocaleEnvironment() {
    if (saved_) {
      setenv("LC_ALL", saved_->c_str(), 1);
    } else {
      unsetenv("LC_ALL");
    }
  }
  LocaleEnvironment(const LocaleEnvironment&) = delete;
  LocaleEnvironment& operator=(const LocaleEnvironment&) = delete;

 private:
  std::optional<std::string> saved_;
};

TEST(PosixDecimalSymbolTest, ComesFromTheEnvironmentsLocale) {
  PosixOs os;
  {
    LocaleEnvironment c("C.UTF-8");
    EXPECT_EQ(os.DecimalSymbol(), u".");
  }
  {
    LocaleEnvironment missing("xx_XX.NOSUCHCHARSET");
    EXPECT_EQ(os.DecimalSymbol(), std::nullopt);
  }
}

TEST(PosixDecimalSymbolTest, PolishLocaleGivesComma) {
  PosixOs os;
  LocaleEnvironment polish("pl_PL.UTF-8");
  const locale_t installed = newlocale(LC_NUMERIC_MASK, "", locale_t{});
  if (installed == locale_t{}) GTEST_SKIP() << "pl_PL.UTF-8 is not installed";
  freelocale(installed);
  EXPECT_EQ(os.DecimalSymbol(), u",");
}

TEST(PosixErrorTextTest, WindowsTextsWithTheirLineBreak) {
  PosixOs os;
  EXPECT_EQ(os.ErrorText(err::kFileNotFound), u"The system cannot find the file specified.\r\n");
  EXPECT_EQ(os.ErrorText(err::kAccessDenied), u"Access is denied.\r\n");
  EXPECT_EQ(os.ErrorText(err::kSharingViolation),
            u"The process cannot access the file because it is being used by another "
            u"process.\r\n");
  EXPECT_EQ(os.ErrorText(987654), u"Unknown error 987654.\r\n");
}

}  // namespace
