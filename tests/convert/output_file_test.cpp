// An output file with its line counter: numbered lines advance it, plain lines do not, and it
// wraps as a signed 16-bit counter does.
#include "convert/output_file.h"

#include <gtest/gtest.h>

#include "sections_fixture.h"

namespace ostra::test {
namespace {

using OutputFileTest = SectionsTest;

TEST_F(OutputFileTest, CounterNumbersTheLinesAndWrapsAt16Bits) {
  OutputFile x5(drive_.Files(), PathOf("X5.TXT"), 32766);
  std::vector<std::int16_t> numbers;
  for (int i = 0; i < 3; ++i) {
    numbers.push_back(x5.Number());
    WriteIntervalRecord(x5, Record({"1.00"}));
    x5.Line(u"plain");  // carries no number
  }
  x5.Close();
  EXPECT_EQ(numbers, (std::vector<std::int16_t>{32766, 32767, -32768}));
  EXPECT_EQ(x5.Number(), -32767);
  const auto lines = Lines("X5.TXT");
  ASSERT_EQ(lines.size(), 6u);
  for (size_t i = 0; i < numbers.size(); ++i) {
    // The line number field keeps the last three characters of the number.
    EXPECT_EQ(lines[2 * i].substr(0, 4), U8(SequenceField(numbers[i])) + ",");
    EXPECT_EQ(lines[2 * i + 1], "plain");
  }
  EXPECT_EQ(lines[4].substr(0, 4), "768,");
}

}  // namespace
}  // namespace ostra::test
