#include "shell/folder_field.h"

namespace shell {

namespace {

constexpr std::u16string_view kCurrentDriveRoot = u"\\";

}  // namespace

Named WhatIsNamed(platform::Os& os, std::u16string_view path) {
  platform::EntryInfo info;
  if (os.Attributes(path, info) != 0) return Named::kNothing;
  return info.isDirectory ? Named::kFolder : Named::kFile;
}

std::u16string StartingFolder(std::u16string_view text, std::u16string_view lastChosen,
                              const std::function<bool(std::u16string_view)>& isFolder) {
  std::u16string_view start = text;
  if (start.empty()) start = lastChosen.empty() ? kCurrentDriveRoot : lastChosen;
  return std::u16string(isFolder(start) ? start : kCurrentDriveRoot);
}

std::u16string DroppedText(std::u16string_view path, bool isFile) {
  std::u16string_view text = path;
  if (isFile) {
    const auto slash = text.rfind(u'\\');
    text = slash == std::u16string_view::npos ? std::u16string_view() : text.substr(0, slash + 1);
  }
  if (!text.empty() && text.back() == u'\\') text.remove_suffix(1);
  return std::u16string(text);
}

std::u16string_view SuggestionFolder(std::u16string_view typed) {
  const auto slash = typed.rfind(u'\\');
  return slash == std::u16string_view::npos ? std::u16string_view() : typed.substr(0, slash + 1);
}

}  // namespace shell
