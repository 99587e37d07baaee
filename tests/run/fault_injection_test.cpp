// Whole conversions of the bundled sample in memory, with each file operation (queries too)
// failing in turn: every run must end in order, with a message or warning that names the file,
// and never crash, change the data set or complete with wrong outputs.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "base/text_lines.h"
#include "cli/reliability_support.h"
#include "env/fault_env.h"
#include "env/files.h"
#include "env/memory_env.h"
#include "formats/section_file.h"
#include "sample_env.h"
#include "support/test_support.h"

namespace ostra {
namespace {

constexpr const char16_t* kDestination = u"W:\\OUT\\P001\\SITE\\B-1";

// Notes how many operations the Env had counted when the run said it had converted the data set
// (its report's reads follow).
class CountingUi : public test::RecordingObserver {
 public:
  const FaultEnv* env = nullptr;
  long atCompletion = 0;
  void Converted() override {
    if (env != nullptr) atCompletion = env->Count();
  }
};

struct Outcome {
  CountingUi ui;
  RunReport report;
  bool Completed() const { return report.completed; }
};

Outcome Convert(Env& env, const FaultEnv* counting = nullptr) {
  Outcome o;
  o.ui.env = counting;
  o.report = o.ui.Run(SampleRequest(kDestination), env);
  return o;
}

// What a failure on `path` is about, as the report must give it.
ErrorKind KindOfPath(const Text& path) {
  if (path.find(u"OSTRACONV.LCK") != Text::npos) return ErrorKind::kLock;
  if (path.rfind(u"W:\\PATDAT", 0) == 0) return ErrorKind::kReferenceFolder;
  if (path.rfind(u"W:\\GEO", 0) == 0) return ErrorKind::kData;
  if (Text(kDestination).rfind(path, 0) == 0 || path.rfind(kDestination, 0) == 0)
    return ErrorKind::kDestination;
  return ErrorKind::kSystem;
}

bool Mentions(const std::vector<Text>& texts, const Text& path) {
  return std::any_of(texts.begin(), texts.end(),
                     [&](const Text& t) { return t.find(path) != Text::npos; });
}

// The files a conversion wrote into the destination, with their bytes.
std::map<Text, std::string> OutputsOf(MemoryEnv& env) {
  std::map<Text, std::string> files;
  for (const Text& path : env.WrittenFiles()) {
    if (path.rfind(kDestination, 0) == 0) files[path] = *env.File(path);
  }
  return files;
}

// The data set's files with their bytes.
std::map<Text, std::string> DataSetOf(MemoryEnv& env) {
  std::map<Text, std::string> files;
  for (const FolderEntry& e : env.ListFolder(u"W:\\GEO")) {
    files[e.name] = env.ReadFile(u"W:\\GEO\\" + e.name);
  }
  return files;
}

TEST(FaultInjectionTest, TheSampleConvertsInMemory) {
  MemoryEnv env;
  PutSample(env);
  const Outcome o = Convert(env);
  ASSERT_TRUE(o.Completed());
  EXPECT_TRUE(o.ui.messages.empty());
  for (const char16_t* file : {u"CNT.TXT", u"Titl01.txt", u"X1.TXT", u"X5.TXT", u"R41.TXT"}) {
    EXPECT_TRUE(env.FileExists(Text(kDestination) + u"\\" + file)) << test::U8(file);
  }
}

TEST(FaultInjectionTest, EveryFailedFileOperationEndsInOrderNamingTheFile) {
  long operations = 0;
  long converted = 0;  // operations up to the completion line; the report's reads follow
  std::map<Text, std::string> outputs;
  std::map<Text, std::string> dataSet;
  {
    MemoryEnv env;
    PutSample(env);
    dataSet = DataSetOf(env);
    FaultEnv counting(env, 0);
    const Outcome o = Convert(counting, &counting);
    ASSERT_TRUE(o.Completed());
    operations = counting.Count();
    converted = o.ui.atCompletion;
    outputs = OutputsOf(env);
  }
  ASSERT_GT(operations, 50);
  int stopped = 0;
  for (long n = 1; n <= operations; ++n) {
    MemoryEnv env;
    PutSample(env);
    FaultEnv faulty(env, n);
    const Outcome o = Convert(faulty);
    ASSERT_TRUE(faulty.Failed()) << n;
    const Text& path = faulty.FailedPath();
    // Nothing in the data set's folder is written or removed, whatever failed.
    EXPECT_EQ(DataSetOf(env), dataSet) << n << " " << test::U8(path);
    // A table written anew leaves no temporary file behind, whatever failed.
    for (const FolderEntry& e : env.ListFolder(u"W:\\PATDAT")) {
      EXPECT_EQ(e.name.find(u".TMP"), Text::npos) << n << " left " << test::U8(e.name);
    }
    std::vector<Text> said = o.ui.warnings;
    for (const auto& m : o.ui.messages) said.push_back(m.text);
    if (!o.Completed()) {
      ++stopped;
      // One message, naming the file.
      EXPECT_EQ(o.ui.messages.size(), 1u) << n << " " << test::U8(path);
      EXPECT_TRUE(Mentions(said, path)) << n << " " << test::U8(path);
      // The report keeps the stop: the message shown, the file and what it was about.
      EXPECT_FALSE(o.report.completed) << n;
      if (o.report.error) {
        EXPECT_EQ(o.report.error->message, o.ui.messages[0].text) << n;
        EXPECT_EQ(o.report.error->file, path) << n;
        EXPECT_EQ(o.report.error->kind, KindOfPath(path)) << n << " " << test::U8(path);
      } else {
        ADD_FAILURE() << n << ": a stopped run without an error in its report";
      }
      continue;
    }
    // Going on is allowed where a failure only costs a courtesy: the title files warn; a mark
    // beside the program that is there after all and the line counts of the report after the
    // conversion are passed over.
    EXPECT_TRUE(o.ui.messages.empty()) << n;
    // A run that says nothing wrote what an undisturbed one writes.
    if (o.ui.warnings.empty() && n <= converted) {
      EXPECT_EQ(OutputsOf(env), outputs) << n << " " << test::U8(path);
    }
    const bool passedOver = path.find(u"PATADD.txt") != Text::npos || n > converted;
    EXPECT_TRUE(Mentions(said, path) || passedOver) << n << " " << test::U8(path);
  }
  EXPECT_GT(stopped, operations / 2);
  test::RecordFigures("fault-loop.txt", {{"operations", std::to_string(operations)},
                                         {"stopped", std::to_string(stopped)}});
}

TEST(FaultInjectionTest, ARunThatCannotLockStopsBeforeChangingAnything) {
  MemoryEnv env;
  PutSample(env);
  const std::map<Text, std::vector<Text>> before = TablesOf(env);
  FaultEnv faulty(env, 1, FaultKind::kLock);
  const Outcome o = Convert(faulty);
  EXPECT_FALSE(o.Completed());
  ASSERT_EQ(o.ui.messages.size(), 1u);
  EXPECT_NE(o.ui.messages[0].text.find(u"W:\\PATDAT\\OSTRACONV.LCK"), Text::npos);
  EXPECT_EQ(TablesOf(env), before);
  EXPECT_FALSE(env.FileExists(Text(kDestination) + u"\\CNT.TXT"));
}

// A disk that fills up after every byte count of a whole conversion, in seven shards that run
// side by side: the byte counts k, k + 7, k + 14 ...
class FullDiskTest : public ::testing::TestWithParam<int> {};

TEST_P(FullDiskTest, LeavesWholeTablesThatTheNextRunCompletes) {
  MemoryEnv clean;
  PutSample(clean);
  ASSERT_TRUE(Convert(clean).Completed());
  const std::map<Text, std::vector<Text>> expected = TablesOf(clean);
  const std::map<Text, std::string> outputs = OutputsOf(clean);

  long long written = 0;  // all the bytes of an uninterrupted conversion
  for (const Text& file : clean.WrittenFiles()) written += clean.FileSize(file);
  ASSERT_GT(written, 1000);
  int fullDisks = 0;
  for (long long budget = GetParam(); budget < written; budget += 7) {
    MemoryEnv env;
    PutSample(env);
    DiskFullEnv full(env, budget);
    const Outcome o = Convert(full);
    if (!full.Full()) continue;  // the run wrote less than it could
    ++fullDisks;
    EXPECT_FALSE(o.Completed()) << budget;
    ASSERT_EQ(o.ui.messages.size(), 1u) << budget;
    EXPECT_NE(o.ui.messages[0].text.find(u"ディスクの空き容量"), Text::npos) << budget;
    ASSERT_TRUE(TablesAreWhole(env)) << "after a full disk at byte " << budget;
    // With room again, the conversion ends with the entries, codes and output bytes of an
    // uninterrupted one.
    ASSERT_TRUE(Convert(env).Completed()) << budget;
    EXPECT_EQ(TablesOf(env), expected) << budget;
    EXPECT_EQ(OutputsOf(env), outputs) << budget;
    if (HasFailure()) return;
  }
  test::RecordFigures(
      "disk-full-" + std::to_string(GetParam()) + ".txt",
      {{"bytes", std::to_string(written)}, {"full_disks", std::to_string(fullDisks)}});
}

#ifdef _WIN32
// The Windows build runs its suite in one emulated process: one shard there (every seventh byte
// count) shows the same code on that system; the native suite covers every count.
INSTANTIATE_TEST_SUITE_P(EveryByteCount, FullDiskTest, ::testing::Range(0, 1));
#else
INSTANTIATE_TEST_SUITE_P(EveryByteCount, FullDiskTest, ::testing::Range(0, 7));
#endif

}  // namespace
}  // namespace ostra
