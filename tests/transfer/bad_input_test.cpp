// Damaged, odd or hostile inputs, each through a whole operation ("OK" or
// "SRU"): the exact outcome of each (message box, failure or log lines), and
// every file of both installations and of the folder around them afterwards,
// byte for byte, so that nothing is lost or changed beyond what the operation
// says. Rows that only one system can show are in tests/win32 and tests/posix.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "platform/utf8.h"
#include "support/records.h"
#include "support/whole_operation.h"

namespace {

using testing_support::Bytes;
using testing_support::Events;
using testing_support::FirmaRecord;
using testing_support::Installations;
using testing_support::kAccepted;
using testing_support::kKoniec;
using testing_support::Lines;
using testing_support::RokRecord;
using testing_support::WholeOperation;
using Expected = std::map<std::string, std::optional<Bytes>>;

std::string Utf8(const std::u16string& text) { return platform::TextToUtf8(text); }

class BadInputTest : public ::testing::Test {
 protected:
  std::u16string Old(std::u16string_view relative) const {
    return op.pair.dir.Path(Installations::kOld) + u"\\" + std::u16string(relative);
  }
  std::u16string New(std::u16string_view relative) const {
    return op.pair.dir.Path(Installations::kNew) + u"\\" + std::u16string(relative);
  }
  WholeOperation op;
};

// --- the company register ---

TEST_F(BadInputTest, RegistersOfAnyLengthAndLengthByte) {
  const struct {
    const char* label;
    Bytes content;
    std::vector<std::u16string> names, katalogi;
  } rows[] = {
      {"empty", "", {}, {}},
      {"1 byte", "x", {}, {}},
      {"102 bytes", Bytes(102, 'x'), {}, {}},
      {"103 zero bytes", Bytes(103, '\0'), {u""}, {u""}},
      {"length bytes 0xFF",
       FirmaRecord(255, Bytes(31, 'N'), 255, Bytes(70, 'K')),
       {std::u16string(31, u'N')},
       {std::u16string(70, u'K')}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    op.pair.dir.WriteBytes(u"zetka_2009\\spisfirm.dat", row.content);
    const auto before = op.Files();
    const auto accepted = op.Accept();
    EXPECT_EQ(accepted.events, kAccepted);
    EXPECT_EQ(accepted.failure, u"");
    EXPECT_EQ(op.form.mmo_1.lines, row.names);
    EXPECT_EQ(op.form.mmo_2.lines, row.katalogi);
    // A run over such a register finds no annual file and copies nothing.
    const auto run = op.Run(true, true);
    std::u16string logged = u"Skopiowane fimry:\r\n";
    for (const auto& katalog : row.katalogi) {
      logged += u"BAD.Brak pliku " + Old(katalog) + u"\\2008_ROK.REK\r\n";
    }
    EXPECT_EQ(run.events, kKoniec);
    EXPECT_EQ(Utf8(run.logged), Utf8(logged + u"OK. Remamenty skopiowano!\r\n"));
    EXPECT_EQ(testing_support::Differences(before, op.Files()), "");
  }
}

// Directory names in the register that hold a separator, climb out, or name
// another drive, a share, a stream or a wildcard. Each company has what a
// plain company has in its old and new directory; the folder around both
// installations holds files of the same names, which no name from the
// register may reach.
TEST_F(BadInputTest, DirectoryNamesInTheRegister) {
  const Bytes oldRecord = RokRecord(0, 12.5), newRecord = RokRecord(0, 0);
  for (const auto* where : {u"zetka_2008\\", u"zetka_2009\\", u""}) {
    const std::u16string year = where == std::u16string(u"zetka_2008\\") ? u"2008" : u"2009";
    op.pair.dir.WriteBytes(std::u16string(where) + u"2008_ROK.REK", oldRecord);
    op.pair.dir.WriteBytes(std::u16string(where) + u"2009_ROK.REK", newRecord);
    op.pair.dir.WriteBytes(std::u16string(where) + u"BAZA_DW8.REK", "baza " + Utf8(year));
  }
  op.pair.AddCompany(u"FIRMA1\\SUB", oldRecord, newRecord);
  op.pair.dir.WriteBytes(u"zetka_2008\\FIRMA1\\SUB\\BAZA_DW8.REK", "nowa");
  op.pair.dir.WriteBytes(u"zetka_2009\\FIRMA1\\SUB\\BAZA_DW8.REK", "stara");

  const auto missing = [&](const std::u16string& katalog) {
    return Lines({u"Skopiowane fimry:", u"BAD.Brak pliku " + Old(katalog + u"\\2008_ROK.REK"),
                  u"OK. Remamenty skopiowano!"});
  };
  const struct {
    const char* katalog;
    std::u16string logged;
    Expected changes;
  } rows[] = {
      // A sub-directory stays inside the installation and is treated.
      {"FIRMA1\\SUB",
       Lines({u"Skopiowane fimry:", u"FIRMA1\\SUB\\BAZA_DW8.REK", u"FIRMA1\\SUB REMA: 12,5",
              u"OK. Remamenty skopiowano!"}),
       {{"zetka_2009/FIRMA1/SUB/2009_ROK.REK", RokRecord(12.5, 0)},
        {"zetka_2009/FIRMA1/SUB/BAZA_DW8.REK", "nowa"},
        {"zetka_2009/FIRMA1/SUB/BAZA_DW8.REK.old", "stara"}}},
      // Names that climb out of the installation reach nothing.
      {"..", missing(u".."), {}},
      {"FIRMA1\\..\\..", missing(u"FIRMA1\\..\\.."), {}},
      // A drive, a share, a stream, a wildcard: no such directory inside.
      {"C:\\Windows", missing(u"C:\\Windows"), {}},
      {"\\\\server\\share", missing(u"\\\\server\\share"), {}},
      {"FIRMA1:x", missing(u"FIRMA1:x"), {}},
      {"FIRMA*", missing(u"FIRMA*"), {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.katalog);
    op.Register({row.katalog});
    const auto before = op.Files();
    ASSERT_EQ(op.Accept().events, kAccepted);
    const auto run = op.Run(true, true);
    EXPECT_EQ(run.failure, u"");
    EXPECT_EQ(Utf8(run.logged), Utf8(row.logged));
    EXPECT_EQ(testing_support::Differences(before, op.Files(), row.changes), "");
    // Back as it was for the next row.
    for (const auto& [name, bytes] : before) {
      op.pair.dir.WriteBytes(platform::Utf8ToText(name), bytes);
    }
    std::filesystem::remove(op.pair.dir.Native(u"zetka_2009\\FIRMA1\\SUB\\BAZA_DW8.REK.old"));
  }
}

// --- annual files ---

TEST_F(BadInputTest, AnnualFilesShortReadOnlyOrDirectories) {
  const Bytes oldRecord = RokRecord(0, 12.5), newRecord = RokRecord(0, 0);
  const auto oldAnnual = Installations::OldAnnual(u"FIRMA1");
  const auto newAnnual = Installations::NewAnnual(u"FIRMA1");
  const std::u16string kShort = u"Read beyond end of file", kDenied = u"File access denied";
  const struct {
    const char* label;
    std::function<void(WholeOperation&)> setUp;
    std::u16string failure;  // empty: the run completes, calling the old file missing
  } rows[] = {
      {"old of 0 bytes", [&](auto& w) { w.pair.dir.WriteBytes(oldAnnual, ""); }, kShort},
      {"old of 100 bytes", [&](auto& w) { w.pair.dir.WriteBytes(oldAnnual, Bytes(100, 'x')); },
       kShort},
      {"old of 511 bytes",
       [&](auto& w) { w.pair.dir.WriteBytes(oldAnnual, oldRecord.substr(0, 511)); }, kShort},
      {"new of 0 bytes", [&](auto& w) { w.pair.dir.WriteBytes(newAnnual, ""); }, kShort},
      {"new of 100 bytes", [&](auto& w) { w.pair.dir.WriteBytes(newAnnual, Bytes(100, 'x')); },
       kShort},
      {"new of 511 bytes",
       [&](auto& w) { w.pair.dir.WriteBytes(newAnnual, newRecord.substr(0, 511)); }, kShort},
      {"old read-only", [&](auto& w) { w.pair.dir.SetReadOnly(oldAnnual); }, kDenied},
      {"new read-only", [&](auto& w) { w.pair.dir.SetReadOnly(newAnnual); }, kDenied},
      {"new a directory",
       [&](auto& w) {
         std::filesystem::remove(w.pair.dir.Native(newAnnual));
         w.pair.dir.MakeDir(newAnnual);
       },
       kDenied},
      // The one failure the transfer reports itself, and goes on.
      {"old a directory",
       [&](auto& w) {
         std::filesystem::remove(w.pair.dir.Native(oldAnnual));
         w.pair.dir.MakeDir(oldAnnual);
       },
       u""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    WholeOperation fresh;
    fresh.pair.AddCompany(u"FIRMA1", oldRecord, newRecord);
    fresh.Register({"FIRMA1"});
    row.setUp(fresh);
    const auto before = fresh.Files();
    ASSERT_EQ(fresh.Accept().events, kAccepted);
    const auto run = fresh.Run(false, true);
    EXPECT_EQ(Utf8(run.failure), Utf8(row.failure));
    // A failed run shows no "Koniec".
    EXPECT_EQ(run.events, row.failure.empty() ? kKoniec : Events{});
    const std::u16string logged = row.failure.empty()
                                      ? Lines({u"BAD.Brak pliku " + fresh.pair.dir.Path(oldAnnual),
                                               u"OK. Remamenty skopiowano!"})
                                      : u"";
    EXPECT_EQ(Utf8(run.logged), Utf8(logged));
    EXPECT_EQ(testing_support::Differences(before, fresh.Files()), "");
  }
}

// --- the additional file list ---

TEST_F(BadInputTest, FileListEntries) {
  op.pair.AddCompany(u"FIRMA1", std::nullopt, std::nullopt);
  op.pair.dir.WriteBytes(u"zetka_2008\\FIRMA1\\BAZA_DW8.REK", "nowa");
  op.pair.dir.WriteBytes(u"zetka_2009\\FIRMA1\\BAZA_DW8.REK", "stara");
  op.pair.dir.WriteBytes(u"zetka_2008\\x", "wspolny nowy");
  op.pair.dir.WriteBytes(u"zetka_2009\\x", "wspolny stary");
  op.Register({"FIRMA1"});
  ASSERT_EQ(op.Accept().events, kAccepted);
  const auto before = op.Files();
  const std::u16string absolute = Old(u"FIRMA1\\BAZA_DW8.REK");
  const std::u16string longName(300, u'A');
  const struct {
    const char* label;
    std::vector<std::u16string> entries;
    std::vector<std::u16string> logged;
    Expected changes;
  } rows[] = {
      {"empty lines", {u"", u""}, {}, {}},
      {"blanks", {u" ", u"   "}, {}, {}},
      {"an absolute path", {absolute}, {}, {}},
      {"a wildcard", {u"*.REK", u"BAZA_DW8.RE?"}, {}, {}},
      {"300 characters", {longName}, {}, {}},
      // Entries are used as typed: "..\" reaches the installation's own
      // directory, and the file there is replaced as any target is.
      {"..\\x",
       {u"..\\x"},
       {u"FIRMA1\\..\\x"},
       {{"zetka_2009/x", "wspolny nowy"}, {"zetka_2009/x.old", "wspolny stary"}}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    op.form.mmo_3.lines = row.entries;
    const auto run = op.Run(true, false);
    std::vector<std::u16string> lines{u"Skopiowane fimry:"};
    lines.insert(lines.end(), row.logged.begin(), row.logged.end());
    EXPECT_EQ(run.events, kKoniec);
    EXPECT_EQ(Utf8(run.logged), Utf8(Lines(lines)));
    EXPECT_EQ(testing_support::Differences(before, op.Files(), row.changes), "");
  }
}

// --- installation paths ---

TEST_F(BadInputTest, InstallationPaths) {
  op.Register({"FIRMA1"});
  const auto before = op.Files();
  const std::u16string source = op.pair.dir.Path(Installations::kOld);
  const std::u16string dest = op.pair.dir.Path(Installations::kNew);
  // The destination itself, named with enough "\." to reach 300 characters.
  std::u16string longDest = dest;
  while (longDest.size() < 300) longDest += u"\\.";
  const struct {
    const char* label;
    std::u16string source, dest;
    Events events;
  } rows[] = {
      {"a wildcard", source, op.pair.dir.Path(u"zetka_20*"), testing_support::kRegisterMissing},
      {"a wildcard in the source", op.pair.dir.Path(u"zetka_200?"), dest,
       testing_support::kRegisterMissing},
      {"300 characters", source, longDest, testing_support::kRegisterMissing},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    const auto outcome = op.Accept(row.source, row.dest);
    EXPECT_EQ(outcome.events, row.events);
    EXPECT_EQ(op.main.fSciezka_dest(), u"");
    EXPECT_EQ(testing_support::Differences(before, op.Files()), "");
  }
}

// Relative paths are read from the current directory, at the click and again
// at the run, which then works on the same installations.
TEST_F(BadInputTest, RelativeInstallationPaths) {
  op.pair.AddCompany(u"FIRMA1", RokRecord(0, 12.5), RokRecord(0, 0));
  op.Register({"FIRMA1"});
  const auto before = op.Files();
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(op.pair.dir.Native(u""));
  const auto accepted = op.Accept(u"zetka_2008", u"zetka_2009");
  const auto run = op.Run(false, true);
  std::filesystem::current_path(previous);
  EXPECT_EQ(accepted.events, kAccepted);
  EXPECT_EQ(op.main.fSciezka_dest(), u"zetka_2009\\");
  EXPECT_EQ(Utf8(run.logged), "FIRMA1 REMA: 12,5\r\nOK. Remamenty skopiowano!\r\n");
  EXPECT_EQ(testing_support::Differences(before, op.Files(),
                                         {{"zetka_2009/FIRMA1/2009_ROK.REK", RokRecord(12.5, 0)}}),
            "");
}

}  // namespace
