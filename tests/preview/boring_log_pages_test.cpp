// The picture on paper, drawn page by page on a canvas that records every call: a 300 m hole at
// 1:100, 1:200 and 1:500 on A4.
#include "preview/boring_log_pages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "env/drives.h"
#include "preview/boring_log_builder.h"
#include "preview/boring_log_draw.h"
#include "support/test_support.h"

namespace ostra {
namespace {

struct Box {
  double left = 0, top = 0, right = 0, bottom = 0;
  bool Holds(const Box& b) const {
    return b.left >= left - 1e-6 && b.right <= right + 1e-6 && b.top >= top - 1e-6 &&
           b.bottom <= bottom + 1e-6;
  }
};

struct Written {
  Text text;
  double size = 0;
  Box where;  // on the page
  Box clip;   // the clip it was written in (the page without one)
  bool clipped = false;
};

// Records the texts of a page where they land on it, with the clip they were written in.
class RecordingCanvas : public TextCanvas {
 public:
  explicit RecordingCanvas(const Box& page) { stack_.push_back({0, 0, page}); }
  std::vector<Written> texts;
  int open = 0;

  void Write(double x, double y, TextView text, const TextStyle& style) override {
    const Frame& f = stack_.back();
    const double w = TextWidth(text, style.size);
    const double left = style.anchor == Anchor::kStart    ? x
                        : style.anchor == Anchor::kMiddle ? x - w / 2
                                                          : x - w;
    texts.push_back({Text(text),
                     style.size,
                     {left + f.dx, TextTop(y, style.size) + f.dy, left + w + f.dx,
                      TextBottom(y, style.size) + f.dy},
                     f.clip,
                     stack_.size() > 1});
  }
  void PushClip(double dx, double dy, double x, double y, double w, double h) override {
    const Frame& f = stack_.back();
    Frame next{
        f.dx + dx, f.dy + dy, {x + f.dx + dx, y + f.dy + dy, x + w + f.dx + dx, y + h + f.dy + dy}};
    next.clip = {std::max(next.clip.left, f.clip.left), std::max(next.clip.top, f.clip.top),
                 std::min(next.clip.right, f.clip.right),
                 std::min(next.clip.bottom, f.clip.bottom)};
    stack_.push_back(next);
    ++open;
  }
  void PopClip() override {
    stack_.pop_back();
    --open;
  }

 private:
  struct Frame {
    double dx, dy;
    Box clip;
  };
  std::vector<Frame> stack_;
};

// Every text of the body drawn in one piece, by its text.
std::map<Text, int> BodyTexts(const BoringLogModel& model, const BoringLogLayout& layout) {
  RecordingCanvas all({-1e18, -1e18, 1e18, 1e18});
  DrawBody(all, model, layout, -1e18, 1e18);
  std::map<Text, int> count;
  for (const Written& w : all.texts) ++count[w.text];
  return count;
}

// Draws every page of `plan` and checks them: texts of 7 pt or more, each inside its clip and
// its page; the page head on every page; every text of the body printed once over the pages of
// its strip (none lost or cut at a seam); the pages of a strip down the whole body.
void CheckPages(const BoringLogModel& model, const PrintPlan& plan, double scale) {
  EXPECT_NEAR(plan.pageWidth * kPrintMmPerPx, plan.landscape ? 277 : 190, 1e-9);
  std::vector<std::map<Text, int>> wanted;
  for (const BoringLogLayout& strip : plan.strips) {
    EXPECT_LE(strip.width, plan.pageWidth + 1e-6);
    EXPECT_EQ(strip.columns.front().kind, ColumnKind::kScale);
    EXPECT_EQ(strip.pxPerMetre, PxPerMetreAt(scale));
    wanted.push_back(BodyTexts(model, strip));
  }
  // The pages of a strip follow each other down the whole body.
  for (size_t i = 0; i < plan.pages.size(); ++i) {
    const PrintPage& page = plan.pages[i];
    const BoringLogLayout& strip = plan.strips[page.strip];
    const bool first = i == 0 || plan.pages[i - 1].strip != page.strip;
    EXPECT_EQ(page.title, first);
    EXPECT_EQ(page.from, first ? strip.headsTop + strip.headHeight : plan.pages[i - 1].to);
    EXPECT_LT(page.from, page.to);
    const bool last = i + 1 == plan.pages.size() || plan.pages[i + 1].strip != page.strip;
    if (last) {
      EXPECT_GE(page.to, strip.bodyBottom + 8);
    }
  }

  std::map<size_t, std::map<Text, int>> bodyPrinted;
  for (size_t i = 0; i < plan.pages.size(); ++i) {
    const Box paper{0, 0, plan.pageWidth, plan.pageHeight};
    RecordingCanvas canvas(paper);
    DrawPrintPage(canvas, model, plan, i);
    EXPECT_EQ(canvas.open, 0);
    bool named = false, numbered = false;
    const Text number = FromUtf8(std::to_string(i + 1) + " / " + std::to_string(plan.pages.size()));
    for (const Written& w : canvas.texts) {
      SCOPED_TRACE(testing::Message() << "page " << i + 1 << ": " << ToUtf8(w.text));
      EXPECT_GE(w.size * 72 / 96, 7);  // points on the paper
      EXPECT_TRUE(w.clip.Holds(w.where))
          << w.where.left << "," << w.where.top << "," << w.where.right << "," << w.where.bottom
          << " in " << w.clip.left << "," << w.clip.top << "," << w.clip.right << ","
          << w.clip.bottom;
      EXPECT_TRUE(paper.Holds(w.where));
      named |= w.text == model.holeName && !w.clipped;
      numbered |= w.text == number;
    }
    EXPECT_TRUE(named);
    EXPECT_TRUE(numbered);
    // The body's texts of the page: what it draws inside the body's clip.
    const PrintPage& page = plan.pages[i];
    const BoringLogLayout& strip = plan.strips[page.strip];
    const double bodyTopOnPage =
        kPageHeadHeight + (page.title ? strip.headsTop : 0) + strip.headHeight;
    for (const Written& w : canvas.texts) {
      if (w.clipped && w.clip.top >= bodyTopOnPage - 1e-6) ++bodyPrinted[page.strip][w.text];
    }
  }
  // Every text of the body is printed once, none lost at a seam or doubled.
  for (size_t s = 0; s < plan.strips.size(); ++s) EXPECT_EQ(bodyPrinted[s], wanted[s]);
  // The title block shows the stopped run.
  if (!model.stoppedRun.empty()) {
    RecordingCanvas canvas({0, 0, plan.pageWidth, plan.pageHeight});
    DrawPrintPage(canvas, model, plan, 0);
    EXPECT_TRUE(std::any_of(canvas.texts.begin(), canvas.texts.end(),
                            [&](const Written& w) { return w.text == model.stoppedRun; }));
  }
}

TEST(BoringLogPagesTest, ADeepHolePrintsWithReadableTextNothingCutAndEveryPageNumbered) {
  BoringLogModel full = test::DeepHole(300);
  BoringLogModel plain = full;  // what fits upright paper
  for (Layer& layer : plain.layers) layer.items = {}, layer.remark.clear();
  plain.cores.clear();
  plain.remarks.clear();
  plain.marks.clear();
  plain.waterLevels.clear();
  plain.stoppedRun = u"変換は途中で止まりました。";
  std::map<double, size_t> pagesAt;
  for (const BoringLogModel* model : {&full, &plain}) {
    for (double scale : {100.0, 200.0, 500.0}) {
      const PrintPlan plan = PlanPrint(*model, scale, 190, 277);
      SCOPED_TRACE(testing::Message() << (model == &full ? "full" : "plain") << " at 1:" << scale);
      // Wide logs go to landscape and then to strips, each with the depth scale first.
      EXPECT_EQ(plan.landscape, model == &full);
      EXPECT_EQ(plan.strips.size() > 1, model == &full);
      CheckPages(*model, plan, scale);
      pagesAt[scale] += plan.pages.size();
    }
  }
  // A finer scale takes more pages; at 1:100 a 300 m hole takes at least 300 x 10 mm of paper.
  EXPECT_GT(pagesAt[100], pagesAt[200]);
  EXPECT_GT(pagesAt[200], pagesAt[500]);
  EXPECT_GE(pagesAt[100], 3000 / 277 * 2);
}

TEST(BoringLogPagesTest, NarrowerColumnsComeBeforeLandscapeAndStrips) {
  // Layers and their names alone fit upright paper at the natural widths.
  BoringLogModel model = test::LayersOnly({1.2, 4.5});
  PrintPlan plan = PlanPrint(model, 100, 190, 277);
  ASSERT_EQ(plan.strips.size(), 1u);
  EXPECT_FALSE(plan.landscape);
  for (const ColumnBox& c : plan.strips[0].columns) EXPECT_EQ(c.width, SpecOf(c.kind).natural);
  // With remarks, water levels and penetration tests: narrower columns, still upright.
  model.layers[0].remark = {u"記事"};
  model.waterLevels.push_back({1, u"1.00", u"5/12", Text()});
  model.penetrationTests.push_back(test::MakeTest(1.15, u"12", 12));
  plan = PlanPrint(model, 100, 190, 277);
  ASSERT_EQ(plan.strips.size(), 1u);
  EXPECT_FALSE(plan.landscape);
  EXPECT_LT(plan.strips[0].width, ColumnsWidth(FilledColumns(model)));
  for (const ColumnBox& c : plan.strips[0].columns)
    EXPECT_GE(c.width, SpecOf(c.kind).minimum - 1e-9);
  // Every item filled: landscape at the least; on a page too small even for that, strips.
  model = test::DeepHole(20);
  plan = PlanPrint(model, 100, 190, 277);
  EXPECT_TRUE(plan.landscape);
  plan = PlanPrint(model, 100, 120, 180);
  EXPECT_TRUE(plan.landscape);
  ASSERT_GT(plan.strips.size(), 1u);
  std::vector<ColumnKind> kinds;  // every column once, besides the repeated scale
  for (const BoringLogLayout& strip : plan.strips) {
    for (const ColumnBox& c : strip.columns) {
      if (c.kind != ColumnKind::kScale) kinds.push_back(c.kind);
    }
  }
  std::vector<ColumnKind> all;
  for (const ColumnBox& c : FilledColumns(model)) {
    if (c.kind != ColumnKind::kScale) all.push_back(c.kind);
  }
  EXPECT_EQ(kinds, all);
}

TEST(BoringLogPagesTest, TheSampleAndTheXmlExamplePrintWithEveryColumnTheyFill) {
  namespace fs = std::filesystem;
  test::TempDrive drive(u'T');
  fs::create_directories(drive.Host("DATA"));
  for (const char* name :
       {"MDT0001.GDF", "BDT0001.GDF", "KDT0001.GDF", "NDT0001.GDF", "LDT0001.GDF", "CDT0001.GDF"})
    fs::copy_file(test::ExamplesDir() / name, drive.Host(std::string("DATA/") + name));
  fs::copy_file(test::ExamplesDir() / "bed" / "BED0300.XML", drive.Host("DATA/BED0300.XML"));
  for (const char16_t* file : {u"MDT0001.GDF", u"BED0300.XML"}) {
    SCOPED_TRACE(ToUtf8(file));
    const BoringLogModel model =
        ReadBoringLogModel(drive.Files(), Text(u"T:\\DATA\\") + file, DataEncoding::kAuto,
                           [](const std::exception&) { return Text(u"failed"); });
    ASSERT_TRUE(model.problems.empty());
    // Every column but the layers' own remarks, which the XML keeps as remarks at depths.
    std::vector<ColumnKind> kinds;
    for (const ColumnBox& c : FilledColumns(model)) kinds.push_back(c.kind);
    std::vector<ColumnKind> all;
    for (const ColumnSpec& spec : AllColumns()) all.push_back(spec.kind);
    EXPECT_EQ(kinds, all);
    ASSERT_TRUE(CollarElevation(model).has_value());
    for (double scale : {100.0, 200.0}) {
      SCOPED_TRACE(scale);
      CheckPages(model, PlanPrint(model, scale, 190, 277), scale);
    }
  }
}

}  // namespace
}  // namespace ostra
