#include "transfer/journal.h"

#include <charconv>

#include "platform/utf8.h"
#include "transfer/crc32.h"

namespace transfer {

namespace {

constexpr char kSeparator = '\t';
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kRun = "PRZEBIEG";
constexpr std::string_view kAnnual = "REMANENT";
constexpr std::string_view kCopy = "KOPIA";
constexpr std::string_view kRestoring = "PRZYWRACANIE";
constexpr std::string_view kUndone = "COFNIETY";
constexpr std::string_view kMovedAside = ".old";
constexpr std::string_view kNotMoved = "-";
constexpr char kHexDigits[] = "0123456789ABCDEF";

// --- writing ---

void AppendHex(std::string& line, std::uint64_t value, int digits) {
  for (int i = digits - 1; i >= 0; --i) line += kHexDigits[(value >> (4 * i)) & 0xF];
}

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void AppendText(std::string& line, std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsHigh(c) && i + 1 < text.size() && IsLow(text[i + 1])) {
      line += platform::TextToUtf8(text.substr(i, 2));
      ++i;
    } else if (IsHigh(c) || IsLow(c)) {
      line += "%u";
      AppendHex(line, c, 4);
    } else if (c < 0x20 || c == 0x7F || c == u'%') {
      line += '%';
      AppendHex(line, c, 2);
    } else {
      line += platform::TextToUtf8(text.substr(i, 1));
    }
  }
}

void AppendBytes(std::string& line, const std::uint8_t* bytes, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) AppendHex(line, bytes[i], 2);
}

class LineWriter {
 public:
  explicit LineWriter(std::string_view kind) : line_(kind) {}
  LineWriter& Text(std::u16string_view text) {
    line_ += kSeparator;
    AppendText(line_, text);
    return *this;
  }
  LineWriter& Word(std::string_view word) {
    line_ += kSeparator;
    line_ += word;
    return *this;
  }
  LineWriter& Number(std::uint64_t value) { return Word(std::to_string(value)); }
  LineWriter& Bytes(const std::uint8_t* bytes, std::size_t size) {
    line_ += kSeparator;
    AppendBytes(line_, bytes, size);
    return *this;
  }
  std::string Finish() {
    line_ += kSeparator;
    AppendHex(line_, Crc32(line_), 8);
    line_ += kLineEnd;
    return std::move(line_);
  }

 private:
  std::string line_;
};

std::string Encode(const RunEntry& e) {
  return LineWriter(kRun).Number(e.run).Text(e.source).Text(e.dest).Text(e.time).Finish();
}

std::string Encode(std::uint32_t run, const AnnualChange& c) {
  return LineWriter(kAnnual)
      .Number(run)
      .Text(c.path)
      .Number(c.offset)
      .Bytes(c.before.data(), c.before.size())
      .Bytes(c.after.data(), c.after.size())
      .Finish();
}

std::string Encode(std::uint32_t run, const CopyChange& c) {
  LineWriter line(kCopy);
  line.Number(run).Text(c.target).Number(c.size).Bytes(c.hash.data(), c.hash.size());
  if (!c.movedAside) return line.Word(kNotMoved).Finish();
  return line.Word(kMovedAside)
      .Number(c.replacedSize)
      .Bytes(c.replacedHash.data(), c.replacedHash.size())
      .Finish();
}

std::string Encode(const ChangeEntry& e) {
  return std::visit([&](const auto& change) { return Encode(e.run, change); }, e.change);
}

std::string Encode(const RestoringEntry& e) {
  return LineWriter(kRestoring).Number(e.run).Number(e.change).Finish();
}

std::string Encode(const UndoneEntry& e) { return LineWriter(kUndone).Number(e.run).Finish(); }

// --- reading ---

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<std::uint32_t> Hex(std::string_view digits) {
  std::uint32_t value = 0;
  for (const char c : digits) {
    const int digit = HexValue(c);
    if (digit < 0) return std::nullopt;
    value = value << 4 | static_cast<std::uint32_t>(digit);
  }
  return value;
}

// A strict UTF-8 sequence at `at`: no overlong form, no surrogate, nothing
// beyond U+10FFFF. Advances past it.
std::optional<char32_t> Utf8At(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<std::uint8_t>(text[at]);
  std::size_t length = 0;
  char32_t c = 0;
  if (lead < 0x80) {
    ++at;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, c = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, c = lead & 0x07;
  } else {
    return std::nullopt;
  }
  if (text.size() - at < length) return std::nullopt;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<std::uint8_t>(text[at + i]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    c = c << 6 | (next & 0x3F);
  }
  const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < least[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
  at += length;
  return c;
}

std::optional<std::u16string> ReadText(std::string_view field) {
  std::u16string text;
  for (std::size_t at = 0; at < field.size();) {
    const char c = field[at];
    if (c == '%') {
      const bool unit = at + 1 < field.size() && field[at + 1] == 'u';
      const std::size_t digits = unit ? 4 : 2, start = at + (unit ? 2 : 1);
      if (field.size() - start < digits) return std::nullopt;
      const auto value = Hex(field.substr(start, digits));
      if (!value || (!unit && *value >= 0x80)) return std::nullopt;
      text += static_cast<char16_t>(*value);
      at = start + digits;
      continue;
    }
    // A control character is always escaped: a raw one is damage.
    if (static_cast<std::uint8_t>(c) < 0x20 || c == 0x7F) return std::nullopt;
    const auto code = Utf8At(field, at);
    if (!code) return std::nullopt;
    if (*code >= 0x10000) {
      text += static_cast<char16_t>(0xD800 + ((*code - 0x10000) >> 10));
      text += static_cast<char16_t>(0xDC00 + ((*code - 0x10000) & 0x3FF));
    } else {
      text += static_cast<char16_t>(*code);
    }
  }
  return text;
}

// A decimal number as the writer writes it: digits only, no leading zero.
template <typename Number>
std::optional<Number> ReadNumber(std::string_view field) {
  if (field.empty() || (field.size() > 1 && field[0] == '0')) return std::nullopt;
  Number value = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (error != std::errc() || end != field.data() + field.size()) return std::nullopt;
  return value;
}

template <std::size_t N>
std::optional<std::array<std::uint8_t, N>> ReadBytes(std::string_view field) {
  if (field.size() != 2 * N) return std::nullopt;
  std::array<std::uint8_t, N> bytes{};
  for (std::size_t i = 0; i < N; ++i) {
    const auto value = Hex(field.substr(2 * i, 2));
    if (!value) return std::nullopt;
    bytes[i] = static_cast<std::uint8_t>(*value);
  }
  return bytes;
}

std::vector<std::string_view> Split(std::string_view body) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const auto end = body.find(kSeparator, start);
    fields.push_back(body.substr(start, end - start));
    if (end == std::string_view::npos) return fields;
    start = end + 1;
  }
}

std::optional<JournalEntry> DecodeRun(const std::vector<std::string_view>& f) {
  if (f.size() != 5) return std::nullopt;
  const auto run = ReadNumber<std::uint32_t>(f[1]);
  auto source = ReadText(f[2]), dest = ReadText(f[3]), time = ReadText(f[4]);
  if (!run || !source || !dest || !time) return std::nullopt;
  return RunEntry{*run, std::move(*source), std::move(*dest), std::move(*time)};
}

std::optional<JournalEntry> DecodeAnnual(const std::vector<std::string_view>& f) {
  if (f.size() != 6) return std::nullopt;
  const auto run = ReadNumber<std::uint32_t>(f[1]);
  auto path = ReadText(f[2]);
  const auto offset = ReadNumber<std::uint32_t>(f[3]);
  const auto before = ReadBytes<8>(f[4]), after = ReadBytes<8>(f[5]);
  if (!run || !path || !offset || !before || !after) return std::nullopt;
  return ChangeEntry{*run, AnnualChange{std::move(*path), *offset, *before, *after}};
}

std::optional<JournalEntry> DecodeCopy(const std::vector<std::string_view>& f) {
  const bool movedAside = f.size() == 8 && f[5] == kMovedAside;
  if (!movedAside && (f.size() != 6 || f[5] != kNotMoved)) return std::nullopt;
  const auto run = ReadNumber<std::uint32_t>(f[1]);
  auto target = ReadText(f[2]);
  const auto size = ReadNumber<std::uint64_t>(f[3]);
  const auto hash = ReadBytes<32>(f[4]);
  if (!run || !target || !size || !hash) return std::nullopt;
  CopyChange copy{std::move(*target), movedAside, *size, *hash};
  if (movedAside) {
    const auto replacedSize = ReadNumber<std::uint64_t>(f[6]);
    const auto replacedHash = ReadBytes<32>(f[7]);
    if (!replacedSize || !replacedHash) return std::nullopt;
    copy.replacedSize = *replacedSize;
    copy.replacedHash = *replacedHash;
  }
  return ChangeEntry{*run, std::move(copy)};
}

std::optional<JournalEntry> DecodeRestoring(const std::vector<std::string_view>& f) {
  if (f.size() != 3) return std::nullopt;
  const auto run = ReadNumber<std::uint32_t>(f[1]), change = ReadNumber<std::uint32_t>(f[2]);
  if (!run || !change) return std::nullopt;
  return RestoringEntry{*run, *change};
}

std::optional<JournalEntry> DecodeUndone(const std::vector<std::string_view>& f) {
  if (f.size() != 2) return std::nullopt;
  const auto run = ReadNumber<std::uint32_t>(f[1]);
  if (!run) return std::nullopt;
  return UndoneEntry{*run};
}

std::uint32_t RunOf(const JournalEntry& entry) {
  return std::visit([](const auto& e) { return e.run; }, entry);
}

// Puts the entries of whole lines together into runs, in the order the
// writers appended them, and notes every line that cannot be applied.
class RunBuilder {
 public:
  explicit RunBuilder(Journal& journal) : journal_(journal) {}

  void Add(std::size_t line, std::optional<JournalEntry> entry) {
    if (!entry) return Problem(line, JournalProblem::Kind::kDamaged);
    journal_.lastRun = std::max(journal_.lastRun, RunOf(*entry));
    if (!std::visit([&](const auto& e) { return Apply(line, e); }, *entry)) {
      Problem(line, JournalProblem::Kind::kOutOfPlace);
    }
  }

 private:
  void Problem(std::size_t line, JournalProblem::Kind kind) {
    journal_.problems.push_back({line, kind});
  }

  JournalRun* Find(std::uint32_t run) {
    for (auto& r : journal_.runs) {
      if (r.start.run == run) return &r;
    }
    return nullptr;
  }

  bool Apply(std::size_t line, const RunEntry& e) {
    if (e.run <= highestStarted_) return false;
    highestStarted_ = e.run;
    journal_.runs.push_back({e, line, {}, {}, {}, false});
    open_ = true;
    return true;
  }

  bool Apply(std::size_t line, const ChangeEntry& e) {
    // Changes follow their run's entry; an undo's entries close the run.
    if (!open_ || journal_.runs.back().start.run != e.run) return false;
    journal_.runs.back().changes.push_back(e.change);
    journal_.runs.back().changeLines.push_back(line);
    return true;
  }

  bool Apply(std::size_t, const RestoringEntry& e) {
    JournalRun* run = Find(e.run);
    if (!run || run->undone || e.change < 1 || e.change > run->changes.size()) return false;
    run->restoring.insert(e.change);
    open_ = false;
    return true;
  }

  bool Apply(std::size_t, const UndoneEntry& e) {
    JournalRun* run = Find(e.run);
    if (!run || run->undone) return false;
    run->undone = true;
    open_ = false;
    return true;
  }

  Journal& journal_;
  std::uint32_t highestStarted_ = 0;
  // The newest run still takes changes: nothing but its changes came after it.
  bool open_ = false;
};

}  // namespace

std::string JournalHeader() {
  std::string header(kJournalTitle);
  return header.append(" ").append(kJournalVersion).append(kLineEnd);
}

std::string EncodeEntry(const JournalEntry& entry) {
  return std::visit([](const auto& e) { return Encode(e); }, entry);
}

std::optional<JournalEntry> DecodeEntry(std::string_view line) {
  const auto lastSeparator = line.rfind(kSeparator);
  if (lastSeparator == std::string_view::npos || line.size() - lastSeparator != 9) {
    return std::nullopt;
  }
  const auto check = Hex(line.substr(lastSeparator + 1));
  if (!check || *check != Crc32(line.substr(0, lastSeparator + 1))) return std::nullopt;
  const auto fields = Split(line.substr(0, lastSeparator));
  const std::string_view kind = fields[0];
  if (kind == kRun) return DecodeRun(fields);
  if (kind == kAnnual) return DecodeAnnual(fields);
  if (kind == kCopy) return DecodeCopy(fields);
  if (kind == kRestoring) return DecodeRestoring(fields);
  if (kind == kUndone) return DecodeUndone(fields);
  return std::nullopt;
}

Journal ParseJournal(std::string_view bytes) {
  Journal journal;
  journal.state = JournalState::kReadable;
  // A UTF-8 byte order mark, as an editor may put before the first line.
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  const std::size_t start = bytes.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
  const auto headerEnd = bytes.find('\n', start);
  const std::string header = JournalHeader();
  if (headerEnd == std::string_view::npos) {
    // The first line cut short while the journal was made holds no entry.
    const auto rest = bytes.substr(start);
    if (header.starts_with(rest)) {
      journal.tornTail = !bytes.empty();
      return journal;
    }
    journal.state = JournalState::kNotJournal;
    journal.firstLine = rest;
    return journal;
  }
  std::string_view first = bytes.substr(start, headerEnd - start);
  if (first.ends_with('\r')) first.remove_suffix(1);
  journal.firstLine = first;
  if (first != std::string_view(header).substr(0, header.size() - kLineEnd.size())) {
    const bool titled = first.starts_with(kJournalTitle) && first.size() > kJournalTitle.size() &&
                        first[kJournalTitle.size()] == ' ';
    journal.state = titled ? JournalState::kOtherVersion : JournalState::kNotJournal;
    return journal;
  }
  journal.whole = headerEnd + 1;
  RunBuilder runs(journal);
  std::size_t lineNumber = 1;
  for (std::size_t at = journal.whole; at < bytes.size();) {
    const auto end = bytes.find('\n', at);
    if (end == std::string_view::npos) {
      journal.tornTail = true;
      break;
    }
    std::string_view line = bytes.substr(at, end - at);
    if (line.ends_with('\r')) line.remove_suffix(1);
    runs.Add(++lineNumber, DecodeEntry(line));
    at = journal.whole = end + 1;
  }
  return journal;
}

}  // namespace transfer
