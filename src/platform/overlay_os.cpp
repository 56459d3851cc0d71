#include "platform/overlay_os.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <utility>

namespace platform {

namespace {

constexpr std::uint32_t kInvalidHandle = 6;
constexpr std::uint32_t kNotSupported = 50;
constexpr std::uint32_t kInvalidParameter = 87;
constexpr std::uint32_t kNegativeSeek = 131;

// Files the overlay made have an identity of their own. No system gives this
// volume (Windows' serial numbers have 32 bits, a device number is never all
// ones), so it never equals the identity of a file in the base.
constexpr std::uint64_t kOverlayVolume = UINT64_MAX;

// Reads the whole file through an open handle of the base, from its start.
std::uint32_t ReadWhole(Os& base, FileHandle handle, std::string& bytes) {
  std::uint32_t size = 0;
  if (const auto code = base.Size(handle, size)) return code;
  std::uint32_t position = 0;
  if (const auto code = base.Seek(handle, 0, SeekOrigin::kBegin, position)) return code;
  std::string whole(size, '\0');
  std::uint32_t done = 0;
  if (const auto code = base.Read(handle, whole.data(), size, done)) return code;
  whole.resize(done);
  bytes = std::move(whole);
  return err::kSuccess;
}

}  // namespace

OverlayOs::~OverlayOs() {
  for (const auto& [handle, open] : handles_) {
    if (open.base != 0) base_.Close(open.base);
  }
}

// --- names ---

OverlayOs::Overlaid OverlayOs::Find(std::u16string_view name) {
  const auto cut = name.find_last_of(u"\\/");
  const std::u16string_view own = cut == std::u16string_view::npos ? name : name.substr(cut + 1);
  // A name ending in a separator, "." or ".." names a directory, and the
  // overlay keeps none.
  if (own.empty() || own == u"." || own == u"..") return {};
  const std::u16string_view folder =
      cut == std::u16string_view::npos ? u"." : name.substr(0, cut + 1);
  FileIdentity identity;
  // No folder, no file there: the base's own answer for the name says why.
  if (FolderIdentity(folder, identity) != err::kSuccess) return {};
  Overlaid overlaid;
  overlaid.key = Key{identity, base_.LowerCase(own)};
  const auto found = files_.find(*overlaid.key);
  if (found != files_.end()) overlaid.file = &found->second;
  return overlaid;
}

std::uint32_t OverlayOs::FolderIdentity(std::u16string_view folder, FileIdentity& identity) {
  folderKey_.assign(folder);
  const auto found = folders_.find(folderKey_);
  if (found != folders_.end()) {
    identity = found->second;
    return err::kSuccess;
  }
  // A folder not found may yet be made by another program: asked again.
  const auto code = base_.Identity(folder, identity);
  if (code == err::kSuccess) folders_.emplace(folderKey_, identity);
  return code;
}

OverlayOs::Entry OverlayOs::Look(std::u16string_view name) {
  Entry entry;
  entry.overlaid = Find(name);
  if (const File* file = entry.overlaid.file) {
    // Renamed away or removed: its folder exists, as it did for the file.
    if (file->gone) entry.code = err::kFileNotFound;
    entry.info.readOnly = file->readOnly;
    return entry;
  }
  entry.code = base_.Attributes(name, entry.info);
  return entry;
}

int OverlayOs::Openers(const Key& key) const {
  const auto found = uses_.find(key);
  return found == uses_.end() ? 0 : found->second.openers;
}

OverlayOs::File OverlayOs::FromBase(std::u16string_view name, const EntryInfo& info,
                                    bool sameFile) {
  File file;
  file.name = name;
  file.origin = name;
  file.readOnly = info.readOnly;
  // A renamed file stays the same file; a copy is another.
  if (!sameFile || base_.Identity(name, file.identity) != err::kSuccess) {
    file.identity = NewIdentity();
  }
  return file;
}

FileIdentity OverlayOs::NewIdentity() { return FileIdentity{kOverlayVolume, nextIndex_++}; }

void OverlayOs::Put(const Key& key, File file) { files_.insert_or_assign(key, std::move(file)); }

void OverlayOs::Leave(const Key& key, std::u16string_view name) {
  File gone;
  gone.gone = true;
  gone.name = name;
  Put(key, std::move(gone));
}

// --- handles ---

std::uint32_t OverlayOs::Load(File& file) {
  if (file.bytes) return err::kSuccess;
  FileHandle handle = 0;
  if (const auto code = base_.OpenForReading(file.origin, handle)) return code;
  std::string bytes;
  const auto code = ReadWhole(base_, handle, bytes);
  base_.Close(handle);
  if (code == err::kSuccess) file.bytes = std::move(bytes);
  return code;
}

std::uint32_t OverlayOs::TakeIntoMemory(Handle& open) {
  File file;
  file.name = open.name;
  file.bytes.emplace();
  if (const auto code = ReadWhole(base_, open.base, *file.bytes)) return code;
  if (base_.Identity(open.name, file.identity) != err::kSuccess) file.identity = NewIdentity();
  Put(open.key, std::move(file));
  return err::kSuccess;
}

OverlayOs::Handle* OverlayOs::FindHandle(FileHandle handle) {
  const auto found = handles_.find(handle);
  return found == handles_.end() ? nullptr : &found->second;
}

FileHandle OverlayOs::Open(const Key& key, std::u16string_view name, FileHandle base,
                           bool exclusive, bool writable) {
  Use& use = uses_[key];
  ++use.openers;
  use.exclusive = exclusive;
  const FileHandle handle = nextHandle_++;
  handles_.emplace(handle, Handle{key, std::u16string(name), base, 0, writable});
  return handle;
}

std::string* OverlayOs::Held(const Handle& open) {
  const auto found = files_.find(open.key);
  // A file stays where it is while open: never gone, its bytes loaded.
  return found == files_.end() ? nullptr : &*found->second.bytes;
}

std::uint32_t OverlayOs::OpenExisting(std::u16string_view name, FileHandle& handle) {
  return OpenShared(name, true, handle);
}

std::uint32_t OverlayOs::OpenForReading(std::u16string_view name, FileHandle& handle) {
  return OpenShared(name, false, handle);
}

std::uint32_t OverlayOs::OpenShared(std::u16string_view name, bool writable, FileHandle& handle) {
  handle = 0;
  const Overlaid overlaid = Find(name);
  if (File* file = overlaid.file) {
    if (file->gone) return err::kFileNotFound;
    if (writable && file->readOnly) return err::kAccessDenied;
    const auto use = uses_.find(*overlaid.key);
    if (use != uses_.end() && use->second.exclusive) return err::kSharingViolation;
    if (const auto code = Load(*file)) return code;
    handle = Open(*overlaid.key, name, 0, false, writable);
    return err::kSuccess;
  }
  FileHandle base = 0;
  if (const auto code =
          writable ? base_.OpenExisting(name, base) : base_.OpenForReading(name, base)) {
    return code;
  }
  if (!overlaid.key) {
    // The base opened a file whose folder it could not tell: never read
    // without a key, which a later write would need.
    base_.Close(base);
    return err::kAccessDenied;
  }
  handle = Open(*overlaid.key, name, base, false, writable);
  return err::kSuccess;
}

std::uint32_t OverlayOs::CreateAlways(std::u16string_view name, FileHandle& handle) {
  handle = 0;
  const Entry entry = Look(name);
  const bool existed = entry.code == err::kSuccess;
  if (!existed && entry.code != err::kFileNotFound) return entry.code;
  if (existed && (entry.info.isDirectory || entry.info.readOnly)) return err::kAccessDenied;
  if (!entry.overlaid.key) return existed ? err::kAccessDenied : err::kPathNotFound;
  const Key& key = *entry.overlaid.key;
  if (Openers(key) > 0) return err::kSharingViolation;
  File file;
  file.name = name;
  file.bytes.emplace();
  // The file made anew in place of another keeps its identity.
  if (existed && entry.overlaid.file) {
    file.identity = entry.overlaid.file->identity;
  } else if (!existed || base_.Identity(name, file.identity) != err::kSuccess) {
    file.identity = NewIdentity();
  }
  Put(key, std::move(file));
  FileChange change;
  change.kind = existed ? FileChange::Kind::kEmptied : FileChange::Kind::kCreated;
  change.name = name;
  changes_.push_back(std::move(change));
  handle = Open(key, name, 0, true);
  return err::kSuccess;
}

std::uint32_t OverlayOs::Read(FileHandle handle, void* buffer, std::uint32_t size,
                              std::uint32_t& done) {
  done = 0;
  Handle* open = FindHandle(handle);
  if (open == nullptr) return kInvalidHandle;
  const std::string* bytes = Held(*open);
  if (bytes == nullptr) {
    const auto code = base_.Read(open->base, buffer, size, done);
    open->position += done;
    return code;
  }
  if (open->position < bytes->size()) {
    done = static_cast<std::uint32_t>(std::min<std::size_t>(size, bytes->size() - open->position));
    std::memcpy(buffer, bytes->data() + open->position, done);
    open->position += done;
  }
  return err::kSuccess;
}

std::uint32_t OverlayOs::Write(FileHandle handle, const void* buffer, std::uint32_t size,
                               std::uint32_t& done) {
  done = 0;
  Handle* open = FindHandle(handle);
  if (open == nullptr) return kInvalidHandle;
  if (!open->writable) return err::kAccessDenied;
  if (size == 0) return err::kSuccess;
  if (std::uint64_t{open->position} + size > UINT32_MAX) return err::kDiskFull;
  if (Held(*open) == nullptr) {
    if (const auto code = TakeIntoMemory(*open)) return code;
  }
  File& file = files_.at(open->key);
  std::string& bytes = *file.bytes;
  const std::uint32_t at = open->position;
  FileChange change;
  change.kind = FileChange::Kind::kWritten;
  change.name = file.name;
  change.offset = at;
  if (at < bytes.size()) change.before = bytes.substr(at, size);
  change.after.assign(static_cast<const char*>(buffer), size);
  if (bytes.size() < std::size_t{at} + size) bytes.resize(std::size_t{at} + size, '\0');
  std::memcpy(bytes.data() + at, buffer, size);
  changes_.push_back(std::move(change));
  open->position += size;
  done = size;
  return err::kSuccess;
}

std::uint32_t OverlayOs::Seek(FileHandle handle, std::int32_t distance, SeekOrigin origin,
                              std::uint32_t& position) {
  Handle* open = FindHandle(handle);
  if (open == nullptr) return kInvalidHandle;
  if (Held(*open) == nullptr) {
    const auto code = base_.Seek(open->base, distance, origin, position);
    if (code == err::kSuccess) open->position = position;
    return code;
  }
  const std::int64_t from = origin == SeekOrigin::kBegin ? 0 : open->position;
  const std::int64_t target = from + distance;
  if (target < 0) return kNegativeSeek;
  if (target > static_cast<std::int64_t>(UINT32_MAX)) return kInvalidParameter;
  open->position = static_cast<std::uint32_t>(target);
  position = open->position;
  return err::kSuccess;
}

std::uint32_t OverlayOs::Size(FileHandle handle, std::uint32_t& size) {
  Handle* open = FindHandle(handle);
  if (open == nullptr) return kInvalidHandle;
  const std::string* bytes = Held(*open);
  if (bytes == nullptr) return base_.Size(open->base, size);
  size = static_cast<std::uint32_t>(bytes->size());
  return err::kSuccess;
}

std::uint32_t OverlayOs::Close(FileHandle handle) {
  Handle* open = FindHandle(handle);
  if (open == nullptr) return kInvalidHandle;
  const auto code = open->base != 0 ? base_.Close(open->base) : err::kSuccess;
  const auto use = uses_.find(open->key);
  if (--use->second.openers == 0) uses_.erase(use);
  handles_.erase(handle);
  return code;
}

std::uint32_t OverlayOs::Flush(FileHandle handle) {
  // Nothing of this layer is in the base's buffers, and nothing is to go
  // through to the disk.
  return FindHandle(handle) != nullptr ? err::kSuccess : kInvalidHandle;
}

// --- entries ---

std::uint32_t OverlayOs::Attributes(std::u16string_view name, EntryInfo& info) {
  const Entry entry = Look(name);
  if (entry.code == err::kSuccess) info = entry.info;
  return entry.code;
}

std::uint32_t OverlayOs::FindFirst(std::u16string_view name, EntryInfo& info) {
  const Overlaid overlaid = Find(name);
  if (overlaid.file == nullptr) return base_.FindFirst(name, info);
  if (overlaid.file->gone) return err::kFileNotFound;
  info = EntryInfo{false, overlaid.file->readOnly};
  return err::kSuccess;
}

std::uint32_t OverlayOs::Identity(std::u16string_view name, FileIdentity& identity) {
  const Overlaid overlaid = Find(name);
  if (overlaid.file == nullptr) return base_.Identity(name, identity);
  if (overlaid.file->gone) return err::kFileNotFound;
  identity = overlaid.file->identity;
  return err::kSuccess;
}

// --- renames, copies, removals ---

void OverlayOs::Rename(const Entry& source, const Entry& target, std::u16string_view from,
                       std::u16string_view to, FileChange::Kind kind) {
  File moved = source.overlaid.file ? *source.overlaid.file : FromBase(from, source.info, true);
  moved.name = to;
  Leave(*source.overlaid.key, from);
  Put(*target.overlaid.key, std::move(moved));
  FileChange change;
  change.kind = kind;
  change.name = to;
  change.from = from;
  changes_.push_back(std::move(change));
}

std::uint32_t OverlayOs::Move(std::u16string_view from, std::u16string_view to) {
  const Entry source = Look(from), target = Look(to);
  if (source.code == err::kInvalidName || target.code == err::kInvalidName) {
    return err::kInvalidName;
  }
  if (source.code != err::kSuccess) return source.code;
  const bool itself = source.overlaid.key && source.overlaid.key == target.overlaid.key;
  if (target.code == err::kSuccess && !itself) return err::kAlreadyExists;
  if (target.code != err::kSuccess && target.code != err::kFileNotFound) return target.code;
  // Renaming a directory would take every name below it along; the program
  // renames files only.
  if (source.info.isDirectory) return kNotSupported;
  if (!source.overlaid.key || !target.overlaid.key) return err::kPathNotFound;
  if (Openers(*source.overlaid.key) > 0) return err::kSharingViolation;
  Rename(source, target, from, to, FileChange::Kind::kRenamed);
  return err::kSuccess;
}

std::uint32_t OverlayOs::CopyNew(std::u16string_view from, std::u16string_view to) {
  const Entry source = Look(from), target = Look(to);
  if (source.code == err::kInvalidName || target.code == err::kInvalidName) {
    return err::kInvalidName;
  }
  if (source.code != err::kSuccess) return source.code;
  if (source.info.isDirectory) return err::kAccessDenied;
  if (source.overlaid.key) {
    const auto use = uses_.find(*source.overlaid.key);
    if (use != uses_.end() && use->second.exclusive) return err::kSharingViolation;
  }
  if (target.code == err::kSuccess) return err::kFileExists;
  if (target.code != err::kFileNotFound) return target.code;
  if (!target.overlaid.key) return err::kPathNotFound;
  // The copy carries the bytes and the read-only attribute, not the identity.
  File copy = source.overlaid.file ? *source.overlaid.file : FromBase(from, source.info, false);
  copy.name = to;
  if (source.overlaid.file) copy.identity = NewIdentity();
  Put(*target.overlaid.key, std::move(copy));
  FileChange change;
  change.kind = FileChange::Kind::kCopied;
  change.name = to;
  change.from = from;
  changes_.push_back(std::move(change));
  return err::kSuccess;
}

std::uint32_t OverlayOs::Replace(std::u16string_view from, std::u16string_view to) {
  const Entry source = Look(from), target = Look(to);
  if (source.code == err::kInvalidName || target.code == err::kInvalidName) {
    return err::kInvalidName;
  }
  // The Windows layer looks at what is to be replaced first.
  const bool replaces = target.code == err::kSuccess;
  if (replaces && (target.info.isDirectory || target.info.readOnly)) return err::kAccessDenied;
  if (source.code != err::kSuccess) return source.code;
  if (!replaces && target.code != err::kFileNotFound) return target.code;
  if (!source.overlaid.key || !target.overlaid.key) return err::kPathNotFound;
  if (source.overlaid.key == target.overlaid.key) return err::kSuccess;
  if (source.info.isDirectory) return kNotSupported;
  if (Openers(*source.overlaid.key) > 0 || Openers(*target.overlaid.key) > 0) {
    return err::kSharingViolation;
  }
  Rename(source, target, from, to,
         replaces ? FileChange::Kind::kReplaced : FileChange::Kind::kRenamed);
  return err::kSuccess;
}

std::uint32_t OverlayOs::Remove(std::u16string_view name) {
  const Entry entry = Look(name);
  if (entry.code != err::kSuccess) return entry.code;
  if (entry.info.isDirectory) return err::kAccessDenied;
  if (!entry.overlaid.key) return err::kAccessDenied;
  if (Openers(*entry.overlaid.key) > 0) return err::kSharingViolation;
  Leave(*entry.overlaid.key, name);
  FileChange change;
  change.kind = FileChange::Kind::kRemoved;
  change.name = name;
  changes_.push_back(std::move(change));
  return err::kSuccess;
}

}  // namespace platform
