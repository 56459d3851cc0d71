#include "transfer/record_file.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/utf8.h"
#include "support/system.h"
#include "support/temp_dir.h"
#include "transfer/errors.h"

namespace {

using testing_support::Bytes;
using testing_support::SystemOs;
using testing_support::TempDir;
using transfer::EInOutError;
using transfer::RecordFile;

// Runs the action and returns the failure it raised.
EInOutError Failure(const std::function<void()>& action) {
  try {
    action();
  } catch (const EInOutError& e) {
    return e;
  }
  ADD_FAILURE() << "no EInOutError";
  return EInOutError(0, u"");
}

TEST(InOutMessage, FollowsTheCode) {
  const struct {
    std::int32_t code;
    std::u16string message;
  } cases[] = {
      {2, u"The specified file was not found"},
      {3, u"Invalid file name - c:\\x\\spisfirm.dat"},
      {4, u"Too many open files"},
      {5, u"File access denied"},
      {100, u"Read beyond end of file"},
      {101, u"Disk full"},
      {106, u"Invalid numeric input"},
      {32, u"I/O error 32"},
      {103, u"I/O error 103"},
      {206, u"I/O error 206"},
  };
  for (const auto& c : cases) {
    const EInOutError error(c.code, u"c:\\x\\spisfirm.dat");
    EXPECT_EQ(error.Message(), c.message) << c.code;
    EXPECT_EQ(error.ErrorCode, c.code);
  }
}

class RecordFileTest : public ::testing::Test {
 protected:
  TempDir dir;
  RecordFile file{SystemOs()};
};

// Whole records are read until AtEnd; the bytes after the last whole record
// form none, and a read there fails as beyond the end.
TEST_F(RecordFileTest, ReadsWholeRecordsOnly) {
  const struct {
    std::size_t fileSize;
    std::uint32_t recordSize;
    int records;
  } cases[] = {{0, 103, 0}, {206, 103, 2}, {250, 103, 2}, {100, 512, 0}, {1030, 512, 2}};
  for (const auto& c : cases) {
    Bytes content(c.fileSize, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i % 251);
    dir.WriteBytes(u"f.dat", content);
    file.Open(dir.Path(u"f.dat"), c.recordSize);
    int records = 0;
    Bytes buffer(c.recordSize, '\0');
    while (!file.AtEnd()) {
      file.ReadRecord(buffer.data());
      EXPECT_EQ(buffer,
                content.substr(static_cast<std::size_t>(records) * c.recordSize, c.recordSize));
      ++records;
    }
    EXPECT_EQ(records, c.records) << c.fileSize << "/" << c.recordSize;
    EXPECT_EQ(Failure([&] { file.ReadRecord(buffer.data()); }).ErrorCode, 100);
    file.Close();
  }
}

// The end-of-file test knows where every read, write and seek left the file.
TEST_F(RecordFileTest, AtEndFollowsEveryMove) {
  dir.WriteBytes(u"f.dat", Bytes(250, 'a'));
  file.Open(dir.Path(u"f.dat"), 103);
  Bytes buffer(103, 'b');
  const struct {
    std::function<void()> move;
    bool atEnd;
    const char* what;
  } steps[] = {
      {[] {}, false, "opened"},
      {[&] { file.ReadRecord(buffer.data()); }, false, "one record read"},
      {[&] { file.ReadRecord(buffer.data()); }, true, "two records read"},
      {[&] { Failure([&] { file.ReadRecord(buffer.data()); }); }, true, "the partial one read"},
      {[&] { file.SeekRecord(0); }, false, "back at the start"},
      {[&] { file.SeekRecord(1), file.WriteRecord(buffer.data()); }, true, "second written"},
      {[&] { file.SeekRecord(3); }, true, "beyond the end"},
      {[&] { file.WriteRecord(buffer.data()); }, true, "fourth written"},
      {[&] { file.SeekRecord(2); }, false, "third of four"},
  };
  for (const auto& step : steps) {
    step.move();
    EXPECT_EQ(file.AtEnd(), step.atEnd) << step.what;
  }
  file.Close();
  EXPECT_EQ(dir.ReadBytes(u"f.dat").size(), 412u);
}

TEST_F(RecordFileTest, OpenRefusesWithTheSystemsCode) {
  dir.MakeDir(u"katalog");
  dir.WriteBytes(u"tylko.dat", Bytes(512, 'x'));
  dir.SetReadOnly(u"tylko.dat");
  const std::u16string tooLong = dir.Path(std::u16string(260, u'a'));
  const struct {
    std::u16string name;
    std::int32_t code;
    std::u16string message;
  } cases[] = {
      {dir.Path(u"brak.dat"), 2, u"The specified file was not found"},
      {dir.Path(u"brak\\f.dat"), 3, u"Invalid file name - " + dir.Path(u"brak\\f.dat")},
      {dir.Path(u"katalog"), 5, u"File access denied"},
      {dir.Path(u"tylko.dat"), 5, u"File access denied"},
      {dir.Path(u"*.dat"), 123, u"I/O error 123"},
      {tooLong, 206, u"I/O error 206"},
  };
  for (const auto& c : cases) {
    const auto error = Failure([&] { file.Open(c.name, 512); });
    EXPECT_EQ(error.ErrorCode, c.code);
    EXPECT_EQ(error.Message(), c.message);
    EXPECT_FALSE(file.IsOpen());
  }
  EXPECT_EQ(dir.ReadBytes(u"tylko.dat"), Bytes(512, 'x'));
}

TEST_F(RecordFileTest, RewritingTheFirstRecordKeepsTheRest) {
  Bytes content(3 * 512 + 17, 'a');
  content[600] = 'b';
  dir.WriteBytes(u"rok.rek", content);
  file.Open(dir.Path(u"rok.rek"), 512);
  Bytes record(512, '\0');
  file.ReadRecord(record.data());
  record[0] = 'z';
  file.SeekRecord(0);
  file.WriteRecord(record.data());
  file.Close();
  content[0] = 'z';
  EXPECT_EQ(dir.ReadBytes(u"rok.rek"), content);
}

TEST_F(RecordFileTest, OperationsOnAClosedFileFail) {
  Bytes buffer(512, '\0');
  EXPECT_EQ(Failure([&] { file.AtEnd(); }).ErrorCode, 103);
  EXPECT_EQ(Failure([&] { file.ReadRecord(buffer.data()); }).ErrorCode, 103);
  EXPECT_EQ(Failure([&] { file.SeekRecord(0); }).ErrorCode, 103);
  EXPECT_EQ(Failure([&] { file.Close(); }).ErrorCode, 103);
  EXPECT_EQ(Failure([&] { file.WriteRecord(buffer.data()); }).ErrorCode, 5);
}

TEST(FileIsPresent, OnlyFilesArePresent) {
  TempDir dir;
  dir.MakeDir(u"katalog");
  dir.WriteBytes(u"plik", "x");
  dir.WriteBytes(u"tylko", "x");
  dir.SetReadOnly(u"tylko");
  const struct {
    std::u16string relative;
    bool present;
  } cases[] = {
      {u"plik", true},        {u"tylko", true}, {u"katalog", false}, {u"brak", false},
      {u"brak\\plik", false}, {u"pl*k", false}, {u"pli?", false},    {u"katalog\\", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(transfer::FileIsPresent(SystemOs(), dir.Path(c.relative)), c.present)
        << platform::TextToUtf8(c.relative);
  }
}

}  // namespace
