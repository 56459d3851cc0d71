// An OS layer that passes every call on to another one, so that a test can
// change just the calls it cares about.
#pragma once

#include "platform/os.h"

namespace testing_support {

class ForwardingOs : public platform::Os {
 public:
  explicit ForwardingOs(platform::Os& inner) : inner_(inner) {}

  std::uint32_t OpenExisting(std::u16string_view name, platform::FileHandle& handle) override {
    return inner_.OpenExisting(name, handle);
  }
  std::uint32_t OpenForReading(std::u16string_view name, platform::FileHandle& handle) override {
    return inner_.OpenForReading(name, handle);
  }
  std::uint32_t CreateAlways(std::u16string_view name, platform::FileHandle& handle) override {
    return inner_.CreateAlways(name, handle);
  }
  std::uint32_t Read(platform::FileHandle handle, void* buffer, std::uint32_t size,
                     std::uint32_t& done) override {
    return inner_.Read(handle, buffer, size, done);
  }
  std::uint32_t Write(platform::FileHandle handle, const void* buffer, std::uint32_t size,
                      std::uint32_t& done) override {
    return inner_.Write(handle, buffer, size, done);
  }
  std::uint32_t Seek(platform::FileHandle handle, std::int32_t distance,
                     platform::SeekOrigin origin, std::uint32_t& position) override {
    return inner_.Seek(handle, distance, origin, position);
  }
  std::uint32_t Size(platform::FileHandle handle, std::uint32_t& size) override {
    return inner_.Size(handle, size);
  }
  std::uint32_t Close(platform::FileHandle handle) override { return inner_.Close(handle); }
  std::uint32_t Flush(platform::FileHandle handle) override { return inner_.Flush(handle); }
  std::uint32_t Attributes(std::u16string_view name, platform::EntryInfo& info) override {
    return inner_.Attributes(name, info);
  }
  std::uint32_t FindFirst(std::u16string_view name, platform::EntryInfo& info) override {
    return inner_.FindFirst(name, info);
  }
  std::uint32_t Identity(std::u16string_view name, platform::FileIdentity& identity) override {
    return inner_.Identity(name, identity);
  }
  std::uint32_t Move(std::u16string_view from, std::u16string_view to) override {
    return inner_.Move(from, to);
  }
  std::uint32_t CopyNew(std::u16string_view from, std::u16string_view to) override {
    return inner_.CopyNew(from, to);
  }
  std::uint32_t Replace(std::u16string_view from, std::u16string_view to) override {
    return inner_.Replace(from, to);
  }
  std::uint32_t Remove(std::u16string_view name) override { return inner_.Remove(name); }
  std::u16string ErrorText(std::uint32_t code) override { return inner_.ErrorText(code); }
  std::uint32_t AnsiCodePage() override { return inner_.AnsiCodePage(); }
  std::u16string AnsiToText(std::string_view bytes) override { return inner_.AnsiToText(bytes); }
  std::optional<std::string> TextToAnsi(std::u16string_view text) override {
    return inner_.TextToAnsi(text);
  }
  std::optional<std::u16string> DecimalSymbol() override { return inner_.DecimalSymbol(); }
  std::u16string LowerCase(std::u16string_view text) override { return inner_.LowerCase(text); }
  std::u16string ExecutablePath() override { return inner_.ExecutablePath(); }

 private:
  platform::Os& inner_;
};

// The system's OS layer with the executable placed in a directory of the
// test's choosing, so that the log file lands in the test's own folder.
class RelocatedOs : public ForwardingOs {
 public:
  RelocatedOs(platform::Os& inner, std::u16string executablePath)
      : ForwardingOs(inner), executablePath_(std::move(executablePath)) {}
  std::u16string ExecutablePath() override { return executablePath_; }

 private:
  std::u16string executablePath_;
};

// The same, with the decimal symbol of the test's choosing, a Polish user's
// unless set: what a run logs reads the same whatever the machine's locale.
class RegionalOs : public RelocatedOs {
 public:
  using RelocatedOs::RelocatedOs;
  std::optional<std::u16string> DecimalSymbol() override { return decimalSymbol; }
  std::u16string decimalSymbol = u",";
};

// Refuses the nth read (counted from 1) with a device error, as a drive that
// fails part-way through a file does.
class NthReadRefused : public ForwardingOs {
 public:
  NthReadRefused(platform::Os& inner, int nth) : ForwardingOs(inner), nth_(nth) {}
  std::uint32_t Read(platform::FileHandle handle, void* buffer, std::uint32_t size,
                     std::uint32_t& done) override {
    if (++reads_ == nth_) return platform::err::kIoDevice;
    return ForwardingOs::Read(handle, buffer, size, done);
  }

 private:
  int nth_;
  int reads_ = 0;
};

}  // namespace testing_support
