// Two processes convert 50 data sets each, at the same time, against one reference folder; the
// data sets share new names and classes. Every name and class must end up registered exactly
// once.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "cli/process_support.h"
#include "cli/reliability_support.h"
#include "support/test_support.h"

namespace ostra::test {
namespace {

constexpr int kStreams = 2;
constexpr int kRunsPerStream = 50;

// Data set `run` of stream `stream`: two names shared with the other stream (and with the next
// run), one of its own, and a class shared with the other stream.
[[maybe_unused]] std::vector<std::string> NamesOf(int stream, int run) {
  return {"共有層" + std::to_string(run), "共有層" + std::to_string(run + 1),
          "独自層" + std::to_string(stream) + "の" + std::to_string(run)};
}
[[maybe_unused]] std::string ClassOf(int run) {
  return "Q" + std::to_string(run % 25);
}

TEST(ConcurrencyTest, TwoProcessesRegisterEveryNameOnce) {
#ifdef _WIN32
  GTEST_SKIP() << "processes are started with fork";
#else
  TempDrive drive(u'G');
  CopyExamplePatdat(drive.Host("PATDAT"));
  // Each stream has its data set folder and its destination; the reference folder is shared.
  auto args = [&](int stream) {
    const std::string s = std::to_string(stream);
    return std::vector<std::string>{
        "--drive", "G=" + drive.Root().string(),    "--patdat",   "G:\\PATDAT",
        "--yes",   "G:\\GEO" + s + "\\MDT0001.GDF", "G:\\OUT" + s};
  };
  auto start = [&](int stream, int run) {
    WriteSjisLines(drive.Host("GEO" + std::to_string(stream) + "/MDT0001.GDF"),
                   LayerSection(NamesOf(stream, run), {ClassOf(run)}));
    return SpawnCli(args(stream));
  };

  std::map<pid_t, std::pair<int, int> > running;  // pid -> (stream, run)
  for (int s = 0; s < kStreams; ++s) {
    fs::create_directories(drive.Host("GEO" + std::to_string(s)));
    running[start(s, 0)] = {s, 0};
  }
  int conversions = 0;
  while (!running.empty()) {
    int status = 0;
    const pid_t pid = waitpid(-1, &status, 0);
    ASSERT_GT(pid, 0);
    auto it = running.find(pid);
    if (it == running.end()) continue;
    const auto [stream, run] = it->second;
    running.erase(it);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "stream " << stream << " run " << run << " status " << status;
    ++conversions;
    if (run + 1 < kRunsPerStream) running[start(stream, run + 1)] = {stream, run + 1};
  }

  ASSERT_TRUE(WellFormedTables(drive.Host("PATDAT")));
  std::set<std::string> expected;
  for (int s = 0; s < kStreams; ++s) {
    for (int r = 0; r < kRunsPerStream; ++r) {
      for (const std::string& name : NamesOf(s, r)) expected.insert(name);
    }
  }
  const auto kishitu = TableNames(drive.Host("PATDAT/KISHITU.TXT"));
  const auto xkishitu = TableNames(drive.Host("PATDAT/XKISHITU.TXT"));
  for (const std::string& name : expected) {
    EXPECT_EQ(std::count(kishitu.begin(), kishitu.end(), name), 1) << name;
    EXPECT_EQ(std::count(xkishitu.begin(), xkishitu.end(), name), 1) << name;
  }
  // New codes are never given twice.
  const auto codes = TableNames(drive.Host("PATDAT/XKISHITU.TXT"), 0);
  EXPECT_EQ(std::set<std::string>(codes.begin(), codes.end()).size(), codes.size());
  for (const char* table : {"L13.TXT", "L14.TXT", "L15.TXT", "L16.TXT", "L17.TXT"}) {
    const auto names = TableNames(drive.Host(std::string("PATDAT/") + table),
                                  std::string(table) == "L17.TXT" ? 2 : 1);
    for (int c = 0; c < 25; ++c) {
      EXPECT_EQ(std::count(names.begin(), names.end(), ClassOf(c)), 1) << table << " " << c;
    }
  }
  RecordFigures("concurrency.txt", {{"processes", std::to_string(kStreams)},
                                    {"conversions", std::to_string(conversions)},
                                    {"names", std::to_string(expected.size())},
                                    {"classes_per_table", "25"}});
#endif
}

}  // namespace
}  // namespace ostra::test
