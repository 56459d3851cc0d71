// The directory fields' rules for the folder dialog, drops and suggestions.
#include "shell/folder_field.h"

#include <gtest/gtest.h>

#include "platform/utf8.h"
#include "support/memory_os.h"

namespace {

bool IsFolder(std::u16string_view path) {
  return path == u"\\" || path == u"C:\\zetka_2024" || path == u"D:\\ostatni";
}

TEST(StartingFolder, TheTextTheLastChoiceOrTheRoot) {
  const struct {
    std::u16string text, lastChosen, start;
  } cases[] = {
      {u"C:\\zetka_2024", u"D:\\ostatni", u"C:\\zetka_2024"},
      {u"C:\\nie_ma", u"D:\\ostatni", u"\\"},
      {u"", u"D:\\ostatni", u"D:\\ostatni"},
      {u"", u"", u"\\"},
      {u"", u"D:\\usuniety", u"\\"},
      {u" C:\\zetka_2024", u"", u"\\"},  // the text as it is, blanks included
  };
  for (const auto& c : cases) {
    EXPECT_EQ(shell::StartingFolder(c.text, c.lastChosen, IsFolder), c.start)
        << platform::TextToUtf8(c.text) << " / " << platform::TextToUtf8(c.lastChosen);
  }
}

TEST(DroppedText, AFileGivesItsFolderAndNoTrailingBackslashStays) {
  const struct {
    std::u16string path;
    bool isFile;
    std::u16string text;
  } cases[] = {
      {u"C:\\zetka_2024\\FIRMA1\\BAZA_DW8.REK", true, u"C:\\zetka_2024\\FIRMA1"},
      {u"C:\\zetka_2024\\FIRMA1", false, u"C:\\zetka_2024\\FIRMA1"},
      {u"C:\\zetka_2024\\FIRMA1\\", false, u"C:\\zetka_2024\\FIRMA1"},
      {u"C:\\", false, u"C:"},
      {u"C:\\plik.txt", true, u"C:"},
      {u"\\\\serwer\\udzial\\a.txt", true, u"\\\\serwer\\udzial"},
      {u"plik", true, u""},
  };
  for (const auto& c : cases) EXPECT_EQ(shell::DroppedText(c.path, c.isFile), c.text);
}

// Files, folders and names the OS layer refuses: a device is neither, nor is
// a name holding a NUL that would otherwise name its first part.
TEST(WhatIsNamed, AsTheOsLayerSeesIt) {
  testing_support::MemoryOs os;
  os.MakeDir(u"C:\\zetka_2024");
  os.PutFile(u"C:\\zetka_2024\\BAZA_DW8.REK", "b");
  using shell::Named;
  const struct {
    std::u16string path;
    Named named;
  } cases[] = {
      {u"C:\\zetka_2024", Named::kFolder},
      {u"C:\\zetka_2024\\BAZA_DW8.REK", Named::kFile},
      {u"C:\\nie_ma", Named::kNothing},
      {u"C:\\zetka_2024\\CON", Named::kNothing},
      {std::u16string(u"C:\\zetka_2024\0x", 15), Named::kNothing},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(shell::WhatIsNamed(os, c.path), c.named) << platform::TextToUtf8(c.path);
  }
}

TEST(SuggestionFolder, UpToTheLastBackslash) {
  EXPECT_EQ(shell::SuggestionFolder(u"C:\\zet"), u"C:\\");
  EXPECT_EQ(shell::SuggestionFolder(u"C:\\zetka_2024\\F"), u"C:\\zetka_2024\\");
  EXPECT_EQ(shell::SuggestionFolder(u"C:\\zetka_2024\\"), u"C:\\zetka_2024\\");
  EXPECT_EQ(shell::SuggestionFolder(u"zet"), u"");
}

}  // namespace
