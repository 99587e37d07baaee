#include "preview/boring_log_draw.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/numbers.h"
#include "base/sjis.h"
#include "preview/svg_format.h"

namespace ostra {

namespace {

using svg::FillFor;
using svg::Num2;
using svg::TickText;

constexpr const char* kFrame = "#999999";
constexpr const char* kInk = "#333333";
constexpr const char* kNColour = "#c0392b";

Text Ascii(const std::string& s) {
  return FromUtf8(s);
}

bool Meets(double top, double bottom, double fromY, double toY) {
  return bottom >= fromY && top <= toY;
}

// Lines of text centred in a cell from `top` to `bottom`, as many as fit; on a white ground when
// `ground` (over a fill pattern).
void CellText(Canvas& canvas, TextView text, double left, double width, double top, double bottom,
              Anchor anchor, bool ground = false) {
  const int room = static_cast<int>((bottom - top - 2) / kTextLine);
  const std::vector<Text> lines = FitLines(text, width - 6, kTextSize, room);
  if (lines.empty()) return;
  double y = (top + bottom) / 2 - kTextLine * static_cast<double>(lines.size()) / 2 + kTextSize;
  const double x = anchor == Anchor::kMiddle ? left + width / 2 : left + 4;
  for (const Text& line : lines) {
    if (ground) {
      const double w = std::min(TextWidth(line, kTextSize), width - 6) + 2;
      const double at = anchor == Anchor::kMiddle ? x - w / 2 : x - 1;
      canvas.Rect(at, y - kTextSize, w, kTextLine, "#ffffff", "none", 0);
    }
    canvas.Write(x, y, line, {kTextSize, anchor});
    y += kTextLine;
  }
}

void DrawAxis(Canvas& canvas, const BoringLogLayout& layout, double fromY, double toY) {
  canvas.BeginGroup("depth-axis");
  const double top = std::max(layout.bodyTop, fromY);
  const double bottom = std::min(layout.bodyBottom, toY);
  if (top < bottom) canvas.Line(kAxisRight, top, kAxisRight, bottom, "#000000");
  for (const DepthTick& tick : layout.depthTicks) {
    if (!Meets(tick.y - kTextSize, tick.y + kTextSize, fromY, toY)) continue;
    canvas.Line(kAxisRight - 5, tick.y, kAxisRight, tick.y, "#000000");
    canvas.Line(kBandLeft, tick.y, kWidth - kMargin, tick.y, "#e4e4e4", 0.5);
    canvas.Write(kAxisRight - 8, tick.y + kTickTextDrop, Ascii(TickText(tick.depth)),
                 {kTextSize, Anchor::kEnd});
  }
  canvas.EndGroup();
}

void DrawLayers(Canvas& canvas, const BoringLogModel& model, const BoringLogLayout& layout,
                double fromY, double toY) {
  canvas.BeginGroup("layers");
  for (size_t i = 0; i < model.layers.size(); ++i) {
    const Layer& layer = model.layers[i];
    const LayerBox& box = layout.layers[i];
    if (!Meets(box.top, box.bottom + kTextLine, fromY, toY)) continue;
    canvas.BeginGroup("layer", {{"data-top", Ascii(Num2(layer.top))},
                                {"data-bottom", Ascii(Num2(layer.bottom))},
                                {"data-code", layer.code}});
    const PatternInfo* pattern = PatternOf(box.patterns);
    canvas.Rect(kBandLeft, box.top, kBandWidth, box.bottom - box.top,
                pattern ? pattern->colour : FillFor(layer.code), kInk);
    if (box.patterns != 0) {
      canvas.Patterns(kBandLeft, box.top, kBandWidth, box.bottom - box.top, box.patterns);
    }
    CellText(canvas, layer.name, kBandLeft, kBandWidth, box.top, box.bottom, Anchor::kStart,
             box.patterns != 0);
    canvas.Line(kLayerDepthLeft, box.bottom, kBandLeft, box.bottom, kInk, 0.8);
    if (box.depthLabelled) {
      canvas.Write(kLayerDepthLeft + 2, box.bottom - kDepthTextLift, layer.depthText,
                   {kDepthTextSize});
    }
    canvas.EndGroup();
  }
  canvas.EndGroup();
}

void DrawClasses(Canvas& canvas, const BoringLogModel& model, const BoringLogLayout& layout,
                 double fromY, double toY) {
  canvas.BeginGroup("classes");
  const double top = std::max(layout.bodyTop, fromY);
  const double bottom = std::min(layout.bodyBottom, toY);
  for (size_t i = 0; i < model.classes.size(); ++i) {
    const ClassColumn& column = model.classes[i];
    const ClassColumnBox& columnBox = layout.classes[i];
    if (top < bottom) canvas.Rect(columnBox.left, top, kClassWidth, bottom - top, "none", kFrame);
    for (size_t k = 0; k < column.lines.size(); ++k) {
      const CellBox& cell = columnBox.cells[k];
      if (!Meets(cell.top, cell.bottom, fromY, toY)) continue;
      canvas.BeginGroup("class-cell", {{"data-file", column.file},
                                       {"data-top", Ascii(Num2(cell.topDepth))},
                                       {"data-bottom", Ascii(Num2(column.lines[k].bottom))}});
      canvas.Rect(columnBox.left, cell.top, kClassWidth, cell.bottom - cell.top, "#f6f6f0", kFrame);
      CellText(canvas, column.lines[k].text, columnBox.left, kClassWidth, cell.top, cell.bottom,
               Anchor::kMiddle);
      canvas.EndGroup();
    }
  }
  canvas.EndGroup();
}

// N values against depth: a line through the points, each point with its value; beside the
// plot the value as recorded.
void DrawNPlot(Canvas& canvas, const BoringLogModel& model, const BoringLogLayout& layout,
               double fromY, double toY) {
  canvas.BeginGroup("n-plot");
  const double top = std::max(layout.bodyTop, fromY);
  const double bottom = std::min(layout.bodyBottom, toY);
  if (top < bottom) {
    canvas.Rect(kPlotLeft, top, kPlotWidth, bottom - top, "none", kFrame);
    for (const NTick& tick : layout.nTicks) {
      canvas.Line(tick.x, top, tick.x, bottom, tick.n == 0 ? kFrame : "#dddddd", 0.5);
    }
  }
  // The line: the points in the band and one on each side of it.
  std::vector<Point> line;
  const std::vector<PointBox>& points = layout.nPoints;
  for (size_t i = 0; i < points.size(); ++i) {
    const bool near = Meets(points[i].y, points[i].y, fromY, toY) ||
                      (i + 1 < points.size() && Meets(points[i].y, points[i + 1].y, fromY, toY));
    if (near) {
      if (line.empty() && i > 0) line.push_back({points[i - 1].x, points[i - 1].y});
      line.push_back({points[i].x, points[i].y});
    }
  }
  if (line.size() > 1) canvas.Polyline(line, kNColour, 1.5);
  for (size_t i = 0; i < points.size(); ++i) {
    const NPoint& p = model.nValues[i];
    const PointBox& box = points[i];
    if (!Meets(box.y - kTextLine, box.y + kTextLine, fromY, toY)) continue;
    canvas.BeginGroup("n-point", {{"data-depth", Ascii(Num2(p.depth))},
                                  {"data-n", Ascii(TickText(p.n))},
                                  {"data-recorded", p.recorded}});
    canvas.Circle(box.x, box.y, 3.5, kNColour);
    if (box.labelled) {
      canvas.Write(box.x + (box.beyond ? -6 : 6), box.y + kTickTextDrop, Ascii(TickText(p.n)),
                   {kTextSize, box.beyond ? Anchor::kEnd : Anchor::kStart, kNColour});
      canvas.Write(kRecordedLeft + kRecordedWidth - 2, box.y + kTickTextDrop, p.recorded,
                   {kTextSize, Anchor::kEnd, "#000000"});
    }
    canvas.EndGroup();
  }
  canvas.EndGroup();
}

void DrawMarks(Canvas& canvas, const BoringLogModel& model, const BoringLogLayout& layout,
               double fromY, double toY) {
  canvas.BeginGroup("tests");
  for (size_t i = 0; i < model.marks.size(); ++i) {
    const Mark& m = model.marks[i];
    const MarkBox& box = layout.marks[i];
    const double labelBottom = box.labelTop + kTextLine * static_cast<double>(box.lines.size());
    if (!Meets(std::min(box.top, box.labelTop), std::max(box.bottom, labelBottom), fromY, toY)) {
      continue;
    }
    const char* colour = m.sample ? "#d35400" : "#2e6da4";
    canvas.BeginGroup(
        m.sample ? "sample" : "test",
        {{"data-from", Ascii(Num2(m.from))}, {"data-to", m.to ? Ascii(Num2(*m.to)) : Text()}});
    if (m.to) {
      canvas.Rect(box.lane, box.top, 10, std::max(box.bottom - box.top, 2.0), colour, colour);
    } else {
      canvas.Line(box.lane - 2, box.top, box.lane + 12, box.top, colour, 2);
    }
    canvas.Line(kTestLeft + 26, (box.top + box.bottom) / 2, kTestLeft + 28,
                box.labelTop + kTextLine / 2, colour, 0.6);
    double y = box.labelTop + kTextSize;
    for (const Text& line : box.lines) {
      canvas.Write(kTestLeft + 30, y, line, {kTextSize, Anchor::kStart, colour});
      y += kTextLine;
    }
    canvas.EndGroup();
  }
  canvas.EndGroup();
}

void DrawRemarks(Canvas& canvas, const BoringLogModel& model, const BoringLogLayout& layout,
                 double fromY, double toY) {
  canvas.BeginGroup("remarks");
  for (size_t i = 0; i < model.remarks.size(); ++i) {
    const RemarkBox& box = layout.remarks[i];
    const double labelBottom = box.labelTop + kTextLine * static_cast<double>(box.lines.size());
    if (!Meets(std::min(box.y - 4, box.labelTop), std::max(box.y + 4, labelBottom), fromY, toY)) {
      continue;
    }
    canvas.BeginGroup("remark", {{"data-depth", Ascii(Num2(model.remarks[i].depth))}});
    canvas.Polygon({{kRemarkLeft, box.y - 4}, {kRemarkLeft + 8, box.y}, {kRemarkLeft, box.y + 4}},
                   "#555555");
    canvas.Line(kRemarkLeft + 8, box.y, kRemarkLeft + 16, box.labelTop + 6, "#555555", 0.6);
    double y = box.labelTop + kTextSize;
    for (const Text& line : box.lines) {
      canvas.Write(kRemarkLeft + 18, y, line, {kTextSize});
      y += kTextLine;
    }
    canvas.EndGroup();
  }
  canvas.EndGroup();
}

}  // namespace

void DrawTitleBlock(Canvas& canvas, const BoringLogModel& model, const BoringLogLayout& layout) {
  (void)model;
  if (!layout.title.empty()) canvas.BeginGroup("header");
  for (size_t i = 0; i < layout.title.size(); ++i) {
    const TitleBox& box = layout.title[i];
    double y = box.y;
    for (const Text& line : box.lines) {
      canvas.Write(box.x, y, line, {box.size, Anchor::kStart, "#000000", i == 0});
      y += box.size + 4;
    }
  }
  if (!layout.title.empty()) canvas.EndGroup();
  if (layout.legend.empty()) return;
  canvas.BeginGroup("legend");
  for (const LegendBox& entry : layout.legend) {
    canvas.Rect(entry.x, entry.y, 26, 11, entry.fill, kInk, 0.6);
    if (entry.bit != 0) canvas.Patterns(entry.x, entry.y, 26, 11, entry.bit);
    canvas.Write(entry.x + 31, entry.y + 10, entry.text, {kTextSize});
  }
  canvas.EndGroup();
}

void DrawColumnHeads(Canvas& canvas, const BoringLogLayout& layout, double top) {
  canvas.BeginGroup("column-heads");
  canvas.Rect(0, top, layout.width, kColumnHeadHeight, "#ffffff", "none", 0);
  const double baseline = top + kColumnHeadHeight - 12;
  for (const ColumnHead& head : ColumnHeads()) {
    const bool plot = head.left == kPlotLeft;
    const double y = plot ? top + 13 : baseline;
    canvas.Write(head.left + head.width / 2, y, head.heading,
                 {10.5, Anchor::kMiddle, "#000000", true});
  }
  for (const NTick& tick : layout.nTicks) {
    if (tick.labelled) {
      canvas.Write(tick.x, top + kColumnHeadHeight - 3, Ascii(TickText(tick.n)),
                   {8.5, Anchor::kMiddle});
    }
  }
  canvas.Line(kMargin, top + kColumnHeadHeight - 0.5, kWidth - kMargin,
              top + kColumnHeadHeight - 0.5, kFrame, 0.5);
  canvas.EndGroup();
}

void DrawBody(Canvas& canvas, const BoringLogModel& model, const BoringLogLayout& layout,
              double fromY, double toY) {
  DrawAxis(canvas, layout, fromY, toY);
  DrawLayers(canvas, model, layout, fromY, toY);
  DrawClasses(canvas, model, layout, fromY, toY);
  DrawNPlot(canvas, model, layout, fromY, toY);
  DrawMarks(canvas, model, layout, fromY, toY);
  DrawRemarks(canvas, model, layout, fromY, toY);
}

void DrawBoringLog(Canvas& canvas, const BoringLogModel& model, const BoringLogLayout& layout) {
  canvas.Rect(0, 0, layout.width, layout.height, "#ffffff", "none", 0);
  DrawTitleBlock(canvas, model, layout);
  if (model.layers.empty()) {
    canvas.BeginGroup("empty");
    canvas.Write(kMargin, layout.messageY,
                 u"表示できる柱状図がありません（地層のデータ X1.TXT がありません）。", {14});
    canvas.Write(kMargin, layout.folderY, model.folder, {12, Anchor::kStart, "#555555"});
    canvas.EndGroup();
    return;
  }
  DrawColumnHeads(canvas, layout, layout.headsTop);
  DrawBody(canvas, model, layout, -1e18, 1e18);
}

}  // namespace ostra
