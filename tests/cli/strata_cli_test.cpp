// Layer records converted end to end through the command line: the soil-name dictionaries and
// class tables grow once per new name and keep their contents across conversions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace ostra::test {
namespace {

// A reference folder in <temp>/PATDAT (the bundled one), a data set in <temp>/GEO and the
// destination <temp>/OUT/P1/SITE/B-1.
class StrataCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CopyExamplePatdat(Host("PATDAT"));
    fs::create_directories(Host("GEO"));
  }

  fs::path Host(const std::string& relative) const { return drive_.Host(relative); }
  void UseExampleDataSet() {
    fs::copy_file(ExamplesDir() / "MDT0001.GDF", Host("GEO/MDT0001.GDF"));
  }
  // An MDT file of layer records with ten fields each and no second block.
  void WriteLayers(const std::vector<std::string>& records) {
    std::vector<std::string> lines = {"0,0," + std::to_string(records.size()) + ",0,10"};
    lines.insert(lines.end(), records.begin(), records.end());
    lines.push_back("0,0,0");
    WriteSjisLines(Host("GEO/MDT0001.GDF"), lines);
  }
  CliResult Convert() {
    return RunCli({"--patdat", Host("PATDAT").string(), "--yes", Host("GEO/MDT0001.GDF").string(),
                   Host("OUT/P1/SITE/B-1").string()});
  }
  std::vector<std::string> Output(const std::string& name) const {
    return ReadSjisLines(Host("OUT/P1/SITE/B-1/" + name));
  }
  std::vector<std::string> Table(const std::string& name) const {
    return ReadSjisLines(Host("PATDAT/" + name));
  }
  // The bytes of every table that conversions extend.
  std::vector<std::string> Snapshot() const {
    std::vector<std::string> out;
    for (const char* name :
         {"KISHITU.TXT", "XKISHITU.TXT", "L13.TXT", "L14.TXT", "L15.TXT", "L16.TXT", "L17.TXT"}) {
      out.push_back(ReadBytes(Host("PATDAT/" + std::string(name))));
    }
    return out;
  }

  TempDrive drive_;
};

TEST_F(StrataCliTest, ExampleDataSetRegistersEachNewNameOnce) {
  UseExampleDataSet();
  const std::vector<std::string> kishituBefore = Table("KISHITU.TXT");
  const CliResult first = Convert();
  ASSERT_EQ(first.exitCode, 0) << first.err;
  const std::vector<std::string> x1 = {
      "  1,   1.20,0002,表土",         "  2,   4.50,1005,崖錐堆積物",
      "  3,   7.80,2001,凝灰質砂岩",   "  4,  10.35,5003,砂岩（細粒）",
      "  5,  13.60,2002,砂岩泥岩互層", "  6,  15.20,2003,断層角礫",
      "  7,  19.85,5002,泥岩",         "  8,  23.40,2002,砂岩泥岩互層",
      "  9,  26.70,5007,粘板岩",       " 10,  30.00,5001,砂岩"};
  EXPECT_EQ(Output("X1.TXT"), x1);
  EXPECT_EQ(Table("XKISHITU.TXT"),
            (std::vector<std::string>{
                "2000,礫混じり粘土,    ,    ,    ,0000", "2001,凝灰質砂岩,    ,    ,    ,0000",
                "2002,砂岩泥岩互層,    ,    ,    ,0000", "2003,断層角礫,    ,    ,    ,0000",
                "4000,未区分,    ,    ,    ,0000"}));
  std::vector<std::string> kishitu = kishituBefore;
  kishitu.push_back("2001,凝灰質砂岩,,,,0000");  // found in XKISHITU.TXT, fields as read
  kishitu.push_back("2002,砂岩泥岩互層,    ,    ,    ,0000");
  kishitu.push_back("2003,断層角礫,    ,    ,    ,0000");
  EXPECT_EQ(Table("KISHITU.TXT"), kishitu);
  EXPECT_EQ(Table("L16.TXT").back(), " 6,鏡肌");
  EXPECT_EQ(Table("L17.TXT").back(), " 7,      ,緑泥石化");

  EXPECT_EQ(Output("X3.TXT").at(3), "  4,  13.60,0102  ,CL,0103  ,CM,～");
  EXPECT_EQ(Output("R31.TXT").at(4), "  5,  13.60,5,ＣＬ,4,ＣＭ");
  // A code registered now is written as every later run reads it back.
  EXPECT_EQ(Output("R34.TXT").at(5), "  6,  15.20,6,鏡肌,  ,");
  const std::vector<std::string> r34 = Output("R34.TXT");
  EXPECT_EQ(Output("X11.TXT"),
            (std::vector<std::string>{"  1,   5.60,  1,亀裂," + std::string(20, ' '),
                                      "  2,   8.15,  2,開口亀裂," + std::string(20, ' '),
                                      "  3,  14.90,  3,破砕帯," + std::string(20, ' '),
                                      "  4,  21.05,  7,湧水," + std::string(20, ' '),
                                      "  5,  25.40,  0,," + std::string(20, ' ')}));

  // The second conversion finds everything the first one registered.
  const std::vector<std::string> tables = Snapshot();
  const CliResult second = Convert();
  ASSERT_EQ(second.exitCode, 0) << second.err;
  EXPECT_EQ(Snapshot(), tables);
  EXPECT_EQ(Output("X1.TXT"), x1);
  EXPECT_EQ(Output("R34.TXT"), r34);
}

TEST_F(StrataCliTest, AwkwardNamesAreRegisteredOnce) {
  WriteLayers({"1.00,花崗岩（斑状）,,ｶﾞﾗ,,,,,,", "2.00,\"砂岩,泥岩互層\",,\" CM\",,,,,,",
               "3.00,花崗岩（粗粒）,,,,,,,,"});
  const CliResult first = Convert();
  ASSERT_EQ(first.exitCode, 0) << first.err;
  EXPECT_EQ(Output("X1.TXT"), (std::vector<std::string>{"  1,   1.00,2002,花崗岩（斑状）",
                                                        "  2,   2.00,2003,砂岩,泥岩互層",
                                                        "  3,   3.00,5012,花崗岩（粗粒）"}));
  EXPECT_EQ(Output("R31.TXT"),
            (std::vector<std::string>{"  1,   1.00,7,ｶﾞﾗ,  ,", "  2,   2.00,8, CM,  ,",
                                      "  3,   3.00,  ,,  ,"}));
  const std::vector<std::string> r31 = Output("R31.TXT");
  const std::vector<std::string> tables = Snapshot();
  const CliResult second = Convert();
  ASSERT_EQ(second.exitCode, 0) << second.err;
  EXPECT_EQ(Snapshot(), tables);
  EXPECT_EQ(Output("X1.TXT").at(1), "  2,   2.00,2003,砂岩,泥岩互層");
  EXPECT_EQ(Output("R31.TXT"), r31);
}

TEST_F(StrataCliTest, FullDictionaryStopsTheRunAndKeepsTheTables) {
  WriteSjisLines(Host("PATDAT/XKISHITU.TXT"), {"3999,甲,,,,0000", "4000,未区分,,,,0000"});
  WriteLayers({"1.00,新しい岩,,,,,,,,"});
  const std::vector<std::string> tables = Snapshot();
  const CliResult result = Convert();
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("XKISHITU.TXT"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("4000 未満の空きコードがありません"), std::string::npos) << result.err;
  EXPECT_EQ(Snapshot(), tables);
  EXPECT_FALSE(fs::exists(Host("PATDAT/XKISHITU.TMP")));
}

TEST_F(StrataCliTest, MissingClassTableStopsTheRunNamingIt) {
  fs::remove(Host("PATDAT/L15.TXT"));
  WriteLayers({"1.00,砂岩,,,,,,,,"});
  const CliResult result = Convert();
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("L15.TXT"), std::string::npos) << result.err;
}

}  // namespace
}  // namespace ostra::test
