// The boring exchange XML read as a legacy data set: layer records at the union of the depth
// lists' boundaries, and the items whose conversion has rules of its own.
#include "formats/bed_data_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "base/codec.h"
#include "base/sjis.h"
#include "formats/section_file.h"

namespace ostra {
namespace {

std::string U8(const Text& t) {
  return ToUtf8(t);
}

// A BED 3.00 file around `body` (title and core information, in UTF-8).
std::string Xml(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
         "<ボーリング情報 DTD_version=\"3.00\">\n" +
         body + "</ボーリング情報>\n";
}

std::string El(const std::string& name, const std::string& value) {
  return "<" + name + ">" + value + "</" + name + ">";
}

// A depth list of one element kind: each entry its lower depth and value.
std::string List(const std::string& list, const std::string& valueName,
                 const std::vector<std::pair<std::string, std::string>>& entries) {
  std::string s;
  for (const auto& [depth, value] : entries) {
    s += "<" + list + ">" + El(list + "_下端深度", depth) + El(valueName, value) + "</" + list +
         ">\n";
  }
  return s;
}

// The MDT text's layer records as fields (after the 29 header items).
std::vector<std::vector<Text>> LayerRecords(const Text& mdt) {
  FieldReader reader(mdt, u"MDT");
  reader.ReadNumber(u"h1");
  const int items = reader.ReadCount(u"N");
  const int records = reader.ReadCount(u"R");
  reader.ReadNumber(u"h4");
  const int fields = reader.ReadCount(u"F");
  for (int i = 0; i < items; ++i) reader.ReadText();
  std::vector<std::vector<Text>> out;
  for (int r = 0; r < records; ++r) {
    std::vector<Text> record;
    for (int f = 0; f < fields; ++f) record.push_back(reader.ReadText());
    out.push_back(record);
  }
  return out;
}

// Property: for random lists, a record stands at every boundary of any list, in depth order,
// and carries for every list the value of the interval that holds its depth.
TEST(BedLayers, RecordsStandAtTheUnionOfBoundariesWithTheValuesOfTheirIntervals) {
  std::mt19937 rng(24);
  // Names and colours are texts; the classes are symbols written directly (kept as written).
  const std::vector<std::pair<std::string, std::string>> lists = {
      {"岩石土区分", "岩石土区分_岩石土名"}, {"色調", "色調_色調名"},
      {"岩級区分", "岩級区分_岩級区分"},     {"風化区分", "風化区分_風化区分"},
      {"硬軟区分", "硬軟区分_硬軟区分"},     {"割れ目区分", "割れ目区分_割れ目区分"},
      {"変質区分", "変質区分_変質区分"},     {"コア形状区分", "コア形状区分_コア形状区分"}};
  for (int round = 0; round < 150; ++round) {
    std::string body = "<コア情報>\n";
    // Per list: lower depths in centimetres and values.
    std::vector<std::vector<std::pair<int, std::string>>> model(lists.size());
    std::set<int> union_;
    for (size_t l = 0; l < lists.size(); ++l) {
      const int n = static_cast<int>(rng() % 6);
      int depth = 0;
      std::vector<std::pair<std::string, std::string>> entries;
      for (int i = 0; i < n; ++i) {
        depth += 5 + static_cast<int>(rng() % 300);
        const std::string value = "V" + std::to_string(l) + "x" + std::to_string(i);
        model[l].push_back({depth, value});
        union_.insert(depth);
        char text[32];
        snprintf(text, sizeof text, "%d.%02d", depth / 100, depth % 100);
        entries.push_back({text, value});
      }
      body += List(lists[l].first, lists[l].second, entries);
    }
    body += "</コア情報>\n";
    const BedDataSet set = ReadBedDataSet(Xml(body), u"BED0001.XML");
    const std::vector<std::vector<Text>> records = LayerRecords(set.sections[0]);
    ASSERT_EQ(records.size(), union_.size()) << "round " << round;
    EXPECT_EQ(set.layerRecords, static_cast<int>(union_.size()));
    size_t boundaries = 0;
    for (const auto& m : model) boundaries += m.size();
    EXPECT_EQ(set.layerBoundaries, static_cast<int>(boundaries));
    size_t r = 0;
    for (int depth : union_) {
      const std::vector<Text>& rec = records[r++];
      char text[32];
      snprintf(text, sizeof text, "%d.%02d", depth / 100, depth % 100);
      EXPECT_EQ(U8(rec[0]), text);
      for (size_t l = 0; l < lists.size(); ++l) {
        std::string expected;
        for (const auto& [lower, value] : model[l]) {
          if (lower >= depth) {
            expected = value;
            break;
          }
        }
        // Fields 4-8 are written in full width, field 10 repeats the grade in half width.
        const Text got = rec[l + 1];
        EXPECT_EQ(U8(ToHalfWidth(got)), expected) << "round " << round << " list " << l;
        if (l == 2) {
          EXPECT_EQ(U8(rec[9]), expected);
        }
      }
    }
  }
}

// Items with rules of their own: each case is a body and what one section's text must hold.
TEST(BedItems, DatesPositionsPenetrationAndRemarks) {
  struct Case {
    std::string body;
    size_t section;
    std::string expected;  // a part of the section's text (UTF-8)
    std::string warning;   // a part of a warning, or empty for none
  };
  const std::string title = "<標題情報>";
  const std::vector<Case> cases = {
      {title + El("調査期間_開始年月日", "1999-05-01") + "</標題情報>", 0, "\"1999\",\"5\",\"1\"",
       ""},
      {title + El("調査期間_開始年月日", "H11.5.1") + "</標題情報>", 0, "\"\",\"\",\"\"",
       "YYYY-MM-DD"},
      {title + El("緯度_度", "34") + El("緯度_分", "5") + El("緯度_秒", "53.99") +
           El("経度_度", "135") + El("経度_分", "49") + El("経度_秒", "58.2000") +
           El("コード1次", "5235") + El("コード2次", "36") + El("コード3次", "96") + "</標題情報>",
       0, "\"34.0553\",\"135.4958\"", "一致しません"},
      {title + El("総削孔長", "23.00") + El("角度", "90") + "</標題情報>", 0, "\"23.00\"", ""},
      {"<観察記事>" + El("観察記事_上端深度", "0.00") + El("観察記事_下端深度", "1.80") +
           El("観察記事_記事", "含水量少ない。\\n木片混入。") + "</観察記事>",
       2, "1.80,\"含水量少ない。＠木片混入。\"", ""},
      {"<標準貫入試験>" + El("標準貫入試験_開始深度", "14.15") +
           El("標準貫入試験_0_10打撃回数", "38") + El("標準貫入試験_0_10貫入量", "10") +
           El("標準貫入試験_10_20打撃回数", "12") + El("標準貫入試験_10_20貫入量", "3") +
           El("標準貫入試験_合計打撃回数", "50") + El("標準貫入試験_合計貫入量", "13") +
           "</標準貫入試験>",
       3, "14.15,50/13,38,12/3,", ""},
      {"<標準貫入試験>" + El("標準貫入試験_開始深度", "6.15") +
           El("標準貫入試験_0_100打撃回数", "00") + El("標準貫入試験_0_100貫入量", "345") +
           El("標準貫入試験_合計打撃回数", "00") + El("標準貫入試験_合計貫入量", "345") +
           "</標準貫入試験>",
       3, "6.15,0/35,0/35,,", "四捨五入"},
  };
  for (const Case& c : cases) {
    const BedDataSet set = ReadBedDataSet(Xml(c.body), u"BED0001.XML");
    const std::string text = U8(set.sections[c.section]);
    EXPECT_NE(text.find(c.expected), std::string::npos) << c.expected << "\nin\n" << text;
    std::string warnings;
    for (const Text& w : set.warnings) warnings += U8(w) + "\n";
    if (c.warning.empty()) {
      EXPECT_TRUE(warnings.empty()) << warnings;
    } else {
      EXPECT_NE(warnings.find(c.warning), std::string::npos) << warnings;
    }
  }
}

TEST(BedDataSet, FileNamesAndSources) {
  const auto names = LegacyFileNames(u"BED0001.XML");
  EXPECT_EQ(names[0], u"MDT0001.GDF");
  EXPECT_EQ(names[5], u"CDT0001.GDF");
  EXPECT_TRUE(IsBedSource(u"C:\\DATA\\bed0001.xml"));
  EXPECT_FALSE(IsBedSource(u"C:\\DATA\\MDT0001.GDF"));
  EXPECT_THROW(ReadBedDataSet(std::string("<other/>"), u"X.XML"), ProblemError);
}

}  // namespace
}  // namespace ostra
