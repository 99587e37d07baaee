#include "preview/boring_log_draw.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/sjis.h"
#include "preview/boring_log_draw_parts.h"
#include "preview/svg_format.h"

namespace ostra {

using draw::Ascii;
using draw::kFrame;
using draw::kInk;
using draw::Meets;
using svg::Num2;
using svg::TickText;

void draw::CellText(Canvas& canvas, TextView text, const ColumnBox& column, double top,
                    double bottom, Anchor anchor, bool fromTop) {
  const int room = static_cast<int>((bottom - top - 2) / kTextLine);
  const std::vector<Text> lines = FitLines(text, column.width - 6, kTextSize, room);
  if (lines.empty()) return;
  double y =
      fromTop ? top + 1 + kTextSize
              : (top + bottom) / 2 - kTextLine * static_cast<double>(lines.size()) / 2 + kTextSize;
  const double x = anchor == Anchor::kMiddle ? column.left + column.width / 2 : column.left + 3;
  for (const Text& line : lines) {
    canvas.Write(x, y, line, {kTextSize, anchor});
    y += kTextLine;
  }
}

draw::PenetrationParts draw::PartsOf(const ColumnBox& column) {
  PenetrationParts parts{};
  const double side = std::min(36.0, column.width / 4);
  const double blow = (column.width - 2 * side) / 3;
  parts.depth[0] = column.left;
  parts.depth[1] = side;
  for (int i = 0; i < 3; ++i) {
    parts.blows[i][0] = column.left + side + i * blow;
    parts.blows[i][1] = blow;
  }
  parts.recorded[0] = column.left + column.width - side;
  parts.recorded[1] = side;
  return parts;
}

namespace {

void DrawScale(Canvas& canvas, const BoringLogLayout& layout, double fromY, double toY) {
  const ColumnBox& scale = layout.columns.front();
  const double axis = scale.left + scale.width - 1;
  canvas.BeginGroup("depth-axis");
  const double top = std::max(layout.bodyTop, fromY);
  const double bottom = std::min(layout.bodyBottom, toY);
  if (top < bottom) canvas.Line(axis, top, axis, bottom, "#000000");
  for (const DepthTick& tick : layout.depthTicks) {
    if (!Meets(tick.y - kTextSize, tick.y + kTextSize, fromY, toY)) continue;
    canvas.Line(axis - 5, tick.y, axis, tick.y, "#000000");
    canvas.Line(axis + 1, tick.y, layout.width - kMargin, tick.y, "#e4e4e4", 0.5);
    canvas.Write(axis - 7, tick.y + kTickTextDrop, Ascii(TickText(tick.depth)),
                 {kTextSize, Anchor::kEnd});
  }
  canvas.EndGroup();
}

// The layer columns from the elevation to the core shape: their left and right.
std::pair<double, double> LayerSpan(const BoringLogLayout& layout) {
  double left = 0;
  double right = 0;
  for (const ColumnBox& column : layout.columns) {
    const int k = static_cast<int>(column.kind);
    if (k < static_cast<int>(ColumnKind::kElevation) ||
        k > static_cast<int>(ColumnKind::kCoreShape))
      continue;
    if (right == 0) left = column.left;
    right = column.left + column.width;
  }
  return {left, right};
}

void DrawLayer(Canvas& canvas, const BoringLogModel& model, const BoringLogLayout& layout,
               size_t i) {
  const Layer& layer = model.layers[i];
  const LayerBox& box = layout.layers[i];
  canvas.BeginGroup("layer", {{"data-top", Ascii(Num2(layer.top))},
                              {"data-bottom", Ascii(Num2(layer.bottom))},
                              {"data-code", layer.gradeCode}});
  const auto [left, right] = LayerSpan(layout);
  for (const ColumnBox& column : layout.columns) {
    const double baseline = box.bottom - kDepthTextLift;
    const double middle = column.left + column.width / 2;
    switch (column.kind) {
      case ColumnKind::kElevation:
        if (box.depthLabelled && layout.collar) {
          canvas.Write(middle, baseline, Ascii(Num2(*layout.collar - layer.bottom)),
                       {kDepthTextSize, Anchor::kMiddle});
        }
        break;
      case ColumnKind::kDepth:
        if (box.depthLabelled) {
          canvas.Write(middle, baseline, layer.depthText, {kDepthTextSize, Anchor::kMiddle});
        }
        break;
      case ColumnKind::kThickness:
        if (box.depthLabelled) {
          canvas.Write(middle, baseline, Ascii(Num2(layer.bottom - layer.top)),
                       {kDepthTextSize, Anchor::kMiddle});
        }
        break;
      case ColumnKind::kPattern: {
        const PatternInfo* pattern = PatternOf(box.patterns);
        canvas.Rect(column.left, box.top, column.width, box.bottom - box.top,
                    pattern ? pattern->colour : svg::FillFor(PatternName(layer.name)), kInk);
        if (box.patterns != 0) {
          canvas.Patterns(column.left, box.top, column.width, box.bottom - box.top, box.patterns);
        }
        break;
      }
      case ColumnKind::kName:
        draw::CellText(canvas, layer.name, column, box.top, box.bottom, Anchor::kStart);
        break;
      default:
        if (const auto item = ItemOf(column.kind)) {
          draw::CellText(canvas, layer.Item(*item), column, box.top, box.bottom, Anchor::kMiddle);
        }
        break;
    }
  }
  if (right > left) canvas.Line(left, box.bottom, right, box.bottom, kInk, 0.8);
  canvas.EndGroup();
}

void DrawCores(Canvas& canvas, const BoringLogModel& model, const BoringLogLayout& layout,
               double fromY, double toY) {
  const ColumnBox* recovery = layout.Column(ColumnKind::kRecovery);
  const ColumnBox* rqd = layout.Column(ColumnKind::kRqd);
  if (recovery == nullptr && rqd == nullptr) return;
  canvas.BeginGroup("cores");
  for (size_t i = 0; i < model.cores.size(); ++i) {
    const CoreRun& run = model.cores[i];
    const CoreBox& box = layout.cores[i];
    if (!Meets(box.top, box.bottom, fromY, toY)) continue;
    canvas.BeginGroup(
        "core", {{"data-top", Ascii(Num2(run.top))}, {"data-bottom", Ascii(Num2(run.bottom))}});
    for (const auto& [column, text] : {std::pair{recovery, &run.recovery}, {rqd, &run.rqd}}) {
      if (column == nullptr) continue;
      canvas.Line(column->left, box.bottom, column->left + column->width, box.bottom, kInk, 0.6);
      draw::CellText(canvas, *text, *column, box.top, box.bottom, Anchor::kMiddle);
    }
    canvas.EndGroup();
  }
  canvas.EndGroup();
}

}  // namespace

void DrawTitleBlock(Canvas& canvas, const BoringLogModel& /*model*/,
                    const BoringLogLayout& layout) {
  if (!layout.title.empty()) canvas.BeginGroup("header");
  for (const TitleBox& box : layout.title) {
    double y = box.y;
    for (const Text& line : box.lines) {
      canvas.Write(box.x, y, line, {box.size, Anchor::kStart, box.colour, box.bold});
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
  canvas.Rect(0, top, layout.width, layout.headHeight, "#ffffff", "none", 0);
  const double last = top + layout.headHeight - 4;  // the baseline of the last line
  for (const ColumnBox& column : layout.columns) {
    const ColumnSpec& spec = SpecOf(column.kind);
    canvas.BeginGroup("column-head", {{"data-heading", spec.heading}});
    canvas.Rect(column.left, top, column.width, layout.headHeight, "none", kFrame, 0.5);
    double y = top + kTextLine;
    for (const Text& line : HeadingLines(spec.heading, column.width - 4)) {
      canvas.Write(column.left + column.width / 2, y, line,
                   {kTextSize, Anchor::kMiddle, "#000000", true});
      y += kTextLine;
    }
    if (column.kind == ColumnKind::kNGraph) {
      for (const NTick& tick : layout.nTicks) {
        canvas.Write(tick.x, last, Ascii(TickText(tick.n)), {kTextSize, Anchor::kMiddle});
      }
    } else if (column.kind == ColumnKind::kPenetration) {
      const draw::PenetrationParts parts = draw::PartsOf(column);
      canvas.Write(parts.depth[0] + parts.depth[1] / 2, last, u"深度",
                   {kTextSize, Anchor::kMiddle});
      canvas.Write(parts.blows[1][0] + parts.blows[1][1] / 2, last, u"打撃回数",
                   {kTextSize, Anchor::kMiddle});
      canvas.Write(parts.recorded[0] + parts.recorded[1] / 2, last, u"N値",
                   {kTextSize, Anchor::kMiddle});
    }
    canvas.EndGroup();
  }
  canvas.EndGroup();
}

void DrawBody(Canvas& canvas, const BoringLogModel& model, const BoringLogLayout& layout,
              double fromY, double toY) {
  const double top = std::max(layout.bodyTop, fromY);
  const double bottom = std::min(layout.bodyBottom, toY);
  if (top < bottom) {
    for (const ColumnBox& column : layout.columns) {
      canvas.Rect(column.left, top, column.width, bottom - top, "none", kFrame, 0.5);
    }
  }
  DrawScale(canvas, layout, fromY, toY);
  canvas.BeginGroup("layers");
  for (size_t i = 0; i < model.layers.size(); ++i) {
    const LayerBox& box = layout.layers[i];
    if (Meets(box.top, box.bottom + kTextLine, fromY, toY)) DrawLayer(canvas, model, layout, i);
  }
  canvas.EndGroup();
  DrawCores(canvas, model, layout, fromY, toY);
  draw::DrawLabels(canvas, model, layout, fromY, toY);
}

void DrawBoringLog(Canvas& canvas, const BoringLogModel& model, const BoringLogLayout& layout) {
  canvas.Rect(0, 0, layout.width, layout.height, "#ffffff", "none", 0);
  DrawTitleBlock(canvas, model, layout);
  if (model.layers.empty()) {
    canvas.BeginGroup("empty");
    canvas.Write(kMargin, layout.messageY,
                 u"表示できる柱状図がありません（地層のデータがありません）。", {14});
    canvas.Write(kMargin, layout.folderY, model.source, {12, Anchor::kStart, "#555555"});
    canvas.EndGroup();
    return;
  }
  DrawColumnHeads(canvas, layout, layout.headsTop);
  DrawBody(canvas, model, layout, -1e18, 1e18);
}

}  // namespace ostra
