#include "transfer/record_file.h"

#include "transfer/errors.h"

namespace transfer {

namespace {

// Codes of failures that the record file itself detects.
constexpr std::int32_t kReadBeyondEnd = 100;
constexpr std::int32_t kDiskFull = 101;
constexpr std::int32_t kFileNotOpen = 103;

}  // namespace

RecordFile::~RecordFile() {
  if (IsOpen()) os_.Close(handle_);
}

void RecordFile::Fail(std::uint32_t code) const {
  throw EInOutError(static_cast<std::int32_t>(code), name_);
}

void RecordFile::Open(std::u16string_view name, std::uint32_t recordSize) {
  if (IsOpen()) Close();
  name_ = name;
  recordSize_ = recordSize;
  // A longer name would be cut or misread by the system: refuse it up front.
  if (name.size() > kMaxFileName) Fail(platform::err::kFilenameExcedRange);
  platform::FileHandle handle = 0;
  if (const auto code = os_.OpenExisting(name, handle)) Fail(code);
  handle_ = handle;
}

std::uint32_t RecordFile::Position() {
  std::uint32_t position = 0;
  if (const auto code = os_.Seek(handle_, 0, platform::SeekOrigin::kCurrent, position)) {
    Fail(code);
  }
  return position;
}

bool RecordFile::AtEnd() {
  if (!IsOpen()) Fail(kFileNotOpen);
  const std::uint32_t position = Position();
  std::uint32_t size = 0;
  if (const auto code = os_.Size(handle_, size)) Fail(code);
  return position / recordSize_ >= size / recordSize_;
}

void RecordFile::ReadRecord(void* buffer) {
  if (!IsOpen()) Fail(kFileNotOpen);
  std::uint32_t done = 0;
  if (const auto code = os_.Read(handle_, buffer, recordSize_, done)) Fail(code);
  if (done < recordSize_) Fail(kReadBeyondEnd);
}

void RecordFile::SeekRecord(std::uint32_t index) {
  if (!IsOpen()) Fail(kFileNotOpen);
  std::uint32_t position = 0;
  const auto distance = static_cast<std::int32_t>(index * recordSize_);
  if (const auto code = os_.Seek(handle_, distance, platform::SeekOrigin::kBegin, position)) {
    Fail(code);
  }
}

void RecordFile::WriteRecord(const void* buffer) {
  if (!IsOpen()) Fail(platform::err::kAccessDenied);
  std::uint32_t done = 0;
  if (const auto code = os_.Write(handle_, buffer, recordSize_, done)) Fail(code);
  if (done < recordSize_) Fail(kDiskFull);
}

void RecordFile::Close() {
  if (!IsOpen()) Fail(kFileNotOpen);
  const auto handle = handle_;
  handle_ = 0;
  if (const auto code = os_.Close(handle)) Fail(code);
}

bool FileIsPresent(platform::Os& os, std::u16string_view name) {
  // Windows takes no longer name; no other system gets one either.
  if (name.size() > kMaxFileName) return false;
  platform::EntryInfo info;
  const auto code = os.Attributes(name, info);
  if (code == platform::err::kSuccess) return !info.isDirectory;
  if (code == platform::err::kFileNotFound || code == platform::err::kPathNotFound ||
      code == platform::err::kInvalidName) {
    return false;
  }
  // The entry may exist while its attributes cannot be read (a file the
  // system holds open): the directory listing still knows it.
  if (os.FindFirst(name, info) != platform::err::kSuccess) return false;
  return !info.isDirectory;
}

}  // namespace transfer
