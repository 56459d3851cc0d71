// A whole run ("SRU" with the file copy and the inventory transfer ticked)
// over an in-memory pair of installations that the bytes describe: companies
// (odd directory names and aliases among them), annual files of any size and
// value, additional files with or without their targets and backups, and a
// file list. One call of the system, chosen by the bytes, fails once or from
// then on, cleanly or after doing part of its work. Afterwards the fault
// sweep's invariants must hold:
//   1. a refused file operation, or a refused step that puts things back, is
//      always reported, and a failure is reported without one only where a
//      run that never failed reports one too;
//   2. every annual file is as it was, or differs only in its opening
//      inventory, which then holds the old year's closing inventory;
//   3. every additional file's old content is still there, under its own name
//      or as the backup; a target vanishes only where the move of its backup
//      back was refused; under its own name it is what it was or a complete
//      copy, never part of one; nothing appears but copies, backups, the
//      log and the undo journal (every line of which reads), and a partial
//      file only where its removal was refused; the log file is whole; the
//      old installation and everything else stay as they were;
//   4. the log claims no carried value and no copy that did not happen;
//   5. no file is left open;
//   6. a clean run afterwards ends as a run that never failed does, wherever
//      that run ends the same when repeated and carried no NaN (a carried
//      NaN makes the next run fail at it, so there a rerun cannot catch up;
//      with a company listed twice the run that carried it may fail too).
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "fuzz/check.h"
#include "fuzz/targets.h"
#include "platform/utf8.h"
#include "shell/main_form.h"
#include "support/fake_controls.h"
#include "support/fault_os.h"
#include "support/memory_os.h"
#include "support/records.h"
#include "support/restore_watch.h"
#include "transfer/errors.h"
#include "transfer/journal_file.h"
#include "transfer/partial_file.h"

namespace fuzz {

namespace {

using testing_support::MemoryOs;
using Files = std::map<std::u16string, std::string>;

constexpr std::u16string_view kSource = u"C:\\zetka_2008\\";
constexpr std::u16string_view kDest = u"C:\\zetka_2009\\";
constexpr std::u16string_view kLogFile = u"C:\\bin\\dopliki32.log";

// Company directories: plain ones, aliases of one directory (letter case, a
// trailing backslash), the installation itself, a nested one, a missing one,
// one outside the installation.
const std::u16string_view kKatalogs[] = {u"FIRMA1", u"FIRMA2",      u"firma1",    u"FIRMA1\\",
                                         u"",       u"SUB\\FIRMA3", u"..\\FIRMA1"};
// File entries: plain names, an empty line, a sub-path, a wildcard, a path
// that leaves the company directory, a device.
const std::u16string_view kFileEntries[] = {u"BAZA_DW8.REK", u"INNY.DAT",  u"",   u"SUB\\X.DAT",
                                            u"*.DAT",        u"..\\W.DAT", u"CON"};
// Stored inventory values: zeros of both signs, ordinary numbers, NaNs,
// infinity, the smallest subnormal; or 8 bytes of the input.
const std::uint64_t kValues[] = {0,
                                 0x8000000000000000,
                                 0x4014000000000000,  // 5
                                 0x405BE00000000000,  // 111.5
                                 0x7FF8000000000000,
                                 0x7FF0000000000001,
                                 0x7FF0000000000000,
                                 1};

// The input read front to back; zeros once it runs out.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  template <typename T, std::size_t N>
  const T& Pick(const T (&options)[N]) {
    return options[Byte() % N];
  }
  std::uint64_t Value() {
    const std::uint8_t choice = Byte();
    if (choice % 9 < 8) return kValues[choice % 9];
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= std::uint64_t{Byte()} << (8 * i);
    return bits;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

std::u16string WithSlash(std::u16string_view katalog) {
  std::u16string path(katalog);
  if (path.empty() || path.back() != u'\\') path += u'\\';
  return path;
}

std::u16string Annual(std::u16string_view installation, std::u16string_view katalog) {
  return std::u16string(installation) + WithSlash(katalog) +
         (installation == kSource ? u"2008_ROK.REK" : u"2009_ROK.REK");
}

std::u16string Extra(std::u16string_view installation, std::u16string_view katalog,
                     std::u16string_view file) {
  return std::u16string(installation) + std::u16string(katalog) + u"\\" + std::u16string(file);
}

// A file or directory of the fixture, where nothing else is in the way and
// the name is one the system takes.
void Put(MemoryOs& os, std::u16string_view name, std::string bytes, bool readOnly = false) {
  if (!os.Key(name)) return;
  try {
    os.PutFile(name, std::move(bytes), readOnly);
  } catch (const std::invalid_argument&) {
    // A directory there, or a file where a directory would have to be.
  }
}

void MakeDir(MemoryOs& os, std::u16string_view name) {
  try {
    os.MakeDir(name);
  } catch (const std::invalid_argument&) {
    // A file in the way.
  }
}

struct Scenario {
  MemoryOs os;
  std::vector<std::u16string> katalogi;  // in register order
  std::vector<std::u16string> files;
  bool fromThenOn = false;
  testing_support::FaultOs::Effect effect = testing_support::FaultOs::Effect::kNone;
  std::uint16_t faultChoice = 0;
};

std::string AnnualFile(Reader& in) {
  std::string record = testing_support::RokRecord(0, 0);
  record.replace(testing_support::kOpening, 8, testing_support::BitsBytes(in.Value()));
  record.replace(testing_support::kClosing, 8, testing_support::BitsBytes(in.Value()));
  switch (in.Byte() % 4) {
    case 0:
      return record.substr(0, std::size_t{in.Byte()} * 2);  // short: 0 to 510 bytes
    case 1:
      return record + std::string(in.Byte(), '\x5A');  // longer than one record
    default:
      return record;
  }
}

Scenario Build(Reader& in) {
  Scenario scenario;
  MemoryOs& os = scenario.os;
  os.MakeDir(u"C:\\bin");
  os.PutFile(std::u16string(kSource) + u"spisfirm.dat", "");
  for (int i = in.Byte() % 4; i > 0; --i) scenario.files.emplace_back(in.Pick(kFileEntries));
  std::string firms;
  for (int i = in.Byte() % 4; i > 0; --i) {
    const std::u16string katalog(in.Pick(kKatalogs));
    scenario.katalogi.push_back(katalog);
    firms += testing_support::FirmaRecord("x", std::string(katalog.begin(), katalog.end()));
    const std::uint8_t flags = in.Byte();
    for (const auto installation : {kSource, kDest}) {
      const bool old = installation == kSource;
      if ((flags & (old ? 1 : 2)) == 0) continue;  // no company directory here
      MakeDir(os, std::u16string(installation) + katalog);
      switch ((flags >> (old ? 2 : 4)) % 4) {
        case 0:
          break;  // no annual file
        case 1:
          MakeDir(os, Annual(installation, katalog));  // a directory in its place
          break;
        default:
          Put(os, Annual(installation, katalog), AnnualFile(in), (flags & 0x40) != 0 && old);
      }
      for (std::size_t f = 0; f < scenario.files.size(); ++f) {
        const std::uint8_t present = in.Byte();
        const std::string tag = std::to_string(i) + "." + std::to_string(f);
        const auto name = Extra(installation, katalog, scenario.files[f]);
        if (old && (present & 1)) Put(os, name, "nowy " + tag, (present & 8) != 0);
        if (!old && (present & 2)) Put(os, name, "stary " + tag);
        if (!old && (present & 4)) Put(os, name + u".old", "kopia " + tag);
      }
    }
  }
  os.PutFile(std::u16string(kDest) + u"spisfirm.dat", firms);
  const std::uint8_t mode = in.Byte();
  scenario.fromThenOn = (mode & 1) != 0;
  if ((mode & 2) != 0) scenario.effect = testing_support::FaultOs::Effect::kPartial;
  scenario.faultChoice = static_cast<std::uint16_t>(in.Byte() | (in.Byte() << 8));
  return scenario;
}

// One window over its own copy of the installations, accepted and ready to run.
class Session {
 public:
  explicit Session(const Scenario& scenario) : memory(scenario.os) {
    form.edt_ZETKA_source.text = kSource.substr(0, kSource.size() - 1);
    form.edt_ZETKA_dest.text = kDest.substr(0, kDest.size() - 1);
    form.mmo_3.lines = scenario.files;
    form.chk_4.checked = form.chk_Remanenty.checked = true;
    main.btn_1Click();
    Check(form.mmo_2.lines == scenario.katalogi, "the pair was not accepted");
  }

  // "SRU" with the nth call failing (once, or from then on); 0 fails none.
  // True when the run ended in a failure.
  bool Run(std::uint64_t nth = 0, bool fromThenOn = false,
           testing_support::FaultOs::Effect effect = testing_support::FaultOs::Effect::kNone) {
    if (nth == 0) {
      fault.FailOnce(~std::uint64_t{0});
    } else if (fromThenOn) {
      fault.FailFrom(nth, effect);
    } else {
      fault.FailOnce(nth, effect);
    }
    bool failed = false;
    try {
      main.btn_2Click();
    } catch (const transfer::Exception&) {
      failed = true;
    }
    fault.Disarm();
    return failed;
  }

  MemoryOs memory;
  testing_support::FaultOs fault{memory};
  testing_support::RestoreWatch watch{fault};
  testing_support::FakeForm form;
  shell::Tfrm_Main main{watch, form.Controls()};
};

std::u16string Key(const MemoryOs& os, std::u16string_view name) {
  return os.Key(name).value_or(u"?" + std::u16string(name));
}

bool Has(const Files& files, const std::u16string& key) { return files.count(key) != 0; }

// The new annual file with the old one's closing inventory as its opening one.
std::string Carried(const std::string& newFile, const Files& before, const std::u16string& oldKey) {
  if (!Has(before, oldKey) || before.at(oldKey).size() < 254 || newFile.size() < 158) return {};
  std::string carried = newFile;
  carried.replace(testing_support::kOpening, 8,
                  before.at(oldKey).substr(testing_support::kClosing, 8));
  return carried;
}

std::string Utf8(const std::u16string& text) { return platform::TextToUtf8(text); }

void CheckRun(const Scenario& scenario, const Session& session, const Files& before,
              const Files& after, std::u16string_view loggedBefore) {
  const MemoryOs& os = session.memory;
  const std::u16string sourceKey = Key(os, kSource) + u"\\", destKey = Key(os, kDest) + u"\\";
  const std::u16string logKey = Key(os, kLogFile);
  const std::u16string journalKey = Key(os, transfer::JournalPath(kDest));
  std::set<std::u16string> refused, kept;
  for (const auto& name : session.watch.movedBackRefused) refused.insert(Key(os, name));
  for (const auto& name : session.watch.removalRefused) kept.insert(Key(os, name));
  const auto sourceOf = [&](const std::u16string& key) {
    return key.starts_with(destKey) ? sourceKey + key.substr(destKey.size()) : std::u16string();
  };

  // 2. Annual files.
  std::set<std::u16string> annual;
  for (const auto& katalog : scenario.katalogi) {
    const auto newKey = Key(os, Annual(kDest, katalog));
    const auto oldKey = Key(os, Annual(kSource, katalog));
    if (!newKey.starts_with(destKey)) continue;  // never changed: checked below
    annual.insert(newKey);
    if (!Has(before, newKey)) continue;
    Check(Has(after, newKey), "an annual file vanished");
    const std::string& now = after.at(newKey);
    if (now != before.at(newKey)) {
      if (!(now == Carried(before.at(newKey), before, oldKey)))
        Fail("annual file changed beyond its opening inventory: " + Utf8(newKey));
    }
  }
  // 3. Additional files, and everything else.
  for (const auto& [key, content] : before) {
    // The program's own partial files, left by a run that could not remove
    // them, are its to replace or remove.
    if (annual.count(key) || key == logKey || key == journalKey ||
        key.ends_with(transfer::kPartialSuffix))
      continue;
    // Nothing outside the new installation is changed (the old one is only
    // read), nor are the registers and existing backups. A file entry that
    // leads out of the company directory may be moved aside and, with its
    // move back refused, stay aside.
    if (!key.starts_with(destKey) || key.ends_with(u"\\SPISFIRM.DAT") || key.ends_with(u".OLD")) {
      const auto at = refused.count(key) && !Has(after, key) ? key + u".OLD" : key;
      if (!(Has(after, at) && after.at(at) == content)) {
        Fail("a file that no operation changes changed: " + Utf8(key));
      }
      continue;
    }
    const bool here = Has(after, key) && after.at(key) == content;
    const bool backedUp = Has(after, key + u".OLD") && after.at(key + u".OLD") == content;
    if (!(here || backedUp)) Fail("the old content of a target was lost: " + Utf8(key));
    if (!scenario.fromThenOn && !refused.count(key)) {
      if (!Has(after, key)) Fail("a target vanished: " + Utf8(key));
    }
    if (Has(after, key) && !here) {
      if (!(Has(before, sourceOf(key)) && after.at(key) == before.at(sourceOf(key))))
        Fail("a target holds what no source held: " + Utf8(key));
    }
  }
  for (const auto& file : after) {
    // Named apart: lambdas cannot capture structured bindings in C++20.
    const std::u16string& key = file.first;
    const std::string& content = file.second;
    if (Has(before, key) || key == logKey || key == journalKey) continue;
    if (key.ends_with(transfer::kPartialSuffix)) {
      if (!kept.count(key)) Fail("a partial file stayed: " + Utf8(key));
      continue;
    }
    // A copy, or a backup of what its target held: before the run, or since
    // a copy earlier in the run (a company listed twice under two spellings).
    const auto copied = [&](const std::u16string& target) {
      return target.starts_with(destKey) && Has(before, sourceOf(target)) &&
             before.at(sourceOf(target)) == content;
    };
    const std::u16string base = key.substr(0, key.size() - 4);
    const bool backup = key.ends_with(u".OLD") &&
                        ((Has(before, base) && before.at(base) == content) || copied(base));
    const bool copy = copied(key);
    if (!backup && !copy) {
      Fail("a file appeared that no operation makes: " + Utf8(key) + " holding \"" + content +
           "\"; the log:\n" + Utf8(session.form.mmo_Log.text));
    }
  }
  // The log file: the lines of completed runs, whole.
  if (Has(after, logKey)) {
    const auto whole = MemoryOs().TextToAnsi(session.form.mmo_Log.text).value_or("");
    const std::string& saved = after.at(logKey);
    if (!whole.starts_with(saved) || !(saved.empty() || saved.ends_with("\r\n")))
      Fail("the log file is cut short");
  }
  // The undo journal: whatever the run's faults, every line of it reads.
  if (Has(after, journalKey)) {
    const auto journal = transfer::ParseJournal(after.at(journalKey));
    Check(journal.state == transfer::JournalState::kReadable && journal.problems.empty(),
          "the journal holds a line that does not read");
  }
  // 4. What this run's log lines claim.
  const auto lines = shell::SplitLines(session.form.mmo_Log.text.substr(loggedBefore.size()));
  for (const auto& line : lines) {
    bool claimed = false, held = false;
    for (const auto& katalog : scenario.katalogi) {
      if (line.starts_with(katalog + u" REMA: ")) {
        claimed = true;
        const auto newKey = Key(os, Annual(kDest, katalog));
        const auto oldKey = Key(os, Annual(kSource, katalog));
        held = held || (Has(after, newKey) && Has(before, oldKey) &&
                        after.at(newKey).substr(testing_support::kOpening, 8) ==
                            before.at(oldKey).substr(testing_support::kClosing, 8));
      }
      for (const auto& file : scenario.files) {
        if (line != katalog + u"\\" + file) continue;
        claimed = true;
        const auto target = Key(os, Extra(kDest, katalog, file));
        const auto source = Key(os, Extra(kSource, katalog, file));
        // A later move aside of the same target whose move back was refused
        // leaves the copy under the backup name.
        const auto at = Has(after, target) || !refused.count(target) ? target : target + u".OLD";
        held = held || (Has(after, at) && Has(before, source) && after.at(at) == before.at(source));
      }
    }
    if (claimed && !held) {
      Fail("the log claims what did not happen: " + Utf8(line) + "; the log:\n" +
           Utf8(session.form.mmo_Log.text));
    }
  }
  // 5. Open files.
  Check(session.fault.OpenHandles() == 0 && os.OpenHandles() == 0, "a file was left open");
}

// Every file but the backups, the targets whose move back was refused, the
// partial files whose removal was refused (a rerun replaces one only where it
// copies that pair again), the log and the journal (both hold every run): what a clean rerun must
// leave as a run that never failed does.
Files Comparable(const Session& session, Files files) {
  std::set<std::u16string> skip{Key(session.memory, kLogFile),
                                Key(session.memory, transfer::JournalPath(kDest))};
  for (const auto& name : session.watch.movedBackRefused) skip.insert(Key(session.memory, name));
  for (const auto& name : session.watch.removalRefused) skip.insert(Key(session.memory, name));
  std::erase_if(files, [&](const auto& file) {
    return file.first.ends_with(u".OLD") || skip.count(file.first) != 0;
  });
  return files;
}

}  // namespace

int RunTarget(const std::uint8_t* data, std::size_t size) {
  Reader in(data, size);
  const Scenario scenario = Build(in);
  const Files before = scenario.os.Files();

  // The run that never fails, and the same run once more after it.
  Session reference(scenario);
  const bool referenceFailed = reference.Run();
  const std::uint64_t calls = reference.fault.Calls();
  const Files referenceFiles = reference.memory.Files();
  const bool repeatFailed = reference.Run();

  Session session(scenario);
  const std::uint64_t nth = scenario.faultChoice % (calls + 1);
  const bool failed = session.Run(nth, scenario.fromThenOn, scenario.effect);
  const Files after = session.memory.Files();

  // 1. Reported failures.
  const bool mustReport = session.fault.HandleFaultsFired() > 0 || session.watch.AnyRefused();
  if (mustReport) Check(failed, "a refused file operation went unreported");
  if (failed && !mustReport) {
    Check(referenceFailed, "a failure reported where nothing failed");
  }
  if (session.fault.FaultsFired() == 0) {
    Check(failed == referenceFailed && after == referenceFiles &&
              session.form.mmo_Log.text ==
                  reference.form.mmo_Log.text.substr(0, session.form.mmo_Log.text.size()),
          "a run without faults differs from the reference");
  }
  CheckRun(scenario, session, before, after, u"");

  // 6. A clean rerun.
  const std::u16string logged = session.form.mmo_Log.text;
  const bool rerunFailed = session.Run();
  const Files rerun = session.memory.Files();
  CheckRun(scenario, session, after, rerun, logged);
  const bool carriedNan =
      reference.form.mmo_Log.text.find(u" REMA: NAN\r\n") != std::u16string::npos;
  if (referenceFailed == repeatFailed && !carriedNan) {
    Check(rerunFailed == referenceFailed, "the clean rerun ends otherwise than a clean run");
    const Files ours = Comparable(session, rerun), theirs = Comparable(session, referenceFiles);
    if (ours != theirs) {
      std::string differences;
      for (const auto& [key, content] : ours) {
        if (!Has(theirs, key) || theirs.at(key) != content) {
          differences += " " + Utf8(key);
          if (Has(theirs, key)) {
            const std::string& other = theirs.at(key);
            std::size_t at = 0;
            while (at < content.size() && at < other.size() && content[at] == other[at]) ++at;
            differences += " (sizes " + std::to_string(content.size()) + "/" +
                           std::to_string(other.size()) + ", first difference at " +
                           std::to_string(at) + ")";
          }
        }
      }
      for (const auto& [key, content] : theirs) {
        if (!Has(ours, key)) differences += " " + Utf8(key);
      }
      Fail("the clean rerun leaves other files than a clean run:" + differences);
    }
  }
  return 0;
}

}  // namespace fuzz
