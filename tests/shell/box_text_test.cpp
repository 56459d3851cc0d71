// How the boxes take and give their text: the log box's lines, entries as
// typed, and a NUL shown as a mark.
#include <gtest/gtest.h>

#include "shell/controls.h"
#include "support/fake_controls.h"

namespace {

using testing_support::FakeLog;
using Lines = std::vector<std::u16string>;

TEST(Log, EveryLineEndsWithABreakUnlessTheUserLeftNone) {
  FakeLog log;
  shell::Log(log, u"pierwsza");
  shell::Log(log, u"");
  EXPECT_EQ(log.text, u"pierwsza\r\n\r\n");
  log.text += u"wpisane";
  shell::Log(log, u"druga");
  EXPECT_EQ(log.text, u"pierwsza\r\n\r\nwpisane\r\ndruga");
  shell::Log(log, u"trzecia");
  EXPECT_EQ(log.text, u"pierwsza\r\n\r\nwpisane\r\ndruga\r\ntrzecia");
}

TEST(Log, ANulShowsAsAMarkAndCutsNothing) {
  FakeLog log;
  shell::Log(log, std::u16string(u"a\0b\0", 4));
  shell::Log(log, u"c");
  EXPECT_EQ(log.text, u"a<NUL>b<NUL>\r\nc\r\n");
}

// The entries of a box are the lines as typed: empty lines count, the empty
// one after a final line break does not.
TEST(SplitLines, OneEntryPerTypedLine) {
  const struct {
    std::u16string text;
    Lines lines;
  } cases[] = {
      {u"", {}},
      {u"BAZA_DW8.REK", {u"BAZA_DW8.REK"}},
      {u"BAZA_DW8.REK\r\n", {u"BAZA_DW8.REK"}},
      {u"A\r\n\r\nB", {u"A", u"", u"B"}},
      {u"A\r\n\r\n", {u"A", u""}},
      {u"\r\n", {u""}},
      {u"A\nB\rC", {u"A", u"B", u"C"}},
      {u"bardzo długa nazwa pliku, która się zawija w polu.txt",
       {u"bardzo długa nazwa pliku, która się zawija w polu.txt"}},
  };
  for (const auto& c : cases) EXPECT_EQ(shell::SplitLines(c.text), c.lines);
}

}  // namespace
