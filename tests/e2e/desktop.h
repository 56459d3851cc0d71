// The X display of the session (DISPLAY), seen and driven as a user would:
// windows found by their names, keystrokes typed through the keyboard
// (xdotool's XTEST), what a taskbar reads (the properties that the window
// manager publishes), and screenshots.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "e2e/process.h"

namespace e2e {

using WindowId = unsigned long;

// What a taskbar knows of one window that the window manager manages.
struct ManagedWindow {
  WindowId id = 0;
  std::string name;                      // _NET_WM_NAME (else WM_NAME), UTF-8
  bool skipTaskbar = false;              // _NET_WM_STATE_SKIP_TASKBAR
  std::optional<WindowId> transientFor;  // WM_TRANSIENT_FOR: a window it belongs to
};

// Visible windows whose name matches the extended regular expression.
std::vector<WindowId> FindWindows(const std::string& nameRegex);
// The first visible window of that name, once it is there.
std::optional<WindowId> WaitForWindow(const std::string& nameRegex, Millis limit);
bool WaitUntilGone(WindowId window, Millis limit);

std::string WindowName(WindowId window);
std::optional<WindowId> ActiveWindow();
bool WaitUntilActive(WindowId window, Millis limit);
// The active window once it is another than `window`: a box or dialog it opened.
std::optional<WindowId> WaitUntilActiveOther(WindowId window, Millis limit);

// The windows that the window manager lists (_NET_CLIENT_LIST), in its order.
std::vector<ManagedWindow> ManagedWindows();

// Keys as xdotool names them ("Return", "Tab", "space", "alt+F4"), typed
// one after another into whichever window has the focus.
void Type(const std::vector<std::string>& keys);
// Text typed character by character, as a user types a path into a field.
void TypeText(const std::string& text);
// A key pressed and held down for `held`, as a user leaning on it: the
// keyboard repeats it meanwhile.
void Hold(const std::string& key, Millis held);

// What the screen shows of the window, as PNG bytes; with its frame and
// whatever stands over it (a message box) when `frame`.
std::string Capture(WindowId window, bool frame = false);
// Waits until two captures of the window in a row are alike and differ from
// `unlike`: what it shows has changed and the painting is done.
std::optional<std::string> WaitUntilStill(WindowId window, const std::string& unlike, Millis limit);
bool SaveScreenshot(WindowId window, const std::filesystem::path& png);
bool SaveScreen(const std::filesystem::path& png);

}  // namespace e2e
