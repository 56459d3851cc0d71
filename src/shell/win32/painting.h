// What the window draws itself: panel bevels and captions, splitters, the
// buttons of the OK and Cancel kinds with a tick and a cross of their own,
// and the directory fields' folder buttons.
#pragma once

#include <windows.h>

#include "shell/form.h"

namespace shell::win32 {

// A panel's bevels, outer then inner, one pixel each, and its caption
// centred inside them.
void PaintPanel(HDC dc, RECT rect, const ControlSpec& spec, HFONT font);

void PaintSplitter(HDC dc, RECT rect);

// Whether the system shows high contrast; the pictures on the buttons then
// take the system's text colours instead of colours of their own.
bool HighContrastOn();

// An owner-drawn button: its frame (pressed, focused, or marked as the one
// Enter would press), the picture of its kind 4 pixels left of the caption,
// the two centred together.
void PaintButton(const DRAWITEMSTRUCT& item, Kind kind, bool enterTarget, UINT dpi, HFONT font,
                 bool highContrast);

// The button inside a directory field: the frame of the other buttons, with
// a small folder in its middle.
void PaintFolderButton(const DRAWITEMSTRUCT& item, UINT dpi, bool highContrast);

}  // namespace shell::win32
