// The key rules and the focus moves, in tables.
#include "shell/keys.h"

#include <gtest/gtest.h>

#include "shell/navigation.h"

namespace {

using shell::Action;
using shell::Id;
using shell::Key;
using shell::KeyResult;
using shell::Modifiers;
using shell::Screen;
using shell::Visible;

constexpr Modifiers kNone{}, kShift{true, false, false}, kCtrl{false, true, false},
    kAlt{false, false, true};

KeyResult Press(Id button) { return {Action::kPress, button}; }
KeyResult Focus(Id control) { return {Action::kFocus, control}; }
constexpr KeyResult kPass{Action::kPass}, kSwallow{Action::kSwallow};

struct KeyCase {
  Key key{};
  Modifiers modifiers;
  Id focus{};
  Screen shown{};
  KeyResult result;
};

// Each key, as first pressed or as an auto-repeat of a held key, with what
// is shown beside the screen.
template <std::size_t N>
void ExpectRules(const KeyCase (&cases)[N], bool repeated, Visible visible = {}) {
  for (const auto& c : cases) {
    const auto result = shell::OnKey(c.key, c.modifiers, c.focus, c.shown, visible, repeated);
    EXPECT_EQ(result, c.result) << static_cast<int>(c.key) << " on "
                                << std::string(shell::Spec(c.focus).name.begin(),
                                               shell::Spec(c.focus).name.end());
  }
}

TEST(KeyRules, EnterEscapeAndTheRest) {
  const KeyCase cases[] = {
      // Enter presses a focused button, else the default button of the screen.
      {Key::kEnter, kNone, Id::pg_1, Screen::kPaths, Press(Id::btn_1)},
      {Key::kEnter, kNone, Id::edt_ZETKA_source, Screen::kPaths, Press(Id::btn_1)},
      {Key::kEnter, kNone, Id::edt_ZETKA_dest, Screen::kPaths, Press(Id::btn_1)},
      {Key::kEnter, kNone, Id::btn_1, Screen::kPaths, Press(Id::btn_1)},
      {Key::kEnter, kNone, Id::pg_1, Screen::kRun, Press(Id::btn_2)},
      {Key::kEnter, kNone, Id::chk_4, Screen::kRun, Press(Id::btn_2)},
      {Key::kEnter, kNone, Id::chk_Remanenty, Screen::kRun, Press(Id::btn_2)},
      {Key::kEnter, kNone, Id::btn_3, Screen::kRun, Press(Id::btn_3)},
      {Key::kEnter, kNone, Id::btn_4, Screen::kRun, Press(Id::btn_4)},
      {Key::kEnter, kNone, Id::btn_Podglad, Screen::kRun, Press(Id::btn_Podglad)},
      {Key::kEnter, kNone, Id::btn_Cofnij, Screen::kRun, Press(Id::btn_Cofnij)},
      // A multi-line box takes it; a directory field never does.
      {Key::kEnter, kNone, Id::mmo_3, Screen::kRun, kPass},
      {Key::kEnter, kNone, Id::mmo_Log, Screen::kRun, kPass},
      {Key::kEnter, kNone, Id::mmo_1, Screen::kPaths, kPass},
      {Key::kEnter, kShift, Id::mmo_3, Screen::kRun, kPass},
      {Key::kEnter, kShift, Id::edt_ZETKA_dest, Screen::kPaths, kSwallow},
      {Key::kEnter, kCtrl, Id::edt_ZETKA_source, Screen::kPaths, kSwallow},
      {Key::kEnter, kAlt, Id::edt_ZETKA_source, Screen::kPaths, kSwallow},
      {Key::kEnter, kCtrl, Id::btn_2, Screen::kRun, kSwallow},
      // Esc goes back from the run screen, but never out of a multi-line box.
      {Key::kEscape, kNone, Id::chk_4, Screen::kRun, Press(Id::btn_3)},
      {Key::kEscape, kNone, Id::btn_2, Screen::kRun, Press(Id::btn_3)},
      {Key::kEscape, kNone, Id::pg_1, Screen::kRun, Press(Id::btn_3)},
      {Key::kEscape, kNone, Id::btn_Podglad, Screen::kRun, Press(Id::btn_3)},
      {Key::kEscape, kNone, Id::btn_Cofnij, Screen::kRun, Press(Id::btn_3)},
      {Key::kEscape, kNone, Id::mmo_3, Screen::kRun, kSwallow},
      {Key::kEscape, kNone, Id::mmo_Log, Screen::kRun, kSwallow},
      {Key::kEscape, kNone, Id::edt_ZETKA_source, Screen::kPaths, kSwallow},
      {Key::kEscape, kNone, Id::mmo_2, Screen::kPaths, kSwallow},
      {Key::kEscape, kShift, Id::chk_4, Screen::kRun, kSwallow},
      // Alt+Down opens a directory field's folder dialog.
      {Key::kDown,
       kAlt,
       Id::edt_ZETKA_dest,
       Screen::kPaths,
       {Action::kOpenFolderDialog, Id::edt_ZETKA_dest}},
      {Key::kDown, kNone, Id::edt_ZETKA_dest, Screen::kPaths, kPass},
      {Key::kDown, kAlt, Id::mmo_3, Screen::kRun, kPass},
      // Space and every other key: the control's own.
      {Key::kSpace, kNone, Id::btn_1, Screen::kPaths, kPass},
      {Key::kSpace, kNone, Id::chk_4, Screen::kRun, kPass},
      {Key::kOther, kAlt, Id::pg_1, Screen::kPaths, kPass},
      // Tab walks the shown screen's order; Ctrl+Tab does nothing.
      {Key::kTab, kNone, Id::pg_1, Screen::kPaths, Focus(Id::edt_ZETKA_source)},
      {Key::kTab, kShift, Id::pg_1, Screen::kRun, Focus(Id::btn_Cofnij)},
      {Key::kTab, kNone, Id::btn_4, Screen::kRun, Focus(Id::btn_Podglad)},
      {Key::kTab, kNone, Id::btn_Podglad, Screen::kRun, Focus(Id::btn_Cofnij)},
      {Key::kTab, kNone, Id::btn_Cofnij, Screen::kRun, Focus(Id::pg_1)},
      {Key::kTab, kShift, Id::btn_Cofnij, Screen::kRun, Focus(Id::btn_Podglad)},
      {Key::kTab, kShift, Id::btn_Podglad, Screen::kRun, Focus(Id::btn_4)},
      {Key::kTab, kNone, Id::mmo_3, Screen::kRun, Focus(Id::chk_Remanenty)},
      {Key::kTab, kCtrl, Id::mmo_3, Screen::kRun, kSwallow},
  };
  ExpectRules(cases, false);
}

// A held key's auto-repeats press no button: a held Enter runs once. What
// is not a press repeats as the platform repeats it.
TEST(KeyRules, AnAutoRepeatPressesNoButton) {
  const KeyCase cases[] = {
      {Key::kEnter, kNone, Id::pg_1, Screen::kRun, kSwallow},
      {Key::kEnter, kNone, Id::btn_2, Screen::kRun, kSwallow},
      {Key::kEnter, kNone, Id::edt_ZETKA_source, Screen::kPaths, kSwallow},
      {Key::kEscape, kNone, Id::chk_4, Screen::kRun, kSwallow},
      {Key::kDown, kAlt, Id::edt_ZETKA_dest, Screen::kPaths, kSwallow},
      {Key::kEnter, kNone, Id::mmo_3, Screen::kRun, kPass},
      {Key::kDown, kNone, Id::edt_ZETKA_dest, Screen::kPaths, kPass},
      {Key::kTab, kNone, Id::chk_4, Screen::kRun, Focus(Id::mmo_3)},
      {Key::kSpace, kNone, Id::btn_2, Screen::kRun, kPass},
  };
  ExpectRules(cases, true);
}

// With a field's drop-down of suggestions open, Esc is the field's: the
// drop-down closes, and only the next Esc is the screen's. Every other key
// does what it does without the drop-down.
TEST(KeyRules, EscapeClosesTheSuggestionsFirst) {
  const KeyCase open[] = {
      {Key::kEscape, kNone, Id::edt_ZETKA_source, Screen::kPaths, kPass},
      {Key::kEscape, kNone, Id::edt_ZETKA_dest, Screen::kPaths, kPass},
      {Key::kEscape, kShift, Id::edt_ZETKA_dest, Screen::kPaths, kSwallow},
      {Key::kEscape, kCtrl, Id::edt_ZETKA_source, Screen::kPaths, kSwallow},
      // Only a field has suggestions, whatever the window says.
      {Key::kEscape, kNone, Id::chk_4, Screen::kRun, Press(Id::btn_3)},
      {Key::kEscape, kNone, Id::mmo_Log, Screen::kRun, kSwallow},
      {Key::kEnter, kNone, Id::edt_ZETKA_dest, Screen::kPaths, Press(Id::btn_1)},
      {Key::kTab, kNone, Id::edt_ZETKA_source, Screen::kPaths, Focus(Id::edt_ZETKA_dest)},
      {Key::kDown, kNone, Id::edt_ZETKA_source, Screen::kPaths, kPass},
  };
  ExpectRules(open, false, Visible{false, true});
}

TEST(TabOrder, EachScreenWithTheContainerFirst) {
  using Order = std::vector<Id>;
  EXPECT_EQ(shell::TabOrder(Screen::kPaths, false),
            (Order{Id::pg_1, Id::edt_ZETKA_source, Id::edt_ZETKA_dest, Id::btn_1}));
  EXPECT_EQ(
      shell::TabOrder(Screen::kPaths, true),
      (Order{Id::pg_1, Id::edt_ZETKA_source, Id::edt_ZETKA_dest, Id::btn_1, Id::mmo_1, Id::mmo_2}));
  EXPECT_EQ(shell::TabOrder(Screen::kRun, false),
            (Order{Id::pg_1, Id::chk_4, Id::mmo_3, Id::chk_Remanenty, Id::mmo_Log, Id::btn_2,
                   Id::btn_3, Id::btn_4, Id::btn_Podglad, Id::btn_Cofnij}));
  // Round the order, both ways.
  EXPECT_EQ(shell::NextInTabOrder(Id::btn_1, true, Screen::kPaths, false), Id::pg_1);
  EXPECT_EQ(shell::NextInTabOrder(Id::btn_1, true, Screen::kPaths, true), Id::mmo_1);
  EXPECT_EQ(shell::NextInTabOrder(Id::edt_ZETKA_source, false, Screen::kPaths, true), Id::pg_1);
  EXPECT_EQ(shell::NextInTabOrder(Id::pg_1, false, Screen::kPaths, true), Id::mmo_2);
}

TEST(FocusOnAChangeOfScreen, FirstControlOfTheNewScreenUnlessOnTheContainer) {
  const struct {
    Id focus;
    Screen shown;
    Id after;
  } cases[] = {
      {Id::btn_1, Screen::kRun, Id::chk_4},
      {Id::edt_ZETKA_dest, Screen::kRun, Id::chk_4},
      {Id::btn_3, Screen::kPaths, Id::edt_ZETKA_source},
      {Id::mmo_Log, Screen::kPaths, Id::edt_ZETKA_source},
      {Id::pg_1, Screen::kRun, Id::pg_1},
      {Id::pg_1, Screen::kPaths, Id::pg_1},
  };
  for (const auto& c : cases) EXPECT_EQ(shell::FocusAfterScreenChange(c.focus, c.shown), c.after);
}

}  // namespace
