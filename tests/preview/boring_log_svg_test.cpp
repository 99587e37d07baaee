// The picture as SVG, read back with a small XML reader that insists on well-formed input.
#include "preview/boring_log_svg.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "preview/boring_log_builder.h"
#include "preview/boring_log_layout.h"
#include "preview/svg_format.h"
#include "preview/xml_reader.h"

namespace ostra {
namespace {

using test::Element;

struct Svg {
  std::string text;
  std::unique_ptr<Element> root;
};

Svg Render(const BoringLogModel& model) {
  Svg svg{RenderBoringLogSvg(model, 100), nullptr};
  test::XmlReader reader(svg.text);
  svg.root = reader.Parse();
  EXPECT_TRUE(svg.root) << reader.Error();
  return svg;
}

void Texts(const Element& e, std::vector<const Element*>& out) {
  if (e.name == "text") out.push_back(&e);
  for (const auto& child : e.children) Texts(*child, out);
}

std::vector<const Element*> Texts(const Element& e) {
  std::vector<const Element*> out;
  Texts(e, out);
  return out;
}

TEST(BoringLogSvgTest, NValuesPlotAtTheirValueAndRefusalsAtFiftyWithTheirRecord) {
  BoringLogModel model = test::LayersOnly({5, 10});
  // Converted to 30 cm a record of 18 blows for 20 cm plots at 27; 50 blows for 12 cm would
  // convert to 125, a refusal plotted at 50.
  model.penetrationTests = {test::MakeTest(1.15, u"18/20", 27),
                            test::MakeTest(3.15, u"50/12", 50, true),
                            test::MakeTest(6.15, u"8", 8)};
  model.penetrationTests[1].blows = {u"20", u"30/2", Text()};
  const Svg svg = Render(model);
  ASSERT_TRUE(svg.root);
  const BoringLogLayout layout = LayOutBoringLog(model, PxPerMetreAt(100));
  const auto points = svg.root->All("n-point");
  ASSERT_EQ(points.size(), 3u);
  const std::vector<std::string> n = {"27", "50", "8"};
  for (size_t i = 0; i < points.size(); ++i) {
    const PenetrationTest& t = model.penetrationTests[i];
    EXPECT_EQ(points[i]->Attr("data-n"), n[i]);
    EXPECT_EQ(points[i]->Attr("data-recorded"), ToUtf8(t.recorded));
    EXPECT_EQ(points[i]->Attr("data-refusal"), t.refusal ? "1" : "0");
    EXPECT_EQ(points[i]->Attr("data-depth"), svg::Num2(t.depth));
    const Element* dot = points[i]->Child("circle");
    ASSERT_NE(dot, nullptr);
    EXPECT_NEAR(dot->Number("cx"), NPlotX(*layout.Column(ColumnKind::kNGraph), *t.plotN), 0.06);
    // Only a refusal has a text beside its point: its record, left of the point at the edge.
    const auto texts = Texts(*points[i]);
    ASSERT_EQ(texts.size(), t.refusal ? 1u : 0u);
    if (t.refusal) {
      EXPECT_EQ(texts[0]->text, "50/12");
      EXPECT_LT(texts[0]->Number("x"), dot->Number("cx"));
      EXPECT_NEAR(texts[0]->Number("y"), dot->Number("cy"), kTextSize);
    }
  }
  // The points are joined by one line through them all.
  const auto plot = svg.root->All("n-plot");
  ASSERT_EQ(plot.size(), 1u);
  ASSERT_NE(plot[0]->Child("polyline"), nullptr);
  // What is recorded is written in the table; a converted value never.
  std::vector<std::string> written;
  for (const Element* t : Texts(*svg.root)) written.push_back(t->text);
  for (const char* recorded : {"18/20", "50/12", "8", "20", "30/2"}) {
    EXPECT_NE(std::find(written.begin(), written.end(), recorded), written.end()) << recorded;
  }
  for (const char* converted : {"27", "125"}) {
    EXPECT_EQ(std::find(written.begin(), written.end(), converted), written.end()) << converted;
  }
}

TEST(BoringLogSvgTest, TheLogShowsEveryItemTheTitleBlockAndItsWarnings) {
  BoringLogModel model = test::DeepHole(12);
  model.problems = {u"NDTを読めませんでした。"};
  model.stoppedRun = u"変換は途中で止まりました。";
  const Svg svg = Render(model);
  ASSERT_TRUE(svg.root);
  // Headings in the order of the columns.
  std::vector<std::string> headings;
  for (const Element* head : svg.root->All("column-head"))
    headings.push_back(head->Attr("data-heading"));
  std::vector<std::string> wanted;
  for (const ColumnBox& c : FilledColumns(model)) wanted.push_back(ToUtf8(SpecOf(c.kind).heading));
  EXPECT_EQ(headings, wanted);
  EXPECT_EQ(headings.size(), AllColumns().size());
  const std::string all = svg.root->AllText();
  // The survey's name as the title, the other items with their labels.
  EXPECT_NE(all.find(ToUtf8(model.header[0].value)), std::string::npos);
  for (size_t i = 1; i < model.header.size(); ++i) {
    const TitleItem& item = model.header[i];
    EXPECT_NE(all.find(ToUtf8(item.label + u"：" + item.value)), std::string::npos)
        << ToUtf8(item.label);
  }
  // Elevation and thickness of the first layer at its bottom, its items, its own remark.
  const Layer& first = model.layers[0];
  const auto layers = svg.root->All("layer");
  ASSERT_EQ(layers.size(), model.layers.size());
  std::vector<std::string> texts;
  for (const Element* t : Texts(*layers[0])) texts.push_back(t->text);
  for (const std::string& s :
       {svg::Num2(125.3 - first.bottom), svg::Num2(first.bottom - first.top),
        ToUtf8(first.depthText), std::string("灰白色"), std::string("中硬")}) {
    EXPECT_NE(std::find(texts.begin(), texts.end(), s), texts.end()) << s;
  }
  EXPECT_EQ(layers[0]->Attr("data-code"), "CL");
  EXPECT_FALSE(svg.root->All("layer-remark").empty());
  EXPECT_EQ(svg.root->All("remark").size(), model.remarks.size());
  EXPECT_EQ(svg.root->All("water-level").size(), model.waterLevels.size());
  EXPECT_EQ(svg.root->All("core").size(), model.cores.size());
  // The warnings in bold red.
  int warnings = 0;
  for (const Element* t : Texts(*svg.root)) {
    if (t->text == ToUtf8(model.problems[0]) || t->text == ToUtf8(model.stoppedRun)) {
      ++warnings;
      EXPECT_EQ(t->Attr("fill"), kAlarm);
      EXPECT_EQ(t->Attr("font-weight"), "bold");
    }
  }
  EXPECT_EQ(warnings, 2);
  // No text is smaller than the body text.
  for (const Element* t : Texts(*svg.root)) EXPECT_GE(t->Number("font-size"), kTextSize);
}

TEST(BoringLogSvgTest, LayersCarryThePatternsOfTheirNamesWithALegend) {
  BoringLogModel model = test::LayersOnly({1.2, 4.5, 7.8});
  model.layers[0].name = u"砂岩泥岩互層";
  model.layers[1].name = u"花崗岩（粗粒）";
  model.layers[2].name = u"未知の岩";
  const Svg svg = Render(model);
  ASSERT_TRUE(svg.root);
  auto layers = svg.root->All("layer");
  ASSERT_EQ(layers.size(), 3u);
  const std::vector<std::string> ids = {"alternation", "granite", ""};
  for (size_t i = 0; i < ids.size(); ++i) {
    for (const PatternInfo& p : AllPatterns()) {
      EXPECT_EQ(layers[i]->All("pattern-" + p.id).size(), p.id == ids[i] ? 1u : 0u) << i << p.id;
    }
  }
  EXPECT_EQ(layers[0]->Child("rect")->Attr("fill"), PatternOf(PatternsFor(u"互層"))->colour);
  EXPECT_EQ(layers[1]->Child("rect")->Attr("fill"), PatternOf(PatternsFor(u"花崗岩"))->colour);
  EXPECT_NE(svg.text.find("<pattern id=\"pat-granite\""), std::string::npos);
  EXPECT_EQ(svg.text.find("<pattern id=\"pat-sand\""), std::string::npos);
  auto legend = svg.root->All("legend");
  ASSERT_EQ(legend.size(), 1u);
  std::vector<std::string> swatches;
  for (const auto& child : legend[0]->children) {
    if (child->name == "rect" && child->Attr("class").empty())
      swatches.push_back(child->Attr("fill"));
  }
  EXPECT_EQ(swatches, (std::vector<std::string>{layers[0]->Child("rect")->Attr("fill"),
                                                layers[1]->Child("rect")->Attr("fill"),
                                                layers[2]->Child("rect")->Attr("fill")}));
  EXPECT_NE(legend[0]->AllText().find("未知の岩"), std::string::npos);
}

}  // namespace
}  // namespace ostra
