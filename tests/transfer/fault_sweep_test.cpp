// The fault sweep: a whole run (file copy and inventory transfer, then the log
// file) with the Nth system call failing, for every N until no fault fires,
// once with that single fault and once with every call failing from N on;
// each way once failing cleanly and once after doing part of its work (a
// copy that leaves part of its target, a write of part of its bytes, a
// rename or a removal that happened though it reports a failure).
// After each run the data must still be whole:
//   1. a failure is reported exactly when a file operation was refused, or a
//      step that puts things back was (a move back, a partial file's removal);
//   2. every annual file is as it was, or differs only in its opening
//      inventory, which then holds the old year's closing inventory;
//   3. every additional file is, under its own name, what it was or a
//      complete copy of its source, never part of one; its old content is
//      still there, under its own name or as the backup, and it leaves its
//      name only when the move back of its backup was refused; no partial
//      file stays but one whose removal was refused; the log file is the
//      previous one or the whole new one;
//   4. the log claims no carried value and no copy that did not happen;
//   5. no file is left open;
//   6. a clean run afterwards completes and leaves every annual file and
//      every target as a run that never failed does (but a target whose move
//      back was refused, which stays at its backup name), and no partial file.
#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <set>

#include "platform/utf8.h"
#include "shell/main_form.h"
#include "support/fake_controls.h"
#include "support/fault_os.h"
#include "support/forwarding_os.h"
#include "support/installations.h"
#include "support/restore_watch.h"
#include "support/system.h"
#include "transfer/errors.h"
#include "transfer/partial_file.h"

namespace {

using testing_support::Bytes;
using testing_support::FakeForm;
using testing_support::FaultOs;
using testing_support::FirmaRecord;
using testing_support::Installations;
using testing_support::RestoreWatch;
using testing_support::RokRecord;
using Effect = FaultOs::Effect;

const std::u16string kCompanies[] = {u"CARRIED", u"SKIPPED", u"MISSING"};
const std::u16string kFiles[] = {u"BAZA_DW8.REK", u"INNY.DAT"};
const std::u16string kLog = u"bin\\dopliki32.log";
const Bytes kPreviousLog = "the previous run\r\n";

// Every file of the fixture by its relative name, with its content.
using Snapshot = std::map<std::u16string, Bytes>;

// A pair of installations whose companies cover each path of a run: a value
// carried over, a company skipped for its non-zero opening inventory, a
// company without its old annual file; additional files to copy onto nothing,
// onto a file, onto a file already backed up, and missing sources; the log
// of an earlier run beside the executable.
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
    pair.dir.WriteBytes(kLog, kPreviousLog);
    form.chk_4.checked = form.chk_Remanenty.checked = true;
    form.mmo_3.lines.assign(std::begin(kFiles), std::end(kFiles));
    form.edt_ZETKA_source.text = pair.dir.Path(Installations::kOld);
    form.edt_ZETKA_dest.text = pair.dir.Path(Installations::kNew);
    main.btn_1Click();
  }

  Snapshot Files() const {
    Snapshot files;
    const auto take = [&](const std::u16string& name) {
      if (pair.dir.Exists(name)) files[name] = pair.dir.ReadBytes(name);
    };
    for (const auto& katalog : kCompanies) {
      for (const auto* installation : {&Installations::kOld, &Installations::kNew}) {
        for (const auto& file : kFiles) {
          const auto name = Installations::In(*installation, katalog, file);
          for (const auto& at : {name, name + u".old", transfer::PartialName(name)}) take(at);
        }
      }
      take(Installations::OldAnnual(katalog));
      take(Installations::NewAnnual(katalog));
    }
    take(kLog);
    take(transfer::PartialName(kLog));
    return files;
  }

  Installations pair;
  testing_support::RelocatedOs relocated{testing_support::SystemOs(),
                                         pair.dir.Path(u"bin\\dopliki32.exe")};
  FaultOs os{relocated};
  RestoreWatch watch{os};
  FakeForm form;
  shell::Tfrm_Main main{watch, form.Controls()};

  bool MoveBackRefused(const std::u16string& relative) const {
    return watch.movedBackRefused.count(pair.dir.Path(relative)) > 0;
  }
  bool RemovalRefused(const std::u16string& relative) const {
    return watch.removalRefused.count(pair.dir.Path(relative)) > 0;
  }

 private:
  void Put(std::u16string_view installation, std::u16string_view katalog, std::u16string_view file,
           const Bytes& content) {
    pair.dir.WriteBytes(Installations::In(installation, katalog, file), content);
  }
};

// How the Nth call fails.
struct Way {
  bool fromThenOn;
  Effect effect;
  std::string Name(const char* what) const {
    return std::string(what) + (fromThenOn ? ", from N on" : ", single") +
           (effect == Effect::kPartial ? ", partial" : "");
  }
};
constexpr Way kWays[] = {{false, Effect::kNone},
                         {true, Effect::kNone},
                         {false, Effect::kPartial},
                         {true, Effect::kPartial}};

// One click with the Nth call failing (or every call from the Nth on).
struct Attempt {
  bool reported = false;
  std::uint64_t faults = 0;
  bool fileOperationRefused = false;
};

Attempt ClickWithFaults(Fixture& fixture, void (shell::Tfrm_Main::*click)(), const Way& way,
                        std::uint64_t n) {
  Attempt attempt;
  way.fromThenOn ? fixture.os.FailFrom(n, way.effect) : fixture.os.FailOnce(n, way.effect);
  try {
    (fixture.main.*click)();
  } catch (const transfer::Exception&) {
    attempt.reported = true;
  }
  attempt.faults = fixture.os.FaultsFired();
  attempt.fileOperationRefused = fixture.os.HandleFaultsFired() > 0 || fixture.watch.AnyRefused();
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

void CheckAnnualFiles(const Snapshot& before, const Snapshot& after, const std::string& mode,
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

void CheckAdditionalFiles(const Fixture& fixture, const Snapshot& before, const Snapshot& after,
                          const std::string& mode, std::uint64_t n, Result& result) {
  const auto holds = [](const Snapshot& files, const std::u16string& at, const Bytes& content) {
    return files.count(at) && files.at(at) == content;
  };
  for (const auto& katalog : kCompanies) {
    for (const auto& file : kFiles) {
      const auto target = Installations::In(Installations::kNew, katalog, file);
      const auto source = Installations::In(Installations::kOld, katalog, file);
      const auto what = [&](const char* text) { return text + platform::TextToUtf8(target); };
      if (after.count(target)) {
        INVARIANT(
            holds(before, target, after.at(target)) || holds(before, source, after.at(target)),
            what("neither what it was nor a complete copy: "));
      }
      if (before.count(target)) {
        INVARIANT(holds(after, target, before.at(target)) ||
                      holds(after, target + u".old", before.at(target)),
                  what("lost the old content of "));
        INVARIANT(after.count(target) || fixture.MoveBackRefused(target),
                  what("target vanished: "));
      }
      const auto backup = target + u".old";
      if (before.count(backup)) {
        INVARIANT(holds(after, backup, before.at(backup)), what("changed the backup of "));
      }
      INVARIANT(!after.count(transfer::PartialName(target)) ||
                    fixture.RemovalRefused(transfer::PartialName(target)),
                what("a partial copy stayed beside "));
    }
  }
}

void CheckLogFile(const Fixture& fixture, const Snapshot& after, const std::string& mode,
                  std::uint64_t n, Result& result) {
  const auto whole = testing_support::SystemOs().TextToAnsi(fixture.form.mmo_Log.text);
  INVARIANT(after.count(kLog) && (after.at(kLog) == kPreviousLog || after.at(kLog) == whole),
            "the log file is neither the previous one nor the whole new one");
  INVARIANT(!after.count(transfer::PartialName(kLog)) ||
                fixture.RemovalRefused(transfer::PartialName(kLog)),
            "a partial log stayed");
}

void CheckLoggedLines(const Fixture& fixture, const Snapshot& before, const Snapshot& after,
                      const std::string& mode, std::uint64_t n, Result& result) {
  for (const auto& line : shell::SplitLines(fixture.form.mmo_Log.text)) {
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
}

Result Sweep(const Way& way, const Snapshot& clean) {
  const std::string mode = way.Name("run");
  Result result;
  for (std::uint64_t n = 1;; ++n) {
    Fixture fixture;
    const Snapshot before = fixture.Files();
    const Attempt attempt = ClickWithFaults(fixture, &shell::Tfrm_Main::btn_2Click, way, n);
    if (attempt.faults == 0) break;
    result.faults += attempt.faults;
    const Snapshot after = fixture.Files();

    INVARIANT(attempt.reported == attempt.fileOperationRefused,
              "failure reported: " + std::to_string(attempt.reported));
    CheckAnnualFiles(before, after, mode, n, result);
    for (const auto& [name, content] : before) {
      if (name.find(Installations::kOld) == 0) {
        INVARIANT(after.count(name) && after.at(name) == content, "source changed");
      }
    }
    CheckAdditionalFiles(fixture, before, after, mode, n, result);
    CheckLogFile(fixture, after, mode, n, result);
    CheckLoggedLines(fixture, before, after, mode, n, result);
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
      // was refused stays one; the log holds both runs.
      if (name.ends_with(u".old") || name == kLog || fixture.MoveBackRefused(name)) continue;
      INVARIANT(rerun.count(name) && rerun.at(name) == content,
                "rerun differs at " + platform::TextToUtf8(name));
    }
    for (const auto& [name, content] : rerun) {
      INVARIANT(!name.ends_with(transfer::kPartialSuffix),
                "a partial file stayed after the rerun: " + platform::TextToUtf8(name));
    }
  }
  return result;
}

// The acceptance of the paths reads the register: a refused read is
// reported, leaves no file open, and an accepted pair lists every company.
Result SweepAcceptance(const Way& way) {
  const std::string mode = way.Name("acceptance");
  Result result;
  for (std::uint64_t n = 1;; ++n) {
    Fixture fixture;
    fixture.form.mmo_2.lines.clear();
    fixture.form.screen.events.clear();
    const Attempt attempt = ClickWithFaults(fixture, &shell::Tfrm_Main::btn_1Click, way, n);
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

  std::uint64_t faults = 0;
  int broken = 0;
  for (const Way& way : kWays) {
    for (const Result& result : {SweepAcceptance(way), Sweep(way, clean)}) {
      EXPECT_GT(result.faults, 0u);
      faults += result.faults;
      broken += result.broken;
    }
  }
  std::cout << "fault sweep: " << faults << " faults injected, " << broken << " invariants broken"
            << std::endl;
}

}  // namespace
