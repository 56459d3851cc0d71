#include "shell/controls.h"

namespace shell {

namespace {

constexpr std::u16string_view kLineBreak = u"\r\n";

}  // namespace

void Log(LogControl& mmo_Log, std::u16string_view Zapis) {
  std::u16string text;
  text.reserve(Zapis.size() + kLineBreak.size());
  if (mmo_Log.EndsWithLineBreak()) {
    AppendShownInBox(text, Zapis);
    text.append(kLineBreak);
  } else {
    text.append(kLineBreak);
    AppendShownInBox(text, Zapis);
  }
  mmo_Log.AppendText(text);
}

void AppendShownInBox(std::u16string& text, std::u16string_view more) {
  constexpr std::u16string_view kNulMark = u"<NUL>";
  for (std::size_t start = 0;;) {
    const auto nul = more.find(u'\0', start);
    text.append(more.substr(start, nul - start));
    if (nul == std::u16string_view::npos) return;
    text.append(kNulMark);
    start = nul + 1;
  }
}

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

}  // namespace shell
