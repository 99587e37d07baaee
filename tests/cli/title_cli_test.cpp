// The title files of a conversion through ostraconv-cli.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace ostra::test {
namespace {

using Lines = std::vector<std::string>;

// The bundled data set converted on a temporary drive (the run extends the reference tables,
// so it works on copies).
class TitleCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    source_ = ExamplesDir() / "MDT0001.GDF";
    if (!fs::exists(source_)) GTEST_SKIP() << "no bundled data set in " << ExamplesDir();
    CopyExamplePatdat(drive_.Host("PATDAT"));
    fs::copy(ExamplesDir(), drive_.Host("GEO"));  // the section files, not the folders
  }

  CliResult Convert() {
    return RunCli({"--patdat", drive_.Host("PATDAT").string(), "--yes",
                   drive_.Host("GEO/MDT0001.GDF").string(), Dest().string()});
  }
  fs::path Dest() const { return drive_.Host("OUT/P1/SITE/B-1"); }

  TempDrive drive_;
  fs::path source_;
};

// Every line of the title files has the width and form its kind calls for.
TEST_F(TitleCliTest, BundledSampleWritesBothTitleFiles) {
  const CliResult result = Convert();
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err.find("タイトルファイル"), std::string::npos) << result.err;

  const Lines titl01 = ReadSjisLines(Dest() / "Titl01.txt");
  ASSERT_EQ(titl01.size(), 23u);
  // Header items 1, 29 and 3 trimmed, the unset item 3 empty.
  EXPECT_EQ(titl01[0], "（仮称）津久井トンネル地質調査業務");
  EXPECT_EQ(titl01[1], "津久井トンネル");
  EXPECT_EQ(titl01[2], "");
  EXPECT_EQ(titl01[9], "B-1");
  // Two dates, the first written as a two-digit year: widths 4, 2, 2.
  EXPECT_EQ(Lines(titl01.begin() + 3, titl01.begin() + 9),
            (Lines{"1998", " 5", "11", "1998", " 6", " 3"}));
  // The position 35.3452, 139.1530 split into widths 3, 2, 5.
  EXPECT_EQ(Lines(titl01.begin() + 10, titl01.begin() + 16),
            (Lines{" 35", "34", "   52", "139", "15", "   30"}));
  EXPECT_EQ(titl01[16], "神奈川県相模原市緑区青山 地内");
  EXPECT_EQ(Lines(titl01.begin() + 17, titl01.begin() + 20), (Lines{"", "", ""}));
  EXPECT_EQ(titl01[20], "215.40");
  EXPECT_EQ(titl01[21], "30.00");
  EXPECT_EQ(titl01[22], "");

  const Lines titl02 = ReadSjisLines(Dest() / "Titl02.txt");
  ASSERT_EQ(titl02.size(), 41u);
  EXPECT_EQ(titl02[0], "東日本旅客鉄道株式会社, 東京工事事務所");
  // Blank fields of a second pair of dates and a second position.
  EXPECT_EQ(Lines(titl02.begin() + 1, titl02.begin() + 14),
            (Lines{"    ", "  ", "  ", "    ", "  ", "  ", "", "   ", "  ", "     ", "   ", "  ",
                   "     "}));
  EXPECT_EQ(titl02[14], "90");
  EXPECT_EQ(titl02[15], "鉛直");
  // "JR" found as "ＪＲ" in L1.TXT: its code and name.
  EXPECT_EQ(titl02[16], " 7 ");
  EXPECT_EQ(titl02[17], "ＪＲ");
  EXPECT_EQ(titl02[18], "山田 太郎");
  // The L3.TXT code is never set.
  EXPECT_EQ(Lines(titl02.begin() + 19, titl02.begin() + 24), (Lines{"", "  ", "", "", "        "}));
  EXPECT_EQ(Lines(titl02.begin() + 24, titl02.begin() + 30),
            (Lines{"鈴木 一郎", "YBM-05DA", "NQ, ワイヤーライン", "ロータリー式ワイヤーライン工法",
                   "相武地質調査株式会社", "佐藤 次郎"}));
  // "堆積岩類" searched as "堆積岩" in L2.TXT.
  EXPECT_EQ(titl02[30], " 5 ");
  EXPECT_EQ(titl02[31], "堆積岩類（古第三系以前）");
  EXPECT_EQ(Lines(titl02.begin() + 32, titl02.begin() + 39), Lines(7, ""));
  EXPECT_EQ(titl02[39], "53392290");
  EXPECT_EQ(titl02[40], "");
}

TEST_F(TitleCliTest, UnwritableTitleFileIsWarnedAndTheRunGoesOn) {
  fs::create_directories(Dest() / "Titl02.txt");
  const CliResult result = Convert();
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.err.find("タイトルファイル"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("Titl02.txt"), std::string::npos) << result.err;
  EXPECT_EQ(ReadSjisLines(Dest() / "Titl01.txt").size(), 23u);
  // The conversion went on past the title files.
  EXPECT_TRUE(fs::exists(Dest() / "X1.TXT"));
}

TEST_F(TitleCliTest, MissingL2StopsTheRun) {
  fs::remove(drive_.Host("PATDAT/L2.TXT"));
  const CliResult result = Convert();
  EXPECT_EQ(result.exitCode, 1) << result.err;
  EXPECT_NE(result.err.find("L2.TXT"), std::string::npos) << result.err;
  EXPECT_FALSE(fs::exists(Dest() / "Titl01.txt"));
}

}  // namespace
}  // namespace ostra::test
