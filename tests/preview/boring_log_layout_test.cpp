// The layout of the boring-log picture, from models built in memory: no files, no SVG.
#include "preview/boring_log_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ostra {
namespace {

const double k100 = PxPerMetreAt(100);

Layer MakeLayer(double top, double bottom, const Text& code = u"0002", const Text& name = u"表土") {
  return {top, bottom, Text(), code, name};
}

// Layers from 0 down to each of `bottoms` in turn, and the six class columns without lines.
BoringLogModel Model(const std::vector<double>& bottoms) {
  BoringLogModel model;
  model.folder = u"T:\\OUT\\";
  double top = 0;
  for (double bottom : bottoms) {
    model.layers.push_back(MakeLayer(top, bottom));
    top = bottom;
  }
  for (const char16_t* file : kClassFiles) model.classes.push_back({file, {}});
  return model;
}

TEST(BoringLogLayoutTest, TheDepthIsDrawnToATrueScale) {
  // 1:100 is 10 mm of depth per metre: 96 / 2.54 picture pixels (1/96 inch each).
  EXPECT_NEAR(PxPerMetreAt(100), 96 / 2.54, 1e-9);
  EXPECT_NEAR(PxPerMetreAt(50), 2 * PxPerMetreAt(100), 1e-9);
  EXPECT_NEAR(PxPerMetreAt(500), PxPerMetreAt(100) / 5, 1e-9);

  const BoringLogLayout layout = LayOutBoringLog(Model({1.2, 4.5, 7.8}), k100);
  EXPECT_EQ(layout.pxPerMetre, k100);
  ASSERT_EQ(layout.layers.size(), 3u);
  EXPECT_EQ(layout.layers[0].top, layout.bodyTop);
  EXPECT_NEAR(layout.layers[0].bottom - layout.layers[0].top, 1.2 * k100, 1e-9);
  EXPECT_EQ(layout.layers[1].top, layout.layers[0].bottom);
  EXPECT_NEAR(layout.layers[2].bottom - layout.bodyTop, 7.8 * k100, 1e-9);
  // The axis goes down to the next whole metre, ticked every metre.
  EXPECT_EQ(layout.axisDepth, 8);
  EXPECT_NEAR(layout.bodyBottom - layout.bodyTop, 8 * k100, 1e-9);
  ASSERT_EQ(layout.depthTicks.size(), 9u);
  EXPECT_NEAR(layout.depthTicks[1].y - layout.depthTicks[0].y, k100, 1e-9);

  // A 300 m hole keeps the scale: the picture grows instead of squeezing it.
  const BoringLogLayout deep = LayOutBoringLog(Model({150, 300}), k100);
  EXPECT_NEAR(deep.bodyBottom - deep.bodyTop, 300 * k100, 1e-6);
  EXPECT_EQ(deep.width, kWidth);
}

TEST(BoringLogLayoutTest, DepthTicksStayApartAtEveryScale) {
  EXPECT_EQ(DepthTickStep(PxPerMetreAt(50)), 0.5);
  EXPECT_EQ(DepthTickStep(PxPerMetreAt(100)), 1);
  EXPECT_EQ(DepthTickStep(PxPerMetreAt(200)), 2);
  EXPECT_EQ(DepthTickStep(PxPerMetreAt(500)), 5);
  for (double scale : {50.0, 100.0, 200.0, 500.0, 2000.0}) {
    EXPECT_GE(DepthTickStep(PxPerMetreAt(scale)) * PxPerMetreAt(scale), 30) << scale;
  }
  EXPECT_EQ(AxisDepth(Model({7.8}), PxPerMetreAt(500)), 10);
}

TEST(BoringLogLayoutTest, TheTitleBlockHoldsTheItemsAndTheLegendOfThePatternsUsed) {
  BoringLogModel model = Model({1.2, 4.5, 7.8});
  model.layers[0].name = u"砂岩泥岩互層";
  model.layers[1].name = u"花崗岩";
  model.layers[2].name = u"新しい名前";
  model.header = {{u"調査名", u"トンネル調査"}, {u"孔名", u"B-1"}, {u"掘進長", u"30.00 m"}};
  const BoringLogLayout layout = LayOutBoringLog(model, k100);
  ASSERT_EQ(layout.title.size(), 3u);
  EXPECT_EQ(layout.title[0].lines, std::vector<Text>{u"トンネル調査"});
  EXPECT_EQ(layout.title[1].lines, std::vector<Text>{u"孔名：B-1"});
  EXPECT_EQ(layout.title[2].lines, std::vector<Text>{u"掘進長：30.00 m"});
  EXPECT_GT(layout.title[0].size, layout.title[1].size);
  // Two columns side by side.
  EXPECT_EQ(layout.title[1].y, layout.title[2].y);
  EXPECT_LT(layout.title[1].x, layout.title[2].x);
  // The alternation for the first, the granite for the second, in table order; the unknown
  // name after them with its own name and no pattern.
  ASSERT_EQ(layout.legend.size(), 3u);
  EXPECT_EQ(layout.legend[0].bit, PatternsFor(u"互層"));
  EXPECT_EQ(layout.legend[1].bit, PatternsFor(u"花崗岩"));
  EXPECT_NE(layout.legend[0].bit, 0u);
  EXPECT_NE(layout.legend[1].bit, 0u);
  EXPECT_EQ(layout.legend[0].text, PatternOf(layout.legend[0].bit)->legend);
  EXPECT_EQ(layout.legend[0].fill, PatternOf(layout.legend[0].bit)->colour);
  EXPECT_EQ(layout.legend[2].bit, 0u);
  EXPECT_EQ(layout.legend[2].text, u"新しい名前");
  EXPECT_EQ(layout.layers[2].patterns, 0u);
  EXPECT_GT(layout.headsTop, layout.title[2].y);
  EXPECT_EQ(layout.bodyTop, layout.headsTop + kColumnHeadHeight);
  EXPECT_EQ(BodyTop(model), layout.bodyTop);
}

TEST(BoringLogLayoutTest, TheLegendNamesEveryPatternUsedWholeWithItsColour) {
  // One layer for each pattern, named by its first key, and a long unknown name.
  std::vector<double> bottoms;
  for (size_t i = 0; i <= AllPatterns().size(); ++i) bottoms.push_back(1.0 + i);
  BoringLogModel model = Model(bottoms);
  for (size_t i = 0; i < AllPatterns().size(); ++i) {
    for (const PatternKey& key : AllPatternKeys()) {
      if (key.bit == AllPatterns()[i].bit) {
        model.layers[i].name = key.text;
        break;
      }
    }
  }
  model.layers.back().name = u"とても長い名前の未知の地層（注記）";
  const BoringLogLayout layout = LayOutBoringLog(model, k100);
  ASSERT_EQ(layout.legend.size(), AllPatterns().size() + 1);
  for (size_t i = 0; i < AllPatterns().size(); ++i) {
    const PatternInfo& p = AllPatterns()[i];
    EXPECT_EQ(layout.legend[i].bit, p.bit) << p.id;
    EXPECT_EQ(layout.legend[i].text, p.legend) << p.id << " does not fit its line";
    EXPECT_EQ(layout.legend[i].fill, p.colour) << p.id;
  }
  // The unknown name without its annotation, shortened to its line.
  EXPECT_EQ(layout.legend.back().bit, 0u);
  EXPECT_EQ(layout.legend.back().text.back(), u'…');
  EXPECT_EQ(layout.legend.back().text.find(u"（"), Text::npos);
}

TEST(BoringLogLayoutTest, WithoutLayersOnlyTheHeaderAndTheMessageArePlaced) {
  BoringLogModel model;
  model.header = {{u"調査名", u"調査"}};
  const BoringLogLayout layout = LayOutBoringLog(model, k100);
  EXPECT_EQ(layout.width, kEmptyWidth);
  EXPECT_GT(layout.messageY, layout.headsTop);
  EXPECT_GT(layout.folderY, layout.messageY);
  EXPECT_TRUE(layout.depthTicks.empty());
}

TEST(BoringLogLayoutTest, DepthTextsOfThinLayersDoNotOverlap) {
  // Layers 5 cm thick at 1:100: about 1.9 pixels each.
  std::vector<double> bottoms;
  for (int i = 1; i <= 40; ++i) bottoms.push_back(i * 0.05);
  const BoringLogLayout layout = LayOutBoringLog(Model(bottoms), k100);
  double last = -1e9;
  int labelled = 0;
  for (const LayerBox& box : layout.layers) {
    if (!box.depthLabelled) continue;
    EXPECT_GE(box.bottom - last, kTextLine);
    last = box.bottom;
    ++labelled;
  }
  EXPECT_GT(labelled, 3);
  EXPECT_LT(labelled, 40);
  EXPECT_TRUE(layout.layers[0].depthLabelled);
}

TEST(BoringLogLayoutTest, ClassCellsReachUpToTheTopOfTheLayerTheyEndWith) {
  // X1.TXT out of depth order: the boundaries are sorted.
  BoringLogModel model = Model({4.5, 1.2, 7.8});
  model.classes[0].lines = {{4.5, u"CL～CM"}, {7.8, u"CH"}, {1.2, u"D"}, {3.0, u"CM"}};
  model.classes[2].lines = {{0.5, u"ＣＬ"}};
  const BoringLogLayout layout = LayOutBoringLog(model, k100);
  ASSERT_EQ(layout.classes.size(), 6u);
  const std::vector<CellBox>& x3 = layout.classes[0].cells;
  ASSERT_EQ(x3.size(), 4u);
  EXPECT_EQ(x3[0].topDepth, 1.2);
  EXPECT_EQ(x3[1].topDepth, 4.5);
  EXPECT_EQ(x3[2].topDepth, 0);
  EXPECT_EQ(x3[3].topDepth, 1.2);  // not on a boundary: from the one above
  EXPECT_EQ(layout.classes[2].cells[0].topDepth, 0);
  // On the bands' scale: the cell of 1.20 to 4.50 runs from the bottom of the layer that ends
  // at 1.20 (the second) to that of the layer that ends at 4.50 (the first).
  EXPECT_EQ(x3[0].top, layout.layers[1].bottom);
  EXPECT_EQ(x3[0].bottom, layout.layers[0].bottom);
  for (size_t i = 0; i < layout.classes.size(); ++i) {
    EXPECT_EQ(layout.classes[i].left, kClassLeft + i * kClassWidth);
  }
  EXPECT_TRUE(layout.classes[1].cells.empty());
}

TEST(BoringLogLayoutTest, LayerTopsComeFromTheBoundariesAboveAndNeverLieAboveZero) {
  const std::vector<double> boundaries =
      LayerBoundaries({MakeLayer(0, 4.5), MakeLayer(4.5, -1.0), MakeLayer(-1.0, 7.8)});
  EXPECT_EQ(boundaries, (std::vector<double>{-1.0, 4.5, 7.8}));
  EXPECT_EQ(LayerTopFor(boundaries, 7.8), 4.5);
  EXPECT_EQ(LayerTopFor(boundaries, 9.0), 7.8);
  EXPECT_EQ(LayerTopFor(boundaries, 4.5), 0);  // the boundary above is -1
  EXPECT_EQ(LayerTopFor(boundaries, -1.0), 0);
  EXPECT_EQ(LayerTopFor({}, 3.0), 0);
}

TEST(BoringLogLayoutTest, NValuesSitOnTheBandsScaleAndInsideThePlot) {
  BoringLogModel model = Model({1.2, 4.5, 7.8});
  model.nValues = {{1.45, 12, u"12"}, {4.5, 30, u"30"}, {6.45, 125, u"50/12"}, {7.0, -3, u""}};
  BoringLogLayout layout = LayOutBoringLog(model, k100);
  ASSERT_EQ(layout.nPoints.size(), 4u);
  // Values above 50 stretch the axis to 100, no further.
  EXPECT_EQ(layout.nMax, 100);
  EXPECT_EQ(layout.nPoints[1].y, layout.layers[1].bottom);
  EXPECT_LT(layout.nPoints[0].y, layout.nPoints[1].y);
  EXPECT_LT(layout.nPoints[0].x, layout.nPoints[1].x);
  EXPECT_EQ(layout.nPoints[1].x, NPlotX(30, 100));
  EXPECT_EQ(layout.nPoints[2].x, kPlotLeft + kPlotWidth);
  EXPECT_TRUE(layout.nPoints[2].beyond);
  EXPECT_FALSE(layout.nPoints[1].beyond);
  EXPECT_EQ(layout.nPoints[3].x, kPlotLeft);
  // Grid lines every 10, labelled every 20 on an axis to 100.
  ASSERT_EQ(layout.nTicks.size(), 11u);
  EXPECT_EQ(layout.nTicks[10].x, kPlotLeft + kPlotWidth);
  EXPECT_TRUE(layout.nTicks[2].labelled);
  EXPECT_FALSE(layout.nTicks[3].labelled);

  // Up to 50: an axis to 50, every grid line labelled.
  model.nValues = {{1.45, 50, u"50"}};
  layout = LayOutBoringLog(model, k100);
  EXPECT_EQ(layout.nMax, 50);
  ASSERT_EQ(layout.nTicks.size(), 6u);
  for (const NTick& tick : layout.nTicks) EXPECT_TRUE(tick.labelled);
  EXPECT_EQ(layout.nPoints[0].x, kPlotLeft + kPlotWidth);
  EXPECT_FALSE(layout.nPoints[0].beyond);
  model.nValues = {{1.45, 51, u"51"}};
  EXPECT_EQ(LayOutBoringLog(model, k100).nMax, 100);
}

TEST(BoringLogLayoutTest, MarkLabelsAreWrappedAndSpreadSoThatNoneOverlaps) {
  BoringLogModel model = Model({7.8});
  model.marks = {{false, 3.0, 3.5, u"ベーン試験"},
                 {true, 3.0, std::nullopt, u"一軸"},
                 {false, 3.05, 4.0, u"コロージョンテスト"},
                 {true, 6.0, 6.5, u"物理"}};
  BoringLogLayout layout = LayOutBoringLog(model, k100);
  ASSERT_EQ(layout.marks.size(), 4u);
  const MarkBox& first = layout.marks[0];
  EXPECT_EQ(first.lines, std::vector<Text>{u"ベーン試験  3～3.5"});
  EXPECT_EQ(first.labelTop, first.top - kTextLine / 2);  // free: centred on its upper end
  EXPECT_NEAR(first.bottom - first.top, 0.5 * k100, 1e-9);
  EXPECT_EQ(layout.marks[1].bottom, layout.marks[1].top);  // no lower end
  EXPECT_EQ(layout.marks[1].labelTop, first.labelTop + kTextLine + 1);
  // Too long for one line: broken after the name, nothing cut.
  EXPECT_EQ(layout.marks[2].lines, (std::vector<Text>{u"コロージョンテスト", u"3.05～4"}));
  EXPECT_EQ(layout.marks[2].labelTop, layout.marks[1].labelTop + kTextLine + 1);
  EXPECT_EQ(layout.marks[3].labelTop, layout.marks[3].top - kTextLine / 2);
  EXPECT_EQ(layout.marks[0].lane, layout.marks[2].lane);
  EXPECT_NE(layout.marks[0].lane, layout.marks[1].lane);
  EXPECT_EQ(layout.height, layout.bodyBottom + kMargin + 8);

  // Many marks at the bottom push the picture down below the axis.
  for (int i = 0; i < 20; ++i) model.marks.push_back({false, 7.8, std::nullopt, u"試験"});
  layout = LayOutBoringLog(model, k100);
  const double lastLabelBottom = layout.marks.back().labelTop + kTextLine;
  EXPECT_GT(lastLabelBottom, layout.bodyBottom);
  EXPECT_EQ(layout.height, lastLabelBottom + kMargin + 8);
}

TEST(BoringLogLayoutTest, RemarksAreSpreadByTheirNumberOfLines) {
  BoringLogModel model = Model({7.8});
  model.remarks = {{2.0, {u"一", u"二", u"三"}}, {2.02, {u"四"}}, {6.0, {u"五"}}};
  const BoringLogLayout layout = LayOutBoringLog(model, k100);
  ASSERT_EQ(layout.remarks.size(), 3u);
  EXPECT_EQ(layout.remarks[0].labelTop, layout.remarks[0].y - 4);
  EXPECT_EQ(layout.remarks[1].labelTop, layout.remarks[0].labelTop + 3 * kTextLine + 4);
  EXPECT_EQ(layout.remarks[2].labelTop, layout.remarks[2].y - 4);
  EXPECT_EQ(layout.remarks[2].lines, std::vector<Text>{u"五"});
}

TEST(BoringLogLayoutTest, LabelsAtTheTopStayBelowTheHeadings) {
  BoringLogModel model = Model({7.8});
  model.remarks = {{0.0, {u"孔口"}}};
  model.marks = {{false, 0.0, 0.5, u"試験"}};
  // Depths under one metre keep their leading zero.
  const BoringLogLayout layout = LayOutBoringLog(model, k100);
  EXPECT_GT(layout.remarks[0].labelTop, layout.bodyTop);
  EXPECT_GT(layout.marks[0].labelTop, layout.bodyTop);
  EXPECT_EQ(layout.marks[0].lines, std::vector<Text>{u"試験  0～0.5"});
  EXPECT_EQ(layout.remarks[0].y, layout.bodyTop);
}

TEST(BoringLogLayoutTest, SpreadLabelsPushesOnlyThoseThatWouldOverlap) {
  EXPECT_EQ(SpreadLabels({0, 5, 100, 100}, {10, 10, 30, 1}, 1),
            (std::vector<double>{0, 11, 100, 131}));
  EXPECT_TRUE(SpreadLabels({}, {}, 4).empty());
}

TEST(BoringLogLayoutTest, TextsWrapOrAreShortenedAtTheirSizeInsteadOfShrinking) {
  // Four full-width characters to a line 40 pixels wide at 10 pixels.
  EXPECT_EQ(FitLines(u"あいう", 40, 10, 2), std::vector<Text>{u"あいう"});
  EXPECT_EQ(FitLines(u"あいうえおか", 40, 10, 2), (std::vector<Text>{u"あいうえ", u"おか"}));
  EXPECT_EQ(FitLines(u"あいうえおかきくけこ", 40, 10, 2),
            (std::vector<Text>{u"あいうえ", u"おかき…"}));
  // A range breaks after its "～" rather than inside a word.
  EXPECT_EQ(FitLines(u"弱風化～中風化", 48, 10, 3), (std::vector<Text>{u"弱風化～", u"中風化"}));
  EXPECT_EQ(FitLines(u"密着～ヘアークラック", 48, 10, 3),
            (std::vector<Text>{u"密着～", u"ヘアーク", u"ラック"}));
  // One line only: shortened with an ellipsis; no room at all: nothing.
  EXPECT_EQ(FitLines(u"密着～ヘアークラック", 48, 10, 1), std::vector<Text>{u"密着～…"});
  EXPECT_TRUE(FitLines(u"密着", 48, 10, 0).empty());
  // Every line fits its width.
  for (const Text& line : FitLines(u"コロージョンテスト 20～20.5", 60, 10, 5)) {
    EXPECT_LE(TextWidth(line, 10), 60) << ToUtf8(line);
  }
  EXPECT_NEAR(TextWidth(u"aあ", 10), 15.8, 1e-9);
}

}  // namespace
}  // namespace ostra
