// The conversion run end to end through ostraconv-cli, on temporary folders mapped as drives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "env/lock.h"
#include "support/test_support.h"

namespace ostra::test {
namespace {

using Lines = std::vector<std::string>;

// Drive G: holds a data set in G:\GEO and a small reference folder in G:\PATDAT; drive O: is
// the output drive.
class RunCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteSjisLines(In("PATDAT/L1.TXT"), {"1,ボーリング"});
    WriteSjisLines(In("PATDAT/L2.TXT"), {"1,花崗岩"});
    WriteSjisLines(In("PATDAT/L3.TXT"), {});
    WriteSjisLines(In("PATDAT/L4.TXT"), {"1,C", "2,L", "3,M", "4,H"});
    WriteSjisLines(In("PATDAT/L8.TXT"), {"3,透水試験,x"});
    WriteSjisLines(In("PATDAT/L10.TXT"), {"3,亀裂"});
    for (const char* t : {"L13.TXT", "L14.TXT", "L15.TXT", "L16.TXT"}) {
      WriteSjisLines(In(std::string("PATDAT/") + t), {"1,CL"});
    }
    WriteSjisLines(In("PATDAT/L17.TXT"), {"1,      ,CL"});
    WriteSjisLines(In("PATDAT/KISHITU.TXT"), {"5012,花崗岩,    ,    ,    ,0000"});
    WriteSjisLines(In("PATDAT/XKISHITU.TXT"), {});
    WriteMdt({"0,0,0,0,0", "0,0,0"});
  }

  fs::path In(const std::string& rel) const { return geo_.Host(rel); }
  fs::path Out(const std::string& rel) const { return out_.Host(rel); }
  void WriteSection(const std::string& kind, const Lines& lines) {
    WriteSjisLines(In("GEO/" + kind + "0001.GDF"), lines);
  }
  void WriteMdt(const Lines& lines) { WriteSection("MDT", lines); }

  // Converts G:\GEO\MDT0001.GDF into `dest` (drive form).
  CliResult Convert(const std::string& dest = "O:\\DATA\\P123\\SITE\\B-1", bool yes = true,
                    const std::vector<std::string>& env = {}) {
    std::vector<std::string> args = {"--drive",  "G=" + geo_.Root().string(),
                                     "--drive",  "O=" + out_.Root().string(),
                                     "--patdat", "G:\\PATDAT"};
    if (yes) args.push_back("--yes");
    args.push_back("G:\\GEO\\MDT0001.GDF");
    args.push_back(dest);
    return RunCli(args, env);
  }
  Lines Output(const std::string& name) const {
    return ReadSjisLines(Out("DATA/P123/SITE/B-1/" + name));
  }
  bool HasOutput(const std::string& name) const {
    return fs::exists(Out("DATA/P123/SITE/B-1/" + name));
  }
  std::vector<std::string> GeoFiles() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(In("GEO"))) {
      names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  TempDrive geo_{u'G'};
  TempDrive out_{u'O'};
};

TEST_F(RunCliTest, AnMdtAloneConvertsAndLeavesNoSiblingsBehind) {
  CliResult r = Convert();
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out.rfind("変換が正常に終了しました。\n", 0), 0u);
  EXPECT_EQ(GeoFiles(), (std::vector<std::string>{"MDT0001.GDF"}));
  EXPECT_EQ(Output("CNT.TXT"), (Lines{"P123", "SITE", "B-1", "4   ", "1", "", "", "", "", ""}));
  EXPECT_TRUE(HasOutput("Titl01.txt"));
  EXPECT_TRUE(HasOutput("Titl02.txt"));
  for (const char* none : {"X1.TXT", "X3.TXT", "R31.TXT", "X11.TXT", "N8.TXT", "X12.TXT"}) {
    EXPECT_FALSE(HasOutput(none)) << none;
  }
}

TEST_F(RunCliTest, CntTakesFourBytesOfTheThirdComponentAndNothingStale) {
  ASSERT_EQ(Convert("O:\\DATA\\工区ABC\\S\\B-2").exitCode, 0);
  EXPECT_EQ(ReadSjisLines(Out("DATA/工区ABC/S/B-2/CNT.TXT"))[0], "工区");
  ASSERT_EQ(Convert("O:\\SHORT").exitCode, 0);
  EXPECT_EQ(ReadSjisLines(Out("SHORT/CNT.TXT")),
            (Lines{"", "", "", "4   ", "1", "", "", "", "", ""}));
}

TEST_F(RunCliTest, EmptySiblingsAreSkippedAndLeftAsTheyAre) {
  WriteSjis(In("GEO/BDT0001.GDF"), "");
  WriteSection("NDT", {"50,1,2", "5.00,10"});  // h1 other than 100: nothing more is read
  WriteSection("LDT", {"0,1,0", "3,3"});       // A set, B = 0: two more values, nothing written
  CliResult r = Convert();
  ASSERT_EQ(r.exitCode, 0) << r.err;
  // Nothing in the data set's folder is written or removed.
  EXPECT_EQ(GeoFiles(),
            (std::vector<std::string>{"BDT0001.GDF", "LDT0001.GDF", "MDT0001.GDF", "NDT0001.GDF"}));
  for (const char* none : {"N8.TXT", "X5.TXT", "X7.txt", "N6.TMP", "N7Merg.Dat"}) {
    EXPECT_FALSE(HasOutput(none)) << none;
  }
}

TEST_F(RunCliTest, MissingDestinationLevelsNeedAYes) {
  fs::create_directories(Out("OUT"));
  CliResult no = Convert("O:\\OUT\\A\\B", false);
  EXPECT_EQ(no.exitCode, 1);
  EXPECT_NE(no.err.find("フォルダがありません。新規作成しますか？"), std::string::npos);
  EXPECT_FALSE(fs::exists(Out("OUT/A")));

  CliResult yes = Convert("O:\\OUT\\A\\B", true);
  ASSERT_EQ(yes.exitCode, 0) << yes.err;
  EXPECT_TRUE(fs::exists(Out("OUT/A/B/CNT.TXT")));
}

TEST_F(RunCliTest, TheDestinationIsUsedAsTheCheckNormalisedIt) {
  fs::create_directories(Out("WORK"));
  CliResult r = Convert("  O:WORK  ");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(fs::exists(Out("WORK/CNT.TXT")));
}

TEST_F(RunCliTest, RejectedDestinationsStopBeforeAnythingIsWritten) {
  CliResult r = Convert("O:\\MY DATA");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("指定されたパスは正しくありません。"), std::string::npos);
  r = Convert("O:\\A.B.C");
  EXPECT_EQ(r.exitCode, 1);
  r = Convert("Q:\\WORK");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(fs::is_empty(out_.Root()));
}

TEST_F(RunCliTest, MissingSourceAndUsageErrors) {
  fs::remove(In("GEO/MDT0001.GDF"));
  CliResult r = Convert();
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("変換元ファイルが選択されていません。"), std::string::npos);
  EXPECT_NE(r.err.find("変換元 \"G:\\GEO\\MDT0001.GDF\" がありません。"), std::string::npos)
      << r.err;
  // Another section file given as the source is refused before anything happens.
  const std::vector<std::string> common = {"--drive",  "G=" + geo_.Root().string(),
                                           "--drive",  "O=" + out_.Root().string(),
                                           "--patdat", "G:\\PATDAT",
                                           "--yes"};
  std::vector<std::string> args = common;
  args.insert(args.end(), {"G:\\GEO\\bdt0001.gdf", "O:\\DATA\\P123\\SITE\\B-1"});
  r = RunCli(args);
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("\"G:\\GEO\\bdt0001.gdf\" は MDT ファイルではありません"), std::string::npos)
      << r.err;
  EXPECT_FALSE(fs::exists(Out("DATA")));
  args = common;
  args.insert(args.end(), {"G:\\GEO", "O:\\DATA\\P123\\SITE\\B-1"});
  fs::create_directories(geo_.Host("GEO/MDTDIR"));
  args[args.size() - 2] = "G:\\GEO\\MDTDIR";
  r = RunCli(args);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("変換元 \"G:\\GEO\\MDTDIR\" はフォルダです。"), std::string::npos) << r.err;
  EXPECT_EQ(RunCli({"only-one"}).exitCode, 2);
  EXPECT_EQ(RunCli({"--bogus", "a", "b"}).exitCode, 2);
  EXPECT_EQ(RunCli({"--drive", "XX", "a", "b"}).exitCode, 2);
  CliResult help = RunCli({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("--patdat"), std::string::npos);
}

TEST_F(RunCliTest, LayerCountZeroStillReadsTheSecondBlock) {
  WriteMdt({"0,0,0,0,12", "2,3,1", "x,8.00,亀裂", "y,9.00,"});
  CliResult r = Convert();
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_FALSE(HasOutput("X1.TXT"));
  EXPECT_FALSE(HasOutput("R35.TXT"));
  EXPECT_EQ(Output("X11.TXT"), (Lines{"  1,   8.00,  3,亀裂," + std::string(20, ' ')}));
}

TEST_F(RunCliTest, KdtDepthIsCutAtTheParenthesisAndWorkFilesGo) {
  WriteSection("KDT", {"0,3,2", "1.50,ABC", "\"   ) note\",DEF", "2.00,GHI"});
  CliResult r = Convert();
  ASSERT_EQ(r.exitCode, 0) << r.err;
  // The cut depth is empty, so its remark joins the record before it.
  Lines x12 = Output("X12.TXT");
  ASSERT_EQ(x12.size(), 2u);
  EXPECT_EQ(x12[0].substr(0, 12), "  1,   1.50,");
  EXPECT_EQ(x12[1].substr(0, 12), "  2,   2.00,");
  EXPECT_FALSE(HasOutput("N12.TXT"));
  EXPECT_FALSE(HasOutput("N12.TMP"));
}

TEST_F(RunCliTest, KdtWithoutRemarksLeavesNothing) {
  WriteSection("KDT", {"0,2,2", "1.50,", "2.00,"});
  ASSERT_EQ(Convert().exitCode, 0);
  EXPECT_FALSE(HasOutput("X12.TXT"));
  EXPECT_FALSE(HasOutput("N12.TXT"));
  EXPECT_FALSE(HasOutput("N12.TMP"));
}

TEST_F(RunCliTest, CdtDepthsAreWholeNumbersBeforeAnyEqualsSign) {
  WriteSection("CDT", {"0,3,5,0,0,0", "12=abc,5,,,", "12.5,6,,,", "0,1,x,0,0"});
  ASSERT_EQ(Convert().exitCode, 0);
  EXPECT_EQ(Output("R41.TXT"),
            (Lines{"  1,     12,  5,  0,  0,,,,,,", "  2,     12,  6,  0,  0,,,,,,"}));
  WriteSection("CDT", {"0,1,5,0,0,0", "0,5,x,1,1"});
  ASSERT_EQ(Convert().exitCode, 0);
  EXPECT_TRUE(HasOutput("R41.TXT"));
  EXPECT_TRUE(Output("R41.TXT").empty());
}

TEST_F(RunCliTest, HeaderCheckFailureStopsAfterEarlierSections) {
  WriteSection("BDT", {"0,1,2,0,0,0", "1.00,5/1", "0,0,0"});
  WriteSection("KDT", {"0,0"});
  CliResult r = Convert();
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("エラー `62 "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("`G:\\GEO\\KDT0001.GDF` のヘッダーが不正です。変換できません"),
            std::string::npos)
      << r.err;
  EXPECT_TRUE(HasOutput("N8.TXT"));  // what was written before stays
  EXPECT_TRUE(HasOutput("CNT.TXT"));
}

TEST_F(RunCliTest, BadSectionDataStopsWithAMessageNamingTheFile) {
  struct Case {
    const char* kind;
    Lines lines;
    const char* says;
  };
  const std::vector<Case> cases = {
      {"BDT", {"0,2,3,0,0,0", "1,2,3", "4,5"}, "途中で終わっています"},
      {"BDT", {"0,1,41,0,0,0", "1"}, "上限 40"},
      {"NDT", {"100,-1,2", "0"}, "整数ではありません"},
      {"NDT", {"100,1.5,2", "0"}, "整数ではありません"},
      {"CDT", {"0,abc,2,0,0,0"}, "数値ではありません"},
      {"LDT", {"x,1,1", "1,1"}, "数値ではありません"},
      {"KDT", {"0,2,2", "1,\x1A"}, "途中で終わっています"},
  };
  for (const Case& c : cases) {
    WriteSection(c.kind, c.lines);
    CliResult r = Convert();
    EXPECT_EQ(r.exitCode, 1) << c.kind;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << c.kind << ": " << r.err;
    EXPECT_NE(r.err.find(std::string("G:\\GEO\\") + c.kind + "0001.GDF"), std::string::npos)
        << r.err;
    fs::remove(In(std::string("GEO/") + c.kind + "0001.GDF"));
  }
  WriteMdt({"0,41,0,0,0"});
  CliResult r = Convert();
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("上限 40"), std::string::npos) << r.err;
}

TEST_F(RunCliTest, MissingRunTablesAndUnwritableDestinationsStop) {
  fs::remove(In("PATDAT/L10.TXT"));
  CliResult r = Convert();
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("G:\\PATDAT\\L10.TXT"), std::string::npos) << r.err;
  WriteSjisLines(In("PATDAT/L10.TXT"), {"3,亀裂"});

  // A destination that is a file.
  WriteSjis(Out("FILE"), "x");
  r = Convert("O:\\FILE");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("O:\\FILE\\CNT.TXT"), std::string::npos) << r.err;
  // A sibling that is a folder.
  fs::create_directories(In("GEO/NDT0001.GDF"));
  r = Convert();
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("NDT0001.GDF"), std::string::npos) << r.err;
}

TEST_F(RunCliTest, ARunWaitsForTheReferenceFolderLockAndGivesUp) {
  std::unique_ptr<HeldLock> held = geo_.Files().TryLock(geo_.Drive("PATDAT\\OSTRACONV.LCK"));
  ASSERT_NE(held, nullptr);
  CliResult r = Convert("O:\\DATA\\P123\\SITE\\B-1", true, {"OSTRACONV_LOCK_WAIT=0"});
  // A status of its own: a script may try again later.
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_NE(r.err.find("他の変換で使用中です"), std::string::npos) << r.err;
  EXPECT_FALSE(HasOutput("Titl01.txt"));
  // A run that waits says so at once, with how long it will wait.
  r = Convert("O:\\DATA\\P123\\SITE\\B-1", true, {"OSTRACONV_LOCK_WAIT=1"});
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_NE(
      r.err.find("参照フォルダを他の変換が使用中です。終わるまでお待ちください。（最長 1 秒）"),
      std::string::npos)
      << r.err;
  held.reset();
  r = Convert("O:\\DATA\\P123\\SITE\\B-1", true, {"OSTRACONV_LOCK_WAIT=0"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
}

#ifndef _WIN32
TEST_F(RunCliTest, ALockFileThatCannotBeMadeStopsTheRun) {
  // A reference folder nobody may write to, without a lock file: the run cannot guard it.
  fs::permissions(geo_.Host("PATDAT"), fs::perms::owner_read | fs::perms::owner_exec);
  CliResult r = Convert("O:\\DATA\\P123\\SITE\\B-1", true, {"OSTRACONV_LOCK_WAIT=0"});
  fs::permissions(geo_.Host("PATDAT"), fs::perms::owner_all);
  if (getuid() == 0) GTEST_SKIP() << "root may write anywhere";
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("OSTRACONV.LCK"), std::string::npos) << r.err;
  EXPECT_FALSE(HasOutput("Titl01.txt"));
}
#endif

}  // namespace
}  // namespace ostra::test
