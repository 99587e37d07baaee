// The boring-log picture: output files written into a temporary drive, the SVG parsed back
// (the fixture is in boring_log_svg_fixture.h).
#include "preview/boring_log_svg.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "env/drives.h"
#include "preview/boring_log_layout.h"
#include "preview/boring_log_model.h"
#include "preview/boring_log_svg_fixture.h"
#include "preview/xml_reader.h"
#include "support/test_support.h"

namespace ostra {
namespace {

using test::Element;

// An X7.txt line: 68 fields, the kind's code and name in the pair of slot `slot`.
std::string X7Line(int n, const std::string& from, const std::string& to, int slot,
                   const std::string& code, const std::string& name) {
  std::vector<std::string> f(69);
  f[1] = "  " + std::to_string(n);
  f[3] = "  ";
  f[5] = from;
  f[6] = to;
  f[7] = "   ";
  f[8] = "100";
  f[7 + 2 * slot] = f[8 + 2 * slot] = code;
  f[27 + 2 * slot] = f[28 + 2 * slot] = name;
  std::string line = f[1];
  for (int i = 2; i <= 68; ++i) line += "," + f[i];
  return line;
}

TEST_F(BoringLogSvgTest, OneBandPerLayerFromThePreviousDepthScaledByThickness) {
  PutThreeLayers();
  auto root = Render();
  ASSERT_TRUE(root);
  auto layers = root->All("layer");
  ASSERT_EQ(layers.size(), 3u);
  const char* tops[] = {"0.00", "1.20", "4.50"};
  const char* bottoms[] = {"1.20", "4.50", "7.80"};
  const char* codes[] = {"0002", "5001", "0002"};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(layers[i]->Attr("data-top"), tops[i]);
    EXPECT_EQ(layers[i]->Attr("data-bottom"), bottoms[i]);
    EXPECT_EQ(layers[i]->Attr("data-code"), codes[i]);
  }
  // Depth and name are written in each band (the code is in data-code only).
  std::string second = layers[1]->AllText();
  EXPECT_NE(second.find("砂岩"), std::string::npos);
  EXPECT_EQ(second.find("5001"), std::string::npos);
  EXPECT_NE(second.find("4.50"), std::string::npos);

  // The bands follow each other (their scale: boring_log_layout_test.cpp).
  const Element* r0 = layers[0]->Child("rect");
  const Element* r1 = layers[1]->Child("rect");
  const Element* r2 = layers[2]->Child("rect");
  ASSERT_TRUE(r0 && r1 && r2);
  EXPECT_NEAR(r0->Number("y") + r0->Number("height"), r1->Number("y"), 0.11);
  EXPECT_NEAR(r1->Number("y") + r1->Number("height"), r2->Number("y"), 0.11);

  // The fill tells soil kinds apart: the same code, the same fill; another code, another fill.
  EXPECT_EQ(r0->Attr("fill"), r2->Attr("fill"));
  EXPECT_NE(r0->Attr("fill"), r1->Attr("fill"));
}

TEST_F(BoringLogSvgTest, LayersWithoutANumericDepthAreLeftOutAndTheNextStartsAboveIt) {
  Put("X1.TXT", {"  1,   2.00,0002,表土", "  2,    abc,5001,砂岩", "  3,   5.00,5002,泥岩"});
  auto root = Render(u"T:\\OUT\\");  // a trailing separator makes no difference
  ASSERT_TRUE(root);
  auto layers = root->All("layer");
  ASSERT_EQ(layers.size(), 2u);
  EXPECT_EQ(layers[1]->Attr("data-top"), "2.00");
  EXPECT_EQ(layers[1]->Attr("data-bottom"), "5.00");
}

TEST_F(BoringLogSvgTest, NamesAndRemarksAreEscaped) {
  Put("X1.TXT", {"  1,   1.00,0002,<&\"'>岩"});
  // The remark's quotes are the field's own; "&", "<" and ">" are in its text.
  Put("X12.TXT", {"  1,   0.50,\"A&B <C>\""});
  auto root = Render();
  ASSERT_TRUE(root);
  auto layers = root->All("layer");
  ASSERT_EQ(layers.size(), 1u);
  EXPECT_NE(layers[0]->AllText().find("<&\"'>岩"), std::string::npos);
  auto remarks = root->All("remark");
  ASSERT_EQ(remarks.size(), 1u);
  EXPECT_NE(remarks[0]->AllText().find("A&B <C>"), std::string::npos);
  EXPECT_EQ(svg_.find("<&"), std::string::npos);
}

TEST_F(BoringLogSvgTest, NValuesArePlottedAgainstDepth) {
  PutThreeLayers();
  Put("X5.TXT", {"  1,   1.45, 12, 12, 30,  3, 10,  4, 10,  5, 10",
                 "  2,   4.45, 50,125, 12, 20,  5, 30,  7,   ,   ",
                 "  3,   6.45, 11, 30, 11,  6, 10,  5,  1,   ,   "});
  auto root = Render();
  ASSERT_TRUE(root);
  auto points = root->All("n-point");
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0]->Attr("data-depth"), "1.45");
  EXPECT_EQ(points[0]->Attr("data-n"), "12");  // N (field 4), not the count
  EXPECT_EQ(points[1]->Attr("data-n"), "125");
  EXPECT_EQ(points[2]->Attr("data-n"), "30");

  // The N plot uses the bands' depth scale: a point at a layer's bottom sits on its edge.
  Put("X5.TXT", {"  1,   4.50, 10, 10, 30,   ,   ,   ,   ,   ,   "});
  root = Render();
  ASSERT_TRUE(root);
  const Element* band = root->All("layer")[1]->Child("rect");
  EXPECT_NEAR(root->All("n-point")[0]->Child("circle")->Number("cy"),
              band->Number("y") + band->Number("height"), 0.11);
}

TEST_F(BoringLogSvgTest, ClassRangesSitBesideTheirLayers) {
  PutThreeLayers();
  Put("X3.TXT", {"  1,   4.50,0102  ,CL,0103  ,CM,～", "  2,   7.80,0104  ,CH,      ,,"});
  Put("R31.TXT", {"  1,   1.20,  ,,  ,", "  2,   4.50,5,ＣＬ,4,ＣＭ", "  3,   7.80,3,ＣＨ,  ,"});
  auto root = Render();
  ASSERT_TRUE(root);
  auto cells = root->All("class-cell");
  std::vector<const Element*> x3, r31;
  for (const Element* c : cells) (c->Attr("data-file") == "X3.TXT" ? x3 : r31).push_back(c);
  ASSERT_EQ(x3.size(), 2u);
  EXPECT_EQ(x3[0]->Attr("data-top"), "1.20");
  EXPECT_EQ(x3[0]->Attr("data-bottom"), "4.50");
  EXPECT_NE(x3[0]->AllText().find("CL～CM"), std::string::npos);
  EXPECT_EQ(x3[1]->Attr("data-top"), "4.50");
  EXPECT_EQ(x3[1]->AllText().find("～"), std::string::npos);
  // An empty class (the first R31.TXT line) draws no cell.
  ASSERT_EQ(r31.size(), 2u);
  EXPECT_EQ(r31[0]->Attr("data-file"), "R31.TXT");
  EXPECT_NE(r31[0]->AllText().find("ＣＬ～ＣＭ"), std::string::npos);
}

TEST_F(BoringLogSvgTest, TestsAndSamplesAreLabelledMarks) {
  PutThreeLayers();
  Put("X7.txt", {X7Line(1, "   3.00", "   3.50", 2, "10", "ベーン試験"),
                 X7Line(2, "   5.00", "   6.00", 1, " 3", "透水試験"),
                 X7Line(3, "  18.00", "   0.00", 3, "44", "孔内水平載荷試験")});
  Put("N6.TMP", {"  1,A-1   ,  ,   6.20,   6.50,   ,   ,010000000000000",
                 "  2,      ,  ,  11.30,  11.60,   ,   ,100000000000000"});
  auto root = Render();
  ASSERT_TRUE(root);
  auto tests = root->All("test");
  ASSERT_EQ(tests.size(), 3u);
  EXPECT_EQ(tests[0]->Attr("data-from"), "3.00");
  EXPECT_EQ(tests[0]->Attr("data-to"), "3.50");
  EXPECT_NE(tests[0]->AllText().find("ベーン試験"), std::string::npos);
  EXPECT_NE(tests[1]->AllText().find("透水試験"), std::string::npos);
  // Depth "to" 0 means none: a tick at the upper end.
  EXPECT_EQ(tests[2]->Attr("data-to"), "");
  EXPECT_NE(tests[2]->AllText().find("孔内水平載荷試験"), std::string::npos);

  auto samples = root->All("sample");
  ASSERT_EQ(samples.size(), 2u);
  EXPECT_EQ(samples[0]->Attr("data-from"), "6.20");
  EXPECT_NE(samples[0]->AllText().find("一軸 A-1"), std::string::npos);
  EXPECT_NE(samples[1]->AllText().find("物理"), std::string::npos);
}

TEST_F(BoringLogSvgTest, RemarksShowTheirDisplayLines) {
  PutThreeLayers();
  // Two display lines of 30 bytes each: 15 characters, then 5 characters and 10 blanks "　".
  Put("X12.TXT", {"  1,   2.50,\"あいうえおかきくけこさしすせそたちつてと　　　　　　　　　　\"",
                  "  2,   7.00,\"亀裂少なく良好　　　　　　　　\""});
  auto root = Render();
  ASSERT_TRUE(root);
  auto remarks = root->All("remark");
  ASSERT_EQ(remarks.size(), 2u);
  EXPECT_EQ(remarks[0]->Attr("data-depth"), "2.50");
  std::vector<std::string> lines;
  for (const auto& child : remarks[0]->children) {
    if (child->name == "text") lines.push_back(child->text);
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"あいうえおかきくけこさしすせそ", "たちつてと"}));
  EXPECT_EQ(remarks[1]->Attr("data-depth"), "7.00");
}

TEST_F(BoringLogSvgTest, HeaderCarriesTheTitleItems) {
  PutThreeLayers();
  std::vector<std::string> t1 = {"（仮称）津久井トンネル地質調査業務",
                                 "津久井トンネル",
                                 "",
                                 "1998",
                                 " 5",
                                 "11",
                                 "1998",
                                 " 6",
                                 " 3",
                                 "B-1",
                                 " 35",
                                 "34",
                                 "   52",
                                 "139",
                                 "15",
                                 "   30",
                                 "神奈川県相模原市緑区青山 地内"};
  t1.resize(23);
  std::vector<std::string> t2(41);
  t2[0] = "東日本旅客鉄道株式会社, 東京工事事務所";
  t2[39] = "53392290";
  Put("Titl01.txt", t1);
  Put("Titl02.txt", t2);
  auto root = Render();
  ASSERT_TRUE(root);
  auto header = root->All("header");
  ASSERT_EQ(header.size(), 1u);
  std::string text = header[0]->AllText();
  for (const char* item :
       {"（仮称）津久井トンネル地質調査業務", "B-1", "1998年5月11日", "1998年6月3日",
        "北緯 35°34′52″", "東経 139°15′30″", "53392290", "神奈川県相模原市緑区青山 地内"}) {
    EXPECT_NE(text.find(item), std::string::npos) << item;
  }
}

TEST_F(BoringLogSvgTest, MissingFilesLeaveTheirPartsOut) {
  PutThreeLayers();
  auto root = Render();
  ASSERT_TRUE(root);
  EXPECT_EQ(root->All("layer").size(), 3u);
  for (const char* item : {"header", "class-cell", "n-point", "test", "sample", "remark"}) {
    EXPECT_TRUE(root->All(item).empty()) << item;
  }
  // The Japanese font list is set once, for the whole picture.
  EXPECT_NE(root->Attr("font-family").find("Noto Sans CJK JP"), std::string::npos);
  EXPECT_NE(root->Attr("font-family").find("MS Gothic"), std::string::npos);
}

TEST_F(BoringLogSvgTest, WithoutLayersThePictureSaysThereIsNothingToShow) {
  for (const Text& folder : {Text(u"T:\\OUT"), Text(u"T:\\NO\\SUCH\\FOLDER")}) {
    auto root = Render(folder);
    ASSERT_TRUE(root);
    EXPECT_TRUE(root->All("layer").empty());
    auto empty = root->All("empty");
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_NE(empty[0]->AllText().find("ありません"), std::string::npos);
  }
  // Only unusable lines in X1.TXT: the same.
  Put("X1.TXT", {"", "  1,,0002,表土"});
  auto root = Render();
  ASSERT_TRUE(root);
  EXPECT_EQ(root->All("empty").size(), 1u);
}

// The picture draws every shape where the layout puts it (the layout's own rules are tested in
// boring_log_layout_test.cpp).
TEST_F(BoringLogSvgTest, ShapesAreDrawnWhereTheLayoutPutsThem) {
  PutThreeLayers();
  Put("X3.TXT", {"  1,   4.50,0102  ,CL,0103  ,CM,～", "  2,   7.80,0104  ,CH,      ,,"});
  Put("X5.TXT", {"  1,   1.45, 12, 12", "  2,   4.45, 50,125", "  3,   6.45, 11, 30"});
  Put("X7.txt", {X7Line(1, "   3.00", "   3.50", 2, "10", "ベーン試験"),
                 X7Line(2, "  18.00", "   0.00", 3, "44", "孔内水平載荷試験")});
  Put("N6.TMP", {"  1,A-1   ,  ,   3.10,   3.40,   ,   ,010000000000000"});
  Put("X12.TXT", {"  1,   2.50,\"亀裂少なく良好\"", "  2,   2.60,\"亀裂多い\""});
  auto root = Render();
  ASSERT_TRUE(root);
  const BoringLogLayout layout =
      LayOutBoringLog(ReadBoringLogModel(drive_->Files(), u"T:\\OUT"), PxPerMetreAt(100));
  constexpr double kPx = 0.051;  // coordinates are written with one decimal
  EXPECT_NEAR(root->Number("width"), layout.width, kPx);
  EXPECT_NEAR(root->Number("height"), layout.height, kPx);

  auto layers = root->All("layer");
  ASSERT_EQ(layers.size(), layout.layers.size());
  for (size_t i = 0; i < layers.size(); ++i) {
    const Element* rect = layers[i]->Child("rect");
    ASSERT_TRUE(rect);
    EXPECT_NEAR(rect->Number("y"), layout.layers[i].top, kPx);
    EXPECT_NEAR(rect->Number("height"), layout.layers[i].bottom - layout.layers[i].top, kPx);
  }
  auto cells = root->All("class-cell");
  ASSERT_EQ(cells.size(), layout.classes[0].cells.size());
  for (size_t i = 0; i < cells.size(); ++i) {
    const Element* rect = cells[i]->Child("rect");
    ASSERT_TRUE(rect);
    EXPECT_NEAR(rect->Number("x"), layout.classes[0].left, kPx);
    EXPECT_NEAR(rect->Number("y"), layout.classes[0].cells[i].top, kPx);
  }
  auto points = root->All("n-point");
  ASSERT_EQ(points.size(), layout.nPoints.size());
  for (size_t i = 0; i < points.size(); ++i) {
    const Element* dot = points[i]->Child("circle");
    ASSERT_TRUE(dot);
    EXPECT_NEAR(dot->Number("cx"), layout.nPoints[i].x, kPx);
    EXPECT_NEAR(dot->Number("cy"), layout.nPoints[i].y, kPx);
  }
  // Tests and samples in depth order: a bar (or a tick) at the upper end, a label beside it.
  auto groups = root->All("tests");
  ASSERT_EQ(groups.size(), 1u);
  const auto& marks = groups[0]->children;
  ASSERT_EQ(marks.size(), layout.marks.size());
  for (size_t i = 0; i < marks.size(); ++i) {
    const Element* bar = marks[i]->Child("rect");
    const Element* tick = marks[i]->Child("line");
    const Element* label = marks[i]->Child("text");
    ASSERT_TRUE(tick && label);
    EXPECT_NEAR(bar ? bar->Number("y") : tick->Number("y1"), layout.marks[i].top, kPx);
    EXPECT_NEAR(label->Number("y"), layout.marks[i].labelTop + kTextSize, kPx);
  }
  EXPECT_EQ(marks[1]->Attr("class"), "sample");
  EXPECT_FALSE(marks[2]->Child("rect"));  // no lower end
  auto remarks = root->All("remark");
  ASSERT_EQ(remarks.size(), layout.remarks.size());
  for (size_t i = 0; i < remarks.size(); ++i) {
    const Element* text = remarks[i]->Child("text");
    ASSERT_TRUE(text);
    EXPECT_NEAR(text->Number("y"), layout.remarks[i].labelTop + 10, kPx);
  }
}

TEST_F(BoringLogSvgTest, ThePictureKeepsItsDepthScaleAsOneLongPage) {
  Put("X1.TXT", {"  1,  30.00,5001,砂岩", "  2,  60.00,5002,泥岩"});
  auto at100 = Render();
  ASSERT_TRUE(at100);
  auto bands = at100->All("layer");
  ASSERT_EQ(bands.size(), 2u);
  // 30 m at 1:100 is 300 mm: 300 / 25.4 inches of 96 pixels.
  EXPECT_NEAR(bands[0]->Child("rect")->Number("height"), 300 / 25.4 * 96, 0.11);
  auto at500 = Render(u"T:\\OUT", 500);
  ASSERT_TRUE(at500);
  EXPECT_NEAR(at500->All("layer")[0]->Child("rect")->Number("height"), 60 / 25.4 * 96, 0.11);
  EXPECT_GT(at100->Number("height"), at500->Number("height") + 1000);
}

TEST_F(BoringLogSvgTest, HeadingsSayWhatTheColumnsHoldAndNValuesShowAsRecorded) {
  PutThreeLayers();
  Put("X5.TXT", {"  1,   1.45, 50,125, 12", "  2,   4.45, 12, 12, 30"});
  auto root = Render();
  ASSERT_TRUE(root);
  auto heads = root->All("column-heads");
  ASSERT_EQ(heads.size(), 1u);
  const std::string text = heads[0]->AllText();
  for (const char* heading : {"地層名", "岩級区分", "岩級", "風化", "硬軟", "割れ目", "変質"}) {
    EXPECT_NE(text.find(heading), std::string::npos) << heading;
  }
  EXPECT_EQ(text.find("R31.TXT"), std::string::npos);  // the files are in the tooltips only
  auto points = root->All("n-point");
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0]->Attr("data-recorded"), "50/12");
  EXPECT_NE(points[0]->AllText().find("50/12"), std::string::npos);
  EXPECT_NE(points[0]->AllText().find("125"), std::string::npos);
  EXPECT_EQ(points[1]->Attr("data-recorded"), "12");
}

}  // namespace
}  // namespace ostra
