// NDT intervals: the X5.TXT line and the value N computed exactly.
#include <gtest/gtest.h>

#include <string>

#include "sections_fixture.h"

namespace ostra::test {
namespace {

class NdtTest : public SectionsTest {
 protected:
  // The X5.TXT line for one record (depth "1.00" unless given).
  std::string LineFor(const std::vector<std::string>& intervals,
                      const std::string& depth = "1.00") {
    std::vector<std::string> fields{depth};
    fields.insert(fields.end(), intervals.begin(), intervals.end());
    OutputFile x5(drive_.Files(), PathOf("X5.TXT"));
    WriteIntervalRecord(x5, Record(fields));
    x5.Close();
    const auto lines = Lines("X5.TXT");
    return lines.size() == 1 ? lines[0] : "";
  }
  // Count, N and length of interval 1: fields 3 to 5 of the line.
  std::string Interval1(const std::string& field) {
    const auto f = SplitCommas(LineFor({field, "", "", ""}));
    return f.size() == 11 ? f[2] + "|" + f[3] + "|" + f[4] : "bad line";
  }
};

TEST_F(NdtTest, LineHoldsDepthNAndFourIntervals) {
  EXPECT_EQ(LineFor({"50/12", "15", "17", "18"}, "5.00"),
            "  1,   5.00, 50,125, 12, 15, 10, 17, 10, 18, 10");
  EXPECT_EQ(LineFor({"5/10", "3/5", "", "1234/56789"}),
            "  1,   1.00,  5, 15, 10,  3,  5,   ,   ,234,789");
}

TEST_F(NdtTest, SequenceAdvancesPerRecord) {
  OutputFile x5(drive_.Files(), PathOf("X5.TXT"), 9);
  WriteIntervalRecord(x5, Record({"1", "1/1"}));
  WriteIntervalRecord(x5, Record({"2", "2/2"}));
  x5.Close();
  EXPECT_EQ(x5.Number(), 11);
  const auto lines = Lines("X5.TXT");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].substr(0, 4), "  9,");
  EXPECT_EQ(lines[1].substr(0, 4), " 10,");
}

TEST_F(NdtTest, NScalesTheCountToThirty) {
  EXPECT_EQ(Interval1("12"), " 12| 12| 30");     // default length 30
  EXPECT_EQ(Interval1("50/7"), " 50|214|  7");   // 214.28... truncated
  EXPECT_EQ(Interval1("10/0"), " 10| 10|  0");   // no length: the count itself
  EXPECT_EQ(Interval1("05/ 6"), "  5| 25|  6");  // rewritten from the numbers
  EXPECT_EQ(Interval1("-5/20"), " -5| -7|  6" == std::string() ? "" : " -5| -7| 20");
  EXPECT_EQ(Interval1("1.5/4.5"), "1.5| 10|4.5");  // 10 exactly, not 9.999...
}

TEST_F(NdtTest, NIsExactForEveryWholeCountAndLength) {
  // Floating point gives one too few for pairs such as 11/11, 13/13 and 22/22.
  EXPECT_EQ(Interval1("11/11"), " 11| 30| 11");
  EXPECT_EQ(Interval1("13/13"), " 13| 30| 13");
  EXPECT_EQ(Interval1("22/22"), " 22| 30| 22");
  OutputFile x5(drive_.Files(), PathOf("X5.TXT"));
  for (int count = 1; count <= 99; ++count) {
    for (int length = 1; length <= 99; ++length) {
      WriteIntervalRecord(x5, Record({"1", std::to_string(count) + "/" + std::to_string(length)}));
    }
  }
  x5.Close();
  const auto lines = Lines("X5.TXT");
  ASSERT_EQ(lines.size(), 99u * 99u);
  int wrong = 0;
  for (int count = 1; count <= 99; ++count) {
    for (int length = 1; length <= 99; ++length) {
      const auto& line = lines[static_cast<size_t>((count - 1) * 99 + length - 1)];
      const int n = 30 * count / length;
      const std::string expected = n > 999 ? std::to_string(n).substr(1) : std::to_string(n);
      if (SplitCommas(line)[3] != std::string(3 - expected.size(), ' ') + expected) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST_F(NdtTest, IntervalOneWithoutTwoNumbersIsBlank) {
  EXPECT_EQ(Interval1(""), "   |   |   ");
  EXPECT_EQ(Interval1("ab/12"), "   |   |   ");
  EXPECT_EQ(Interval1("12/x"), "   |   |   ");
  EXPECT_EQ(Interval1("12/"), "   |   |   ");
  EXPECT_EQ(Interval1("/"), "   |   |   ");
}

}  // namespace
}  // namespace ostra::test
