// A batch's results: messages that say which conversion they are about, the summary table as a
// CSV file, a retry of the rows that did not convert, and exit status 4 for an unwritable summary.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace ostra::test {
namespace {

// Three copies of the sample: GEO2's LDT file cut short; GEO3 without its CDT file, converted
// into a destination that holds an old R41.TXT (a warning).
class BatchSummaryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CopyExamplePatdat(drive_.Host("PATDAT"));
    for (const char* folder : {"GEO1", "GEO2", "GEO3"}) CopyExampleDataSet(drive_.Host(folder));
    const std::string ldt = ReadBytes(drive_.Host("GEO2/LDT0001.GDF"));
    WriteBytes(drive_.Host("GEO2/LDT0001.GDF"), ldt.substr(0, ldt.size() / 2));
    fs::remove(drive_.Host("GEO3/CDT0001.GDF"));
    WriteSjis(drive_.Host("OUT/P1/S/B-3/R41.TXT"), "old\r\n");
    WriteSjisLines(
        drive_.Host("list.csv"),
        {"SOURCE,DEST", "W:\\GEO1\\MDT0001.GDF,W:\\OUT\\P1\\S\\B-1",
         "W:\\GEO2\\MDT0001.GDF,W:\\OUT\\P1\\S\\B-2", "W:\\GEO3\\MDT0001.GDF,W:\\OUT\\P1\\S\\B-3"});
  }

  std::vector<std::string> With(const std::vector<std::string>& rest) const {
    std::vector<std::string> args = {"--drive=W=" + drive_.Root().string(), "--patdat=W:\\PATDAT",
                                     "-y"};
    args.insert(args.end(), rest.begin(), rest.end());
    return args;
  }
  std::string Host(const std::string& relative) const { return drive_.Host(relative).string(); }

  TempDrive drive_{u'W'};
};

TEST_F(BatchSummaryTest, TheSummarySaysWhatEachLineDidAndARetryConvertsOnlyTheRest) {
  CliResult r = RunCli(
      With({"-q", "--batch", Host("list.csv"), "--keep-going", "--summary", Host("sum.csv")}));
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_EQ(r.out, "3 件中 2 件を変換しました。\n");
  // Every line on stderr names its conversion: the stop of line 3, the warning of line 4.
  std::string reason;
  bool warned = false;
  for (size_t p = 0; p < r.err.size();) {
    const size_t end = r.err.find('\n', p);
    const std::string line = r.err.substr(p, end - p);
    p = end + 1;
    const std::string stop = "[一覧の 3 行目 → W:\\OUT\\P1\\S\\B-2] ";
    const std::string warn = "[一覧の 4 行目 → W:\\OUT\\P1\\S\\B-3] ";
    if (line.rfind(stop, 0) == 0 && reason.empty()) reason = line.substr(stop.size());
    warned = warned || (line.rfind(warn, 0) == 0 && line.find("R41.TXT") != std::string::npos);
    EXPECT_TRUE(line.rfind(stop, 0) == 0 || line.rfind(warn, 0) == 0) << line;
  }
  EXPECT_TRUE(warned) << r.err;

  const std::string csv = ReadBytes(drive_.Host("sum.csv"));
#ifdef _WIN32
  // RunCli asks for UTF-8 output there, and --utf8 gives the summary in UTF-8 too.
  ASSERT_EQ(csv.rfind("\xEF\xBB\xBF", 0), 0u);
  std::vector<std::vector<std::string>> rows = CsvRows(csv.substr(3));
#else
  ASSERT_NE(csv.rfind("\xEF\xBB\xBF", 0), 0u) << "code page 932 has no byte order mark";
  std::vector<std::vector<std::string>> rows = CsvRows(ReadSjis(drive_.Host("sum.csv")));
#endif
  ASSERT_EQ(rows.size(), 4u) << csv;
  EXPECT_EQ(rows[0], (std::vector<std::string>{"行", "変換元", "変換先", "結果", "理由", "警告",
                                               "ファイル数", "新しい地質名", "新しい区分名"}));
  for (int i = 1; i <= 3; ++i) {
    const std::string n = std::to_string(i);
    ASSERT_EQ(rows[i].size(), 9u);
    EXPECT_EQ(rows[i][0], std::to_string(i + 1));
    EXPECT_EQ(rows[i][1], "W:\\GEO" + n + "\\MDT0001.GDF");
    EXPECT_EQ(rows[i][2], "W:\\OUT\\P1\\S\\B-" + n);
  }
  EXPECT_EQ(rows[1][3], "変換済み");
  EXPECT_EQ(rows[1][4] + rows[1][5], "");
  EXPECT_EQ(rows[1][6] + " " + rows[1][7] + " " + rows[1][8], "21 2 2")
      << "the sample's files, new soil names and new class names";
  EXPECT_EQ(rows[2][3], "中止");
  EXPECT_FALSE(reason.empty());
  EXPECT_EQ(rows[2][4], reason) << "the stop message's first line";
  EXPECT_EQ(rows[2][5], "");
  EXPECT_EQ(rows[3][3], "変換済み");
  EXPECT_EQ(rows[3][4], "");
  EXPECT_NE(rows[3][5].find("R41.TXT"), std::string::npos);

  // A stopped conversion and an unwritable summary: the summary's status wins.
  r = RunCli(With({"--batch", Host("list.csv"), "--keep-going", "--summary", Host("no/sum.csv")}));
  EXPECT_EQ(r.exitCode, 4) << r.err;
  EXPECT_NE(r.err.find((fs::path("no") / "sum.csv").string()), std::string::npos) << r.err;

  // Mended, only line 3 converts again; the others stay as they were.
  const auto one = TreeSnapshot(drive_.Host("OUT/P1/S/B-1"));
  const auto three = TreeSnapshot(drive_.Host("OUT/P1/S/B-3"));
  fs::copy_file(ExamplesDir() / "LDT0001.GDF", drive_.Host("GEO2/LDT0001.GDF"),
                fs::copy_options::overwrite_existing);
  r = RunCli(With({"--retry", Host("sum.csv"), "--summary", Host("sum2.csv")}));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("1 件中 1 件を変換しました。"), std::string::npos) << r.out;
  EXPECT_EQ(TreeSnapshot(drive_.Host("OUT/P1/S/B-1")), one);
  EXPECT_EQ(TreeSnapshot(drive_.Host("OUT/P1/S/B-3")), three);
  EXPECT_TRUE(fs::exists(drive_.Host("OUT/P1/S/B-2/X1.TXT")));
  const std::string csv2 = ReadBytes(drive_.Host("sum2.csv"));
  const std::vector<std::vector<std::string>> again = CsvRows(
      csv2.rfind("\xEF\xBB\xBF", 0) == 0 ? csv2.substr(3) : ReadSjis(drive_.Host("sum2.csv")));
  ASSERT_EQ(again.size(), 4u);
  EXPECT_EQ(again[1], rows[1]);
  EXPECT_EQ(again[3], rows[3]);
  EXPECT_EQ(again[2][0], "3");
  EXPECT_EQ(again[2][3], "変換済み");
  EXPECT_EQ(again[2][4], "");

  // Nothing left to retry; a file that is no summary is a usage error naming its line.
  r = RunCli(With({"--retry", Host("sum2.csv")}));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("変換し直す行はありません"), std::string::npos) << r.out;
  r = RunCli(With({"--retry", Host("list.csv")}));
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("1 行目"), std::string::npos) << r.err;

  // A trial batch, its summary in UTF-8 with a byte order mark.
  r = RunCli(
      With({"--batch", Host("list.csv"), "--dry-run", "--utf8", "--summary", Host("trial.csv")}));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("3 件中 3 件を試行しました。"), std::string::npos) << r.out;
  const std::string trial = ReadBytes(drive_.Host("trial.csv"));
  ASSERT_EQ(trial.rfind("\xEF\xBB\xBF", 0), 0u);
  rows = CsvRows(trial.substr(3));
  ASSERT_EQ(rows.size(), 4u);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(rows[i][3], "試行");
}

}  // namespace
}  // namespace ostra::test
