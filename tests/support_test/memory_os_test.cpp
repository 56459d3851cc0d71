// The run fuzz target trusts the in-memory drive to read names and refuse
// operations as Windows does; these are the facts its invariants lean on.
#include "support/memory_os.h"

#include <gtest/gtest.h>

#include "platform/utf8.h"

namespace {

using platform::EntryInfo;
using platform::FileHandle;
using testing_support::MemoryOs;
namespace err = platform::err;

class MemoryOsTest : public ::testing::Test {
 protected:
  MemoryOsTest() {
    os_.PutFile(u"C:\\zetka\\Firma\\BAZA.REK", "baza");
    os_.PutFile(u"C:\\zetka\\readonly.dat", "ro", true);
  }
  MemoryOs os_;
};

TEST_F(MemoryOsTest, ReadsNamesAsWin32Does) {
  const struct {
    std::u16string_view name;
    std::uint32_t code;
    bool directory;
  } cases[] = {
      {u"c:/ZETKA/firma/baza.rek", err::kSuccess, false},
      {u"C:\\zetka\\\\Firma\\.\\..\\Firma\\BAZA.REK", err::kSuccess, false},
      {u"C:\\zetka\\Firma.\\BAZA.REK. .", err::kSuccess, false},
      {u"zetka\\Firma", err::kSuccess, true},
      {u"\\zetka", err::kSuccess, true},
      {u"C:\\..\\..\\zetka", err::kSuccess, true},
      {u"C:\\zetka\\Firma\\BRAK.REK", err::kFileNotFound, false},
      {u"C:\\zetka\\Brak\\BAZA.REK", err::kPathNotFound, false},
      {u"C:\\zetka\\Firma\\BAZA.REK\\x", err::kPathNotFound, false},
      {u"C:\\zetka\\Firma\\*.REK", err::kInvalidName, false},
      {u"C:\\zetka\\Fir:ma", err::kInvalidName, false},
      {u"C:\\zetka\\Firma\\NUL", err::kInvalidName, false},
      {u"\\\\server\\share\\zetka", 53, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::TextToUtf8(c.name));
    EntryInfo info;
    EXPECT_EQ(os_.Attributes(c.name, info), c.code);
    if (c.code == err::kSuccess) {
      EXPECT_EQ(info.isDirectory, c.directory);
    }
  }
}

TEST_F(MemoryOsTest, RefusesAsWindowsDoes) {
  FileHandle shared = 0, exclusive = 0, other = 0;
  EXPECT_EQ(os_.OpenExisting(u"C:\\zetka\\readonly.dat", other), err::kAccessDenied);
  EXPECT_EQ(os_.OpenExisting(u"C:\\zetka\\Firma", other), err::kAccessDenied);
  ASSERT_EQ(os_.OpenExisting(u"C:\\zetka\\Firma\\BAZA.REK", shared), err::kSuccess);
  // A file open with sharing is neither moved nor created anew.
  EXPECT_EQ(os_.Move(u"C:\\zetka\\Firma\\BAZA.REK", u"C:\\zetka\\x"), err::kSharingViolation);
  EXPECT_EQ(os_.CreateAlways(u"C:\\zetka\\Firma\\BAZA.REK", other), err::kSharingViolation);
  EXPECT_EQ(os_.Close(shared), err::kSuccess);
  // One created anew shares nothing while open.
  ASSERT_EQ(os_.CreateAlways(u"C:\\zetka\\log.txt", exclusive), err::kSuccess);
  EXPECT_EQ(os_.OpenExisting(u"C:\\zetka\\log.txt", other), err::kSharingViolation);
  EXPECT_EQ(os_.CopyNew(u"C:\\zetka\\log.txt", u"C:\\zetka\\copy.txt"), err::kSharingViolation);
  EXPECT_EQ(os_.Close(exclusive), err::kSuccess);
  EXPECT_EQ(os_.OpenHandles(), 0u);
  // Moves and copies never replace.
  EXPECT_EQ(os_.Move(u"C:\\zetka\\log.txt", u"c:\\ZETKA\\READONLY.DAT"), err::kAlreadyExists);
  EXPECT_EQ(os_.CopyNew(u"C:\\zetka\\log.txt", u"C:\\zetka\\readonly.dat"), err::kFileExists);
  EXPECT_EQ(os_.CopyNew(u"C:\\zetka\\log.txt", u"C:\\brak\\log.txt"), err::kPathNotFound);
  EXPECT_EQ(os_.Move(u"C:\\zetka\\Firma", u"C:\\inna"), err::kSuccess);
  EXPECT_EQ(os_.FileBytes(u"C:\\inna\\baza.rek"), "baza");
  EXPECT_EQ(os_.FileBytes(u"C:\\zetka\\Firma\\BAZA.REK"), std::nullopt);
}

TEST_F(MemoryOsTest, ConvertsWithCodePage1250) {
  EXPECT_EQ(os_.AnsiToText("Pi\xB3ka \x8C\x9F\xA5"), u"Piłka ŚźĄ");
  EXPECT_EQ(os_.TextToAnsi(u"Piłka ŚźĄ \u4E00"), "Pi\xB3ka \x8C\x9F\xA5 ?");
}

}  // namespace
