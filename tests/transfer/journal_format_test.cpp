// The undo journal's format: entries read back as written whatever their
// paths hold; the bytes of a journal as a person sees them stay those of
// format 1 (journals are kept for years); a torn last entry is ignored, a
// damaged or misplaced one reported, another version or file recognised.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/utf8.h"
#include "transfer/journal.h"

namespace {

using transfer::AnnualChange;
using transfer::ChangeEntry;
using transfer::CopyChange;
using transfer::JournalEntry;
using transfer::JournalProblem;
using transfer::JournalState;
using transfer::RestoringEntry;
using transfer::RunEntry;
using transfer::UndoneEntry;
using Kind = JournalProblem::Kind;

std::string Utf8(std::u16string_view text) { return platform::TextToUtf8(text); }

// A line without its line end, as the reader hands it to DecodeEntry.
std::string_view Body(const std::string& line) {
  return std::string_view(line).substr(0, line.size() - 2);
}

std::u16string LongPath() {
  std::u16string path = u"C:\\";
  while (path.size() < 5000) path += u"Zażółć gęślą jaźń 100% \\";
  return path;
}

const std::u16string kAwkward[] = {
    u"",
    u"C:\\Programy\\ZETKA_WX_2009\\ŻÓŁW Sp. z o.o.\\2009_ROK.REK",
    u"\\\\serwer\\udział\\ąćęłńóśźż ĄĆĘŁŃÓŚŹŻ\\BAZA_DW8.REK",
    u"100% %25 %u0041 %% %",
    u"tab\there, CR\rLF\nCRLF\r\n, \x01\x1F\x7F",
    u"half pairs \xD800 x \xDC00 \xDBFF",
    u"a pair \xD83D\xDE00 and U+FFFF \xFFFF and U+0080 \x0080",
    LongPath(),
};

std::vector<JournalEntry> EntriesWith(const std::u16string& text) {
  transfer::ValueBytes zeros{}, ones;
  ones.fill(0xFF);
  transfer::Sha256Digest hash;
  for (std::size_t i = 0; i < hash.size(); ++i) hash[i] = static_cast<std::uint8_t>(i * 37);
  return {
      RunEntry{1, text, u"D:\\" + text, text},
      RunEntry{UINT32_MAX, u"C:\\a\\", u"C:\\b\\", u""},
      ChangeEntry{2, AnnualChange{text, 150, zeros, ones}},
      ChangeEntry{3, AnnualChange{text, UINT32_MAX, ones, zeros}},
      ChangeEntry{4, CopyChange{text, true, UINT64_MAX, hash, 17, {9, 8, 7}}},
      ChangeEntry{5, CopyChange{text, false, 0, {}}},
      RestoringEntry{6, UINT32_MAX},
      UndoneEntry{UINT32_MAX},
  };
}

TEST(JournalFormatTest, EveryEntryReadsBackAsWritten) {
  for (const auto& text : kAwkward) {
    for (const auto& entry : EntriesWith(text)) {
      const std::string line = transfer::EncodeEntry(entry);
      ASSERT_TRUE(line.ends_with("\r\n")) << Utf8(text);
      // One line: no line end, no control character but the field separators.
      for (const char c : Body(line)) {
        EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\t') << Utf8(text);
      }
      const auto read = transfer::DecodeEntry(Body(line));
      ASSERT_TRUE(read.has_value()) << line;
      EXPECT_EQ(*read, entry) << line;
    }
  }
}

// Polish letters and blanks stay as they are: a person reads the paths.
TEST(JournalFormatTest, PathsReadAsTheyAre) {
  const std::string line =
      transfer::EncodeEntry(RunEntry{1, u"C:\\Firma ŻÓŁW\\", u"D:\\100%\\", u""});
  EXPECT_NE(line.find("\tC:\\Firma ŻÓŁW\\\t"), std::string::npos) << line;
  EXPECT_NE(line.find("\tD:\\100%25\\\t"), std::string::npos) << line;
}

// An office reads journals of years past: format 1 is these bytes for good.
TEST(JournalFormatTest, FormatOneAsWritten) {
  transfer::ValueBytes before{}, after{0, 0, 0, 0, 0, 0xE0, 0x5B, 0x40};
  const std::u16string folder = u"C:\\Programy\\ZETKA_WX_2009\\ŻÓŁW 100%\\";
  std::string journal = transfer::JournalHeader();
  for (const JournalEntry& entry : std::vector<JournalEntry>{
           RunEntry{1, u"C:\\zetka_2008\\", u"C:\\Programy\\ZETKA_WX_2009\\", u"2009-01-12 10:15"},
           ChangeEntry{1, AnnualChange{folder + u"2009_ROK.REK", 150, before, after}},
           ChangeEntry{
               1, CopyChange{folder + u"BAZA_DW8.REK", true, 6, transfer::Sha256::Of("nowy-c"), 7,
                             transfer::Sha256::Of("stary-c")}},
           RestoringEntry{1, 1},
           UndoneEntry{1},
       }) {
    journal += transfer::EncodeEntry(entry);
  }
  EXPECT_EQ(journal,
            "dopliki32 - dziennik zmian do cofnięcia, format 1\r\n"
            "PRZEBIEG\t1\tC:\\zetka_2008\\\tC:\\Programy\\ZETKA_WX_2009\\\t2009-01-12 "
            "10:15\t7C425369\r\n"
            "REMANENT\t1\tC:\\Programy\\ZETKA_WX_2009\\ŻÓŁW 100%25\\2009_ROK.REK\t150\t"
            "0000000000000000\t0000000000E05B40\t8F4AA20D\r\n"
            "KOPIA\t1\tC:\\Programy\\ZETKA_WX_2009\\ŻÓŁW 100%25\\BAZA_DW8.REK\t6\t"
            "6AFFDE79C5F482EB88675F5EC6C4BE99104F236CC68FB09DD3C52C7C80433521\t.old\t7\t"
            "AE9D3F81573EF21D6B16473129092B1085F17CFD65B94DADF2D3BCD0D8695862\tAA6E78D1\r\n"
            "PRZYWRACANIE\t1\t1\tE417D73E\r\n"
            "COFNIETY\t1\t9FC33EB2\r\n");
  const auto read = transfer::ParseJournal(journal);
  EXPECT_EQ(read.state, JournalState::kReadable);
  EXPECT_TRUE(read.problems.empty());
  ASSERT_EQ(read.runs.size(), 1u);
  EXPECT_EQ(read.runs[0].changes.size(), 2u);
  EXPECT_TRUE(read.runs[0].undone);
  EXPECT_EQ(read.runs[0].restoring, std::set<std::uint32_t>{1});
}

// Two runs, the first taken back: the journal a torn entry is cut from.
std::string TwoRuns() {
  std::string journal = transfer::JournalHeader();
  for (const auto& entry : std::vector<JournalEntry>{
           RunEntry{1, u"C:\\stara\\", u"C:\\nowa\\", u"rano"},
           ChangeEntry{1, AnnualChange{u"C:\\nowa\\Ą\\2009_ROK.REK", 150, {}, {1, 2, 3}}},
           UndoneEntry{1},
           RunEntry{2, u"C:\\stara\\", u"C:\\nowa\\", u""},
           ChangeEntry{2, CopyChange{u"C:\\nowa\\Ą\\BAZA_DW8.REK", false, 3, {}}},
       }) {
    journal += transfer::EncodeEntry(entry);
  }
  return journal;
}

TEST(JournalFormatTest, TornLastEntryIsIgnoredAtEveryCut) {
  const std::string whole = TwoRuns();
  const auto expected = transfer::ParseJournal(whole);
  ASSERT_EQ(expected.runs.size(), 2u);
  const std::string next = transfer::EncodeEntry(
      ChangeEntry{2, CopyChange{u"C:\\nowa\\Ą\\INNY.DAT", true, 9, transfer::Sha256::Of("x")}});
  for (std::size_t cut = 1; cut < next.size(); ++cut) {
    const auto read = transfer::ParseJournal(whole + next.substr(0, cut));
    EXPECT_TRUE(read.tornTail) << cut;
    EXPECT_EQ(read.whole, whole.size()) << cut;
    EXPECT_TRUE(read.problems.empty()) << cut;
    ASSERT_EQ(read.runs.size(), 2u) << cut;
    EXPECT_EQ(read.runs[1].changes, expected.runs[1].changes) << cut;
  }
  // A power cut may leave zeros where the entry was to be.
  EXPECT_TRUE(transfer::ParseJournal(whole + std::string(512, '\0')).tornTail);
  EXPECT_TRUE(transfer::ParseJournal(whole + std::string(512, '\0')).problems.empty());
}

// The journal cut short while it was made holds no entry, and is no other file.
TEST(JournalFormatTest, TornFirstLineIsAnEmptyJournal) {
  const std::string header = transfer::JournalHeader();
  for (std::size_t cut = 0; cut < header.size(); ++cut) {
    const auto read = transfer::ParseJournal(header.substr(0, cut));
    EXPECT_EQ(read.state, JournalState::kReadable) << cut;
    EXPECT_EQ(read.whole, 0u) << cut;
    EXPECT_EQ(read.tornTail, cut > 0) << cut;
  }
}

// Any one byte of an entry changed (or its line split): the line is reported
// at its number and never believed, and the lines around it still read.
TEST(JournalFormatTest, DamagedEntryIsReported) {
  const std::string whole = TwoRuns();
  const auto lines = [&] {
    std::vector<std::size_t> starts = {0};
    for (std::size_t i = 0; i < whole.size(); ++i) {
      if (whole[i] == '\n') starts.push_back(i + 1);
    }
    return starts;
  }();
  // Line 3 (a change, a Polish letter in its path) and line 5 (the second
  // run's entry) of six: every byte up to the end of their check.
  for (const std::size_t lineNumber : {3u, 5u}) {
    const std::size_t begin = lines[lineNumber - 1], end = lines[lineNumber] - 2;
    for (std::size_t at = begin; at < end; ++at) {
      for (const char replacement : {'\0', '\t', '\n', '0', 'A'}) {
        for (const bool flip : {false, true}) {
          std::string damaged = whole;
          damaged[at] = flip ? static_cast<char>(damaged[at] ^ 0x01) : replacement;
          if (damaged == whole) continue;
          const auto read = transfer::ParseJournal(damaged);
          ASSERT_FALSE(read.problems.empty()) << lineNumber << " at " << at;
          EXPECT_EQ(read.problems[0].line, lineNumber) << at;
          EXPECT_EQ(read.runs.size(), lineNumber == 3 ? 2u : 1u) << at;
        }
      }
    }
  }
}

TEST(JournalFormatTest, AnotherVersionOrFileIsRecognised) {
  const std::string entries = TwoRuns().substr(transfer::JournalHeader().size());
  const struct {
    std::string bytes;
    JournalState state;
  } cases[] = {
      {"dopliki32 - dziennik zmian do cofnięcia, format 2\r\n" + entries,
       JournalState::kOtherVersion},
      {"dopliki32 - dziennik zmian do cofnięcia, format 10\r\n", JournalState::kOtherVersion},
      {"dopliki32 - dziennik zmian do cofnięcia, format 1.1\r\n" + entries,
       JournalState::kOtherVersion},
      {"Dziennik\r\n" + entries, JournalState::kNotJournal},
      {"MZ\x90", JournalState::kNotJournal},
      {entries, JournalState::kNotJournal},
      {"dopliki32 - dziennik zmian do cofnięcia, format\r\n", JournalState::kNotJournal},
  };
  for (const auto& c : cases) {
    const auto read = transfer::ParseJournal(c.bytes);
    EXPECT_EQ(read.state, c.state) << c.bytes.substr(0, 60);
    EXPECT_TRUE(read.runs.empty()) << c.bytes.substr(0, 60);
  }
}

// What an editor may do to a journal it saves: a byte order mark, line ends
// of one character. The entries still read.
TEST(JournalFormatTest, EditorsLineEndsAndMarkAreTaken) {
  std::string lf = TwoRuns();
  for (std::size_t at = 0; (at = lf.find("\r\n")) != std::string::npos;) lf.erase(at, 1);
  for (const auto& bytes : {"\xEF\xBB\xBF" + TwoRuns(), lf}) {
    const auto read = transfer::ParseJournal(bytes);
    EXPECT_EQ(read.state, JournalState::kReadable);
    EXPECT_TRUE(read.problems.empty());
    EXPECT_EQ(read.runs.size(), 2u);
  }
}

// Entries whose checks hold but whose place does not: reported, not applied.
TEST(JournalFormatTest, MisplacedEntriesAreReported) {
  const ChangeEntry change1{1, CopyChange{u"C:\\n\\F\\A", false, 1, {}}};
  const ChangeEntry change2{2, CopyChange{u"C:\\n\\F\\A", false, 1, {}}};
  const RunEntry run1{1, u"s", u"d", u""}, run2{2, u"s", u"d", u""};
  const struct {
    const char* what;
    std::vector<JournalEntry> entries;
    std::vector<JournalProblem> problems;
    std::size_t changesOfLastRun;
  } cases[] = {
      {"a change before any run", {change1, run1}, {{2, Kind::kOutOfPlace}}, 0},
      {"a change of another run", {run1, change2}, {{3, Kind::kOutOfPlace}}, 0},
      {"a run number that does not rise",
       {run2, change2, run1, change1},
       {{4, Kind::kOutOfPlace}, {5, Kind::kOutOfPlace}},
       1},
      {"a change after its run was taken back",
       {run1, change1, UndoneEntry{1}, change1},
       {{5, Kind::kOutOfPlace}},
       1},
      {"an undo of no run", {run1, change1, UndoneEntry{2}}, {{4, Kind::kOutOfPlace}}, 1},
      {"a run taken back twice",
       {run1, change1, UndoneEntry{1}, UndoneEntry{1}},
       {{5, Kind::kOutOfPlace}},
       1},
      {"a change put back that the run lacks",
       {run1, change1, RestoringEntry{1, 2}},
       {{4, Kind::kOutOfPlace}},
       1},
      {"a change put back numbered 0",
       {run1, change1, RestoringEntry{1, 0}},
       {{4, Kind::kOutOfPlace}},
       1},
  };
  for (const auto& c : cases) {
    std::string journal = transfer::JournalHeader();
    for (const auto& entry : c.entries) journal += transfer::EncodeEntry(entry);
    const auto read = transfer::ParseJournal(journal);
    EXPECT_EQ(read.problems, c.problems) << c.what;
    const std::size_t changes = read.runs.empty() ? 0 : read.runs.back().changes.size();
    EXPECT_EQ(changes, c.changesOfLastRun) << c.what;
  }
}

}  // namespace
