#include "shell/win32/painting.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <string>

#include "shell/layout.h"
#include "shell/win32/system_library.h"

namespace shell::win32 {

namespace {

// Sizes of the button pictures at 96 DPI.
constexpr int kPicture = 14;
constexpr int kPictureGap = 4;
constexpr int kStroke = 2;

void Line(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

// One bevel of one pixel: light on the top and left edges and dark on the
// bottom and right ones when raised, the other way round when lowered.
void PaintBevel(HDC dc, const RECT& r, Bevel bevel) {
  const bool raised = bevel == Bevel::kRaised;
  const HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
  const HPEN dark = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
  const HGDIOBJ old = SelectObject(dc, raised ? light : dark);
  Line(dc, r.left, r.bottom - 1, r.left, r.top);
  Line(dc, r.left, r.top, r.right - 1, r.top);
  SelectObject(dc, raised ? dark : light);
  Line(dc, r.right - 1, r.top, r.right - 1, r.bottom - 1);
  Line(dc, r.right - 1, r.bottom - 1, r.left - 1, r.bottom - 1);
  SelectObject(dc, old);
  DeleteObject(light);
  DeleteObject(dark);
}

// A picture's colour: its own, or under high contrast the text colour the
// user's scheme chose to stand out on a button's face (grey where the button
// is disabled, as its caption is).
COLORREF PictureColour(COLORREF own, bool highContrast, const DRAWITEMSTRUCT& item) {
  if (!highContrast) return own;
  return GetSysColor((item.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
}

// A tick or a cross in the square, drawn with a pen of the square's scale.
void PaintPicture(HDC dc, const RECT& box, Kind kind, UINT dpi, COLORREF colour) {
  const int size = box.right - box.left;
  const auto at = [&](int x96, int y96, int& x, int& y) {
    x = box.left + x96 * size / kPicture;
    y = box.top + y96 * size / kPicture;
  };
  const bool tick = kind == Kind::kOkButton;
  LOGBRUSH brush{BS_SOLID, colour, 0};
  // Solid, with round ends and joins: PS_SOLID, PS_ENDCAP_ROUND and
  // PS_JOIN_ROUND are the styles' zeros, so the geometric pen has them.
  const HPEN pen = ExtCreatePen(
      PS_GEOMETRIC, static_cast<DWORD>(Scale(kStroke, static_cast<int>(dpi))), &brush, 0, nullptr);
  const HGDIOBJ old = SelectObject(dc, pen);
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0;
  if (tick) {
    at(2, 7, x1, y1);
    at(5, 11, x2, y2);
    at(12, 3, x3, y3);
    const POINT points[] = {{x1, y1}, {x2, y2}, {x3, y3}};
    Polyline(dc, points, 3);
  } else {
    at(3, 3, x1, y1);
    at(11, 11, x2, y2);
    Line(dc, x1, y1, x2, y2);
    Line(dc, x2, y1, x1, y2);
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}

// A small folder, a tab and a body, centred on the button (moved with it
// when pressed), in the colours of a manila folder.
void PaintFolder(const DRAWITEMSTRUCT& item, bool pressed, UINT dpi, bool highContrast) {
  const int unit = Scale(1, static_cast<int>(dpi));
  const int width = Scale(13, static_cast<int>(dpi)), height = Scale(10, static_cast<int>(dpi));
  const int left = (item.rcItem.left + item.rcItem.right - width) / 2 + (pressed ? 1 : 0);
  const int top = (item.rcItem.top + item.rcItem.bottom - height) / 2 + (pressed ? 1 : 0);
  const HBRUSH body = CreateSolidBrush(PictureColour(RGB(232, 176, 48), highContrast, item));
  const HBRUSH tab = CreateSolidBrush(PictureColour(RGB(200, 140, 32), highContrast, item));
  const HBRUSH edge = CreateSolidBrush(PictureColour(RGB(110, 80, 20), highContrast, item));
  const RECT tabRect{left, top, left + width / 2, top + 2 * unit};
  const RECT bodyRect{left, top + 2 * unit, left + width, top + height};
  FillRect(item.hDC, &tabRect, tab);
  FillRect(item.hDC, &bodyRect, body);
  FrameRect(item.hDC, &bodyRect, edge);
  DeleteObject(body);
  DeleteObject(tab);
  DeleteObject(edge);
}

// uxtheme.dll is none of Windows' KnownDLLs: its functions come from the
// system's folder. Where any is missing the buttons are drawn the classic way,
// as they are when the user has themes off.
class Theme {
 public:
  static const Theme& Functions() {
    static const Theme functions;
    return functions;
  }

  // The button theme of `button` when themes are on and every function is
  // there; null otherwise.
  HTHEME OpenButton(HWND button) const {
    if (!complete_ || !isActive_()) return nullptr;
    return open_(button, L"BUTTON");
  }

  decltype(&DrawThemeParentBackground) drawParentBackground =
      Function<decltype(&DrawThemeParentBackground)>("DrawThemeParentBackground");
  decltype(&DrawThemeBackground) drawBackground =
      Function<decltype(&DrawThemeBackground)>("DrawThemeBackground");
  decltype(&GetThemeBackgroundContentRect) contentRect =
      Function<decltype(&GetThemeBackgroundContentRect)>("GetThemeBackgroundContentRect");
  decltype(&CloseThemeData) close = Function<decltype(&CloseThemeData)>("CloseThemeData");

 private:
  Theme() = default;

  template <typename F>
  static F Function(const char* name) {
    return SystemFunction<F>(L"uxtheme.dll", name);
  }

  decltype(&IsThemeActive) isActive_ = Function<decltype(&IsThemeActive)>("IsThemeActive");
  decltype(&OpenThemeData) open_ = Function<decltype(&OpenThemeData)>("OpenThemeData");
  bool complete_ = isActive_ != nullptr && open_ != nullptr && drawParentBackground != nullptr &&
                   drawBackground != nullptr && contentRect != nullptr && close != nullptr;
};

void PaintButtonFrame(const DRAWITEMSTRUCT& item, bool pressed, bool enterTarget, RECT& inside) {
  inside = item.rcItem;
  const Theme& themed = Theme::Functions();
  if (const HTHEME theme = themed.OpenButton(item.hwndItem)) {
    const int state = (item.itemState & ODS_DISABLED) ? PBS_DISABLED
                      : pressed                       ? PBS_PRESSED
                      : enterTarget                   ? PBS_DEFAULTED
                                                      : PBS_NORMAL;
    RECT whole = item.rcItem;
    themed.drawParentBackground(item.hwndItem, item.hDC, &whole);
    themed.drawBackground(theme, item.hDC, BP_PUSHBUTTON, state, &item.rcItem, nullptr);
    themed.contentRect(theme, item.hDC, BP_PUSHBUTTON, state, &item.rcItem, &inside);
    themed.close(theme);
    return;
  }
  // The classic look: the button Enter would press has a dark frame of its own.
  if (enterTarget) {
    FrameRect(item.hDC, &inside, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&inside, -1, -1);
  }
  DrawFrameControl(item.hDC, &inside, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  InflateRect(&inside, -2, -2);
}

}  // namespace

void PaintPanel(HDC dc, RECT rect, const ControlSpec& spec, HFONT font) {
  for (const Bevel bevel : {spec.outer, spec.inner}) {
    if (bevel == Bevel::kNone) continue;
    PaintBevel(dc, rect, bevel);
    InflateRect(&rect, -1, -1);
  }
  if (spec.kind != Kind::kPanel || spec.text.empty()) return;
  const HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  const std::wstring caption(spec.text.begin(), spec.text.end());
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &rect,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
}

void PaintSplitter(HDC dc, RECT rect) { PaintBevel(dc, rect, Bevel::kRaised); }

bool HighContrastOn() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof(contrast);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void PaintButton(const DRAWITEMSTRUCT& item, Kind kind, bool enterTarget, UINT dpi, HFONT font,
                 bool highContrast) {
  const HDC dc = item.hDC;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  RECT inside{};
  PaintButtonFrame(item, pressed, enterTarget, inside);

  const int textLength = GetWindowTextLengthW(item.hwndItem);
  std::wstring caption(static_cast<std::size_t>(textLength) + 1, L'\0');
  caption.resize(
      static_cast<std::size_t>(GetWindowTextW(item.hwndItem, caption.data(), textLength + 1)));
  const HGDIOBJ oldFont = SelectObject(dc, font);
  SIZE extent{};
  GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);

  const bool hasPicture = kind == Kind::kOkButton || kind == Kind::kCancelButton;
  const int scaled = static_cast<int>(dpi);
  const int picture = hasPicture ? Scale(kPicture, scaled) : 0;
  const int gap = hasPicture ? Scale(kPictureGap, scaled) : 0;
  const int shift = pressed ? 1 : 0;
  const int width = item.rcItem.right - item.rcItem.left;
  const int height = item.rcItem.bottom - item.rcItem.top;
  const int left = item.rcItem.left + (width - (picture + gap + extent.cx)) / 2 + shift;
  const int middle = item.rcItem.top + height / 2 + shift;

  if (hasPicture) {
    const RECT box{left, middle - picture / 2, left + picture, middle - picture / 2 + picture};
    const COLORREF own = kind == Kind::kOkButton ? RGB(0, 128, 0) : RGB(200, 0, 0);
    PaintPicture(dc, box, kind, dpi, PictureColour(own, highContrast, item));
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor((item.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  RECT text{left + picture + gap, item.rcItem.top + shift, item.rcItem.right,
            item.rcItem.bottom + shift};
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, oldFont);

  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
    RECT focus = inside;
    InflateRect(&focus, -1, -1);
    DrawFocusRect(dc, &focus);
  }
}

void PaintFolderButton(const DRAWITEMSTRUCT& item, UINT dpi, bool highContrast) {
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  RECT inside{};
  PaintButtonFrame(item, pressed, false, inside);
  PaintFolder(item, pressed, dpi, highContrast);
}

}  // namespace shell::win32
