#include "support/memory_os.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "platform/names.h"
#include "platform/single_byte.h"

namespace testing_support {

namespace err = platform::err;

namespace {

constexpr std::uint32_t kInvalidHandle = 6;
constexpr std::uint32_t kBadNetPath = 53;
constexpr std::uint32_t kInvalidParameter = 87;
constexpr std::uint32_t kNegativeSeek = 131;

// Windows-1250, bytes 0x80 to 0xFF. The five bytes the code page leaves
// undefined keep their own value, as Windows' conversion does.
constexpr std::array<char16_t, 128> kUpperHalf = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

char16_t ByteToText(unsigned char byte) {
  return byte < 0x80 ? static_cast<char16_t>(byte) : kUpperHalf[byte - 0x80];
}

// Upper case as file names compare: ASCII, Latin-1 and Latin Extended-A,
// which hold every Polish letter.
char16_t Fold(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
  const bool oddLower = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
  const bool evenLower = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
  if ((oddLower && c % 2 == 1) || (evenLower && c % 2 == 0)) return static_cast<char16_t>(c - 1);
  return c;
}

// The reverse of Fold.
char16_t Lower(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 0x20);
  const bool evenUpper = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
  const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
  if ((evenUpper && c % 2 == 0) || (oddUpper && c % 2 == 1)) return static_cast<char16_t>(c + 1);
  return c;
}

std::u16string Folded(std::u16string_view text) {
  std::u16string folded(text);
  for (auto& c : folded) c = Fold(c);
  return folded;
}

bool IsReserved(char16_t c) {
  switch (c) {
    case u'<':
    case u'>':
    case u':':
    case u'"':
    case u'|':
    case u'?':
    case u'*':
      return true;
    default:
      return c < 0x20;
  }
}

bool AllDots(std::u16string_view segment) {
  return segment.find_first_not_of(u'.') == std::u16string_view::npos;
}

}  // namespace

MemoryOs::MemoryOs() {
  Entry root;
  root.name = u"C:\\";
  root.directory = true;
  root.id = nextId_++;
  entries_.emplace(u"C:\\", root);
}

MemoryOs::Resolved MemoryOs::Resolve(std::u16string_view name) const {
  Resolved resolved;
  // Devices are refused as the system layers refuse them.
  if (platform::HoldsNul(name) || platform::NamesDevice(name)) {
    resolved.code = err::kInvalidName;
    return resolved;
  }
  const auto separator = [](char16_t c) { return c == u'\\' || c == u'/'; };
  // A share: no network is reachable from here.
  if (name.size() >= 2 && separator(name[0]) && separator(name[1])) {
    resolved.code = kBadNetPath;
    return resolved;
  }
  // The drive, and the path below its root: from the name itself when it
  // starts at a root, else after the current directory.
  const std::u16string_view current(currentDirectory);
  char16_t drive = Fold(current[0]);
  std::u16string_view below = name, prefix = current.substr(2);
  if (name.size() >= 2 && name[1] == u':' && Fold(name[0]) >= u'A' && Fold(name[0]) <= u'Z') {
    drive = Fold(name[0]);
    below = name.substr(2);
    if (drive != Fold(current[0])) prefix = {};
  }
  if (!below.empty() && separator(below[0])) prefix = {};
  if (std::any_of(below.begin(), below.end(), IsReserved)) {
    resolved.code = err::kInvalidName;
    return resolved;
  }

  // Segment by segment into the full path, remembering where each began so
  // that ".." can take the last one away.
  std::u16string& full = resolved.full;
  full = {drive, u':'};
  std::size_t starts[128];
  std::size_t depth = 0;
  const auto walk = [&](std::u16string_view path) {
    for (std::size_t at = 0; at < path.size();) {
      std::size_t end = at;
      while (end < path.size() && !separator(path[end])) ++end;
      std::u16string_view segment = path.substr(at, end - at);
      at = end + 1;
      if (segment.empty() || segment == u".") continue;
      if (segment == u"..") {
        if (depth > 0) full.resize(starts[--depth]);
        continue;
      }
      // One trailing period goes; a run of three or more periods is a name.
      if (!AllDots(segment) && segment.ends_with(u'.') && !segment.ends_with(u"..")) {
        segment.remove_suffix(1);
      }
      if (depth == std::size(starts)) return false;
      starts[depth++] = full.size();
      full += u'\\';
      full += segment;
    }
    return true;
  };
  if (!walk(prefix) || !walk(below)) {
    resolved.code = err::kFilenameExcedRange;
    return resolved;
  }
  // The last segment loses its trailing periods and blanks, unless a
  // separator follows it.
  if (depth > 0 && !below.empty() && !separator(below.back())) {
    while (full.size() > starts[depth - 1] + 1 && (full.back() == u'.' || full.back() == u' ')) {
      full.pop_back();
    }
    if (full.size() == starts[depth - 1] + 1) full.resize(starts[--depth]);
  }
  const std::size_t parentEnd = depth > 0 ? starts[depth - 1] : full.size();
  if (depth == 0) full += u'\\';
  if (full.size() > 259) {
    resolved.code = err::kFilenameExcedRange;
    return resolved;
  }
  resolved.key = Folded(full);
  resolved.parentKey = depth == 0 ? std::u16string() : resolved.key.substr(0, parentEnd);
  if (resolved.parentKey.size() == 2) resolved.parentKey += u'\\';
  return resolved;
}

std::optional<std::u16string> MemoryOs::Key(std::u16string_view path) const {
  const Resolved resolved = Resolve(path);
  if (resolved.code != err::kSuccess) return std::nullopt;
  return resolved.key;
}

std::uint32_t MemoryOs::MissingCode(const Resolved& resolved) const {
  const auto parent = entries_.find(resolved.parentKey);
  return parent != entries_.end() && parent->second.directory ? err::kFileNotFound
                                                              : err::kPathNotFound;
}

MemoryOs::Entry* MemoryOs::Find(const std::u16string& key) {
  const auto found = entries_.find(key);
  return found == entries_.end() ? nullptr : &found->second;
}

MemoryOs::Handle* MemoryOs::FindHandle(platform::FileHandle handle) {
  const auto found = handles_.find(handle);
  return found == handles_.end() ? nullptr : &found->second;
}

MemoryOs::Entry& MemoryOs::Add(const Resolved& resolved, bool directory) {
  Entry entry;
  entry.name = resolved.full;
  entry.directory = directory;
  entry.id = nextId_++;
  return entries_[resolved.key] = std::move(entry);
}

platform::FileHandle MemoryOs::Open(const std::u16string& key, bool exclusive, bool writable) {
  Entry& entry = entries_.at(key);
  ++entry.openers;
  entry.exclusive = exclusive;
  const platform::FileHandle handle = nextHandle_++;
  handles_[handle] = Handle{key, 0, writable};
  return handle;
}

// --- the fixture's access ---

void MemoryOs::MakeDir(std::u16string_view path) {
  const Resolved resolved = Resolve(path);
  if (resolved.code != err::kSuccess) throw std::invalid_argument("MemoryOs: bad directory");
  std::u16string prefix = resolved.full.substr(0, 3);
  for (std::size_t start = 3; start < resolved.full.size();) {
    const auto end = std::min(resolved.full.find(u'\\', start), resolved.full.size());
    if (prefix.size() > 3) prefix += u'\\';
    prefix += resolved.full.substr(start, end - start);
    start = end + 1;
    if (Entry* entry = Find(Folded(prefix))) {
      if (!entry->directory) throw std::invalid_argument("MemoryOs: a file is in the way");
      continue;
    }
    Entry directory;
    directory.name = prefix;
    directory.directory = true;
    directory.id = nextId_++;
    entries_.emplace(Folded(prefix), directory);
  }
}

void MemoryOs::PutFile(std::u16string_view path, std::string bytes, bool readOnly) {
  const Resolved resolved = Resolve(path);
  if (resolved.code != err::kSuccess) throw std::invalid_argument("MemoryOs: bad file name");
  MakeDir(resolved.full.substr(0, std::max<std::size_t>(resolved.full.rfind(u'\\'), 3)));
  Entry* entry = Find(resolved.key);
  if (entry != nullptr && entry->directory) throw std::invalid_argument("MemoryOs: a directory");
  if (entry == nullptr) entry = &Add(resolved, false);
  entry->bytes = std::move(bytes);
  entry->readOnly = readOnly;
}

std::optional<std::string> MemoryOs::FileBytes(std::u16string_view path) const {
  const Resolved resolved = Resolve(path);
  if (resolved.code != err::kSuccess) return std::nullopt;
  const auto found = entries_.find(resolved.key);
  if (found == entries_.end() || found->second.directory) return std::nullopt;
  return found->second.bytes;
}

bool MemoryOs::Exists(std::u16string_view path) const {
  const Resolved resolved = Resolve(path);
  return resolved.code == err::kSuccess && entries_.count(resolved.key) != 0;
}

std::map<std::u16string, std::string> MemoryOs::Files() const {
  std::map<std::u16string, std::string> files;
  for (const auto& [key, entry] : entries_) {
    if (!entry.directory) files.emplace(key, entry.bytes);
  }
  return files;
}

// --- files ---

std::uint32_t MemoryOs::OpenExisting(std::u16string_view name, platform::FileHandle& handle) {
  handle = 0;
  const Resolved resolved = Resolve(name);
  if (resolved.code != err::kSuccess) return resolved.code;
  Entry* entry = Find(resolved.key);
  if (entry == nullptr) return MissingCode(resolved);
  if (entry->directory || entry->readOnly) return err::kAccessDenied;
  if (entry->exclusive) return err::kSharingViolation;
  handle = Open(resolved.key, false);
  return err::kSuccess;
}

std::uint32_t MemoryOs::OpenForReading(std::u16string_view name, platform::FileHandle& handle) {
  handle = 0;
  const Resolved resolved = Resolve(name);
  if (resolved.code != err::kSuccess) return resolved.code;
  Entry* entry = Find(resolved.key);
  if (entry == nullptr) return MissingCode(resolved);
  if (entry->directory) return err::kAccessDenied;
  if (entry->exclusive) return err::kSharingViolation;
  handle = Open(resolved.key, false, false);
  return err::kSuccess;
}

std::uint32_t MemoryOs::CreateAlways(std::u16string_view name, platform::FileHandle& handle) {
  handle = 0;
  const Resolved resolved = Resolve(name);
  if (resolved.code != err::kSuccess) return resolved.code;
  Entry* entry = Find(resolved.key);
  if (entry == nullptr) {
    if (MissingCode(resolved) != err::kFileNotFound) return err::kPathNotFound;
    entry = &Add(resolved, false);
  }
  if (entry->directory || entry->readOnly) return err::kAccessDenied;
  if (entry->openers > 0) return err::kSharingViolation;
  entry->bytes.clear();
  handle = Open(resolved.key, true);
  return err::kSuccess;
}

std::uint32_t MemoryOs::Read(platform::FileHandle handle, void* buffer, std::uint32_t size,
                             std::uint32_t& done) {
  done = 0;
  Handle* open = FindHandle(handle);
  if (open == nullptr) return kInvalidHandle;
  const std::string& bytes = entries_.at(open->key).bytes;
  if (open->position < bytes.size()) {
    done = static_cast<std::uint32_t>(std::min<std::size_t>(size, bytes.size() - open->position));
    std::memcpy(buffer, bytes.data() + open->position, done);
    open->position += done;
  }
  return err::kSuccess;
}

std::uint32_t MemoryOs::Write(platform::FileHandle handle, const void* buffer, std::uint32_t size,
                              std::uint32_t& done) {
  done = 0;
  Handle* open = FindHandle(handle);
  if (open == nullptr) return kInvalidHandle;
  if (!open->writable) return err::kAccessDenied;
  if (std::uint64_t{open->position} + size > 0xFFFFFFFFu) return err::kDiskFull;
  std::string& bytes = entries_.at(open->key).bytes;
  if (bytes.size() < open->position + std::size_t{size}) bytes.resize(open->position + size, '\0');
  if (size > 0) std::memcpy(bytes.data() + open->position, buffer, size);
  open->position += size;
  done = size;
  return err::kSuccess;
}

std::uint32_t MemoryOs::Seek(platform::FileHandle handle, std::int32_t distance,
                             platform::SeekOrigin origin, std::uint32_t& position) {
  Handle* open = FindHandle(handle);
  if (open == nullptr) return kInvalidHandle;
  const std::int64_t base = origin == platform::SeekOrigin::kBegin ? 0 : open->position;
  const std::int64_t target = base + distance;
  if (target < 0) return kNegativeSeek;
  if (target > 0xFFFFFFFF) return kInvalidParameter;
  open->position = static_cast<std::uint32_t>(target);
  position = open->position;
  return err::kSuccess;
}

std::uint32_t MemoryOs::Size(platform::FileHandle handle, std::uint32_t& size) {
  Handle* open = FindHandle(handle);
  if (open == nullptr) return kInvalidHandle;
  size = static_cast<std::uint32_t>(entries_.at(open->key).bytes.size());
  return err::kSuccess;
}

std::uint32_t MemoryOs::Close(platform::FileHandle handle) {
  Handle* open = FindHandle(handle);
  if (open == nullptr) return kInvalidHandle;
  Entry& entry = entries_.at(open->key);
  --entry.openers;
  entry.exclusive = false;
  handles_.erase(handle);
  return err::kSuccess;
}

std::uint32_t MemoryOs::Flush(platform::FileHandle handle) {
  return FindHandle(handle) != nullptr ? err::kSuccess : kInvalidHandle;
}

std::uint32_t MemoryOs::Attributes(std::u16string_view name, platform::EntryInfo& info) {
  const Resolved resolved = Resolve(name);
  if (resolved.code != err::kSuccess) return resolved.code;
  const Entry* entry = Find(resolved.key);
  if (entry == nullptr) return MissingCode(resolved);
  info.isDirectory = entry->directory;
  info.readOnly = entry->readOnly;
  return err::kSuccess;
}

std::uint32_t MemoryOs::FindFirst(std::u16string_view name, platform::EntryInfo& info) {
  // Wildcards are refused as invalid names, so a search finds the entry itself.
  return Attributes(name, info);
}

std::uint32_t MemoryOs::Identity(std::u16string_view name, platform::FileIdentity& identity) {
  const Resolved resolved = Resolve(name);
  if (resolved.code != err::kSuccess) return resolved.code;
  const Entry* entry = Find(resolved.key);
  if (entry == nullptr) return MissingCode(resolved);
  identity.volume = 1;
  identity.index = entry->id;
  return err::kSuccess;
}

std::uint32_t MemoryOs::Move(std::u16string_view from, std::u16string_view to) {
  const Resolved source = Resolve(from), target = Resolve(to);
  if (source.code != err::kSuccess) return source.code;
  if (target.code != err::kSuccess) return target.code;
  Entry* entry = Find(source.key);
  if (entry == nullptr) return MissingCode(source);
  const std::u16string inside = source.key + u"\\";
  if (target.key.starts_with(inside)) return err::kAccessDenied;
  if (source.key != target.key && Find(target.key) != nullptr) return err::kAlreadyExists;
  if (MissingCode(target) != err::kFileNotFound) return err::kPathNotFound;
  // The entry and, for a directory, everything below it; none may be open.
  std::vector<std::u16string> moved;
  for (auto it = entries_.lower_bound(source.key); it != entries_.end(); ++it) {
    if (it->first != source.key && !it->first.starts_with(inside)) break;
    if (it->second.openers > 0) return err::kSharingViolation;
    moved.push_back(it->first);
  }
  for (const auto& key : moved) {
    auto node = entries_.extract(key);
    const std::size_t rest = key.size() - source.key.size();
    node.mapped().name = target.full + node.mapped().name.substr(node.mapped().name.size() - rest);
    node.key() = target.key + key.substr(source.key.size());
    entries_.insert(std::move(node));
  }
  return err::kSuccess;
}

std::uint32_t MemoryOs::CopyNew(std::u16string_view from, std::u16string_view to) {
  const Resolved source = Resolve(from), target = Resolve(to);
  if (source.code != err::kSuccess) return source.code;
  if (target.code != err::kSuccess) return target.code;
  const Entry* entry = Find(source.key);
  if (entry == nullptr) return MissingCode(source);
  if (entry->directory) return err::kAccessDenied;
  if (entry->exclusive) return err::kSharingViolation;
  if (Find(target.key) != nullptr) return err::kFileExists;
  if (MissingCode(target) != err::kFileNotFound) return err::kPathNotFound;
  const std::string bytes = entry->bytes;
  const bool readOnly = entry->readOnly;
  Entry& copy = Add(target, false);
  copy.bytes = bytes;
  copy.readOnly = readOnly;
  return err::kSuccess;
}

std::uint32_t MemoryOs::Replace(std::u16string_view from, std::u16string_view to) {
  const Resolved source = Resolve(from), target = Resolve(to);
  if (source.code != err::kSuccess) return source.code;
  if (target.code != err::kSuccess) return target.code;
  const Entry* entry = Find(source.key);
  if (entry == nullptr) return MissingCode(source);
  if (source.key == target.key) return err::kSuccess;
  if (entry->directory) return err::kAccessDenied;
  if (const Entry* replaced = Find(target.key)) {
    if (replaced->directory || replaced->readOnly) return err::kAccessDenied;
    if (replaced->openers > 0 || entry->openers > 0) return err::kSharingViolation;
    entries_.erase(target.key);
  }
  return Move(from, to);
}

std::uint32_t MemoryOs::Remove(std::u16string_view name) {
  const Resolved resolved = Resolve(name);
  if (resolved.code != err::kSuccess) return resolved.code;
  const Entry* entry = Find(resolved.key);
  if (entry == nullptr) return MissingCode(resolved);
  if (entry->directory) return err::kAccessDenied;
  if (entry->openers > 0) return err::kSharingViolation;
  entries_.erase(resolved.key);
  return err::kSuccess;
}

std::u16string MemoryOs::ErrorText(std::uint32_t code) {
  switch (code) {
    case err::kFileNotFound:
      return u"The system cannot find the file specified.\r\n";
    case err::kPathNotFound:
      return u"The system cannot find the path specified.\r\n";
    case err::kAccessDenied:
      return u"Access is denied.\r\n";
    case err::kSharingViolation:
      return u"The process cannot access the file because it is being used by another "
             u"process.\r\n";
    case err::kInvalidName:
      return u"The filename, directory name, or volume label syntax is incorrect.\r\n";
    default:
      return u"The operation failed.\r\n";
  }
}

// --- text ---

std::u16string MemoryOs::AnsiToText(std::string_view bytes) {
  std::u16string text(bytes.size(), u'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    text[i] = ByteToText(static_cast<unsigned char>(bytes[i]));
  }
  return text;
}

std::optional<std::string> MemoryOs::TextToAnsi(std::u16string_view text) {
  return platform::TextToSingleByte(text, [](char16_t unit) {
    if (unit < 0x80) return static_cast<char>(unit);
    for (unsigned b = 0x80; b < 256; ++b) {
      if (ByteToText(static_cast<unsigned char>(b)) == unit) return static_cast<char>(b);
    }
    return '?';
  });
}

std::u16string MemoryOs::LowerCase(std::u16string_view text) {
  std::u16string lower(text);
  for (auto& c : lower) c = Lower(c);
  return lower;
}

}  // namespace testing_support
