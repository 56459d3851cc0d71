// Where every control of the main window stands for a client size, a DPI
// and the widths the two splitters give their panels.
#pragma once

#include <array>
#include <string_view>

#include "shell/form.h"

namespace shell {

// Sizes at 96 DPI, scaled to the window's DPI (rounded as MulDiv does).
int Scale(int pixels96, int dpi);

// The font height in pixels (negative: the character height, as fonts are
// asked for), 8 points at the DPI.
int FontHeight(int dpi);

// The font's face at a DPI: the raster "MS Sans Serif" has its sizes drawn
// for 96 DPI, and at any other the system would pick its nearest size, which
// no longer matches the scaled controls; there its TrueType twin scales.
std::u16string_view FontFace(int dpi);

// The two panel widths the splitters change, in pixels at the current DPI.
struct SplitterWidths {
  int pnl_1 = 0;
  int pnl_5 = 0;
};
// The widths at open.
SplitterWidths InitialWidths(int dpi);
// The widths after a DPI change, in proportion.
SplitterWidths RescaledWidths(SplitterWidths widths, int oldDpi, int newDpi);

// The width a splitter drag gives its panel: the width at the drag's start
// moved by the mouse, within the panel's bounds. pnl_1 is never narrower than
// 330 (scaled); pnl_5 may be dragged shut. Neither panel pushes the one on
// its right past the window's edge.
int DraggedWidth(Id panel, int startWidth, int moved, int pageWidth, int dpi);

// The widths that labels and check boxes need to show their whole text in
// the window's font, indexed by Id (0 where nothing is measured).
using TextWidths = std::array<int, kControlCount>;

// Every control's rectangle relative to its parent (pg_1 relative to the
// client area), indexed by Id. A label or a check box is widened where its
// text needs more than its designed width: a font wider than the one it was
// designed with never cuts its text.
using Placement = std::array<Rect, kControlCount>;
Placement Layout(int clientWidth, int clientHeight, int dpi, SplitterWidths widths,
                 const TextWidths& textWidths = {});

}  // namespace shell
