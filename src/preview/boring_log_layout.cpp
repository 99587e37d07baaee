#include "preview/boring_log_layout.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "base/sjis.h"
#include "preview/svg_format.h"

namespace ostra {

namespace {

constexpr double kTitleSize = 16;
constexpr double kItemSize = 11;
constexpr double kItemLine = 15;
constexpr double kItemColumnWidth = 390;
constexpr double kLegendWidth = 250;
constexpr double kLegendRow = 15;

// The title block: the survey name across the top, the other items in two columns, the legend
// of the patterns used at the right. Returns the y below it.
double LayOutTitle(const BoringLogModel& model, BoringLogLayout& out) {
  double y = kMargin;
  if (!model.header.empty()) {
    const TitleItem& first = model.header.front();
    y += kTitleSize + 2;
    out.title.push_back(
        {kMargin, y, kTitleSize,
         FitLines(first.value, kWidth - 2 * kMargin - kLegendWidth, kTitleSize, 2)});
    y += (out.title.back().lines.size() - 1) * (kTitleSize + 4) + 8;
  }
  const double itemsTop = y;
  double bottom = y;
  const size_t rest = model.header.empty() ? 0 : model.header.size() - 1;
  const size_t perColumn = (rest + 1) / 2;
  for (size_t column = 0; column < 2; ++column) {
    double at = itemsTop;
    for (size_t k = 0; k < perColumn; ++k) {
      const size_t i = 1 + column * perColumn + k;
      if (i >= model.header.size()) break;
      const TitleItem& item = model.header[i];
      at += kItemLine;
      TitleBox box{kMargin + column * kItemColumnWidth, at, kItemSize,
                   FitLines(item.label + u"：" + item.value, kItemColumnWidth - 10, kItemSize, 3)};
      at += (box.lines.size() - 1) * kItemLine;
      out.title.push_back(std::move(box));
    }
    bottom = std::max(bottom, at);
  }
  // The legend: the patterns the layers use in table order, then the names that matched none.
  PatternSet used = 0;
  for (const LayerBox& layer : out.layers) used |= layer.patterns;
  double legendY = kMargin + 4;
  auto add = [&](PatternBit bit, std::string fill, TextView text) {
    const size_t n = out.legend.size();
    const double x = kWidth - kMargin - kLegendWidth + (n % 2) * (kLegendWidth / 2);
    if (n % 2 == 0 && n > 0) legendY += kLegendRow;
    std::vector<Text> lines = FitLines(text, kLegendWidth / 2 - 33, kTextSize, 1);
    out.legend.push_back({bit, x, legendY, std::move(fill), lines.empty() ? Text() : lines[0]});
  };
  for (const PatternInfo& p : AllPatterns()) {
    if ((used & p.bit) != 0) add(p.bit, p.colour, p.legend);
  }
  std::unordered_set<Text> plain;
  for (size_t i = 0; i < out.layers.size() && i < model.layers.size(); ++i) {
    if (out.layers[i].patterns != 0) continue;
    Text name = PatternName(model.layers[i].name);
    if (name.empty() || !plain.insert(name).second) continue;
    add(0, svg::FillFor(model.layers[i].code), name);
  }
  if (!out.legend.empty()) bottom = std::max(bottom, legendY + kLegendRow);
  return bottom + (model.header.empty() && out.legend.empty() ? 0 : 10);
}

// The deepest depth that anything drawn reaches; 1 when there is none below 0.
double Deepest(const BoringLogModel& model) {
  double deepest = 0;
  for (const Layer& layer : model.layers) deepest = std::max(deepest, layer.bottom);
  for (const NPoint& p : model.nValues) deepest = std::max(deepest, p.depth);
  for (const Mark& m : model.marks) deepest = std::max(deepest, m.to.value_or(m.from));
  for (const Remark& r : model.remarks) deepest = std::max(deepest, r.depth);
  if (deepest <= 0) deepest = 1;
  return deepest;
}

// Labels at `wanted` (ascending) get room when they keep `gap` from the last one that got it.
template <typename Box>
void MarkRoom(std::vector<Box>& boxes, double Box::*y, bool Box::*flag, double gap) {
  double last = -1e18;
  for (Box& box : boxes) {
    box.*flag = box.*y - last >= gap;
    if (box.*flag) last = box.*y;
  }
}

}  // namespace

double PxPerMetreAt(double denominator) {
  return 1000.0 / denominator / 25.4 * 96.0;
}

const std::vector<ColumnHead>& ColumnHeads() {
  static const std::vector<ColumnHead> kHeads = {
      {kMargin, kAxisRight - kMargin, u"深度(m)", u""},
      {kBandLeft, kBandWidth, u"地層名", u"X1.TXT"},
      {kClassLeft, kClassWidth, u"岩級区分", u"X3.TXT"},
      {kClassLeft + 1 * kClassWidth, kClassWidth, u"岩級", u"R31.TXT"},
      {kClassLeft + 2 * kClassWidth, kClassWidth, u"風化", u"R32.TXT"},
      {kClassLeft + 3 * kClassWidth, kClassWidth, u"硬軟", u"R33.TXT"},
      {kClassLeft + 4 * kClassWidth, kClassWidth, u"割れ目", u"R34.TXT"},
      {kClassLeft + 5 * kClassWidth, kClassWidth, u"変質", u"R35.TXT"},
      {kPlotLeft, kPlotWidth + 4 + kRecordedWidth, u"N 値", u"X5.TXT"},
      {kTestLeft, kTestWidth, u"試験・試料", u"X7.txt, N6.TMP"},
      {kRemarkLeft, kRemarkWidth, u"記事", u"X12.TXT"},
  };
  return kHeads;
}

double DepthTickStep(double pxPerMetre) {
  static const double kSteps[] = {0.5, 1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000};
  for (double step : kSteps) {
    if (step * pxPerMetre >= 30) return step;
  }
  return 10000;
}

double AxisDepth(const BoringLogModel& model, double pxPerMetre) {
  const double step = DepthTickStep(pxPerMetre);
  return std::ceil(Deepest(model) / step - 1e-9) * step;
}

double BodyTop(const BoringLogModel& model) {
  BoringLogLayout probe;
  for (const Layer& layer : model.layers) probe.layers.push_back({0, 0, PatternsFor(layer.name)});
  return LayOutTitle(model, probe) + kColumnHeadHeight;
}

double TextWidth(TextView text, double size) {
  double ems = 0;
  for (char16_t c : text) ems += CharByteWidth(c) == 2 ? 1.0 : 0.58;
  return ems * size;
}

namespace {

// A line may end after these characters rather than inside a word or a number.
bool BreaksAfter(char16_t c) {
  return c == u' ' || c == u'\u3000' || c == u'～' || c == u'、' || c == u',' || c == u'，' ||
         c == u'・' || c == u'）' || c == u')' || c == u'/';
}

}  // namespace

std::vector<Text> FitLines(TextView text, double width, double size, int maxLines) {
  std::vector<Text> lines;
  if (maxLines < 1 || text.empty()) return lines;
  Text line;
  size_t i = 0;
  for (; i < text.size(); ++i) {
    if (TextWidth(line, size) + TextWidth(text.substr(i, 1), size) > width && !line.empty()) {
      if (static_cast<int>(lines.size()) + 1 == maxLines) break;
      // Back to the last place where the line may end, when it leaves the line half full.
      size_t cut = line.size();
      for (size_t k = line.size(); k > line.size() / 2; --k) {
        if (BreaksAfter(line[k - 1])) {
          cut = k;
          break;
        }
      }
      Text rest = line.substr(cut);
      line.resize(cut);
      while (!line.empty() && (line.back() == u' ' || line.back() == u'\u3000')) line.pop_back();
      lines.push_back(std::move(line));
      line = std::move(rest);
      if (line.empty() && (text[i] == u' ' || text[i] == u'\u3000')) continue;
    }
    line.push_back(text[i]);
  }
  if (i < text.size()) {
    // Shortened: the last line makes room for the ellipsis.
    while (!line.empty() && TextWidth(line, size) + TextWidth(u"…", size) > width) line.pop_back();
    line += u"…";
  }
  lines.push_back(std::move(line));
  return lines;
}

std::vector<double> SpreadLabels(const std::vector<double>& wanted,
                                 const std::vector<double>& heights, double gap) {
  std::vector<double> placed;
  double next = -1e18;
  for (size_t i = 0; i < wanted.size(); ++i) {
    double y = std::max(wanted[i], next);
    placed.push_back(y);
    next = y + heights[i] + gap;
  }
  return placed;
}

std::vector<double> LayerBoundaries(const std::vector<Layer>& layers) {
  std::vector<double> bottoms;
  for (const Layer& layer : layers) bottoms.push_back(layer.bottom);
  std::sort(bottoms.begin(), bottoms.end());
  return bottoms;
}

double LayerTopFor(const std::vector<double>& boundaries, double bottom) {
  auto above = std::lower_bound(boundaries.begin(), boundaries.end(), bottom);
  return above == boundaries.begin() ? 0.0 : std::max(*(above - 1), 0.0);
}

double NPlotX(double n, double nMax) {
  return kPlotLeft + std::clamp(n, 0.0, nMax) / nMax * kPlotWidth;
}

BoringLogLayout LayOutBoringLog(const BoringLogModel& model, double pxPerMetre, double headsGap) {
  BoringLogLayout out;
  out.pxPerMetre = pxPerMetre;
  out.layers.reserve(model.layers.size());
  for (const Layer& layer : model.layers) out.layers.push_back({0, 0, PatternsFor(layer.name)});
  out.headsTop = LayOutTitle(model, out);

  if (model.layers.empty()) {
    out.messageY = out.headsTop + 30;
    out.folderY = out.headsTop + 52;
    out.width = kEmptyWidth;
    out.height = out.headsTop + 72;
    return out;
  }

  const double step = DepthTickStep(pxPerMetre);
  out.axisDepth = AxisDepth(model, pxPerMetre);
  out.bodyTop = out.headsTop + kColumnHeadHeight + headsGap;
  out.bodyBottom = out.bodyTop + out.axisDepth * pxPerMetre;
  auto DepthY = [&out](double depth) {
    return out.bodyTop + std::max(depth, 0.0) * out.pxPerMetre;
  };
  double pictureBottom = out.bodyBottom;

  for (double d = 0; d <= out.axisDepth + 1e-9; d += step) out.depthTicks.push_back({d, DepthY(d)});

  for (size_t i = 0; i < model.layers.size(); ++i) {
    out.layers[i].top = DepthY(model.layers[i].top);
    out.layers[i].bottom = DepthY(model.layers[i].bottom);
  }
  MarkRoom(out.layers, &LayerBox::bottom, &LayerBox::depthLabelled, kTextLine);

  const std::vector<double> boundaries = LayerBoundaries(model.layers);
  for (size_t i = 0; i < model.classes.size(); ++i) {
    ClassColumnBox column;
    column.left = kClassLeft + static_cast<double>(i) * kClassWidth;
    column.cells.reserve(model.classes[i].lines.size());
    for (const ClassLine& line : model.classes[i].lines) {
      const double topDepth = LayerTopFor(boundaries, line.bottom);
      column.cells.push_back({topDepth, DepthY(topDepth), DepthY(line.bottom)});
    }
    out.classes.push_back(std::move(column));
  }

  // The N axis reaches the next multiple of 50 above the largest value, at most kNAxisCap.
  out.nMax = 50;
  for (const NPoint& p : model.nValues) out.nMax = std::max(out.nMax, std::ceil(p.n / 50) * 50);
  out.nMax = std::min(out.nMax, kNAxisCap);
  for (double n = 0; n <= out.nMax + 1e-9; n += 10) {
    const bool labelled = static_cast<int>(n) % (out.nMax > 50 ? 20 : 10) == 0;
    out.nTicks.push_back({n, NPlotX(n, out.nMax), labelled});
  }
  for (const NPoint& p : model.nValues) {
    out.nPoints.push_back({NPlotX(p.n, out.nMax), DepthY(p.depth), p.n > out.nMax, false});
  }
  MarkRoom(out.nPoints, &PointBox::y, &PointBox::labelled, kTextLine);

  // Tests and samples: labels wrapped in their column, spread downwards from their upper ends.
  {
    std::vector<double> wanted, heights;
    for (const Mark& m : model.marks) {
      Text label = m.label + u"  " + FromUtf8(svg::TickText(m.from));
      if (m.to) label += u"～" + FromUtf8(svg::TickText(*m.to));
      MarkBox box;
      box.lane = kTestLeft + (m.sample ? 14 : 2);
      box.top = DepthY(m.from);
      box.bottom = m.to ? DepthY(*m.to) : box.top;
      box.lines = FitLines(label, kTestWidth - 30, kTextSize, 3);
      // Not above the body: the headings would hide it.
      wanted.push_back(std::max(box.top - kTextLine / 2, out.bodyTop + 1));
      heights.push_back(kTextLine * static_cast<double>(box.lines.size()));
      out.marks.push_back(std::move(box));
    }
    const std::vector<double> placed = SpreadLabels(wanted, heights, 1);
    for (size_t i = 0; i < out.marks.size(); ++i) {
      out.marks[i].labelTop = placed[i];
      pictureBottom = std::max(pictureBottom, placed[i] + heights[i]);
    }
  }

  // Remarks: their lines wrapped in their column, spread downwards from their depths.
  {
    std::vector<double> wanted, heights;
    for (const Remark& r : model.remarks) {
      RemarkBox box;
      box.y = DepthY(r.depth);
      for (const Text& line : r.lines) {
        for (Text& part : FitLines(line, kRemarkWidth - 20, kTextSize, 4))
          box.lines.push_back(std::move(part));
      }
      wanted.push_back(std::max(box.y - 4, out.bodyTop + 1));
      heights.push_back(kTextLine * static_cast<double>(box.lines.size()));
      out.remarks.push_back(std::move(box));
    }
    const std::vector<double> placed = SpreadLabels(wanted, heights, 4);
    for (size_t i = 0; i < out.remarks.size(); ++i) {
      out.remarks[i].labelTop = placed[i];
      pictureBottom = std::max(pictureBottom, placed[i] + heights[i]);
    }
  }

  out.width = kWidth;
  out.height = pictureBottom + kMargin + 8;
  return out;
}

}  // namespace ostra
