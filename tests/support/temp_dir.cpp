#include "support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/utf8.h"

namespace fs = std::filesystem;

namespace testing_support {

namespace {

fs::path RelativePath(std::u16string_view relative) {
  std::u16string text(relative);
  for (auto& c : text) {
    if (c == u'\\') c = u'/';
  }
  return fs::path(text);
}

std::string Letters(std::uint64_t number) {
  std::string text;
  do {
    text += static_cast<char>('a' + number % 26);
    number /= 26;
  } while (number != 0);
  return text;
}

}  // namespace

TempDir::TempDir(const std::filesystem::path& base) {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  // Letters only: the number in an installation path names its files, so
  // the fixture's own folder must bring no digits into it.
  root_ = base /
          ("dopliki-test-" + Letters(static_cast<std::uint64_t>(stamp)) + "-" + Letters(counter++));
  fs::create_directories(root_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  // Read-only files must be writable again before they can go everywhere.
  for (auto it = fs::recursive_directory_iterator(root_, ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
  }
  fs::remove_all(root_, ignored);
}

std::u16string TempDir::Path(std::u16string_view relative) const {
  std::u16string path = root_.u16string();
  if (!relative.empty()) {
    path += u'\\';
    path += relative;
  }
  return path;
}

fs::path TempDir::Native(std::u16string_view relative) const {
  return relative.empty() ? root_ : root_ / RelativePath(relative);
}

void TempDir::MakeDir(std::u16string_view relative) const {
  fs::create_directories(Native(relative));
}

void TempDir::WriteBytes(std::u16string_view relative, const Bytes& bytes) const {
  std::ofstream out(Native(relative), std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("fixture: cannot write " + platform::TextToUtf8(relative));
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

Bytes TempDir::ReadBytes(std::u16string_view relative) const {
  std::ifstream in(Native(relative), std::ios::binary);
  if (!in) throw std::runtime_error("fixture: cannot read " + platform::TextToUtf8(relative));
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool TempDir::Exists(std::u16string_view relative) const {
  std::error_code ignored;
  return fs::exists(fs::symlink_status(Native(relative), ignored));
}

void TempDir::SetReadOnly(std::u16string_view relative, bool readOnly) const {
  // On Windows the owner's write bit is the read-only attribute.
  const auto writeBits = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  fs::permissions(Native(relative), writeBits,
                  readOnly ? fs::perm_options::remove : fs::perm_options::add);
}

}  // namespace testing_support
