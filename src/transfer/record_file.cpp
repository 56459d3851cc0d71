#include "transfer/record_file.h"

#include <cstdint>

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

void RecordFile::Moved(std::uint32_t code, std::uint32_t moved) {
  if (code != platform::err::kSuccess) {
    position_.reset();
  } else if (position_) {
    *position_ += moved;
  }
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
  position_ = 0;
}

std::uint32_t RecordFile::Position() {
  // A position beyond 32 bits is the system's to report (it refuses to).
  if (position_ && *position_ <= UINT32_MAX) return static_cast<std::uint32_t>(*position_);
  std::uint32_t position = 0;
  if (const auto code = os_.Seek(handle_, 0, platform::SeekOrigin::kCurrent, position)) {
    Fail(code);
  }
  position_ = position;
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
  const auto code = os_.Read(handle_, buffer, recordSize_, done);
  Moved(code, done);
  if (code != platform::err::kSuccess) Fail(code);
  if (done < recordSize_) Fail(kReadBeyondEnd);
}

void RecordFile::SeekRecord(std::uint32_t index) {
  if (!IsOpen()) Fail(kFileNotOpen);
  std::uint32_t position = 0;
  const auto distance = static_cast<std::int32_t>(index * recordSize_);
  const auto code = os_.Seek(handle_, distance, platform::SeekOrigin::kBegin, position);
  Moved(code, 0);
  if (code != platform::err::kSuccess) Fail(code);
  position_ = position;
}

void RecordFile::WriteRecord(const void* buffer) {
  if (!IsOpen()) Fail(platform::err::kAccessDenied);
  std::uint32_t done = 0;
  const auto code = os_.Write(handle_, buffer, recordSize_, done);
  Moved(code, done);
  if (code != platform::err::kSuccess) Fail(code);
  if (done < recordSize_) Fail(kDiskFull);
}

void RecordFile::Close() {
  if (!IsOpen()) Fail(kFileNotOpen);
  const auto handle = handle_;
  handle_ = 0;
  position_.reset();
  if (const auto code = os_.Close(handle)) Fail(code);
}

bool FileIsPresent(platform::Os& os, std::u16string_view name) {
  // Windows takes no longer name; no other system gets one either.
  if (name.size() > kMaxFileName) return false;
  platform::EntryInfo info;
  const auto code = os.Attributes(name, info);
  if (code == platform::err::kSuccess) return !info.isDirectory;
  if (platform::err::NoSuchEntry(code)) return false;
  // The entry may exist while its attributes cannot be read (a file the
  // system holds open): the directory listing still knows it.
  if (os.FindFirst(name, info) != platform::err::kSuccess) return false;
  return !info.isDirectory;
}

}  // namespace transfer
