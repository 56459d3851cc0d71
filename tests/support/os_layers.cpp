#include "support/os_layers.h"

#include <set>
#include <stdexcept>

#include "platform/overlay_os.h"
#include "platform/utf8.h"
#include "support/change_replay.h"
#include "support/forwarding_os.h"
#include "support/memory_os.h"
#include "support/system.h"

namespace testing_support {

namespace {

namespace err = platform::err;

// A layer an overlay can be put over: its files as a Tree, named as the
// program's names map into it.
class BaseLayer : public LayerUnderTest {
 public:
  virtual Tree Files() = 0;
  virtual TreeName NameOf() = 0;
};

class SystemLayer final : public BaseLayer {
 public:
  platform::Os& Os() override { return SystemOs(); }
  std::u16string Path(std::u16string_view relative) const override { return dir_.Path(relative); }
  void MakeDir(std::u16string_view relative) override { dir_.MakeDir(relative); }
  void WriteBytes(std::u16string_view relative, const Bytes& bytes) override {
    dir_.WriteBytes(relative, bytes);
  }
  void SetReadOnly(std::u16string_view relative) override { dir_.SetReadOnly(relative); }
  Bytes ReadBytes(std::u16string_view relative) override { return dir_.ReadBytes(relative); }
  bool Exists(std::u16string_view relative) override { return dir_.Exists(relative); }
  Tree Files() override { return FilesUnder(dir_); }
  TreeName NameOf() override { return RelativeTo(dir_); }

 private:
  TempDir dir_;
};

class MemoryLayer final : public BaseLayer {
 public:
  MemoryLayer() {
    memory_.MakeDir(kRoot);
    limits.executableChosen = true;
    limits.latinLowerCaseOnly = true;
  }
  platform::Os& Os() override { return memory_; }
  std::u16string Path(std::u16string_view relative) const override {
    std::u16string path(kRoot);
    if (!relative.empty()) path.append(u"\\").append(relative);
    return path;
  }
  void MakeDir(std::u16string_view relative) override { memory_.MakeDir(Path(relative)); }
  void WriteBytes(std::u16string_view relative, const Bytes& bytes) override {
    memory_.PutFile(Path(relative), bytes);
  }
  void SetReadOnly(std::u16string_view relative) override {
    memory_.PutFile(Path(relative), ReadBytes(relative), true);
  }
  Bytes ReadBytes(std::u16string_view relative) override {
    const auto bytes = memory_.FileBytes(Path(relative));
    if (!bytes) throw std::runtime_error("no file " + platform::TextToUtf8(relative));
    return *bytes;
  }
  bool Exists(std::u16string_view relative) override { return memory_.Exists(Path(relative)); }
  Tree Files() override {
    Tree tree;
    for (const auto& [key, bytes] : memory_.Files()) tree[platform::TextToUtf8(key)] = bytes;
    return tree;
  }
  TreeName NameOf() override {
    return [this](std::u16string_view name) {
      const auto key = memory_.Key(name);
      if (!key) throw std::logic_error("a change names no file: " + platform::TextToUtf8(name));
      return platform::TextToUtf8(*key);
    };
  }

 private:
  static constexpr std::u16string_view kRoot = u"C:\\work";
  MemoryOs memory_;
};

// Passes reads on and refuses, and reports, every call that would change a
// file; counts the handles left open.
class ReadOnlyGuard final : public ForwardingOs {
 public:
  using ForwardingOs::ForwardingOs;

  std::string Misdeeds() const {
    std::string lines = misdeeds_;
    if (!open_.empty()) lines += std::to_string(open_.size()) + " handles left open\n";
    return lines;
  }

  std::uint32_t OpenExisting(std::u16string_view name, platform::FileHandle& handle) override {
    const auto code = ForwardingOs::OpenExisting(name, handle);
    if (code == err::kSuccess) open_.insert(handle);
    return code;
  }
  std::uint32_t OpenForReading(std::u16string_view name, platform::FileHandle& handle) override {
    const auto code = ForwardingOs::OpenForReading(name, handle);
    if (code == err::kSuccess) open_.insert(handle);
    return code;
  }
  std::uint32_t Close(platform::FileHandle handle) override {
    open_.erase(handle);
    return ForwardingOs::Close(handle);
  }
  std::uint32_t CreateAlways(std::u16string_view name, platform::FileHandle& handle) override {
    handle = 0;
    return Refuse("CreateAlways", name);
  }
  std::uint32_t Write(platform::FileHandle, const void*, std::uint32_t,
                      std::uint32_t& done) override {
    done = 0;
    return Refuse("Write", u"");
  }
  std::uint32_t Move(std::u16string_view from, std::u16string_view) override {
    return Refuse("Move", from);
  }
  std::uint32_t CopyNew(std::u16string_view, std::u16string_view to) override {
    return Refuse("CopyNew", to);
  }
  std::uint32_t Replace(std::u16string_view, std::u16string_view to) override {
    return Refuse("Replace", to);
  }
  std::uint32_t Remove(std::u16string_view name) override { return Refuse("Remove", name); }

 private:
  std::uint32_t Refuse(const char* call, std::u16string_view name) {
    misdeeds_ += std::string(call) + " through the base: " + platform::TextToUtf8(name) + "\n";
    return err::kAccessDenied;
  }

  std::string misdeeds_;
  std::set<platform::FileHandle> open_;
};

// The files as the overlay's list of changes leaves the base's.
class OverlayLayer final : public LayerUnderTest {
 public:
  explicit OverlayLayer(std::unique_ptr<BaseLayer> base)
      : base_(std::move(base)), guard_(base_->Os()), overlay_(guard_) {
    limits = base_->limits;
  }
  platform::Os& Os() override { return overlay_; }
  std::u16string Path(std::u16string_view relative) const override { return base_->Path(relative); }
  void MakeDir(std::u16string_view relative) override { base_->MakeDir(relative); }
  void WriteBytes(std::u16string_view relative, const Bytes& bytes) override {
    base_->WriteBytes(relative, bytes);
  }
  void SetReadOnly(std::u16string_view relative) override { base_->SetReadOnly(relative); }
  Bytes ReadBytes(std::u16string_view relative) override {
    const Tree files = Seen();
    const auto found = files.find(base_->NameOf()(Path(relative)));
    if (found == files.end()) throw std::runtime_error("no file " + platform::TextToUtf8(relative));
    return found->second;
  }
  bool Exists(std::u16string_view relative) override {
    const std::string name = base_->NameOf()(Path(relative));
    if (Seen().count(name) != 0) return true;
    // A file the overlay took away; else a directory, which only the base has.
    return base_->Files().count(name) == 0 && base_->Exists(relative);
  }
  std::string Misdeeds() override { return guard_.Misdeeds(); }

 private:
  Tree Seen() { return Replayed(base_->Files(), overlay_.Changes(), base_->NameOf()); }

  std::unique_ptr<BaseLayer> base_;
  ReadOnlyGuard guard_;
  platform::OverlayOs overlay_;
};

}  // namespace

std::vector<LayerKind> ContractLayers() {
  return {
      {"System", [] { return std::make_unique<SystemLayer>(); }},
      {"Memory", [] { return std::make_unique<MemoryLayer>(); }},
      {"OverlayOnSystem",
       [] { return std::make_unique<OverlayLayer>(std::make_unique<SystemLayer>()); }},
      {"OverlayOnMemory",
       [] { return std::make_unique<OverlayLayer>(std::make_unique<MemoryLayer>()); }},
  };
}

}  // namespace testing_support
