#include "support/fault_os.h"

#include <string>

namespace testing_support {

namespace err = platform::err;

namespace {

// SetFilePointer's and GetFileSize's answer on failure.
constexpr std::uint32_t kInvalidValue = 0xFFFFFFFF;

}  // namespace

void FaultOs::Arm(Mode mode, std::uint64_t nth, Effect effect) {
  mode_ = mode;
  effect_ = effect;
  target_ = nth;
  calls_ = 0;
  faults_ = 0;
  handleFaults_ = 0;
}

bool FaultOs::NextCallFails(bool handleCall) {
  ++calls_;
  const bool fails = (mode_ == Mode::kOnce && calls_ == target_) ||
                     (mode_ == Mode::kFromThenOn && calls_ >= target_);
  if (fails) {
    ++faults_;
    if (handleCall) ++handleFaults_;
  }
  return fails;
}

std::uint32_t FaultOs::Opened(std::uint32_t code, platform::FileHandle handle) {
  if (code == err::kSuccess) open_.insert(handle);
  return code;
}

std::uint32_t FaultOs::OpenExisting(std::u16string_view name, platform::FileHandle& handle) {
  handle = 0;
  if (NextCallFails(true)) return err::kAccessDenied;
  const auto code = ForwardingOs::OpenExisting(name, handle);
  return Opened(code, handle);
}

std::uint32_t FaultOs::OpenForReading(std::u16string_view name, platform::FileHandle& handle) {
  handle = 0;
  if (NextCallFails(true)) return err::kAccessDenied;
  const auto code = ForwardingOs::OpenForReading(name, handle);
  return Opened(code, handle);
}

std::uint32_t FaultOs::CreateAlways(std::u16string_view name, platform::FileHandle& handle) {
  handle = 0;
  if (NextCallFails(true)) {
    // Created (or emptied), and the handle lost with the answer.
    if (Partial() && ForwardingOs::CreateAlways(name, handle) == err::kSuccess) {
      ForwardingOs::Close(handle);
    }
    handle = 0;
    return err::kAccessDenied;
  }
  const auto code = ForwardingOs::CreateAlways(name, handle);
  return Opened(code, handle);
}

std::uint32_t FaultOs::Read(platform::FileHandle handle, void* buffer, std::uint32_t size,
                            std::uint32_t& done) {
  done = 0;
  if (NextCallFails(true)) {
    if (Partial()) ForwardingOs::Read(handle, buffer, size / 2, done);
    return err::kIoDevice;
  }
  return ForwardingOs::Read(handle, buffer, size, done);
}

std::uint32_t FaultOs::Write(platform::FileHandle handle, const void* buffer, std::uint32_t size,
                             std::uint32_t& done) {
  done = 0;
  if (NextCallFails(true)) {
    if (Partial()) ForwardingOs::Write(handle, buffer, size / 2, done);
    return err::kDiskFull;
  }
  return ForwardingOs::Write(handle, buffer, size, done);
}

std::uint32_t FaultOs::Seek(platform::FileHandle handle, std::int32_t distance,
                            platform::SeekOrigin origin, std::uint32_t& position) {
  if (NextCallFails(true)) {
    position = kInvalidValue;
    return err::kIoDevice;
  }
  return ForwardingOs::Seek(handle, distance, origin, position);
}

std::uint32_t FaultOs::Size(platform::FileHandle handle, std::uint32_t& size) {
  if (NextCallFails(true)) {
    size = kInvalidValue;
    return err::kIoDevice;
  }
  return ForwardingOs::Size(handle, size);
}

std::uint32_t FaultOs::Close(platform::FileHandle handle) {
  // The handle is gone whether or not the close reports a failure.
  const bool fails = NextCallFails(true);
  open_.erase(handle);
  const auto code = ForwardingOs::Close(handle);
  return fails ? err::kIoDevice : code;
}

std::uint32_t FaultOs::Flush(platform::FileHandle handle) {
  if (NextCallFails(true)) return err::kIoDevice;
  return ForwardingOs::Flush(handle);
}

std::uint32_t FaultOs::Attributes(std::u16string_view name, platform::EntryInfo& info) {
  if (NextCallFails(false)) return err::kAccessDenied;
  return ForwardingOs::Attributes(name, info);
}

std::uint32_t FaultOs::FindFirst(std::u16string_view name, platform::EntryInfo& info) {
  if (NextCallFails(false)) return err::kAccessDenied;
  return ForwardingOs::FindFirst(name, info);
}

std::uint32_t FaultOs::Identity(std::u16string_view name, platform::FileIdentity& identity) {
  if (NextCallFails(false)) return err::kAccessDenied;
  return ForwardingOs::Identity(name, identity);
}

std::uint32_t FaultOs::Move(std::u16string_view from, std::u16string_view to) {
  if (NextCallFails(false)) {
    if (Partial()) ForwardingOs::Move(from, to);
    return err::kAccessDenied;
  }
  return ForwardingOs::Move(from, to);
}

std::uint32_t FaultOs::CopyNew(std::u16string_view from, std::u16string_view to) {
  if (NextCallFails(false)) {
    if (Partial() && ForwardingOs::CopyNew(from, to) == err::kSuccess) CutShort(to);
    return err::kDiskFull;
  }
  return ForwardingOs::CopyNew(from, to);
}

std::uint32_t FaultOs::Replace(std::u16string_view from, std::u16string_view to) {
  if (NextCallFails(true)) {
    if (Partial()) ForwardingOs::Replace(from, to);
    return err::kAccessDenied;
  }
  return ForwardingOs::Replace(from, to);
}

std::uint32_t FaultOs::Remove(std::u16string_view name) {
  if (NextCallFails(false)) {
    if (Partial()) ForwardingOs::Remove(name);
    return err::kAccessDenied;
  }
  return ForwardingOs::Remove(name);
}

void FaultOs::CutShort(std::u16string_view target) {
  // A copy of a read-only source is read-only itself and cannot be opened
  // to be cut: it stays whole, as a copy that failed only at its very end.
  platform::FileHandle handle = 0;
  if (ForwardingOs::OpenExisting(target, handle) != err::kSuccess) return;
  std::uint32_t size = 0, done = 0;
  ForwardingOs::Size(handle, size);
  std::string bytes(size, '\0');
  ForwardingOs::Read(handle, bytes.data(), size, done);
  ForwardingOs::Close(handle);
  if (ForwardingOs::CreateAlways(target, handle) != err::kSuccess) return;
  ForwardingOs::Write(handle, bytes.data(), done / 2, done);
  ForwardingOs::Close(handle);
}

}  // namespace testing_support
