// The "OK" button: which pairs of installation paths are refused with which
// message, and what an accepted pair sets up.
#include <gtest/gtest.h>

#include "shell/main_form.h"
#include "support/fake_controls.h"
#include "support/forwarding_os.h"
#include "support/records.h"
#include "support/system.h"
#include "support/temp_dir.h"
#include "transfer/errors.h"

namespace {

using testing_support::Bytes;
using testing_support::FakeForm;
using testing_support::FirmaRecord;
using testing_support::Shown;
using testing_support::SystemOs;
using testing_support::TempDir;
using Events = std::vector<std::u16string>;

class AcceptanceTest : public ::testing::Test {
 protected:
  AcceptanceTest() {
    dir.MakeDir(u"zetka_2008");
    dir.WriteBytes(u"zetka_2008\\spisfirm.dat", FirmaRecord("Stara", "STARA"));
    dir.MakeDir(u"zetka_2009");
    dir.WriteBytes(u"zetka_2009\\spisfirm.dat",
                   FirmaRecord("Alfa", "FIRMA1") + FirmaRecord("Beta", "FIRMA2"));
    dir.MakeDir(u"pusty");
  }
  void Click(std::u16string source, std::u16string dest) {
    form.edt_ZETKA_source.text = std::move(source);
    form.edt_ZETKA_dest.text = std::move(dest);
    main.btn_1Click();
  }
  TempDir dir;
  FakeForm form;
  shell::Tfrm_Main main{SystemOs(), form.Controls()};
};

TEST_F(AcceptanceTest, RefusedPairsChangeNothing) {
  const auto stary = dir.Path(u"zetka_2008");
  const struct {
    std::u16string source, dest;
    shell::Message message;
  } cases[] = {
      {u"", u"", shell::kPathsEqual},
      {stary, u" " + stary + u"\t", shell::kPathsEqual},
      {stary, stary + u"\\", shell::kPathsEqual},
      {stary, dir.Path(u"pusty"), shell::kRegisterMissing},
      {dir.Path(u"brak"), stary, shell::kRegisterMissing},
  };
  for (const auto& c : cases) {
    form.screen.events.clear();
    Click(c.source, c.dest);
    EXPECT_EQ(form.screen.events, Events{Shown(c.message)});
    EXPECT_EQ(main.fSciezka_source(), u"");
    EXPECT_TRUE(form.mmo_2.lines.empty());
  }
  EXPECT_EQ(Shown(shell::kPathsEqual),
            u"Informacja szydząca|Ścieżki muszą być rózne. Popraw ścieżki, albo skontaktuj się z "
            u"Fabryką.|48");
  EXPECT_EQ(Shown(shell::kRegisterMissing), u"Błąd|Coś nie tak. Sprawdź czy katalogi są dobre|16");
}

TEST_F(AcceptanceTest, AnAcceptedPairLoadsTheDestinationsCompanies) {
  Click(dir.Path(u"zetka_2008") + u"\\", dir.Path(u"zetka_2009"));
  EXPECT_EQ(form.screen.events, (Events{u"lists", u"run screen"}));
  EXPECT_EQ(main.fSciezka_source(), dir.Path(u"zetka_2008") + u"\\");
  EXPECT_EQ(main.fSciezka_dest(), dir.Path(u"zetka_2009") + u"\\");
  EXPECT_EQ(form.mmo_1.lines, (Events{u"Alfa", u"Beta"}));
  EXPECT_EQ(form.mmo_2.lines, (Events{u"FIRMA1", u"FIRMA2"}));

  // Accepting again, the other way round, lists only the new destination's.
  Click(dir.Path(u"zetka_2009"), dir.Path(u"zetka_2008"));
  EXPECT_EQ(form.mmo_2.lines, Events{u"STARA"});
}

// An empty source field names the root of the current drive, where this
// test alone puts a register.
TEST_F(AcceptanceTest, AnEmptySourceFieldLooksForTheRegisterAtTheRoot) {
  struct RootRegisterOs : testing_support::ForwardingOs {
    using ForwardingOs::ForwardingOs;
    std::uint32_t Attributes(std::u16string_view name, platform::EntryInfo& info) override {
      if (name != u"\\spisfirm.dat") return ForwardingOs::Attributes(name, info);
      info.isDirectory = false;
      return platform::err::kSuccess;
    }
  } os{SystemOs()};
  shell::Tfrm_Main withRoot{os, form.Controls()};
  form.edt_ZETKA_source.text = u"";
  form.edt_ZETKA_dest.text = dir.Path(u"zetka_2009");
  withRoot.btn_1Click();
  EXPECT_EQ(form.screen.events, (Events{u"lists", u"run screen"}));
  EXPECT_EQ(withRoot.fSciezka_source(), u"\\");
  EXPECT_EQ(form.mmo_2.lines, (Events{u"FIRMA1", u"FIRMA2"}));
}

// The lists are emptied before the register is opened: what they held
// before is gone even when the register cannot be read.
TEST_F(AcceptanceTest, AFailedLoadStaysOnThePathsScreenWithThePathsSet) {
  form.mmo_1.lines = {u"stara"};
  dir.SetReadOnly(u"zetka_2009\\spisfirm.dat");
  EXPECT_THROW(Click(dir.Path(u"zetka_2008"), dir.Path(u"zetka_2009")), transfer::EInOutError);
  EXPECT_EQ(form.screen.events, Events{u"lists"});
  EXPECT_EQ(main.fSciezka_dest(), dir.Path(u"zetka_2009") + u"\\");
  EXPECT_TRUE(form.mmo_1.lines.empty());
}

// A read refused after the first record: the company read before it stays
// listed in both boxes.
TEST_F(AcceptanceTest, ALoadFailedPartWayKeepsTheCompaniesReadSoFar) {
  testing_support::NthReadRefused os{SystemOs(), 2};
  shell::Tfrm_Main failing{os, form.Controls()};
  form.edt_ZETKA_source.text = dir.Path(u"zetka_2008");
  form.edt_ZETKA_dest.text = dir.Path(u"zetka_2009");
  EXPECT_THROW(failing.btn_1Click(), transfer::EInOutError);
  EXPECT_EQ(form.screen.events, Events{u"lists"});
  EXPECT_EQ(form.mmo_1.lines, Events{u"Alfa"});
  EXPECT_EQ(form.mmo_2.lines, Events{u"FIRMA1"});
}

}  // namespace
