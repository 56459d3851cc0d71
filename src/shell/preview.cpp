#include "shell/preview.h"

#include <bit>
#include <cstdint>
#include <map>
#include <set>

#include "shell/controls.h"
#include "transfer/errors.h"
#include "transfer/file_copy.h"
#include "transfer/inventory_transfer.h"
#include "transfer/journal_file.h"
#include "transfer/number_format.h"
#include "transfer/partial_file.h"
#include "transfer/rekordy.h"

namespace shell {

namespace {

using Kind = platform::FileChange::Kind;
using transfer::TRokRekord;

constexpr std::u16string_view kBackupSuffix = u".old";
// The transfer's own words for the companies it leaves as they are.
constexpr std::u16string_view kMissingPrefix = u"BAD.Brak pliku ";
constexpr std::u16string_view kNonzeroMark = u" REMANENT DOCELOWY NIEZEROWY ";
constexpr std::u16string_view kSkipEnding = u" - pomijam";

// The name shown for a file of an installation: relative to it where the run
// named it through it.
std::u16string_view Within(std::u16string_view name, std::u16string_view installation) {
  return name.starts_with(installation) ? name.substr(installation.size()) : name;
}

std::u16string_view LastPart(std::u16string_view name) {
  const auto slash = name.find_last_of(u"\\/");
  return slash == std::u16string_view::npos ? name : name.substr(slash + 1);
}

// The opening inventory in a written first record, as the log writes values;
// nothing where the bytes do not reach it.
std::optional<std::u16string> Opening(const std::string& record, std::u16string_view separator) {
  constexpr std::size_t at = TRokRekord::kRemanentPoczatkowy;
  if (record.size() < at + TRokRekord::kValueSize) return std::nullopt;
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < TRokRekord::kValueSize; ++i) {
    bits |= std::uint64_t{static_cast<std::uint8_t>(record[at + i])} << (8 * i);
  }
  return transfer::FormatLogNumber(std::bit_cast<double>(bits), separator);
}

// The lines a previewed operation logs.
class KeptLines final : public transfer::RunReport {
 public:
  explicit KeptLines(std::vector<std::u16string>& lines) : lines_(lines) {}
  void Logged(std::u16string_view line) override { lines_.emplace_back(line); }

 private:
  std::vector<std::u16string>& lines_;
};

// The summary's lines, each shown as a box shows text.
class Lines {
 public:
  void Add(std::u16string_view a, std::u16string_view b = {}, std::u16string_view c = {},
           std::u16string_view d = {}, std::u16string_view e = {}) {
    for (const auto part : {a, b, c, d, e}) AppendShownInBox(text_, part);
    text_ += u'\n';
    ++count_;
  }
  int Count() const { return count_; }
  std::u16string Text() {
    if (!text_.empty()) text_.pop_back();
    return text_;
  }

 private:
  std::u16string text_;
  int count_ = 0;
};

}  // namespace

PreviewedRun RunPreview(platform::Os& overlay, std::u16string_view source, std::u16string_view dest,
                        const std::vector<std::u16string>& katalogi,
                        const std::vector<std::u16string>& pliki, bool copy, bool carry,
                        std::u16string_view separator) {
  PreviewedRun run;
  KeptLines copyLines(run.copyLines), transferLines(run.transferLines);
  RunStage stage = RunStage::kCopy;
  try {
    std::optional<transfer::RunJournal> journal;
    if (copy || carry) journal.emplace(overlay, source, dest, u"");
    if (copy) transfer::SkopiujPliki(overlay, source, dest, katalogi, pliki, copyLines, &*journal);
    stage = RunStage::kTransfer;
    if (carry) {
      transfer::SkopiujRemanenty(overlay, source, dest, katalogi, transferLines, separator,
                                 &*journal);
    }
    if (journal) journal->Close();
  } catch (const transfer::Exception& e) {
    // Where the real run would end: the window says so instead.
    run.failure = PreviewFailure{stage, e.Message()};
  }
  return run;
}

std::u16string PreviewSummary(const PreviewFacts& facts) {
  Lines out;
  out.Add(u"Podgląd przebiegu \"SRU\": nic nie zostało jeszcze zmienione ani zapisane.");

  // The annual files by the names the transfer gives them.
  std::map<std::u16string, std::u16string, std::less<>> annual;
  for (const auto& katalog : facts.katalogi) {
    annual.emplace(transfer::AnnualFileName(facts.dest, katalog), katalog);
  }
  const int header = out.Count();
  for (const auto& change : facts.changes) {
    if (change.kind != Kind::kWritten || change.offset != 0) continue;
    const auto company = annual.find(change.name);
    if (company == annual.end()) continue;
    const auto before = Opening(change.before, facts.separator);
    const auto after = Opening(change.after, facts.separator);
    if (before && after) {
      out.Add(u"Remanent początkowy ", company->second, u": ", *before, u" -> " + *after);
    }
  }

  // An extra file takes its name from its partial copy once complete; the
  // file there before was moved to its backup name just before.
  std::set<std::u16string, std::less<>> movedAside;
  for (const auto& change : facts.changes) {
    const bool renamed = change.kind == Kind::kRenamed || change.kind == Kind::kReplaced;
    if (!renamed) continue;
    if (change.name == change.from + std::u16string(kBackupSuffix)) {
      movedAside.insert(change.from);
      continue;
    }
    if (change.from != change.name + std::u16string(transfer::kPartialSuffix)) continue;
    const std::u16string_view shown = Within(change.name, facts.dest);
    if (movedAside.count(change.name) != 0) {
      out.Add(u"Plik ", shown, u": zostanie zastąpiony (poprzedni zachowany jako ",
              std::u16string(LastPart(change.name)) + std::u16string(kBackupSuffix), u")");
    } else {
      out.Add(u"Plik ", shown, u": zostanie utworzony");
    }
  }
  const bool changesFiles = out.Count() > header;

  // One line of the transfer for each company, in order.
  for (std::size_t i = 0; i < facts.katalogi.size() && i < facts.transferLines.size(); ++i) {
    const std::u16string_view katalog = facts.katalogi[i];
    const std::u16string_view line = facts.transferLines[i];
    if (line.starts_with(kMissingPrefix)) {
      out.Add(u"Firma ", katalog, u" pominięta: brak pliku ", line.substr(kMissingPrefix.size()));
      continue;
    }
    const std::u16string nonzero = std::u16string(katalog) + std::u16string(kNonzeroMark);
    if (line.starts_with(nonzero) && line.ends_with(kSkipEnding)) {
      const auto value =
          line.substr(nonzero.size(), line.size() - nonzero.size() - kSkipEnding.size());
      out.Add(u"Firma ", katalog, u" pominięta: remanent początkowy już niezerowy (", value, u")");
    }
  }

  if (facts.failure) {
    if (facts.failure->stage == RunStage::kTransfer &&
        facts.transferLines.size() < facts.katalogi.size()) {
      out.Add(u"Przebieg zakończyłby się błędem przy przenoszeniu remanentu firmy ",
              facts.katalogi[facts.transferLines.size()], u": ", facts.failure->message);
    } else {
      out.Add(facts.failure->stage == RunStage::kCopy
                  ? u"Przebieg zakończyłby się błędem przy kopiowaniu plików: "
                  : u"Przebieg zakończyłby się błędem przy przenoszeniu remanentów: ",
              facts.failure->message);
    }
    if (changesFiles) out.Add(u"Zmiany wymienione wyżej zostałyby zrobione przed błędem.");
  } else if (!changesFiles) {
    out.Add(u"Żaden plik firmy nie zostałby zmieniony.");
  }
  out.Add(u"Wiersze, które przebieg zapisałby w logu:");
  return out.Text();
}

}  // namespace shell
