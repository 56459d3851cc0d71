// The key rules of the main window. They decide before the platform's own
// handling, so they hold whatever the platform's dialog navigation would do.
#pragma once

#include "shell/form.h"

namespace shell {

enum class Key { kEnter, kEscape, kTab, kSpace, kDown, kOther };

struct Modifiers {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool Any() const { return shift || ctrl || alt; }
};

enum class Action {
  kPass,              // the focused control takes the key as it would
  kSwallow,           // nothing at all happens
  kPress,             // the target button is pressed
  kFocus,             // the focus moves to the target
  kOpenFolderDialog,  // the focused directory field's folder dialog opens
};

// What is shown beside the screen as the key comes.
struct Visible {
  bool lists = false;        // the company lists of the paths screen
  bool suggestions = false;  // the drop-down of folders under the focused field
};

struct KeyResult {
  Action action = Action::kPass;
  Id target = Id::pg_1;
  friend bool operator==(const KeyResult&, const KeyResult&) = default;
};

// What a key pressed with the focus on `focus` does on the shown screen.
// `repeated`: the system's auto-repeat of a key held down. That is the
// keystroke that began it, not a new one: it presses no button and opens no
// dialog, as the platform presses a button on Space's release, once. A held
// Enter runs once.
KeyResult OnKey(Key key, Modifiers modifiers, Id focus, Screen shown, Visible visible,
                bool repeated = false);

}  // namespace shell
