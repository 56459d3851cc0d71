// What only Windows' own file system shows through the system OS layer:
// sharing against another program's handle, and names that differ only in
// letter case or separators. Raw Win32 stands in for the other program.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/os.h"
#include "platform/system_os.h"
#include "support/temp_dir.h"
#include "win32/held_file.h"

namespace {

using platform::EntryInfo;
using platform::FileHandle;
using platform::FileIdentity;
using testing_support::Bytes;
using testing_support::HeldFile;
using testing_support::TempDir;
namespace err = platform::err;

const Bytes kOriginal = "original bytes";

class Win32FileSystemTest : public ::testing::Test {
 protected:
  // Closes what an open that was expected to fail opened after all.
  void CloseIfOpened(std::uint32_t code, FileHandle handle) {
    if (code == err::kSuccess) {
      EXPECT_EQ(os_->Close(handle), err::kSuccess);
    }
  }

  TempDir dir_;
  std::unique_ptr<platform::Os> os_ = platform::MakeSystemOs();
};

struct HolderCase {
  const char* label;
  DWORD access;
  DWORD share;
  std::uint32_t openExisting;
  std::uint32_t createAlways;
};

const HolderCase kHolderCases[] = {
    {"SharesOnlyReading", GENERIC_READ, FILE_SHARE_READ, err::kSharingViolation,
     err::kSharingViolation},
    {"SharesNothing", GENERIC_READ, 0, err::kSharingViolation, err::kSharingViolation},
    // A program that shares as the layer does (the bookkeeping program itself)
    // lets the layer in, but never a create that shares nothing.
    {"SharesReadingAndWriting", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
     err::kSuccess, err::kSharingViolation},
};

class Win32HeldFileTest : public Win32FileSystemTest,
                          public ::testing::WithParamInterface<HolderCase> {};

TEST_P(Win32HeldFileTest, OpensAsTheHoldersSharingAllowsAndTheFileStaysVisible) {
  const HolderCase& c = GetParam();
  dir_.WriteBytes(u"held.dat", kOriginal);
  const std::u16string name = dir_.Path(u"held.dat");
  {
    HeldFile holder(name, c.access, c.share);
    ASSERT_TRUE(holder.IsOpen());

    FileHandle handle = 0;
    const std::uint32_t opened = os_->OpenExisting(name, handle);
    EXPECT_EQ(opened, c.openExisting) << "OpenExisting";
    CloseIfOpened(opened, handle);
    const std::uint32_t created = os_->CreateAlways(name, handle);
    EXPECT_EQ(created, c.createAlways) << "CreateAlways";
    CloseIfOpened(created, handle);

    // A held file still exists for the existence test, by either of its steps.
    EntryInfo info;
    EXPECT_EQ(os_->Attributes(name, info), err::kSuccess);
    EXPECT_FALSE(info.isDirectory);
    EXPECT_EQ(os_->FindFirst(name, info), err::kSuccess);
    EXPECT_FALSE(info.isDirectory);
  }
  EXPECT_EQ(dir_.ReadBytes(u"held.dat"), kOriginal) << "a refused create must change nothing";
}

INSTANTIATE_TEST_SUITE_P(Holders, Win32HeldFileTest, ::testing::ValuesIn(kHolderCases),
                         [](const ::testing::TestParamInfo<HolderCase>& param) {
                           return std::string(param.param.label);
                         });

TEST_F(Win32FileSystemTest, MoveOfAFileInUseWithoutDeleteSharingIsRefused) {
  dir_.WriteBytes(u"BAZA.REK", kOriginal);
  {
    HeldFile holder(dir_.Path(u"BAZA.REK"), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(holder.IsOpen());
    EXPECT_EQ(os_->Move(dir_.Path(u"BAZA.REK"), dir_.Path(u"BAZA.REK.old")),
              err::kSharingViolation);
  }
  EXPECT_EQ(dir_.ReadBytes(u"BAZA.REK"), kOriginal);
  EXPECT_FALSE(dir_.Exists(u"BAZA.REK.old"));
}

TEST_F(Win32FileSystemTest, NamesDifferingInLetterCaseOrSeparatorReachTheSameEntry) {
  dir_.MakeDir(u"Firma");
  dir_.WriteBytes(u"Firma\\Data.DAT", kOriginal);

  FileIdentity file, sameFile, directory, sameDirectory;
  ASSERT_EQ(os_->Identity(dir_.Path(u"Firma\\Data.DAT"), file), err::kSuccess);
  ASSERT_EQ(os_->Identity(dir_.Path(u"FIRMA/data.dat"), sameFile), err::kSuccess);
  ASSERT_EQ(os_->Identity(dir_.Path(u"Firma"), directory), err::kSuccess);
  ASSERT_EQ(os_->Identity(dir_.Path(u"fIRMA/"), sameDirectory), err::kSuccess);
  EXPECT_EQ(file, sameFile);
  EXPECT_EQ(directory, sameDirectory);

  // The existence test and the open see the file under any case too.
  EntryInfo info;
  EXPECT_EQ(os_->Attributes(dir_.Path(u"firma\\DATA.dat"), info), err::kSuccess);
  FileHandle handle = 0;
  ASSERT_EQ(os_->OpenExisting(dir_.Path(u"FIRMA\\data.DAT"), handle), err::kSuccess);
  EXPECT_EQ(os_->Close(handle), err::kSuccess);
}

}  // namespace
