// The reference folder's lock against what users and the system do meanwhile: the lock file
// deleted while a run holds the lock, and a run ended by SIGTERM while it waits for the lock.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli/process_support.h"
#include "cli/reliability_support.h"
#include "env/lock.h"
#include "support/test_support.h"

#ifndef _WIN32
#include <signal.h>
#endif

namespace ostra::test {
namespace {

constexpr const char* kWaiting = "使用中";

class LockSurvivesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CopyExamplePatdat(drive_.Host("PATDAT"));
    fs::create_directories(drive_.Host("GEO"));
    WriteSjisLines(drive_.Host("GEO/MDT0001.GDF"), LayerSection({"新しい層"}, {"Q1"}));
  }
  std::vector<std::string> Args() const {
    return {"--drive",
            "G=" + drive_.Root().string(),
            "--patdat",
            "G:\\PATDAT",
            "--yes",
            "--report-json",
            drive_.Host("report.json").string(),
            "G:\\GEO\\MDT0001.GDF",
            "G:\\OUT"};
  }
  // The lock a run would take, held by this test.
  FileLock Hold() {
    FileLock lock = FileLock::TryAcquire(drive_.Host("PATDAT/OSTRACONV.LCK"), u"OSTRACONV.LCK");
    EXPECT_TRUE(lock.Held());
    return lock;
  }
  TempDrive drive_{u'G'};
};

TEST_F(LockSurvivesTest, ARunWaitsWhenTheLockFileWasDeletedWhileTheLockIsHeld) {
#ifdef _WIN32
  GTEST_SKIP() << "processes are started with fork; Windows refuses the deletion itself";
#else
  FileLock held = Hold();
  fs::remove(drive_.Host("PATDAT/OSTRACONV.LCK"));
  const auto before = Snapshot(drive_.Host("PATDAT"));
  int errors = -1;
  const pid_t pid = SpawnCliWithErrors(Args(), "600", errors);
  ASSERT_GT(pid, 0);
  std::string seen;
  ASSERT_TRUE(ReadUntil(errors, kWaiting, seen)) << seen;
  // Waiting, it has changed nothing; the visible sign is back for users to see.
  EXPECT_EQ(Snapshot(drive_.Host("PATDAT")), before);
  EXPECT_TRUE(fs::is_regular_file(drive_.Host("PATDAT/OSTRACONV.LCK")));
  held.Release();
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  close(errors);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  const auto names = TableNames(drive_.Host("PATDAT/XKISHITU.TXT"));
  EXPECT_EQ(std::count(names.begin(), names.end(), "新しい層"), 1);
#endif
}

TEST_F(LockSurvivesTest, SigtermWhileWaitingStopsTheRunWithItsReport) {
#ifdef _WIN32
  GTEST_SKIP() << "processes are started with fork";
#else
  FileLock held = Hold();
  const auto before = Snapshot(drive_.Host("PATDAT"));
  int errors = -1;
  const pid_t pid = SpawnCliWithErrors(Args(), "600", errors);
  ASSERT_GT(pid, 0);
  std::string seen;
  ASSERT_TRUE(ReadUntil(errors, kWaiting, seen)) << seen;
  ASSERT_EQ(kill(pid, SIGTERM), 0);
  ReadUntil(errors, "\x01", seen);  // to the end of its output
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  close(errors);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 143) << status;
  EXPECT_NE(seen.find("中断の指示を受けたため、変換を中止しました。"), std::string::npos) << seen;
  const std::string json = ReadBytes(drive_.Host("report.json"));
  EXPECT_NE(json.find("\"completed\": false"), std::string::npos) << json;
  EXPECT_NE(json.find("中断の指示を受けたため"), std::string::npos) << json;
  EXPECT_EQ(Snapshot(drive_.Host("PATDAT")), before);
#endif
}

}  // namespace
}  // namespace ostra::test
