// "Podgląd" and "Cofnij" of the real exe, with keystrokes: the preview
// changes no file; a run, the program closed and started again, the same
// paths accepted, "Cofnij", "Tak": every data file as before the run.
#include "e2e/real_exe_fixture.h"

namespace {

namespace fs = std::filesystem;
using namespace e2e;
using testing_support::Bytes;
using testing_support::FirmaRecord;
using testing_support::Installations;
using testing_support::RokRecord;

const std::string kJournal = "zetka_2009/dopliki32.cofnij";
const std::string kLog = "bin/dopliki32.log";

class PreviewUndoTest : public RealExeTest {
 protected:
  // The list window titled by `titleRegex`, once active, answered with `typed`.
  void Answer(const std::string& titleRegex, const std::vector<std::string>& typed) {
    const auto list = WaitForWindow(titleRegex, kStepLimit);
    ASSERT_TRUE(list) << "no window " << titleRegex << "; the active window: " << ActiveName();
    ASSERT_TRUE(WaitUntilActive(*list, kStepLimit));
    Type(typed);
    ASSERT_TRUE(WaitUntilGone(*list, kStepLimit));
    ASSERT_TRUE(WaitUntilActive(main, kStepLimit)) << "another window is active: " << ActiveName();
  }
};

TEST_F(PreviewUndoTest, PreviewChangesNothingAndCofnijTakesTheRunBackAfterARestart) {
  for (const std::u16string katalog : {u"FIRMA1", u"FIRMA2"}) {
    pair.AddCompany(katalog, RokRecord(0, 12.5), RokRecord(0, 0));
    pair.dir.WriteBytes(Installations::In(Installations::kOld, katalog, u"BAZA_DW8.REK"), "nowa");
  }
  pair.dir.WriteBytes(Installations::In(Installations::kNew, u"FIRMA1", u"BAZA_DW8.REK"), "stara");
  const Bytes register_ = FirmaRecord("Alfa", "FIRMA1") + FirmaRecord("Beta", "FIRMA2");
  pair.dir.WriteBytes(u"zetka_2008\\spisfirm.dat", register_);
  pair.dir.WriteBytes(u"zetka_2009\\spisfirm.dat", register_);
  ProposeThePair();
  Install("dopliki32.exe");
  const fs::path root = pair.dir.Native(u"");
  const auto before = Files(root);

  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_NO_FATAL_FAILURE(Accept());
  // Both switches ticked; on past the log and the run's buttons to "Podgląd".
  Type({"Tab", "space", "Tab", "Tab", "space", "Tab", "Tab", "Tab", "Tab", "Tab", "Return"});
  ASSERT_NO_FATAL_FAILURE(Answer("^Podgl", {"Escape"}));
  EXPECT_TRUE(Files(root) == before) << "the preview changed a file";

  // Back to "SRU" and the run.
  Type({"shift+Tab", "shift+Tab", "shift+Tab", "Return"});
  const auto info = WaitForKoniec();
  ASSERT_TRUE(info) << "no \"Info\" box; the active window: " << ActiveName();
  ASSERT_TRUE(WaitUntilActive(*info, kStepLimit));
  Type({"Return"});
  ASSERT_TRUE(WaitUntilGone(*info, kStepLimit));
  ASSERT_NO_FATAL_FAILURE(Close());
  auto afterRun = Files(root);
  ASSERT_TRUE(afterRun.contains(kJournal));
  afterRun.erase(kJournal);
  afterRun.erase(kLog);
  ASSERT_FALSE(afterRun == before) << "the run changed nothing";

  // Started again: the same paths, then Shift+Tab from the container to
  // "Cofnij", Enter, and Shift+Tab from "Nie" to "Tak", Enter.
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_NO_FATAL_FAILURE(Accept());
  Type({"shift+Tab", "Return"});
  ASSERT_NO_FATAL_FAILURE(Answer("^Cofnij$", {"shift+Tab", "Return"}));
  ASSERT_NO_FATAL_FAILURE(Close());

  auto afterUndo = Files(root);
  ASSERT_TRUE(afterUndo.contains(kLog));
  const std::string log = afterUndo.at(kLog);
  EXPECT_NE(log.find("OK. Cofni\xeato przebieg nr 1.\r\n"), std::string::npos) << log;
  afterUndo.erase(kJournal);
  afterUndo.erase(kLog);
  for (const auto& [file, bytes] : before) {
    const auto found = afterUndo.find(file);
    EXPECT_TRUE(found != afterUndo.end() && found->second == bytes) << file << " is not as before";
  }
  for (const auto& [file, bytes] : afterUndo) {
    EXPECT_TRUE(before.contains(file)) << file << " was left";
  }
}

}  // namespace
