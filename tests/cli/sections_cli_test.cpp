// The BDT, KDT, NDT, LDT and CDT sections converted end to end through the command line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace ostra::test {
namespace {

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// A data set made of the five sections (and an MDT file without items or layers) in
// <temp>/GEO, a reference folder in <temp>/PATDAT and the destination <temp>/OUT/P1/SITE/B-1.
class SectionsCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CopyExamplePatdat(Host("PATDAT"));
    for (const char* table : {"L1.TXT", "L2.TXT", "L3.TXT", "L4.TXT", "L10.TXT"}) {
      if (!fs::exists(Host("PATDAT") / table)) WriteSjis(Host("PATDAT") / table, "");
    }
    WriteSjisLines(Host("PATDAT/L8.TXT"), {"3,透水試験,x", "10,ベーン試験,y"});
    fs::create_directories(Host("GEO"));
    WriteSection("MDT", {"0,0,0,0,0", "0,0,0"});
  }

  fs::path Host(const std::string& relative) const { return drive_.Host(relative); }
  void WriteSection(const std::string& kind, const std::vector<std::string>& lines) {
    WriteSjisLines(Host("GEO/" + kind + "0001.GDF"), lines);
  }
  CliResult Convert() {
    return RunCli({"--patdat", Host("PATDAT").string(), "--yes", Host("GEO/MDT0001.GDF").string(),
                   Host("OUT/P1/SITE/B-1").string()});
  }
  std::vector<std::string> Output(const std::string& name) const {
    return ReadSjisLines(Host("OUT/P1/SITE/B-1/" + name));
  }
  bool HasOutput(const std::string& name) const {
    return fs::exists(Host("OUT/P1/SITE/B-1/" + name));
  }

  TempDrive drive_;
};

TEST_F(SectionsCliTest, EverySectionReachesItsFiles) {
  WriteSection("BDT", {"0,2,10,0,0,0", "12.50,5/12,,12.50,95～100,3～5,,,10,",
                       "13.00,6/1,,13.00,100.0,,,,,", "0,2,2", "14.00,7/2", ",8/3"});
  WriteSection("KDT", {"0,3,2", "12.5,ABC", "GL-1.50 ) note,DEF", "13.0,"});
  WriteSection("NDT", {"100,2,5", "0", "5.00,50/12,15,17,18", "6.00,11/11,,,"});
  std::vector<std::string> ldt{"0,1,1", "3,3", "5.00,6.00,透水試験]JIS", "2.0,2.3,ベーン試験"};
  for (int i = 0; i < 18; ++i) ldt.push_back(",,");
  ldt.push_back("1.00,2.00,一軸]A-1");
  WriteSection("LDT", ldt);
  WriteSection("CDT", {"0,2,5,0,0,0", "100,5,150,3,4", "200,7,200,8,9"});

  const CliResult result = Convert();
  ASSERT_EQ(result.exitCode, 0) << result.err;

  ASSERT_EQ(Output("N8.TXT").size(), 2u);
  const std::string n8 = Output("N8.TXT")[0];
  EXPECT_EQ(n8.substr(n8.size() - 14), "/ 5/12,  12.50") << n8;
  EXPECT_EQ(Output("G71.TXT"),
            (std::vector<std::string>{"  1,  12.50,   ,     ,  95", "  2,  13.00,   ,     ,100."}));
  EXPECT_EQ(Output("G73.TXT"), (std::vector<std::string>{"  1,  12.50,  3,   "}));
  EXPECT_EQ(Output("G81.TXT"), (std::vector<std::string>{"  1,  12.50,   , 10,   "}));
  ASSERT_EQ(Output("N9.TXT").size(), 1u);  // the record without a depth is left out
  EXPECT_EQ(Output("N9.TXT")[0].substr(0, 4), "  1,");

  const std::string pad = Repeat("　", 12) + "   ";
  EXPECT_EQ(Output("X12.TXT"), (std::vector<std::string>{"  1,  12.50,\"ABC" + pad + "\"",
                                                         "  2,   0.00,\"DEF" + pad + "\""}));
  EXPECT_EQ(Output("X5.TXT"),
            (std::vector<std::string>{"  1,   5.00, 50,125, 12, 15, 10, 17, 10, 18, 10",
                                      "  2,   6.00, 11, 30, 11,   ,   ,   ,   ,   ,   "}));

  const auto x7 = Output("X7.txt");
  ASSERT_EQ(x7.size(), 2u);
  EXPECT_EQ(x7[0].rfind("  1,,  ,,   5.00,   6.00,   ,100,", 0), 0u) << x7[0];
  EXPECT_EQ(x7[1].rfind("  2,,  ,,   2.00,   2.30,   ,30,", 0), 0u) << x7[1];
  EXPECT_NE(x7[0].find(", 3, 3,"), std::string::npos);
  EXPECT_NE(x7[1].find(",10,10,"), std::string::npos);
  EXPECT_NE(x7[1].find(",ベーン試験,ベーン試験,"), std::string::npos);
  EXPECT_EQ(Output("N6.TMP"),
            (std::vector<std::string>{"  1,A-1   ,  ,   1.00,   2.00,   ,   ,010000000000000"}));
  EXPECT_EQ(Output("R41.TXT"), (std::vector<std::string>{"  1,    100,  5,  0,  0,,,,,,",
                                                         "  2,    150,   ,  3,  4,,,,,,",
                                                         "  3,    200,  7,  8,  9,,,,,,"}));

  for (const char* work : {"N12.TXT", "N12.TMP", "N7Merg.Dat"}) {
    EXPECT_FALSE(HasOutput(work)) << work;
  }
}

TEST_F(SectionsCliTest, TestIntervalsOfFullWidthDepthsAreExact) {
  std::vector<std::string> ldt{"0,1,1", "3,3", "2.0,２．３,透水試験", "35.73,０５,ベーン試験"};
  for (int i = 0; i < 18; ++i) ldt.push_back(",,");
  ldt.push_back("1.00,2.00,一軸]A-1");
  WriteSection("LDT", ldt);

  const CliResult result = Convert();
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const auto x7 = Output("X7.txt");
  ASSERT_EQ(x7.size(), 2u);
  EXPECT_EQ(x7[0].rfind("  1,,  ,,   2.00,   2.30,   ,30,", 0), 0u) << x7[0];
  EXPECT_EQ(x7[1].rfind("  2,,  ,,  35.73,   5.00,   ,-3073,", 0), 0u) << x7[1];
}

TEST_F(SectionsCliTest, SectionsWithoutDataLeaveNoFiles) {
  // Remarks all empty, no test record in the LDT block, no usable CDT depth.
  WriteSection("KDT", {"0,2,2", "1.0,", "2.0,"});
  std::vector<std::string> ldt{"0,1,1", "3,3"};
  for (int i = 0; i < 20; ++i) ldt.push_back(" ,1,2");
  ldt.push_back("1,2,物理");
  WriteSection("LDT", ldt);
  WriteSection("CDT", {"0,1,5,0,0,0", "0,1,x,2,3"});

  const CliResult result = Convert();
  ASSERT_EQ(result.exitCode, 0) << result.err;
  for (const char* none : {"X12.TXT", "N12.TXT", "N12.TMP", "X7.txt", "N7Merg.Dat"}) {
    EXPECT_FALSE(HasOutput(none)) << none;
  }
  EXPECT_EQ(Output("N6.TMP").size(), 1u);
  EXPECT_TRUE(HasOutput("R41.TXT"));
  EXPECT_TRUE(Output("R41.TXT").empty());
}

TEST_F(SectionsCliTest, MissingKindTableStopsTheRunWithItsName) {
  fs::remove(Host("PATDAT/L8.TXT"));
  std::vector<std::string> ldt{"0,1,1", "3,3", "1,2,透水試験"};
  for (int i = 0; i < 19; ++i) ldt.push_back(",,");
  ldt.push_back("1,2,物理");
  WriteSection("LDT", ldt);
  const CliResult result = Convert();
  EXPECT_NE(result.exitCode, 0);
  EXPECT_NE(result.err.find("L8.TXT"), std::string::npos) << result.err;
  EXPECT_FALSE(HasOutput("X7.txt"));
}

TEST(SectionsCliSampleTest, BundledSampleGivesEveryOutputAndNoWorkFile) {
  fs::path source;
  if (fs::exists(ExamplesDir())) {
    for (const auto& entry : fs::recursive_directory_iterator(ExamplesDir())) {
      const std::string name = entry.path().filename().string();
      if (name.size() > 3 && name.compare(0, 3, "MDT") == 0 && entry.is_regular_file()) {
        source = entry.path();
      }
    }
  }
  if (source.empty()) GTEST_SKIP() << "no bundled data set in " << ExamplesDir();

  // The run extends reference tables and probes sibling files: work on copies.
  TempDrive drive;
  CopyExamplePatdat(drive.Host("PATDAT"));
  fs::copy(source.parent_path(), drive.Host("GEO"), fs::copy_options::recursive);
  const fs::path dest = drive.Host("OUT/P1/SITE/B-1");
  const CliResult result =
      RunCli({"--patdat", drive.Host("PATDAT").string(), "--yes",
              (drive.Host("GEO") / source.filename()).string(), dest.string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  for (const char* name :
       {"CNT.TXT", "Titl01.txt", "Titl02.txt", "X1.TXT",  "X3.TXT", "R31.TXT", "R32.TXT",
        "R33.TXT", "R34.TXT",    "R35.TXT",    "X11.TXT", "N8.TXT", "G71.TXT", "G73.TXT",
        "G81.TXT", "N9.TXT",     "X12.TXT",    "X5.TXT",  "X7.txt", "N6.TMP",  "R41.TXT"}) {
    EXPECT_TRUE(fs::exists(dest / name)) << name;
  }
  for (const char* work : {"N12.TXT", "N12.TMP", "N7Merg.Dat"}) {
    EXPECT_FALSE(fs::exists(dest / work)) << work;
  }
}

}  // namespace
}  // namespace ostra::test
