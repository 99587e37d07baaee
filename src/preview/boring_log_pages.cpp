#include "preview/boring_log_pages.h"

#include <algorithm>
#include <string>
#include <utility>

#include "base/sjis.h"
#include "preview/boring_log_draw.h"
#include "preview/boring_log_viewport.h"

namespace ostra {

namespace {

// Records where texts stand, to find seams between them.
class BandCanvas : public TextCanvas {
 public:
  std::vector<std::pair<double, double>> bands;
  void Write(double, double y, TextView, const TextStyle& style) override {
    bands.push_back({TextTop(y, style.size), TextBottom(y, style.size)});
  }
  void PushClip(double, double, double, double, double, double) override {}
  void PopClip() override {}
};

// Passes everything on, but a text that a seam would cut: one across the page's lower seam is
// left to the next page, one across its upper seam is moved down onto this page.
class SeamCanvas : public Canvas {
 public:
  SeamCanvas(Canvas& to, double top, double bottom) : to_(to), top_(top), bottom_(bottom) {}
  void BeginGroup(const char* cls, const std::vector<std::pair<const char*, Text>>& data) override {
    to_.BeginGroup(cls, data);
  }
  void EndGroup() override { to_.EndGroup(); }
  void Rect(double x, double y, double w, double h, const std::string& fill, const char* stroke,
            double width) override {
    to_.Rect(x, y, w, h, fill, stroke, width);
  }
  void Patterns(double x, double y, double w, double h, PatternSet patterns) override {
    to_.Patterns(x, y, w, h, patterns);
  }
  void Line(double x1, double y1, double x2, double y2, const char* stroke, double width) override {
    to_.Line(x1, y1, x2, y2, stroke, width);
  }
  void Polyline(const std::vector<Point>& points, const char* stroke, double width) override {
    to_.Polyline(points, stroke, width);
  }
  void Polygon(const std::vector<Point>& points, const char* fill) override {
    to_.Polygon(points, fill);
  }
  void Circle(double cx, double cy, double r, const char* fill) override {
    to_.Circle(cx, cy, r, fill);
  }
  void Write(double x, double y, TextView text, const TextStyle& style) override {
    const double top = TextTop(y, style.size);
    const double bottom = TextBottom(y, style.size);
    if (bottom <= top_ || top >= bottom_ || bottom > bottom_) return;
    if (top < top_) y += top_ - top + 0.5;
    if (TextBottom(y, style.size) > bottom_) return;
    to_.Write(x, y, text, style);
  }
  void PushClip(double dx, double dy, double x, double y, double w, double h) override {
    to_.PushClip(dx, dy, x, y, w, h);
  }
  void PopClip() override { to_.PopClip(); }

 private:
  Canvas& to_;
  double top_;
  double bottom_;
};

// Where texts stand, by their tops, with the lowest bottom of each and all above it.
struct Bands {
  std::vector<std::pair<double, double>> byTop;
  std::vector<double> lowest;

  explicit Bands(std::vector<std::pair<double, double>> bands) : byTop(std::move(bands)) {
    std::sort(byTop.begin(), byTop.end());
    double low = -1e18;
    for (const auto& band : byTop) lowest.push_back(low = std::max(low, band.second));
  }

  // The seam at or above `ideal`, no higher than `highest`, where no text stands; `ideal` when
  // there is none.
  double SeamBetweenTexts(double ideal, double highest) const {
    double seam = ideal;
    while (seam >= highest) {
      // The texts that begin above the seam; one of them crosses it when the lowest ends below.
      size_t above =
          std::lower_bound(byTop.begin(), byTop.end(), std::pair{seam, -1e18}) - byTop.begin();
      if (above == 0 || lowest[above - 1] <= seam) return seam;
      while (byTop[above - 1].second <= seam) --above;
      seam = byTop[above - 1].first - 0.5;
    }
    return ideal;
  }
};

void PlanStrip(const BoringLogModel& model, const PrintPlan& plan, size_t strip,
               std::vector<PrintPage>& pages) {
  const BoringLogLayout& layout = plan.strips[strip];
  if (model.layers.empty()) {
    pages.push_back({strip, true, 0, 0});
    return;
  }
  BandCanvas canvas;
  DrawBody(canvas, model, layout, -1e18, 1e18);
  const Bands bands(std::move(canvas.bands));
  // The body ends below the last text drawn (the labels below the scale, the last tick's text).
  const double end = layout.height - kMargin;
  double from = layout.headsTop + layout.headHeight;
  const double below = plan.pageHeight - kPageHeadHeight - layout.headHeight;
  // A page too small for its title block still shows some of the body.
  const double firstRoom = std::max(below - layout.headsTop, 4 * kTextLine);
  const double otherRoom = std::max(below, 4 * kTextLine);
  bool first = true;
  while (first || from < end - 1e-6) {
    const double room = first ? firstRoom : otherRoom;
    double to = std::min(from + room, end);
    if (to < end) to = bands.SeamBetweenTexts(to, from + room * 0.8);
    pages.push_back({strip, first, from, to});
    from = to;
    first = false;
  }
}

// The columns after the depth scale packed into strips of `capacity` by `WidthOf`, each strip
// with the scale first.
template <typename WidthOf>
std::vector<std::vector<ColumnBox>> Pack(const std::vector<ColumnBox>& columns, double capacity,
                                         WidthOf widthOf) {
  std::vector<std::vector<ColumnBox>> strips;
  std::vector<ColumnBox> strip{columns.front()};
  double used = 2 * kMargin + widthOf(columns.front());
  for (size_t i = 1; i < columns.size(); ++i) {
    const double need = widthOf(columns[i]);
    if (strip.size() > 1 && used + need > capacity) {
      strips.push_back(strip);
      strip = {columns.front()};
      used = 2 * kMargin + widthOf(columns.front());
    }
    strip.push_back(columns[i]);
    used += need;
  }
  strips.push_back(strip);
  return strips;
}

// The columns over as few strips as fit `width` at their minimum widths, shared out about
// evenly by their natural widths, every strip with the depth scale first.
std::vector<std::vector<ColumnBox>> SplitColumns(const std::vector<ColumnBox>& columns,
                                                 double width) {
  auto minimum = [](const ColumnBox& c) { return SpecOf(c.kind).minimum; };
  auto natural = [](const ColumnBox& c) { return SpecOf(c.kind).natural; };
  std::vector<std::vector<ColumnBox>> strips = Pack(columns, width, minimum);
  const size_t count = strips.size();
  double rest = 0;
  for (size_t i = 1; i < columns.size(); ++i) rest += natural(columns[i]);
  // Even shares: a strip takes columns up to its share (the column that passes it goes on).
  for (double share = rest / static_cast<double>(count); share <= rest; share *= 1.1) {
    std::vector<std::vector<ColumnBox>> even =
        Pack(columns, 2 * kMargin + natural(columns.front()) + share, natural);
    bool fits = even.size() <= count;
    for (std::vector<ColumnBox>& s : even) fits = fits && NarrowColumns(s, width);
    if (fits) return even;
  }
  for (std::vector<ColumnBox>& s : strips) NarrowColumns(s, width);
  return strips;
}

}  // namespace

PrintPlan PlanPrint(const BoringLogModel& model, double denominator, double widthMm,
                    double heightMm) {
  PrintPlan plan;
  plan.denominator = denominator;
  const double pxPerMetre = PxPerMetreAt(denominator);
  const double gap = HeadsGap(model, pxPerMetre);
  const double portrait = widthMm / kPrintMmPerPx;
  const double landscape = heightMm / kPrintMmPerPx;
  std::vector<ColumnBox> columns = FilledColumns(model);
  std::vector<std::vector<ColumnBox>> strips;
  if (model.layers.empty() || NarrowColumns(columns, portrait)) {
    strips.push_back(columns);
  } else {
    plan.landscape = true;
    if (NarrowColumns(columns, landscape)) {
      strips.push_back(columns);
    } else {
      strips = SplitColumns(FilledColumns(model), landscape);
    }
  }
  plan.pageWidth = plan.landscape ? landscape : portrait;
  plan.pageHeight = (plan.landscape ? widthMm : heightMm) / kPrintMmPerPx;
  for (std::vector<ColumnBox>& strip : strips) {
    plan.strips.push_back(LayOutBoringLog(model, pxPerMetre, gap, std::move(strip)));
  }
  for (size_t s = 0; s < plan.strips.size(); ++s) PlanStrip(model, plan, s, plan.pages);
  return plan;
}

void DrawPrintPage(Canvas& canvas, const BoringLogModel& model, const PrintPlan& plan,
                   size_t index) {
  const PrintPage& page = plan.pages[index];
  const BoringLogLayout& layout = plan.strips[page.strip];
  canvas.BeginGroup("page-head");
  const double baseline = kPageHeadHeight - 8;
  canvas.Write(kMargin, baseline, model.holeName, {11, Anchor::kStart, "#000000", true});
  canvas.Write(plan.pageWidth / 2, baseline,
               FromUtf8("縮尺 1:" + std::to_string(static_cast<long>(plan.denominator + 0.5))),
               {kTextSize, Anchor::kMiddle});
  canvas.Write(plan.pageWidth - kMargin, baseline,
               FromUtf8(std::to_string(index + 1) + " / " + std::to_string(plan.pages.size())),
               {kTextSize, Anchor::kEnd});
  canvas.Line(kMargin, kPageHeadHeight - 3, plan.pageWidth - kMargin, kPageHeadHeight - 3,
              "#999999", 0.5);
  canvas.EndGroup();
  double y = kPageHeadHeight;
  if (model.layers.empty()) {
    canvas.PushClip(0, y, 0, 0, layout.width, layout.height);
    DrawBoringLog(canvas, model, layout);
    canvas.PopClip();
    return;
  }
  if (page.title) {
    canvas.PushClip(0, y, 0, 0, layout.width, layout.headsTop);
    DrawTitleBlock(canvas, model, layout);
    canvas.PopClip();
    y += layout.headsTop;
  }
  canvas.PushClip(0, y - layout.headsTop, 0, layout.headsTop, layout.width, layout.headHeight);
  DrawColumnHeads(canvas, layout, layout.headsTop);
  canvas.PopClip();
  y += layout.headHeight;
  canvas.PushClip(0, y - page.from, 0, page.from, layout.width, page.to - page.from);
  SeamCanvas seam(canvas, page.from, page.to);
  DrawBody(seam, model, layout, page.from, page.to);
  canvas.PopClip();
}

}  // namespace ostra
