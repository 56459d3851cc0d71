// The directory fields' services of the shell in the real window: files and
// folders dropped from a file manager, the folder dialog opened by the button
// and by Alt+Down, and the suggestions of folders while typing.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
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

// Window enumeration callbacks (a lambda has no stdcall form on i686).
BOOL CALLBACK FindTree(HWND child, LPARAM found) {
  wchar_t name[32] = {};
  GetClassNameW(child, name, 32);
  if (std::wstring(name) != L"SysTreeView32") return TRUE;
  *reinterpret_cast<HWND*>(found) = child;
  return FALSE;
}

BOOL CALLBACK FindDropDownList(HWND window, LPARAM found) {
  const HWND box = FindWindowExW(window, nullptr, L"ListBox", nullptr);
  if (box == nullptr || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = box;
  return FALSE;
}

// The label of the tree's selected item.
std::u16string SelectedLabel(HWND tree) {
  wchar_t label[MAX_PATH] = {};
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  item.pszText = label;
  item.cchTextMax = MAX_PATH;
  if (item.hItem == nullptr ||
      !SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) {
    return {};
  }
  return reinterpret_cast<const char16_t*>(label);
}

// The dialog opens its tree down to the preselected folder step by step:
// wait until the tree has selected the folder `leaf` names, or, without one,
// until its selection has stayed put a while.
void WaitForTheSelectionToSettle(HWND dialog, const std::u16string& leaf) {
  HWND tree = nullptr;
  EnumChildWindows(dialog, &FindTree, reinterpret_cast<LPARAM>(&tree));
  if (tree == nullptr) return;
  std::u16string last;
  int steady = 0;
  for (int tries = 0; tries < 1000; ++tries) {
    Sleep(10);
    const std::u16string label = SelectedLabel(tree);
    if (!leaf.empty() && label == leaf) return;
    steady = label == last ? steady + 1 : 0;
    if (leaf.empty() && steady >= 100) return;
    last = label;
  }
}

// The root of the current drive, as the dialog names it.
std::u16string CurrentDriveRoot() {
  wchar_t full[MAX_PATH] = {};
  GetFullPathNameW(L"\\", MAX_PATH, full, nullptr);
  return reinterpret_cast<const char16_t*>(full);
}

class WindowFieldsTest : public WindowTest {
 protected:
  void SetUp() override {
    browse = &NoteAndBrowse;
    given = {};
    folders.MakeDir(u"zetka_2008");
    folders.MakeDir(u"zetka_2009\\FIRMA1");
    folders.WriteBytes(u"zetka_2009\\FIRMA1\\BAZA_DW8.REK", "b");
    folders.WriteBytes(u"zetka_plik.txt", "nie folder");
    Open();
  }

  // Folders outside the user's profile, which the dialog under Wine does not
  // always open its tree down to.
  testing_support::TempDir folders{"C:\\"};

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
  // Opens the dialog with `open` while another thread answers it with
  // IDOK or IDCANCEL once it shows the starting folder (named by its last
  // part, `leaf`, where the test knows it).
  Seen Answer(int answer, const std::function<void()>& open, const std::u16string& leaf = u"") {
    Seen seen;
    std::atomic<bool> done{false};
    std::thread answerer([&] {
      for (int tries = 0; tries < 1000 && !done; ++tries) {
        Sleep(10);
        HWND dialog = nullptr;
        while ((dialog = FindWindowExW(nullptr, dialog, L"#32770", nullptr)) != nullptr) {
          DWORD process = 0;
          GetWindowThreadProcessId(dialog, &process);
          if (process != GetCurrentProcessId() || !IsWindowVisible(dialog)) continue;
          seen.found = true;
          seen.owner = GetWindow(dialog, GW_OWNER);
          seen.mainEnabled = IsWindowEnabled(main->Handle());
          WaitForTheSelectionToSettle(dialog, leaf);
          PostMessageW(dialog, WM_COMMAND, answer, 0);
          done = true;
          break;
        }
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

TEST_F(WindowFieldsTest, TheButtonOpensTheDialogOwnedByTheApplicationWindow) {
  SetText(Id::edt_ZETKA_source, folders.Path(u"zetka_2008"));
  const Seen seen = Answer(
      IDOK, [&] { ClickButton(Id::edt_ZETKA_source); }, u"zetka_2008");
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.owner, application->Handle());
  EXPECT_FALSE(seen.mainEnabled);
  EXPECT_TRUE(IsWindowEnabled(main->Handle()));
  EXPECT_EQ(given.hwndOwner, application->Handle());
  EXPECT_EQ(given.ulFlags, static_cast<UINT>(BIF_NEWDIALOGSTYLE | BIF_STATUSTEXT));
  EXPECT_EQ(given.pidlRoot, nullptr);
  // Confirmed at once: the preselected starting folder, named in full.
  EXPECT_EQ(Text(Id::edt_ZETKA_source), folders.Path(u"zetka_2008"));
  EXPECT_EQ(Focus(), Id::edt_ZETKA_source);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(WindowFieldsTest, AltDownOpensItAndATextThatNamesNoFolderStartsAtTheRoot) {
  SetFocus(Control(Id::edt_ZETKA_dest));
  SetText(Id::edt_ZETKA_dest, u"c:\\nie_ma_takiego_katalogu");
  const Seen seen = Answer(IDOK, [&] { Keys({Alt(VK_DOWN)}); });
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(Text(Id::edt_ZETKA_dest), CurrentDriveRoot());
  EXPECT_EQ(Focus(), Id::edt_ZETKA_dest);
}

TEST_F(WindowFieldsTest, AnEmptyTextStartsAtTheLastChoiceOrTheRoot) {
  // (The root comes last: Wine's dialog, once it has shown the root of the
  // current drive, Z:, does not open its tree to a folder on C: again.)
  SetText(Id::edt_ZETKA_dest, folders.Path(u"zetka_2009"));
  ASSERT_TRUE(Answer(
                  IDOK, [&] { ClickButton(Id::edt_ZETKA_dest); }, u"zetka_2009")
                  .found);
  SetText(Id::edt_ZETKA_dest, u"");
  ASSERT_TRUE(Answer(
                  IDOK, [&] { ClickButton(Id::edt_ZETKA_dest); }, u"zetka_2009")
                  .found);
  EXPECT_EQ(Text(Id::edt_ZETKA_dest), folders.Path(u"zetka_2009"));
  // Each field has its own last choice; without one, the root.
  SetText(Id::edt_ZETKA_source, u"");
  ASSERT_TRUE(Answer(IDOK, [&] { ClickButton(Id::edt_ZETKA_source); }).found);
  EXPECT_EQ(Text(Id::edt_ZETKA_source), CurrentDriveRoot());
}

TEST_F(WindowFieldsTest, CancelLeavesTheTextConfirmReplacesAllOfIt) {
  const std::u16string text = folders.Path(u"zetka_2008");
  SetText(Id::edt_ZETKA_source, text);
  SetFocus(Control(Id::edt_ZETKA_source));
  SendMessageW(Control(Id::edt_ZETKA_source), EM_SETSEL, 3, 8);
  ASSERT_TRUE(Answer(IDCANCEL, [&] { Keys({Alt(VK_DOWN)}); }).found);
  EXPECT_EQ(Text(Id::edt_ZETKA_source), text);
  EXPECT_EQ(Focus(), Id::edt_ZETKA_source);

  SendMessageW(Control(Id::edt_ZETKA_source), EM_SETSEL, 3, 8);
  ASSERT_TRUE(Answer(
                  IDOK, [&] { Keys({Alt(VK_DOWN)}); }, u"zetka_2008")
                  .found);
  EXPECT_EQ(Text(Id::edt_ZETKA_source), text);
}

// The suggestions: folders whose paths begin with the typed text, no files.
TEST_F(WindowFieldsTest, TypingSuggestsFoldersOnly) {
  SetFocus(Control(Id::edt_ZETKA_dest));
  const std::u16string typed = folders.Path(u"zetk");
  SetText(Id::edt_ZETKA_dest, typed);
  SendMessageW(Control(Id::edt_ZETKA_dest), EM_SETSEL, typed.size(), typed.size());
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
}  // namespace
