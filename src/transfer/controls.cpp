#include "transfer/controls.h"

namespace transfer {

std::vector<std::u16string> SplitLines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const auto end = text.find_first_of(u"\r\n", start);
    if (end == std::u16string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    // CR LF is one break; a lone CR or LF counts as one too.
    start = end + ((text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n') ? 2 : 1);
  }
  return lines;
}

}  // namespace transfer
