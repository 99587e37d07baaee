// Reading the picture's contents from a data set: the bundled sample, the guideline's XML
// example, and data sets that cannot be read whole.
#include "preview/boring_log_model.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/errors.h"
#include "preview/boring_log_sections.h"
#include "support/test_support.h"

namespace ostra {
namespace {

namespace fs = std::filesystem;
using test::TempDrive;

// The file a reading error is about: enough to tell which section failed.
Text FileOf(const std::exception& e) {
  if (const auto* run = dynamic_cast<const RunError*>(&e)) return u"failed: " + run->File();
  return u"failed";
}

class BoringLogModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    drive_ = std::make_unique<TempDrive>(u'T');
    fs::create_directories(drive_->Host("DATA"));
    for (const char* name :
         {"MDT0001.GDF", "BDT0001.GDF", "KDT0001.GDF", "NDT0001.GDF", "LDT0001.GDF", "CDT0001.GDF"})
      fs::copy_file(test::ExamplesDir() / name, drive_->Host(std::string("DATA/") + name));
    fs::copy_file(test::ExamplesDir() / "bed" / "BED0300.XML", drive_->Host("DATA/BED0300.XML"));
  }

  BoringLogModel Read(const Text& file) {
    return ReadBoringLogModel(drive_->Files(), u"T:\\DATA\\" + file, DataEncoding::kAuto, FileOf);
  }

  std::unique_ptr<TempDrive> drive_;
};

// The kinds of column a model fills.
std::set<std::string> KindsOf(const BoringLogModel& model) {
  static const char* const kItems[kLayerItems] = {"色調",   "岩級", "風化",    "硬軟",
                                                  "割れ目", "変質", "コア形状"};
  std::set<std::string> kinds;
  for (const Layer& layer : model.layers) {
    if (!layer.name.empty()) kinds.insert("岩種");
    for (int k = 0; k < kLayerItems; ++k) {
      if (!layer.items[static_cast<size_t>(k)].empty()) kinds.insert(kItems[k]);
    }
    if (!layer.remark.empty()) kinds.insert("記事(層)");
  }
  for (const CoreRun& run : model.cores) {
    if (!run.recovery.empty()) kinds.insert("コア採取率");
    if (!run.rqd.empty()) kinds.insert("RQD");
  }
  if (!model.waterLevels.empty()) kinds.insert("孔内水位");
  if (!model.penetrationTests.empty()) kinds.insert("標準貫入試験");
  if (!model.remarks.empty()) kinds.insert("記事");
  for (const Mark& mark : model.marks) kinds.insert(mark.sample ? "試料" : "試験");
  return kinds;
}

TEST_F(BoringLogModelTest, TheSampleAndTheXmlExampleFillTheSameKindsOfColumns) {
  const BoringLogModel legacy = Read(u"MDT0001.GDF");
  const BoringLogModel xml = Read(u"BED0300.XML");
  EXPECT_TRUE(legacy.problems.empty()) << ToUtf8(legacy.problems.front());
  EXPECT_TRUE(xml.problems.empty()) << ToUtf8(xml.problems.front());
  std::set<std::string> legacyKinds = KindsOf(legacy);
  // The XML keeps its remarks apart from the layers: they are remarks at a depth there.
  legacyKinds.erase("記事(層)");
  EXPECT_EQ(KindsOf(xml), legacyKinds);
  EXPECT_EQ(legacyKinds.size(), 15u);
  // The title block's kinds of item, too.
  auto labels = [](const BoringLogModel& model) {
    std::set<Text> set;
    for (const TitleItem& item : model.header) set.insert(item.label);
    return set;
  };
  for (const char16_t* label : {u"調査名", u"孔名", u"所在地", u"発注者", u"調査期間", u"緯度経度",
                                u"孔口標高", u"掘進長", u"掘進方向", u"試錐機", u"調査会社"}) {
    EXPECT_TRUE(labels(legacy).count(label)) << ToUtf8(label);
    EXPECT_TRUE(labels(xml).count(label)) << ToUtf8(label);
  }
}

TEST_F(BoringLogModelTest, TheSampleReadsAsItsSectionsWriteIt) {
  const BoringLogModel model = Read(u"MDT0001.GDF");
  EXPECT_EQ(model.holeName, u"B-1");
  auto item = [&](const Text& label) {
    for (const TitleItem& i : model.header) {
      if (i.label == label) return i.value;
    }
    return Text(u"(none)");
  };
  EXPECT_EQ(item(u"調査期間"), u"1998年5月11日 ～ 1998年6月3日");
  EXPECT_EQ(item(u"掘進方向"), u"鉛直 （90°）");
  EXPECT_EQ(item(u"工法"), u"ロータリー式ワイヤーライン工法");
  EXPECT_EQ(item(u"主任技師"), u"佐藤 次郎");
  EXPECT_EQ(item(u"コア鑑定者"), u"鈴木 一郎");
  EXPECT_EQ(item(u"緯度経度"), u"北緯 35°34′52″　東経 139°15′30″");

  ASSERT_EQ(model.layers.size(), 10u);
  const Layer& tuff = model.layers[2];
  EXPECT_EQ(tuff.top, 4.5);
  EXPECT_EQ(tuff.depthText, u"7.80");
  EXPECT_EQ(tuff.name, u"凝灰質砂岩");
  EXPECT_EQ(tuff.Item(LayerItem::kColour), u"灰白色");
  EXPECT_EQ(tuff.Item(LayerItem::kGrade), u"ＣＬ");
  EXPECT_EQ(tuff.gradeCode, u"CL");
  EXPECT_EQ(tuff.Item(LayerItem::kCoreShape), u"短柱状");
  EXPECT_EQ(tuff.remark, std::vector<Text>{u"亀裂面は褐色に汚染"});
  // A record over two lines, and one that shares a line with the next.
  EXPECT_EQ(model.layers[4].Item(LayerItem::kFractures), u"ヘアークラック");
  EXPECT_EQ(model.layers[6].remark, std::vector<Text>{u"開口亀裂沿いに酸化"});
  EXPECT_EQ(model.layers[7].name, u"砂岩泥岩互層");

  // The remark whose depth is in its text stands there, not at 0.
  std::vector<std::pair<double, Text>> remarks;
  for (const Remark& r : model.remarks) remarks.emplace_back(r.depth, r.lines.front());
  EXPECT_NE(
      std::find(remarks.begin(), remarks.end(), std::pair<double, Text>{7.8, u"7.80m付近で逸水"}),
      remarks.end());
  EXPECT_NE(std::find(remarks.begin(), remarks.end(), std::pair<double, Text>{5.6, u"亀裂"}),
            remarks.end());
  EXPECT_TRUE(std::is_sorted(remarks.begin(), remarks.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; }));

  // N as recorded; the graph's value at most 50, a refusal at 50.
  ASSERT_EQ(model.penetrationTests.size(), 5u);
  const PenetrationTest& first = model.penetrationTests[0];
  EXPECT_EQ(first.recorded, u"12");
  EXPECT_EQ(first.plotN, 12.0);
  EXPECT_EQ(first.blows, (std::array<Text, 3>{u"3", u"4", u"5"}));
  EXPECT_FALSE(first.refusal);
  EXPECT_EQ(model.penetrationTests[1].plotN, 30.0);  // 11 blows for 11 cm
  EXPECT_FALSE(model.penetrationTests[1].refusal);
  for (size_t i = 2; i < 5; ++i) {
    EXPECT_TRUE(model.penetrationTests[i].refusal) << i;
    EXPECT_EQ(model.penetrationTests[i].plotN, 50.0) << i;
  }
  EXPECT_EQ(model.penetrationTests[2].recorded, u"50/12");

  // Water levels with their dates; the record without a level is left out.
  ASSERT_EQ(model.waterLevels.size(), 3u);
  EXPECT_EQ(model.waterLevels[0].depthText, u"2.10");
  EXPECT_EQ(model.waterLevels[0].date, u"5/12");
  EXPECT_EQ(model.waterLevels[2].note, u"掘削完了後, 孔内洗浄後");
  // Core values from field 4 down to the depth reached; the first day has none.
  ASSERT_FALSE(model.cores.empty());
  EXPECT_EQ(model.cores[0].top, 3.0);
  EXPECT_EQ(model.cores[0].bottom, 6.0);
  EXPECT_EQ(model.cores[0].recovery, u"85～90");
  EXPECT_EQ(model.cores[1].rqd, u"40～55");

  // Tests (blank records of the list of 20 left out) and samples, by depth.
  std::vector<Text> labels;
  for (const Mark& m : model.marks) labels.push_back(m.label);
  EXPECT_EQ(labels.size(), 11u);
  EXPECT_EQ(labels[0], u"ベーン試験");
  EXPECT_EQ(labels[1], u"透水試験 JIS");
  EXPECT_EQ(labels[2], u"一軸 A-1");
  EXPECT_TRUE(model.problems.empty());
}

TEST_F(BoringLogModelTest, WhatCannotBeReadIsToldAndTheRestShown) {
  // A section cut short: the sections before and after it still show.
  test::WriteSjisLines(drive_->Host("DATA/NDT0001.GDF"), {"100,5,5", "50", "1.45,12,3,4,5"});
  BoringLogModel model = Read(u"MDT0001.GDF");
  EXPECT_EQ(model.layers.size(), 10u);
  EXPECT_EQ(model.penetrationTests.size(), 1u);
  EXPECT_FALSE(model.marks.empty());
  ASSERT_EQ(model.problems.size(), 1u);
  EXPECT_EQ(model.problems[0], u"failed: T:\\DATA\\NDT0001.GDF");

  // No data set at all: only the problem.
  model = Read(u"MDT0009.GDF");
  EXPECT_TRUE(model.layers.empty());
  EXPECT_TRUE(model.header.empty());
  ASSERT_EQ(model.problems.size(), 1u);
  EXPECT_EQ(model.problems[0], u"failed: T:\\DATA\\MDT0009.GDF");
  EXPECT_EQ(model.source, u"T:\\DATA\\MDT0009.GDF");
}

TEST(RemarkDepthTest, TheNumberInTheTextIsTheDepth) {
  struct Case {
    Text text;
    std::optional<double> depth;
    Text written;
  };
  const Case cases[] = {
      {u"15.20", 15.2, u"15.20"},        {u"GL-7.80 ) 補足", 7.8, u"7.80"},
      {u"ＧＬ－２．５０", 2.5, u"2.50"}, {u"  3.5  ", 3.5, u"3.5"},
      {u"補足", std::nullopt, u""},      {u"", std::nullopt, u""},
      {u"(12.0m)", 12.0, u"12.0"},
  };
  for (const Case& c : cases) {
    const auto got = picture::DepthInText(c.text);
    ASSERT_EQ(got.has_value(), c.depth.has_value()) << ToUtf8(c.text);
    if (!got) continue;
    EXPECT_DOUBLE_EQ(got->first, *c.depth) << ToUtf8(c.text);
    EXPECT_EQ(got->second, c.written) << ToUtf8(c.text);
  }
}

}  // namespace
}  // namespace ostra
