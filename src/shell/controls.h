// The window's controls as the main form's handlers reach them. The controls
// are the one home of the working state (the lists, the switches, the log);
// the real window implements these over its Win32 controls, tests over plain
// objects.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace shell {

class TextControl {
 public:
  virtual ~TextControl() = default;
  virtual std::u16string Text() const = 0;
};

// A multi-line box read and filled entry by entry. Entries are the lines as
// typed, never the pieces that the box's wrapping shows.
class LinesControl {
 public:
  virtual ~LinesControl() = default;
  virtual std::vector<std::u16string> Lines() const = 0;
  virtual void Clear() = 0;
  virtual void Append(std::u16string_view entry) = 0;
};

class CheckControl {
 public:
  virtual ~CheckControl() = default;
  virtual bool Checked() const = 0;
};

// The activity log box: the user may type into it too.
class LogControl {
 public:
  virtual ~LogControl() = default;
  virtual std::u16string Text() const = 0;
  // True when the text is empty or ends with a line break.
  virtual bool EndsWithLineBreak() const = 0;
  virtual void AppendText(std::u16string_view text) = 0;
};

// Shows the program's message boxes. (Not "MessageBox": <windows.h> makes that
// name a macro.)
class MessageDisplay {
 public:
  virtual ~MessageDisplay() = default;
  // Shows the box and returns when the user has closed it. The flags are the
  // platform's message-box flags, passed on unchanged.
  virtual void Show(std::u16string_view text, std::u16string_view caption, std::uint32_t flags) = 0;
};

// Shows a modal window of the program's own: a summary a person reads at a
// glance ("\n" between its lines), then lines as they are, and "Zamknij".
class ListDisplay {
 public:
  virtual ~ListDisplay() = default;
  // Returns when the user has closed it.
  virtual void ShowList(std::u16string_view title, std::u16string_view summary,
                        const std::vector<std::u16string>& lines) = 0;
  // The same window with "Tak" and "Nie" in place of "Zamknij"; true only
  // for "Tak". Closing it any other way answers no.
  virtual bool Ask(std::u16string_view title, std::u16string_view summary,
                   const std::vector<std::u16string>& lines) = 0;
};

// What the acceptance of a pair of paths changes on the screen.
class Screens {
 public:
  virtual ~Screens() = default;
  virtual void ShowCompanyLists() = 0;
  virtual void ShowRunScreen() = 0;
};

// Appends one line to the log box. Text the user typed without a final line
// break stays a line of its own: the new line then begins with the break
// instead. A NUL in the line shows as "<NUL>".
void Log(LogControl& mmo_Log, std::u16string_view Zapis);

// Appends text as a box can hold it. A box's text ends at a NUL, and with it
// everything after it, on screen and in a saved log; so each NUL shows as
// "<NUL>", a mark that no Windows file name can hold, and a name read with a
// NUL in it is never taken for a real one.
void AppendShownInBox(std::u16string& text, std::u16string_view more);

// The entries of a multi-line text: one per line, empty lines included,
// except the empty one after a final line break.
std::vector<std::u16string> SplitLines(std::u16string_view text);

}  // namespace shell
