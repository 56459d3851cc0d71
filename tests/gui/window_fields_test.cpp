// The directory fields' services of the shell in the real window: files and
// folders dropped from a file manager, the folder dialog opened by the button
// and by Alt+Down, and the suggestions of folders while typing.
#include <windows.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <optional>
#include <thread>

#include "shell/form.h"
#include "window_fixture.h"

namespace {

using shell::Id;
using testing_support::Alt;
using testing_support::WindowTest;

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

// What the folder dialog was given, noted on its way to the real one.
BROWSEINFOW given{};
PIDLIST_ABSOLUTE WINAPI NoteAndBrowse(LPBROWSEINFOW info) {
  given = *info;
  return SHBrowseForFolderW(info);
}

// A stand-in for the shell's browser: it gives the program's callback a
// window of its own to preselect in, notes the folder preselected, and
// answers with a folder or a cancel at once. The real browser opens its tree
// to the preselected folder at its own pace (under Wine not always), so what
// the program asks of it is checked here, and the real one in tests of their
// own.
struct StandIn {
  static inline std::u16string preselected;
  static inline std::optional<std::u16string> answer;

  static LRESULT CALLBACK Receive(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == BFFM_SETSELECTIONW && wParam == FALSE) {
      wchar_t path[MAX_PATH] = {};
      SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam), path);
      preselected = reinterpret_cast<const char16_t*>(path);
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  static PIDLIST_ABSOLUTE WINAPI Browse(LPBROWSEINFOW info) {
    given = *info;
    preselected.clear();
    static const ATOM registered = [] {
      WNDCLASSW windowClass{};
      windowClass.lpfnWndProc = &Receive;
      windowClass.lpszClassName = L"DoplikiTestsBrowser";
      return RegisterClassW(&windowClass);
    }();
    (void)registered;
    const HWND dialog = CreateWindowW(L"DoplikiTestsBrowser", L"", WS_POPUP, 0, 0, 300, 200,
                                      info->hwndOwner, nullptr, nullptr, nullptr);
    info->lpfn(dialog, BFFM_INITIALIZED, 0, info->lParam);
    DestroyWindow(dialog);
    if (!answer) return nullptr;
    return ILCreateFromPathW(Wide(*answer).c_str());
  }
};

BOOL CALLBACK FindDropDownList(HWND window, LPARAM found) {
  const HWND box = FindWindowExW(window, nullptr, L"ListBox", nullptr);
  if (box == nullptr || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = box;
  return FALSE;
}

// The root of the current drive, as the dialog names it.
std::u16string CurrentDriveRoot() {
  wchar_t full[MAX_PATH] = {};
  GetFullPathNameW(L"\\", MAX_PATH, full, nullptr);
  return reinterpret_cast<const char16_t*>(full);
}

class WindowFieldsTest : public WindowTest {
 protected:
  WindowFieldsTest() { browse = &NoteAndBrowse; }
  void SetUp() override {
    given = {};
    folders.MakeDir(u"zetka_2008");
    folders.MakeDir(u"zetka_2009\\FIRMA1");
    folders.WriteBytes(u"zetka_2009\\FIRMA1\\BAZA_DW8.REK", "b");
    folders.WriteBytes(u"zetka_plik.txt", "nie folder");
    Open();
  }

  testing_support::TempDir folders;

  // Drops the paths onto the field as a file manager does.
  void Drop(Id field, std::initializer_list<std::u16string> paths) {
    std::size_t characters = 1;
    for (const auto& path : paths) characters += path.size() + 1;
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT,
                                      sizeof(DROPFILES) + characters * sizeof(wchar_t));
    auto* files = static_cast<DROPFILES*>(GlobalLock(block));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    auto* at = reinterpret_cast<wchar_t*>(files + 1);
    for (const auto& path : paths) {
      std::copy(path.begin(), path.end(), at);
      at += path.size() + 1;
    }
    GlobalUnlock(block);
    PostMessageW(Control(field), WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
    Pump();
  }

  struct Seen {
    bool found = false;
    HWND owner = nullptr;
    bool mainEnabled = true;
  };
  // Opens the real dialog with `open` while another thread answers it with
  // IDOK or IDCANCEL once it shows, and again while it stays open: under a
  // loaded Wine the dialog may take seconds to show, or drop an answer that
  // came before it was ready.
  Seen Answer(int answer, const std::function<void()>& open) {
    Seen seen;
    std::atomic<bool> done{false};
    std::thread answerer([&] {
      for (int tries = 0; tries < 6000 && !done; ++tries) {
        Sleep(10);
        const HWND dialog = testing_support::FindOwnDialog(
            [](HWND shown) { return IsWindowVisible(shown) != FALSE; });
        if (dialog == nullptr) continue;
        if (!seen.found) {
          seen.found = true;
          seen.owner = GetWindow(dialog, GW_OWNER);
          seen.mainEnabled = IsWindowEnabled(main->Handle());
        }
        Sleep(200);
        PostMessageW(dialog, WM_COMMAND, answer, 0);
      }
    });
    open();
    done = true;
    answerer.join();
    Pump();
    return seen;
  }
  void ClickButton(Id field) {
    HWND button = FindWindowExW(Control(field), nullptr, L"BUTTON", nullptr);
    ASSERT_NE(button, nullptr);
    SendMessageW(button, BM_CLICK, 0, 0);
  }
  void SetText(Id field, const std::u16string& text) {
    SetWindowTextW(Control(field), Wide(text).c_str());
  }
  // The list box of the drop-down of suggestions, while it is shown.
  static HWND ShownSuggestions() {
    HWND list = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindDropDownList, reinterpret_cast<LPARAM>(&list));
    return list;
  }
};

TEST_F(WindowFieldsTest, DropsGiveAFolder) {
  const struct {
    std::initializer_list<std::u16string> paths;
    std::u16string text;
  } cases[] = {
      {{folders.Path(u"zetka_2009\\FIRMA1\\BAZA_DW8.REK")}, folders.Path(u"zetka_2009\\FIRMA1")},
      {{folders.Path(u"zetka_2008")}, folders.Path(u"zetka_2008")},
      {{u"C:\\"}, u"C:"},
      {{folders.Path(u"zetka_2009"), folders.Path(u"zetka_2008"), u"C:\\"},
       folders.Path(u"zetka_2009")},
      // Not tested for existence.
      {{u"Q:\\nie ma\\takiego\\"}, u"Q:\\nie ma\\takiego"},
  };
  for (const auto& c : cases) {
    Drop(Id::edt_ZETKA_dest, c.paths);
    EXPECT_EQ(Text(Id::edt_ZETKA_dest), c.text);
  }
  Drop(Id::edt_ZETKA_source, {folders.Path(u"zetka_plik.txt")});
  EXPECT_EQ(Text(Id::edt_ZETKA_source), folders.Path());
}

// The shell's own browser, opened by the button and by Alt+Down.
TEST_F(WindowFieldsTest, TheButtonAndAltDownOpenTheShellsBrowserOverABlockedWindow) {
  SetText(Id::edt_ZETKA_source, folders.Path(u"zetka_2008"));
  const Seen seen = Answer(IDCANCEL, [&] { ClickButton(Id::edt_ZETKA_source); });
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.owner, application->Handle());
  EXPECT_FALSE(seen.mainEnabled);
  EXPECT_TRUE(IsWindowEnabled(main->Handle()));
  EXPECT_EQ(given.hwndOwner, application->Handle());
  EXPECT_EQ(given.ulFlags, static_cast<UINT>(BIF_NEWDIALOGSTYLE | BIF_STATUSTEXT));
  EXPECT_EQ(given.pidlRoot, nullptr);
  EXPECT_EQ(Text(Id::edt_ZETKA_source), folders.Path(u"zetka_2008"));
  EXPECT_EQ(Focus(), Id::edt_ZETKA_source);

  SetFocus(Control(Id::edt_ZETKA_dest));
  ASSERT_TRUE(Answer(IDOK, [&] { Keys({Alt(VK_DOWN)}); }).found);
  EXPECT_EQ(Focus(), Id::edt_ZETKA_dest);
  EXPECT_TRUE(Boxes().empty());
}

class WindowFolderChoiceTest : public WindowFieldsTest {
 protected:
  WindowFolderChoiceTest() { browse = &StandIn::Browse; }
  // Opens the dialog of the field with the button; the stand-in answers.
  std::u16string Choose(Id field, std::optional<std::u16string> answer) {
    StandIn::answer = std::move(answer);
    ClickButton(field);
    Pump();
    return StandIn::preselected;
  }
};

TEST_F(WindowFolderChoiceTest, TheStartingFolderIsPreselected) {
  const std::u16string root = CurrentDriveRoot();
  const std::u16string old = folders.Path(u"zetka_2008"), current = folders.Path(u"zetka_2009");
  // The text when it names a folder, the root when it names none.
  SetText(Id::edt_ZETKA_source, old);
  EXPECT_EQ(Choose(Id::edt_ZETKA_source, std::nullopt), old);
  SetText(Id::edt_ZETKA_source, u"c:\\nie_ma_takiego_katalogu");
  EXPECT_EQ(Choose(Id::edt_ZETKA_source, std::nullopt), root);
  // An empty text: the root until a folder has been chosen through this
  // field, then that folder; the other field keeps its own.
  SetText(Id::edt_ZETKA_dest, u"");
  EXPECT_EQ(Choose(Id::edt_ZETKA_dest, current), root);
  EXPECT_EQ(Text(Id::edt_ZETKA_dest), current);
  SetText(Id::edt_ZETKA_dest, u"");
  EXPECT_EQ(Choose(Id::edt_ZETKA_dest, std::nullopt), current);
  SetText(Id::edt_ZETKA_source, u"");
  EXPECT_EQ(Choose(Id::edt_ZETKA_source, std::nullopt), root);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(WindowFolderChoiceTest, CancelLeavesTheTextConfirmReplacesAllOfIt) {
  const std::u16string text = folders.Path(u"zetka_2008");
  SetText(Id::edt_ZETKA_source, text);
  SetFocus(Control(Id::edt_ZETKA_source));
  SendMessageW(Control(Id::edt_ZETKA_source), EM_SETSEL, 3, 8);
  Choose(Id::edt_ZETKA_source, std::nullopt);
  EXPECT_EQ(Text(Id::edt_ZETKA_source), text);
  EXPECT_EQ(Focus(), Id::edt_ZETKA_source);

  SendMessageW(Control(Id::edt_ZETKA_source), EM_SETSEL, 3, 8);
  Choose(Id::edt_ZETKA_source, folders.Path(u"zetka_2009\\FIRMA1"));
  EXPECT_EQ(Text(Id::edt_ZETKA_source), folders.Path(u"zetka_2009\\FIRMA1"));
  EXPECT_EQ(Focus(), Id::edt_ZETKA_source);
  // A drive root keeps its backslash.
  Choose(Id::edt_ZETKA_source, u"C:\\");
  EXPECT_EQ(Text(Id::edt_ZETKA_source), u"C:\\");
}

// The suggestions: folders whose paths begin with the typed text, no files.
TEST_F(WindowFieldsTest, TypingSuggestsFoldersOnly) {
  SetFocus(Control(Id::edt_ZETKA_dest));
  const std::u16string typed = folders.Path(u"zetk");
  SetText(Id::edt_ZETKA_dest, typed);
  SendMessageW(Control(Id::edt_ZETKA_dest), EM_SETSEL, typed.size(),
               static_cast<LPARAM>(typed.size()));
  Keys({{'A'}});
  ASSERT_EQ(Text(Id::edt_ZETKA_dest), folders.Path(u"zetka"));

  // The drop-down: a window of this thread holding a list box, one line a folder.
  HWND list = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindDropDownList, reinterpret_cast<LPARAM>(&list));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
  // Suggest mode: the text is not completed in place.
  EXPECT_EQ(Text(Id::edt_ZETKA_dest), folders.Path(u"zetka"));
  // Down walks the suggestions, each put into the field.
  std::vector<std::u16string> shown;
  for (int i = 0; i < 2; ++i) {
    Keys({{VK_DOWN}});
    shown.push_back(Text(Id::edt_ZETKA_dest));
  }
  std::sort(shown.begin(), shown.end());
  EXPECT_EQ(shown, (std::vector<std::u16string>{folders.Path(u"zetka_2008"),
                                                folders.Path(u"zetka_2009")}));
}

// Esc with the suggestions shown closes them, as everywhere in Windows, and
// does nothing else; the next Esc is the screen's, which on the paths screen
// does nothing either.
TEST_F(WindowFieldsTest, EscapeClosesTheSuggestionsFirst) {
  const std::u16string typed = folders.Path(u"zetk");
  for (const Id field : {Id::edt_ZETKA_source, Id::edt_ZETKA_dest}) {
    SetFocus(Control(field));
    SetText(field, typed);
    SendMessageW(Control(field), EM_SETSEL, typed.size(), static_cast<LPARAM>(typed.size()));
    Keys({{'A'}});
    ASSERT_NE(ShownSuggestions(), nullptr);
    for (int press = 1; press <= 2; ++press) {
      Keys({{VK_ESCAPE}});
      EXPECT_EQ(ShownSuggestions(), nullptr) << "after Esc " << press;
      ASSERT_TRUE(IsWindow(main->Handle()));
      EXPECT_EQ(main->ShownScreen(), shell::Screen::kPaths);
      EXPECT_EQ(Focus(), field);
      EXPECT_EQ(Text(field), folders.Path(u"zetka"));
    }
  }
  EXPECT_TRUE(Boxes().empty());
}
}  // namespace
