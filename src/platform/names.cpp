#include "platform/names.h"

namespace platform {

namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 0x20) : c; }

bool InDeviceNamespace(std::u16string_view name) {
  if (name.size() < 4 || !IsSeparator(name[0]) || !IsSeparator(name[3])) return false;
  const bool dotOrQuestion = IsSeparator(name[1]) && (name[2] == u'.' || name[2] == u'?');
  const bool ntPrefix = name[1] == u'?' && name[2] == u'?';
  return dotOrQuestion || ntPrefix;
}

// The part of the last component before any extension or stream, without the
// blanks the system drops.
std::u16string_view DeviceBase(std::u16string_view name) {
  while (!name.empty() && IsSeparator(name.back())) name.remove_suffix(1);
  std::size_t start = name.size();
  while (start > 0 && !IsSeparator(name[start - 1])) --start;
  if (start == 0 && name.size() >= 2 && name[1] == u':') start = 2;  // "C:NUL"
  std::size_t end = start;
  while (end < name.size() && name[end] != u'.' && name[end] != u':') ++end;
  while (end > start && name[end - 1] == u' ') --end;
  return name.substr(start, end - start);
}

bool SameLetters(std::u16string_view text, std::u16string_view upper) {
  if (text.size() != upper.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (Upper(text[i]) != upper[i]) return false;
  }
  return true;
}

}  // namespace

bool NamesDevice(std::u16string_view name) {
  if (InDeviceNamespace(name)) return true;
  const std::u16string_view base = DeviceBase(name);
  if (base.size() < 3 || base.size() > 7) return false;  // the usual case, quickly
  for (const std::u16string_view device : {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"}) {
    if (SameLetters(base, device)) return true;
  }
  // COM1 to COM9 and LPT1 to LPT9; newer systems also take a superscript digit.
  if (base.size() != 4 ||
      !(SameLetters(base.substr(0, 3), u"COM") || SameLetters(base.substr(0, 3), u"LPT"))) {
    return false;
  }
  const char16_t digit = base[3];
  return (digit >= u'1' && digit <= u'9') || digit == u'\u00B9' || digit == u'\u00B2' ||
         digit == u'\u00B3';
}

std::u16string OrdinaryPath(std::u16string path) {
  const auto startsWith = [&](std::u16string_view prefix) {
    return path.size() >= prefix.size() &&
           SameLetters(std::u16string_view(path).substr(0, prefix.size()), prefix);
  };
  if (startsWith(u"\\\\?\\UNC\\")) return path.replace(0, 8, u"\\\\");
  if (startsWith(u"UNC\\")) return path.replace(0, 4, u"\\\\");
  if (startsWith(u"\\\\?\\") && path.size() >= 6 && path[5] == u':') return path.erase(0, 4);
  return path;
}

}  // namespace platform
