#include "transfer/inventory_transfer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/utf8.h"
#include "support/forwarding_os.h"
#include "support/installations.h"
#include "support/recording_report.h"
#include "support/system.h"
#include "transfer/errors.h"
#include "transfer/record_file.h"

namespace {

using testing_support::BitsBytes;
using testing_support::Bytes;
using testing_support::DoubleBytes;
using testing_support::Installations;
using testing_support::kOpening;
using testing_support::RecordingReport;
using testing_support::RokRecord;
using testing_support::SystemOs;
using Lines = std::vector<std::u16string>;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr std::uint64_t kQuietNan = 0x7FF8000000000000;
constexpr std::uint64_t kSignallingNan = 0x7FF0000000000001;

class InventoryTest : public ::testing::Test {
 protected:
  void Transfer(const Lines& katalogi, std::u16string_view separator = u",") {
    Transfer(SystemOs(), katalogi, separator);
  }
  void Transfer(platform::Os& os, const Lines& katalogi, std::u16string_view separator = u",") {
    transfer::SkopiujRemanenty(os, pair.Source(), pair.Dest(), katalogi, log, separator);
  }
  Bytes New(std::u16string_view katalog) const {
    return pair.dir.ReadBytes(Installations::NewAnnual(katalog));
  }
  // The new record with the old closing inventory's bytes as opening inventory.
  static Bytes Carried(Bytes record, const Bytes& closingBytes) {
    return record.replace(kOpening, 8, closingBytes);
  }

  Installations pair;
  RecordingReport log;
};

TEST_F(InventoryTest, OneLinePerCompanyInEitherSeparator) {
  pair.AddCompany(u"BRAK", std::nullopt, std::nullopt);
  pair.AddCompany(u"PELNA", RokRecord(0, 99), RokRecord(1500.75, 0));
  pair.AddCompany(u"FIRMA1", RokRecord(0, 23456.8), RokRecord(0, 0));
  for (const std::u16string separator : {u",", u"."}) {
    pair.dir.WriteBytes(Installations::NewAnnual(u"FIRMA1"), RokRecord(0, 0));
    log.lines.clear();
    Transfer({u"BRAK", u"PELNA", u"FIRMA1"}, separator);
    EXPECT_EQ(log.Text(), u"BAD.Brak pliku " + pair.dir.Path(Installations::OldAnnual(u"BRAK")) +
                              u"\r\n"
                              u"PELNA REMANENT DOCELOWY NIEZEROWY 1500" +
                              separator +
                              u"75 - pomijam\r\n"
                              u"FIRMA1 REMA: 23456" +
                              separator +
                              u"8\r\n"
                              u"OK. Remamenty skopiowano!\r\n");
  }
  EXPECT_EQ(New(u"PELNA"), RokRecord(1500.75, 0));
  EXPECT_EQ(New(u"FIRMA1"), RokRecord(23456.8, 0));
}

// Only a stored zero of either sign is replaced; a NaN is no number at all.
TEST_F(InventoryTest, TheZeroTest) {
  const struct {
    Bytes opening, closing;
    std::u16string line;  // empty: the transfer fails as an invalid operation
    bool replaced;
  } cases[] = {
      {DoubleBytes(0.0), DoubleBytes(5.5), u"F REMA: 5,5", true},
      {DoubleBytes(-0.0), DoubleBytes(5.5), u"F REMA: 5,5", true},
      {DoubleBytes(0.0), DoubleBytes(0.0), u"F REMA: 0", true},
      {DoubleBytes(0.0), DoubleBytes(-0.0), u"F REMA: 0", true},
      {DoubleBytes(0.0), BitsBytes(kQuietNan), u"F REMA: NAN", true},
      {DoubleBytes(0.0), DoubleBytes(-kInf), u"F REMA: -INF", true},
      {DoubleBytes(kInf), DoubleBytes(5.5), u"F REMANENT DOCELOWY NIEZEROWY INF - pomijam", false},
      {DoubleBytes(-1), DoubleBytes(5.5), u"F REMANENT DOCELOWY NIEZEROWY -1 - pomijam", false},
      {DoubleBytes(std::numeric_limits<double>::denorm_min()), DoubleBytes(5.5),
       u"F REMANENT DOCELOWY NIEZEROWY 4,94065645841247E-324 - pomijam", false},
      {BitsBytes(kQuietNan), DoubleBytes(5.5), u"", false},
      {BitsBytes(kSignallingNan), DoubleBytes(5.5), u"", false},
      {DoubleBytes(0.0), BitsBytes(kSignallingNan), u"", false},
  };
  pair.AddCompany(u"F", std::nullopt, std::nullopt);
  for (const auto& c : cases) {
    Bytes oldRecord = RokRecord(0, 0), newRecord = RokRecord(0, 0);
    oldRecord.replace(testing_support::kClosing, 8, c.closing);
    newRecord.replace(kOpening, 8, c.opening);
    pair.dir.WriteBytes(Installations::OldAnnual(u"F"), oldRecord);
    pair.dir.WriteBytes(Installations::NewAnnual(u"F"), newRecord);
    log.lines.clear();
    if (c.line.empty()) {
      EXPECT_THROW(Transfer({u"F"}), transfer::EInvalidOp);
      EXPECT_EQ(log.Text(), u"");
    } else {
      Transfer({u"F"});
      EXPECT_EQ(log.Text(), c.line + u"\r\nOK. Remamenty skopiowano!\r\n");
    }
    EXPECT_EQ(New(u"F"), c.replaced ? Carried(newRecord, c.closing) : newRecord)
        << platform::TextToUtf8(c.line);
  }
}

TEST_F(InventoryTest, OnlyTheOpeningInventoryOfTheFirstRecordChanges) {
  const Bytes tail(700, '\x5A');
  pair.AddCompany(u"FIRMA1\\", RokRecord(1, 2), RokRecord(0, 3) + tail);
  Transfer({u"FIRMA1\\"});
  // A directory already ending in a backslash gets no second one.
  EXPECT_EQ(log.Text(), u"FIRMA1\\ REMA: 2\r\nOK. Remamenty skopiowano!\r\n");
  EXPECT_EQ(New(u"FIRMA1"), RokRecord(2, 3) + tail);
}

TEST_F(InventoryTest, RepeatingTheTransferChangesNothing) {
  pair.AddCompany(u"A", RokRecord(0, 10), RokRecord(0, 0));
  pair.AddCompany(u"B", RokRecord(0, 0), RokRecord(0, 0));
  Transfer({u"A", u"B"});
  log.lines.clear();
  Transfer({u"A", u"B"});
  EXPECT_EQ(log.Text(),
            u"A REMANENT DOCELOWY NIEZEROWY 10 - pomijam\r\nB REMA: 0\r\nOK. Remamenty "
            u"skopiowano!\r\n");
  EXPECT_EQ(New(u"A"), RokRecord(10, 0));
}

TEST_F(InventoryTest, AFailureEndsTheTransferAndKeepsEarlierChanges) {
  const struct {
    const char* what = nullptr;
    std::optional<Bytes> newRecord;
    std::int32_t code = 0;
  } cases[] = {
      {"new file missing", std::nullopt, 2},
      {"new file shorter than a record", Bytes(100, 'x'), 100},
  };
  for (const auto& c : cases) {
    Installations fresh;
    fresh.AddCompany(u"A", RokRecord(0, 10), RokRecord(0, 0));
    fresh.AddCompany(u"B", RokRecord(0, 20), c.newRecord);
    fresh.AddCompany(u"C", RokRecord(0, 30), RokRecord(0, 0));
    RecordingReport failedLog;
    try {
      transfer::SkopiujRemanenty(SystemOs(), fresh.Source(), fresh.Dest(), {u"A", u"B", u"C"},
                                 failedLog, u",");
      ADD_FAILURE() << c.what << ": no failure";
    } catch (const transfer::EInOutError& e) {
      EXPECT_EQ(e.ErrorCode, c.code) << c.what;
    }
    EXPECT_EQ(failedLog.Text(), u"A REMA: 10\r\n") << c.what;
    EXPECT_EQ(fresh.dir.ReadBytes(Installations::NewAnnual(u"A")), RokRecord(10, 0));
    EXPECT_EQ(fresh.dir.ReadBytes(Installations::NewAnnual(u"C")), RokRecord(0, 0));
  }
}

// A name longer than the system takes is refused, never reported as missing.
TEST_F(InventoryTest, AnAnnualFileNameTooLongEndsTheTransfer) {
  try {
    Transfer({std::u16string(transfer::kMaxFileName, u'K')});
    FAIL() << "a name too long was passed on";
  } catch (const transfer::EInOutError& e) {
    EXPECT_EQ(e.ErrorCode, 206);
  }
  EXPECT_EQ(log.Text(), u"");
}

TEST_F(InventoryTest, AFailedWriteLogsNoCarriedValue) {
  struct RefusingWrites : testing_support::ForwardingOs {
    using ForwardingOs::ForwardingOs;
    std::uint32_t Write(platform::FileHandle, const void*, std::uint32_t, std::uint32_t&) override {
      return platform::err::kDiskFull;
    }
  } os(SystemOs());
  pair.AddCompany(u"A", RokRecord(0, 10), RokRecord(0, 0));
  EXPECT_THROW(Transfer(os, {u"A"}), transfer::EInOutError);
  EXPECT_EQ(log.Text(), u"");
  EXPECT_EQ(New(u"A"), RokRecord(0, 0));
}

TEST_F(InventoryTest, EmptyListLogsOnlyTheClosingLine) {
  Transfer({});
  EXPECT_EQ(log.Text(), u"OK. Remamenty skopiowano!\r\n");
}

TEST(AnnualFileName, TakesTheInstallationsNumber) {
  const struct {
    std::u16string installation, katalog, name;
  } cases[] = {
      {u"c:\\zetka_2008\\", u"FIRMA1", u"c:\\zetka_2008\\FIRMA1\\2008_ROK.REK"},
      {u"c:\\zetka_2009\\", u"FIRMA1\\", u"c:\\zetka_2009\\FIRMA1\\2009_ROK.REK"},
      {u"d:\\programy\\zetka\\", u"FIRMA1", u"d:\\programy\\zetka\\FIRMA1\\_ROK.REK"},
      {u"c:\\zetka_2009_kopia2\\", u"F", u"c:\\zetka_2009_kopia2\\F\\2_ROK.REK"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(transfer::AnnualFileName(c.installation, c.katalog), c.name);
  }
}

TEST(InventoryWithoutNumbers, InstallationPathsWithoutDigits) {
  testing_support::TempDir dir;
  dir.MakeDir(u"stary\\F");
  dir.MakeDir(u"nowy\\F");
  dir.WriteBytes(u"stary\\F\\_ROK.REK", RokRecord(0, 7));
  dir.WriteBytes(u"nowy\\F\\_ROK.REK", RokRecord(0, 0));
  RecordingReport log;
  transfer::SkopiujRemanenty(SystemOs(), dir.Path(u"stary\\"), dir.Path(u"nowy\\"), {u"F"}, log,
                             u",");
  EXPECT_EQ(log.Text(), u"F REMA: 7\r\nOK. Remamenty skopiowano!\r\n");
  EXPECT_EQ(dir.ReadBytes(u"nowy\\F\\_ROK.REK"), RokRecord(7, 0));
}

}  // namespace
