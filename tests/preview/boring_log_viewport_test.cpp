// The picture in a window: the whole picture fits the viewport at 全体表示, and the texts at the
// top of the depth axis stay below the column headings.
#include "preview/boring_log_viewport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "preview/boring_log_builder.h"

namespace ostra {
namespace {

// A hole `depth` metres deep with layers `thickness` thick (the first one `first` thick), N
// values, tests and remarks; the last ones crowd at the bottom so that their labels reach
// below the axis.
BoringLogModel Hole(double depth, double first, double thickness, int labels) {
  BoringLogModel model = test::LayersOnly({});
  for (double top = 0, bottom = first; top < depth - 1e-9; bottom = top + thickness) {
    bottom = std::min(bottom, depth);
    model.layers.push_back(test::MakeLayer(top, bottom));
    top = bottom;
  }
  model.penetrationTests = {test::MakeTest(0, u"4", 4),
                            test::MakeTest(depth / 2, u"50/12", 50, true)};
  for (int i = 0; i < labels; ++i) {
    const double at = depth * (1 - 0.01 * i / labels);
    model.marks.push_back({i % 2 == 0, at, std::nullopt, u"標準貫入試験"});
    model.remarks.push_back({at, Text(), {u"亀裂が多く、コア長は短い。"}});
  }
  return model;
}

std::vector<BoringLogModel> Models() {
  std::vector<BoringLogModel> models;
  for (double depth : {1.0, 2.5, 7.8, 30.0, 60.0, 150.0, 300.0}) {
    for (double first : {0.05, 0.6, 3.0}) models.push_back(Hole(depth, first, depth / 7, 0));
    models.push_back(Hole(depth, 0.3, 1.0, 3));
    models.push_back(Hole(depth, 0.3, depth / 2, 40));  // the labels make most of the height
  }
  models.push_back(BoringLogModel{});  // nothing to show
  return models;
}

TEST(BoringLogViewportTest, TheWholePictureFitsEveryViewportAndFillsItsHeight) {
  for (const BoringLogModel& model : Models()) {
    for (double w : {150.0, 900.0, 2400.0}) {
      for (double h : {90.0, 300.0, 677.0, 1400.0}) {
        for (double k : {1.0, 1.5}) {
          const WindowFit fit = FitToWindow(model, w, h, k);
          const BoringLogLayout layout = LayOutInWindow(model, fit.pxPerMetre);
          SCOPED_TRACE(testing::Message()
                       << model.layers.size() << " layers, " << model.marks.size() << " labels in "
                       << w << " x " << h << " at " << k);
          ASSERT_GT(fit.pxPerMetre, 0);
          ASSERT_GT(fit.deviceScale, 0);
          EXPECT_LE(fit.deviceScale, k);
          EXPECT_LE(std::ceil(layout.width * fit.deviceScale), w);
          EXPECT_LE(std::ceil(layout.height * fit.deviceScale), h);
          if (model.layers.empty()) continue;
          // Not smaller than it must be: either the height is filled, or a larger depth scale
          // would not fit (the axis, ending on a whole tick, may then reach deeper).
          const BoringLogLayout larger = LayOutInWindow(model, fit.pxPerMetre * 1.001);
          EXPECT_TRUE(layout.height * fit.deviceScale >= h * 0.99 - 1 ||
                      std::ceil(larger.height * fit.deviceScale) > h);
          // Drawn smaller than at the chosen scales only to fit the width or when the depth is
          // down to its minimum.
          if (fit.deviceScale < k) {
            EXPECT_TRUE(layout.width * fit.deviceScale >= w * 0.99 - 1 ||
                        layout.bodyBottom - layout.bodyTop < 200);
          }
        }
      }
    }
  }
}

TEST(BoringLogViewportTest, TheTextsAtTheTopOfTheAxisStayBelowTheHeadings) {
  auto textTop = [](double baseline, double size) { return baseline - size; };
  for (const BoringLogModel& model : Models()) {
    if (model.layers.empty()) continue;
    for (double scale : {20.0, 50.0, 100.0, 200.0, 500.0, 2000.0, 20000.0}) {
      const BoringLogLayout layout = LayOutInWindow(model, PxPerMetreAt(scale));
      SCOPED_TRACE(testing::Message() << model.layers.size() << " layers at 1:" << scale);
      const double headsBottom = layout.headsTop + layout.headHeight;
      ASSERT_FALSE(layout.depthTicks.empty());
      EXPECT_EQ(layout.depthTicks[0].depth, 0);
      EXPECT_GE(textTop(layout.depthTicks[0].y + kTickTextDrop, kTextSize), headsBottom);
      for (const LayerBox& box : layout.layers) {
        if (box.depthLabelled) {
          EXPECT_GE(textTop(box.bottom - kDepthTextLift, kDepthTextSize), headsBottom);
        }
      }
      for (size_t i = 0; i < layout.nPoints.size(); ++i) {
        if (model.penetrationTests[i].refusal) {
          EXPECT_GE(textTop(layout.nPoints[i].y + kTickTextDrop, kTextSize), headsBottom);
        }
      }
      for (double row : layout.testRows) EXPECT_GE(textTop(row, kTextSize), headsBottom);
      // The picture written to files keeps the body right below the headings.
      EXPECT_EQ(LayOutBoringLog(model, layout.pxPerMetre).bodyTop, headsBottom);
    }
  }
}

TEST(BoringLogViewportTest, ThePdfIsOfferedUnderTheFolderName) {
  const std::pair<Text, Text> cases[] = {
      {u"T:\\OUT\\B-1\\", u"B-1.pdf"},
      {u"T:\\OUT\\B-1", u"B-1.pdf"},
      {u"C:\\調査 2024\\孔 No.3\\", u"孔 No.3.pdf"},
      {u"D:B-2", u"B-2.pdf"},
      {u"T:\\", u"柱状図.pdf"},
      {u"", u"柱状図.pdf"},
  };
  for (const auto& [folder, name] : cases) EXPECT_EQ(PdfFileName(folder), name);
}

}  // namespace
}  // namespace ostra
