// The picture's fill patterns: each layer gets the pattern its name finds in the table, over the
// pattern's colour, and the legend shows the patterns used and the names that found none.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "preview/boring_log_svg_fixture.h"
#include "preview/fill_patterns.h"
#include "preview/svg_format.h"

namespace ostra {
namespace {

TEST_F(BoringLogSvgTest, LayersCarryThePatternsOfTheirNamesWithALegend) {
  Put("X1.TXT", {"  1,   1.20,0002,砂岩泥岩互層", "  2,   4.50,5012,花崗岩（粗粒）",
                 "  3,   7.80,0009,未知の岩"});
  auto root = Render();
  ASSERT_TRUE(root);
  auto layers = root->All("layer");
  ASSERT_EQ(layers.size(), 3u);
  // One pattern by the name's ending, the annotation ignored; none for an unknown name.
  const std::vector<std::string> ids = {"alternation", "granite", ""};
  for (size_t i = 0; i < ids.size(); ++i) {
    for (const PatternInfo& p : AllPatterns()) {
      EXPECT_EQ(layers[i]->All("pattern-" + p.id).size(), p.id == ids[i] ? 1u : 0u) << i << p.id;
    }
  }
  // Each pattern's own colour under its marks; the unknown name keeps its plain fill.
  EXPECT_EQ(layers[0]->Child("rect")->Attr("fill"), PatternOf(PatternsFor(u"互層"))->colour);
  EXPECT_EQ(layers[1]->Child("rect")->Attr("fill"), PatternOf(PatternsFor(u"花崗岩"))->colour);
  EXPECT_EQ(layers[2]->Child("rect")->Attr("fill"), svg::FillFor(u"0009"));
  // Only the patterns used are defined.
  EXPECT_NE(svg_.find("<pattern id=\"pat-granite\""), std::string::npos);
  EXPECT_EQ(svg_.find("<pattern id=\"pat-sand\""), std::string::npos);
  auto legend = root->All("legend");
  ASSERT_EQ(legend.size(), 1u);
  const std::string text = legend[0]->AllText();
  EXPECT_NE(text.find("互層"), std::string::npos);
  EXPECT_NE(text.find("花崗岩"), std::string::npos);
  EXPECT_NE(text.find("未知の岩"), std::string::npos);
  EXPECT_EQ(text.find("礫"), std::string::npos);  // no gravel here
  // The swatches: the colours of the two patterns, then the plain fill of the unknown name.
  std::vector<std::string> swatches;
  for (const auto& child : legend[0]->children) {
    if (child->name == "rect" && child->Attr("class").empty())
      swatches.push_back(child->Attr("fill"));
  }
  EXPECT_EQ(swatches, (std::vector<std::string>{layers[0]->Child("rect")->Attr("fill"),
                                                layers[1]->Child("rect")->Attr("fill"),
                                                layers[2]->Child("rect")->Attr("fill")}));
}

}  // namespace
}  // namespace ostra
