#include "transfer/owned_file.h"

#include <limits>

#include "transfer/errors.h"
#include "transfer/record_file.h"

namespace transfer {

namespace {

// A write the system took only in part, as the record file reports it.
constexpr std::uint32_t kDiskFull = 101;
constexpr std::uint32_t kFileNotOpen = 103;

}  // namespace

OwnedFile::~OwnedFile() {
  // Only a path that already raises leaves a file open here.
  if (handle_) os_.Close(handle_);
}

void OwnedFile::Fail(std::uint32_t code) const {
  throw EInOutError(static_cast<std::int32_t>(code), name_);
}

bool OwnedFile::OpenIfPresent(std::u16string_view name, Access access) {
  if (handle_) Close();
  name_ = name;
  // A longer name would be cut or misread by the system: refused up front.
  if (name.size() > kMaxFileName) Fail(platform::err::kFilenameExcedRange);
  platform::FileHandle handle = 0;
  const auto code =
      access == Access::kRead ? os_.OpenForReading(name, handle) : os_.OpenExisting(name, handle);
  if (platform::err::NoSuchEntry(code)) return false;
  if (code) Fail(code);
  handle_ = handle;
  return true;
}

void OwnedFile::Create(std::u16string_view name) {
  if (handle_) Close();
  name_ = name;
  if (name.size() > kMaxFileName) Fail(platform::err::kFilenameExcedRange);
  platform::FileHandle handle = 0;
  if (const auto code = os_.CreateAlways(name, handle)) Fail(code);
  handle_ = handle;
}

std::uint32_t OwnedFile::Read(void* buffer, std::uint32_t size) {
  if (!handle_) Fail(kFileNotOpen);
  std::uint32_t done = 0;
  if (const auto code = os_.Read(handle_, buffer, size, done)) Fail(code);
  return done;
}

void OwnedFile::Write(const void* buffer, std::uint32_t size) {
  if (!handle_) Fail(kFileNotOpen);
  std::uint32_t done = 0;
  if (const auto code = os_.Write(handle_, buffer, size, done)) Fail(code);
  if (done < size) Fail(kDiskFull);
}

void OwnedFile::SeekTo(std::uint32_t position) {
  if (!handle_) Fail(kFileNotOpen);
  // The system takes a signed 32-bit distance.
  if (position > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())) {
    Fail(platform::err::kFilenameExcedRange);
  }
  std::uint32_t reached = 0;
  if (const auto code = os_.Seek(handle_, static_cast<std::int32_t>(position),
                                 platform::SeekOrigin::kBegin, reached)) {
    Fail(code);
  }
}

void OwnedFile::Flush() {
  if (!handle_) Fail(kFileNotOpen);
  if (const auto code = os_.Flush(handle_)) Fail(code);
}

void OwnedFile::Close() {
  if (!handle_) Fail(kFileNotOpen);
  const auto handle = handle_;
  handle_ = 0;
  if (const auto code = os_.Close(handle)) Fail(code);
}

}  // namespace transfer
