#include "transfer/paths.h"

namespace transfer {

std::u16string SlashStr(std::u16string_view path) {
  std::u16string result(path);
  if (result.empty() || result.back() != u'\\') result += u'\\';
  return result;
}

std::u16string_view TrimControls(std::u16string_view text) {
  while (!text.empty() && text.front() <= u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() <= u' ') text.remove_suffix(1);
  return text;
}

}  // namespace transfer
