// KDT remarks: display lines in N12.TXT and their merge into one record per remark.
#include <gtest/gtest.h>

#include <string>

#include "sections_fixture.h"

namespace ostra::test {
namespace {

const std::string kWide = "　";  // the full-width blank that pads display lines

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

class KdtTest : public SectionsTest {
 protected:
  // Writes the remarks (depth, text) into N12.TXT as the run does.
  void WriteRemarks(const std::vector<std::pair<std::string, std::string>>& remarks) {
    OutputFile n12(drive_.Files(), PathOf("N12.TXT"));
    for (const auto& [depth, text] : remarks) WriteRemarkLines(n12, U16(depth), U16(text));
    seq_ = n12.Number();
    n12.Close();
  }
  void Merge() { MergeRemarkLines(drive_.Files(), PathOf("N12")); }

  std::int16_t seq_ = 1;  // the counter after the last remark written
};

TEST_F(KdtTest, ShortRemarkFillsOneDisplayLineAndMergesToOneRecord) {
  WriteRemarks({{"12.5", "ABC"}});
  const std::string text = "\"ABC" + Repeat(kWide, 12) + "   \"";
  EXPECT_EQ(Lines("N12.TXT"), (std::vector<std::string>{"  1,   12.5," + text}));
  EXPECT_EQ(seq_, 2);
  Merge();
  EXPECT_EQ(Lines("N12.TMP"), (std::vector<std::string>{"  1,  12.50," + text}));
}

TEST_F(KdtTest, LongRemarksBreakEveryFifteenCharacters) {
  const std::string twenty = Repeat("岩", 20);
  const std::string fifteen = Repeat("砂", 15);
  WriteRemarks({{"1.0", twenty}, {"2.0", fifteen}, {"3.0", "礫＠"}});
  EXPECT_EQ(Lines("N12.TXT"), (std::vector<std::string>{
                                  "  1,    1.0,\"" + Repeat("岩", 15) + "\"",
                                  "  2,       ,\"" + Repeat("岩", 5) + Repeat(kWide, 10) + "\"",
                                  "  3,    2.0,\"" + fifteen + "\"",
                                  "  4,       ,\"" + Repeat(kWide, 15) + "\"",
                                  "  5,    3.0,\"礫" + Repeat(kWide, 14) + "\"",
                                  "  6,       ,\"" + Repeat(kWide, 15) + "\"",
                              }));
  Merge();
  EXPECT_EQ(Lines("N12.TMP"), (std::vector<std::string>{
                                  "  1,   1.00,\"" + twenty + Repeat(kWide, 10) + "\"",
                                  "  2,   2.00,\"" + fifteen + Repeat(kWide, 15) + "\"",
                                  "  3,   3.00,\"礫" + Repeat(kWide, 29) + "\"",
                              }));
}

TEST_F(KdtTest, BreakMarkStartsANewLineAndIsNotWritten) {
  WriteRemarks({{"5", "＠AB＠＠C"}});
  const std::string blankLine = "\"" + Repeat(kWide, 15) + "\"";
  EXPECT_EQ(Lines("N12.TXT"), (std::vector<std::string>{
                                  "  1,      5," + blankLine,
                                  "  2,       ,\"AB" + Repeat(kWide, 13) + "  \"",
                                  "  3,       ," + blankLine,
                                  "  4,       ,\"C" + Repeat(kWide, 14) + " \"",
                              }));
}

TEST_F(KdtTest, RemarkBeyondTwentyLinesIsDropped) {
  // 300 characters fill line 20 exactly; 310 run into a 21st line; 25 breaks go past line 20.
  WriteRemarks({{"1", Repeat("A", 300)}, {"2", Repeat("B", 310)}, {"3", Repeat("＠", 25) + "C"}});
  const auto lines = Lines("N12.TXT");
  ASSERT_EQ(lines.size(), 60u);
  EXPECT_EQ(lines[19], " 20,       ,\"" + Repeat("A", 15) + Repeat(" ", 15) + "\"");
  EXPECT_EQ(lines[20].substr(0, 12), " 21,      2,");
  EXPECT_EQ(lines[39], " 40,       ,\"" + Repeat("B", 15) + Repeat(" ", 15) + "\"");
  EXPECT_EQ(lines[40].substr(0, 12), " 41,      3,");
  for (int i = 40; i < 60; ++i) EXPECT_EQ(lines[i].find('C'), std::string::npos) << i;
}

TEST_F(KdtTest, QuotesAndCommasCannotBreakTheFields) {
  WriteRemarks({{"1\"5,0", "a\"b,c"}});
  EXPECT_EQ(Lines("N12.TXT"),
            (std::vector<std::string>{"  1,  1'5，0,\"a'b,c" + Repeat(kWide, 10) + "     \""}));
  Merge();
  // The depth reads as far as it is a number; the text comes back whole.
  EXPECT_EQ(Lines("N12.TMP"),
            (std::vector<std::string>{"  1,   1.00,\"a'b,c" + Repeat(kWide, 10) + "     \""}));
}

TEST_F(KdtTest, MergeNumbersRemarksAndFollowsDepthlessLines) {
  WriteRemarks({{"12.345", "A"}, {"", "B"}, {"GL-1.50", "C"}, {"-0.5", "D"}});
  Merge();
  const std::string pad = Repeat(kWide, 14) + " ";
  EXPECT_EQ(Lines("N12.TMP"), (std::vector<std::string>{
                                  // a remark without depth continues the one before it
                                  "  1,  12.34,\"A" + pad + "B" + pad + "\"",
                                  // a depth that is not a number reads as 0
                                  "  2,   0.00,\"C" + pad + "\"",
                                  "  3,  -0.50,\"D" + pad + "\"",
                              }));
}

TEST_F(KdtTest, FirstDepthThatIsNotANumberReadsAsZero) {
  WriteRemarks({{"abc", "A"}});
  Merge();
  EXPECT_EQ(Lines("N12.TMP"),
            (std::vector<std::string>{"  1,   0.00,\"A" + Repeat(kWide, 14) + " \""}));
}

TEST_F(KdtTest, MergeOfAnEmptyOrMissingFileMakesNothing) {
  Merge();
  EXPECT_FALSE(Exists("N12.TMP"));
  WriteRemarks({});
  Merge();
  EXPECT_FALSE(Exists("N12.TMP"));
}

}  // namespace
}  // namespace ostra::test
