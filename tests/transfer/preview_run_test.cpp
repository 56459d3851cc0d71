// A run previewed over the overlay: "OK" and "SRU" show and log exactly what
// the real run over the same installations shows and logs, fail where it
// fails with the same message, leave every file on the disk as it was, and
// list changes that, applied to the files as they were, give the files as the
// real run leaves them.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>

#include "platform/overlay_os.h"
#include "platform/utf8.h"
#include "support/change_replay.h"
#include "support/records.h"
#include "support/system.h"
#include "support/whole_operation.h"

namespace {

using testing_support::Bytes;
using testing_support::DoubleBytes;
using testing_support::Installations;
using testing_support::kOpening;
using testing_support::RokRecord;
using testing_support::Tree;
using testing_support::WholeOperation;
using Kind = platform::FileChange::Kind;

std::u16string Old(std::u16string_view katalog, std::u16string_view file) {
  return Installations::In(Installations::kOld, katalog, file);
}
std::u16string New(std::u16string_view katalog, std::u16string_view file) {
  return Installations::In(Installations::kNew, katalog, file);
}

// The text with the fixture's own folder, which differs between the two
// runs, written as "<dir>".
std::string Placed(std::u16string text, const WholeOperation& op) {
  const std::u16string root = op.pair.dir.Path();
  for (auto at = text.find(root); at != std::u16string::npos; at = text.find(root, at)) {
    text.replace(at, root.size(), u"<dir>");
  }
  return platform::TextToUtf8(text);
}

std::string Shown(const WholeOperation::Outcome& outcome, const WholeOperation& op) {
  std::u16string shown;
  for (const auto& event : outcome.events) shown += event + u"\n";
  return Placed(shown + u"log:\n" + outcome.logged + u"failure: " + outcome.failure, op);
}

// The files, the fixture's folder written as "<dir>" where the log or the
// journal names it. A journal line's check covers the folder too: it is
// left out (the journal's own tests pin it).
Tree Placed(Tree files, WholeOperation& op) {
  const std::string root = op.os.TextToAnsi(op.pair.dir.Path()).value();
  for (auto& [name, bytes] : files) {
    for (auto at = bytes.find(root); at != std::string::npos; at = bytes.find(root, at)) {
      bytes.replace(at, root.size(), "<dir>");
    }
    if (name.ends_with("dopliki32.cofnij")) {
      std::string lines;
      for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t end = std::min(bytes.find('\n', at), bytes.size());
        std::string line = bytes.substr(at, end - at);
        if (at > 0) line.erase(std::min(line.rfind('\t'), line.size()));
        lines += line + "\n";
        at = end + 1;
      }
      bytes = lines;
    }
  }
  return files;
}

// One company with both annual files and the extra file in the old year.
void Company(WholeOperation& op, std::u16string_view katalog, double opening, double closing) {
  op.pair.AddCompany(katalog, RokRecord(0, closing), RokRecord(opening, 0));
  op.pair.dir.WriteBytes(Old(katalog, u"BAZA_DW8.REK"), "nowa");
}

struct Scenario {
  const char* label;
  std::vector<std::string> register_;
  std::function<void(WholeOperation&)> prepare;
  bool copy = true;
  bool transfer = true;
};

const Scenario kScenarios[] = {
    {"a value carried, the extra file absent in the new year",
     {"FIRMA"},
     [](WholeOperation& op) { Company(op, u"FIRMA", 0, 12.5); }},
    {"the extra file present in the new year, kept as .old",
     {"FIRMA"},
     [](WholeOperation& op) {
       Company(op, u"FIRMA", 0, 12.5);
       op.pair.dir.WriteBytes(New(u"FIRMA", u"BAZA_DW8.REK"), "stara");
     }},
    {"an earlier backup keeps the present extra file",
     {"FIRMA"},
     [](WholeOperation& op) {
       Company(op, u"FIRMA", 0, 3);
       op.pair.dir.WriteBytes(New(u"FIRMA", u"BAZA_DW8.REK"), "stara");
       op.pair.dir.WriteBytes(New(u"FIRMA", u"BAZA_DW8.REK.old"), "kopia");
     }},
    {"a partial file left by a run cut short",
     {"FIRMA"},
     [](WholeOperation& op) {
       Company(op, u"FIRMA", 0, 3);
       op.pair.dir.WriteBytes(New(u"FIRMA", u"BAZA_DW8.REK.$$$"), "czesc");
     }},
    {"the extra file missing in the old year",
     {"FIRMA"},
     [](WholeOperation& op) { op.pair.AddCompany(u"FIRMA", RokRecord(0, 4), RokRecord(0, 0)); }},
    {"a read-only extra file in the old year",
     {"FIRMA"},
     [](WholeOperation& op) {
       Company(op, u"FIRMA", 0, 4);
       op.pair.dir.SetReadOnly(Old(u"FIRMA", u"BAZA_DW8.REK"));
     }},
    {"the old annual file missing",
     {"FIRMA"},
     [](WholeOperation& op) { op.pair.AddCompany(u"FIRMA", std::nullopt, RokRecord(0, 0)); }},
    {"a nonzero opening inventory is skipped",
     {"FIRMA"},
     [](WholeOperation& op) { Company(op, u"FIRMA", 77, 5); }},
    {"a read-only new annual file fails the run",
     {"PIERWSZA", "FIRMA"},
     [](WholeOperation& op) {
       Company(op, u"PIERWSZA", 0, 1);
       Company(op, u"FIRMA", 0, 2);
       op.pair.dir.SetReadOnly(New(u"FIRMA", u"2009_ROK.REK"));
     }},
    {"a company folder missing in the new year fails the run",
     {"BRAK"},
     [](WholeOperation& op) {
       op.pair.dir.MakeDir(Old(u"BRAK", u""));
       op.pair.dir.WriteBytes(Old(u"BRAK", u"2008_ROK.REK"), RokRecord(0, 6));
       op.pair.dir.WriteBytes(Old(u"BRAK", u"BAZA_DW8.REK"), "nowa");
     }},
    {"a company folder missing in both years",
     {"NIGDZIE", "FIRMA"},
     [](WholeOperation& op) { Company(op, u"FIRMA", 0, 8); }},
    {"the previous log is replaced",
     {"FIRMA"},
     [](WholeOperation& op) {
       Company(op, u"FIRMA", 0, 9);
       op.pair.dir.WriteBytes(u"bin\\dopliki32.log", "poprzedni\r\n");
     }},
    {"a read-only log fails after Koniec",
     {"FIRMA"},
     [](WholeOperation& op) {
       Company(op, u"FIRMA", 0, 9);
       op.pair.dir.WriteBytes(u"bin\\dopliki32.log", "poprzedni\r\n");
       op.pair.dir.SetReadOnly(u"bin\\dopliki32.log");
     }},
    {"the copy only",
     {"FIRMA"},
     [](WholeOperation& op) { Company(op, u"FIRMA", 0, 1); },
     true,
     false},
    {"the transfer only",
     {"FIRMA"},
     [](WholeOperation& op) { Company(op, u"FIRMA", 0, 1); },
     false,
     true},
};

TEST(PreviewRunTest, APreviewShowsTheRealRunAndChangesNothing) {
  for (const auto& row : kScenarios) {
    SCOPED_TRACE(row.label);
    platform::OverlayOs overlay(testing_support::SystemOs());
    WholeOperation preview(overlay), real;
    for (WholeOperation* op : {&preview, &real}) {
      op->Register(row.register_);
      row.prepare(*op);
    }
    const Tree before = testing_support::FilesUnder(preview.pair.dir);
    ASSERT_EQ(before, testing_support::FilesUnder(real.pair.dir));

    const auto previewAccepted = preview.Accept();
    const auto previewRun = preview.Run(row.copy, row.transfer);
    EXPECT_EQ(testing_support::FilesUnder(preview.pair.dir), before);

    const auto realAccepted = real.Accept();
    const auto realRun = real.Run(row.copy, row.transfer);
    EXPECT_EQ(Shown(previewAccepted, preview), Shown(realAccepted, real));
    EXPECT_EQ(Shown(previewRun, preview), Shown(realRun, real));
    const Tree previewed = testing_support::Replayed(before, overlay.Changes(),
                                                     testing_support::RelativeTo(preview.pair.dir));
    EXPECT_EQ(Placed(previewed, preview), Placed(testing_support::FilesUnder(real.pair.dir), real));
  }
}

// What a summary reads from the list: for each company the opening inventory
// before and after, each extra file made or replaced and the backup kept,
// and the log; in the order the run made them.
TEST(PreviewRunTest, TheChangesTellWhatARunWouldDoInOrder) {
  platform::OverlayOs overlay(testing_support::SystemOs());
  WholeOperation preview(overlay);
  preview.Register({"ALFA", "BETA"});
  Company(preview, u"ALFA", 0, 12.5);
  preview.pair.dir.WriteBytes(New(u"ALFA", u"BAZA_DW8.REK"), "stara");
  Company(preview, u"BETA", 77, 5);
  preview.Accept();
  const auto run = preview.Run(true, true);
  ASSERT_EQ(run.failure, u"");

  const auto nameOf = testing_support::RelativeTo(preview.pair.dir);
  using Row = std::tuple<Kind, std::string, std::string>;
  std::vector<Row> rows;
  for (const auto& change : overlay.Changes()) {
    rows.emplace_back(change.kind, nameOf(change.name),
                      change.from.empty() ? "" : nameOf(change.from));
  }
  // The journal is made first, and each company's changes are written to it
  // before they are made.
  const std::string journal = "zetka_2009/dopliki32.cofnij";
  const std::vector<Row> expected = {
      {Kind::kCreated, journal, ""},
      {Kind::kWritten, journal, ""},
      {Kind::kCopied, "zetka_2009/ALFA/BAZA_DW8.REK.$$$", "zetka_2008/ALFA/BAZA_DW8.REK"},
      {Kind::kWritten, journal, ""},
      {Kind::kRenamed, "zetka_2009/ALFA/BAZA_DW8.REK.old", "zetka_2009/ALFA/BAZA_DW8.REK"},
      {Kind::kRenamed, "zetka_2009/ALFA/BAZA_DW8.REK", "zetka_2009/ALFA/BAZA_DW8.REK.$$$"},
      {Kind::kCopied, "zetka_2009/BETA/BAZA_DW8.REK.$$$", "zetka_2008/BETA/BAZA_DW8.REK"},
      {Kind::kWritten, journal, ""},
      {Kind::kRenamed, "zetka_2009/BETA/BAZA_DW8.REK", "zetka_2009/BETA/BAZA_DW8.REK.$$$"},
      {Kind::kWritten, journal, ""},
      {Kind::kWritten, "zetka_2009/ALFA/2009_ROK.REK", ""},
      {Kind::kCreated, "bin/dopliki32.log.$$$", ""},
      {Kind::kWritten, "bin/dopliki32.log.$$$", ""},
      {Kind::kRenamed, "bin/dopliki32.log", "bin/dopliki32.log.$$$"},
  };
  EXPECT_EQ(rows, expected);

  // The opening inventory: 8 bytes of the first record, before and after.
  const auto& carried = overlay.Changes().at(10);
  ASSERT_EQ(carried.offset, 0u);
  EXPECT_EQ(carried.before.substr(kOpening, 8), DoubleBytes(0));
  EXPECT_EQ(carried.after.substr(kOpening, 8), DoubleBytes(12.5));
  EXPECT_EQ(carried.before, RokRecord(0, 0));
  EXPECT_EQ(overlay.Changes().at(12).after, platform::TextToUtf8(preview.form.mmo_Log.text));
}

}  // namespace
