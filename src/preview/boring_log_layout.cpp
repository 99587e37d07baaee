#include "preview/boring_log_layout.h"

#include <algorithm>
#include <cmath>

#include "base/sjis.h"
#include "preview/svg_format.h"

namespace ostra {

namespace {

// The deepest depth that anything drawn reaches; 1 when there is none below 0.
double Deepest(const BoringLogModel& model) {
  double deepest = 0;
  for (const Layer& layer : model.layers) deepest = std::max(deepest, layer.bottom);
  for (const CoreRun& c : model.cores) deepest = std::max(deepest, c.bottom);
  for (const WaterLevel& w : model.waterLevels) deepest = std::max(deepest, w.depth);
  for (const PenetrationTest& t : model.penetrationTests) deepest = std::max(deepest, t.depth);
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

// The labels' tops, spread downwards from where they want to be and kept below the headings.
// Returns the lowest bottom.
template <typename Box>
double Spread(std::vector<Box>& boxes, const std::vector<double>& wanted, double top, double gap) {
  std::vector<double> at, heights;
  for (size_t i = 0; i < boxes.size(); ++i) {
    at.push_back(std::max(wanted[i], top));
    heights.push_back(kTextLine * static_cast<double>(boxes[i].lines.size()));
  }
  const std::vector<double> placed = SpreadLabels(at, heights, gap);
  double bottom = 0;
  for (size_t i = 0; i < boxes.size(); ++i) {
    boxes[i].labelTop = placed[i];
    bottom = std::max(bottom, placed[i] + heights[i]);
  }
  return bottom;
}

// The headings' height: the most lines a heading wraps to in its column, and room for the
// sub-headings of the penetration tests and the N axis.
double HeadHeight(const std::vector<ColumnBox>& columns) {
  size_t lines = 2;
  for (const ColumnBox& column : columns) {
    lines = std::max(lines, HeadingLines(SpecOf(column.kind).heading, column.width - 4).size());
  }
  return static_cast<double>(lines + 1) * kTextLine + 6;
}

}  // namespace

double PxPerMetreAt(double denominator) {
  return 1000.0 / denominator / 25.4 * 96.0;
}

const ColumnBox* BoringLogLayout::Column(ColumnKind kind) const {
  for (const ColumnBox& column : columns) {
    if (column.kind == kind) return &column;
  }
  return nullptr;
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

std::vector<Text> HeadingLines(TextView heading, double width) {
  const size_t unit = heading.find(u'(');
  if (TextWidth(heading, kTextSize) <= width || unit == TextView::npos || unit == 0) {
    return FitLines(heading, width, kTextSize, 4);
  }
  std::vector<Text> lines = FitLines(heading.substr(0, unit), width, kTextSize, 3);
  for (Text& line : FitLines(heading.substr(unit), width, kTextSize, 1)) lines.push_back(line);
  return lines;
}

double NPlotX(const ColumnBox& graph, double n) {
  return graph.left + 6 + std::clamp(n, 0.0, kNAxisMax) / kNAxisMax * (graph.width - 12);
}

BoringLogLayout LayOutBoringLog(const BoringLogModel& model, double pxPerMetre, double headsGap,
                                std::vector<ColumnBox> columns) {
  BoringLogLayout out;
  out.pxPerMetre = pxPerMetre;
  out.columns = columns.empty() ? FilledColumns(model) : std::move(columns);
  out.layers.reserve(model.layers.size());
  for (const Layer& layer : model.layers) out.layers.push_back({0, 0, PatternsFor(layer.name)});
  const double width = model.layers.empty() ? kEmptyWidth : ColumnsWidth(out.columns);
  out.headsTop = LayOutTitle(model, width, out);
  out.width = width;

  if (model.layers.empty()) {
    out.messageY = out.headsTop + 30;
    out.folderY = out.headsTop + 52;
    out.height = out.headsTop + 72;
    return out;
  }

  out.headHeight = HeadHeight(out.columns);
  out.collar = CollarElevation(model);
  const double step = DepthTickStep(pxPerMetre);
  out.axisDepth = AxisDepth(model, pxPerMetre);
  out.bodyTop = out.headsTop + out.headHeight + headsGap;
  out.bodyBottom = out.DepthY(out.axisDepth);
  const double labelsTop = out.headsTop + out.headHeight + 1;  // no label under the headings
  double pictureBottom = out.bodyBottom;

  for (double d = 0; d <= out.axisDepth + 1e-9; d += step)
    out.depthTicks.push_back({d, out.DepthY(d)});
  for (size_t i = 0; i < model.layers.size(); ++i) {
    out.layers[i].top = out.DepthY(model.layers[i].top);
    out.layers[i].bottom = out.DepthY(model.layers[i].bottom);
  }
  MarkRoom(out.layers, &LayerBox::bottom, &LayerBox::depthLabelled, kTextLine);
  for (const CoreRun& run : model.cores)
    out.cores.push_back({out.DepthY(run.top), out.DepthY(run.bottom)});

  // Remarks at their depths, in the right lane of 記事.
  if (const ColumnBox* column = out.Column(ColumnKind::kRemarks)) {
    std::vector<double> wanted;
    for (const Remark& r : model.remarks) {
      LabelBox box;
      box.y = out.DepthY(r.depth);
      for (const Text& line : r.lines) {
        for (Text& part : FitLines(line, column->width * 0.45 - 14, kTextSize, 4)) {
          box.lines.push_back(std::move(part));
        }
      }
      wanted.push_back(box.y - 4);
      out.remarks.push_back(std::move(box));
    }
    pictureBottom = std::max(pictureBottom, Spread(out.remarks, wanted, labelsTop, 4));
  }

  // Water levels: the level and the date beside their mark.
  if (const ColumnBox* column = out.Column(ColumnKind::kWater)) {
    std::vector<double> wanted;
    for (const WaterLevel& w : model.waterLevels) {
      LabelBox box;
      box.y = out.DepthY(w.depth);
      for (const Text& text : {w.depthText + u"m", w.date, w.note}) {
        for (Text& part : FitLines(text, column->width - 18, kTextSize, 2)) {
          box.lines.push_back(std::move(part));
        }
      }
      wanted.push_back(box.y - kTextLine / 2);
      out.water.push_back(std::move(box));
    }
    pictureBottom = std::max(pictureBottom, Spread(out.water, wanted, labelsTop, 2));
  }

  // Penetration tests: one row each at its depth, pushed down where they would overlap; the
  // graph's points at the depth itself.
  {
    std::vector<double> wanted, heights;
    const ColumnBox* graph = out.Column(ColumnKind::kNGraph);
    for (const PenetrationTest& t : model.penetrationTests) {
      const double y = out.DepthY(t.depth);
      wanted.push_back(std::max(y - kTextLine / 2, labelsTop));
      heights.push_back(kTextLine);
      PointBox point;
      point.shown = graph != nullptr && t.plotN.has_value();
      if (point.shown) point.x = NPlotX(*graph, *t.plotN);
      point.y = y;
      out.nPoints.push_back(point);
    }
    for (double top : SpreadLabels(wanted, heights, 0)) {
      out.testRows.push_back(top + kTextSize);
      pictureBottom = std::max(pictureBottom, top + kTextLine);
    }
    if (graph != nullptr) {
      for (double n = 0; n <= kNAxisMax + 1e-9; n += 10)
        out.nTicks.push_back({n, NPlotX(*graph, n)});
    }
  }

  // Tests and samples: labels wrapped in their column, spread downwards from their upper ends.
  if (const ColumnBox* column = out.Column(ColumnKind::kMarks)) {
    std::vector<double> wanted;
    for (const Mark& m : model.marks) {
      Text label = m.label + u"  " + FromUtf8(svg::TickText(m.from));
      if (m.to) label += u"～" + FromUtf8(svg::TickText(*m.to));
      MarkBox box;
      box.lane = column->left + (m.sample ? 14 : 2);
      box.top = out.DepthY(m.from);
      box.bottom = m.to ? out.DepthY(*m.to) : box.top;
      box.lines = FitLines(label, column->width - 34, kTextSize, 3);
      wanted.push_back(box.top - kTextLine / 2);
      out.marks.push_back(std::move(box));
    }
    pictureBottom = std::max(pictureBottom, Spread(out.marks, wanted, labelsTop, 1));
  }

  out.height = pictureBottom + kMargin + 8;
  return out;
}

}  // namespace ostra
