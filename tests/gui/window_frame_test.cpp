// The window as a frame: its size followed by the log, the splitters dragged
// with the mouse, minimised and restored with the application window.
#include <gtest/gtest.h>

#include "shell/form.h"
#include "shell/layout.h"
#include "window_fixture.h"

namespace {

using shell::Id;
using testing_support::WindowTest;

class WindowFrameTest : public WindowTest {
 protected:
  void SetUp() override { Open(); }

  // Presses the left button on the control's middle, moves by dx, releases.
  void Drag(Id control, int dx) {
    RECT r;
    GetWindowRect(Control(control), &r);
    const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    Mouse(x, y, MOUSEEVENTF_MOVE);
    Mouse(x, y, MOUSEEVENTF_LEFTDOWN);
    Mouse(x + dx / 2, y, MOUSEEVENTF_MOVE);
    Mouse(x + dx, y, MOUSEEVENTF_MOVE);
    Mouse(x + dx, y, MOUSEEVENTF_LEFTUP);
  }
  void Mouse(int x, int y, DWORD flags) {
    testing_support::SendMouse({x, y}, flags);
    Pump();
  }
};

TEST_F(WindowFrameTest, TheLogFollowsTheWindowsSize) {
  ShowWindow(Control(Id::page_1), SW_HIDE);
  ShowWindow(Control(Id::page_2), SW_SHOW);
  RECT window;
  GetWindowRect(main->Handle(), &window);
  SetWindowPos(main->Handle(), nullptr, 0, 0, window.right - window.left + 200,
               window.bottom - window.top + 100, SWP_NOMOVE | SWP_NOZORDER);
  Pump();
  RECT client;
  GetClientRect(main->Handle(), &client);
  const auto placement =
      shell::Layout(client.right, client.bottom, Dpi(), shell::InitialWidths(Dpi()));
  for (const Id id : {Id::pnl_3, Id::pnl_4, Id::pnl_6, Id::mmo_Log}) {
    EXPECT_EQ(Placed(id), placement[static_cast<std::size_t>(id)]);
  }
  // The paths panel keeps its width.
  EXPECT_EQ(Placed(Id::pnl_1).width, shell::Scale(330, Dpi()));
}

TEST_F(WindowFrameTest, TheSplittersChangeTheirPanelsWidth) {
  const int least = shell::Scale(330, Dpi());
  Drag(Id::spl1, 100);
  EXPECT_EQ(Placed(Id::pnl_1).width, least + 100);
  EXPECT_EQ(Placed(Id::spl1).left, least + 100);
  Drag(Id::spl1, -300);
  EXPECT_EQ(Placed(Id::pnl_1).width, least);

  ShowWindow(Control(Id::page_1), SW_HIDE);
  ShowWindow(Control(Id::page_2), SW_SHOW);
  const int pnl5 = Placed(Id::pnl_5).width;
  Drag(Id::spl2, -100);
  EXPECT_EQ(Placed(Id::pnl_5).width, pnl5 - 100);
  Drag(Id::spl2, -2000);
  EXPECT_EQ(Placed(Id::pnl_5).width, 0);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WindowFrameTest, MinimisedAndRestoredWithTheApplicationWindow) {
  SendMessageW(main->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Pump();
  EXPECT_TRUE(IsIconic(application->Handle()));
  EXPECT_FALSE(IsWindowVisible(main->Handle()));
  // The taskbar entry restores the application window; the main window follows.
  ShowWindow(application->Handle(), SW_RESTORE);
  Pump();
  EXPECT_TRUE(IsWindowVisible(main->Handle()));
  EXPECT_FALSE(IsIconic(application->Handle()));
}

}  // namespace
