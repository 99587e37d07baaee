#include "preview/boring_log_writer.h"

#include <algorithm>

#include "base/numbers.h"
#include "base/sjis.h"
#include "preview/svg_format.h"

namespace ostra {

namespace {

using svg::FillFor;
using svg::Num2;
using svg::Px;
using svg::TickText;
using svg::Xml;

// Fonts that show Japanese on Linux and on Windows, then the generic family.
constexpr const char* kFontFamily =
    "'Noto Sans CJK JP', 'Noto Sans JP', 'IPAGothic', 'IPAexGothic', 'Yu Gothic', 'Meiryo', "
    "'MS Gothic', sans-serif";

class SvgWriter {
 public:
  std::string& Out() { return out_; }

  void TextAt(double x, double y, const std::string& escaped, double size,
              const char* anchor = "start", const char* extra = "") {
    out_ += "<text x=\"" + Px(x) + "\" y=\"" + Px(y) + "\" font-size=\"" + Px(size) + "\"";
    if (std::string(anchor) != "start") out_ += std::string(" text-anchor=\"") + anchor + "\"";
    out_ += extra;
    out_ += ">" + escaped + "</text>\n";
  }
  void Line(double x1, double y1, double x2, double y2, const char* stroke, double width = 1,
            const char* extra = "") {
    out_ += "<line x1=\"" + Px(x1) + "\" y1=\"" + Px(y1) + "\" x2=\"" + Px(x2) + "\" y2=\"" +
            Px(y2) + "\" stroke=\"" + stroke + "\" stroke-width=\"" + Px(width) + "\"" + extra +
            "/>\n";
  }
  void Rect(double x, double y, double w, double h, const std::string& fill, const char* stroke,
            const std::string& extra = "") {
    out_ += "<rect x=\"" + Px(x) + "\" y=\"" + Px(y) + "\" width=\"" + Px(w) + "\" height=\"" +
            Px(std::max(h, 0.0)) + "\" fill=\"" + fill + "\" stroke=\"" + stroke + "\"" + extra +
            "/>\n";
  }

 private:
  std::string out_;
};

std::string Open(double width, double height) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" xml:space=\"preserve\" "
         "width=\"" +
         Px(width) + "\" height=\"" + Px(height) + "\" viewBox=\"0 0 " + Px(width) + " " +
         Px(height) + "\" font-family=\"" + kFontFamily + "\">\n<rect x=\"0\" y=\"0\" width=\"" +
         Px(width) + "\" height=\"" + Px(height) + "\" fill=\"#ffffff\"/>\n";
}

void WriteHeader(SvgWriter& svg, const BoringLogModel& model, const BoringLogLayout& layout) {
  if (model.header.empty()) return;
  svg.Out() += "<g class=\"header\">\n";
  for (size_t i = 0; i < model.header.size(); ++i) {
    const HeaderLineBox& box = layout.headerLines[i];
    svg.TextAt(kMargin, box.y, Xml(model.header[i]), box.size, "start",
               i == 0 ? " font-weight=\"bold\"" : "");
  }
  svg.Out() += "</g>\n";
}

void WriteColumnHeads(SvgWriter& svg, const BoringLogLayout& layout) {
  const double headY = layout.bodyTop - 10;
  svg.Out() += "<g class=\"column-heads\" font-weight=\"bold\">\n";
  svg.TextAt(kAxisRight - 4, headY, Xml(u"深度(m)"), 11, "end");
  svg.TextAt(kBandLeft + kBandWidth / 2, headY, Xml(u"地層（名称・コード）"), 12, "middle");
  for (int i = 0; i < kClassColumns; ++i) {
    svg.TextAt(kClassLeft + (i + 0.5) * kClassWidth, headY, Xml(kClassFiles[i]), 11, "middle");
  }
  svg.TextAt(kTestLeft + kTestWidth / 2, headY, Xml(u"試験・試料"), 12, "middle");
  svg.TextAt(kRemarkLeft + kRemarkWidth / 2, headY, Xml(u"記事"), 12, "middle");
  svg.Out() += "</g>\n";
}

void WriteDepthAxis(SvgWriter& svg, const BoringLogLayout& layout) {
  svg.Out() += "<g class=\"depth-axis\">\n";
  svg.Line(kAxisRight, layout.bodyTop, kAxisRight, layout.bodyBottom, "#000000");
  for (const DepthTick& tick : layout.depthTicks) {
    svg.Line(kAxisRight - 5, tick.y, kAxisRight, tick.y, "#000000");
    svg.Line(kBandLeft, tick.y, kWidth - kMargin, tick.y, "#e4e4e4", 0.5);
    svg.TextAt(kAxisRight - 8, tick.y + 4, TickText(tick.depth), 10, "end");
  }
  svg.Out() += "</g>\n";
}

// One band each, with name, code and the bottom's depth.
void WriteLayers(SvgWriter& svg, const BoringLogModel& model, const BoringLogLayout& layout) {
  svg.Out() += "<g class=\"layers\">\n";
  for (size_t i = 0; i < model.layers.size(); ++i) {
    const Layer& layer = model.layers[i];
    const LayerBox& box = layout.layers[i];
    svg.Out() += "<g class=\"layer\" data-top=\"" + Num2(layer.top) + "\" data-bottom=\"" +
                 Num2(layer.bottom) + "\" data-code=\"" + Xml(layer.code) + "\">\n";
    svg.Rect(kBandLeft, box.top, kBandWidth, box.bottom - box.top, FillFor(layer.code), "#333333");
    svg.TextAt(kBandLeft + 6, box.textY, Xml(layer.name), box.size, "start",
               " class=\"layer-name\"");
    svg.TextAt(kBandLeft + kBandWidth - 6, box.textY, Xml(layer.code), box.size * 0.9, "end",
               " class=\"layer-code\" fill=\"#333333\"");
    svg.Line(kLayerDepthLeft, box.bottom, kBandLeft, box.bottom, "#333333", 0.8);
    svg.TextAt(kLayerDepthLeft + 2, box.bottom - 2, Xml(layer.depthText), 10, "start",
               " class=\"layer-depth\"");
    svg.Out() += "</g>\n";
  }
  svg.Out() += "</g>\n";
}

void WriteClasses(SvgWriter& svg, const BoringLogModel& model, const BoringLogLayout& layout) {
  svg.Out() += "<g class=\"classes\">\n";
  for (size_t i = 0; i < model.classes.size(); ++i) {
    const ClassColumn& column = model.classes[i];
    const ClassColumnBox& columnBox = layout.classes[i];
    const double left = columnBox.left;
    svg.Rect(left, layout.bodyTop, kClassWidth, layout.bodyBottom - layout.bodyTop, "none",
             "#999999");
    for (size_t k = 0; k < column.lines.size(); ++k) {
      const ClassLine& line = column.lines[k];
      const CellBox& cell = columnBox.cells[k];
      svg.Out() += "<g class=\"class-cell\" data-file=\"" + Xml(column.file) + "\" data-top=\"" +
                   Num2(cell.topDepth) + "\" data-bottom=\"" + Num2(line.bottom) + "\">\n";
      svg.Rect(left, cell.top, kClassWidth, cell.bottom - cell.top, "#f6f6f0", "#999999");
      svg.TextAt(left + kClassWidth / 2, cell.textY, Xml(line.text), cell.size, "middle");
      svg.Out() += "</g>\n";
    }
  }
  svg.Out() += "</g>\n";
}

// N values against depth: a line through the points, each point labelled with its value.
void WriteNPlot(SvgWriter& svg, const BoringLogModel& model, const BoringLogLayout& layout) {
  svg.Out() += "<g class=\"n-plot\">\n";
  svg.Rect(kPlotLeft, layout.bodyTop, kPlotWidth, layout.bodyBottom - layout.bodyTop, "none",
           "#999999");
  for (const NTick& tick : layout.nTicks) {
    svg.Line(tick.x, layout.bodyTop, tick.x, layout.bodyBottom, tick.n == 0 ? "#999999" : "#dddddd",
             0.5);
    if (tick.labelled) svg.TextAt(tick.x, layout.bodyTop - 2, TickText(tick.n), 9, "middle");
  }
  svg.TextAt(kPlotLeft + kPlotWidth / 2, layout.bodyTop - 13, Xml(u"N 値"), 12, "middle",
             " font-weight=\"bold\"");
  if (!model.nValues.empty()) {
    std::string points;
    for (const PointBox& p : layout.nPoints) points += Px(p.x) + "," + Px(p.y) + " ";
    svg.Out() += "<polyline points=\"" + points + "\" fill=\"none\" stroke=\"#c0392b\" " +
                 "stroke-width=\"1.5\"/>\n";
    for (size_t i = 0; i < model.nValues.size(); ++i) {
      const NPoint& p = model.nValues[i];
      const PointBox& box = layout.nPoints[i];
      svg.Out() += "<circle class=\"n-point\" data-depth=\"" + Num2(p.depth) + "\" data-n=\"" +
                   TickText(p.n) + "\" cx=\"" + Px(box.x) + "\" cy=\"" + Px(box.y) +
                   "\" r=\"3.5\" fill=\"#c0392b\"/>\n";
      svg.TextAt(box.x + (box.beyond ? -6 : 6), box.y + 4, TickText(p.n), 10,
                 box.beyond ? "end" : "start", " fill=\"#c0392b\"");
    }
  }
  svg.Out() += "</g>\n";
}

// Tests and samples: a bar over their interval (a tick when there is no lower end) and a label
// led to it.
void WriteMarks(SvgWriter& svg, const BoringLogModel& model, const BoringLogLayout& layout) {
  svg.Out() += "<g class=\"tests\">\n";
  for (size_t i = 0; i < model.marks.size(); ++i) {
    const Mark& m = model.marks[i];
    const MarkBox& box = layout.marks[i];
    const char* colour = m.sample ? "#d35400" : "#2e6da4";
    svg.Out() += std::string("<g class=\"") + (m.sample ? "sample" : "test") + "\" data-from=\"" +
                 Num2(m.from) + "\" data-to=\"" + (m.to ? Num2(*m.to) : std::string()) + "\">\n";
    if (m.to) {
      svg.Rect(box.lane, box.top, 10, std::max(box.bottom - box.top, 2.0), colour, colour);
    } else {
      svg.Line(box.lane - 2, box.top, box.lane + 12, box.top, colour, 2);
    }
    svg.Line(kTestLeft + 30, (box.top + box.bottom) / 2, kTestLeft + 40, box.labelY, colour, 0.6);
    Text label = m.label + u"  " + Trim(NumText(m.from));
    svg.TextAt(kTestLeft + 42, box.labelY + 4,
               Xml(m.to ? label + u"～" + Trim(NumText(*m.to)) : label), 10.5, "start",
               (std::string(" fill=\"") + colour + "\"").c_str());
    svg.Out() += "</g>\n";
  }
  svg.Out() += "</g>\n";
}

// Remarks: a mark at their depth and their display lines beside it.
void WriteRemarks(SvgWriter& svg, const BoringLogModel& model, const BoringLogLayout& layout) {
  svg.Out() += "<g class=\"remarks\">\n";
  for (size_t i = 0; i < model.remarks.size(); ++i) {
    const Remark& r = model.remarks[i];
    const double y = layout.remarks[i].y;
    const double top = layout.remarks[i].labelTop;
    svg.Out() += "<g class=\"remark\" data-depth=\"" + Num2(r.depth) + "\">\n";
    svg.Out() += "<path d=\"M" + Px(kRemarkLeft) + " " + Px(y - 4) + " L" + Px(kRemarkLeft + 8) +
                 " " + Px(y) + " L" + Px(kRemarkLeft) + " " + Px(y + 4) +
                 " Z\" fill=\"#555555\"/>\n";
    svg.Line(kRemarkLeft + 8, y, kRemarkLeft + 18, top + 6, "#555555", 0.6);
    for (size_t k = 0; k < r.lines.size(); ++k) {
      svg.TextAt(kRemarkLeft + 20, top + 10 + k * kLabelLine, Xml(r.lines[k]), 11);
    }
    svg.Out() += "</g>\n";
  }
  svg.Out() += "</g>\n";
}

}  // namespace

std::string WriteBoringLogSvg(const BoringLogModel& model, const BoringLogLayout& layout) {
  SvgWriter svg;
  WriteHeader(svg, model, layout);
  if (model.layers.empty()) {
    svg.TextAt(kMargin, layout.messageY,
               Xml(u"表示できる柱状図がありません（地層のデータ X1.TXT がありません）。"), 14,
               "start", " class=\"empty\"");
    svg.TextAt(kMargin, layout.folderY, Xml(model.folder), 12, "start", " fill=\"#555555\"");
  } else {
    WriteColumnHeads(svg, layout);
    WriteDepthAxis(svg, layout);
    WriteLayers(svg, model, layout);
    WriteClasses(svg, model, layout);
    WriteNPlot(svg, model, layout);
    WriteMarks(svg, model, layout);
    WriteRemarks(svg, model, layout);
  }
  return Open(layout.width, layout.height) + svg.Out() + "</svg>\n";
}

}  // namespace ostra
