// The undo journal on the disk: reading it, and appending to it so that an
// entry is on the disk before the change it describes.
//
// A writer keeps one handle for its whole run and flushes once per batch of
// entries, so that a run can describe all of a company's changes with one
// flush: the flush is what costs (it waits for the disk), while the open,
// seek and close of a file per entry would add calls and nothing safer. The
// handle shares reading and writing, as every file the program opens.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/os.h"
#include "transfer/journal.h"
#include "transfer/owned_file.h"

namespace transfer {

// The system's code for a journal the program cannot take for its own
// (another version, another file under its name): ERROR_INVALID_DATA.
inline constexpr std::uint32_t kJournalInvalid = 13;

// The journal's path in an installation (the new one).
std::u16string JournalPath(std::u16string_view installation);

// What the journal holds; kMissing when there is none. Changes nothing.
// Raises EInOutError where it cannot be read.
Journal ReadJournal(platform::Os& os, std::u16string_view path);

class JournalWriter {
 public:
  // Opens the journal for appending: makes it when there is none, and drops
  // a torn last entry (it describes a change never made: the change follows
  // only its flushed entry), so that the next entry starts on a line of its
  // own. The journal is rewritten beside itself and takes its name in one
  // step. Raises EInOutError, with kJournalInvalid for a journal of another
  // version or another file under its name, which is left as it is.
  JournalWriter(platform::Os& os, std::u16string path);

  // What the journal held when opened (its torn last entry dropped).
  const Journal& Contents() const { return journal_; }

  // Writes the entries with one write and one flush: they are on the disk
  // when it returns. Raises EInOutError; the caller must then not make the
  // changes they describe, and every later call raises too, since the
  // journal may end in a torn entry that only a new writer drops.
  void Append(const std::vector<JournalEntry>& entries);

  // Closes the journal. Raises EInOutError where the system refuses.
  void Close() { file_.Close(); }

 private:
  void Open();

  platform::Os& os_;
  std::u16string path_;
  OwnedFile file_;
  Journal journal_;
  // The code of a failed append, raised again by every later one.
  std::int32_t failed_ = 0;
};

// A run's side of the journal: its number, its entry, and its changes.
class RunJournal {
 public:
  // Opens the journal of the new installation. Raises EInOutError.
  RunJournal(platform::Os& os, std::u16string_view source, std::u16string_view dest,
             std::u16string_view time);

  std::uint32_t Run() const { return run_.run; }

  // Describes changes about to be made, with one flush; the first call
  // carries the run's own entry, so a run that changes nothing leaves no
  // entry. Raises EInOutError: the caller must then stop before them.
  void Record(const std::vector<Change>& changes);

  // Closes the journal at the run's end: a refusal is reported as every
  // other file's is. Raises EInOutError.
  void Close() { writer_.Close(); }

 private:
  JournalWriter writer_;
  RunEntry run_;
  bool started_ = false;
};

}  // namespace transfer
