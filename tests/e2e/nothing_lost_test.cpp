// The real exe used as an office uses it, where data was once lost: keys
// typed while a run or a load works, Enter held down, a close request from
// the taskbar while "Koniec" is shown, a copy that does not fit on the new
// installation's drive, the program started from a network share.
#include <cstdlib>
#include <string>

#include "e2e/real_exe_fixture.h"
#include "e2e/small_drive.h"

namespace {

namespace fs = std::filesystem;
using namespace e2e;
using testing_support::Bytes;
using testing_support::FirmaRecord;
using testing_support::Installations;
using testing_support::RokRecord;

// A file's content in a failure's message: its size and its start.
std::string Shown(const Bytes& bytes) {
  return std::to_string(bytes.size()) + " bytes: \"" + bytes.substr(0, 20) + "\"";
}

// How often a line stands in a log.
int Count(const std::string& log, const std::string& line) {
  int count = 0;
  for (auto at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) ++count;
  return count;
}

class NothingLostTest : public RealExeTest {
 protected:
  // Companies F0000, F0001, ... in both installations, each with an inventory
  // to carry and an additional file to copy.
  void AddCompanies(int count) {
    Bytes register_;
    for (int i = 0; i < count; ++i) {
      std::string katalog = std::to_string(10000 + i);
      katalog[0] = 'F';
      const std::u16string name(katalog.begin(), katalog.end());
      pair.AddCompany(name, RokRecord(0, 1 + i), RokRecord(0, 0));
      pair.dir.WriteBytes(Installations::In(Installations::kOld, name, u"BAZA_DW8.REK"), katalog);
      register_ += FirmaRecord("Firma " + katalog, katalog);
    }
    pair.dir.WriteBytes(u"zetka_2008\\spisfirm.dat", "");
    pair.dir.WriteBytes(u"zetka_2009\\spisfirm.dat", register_);
  }

  std::string SavedLog() {
    return pair.dir.Exists(u"bin\\dopliki32.log") ? pair.dir.ReadBytes(u"bin\\dopliki32.log")
                                                  : std::string("(none)");
  }

  // "Koniec", shown, stays until a key typed after it; Enter closes it.
  void SeeKoniecAndCloseIt(Millis limit = kStepLimit) {
    const auto info = WaitForKoniec(limit);
    ASSERT_TRUE(info) << "no \"Info\" box; the active window: " << ActiveName();
    EXPECT_FALSE(WaitUntilGone(*info, 1s)) << "\"Koniec\" closed unseen";
    ASSERT_TRUE(WaitUntilActive(*info, kStepLimit));
    Type({"Return"});
    ASSERT_TRUE(WaitUntilGone(*info, kStepLimit));
  }
};

// Both switches ticked, "SRU", and while the run works the user types
// Enter, Enter, Esc, Esc: one run, "Koniec" seen, the run screen still there.
TEST_F(NothingLostTest, KeysTypedDuringALongRunActOnNothing) {
  AddCompanies(3000);
  ProposeThePair();
  Install("dopliki32.exe");
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_NO_FATAL_FAILURE(Accept());
  Type({"Tab", "space", "Tab", "Tab", "space", "Return", "Return", "Return", "Escape", "Escape"});
  ASSERT_NO_FATAL_FAILURE(SeeKoniecAndCloseIt(120s));
  const std::string log = SavedLog();
  EXPECT_EQ(Count(log, "Skopiowane fimry:"), 1) << "runs in the log";
  EXPECT_EQ(Count(log, "OK. Remamenty skopiowano!"), 1) << "runs in the log";
  EXPECT_EQ(Count(log, " REMA: "), 3000);
  // Still on the run screen: Enter runs again (on the paths screen it would
  // accept the paths, and show no box).
  ASSERT_TRUE(WaitUntilActive(main, kStepLimit)) << "the active window: " << ActiveName();
  Type({"Return"});
  ASSERT_NO_FATAL_FAILURE(SeeKoniecAndCloseIt(120s));
  EXPECT_EQ(Count(SavedLog(), "OK. Remamenty skopiowano!"), 2);
  ASSERT_NO_FATAL_FAILURE(Close());
}

// Enter on the paths, and Enter, Enter typed while thousands of companies
// load: no run starts, no log is written.
TEST_F(NothingLostTest, KeysTypedDuringALongLoadActOnNothing) {
  Bytes register_;
  for (int i = 0; i < 20000; ++i) register_ += FirmaRecord("Firma", "F" + std::to_string(i));
  pair.dir.WriteBytes(u"zetka_2008\\spisfirm.dat", "");
  pair.dir.WriteBytes(u"zetka_2009\\spisfirm.dat", register_);
  ProposeThePair();
  Install("dopliki32.exe");
  ASSERT_NO_FATAL_FAILURE(Start());
  const std::string pathsScreen = Capture(main);
  Type({"Return", "Return", "Return"});
  ASSERT_TRUE(WaitUntilStill(main, pathsScreen, 60s)) << "the screen did not change";
  EXPECT_FALSE(WaitForKoniec(2s)) << "a run started";
  EXPECT_EQ(SavedLog(), "(none)");
  ASSERT_NO_FATAL_FAILURE(Close());
}

// Enter held down: the keyboard repeats it for as long as it is held, and
// the repeats are the keystroke that began them, not new ones. On the paths
// screen the paths are accepted and no run starts; on the run screen one run,
// whose "Koniec" waits for Enter pressed again.
TEST_F(NothingLostTest, AHeldEnterActsOnce) {
  AddCompanies(3);
  ProposeThePair();
  Install("dopliki32.exe");
  ASSERT_NO_FATAL_FAILURE(Start());
  const std::string pathsScreen = Capture(main);
  Hold("Return", 2s);
  ASSERT_TRUE(WaitUntilStill(main, pathsScreen, kStepLimit)) << "the screen did not change";
  EXPECT_FALSE(WaitForKoniec(2s)) << "a run started";
  EXPECT_EQ(SavedLog(), "(none)");
  Type({"Tab", "Tab", "Tab", "space"});
  Hold("Return", 2s);
  ASSERT_NO_FATAL_FAILURE(SeeKoniecAndCloseIt());
  EXPECT_EQ(Count(SavedLog(), "OK. Remamenty skopiowano!"), 1) << "runs in the log";
  ASSERT_NO_FATAL_FAILURE(Close());
}

// While "Koniec" is shown, Windows' task list closes the program through its
// taskbar entry: the run ends as it would, its log saved whole, and then the
// program closes.
TEST_F(NothingLostTest, ACloseRequestDuringKoniecKeepsTheWholeLog) {
  const char* postClose = std::getenv("DOPLIKI_POST_CLOSE");
  ASSERT_NE(postClose, nullptr) << "DOPLIKI_POST_CLOSE is not set";
  AddCompanies(3);
  ProposeThePair();
  Install("dopliki32.exe");
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_NO_FATAL_FAILURE(Accept());
  Type({"Tab", "space", "Tab", "Tab", "space", "Return"});
  const auto info = WaitForKoniec();
  ASSERT_TRUE(info) << "no \"Info\" box";
  Command post = WindowsProgram(postClose, pair.dir.Native(u"elsewhere"));
  post.args.push_back("Dopliki32Application");
  const Outcome posted = e2e::Run(post, kStepLimit);
  ASSERT_TRUE(posted.finished && posted.exitCode == 0) << "the close was not sent";
  EXPECT_FALSE(WaitUntilGone(*info, 1s)) << "\"Koniec\" went with the close";
  EXPECT_TRUE(program->Running());
  ASSERT_TRUE(WaitUntilActive(*info, kStepLimit));
  Type({"Return"});
  EXPECT_EQ(program->Wait(kStepLimit), 0) << "the program did not close with code 0";
  EXPECT_EQ(SavedLog(),
            "Skopiowane fimry:\r\nF0000\\BAZA_DW8.REK\r\nF0001\\BAZA_DW8.REK\r\n"
            "F0002\\BAZA_DW8.REK\r\nF0000 REMA: 1\r\nF0001 REMA: 2\r\nF0002 REMA: 3\r\n"
            "OK. Remamenty skopiowano!\r\n");
}

// The new installation on a drive with less room than the additional files
// need: every copy fails on the way, and leaves its target as it was, no
// part of itself under any name and nothing in the log. With room made, the
// next run copies them, keeping the old files.
TEST_F(NothingLostTest, ACopyThatDoesNotFitLeavesTheTargetAsItWas) {
  SmallDrive drive(pair.dir.Native(u"small"), std::size_t{64} * 1024, 'S');
  const std::string big1(60000, '1'), big2(60000, '2');
  const auto old = [](std::u16string_view katalog) {
    return Installations::In(Installations::kOld, katalog, u"BAZA_DW8.REK");
  };
  const auto now = [](std::u16string_view katalog, std::u16string_view file = u"BAZA_DW8.REK") {
    return u"small\\zetka_2009\\" + std::u16string(katalog) + u"\\" + std::u16string(file);
  };
  for (const auto* katalog : {u"FIRMA1", u"FIRMA2"}) {
    pair.dir.MakeDir(Installations::In(Installations::kOld, katalog, u""));
    pair.dir.WriteBytes(Installations::OldAnnual(katalog), RokRecord(0, 250));
    pair.dir.MakeDir(now(katalog, u""));
    pair.dir.WriteBytes(now(katalog, u"2009_ROK.REK"), RokRecord(0, 0));
  }
  pair.dir.WriteBytes(old(u"FIRMA1"), big1);
  pair.dir.WriteBytes(old(u"FIRMA2"), big2);
  pair.dir.WriteBytes(now(u"FIRMA1"), "stara baza");
  const Bytes register_ = FirmaRecord("Jeden", "FIRMA1") + FirmaRecord("Dwa", "FIRMA2");
  pair.dir.WriteBytes(u"zetka_2008\\spisfirm.dat", "");
  pair.dir.WriteBytes(u"small\\zetka_2009\\spisfirm.dat", register_);
  const int year = CurrentYear();
  ProposeInRegistry(year - 1, Installations::kOld);
  ProposeWindowsPath(year, drive.Letter() + "\\zetka_2009");
  Install("dopliki32.exe");

  const auto run = [&] {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(Accept());
    Type({"Tab", "space", "Tab", "Tab", "space", "Return"});
    ASSERT_NO_FATAL_FAILURE(SeeKoniecAndCloseIt());
    ASSERT_NO_FATAL_FAILURE(Close());
  };
  ASSERT_NO_FATAL_FAILURE(run());
  const auto drive1 = Files(pair.dir.Native(u"small"));
  std::string listed;
  for (const auto& [name, bytes] : drive1) listed += " " + name + " (" + Shown(bytes) + ")";
  // Besides the data: the run's undo journal.
  EXPECT_EQ(drive1.size(), 5u) << "on the drive:" << listed;
  EXPECT_EQ(Shown(pair.dir.ReadBytes(now(u"FIRMA1"))), Shown("stara baza"));
  EXPECT_FALSE(pair.dir.Exists(now(u"FIRMA1", u"BAZA_DW8.REK.old")));
  EXPECT_FALSE(pair.dir.Exists(now(u"FIRMA2")));
  for (const auto* katalog : {u"FIRMA1", u"FIRMA2"}) {
    EXPECT_EQ(pair.dir.ReadBytes(now(katalog, u"2009_ROK.REK")), RokRecord(250, 0));
  }
  const std::string carried =
      "FIRMA1 REMA: 250\r\nFIRMA2 REMA: 250\r\nOK. Remamenty skopiowano!\r\n";
  EXPECT_EQ(SavedLog(), "Skopiowane fimry:\r\n" + carried);

  drive.Resize(std::size_t{1024} * 1024);
  ASSERT_NO_FATAL_FAILURE(run());
  EXPECT_TRUE(pair.dir.ReadBytes(now(u"FIRMA1")) == big1)
      << Shown(pair.dir.ReadBytes(now(u"FIRMA1")));
  EXPECT_EQ(pair.dir.ReadBytes(now(u"FIRMA1", u"BAZA_DW8.REK.old")), "stara baza");
  EXPECT_TRUE(pair.dir.ReadBytes(now(u"FIRMA2")) == big2)
      << Shown(pair.dir.ReadBytes(now(u"FIRMA2")));
  EXPECT_EQ(Files(pair.dir.Native(u"small")).size(), 7u);
  EXPECT_EQ(SavedLog(),
            "Skopiowane fimry:\r\nFIRMA1\\BAZA_DW8.REK\r\nFIRMA2\\BAZA_DW8.REK\r\n"
            "FIRMA1 REMANENT DOCELOWY NIEZEROWY 250 - pomijam\r\n"
            "FIRMA2 REMANENT DOCELOWY NIEZEROWY 250 - pomijam\r\n"
            "OK. Remamenty skopiowano!\r\n");
}

// Started from a network share (\\serwer\udzial), the program writes its
// log beside itself there.
TEST_F(NothingLostTest, StartedFromAShareTheLogIsSavedBesideIt) {
  const fs::path unc = fs::path(std::getenv("WINEPREFIX")) / "dosdevices" / "unc" / "serwer";
  fs::create_directories(unc);
  const fs::path share = unc / "udzial";
  fs::remove(share);
  fs::create_directory_symlink(pair.dir.Native(u"bin"), share);
  struct Unlink {
    fs::path link;
    explicit Unlink(fs::path at) : link(std::move(at)) {}
    Unlink(const Unlink&) = delete;
    Unlink& operator=(const Unlink&) = delete;
    ~Unlink() { fs::remove_all(link.parent_path().parent_path()); }
  } unlink{share};
  AddCompanies(1);
  ProposeThePair();
  Install("dopliki32.exe");
  ASSERT_NO_FATAL_FAILURE(Start("\\\\serwer\\udzial\\dopliki32.exe"));
  ExpectOneTaskbarEntry("dopliki32");
  ASSERT_NO_FATAL_FAILURE(Accept());
  Type({"Tab", "Tab", "Tab", "space", "Return"});
  ASSERT_NO_FATAL_FAILURE(SeeKoniecAndCloseIt());
  ASSERT_NO_FATAL_FAILURE(Close());
  EXPECT_EQ(SavedLog(), "F0000 REMA: 1\r\nOK. Remamenty skopiowano!\r\n");
}

}  // namespace
