// Tables and data-set files the run must not use as they stand (links, other names, read-only,
// folders and pipes), and the data set's folder, which a run never changes.
#include <gtest/gtest.h>

#include "env/memory_env.h"
#include "run/run.h"
#include "run/run_record.h"
#include "sample_env.h"
#include "support/test_support.h"

namespace ostra {
namespace {

constexpr const char16_t* kDestination = u"W:\\OUT\\B-1";

struct Outcome {
  test::RecordingObserver ui;
  RunReport report;
  bool Completed() const { return report.completed; }
};

Outcome Convert(Env& env) {
  Outcome o;
  o.report = o.ui.Run(SampleRequest(kDestination), env);
  return o;
}

// The bytes of every file in a folder (but the lock file a run creates).
std::map<Text, std::string> FilesIn(MemoryEnv& env, const Text& folder) {
  std::map<Text, std::string> files;
  for (const FolderEntry& e : env.ListFolder(folder)) {
    if (e.kind == FileKind::kFile && e.name != u"OSTRACONV.LCK")
      files[e.name] = env.ReadFile(folder + u"\\" + e.name);
  }
  return files;
}

TEST(UnusableFilesTest, EveryTableThatCannotBeUsedAsItStandsStopsTheRunBeforeAnythingChanges) {
  struct Problem {
    const char* what;
    FileFacts facts;
    bool stopsReadTables;  // also a table the run only reads
  };
  const std::vector<Problem> problems = {
      {"symbolic link", {FileKind::kFile, true, 1, false}, false},
      {"second name", {FileKind::kFile, false, 2, false}, false},
      {"read-only", {FileKind::kFile, false, 1, true}, false},
      {"pipe", {FileKind::kOther, false, 1, false}, true},
      {"folder", {FileKind::kFolder, false, 1, false}, true},
  };
  std::vector<std::pair<Text, bool>> tables;  // name, written by the run
  for (const char16_t* name : kWrittenTables) tables.emplace_back(name, true);
  for (const char16_t* name : kReadTables) tables.emplace_back(name, false);
  for (const auto& [name, written] : tables) {
    for (const Problem& problem : problems) {
      MemoryEnv env;
      PutSample(env);
      const Text path = u"W:\\PATDAT\\" + name;
      env.SetFacts(path, problem.facts);
      const std::map<Text, std::string> before = FilesIn(env, u"W:\\PATDAT");
      const Outcome o = Convert(env);
      const std::string at = test::U8(name) + " " + problem.what;
      if (!written && !problem.stopsReadTables) {
        EXPECT_TRUE(o.Completed()) << at;
        continue;
      }
      EXPECT_FALSE(o.Completed()) << at;
      ASSERT_EQ(o.ui.messages.size(), 1u) << at;
      EXPECT_NE(o.ui.messages[0].text.find(path), Text::npos) << at;
      ASSERT_TRUE(o.report.error) << at;
      EXPECT_EQ(o.report.error->file, path) << at;
      EXPECT_EQ(o.report.error->kind, ErrorKind::kReferenceFolder) << at;
      // Nothing changed: no destination, no table touched.
      EXPECT_EQ(env.KindOf(kDestination), FileKind::kNone) << at;
      EXPECT_EQ(FilesIn(env, u"W:\\PATDAT"), before) << at;
    }
  }
}

TEST(UnusableFilesTest, ASectionFileThatIsNoOrdinaryFileStopsTheRunBeforeAnythingChanges) {
  for (const char16_t* section : {u"BDT", u"KDT", u"LDT", u"NDT", u"CDT"}) {
    for (const FileKind kind : {FileKind::kOther, FileKind::kFolder}) {
      MemoryEnv env;
      PutSample(env);
      const Text path = Text(u"W:\\GEO\\") + section + u"0001.GDF";
      env.SetFacts(path, {kind, false, 1, false});
      const std::map<Text, std::vector<Text>> tables = TablesOf(env);
      const Outcome o = Convert(env);
      EXPECT_FALSE(o.Completed()) << test::U8(section);
      ASSERT_EQ(o.ui.messages.size(), 1u) << test::U8(section);
      EXPECT_NE(o.ui.messages[0].text.find(path), Text::npos) << test::U8(section);
      ASSERT_TRUE(o.report.error);
      EXPECT_EQ(o.report.error->kind, ErrorKind::kData);
      EXPECT_EQ(env.KindOf(kDestination), FileKind::kNone) << test::U8(section);
      EXPECT_EQ(TablesOf(env), tables) << test::U8(section);
    }
  }
}

TEST(UnusableFilesTest, AnEmptySectionFileIsSkippedAndLeftAsItIs) {
  for (const char16_t* section : {u"BDT", u"KDT", u"LDT", u"NDT", u"CDT"}) {
    MemoryEnv env;
    PutSample(env);
    const Text path = Text(u"W:\\GEO\\") + section + u"0001.GDF";
    env.SetFile(path, "");
    const std::map<Text, std::string> before = FilesIn(env, u"W:\\GEO");
    const Outcome o = Convert(env);
    ASSERT_TRUE(o.Completed()) << test::U8(section);
    EXPECT_EQ(FilesIn(env, u"W:\\GEO"), before) << test::U8(section);
    bool skipped = false;
    for (const RunReport::Section& s : o.report.sections) {
      if (s.section == section) skipped = s.status == RunReport::SectionStatus::kEmptySkipped;
    }
    EXPECT_TRUE(skipped) << test::U8(section);
  }
}

}  // namespace
}  // namespace ostra
