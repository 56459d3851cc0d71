#include "shell/layout.h"

#include <algorithm>
#include <cstdint>

namespace shell {

namespace {

constexpr int kBevelWidth = 1;

int Index(Id id) { return static_cast<int>(id); }

// Inside a panel's bevels.
Rect Inside(const Rect& panel, const ControlSpec& spec) {
  const int inset = kBevelWidth * ((spec.outer != Bevel::kNone) + (spec.inner != Bevel::kNone));
  return {inset, inset, std::max(0, panel.width - 2 * inset),
          std::max(0, panel.height - 2 * inset)};
}

}  // namespace

int Scale(int pixels96, int dpi) {
  // MulDiv: the product in 64 bits, rounded half away from zero.
  const std::int64_t product = std::int64_t{pixels96} * dpi;
  const std::int64_t half = product >= 0 ? 48 : -48;
  return static_cast<int>((product + half) / 96);
}

int FontHeight(int dpi) {
  const std::int64_t product = std::int64_t{kFontPoints} * dpi;
  return -static_cast<int>((product + 36) / 72);
}

std::u16string_view FontFace(int dpi) { return dpi == 96 ? kFontName : kScalableFontName; }

SplitterWidths InitialWidths(int dpi) {
  return {Scale(Spec(Id::pnl_1).rect.width, dpi), Scale(Spec(Id::pnl_5).rect.width, dpi)};
}

SplitterWidths RescaledWidths(SplitterWidths widths, int oldDpi, int newDpi) {
  const auto rescale = [&](int width) {
    return static_cast<int>((std::int64_t{width} * newDpi + oldDpi / 2) / oldDpi);
  };
  return {std::max(rescale(widths.pnl_1), Scale(Spec(Id::pnl_1).rect.width, newDpi)),
          rescale(widths.pnl_5)};
}

int DraggedWidth(Id panel, int startWidth, int moved, int pageWidth, int dpi) {
  const int splitter = Scale(Spec(Id::spl1).rect.width, dpi);
  const int least = panel == Id::pnl_1 ? Scale(Spec(Id::pnl_1).rect.width, dpi) : 0;
  const int most = std::max(least, pageWidth - splitter);
  return std::clamp(startWidth + moved, least, most);
}

Placement Layout(int clientWidth, int clientHeight, int dpi, SplitterWidths widths,
                 const TextWidths& textWidths) {
  Placement at{};
  const auto put = [&at](Id id, Rect rect) { at[Index(id)] = rect; };
  const int width = std::max(0, clientWidth), height = std::max(0, clientHeight);

  // Both screens fill the client area: their tabs are never shown.
  put(Id::pg_1, {0, 0, width, height});
  put(Id::page_1, {0, 0, width, height});
  put(Id::page_2, {0, 0, width, height});

  const int splitter = Scale(Spec(Id::spl1).rect.width, dpi);

  // The paths screen: pnl_1 on the left, at least 330 wide, the splitter,
  // pnl_2 in the rest.
  const int pnl1 = std::max(widths.pnl_1, Scale(Spec(Id::pnl_1).rect.width, dpi));
  put(Id::pnl_1, {0, 0, pnl1, height});
  put(Id::spl1, {pnl1, 0, splitter, height});
  put(Id::pnl_2, {pnl1 + splitter, 0, std::max(0, width - pnl1 - splitter), height});

  // The run screen: the button bar along the bottom, pnl_5 on the left above
  // it, the splitter, pnl_4 in the rest with the "LOG" strip on top of the log.
  const int bar = Scale(Spec(Id::pnl_3).rect.height, dpi);
  const int above = std::max(0, height - bar);
  const int pnl5 = std::clamp(widths.pnl_5, 0, std::max(0, width - splitter));
  put(Id::pnl_3, {0, above, width, std::min(bar, height)});
  put(Id::pnl_5, {0, 0, pnl5, above});
  put(Id::spl2, {pnl5, 0, splitter, above});
  const Rect pnl4{pnl5 + splitter, 0, std::max(0, width - pnl5 - splitter), above};
  put(Id::pnl_4, pnl4);
  const Rect inside = Inside(pnl4, Spec(Id::pnl_4));
  const int strip = std::min(Scale(Spec(Id::pnl_6).rect.height, dpi), inside.height);
  put(Id::pnl_6, {inside.left, inside.top, inside.width, strip});
  put(Id::mmo_Log, {inside.left, inside.top + strip, inside.width, inside.height - strip});

  // Every other control stands at its own place, scaled.
  for (const ControlSpec& spec : Controls()) {
    const bool placed = spec.kind == Kind::kContainer || spec.kind == Kind::kPage ||
                        spec.kind == Kind::kPanel || spec.kind == Kind::kSplitter ||
                        spec.id == Id::mmo_Log;
    if (placed) continue;
    const bool fitsText = spec.kind == Kind::kLabel || spec.kind == Kind::kCheckBox;
    const int designed = Scale(spec.rect.width, dpi);
    const int needed = fitsText ? textWidths[Index(spec.id)] : 0;
    put(spec.id, {Scale(spec.rect.left, dpi), Scale(spec.rect.top, dpi), std::max(designed, needed),
                  Scale(spec.rect.height, dpi)});
  }
  return at;
}

}  // namespace shell
