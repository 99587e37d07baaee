// What the remembering Env answers is what its target would answer now, whatever was changed
// through it before, and whichever of those changes failed.
#include "env/remembering_env.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "env/counting_env.h"
#include "env/fault_env.h"
#include "env/memory_env.h"
#include "support/test_support.h"

namespace ostra {
namespace {

const std::vector<Text> kPaths = {u"W:\\A",         u"W:\\A\\F.TXT", u"W:\\A\\G.TXT",
                                  u"W:\\A\\B",      u"W:\\A\\B\\H",  u"W:\\F.TXT",
                                  u"W:\\NO\\F.TXT", u"W:\\A\\T.TMP"};

std::vector<Text> Names(std::vector<FolderEntry> list) {
  std::vector<Text> names;
  for (const FolderEntry& e : list) names.push_back(e.name + u"=" + Text(1, u'0' + int(e.kind)));
  std::sort(names.begin(), names.end());
  return names;
}

// Runs one operation through `env`; a failure is part of the outcome.
void Step(Env& env, std::mt19937& random) {
  const Text& path = kPaths[random() % kPaths.size()];
  const Text& other = kPaths[random() % kPaths.size()];
  const std::string bytes(random() % 5, static_cast<char>('a' + random() % 26));
  try {
    switch (random() % 12) {
      case 0:
      case 1: {
        const WriteMode mode = static_cast<WriteMode>(random() % 3);
        std::unique_ptr<WritableFile> file = env.OpenWrite(path, mode);
        file->Append(bytes);
        if (random() % 2 == 0) file->Append(bytes);
        file->Close();
        break;
      }
      case 2:
        env.Truncate(path, static_cast<std::int64_t>(random() % 3));
        break;
      case 3:
        env.MakeFolder(path);
        break;
      case 4:
        env.RemoveFile(path);
        break;
      case 5:
        env.CopyFile(path, other);
        break;
      case 6:  // (a file put in its own place: the Envs differ, the run never does it)
        if (path != other) env.ReplaceFile(path, other);
        break;
      case 7:
        env.TryLock(path);
        break;
      default:  // queries fill the memory
        env.ReadFile(path);
        env.ListFolder(path);
        env.Inspect(path);
        env.FileSize(path);
        break;
    }
  } catch (const FileError&) {
    // Refused by the target or failed on purpose: what it left is compared below.
  }
}

::testing::AssertionResult SameAnswers(Env& remembered, Env& truth) {
  for (const Text& p : kPaths) {
    const auto fail = [&](const char* what) {
      return ::testing::AssertionFailure() << what << " of " << test::U8(p);
    };
    if (remembered.KindOf(p) != truth.KindOf(p)) return fail("kind");
    if (remembered.IsSelectable(p) != truth.IsSelectable(p)) return fail("selectable");
    if (remembered.FileSize(p) != truth.FileSize(p)) return fail("size");
    if (remembered.Inspect(p).kind != truth.Inspect(p).kind) return fail("facts");
    if (Names(remembered.ListFolder(p)) != Names(truth.ListFolder(p))) {
      std::string got, want;
      for (const Text& n : Names(remembered.ListFolder(p))) got += test::U8(n) + " ";
      for (const Text& n : Names(truth.ListFolder(p))) want += test::U8(n) + " ";
      return fail("entries") << ": " << got << "instead of " << want;
    }
    if (truth.FileExists(p) && remembered.ReadFile(p) != truth.ReadFile(p)) return fail("bytes");
  }
  return ::testing::AssertionSuccess();
}

// Random changes through the memory, some failing at random points (before or after the
// target changed), each followed by every question on every path.
TEST(RememberingEnvTest, AnswersAsTheTargetAfterEveryChange) {
  int failed = 0;
  for (unsigned seed = 1; seed <= 100; ++seed) {
    MemoryEnv truth;
    truth.AddFolder(u"W:\\A");
    truth.SetFile(u"W:\\A\\F.TXT", "abc");
    std::mt19937 random(seed);
    // Changes fail, questions do not (they are the check).
    FaultEnv faults(truth, static_cast<long>(2 + seed % 25),
                    static_cast<FaultKind>(static_cast<unsigned>(FaultKind::kOpen) |
                                           static_cast<unsigned>(FaultKind::kWrite) |
                                           static_cast<unsigned>(FaultKind::kChange) |
                                           static_cast<unsigned>(FaultKind::kLock)));
    RememberingEnv remembered(faults);
    for (int i = 0; i < 40; ++i) {
      Step(remembered, random);
      ASSERT_TRUE(SameAnswers(remembered, truth)) << "seed " << seed << " step " << i;
    }
    failed += faults.Failed() ? 1 : 0;
  }
  EXPECT_GE(failed, 80);  // most runs met their failure
}

// A question answered once is not asked again; a file read or written is not read again.
TEST(RememberingEnvTest, AsksEachQuestionOnce) {
  MemoryEnv truth;
  truth.AddFolder(u"W:\\A");
  truth.SetFile(u"W:\\A\\F.TXT", "abc");
  CountingEnv counting(truth);
  RememberingEnv remembered(counting);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(remembered.ReadFile(u"W:\\A\\F.TXT"), "abc");
    EXPECT_EQ(remembered.FileSize(u"W:\\A\\F.TXT"), 3);
    EXPECT_EQ(remembered.ListFolder(u"W:\\A").size(), 1u);
    EXPECT_FALSE(remembered.PathExists(u"W:\\A\\NEW.TXT"));  // from the folder's entries
  }
  std::unique_ptr<WritableFile> file = remembered.OpenWrite(u"W:\\A\\NEW.TXT", WriteMode::kCreate);
  file->Append("xy");
  file->Close();
  EXPECT_EQ(remembered.ReadFile(u"W:\\A\\NEW.TXT"), "xy");
  EXPECT_EQ(remembered.FileSize(u"W:\\A\\NEW.TXT"), 2);
  EXPECT_EQ(remembered.ListFolder(u"W:\\A").size(), 2u);
  EXPECT_EQ(counting.Calls().at("ReadFile"), 1);
  EXPECT_EQ(counting.Calls().at("ListFolder"), 1);
  EXPECT_EQ(counting.Lookups(), 3);  // one read, one listing, one open
}

// Another holder of the lock may have changed the folder while this run waited: once the lock
// is held, its folder's names are asked anew.
TEST(RememberingEnvTest, TheLockedFolderIsAskedAnew) {
  MemoryEnv truth;
  truth.AddFolder(u"W:\\P");
  RememberingEnv remembered(truth);
  EXPECT_FALSE(remembered.FileExists(u"W:\\P\\T.TXT"));
  EXPECT_EQ(remembered.ListFolder(u"W:\\P").size(), 0u);
  truth.SetFile(u"W:\\P\\T.TXT", "made by another run");
  std::unique_ptr<HeldLock> lock = remembered.TryLock(u"W:\\P\\LOCK");
  ASSERT_NE(lock, nullptr);
  EXPECT_TRUE(remembered.FileExists(u"W:\\P\\T.TXT"));
  EXPECT_EQ(remembered.ReadFile(u"W:\\P\\T.TXT"), "made by another run");
  EXPECT_EQ(remembered.ListFolder(u"W:\\P").size(), 2u);
}

}  // namespace
}  // namespace ostra
