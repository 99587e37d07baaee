// The layout of the boring-log picture, from models built in memory: no files, no SVG.
#include "preview/boring_log_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ostra {
namespace {

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

TEST(BoringLogLayoutTest, BandsFollowEachOtherOnOneScaleInProportionToTheirThickness) {
  const BoringLogLayout layout = LayOutBoringLog(Model({1.2, 4.5, 7.8}));
  ASSERT_EQ(layout.layers.size(), 3u);
  EXPECT_EQ(layout.layers[0].top, layout.bodyTop);
  EXPECT_EQ(layout.layers[1].top, layout.layers[0].bottom);
  EXPECT_EQ(layout.layers[2].top, layout.layers[1].bottom);
  const double h0 = layout.layers[0].bottom - layout.layers[0].top;
  const double h1 = layout.layers[1].bottom - layout.layers[1].top;
  EXPECT_NEAR(h1 / h0, 3.30 / 1.20, 1e-9);
  EXPECT_NEAR(h0, 1.2 * layout.pxPerMetre, 1e-9);
  EXPECT_LE(layout.layers[2].bottom, layout.bodyBottom);
}

TEST(BoringLogLayoutTest, TheDepthAxisEndsOnAWholeTickBelowTheDeepestThingDrawn) {
  // 7.80 m: steps of 1 m down to 8 m, at most 60 px a metre.
  BoringLogLayout layout = LayOutBoringLog(Model({1.2, 4.5, 7.8}));
  ASSERT_EQ(layout.depthTicks.size(), 9u);
  for (size_t i = 0; i < layout.depthTicks.size(); ++i) {
    EXPECT_EQ(layout.depthTicks[i].depth, static_cast<double>(i));
    EXPECT_NEAR(layout.depthTicks[i].y, layout.bodyTop + i * 60.0, 1e-9);
  }
  EXPECT_EQ(layout.pxPerMetre, 60);
  EXPECT_NEAR(layout.bodyBottom, layout.depthTicks.back().y, 1e-9);

  // A mark below the last layer stretches the axis: 150.3 m gives steps of 20 m down to 160 m
  // over the body's height.
  BoringLogModel model = Model({1.2, 4.5, 7.8});
  model.marks.push_back({false, 140.0, 150.3, u"試験"});
  layout = LayOutBoringLog(model);
  EXPECT_EQ(layout.depthTicks.size(), 9u);
  EXPECT_EQ(layout.depthTicks.back().depth, 160);
  EXPECT_NEAR(layout.bodyBottom - layout.bodyTop, kBodyHeight, 1e-9);

  // So do N values and remarks; a very deep boring keeps at least half a pixel a metre.
  model = Model({2.0});
  model.nValues.push_back({99999.0, 10});
  layout = LayOutBoringLog(model);
  EXPECT_EQ(layout.depthTicks.back().depth, 100000);
  EXPECT_EQ(layout.pxPerMetre, 0.5);
  model = Model({2.0});
  model.remarks.push_back({31.0, {u"記事"}});
  EXPECT_EQ(LayOutBoringLog(model).depthTicks.back().depth, 35);

  // Nothing below 0: an axis of 1 m.
  layout = LayOutBoringLog(Model({0.0}));
  EXPECT_EQ(layout.depthTicks.back().depth, 1);
  EXPECT_EQ(layout.layers[0].top, layout.layers[0].bottom);
}

TEST(BoringLogLayoutTest, TickStepsGiveAtMostTheWantedNumberOfTicks) {
  EXPECT_EQ(TickStep(7.5, 15), 0.5);
  EXPECT_EQ(TickStep(7.8, 15), 1);
  EXPECT_EQ(TickStep(150.3, 15), 20);
  EXPECT_EQ(TickStep(75000, 15), 5000);
  EXPECT_EQ(TickStep(1e6, 15), 10000);
}

TEST(BoringLogLayoutTest, HeaderLinesStackDownFromTheMarginTheFirstLarger) {
  BoringLogModel model = Model({1.0});
  EXPECT_EQ(LayOutBoringLog(model).headTop, kMargin);
  model.header = {u"調査名", u"孔名：B-1", u"所在地"};
  const BoringLogLayout layout = LayOutBoringLog(model);
  ASSERT_EQ(layout.headerLines.size(), 3u);
  EXPECT_EQ(layout.headerLines[0].size, 20);
  EXPECT_EQ(layout.headerLines[1].size, 13);
  EXPECT_EQ(layout.headerLines[0].y, kMargin + 26);
  EXPECT_EQ(layout.headerLines[1].y, kMargin + 26 + 19);
  EXPECT_EQ(layout.headerLines[2].y, kMargin + 26 + 19 + 19);
  EXPECT_EQ(layout.headTop, layout.headerLines[2].y + 10);
  EXPECT_EQ(layout.bodyTop, layout.headTop + kColumnHeadHeight);
}

TEST(BoringLogLayoutTest, WithoutLayersOnlyTheHeaderAndTheMessageArePlaced) {
  BoringLogModel model;
  model.folder = u"T:\\OUT\\";
  model.header = {u"調査名"};
  const BoringLogLayout layout = LayOutBoringLog(model);
  EXPECT_EQ(layout.headerLines.size(), 1u);
  EXPECT_EQ(layout.messageY, layout.headTop + 30);
  EXPECT_EQ(layout.folderY, layout.headTop + 52);
  EXPECT_EQ(layout.width, kEmptyWidth);
  EXPECT_EQ(layout.height, layout.headTop + 72);
  EXPECT_TRUE(layout.depthTicks.empty());
  EXPECT_TRUE(layout.nTicks.empty());
}

TEST(BoringLogLayoutTest, ClassCellsReachUpToTheTopOfTheLayerTheyEndWith) {
  // X1.TXT out of depth order: the boundaries are sorted.
  BoringLogModel model = Model({4.5, 1.2, 7.8});
  model.classes[0].lines = {{4.5, u"CL～CM"}, {7.8, u"CH"}, {1.2, u"D"}, {3.0, u"CM"}};
  model.classes[2].lines = {{0.5, u"ＣＬ"}};
  const BoringLogLayout layout = LayOutBoringLog(model);
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
  model.nValues = {{1.45, 12}, {4.5, 30}, {6.45, 125}, {7.0, -3}};
  BoringLogLayout layout = LayOutBoringLog(model);
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
  model.nValues = {{1.45, 50}};
  layout = LayOutBoringLog(model);
  EXPECT_EQ(layout.nMax, 50);
  ASSERT_EQ(layout.nTicks.size(), 6u);
  for (const NTick& tick : layout.nTicks) EXPECT_TRUE(tick.labelled);
  EXPECT_EQ(layout.nPoints[0].x, kPlotLeft + kPlotWidth);
  EXPECT_FALSE(layout.nPoints[0].beyond);
  model.nValues = {{1.45, 51}};
  EXPECT_EQ(LayOutBoringLog(model).nMax, 100);
}

TEST(BoringLogLayoutTest, MarkLabelsAreSpreadSoThatNoneOverlapsAndThePictureReachesThem) {
  BoringLogModel model = Model({7.8});
  model.marks = {{false, 3.0, 3.5, u"ベーン試験"},
                 {true, 3.0, std::nullopt, u"一軸"},
                 {false, 3.05, 4.0, u"透水試験"},
                 {true, 6.0, 6.5, u"物理"}};
  BoringLogLayout layout = LayOutBoringLog(model);
  ASSERT_EQ(layout.marks.size(), 4u);
  const MarkBox& first = layout.marks[0];
  EXPECT_EQ(first.labelY, first.top);  // free: centred on its upper end
  EXPECT_NEAR(first.bottom - first.top, 0.5 * layout.pxPerMetre, 1e-9);
  EXPECT_EQ(layout.marks[1].bottom, layout.marks[1].top);  // no lower end
  EXPECT_EQ(layout.marks[1].labelY, first.labelY + kLabelLine + 1);
  EXPECT_EQ(layout.marks[2].labelY, layout.marks[1].labelY + kLabelLine + 1);
  EXPECT_EQ(layout.marks[3].labelY, layout.marks[3].top);
  // Tests and samples have lanes of their own.
  EXPECT_EQ(layout.marks[0].lane, layout.marks[2].lane);
  EXPECT_EQ(layout.marks[1].lane, layout.marks[3].lane);
  EXPECT_NE(layout.marks[0].lane, layout.marks[1].lane);
  EXPECT_EQ(layout.height, layout.bodyBottom + kMargin + 8);

  // Many marks at the bottom push the picture down below the axis.
  for (int i = 0; i < 20; ++i) model.marks.push_back({false, 7.8, std::nullopt, u"試験"});
  layout = LayOutBoringLog(model);
  const double lastLabelBottom = layout.marks.back().labelY + kLabelLine / 2;
  EXPECT_GT(lastLabelBottom, layout.bodyBottom);
  EXPECT_EQ(layout.height, lastLabelBottom + kMargin + 8);
}

TEST(BoringLogLayoutTest, RemarksAreSpreadByTheirNumberOfLines) {
  BoringLogModel model = Model({7.8});
  model.remarks = {{2.0, {u"一", u"二", u"三"}}, {2.1, {u"四"}}, {6.0, {u"五"}}};
  const BoringLogLayout layout = LayOutBoringLog(model);
  ASSERT_EQ(layout.remarks.size(), 3u);
  EXPECT_EQ(layout.remarks[0].labelTop, layout.remarks[0].y - 4);
  EXPECT_EQ(layout.remarks[1].labelTop, layout.remarks[0].labelTop + 3 * kLabelLine + 4);
  EXPECT_GT(layout.remarks[1].labelTop, layout.remarks[1].y - 4);
  EXPECT_EQ(layout.remarks[2].labelTop, layout.remarks[2].y - 4);
}

TEST(BoringLogLayoutTest, SpreadLabelsPushesOnlyThoseThatWouldOverlap) {
  EXPECT_EQ(SpreadLabels({0, 5, 100, 100}, {10, 10, 30, 1}, 1),
            (std::vector<double>{0, 11, 100, 131}));
  EXPECT_TRUE(SpreadLabels({}, {}, 4).empty());
}

TEST(BoringLogLayoutTest, TextsShrinkToFitTheirWidthButNotBelowFivePixels) {
  EXPECT_EQ(FitSize(u"あいう", 13, 100), 13);
  EXPECT_EQ(FitSize(u"あいうえおかきくけこさしすせそたちつてと", 13, 100), 5);
  EXPECT_NEAR(FitSize(u"あいうえおかきくけこ", 13, 100), 10, 1e-9);
  EXPECT_NEAR(FitSize(u"abcdefghij", 13, 29), 5, 1e-9);  // 5.8 ems
  EXPECT_EQ(FitSize(u"あいうえおかきくけこさしすせそたちつてとなにぬねの", 13, 100), 5);

  // A long layer name; a band too thin for the full size.
  BoringLogModel model = Model({0.05, 7.8});
  model.layers[1].name = u"とても長い名前の地層でバンドに入りきらない";
  const BoringLogLayout layout = LayOutBoringLog(model);
  EXPECT_EQ(layout.layers[0].size, 6);
  EXPECT_LT(layout.layers[1].size, 13);
  EXPECT_EQ(layout.layers[1].size, FitSize(model.layers[1].name + u"　0002", 13, kBandWidth - 16));
  EXPECT_NEAR(layout.layers[1].textY,
              (layout.layers[1].top + layout.layers[1].bottom) / 2 + layout.layers[1].size * 0.35,
              1e-9);
}

}  // namespace
}  // namespace ostra
