// "Podgląd" on the run screen of the real window: after "KOniec" in the tab
// order, it opens the "Podgląd" window over frm_Main, by Enter or a click,
// Esc closes it, and no file is written.
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

class PreviewButtonTest : public WindowTest {
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
  // and types Esc as real input.
  template <typename Act>
  Seen OpenAndEscape(Act act) {
    Seen seen;
    std::thread user([&] {
      HWND list = nullptr;
      for (int tries = 0; tries < 500 && list == nullptr; ++tries) {
        Sleep(10);
        list = FindWindowW(L"Dopliki32List", nullptr);
      }
      if (list == nullptr) return;
      seen.opened = true;
      seen.owner = GetWindow(list, GW_OWNER);
      seen.title = shell::win32::WindowText(list);
      seen.text = shell::win32::WindowText(FindWindowExW(list, nullptr, L"EDIT", nullptr));
      if (std::getenv("DOPLIKI_SHOT")) Sleep(4000);
      SendKey(VK_ESCAPE, false);
      SendKey(VK_ESCAPE, true);
    });
    act();
    user.join();
    Pump();
    return seen;
  }
};

TEST_F(PreviewButtonTest, EnterOrAClickOpensThePreviewOverFrmMainAndWritesNothing) {
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
    const Seen seen = OpenAndEscape([&] {
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

}  // namespace
