#include "support/change_replay.h"

#include <filesystem>
#include <stdexcept>

#include "platform/utf8.h"

namespace testing_support {

namespace fs = std::filesystem;
using Kind = platform::FileChange::Kind;

namespace {

const Bytes& Present(const Tree& files, const std::string& name) {
  const auto found = files.find(name);
  if (found == files.end()) throw std::logic_error("a change names no file: " + name);
  return found->second;
}

}  // namespace

Tree Replayed(Tree files, const platform::FileChanges& changes, const TreeName& nameOf) {
  for (const auto& change : changes) {
    const std::string name = nameOf(change.name);
    switch (change.kind) {
      case Kind::kCreated:
      case Kind::kEmptied:
        files[name].clear();
        break;
      case Kind::kWritten: {
        Bytes bytes = Present(files, name);
        if (bytes.size() < change.offset) bytes.resize(change.offset, '\0');
        if (bytes.substr(change.offset, change.after.size()) != change.before) {
          throw std::logic_error("a write's bytes before are not the file's: " + name);
        }
        bytes.replace(change.offset, change.before.size(), change.after);
        files[name] = bytes;
        break;
      }
      case Kind::kRenamed:
      case Kind::kReplaced: {
        const std::string from = nameOf(change.from);
        Bytes bytes = Present(files, from);
        if ((change.kind == Kind::kReplaced) != (files.count(name) != 0)) {
          throw std::logic_error("a rename onto a file, or a replacement of none: " + name);
        }
        files.erase(from);
        files[name] = std::move(bytes);
        break;
      }
      case Kind::kRemoved:
        Present(files, name);
        files.erase(name);
        break;
      case Kind::kCopied:
        files[name] = Present(files, nameOf(change.from));
        break;
    }
  }
  return files;
}

Tree FilesUnder(const TempDir& dir) {
  Tree tree;
  const fs::path root = dir.Native(u"");
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    const fs::path relative = fs::relative(entry.path(), root);
    tree[platform::TextToUtf8(relative.generic_u16string())] = dir.ReadBytes(relative.u16string());
  }
  return tree;
}

TreeName RelativeTo(const TempDir& dir) {
  const std::u16string root = dir.Path();
  return [root](std::u16string_view name) {
    if (name.substr(0, root.size()) != root) {
      throw std::logic_error("a change outside the folder: " + platform::TextToUtf8(name));
    }
    std::u16string relative;
    for (char16_t c : name.substr(root.size())) {
      if (c == u'\\') c = u'/';
      if (c == u'/' && (relative.empty() || relative.back() == u'/')) continue;
      relative += c;
    }
    return platform::TextToUtf8(relative);
  };
}

}  // namespace testing_support
