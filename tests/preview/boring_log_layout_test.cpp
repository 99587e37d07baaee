// The layout of the boring-log picture, from models built in memory: the columns, the scale.
#include "preview/boring_log_layout.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "preview/boring_log_builder.h"

namespace ostra {
namespace {

using K = ColumnKind;
const double k100 = PxPerMetreAt(100);

std::vector<K> Kinds(const BoringLogLayout& layout) {
  std::vector<K> kinds;
  for (const ColumnBox& c : layout.columns) kinds.push_back(c.kind);
  return kinds;
}

TEST(BoringLogLayoutTest, TheDepthIsDrawnToATrueScale) {
  // 1:100 is 10 mm of depth per metre: 96 / 2.54 picture pixels (1/96 inch each).
  EXPECT_NEAR(PxPerMetreAt(100), 96 / 2.54, 1e-9);
  EXPECT_NEAR(PxPerMetreAt(500), PxPerMetreAt(100) / 5, 1e-9);
  const BoringLogLayout layout = LayOutBoringLog(test::LayersOnly({1.2, 4.5, 7.8}), k100);
  ASSERT_EQ(layout.layers.size(), 3u);
  EXPECT_EQ(layout.layers[0].top, layout.bodyTop);
  EXPECT_NEAR(layout.layers[0].bottom - layout.layers[0].top, 1.2 * k100, 1e-9);
  EXPECT_EQ(layout.layers[1].top, layout.layers[0].bottom);
  EXPECT_NEAR(layout.layers[2].bottom - layout.bodyTop, 7.8 * k100, 1e-9);
  EXPECT_EQ(layout.axisDepth, 8);
  ASSERT_EQ(layout.depthTicks.size(), 9u);
  EXPECT_NEAR(layout.depthTicks[1].y - layout.depthTicks[0].y, k100, 1e-9);
  for (double scale : {50.0, 100.0, 200.0, 500.0, 2000.0}) {
    EXPECT_GE(DepthTickStep(PxPerMetreAt(scale)) * PxPerMetreAt(scale), 30) << scale;
  }
  // A 300 m hole keeps the scale; the picture is as wide as its columns.
  const BoringLogLayout deep = LayOutBoringLog(test::LayersOnly({150, 300}), k100);
  EXPECT_NEAR(deep.bodyBottom - deep.bodyTop, 300 * k100, 1e-6);
  EXPECT_EQ(deep.width, ColumnsWidth(deep.columns));
}

TEST(BoringLogLayoutTest, AColumnIsDrawnOnlyWhenTheModelFillsItAndAlwaysInItsPlace) {
  // What fills each column that a log of layers alone does not have.
  const std::vector<std::pair<K, std::function<void(BoringLogModel&)>>> fills = {
      {K::kElevation,
       [](auto& m) {
         m.header.push_back({u"孔口標高", u"125.30"});
       }},
      {K::kColour, [](auto& m) { m.layers[1].items[0] = u"灰色"; }},
      {K::kGrade, [](auto& m) { m.layers[0].items[1] = u"ＣＬ"; }},
      {K::kWeathering, [](auto& m) { m.layers[1].items[2] = u"弱風化"; }},
      {K::kHardness, [](auto& m) { m.layers[1].items[3] = u"中硬"; }},
      {K::kFractures, [](auto& m) { m.layers[1].items[4] = u"密着"; }},
      {K::kAlteration, [](auto& m) { m.layers[1].items[5] = u"弱変質"; }},
      {K::kCoreShape, [](auto& m) { m.layers[1].items[6] = u"棒状"; }},
      {K::kRecovery,
       [](auto& m) {
         m.cores.push_back({0, 2, u"90", Text()});
       }},
      {K::kRqd,
       [](auto& m) {
         m.cores.push_back({0, 2, Text(), u"45"});
       }},
      {K::kRemarks, [](auto& m) { m.layers[0].remark = {u"記事"}; }},
      {K::kRemarks,
       [](auto& m) {
         m.remarks.push_back({1, u"1.00", {u"補足"}});
       }},
      {K::kWater,
       [](auto& m) {
         m.waterLevels.push_back({1, u"1.00", u"5/12", Text()});
       }},
      // A test recorded without a count has no point to plot.
      {K::kPenetration,
       [](auto& m) { m.penetrationTests.push_back(test::MakeTest(1, u"自沈", std::nullopt)); }},
      {K::kMarks,
       [](auto& m) {
         m.marks.push_back({true, 1, 1.5, u"試料"});
       }},
  };
  const std::vector<K> base = {K::kScale, K::kDepth, K::kThickness, K::kPattern, K::kName};
  BoringLogModel all = test::LayersOnly({1.2, 4.5});
  for (const auto& [kind, fill] : fills) {
    BoringLogModel model = test::LayersOnly({1.2, 4.5});
    fill(model);
    fill(all);
    std::vector<K> wanted = base;
    wanted.push_back(kind);
    std::sort(wanted.begin(), wanted.end());
    EXPECT_EQ(Kinds(LayOutBoringLog(model, k100)), wanted) << ToUtf8(SpecOf(kind).heading);
  }
  EXPECT_EQ(Kinds(LayOutBoringLog(test::LayersOnly({1.2}), k100)), base);
  // The N graph comes with a value to plot; everything filled gives every column in order.
  all.penetrationTests.push_back(test::MakeTest(2, u"12", 12));
  std::vector<K> every;
  for (const ColumnSpec& spec : AllColumns()) every.push_back(spec.kind);
  const BoringLogLayout layout = LayOutBoringLog(all, k100);
  EXPECT_EQ(Kinds(layout), every);
  for (size_t i = 1; i < layout.columns.size(); ++i) {
    EXPECT_EQ(layout.columns[i].left, layout.columns[i - 1].left + layout.columns[i - 1].width);
  }
  // Without layers only the scale is left, and the picture says there is nothing to show.
  EXPECT_EQ(Kinds(LayOutBoringLog(BoringLogModel{}, k100)), std::vector<K>{K::kScale});
}

TEST(BoringLogLayoutTest, NarrowerColumnsShareTheCutAndStopAtTheirMinimum) {
  std::vector<ColumnBox> columns = FilledColumns(test::DeepHole(10));
  const double natural = ColumnsWidth(columns);
  double minimum = 2 * kMargin;
  for (const ColumnBox& c : columns) minimum += SpecOf(c.kind).minimum;
  for (double width : {natural + 50, natural, (natural + minimum) / 2, minimum, minimum - 1}) {
    std::vector<ColumnBox> narrowed = columns;
    EXPECT_EQ(NarrowColumns(narrowed, width), width >= minimum - 1e-6) << width;
    EXPECT_NEAR(ColumnsWidth(narrowed), std::clamp(width, minimum, natural), 1e-6) << width;
    for (const ColumnBox& c : narrowed) {
      EXPECT_GE(c.width, SpecOf(c.kind).minimum - 1e-9);
      EXPECT_LE(c.width, SpecOf(c.kind).natural + 1e-9);
    }
  }
}

TEST(BoringLogLayoutTest, NValuesArePlottedFromZeroToFifty) {
  BoringLogModel model = test::LayersOnly({10});
  model.penetrationTests = {test::MakeTest(1.15, u"0", 0), test::MakeTest(2.15, u"25", 25),
                            test::MakeTest(3.15, u"50/12", 50, true),
                            test::MakeTest(4.15, u"自沈", std::nullopt)};
  const BoringLogLayout layout = LayOutBoringLog(model, k100);
  const ColumnBox* graph = layout.Column(K::kNGraph);
  ASSERT_NE(graph, nullptr);
  ASSERT_EQ(layout.nPoints.size(), 4u);
  EXPECT_NEAR(layout.nPoints[0].x, graph->left + 6, 1e-9);
  EXPECT_NEAR(layout.nPoints[1].x, graph->left + graph->width / 2, 1e-9);
  EXPECT_NEAR(layout.nPoints[2].x, graph->left + graph->width - 6, 1e-9);
  EXPECT_FALSE(layout.nPoints[3].shown);
  EXPECT_NEAR(layout.nPoints[1].y, layout.DepthY(2.15), 1e-9);
  std::vector<double> ticks;
  for (const NTick& t : layout.nTicks) ticks.push_back(t.n);
  EXPECT_EQ(ticks, (std::vector<double>{0, 10, 20, 30, 40, 50}));
}

TEST(BoringLogLayoutTest, SpreadLabelsPushesOnlyThoseThatWouldOverlap) {
  EXPECT_EQ(SpreadLabels({0, 5, 100, 100}, {10, 10, 30, 1}, 1),
            (std::vector<double>{0, 11, 100, 131}));
  EXPECT_TRUE(SpreadLabels({}, {}, 4).empty());
}

TEST(BoringLogLayoutTest, TextsWrapOrAreShortenedAtTheirSizeInsteadOfShrinking) {
  // Four full-width characters to a line 40 pixels wide at 10 pixels.
  EXPECT_EQ(FitLines(u"あいうえおか", 40, 10, 2), (std::vector<Text>{u"あいうえ", u"おか"}));
  EXPECT_EQ(FitLines(u"あいうえおかきくけこ", 40, 10, 2),
            (std::vector<Text>{u"あいうえ", u"おかき…"}));
  // A range breaks after its "～" rather than inside a word.
  EXPECT_EQ(FitLines(u"弱風化～中風化", 48, 10, 3), (std::vector<Text>{u"弱風化～", u"中風化"}));
  EXPECT_TRUE(FitLines(u"密着", 48, 10, 0).empty());
  for (const Text& line : FitLines(u"コロージョンテスト 20～20.5", 60, 10, 5)) {
    EXPECT_LE(TextWidth(line, 10), 60) << ToUtf8(line);
  }
  EXPECT_NEAR(TextWidth(u"aあ", 10), 15.8, 1e-9);
}

}  // namespace
}  // namespace ostra
