#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/errors.h"
#include "convert/header_rules.h"
#include "convert/title.h"
#include "run/error_text.h"
#include "support/test_support.h"

namespace ostra {
namespace {

using test::U16;
using test::U8;

TEST(ExpandYearTest, TwoDigitYearsAndFullYears) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"41", "1966"},    {"64", "1989"},   {"40", "2028"},  {"65", "2053"},   {"1998", "1998"},
      {"", "1988"},      {"10", "1998"},   {"0", "1988"},   {"5", "1993"},    {"５", "1993"},
      {"1900", "3888"},  {"1901", "1901"}, {"-3", "1985"},  {"abc", "1988"},  {"H", "1988"},
      {"H10.5", "1988"}, {"X10", "1988"},  {"10H", "1988"}, {"63.4", "1988"}, {"40000", "1988"},
  };
  for (const auto& [item, year] : cases) {
    EXPECT_EQ(U8(title::ExpandYear(U16(item))), year) << "item " << item;
  }
  // A year above 1900 is kept as written, blanks and all.
  EXPECT_EQ(U8(title::ExpandYear(u" 1998")), " 1998");
}

TEST(ExpandYearTest, EraYears) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"S63", "1988"},     {"H10", "1998"},    {"R5", "2023"},       {"Ｈ１０", "1998"},
      {"平成10", "1998"},  {"令和元", "2019"}, {"㍻10年", "1998"},   {"h10", "1998"},
      {"ｓ４０", "1965"},  {"M45", "1912"},    {"T15", "1926"},      {"大正元年", "1912"},
      {"昭和 64", "1989"}, {"H　3", "1991"},   {" R 2 ", "2020"},    {"㍼39年", "1964"},
      {"㍾1", "1868"},     {"㍽2", "1913"},    {"明治45年", "1912"}, {"Ｒ元年", "2019"},
  };
  for (const auto& [item, year] : cases) {
    EXPECT_EQ(U8(title::ExpandYear(U16(item))), year) << "item " << item;
  }
}

TEST(SplitAngleTest, DigitsAsWritten) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {"35.4512", {" 35", " 45", " 12"}},
      {"35.45", {" 35", " 45", " 0"}},
      {"35", {" 35", " 0", " 0"}},
      {"", {" 0", " 0", " 0"}},
      {"abc", {" 0", " 0", " 0"}},
      {"35.4", {" 35", " 40", " 0"}},
      {"35.451299", {" 35", " 45", " 12"}},  // digits past the seconds are dropped
      {"139.4530", {" 139", " 45", " 30"}},  // 29 seconds from the binary value
      {"141.2100", {" 141", " 21", " 0"}},
      {" 35.0912 ", {" 35", " 9", " 12"}},
      {"３５．４５１２", {" 35", " 45", " 12"}},
      {"-35.4512", {"-35", "-45", "-12"}},
      {"-0.0012", {" 0", " 0", "-12"}},
      {".4512", {" 0", " 45", " 12"}},
      {"3.54512E1", {" 35", " 45", " 12"}},
      {"3545.12e-2", {" 35", " 45", " 12"}},
      {"1E-9", {" 0", " 0", " 0"}},
  };
  for (const auto& [item, parts] : cases) {
    const std::array<Text, 3> split = title::SplitAngle(U16(item));
    EXPECT_EQ(U8(split[0]), parts[0]) << "item " << item;
    EXPECT_EQ(U8(split[1]), parts[1]) << "item " << item;
    EXPECT_EQ(U8(split[2]), parts[2]) << "item " << item;
  }
}

class HeaderDecoderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env_.patdatFolder = drive_.Drive("PATDAT\\");
    env_.files = &drive_.Files();
    WriteTable("L1.TXT", {"1,ＣＨ", "2,カコウ", "3,ch", "4,ＣＨ", ",ＣＭ", " 7 ,花崗岩"});
    WriteTable("L2.TXT", {"01,粘土", "02,花崗岩", "03,ｶｺｳ岩", "05,ＣＨ級", "06,花崗岩"});
  }

  void WriteTable(const std::string& name, const std::vector<std::string>& lines) {
    test::WriteSjisLines(drive_.Host("PATDAT/" + name), lines);
  }

  // Decodes header items given as (number, text) pairs; the other slots stay empty.
  void Decode(const std::vector<std::pair<int, std::string>>& given) {
    RecordFields items;
    for (const auto& [n, text] : given) items[n] = U16(text);
    ReferenceFolder tables(drive_.Files(), env_.patdatFolder);  // each decoding is a new run
    env_.tables = &tables;
    TitleItemLists decoded = DecodeHeaderItems(env_, items);
    a_ = std::move(decoded.a);
    b_ = std::move(decoded.b);
  }

  std::string A(int n) const { return U8(a_[n]); }
  std::string B(int n) const { return U8(b_[n]); }

  test::TempDrive drive_;
  RunEnv env_;
  TitleItems a_;
  TitleItems b_;
};

TEST_F(HeaderDecoderTest, ItemLayout) {
  std::vector<std::pair<int, std::string>> items;
  for (int n = 1; n <= 40; ++n) items.push_back({n, " item" + std::to_string(n) + " "});
  items[6 - 1].second = "H10";
  items[9 - 1].second = "55";
  items[12 - 1].second = "CH";
  items[14 - 1].second = "35.4512";
  items[15 - 1].second = "139.4530";
  items[21 - 1].second = "花崗岩（風化）";
  // Leftovers of an earlier decoding are cleared.
  for (int n = 1; n <= TitleItems::kSize; ++n) a_[n] = b_[n] = u"old";
  Decode(items);

  auto item = [](int n) { return " item" + std::to_string(n) + " "; };
  EXPECT_EQ(A(1), item(1));  // copied untrimmed
  EXPECT_EQ(A(4), item(29));
  EXPECT_EQ(A(5), item(5));
  EXPECT_EQ(A(6), item(3));
  EXPECT_EQ(A(10), "1998");
  EXPECT_EQ(A(11), item(7));
  EXPECT_EQ(A(12), item(8));
  EXPECT_EQ(A(13), "1980");
  EXPECT_EQ(A(14), item(10));
  EXPECT_EQ(A(15), item(11));
  EXPECT_EQ(A(16), "1");
  EXPECT_EQ(A(17), item(13));
  EXPECT_EQ(A(20), item(16));
  EXPECT_EQ(A(21), item(17));
  EXPECT_EQ(A(22), item(18));
  EXPECT_EQ(A(23), item(19));
  EXPECT_EQ(A(24), item(20));
  EXPECT_EQ(A(25), item(22));
  EXPECT_EQ(A(26), item(23));
  EXPECT_EQ(A(27), "02");
  EXPECT_EQ(B(1), item(4));
  EXPECT_EQ(B(5), " 35");
  EXPECT_EQ(B(6), " 45");
  EXPECT_EQ(B(7), " 12");
  EXPECT_EQ(B(8), " 139");
  EXPECT_EQ(B(9), " 45");
  EXPECT_EQ(B(10), " 30");
  EXPECT_EQ(B(12), item(24));
  EXPECT_EQ(B(13), item(25));
  EXPECT_EQ(B(14), item(26));
  for (int n : {2, 3, 7, 8, 9, 18, 19, 28, 29, 30}) EXPECT_EQ(A(n), "") << "A" << n;
  for (int n : {2, 3, 4, 11, 15, 16, 30}) EXPECT_EQ(B(n), "") << "B" << n;
}

TEST_F(HeaderDecoderTest, LayerNameToCodeThroughL1) {
  // Half-width capitals and katakana match the full-width names; the first record wins.
  Decode({{12, "CH"}});
  EXPECT_EQ(A(16), "1");
  Decode({{12, "ＣＨ"}});
  EXPECT_EQ(A(16), "1");
  Decode({{12, "ｶｺｳ"}});
  EXPECT_EQ(A(16), "2");
  // Lower case is not converted and matches as it stands.
  Decode({{12, "ch"}});
  EXPECT_EQ(A(16), "3");
  // The code as read, surrounding blanks removed by the field rules.
  Decode({{12, "花崗岩"}});
  EXPECT_EQ(A(16), "7");
  // No match, or a match with an empty code: two blanks.
  Decode({{12, "XX"}, {13, "memo"}});
  EXPECT_EQ(A(16), "  ");
  EXPECT_EQ(A(17), "memo");
  Decode({{12, "CM"}});
  EXPECT_EQ(A(16), "  ");
  // The name must be equal, not merely contain the key.
  Decode({{12, "C"}});
  EXPECT_EQ(A(16), "  ");
}

TEST_F(HeaderDecoderTest, RockNameToCodeThroughL2) {
  // Kanji are not converted: both keys are "花崗岩".
  Decode({{21, "花崗岩（風化）"}});
  EXPECT_EQ(A(27), "02");
  // "CH" is searched as "CH" and as "ＣＨ".
  Decode({{21, "CH"}});
  EXPECT_EQ(A(27), "05");
  // "ｶｺｳｶﾞﾝ" is searched as "ｶｺｳ" and as "カコウ".
  Decode({{21, "ｶｺｳｶﾞﾝ"}});
  EXPECT_EQ(A(27), "03");
  // The empty key is contained in every name: the first record.
  Decode({});
  EXPECT_EQ(A(27), "01");
  Decode({{21, "砂岩"}});
  EXPECT_EQ(A(27), "04");

  WriteTable("L2.TXT", {"07,カコウ"});
  Decode({{21, "ｶｺｳｶﾞﾝ"}});
  EXPECT_EQ(A(27), "07");

  WriteTable("L2.TXT", {});
  Decode({{21, "花崗岩"}});
  EXPECT_EQ(A(27), "04");
}

TEST_F(HeaderDecoderTest, FewHeaderItems) {
  Decode({{1, "題名"}, {6, "63"}, {14, "35"}, {20, "x"}});
  EXPECT_EQ(A(10), "1988");
  EXPECT_EQ(A(13), "1988");
  EXPECT_EQ(A(16), "  ");
  EXPECT_EQ(A(27), "01");
  EXPECT_EQ(A(4), "");
  EXPECT_EQ(A(25), "");
  EXPECT_EQ(B(12), "");
  EXPECT_EQ(B(8), " 0");
  EXPECT_EQ(B(9), " 0");
  EXPECT_EQ(B(10), " 0");
}

TEST_F(HeaderDecoderTest, MissingOrBrokenTablesStopTheDecoder) {
  const Text l1 = env_.Table(u"L1.TXT");
  const Text l2 = env_.Table(u"L2.TXT");
  std::filesystem::remove(drive_.Host("PATDAT/L1.TXT"));
  a_[1] = u"before";
  b_[5] = u"before";
  try {
    Decode({{1, "題名"}, {6, "H10"}, {14, "35.4512"}});
    ADD_FAILURE() << "no error for a missing L1.TXT";
  } catch (const RunError& e) {
    EXPECT_NE(ErrorMessage(e).find(l1), Text::npos) << U8(ErrorMessage(e));
  }
  // A decoding that stops hands back no items: the lists keep what they held.
  EXPECT_EQ(A(1), "before");
  EXPECT_EQ(A(10), "");
  EXPECT_EQ(B(5), "before");

  WriteTable("L1.TXT", {"1,ＡＢ"});
  std::filesystem::remove(drive_.Host("PATDAT/L2.TXT"));
  try {
    Decode({{14, "35.4512"}, {22, "x"}});
    ADD_FAILURE() << "no error for a missing L2.TXT";
  } catch (const RunError& e) {
    EXPECT_NE(ErrorMessage(e).find(l2), Text::npos) << U8(ErrorMessage(e));
  }
  EXPECT_EQ(B(5), "before");
  EXPECT_EQ(A(1), "before");

  // A last record without its second field, reached because nothing matched before it.
  WriteTable("L1.TXT", {"1,ＡＢ", "2"});
  try {
    Decode({{12, "XY"}});
    ADD_FAILURE() << "no error for a broken L1.TXT";
  } catch (const RunError& e) {
    EXPECT_NE(ErrorMessage(e).find(l1), Text::npos) << U8(ErrorMessage(e));
  }
  // A match ends the reading before the broken record.
  WriteTable("L2.TXT", {"01,粘土"});
  Decode({{12, "AB"}});
  EXPECT_EQ(A(16), "1");
}

}  // namespace
}  // namespace ostra
