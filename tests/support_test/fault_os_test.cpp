// The fault sweep trusts this wrapper to fail exactly the calls it was armed
// for and to leave no handle open when it fails a close.
#include "support/fault_os.h"

#include <gtest/gtest.h>

#include "platform/system_os.h"
#include "support/temp_dir.h"

namespace {

using platform::FileHandle;
namespace err = platform::err;

class FaultOsTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_.WriteBytes(u"file.dat", "abc"); }

  testing_support::TempDir dir_;
  std::unique_ptr<platform::Os> system_ = platform::MakeSystemOs();
  testing_support::FaultOs os_{*system_};
};

TEST_F(FaultOsTest, FailsOnlyTheNthCall) {
  os_.FailOnce(2);
  FileHandle handle = 0;
  ASSERT_EQ(os_.OpenExisting(dir_.Path(u"file.dat"), handle), err::kSuccess);
  char buffer[3];
  std::uint32_t done = 0;
  EXPECT_EQ(os_.Read(handle, buffer, 3, done), err::kIoDevice);
  EXPECT_EQ(os_.Read(handle, buffer, 3, done), err::kSuccess);
  EXPECT_EQ(done, 3u);
  EXPECT_EQ(os_.Close(handle), err::kSuccess);
  EXPECT_EQ(os_.Calls(), 4u);
  EXPECT_EQ(os_.FaultsFired(), 1u);
  EXPECT_EQ(os_.HandleFaultsFired(), 1u);
  EXPECT_EQ(os_.OpenHandles(), 0u);

  // A refused existence test is a fault, but not one of a file handle.
  os_.FailOnce(1);
  platform::EntryInfo info;
  EXPECT_EQ(os_.Attributes(dir_.Path(u"file.dat"), info), err::kAccessDenied);
  EXPECT_EQ(os_.FaultsFired(), 1u);
  EXPECT_EQ(os_.HandleFaultsFired(), 0u);
}

TEST_F(FaultOsTest, FailedCloseStillReleasesTheHandle) {
  FileHandle handle = 0;
  ASSERT_EQ(os_.CreateAlways(dir_.Path(u"file.dat"), handle), err::kSuccess);
  EXPECT_EQ(os_.OpenHandles(), 1u);
  os_.FailFrom(1);
  std::uint32_t done = 0;
  EXPECT_EQ(os_.Write(handle, "x", 1, done), err::kDiskFull);
  EXPECT_NE(os_.Close(handle), err::kSuccess);
  EXPECT_EQ(os_.FaultsFired(), 2u);
  EXPECT_EQ(os_.OpenHandles(), 0u);
  // The file was created unshared: only a released handle lets it open again.
  os_.Disarm();
  ASSERT_EQ(os_.OpenExisting(dir_.Path(u"file.dat"), handle), err::kSuccess);
  EXPECT_EQ(os_.Close(handle), err::kSuccess);
}

// A partial fault does part of the call's work before it reports failure.
TEST_F(FaultOsTest, PartialFaultsDoPartOfTheWork) {
  using Effect = testing_support::FaultOs::Effect;
  dir_.WriteBytes(u"long.dat", "abcdefgh");

  os_.FailOnce(1, Effect::kPartial);
  EXPECT_EQ(os_.CopyNew(dir_.Path(u"long.dat"), dir_.Path(u"copy.dat")), err::kDiskFull);
  EXPECT_EQ(dir_.ReadBytes(u"copy.dat"), "abcd");

  FileHandle handle = 0;
  ASSERT_EQ(os_.CreateAlways(dir_.Path(u"written.dat"), handle), err::kSuccess);
  os_.FailOnce(1, Effect::kPartial);
  std::uint32_t done = 0;
  EXPECT_EQ(os_.Write(handle, "123456", 6, done), err::kDiskFull);
  EXPECT_EQ(done, 3u);
  EXPECT_EQ(os_.Close(handle), err::kSuccess);
  EXPECT_EQ(dir_.ReadBytes(u"written.dat"), "123");

  os_.FailOnce(1, Effect::kPartial);
  EXPECT_NE(os_.Move(dir_.Path(u"copy.dat"), dir_.Path(u"moved.dat")), err::kSuccess);
  EXPECT_EQ(dir_.ReadBytes(u"moved.dat"), "abcd");
  os_.FailOnce(1, Effect::kPartial);
  EXPECT_NE(os_.Remove(dir_.Path(u"moved.dat")), err::kSuccess);
  EXPECT_FALSE(dir_.Exists(u"moved.dat"));

  // Without the effect, nothing happens.
  os_.FailOnce(1);
  EXPECT_NE(os_.Move(dir_.Path(u"long.dat"), dir_.Path(u"moved.dat")), err::kSuccess);
  EXPECT_TRUE(dir_.Exists(u"long.dat"));
  EXPECT_EQ(os_.OpenHandles(), 0u);
}

}  // namespace
