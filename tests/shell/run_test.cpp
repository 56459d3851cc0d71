// The "SRU" button: the chosen operations in their fixed order, "Koniec",
// then the whole log saved beside the executable.
#include <gtest/gtest.h>

#include "platform/utf8.h"
#include "shell/main_form.h"
#include "support/fake_controls.h"
#include "support/forwarding_os.h"
#include "support/installations.h"
#include "support/system.h"
#include "transfer/errors.h"

namespace {

using testing_support::Bytes;
using testing_support::FakeForm;
using testing_support::FirmaRecord;
using testing_support::Installations;
using testing_support::RokRecord;
using testing_support::Shown;
using Events = std::vector<std::u16string>;

class RunTest : public ::testing::Test {
 protected:
  RunTest() {
    pair.AddCompany(u"FIRMA1", RokRecord(0, 12.5), RokRecord(0, 0));
    pair.dir.WriteBytes(Installations::In(Installations::kOld, u"FIRMA1", u"BAZA_DW8.REK"), "b");
    pair.dir.WriteBytes(u"zetka_2008\\spisfirm.dat", "");
    pair.dir.WriteBytes(u"zetka_2009\\spisfirm.dat", FirmaRecord("Alfa", "FIRMA1"));
    pair.dir.MakeDir(u"bin");
    form.edt_ZETKA_source.text = pair.dir.Path(Installations::kOld);
    form.edt_ZETKA_dest.text = pair.dir.Path(Installations::kNew);
    main.btn_1Click();
    form.screen.events.clear();
  }
  bool LogFileExists() const { return pair.dir.Exists(kLogFile); }
  std::string LogFile() const { return pair.dir.ReadBytes(kLogFile); }

  static constexpr std::u16string_view kLogFile = u"bin\\dopliki32.log";
  Installations pair;
  testing_support::RegionalOs os{testing_support::SystemOs(), pair.dir.Path(u"bin\\dopliki32.exe")};
  FakeForm form;
  shell::Tfrm_Main main{os, form.Controls()};
};

TEST_F(RunTest, NeitherOperationStillEndsAndSaves) {
  main.btn_2Click();
  EXPECT_EQ(form.screen.events, Events{Shown(shell::kRunEnded)});
  EXPECT_EQ(Shown(shell::kRunEnded), u"Info|Koniec|64");
  EXPECT_EQ(LogFile(), "");
}

TEST_F(RunTest, TheCopyComesBeforeTheTransfer) {
  form.chk_4.checked = form.chk_Remanenty.checked = true;
  main.btn_2Click();
  const std::string lines =
      "Skopiowane fimry:\r\nFIRMA1\\BAZA_DW8.REK\r\nFIRMA1 REMA: 12,5\r\n"
      "OK. Remamenty skopiowano!\r\n";
  EXPECT_EQ(LogFile(), lines);

  // A second run appends to the same log, and the file holds both runs. The
  // separator follows a change of the regional settings.
  form.chk_4.checked = false;
  os.decimalSymbol = u".";
  main.RefreshDecimalSeparator();
  main.btn_2Click();
  EXPECT_EQ(LogFile(), lines +
                           "FIRMA1 REMANENT DOCELOWY NIEZEROWY 12.5 - pomijam\r\n"
                           "OK. Remamenty skopiowano!\r\n");
}

TEST_F(RunTest, AFailedTransferEndsTheRunBeforeKoniecAndTheSave) {
  form.chk_4.checked = form.chk_Remanenty.checked = true;
  pair.dir.SetReadOnly(Installations::NewAnnual(u"FIRMA1"));
  EXPECT_THROW(main.btn_2Click(), transfer::EInOutError);
  EXPECT_TRUE(form.screen.events.empty());
  EXPECT_FALSE(LogFileExists());

  // The next completed run, which logs nothing itself, saves what the
  // failed one logged before it failed.
  form.chk_4.checked = form.chk_Remanenty.checked = false;
  main.btn_2Click();
  EXPECT_EQ(LogFile(), "Skopiowane fimry:\r\nFIRMA1\\BAZA_DW8.REK\r\n");
}

// A directory name read with a NUL in it names no file. Cut at the NUL, this
// one would name the company's BAZA_DW8.REK in both installations, and the
// transfer would write the old file's bytes 246..253 over the new one's.
TEST_F(RunTest, ADirectoryNameWithANulNamesNoFile) {
  const Bytes katalog("FIRMA1\\BAZA_DW8.REK\0", 20);
  pair.dir.WriteBytes(u"zetka_2009\\spisfirm.dat", FirmaRecord("Zla", katalog));
  const auto oldBaza = Installations::In(Installations::kOld, u"FIRMA1", u"BAZA_DW8.REK");
  const auto newBaza = Installations::In(Installations::kNew, u"FIRMA1", u"BAZA_DW8.REK");
  pair.dir.WriteBytes(oldBaza, RokRecord(0, 7));
  pair.dir.WriteBytes(newBaza, RokRecord(0, 0));
  main.btn_1Click();
  ASSERT_EQ(form.mmo_2.lines,
            std::vector<std::u16string>{std::u16string(u"FIRMA1\\BAZA_DW8.REK\0", 20)});

  form.chk_4.checked = form.chk_Remanenty.checked = true;
  main.btn_2Click();
  EXPECT_EQ(pair.dir.ReadBytes(oldBaza), RokRecord(0, 7));
  EXPECT_EQ(pair.dir.ReadBytes(newBaza), RokRecord(0, 0));
  EXPECT_FALSE(pair.dir.Exists(newBaza + u".old"));
  // The NUL shows as a mark, so neither the box nor the file is cut at it.
  const std::u16string lines = u"Skopiowane fimry:\r\nBAD.Brak pliku " + pair.Source() +
                               u"FIRMA1\\BAZA_DW8.REK<NUL>\\2008_ROK.REK\r\n"
                               u"OK. Remamenty skopiowano!\r\n";
  EXPECT_EQ(form.mmo_Log.text, lines);
  EXPECT_EQ(LogFile(), platform::TextToUtf8(lines));
}

TEST_F(RunTest, AReadOnlyLogFileFailsAfterKoniec) {
  pair.dir.WriteBytes(kLogFile, "stary");
  pair.dir.SetReadOnly(kLogFile);
  form.mmo_Log.text = u"wpis\r\n";
  try {
    main.btn_2Click();
    FAIL() << "a read-only log file was replaced";
  } catch (const transfer::ECreateError& e) {
    EXPECT_EQ(e.Message().rfind(u"Cannot create file \"" + pair.dir.Path(kLogFile) + u"\". ", 0),
              0u);
  }
  EXPECT_EQ(form.screen.events, Events{Shown(shell::kRunEnded)});
  EXPECT_EQ(LogFile(), "stary");
}

}  // namespace
