// The columns of the boring-log picture whose texts stand at depths: 記事, 孔内水位, the
// penetration tests with their N graph, and the tests and samples.
#include <algorithm>

#include "base/sjis.h"
#include "preview/boring_log_draw_parts.h"
#include "preview/svg_format.h"

namespace ostra::draw {

namespace {

using svg::Num2;
using svg::TickText;

// Lines from `top` down at `x`.
void WriteLines(Canvas& canvas, double x, double top, const std::vector<Text>& lines,
                const TextStyle& style) {
  double y = top + kTextSize;
  for (const Text& line : lines) {
    canvas.Write(x, y, line, style);
    y += kTextLine;
  }
}

bool LabelMeets(const LabelBox& box, double fromY, double toY) {
  const double bottom = box.labelTop + kTextLine * static_cast<double>(box.lines.size());
  return Meets(std::min(box.y - 5, box.labelTop), std::max(box.y + 5, bottom), fromY, toY);
}

// The layers' own remarks inside their bands (left lane), the remarks at their depths beside
// them (right lane).
void DrawRemarks(Canvas& canvas, const BoringLogModel& model, const BoringLogLayout& layout,
                 double fromY, double toY) {
  const ColumnBox* column = layout.Column(ColumnKind::kRemarks);
  if (column == nullptr) return;
  const ColumnBox own{column->kind, column->left, column->width * 0.55};
  const double lane = column->left + own.width;
  canvas.BeginGroup("remarks");
  for (size_t i = 0; i < model.layers.size(); ++i) {
    const LayerBox& box = layout.layers[i];
    if (model.layers[i].remark.empty() || !Meets(box.top, box.bottom, fromY, toY)) continue;
    std::vector<Text> lines;
    for (const Text& line : model.layers[i].remark) {
      for (Text& part : FitLines(line, own.width - 6, kTextSize, 8)) lines.push_back(part);
    }
    const size_t room = static_cast<size_t>(std::max((box.bottom - box.top - 2) / kTextLine, 0.0));
    if (lines.size() > room) {
      lines.resize(room);
      if (!lines.empty())
        lines.back() = FitLines(lines.back() + u"……", own.width - 6, kTextSize, 1)[0];
    }
    canvas.BeginGroup("layer-remark", {{"data-top", Ascii(Num2(model.layers[i].top))}});
    WriteLines(canvas, own.left + 3, box.top + 1, lines, {kTextSize});
    canvas.EndGroup();
  }
  canvas.Line(lane, std::max(layout.bodyTop, fromY), lane, std::min(layout.bodyBottom, toY),
              "#dddddd", 0.5);
  for (size_t i = 0; i < model.remarks.size(); ++i) {
    const LabelBox& box = layout.remarks[i];
    if (!LabelMeets(box, fromY, toY)) continue;
    canvas.BeginGroup("remark", {{"data-depth", Ascii(Num2(model.remarks[i].depth))}});
    canvas.Polygon({{lane, box.y - 4}, {lane + 7, box.y}, {lane, box.y + 4}}, "#555555");
    canvas.Line(lane + 7, box.y, lane + 10, box.labelTop + 6, "#555555", 0.6);
    WriteLines(canvas, lane + 11, box.labelTop, box.lines, {kTextSize});
    canvas.EndGroup();
  }
  canvas.EndGroup();
}

void DrawWater(Canvas& canvas, const BoringLogModel& model, const BoringLogLayout& layout,
               double fromY, double toY) {
  const ColumnBox* column = layout.Column(ColumnKind::kWater);
  if (column == nullptr) return;
  canvas.BeginGroup("water-levels");
  for (size_t i = 0; i < model.waterLevels.size(); ++i) {
    const LabelBox& box = layout.water[i];
    if (!LabelMeets(box, fromY, toY)) continue;
    canvas.BeginGroup("water-level", {{"data-depth", Ascii(Num2(model.waterLevels[i].depth))},
                                      {"data-date", model.waterLevels[i].date}});
    const double x = column->left + 3;
    canvas.Polygon({{x, box.y - 8}, {x + 10, box.y - 8}, {x + 5, box.y}}, "#1f5fbf");
    canvas.Line(x, box.y, x + 12, box.y, "#1f5fbf", 1);
    WriteLines(canvas, x + 14, box.labelTop, box.lines, {kTextSize});
    canvas.EndGroup();
  }
  canvas.EndGroup();
}

// Each test's row of texts, and the graph: a line through the points, a refusal at 50 with its
// record beside it.
void DrawPenetration(Canvas& canvas, const BoringLogModel& model, const BoringLogLayout& layout,
                     double fromY, double toY) {
  const ColumnBox* table = layout.Column(ColumnKind::kPenetration);
  const ColumnBox* graph = layout.Column(ColumnKind::kNGraph);
  const std::vector<PenetrationTest>& tests = model.penetrationTests;
  if (table != nullptr) {
    const PenetrationParts parts = PartsOf(*table);
    canvas.BeginGroup("penetration-tests");
    for (size_t i = 0; i < tests.size(); ++i) {
      const double y = layout.testRows[i];
      if (!Meets(y - kTextSize, y + 3, fromY, toY)) continue;
      auto cell = [&](const double(&part)[2], const Text& text) {
        const std::vector<Text> fit = FitLines(text, part[1] - 2, kTextSize, 1);
        if (!fit.empty())
          canvas.Write(part[0] + part[1] / 2, y, fit[0], {kTextSize, Anchor::kMiddle});
      };
      canvas.BeginGroup("penetration-test", {{"data-depth", Ascii(Num2(tests[i].depth))}});
      cell(parts.depth, tests[i].depthText);
      for (int k = 0; k < 3; ++k) cell(parts.blows[k], tests[i].blows[k]);
      cell(parts.recorded, tests[i].recorded);
      canvas.EndGroup();
    }
    canvas.EndGroup();
  }
  if (graph == nullptr) return;
  canvas.BeginGroup("n-plot");
  const double top = std::max(layout.bodyTop, fromY);
  const double bottom = std::min(layout.bodyBottom, toY);
  if (top < bottom) {
    for (const NTick& tick : layout.nTicks) {
      canvas.Line(tick.x, top, tick.x, bottom, tick.n == 0 ? kFrame : "#dddddd", 0.5);
    }
  }
  // The line: the points in the band and one on each side of it.
  std::vector<size_t> shown;
  for (size_t i = 0; i < layout.nPoints.size(); ++i) {
    if (layout.nPoints[i].shown) shown.push_back(i);
  }
  std::vector<Point> line;
  for (size_t k = 0; k < shown.size(); ++k) {
    const PointBox& p = layout.nPoints[shown[k]];
    const bool near =
        Meets(p.y, p.y, fromY, toY) ||
        (k + 1 < shown.size() && Meets(p.y, layout.nPoints[shown[k + 1]].y, fromY, toY));
    if (!near) continue;
    if (line.empty() && k > 0)
      line.push_back({layout.nPoints[shown[k - 1]].x, layout.nPoints[shown[k - 1]].y});
    line.push_back({p.x, p.y});
  }
  if (line.size() > 1) canvas.Polyline(line, kNColour, 1.2);
  for (size_t i : shown) {
    const PenetrationTest& t = tests[i];
    const PointBox& box = layout.nPoints[i];
    if (!Meets(box.y - kTextLine, box.y + kTextLine, fromY, toY)) continue;
    canvas.BeginGroup("n-point", {{"data-depth", Ascii(Num2(t.depth))},
                                  {"data-n", Ascii(TickText(*t.plotN))},
                                  {"data-recorded", t.recorded},
                                  {"data-refusal", t.refusal ? u"1" : u"0"}});
    canvas.Circle(box.x, box.y, 3, kNColour);
    if (t.refusal) {
      // At the right edge: the record to the left of the point.
      canvas.Write(box.x - 5, box.y + kTickTextDrop, t.recorded,
                   {kTextSize, Anchor::kEnd, kNColour});
    }
    canvas.EndGroup();
  }
  canvas.EndGroup();
}

void DrawMarks(Canvas& canvas, const BoringLogModel& model, const BoringLogLayout& layout,
               double fromY, double toY) {
  const ColumnBox* column = layout.Column(ColumnKind::kMarks);
  if (column == nullptr) return;
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
    canvas.Line(column->left + 26, (box.top + box.bottom) / 2, column->left + 28,
                box.labelTop + kTextLine / 2, colour, 0.6);
    WriteLines(canvas, column->left + 30, box.labelTop, box.lines,
               {kTextSize, Anchor::kStart, colour});
    canvas.EndGroup();
  }
  canvas.EndGroup();
}

}  // namespace

void DrawLabels(Canvas& canvas, const BoringLogModel& model, const BoringLogLayout& layout,
                double fromY, double toY) {
  DrawRemarks(canvas, model, layout, fromY, toY);
  DrawWater(canvas, model, layout, fromY, toY);
  DrawPenetration(canvas, model, layout, fromY, toY);
  DrawMarks(canvas, model, layout, fromY, toY);
}

}  // namespace ostra::draw
