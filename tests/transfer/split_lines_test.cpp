#include <gtest/gtest.h>

#include "transfer/controls.h"

namespace {

using Lines = std::vector<std::u16string>;

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
  for (const auto& c : cases) EXPECT_EQ(transfer::SplitLines(c.text), c.lines);
}

}  // namespace
