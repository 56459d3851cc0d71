// The fault sweep: a whole run (file copy and inventory transfer, then the log
// file) with the Nth system call failing, for every N until no fault fires,
// once with that single fault and once with every call failing from N on.
// After each run the data must still be whole:
//   1. a failure is reported exactly when a file operation was refused;
//   2. every annual file is as it was, or differs only in its opening
//      inventory, which then holds the old year's closing inventory;
//   3. every additional file's old content is still there, under its own
//      name or as the backup; with a single fault a target vanishes only when
//      that fault refused the move of the backup back to its name, and then
//      the backup holds it;
//   4. the log claims no carried value and no copy that did not happen;
//   5. no file is left open;
//   6. a clean run afterwards completes and leaves every annual file and
//      every target as a run that never failed does (but a target whose move
//      back was refused, which stays at its backup name).
#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <set>

#include "platform/utf8.h"
#include "support/fake_controls.h"
#include "support/fault_os.h"
#include "support/forwarding_os.h"
#include "support/installations.h"
#include "support/move_back_watch.h"
#include "support/system.h"
#include "transfer/errors.h"
#include "transfer/main_form.h"

namespace {

using testing_support::Bytes;
using testing_support::FakeForm;
using testing_support::FaultOs;
using testing_support::FirmaRecord;
using testing_support::Installations;
using testing_support::MoveBackWatch;
using testing_support::RokRecord;

const std::u16string kCompanies[] = {u"CARRIED", u"SKIPPED", u"MISSING"};
const std::u16string kFiles[] = {u"BAZA_DW8.REK", u"INNY.DAT"};

// Every file of the fixture by its relative name, with its content.
using Snapshot = std::map<std::u16string, Bytes>;

// A pair of installations whose companies cover each path of a run: a value
// carried over, a company skipped for its non-zero opening inventory, a
// company without its old annual file; additional files to copy onto nothing,
// onto a file, onto a file already backed up, and missing sources.
class Fixture {
 public:
  Fixture() {
    pair.AddCompany(u"CARRIED", RokRecord(0, 111.5), RokRecord(0, 0));
    pair.AddCompany(u"SKIPPED", RokRecord(0, 5), RokRecord(77, 0));
    pair.AddCompany(u"MISSING", std::nullopt, RokRecord(0, 0));
    Put(Installations::kOld, u"CARRIED", u"BAZA_DW8.REK", "nowa-c");
    Put(Installations::kNew, u"CARRIED", u"INNY.DAT", "stary-c");
    Put(Installations::kOld, u"SKIPPED", u"BAZA_DW8.REK", "nowa-s");
    Put(Installations::kNew, u"SKIPPED", u"BAZA_DW8.REK", "stara-s");
    Put(Installations::kOld, u"MISSING", u"BAZA_DW8.REK", "nowa-m");
    Put(Installations::kNew, u"MISSING", u"BAZA_DW8.REK", "stara-m");
    Put(Installations::kNew, u"MISSING", u"BAZA_DW8.REK.old", "kopia-m");
    Put(Installations::kOld, u"MISSING", u"INNY.DAT", "inny-m");
    pair.dir.WriteBytes(u"zetka_2008\\spisfirm.dat", "");
    Bytes firms;
    for (const auto& katalog : kCompanies) {
      firms += FirmaRecord("x", std::string(katalog.begin(), katalog.end()));
    }
    pair.dir.WriteBytes(u"zetka_2009\\spisfirm.dat", firms);
    pair.dir.MakeDir(u"bin");
    form.chk_4.checked = form.chk_Remanenty.checked = true;
    form.mmo_3.lines.assign(std::begin(kFiles), std::end(kFiles));
    form.edt_ZETKA_source.text = pair.dir.Path(Installations::kOld);
    form.edt_ZETKA_dest.text = pair.dir.Path(Installations::kNew);
    main.btn_1Click();
  }

  Snapshot Files() const {
    Snapshot files;
    for (const auto& katalog : kCompanies) {
      for (const auto* installation : {&Installations::kOld, &Installations::kNew}) {
        for (const auto& file : kFiles) {
          for (const auto& name : {Installations::In(*installation, katalog, file),
                                   Installations::In(*installation, katalog, file + u".old")}) {
            if (pair.dir.Exists(name)) files[name] = pair.dir.ReadBytes(name);
          }
        }
      }
      for (const auto& name :
           {Installations::OldAnnual(katalog), Installations::NewAnnual(katalog)}) {
        if (pair.dir.Exists(name)) files[name] = pair.dir.ReadBytes(name);
      }
    }
    return files;
  }

  Installations pair;
  testing_support::RelocatedOs relocated{testing_support::SystemOs(),
                                         pair.dir.Path(u"bin\\dopliki32.exe")};
  FaultOs os{relocated};
  MoveBackWatch watch{os};
  FakeForm form;
  transfer::Tfrm_Main main{watch, form.Controls()};

  bool MoveBackRefused(const std::u16string& relative) const {
    return watch.refused.count(pair.dir.Path(relative)) > 0;
  }

 private:
  void Put(std::u16string_view installation, std::u16string_view katalog, std::u16string_view file,
           const Bytes& content) {
    pair.dir.WriteBytes(Installations::In(installation, katalog, file), content);
  }
};

// One click with the Nth call failing (or every call from the Nth on).
struct Attempt {
  bool reported = false;
  std::uint64_t faults = 0;
  bool fileOperationRefused = false;
};

Attempt ClickWithFaults(Fixture& fixture, void (transfer::Tfrm_Main::*click)(), bool fromThenOn,
                        std::uint64_t n) {
  Attempt attempt;
  fromThenOn ? fixture.os.FailFrom(n) : fixture.os.FailOnce(n);
  try {
    (fixture.main.*click)();
  } catch (const transfer::Exception&) {
    attempt.reported = true;
  }
  attempt.faults = fixture.os.FaultsFired();
  attempt.fileOperationRefused = fixture.os.HandleFaultsFired() > 0;
  fixture.os.Disarm();
  return attempt;
}

struct Result {
  std::uint64_t faults = 0;
  int broken = 0;
};

// Records a broken invariant with what broke it.
#define INVARIANT(condition, what)                           \
  do {                                                       \
    if (!(condition)) {                                      \
      ++result.broken;                                       \
      ADD_FAILURE() << mode << " N=" << n << ": " << (what); \
    }                                                        \
  } while (0)

void CheckAnnualFiles(const Snapshot& before, const Snapshot& after, const char* mode,
                      std::uint64_t n, Result& result) {
  for (const auto& katalog : kCompanies) {
    const auto name = Installations::NewAnnual(katalog);
    const Bytes& old = before.at(name);
    const Bytes& now = after.at(name);
    Bytes carried = old;
    if (before.count(Installations::OldAnnual(katalog))) {
      carried.replace(
          testing_support::kOpening, 8,
          before.at(Installations::OldAnnual(katalog)).substr(testing_support::kClosing, 8));
    }
    INVARIANT(now == old || now == carried, "annual file of " + platform::TextToUtf8(katalog));
  }
}

Result Sweep(bool fromThenOn, const Snapshot& clean) {
  const char* mode = fromThenOn ? "from N on" : "single";
  Result result;
  for (std::uint64_t n = 1;; ++n) {
    Fixture fixture;
    const Snapshot before = fixture.Files();
    const Attempt attempt =
        ClickWithFaults(fixture, &transfer::Tfrm_Main::btn_2Click, fromThenOn, n);
    if (attempt.faults == 0) break;
    result.faults += attempt.faults;
    const Snapshot after = fixture.Files();

    INVARIANT(attempt.reported == attempt.fileOperationRefused,
              "failure reported: " + std::to_string(attempt.reported));
    CheckAnnualFiles(before, after, mode, n, result);
    for (const auto& [name, content] : before) {
      if (name.find(Installations::kNew) != 0) {
        INVARIANT(after.count(name) && after.at(name) == content, "source changed");
        continue;
      }
      if (name.ends_with(u"_ROK.REK")) continue;  // checked above
      const bool backup = name.ends_with(u".old");
      const auto stillThere = [&](const std::u16string& at) {
        return after.count(at) && after.at(at) == content;
      };
      INVARIANT(stillThere(name) || (!backup && stillThere(name + u".old")),
                "lost the old content of " + platform::TextToUtf8(name));
      if (!fromThenOn && !backup && !fixture.MoveBackRefused(name)) {
        INVARIANT(after.count(name), "target vanished: " + platform::TextToUtf8(name));
      }
    }
    for (const auto& line : transfer::SplitLines(fixture.form.mmo_Log.text)) {
      for (const auto& katalog : kCompanies) {
        if (line == katalog + u" REMA: 111,5" || line == katalog + u" REMA: 111.5") {
          INVARIANT(after.at(Installations::NewAnnual(katalog)) !=
                        before.at(Installations::NewAnnual(katalog)),
                    "logged a value that was not stored");
        }
        for (const auto& file : kFiles) {
          if (line == katalog + u"\\" + file) {
            const auto target = Installations::In(Installations::kNew, katalog, file);
            const auto source = Installations::In(Installations::kOld, katalog, file);
            INVARIANT(after.count(target) && after.at(target) == before.at(source),
                      "logged a copy that did not happen");
          }
        }
      }
    }
    INVARIANT(fixture.os.OpenHandles() == 0, "a file was left open");

    bool rerunCompleted = true;
    try {
      fixture.main.btn_2Click();
    } catch (const transfer::Exception&) {
      rerunCompleted = false;
    }
    INVARIANT(rerunCompleted, "the clean rerun failed");
    const Snapshot rerun = fixture.Files();
    for (const auto& [name, content] : clean) {
      // A rerun keeps the first copy as the backup; a backup whose move back
      // was refused stays one.
      if (name.ends_with(u".old") || fixture.MoveBackRefused(name)) continue;
      INVARIANT(rerun.count(name) && rerun.at(name) == content,
                "rerun differs at " + platform::TextToUtf8(name));
    }
  }
  return result;
}

// The acceptance of the paths reads the register: a refused read is
// reported, leaves no file open, and an accepted pair lists every company.
Result SweepAcceptance(bool fromThenOn) {
  const char* mode = fromThenOn ? "acceptance, from N on" : "acceptance, single";
  Result result;
  for (std::uint64_t n = 1;; ++n) {
    Fixture fixture;
    fixture.form.mmo_2.lines.clear();
    fixture.form.screen.events.clear();
    const Attempt attempt =
        ClickWithFaults(fixture, &transfer::Tfrm_Main::btn_1Click, fromThenOn, n);
    if (attempt.faults == 0) break;
    result.faults += attempt.faults;
    INVARIANT(attempt.reported == attempt.fileOperationRefused,
              "failure reported: " + std::to_string(attempt.reported));
    INVARIANT(fixture.os.OpenHandles() == 0, "the register was left open");
    const bool accepted =
        !fixture.form.screen.events.empty() && fixture.form.screen.events.back() == u"run screen";
    INVARIANT(
        !accepted || fixture.form.mmo_2.lines ==
                         std::vector<std::u16string>(std::begin(kCompanies), std::end(kCompanies)),
        "accepted with a partial company list");
  }
  return result;
}

TEST(FaultSweep, NoFaultLosesOrMisreportsData) {
  Fixture reference;
  reference.main.btn_2Click();
  const Snapshot clean = reference.Files();
  ASSERT_EQ(clean.at(Installations::NewAnnual(u"CARRIED")), RokRecord(111.5, 0));

  const Result results[] = {SweepAcceptance(false), SweepAcceptance(true), Sweep(false, clean),
                            Sweep(true, clean)};
  std::uint64_t faults = 0;
  int broken = 0;
  for (const auto& result : results) {
    EXPECT_GT(result.faults, 0u);
    faults += result.faults;
    broken += result.broken;
  }
  std::cout << "fault sweep: " << faults << " faults injected, " << broken << " invariants broken"
            << std::endl;
}

}  // namespace
