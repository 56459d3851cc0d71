#include "shell/application_title.h"

namespace shell {

namespace {

constexpr std::size_t kMaxPath = 255;

bool Between(char16_t unit, char16_t first, char16_t last) { return unit >= first && unit <= last; }

}  // namespace

char16_t ToLower(char16_t u) {
  const auto plus = [u](int offset) { return static_cast<char16_t>(u + offset); };
  if (Between(u, u'A', u'Z')) return plus(0x20);
  // Latin-1: À to Þ, but the multiplication sign.
  if (Between(u, u'\u00C0', u'\u00DE') && u != u'\u00D7') return plus(0x20);
  // Latin Extended-A: pairs of capital and small letter, ą ć ę ł ń ś ź ż among them.
  if (Between(u, u'\u0100', u'\u012F') || Between(u, u'\u0132', u'\u0137') ||
      Between(u, u'\u014A', u'\u0177')) {
    return u % 2 == 0 ? plus(1) : u;
  }
  if (Between(u, u'\u0139', u'\u0148') || Between(u, u'\u0179', u'\u017E')) {
    return u % 2 == 1 ? plus(1) : u;
  }
  if (u == u'\u0178') return u'\u00FF';
  // Greek.
  if (Between(u, u'\u0391', u'\u03AB') && u != u'\u03A2') return plus(0x20);
  if (u == u'\u0386') return u'\u03AC';
  if (Between(u, u'\u0388', u'\u038A')) return plus(0x25);
  if (u == u'\u038C') return u'\u03CC';
  if (u == u'\u038E' || u == u'\u038F') return plus(0x3F);
  // Cyrillic.
  if (Between(u, u'\u0410', u'\u042F')) return plus(0x20);
  if (Between(u, u'\u0400', u'\u040F')) return plus(0x50);
  return u;
}

std::u16string ApplicationTitle(std::u16string_view executablePath) {
  std::u16string_view name = executablePath.substr(0, kMaxPath);
  if (const auto slash = name.rfind(u'\\'); slash != std::u16string_view::npos) {
    name.remove_prefix(slash + 1);
  }
  name = name.substr(0, name.find(u'.'));
  std::u16string title(name);
  for (std::size_t i = 1; i < title.size(); ++i) title[i] = ToLower(title[i]);
  return title;
}

}  // namespace shell
