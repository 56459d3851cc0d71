// What the program relies on from the OS layer, asserted against every layer:
// the system's (the POSIX one natively, the Win32 one under Windows or Wine),
// the in-memory drive of the fuzz targets, and the preview's overlay over
// either. Only what both systems do alike is asserted here; what a layer does
// not claim is skipped for that layer alone (see LayerUnderTest::Limits).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/os.h"
#include "platform/utf8.h"
#include "support/os_layers.h"

namespace {

using platform::EntryInfo;
using platform::FileHandle;
using platform::FileIdentity;
using platform::SeekOrigin;
namespace err = platform::err;

constexpr std::uint32_t kNegativeSeek = 131;

// Closes at scope end what a test left open, so a failed assertion cannot
// keep a file busy while the temporary directory is removed.
class ScopedHandle {
 public:
  explicit ScopedHandle(platform::Os& os) : os_(os) {}
  ~ScopedHandle() {
    if (handle_ != 0) os_.Close(handle_);
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;

  FileHandle& handle() { return handle_; }
  std::uint32_t Close() {
    const auto code = os_.Close(handle_);
    handle_ = 0;
    return code;
  }

 private:
  platform::Os& os_;
  FileHandle handle_ = 0;
};

class OsContractTest : public ::testing::TestWithParam<testing_support::LayerKind> {
 protected:
  void SetUp() override {
    dir_.WriteBytes(u"file.dat", "abcdef");
    dir_.WriteBytes(u"readonly.dat", "keep me");
    dir_.SetReadOnly(u"readonly.dat");
    dir_.MakeDir(u"sub");
    dir_.WriteBytes(u"sub\\inner.dat", "inner");
    dir_.MakeDir(u"other");
  }
  void TearDown() override { EXPECT_EQ(dir_.Misdeeds(), ""); }

  std::uint32_t Write(FileHandle handle, std::string_view bytes) {
    std::uint32_t done = 0;
    const auto code =
        os_->Write(handle, bytes.data(), static_cast<std::uint32_t>(bytes.size()), done);
    EXPECT_EQ(done, code == err::kSuccess ? bytes.size() : 0u);
    return code;
  }

  std::string Read(FileHandle handle, std::uint32_t size) {
    std::string bytes(size, '\0');
    std::uint32_t done = 0;
    EXPECT_EQ(os_->Read(handle, bytes.data(), size, done), err::kSuccess);
    bytes.resize(std::min(done, size));
    return bytes;
  }

  std::uint32_t SeekTo(FileHandle handle, std::int32_t distance, SeekOrigin origin) {
    std::uint32_t position = 0;
    EXPECT_EQ(os_->Seek(handle, distance, origin, position), err::kSuccess);
    return position;
  }

  std::uint32_t SizeOf(FileHandle handle) {
    std::uint32_t size = 0;
    EXPECT_EQ(os_->Size(handle, size), err::kSuccess);
    return size;
  }

  std::unique_ptr<testing_support::LayerUnderTest> layer_ = GetParam().make();
  testing_support::LayerUnderTest& dir_ = *layer_;
  platform::Os* os_ = &layer_->Os();
};

struct NameCase {
  std::u16string_view name;
  std::uint32_t code;
};

std::string Describe(std::u16string_view name) { return platform::TextToUtf8(name); }

// --- opening ---

TEST_P(OsContractTest, OpenExistingRefusesWhatItCannotOpen) {
  const NameCase cases[] = {
      {u"missing.dat", err::kFileNotFound}, {u"nodir\\missing.dat", err::kPathNotFound},
      {u"sub", err::kAccessDenied},         {u"readonly.dat", err::kAccessDenied},
      {u"wild*.dat", err::kInvalidName},    {u"file.da?", err::kInvalidName},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Describe(c.name));
    FileHandle handle = 0;
    const auto code = os_->OpenExisting(dir_.Path(c.name), handle);
    EXPECT_EQ(code, c.code);
    if (code == err::kSuccess) os_->Close(handle);
  }
  EXPECT_FALSE(dir_.Exists(u"missing.dat"));
  EXPECT_EQ(dir_.ReadBytes(u"readonly.dat"), "keep me");
}

TEST_P(OsContractTest, OpenExistingWritesInPlaceWithoutTruncating) {
  ScopedHandle file(*os_);
  ASSERT_EQ(os_->OpenExisting(dir_.Path(u"file.dat"), file.handle()), err::kSuccess);
  EXPECT_EQ(SizeOf(file.handle()), 6u);
  EXPECT_EQ(Write(file.handle(), "XY"), err::kSuccess);
  EXPECT_EQ(file.Close(), err::kSuccess);
  EXPECT_EQ(dir_.ReadBytes(u"file.dat"), "XYcdef");
}

TEST_P(OsContractTest, OpenForReadingReadsReadOnlyFilesAndRefusesWrites) {
  const NameCase refused[] = {
      {u"missing.dat", err::kFileNotFound},
      {u"nodir\\missing.dat", err::kPathNotFound},
      {u"sub", err::kAccessDenied},
      {u"wild*.dat", err::kInvalidName},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(Describe(c.name));
    FileHandle handle = 0;
    const auto code = os_->OpenForReading(dir_.Path(c.name), handle);
    EXPECT_EQ(code, c.code);
    if (code == err::kSuccess) os_->Close(handle);
  }
  for (const std::u16string_view name : {u"readonly.dat", u"file.dat"}) {
    SCOPED_TRACE(Describe(name));
    const std::string before = dir_.ReadBytes(name);
    ScopedHandle file(*os_);
    ASSERT_EQ(os_->OpenForReading(dir_.Path(name), file.handle()), err::kSuccess);
    EXPECT_EQ(Read(file.handle(), 64), before);
    ASSERT_EQ(SeekTo(file.handle(), 0, SeekOrigin::kBegin), 0u);
    EXPECT_EQ(Write(file.handle(), "XY"), err::kAccessDenied);
    EXPECT_EQ(file.Close(), err::kSuccess);
    EXPECT_EQ(dir_.ReadBytes(name), before);
  }
  // A reader does not keep a writer out, as the copy's checks need.
  ScopedHandle reader(*os_), writer(*os_);
  ASSERT_EQ(os_->OpenForReading(dir_.Path(u"file.dat"), reader.handle()), err::kSuccess);
  EXPECT_EQ(os_->OpenExisting(dir_.Path(u"file.dat"), writer.handle()), err::kSuccess);
}

TEST_P(OsContractTest, DoubledSeparatorIsOneSeparator) {
  ScopedHandle file(*os_);
  ASSERT_EQ(os_->OpenExisting(dir_.Path(u"sub\\\\inner.dat"), file.handle()), err::kSuccess);
  EXPECT_EQ(Read(file.handle(), 16), "inner");
}

TEST_P(OsContractTest, NamesOutsideAsciiAreTheNamesOnDisk) {
  // Wine stores such names only when the host has the locale it runs under.
  try {
    dir_.MakeDir(u"Księgi");
  } catch (const std::exception& e) {
    GTEST_SKIP() << "this system cannot store a non-ASCII name: " << e.what();
  }
  const std::u16string_view name = u"Księgi\\Zażółć gęślą.dat";
  ScopedHandle created(*os_);
  ASSERT_EQ(os_->CreateAlways(dir_.Path(name), created.handle()), err::kSuccess);
  EXPECT_EQ(Write(created.handle(), "pl"), err::kSuccess);
  EXPECT_EQ(created.Close(), err::kSuccess);
  EXPECT_TRUE(dir_.Exists(name));

  ScopedHandle opened(*os_);
  ASSERT_EQ(os_->OpenExisting(dir_.Path(name), opened.handle()), err::kSuccess);
  EXPECT_EQ(Read(opened.handle(), 16), "pl");
}

// --- reading, writing, positioning ---

TEST_P(OsContractTest, ReadWriteSeekAndSizeRoundTrip) {
  ScopedHandle file(*os_);
  ASSERT_EQ(os_->CreateAlways(dir_.Path(u"new.dat"), file.handle()), err::kSuccess);
  const FileHandle h = file.handle();
  EXPECT_EQ(SizeOf(h), 0u);
  EXPECT_EQ(Write(h, "hello world"), err::kSuccess);
  EXPECT_EQ(SizeOf(h), 11u);
  EXPECT_EQ(SeekTo(h, 0, SeekOrigin::kCurrent), 11u);

  EXPECT_EQ(SeekTo(h, 0, SeekOrigin::kBegin), 0u);
  EXPECT_EQ(Read(h, 5), "hello");
  EXPECT_EQ(SeekTo(h, 1, SeekOrigin::kCurrent), 6u);
  // The end of the file cuts a read short without failing it.
  EXPECT_EQ(Read(h, 100), "world");
  EXPECT_EQ(Read(h, 100), "");
  EXPECT_EQ(SeekTo(h, -5, SeekOrigin::kCurrent), 6u);

  // Before the start is refused and the pointer stays.
  std::uint32_t position = 0;
  EXPECT_EQ(os_->Seek(h, -1, SeekOrigin::kBegin, position), kNegativeSeek);
  EXPECT_EQ(os_->Seek(h, -7, SeekOrigin::kCurrent, position), kNegativeSeek);
  EXPECT_EQ(SeekTo(h, 0, SeekOrigin::kCurrent), 6u);

  // Past the end is allowed; a write there extends the file with zeros.
  EXPECT_EQ(SeekTo(h, 13, SeekOrigin::kBegin), 13u);
  EXPECT_EQ(SizeOf(h), 11u);
  EXPECT_EQ(Write(h, "!"), err::kSuccess);
  EXPECT_EQ(SizeOf(h), 14u);
  EXPECT_EQ(file.Close(), err::kSuccess);
  EXPECT_EQ(dir_.ReadBytes(u"new.dat"), std::string("hello world\0\0!", 14));
}

TEST_P(OsContractTest, ReadOfEmptyFileGivesNothing) {
  dir_.WriteBytes(u"empty.dat", "");
  ScopedHandle file(*os_);
  ASSERT_EQ(os_->OpenExisting(dir_.Path(u"empty.dat"), file.handle()), err::kSuccess);
  EXPECT_EQ(SizeOf(file.handle()), 0u);
  EXPECT_EQ(Read(file.handle(), 512), "");
}

// --- creating ---

TEST_P(OsContractTest, CreateAlwaysCreatesANewFile) {
  ScopedHandle file(*os_);
  ASSERT_EQ(os_->CreateAlways(dir_.Path(u"sub\\created.dat"), file.handle()), err::kSuccess);
  EXPECT_EQ(Write(file.handle(), "log"), err::kSuccess);
  EXPECT_EQ(file.Close(), err::kSuccess);
  EXPECT_EQ(dir_.ReadBytes(u"sub\\created.dat"), "log");
}

TEST_P(OsContractTest, CreateAlwaysTruncatesAnExistingFile) {
  ScopedHandle file(*os_);
  ASSERT_EQ(os_->CreateAlways(dir_.Path(u"file.dat"), file.handle()), err::kSuccess);
  EXPECT_EQ(SizeOf(file.handle()), 0u);
  EXPECT_EQ(Write(file.handle(), "z"), err::kSuccess);
  EXPECT_EQ(file.Close(), err::kSuccess);
  EXPECT_EQ(dir_.ReadBytes(u"file.dat"), "z");
}

TEST_P(OsContractTest, CreateAlwaysRefusalsLeaveEverythingAsItWas) {
  const NameCase cases[] = {
      {u"readonly.dat", err::kAccessDenied},
      {u"sub", err::kAccessDenied},
      {u"nodir\\new.dat", err::kPathNotFound},
      {u"new*.dat", err::kInvalidName},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Describe(c.name));
    FileHandle handle = 0;
    const auto code = os_->CreateAlways(dir_.Path(c.name), handle);
    EXPECT_EQ(code, c.code);
    if (code == err::kSuccess) os_->Close(handle);
  }
  EXPECT_EQ(dir_.ReadBytes(u"readonly.dat"), "keep me");
  EXPECT_EQ(dir_.ReadBytes(u"sub\\inner.dat"), "inner");
  EXPECT_FALSE(dir_.Exists(u"nodir"));
}

// --- existence ---

struct EntryCase {
  std::u16string_view name;
  std::uint32_t code;
  bool isDirectory;
  bool readOnly = false;
};

TEST_P(OsContractTest, AttributesTellFilesDirectoriesAndMissingEntries) {
  const EntryCase cases[] = {
      {u"file.dat", err::kSuccess, false},
      {u"readonly.dat", err::kSuccess, false, true},
      {u"sub\\\\inner.dat", err::kSuccess, false},
      {u"sub", err::kSuccess, true},
      {u"sub\\", err::kSuccess, true},
      {u"missing.dat", err::kFileNotFound, false},
      {u"nodir\\missing.dat", err::kPathNotFound, false},
      {u"file*", err::kInvalidName, false},
      {u"file.da?", err::kInvalidName, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Describe(c.name));
    EntryInfo info;
    info.isDirectory = !c.isDirectory;
    ASSERT_EQ(os_->Attributes(dir_.Path(c.name), info), c.code);
    if (c.code == err::kSuccess) {
      EXPECT_EQ(info.isDirectory, c.isDirectory);
      // A directory's read-only attribute means nothing to the program.
      if (!c.isDirectory) {
        EXPECT_EQ(info.readOnly, c.readOnly);
      }
    }
  }
}

TEST_P(OsContractTest, FindFirstFindsTheEntryItself) {
  const EntryCase cases[] = {
      {u"file.dat", err::kSuccess, false},
      {u"sub", err::kSuccess, true},
      {u"missing.dat", err::kFileNotFound, false},
      {u"nodir\\missing.dat", err::kPathNotFound, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Describe(c.name));
    EntryInfo info;
    info.isDirectory = !c.isDirectory;
    ASSERT_EQ(os_->FindFirst(dir_.Path(c.name), info), c.code);
    if (c.code == err::kSuccess) {
      EXPECT_EQ(info.isDirectory, c.isDirectory);
    }
  }
  // A wildcard that matches nothing finds nothing (systems differ on the code).
  EntryInfo info;
  EXPECT_NE(os_->FindFirst(dir_.Path(u"nothing*.dat"), info), err::kSuccess);
}

TEST_P(OsContractTest, IdentityIsTheSameWhateverTheTextThatReachesIt) {
  const auto identityOf = [&](std::u16string_view relative) {
    FileIdentity identity;
    EXPECT_EQ(os_->Identity(dir_.Path(relative), identity), err::kSuccess) << Describe(relative);
    return identity;
  };
  EXPECT_EQ(identityOf(u"sub"), identityOf(u"sub\\"));
  EXPECT_EQ(identityOf(u"sub\\inner.dat"), identityOf(u"sub\\\\inner.dat"));
  EXPECT_NE(identityOf(u"sub"), identityOf(u"other"));
  EXPECT_NE(identityOf(u"file.dat"), identityOf(u"readonly.dat"));

  FileIdentity identity;
  EXPECT_EQ(os_->Identity(dir_.Path(u"missing"), identity), err::kFileNotFound);
  EXPECT_EQ(os_->Identity(dir_.Path(u"nodir\\missing"), identity), err::kPathNotFound);
}

// Cut at its NUL, each name here would reach file.dat, sub or new.dat.
TEST_P(OsContractTest, ANameHoldingANulIsInvalidForEveryCall) {
  const auto withNul = [&](std::u16string_view relative) {
    return dir_.Path(relative) + u'\0' + u"\\x";
  };
  FileHandle handle = 0;
  EntryInfo info;
  FileIdentity identity;
  EXPECT_EQ(os_->OpenExisting(withNul(u"file.dat"), handle), err::kInvalidName);
  EXPECT_EQ(os_->CreateAlways(withNul(u"file.dat"), handle), err::kInvalidName);
  EXPECT_EQ(os_->CreateAlways(withNul(u"new.dat"), handle), err::kInvalidName);
  EXPECT_EQ(handle, 0u);
  EXPECT_EQ(os_->Attributes(withNul(u"file.dat"), info), err::kInvalidName);
  EXPECT_EQ(os_->FindFirst(withNul(u"file.dat"), info), err::kInvalidName);
  EXPECT_EQ(os_->Identity(withNul(u"sub"), identity), err::kInvalidName);
  EXPECT_EQ(os_->Move(withNul(u"file.dat"), dir_.Path(u"moved.dat")), err::kInvalidName);
  EXPECT_EQ(os_->Move(dir_.Path(u"file.dat"), withNul(u"new.dat")), err::kInvalidName);
  EXPECT_EQ(os_->CopyNew(withNul(u"file.dat"), dir_.Path(u"copy.dat")), err::kInvalidName);
  EXPECT_EQ(os_->CopyNew(dir_.Path(u"file.dat"), withNul(u"new.dat")), err::kInvalidName);
  EXPECT_EQ(dir_.ReadBytes(u"file.dat"), "abcdef");
  EXPECT_FALSE(dir_.Exists(u"new.dat"));
  EXPECT_FALSE(dir_.Exists(u"moved.dat"));
  EXPECT_FALSE(dir_.Exists(u"copy.dat"));
}

// A device reached through a file name would be opened, read or written
// instead of a file: every call refuses such a name, and names that only
// resemble one stay ordinary names.
TEST_P(OsContractTest, ADeviceNameIsInvalidForEveryCall) {
  const std::u16string devices[] = {
      dir_.Path(u"NUL"),     dir_.Path(u"con"),
      dir_.Path(u"COM1"),    dir_.Path(u"aux.txt"),
      dir_.Path(u"Lpt9 "),   dir_.Path(u"PRN\\"),
      dir_.Path(u"CONOUT$"), dir_.Path(u"nul:stream"),
      u"\\\\.\\NUL",         u"\\\\?\\" + dir_.Path(u"file.dat"),
  };
  for (const auto& device : devices) {
    SCOPED_TRACE(platform::TextToUtf8(device));
    FileHandle handle = 0;
    EntryInfo info;
    FileIdentity identity;
    EXPECT_EQ(os_->OpenExisting(device, handle), err::kInvalidName);
    EXPECT_EQ(os_->CreateAlways(device, handle), err::kInvalidName);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(os_->Attributes(device, info), err::kInvalidName);
    EXPECT_EQ(os_->FindFirst(device, info), err::kInvalidName);
    EXPECT_EQ(os_->Identity(device, identity), err::kInvalidName);
    EXPECT_EQ(os_->Move(dir_.Path(u"file.dat"), device), err::kInvalidName);
    EXPECT_EQ(os_->CopyNew(dir_.Path(u"file.dat"), device), err::kInvalidName);
    EXPECT_EQ(os_->CopyNew(device, dir_.Path(u"copy.dat")), err::kInvalidName);
  }
  EXPECT_EQ(dir_.ReadBytes(u"file.dat"), "abcdef");
  EXPECT_FALSE(dir_.Exists(u"copy.dat"));
  for (const auto* ordinary : {u"NULL.dat", u"COM10", u"CONFIG", u"xAUX"}) {
    ScopedHandle created(*os_);
    EXPECT_EQ(os_->CreateAlways(dir_.Path(ordinary), created.handle()), err::kSuccess)
        << platform::TextToUtf8(ordinary);
  }
}

// --- moving ---

TEST_P(OsContractTest, MoveRenames) {
  ASSERT_EQ(os_->Move(dir_.Path(u"file.dat"), dir_.Path(u"file.dat.old")), err::kSuccess);
  EXPECT_FALSE(dir_.Exists(u"file.dat"));
  EXPECT_EQ(dir_.ReadBytes(u"file.dat.old"), "abcdef");
}

TEST_P(OsContractTest, MoveRefusalsChangeNothing) {
  struct MoveCase {
    std::u16string_view from;
    std::u16string_view to;
    std::uint32_t code;
  };
  const MoveCase cases[] = {
      {u"file.dat", u"readonly.dat", err::kAlreadyExists},
      {u"file.dat", u"sub", err::kAlreadyExists},
      {u"missing.dat", u"new.dat", err::kFileNotFound},
      {u"nodir\\missing.dat", u"new.dat", err::kPathNotFound},
      {u"file.dat", u"nodir\\new.dat", err::kPathNotFound},
      {u"file.dat", u"new*.dat", err::kInvalidName},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Describe(c.from) + " -> " + Describe(c.to));
    EXPECT_EQ(os_->Move(dir_.Path(c.from), dir_.Path(c.to)), c.code);
  }
  EXPECT_EQ(dir_.ReadBytes(u"file.dat"), "abcdef");
  EXPECT_EQ(dir_.ReadBytes(u"readonly.dat"), "keep me");
  EXPECT_EQ(dir_.ReadBytes(u"sub\\inner.dat"), "inner");
  EXPECT_FALSE(dir_.Exists(u"new.dat"));
  EXPECT_FALSE(dir_.Exists(u"nodir"));
}

// --- copying ---

TEST_P(OsContractTest, CopyNewCopiesTheBytes) {
  std::string bytes(70000, '\0');  // more than one buffer of any sensible size
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 % 251);
  dir_.WriteBytes(u"big.dat", bytes);
  ASSERT_EQ(os_->CopyNew(dir_.Path(u"big.dat"), dir_.Path(u"other\\big.dat")), err::kSuccess);
  EXPECT_EQ(dir_.ReadBytes(u"other\\big.dat"), bytes);
  EXPECT_EQ(dir_.ReadBytes(u"big.dat"), bytes);
}

TEST_P(OsContractTest, CopyNewCarriesTheReadOnlyAttribute) {
  ASSERT_EQ(os_->CopyNew(dir_.Path(u"readonly.dat"), dir_.Path(u"copy.dat")), err::kSuccess);
  EXPECT_EQ(dir_.ReadBytes(u"copy.dat"), "keep me");
  FileHandle handle = 0;
  EXPECT_EQ(os_->OpenExisting(dir_.Path(u"copy.dat"), handle), err::kAccessDenied);
}

TEST_P(OsContractTest, CopyNewRefusalsLeaveNoTarget) {
  struct CopyCase {
    std::u16string_view from;
    std::u16string_view to;
    std::uint32_t code;
  };
  const CopyCase cases[] = {
      {u"file.dat", u"readonly.dat", err::kFileExists},
      {u"file.dat", u"sub\\inner.dat", err::kFileExists},
      {u"missing.dat", u"new.dat", err::kFileNotFound},
      {u"missing.dat", u"readonly.dat", err::kFileNotFound},
      {u"nodir\\missing.dat", u"new.dat", err::kPathNotFound},
      {u"file.dat", u"nodir\\new.dat", err::kPathNotFound},
      {u"sub", u"new.dat", err::kAccessDenied},
      {u"file.dat", u"new?.dat", err::kInvalidName},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Describe(c.from) + " -> " + Describe(c.to));
    EXPECT_EQ(os_->CopyNew(dir_.Path(c.from), dir_.Path(c.to)), c.code);
  }
  EXPECT_EQ(dir_.ReadBytes(u"readonly.dat"), "keep me");
  EXPECT_EQ(dir_.ReadBytes(u"sub\\inner.dat"), "inner");
  EXPECT_FALSE(dir_.Exists(u"new.dat"));
  EXPECT_FALSE(dir_.Exists(u"nodir"));
}

// --- one step after another ---

// A later step of a run sees what an earlier one did: the bytes written, the
// new name, the copy, the removal.
TEST_P(OsContractTest, LaterCallsSeeWhatEarlierOnesDid) {
  ScopedHandle written(*os_);
  ASSERT_EQ(os_->OpenExisting(dir_.Path(u"file.dat"), written.handle()), err::kSuccess);
  EXPECT_EQ(Write(written.handle(), "XY"), err::kSuccess);
  EXPECT_EQ(written.Close(), err::kSuccess);
  ASSERT_EQ(os_->Move(dir_.Path(u"file.dat"), dir_.Path(u"moved.dat")), err::kSuccess);
  ASSERT_EQ(os_->CopyNew(dir_.Path(u"moved.dat"), dir_.Path(u"other\\copy.dat")), err::kSuccess);
  EXPECT_EQ(os_->Remove(dir_.Path(u"moved.dat")), err::kSuccess);

  EntryInfo info;
  EXPECT_EQ(os_->Attributes(dir_.Path(u"file.dat"), info), err::kFileNotFound);
  EXPECT_EQ(os_->Attributes(dir_.Path(u"moved.dat"), info), err::kFileNotFound);
  EXPECT_EQ(os_->FindFirst(dir_.Path(u"moved.dat"), info), err::kFileNotFound);
  FileHandle handle = 0;
  EXPECT_EQ(os_->OpenExisting(dir_.Path(u"moved.dat"), handle), err::kFileNotFound);
  ScopedHandle copy(*os_);
  ASSERT_EQ(os_->OpenExisting(dir_.Path(u"other\\copy.dat"), copy.handle()), err::kSuccess);
  EXPECT_EQ(Read(copy.handle(), 16), "XYcdef");
  EXPECT_EQ(copy.Close(), err::kSuccess);
  // The name is free again: a new file takes it.
  ScopedHandle created(*os_);
  ASSERT_EQ(os_->CreateAlways(dir_.Path(u"file.dat"), created.handle()), err::kSuccess);
  EXPECT_EQ(SizeOf(created.handle()), 0u);
  EXPECT_EQ(created.Close(), err::kSuccess);

  EXPECT_EQ(dir_.ReadBytes(u"other\\copy.dat"), "XYcdef");
  EXPECT_EQ(dir_.ReadBytes(u"file.dat"), "");
  EXPECT_FALSE(dir_.Exists(u"moved.dat"));
}

// Two handles of one file are one file: what one writes, the other reads at
// its own position.
TEST_P(OsContractTest, HandlesOfOneFileSeeEachOthersWrites) {
  ScopedHandle reader(*os_), writer(*os_);
  ASSERT_EQ(os_->OpenExisting(dir_.Path(u"file.dat"), reader.handle()), err::kSuccess);
  ASSERT_EQ(os_->OpenExisting(dir_.Path(u"file.dat"), writer.handle()), err::kSuccess);
  EXPECT_EQ(Read(reader.handle(), 2), "ab");
  EXPECT_EQ(SeekTo(writer.handle(), 2, SeekOrigin::kBegin), 2u);
  EXPECT_EQ(Write(writer.handle(), "CDEFGH"), err::kSuccess);
  EXPECT_EQ(SizeOf(reader.handle()), 8u);
  EXPECT_EQ(SeekTo(reader.handle(), 0, SeekOrigin::kCurrent), 2u);
  EXPECT_EQ(Read(reader.handle(), 16), "CDEFGH");
  EXPECT_EQ(writer.Close(), err::kSuccess);
  EXPECT_EQ(reader.Close(), err::kSuccess);
  EXPECT_EQ(dir_.ReadBytes(u"file.dat"), "abCDEFGH");
}

// A renamed file is the same file; a copy is another one.
TEST_P(OsContractTest, ARenamedFileKeepsItsIdentityACopyHasItsOwn) {
  FileIdentity before, moved, copy;
  ASSERT_EQ(os_->Identity(dir_.Path(u"file.dat"), before), err::kSuccess);
  ASSERT_EQ(os_->Move(dir_.Path(u"file.dat"), dir_.Path(u"moved.dat")), err::kSuccess);
  ASSERT_EQ(os_->CopyNew(dir_.Path(u"moved.dat"), dir_.Path(u"copy.dat")), err::kSuccess);
  ASSERT_EQ(os_->Identity(dir_.Path(u"moved.dat"), moved), err::kSuccess);
  ASSERT_EQ(os_->Identity(dir_.Path(u"copy.dat"), copy), err::kSuccess);
  EXPECT_EQ(moved, before);
  EXPECT_NE(copy, before);
  EXPECT_EQ(os_->Identity(dir_.Path(u"file.dat"), before), err::kFileNotFound);
}

// --- text ---

TEST_P(OsContractTest, ReplacePutsAFileInAnothersPlace) {
  dir_.WriteBytes(u"new.dat", "new");
  EXPECT_EQ(os_->Replace(dir_.Path(u"new.dat"), dir_.Path(u"file.dat")), err::kSuccess);
  EXPECT_EQ(dir_.ReadBytes(u"file.dat"), "new");
  EXPECT_FALSE(dir_.Exists(u"new.dat"));
  // Onto no file at all it is a rename.
  EXPECT_EQ(os_->Replace(dir_.Path(u"file.dat"), dir_.Path(u"moved.dat")), err::kSuccess);
  EXPECT_EQ(dir_.ReadBytes(u"moved.dat"), "new");
}

TEST_P(OsContractTest, ReplaceRefusalsChangeNothing) {
  dir_.WriteBytes(u"new.dat", "new");
  const struct {
    std::u16string from, to;
    std::uint32_t code;
  } cases[] = {
      {u"new.dat", u"readonly.dat", err::kAccessDenied},
      {u"new.dat", u"sub", err::kAccessDenied},
      {u"missing.dat", u"file.dat", err::kFileNotFound},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(os_->Replace(dir_.Path(c.from), dir_.Path(c.to)), c.code)
        << platform::TextToUtf8(c.to);
  }
  EXPECT_EQ(dir_.ReadBytes(u"new.dat"), "new");
  EXPECT_EQ(dir_.ReadBytes(u"readonly.dat"), "keep me");
  EXPECT_EQ(dir_.ReadBytes(u"sub\\inner.dat"), "inner");
  EXPECT_EQ(dir_.ReadBytes(u"file.dat"), "abcdef");
}

// The program removes only files of its own making; a copy of a read-only
// file is read-only too, and is removed all the same. Never a directory.
TEST_P(OsContractTest, RemoveTakesAFileReadOnlyOrNotAndNothingElse) {
  EXPECT_EQ(os_->Remove(dir_.Path(u"file.dat")), err::kSuccess);
  EXPECT_FALSE(dir_.Exists(u"file.dat"));
  EXPECT_EQ(os_->Remove(dir_.Path(u"readonly.dat")), err::kSuccess);
  EXPECT_FALSE(dir_.Exists(u"readonly.dat"));
  EXPECT_EQ(os_->Remove(dir_.Path(u"sub")), err::kAccessDenied);
  EXPECT_TRUE(dir_.Exists(u"sub\\inner.dat"));
  EXPECT_EQ(os_->Remove(dir_.Path(u"file.dat")), err::kFileNotFound);
  EXPECT_EQ(os_->Remove(dir_.Path(u"missing\\file.dat")), err::kPathNotFound);
}

TEST_P(OsContractTest, FlushTakesAnOpenFile) {
  ScopedHandle file(*os_);
  ASSERT_EQ(os_->CreateAlways(dir_.Path(u"new.dat"), file.handle()), err::kSuccess);
  EXPECT_EQ(Write(file.handle(), "abc"), err::kSuccess);
  EXPECT_EQ(os_->Flush(file.handle()), err::kSuccess);
  EXPECT_EQ(file.Close(), err::kSuccess);
  EXPECT_EQ(dir_.ReadBytes(u"new.dat"), "abc");
}

TEST_P(OsContractTest, AsciiRoundTripsInAnyCodePage) {
  std::string ascii;
  for (int c = 1; c < 0x80; ++c) ascii += static_cast<char>(c);
  const std::u16string text = os_->AnsiToText(ascii);
  EXPECT_EQ(text, std::u16string(ascii.begin(), ascii.end()));
  EXPECT_EQ(os_->TextToAnsi(text), ascii);
  EXPECT_EQ(os_->AnsiToText(""), u"");
  EXPECT_EQ(os_->TextToAnsi(u""), "");
}

TEST_P(OsContractTest, CentralEuropeanCodePage) {
  if (os_->AnsiCodePage() != 1250) GTEST_SKIP() << "code page " << os_->AnsiCodePage();
  EXPECT_EQ(os_->AnsiToText("\xB3\xB9\xEA\x8C\x80"), u"łąęŚ€");
  EXPECT_EQ(os_->TextToAnsi(u"Zażółć"), "Za\xBF\xF3\xB3\xE6");
  // What the code page lacks becomes "?", never a look-alike ("O" for "Ø").
  EXPECT_EQ(os_->TextToAnsi(u"x中y"), "x?y");
  EXPECT_EQ(os_->TextToAnsi(u"C:\\Ørsted\\Ā"), "C:\\?rsted\\?");
  // Every byte is one character and comes back as itself, the five bytes the
  // code page leaves undefined included.
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::u16string text = os_->AnsiToText(all);
  EXPECT_EQ(text.size(), 256u);
  EXPECT_EQ(os_->TextToAnsi(text), all);
}

TEST_P(OsContractTest, LowerCaseMapsLettersOfEveryScriptAlike) {
  if (dir_.limits.latinLowerCaseOnly) GTEST_SKIP() << "this layer folds Latin letters only";
  EXPECT_EQ(os_->LowerCase(u"KOPIA ŁĄCZNIK ĘŚĆŃŹŻÓ ÀÉÎÕÜ ΑΩΆ ДЖЁЇ Ǆ 1.EXE"),
            u"kopia łącznik ęśćńźżó àéîõü αωά джёї ǆ 1.exe");
  EXPECT_EQ(os_->LowerCase(u""), u"");
}

TEST_P(OsContractTest, ErrorTextsExistForTheCodesFilesGive) {
  for (const auto code : {err::kFileNotFound, err::kPathNotFound, err::kAccessDenied,
                          err::kSharingViolation, err::kDiskFull}) {
    EXPECT_FALSE(os_->ErrorText(code).empty()) << code;
  }
}

// --- process ---

TEST_P(OsContractTest, ExecutablePathNamesTheTestProgram) {
  if (dir_.limits.executableChosen) GTEST_SKIP() << "this layer's executable is the fixture's";
  const std::u16string path = os_->ExecutablePath();
  const auto separator = path.find_last_of(u"\\/");
  ASSERT_NE(separator, std::u16string::npos);
  std::string fileName = platform::TextToUtf8(path.substr(separator + 1));
  std::transform(fileName.begin(), fileName.end(), fileName.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  EXPECT_EQ(fileName.rfind("dopliki_tests", 0), 0u) << fileName;
}

INSTANTIATE_TEST_SUITE_P(Layers, OsContractTest,
                         ::testing::ValuesIn(testing_support::ContractLayers()),
                         [](const auto& layer) { return std::string(layer.param.name); });

}  // namespace
