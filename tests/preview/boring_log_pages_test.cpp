// The picture on paper: the scale on the page and the split into pages.
#include "preview/boring_log_pages.h"

#include <gtest/gtest.h>

namespace ostra {
namespace {

BoringLogModel Hole(double depth) {
  BoringLogModel model;
  model.layers.push_back({0, depth, Text(), u"5001", u"砂岩"});
  model.header = {{u"調査名", u"調査"}, {u"孔名", u"B-1"}};
  return model;
}

TEST(BoringLogPagesTest, APictureWiderThanThePaperShrinksAndKeepsItsDepthScale) {
  const PrintScale narrow = PrintScaleFor(190, 100);
  EXPECT_NEAR(narrow.mmPerPx, 190 / kWidth, 1e-12);
  // One metre: 10 mm on the paper.
  EXPECT_NEAR(narrow.pxPerMetre * narrow.mmPerPx, 10, 1e-9);
  EXPECT_NEAR(PrintScaleFor(190, 500).pxPerMetre * narrow.mmPerPx, 2, 1e-9);
  // Paper wide enough: the picture keeps its own size (96 pixels to the inch).
  const PrintScale wide = PrintScaleFor(400, 100);
  EXPECT_NEAR(wide.mmPerPx, 25.4 / 96, 1e-12);
  EXPECT_NEAR(wide.pxPerMetre, PxPerMetreAt(100), 1e-9);
}

TEST(BoringLogPagesTest, PagesFollowEachOtherWithTheTitleOnTheFirst) {
  for (double gap : {0.0, 9.0}) {  // the room between the headings and depth 0 on the first page
    const BoringLogLayout layout = LayOutBoringLog(Hole(60), PxPerMetreAt(100), gap);
    const double pageHeight = 1000;
    const double headsBottom = layout.headsTop + kColumnHeadHeight;
    EXPECT_EQ(layout.bodyTop, headsBottom + gap);
    const std::vector<PageSlice> pages = PlanPages(layout, pageHeight);
    // 60 m at 1:100: 2268 pixels of body.
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_TRUE(pages[0].title);
    EXPECT_FALSE(pages[1].title);
    EXPECT_EQ(pages[0].from, headsBottom);
    EXPECT_EQ(pages[0].to - pages[0].from, pageHeight - headsBottom);
    EXPECT_EQ(pages[1].from, pages[0].to);
    EXPECT_EQ(pages[1].to - pages[1].from, pageHeight - kColumnHeadHeight);
    EXPECT_EQ(pages[2].from, pages[1].to);
    EXPECT_EQ(pages[2].to, layout.bodyBottom);
  }
}

TEST(BoringLogPagesTest, AShortHoleOrNoLayersMakeOnePage) {
  EXPECT_EQ(PlanPages(LayOutBoringLog(Hole(5), PxPerMetreAt(100)), 1000).size(), 1u);
  const std::vector<PageSlice> empty = PlanPages(LayOutBoringLog({}, PxPerMetreAt(100)), 1000);
  ASSERT_EQ(empty.size(), 1u);
  EXPECT_TRUE(empty[0].title);
}

}  // namespace
}  // namespace ostra
