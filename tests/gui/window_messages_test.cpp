// Message boxes and the failure display of the real window.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "shell/form.h"
#include "support/records.h"
#include "window_fixture.h"

namespace {

using shell::Id;
using shell::Screen;
using testing_support::FirmaRecord;
using testing_support::Installations;
using testing_support::WindowTest;

class WindowMessagesTest : public WindowTest {
 protected:
  WindowMessagesTest() {
    pair.dir.WriteBytes(u"zetka_2008\\spisfirm.dat", "");
    pair.dir.WriteBytes(u"zetka_2009\\spisfirm.dat", FirmaRecord("Alfa", "FIRMA1"));
    ProposeThePair();
  }
};

TEST_F(WindowMessagesTest, ABoxBlocksTheProgramAndGivesTheFocusBack) {
  Open();
  SetFocus(Control(Id::edt_ZETKA_dest));
  SetWindowTextW(Control(Id::edt_ZETKA_dest), L"x");
  SetWindowTextW(Control(Id::edt_ZETKA_source), L" x\t");
  Keys({{VK_RETURN}});
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Event(),
            u"Informacja szydząca|Ścieżki muszą być rózne. Popraw ścieżki, albo skontaktuj się "
            u"z Fabryką.|48");
  EXPECT_EQ(Boxes()[0].owner, main->Handle());
  EXPECT_TRUE(Boxes()[0].othersDisabled);
  EXPECT_TRUE(IsWindowEnabled(main->Handle()));
  EXPECT_TRUE(IsWindowEnabled(application->Handle()));
  EXPECT_EQ(Focus(), Id::edt_ZETKA_dest);
  EXPECT_EQ(GetActiveWindow(), main->Handle());
}

TEST_F(WindowMessagesTest, AFailureEndsTheHandlerAndTheWindowGoesOn) {
  pair.dir.SetReadOnly(u"zetka_2009\\spisfirm.dat");
  Open();
  Keys({{VK_RETURN}});
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Event(), std::u16string(kTitle) + u"|File access denied.|16");
  EXPECT_TRUE(Boxes()[0].othersDisabled);
  // The acceptance ended where it failed: lists shown, no change of screen.
  EXPECT_EQ(main->ShownScreen(), Screen::kPaths);
  EXPECT_TRUE(GetWindowLongPtrW(Control(Id::mmo_1), GWL_STYLE) & WS_VISIBLE);

  pair.dir.SetReadOnly(u"zetka_2009\\spisfirm.dat", false);
  Keys({{VK_RETURN}});
  EXPECT_EQ(main->ShownScreen(), Screen::kRun);
  EXPECT_EQ(Boxes().size(), 1u);
}

// A value that is no text is shown without a full stop; its field takes the
// default, and start-up ends on the paths screen with two proposals.
TEST_F(WindowMessagesTest, AStartUpFailureIsShownAndStartUpCompletes) {
  registry.keys[shell::YearKey(kYear)] = testing_support::RegistryValue{4, std::string(4, '\1')};
  Open();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Event(),
            std::u16string(kTitle) + u"|Invalid data type for 'InstallPath'|16");
  // Shown while the window was being made: the application window owns it.
  EXPECT_EQ(Boxes()[0].owner, application->Handle());
  EXPECT_TRUE(Boxes()[0].othersDisabled);
  EXPECT_EQ(Text(Id::edt_ZETKA_source), pair.dir.Path(Installations::kOld));
  EXPECT_EQ(Text(Id::edt_ZETKA_dest), u"c:\\zetka_2009");
  EXPECT_EQ(main->ShownScreen(), Screen::kPaths);
  EXPECT_EQ(Focus(), Id::pg_1);
}

// The system's own box, closed by another thread as a user would close it.
TEST_F(WindowMessagesTest, TheSystemsBoxIsModalOverTheWholeProgram) {
  showBox = &MessageBoxW;
  Open();
  std::atomic<bool> mainDisabled{false}, found{false};
  std::u16string seenText;
  std::thread closer([&] {
    for (int tries = 0; tries < 500 && !found; ++tries) {
      Sleep(10);
      // A message box: a dialog with the box's text.
      const HWND box = testing_support::FindOwnDialog(
          [](HWND dialog) { return GetDlgItem(dialog, 0xFFFF) != nullptr; });
      if (box == nullptr) continue;
      wchar_t text[200] = {};
      GetDlgItemTextW(box, 0xFFFF, text, 200);
      seenText = reinterpret_cast<const char16_t*>(text);
      mainDisabled = !IsWindowEnabled(main->Handle());
      found = true;
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
  });
  SetWindowTextW(Control(Id::edt_ZETKA_dest), L"nie ma takiego");
  Keys({{VK_RETURN}});
  closer.join();
  EXPECT_TRUE(found);
  EXPECT_EQ(seenText, u"Coś nie tak. Sprawdź czy katalogi są dobre");
  EXPECT_TRUE(mainDisabled);
  EXPECT_TRUE(IsWindowEnabled(main->Handle()));
}

}  // namespace
