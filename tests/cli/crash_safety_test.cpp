// Killing the program (SIGKILL) at many moments of conversions that register new soil names
// and classes: the reference folder must stay well-formed after every kill, keep every
// registration of the runs that completed, and reach a state where each name is registered
// exactly once when the killed conversions are run again.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "cli/process_support.h"
#include "cli/reliability_support.h"
#include "support/test_support.h"

#ifndef _WIN32
#include <signal.h>
#endif

namespace ostra::test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kNamesPerRun = 12;
constexpr int kMaxRuns = 120;
constexpr auto kBudget = std::chrono::seconds(60);

std::vector<std::string> NamesOf(int run) {
  std::vector<std::string> names;
  for (int k = 0; k < kNamesPerRun; ++k) {
    names.push_back("崩積土" + std::to_string(run) + "の" + std::to_string(k));
  }
  return names;
}

std::vector<std::string> ClassesOf(int run) {
  // Fifty class texts in all, so that the class tables stay below their 99 codes.
  return {"K" + std::to_string(run % 50), "K" + std::to_string((run + 1) % 50)};
}

class CrashSafetyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CopyExamplePatdat(drive_.Host("PATDAT"));
    fs::create_directories(drive_.Host("GEO"));
  }
  std::vector<std::string> Args() const {
    return {"--drive",
            "G=" + drive_.Root().string(),
            "--patdat",
            "G:\\PATDAT",
            "--yes",
            "G:\\GEO\\MDT0001.GDF",
            "G:\\OUT\\P001\\SITE\\B-1"};
  }
  void WriteRun(int run) {
    WriteSjisLines(drive_.Host("GEO/MDT0001.GDF"), LayerSection(NamesOf(run), ClassesOf(run)));
  }
  std::vector<std::string> Names(const std::string& table) const {
    return TableNames(drive_.Host("PATDAT/" + table), table == "L17.TXT" ? 2 : 1);
  }

  TempDrive drive_{u'G'};
};

TEST_F(CrashSafetyTest, KilledConversionsLeaveTheReferenceFolderWhole) {
#ifdef _WIN32
  GTEST_SKIP() << "SIGKILL is POSIX";
#else
  // How long one whole conversion takes here: the kills fall anywhere from its start to past
  // its end.
  const int probe = kMaxRuns;
  WriteRun(probe);
  const auto t0 = Clock::now();
  ASSERT_EQ(RunCli(Args()).exitCode, 0);
  long runTime = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - t0).count();
  std::vector<int> completed = {probe};
  std::vector<int> killed;

  std::mt19937 random(20261208);
  std::set<long> moments;
  const auto start = Clock::now();
  for (int run = 0; run < kMaxRuns && Clock::now() - start < kBudget; ++run) {
    WriteRun(run);
    if (run % 8 == 7) {
      // Every eighth run goes to its end: the conversions grow slower as the dictionaries grow,
      // and the kills follow.
      const auto t = Clock::now();
      ASSERT_EQ(RunCli(Args()).exitCode, 0) << "run " << run;
      runTime = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - t).count();
      completed.push_back(run);
    } else {
      const long wait = std::uniform_int_distribution<long>(0, runTime * 6 / 5)(random);
      const pid_t pid = SpawnCli(Args());
      ASSERT_GT(pid, 0);
      std::this_thread::sleep_for(std::chrono::microseconds(wait));
      kill(pid, SIGKILL);
      int status = 0;
      waitpid(pid, &status, 0);
      if (WIFEXITED(status)) {
        ASSERT_EQ(WEXITSTATUS(status), 0) << "run " << run;
        completed.push_back(run);
      } else {
        killed.push_back(run);
        moments.insert(wait / 1000);
      }
    }

    ASSERT_TRUE(WellFormedTables(drive_.Host("PATDAT"))) << "after run " << run;
    const auto kishitu = Names("KISHITU.TXT");
    const auto xkishitu = Names("XKISHITU.TXT");
    const std::set<std::string> inMain(kishitu.begin(), kishitu.end());
    const std::set<std::string> inExtension(xkishitu.begin(), xkishitu.end());
    for (int done : completed) {
      for (const std::string& name : NamesOf(done)) {
        ASSERT_TRUE(inMain.count(name) && inExtension.count(name)) << name << " after " << run;
      }
    }
  }
  EXPECT_GE(killed.size(), 20u) << "too few runs were killed before their end";

  // The killed conversions, run again to their end, complete every registration once.
  for (int run : killed) {
    WriteRun(run);
    ASSERT_EQ(RunCli(Args()).exitCode, 0) << "run " << run;
  }
  ASSERT_TRUE(WellFormedTables(drive_.Host("PATDAT")));
  const auto kishitu = Names("KISHITU.TXT");
  const auto xkishitu = Names("XKISHITU.TXT");
  std::vector<int> all = completed;
  all.insert(all.end(), killed.begin(), killed.end());
  for (int run : all) {
    for (const std::string& name : NamesOf(run)) {
      EXPECT_EQ(std::count(kishitu.begin(), kishitu.end(), name), 1) << name;
      EXPECT_EQ(std::count(xkishitu.begin(), xkishitu.end(), name), 1) << name;
    }
  }
  for (const char* table : {"L13.TXT", "L14.TXT", "L15.TXT", "L16.TXT", "L17.TXT"}) {
    const auto names = Names(table);
    for (int c = 0; c < 50; ++c) {
      const std::string text = "K" + std::to_string(c);
      EXPECT_EQ(std::count(names.begin(), names.end(), text), 1) << table << " " << text;
    }
  }

  RecordFigures("crash-safety.txt",
                {{"conversion_ms", std::to_string(runTime / 1000)},
                 {"runs", std::to_string(completed.size() + killed.size() - 1)},
                 {"killed", std::to_string(killed.size())},
                 {"completed", std::to_string(completed.size() - 1)},
                 {"distinct_kill_ms", std::to_string(moments.size())},
                 {"names_per_run", std::to_string(kNamesPerRun)},
                 {"names_registered", std::to_string(all.size() * kNamesPerRun)}});
#endif
}

}  // namespace
}  // namespace ostra::test
