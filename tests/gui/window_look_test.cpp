// What the window shows when it opens: its caption and size, every control's
// text and place at the system's DPI, the font, and the screen it opens on.
#include <gtest/gtest.h>

#include "platform/utf8.h"
#include "shell/form.h"
#include "shell/layout.h"
#include "shell/win32/dpi.h"
#include "window_fixture.h"

namespace {

using shell::Id;
using shell::Kind;
using testing_support::WindowTest;

std::string Name(const shell::ControlSpec& spec) {
  return std::string(spec.name.begin(), spec.name.end());
}

class WindowLookTest : public WindowTest {
 protected:
  void SetUp() override { Open(); }
};

TEST_F(WindowLookTest, TheWindowAtItsSizeAndDpi) {
  EXPECT_EQ(shell::win32::WindowText(main->Handle()), shell::kCaption);
  if (const auto expected = ExpectedDpi()) {
    EXPECT_EQ(Dpi(), *expected);
  }
  RECT client;
  GetClientRect(main->Handle(), &client);
  EXPECT_EQ(client.right, shell::Scale(shell::kClientWidth, Dpi()));
  EXPECT_EQ(client.bottom, shell::Scale(shell::kClientHeight, Dpi()));
  // Resizable, with the usual frame.
  const auto style = GetWindowLongPtrW(main->Handle(), GWL_STYLE);
  EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
  // Owned by the application window, which carries the title.
  EXPECT_EQ(GetWindow(main->Handle(), GW_OWNER), application->Handle());
  EXPECT_EQ(shell::win32::WindowText(application->Handle()), kTitle);
  // Centred on the work area.
  RECT window, work;
  GetWindowRect(main->Handle(), &window);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  // In whole pixels, as the system centres.
  const int windowX = (window.left + window.right) / 2, workX = (work.left + work.right) / 2;
  const int windowY = (window.top + window.bottom) / 2, workY = (work.top + work.bottom) / 2;
  EXPECT_NEAR(windowX, workX, 1);
  EXPECT_NEAR(windowY, workY, 1);
}

TEST_F(WindowLookTest, EveryControlWithItsTextAtItsPlace) {
  RECT client;
  GetClientRect(main->Handle(), &client);
  const auto placement =
      shell::Layout(client.right, client.bottom, Dpi(), shell::InitialWidths(Dpi()));
  for (const auto& spec : shell::Controls()) {
    SCOPED_TRACE(Name(spec));
    ASSERT_NE(Control(spec.id), nullptr);
    const shell::Rect expected = placement[static_cast<std::size_t>(spec.id)];
    const shell::Rect placed = Placed(spec.id);
    if (spec.kind == Kind::kLabel || spec.kind == Kind::kCheckBox) {
      // Widened where the font needs more room for the text: checked below.
      EXPECT_EQ((shell::Rect{placed.left, placed.top, expected.width, placed.height}), expected);
      EXPECT_GE(placed.width, expected.width);
    } else {
      EXPECT_EQ(placed, expected);
    }
    const bool showsOwnText = spec.kind == Kind::kLabel || shell::IsButton(spec.kind) ||
                              spec.kind == Kind::kCheckBox || spec.kind == Kind::kEditableBox;
    if (showsOwnText) {
      EXPECT_EQ(Text(spec.id), spec.text);
    }
  }
  // The designed places themselves, at 96 DPI.
  if (Dpi() == 96) {
    EXPECT_EQ(Placed(Id::edt_ZETKA_dest), (shell::Rect{8, 64, 313, 21}));
    EXPECT_EQ(Placed(Id::btn_3), (shell::Rect{120, 8, 193, 25}));
    EXPECT_EQ(Placed(Id::btn_Podglad), (shell::Rect{496, 8, 97, 25}));
    EXPECT_EQ(Placed(Id::btn_Cofnij), (shell::Rect{600, 8, 97, 25}));
  }
}

// "MS Sans Serif" where its raster sizes are drawn for the DPI, its TrueType
// twin where they would be scaled: either way the text is the height the
// controls are scaled for, never the raster font's nearest size.
TEST_F(WindowLookTest, EightPointsOfMsSansSerifOrItsTrueTypeTwinEverywhere) {
  const std::u16string face(shell::FontFace(Dpi()));
  for (const auto& spec : shell::Controls()) {
    if (spec.kind == Kind::kSplitter) continue;  // shows no text
    const auto font = reinterpret_cast<HFONT>(SendMessageW(Control(spec.id), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr) << Name(spec);
    LOGFONTW logical{};
    GetObjectW(font, sizeof(logical), &logical);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(logical.lfFaceName)), face)
        << Name(spec);
    EXPECT_EQ(logical.lfHeight, shell::FontHeight(Dpi())) << Name(spec);
  }
  const HDC dc = GetDC(Control(Id::lbl_1));
  const HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(Control(Id::lbl_1), WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, -shell::FontHeight(Dpi()));
  wchar_t shown[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, shown);
  if (Dpi() == 96) {
    // The system has the face itself, not a stand-in for it.
    EXPECT_STREQ(shown, L"MS Sans Serif");
  } else {
    // A scaled face (Wine has no "Microsoft Sans Serif" and gives another).
    EXPECT_TRUE(metrics.tmPitchAndFamily & TMPF_TRUETYPE) << "face shown: " << shown;
  }
  // No label or check box cuts its text.
  for (const auto& spec : shell::Controls()) {
    if (spec.kind != Kind::kLabel && spec.kind != Kind::kCheckBox) continue;
    const std::wstring text(spec.text.begin(), spec.text.end());
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    const int box = spec.kind == Kind::kCheckBox ? GetSystemMetrics(SM_CXMENUCHECK) : 0;
    EXPECT_GE(Placed(spec.id).width, extent.cx + box) << Name(spec);
  }
  SelectObject(dc, old);
  ReleaseDC(Control(Id::lbl_1), dc);
}

TEST_F(WindowLookTest, OpensOnThePathsScreenWithTheFocusOnTheContainer) {
  EXPECT_EQ(main->ShownScreen(), shell::Screen::kPaths);
  EXPECT_TRUE(IsWindowVisible(Control(Id::page_1)));
  EXPECT_FALSE(IsWindowVisible(Control(Id::page_2)));
  EXPECT_FALSE(IsWindowVisible(Control(Id::mmo_1)));
  EXPECT_FALSE(IsWindowVisible(Control(Id::mmo_2)));
  EXPECT_EQ(Focus(), Id::pg_1);
  EXPECT_EQ(GetForegroundWindow(), main->Handle());
  // The two proposals: no registry values, so the defaults of 2008 and 2009.
  EXPECT_EQ(Text(Id::edt_ZETKA_source), u"c:\\zetka_2008");
  EXPECT_EQ(Text(Id::edt_ZETKA_dest), u"c:\\zetka_2009");
  EXPECT_TRUE(Boxes().empty());
}

}  // namespace
