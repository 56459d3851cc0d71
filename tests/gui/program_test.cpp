// What the program owes Windows beyond what Wine asks of it: a window the
// system refuses to make is shown as a failure and ends the program with a
// code that says so, and frm_Main is made where it is shown.
#include "shell/win32/program.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "window_fixture.h"

namespace {

using testing_support::WindowTest;

// Watches the making of this thread's windows of one class, as a CBT hook
// sees it before the window exists: where each is made, and, if told to,
// refuses it as a system short of resources would.
class CreationWatch {
 public:
  CreationWatch(std::wstring className, bool refuse)
      : className_(std::move(className)), refuse_(refuse) {
    current = this;
    // NOLINTNEXTLINE(cppcoreguidelines-prefer-member-initializer): a hook procedure has no context, so `current` comes first
    hook_ = SetWindowsHookExW(WH_CBT, &CreationWatch::Hook, nullptr, GetCurrentThreadId());
  }
  ~CreationWatch() {
    UnhookWindowsHookEx(hook_);
    current = nullptr;
  }
  CreationWatch(const CreationWatch&) = delete;
  CreationWatch& operator=(const CreationWatch&) = delete;

  std::vector<RECT> made;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && current != nullptr) {
      wchar_t name[64] = {};
      GetClassNameW(reinterpret_cast<HWND>(wParam), name, 64);
      if (current->className_ == name) {
        const CREATESTRUCTW& create = *reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        current->made.push_back({create.x, create.y, create.x + create.cx, create.y + create.cy});
        if (current->refuse_) return 1;
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static inline CreationWatch* current = nullptr;
  std::wstring className_;
  bool refuse_;
  HHOOK hook_ = nullptr;
};

class ProgramTest : public WindowTest {
 protected:
  ProgramTest() = default;
  ProgramTest(const ProgramTest&) = delete;
  ProgramTest& operator=(const ProgramTest&) = delete;
  ~ProgramTest() override {
    // A window destroyed while it was being made posted the end of a loop
    // that never ran.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
};

TEST_F(ProgramTest, AWindowTheSystemRefusesIsShownAndEndsTheProgram) {
  const struct {
    const wchar_t* refusedClass;
    std::u16string failure;
  } cases[] = {
      {L"Dopliki32Application", u"Cannot create the application window"},
      {L"Tfrm_Main", u"Cannot create the main window"},
      // Made while frm_Main is made: frm_Main is not made without them.
      {L"Dopliki32Panel", u"Cannot create the control \"pg_1\""},
      {L"Edit", u"Cannot create the control \"edt_ZETKA_source\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::wstring(c.refusedClass));
    Boxes().clear();
    int exitCode = 0;
    {
      CreationWatch refusal(c.refusedClass, true);
      exitCode = shell::win32::RunProgram({os, registry, kYear, &testing_support::RecordBox});
      EXPECT_FALSE(refusal.made.empty());
    }
    EXPECT_NE(exitCode, 0);
    ASSERT_EQ(Boxes().size(), 1u);
    const auto& box = Boxes().front();
    EXPECT_EQ(box.text.substr(0, c.failure.size()), c.failure);
    // The application title, from the name of the executable (bin\dopliki32.exe).
    EXPECT_EQ(box.caption, u"dopliki32");
    EXPECT_EQ(box.flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
    // Nothing of the program is left: no loop runs on for a window that is not there.
    EXPECT_EQ(FindWindowW(L"Tfrm_Main", nullptr), nullptr);
    EXPECT_EQ(FindWindowW(L"Dopliki32Application", nullptr), nullptr);
  }
}

// Made on the primary monitor at its DPI, not made elsewhere and moved there:
// a move across monitors of another DPI would change the window's DPI and
// move it off the centre.
TEST_F(ProgramTest, FrmMainIsMadeWhereItIsShown) {
  CreationWatch watch(L"Tfrm_Main", false);
  Open();
  ASSERT_EQ(watch.made.size(), 1u);
  RECT shown{};
  GetWindowRect(main->Handle(), &shown);
  EXPECT_TRUE(EqualRect(&watch.made.front(), &shown))
      << "made at " << watch.made.front().left << "," << watch.made.front().top << " "
      << watch.made.front().right << "," << watch.made.front().bottom << ", shown at " << shown.left
      << "," << shown.top << " " << shown.right << "," << shown.bottom;
}

}  // namespace
