// The in-memory Env, the fault-injecting wrapper and OutFile's promises on top of them.
#include <gtest/gtest.h>

#include "env/fault_env.h"
#include "env/files.h"
#include "env/memory_env.h"
#include "support/test_support.h"

namespace ostra {
namespace {

TEST(MemoryEnvTest, FilesFoldersAndTheBaseShowingThrough) {
  MemoryEnv base;
  base.AddFolder(u"W:\\PATDAT");
  base.SetFile(u"W:\\PATDAT\\L1.TXT", "1,A\r\n");
  MemoryEnv overlay(&base);
  // Names are found whatever their ASCII letter case.
  EXPECT_EQ(overlay.ReadFile(u"w:\\patdat\\l1.txt"), "1,A\r\n");
  AppendLines(overlay, u"W:\\PATDAT\\L1.TXT", {u"2,B"});
  EXPECT_EQ(overlay.ReadFile(u"W:\\PATDAT\\L1.TXT"), "1,A\r\n2,B\r\n");
  EXPECT_EQ(base.ReadFile(u"W:\\PATDAT\\L1.TXT"), "1,A\r\n");  // the base is never written
  overlay.RemoveFile(u"W:\\PATDAT\\L1.TXT");
  EXPECT_FALSE(overlay.FileExists(u"W:\\PATDAT\\L1.TXT"));
  EXPECT_TRUE(base.FileExists(u"W:\\PATDAT\\L1.TXT"));
  // A file needs its folder; a made folder lists its files.
  EXPECT_THROW(overlay.OpenWrite(u"W:\\OUT\\A.TXT", WriteMode::kCreate), FileError);
  overlay.MakeFolder(u"W:\\OUT");
  OutFile(overlay, u"W:\\OUT\\A.TXT").Close();
  ASSERT_EQ(overlay.ListFolder(u"W:\\OUT").size(), 1u);
  EXPECT_EQ(overlay.ListFolder(u"W:\\OUT")[0].name, u"A.TXT");
  // The lock is exclusive until released; waiting takes no time.
  auto lock = overlay.TryLock(u"W:\\OUT\\X.LCK");
  ASSERT_NE(lock, nullptr);
  EXPECT_EQ(overlay.TryLock(u"W:\\OUT\\X.LCK"), nullptr);
  lock.reset();
  EXPECT_NE(overlay.TryLock(u"W:\\OUT\\X.LCK"), nullptr);
  const auto before = overlay.Now();
  overlay.Sleep(std::chrono::seconds(5));
  EXPECT_EQ(overlay.Now() - before, std::chrono::seconds(5));
}

TEST(OutFileTest, AMoveWritesOutTheFileItReplacesAndLosesNothing) {
  MemoryEnv env;
  env.AddFolder(u"W:\\");
  OutFile a(env, u"W:\\A.TXT");
  a.Line(u"花崗岩");
  OutFile b(env, u"W:\\B.TXT");
  b.Line(u"砂岩");
  a = std::move(b);  // A.TXT is written out and closed, B.TXT goes on in `a`
  EXPECT_EQ(env.File(u"W:\\A.TXT"), EncodeCp932(u"花崗岩\r\n"));
  a.Line(u"泥岩");
  OutFile c(std::move(a));
  c.Close();
  EXPECT_EQ(env.File(u"W:\\B.TXT"), EncodeCp932(u"砂岩\r\n泥岩\r\n"));
}

TEST(OutFileTest, EveryFailedWriteAndCloseIsReportedNamingTheFile) {
  // Operations: open, then the write of the buffer at Close, then the close itself.
  for (long failAt : {1L, 2L, 3L}) {
    MemoryEnv env;
    env.AddFolder(u"W:\\");
    FaultEnv faulty(env, failAt);
    try {
      OutFile out(faulty, u"W:\\X1.TXT");
      out.Line(u"1");
      out.Close();
      ADD_FAILURE() << "no error at operation " << failAt;
    } catch (const FileError& e) {
      EXPECT_EQ(e.Path(), u"W:\\X1.TXT");
    }
  }
}

TEST(FaultEnvTest, CountsOnlyTheChosenKinds) {
  MemoryEnv env;
  env.AddFolder(u"W:\\");
  env.SetFile(u"W:\\A.TXT", "a");
  FaultEnv reads(env, 2, FaultKind::kRead);
  reads.MakeFolder(u"W:\\F");  // not a read: not counted
  EXPECT_NO_THROW(reads.ReadFile(u"W:\\A.TXT"));
  EXPECT_THROW(reads.ReadFile(u"W:\\A.TXT"), FileError);
  EXPECT_EQ(reads.Count(), 2);
  EXPECT_NO_THROW(reads.ReadFile(u"W:\\A.TXT"));  // only the chosen one fails
}

}  // namespace
}  // namespace ostra
