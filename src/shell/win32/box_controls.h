// The main form's controls over the window's real controls. Lines
// appended to a box are gathered and put into it in one replacement: before
// anything reads the box, before a message box shows, and when the handler
// ends (appending line by line to an edit control grows faster than linearly).
#pragma once

#include <windows.h>

#include <string>

#include "shell/controls.h"

namespace shell::win32 {

std::u16string WindowText(HWND window);
void SetWindowText(HWND window, std::u16string_view text);

// Text appended at the end of an edit control, gathered until Flush. The
// box's own limit of 30,000 characters is lifted: it would cut what is
// appended silently (a register of a few thousand companies, a long log).
class GatheredAppends {
 public:
  explicit GatheredAppends(HWND edit);
  HWND Edit() const { return edit_; }
  // Puts what was gathered into the box; reading the box flushes first, so
  // the box is the one place that holds its text.
  void Flush() const;

 protected:
  mutable std::u16string pending_;

 private:
  HWND edit_;
};

// A directory field.
class FieldControl final : public TextControl {
 public:
  explicit FieldControl(HWND edit) : edit_(edit) {}
  std::u16string Text() const override { return WindowText(edit_); }

 private:
  HWND edit_;
};

// A multi-line box of entries, one per line. A NUL in an entry shows as
// "<NUL>": the box would end its text there.
class LinesBox final : public LinesControl, public GatheredAppends {
 public:
  using GatheredAppends::GatheredAppends;
  std::vector<std::u16string> Lines() const override;
  void Clear() override;
  void Append(std::u16string_view entry) override;
};

// The activity log box.
class LogBox final : public LogControl, public GatheredAppends {
 public:
  using GatheredAppends::GatheredAppends;
  std::u16string Text() const override;
  bool EndsWithLineBreak() const override;
  void AppendText(std::u16string_view text) override;
};

class CheckBox final : public CheckControl {
 public:
  explicit CheckBox(HWND button) : button_(button) {}
  bool Checked() const override;

 private:
  HWND button_;
};

}  // namespace shell::win32
