// An OS layer that keeps a whole Windows drive in memory: files, directories,
// open handles with their sharing, and the ANSI code page 1250. Names follow
// Win32's reading of a path (either slash, runs of separators as one, "." and
// "..", a trailing dot or blank dropped, letter case ignored) and its refusals
// (wildcards and other reserved characters, device names, unknown shares), with
// the same error codes as the Win32 layer. A copy is a snapshot of the drive.
// Deterministic and fast, for fuzz targets and tests that need no disk.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/os.h"

namespace testing_support {

class MemoryOs final : public platform::Os {
 public:
  MemoryOs();

  // --- the fixture's own access; never fails, parents are made as needed ---
  void MakeDir(std::u16string_view path);
  void PutFile(std::u16string_view path, std::string bytes, bool readOnly = false);
  // The bytes of a file, or nothing when no file has that name.
  std::optional<std::string> FileBytes(std::u16string_view path) const;
  // Whether a file or a directory has that name.
  bool Exists(std::u16string_view path) const;
  // Every file's bytes by its key (see Key).
  std::map<std::u16string, std::string> Files() const;
  // The key under which an entry of this name is kept: the full path with
  // letters folded to upper case; nothing for a name the system refuses.
  std::optional<std::u16string> Key(std::u16string_view path) const;
  std::size_t OpenHandles() const { return handles_.size(); }

  // Where a relative name starts, what the executable's path and the user's
  // decimal symbol are.
  std::u16string currentDirectory = u"C:\\";
  std::u16string executablePath = u"C:\\bin\\dopliki32.exe";
  std::optional<std::u16string> decimalSymbol = u",";

  // --- platform::Os ---
  std::uint32_t OpenExisting(std::u16string_view name, platform::FileHandle& handle) override;
  std::uint32_t OpenForReading(std::u16string_view name, platform::FileHandle& handle) override;
  std::uint32_t CreateAlways(std::u16string_view name, platform::FileHandle& handle) override;
  std::uint32_t Read(platform::FileHandle handle, void* buffer, std::uint32_t size,
                     std::uint32_t& done) override;
  std::uint32_t Write(platform::FileHandle handle, const void* buffer, std::uint32_t size,
                      std::uint32_t& done) override;
  std::uint32_t Seek(platform::FileHandle handle, std::int32_t distance,
                     platform::SeekOrigin origin, std::uint32_t& position) override;
  std::uint32_t Size(platform::FileHandle handle, std::uint32_t& size) override;
  std::uint32_t Close(platform::FileHandle handle) override;
  std::uint32_t Flush(platform::FileHandle handle) override;
  std::uint32_t Attributes(std::u16string_view name, platform::EntryInfo& info) override;
  std::uint32_t FindFirst(std::u16string_view name, platform::EntryInfo& info) override;
  std::uint32_t Identity(std::u16string_view name, platform::FileIdentity& identity) override;
  std::uint32_t Move(std::u16string_view from, std::u16string_view to) override;
  std::uint32_t CopyNew(std::u16string_view from, std::u16string_view to) override;
  std::uint32_t Replace(std::u16string_view from, std::u16string_view to) override;
  std::uint32_t Remove(std::u16string_view name) override;
  std::u16string ErrorText(std::uint32_t code) override;
  std::uint32_t AnsiCodePage() override { return 1250; }
  std::u16string AnsiToText(std::string_view bytes) override;
  std::optional<std::string> TextToAnsi(std::u16string_view text) override;
  std::optional<std::u16string> DecimalSymbol() override { return decimalSymbol; }
  std::u16string ExecutablePath() override { return executablePath; }
  // Lower case of the letters that file names fold (ASCII, Latin-1, Latin
  // Extended-A); every other character as it is.
  std::u16string LowerCase(std::u16string_view text) override;

 private:
  struct Entry {
    std::u16string name;  // the full path as first created
    bool directory = false;
    bool readOnly = false;
    std::string bytes;
    std::uint64_t id = 0;
    int openers = 0;         // handles open on it
    bool exclusive = false;  // held by a handle that shares nothing
  };
  struct Handle {
    std::u16string key;
    std::uint32_t position = 0;
    bool writable = true;
  };
  // A name resolved to its full path and key, or the code that refuses it.
  struct Resolved {
    std::uint32_t code = 0;
    std::u16string full, key, parentKey;
  };

  Resolved Resolve(std::u16string_view name) const;
  // Code for a missing entry: 2 when its directory exists, 3 otherwise.
  std::uint32_t MissingCode(const Resolved& resolved) const;
  Entry* Find(const std::u16string& key);
  Handle* FindHandle(platform::FileHandle handle);
  Entry& Add(const Resolved& resolved, bool directory);
  platform::FileHandle Open(const std::u16string& key, bool exclusive, bool writable = true);

  std::map<std::u16string, Entry> entries_;
  std::map<platform::FileHandle, Handle> handles_;
  std::uint64_t nextId_ = 1;
  platform::FileHandle nextHandle_ = 1;
};

}  // namespace testing_support
