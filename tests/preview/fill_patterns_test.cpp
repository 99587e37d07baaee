// The pattern table: the names of the bundled sample and of the benchmark's generated data set
// each get the pattern meant for them, the longest key wins, and no key is shadowed.
#include "preview/fill_patterns.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "formats/section_file.h"
#include "support/test_support.h"

namespace ostra {
namespace {

// The pattern id of a name; "" for none.
std::string IdOf(TextView name) {
  const PatternInfo* p = PatternOf(PatternsFor(name));
  return p ? p->id : std::string();
}

TEST(FillPatternsTest, EveryLayerOfTheSampleGetsThePatternOfItsKind) {
  // MDT0001.GDF: a header of five counts (the items, the layers and the fields of a layer
  // record among them), the items, then the layer records with the name in field 2.
  FieldReader reader(DecodeCp932(test::ReadBytes(test::ExamplesDir() / "MDT0001.GDF")),
                     u"MDT0001.GDF");
  reader.ReadText();
  const int items = reader.ReadCount(u"items").value;
  const int layers = reader.ReadCount(u"layers").value;
  reader.ReadText();
  const int fields = reader.ReadCount(u"fields").value;
  for (int i = 0; i < items; ++i) reader.ReadText();
  const std::map<Text, std::string> expected = {{u"表土", "topsoil"},
                                                {u"崖錐堆積物", "talus"},
                                                {u"凝灰質砂岩", "sandstone"},
                                                {u"砂岩（細粒）", "sandstone"},
                                                {u"砂岩泥岩互層", "alternation"},
                                                {u"断層角礫", "fault-breccia"},
                                                {u"泥岩", "mudstone"},
                                                {u"粘板岩", "slate"},
                                                {u"砂岩", "sandstone"}};
  std::set<Text> seen;
  for (int i = 0; i < layers; ++i) {
    RecordFields record;
    reader.ReadRecord(record, fields);
    const Text& name = record[2];
    ASSERT_EQ(expected.count(name), 1u) << ToUtf8(name);
    EXPECT_EQ(IdOf(name), expected.at(name)) << ToUtf8(name);
    seen.insert(name);
  }
  EXPECT_EQ(layers, 10);
  EXPECT_EQ(seen.size(), expected.size());
}

TEST(FillPatternsTest, EveryGeneratedNameGetsThePatternOfItsBase) {
  // The parts of the names of bench/dataset.cpp: an age, a colour and a texture (each may be
  // empty) before a base, sometimes an annotation after it. The modifiers never show.
  const std::vector<std::string> ages = {"", "古第三紀", "更新世", "先第三紀"};
  const std::vector<std::string> colours = {"", "灰色", "暗緑色", "灰白色", "乳白色"};
  const std::vector<std::string> textures = {
      "",     "細粒", "中粒", "粗粒",   "塊状", "層状", "片状", "縞状",   "多孔質", "緻密",
      "風化", "変質", "珪化", "凝灰質", "砂質", "泥質", "礫質", "石灰質", "炭質",   "含礫"};
  const std::vector<std::pair<std::string, std::string>> bases = {{"砂岩", "sandstone"},
                                                                  {"泥岩", "mudstone"},
                                                                  {"礫岩", "conglomerate"},
                                                                  {"頁岩", "shale"},
                                                                  {"粘板岩", "slate"},
                                                                  {"チャート", "chert"},
                                                                  {"石灰岩", "limestone"},
                                                                  {"凝灰岩", "tuff"},
                                                                  {"凝灰角礫岩", "tuff"},
                                                                  {"安山岩", "andesite"},
                                                                  {"玄武岩", "basalt"},
                                                                  {"流紋岩", "rhyolite"},
                                                                  {"デイサイト", "rhyolite"},
                                                                  {"花崗岩", "granite"},
                                                                  {"閃緑岩", "diorite"},
                                                                  {"斑れい岩", "diorite"},
                                                                  {"蛇紋岩", "serpentinite"},
                                                                  {"片麻岩", "gneiss"},
                                                                  {"結晶片岩", "schist"},
                                                                  {"ホルンフェルス", "hornfels"},
                                                                  {"珪岩", "chert"},
                                                                  {"大理石", "limestone"},
                                                                  {"溶結凝灰岩", "tuff"},
                                                                  {"火山礫凝灰岩", "tuff"},
                                                                  {"シルト岩", "mudstone"},
                                                                  {"粘土", "clay"},
                                                                  {"シルト", "silt"},
                                                                  {"砂", "sand"},
                                                                  {"礫", "gravel"},
                                                                  {"砂礫", "gravel"},
                                                                  {"玉石混じり砂礫", "gravel"},
                                                                  {"表土", "topsoil"},
                                                                  {"盛土", "made-ground"},
                                                                  {"崖錐堆積物", "talus"},
                                                                  {"段丘堆積物", "gravel"},
                                                                  {"崩積土", "talus"},
                                                                  {"断層角礫", "fault-breccia"},
                                                                  {"断層粘土", "fault-breccia"},
                                                                  {"互層", "alternation"},
                                                                  {"輝緑岩", "basalt"}};
  const std::vector<std::string> annotations = {"", "（細粒）", "（風化部）", "（硬質）"};
  for (const auto& [base, id] : bases) {
    for (const auto& age : ages) {
      for (const auto& colour : colours) {
        for (const auto& texture : textures) {
          for (const auto& note : annotations) {
            const std::string name = age + colour + texture + base + note;
            ASSERT_EQ(IdOf(FromUtf8(name)), id) << name;
          }
        }
      }
    }
  }
}

TEST(FillPatternsTest, TheLongestKeyWins) {
  const std::vector<std::pair<const char16_t*, std::string>> cases = {
      {u"粘板岩", "slate"},
      {u"粘土", "clay"},
      {u"断層角礫", "fault-breccia"},
      {u"礫", "gravel"},
      {u"盛土", "made-ground"},
      {u"表土", "topsoil"},
      {u"埋土", "made-ground"},
      {u"砂岩（細粒）", "sandstone"},
      {u" 砂岩 (風化部) ", "sandstone"},
      {u"砂質シルト", "silt"},
      {u"シルト質砂", "sand"},
      {u"礫混じり砂", "sand"},
      {u"凝灰角礫岩", "tuff"},
      {u"角礫岩", "conglomerate"},
      {u"花崗閃緑岩", "granite"},
      {u"閃緑岩", "diorite"},
      {u"マサ", "sand"},
      {u"黒色マサ", ""},
      {u"片麻岩", "gneiss"},
      {u"破砕帯", "fracture-zone"},
      {u"新しい名前", ""},
      {u"", ""},
      {u"（砂）", ""}};
  for (const auto& [name, id] : cases) EXPECT_EQ(IdOf(name), id) << ToUtf8(name);
}

TEST(FillPatternsTest, EveryKeyMatchesItsOwnPatternAndEveryPatternIsDrawable) {
  ASSERT_FALSE(AllPatterns().empty());
  ASSERT_LE(AllPatterns().size(), 32u);
  std::set<std::string> ids, colours;
  for (const PatternInfo& p : AllPatterns()) {
    EXPECT_TRUE(ids.insert(p.id).second) << p.id;
    EXPECT_TRUE(colours.insert(p.colour).second) << p.id << " shares its colour";
    EXPECT_FALSE(p.legend.empty()) << p.id;
    EXPECT_FALSE(TileOf(p.bit).marks.empty()) << p.id;
    EXPECT_EQ(PatternOf(p.bit), &p);
  }
  // No key is shadowed: each, as a name and (an ending) after any other text, gets its own
  // pattern, and none is given twice.
  std::set<std::pair<Text, bool>> keys;
  std::set<PatternBit> reached;
  for (const PatternKey& key : AllPatternKeys()) {
    EXPECT_TRUE(keys.insert({key.text, key.whole}).second) << ToUtf8(key.text);
    EXPECT_EQ(PatternName(key.text), key.text) << ToUtf8(key.text);
    EXPECT_EQ(PatternsFor(key.text), key.bit) << ToUtf8(key.text);
    if (!key.whole) {
      EXPECT_EQ(PatternsFor(u"灰色" + key.text), key.bit) << ToUtf8(key.text);
    }
    reached.insert(key.bit);
  }
  EXPECT_EQ(reached.size(), AllPatterns().size()) << "a pattern no key reaches";
}

}  // namespace
}  // namespace ostra
