#include "transfer/journal_file.h"

#include <limits>

#include "transfer/errors.h"
#include "transfer/partial_file.h"
#include "transfer/paths.h"

namespace transfer {

namespace {

constexpr std::uint32_t kChunk = 64 * 1024;

// The whole file from its start, or nothing when there is none.
std::optional<std::string> ReadAll(OwnedFile& file, std::u16string_view path) {
  if (!file.OpenIfPresent(path)) return std::nullopt;
  std::string bytes;
  for (;;) {
    const std::size_t had = bytes.size();
    // The system moves the pointer by a signed 32-bit distance: a journal
    // beyond that cannot be appended to, and no office's comes near.
    if (had > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) - kChunk) {
      throw EInOutError(static_cast<std::int32_t>(kJournalInvalid), path);
    }
    bytes.resize(had + kChunk);
    const auto read = file.Read(bytes.data() + had, kChunk);
    bytes.resize(had + read);
    if (read == 0) return bytes;
  }
}

void WriteText(OwnedFile& file, std::string_view text) {
  file.Write(text.data(), static_cast<std::uint32_t>(text.size()));
}

}  // namespace

std::u16string JournalPath(std::u16string_view installation) {
  return SlashStr(installation).append(kJournalName);
}

Journal ReadJournal(platform::Os& os, std::u16string_view path) {
  OwnedFile file(os);
  const auto bytes = ReadAll(file, path);
  if (!bytes) return Journal{};
  file.Close();
  return ParseJournal(*bytes);
}

JournalWriter::JournalWriter(platform::Os& os, std::u16string path)
    : os_(os), path_(std::move(path)), file_(os) {
  Open();
}

void JournalWriter::Open() {
  const auto bytes = ReadAll(file_, path_);
  journal_ = bytes ? ParseJournal(*bytes) : Journal{};
  if (journal_.state == JournalState::kNotJournal ||
      journal_.state == JournalState::kOtherVersion) {
    throw EInOutError(static_cast<std::int32_t>(kJournalInvalid), path_);
  }
  if (journal_.whole == 0) {
    // None yet, or only the beginning of its first line: nothing to keep.
    file_.Create(path_);
    WriteText(file_, JournalHeader());
    file_.Flush();
  } else if (journal_.tornTail) {
    file_.Close();
    const std::u16string partial = PartialName(path_);
    OwnedFile copy(os_);
    copy.Create(partial);
    WriteText(copy, std::string_view(*bytes).substr(0, journal_.whole));
    copy.Flush();
    copy.Close();
    if (const auto code = os_.Replace(partial, path_)) {
      throw EInOutError(static_cast<std::int32_t>(code), path_);
    }
    if (!file_.OpenIfPresent(path_)) throw EInOutError(platform::err::kFileNotFound, path_);
    file_.SeekTo(static_cast<std::uint32_t>(journal_.whole));
  }
  journal_.tornTail = false;
  if (journal_.state == JournalState::kMissing) {
    journal_.state = JournalState::kReadable;
  }
}

void JournalWriter::Append(const std::vector<JournalEntry>& entries) {
  if (failed_) throw EInOutError(failed_, path_);
  std::string text;
  for (const auto& entry : entries) text += EncodeEntry(entry);
  try {
    WriteText(file_, text);
    file_.Flush();
  } catch (const EInOutError& failure) {
    failed_ = failure.ErrorCode;
    throw;
  }
}

RunJournal::RunJournal(platform::Os& os, std::u16string_view source, std::u16string_view dest,
                       std::u16string_view time)
    : writer_(os, JournalPath(dest)),
      run_{writer_.Contents().lastRun + 1, std::u16string(source), std::u16string(dest),
           std::u16string(time)} {}

void RunJournal::Record(const std::vector<Change>& changes) {
  std::vector<JournalEntry> entries;
  entries.reserve(changes.size() + 1);
  if (!started_) entries.push_back(run_);
  for (const auto& change : changes) entries.push_back(ChangeEntry{run_.run, change});
  writer_.Append(entries);
  started_ = true;
}

}  // namespace transfer
