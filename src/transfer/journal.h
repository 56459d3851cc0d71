// The undo journal's format: what the file "dopliki32.cofnij" in the new
// installation holds and how its bytes read. An office keeps it for years and
// a person may open it in Notepad, so it is UTF-8 text: a first line naming
// the program and the format's version, then one line per entry, its fields
// separated by tabs, ending with the CRC-32 of everything before it on the
// line. A line cut short by a power cut or damaged on the disk fails its
// check and is never believed.
//
// Text fields escape "%", control characters (tab and line ends among them)
// as "%XX" and a UTF-16 unit that is half of no pair as "%uXXXX", so that any
// path the system gives reads back as it was.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "transfer/sha256.h"

namespace transfer {

inline constexpr std::u16string_view kJournalName = u"dopliki32.cofnij";
inline constexpr std::string_view kJournalTitle = "dopliki32 - dziennik zmian do cofnięcia, format";
inline constexpr std::string_view kJournalVersion = "1";

using ValueBytes = std::array<std::uint8_t, 8>;

// 8 bytes of an annual file about to change at an offset.
struct AnnualChange {
  std::u16string path;
  std::uint32_t offset = 0;
  ValueBytes before{}, after{};
  friend bool operator==(const AnnualChange&, const AnnualChange&) = default;
};

// A copy about to take the target's name, with its size and SHA-256;
// movedAside: the file there before is about to become target + ".old", and
// its own size and SHA-256 (so that an undo never takes another ".old" for
// it, nor a file that only equals the copy for the copy).
struct CopyChange {
  std::u16string target;
  bool movedAside = false;
  std::uint64_t size = 0;
  Sha256Digest hash{};
  std::uint64_t replacedSize = 0;
  Sha256Digest replacedHash{};
  friend bool operator==(const CopyChange&, const CopyChange&) = default;
};

using Change = std::variant<AnnualChange, CopyChange>;

// A run begins: its number (rising through the journal), the old and the
// new installation, and the time as the caller wrote it (may be empty).
struct RunEntry {
  std::uint32_t run = 0;
  std::u16string source, dest, time;
  friend bool operator==(const RunEntry&, const RunEntry&) = default;
};

struct ChangeEntry {
  std::uint32_t run = 0;
  Change change;
  friend bool operator==(const ChangeEntry&, const ChangeEntry&) = default;
};

// An undo is about to write the run's change number `change` (from 1) back:
// if it is cut short, the bytes there may be part old, part new, and a later
// undo knows they are its own.
struct RestoringEntry {
  std::uint32_t run = 0;
  std::uint32_t change = 0;
  friend bool operator==(const RestoringEntry&, const RestoringEntry&) = default;
};

// The run has been taken back.
struct UndoneEntry {
  std::uint32_t run = 0;
  friend bool operator==(const UndoneEntry&, const UndoneEntry&) = default;
};

using JournalEntry = std::variant<RunEntry, ChangeEntry, RestoringEntry, UndoneEntry>;

// The first line, with its line end.
std::string JournalHeader();
// One entry as its line, with its check and its line end.
std::string EncodeEntry(const JournalEntry& entry);
// The entry of a line (without its line end), or nothing when the line fails
// its check or does not read as an entry of this version.
std::optional<JournalEntry> DecodeEntry(std::string_view line);

// One run as its entries tell it.
struct JournalRun {
  RunEntry start;
  std::size_t line = 0;  // of its run entry, from 1
  std::vector<Change> changes;
  std::vector<std::size_t> changeLines;
  // Changes (from 1) whose writing back an undo began.
  std::set<std::uint32_t> restoring;
  bool undone = false;
};

enum class JournalState {
  kMissing,       // no journal file
  kReadable,      // this version's journal, or the beginning of its first line
  kNotJournal,    // something else under the journal's name
  kOtherVersion,  // a journal of another format version
};

// A line that is not applied: damaged (fails its check or reads as no entry),
// or an entry out of place (a change outside its run, an undo of no run...).
struct JournalProblem {
  enum class Kind { kDamaged, kOutOfPlace };
  std::size_t line = 0;
  Kind kind = Kind::kDamaged;
  friend bool operator==(const JournalProblem&, const JournalProblem&) = default;
};

struct Journal {
  JournalState state = JournalState::kMissing;
  std::string firstLine;  // as found, for the report on another version
  std::vector<JournalRun> runs;
  std::vector<JournalProblem> problems;
  // The highest run number any entry names: the next run takes the one after.
  std::uint32_t lastRun = 0;
  // Bytes up to the end of the last whole line: the header's when it is
  // whole, else 0. A rest after it (no line end) is a torn last entry.
  std::size_t whole = 0;
  bool tornTail = false;
};

Journal ParseJournal(std::string_view bytes);

}  // namespace transfer
