// The boxes as the transfer fills and reads them, and the directory fields'
// one line, on the real controls.
#include <gtest/gtest.h>

#include "shell/controls.h"
#include "shell/form.h"
#include "shell/win32/box_controls.h"
#include "support/records.h"
#include "window_fixture.h"

namespace {

using shell::Id;
using testing_support::FirmaRecord;
using testing_support::RokRecord;
using testing_support::WindowTest;

class WindowBoxesTest : public WindowTest {
 protected:
  void SetUp() override {
    pair.dir.WriteBytes(u"zetka_2008\\spisfirm.dat", "");
    ProposeThePair();
  }
};

// Far beyond the box's own limit of 30,000 characters, nothing is cut, and
// the text is what the log saves.
TEST_F(WindowBoxesTest, TheLogKeepsAHundredThousandLines) {
  Open();
  shell::win32::LogBox log(Control(Id::mmo_Log));
  std::u16string expected;
  for (int i = 0; i < 100000; ++i) {
    const std::string number = std::to_string(i);
    const std::u16string line = u"FIRMA" + std::u16string(number.begin(), number.end());
    shell::Log(log, line);
    expected += line + u"\r\n";
  }
  log.Flush();
  EXPECT_EQ(Text(Id::mmo_Log).size(), expected.size());
  EXPECT_TRUE(Text(Id::mmo_Log) == expected);
  // A line typed without a break: the next one starts on a line of its own.
  SendMessageW(Control(Id::mmo_Log), EM_SETSEL, -1, -1);
  SendMessageW(Control(Id::mmo_Log), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"wpis"));
  shell::Log(log, u"dalej");
  EXPECT_TRUE(log.Text() == expected + u"wpis\r\ndalej");
}

TEST_F(WindowBoxesTest, TheCompanyListsHoldOneEntryPerRecordNulsShown) {
  const std::string longName(70, 'K');
  pair.dir.WriteBytes(u"zetka_2009\\spisfirm.dat",
                      FirmaRecord("Firma \xB3\xF3\x64\x9F", "FIRMA1") + FirmaRecord("", longName) +
                          FirmaRecord(std::string("Z\0a", 3), std::string("A\0B", 3)));
  Open();
  Keys({{VK_RETURN}});
  EXPECT_EQ(Text(Id::mmo_1), u"Firma łódź\r\n\r\nZ<NUL>a\r\n");
  EXPECT_EQ(Text(Id::mmo_2), u"FIRMA1\r\n" + std::u16string(70, u'K') + u"\r\nA<NUL>B\r\n");
}

// 3,000 companies fill far more than the box's own limit of 30,000
// characters: every one is listed, and so every one is treated by a run.
TEST_F(WindowBoxesTest, TheCompanyListsHoldARegisterOfThousands) {
  std::string records;
  std::u16string names, directories;
  for (int i = 0; i < 3000; ++i) {
    const std::string number = std::to_string(i);
    records += FirmaRecord("Firma " + number, "KATALOG" + number);
    names += u"Firma " + std::u16string(number.begin(), number.end()) + u"\r\n";
    directories += u"KATALOG" + std::u16string(number.begin(), number.end()) + u"\r\n";
  }
  pair.dir.WriteBytes(u"zetka_2009\\spisfirm.dat", records);
  Open();
  Keys({{VK_RETURN}});
  EXPECT_TRUE(Text(Id::mmo_1) == names);
  EXPECT_TRUE(Text(Id::mmo_2) == directories);
}

TEST_F(WindowBoxesTest, ADirectoryFieldNeverHoldsALineBreak) {
  Open();
  const HWND field = Control(Id::edt_ZETKA_dest);
  SetWindowTextW(field, L"c:\\pierwsza\r\nc:\\druga");
  EXPECT_EQ(Text(Id::edt_ZETKA_dest), u"c:\\pierwsza");
  SetWindowTextW(field, L"c:\\a\rb");
  EXPECT_EQ(Text(Id::edt_ZETKA_dest), u"c:\\a");

  // Pasted: only the first line stays.
  const std::wstring clip = L"d:\\wklejona\r\nd:\\druga";
  ASSERT_TRUE(OpenClipboard(main->Handle()));
  EmptyClipboard();
  const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (clip.size() + 1) * sizeof(wchar_t));
  std::copy_n(clip.c_str(), clip.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
  SetFocus(field);
  SetWindowTextW(field, L"");
  Keys({testing_support::Ctrl('V')});
  EXPECT_EQ(Text(Id::edt_ZETKA_dest), u"d:\\wklejona");
}

TEST_F(WindowBoxesTest, ANewDecimalSymbolReachesTheNextRun) {
  pair.AddCompany(u"F", RokRecord(0, 2.5), RokRecord(0, 0));
  pair.dir.WriteBytes(u"zetka_2009\\spisfirm.dat", FirmaRecord("F", "F"));
  Open();
  Keys({{VK_RETURN}});
  SendMessageW(Control(Id::chk_Remanenty), BM_SETCHECK, BST_CHECKED, 0);
  os.decimalSymbol = u".";
  SendMessageW(main->Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
  Keys({{VK_RETURN}});
  EXPECT_EQ(Text(Id::mmo_Log), u"F REMA: 2.5\r\nOK. Remamenty skopiowano!\r\n");
}

}  // namespace
