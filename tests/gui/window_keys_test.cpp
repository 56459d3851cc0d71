// Keys as a user presses them, through the program's own message loop.
#include <gtest/gtest.h>

#include "shell/form.h"
#include "shell/main_form.h"
#include "support/records.h"
#include "window_fixture.h"

namespace {

using shell::Id;
using shell::Screen;
using testing_support::Alt;
using testing_support::Ctrl;
using testing_support::FirmaRecord;
using testing_support::Installations;
using testing_support::RokRecord;
using testing_support::Shift;
using testing_support::WindowTest;

// A pair with one company whose inventory carries over, proposed by the
// registry, so a first Enter accepts it.
class WindowKeysTest : public WindowTest {
 protected:
  void SetUp() override {
    pair.AddCompany(u"FIRMA1", RokRecord(0, 12.5), RokRecord(0, 0));
    pair.dir.WriteBytes(u"zetka_2008\\spisfirm.dat", "");
    pair.dir.WriteBytes(u"zetka_2009\\spisfirm.dat", FirmaRecord("Alfa", "FIRMA1"));
    ProposeThePair();
    Open();
  }
  void TickBoth() {
    SendMessageW(Control(Id::chk_4), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(Control(Id::chk_Remanenty), BM_SETCHECK, BST_CHECKED, 0);
  }
};

TEST_F(WindowKeysTest, EnterAcceptsTheProposalsAndEnterAgainRuns) {
  Keys({{VK_RETURN}});
  EXPECT_EQ(main->ShownScreen(), Screen::kRun);
  EXPECT_TRUE(GetWindowLongPtrW(Control(Id::mmo_2), GWL_STYLE) & WS_VISIBLE);
  EXPECT_EQ(Text(Id::mmo_2), u"FIRMA1\r\n");
  // The focus was on the container: it stays there.
  EXPECT_EQ(Focus(), Id::pg_1);

  TickBoth();
  Keys({{VK_RETURN}});
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Event(), u"Info|Koniec|64");
  EXPECT_EQ(Text(Id::mmo_Log),
            u"Skopiowane fimry:\r\nFIRMA1 REMA: 12,5\r\nOK. Remamenty skopiowano!\r\n");
  EXPECT_EQ(pair.dir.ReadBytes(Installations::NewAnnual(u"FIRMA1")), RokRecord(12.5, 0));
  EXPECT_EQ(pair.dir.ReadBytes(u"bin\\dopliki32.log"),
            "Skopiowane fimry:\r\nFIRMA1 REMA: 12,5\r\nOK. Remamenty skopiowano!\r\n");
}

TEST_F(WindowKeysTest, TabWalksTheShownScreenRoundAndBack) {
  const std::vector<Id> paths{Id::edt_ZETKA_source, Id::edt_ZETKA_dest, Id::btn_1, Id::pg_1};
  for (const Id expected : paths) {
    Keys({{VK_TAB}});
    EXPECT_EQ(Focus(), expected);
  }
  Keys({Shift(VK_TAB)});
  EXPECT_EQ(Focus(), Id::btn_1);

  // Accepted with the button focused: the focus moves to the new screen.
  Keys({{VK_RETURN}});
  ASSERT_EQ(main->ShownScreen(), Screen::kRun);
  EXPECT_EQ(Focus(), Id::chk_4);
  const std::vector<Id> run{Id::mmo_3, Id::chk_Remanenty, Id::mmo_Log,    Id::btn_2, Id::btn_3,
                            Id::btn_4, Id::btn_Podglad,   Id::btn_Cofnij, Id::pg_1,  Id::chk_4};
  for (const Id expected : run) {
    Keys({{VK_TAB}});
    EXPECT_EQ(Focus(), expected);
  }
  // Back on the paths screen, the company lists are in the order now.
  Keys({{VK_ESCAPE}});
  ASSERT_EQ(main->ShownScreen(), Screen::kPaths);
  EXPECT_EQ(Focus(), Id::edt_ZETKA_source);
  Keys({Shift(VK_TAB), Shift(VK_TAB)});
  EXPECT_EQ(Focus(), Id::mmo_2);
}

TEST_F(WindowKeysTest, EscapeInTheEditableBoxesDoesNothing) {
  Keys({{VK_RETURN}});
  for (const Id box : {Id::mmo_3, Id::mmo_Log}) {
    SetFocus(Control(box));
    Keys({{VK_ESCAPE}});
    EXPECT_TRUE(IsWindow(main->Handle()));
    EXPECT_EQ(main->ShownScreen(), Screen::kRun);
    EXPECT_EQ(Focus(), box);
  }
  // On a check box it goes back.
  SetFocus(Control(Id::chk_Remanenty));
  Keys({{VK_ESCAPE}});
  EXPECT_EQ(main->ShownScreen(), Screen::kPaths);
  EXPECT_EQ(Focus(), Id::edt_ZETKA_source);
  // On the paths screen it does nothing.
  Keys({{VK_ESCAPE}});
  EXPECT_EQ(main->ShownScreen(), Screen::kPaths);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(WindowKeysTest, EnterInTheFileListIsALineAndInAFieldNeverAnything) {
  SetFocus(Control(Id::edt_ZETKA_dest));
  const std::u16string dest = Text(Id::edt_ZETKA_dest);
  for (const auto key : {Shift(VK_RETURN), Ctrl(VK_RETURN), Alt(VK_RETURN)}) {
    Keys({key});
    EXPECT_EQ(Text(Id::edt_ZETKA_dest), dest);
    EXPECT_EQ(main->ShownScreen(), Screen::kPaths);
  }
  Keys({{VK_RETURN}});
  ASSERT_EQ(main->ShownScreen(), Screen::kRun);

  SetFocus(Control(Id::mmo_3));
  SendMessageW(Control(Id::mmo_3), EM_SETSEL, 12, 12);
  Keys({{VK_RETURN}, {'X'}});
  EXPECT_EQ(Text(Id::mmo_3), u"BAZA_DW8.REK\r\nx");
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(WindowKeysTest, SpaceTogglesACheckBoxAndPressesAButton) {
  Keys({{VK_RETURN}, {VK_TAB}, {VK_SPACE}});
  EXPECT_EQ(SendMessageW(Control(Id::chk_4), BM_GETCHECK, 0, 0), BST_CHECKED);
  SetFocus(Control(Id::btn_3));
  Keys({{VK_SPACE}});
  EXPECT_EQ(main->ShownScreen(), Screen::kPaths);
}

TEST_F(WindowKeysTest, AKeyPressesOnlyAButtonOfTheShownScreen) {
  // On the paths screen Enter is "OK", never "SRU": nothing runs.
  SendMessageW(Control(Id::chk_4), BM_SETCHECK, BST_CHECKED, 0);
  pair.dir.WriteBytes(u"zetka_2009\\spisfirm.dat", "");  // "OK" then lists nothing
  Keys({{VK_RETURN}});
  EXPECT_EQ(main->ShownScreen(), Screen::kRun);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(Text(Id::mmo_Log), u"");
}

TEST_F(WindowKeysTest, AltF4ClosesTheWindow) {
  Keys({Alt(VK_F4)});
  EXPECT_EQ(main->Handle(), nullptr);
}

}  // namespace
