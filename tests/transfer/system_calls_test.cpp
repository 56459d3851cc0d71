// The system calls that one company costs: nothing is opened, read or tested
// twice, and nothing is done that the step does not need.
#include <gtest/gtest.h>

#include "platform/utf8.h"
#include "support/forwarding_os.h"
#include "support/installations.h"
#include "support/recording_report.h"
#include "support/records.h"
#include "support/system.h"
#include "transfer/company_register.h"
#include "transfer/file_copy.h"
#include "transfer/inventory_transfer.h"

namespace {

using testing_support::Installations;
using testing_support::RokRecord;
using Calls = std::vector<std::string>;

// Records the name of every call that reaches the system's files.
class CallLog : public testing_support::ForwardingOs {
 public:
  using ForwardingOs::ForwardingOs;
  std::uint32_t OpenExisting(std::u16string_view name, platform::FileHandle& handle) override {
    calls.emplace_back("open");
    return ForwardingOs::OpenExisting(name, handle);
  }
  std::uint32_t Read(platform::FileHandle handle, void* buffer, std::uint32_t size,
                     std::uint32_t& done) override {
    calls.emplace_back("read " + std::to_string(size));
    return ForwardingOs::Read(handle, buffer, size, done);
  }
  std::uint32_t Write(platform::FileHandle handle, const void* buffer, std::uint32_t size,
                      std::uint32_t& done) override {
    calls.emplace_back("write " + std::to_string(size));
    return ForwardingOs::Write(handle, buffer, size, done);
  }
  std::uint32_t Seek(platform::FileHandle handle, std::int32_t distance,
                     platform::SeekOrigin origin, std::uint32_t& position) override {
    calls.emplace_back("seek " + std::to_string(distance));
    return ForwardingOs::Seek(handle, distance, origin, position);
  }
  std::uint32_t Size(platform::FileHandle handle, std::uint32_t& size) override {
    calls.emplace_back("size");
    return ForwardingOs::Size(handle, size);
  }
  std::uint32_t Close(platform::FileHandle handle) override {
    calls.emplace_back("close");
    return ForwardingOs::Close(handle);
  }
  std::uint32_t Attributes(std::u16string_view name, platform::EntryInfo& info) override {
    calls.emplace_back("attributes");
    return ForwardingOs::Attributes(name, info);
  }
  std::uint32_t FindFirst(std::u16string_view name, platform::EntryInfo& info) override {
    calls.emplace_back("find");
    return ForwardingOs::FindFirst(name, info);
  }
  std::uint32_t Move(std::u16string_view from, std::u16string_view to) override {
    calls.emplace_back("move");
    return ForwardingOs::Move(from, to);
  }
  std::uint32_t CopyNew(std::u16string_view from, std::u16string_view to) override {
    calls.emplace_back("copy");
    return ForwardingOs::CopyNew(from, to);
  }
  std::uint32_t Replace(std::u16string_view from, std::u16string_view to) override {
    calls.emplace_back("replace");
    return ForwardingOs::Replace(from, to);
  }
  std::uint32_t Remove(std::u16string_view name) override {
    calls.emplace_back("remove");
    return ForwardingOs::Remove(name);
  }
  Calls calls;
};

class SystemCallsTest : public ::testing::Test {
 protected:
  Installations pair;
  CallLog os{testing_support::SystemOs()};
  testing_support::RecordingReport log;
};

TEST_F(SystemCallsTest, TransferPerCompany) {
  pair.AddCompany(u"CARRIED", RokRecord(0, 1), RokRecord(0, 0));
  pair.AddCompany(u"SKIPPED", RokRecord(0, 1), RokRecord(2, 0));
  pair.AddCompany(u"MISSING", std::nullopt, std::nullopt);
  const struct {
    std::u16string katalog;
    Calls calls;
  } cases[] = {
      {u"CARRIED",
       {"attributes", "open", "read 512", "open", "read 512", "seek 0", "write 512", "close",
        "close"}},
      {u"SKIPPED", {"attributes", "open", "read 512", "open", "read 512", "close", "close"}},
      {u"MISSING", {"attributes"}},
  };
  for (const auto& c : cases) {
    os.calls.clear();
    transfer::SkopiujRemanenty(os, pair.Source(), pair.Dest(), {c.katalog}, log, u",");
    EXPECT_EQ(os.calls, c.calls) << platform::TextToUtf8(c.katalog);
  }
}

// The position is known from the reads: one size query a record, no seek.
TEST_F(SystemCallsTest, RegisterLoadPerRecord) {
  pair.dir.WriteBytes(u"zetka_2009\\spisfirm.dat", testing_support::FirmaRecord("A", "A") +
                                                       testing_support::FirmaRecord("B", "B"));
  testing_support::RecordingReport listed;
  transfer::ZaladujFirmy(os, pair.Dest(), listed);
  EXPECT_EQ(os.calls, (Calls{"open", "size", "read 103", "size", "read 103", "size", "close"}));
}

TEST_F(SystemCallsTest, CopyPerPair) {
  pair.AddCompany(u"F", std::nullopt, std::nullopt);
  pair.dir.WriteBytes(Installations::In(Installations::kOld, u"F", u"A"), "a");
  pair.dir.WriteBytes(Installations::In(Installations::kOld, u"F", u"B"), "b");
  pair.dir.WriteBytes(Installations::In(Installations::kNew, u"F", u"B"), "stary");
  pair.dir.WriteBytes(Installations::In(Installations::kNew, u"F", u"D"), "stary");
  const struct {
    std::u16string file;
    Calls calls;
  } cases[] = {
      // nothing to keep: copied beside the target, then given its name
      {u"A", {"attributes", "copy", "move"}},
      // the old file kept as B.old once the copy is whole
      {u"B", {"attributes", "attributes", "copy", "move", "move"}},
      // no source: nothing to remove, nothing moved
      {u"C", {"attributes", "copy"}},
      // B.old taken: nothing changes, nothing is copied
      {u"B", {"attributes", "attributes"}},
      // no source: D stays where it is
      {u"D", {"attributes", "attributes", "copy"}},
  };
  for (const auto& c : cases) {
    os.calls.clear();
    transfer::SkopiujPliki(os, pair.Source(), pair.Dest(), {u"F"}, {c.file}, log);
    EXPECT_EQ(os.calls, c.calls) << platform::TextToUtf8(c.file);
  }
}

}  // namespace
