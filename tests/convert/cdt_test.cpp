// CDT depth lists and their merge into R41.TXT.
#include <gtest/gtest.h>

#include <string>

#include "sections_fixture.h"

namespace ostra::test {
namespace {

class CdtTest : public SectionsTest {
 protected:
  void SetUp() override { ResetCdtLists(list1_, list2_); }
  void Add(const std::vector<std::string>& fields) {
    RecordFields rec = Record(fields);
    AddCdtRecord(list1_, list2_, rec);
  }
  std::vector<std::string> Merged() {
    OutputFile r41(drive_.Files(), PathOf("R41.TXT"));
    MergeDepthLists(r41, list1_, list2_);
    r41.Close();
    return Lines("R41.TXT");
  }

  CdtList1 list1_;
  CdtList2 list2_;
};

TEST_F(CdtTest, SharedDepthsShareOneLine) {
  Add({"100", "5", "150", "3", "4"});
  Add({"200", "7", "200", "8", "9"});
  EXPECT_EQ(Merged(), (std::vector<std::string>{
                          "  1,    100,  5,  0,  0,,,,,,",
                          "  2,    150,   ,  3,  4,,,,,,",
                          "  3,    200,  7,  8,  9,,,,,,",
                      }));
}

TEST_F(CdtTest, SecondListAloneIsFlushed) {
  Add({"", "", "50", "1", "2"});
  Add({"x", "", "60=b", "-3", ""});
  EXPECT_EQ(list1_.count, 0);
  EXPECT_EQ(Merged(), (std::vector<std::string>{"  1,     50,   ,  1,  2,,,,,,",
                                                "  2,     60,   , -3,  0,,,,,,"}));
}

TEST_F(CdtTest, FirstListAloneWritesItsDepthsAsTheyCome) {
  Add({"300=x", "9"});
  Add({"20", "1"});
  EXPECT_EQ(Merged(), (std::vector<std::string>{"  1,    300,  9,  0,  0,,,,,,",
                                                "  2,     20,  1,  0,  0,,,,,,"}));
}

TEST_F(CdtTest, UnorderedFirstListReleasesLowerSecondDepthsFirst) {
  Add({"300", "1", "100", "2", "3"});
  Add({"50", "4", "400", "5", "6"});
  Add({"", "", "500", "7", "8"});
  EXPECT_EQ(Merged(), (std::vector<std::string>{
                          "  1,    100,   ,  2,  3,,,,,,",
                          "  2,    300,  1,  0,  0,,,,,,",
                          "  3,     50,  4,  0,  0,,,,,,",
                          "  4,    400,   ,  5,  6,,,,,,",
                          "  5,    500,   ,  7,  8,,,,,,",
                      }));
}

TEST_F(CdtTest, DepthsAreRoundedToWholeNumbersHalfToEven) {
  Add({"150.4", "1", "150.5", "2", "3"});
  Add({"151.5", "4.5", "", "", ""});
  EXPECT_EQ(list1_.depth[1], 150.0f);
  EXPECT_EQ(list2_.depth[1], 150.0f);
  EXPECT_EQ(list1_.depth[2], 152.0f);
  EXPECT_EQ(list1_.value[2], 4.0f);
  EXPECT_EQ(Merged(), (std::vector<std::string>{"  1,    150,  1,  2,  3,,,,,,",
                                                "  2,    152,  4,  0,  0,,,,,,"}));
}

TEST_F(CdtTest, DepthFieldsAreCutInTheRecordBuffer) {
  RecordFields rec = Record({"12=abc", "1", "7=x", "2", "3"});
  AddCdtRecord(list1_, list2_, rec);
  EXPECT_EQ(U8(rec[1]), "12");
  EXPECT_EQ(U8(rec[3]), "7");
  EXPECT_EQ(list1_.depth[1], 12.0f);
  EXPECT_EQ(list2_.depth[1], 7.0f);
}

TEST_F(CdtTest, NoEntriesGiveAnEmptyFile) {
  Add({"0", "5", "abc", "1", "1"});
  Add({"0.4", "5", "", "", ""});
  EXPECT_TRUE(Merged().empty());
}

TEST_F(CdtTest, EntriesBeyondTheListsAreIgnored) {
  for (int i = 1; i <= 205; ++i) {
    Add({std::to_string(2 * i), "1", std::to_string(2 * i + 1), "2", "3"});
  }
  EXPECT_EQ(list1_.count, 200);
  EXPECT_EQ(list2_.count, 199);
  EXPECT_EQ(list2_.depth[200], 99999.9921875f);  // the end mark stays after the last entry
  const auto lines = Merged();
  ASSERT_EQ(lines.size(), 399u);
  EXPECT_EQ(lines[396], "397,    398,  1,  0,  0,,,,,,");
  EXPECT_EQ(lines[397], "398,    399,   ,  2,  3,,,,,,");
  EXPECT_EQ(lines[398], "399,    400,  1,  0,  0,,,,,,");
}

TEST_F(CdtTest, DepthPointKeepsItsPositionBetweenCalls) {
  Add({"", "", "10", "1", "1"});
  Add({"", "", "20", "2", "2"});
  OutputFile r41(drive_.Files(), PathOf("R41.TXT"), 5);
  std::int16_t k = 1;
  WriteDepthPoint(r41, 15.0f, 9.0f, list2_, k);
  EXPECT_EQ(k, 2);
  EXPECT_EQ(r41.Number(), 7);
  WriteDepthPoint(r41, 20.0f, 8.0f, list2_, k);
  EXPECT_EQ(k, 3);
  WriteDepthPoint(r41, kDepthEndMark, 0.0f, list2_, k);
  r41.Close();
  EXPECT_EQ(k, 3);
  EXPECT_EQ(Lines("R41.TXT"), (std::vector<std::string>{"  5,     10,   ,  1,  1,,,,,,",
                                                        "  6,     15,  9,  0,  0,,,,,,",
                                                        "  7,     20,  8,  2,  2,,,,,,"}));
}

}  // namespace
}  // namespace ostra::test
