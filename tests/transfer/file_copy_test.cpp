#include "transfer/file_copy.h"

#include <gtest/gtest.h>

#include "platform/utf8.h"
#include "support/forwarding_os.h"
#include "support/installations.h"
#include "support/recording_report.h"
#include "support/system.h"
#include "transfer/errors.h"
#include "transfer/partial_file.h"
#include "transfer/record_file.h"

namespace {

using testing_support::Bytes;
using testing_support::Installations;
using testing_support::RecordingReport;
using testing_support::SystemOs;
using Lines = std::vector<std::u16string>;

constexpr std::u16string_view kFile = u"BAZA_DW8.REK";
const std::u16string kNone = u"(none)";

class FileCopyTest : public ::testing::Test {
 protected:
  FileCopyTest() { pair.AddCompany(u"FIRMA1", std::nullopt, std::nullopt); }
  void Copy(const Lines& katalogi, const Lines& pliki) { Copy(SystemOs(), katalogi, pliki); }
  void Copy(platform::Os& os, const Lines& katalogi, const Lines& pliki) {
    transfer::SkopiujPliki(os, pair.Source(), pair.Dest(), katalogi, pliki, log);
  }
  static std::u16string Source(std::u16string_view file = kFile) {
    return Installations::In(Installations::kOld, u"FIRMA1", file);
  }
  static std::u16string Target(std::u16string_view file = kFile) {
    return Installations::In(Installations::kNew, u"FIRMA1", file);
  }
  static std::u16string Backup() { return Target() + u".old"; }
  static std::u16string Partial() { return transfer::PartialName(Target()); }
  // The content at a relative name, or "(none)".
  std::u16string At(const std::u16string& relative) const {
    if (!pair.dir.Exists(relative)) return kNone;
    const Bytes bytes = pair.dir.ReadBytes(relative);
    return std::u16string(bytes.begin(), bytes.end());
  }
  // The pair's files gone and the log empty, for the next case of a table.
  void Reset() {
    for (const auto& name : {Target(), Backup(), Partial(), Source()}) {
      if (!pair.dir.Exists(name)) continue;
      pair.dir.SetReadOnly(name, false);
      std::filesystem::remove(pair.dir.Native(name));
    }
    log.lines.clear();
  }
  void Put(const std::u16string& relative, const std::u16string& content) {
    if (content != kNone) pair.dir.WriteBytes(relative, Bytes(content.begin(), content.end()));
  }

  Installations pair;
  RecordingReport log;
};

// One pair, by the state of the target, its backup and the source: the pair
// ends either copied (new content at the target, old at the backup) or as it
// was. A missing source no longer takes the target away. A read-only source
// gives a read-only copy, which the run still checks and places.
TEST_F(FileCopyTest, OutcomeOfOnePair) {
  const struct {
    std::u16string target, backup, source;
    std::u16string targetAfter, backupAfter;
    bool logged;
  } cases[] = {
      {kNone, kNone, u"nowy", u"nowy", kNone, true},
      {kNone, u"kopia", u"nowy", u"nowy", u"kopia", true},
      {kNone, kNone, kNone, kNone, kNone, false},
      {kNone, u"kopia", kNone, kNone, u"kopia", false},
      {u"stary", kNone, u"nowy", u"nowy", u"stary", true},
      {u"stary", kNone, kNone, u"stary", kNone, false},
      {u"stary", u"kopia", u"nowy", u"stary", u"kopia", false},
      {u"stary", u"kopia", kNone, u"stary", u"kopia", false},
  };
  for (const auto& c : cases) {
    for (const bool readOnlySource : {false, true}) {
      pair.dir.MakeDir(Target(u""));
      Reset();
      Put(Target(), c.target);
      Put(Backup(), c.backup);
      Put(Source(), c.source);
      if (readOnlySource && c.source != kNone) pair.dir.SetReadOnly(Source());
      Copy({u"FIRMA1"}, {std::u16string(kFile)});
      const auto state = platform::TextToUtf8(c.target + u"," + c.backup + u"," + c.source +
                                              (readOnlySource ? u" read-only" : u""));
      EXPECT_EQ(At(Target()), c.targetAfter) << state;
      EXPECT_EQ(At(Backup()), c.backupAfter) << state;
      EXPECT_EQ(At(Source()), c.source) << state;
      EXPECT_EQ(log.Text(), c.logged ? u"Skopiowane fimry:\r\nFIRMA1\\BAZA_DW8.REK\r\n"
                                     : u"Skopiowane fimry:\r\n")
          << state;
    }
  }
}

// The copy of a read-only source is read-only too; made for a target that
// then cannot be moved aside, it is removed all the same.
TEST_F(FileCopyTest, ATargetThatCannotBeMovedAsideStays) {
  struct RefusingMoves : testing_support::ForwardingOs {
    using ForwardingOs::ForwardingOs;
    std::uint32_t Move(std::u16string_view, std::u16string_view) override {
      return platform::err::kSharingViolation;
    }
  } os(SystemOs());
  Put(Target(), u"stary");
  Put(Source(), u"nowy");
  pair.dir.SetReadOnly(Source());
  Copy(os, {u"FIRMA1"}, {std::u16string(kFile)});
  EXPECT_EQ(At(Target()), u"stary");
  EXPECT_EQ(At(Backup()), kNone);
  EXPECT_EQ(At(Partial()), kNone);
  EXPECT_EQ(log.Text(), u"Skopiowane fimry:\r\n");
}

// A copy that fails on the way (a full disk) leaves part of its target, as
// Wine's does: the target is as it was, and no part of the copy stays.
TEST_F(FileCopyTest, ACopyCutShortLeavesTheTargetAsItWas) {
  struct FullDisk : testing_support::ForwardingOs {
    using ForwardingOs::ForwardingOs;
    std::uint32_t CopyNew(std::u16string_view from, std::u16string_view to) override {
      ForwardingOs::CopyNew(from, to);
      platform::FileHandle handle = 0;
      std::uint32_t done = 0;
      if (CreateAlways(to, handle) == platform::err::kSuccess) {
        Write(handle, "no", 2, done);
        Close(handle);
      }
      return platform::err::kDiskFull;
    }
  } os(SystemOs());
  for (const auto& target : {kNone, std::u16string(u"stary")}) {
    Reset();
    Put(Target(), target);
    Put(Source(), u"nowy, dłuższy niż miejsce na dysku");
    Copy(os, {u"FIRMA1"}, {std::u16string(kFile)});
    EXPECT_EQ(At(Target()), target);
    EXPECT_EQ(At(Backup()), kNone);
    EXPECT_EQ(At(Partial()), kNone);
    EXPECT_EQ(log.Text(), u"Skopiowane fimry:\r\n");
  }
}

// A partial copy that a run cut short (a killed process) left beside the
// target is the program's own: the next run replaces it and copies.
TEST_F(FileCopyTest, APartialCopyOfARunCutShortIsReplaced) {
  Put(Partial(), u"połowa");
  Put(Target(), u"stary");
  Put(Source(), u"nowy");
  Copy({u"FIRMA1"}, {std::u16string(kFile)});
  EXPECT_EQ(At(Target()), u"nowy");
  EXPECT_EQ(At(Backup()), u"stary");
  EXPECT_EQ(At(Partial()), kNone);
  EXPECT_EQ(log.Text(), u"Skopiowane fimry:\r\nFIRMA1\\BAZA_DW8.REK\r\n");
}

// Where the replaced file cannot be put back under its own name, or a
// partial copy cannot be removed, the run is told with the system's code.
TEST_F(FileCopyTest, WhatCannotBePutBackIsAFailureOfTheRun) {
  struct Refusing : testing_support::ForwardingOs {
    using ForwardingOs::ForwardingOs;
    std::uint32_t Move(std::u16string_view from, std::u16string_view to) override {
      for (const auto& suffix : refusedFrom) {
        if (from.ends_with(suffix)) return platform::err::kSharingViolation;
      }
      return ForwardingOs::Move(from, to);
    }
    std::uint32_t Remove(std::u16string_view name) override {
      return refuseRemoval ? platform::err::kAccessDenied : ForwardingOs::Remove(name);
    }
    std::vector<std::u16string> refusedFrom;
    bool refuseRemoval = false;
  } os(SystemOs());
  const struct {
    std::vector<std::u16string> refusedFrom;
    bool refuseRemoval;
    std::int32_t code;
    std::u16string target, backup, partial;
  } cases[] = {
      // the copy cannot take the name, nor the old file its own again
      {{u".$$$", u".old"}, false, 32, kNone, u"stary", kNone},
      // the copy cannot take the name, nor be removed
      {{u".$$$"}, true, 5, u"stary", kNone, u"nowy"},
  };
  for (const auto& c : cases) {
    Reset();
    Put(Target(), u"stary");
    Put(Source(), u"nowy");
    os.refusedFrom = c.refusedFrom;
    os.refuseRemoval = c.refuseRemoval;
    try {
      Copy(os, {u"FIRMA1"}, {std::u16string(kFile)});
      ADD_FAILURE() << "no failure reported";
    } catch (const transfer::EInOutError& e) {
      EXPECT_EQ(e.ErrorCode, c.code);
    }
    EXPECT_EQ(At(Target()), c.target);
    EXPECT_EQ(At(Backup()), c.backup);
    EXPECT_EQ(At(Partial()), c.partial);
    EXPECT_EQ(log.Text(), u"Skopiowane fimry:\r\n");
  }
}

TEST_F(FileCopyTest, RepeatedRunsKeepOneBackup) {
  Put(Source(), u"nowy");
  const Lines logs[] = {
      {u"FIRMA1\\BAZA_DW8.REK"},  // copied, nothing to keep
      {u"FIRMA1\\BAZA_DW8.REK"},  // the first copy becomes the backup
      {},                         // target and backup both there: nothing changes
  };
  for (const auto& logged : logs) {
    log.lines.clear();
    Copy({u"FIRMA1"}, {std::u16string(kFile)});
    std::u16string expected = u"Skopiowane fimry:\r\n";
    for (const auto& line : logged) expected += line + u"\r\n";
    EXPECT_EQ(log.Text(), expected);
  }
  EXPECT_EQ(At(Target()), u"nowy");
  EXPECT_EQ(At(Backup()), u"nowy");
}

TEST_F(FileCopyTest, EntriesAreUsedExactlyAsTyped) {
  pair.AddCompany(u"FIRMA2\\", std::nullopt, std::nullopt);
  pair.dir.MakeDir(Installations::In(Installations::kOld, u"FIRMA1", u"SUB"));
  pair.dir.MakeDir(Installations::In(Installations::kNew, u"FIRMA1", u"SUB"));
  pair.dir.MakeDir(Installations::In(Installations::kOld, u"FIRMA1", u"NOSUB"));
  pair.dir.MakeDir(Target(u"KATALOG"));
  pair.dir.MakeDir(Installations::In(Installations::kOld, u"BRAK", u""));
  for (const auto* name : {u"A.DAT", u"SUB\\B.DAT", u"NOSUB\\C.DAT", u"KATALOG"}) {
    Put(Source(name), u"x");
  }
#ifndef _WIN32
  // Windows has no such name; elsewhere it must still be taken literally.
  Put(Source(u"*.DAT"), u"x");
#endif
  Put(Installations::In(Installations::kOld, u"FIRMA2", u"A.DAT"), u"y");
  Put(Installations::In(Installations::kOld, u"BRAK", u"A.DAT"), u"z");
  Copy({u"FIRMA1", u"FIRMA2\\", u"BRAK"},
       {u"A.DAT", u"", u"SUB\\B.DAT", u"NOSUB\\C.DAT", u"KATALOG", u"*.DAT"});
  // A sub-directory is never created; an empty entry, a directory and a
  // wildcard name copy nothing; a company directory ending in a backslash
  // still gets one more.
  EXPECT_EQ(log.Text(),
            u"Skopiowane fimry:\r\nFIRMA1\\A.DAT\r\nFIRMA1\\SUB\\B.DAT\r\nFIRMA2\\\\A.DAT\r\n");
  EXPECT_EQ(At(Target(u"A.DAT")), u"x");
  EXPECT_EQ(At(Installations::In(Installations::kNew, u"FIRMA2", u"A.DAT")), u"y");
  EXPECT_FALSE(pair.dir.Exists(Target(u"NOSUB")));
  EXPECT_FALSE(pair.dir.Exists(Installations::In(Installations::kNew, u"BRAK", u"")));
}

// A target whose backup name would be longer than the system takes is never
// copied, present or absent: the copy is made beside it under a name as long.
TEST_F(FileCopyTest, NoBackupNameBeyondTheLongestFileName) {
  const auto room = transfer::kMaxFileName - pair.dir.Path(Target(u"")).size();
  const std::u16string absent(room - 1, u'a'), present(room - 1, u'p'), fits(room - 4, u'f');
  Put(Source(absent), u"nowy");
  Put(Source(present), u"nowy");
  Put(Source(fits), u"nowy");
  Put(Target(present), u"stary");
  Copy({u"FIRMA1"}, {absent, present, fits});
  EXPECT_EQ(At(Target(absent)), kNone);
  EXPECT_EQ(At(Target(present)), u"stary");
  EXPECT_EQ(At(Target(fits)), u"nowy");
  EXPECT_EQ(log.Text(), u"Skopiowane fimry:\r\nFIRMA1\\" + fits + u"\r\n");
}

TEST_F(FileCopyTest, EmptyListsLogOnlyTheHeader) {
  Copy({}, {std::u16string(kFile)});
  Copy({u"FIRMA1"}, {});
  EXPECT_EQ(log.Text(), u"Skopiowane fimry:\r\nSkopiowane fimry:\r\n");
}

}  // namespace
