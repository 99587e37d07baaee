// X3.TXT through L4Table, and R31.TXT to R35.TXT through the self-extending tables L13 to L17.
#include <gtest/gtest.h>

#include "convert/strata.h"
#include "run/error_text.h"
#include "strata_fixture.h"

namespace ostra::test {
namespace {

class LayerCodeTest : public StrataTest {
 protected:
  std::vector<std::string> Convert(const std::vector<Text>& classTexts,
                                   std::int16_t expectedLines) {
    OutputFile x3(drive_.Files(), Out("X3.TXT"));
    for (const Text& text : classTexts) ConvertLayerCode(x3, u"5.20", text, table_);
    x3.Close();
    EXPECT_EQ(x3.Number(), expectedLines + 1);
    return OutLines("X3.TXT");
  }

  CodeTable table_ = {{u"1", u"C"},   {u"2", u"L"}, {u"3", u"M"},  {u"4", u"H"},
                      {u"5", u"A"},   {u"6", u"B"}, {u"0", u"Z"},  {u"Q", u"Y"},
                      {u"123", u"D"}, {u"8", u"A"}, {u"12", u"粘"}};
};

TEST_F(LayerCodeTest, WritesCodeGroupsOfBothParts) {
  EXPECT_EQ(Convert({u"CL～CM", u"CH", u"CL～"}, 3),
            (std::vector<std::string>{"  1,   5.20,0102  ,CL,0103  ,CM,～",
                                      "  2,   5.20,0104  ,CH,      ,,",
                                      "  3,   5.20,0102  ,CL,      ,,"}));
}

TEST_F(LayerCodeTest, BlankClassTextWritesNothing) {
  EXPECT_TRUE(Convert({u"", u"   "}, 0).empty());
}

TEST_F(LayerCodeTest, SlotRules) {
  EXPECT_EQ(Convert({u"ABCD", u"AxB", u"ZAY", u"D粘", u"～C"}, 5),
            (std::vector<std::string>{// three characters at most; the first row of a key wins
                                      "  1,   5.20,050601,ABCD,      ,,",
                                      // a character without a row uses no slot
                                      "  2,   5.20,0506  ,AxB,      ,,",
                                      // codes 0 and non-numbers use a slot but show blanks
                                      "  3,   5.20,  05  ,ZAY,      ,,",
                                      // a code of three digits keeps its last two
                                      "  4,   5.20,2312  ,D粘,      ,,",
                                      "  5,   5.20,      ,,01    ,C,～"}));
}

class LayerClassTest : public StrataTest {
 protected:
  LayerClassTest() {
    for (const char* name : {"L13.TXT", "L14.TXT", "L15.TXT", "L16.TXT"}) Table(name, {});
    Table("L17.TXT", {});
  }

  // Writes one record per entry (fields 4..8) and returns the lines of R3k.TXT, k = 1..5.
  std::vector<std::vector<std::string>> Write(const std::vector<std::array<Text, 5>>& records) {
    LayerClassFiles files;
    for (int k = 1; k <= 5; ++k)
      files[k] = OutputFile(drive_.Files(), Out("R3" + std::to_string(k) + ".TXT"));
    RecordFields fields;
    for (const auto& record : records) {
      for (int i = 0; i < 5; ++i) fields[i + 4] = record[i];
      WriteLayerClasses(env_, files, u"12.50", fields);
    }
    std::vector<std::vector<std::string>> out;
    for (int k = 1; k <= 5; ++k) {
      files[k].Close();
      EXPECT_EQ(files[k].Number(), static_cast<int>(records.size()) + 1);
      out.push_back(OutLines("R3" + std::to_string(k) + ".TXT"));
    }
    return out;
  }
};

TEST_F(LayerClassTest, EmptyFieldsStillGiveOneLineEach) {
  const auto out = Write({{}, {u"  ～ "}});
  for (const auto& lines : out) {
    EXPECT_EQ(lines.at(0), "  1,  12.50,  ,,  ,");
  }
  // Blank parts are written as they are but never added to a table.
  EXPECT_EQ(out[0].at(1), "  2,  12.50,  ,  ,  , ");
  EXPECT_TRUE(TableLines("L13.TXT").empty());
}

TEST_F(LayerClassTest, FindsNamesAfterWideningBothSides) {
  Table("L13.TXT", {"3,CM", "4,ｶﾞﾗ", "5,ＣＨ"});
  const auto out = Write({{u"ＣＭ"}, {u"CM～ｶﾞﾗ"}, {u"CH"}});
  EXPECT_EQ(out[0], (std::vector<std::string>{"  1,  12.50,3,ＣＭ,  ,", "  2,  12.50,3,CM,4,ｶﾞﾗ",
                                              "  3,  12.50,5,CH,  ,"}));
  EXPECT_EQ(TableLines("L13.TXT").size(), 3u);
}

TEST_F(LayerClassTest, AppendsNewNamesUnderTheNextCode) {
  Table("L13.TXT", {"2,CM", "7,CH", "5,CL"});
  Table("L14.TXT", {"20,甲乙"});
  const auto out = Write({{u"新岩種", u"甲～乙"}, {u"新岩種", u"乙"}});
  EXPECT_EQ(TableLines("L13.TXT"), (std::vector<std::string>{"2,CM", "7,CH", "5,CL", " 8,新岩種"}));
  EXPECT_EQ(out[0],
            (std::vector<std::string>{"  1,  12.50,8,新岩種,  ,", "  2,  12.50,8,新岩種,  ,"}));
  EXPECT_EQ(TableLines("L14.TXT"), (std::vector<std::string>{"20,甲乙", "21,甲", "22,乙"}));
  EXPECT_EQ(out[1], (std::vector<std::string>{"  1,  12.50,21,甲,22,乙", "  2,  12.50,22,乙,  ,"}));
}

TEST_F(LayerClassTest, SameNameOnBothSidesGetsTwoCodes) {
  const auto out = Write({{u"", u"", u"甲～甲"}});
  EXPECT_EQ(TableLines("L15.TXT"), (std::vector<std::string>{" 1,甲", " 2,甲"}));
  EXPECT_EQ(out[2], (std::vector<std::string>{"  1,  12.50,1,甲,2,甲"}));
}

TEST_F(LayerClassTest, LastMatchingLineWins) {
  Table("L16.TXT", {"1,砂", "2,礫", "3,砂"});
  EXPECT_EQ(Write({{u"", u"", u"", u"砂～礫"}})[3],
            (std::vector<std::string>{"  1,  12.50,3,砂,2,礫"}));
}

TEST_F(LayerClassTest, EmptyTableNameMatchesAnEmptyPart) {
  Table("L13.TXT", {"4,", "6,CM"});
  EXPECT_EQ(Write({{u"CM"}})[0], (std::vector<std::string>{"  1,  12.50,6,CM,4,"}));
  EXPECT_EQ(TableLines("L13.TXT").size(), 2u);
}

TEST_F(LayerClassTest, FullTableAddsNothing) {
  Table("L13.TXT", {"99,CM", "3,CH"});
  Table("L14.TXT", {"98,CM"});
  const auto out = Write({{u"新～旧", u"新～旧"}});
  EXPECT_EQ(TableLines("L13.TXT"), (std::vector<std::string>{"99,CM", "3,CH"}));
  EXPECT_EQ(out[0], (std::vector<std::string>{"  1,  12.50,  ,新,  ,旧"}));
  // Only code 99 fits: the second part stays without a code.
  EXPECT_EQ(TableLines("L14.TXT"), (std::vector<std::string>{"98,CM", "99,新"}));
  EXPECT_EQ(out[1], (std::vector<std::string>{"  1,  12.50,99,新,  ,旧"}));
}

TEST_F(LayerClassTest, L17HasThreeFields) {
  Table("L17.TXT", {"11,X,破砕帯", "12,Y,粘土"});
  const auto out = Write({{u"", u"", u"", u"", u"粘土～断層"}, {u"", u"", u"", u"", u"断層"}});
  EXPECT_EQ(TableLines("L17.TXT"),
            (std::vector<std::string>{"11,X,破砕帯", "12,Y,粘土", "13,      ,断層"}));
  EXPECT_EQ(out[4],
            (std::vector<std::string>{"  1,  12.50,12,粘土,13,断層", "  2,  12.50,13,断層,  ,"}));
}

TEST_F(LayerClassTest, NamesThatNeedQuotesReadBack) {
  const auto out = Write({{u"砂岩,泥岩互層"}, {u"砂岩,泥岩互層～ CM "}, {u"砂岩,泥岩互層～ CM "}});
  EXPECT_EQ(TableLines("L13.TXT"),
            (std::vector<std::string>{" 1,\"砂岩,泥岩互層\"", " 2,\" CM \""}));
  EXPECT_EQ(out[0].back(), "  3,  12.50,1,砂岩,泥岩互層,2, CM ");
}

TEST_F(LayerClassTest, AppendDoesNotJoinAnUnterminatedLastLine) {
  WriteSjis(drive_.Host("PATDAT/L13.TXT"), "3,CM");
  Write({{u"新"}});
  EXPECT_EQ(TableLines("L13.TXT"), (std::vector<std::string>{"3,CM", " 4,新"}));
}

TEST_F(LayerClassTest, MissingTableStopsTheRunNamingIt) {
  fs::remove(drive_.Host("PATDAT/L15.TXT"));
  try {
    Write({{u"CM"}});
    FAIL() << "no error";
  } catch (const RunError& e) {
    EXPECT_NE(ErrorMessage(e).find(u"L15.TXT"), Text::npos);
  }
}

}  // namespace
}  // namespace ostra::test
