// BDT converters: N8/N9 dated depth lines and the G71, G73 and G81 measurement lines.
#include <gtest/gtest.h>

#include "sections_fixture.h"

namespace ostra::test {
namespace {

using BdtTest = SectionsTest;

TEST_F(BdtTest, DatedDepthLaysOutYearMonthDayAndDepth) {
  OutputFile out(drive_.Files(), PathOf("N8.TXT"));
  WriteDatedDepth(out, Record({"12.50", "5/12"}), u"1998");
  WriteDatedDepth(out, Record({"", ""}), u"1998");
  WriteDatedDepth(out, Record({"3", "12/1"}), u"1998");
  WriteDatedDepth(out, Record({"4", "2000/12/31"}), u"1998");
  WriteDatedDepth(out, Record({"123456789", "7"}), u" 1998");
  out.Close();
  EXPECT_EQ(out.Number(), 6);
  EXPECT_EQ(Lines("N8.TXT"), (std::vector<std::string>{
                                 "  1,1998/ 5/12,  12.50",
                                 "  2,1998/  /  ,       ",
                                 "  3,1998/12/ 1,      3",
                                 "  4,1998/00/31,      4",
                                 // no "/": the field is the month; the year is written as given
                                 "  5, 1998/ 7/  ,3456789",
                             }));
}

TEST_F(BdtTest, G71CutsTheRecoveryValueInPlace) {
  OutputFile out(drive_.Files(), PathOf("G71.TXT"), 2);
  RecordFields range = Record({"", "", "", "12.50", "95～100"});
  WriteG71(out, range);
  RecordFields full = Record({"", "", "", "3", "100.0"});
  WriteG71(out, full);
  RecordFields longer = Record({"", "", "", "4", "123.45"});
  WriteG71(out, longer);
  RecordFields four = Record({"", "", "", "5", "99.5"});
  WriteG71(out, four);
  out.Close();
  EXPECT_EQ(out.Number(), 6);
  EXPECT_EQ(Lines("G71.TXT"), (std::vector<std::string>{
                                  "  2,  12.50,   ,     ,  95",
                                  "  3,      3,   ,     ,100.",
                                  "  4,      4,   ,     ,123.",
                                  "  5,      5,   ,     ,99.5",
                              }));
  // The shortened values stay in the record buffer.
  EXPECT_EQ(U8(range[5]), "95");
  EXPECT_EQ(U8(full[5]), "100.");
  EXPECT_EQ(U8(longer[5]), "123.");
}

TEST_F(BdtTest, GFilesSkipRecordsWithoutTheirValues) {
  OutputFile g71(drive_.Files(), PathOf("G71.TXT"));
  OutputFile g73(drive_.Files(), PathOf("G73.TXT"));
  OutputFile g81(drive_.Files(), PathOf("G81.TXT"));
  RecordFields blank = Record({"1", "", "", "1.00", "  ", " ", "", "  ", "", " "});
  WriteG71(g71, blank);
  WriteG73(g73, blank);
  WriteG81(g81, blank);
  g71.Close();
  g73.Close();
  g81.Close();
  EXPECT_EQ(g71.Number(), 1);
  EXPECT_EQ(g73.Number(), 1);
  EXPECT_EQ(g81.Number(), 1);
  EXPECT_TRUE(Lines("G71.TXT").empty());
  EXPECT_TRUE(Lines("G73.TXT").empty());
  EXPECT_TRUE(Lines("G81.TXT").empty());
}

TEST_F(BdtTest, G73AndG81CutRangesAndKeepBlankColumns) {
  OutputFile g73(drive_.Files(), PathOf("G73.TXT"));
  OutputFile g81(drive_.Files(), PathOf("G81.TXT"));
  RecordFields rec = Record({"", "", "", "12.50", "", "3～5", "", "", "10", ""});
  WriteG73(g73, rec);
  WriteG81(g81, rec);
  RecordFields second = Record({"", "", "", "7", "", "", "12", "1～2", "", "30～40"});
  WriteG73(g73, second);
  WriteG81(g81, second);
  g73.Close();
  g81.Close();
  EXPECT_EQ(Lines("G73.TXT"),
            (std::vector<std::string>{"  1,  12.50,  3,   ", "  2,      7,   , 12"}));
  EXPECT_EQ(Lines("G81.TXT"),
            (std::vector<std::string>{"  1,  12.50,   , 10,   ", "  2,      7,  1,   , 30"}));
  EXPECT_EQ(U8(rec[6]), "3");
  EXPECT_EQ(U8(second[10]), "30");
}

TEST_F(BdtTest, EachFileNumbersItsOwnLines) {
  // A first block as the run drives it: only the second record has field 5.
  OutputFile n8(drive_.Files(), PathOf("N8.TXT"));
  OutputFile g71(drive_.Files(), PathOf("G71.TXT"));
  for (const char* recovery : {"", "80", ""}) {
    RecordFields rec = Record({"1.00", "4/1", "", "1.00", recovery});
    WriteDatedDepth(n8, rec, u"2001");
    WriteG71(g71, rec);
  }
  n8.Close();
  g71.Close();
  EXPECT_EQ(Lines("N8.TXT").size(), 3u);
  EXPECT_EQ(Lines("G71.TXT"), (std::vector<std::string>{"  1,   1.00,   ,     ,  80"}));
}

}  // namespace
}  // namespace ostra::test
