// The pictures on the owner-drawn buttons, painted into memory: a green tick,
// a red cross and a manila folder, which under high contrast take the
// system's text colour (grey on a disabled button) and no colour of their
// own. Wine 8 refuses to switch high contrast on (SPI_SETHIGHCONTRAST), so
// the painting is given the state here as the window gives it the system's.
#include <windows.h>
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "shell/form.h"
#include "shell/win32/painting.h"

namespace {

using shell::Kind;

enum class Picture { kNone, kTick, kCross, kFolder };

constexpr int kWidth = 60, kHeight = 30;
constexpr UINT kDpi = 96;

class ButtonPicturesTest : public ::testing::Test {
 protected:
  ButtonPicturesTest()
      : button_(CreateWindowExW(0, L"BUTTON", L"", WS_POPUP | BS_OWNERDRAW, 0, 0, kWidth, kHeight,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {}
  ButtonPicturesTest(const ButtonPicturesTest&) = delete;
  ButtonPicturesTest& operator=(const ButtonPicturesTest&) = delete;
  ~ButtonPicturesTest() override { DestroyWindow(button_); }

  // Every pixel of a button without a caption, painted in `state`.
  std::vector<COLORREF> Painted(Picture picture, UINT state, bool highContrast) const {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC dc = CreateCompatibleDC(nullptr);
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = state;
    item.hwndItem = button_;
    item.hDC = dc;
    item.rcItem = {0, 0, kWidth, kHeight};
    const auto font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    using shell::win32::PaintButton;
    switch (picture) {
      case Picture::kNone:
        PaintButton(item, Kind::kPlainButton, false, kDpi, font, highContrast);
        break;
      case Picture::kTick:
        PaintButton(item, Kind::kOkButton, false, kDpi, font, highContrast);
        break;
      case Picture::kCross:
        PaintButton(item, Kind::kCancelButton, false, kDpi, font, highContrast);
        break;
      case Picture::kFolder:
        shell::win32::PaintFolderButton(item, kDpi, highContrast);
        break;
    }
    GdiFlush();
    std::vector<COLORREF> pixels;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) pixels.push_back(GetPixel(dc, x, y));
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
  }

  // The colours of the picture: of the pixels that the bare frame (a plain
  // button's, which the folder button shares) does not have.
  std::set<COLORREF> PictureColours(Picture picture, UINT state, bool highContrast) const {
    const std::vector<COLORREF> frame = Painted(Picture::kNone, state, highContrast);
    const std::vector<COLORREF> whole = Painted(picture, state, highContrast);
    std::set<COLORREF> colours;
    for (std::size_t i = 0; i < whole.size(); ++i) {
      if (whole[i] != frame[i]) colours.insert(whole[i]);
    }
    return colours;
  }

  HWND button_;
};

TEST_F(ButtonPicturesTest, OwnColoursOrUnderHighContrastTheSystemsTextColour) {
  const COLORREF text = GetSysColor(COLOR_BTNTEXT), grey = GetSysColor(COLOR_GRAYTEXT);
  const std::set<COLORREF> manila{RGB(232, 176, 48), RGB(200, 140, 32), RGB(110, 80, 20)};
  const struct {
    const char* what;
    Picture picture;
    UINT state;
    bool highContrast;
    std::set<COLORREF> colours;
  } cases[] = {
      {"tick", Picture::kTick, 0, false, {RGB(0, 128, 0)}},
      {"cross", Picture::kCross, 0, false, {RGB(200, 0, 0)}},
      {"folder", Picture::kFolder, 0, false, manila},
      {"tick, high contrast", Picture::kTick, 0, true, {text}},
      {"cross, high contrast", Picture::kCross, 0, true, {text}},
      {"folder, high contrast", Picture::kFolder, 0, true, {text}},
      {"tick, high contrast, disabled", Picture::kTick, ODS_DISABLED, true, {grey}},
      {"cross, high contrast, disabled", Picture::kCross, ODS_DISABLED, true, {grey}},
      {"folder, high contrast, disabled", Picture::kFolder, ODS_DISABLED, true, {grey}},
  };
  // The system's colours are not among the pictures' own: the test tells them apart.
  std::set<COLORREF> own = manila;
  own.insert({RGB(0, 128, 0), RGB(200, 0, 0)});
  ASSERT_FALSE(own.contains(text) || own.contains(grey));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_NE(button_, nullptr);
    EXPECT_EQ(PictureColours(c.picture, c.state, c.highContrast), c.colours);
  }
}

}  // namespace
