// Bad inputs that only Windows can show, each through a whole operation:
// files held by another program or hidden, device names, shares and trailing
// dots. As in tests/transfer/bad_input_test.cpp, every file of the folder is
// compared before and after. No row may hang: a device is never opened.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/utf8.h"
#include "support/records.h"
#include "support/whole_operation.h"
#include "win32/held_file.h"

namespace {

using testing_support::Bytes;
using testing_support::Events;
using testing_support::HeldFile;
using testing_support::Installations;
using testing_support::kAccepted;
using testing_support::kKoniec;
using testing_support::Lines;
using testing_support::RokRecord;
using testing_support::WholeOperation;

std::string Utf8(const std::u16string& text) { return platform::TextToUtf8(text); }

bool Hide(const std::u16string& path) {
  const std::wstring name(path.begin(), path.end());
  return SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_HIDDEN) != 0;
}

bool IsHidden(const std::u16string& path) {
  const std::wstring name(path.begin(), path.end());
  const DWORD attributes = GetFileAttributesW(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
}

class BadInputWin32Test : public ::testing::Test {
 protected:
  BadInputWin32Test() {
    op.pair.AddCompany(u"FIRMA1", RokRecord(0, 12.5), RokRecord(0, 0));
    op.pair.dir.WriteBytes(u"zetka_2008\\FIRMA1\\BAZA_DW8.REK", "nowa");
    op.pair.dir.WriteBytes(u"zetka_2009\\FIRMA1\\BAZA_DW8.REK", "stara");
    op.Register({"FIRMA1"});
  }
  std::u16string Path(std::u16string_view relative) const { return op.pair.dir.Path(relative); }

  WholeOperation op;
};

TEST_F(BadInputWin32Test, AnAnnualFileHeldWithoutSharingEndsTheRun) {
  for (const auto& annual :
       {Installations::OldAnnual(u"FIRMA1"), Installations::NewAnnual(u"FIRMA1")}) {
    SCOPED_TRACE(Utf8(annual));
    ASSERT_EQ(op.Accept().events, kAccepted);
    const auto before = op.Files();
    WholeOperation::Outcome run;
    {
      HeldFile holder(Path(annual), GENERIC_READ, 0);
      ASSERT_TRUE(holder.IsOpen());
      run = op.Run(true, true);
    }
    EXPECT_EQ(Utf8(run.failure), "I/O error 32");
    EXPECT_EQ(run.events, Events{});
    // The copy came first and did its work; the transfer wrote nothing.
    EXPECT_EQ(Utf8(run.logged), "Skopiowane fimry:\r\nFIRMA1\\BAZA_DW8.REK\r\n");
    EXPECT_EQ(testing_support::Differences(before, op.Files(),
                                           {{"zetka_2009/FIRMA1/BAZA_DW8.REK", "nowa"},
                                            {"zetka_2009/FIRMA1/BAZA_DW8.REK.old", "stara"}}),
              "");
    // Back as it was for the next file.
    op.pair.dir.WriteBytes(u"zetka_2009\\FIRMA1\\BAZA_DW8.REK", "stara");
    std::filesystem::remove(op.pair.dir.Native(u"zetka_2009\\FIRMA1\\BAZA_DW8.REK.old"));
  }
}

// Hidden files are files like any other: carried over, moved aside, replaced.
TEST_F(BadInputWin32Test, HiddenFilesAreTreatedAsAnyOther) {
  const auto newAnnual = Path(Installations::NewAnnual(u"FIRMA1"));
  const auto target = Path(u"zetka_2009\\FIRMA1\\BAZA_DW8.REK");
  for (const auto& name : {Path(Installations::OldAnnual(u"FIRMA1")), newAnnual, target}) {
    if (!Hide(name)) GTEST_SKIP() << "this file system keeps no hidden attribute";
  }
  ASSERT_EQ(op.Accept().events, kAccepted);
  const auto before = op.Files();
  const auto run = op.Run(true, true);
  EXPECT_EQ(run.events, kKoniec);
  EXPECT_EQ(Utf8(run.logged),
            "Skopiowane fimry:\r\nFIRMA1\\BAZA_DW8.REK\r\nFIRMA1 REMA: 12,5\r\n"
            "OK. Remamenty skopiowano!\r\n");
  EXPECT_EQ(testing_support::Differences(before, op.Files(),
                                         {{"zetka_2009/FIRMA1/2009_ROK.REK", RokRecord(12.5, 0)},
                                          {"zetka_2009/FIRMA1/BAZA_DW8.REK", "nowa"},
                                          {"zetka_2009/FIRMA1/BAZA_DW8.REK.old", "stara"}}),
            "");
  EXPECT_TRUE(IsHidden(newAnnual));
  EXPECT_TRUE(IsHidden(target + u".old"));
}

// A device or a share as an installation is refused as an installation
// without a register, and never opened: COM1 or CON would wait for input.
TEST_F(BadInputWin32Test, DevicesAndSharesAsInstallationPaths) {
  const auto dest = Path(Installations::kNew);
  const struct {
    std::u16string source, dest;
  } rows[] = {
      {u"CON", dest},
      {u"NUL", dest},
      {u"COM1", dest},
      {dest, u"COM1"},
      {u"NUL", u"CON"},
      {Path(u"zetka_2008\\NUL"), dest},
      {u"\\\\.\\COM1", dest},
      {u"\\\\.\\NUL", u"\\\\.\\CON"},
      {u"\\\\nosuchserver\\share\\zetka_2008", dest},
  };
  const auto before = op.Files();
  for (const auto& row : rows) {
    SCOPED_TRACE(Utf8(row.source) + " | " + Utf8(row.dest));
    EXPECT_EQ(op.Accept(row.source, row.dest).events, testing_support::kRegisterMissing);
  }
  EXPECT_EQ(op.main.fSciezka_dest(), u"");
  EXPECT_EQ(testing_support::Differences(before, op.Files()), "");
}

// Device names in the file list or as company directories copy nothing,
// write nothing and read nothing.
TEST_F(BadInputWin32Test, DevicesInTheFileListAndTheRegister) {
  op.form.mmo_3.lines = {u"CON", u"NUL", u"COM1", u"AUX.txt", u"LPT1", u"CONIN$"};
  op.Register({"FIRMA1", "NUL", "COM1"});
  ASSERT_EQ(op.Accept().events, kAccepted);
  const auto before = op.Files();
  const auto run = op.Run(true, true);
  EXPECT_EQ(run.events, kKoniec);
  EXPECT_EQ(Utf8(run.logged),
            Utf8(Lines({u"Skopiowane fimry:", u"FIRMA1 REMA: 12,5",
                        u"BAD.Brak pliku " + Path(u"zetka_2008\\NUL\\2008_ROK.REK"),
                        u"BAD.Brak pliku " + Path(u"zetka_2008\\COM1\\2008_ROK.REK"),
                        u"OK. Remamenty skopiowano!"})));
  EXPECT_EQ(testing_support::Differences(before, op.Files(),
                                         {{"zetka_2009/FIRMA1/2009_ROK.REK", RokRecord(12.5, 0)}}),
            "");
}

// Windows drops a trailing dot: "zetka_2009." names zetka_2009, which then
// is the same directory as the other field's.
TEST_F(BadInputWin32Test, ATrailingDotNamesTheDirectoryWithoutIt) {
  const auto source = Path(Installations::kOld), dest = Path(Installations::kNew);
  const auto before = op.Files();
  EXPECT_EQ(op.Accept(dest, dest + u".").events, testing_support::kSamePaths);
  const auto accepted = op.Accept(source + u".", dest + u".");
  EXPECT_EQ(accepted.events, kAccepted);
  EXPECT_EQ(op.main.fSciezka_dest(), dest + u".\\");
  const auto run = op.Run(false, true);
  EXPECT_EQ(run.failure, u"");
  EXPECT_EQ(Utf8(run.logged), "FIRMA1 REMA: 12,5\r\nOK. Remamenty skopiowano!\r\n");
  EXPECT_EQ(testing_support::Differences(before, op.Files(),
                                         {{"zetka_2009/FIRMA1/2009_ROK.REK", RokRecord(12.5, 0)}}),
            "");
}

}  // namespace
