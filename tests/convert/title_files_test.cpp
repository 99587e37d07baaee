#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/title.h"
#include "support/test_support.h"

namespace ostra {
namespace {

using test::U16;
using test::U8;
using Lines = std::vector<std::string>;

class TitleFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env_.patdatFolder = drive_.Drive("PATDAT\\");
    env_.files = &drive_.Files();
    env_.ui = &ui_;
    WriteTable("L1.TXT", {"0,ゼロ", "3,砂岩", "12,礫岩", "3,泥岩"});
    WriteTable("L2.TXT", {"01,粘土", "4,ＣＨ級", "04,ＣＭ級"});
    std::filesystem::create_directories(drive_.Host("OUT"));
    // What the decoder leaves for a typical header.
    SetA(1, " 調査件名 ");
    SetA(4, "　発注者");
    SetA(5, "調査名");
    SetA(6, "地点");
    SetA(10, "1998");
    SetA(11, "4");
    SetA(12, " 12");
    SetA(13, "1999");
    SetA(14, "10");
    SetA(15, "3");
    SetA(16, "3");
    SetA(17, "備考");
    SetA(20, "会社");
    SetA(21, "担当");
    SetA(22, "22");
    SetA(23, "23");
    SetA(24, "24");
    SetA(25, "25");
    SetA(26, "26");
    SetA(27, "04");
    SetB(1, "孔番号");
    SetB(5, " 43");
    SetB(6, " 3");
    SetB(7, " 0");
    SetB(8, " 141");
    SetB(9, " 21");
    SetB(10, " 0");
    SetB(12, "b12");
    SetB(13, "b13");
    SetB(14, "b14");
  }

  void WriteTable(const std::string& name, const Lines& lines) {
    test::WriteSjisLines(drive_.Host("PATDAT/" + name), lines);
  }
  void SetA(int n, const std::string& text) { a_[n] = U16(text); }
  void SetB(int n, const std::string& text) { b_[n] = U16(text); }

  void Write(const std::string& dest = "OUT") {
    ReferenceFolder tables(drive_.Files(), env_.patdatFolder);  // each writing is a new run
    env_.tables = &tables;
    WriteTitleFiles(env_, a_, b_, DrivePath(drive_.Drive(dest)));
  }
  Lines Titl01() { return test::ReadSjisLines(drive_.Host("OUT/Titl01.txt")); }
  Lines Titl02() { return test::ReadSjisLines(drive_.Host("OUT/Titl02.txt")); }

  test::TempDrive drive_;
  test::WarningLog ui_;
  RunEnv env_;
  TitleItems a_;
  TitleItems b_;
};

TEST_F(TitleFilesTest, LayoutOfBothFiles) {
  Write();
  EXPECT_TRUE(ui_.warnings.empty());
  const Lines titl01 = {"調査件名", "　発注者", "",    "1998", " 4",    "12",   "1999", "10",
                        " 3",       "地点",     " 43", " 3",   "    0", "141",  "21",   "    0",
                        "孔番号",   "",         "",    "",     "会社",  "担当", ""};
  EXPECT_EQ(Titl01(), titl01);
  const Lines titl02 = {"調査名", "    ", "  ",       "  ",     "    ",     "  ",  "  ",
                        "",       "   ",  "  ",       "     ",  "   ",      "  ",  "     ",
                        "23",     "22",   " 3 ",      "砂岩",   "備考",     "",    "  ",
                        "",       "",     "        ", "b12",    "b13",      "b14", "24",
                        "25",     "26",   " 4 ",      "ＣＨ級", "",         "",    "",
                        "",       "",     "",         "",       "64414268", ""};
  EXPECT_EQ(Titl02(), titl02);
}

TEST_F(TitleFilesTest, FieldsAreRightJustifiedByCharacters) {
  SetA(10, "12345");
  SetA(11, "");
  SetA(13, "岩盤");
  SetB(7, " 12");
  SetB(10, "12.5");
  Write();
  const Lines lines = Titl01();
  ASSERT_EQ(lines.size(), 23u);
  EXPECT_EQ(lines[3], "2345");
  EXPECT_EQ(lines[4], "  ");
  EXPECT_EQ(lines[6], "  岩盤");
  EXPECT_EQ(lines[12], "   12");
  EXPECT_EQ(lines[15], " 12.5");
}

TEST_F(TitleFilesTest, CodeLinesAndNames) {
  // No code found by the decoder: two blanks and no name.
  SetA(16, "  ");
  Write();
  EXPECT_EQ(Titl02()[16], "  ");
  EXPECT_EQ(Titl02()[17], "");
  // "0" and "０" hold code 0.
  SetA(16, "0");
  Write();
  EXPECT_EQ(Titl02()[16], " 0 ");
  EXPECT_EQ(Titl02()[17], "ゼロ");
  SetA(16, " ０ ");
  Write();
  EXPECT_EQ(Titl02()[16], " 0 ");
  EXPECT_EQ(Titl02()[17], "ゼロ");
  // Zero or negative in any other form holds no code.
  for (const char* none : {"00", "-3", "abc", ""}) {
    SetA(16, none);
    Write();
    EXPECT_EQ(Titl02()[16], "  ") << none;
    EXPECT_EQ(Titl02()[17], "") << none;
  }
  // Codes compare as numbers; two digits are written without padding.
  SetA(16, "012");
  Write();
  EXPECT_EQ(Titl02()[16], " 12 ");
  EXPECT_EQ(Titl02()[17], "礫岩");
  // A code no record holds: the code line stays, the name is empty.
  SetA(16, "9");
  Write();
  EXPECT_EQ(Titl02()[16], " 9 ");
  EXPECT_EQ(Titl02()[17], "");
  // "04" finds the first record with code 4, written "4" in the table.
  EXPECT_EQ(Titl02()[30], " 4 ");
  EXPECT_EQ(Titl02()[31], "ＣＨ級");
  EXPECT_TRUE(ui_.warnings.empty());
}

TEST_F(TitleFilesTest, L3IsOnlyUsedForACode) {
  const auto l3 = drive_.Host("PATDAT/L3.TXT");
  Write();
  EXPECT_FALSE(std::filesystem::exists(l3));
  EXPECT_EQ(Titl02()[20], "  ");
  EXPECT_EQ(Titl02()[21], "");

  // A missing table is created empty and gives no name.
  SetA(18, "2");
  Write();
  EXPECT_TRUE(std::filesystem::exists(l3));
  EXPECT_EQ(std::filesystem::file_size(l3), 0u);
  EXPECT_EQ(Titl02()[20], " 2 ");
  EXPECT_EQ(Titl02()[21], "");

  WriteTable("L3.TXT", {"1,一", "2,二"});
  Write();
  EXPECT_EQ(Titl02()[21], "二");
  EXPECT_TRUE(ui_.warnings.empty());
}

TEST_F(TitleFilesTest, DestinationWithOrWithoutBackslash) {
  Write("OUT\\");
  const Lines withSlash01 = Titl01();
  const Lines withSlash02 = Titl02();
  std::filesystem::remove(drive_.Host("OUT/Titl01.txt"));
  std::filesystem::remove(drive_.Host("OUT/Titl02.txt"));
  Write("OUT");
  EXPECT_EQ(Titl01(), withSlash01);
  EXPECT_EQ(Titl02(), withSlash02);
  EXPECT_EQ(withSlash01.size(), 23u);
  EXPECT_EQ(withSlash02.size(), 41u);
}

TEST_F(TitleFilesTest, EmptyItemsStillGiveFullFiles) {
  a_ = TitleItems();
  b_ = TitleItems();
  Write();
  const Lines titl01 = Titl01();
  const Lines titl02 = Titl02();
  ASSERT_EQ(titl01.size(), 23u);
  ASSERT_EQ(titl02.size(), 41u);
  EXPECT_EQ(titl01[3], "    ");
  EXPECT_EQ(titl01[10], "   ");
  EXPECT_EQ(titl01[12], "     ");
  EXPECT_EQ(titl02[30], "  ");
  // No position: the grid-square code of zeros.
  EXPECT_EQ(titl02[39], "00000000");
  EXPECT_TRUE(ui_.warnings.empty());
}

TEST_F(TitleFilesTest, FailuresAreWarnedAndTheRunGoesOn) {
  // A table whose last record lacks its name: nothing is written.
  WriteTable("L1.TXT", {"1,砂岩", "2"});
  Write();
  ASSERT_EQ(ui_.warnings.size(), 1u);
  EXPECT_NE(ui_.warnings[0].find(u"Titl01.txt"), Text::npos) << U8(ui_.warnings[0]);
  EXPECT_NE(ui_.warnings[0].find(env_.Table(u"L1.TXT")), Text::npos) << U8(ui_.warnings[0]);
  EXPECT_FALSE(std::filesystem::exists(drive_.Host("OUT/Titl01.txt")));

  // Titl02.txt cannot be created: Titl01.txt is complete, the warning names Titl02.txt.
  WriteTable("L1.TXT", {"3,砂岩"});
  std::filesystem::create_directories(drive_.Host("OUT/Titl02.txt"));
  Write();
  ASSERT_EQ(ui_.warnings.size(), 2u);
  EXPECT_NE(ui_.warnings[1].find(drive_.Drive("OUT\\Titl02.txt")), Text::npos)
      << U8(ui_.warnings[1]);
  EXPECT_EQ(Titl01().size(), 23u);

  // A destination folder that does not exist.
  Write("NOWHERE");
  ASSERT_EQ(ui_.warnings.size(), 3u);
  EXPECT_NE(ui_.warnings[2].find(drive_.Drive("NOWHERE\\Titl01.txt")), Text::npos)
      << U8(ui_.warnings[2]);
}

}  // namespace
}  // namespace ostra
