// Focus on the main window: the tab order of each screen, and where the
// focus goes when the shown screen changes.
#pragma once

#include <optional>
#include <vector>

#include "shell/form.h"

namespace shell {

// The controls Tab walks through on the shown screen, pg_1 first; the company
// lists only once they are visible.
std::vector<Id> TabOrder(Screen shown, bool listsVisible);

// The control Tab (forward) or Shift+Tab moves the focus to, round the order.
// A focus outside the order moves to its first or last control.
Id NextInTabOrder(Id focus, bool forward, Screen shown, bool listsVisible);

// Where the focus goes when the screen `shown` comes up: to its first
// control when the focus was on a control of the screen being left; left
// where it is (pg_1) otherwise.
Id FocusAfterScreenChange(Id focus, Screen shown);

// The default button ("OK" or "SRU") and the cancel button (none on the
// paths screen) of a screen.
Id DefaultButton(Screen shown);
std::optional<Id> CancelButton(Screen shown);

}  // namespace shell
