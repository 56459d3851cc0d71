// An OS layer around another that counts every call that can fail, fails
// chosen ones on purpose, and keeps track of open handles, so that a test can
// sweep a fault over every step of an operation and prove nothing stays open.
//
// A failed call may have done part of its work before it failed, as real
// systems do: Wine's CopyFileW on a full disk leaves part of its target, a
// write may put some of its bytes, a rename may happen while its answer is
// lost. With Effect::kPartial an injected fault does that part first.
#pragma once

#include <cstdint>
#include <set>

#include "platform/os.h"
#include "support/forwarding_os.h"

namespace testing_support {

class FaultOs final : public ForwardingOs {
 public:
  enum class Mode { kOff, kOnce, kFromThenOn };
  // What a failing call does before it reports its failure:
  //   kNone     nothing;
  //   kPartial  a write puts the first half of its bytes and a read gets
  //             the first half; a copy leaves the first half of its target
  //             (or all of it, where its target cannot be cut); a create,
  //             rename, replace or removal happens.
  enum class Effect { kNone, kPartial };

  using ForwardingOs::ForwardingOs;

  // Fails the nth counted call from now on (1 is the next one): only that one,
  // or that one and every one after it. Arming restarts the counts.
  void FailOnce(std::uint64_t nth, Effect effect = Effect::kNone) { Arm(Mode::kOnce, nth, effect); }
  void FailFrom(std::uint64_t nth, Effect effect = Effect::kNone) {
    Arm(Mode::kFromThenOn, nth, effect);
  }
  void Disarm() { mode_ = Mode::kOff; }

  // Counted calls and fired faults since construction or the last arming.
  std::uint64_t Calls() const { return calls_; }
  std::uint64_t FaultsFired() const { return faults_; }
  // Of those, the faults of calls that open a file, use its handle or put a
  // file in another's place: the ones a record file or the log reports,
  // unlike a failed existence test or copy.
  std::uint64_t HandleFaultsFired() const { return handleFaults_; }
  // Handles opened through this layer and not yet closed.
  std::size_t OpenHandles() const { return open_.size(); }

  std::uint32_t OpenExisting(std::u16string_view name, platform::FileHandle& handle) override;
  std::uint32_t OpenForReading(std::u16string_view name, platform::FileHandle& handle) override;
  std::uint32_t CreateAlways(std::u16string_view name, platform::FileHandle& handle) override;
  std::uint32_t Read(platform::FileHandle handle, void* buffer, std::uint32_t size,
                     std::uint32_t& done) override;
  std::uint32_t Write(platform::FileHandle handle, const void* buffer, std::uint32_t size,
                      std::uint32_t& done) override;
  std::uint32_t Seek(platform::FileHandle handle, std::int32_t distance,
                     platform::SeekOrigin origin, std::uint32_t& position) override;
  std::uint32_t Size(platform::FileHandle handle, std::uint32_t& size) override;
  std::uint32_t Close(platform::FileHandle handle) override;
  std::uint32_t Flush(platform::FileHandle handle) override;
  std::uint32_t Attributes(std::u16string_view name, platform::EntryInfo& info) override;
  std::uint32_t FindFirst(std::u16string_view name, platform::EntryInfo& info) override;
  std::uint32_t Identity(std::u16string_view name, platform::FileIdentity& identity) override;
  std::uint32_t Move(std::u16string_view from, std::u16string_view to) override;
  std::uint32_t CopyNew(std::u16string_view from, std::u16string_view to) override;
  std::uint32_t Replace(std::u16string_view from, std::u16string_view to) override;
  std::uint32_t Remove(std::u16string_view name) override;

  // The rest cannot fail and is passed on as it is.

 private:
  void Arm(Mode mode, std::uint64_t nth, Effect effect);
  // Counts one call; true when this one is to fail.
  bool NextCallFails(bool handleCall);
  bool Partial() const { return effect_ == Effect::kPartial; }
  std::uint32_t Opened(std::uint32_t code, platform::FileHandle handle);
  // The part of a failing copy: its target cut to the first half.
  void CutShort(std::u16string_view target);

  Mode mode_ = Mode::kOff;
  Effect effect_ = Effect::kNone;
  std::uint64_t target_ = 0;
  std::uint64_t calls_ = 0;
  std::uint64_t faults_ = 0;
  std::uint64_t handleFaults_ = 0;
  std::set<platform::FileHandle> open_;
};

}  // namespace testing_support
