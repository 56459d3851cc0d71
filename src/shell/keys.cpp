#include "shell/keys.h"

#include "shell/navigation.h"

namespace shell {

namespace {

constexpr KeyResult kPass{Action::kPass};
constexpr KeyResult kSwallow{Action::kSwallow};

KeyResult Press(Id button) { return {Action::kPress, button}; }

// A key as it is first pressed.
KeyResult OnPressedKey(Key key, Modifiers modifiers, Id focus, Screen shown, Visible visible) {
  const Kind kind = Spec(focus).kind;
  switch (key) {
    case Key::kEnter:
      // A multi-line box takes Enter as a line break (the read-only ones
      // ignore it); nothing else takes it but as a button press.
      if (IsMultiLineBox(kind)) return kPass;
      if (modifiers.Any()) return kSwallow;
      return Press(IsButton(kind) ? focus : DefaultButton(shown));
    case Key::kEscape:
      // A field's open drop-down of suggestions takes it first and closes,
      // as everywhere in Windows; the next Esc is the screen's.
      if (kind == Kind::kDirectoryField && visible.suggestions && !modifiers.Any()) return kPass;
      // Never the platform's: a multi-line edit would close the window on it
      // and lose the log.
      if (modifiers.Any() || IsMultiLineBox(kind)) return kSwallow;
      if (const auto cancel = CancelButton(shown)) return Press(*cancel);
      return kSwallow;
    case Key::kTab:
      if (modifiers.ctrl || modifiers.alt) return kSwallow;
      return {Action::kFocus, NextInTabOrder(focus, !modifiers.shift, shown, visible.lists)};
    case Key::kDown:
      if (kind == Kind::kDirectoryField && modifiers.alt && !modifiers.shift && !modifiers.ctrl) {
        return {Action::kOpenFolderDialog, focus};
      }
      return kPass;
    case Key::kSpace:  // a focused button or check box takes it as a press
    case Key::kOther:
      return kPass;
  }
  return kPass;
}

}  // namespace

KeyResult OnKey(Key key, Modifiers modifiers, Id focus, Screen shown, Visible visible,
                bool repeated) {
  const KeyResult result = OnPressedKey(key, modifiers, focus, shown, visible);
  const bool acts = result.action == Action::kPress || result.action == Action::kOpenFolderDialog;
  return repeated && acts ? kSwallow : result;
}

}  // namespace shell
