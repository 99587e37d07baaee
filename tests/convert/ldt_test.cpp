// LDT tests and samples: N7Merg.Dat lines, the X7.txt table and N6.TMP lines.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "base/errors.h"
#include "run/error_text.h"
#include "sections_fixture.h"

namespace ostra::test {
namespace {

class LdtTest : public SectionsTest {
 protected:
  void SetUp() override {
    fs::create_directories(drive_.Host("PATDAT"));
    fs::create_directories(drive_.Host("OUT"));
    env_.patdatFolder = PathOf("PATDAT\\");
  }
  void WriteL8(const std::vector<std::string>& lines) {
    WriteSjisLines(drive_.Host("PATDAT/L8.TXT"), lines);
  }
  // Writes test records (from, to, description) into N7Merg.Dat as the run does.
  void WriteTests(const std::vector<std::vector<std::string>>& records) {
    OutputFile n7(drive_.Files(), PathOf("OUT\\N7Merg.Dat"));
    for (const auto& r : records) WriteTestRecord(n7, Record(r));
    n7.Close();
  }
  void Build() {
    ReferenceFolder tables(drive_.Files(), env_.patdatFolder);  // each table is a new run
    env_.tables = &tables;
    BuildTestTable(env_, DrivePath(PathOf("OUT\\")));
  }
  // The fields of every X7.txt line.
  std::vector<std::vector<std::string>> Table() {
    std::vector<std::vector<std::string>> rows;
    for (const auto& line : Lines("OUT/X7.txt")) rows.push_back(SplitCommas(line));
    return rows;
  }
  std::string TestLine(const std::vector<std::string>& record) {
    WriteTests({record});
    const auto lines = Lines("OUT/N7Merg.Dat");
    return lines.size() == 1 ? lines[0] : "";
  }
  std::string SampleLine(const std::vector<std::string>& record) {
    OutputFile n6(drive_.Files(), PathOf("OUT\\N6.TMP"));
    WriteSampleRecord(n6, Record(record));
    n6.Close();
    const auto lines = Lines("OUT/N6.TMP");
    return lines.size() == 1 ? lines[0] : "";
  }

  RunEnv env_ = [this] {
    RunEnv env;
    env.files = &drive_.Files();
    return env;
  }();
};

TEST_F(LdtTest, TestRecordCarriesTheFixedTestCode) {
  EXPECT_EQ(TestLine({"5.00", "6.00", "透水試験]JIS"}),
            "  1,      , 3,   5.00,   6.00,        ,        ,透水試験");
  EXPECT_EQ(TestLine({"1", "2", " ベーン試験 "}),
            "  1,      ,10,      1,      2,        ,        ,ベーン試験");
  EXPECT_EQ(TestLine({"1", "2", "間隙水圧測定]"}).substr(0, 13), "  1,      , 4");
  EXPECT_EQ(TestLine({"1", "2", "コロージョンテスト"}).substr(0, 13), "  1,      , 7");
  EXPECT_EQ(TestLine({"1", "2", "その他"}).substr(0, 13), "  1,      ,44");
  EXPECT_EQ(TestLine({"1", "2", "   ]x"}), "  1,      , 0,      1,      2,        ,        ,");
}

TEST_F(LdtTest, TestRecordKeepsEveryValueInItsField) {
  EXPECT_EQ(TestLine({"1,5", "\"2", "A,B\"C"}),
            "  1,      ,44,    1，5,     '2,        ,        ,A，B＂C");
}

TEST_F(LdtTest, TableGivesEachKindItsColumnsInCodeOrder) {
  WriteL8({"3,透水試験,x", "10,ベーン試験,y", "4,間隙水圧測定,z", "44,その他,w"});
  WriteTests(
      {{"5.00", "6.00", "ベーン試験"}, {"2.0", "2.3", "透水試験]JIS"}, {"1", "0", "その他"}});
  Build();
  EXPECT_FALSE(Exists("OUT/N7Merg.Dat"));
  const auto rows = Table();
  ASSERT_EQ(rows.size(), 3u);
  for (const auto& row : rows) ASSERT_EQ(row.size(), 68u);

  // Vane test: slot 2 (code 10 sorts between 3 and 44).
  const auto& vane = rows[0];
  EXPECT_EQ(vane[0], "  1");
  EXPECT_EQ(vane[1], "");
  EXPECT_EQ(vane[2], "  ");
  EXPECT_EQ(vane[3], "");
  EXPECT_EQ(vane[4], "   5.00");
  EXPECT_EQ(vane[5], "   6.00");
  EXPECT_EQ(vane[6], "   ");
  EXPECT_EQ(vane[7], "100");
  for (int f = 9; f <= 68; ++f) {
    const bool own = f == 11 || f == 12 || f == 31 || f == 32;
    const std::string expected = f <= 28 ? "10" : "ベーン試験";
    EXPECT_EQ(vane[static_cast<size_t>(f - 1)], own ? expected : "") << "field " << f;
  }
  // Permeability test: slot 1.
  const auto& permeability = rows[1];
  EXPECT_EQ(permeability[0], "  2");
  EXPECT_EQ(permeability[7], "30");  // 2.0 to 2.3, exactly
  EXPECT_EQ(permeability[8], " 3");
  EXPECT_EQ(permeability[9], " 3");
  EXPECT_EQ(permeability[10], "");
  EXPECT_EQ(permeability[28], "透水試験");
  EXPECT_EQ(permeability[29], "透水試験");
  EXPECT_EQ(permeability[48], "");  // fields 6 and 7 of N7Merg.Dat read back empty
  // Any other test: slot 3.
  const auto& other = rows[2];
  EXPECT_EQ(other[7], "   ");  // depth to 0
  for (int f = 9; f <= 68; ++f) {
    const bool own = f == 13 || f == 14 || f == 33 || f == 34;
    const std::string expected = f <= 28 ? "44" : "その他";
    EXPECT_EQ(other[static_cast<size_t>(f - 1)], own ? expected : "") << "field " << f;
  }
}

TEST_F(LdtTest, IntervalIsExactOnAFiveCentimetreGrid) {
  WriteL8({"3,透水試験,x"});
  std::vector<std::vector<std::string>> records;
  std::vector<int> expected;
  char from[16], to[16];
  for (int a = 0; a <= 400; a += 5) {
    for (int b = a + 5; b <= a + 100; b += 5) {
      std::snprintf(from, sizeof from, "%d.%02d", a / 100, a % 100);
      std::snprintf(to, sizeof to, "%d.%d", b / 100, b % 100 / 10);
      if (b % 10 != 0) std::snprintf(to, sizeof to, "%d.%02d", b / 100, b % 100);
      records.push_back({from, to, "透水試験"});
      expected.push_back(b - a);
    }
  }
  WriteTests(records);
  Build();
  const auto rows = Table();
  ASSERT_EQ(rows.size(), expected.size());
  int wrong = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i][7] != std::to_string(expected[i])) ++wrong;
  }
  EXPECT_EQ(wrong, 0);
}

TEST_F(LdtTest, IntervalKeepsSignAndIgnoresTextAfterTheNumber) {
  WriteL8({"3,透水試験,x"});
  WriteTests({{"6.00", "5.95", ""}, {"1.00m", "1.3m", ""}, {"", "2", ""}, {"5", "abc", ""}});
  Build();
  const auto rows = Table();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0][7], "-5");
  EXPECT_EQ(rows[1][7], "30");
  EXPECT_EQ(rows[1][4], "   1.00");
  EXPECT_EQ(rows[2][7], "200");
  EXPECT_EQ(rows[3][7], "   ");
}

TEST_F(LdtTest, IntervalIsExactForDepthsInFullWidth) {
  WriteL8({"3,透水試験,x"});
  WriteTests({{"2.0", "２．３", "透水試験"},
              {"35.73", "０５", "透水試験"},
              {"－１．２", "\u2212０．１３", ""},
              {"\u30001.15", "2.3\u3000", ""}});
  Build();
  const auto rows = Table();
  ASSERT_EQ(rows.size(), 4u);
  // Read through binary fractions these give 29, -3072, 106 and 114.
  EXPECT_EQ(rows[0][7], "30");
  EXPECT_EQ(rows[1][7], "-3073");
  EXPECT_EQ(rows[2][7], "107");
  EXPECT_EQ(rows[3][7], "115");
  EXPECT_EQ(rows[0][5], "   2.30");
  EXPECT_EQ(rows[1][5], "   5.00");
  EXPECT_EQ(rows[2][4], "  -1.20");
}

TEST_F(LdtTest, KindsBeyondTheTenthHaveNoColumns) {
  std::vector<std::string> table;
  std::vector<std::vector<std::string>> records;
  for (int i = 0; i < 10; ++i) {
    table.push_back(std::to_string(50 + i) + ",K" + std::to_string(i) + ",x");
    records.push_back({"1", "2", "K" + std::to_string(i)});
  }
  // The 11th distinct kind would sort first.
  table.push_back("3,透水試験,x");
  records.push_back({"1", "2", "透水試験"});
  WriteL8(table);
  WriteTests(records);
  Build();
  const auto rows = Table();
  ASSERT_EQ(rows.size(), 11u);
  for (int f = 9; f <= 68; ++f) EXPECT_EQ(rows[10][static_cast<size_t>(f - 1)], "") << f;
}

TEST_F(LdtTest, FirstNameOfACodeNamesTheKind) {
  // Two L8 names share code 3; the line codes come from the fixed table.
  WriteL8({" 3 , 透水試験 ,x", "3,Other,y"});
  WriteTests({{"1", "2", "Other"}, {"1", "2", "透水試験"}});
  Build();
  const auto rows = Table();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1][8], " 3");
  EXPECT_EQ(rows[1][28], "Other");
}

TEST_F(LdtTest, EmptyMergeFileLeavesNoTable) {
  WriteTests({});
  Build();
  EXPECT_FALSE(Exists("OUT/N7Merg.Dat"));
  EXPECT_FALSE(Exists("OUT/X7.txt"));
}

TEST_F(LdtTest, MissingKindTableStopsTheRun) {
  WriteTests({{"1", "2", "透水試験"}});
  try {
    Build();
    FAIL() << "no error";
  } catch (const RunError& e) {
    EXPECT_NE(U8(ErrorMessage(e)).find("L8.TXT"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(Exists("OUT/X7.txt"));
}

TEST_F(LdtTest, SampleRecordFlagsItsKind) {
  EXPECT_EQ(SampleLine({"5.00", "6.00", "一軸]A-1"}),
            "  1,A-1   ,  ,   5.00,   6.00,   ,   ,010000000000000");
  EXPECT_EQ(SampleLine({"1", "2", "一軸三軸"}),
            "  1,      ,  ,      1,      2,   ,   ,001000000000000");
  EXPECT_EQ(SampleLine({"1", "2", "物理]"}),
            "  1,      ,  ,      1,      2,   ,   ,100000000000000");
  EXPECT_EQ(SampleLine({"1", "2", "圧密"}),
            "  1,      ,  ,      1,      2,   ,   ,000100000000000");
  EXPECT_EQ(SampleLine({"1", "2", "特殊]X"}).substr(38), "000000100000000");
  EXPECT_EQ(SampleLine({"1", "2", "動的"}).substr(38), "000000010000000");
  EXPECT_EQ(SampleLine({"1", "2", "その他]]"}).substr(38), "000000000000000");
}

TEST_F(LdtTest, SampleDetailIsCutAtSixBytes) {
  EXPECT_EQ(SplitCommas(SampleLine({"1", "2", "物理]1試料番号"}))[1], "1試料 ");
  EXPECT_EQ(SplitCommas(SampleLine({"1", "2", "物理]ABCDEFG"}))[1], "ABCDEF");
}

}  // namespace
}  // namespace ostra::test
