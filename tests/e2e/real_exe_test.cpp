// The real dopliki32.exe in its typical use, and under another name.
#include "e2e/real_exe_fixture.h"

namespace {

namespace fs = std::filesystem;
using namespace e2e;
using testing_support::Bytes;
using testing_support::FirmaRecord;
using testing_support::Installations;
using testing_support::kClosing;
using testing_support::kOpening;
using testing_support::RokRecord;

// Enter, both switches ticked, Enter, Enter on "Koniec", Alt+F4: the files of
// both installations and the log beside the exe, byte for byte.
TEST_F(RealExeTest, TypicalUseWithKeystrokes) {
  // Company directories: FIRMA1 plain; one in Windows-1250 (Ł is 0xA3) to
  // show the code page on the way in and in the log; FIRMA3 already has an
  // opening inventory; FIRMA4 is new this year.
  const std::u16string firma2 = u"FIRMA_\u0141";
  pair.AddCompany(u"FIRMA1", RokRecord(100, 23456.8), RokRecord(0, 5));
  pair.AddCompany(firma2, RokRecord(0, -17.25), RokRecord(-0.0, 0));
  pair.AddCompany(u"FIRMA3", RokRecord(0, 99), RokRecord(1500.75, 0));
  pair.AddCompany(u"FIRMA4", std::nullopt, RokRecord(0, 0));
  const Bytes register_ = FirmaRecord("Piekarnia K\xB3os", "FIRMA1") +
                          FirmaRecord(
                              "Zak\xB3"
                              "ad \xA3ukasz",
                              "FIRMA_\xA3") +
                          FirmaRecord("Sklep", "FIRMA3") + FirmaRecord("Nowa", "FIRMA4");
  pair.dir.WriteBytes(u"zetka_2008\\spisfirm.dat", register_);
  pair.dir.WriteBytes(u"zetka_2009\\spisfirm.dat", register_);
  const auto baza = [](std::u16string_view installation, std::u16string_view katalog,
                       std::u16string_view name = u"BAZA_DW8.REK") {
    return Installations::In(installation, katalog, name);
  };
  const auto& old = Installations::kOld;
  const auto& now = Installations::kNew;
  pair.dir.WriteBytes(baza(old, u"FIRMA1"), "source 1");
  pair.dir.WriteBytes(baza(now, u"FIRMA1"), "target 1");
  pair.dir.WriteBytes(baza(old, firma2), "source 2");
  pair.dir.WriteBytes(baza(old, u"FIRMA3"), "source 3");
  pair.dir.WriteBytes(baza(now, u"FIRMA3"), "target 3");
  pair.dir.WriteBytes(baza(now, u"FIRMA3", u"BAZA_DW8.REK.old"), "backup 3");

  const int year = CurrentYear();
  ProposeInRegistry(year - 1, old);
  ProposeInRegistry(year, now);
  Install("dopliki32.exe");
  const fs::path root = pair.dir.Native(u"");
  const auto key = [&](std::u16string_view relative) {
    return fs::relative(pair.dir.Native(relative), root).string();
  };
  auto expected = Files(root);

  ASSERT_NO_FATAL_FAILURE(Start());
  ExpectOneTaskbarEntry("dopliki32");

  // Enter presses "OK": the proposed paths are accepted, the run screen shows.
  const std::string pathsScreen = e2e::Capture(main);
  e2e::Type({"Return"});
  ASSERT_TRUE(e2e::WaitUntilStill(main, pathsScreen, kStepLimit)) << "the screen did not change";
  ASSERT_TRUE(e2e::WaitUntilActive(main, 2s)) << "another window is active: " << ActiveName();

  // The focus is on the screen container: Tab to "Skopiuj pliki:", tick it,
  // Tab past the file list to the inventory switch, tick it, Enter: "SRU".
  e2e::Type({"Tab", "space", "Tab", "Tab", "space", "Return"});
  const auto info = e2e::WaitForWindow("^Info$", kStepLimit);
  ASSERT_TRUE(info) << "no \"Info\" box";
  ASSERT_TRUE(e2e::WaitUntilActive(*info, kStepLimit));
  e2e::Type({"Return"});
  ASSERT_TRUE(e2e::WaitUntilGone(*info, kStepLimit));
  ASSERT_NO_FATAL_FAILURE(Close());

  // Only the opening inventory of the carried companies changes, to the old
  // year's closing bytes; the copies keep their backups; the log beside the exe.
  for (const std::u16string& katalog : {std::u16string(u"FIRMA1"), firma2}) {
    Bytes& annual = expected[key(Installations::NewAnnual(katalog))];
    const Bytes closing = pair.dir.ReadBytes(Installations::OldAnnual(katalog)).substr(kClosing, 8);
    annual.replace(kOpening, 8, closing);
  }
  expected[key(baza(now, u"FIRMA1"))] = "source 1";
  expected[key(baza(now, u"FIRMA1", u"BAZA_DW8.REK.old"))] = "target 1";
  expected[key(baza(now, firma2))] = "source 2";
  const std::string source = e2e::WindowsPath(pair.dir.Native(old)) + "\\";
  expected["bin/dopliki32.log"] =
      "Skopiowane fimry:\r\n"
      "FIRMA1\\BAZA_DW8.REK\r\n"
      "FIRMA_\xA3\\BAZA_DW8.REK\r\n"
      "FIRMA1 REMA: 23456,8\r\n"
      "FIRMA_\xA3 REMA: -17,25\r\n"
      "FIRMA3 REMANENT DOCELOWY NIEZEROWY 1500,75 - pomijam\r\n"
      "BAD.Brak pliku " +
      source +
      "FIRMA4\\2008_ROK.REK\r\n"
      "OK. Remamenty skopiowano!\r\n";

  auto actual = Files(root);
  // The run's undo journal, beside the new installation's register: its
  // paths and checks are the fixture's, so only what it is is checked here.
  const auto journal = actual.find("zetka_2009/dopliki32.cofnij");
  if (journal == actual.end()) {
    ADD_FAILURE() << "no undo journal";
  } else {
    EXPECT_EQ(journal->second.substr(0, journal->second.find('\r')),
              "dopliki32 - dziennik zmian do cofni\xc4\x99"
              "cia, format 1");
    actual.erase(journal);
  }
  for (const auto& [file, bytes] : expected) {
    const auto found = actual.find(file);
    if (found == actual.end()) {
      ADD_FAILURE() << file << " is missing";
    } else {
      EXPECT_TRUE(found->second == bytes) << file << " differs";
    }
  }
  for (const auto& [file, bytes] : actual) {
    EXPECT_TRUE(expected.contains(file)) << file << " was made";
  }
  EXPECT_EQ(actual.at("bin/dopliki32.log"), expected["bin/dopliki32.log"]);
}

// Copied as KOPIA.EXE: the taskbar reads "Kopia", the caption stays, and
// Alt+F4 closes at once, asking nothing and writing nothing.
TEST_F(RealExeTest, CopiedAsKopia) {
  Install("KOPIA.EXE");
  ASSERT_NO_FATAL_FAILURE(Start());
  ExpectOneTaskbarEntry("Kopia");
  const auto before = Files(pair.dir.Native(u""));
  ASSERT_NO_FATAL_FAILURE(Close());
  EXPECT_EQ(Files(pair.dir.Native(u"")), before);
}

}  // namespace
