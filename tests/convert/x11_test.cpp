// X11.TXT lines from second-block MDT records.
#include <gtest/gtest.h>

#include "convert/strata.h"
#include "strata_fixture.h"

namespace ostra::test {
namespace {

class X11Test : public StrataTest {
 protected:
  // Converts records of (depth, key) with counters from 1 and returns the X11.TXT lines.
  std::vector<std::string> Convert(const std::vector<std::pair<Text, Text>>& records) {
    OutputFile x11(drive_.Files(), Out("X11.TXT"));
    RecordFields fields;
    for (const auto& [depth, key] : records) {
      fields[2] = depth;
      fields[3] = key;
      ConvertX11Record(x11, fields, table_);
    }
    x11.Close();
    EXPECT_EQ(x11.Number(), static_cast<int>(records.size()) + 1);
    return OutLines("X11.TXT");
  }

  CodeTable table_ = {{u"3", u"亀裂"}, {u"7", u"破砕"}, {u"9", u"破砕"}, {u"X", u"粘土"}};
};

TEST_F(X11Test, CodesTheKeyThroughTheTable) {
  const std::string blanks(20, ' ');
  EXPECT_EQ(Convert({{u"1.00", u"破砕"}, {u"8.00", u"亀裂"}}),
            (std::vector<std::string>{"  1,   1.00,  7,破砕," + blanks,  // first row of two
                                      "  2,   8.00,  3,亀裂," + blanks}));
}

TEST_F(X11Test, UnknownKeysAndBadCodesStillGiveALine) {
  const std::string blanks(20, ' ');
  EXPECT_EQ(Convert({{u"12.00", u"断層"}, {u"3.50", u"粘土"}, {u"1234.5678", u"亀裂"}}),
            (std::vector<std::string>{"  1,  12.00,  0,," + blanks,
                                      // a code that is not a number reads as 0; key kept
                                      "  2,   3.50,  0,粘土," + blanks,
                                      // a long depth keeps its last seven characters
                                      "  3,34.5678,  3,亀裂," + blanks}));
}

}  // namespace
}  // namespace ostra::test
