// An OS layer for a preview of a run: it reads the files through a base layer
// and keeps every change in memory, so later steps of the run see the files
// as the real run would have left them, while nothing is ever written through
// the base (no file there is created, changed, renamed or removed). It lists
// the changes the run would have made, in order.
//
// What is kept: a file that the run changed, made, renamed or copied, whole
// (the annual files, the extra files and the log are small), and a mark for a
// name the run emptied by a rename or a removal. An untouched file is read
// through a base handle; its first write takes it into memory whole. A file
// renamed or copied before it was ever opened keeps pointing at its base name
// until it is.
//
// Answers are the base's where the base is asked (names it refuses, missing
// files and folders, a read-only file or a directory in the way); where only
// the overlay knows the file, it answers with the code the base gives for the
// same case. Handles of the overlay share as the Windows layer's do: a created
// file is shared with nobody, and an open file is neither renamed, replaced
// nor removed. Names compare as Windows compares them, letter case ignored.
// Directories are only read: a directory is never renamed here.
#pragma once

#include <compare>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/file_change.h"
#include "platform/os.h"

namespace platform {

class OverlayOs final : public Os {
 public:
  explicit OverlayOs(Os& base) : base_(base) {}
  // Closes the base handles of files still open here.
  ~OverlayOs() override;
  OverlayOs(const OverlayOs&) = delete;
  OverlayOs& operator=(const OverlayOs&) = delete;

  // Every change so far, in the order made; refused calls made none.
  const FileChanges& Changes() const { return changes_; }

  std::uint32_t OpenExisting(std::u16string_view name, FileHandle& handle) override;
  std::uint32_t OpenForReading(std::u16string_view name, FileHandle& handle) override;
  std::uint32_t CreateAlways(std::u16string_view name, FileHandle& handle) override;
  std::uint32_t Read(FileHandle handle, void* buffer, std::uint32_t size,
                     std::uint32_t& done) override;
  std::uint32_t Write(FileHandle handle, const void* buffer, std::uint32_t size,
                      std::uint32_t& done) override;
  std::uint32_t Seek(FileHandle handle, std::int32_t distance, SeekOrigin origin,
                     std::uint32_t& position) override;
  std::uint32_t Size(FileHandle handle, std::uint32_t& size) override;
  std::uint32_t Close(FileHandle handle) override;
  std::uint32_t Flush(FileHandle handle) override;

  std::uint32_t Attributes(std::u16string_view name, EntryInfo& info) override;
  std::uint32_t FindFirst(std::u16string_view name, EntryInfo& info) override;
  std::uint32_t Identity(std::u16string_view name, FileIdentity& identity) override;

  std::uint32_t Move(std::u16string_view from, std::u16string_view to) override;
  std::uint32_t CopyNew(std::u16string_view from, std::u16string_view to) override;
  std::uint32_t Replace(std::u16string_view from, std::u16string_view to) override;
  std::uint32_t Remove(std::u16string_view name) override;

  std::u16string ErrorText(std::uint32_t code) override { return base_.ErrorText(code); }
  std::uint32_t AnsiCodePage() override { return base_.AnsiCodePage(); }
  std::u16string AnsiToText(std::string_view bytes) override { return base_.AnsiToText(bytes); }
  std::optional<std::string> TextToAnsi(std::u16string_view text) override {
    return base_.TextToAnsi(text);
  }
  std::optional<std::u16string> DecimalSymbol() override { return base_.DecimalSymbol(); }
  std::u16string LowerCase(std::u16string_view text) override { return base_.LowerCase(text); }
  std::u16string ExecutablePath() override { return base_.ExecutablePath(); }

 private:
  // A file by its folder's identity and its own name in lower case: every
  // text that reaches one file gives one key.
  struct Key {
    FileIdentity folder;
    std::u16string name;
    friend auto operator<=>(const Key& a, const Key& b) {
      if (const auto c = a.folder.volume <=> b.folder.volume; c != 0) return c;
      if (const auto c = a.folder.index <=> b.folder.index; c != 0) return c;
      return a.name <=> b.name;
    }
    friend bool operator==(const Key&, const Key&) = default;
  };
  // A name as the run left it: a file, or nothing (renamed away or removed).
  struct File {
    bool gone = false;
    std::u16string name;
    // The bytes, or nothing while they are still those of `origin` in the base.
    std::optional<std::string> bytes;
    std::u16string origin;
    bool readOnly = false;
    FileIdentity identity;
  };
  // How the overlay's handles hold one file.
  struct Use {
    int openers = 0;
    bool exclusive = false;
  };
  struct Handle {
    Key key;
    std::u16string name;  // as opened
    FileHandle base = 0;  // the base's handle while the file is untouched, else 0
    std::uint32_t position = 0;
    bool writable = true;
  };
  // What the overlay knows of a name: its key when its folder exists, and
  // the overlay's own file there, if any.
  struct Overlaid {
    std::optional<Key> key;
    File* file = nullptr;
  };
  // What a name holds in the overlay's view.
  struct Entry {
    std::uint32_t code = 0;  // 0, or why there is no entry
    EntryInfo info;
    Overlaid overlaid;
  };

  Overlaid Find(std::u16string_view name);
  // The identity of a folder, as the base gave it the first time it was
  // asked: the overlay makes, renames and removes no directory, so in its
  // view a folder it has found stays the same folder.
  std::uint32_t FolderIdentity(std::u16string_view folder, FileIdentity& identity);
  Entry Look(std::u16string_view name);
  int Openers(const Key& key) const;
  // The file of a base entry, its bytes still read from there; with
  // `sameFile`, the same file (its identity the base's), else a copy of it.
  File FromBase(std::u16string_view name, const EntryInfo& info, bool sameFile);
  std::uint32_t Load(File& file);
  std::uint32_t TakeIntoMemory(Handle& open);
  Handle* FindHandle(FileHandle handle);
  // The bytes of an open file the overlay holds, or null while the base does.
  std::string* Held(const Handle& open);
  FileHandle Open(const Key& key, std::u16string_view name, FileHandle base, bool exclusive,
                  bool writable = true);
  std::uint32_t OpenShared(std::u16string_view name, bool writable, FileHandle& handle);
  void Put(const Key& key, File file);
  void Leave(const Key& key, std::u16string_view name);
  // The file at `from` takes the name `to`, listed as `kind`.
  void Rename(const Entry& source, const Entry& target, std::u16string_view from,
              std::u16string_view to, FileChange::Kind kind);
  FileIdentity NewIdentity();

  Os& base_;
  std::unordered_map<std::u16string, FileIdentity> folders_;
  std::u16string folderKey_;  // reused for each look-up
  std::map<Key, File> files_;
  std::map<Key, Use> uses_;
  std::map<FileHandle, Handle> handles_;
  FileHandle nextHandle_ = 1;
  std::uint64_t nextIndex_ = 1;
  FileChanges changes_;
};

}  // namespace platform
