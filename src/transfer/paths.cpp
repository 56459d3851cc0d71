#include "transfer/paths.h"

namespace transfer {

std::u16string SlashStr(std::u16string_view path) {
  std::u16string result;
  AppendSlashStr(result, path);
  return result;
}

void AppendSlashStr(std::u16string& text, std::u16string_view path) {
  text.append(path);
  if (path.empty() || path.back() != u'\\') text += u'\\';
}

std::u16string_view TrimControls(std::u16string_view text) {
  while (!text.empty() && text.front() <= u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() <= u' ') text.remove_suffix(1);
  return text;
}

bool ClimbsOut(std::u16string_view relative) {
  std::size_t dots = 0;
  bool onlyDotsAndBlanks = true;
  for (std::size_t i = 0; i <= relative.size(); ++i) {
    if (i == relative.size() || relative[i] == u'\\' || relative[i] == u'/') {
      if (onlyDotsAndBlanks && dots >= 2) return true;
      dots = 0;
      onlyDotsAndBlanks = true;
    } else if (relative[i] == u'.') {
      ++dots;
    } else if (relative[i] != u' ') {
      onlyDotsAndBlanks = false;
    }
  }
  return false;
}

}  // namespace transfer
