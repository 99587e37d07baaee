#include "preview/boring_log_writer.h"

#include <algorithm>

#include "preview/boring_log_draw.h"
#include "preview/fill_patterns.h"
#include "preview/svg_format.h"

namespace ostra {

namespace {

using svg::Px;
using svg::Xml;

// Fonts that show Japanese on Linux and on Windows, then the generic family.
constexpr const char* kFontFamily =
    "'Noto Sans CJK JP', 'Noto Sans JP', 'IPAGothic', 'IPAexGothic', 'Yu Gothic', 'Meiryo', "
    "'MS Gothic', sans-serif";

const char* AnchorName(Anchor anchor) {
  switch (anchor) {
    case Anchor::kMiddle:
      return "middle";
    case Anchor::kEnd:
      return "end";
    case Anchor::kStart:
      break;
  }
  return "start";
}

std::string Points(const std::vector<Point>& points) {
  std::string out;
  for (const Point& p : points) out += Px(p.x) + "," + Px(p.y) + " ";
  if (!out.empty()) out.pop_back();
  return out;
}

// The picture as SVG elements; groups carry their class and data attributes.
class SvgCanvas : public Canvas {
 public:
  std::string& Out() { return out_; }

  void BeginGroup(const char* cls, const std::vector<std::pair<const char*, Text>>& data) override {
    out_ += std::string("<g class=\"") + cls + "\"";
    for (const auto& [name, value] : data)
      out_ += std::string(" ") + name + "=\"" + Xml(value) + "\"";
    out_ += ">\n";
  }
  void EndGroup() override { out_ += "</g>\n"; }
  void Rect(double x, double y, double w, double h, const std::string& fill, const char* stroke,
            double strokeWidth) override {
    out_ += "<rect x=\"" + Px(x) + "\" y=\"" + Px(y) + "\" width=\"" + Px(w) + "\" height=\"" +
            Px(std::max(h, 0.0)) + "\" fill=\"" + fill + "\" stroke=\"" + stroke + "\"";
    if (strokeWidth != 1) out_ += " stroke-width=\"" + Px(strokeWidth) + "\"";
    out_ += "/>\n";
  }
  void Patterns(double x, double y, double w, double h, PatternSet patterns) override {
    for (const PatternInfo& p : AllPatterns()) {
      if ((patterns & p.bit) == 0) continue;
      out_ += "<rect class=\"pattern-" + std::string(p.id) + "\" x=\"" + Px(x) + "\" y=\"" + Px(y) +
              "\" width=\"" + Px(w) + "\" height=\"" + Px(std::max(h, 0.0)) +
              "\" fill=\"url(#pat-" + p.id + ")\" stroke=\"none\"/>\n";
    }
  }
  void Line(double x1, double y1, double x2, double y2, const char* stroke, double width) override {
    out_ += "<line x1=\"" + Px(x1) + "\" y1=\"" + Px(y1) + "\" x2=\"" + Px(x2) + "\" y2=\"" +
            Px(y2) + "\" stroke=\"" + stroke + "\" stroke-width=\"" + Px(width) + "\"/>\n";
  }
  void Polyline(const std::vector<Point>& points, const char* stroke, double width) override {
    out_ += "<polyline points=\"" + Points(points) + "\" fill=\"none\" stroke=\"" + stroke +
            "\" stroke-width=\"" + Px(width) + "\"/>\n";
  }
  void Polygon(const std::vector<Point>& points, const char* fill) override {
    out_ += "<polygon points=\"" + Points(points) + "\" fill=\"" + fill + "\"/>\n";
  }
  void Circle(double cx, double cy, double r, const char* fill) override {
    out_ += "<circle cx=\"" + Px(cx) + "\" cy=\"" + Px(cy) + "\" r=\"" + Px(r) + "\" fill=\"" +
            fill + "\"/>\n";
  }
  void Write(double x, double y, TextView text, const TextStyle& style) override {
    out_ += "<text x=\"" + Px(x) + "\" y=\"" + Px(y) + "\" font-size=\"" + Px(style.size) + "\"";
    if (style.anchor != Anchor::kStart)
      out_ += std::string(" text-anchor=\"") + AnchorName(style.anchor) + "\"";
    if (std::string(style.colour) != "#000000")
      out_ += std::string(" fill=\"") + style.colour + "\"";
    if (style.bold) out_ += " font-weight=\"bold\"";
    out_ += ">" + Xml(text) + "</text>\n";
  }
  void PushClip(double dx, double dy, double x, double y, double w, double h) override {
    const std::string id = "clip" + std::to_string(++clips_);
    out_ += "<g transform=\"translate(" + Px(dx) + "," + Px(dy) + ")\"><clipPath id=\"" + id +
            "\"><rect x=\"" + Px(x) + "\" y=\"" + Px(y) + "\" width=\"" + Px(w) + "\" height=\"" +
            Px(h) + "\"/></clipPath><g clip-path=\"url(#" + id + ")\">\n";
  }
  void PopClip() override { out_ += "</g></g>\n"; }

 private:
  std::string out_;
  int clips_ = 0;
};

// One <pattern> for each fill pattern, from its tile.
std::string PatternDefinitions(PatternSet used) {
  std::string out = "<defs>\n";
  for (const PatternInfo& p : AllPatterns()) {
    if ((used & p.bit) == 0) continue;
    const PatternTile tile = TileOf(p.bit);
    out += "<pattern id=\"pat-" + std::string(p.id) +
           "\" patternUnits=\"userSpaceOnUse\" width=\"" + Px(tile.size) + "\" height=\"" +
           Px(tile.size) + "\">";
    for (const TileMark& m : tile.marks) {
      switch (m.kind) {
        case TileMark::kDot:
          out += "<circle cx=\"" + Px(m.x1) + "\" cy=\"" + Px(m.y1) + "\" r=\"" + Px(m.x2) +
                 "\" fill=\"#000000\"/>";
          break;
        case TileMark::kRing:
          out += "<circle cx=\"" + Px(m.x1) + "\" cy=\"" + Px(m.y1) + "\" r=\"" + Px(m.x2) +
                 "\" fill=\"none\" stroke=\"#000000\" stroke-width=\"0.7\"/>";
          break;
        case TileMark::kLine:
          out += "<line x1=\"" + Px(m.x1) + "\" y1=\"" + Px(m.y1) + "\" x2=\"" + Px(m.x2) +
                 "\" y2=\"" + Px(m.y2) + "\" stroke=\"#000000\" stroke-width=\"0.7\"/>";
          break;
      }
    }
    out += "</pattern>\n";
  }
  return out + "</defs>\n";
}

}  // namespace

std::string WriteBoringLogSvg(const BoringLogModel& model, const BoringLogLayout& layout) {
  SvgCanvas canvas;
  DrawBoringLog(canvas, model, layout);
  PatternSet used = 0;
  for (const LayerBox& box : layout.layers) used |= box.patterns;
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" xml:space=\"preserve\" "
         "width=\"" +
         Px(layout.width) + "\" height=\"" + Px(layout.height) + "\" viewBox=\"0 0 " +
         Px(layout.width) + " " + Px(layout.height) + "\" font-family=\"" + kFontFamily + "\">\n" +
         PatternDefinitions(used) + canvas.Out() + "</svg>\n";
}

}  // namespace ostra
