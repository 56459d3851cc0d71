// "Podgląd" and "Cofnij" on the run screen of the real window, after "KOniec"
// in the tab order: each opens its list window over frm_Main. The preview is
// closed by Esc and writes nothing; the undo asks first, and takes the run
// back only on "Tak".
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "shell/form.h"
#include "shell/win32/box_controls.h"
#include "support/change_replay.h"
#include "support/records.h"
#include "window_fixture.h"

namespace {

using shell::Id;
using testing_support::FirmaRecord;
using testing_support::Installations;
using testing_support::RokRecord;
using testing_support::SendKey;
using testing_support::WindowTest;

// What the test saw of the list window while it was open.
struct Seen {
  bool opened = false;
  HWND owner = nullptr;
  std::u16string title, text;
};

class ListButtonsTest : public WindowTest {
 protected:
  void SetUp() override {
    pair.AddCompany(u"FIRMA1", RokRecord(0, 12.5), RokRecord(0, 0));
    pair.dir.WriteBytes(Installations::In(Installations::kOld, u"FIRMA1", u"BAZA_DW8.REK"), "b");
    pair.dir.WriteBytes(u"zetka_2008\\spisfirm.dat", "");
    pair.dir.WriteBytes(u"zetka_2009\\spisfirm.dat", FirmaRecord("Alfa", "FIRMA1"));
    ProposeThePair();
    Open();
    Keys({{VK_RETURN}});
    ASSERT_EQ(main->ShownScreen(), shell::Screen::kRun);
    for (const Id check : {Id::chk_4, Id::chk_Remanenty}) {
      SendMessageW(Control(check), BM_SETCHECK, BST_CHECKED, 0);
    }
  }

  // Does `act` on the window's thread; once the list window is up, notes it
  // and types the keys (Esc unless told) as real input.
  template <typename Act>
  Seen OpenAndType(Act act, std::vector<testing_support::Keystroke> keys = {{VK_ESCAPE}}) {
    Seen seen;
    std::thread user([&] {
      const HWND list = testing_support::AwaitListWindow();
      if (list == nullptr) return;
      seen.opened = true;
      seen.owner = GetWindow(list, GW_OWNER);
      seen.title = shell::win32::WindowText(list);
      seen.text = shell::win32::WindowText(FindWindowExW(list, nullptr, L"EDIT", nullptr));
      if (std::getenv("DOPLIKI_SHOT")) Sleep(4000);
      for (const auto& k : keys) {
        if (k.shift) SendKey(VK_SHIFT, false);
        SendKey(k.key, false);
        SendKey(k.key, true);
        if (k.shift) SendKey(VK_SHIFT, true);
      }
    });
    act();
    user.join();
    Pump();
    return seen;
  }
};

TEST_F(ListButtonsTest, EnterOrAClickOpensThePreviewOverFrmMainAndWritesNothing) {
  const auto before = testing_support::FilesUnder(pair.dir);
  SetFocus(Control(Id::btn_4));
  Keys({{VK_TAB}});
  ASSERT_EQ(Focus(), Id::btn_Podglad);

  const struct {
    const char* label;
    bool click;
  } cases[] = {{"Enter", false}, {"a click", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const Seen seen = OpenAndType([&] {
      if (c.click) {
        TypeClick(Id::btn_Podglad);
        Pump();
      } else {
        Keys({{VK_RETURN}});
      }
    });
    ASSERT_TRUE(seen.opened);
    EXPECT_EQ(seen.owner, main->Handle());
    EXPECT_EQ(seen.title, u"Podgląd");
    EXPECT_NE(seen.text.find(u"Remanent początkowy FIRMA1: 0 -> 12,5\r\n"), std::u16string::npos);
    EXPECT_NE(seen.text.find(u"\r\nFIRMA1 REMA: 12,5\r\n"), std::u16string::npos);
    // Closed by Esc; frm_Main is as it was.
    EXPECT_EQ(FindWindowW(L"Dopliki32List", nullptr), nullptr);
    EXPECT_TRUE(IsWindow(main->Handle()));
    EXPECT_EQ(main->ShownScreen(), shell::Screen::kRun);
    EXPECT_EQ(Focus(), Id::btn_Podglad);
    EXPECT_EQ(Text(Id::mmo_Log), u"");
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(testing_support::FilesUnder(pair.dir), before);
    EXPECT_FALSE(pair.dir.Exists(u"bin\\dopliki32.log"));
  }
}

// The run's journal and the log are the program's own: the data files are
// all the rest.
testing_support::Tree DataFiles(const testing_support::TempDir& dir) {
  auto files = testing_support::FilesUnder(dir);
  files.erase("zetka_2009/dopliki32.cofnij");
  files.erase("bin/dopliki32.log");
  return files;
}

TEST_F(ListButtonsTest, CofnijAsksFirstAndTakesTheRunBackOnlyOnTak) {
  const auto before = DataFiles(pair.dir);
  SetFocus(Control(Id::btn_2));
  Keys({{VK_RETURN}});
  ASSERT_EQ(Boxes().size(), 1u);
  Boxes().clear();
  const auto afterRun = DataFiles(pair.dir);
  ASSERT_NE(afterRun, before);
  const std::u16string logAfterRun = Text(Id::mmo_Log);

  SetFocus(Control(Id::btn_Podglad));
  Keys({{VK_TAB}});
  ASSERT_EQ(Focus(), Id::btn_Cofnij);
  // Esc says no: nothing changes.
  Seen seen = OpenAndType([&] { Keys({{VK_RETURN}}); });
  ASSERT_TRUE(seen.opened);
  EXPECT_EQ(seen.owner, main->Handle());
  EXPECT_EQ(seen.title, u"Cofnij");
  EXPECT_NE(seen.text.find(u"Cofnąć ten przebieg?"), std::u16string::npos);
  EXPECT_EQ(DataFiles(pair.dir), afterRun);
  EXPECT_EQ(Text(Id::mmo_Log), logAfterRun);

  // Shift+Tab to "Tak", then Enter: the run is taken back and logged.
  seen = OpenAndType(
      [&] {
        TypeClick(Id::btn_Cofnij);
        Pump();
      },
      {{VK_TAB, true}, {VK_RETURN}});
  ASSERT_TRUE(seen.opened);
  EXPECT_EQ(DataFiles(pair.dir), before);
  EXPECT_TRUE(Text(Id::mmo_Log).ends_with(u"OK. Cofnięto przebieg nr 1.\r\n"));
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(Focus(), Id::btn_Cofnij);
}

}  // namespace
