// The source of the directory fields' suggestions, called as the shell's
// autocompletion calls it on Windows: Next on a thread of its own while the
// window's thread names a new folder at each keystroke.
#include <windows.h>
#include <gtest/gtest.h>
#include <objidl.h>
#include <shlguid.h>
#include <shlobj.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "shell/win32/folder_suggestions.h"
#include "support/temp_dir.h"

namespace {

using Paths = std::set<std::u16string>;

// Two folders of many subfolders, their names of many lengths, and a file
// in each that is never suggested.
class FolderSourceTest : public ::testing::Test {
 protected:
  static constexpr int kSubfolders = 200;

  void SetUp() override {
    for (const std::u16string parent : {u"pierwszy", u"drugi"}) {
      Paths& paths = parent == u"pierwszy" ? first : second;
      for (int i = 0; i < kSubfolders; ++i) {
        const std::string number = std::to_string(i);
        const std::u16string name =
            std::u16string(1 + i % 50, u'k') + std::u16string(number.begin(), number.end());
        dir.MakeDir(parent + u"\\" + name);
        paths.insert(dir.Path(parent + u"\\" + name));
      }
      dir.WriteBytes(parent + u"\\plik.txt", "nie folder");
    }
    source = shell::win32::MakeFolderSource();
    ASSERT_NE(source, nullptr);
    ASSERT_EQ(source->QueryInterface(IID_IACList, reinterpret_cast<void**>(&list)), S_OK);
  }
  void TearDown() override {
    if (list != nullptr) list->Release();
    if (source != nullptr) source->Release();
  }

  // The folder as the autocompletion names it: up to its closing backslash.
  std::u16string Folder(const std::u16string& name) const { return dir.Path(name + u"\\"); }
  void Expand(const std::u16string& name) {
    ASSERT_EQ(list->Expand(reinterpret_cast<const wchar_t*>(Folder(name).c_str())), S_OK);
  }

  testing_support::TempDir dir;
  Paths first, second;
  IEnumString* source = nullptr;
  IACList* list = nullptr;
};

// Takes `count` strings at most; `given` gets them, and the result is Next's.
HRESULT Take(IEnumString& from, ULONG count, std::vector<std::u16string>& given) {
  std::vector<LPOLESTR> strings(count, nullptr);
  ULONG fetched = 0;
  const HRESULT result = from.Next(count, strings.data(), &fetched);
  for (ULONG i = 0; i < fetched; ++i) {
    given.emplace_back(reinterpret_cast<const char16_t*>(strings[i]));
    CoTaskMemFree(strings[i]);
  }
  return result;
}

// Every string left, taken a few at a time.
std::vector<std::u16string> TakeAll(IEnumString& from) {
  std::vector<std::u16string> given;
  while (Take(from, 7, given) == S_OK) {
  }
  return given;
}

Paths AsSet(const std::vector<std::u16string>& paths) { return Paths(paths.begin(), paths.end()); }

// The enumeration as the autocompletion relies on it: the named folder's
// subfolders as whole paths, a position that Skip and Reset move, and a
// clone that goes on from the same place in the same list.
TEST_F(FolderSourceTest, ListsTheNamedFoldersSubfoldersOnce) {
  std::vector<std::u16string> given;
  EXPECT_EQ(Take(*source, 1, given), S_FALSE) << "nothing is listed before a folder is named";
  EXPECT_TRUE(given.empty());

  Expand(u"pierwszy");
  const std::vector<std::u16string> all = TakeAll(*source);
  EXPECT_EQ(all.size(), first.size());
  EXPECT_EQ(AsSet(all), first);
  EXPECT_EQ(Take(*source, 1, given), S_FALSE);

  ASSERT_EQ(source->Reset(), S_OK);
  ASSERT_EQ(source->Skip(5), S_OK);
  ASSERT_EQ(Take(*source, 3, given), S_OK);
  EXPECT_EQ(given, std::vector<std::u16string>(all.begin() + 5, all.begin() + 8));
  IEnumString* clone = nullptr;
  ASSERT_EQ(source->Clone(&clone), S_OK);
  const std::vector<std::u16string> rest = TakeAll(*clone);
  clone->Release();
  EXPECT_EQ(rest, std::vector<std::u16string>(all.begin() + 8, all.end()));
  EXPECT_EQ(source->Skip(kSubfolders), S_FALSE) << "fewer were left than skipped";
  EXPECT_EQ(Take(*source, 1, given), S_FALSE);

  // A folder that is not there has no subfolders.
  Expand(u"nie_ma");
  ASSERT_EQ(source->Reset(), S_OK);
  EXPECT_TRUE(TakeAll(*source).empty());
}

// Windows' autocompletion takes the strings on a thread of its own while the
// window's thread names the folder of each keystroke. Each string taken is
// then a whole path from one of the folders' lists, never a torn one.
TEST_F(FolderSourceTest, AnotherThreadTakesWholePathsWhileTheFolderChanges) {
  Paths both = first;
  both.insert(second.begin(), second.end());
  std::atomic<bool> started{false}, expanding{true};
  std::vector<std::u16string> torn;
  std::size_t taken = 0;
  const auto check = [&](const std::vector<std::u16string>& given) {
    taken += given.size();
    for (const auto& path : given) {
      if (both.count(path) == 0 && torn.size() < 10) torn.push_back(path);
    }
  };
  std::thread autocompletion([&] {
    for (ULONG round = 1; !started || expanding; ++round) {
      started = true;
      source->Reset();
      std::vector<std::u16string> given;
      while (Take(*source, 1 + round % 9, given) == S_OK) {
        if (round % 4 == 0) source->Skip(round % 3);
      }
      if (round % 16 == 0) {
        IEnumString* clone = nullptr;
        if (source->Clone(&clone) == S_OK) {
          source->Reset();
          const std::vector<std::u16string> rest = TakeAll(*clone);
          given.insert(given.end(), rest.begin(), rest.end());
          clone->Release();
        }
      }
      check(given);
    }
  });
  while (!started) {
  }
  for (int i = 0; i < 300; ++i) {
    Expand(i % 2 == 0 ? u"pierwszy" : u"drugi");
    if (i % 3 == 0) source->Reset();
  }
  expanding = false;
  autocompletion.join();
  EXPECT_TRUE(torn.empty()) << torn.size() << " strings named no subfolder, the first: "
                            << std::string(torn.front().begin(), torn.front().end());
  EXPECT_GT(taken, 0u);

  // Once the folder stays, one pass gives its list whole.
  ASSERT_EQ(source->Reset(), S_OK);
  EXPECT_EQ(AsSet(TakeAll(*source)), second);
}

}  // namespace
