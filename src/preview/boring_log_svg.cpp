#include "preview/boring_log_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <utility>
#include <vector>

#include "base/errors.h"
#include "base/numbers.h"
#include "base/sjis.h"
#include "env/files.h"
#include "formats/section_file.h"

namespace ostra {

namespace {

// Fonts that show Japanese on Linux and on Windows, then the generic family.
constexpr const char* kFontFamily =
    "'Noto Sans CJK JP', 'Noto Sans JP', 'IPAGothic', 'IPAexGothic', 'Yu Gothic', 'Meiryo', "
    "'MS Gothic', sans-serif";

// Geometry of the picture, in pixels.
constexpr double kMargin = 16;
constexpr double kAxisRight = 70;       // the depth axis line
constexpr double kLayerDepthLeft = 74;  // the depth texts of the layer bottoms
constexpr double kBandLeft = 122;
constexpr double kBandWidth = 230;
constexpr double kClassLeft = 362;
constexpr double kClassWidth = 64;
constexpr int kClassColumns = 6;  // X3.TXT and R31.TXT to R35.TXT
constexpr double kPlotLeft = kClassLeft + kClassColumns * kClassWidth + 16;
constexpr double kPlotWidth = 200;
constexpr double kTestLeft = kPlotLeft + kPlotWidth + 16;
constexpr double kTestWidth = 220;
constexpr double kRemarkLeft = kTestLeft + kTestWidth + 12;
constexpr double kRemarkWidth = 290;
constexpr double kWidth = kRemarkLeft + kRemarkWidth + kMargin;
constexpr double kBodyHeight = 760;  // the depth axis aims at this height
constexpr double kColumnHeadHeight = 34;
constexpr double kLabelLine = 14;  // one line of a mark's label
constexpr double kNAxisCap = 100;  // N values beyond it sit at the plot's right edge

using Row = std::vector<Text>;

struct Layer {
  double top = 0;
  double bottom = 0;
  Text depthText;
  Text code;
  Text name;
};

struct ClassCell {
  double top = 0;
  double bottom = 0;
  Text text;
};

struct ClassColumn {
  Text file;
  std::vector<ClassCell> cells;
};

struct NPoint {
  double depth = 0;
  double n = 0;
};

// A test (X7.txt) or a sample (N6.TMP): an interval with a label.
struct Mark {
  bool sample = false;
  double from = 0;
  std::optional<double> to;
  Text label;
};

struct Remark {
  double depth = 0;
  std::vector<Text> lines;
};

// ---- reading the output files ----

Text WithSeparator(const Text& folder) {
  if (!folder.empty() && folder.back() != u'\\') return folder + u'\\';
  return folder;
}

// Each non-blank line of a file as its comma fields. Nothing when the file is missing or
// cannot be read.
std::vector<Row> ReadRows(const Text& path) {
  std::vector<Row> rows;
  if (!FileExists(path)) return rows;
  try {
    for (const Text& line : ReadFileLines(path)) {
      if (Trim(line).empty()) continue;
      FieldReader reader(line, path);
      Row row;
      while (!reader.AtEnd()) row.push_back(reader.ReadText());
      rows.push_back(std::move(row));
    }
  } catch (const RunError&) {
    rows.clear();
  }
  return rows;
}

// Whole lines of a file; nothing when it is missing or cannot be read.
std::vector<Text> ReadLines(const Text& path) {
  if (!FileExists(path)) return {};
  try {
    return ReadFileLines(path);
  } catch (const RunError&) {
    return {};
  }
}

// Field n (1-based) of a row, empty when the row is shorter.
Text Field(const Row& row, size_t n) {
  return n >= 1 && n <= row.size() ? row[n - 1] : Text();
}

// Line n (1-based) of a file's lines, trimmed.
Text LineAt(const std::vector<Text>& lines, size_t n) {
  return n >= 1 && n <= lines.size() ? Trim(lines[n - 1]) : Text();
}

bool IsBlankChar(char16_t c) {
  return c == u' ' || c == u'\u3000' || c == u'\t';
}

// Without half-width and full-width blanks at both ends.
Text TrimBlanks(TextView text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlankChar(text[begin])) ++begin;
  while (end > begin && IsBlankChar(text[end - 1])) --end;
  return Text(text.substr(begin, end - begin));
}

std::optional<double> Depth(const Text& text) {
  return ReadNumber(NarrowNumerals(text));
}

std::vector<Layer> ReadLayers(const Text& folder) {
  std::vector<Layer> layers;
  double top = 0;
  for (const Row& row : ReadRows(folder + u"X1.TXT")) {
    std::optional<double> bottom = Depth(Field(row, 2));
    if (!bottom) continue;
    Layer layer;
    layer.top = top;
    layer.bottom = *bottom;
    layer.depthText = Trim(Field(row, 2));
    layer.code = Trim(Field(row, 3));
    layer.name = TrimBlanks(Field(row, 4));
    layers.push_back(std::move(layer));
    top = *bottom;
  }
  return layers;
}

// Layer boundaries in ascending order, to find the top of the layer a class line belongs to.
std::vector<double> Boundaries(const std::vector<Layer>& layers) {
  std::vector<double> bottoms;
  for (const Layer& layer : layers) bottoms.push_back(layer.bottom);
  std::sort(bottoms.begin(), bottoms.end());
  return bottoms;
}

// The top of the layer that ends at `bottom`: the deepest layer boundary above it, else 0.
double TopFor(const std::vector<double>& boundaries, double bottom) {
  auto above = std::lower_bound(boundaries.begin(), boundaries.end(), bottom);
  return above == boundaries.begin() ? 0.0 : std::max(*(above - 1), 0.0);
}

// A range "part 1～part 2" as the class files give it in fields 4 and 6.
Text RangeText(const Row& row) {
  Text first = TrimBlanks(Field(row, 4));
  Text second = TrimBlanks(Field(row, 6));
  if (second.empty()) return first;
  return first + u"～" + second;
}

std::vector<ClassColumn> ReadClassColumns(const Text& folder, const std::vector<Layer>& layers) {
  static const char16_t* const kFiles[kClassColumns] = {u"X3.TXT",  u"R31.TXT", u"R32.TXT",
                                                        u"R33.TXT", u"R34.TXT", u"R35.TXT"};
  const std::vector<double> boundaries = Boundaries(layers);
  std::vector<ClassColumn> columns;
  for (const char16_t* file : kFiles) {
    ClassColumn column;
    column.file = file;
    for (const Row& row : ReadRows(folder + file)) {
      std::optional<double> bottom = Depth(Field(row, 2));
      Text text = RangeText(row);
      if (!bottom || text.empty()) continue;
      column.cells.push_back({TopFor(boundaries, *bottom), *bottom, std::move(text)});
    }
    columns.push_back(std::move(column));
  }
  return columns;
}

std::vector<NPoint> ReadNValues(const Text& folder) {
  std::vector<NPoint> points;
  for (const Row& row : ReadRows(folder + u"X5.TXT")) {
    std::optional<double> depth = Depth(Field(row, 2));
    std::optional<double> n = ReadNumber(Field(row, 4));
    if (depth && n) points.push_back({*depth, *n});
  }
  std::stable_sort(points.begin(), points.end(),
                   [](const NPoint& a, const NPoint& b) { return a.depth < b.depth; });
  return points;
}

// Kinds of sample by the position of "1" in the flags of an N6.TMP line.
Text SampleKind(const Text& flags) {
  static const std::pair<size_t, const char16_t*> kKinds[] = {
      {1, u"物理"}, {2, u"一軸"}, {3, u"三軸"}, {4, u"圧密"}, {7, u"特殊"}, {8, u"動的"}};
  size_t at = flags.find(u'1');
  for (const auto& [position, name] : kKinds) {
    if (at != Text::npos && at + 1 == position) return name;
  }
  return u"試料";
}

std::vector<Mark> ReadMarks(const Text& folder) {
  std::vector<Mark> marks;
  // X7.txt: fields 5 and 6 from and to (to 0: none), the kind's name twice in fields 29 to 48.
  for (const Row& row : ReadRows(folder + u"X7.txt")) {
    std::optional<double> from = Depth(Field(row, 5));
    if (!from) continue;
    Mark mark;
    mark.from = *from;
    std::optional<double> to = Depth(Field(row, 6));
    if (to && *to != 0) mark.to = *to;
    for (size_t f = 29; f <= 48 && mark.label.empty(); ++f) mark.label = TrimBlanks(Field(row, f));
    if (mark.label.empty()) mark.label = u"試験";
    marks.push_back(std::move(mark));
  }
  // N6.TMP: field 2 the detail, fields 4 and 5 from and to, field 8 the kind flags.
  for (const Row& row : ReadRows(folder + u"N6.TMP")) {
    std::optional<double> from = Depth(Field(row, 4));
    if (!from) continue;
    Mark mark;
    mark.sample = true;
    mark.from = *from;
    std::optional<double> to = Depth(Field(row, 5));
    if (to && *to != 0) mark.to = *to;
    mark.label = SampleKind(Trim(Field(row, 8)));
    Text detail = TrimBlanks(Field(row, 2));
    if (!detail.empty()) mark.label += u" " + detail;
    marks.push_back(std::move(mark));
  }
  std::stable_sort(marks.begin(), marks.end(),
                   [](const Mark& a, const Mark& b) { return a.from < b.from; });
  return marks;
}

// X12.TXT: record number, depth, the remark as display lines of 30 bytes each.
std::vector<Remark> ReadRemarks(const Text& folder) {
  std::vector<Remark> remarks;
  for (const Row& row : ReadRows(folder + u"X12.TXT")) {
    std::optional<double> depth = Depth(Field(row, 2));
    if (!depth) continue;
    Remark remark;
    remark.depth = *depth;
    const Text text = Field(row, 3);
    const int bytes = ByteLen(text);
    for (int start = 1; start <= bytes; start += 30) {
      Text line = TrimBlanks(ByteMid(text, start, 30));
      if (!line.empty()) remark.lines.push_back(std::move(line));
    }
    if (!remark.lines.empty()) remarks.push_back(std::move(remark));
  }
  std::stable_sort(remarks.begin(), remarks.end(),
                   [](const Remark& a, const Remark& b) { return a.depth < b.depth; });
  return remarks;
}

// The header lines: survey name, names of the site and the boring, dates, place, position and
// grid-square code, from the title files.
std::vector<Text> HeaderLines(const Text& folder) {
  std::vector<Text> header;
  std::vector<Text> t1 = ReadLines(folder + u"Titl01.txt");
  std::vector<Text> t2 = ReadLines(folder + u"Titl02.txt");
  if (t1.empty() && t2.empty()) return header;

  header.push_back(LineAt(t1, 1));
  Text names = LineAt(t1, 2);
  if (!LineAt(t1, 10).empty()) {
    if (!names.empty()) names += u"　";
    names += u"孔名：" + LineAt(t1, 10);
  }
  header.push_back(names);

  auto date = [&t1](size_t first) {
    Text y = LineAt(t1, first), m = LineAt(t1, first + 1), d = LineAt(t1, first + 2);
    if (y.empty() && m.empty() && d.empty()) return Text();
    return y + u"年" + m + u"月" + d + u"日";
  };
  Text from = date(4), to = date(7);
  Text line;
  if (!from.empty() || !to.empty()) line = u"調査期間：" + from + u" ～ " + to;
  if (!LineAt(t1, 17).empty()) {
    if (!line.empty()) line += u"　　";
    line += u"所在地：" + LineAt(t1, 17);
  }
  header.push_back(line);

  auto angle = [&t1](size_t first) {
    Text d = LineAt(t1, first), m = LineAt(t1, first + 1), s = LineAt(t1, first + 2);
    if (d.empty() && m.empty() && s.empty()) return Text();
    return d + u"°" + m + u"′" + s + u"″";
  };
  line.clear();
  Text lat = angle(11), lon = angle(14);
  if (!lat.empty()) line += u"北緯 " + lat;
  if (!lon.empty()) line += (line.empty() ? u"" : u"　") + Text(u"東経 ") + lon;
  if (!LineAt(t2, 40).empty()) {
    if (!line.empty()) line += u"　　";
    line += u"メッシュコード：" + LineAt(t2, 40);
  }
  header.push_back(line);

  header.erase(
      std::remove_if(header.begin(), header.end(), [](const Text& t) { return t.empty(); }),
      header.end());
  return header;
}

// ---- writing SVG ----

// XML text with &, <, >, " and ' escaped; characters that XML does not allow are dropped.
std::string Xml(TextView text) {
  Text clean;
  clean.reserve(text.size());
  for (char16_t c : text) {
    if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') continue;
    if (c == 0xFFFE || c == 0xFFFF) continue;
    clean.push_back(c);
  }
  std::string utf8 = ToUtf8(clean);
  std::string out;
  out.reserve(utf8.size());
  for (char c : utf8) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

// A coordinate with one decimal.
std::string Px(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.1f", v);
  return buffer;
}

// A depth or value with two decimals, as in the data attributes.
std::string Num2(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.2f", v);
  return buffer;
}

// A tick label: whole numbers without decimals.
std::string TickText(double v) {
  char buffer[32];
  if (std::fabs(v - std::round(v)) < 1e-9) {
    std::snprintf(buffer, sizeof buffer, "%.0f", v);
  } else {
    std::snprintf(buffer, sizeof buffer, "%g", v);
  }
  return buffer;
}

// A pale fill that stays the same for a soil code and differs between codes.
std::string FillFor(const Text& code) {
  std::uint32_t hash = 2166136261u;
  for (char16_t c : code) {
    hash ^= c;
    hash *= 16777619u;
  }
  hash ^= hash >> 15;
  hash *= 0x2c1b3c6du;
  hash ^= hash >> 12;
  const double h = (hash % 360) / 60.0;
  const double s = 0.50 + (hash / 360 % 3) * 0.12;
  const double l = 0.80 - (hash / 1080 % 3) * 0.06;
  const double c = (1 - std::fabs(2 * l - 1)) * s;
  const double x = c * (1 - std::fabs(std::fmod(h, 2.0) - 1));
  double r = 0, g = 0, b = 0;
  switch (static_cast<int>(h)) {
    case 0:
      r = c, g = x;
      break;
    case 1:
      r = x, g = c;
      break;
    case 2:
      g = c, b = x;
      break;
    case 3:
      g = x, b = c;
      break;
    case 4:
      r = x, b = c;
      break;
    default:
      r = c, b = x;
      break;
  }
  const double m = l - c / 2;
  auto channel = [m](double v) { return static_cast<int>(std::lround((v + m) * 255)); };
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", channel(r), channel(g), channel(b));
  return buffer;
}

// Positions of labels wanted at `wanted` (sorted), pushed down so that none overlaps the one
// before it; each label is `heights[i]` high.
std::vector<double> SpreadLabels(const std::vector<double>& wanted,
                                 const std::vector<double>& heights, double gap) {
  std::vector<double> placed;
  double next = -1e9;
  for (size_t i = 0; i < wanted.size(); ++i) {
    double y = std::max(wanted[i], next);
    placed.push_back(y);
    next = y + heights[i] + gap;
  }
  return placed;
}

// The font size, at most `size`, at which `text` fits into `width` (full-width characters take
// one em, the others a little over half of one).
double FitSize(TextView text, double size, double width) {
  double ems = 0;
  for (char16_t c : text) ems += CharByteWidth(c) == 2 ? 1.0 : 0.58;
  return ems * size <= width ? size : std::max(width / ems, 5.0);
}

// A step of the depth axis that gives at most about 15 labelled ticks.
double TickStep(double span, double maxTicks) {
  static const double kSteps[] = {0.5, 1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000};
  for (double step : kSteps) {
    if (span / step <= maxTicks) return step;
  }
  return 10000;
}

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

// Writes the header lines from the top; returns the height they take.
double DrawHeader(SvgWriter& svg, const std::vector<Text>& header) {
  double y = kMargin;
  if (header.empty()) return y;
  svg.Out() += "<g class=\"header\">\n";
  for (size_t i = 0; i < header.size(); ++i) {
    double size = i == 0 ? 20 : 13;
    y += size + 6;
    svg.TextAt(kMargin, y, Xml(header[i]), size, "start", i == 0 ? " font-weight=\"bold\"" : "");
  }
  svg.Out() += "</g>\n";
  return y + 10;
}

}  // namespace

std::string RenderBoringLogSvg(const Text& destFolder) {
  const Text folder = WithSeparator(destFolder);
  const std::vector<Text> header = HeaderLines(folder);
  const std::vector<Layer> layers = ReadLayers(folder);

  if (layers.empty()) {
    SvgWriter svg;
    double top = DrawHeader(svg, header);
    svg.TextAt(kMargin, top + 30,
               Xml(u"表示できる柱状図がありません（地層のデータ X1.TXT がありません）。"), 14,
               "start", " class=\"empty\"");
    svg.TextAt(kMargin, top + 52, Xml(folder), 12, "start", " fill=\"#555555\"");
    return Open(720, top + 72) + svg.Out() + "</svg>\n";
  }

  const std::vector<ClassColumn> classes = ReadClassColumns(folder, layers);
  const std::vector<NPoint> nValues = ReadNValues(folder);
  const std::vector<Mark> marks = ReadMarks(folder);
  const std::vector<Remark> remarks = ReadRemarks(folder);

  // The depth scale covers everything drawn, down to a whole tick.
  double deepest = 0;
  for (const Layer& layer : layers) deepest = std::max(deepest, layer.bottom);
  for (const NPoint& p : nValues) deepest = std::max(deepest, p.depth);
  for (const Mark& m : marks) deepest = std::max(deepest, m.to.value_or(m.from));
  for (const Remark& r : remarks) deepest = std::max(deepest, r.depth);
  if (deepest <= 0) deepest = 1;
  const double step = TickStep(deepest, 15);
  const double axisDepth = std::ceil(deepest / step - 1e-9) * step;
  const double pxPerMetre = std::clamp(kBodyHeight / axisDepth, 0.5, 60.0);

  SvgWriter svg;
  const double headTop = DrawHeader(svg, header);
  const double bodyTop = headTop + kColumnHeadHeight;
  const double bodyBottom = bodyTop + axisDepth * pxPerMetre;
  auto DepthY = [&](double depth) { return bodyTop + std::max(depth, 0.0) * pxPerMetre; };
  double pictureBottom = bodyBottom;

  // Column heads.
  const double headY = bodyTop - 10;
  svg.Out() += "<g class=\"column-heads\" font-weight=\"bold\">\n";
  svg.TextAt(kAxisRight - 4, headY, Xml(u"深度(m)"), 11, "end");
  svg.TextAt(kBandLeft + kBandWidth / 2, headY, Xml(u"地層（名称・コード）"), 12, "middle");
  for (int i = 0; i < kClassColumns; ++i) {
    svg.TextAt(kClassLeft + (i + 0.5) * kClassWidth, headY, Xml(classes[i].file), 11, "middle");
  }
  svg.TextAt(kTestLeft + kTestWidth / 2, headY, Xml(u"試験・試料"), 12, "middle");
  svg.TextAt(kRemarkLeft + kRemarkWidth / 2, headY, Xml(u"記事"), 12, "middle");
  svg.Out() += "</g>\n";

  // Depth axis.
  svg.Out() += "<g class=\"depth-axis\">\n";
  svg.Line(kAxisRight, bodyTop, kAxisRight, bodyBottom, "#000000");
  for (double d = 0; d <= axisDepth + 1e-9; d += step) {
    svg.Line(kAxisRight - 5, DepthY(d), kAxisRight, DepthY(d), "#000000");
    svg.Line(kBandLeft, DepthY(d), kWidth - kMargin, DepthY(d), "#e4e4e4", 0.5);
    svg.TextAt(kAxisRight - 8, DepthY(d) + 4, TickText(d), 10, "end");
  }
  svg.Out() += "</g>\n";

  // Layers: one band each.
  svg.Out() += "<g class=\"layers\">\n";
  for (const Layer& layer : layers) {
    const double top = DepthY(layer.top), bottom = DepthY(layer.bottom);
    const double height = bottom - top;
    svg.Out() += "<g class=\"layer\" data-top=\"" + Num2(layer.top) + "\" data-bottom=\"" +
                 Num2(layer.bottom) + "\" data-code=\"" + Xml(layer.code) + "\">\n";
    svg.Rect(kBandLeft, top, kBandWidth, height, FillFor(layer.code), "#333333");
    const double size = FitSize(layer.name + u"　" + layer.code,
                                std::clamp(height * 0.7, 6.0, 13.0), kBandWidth - 16);
    const double mid = (top + bottom) / 2 + size * 0.35;
    svg.TextAt(kBandLeft + 6, mid, Xml(layer.name), size, "start", " class=\"layer-name\"");
    svg.TextAt(kBandLeft + kBandWidth - 6, mid, Xml(layer.code), size * 0.9, "end",
               " class=\"layer-code\" fill=\"#333333\"");
    svg.Line(kLayerDepthLeft, bottom, kBandLeft, bottom, "#333333", 0.8);
    svg.TextAt(kLayerDepthLeft + 2, bottom - 2, Xml(layer.depthText), 10, "start",
               " class=\"layer-depth\"");
    svg.Out() += "</g>\n";
  }
  svg.Out() += "</g>\n";

  // Class columns.
  svg.Out() += "<g class=\"classes\">\n";
  for (int i = 0; i < kClassColumns; ++i) {
    const double left = kClassLeft + i * kClassWidth;
    svg.Rect(left, bodyTop, kClassWidth, bodyBottom - bodyTop, "none", "#999999");
    for (const ClassCell& cell : classes[i].cells) {
      const double top = DepthY(cell.top), bottom = DepthY(cell.bottom);
      svg.Out() += "<g class=\"class-cell\" data-file=\"" + Xml(classes[i].file) +
                   "\" data-top=\"" + Num2(cell.top) + "\" data-bottom=\"" + Num2(cell.bottom) +
                   "\">\n";
      svg.Rect(left, top, kClassWidth, bottom - top, "#f6f6f0", "#999999");
      const double size =
          FitSize(cell.text, std::clamp((bottom - top) * 0.6, 6.0, 11.0), kClassWidth - 6);
      svg.TextAt(left + kClassWidth / 2, (top + bottom) / 2 + size * 0.35, Xml(cell.text), size,
                 "middle");
      svg.Out() += "</g>\n";
    }
  }
  svg.Out() += "</g>\n";

  // N values against depth.
  double nMax = 50;
  for (const NPoint& p : nValues) nMax = std::max(nMax, std::ceil(p.n / 50) * 50);
  nMax = std::min(nMax, kNAxisCap);
  auto NX = [&](double n) { return kPlotLeft + std::clamp(n, 0.0, nMax) / nMax * kPlotWidth; };
  svg.Out() += "<g class=\"n-plot\">\n";
  svg.Rect(kPlotLeft, bodyTop, kPlotWidth, bodyBottom - bodyTop, "none", "#999999");
  for (double n = 0; n <= nMax + 1e-9; n += 10) {
    svg.Line(NX(n), bodyTop, NX(n), bodyBottom, n == 0 ? "#999999" : "#dddddd", 0.5);
    if (static_cast<int>(n) % (nMax > 50 ? 20 : 10) == 0) {
      svg.TextAt(NX(n), bodyTop - 2, TickText(n), 9, "middle");
    }
  }
  svg.TextAt(kPlotLeft + kPlotWidth / 2, bodyTop - 13, Xml(u"N 値"), 12, "middle",
             " font-weight=\"bold\"");
  if (!nValues.empty()) {
    std::string points;
    for (const NPoint& p : nValues) points += Px(NX(p.n)) + "," + Px(DepthY(p.depth)) + " ";
    svg.Out() += "<polyline points=\"" + points + "\" fill=\"none\" stroke=\"#c0392b\" " +
                 "stroke-width=\"1.5\"/>\n";
    for (const NPoint& p : nValues) {
      svg.Out() += "<circle class=\"n-point\" data-depth=\"" + Num2(p.depth) + "\" data-n=\"" +
                   TickText(p.n) + "\" cx=\"" + Px(NX(p.n)) + "\" cy=\"" + Px(DepthY(p.depth)) +
                   "\" r=\"3.5\" fill=\"#c0392b\"/>\n";
      const bool beyond = p.n > nMax;
      svg.TextAt(NX(p.n) + (beyond ? -6 : 6), DepthY(p.depth) + 4, TickText(p.n), 10,
                 beyond ? "end" : "start", " fill=\"#c0392b\"");
    }
  }
  svg.Out() += "</g>\n";

  // Tests and samples: a bar over their interval (a tick when there is no lower end) and a
  // label led to it.
  svg.Out() += "<g class=\"tests\">\n";
  {
    std::vector<double> wanted, heights;
    for (const Mark& m : marks) {
      wanted.push_back(DepthY(m.from) - kLabelLine / 2);
      heights.push_back(kLabelLine);
    }
    const std::vector<double> placed = SpreadLabels(wanted, heights, 1);
    for (size_t i = 0; i < marks.size(); ++i) {
      const Mark& m = marks[i];
      const char* colour = m.sample ? "#d35400" : "#2e6da4";
      const double lane = kTestLeft + (m.sample ? 16 : 2);
      const double top = DepthY(m.from), bottom = m.to ? DepthY(*m.to) : top;
      svg.Out() += std::string("<g class=\"") + (m.sample ? "sample" : "test") + "\" data-from=\"" +
                   Num2(m.from) + "\" data-to=\"" + (m.to ? Num2(*m.to) : std::string()) + "\">\n";
      if (m.to) {
        svg.Rect(lane, top, 10, std::max(bottom - top, 2.0), colour, colour);
      } else {
        svg.Line(lane - 2, top, lane + 12, top, colour, 2);
      }
      const double labelY = placed[i] + kLabelLine / 2;
      svg.Line(kTestLeft + 30, (top + bottom) / 2, kTestLeft + 40, labelY, colour, 0.6);
      Text label = m.label + u"  " + Trim(NumText(m.from));
      svg.TextAt(kTestLeft + 42, labelY + 4,
                 Xml(m.to ? label + u"～" + Trim(NumText(*m.to)) : label), 10.5, "start",
                 (std::string(" fill=\"") + colour + "\"").c_str());
      svg.Out() += "</g>\n";
      pictureBottom = std::max(pictureBottom, placed[i] + kLabelLine);
    }
  }
  svg.Out() += "</g>\n";

  // Remarks: a mark at their depth and their display lines beside it.
  svg.Out() += "<g class=\"remarks\">\n";
  {
    std::vector<double> wanted, heights;
    for (const Remark& r : remarks) {
      wanted.push_back(DepthY(r.depth) - 4);
      heights.push_back(kLabelLine * r.lines.size());
    }
    const std::vector<double> placed = SpreadLabels(wanted, heights, 4);
    for (size_t i = 0; i < remarks.size(); ++i) {
      const Remark& r = remarks[i];
      const double y = DepthY(r.depth);
      svg.Out() += "<g class=\"remark\" data-depth=\"" + Num2(r.depth) + "\">\n";
      svg.Out() += "<path d=\"M" + Px(kRemarkLeft) + " " + Px(y - 4) + " L" + Px(kRemarkLeft + 8) +
                   " " + Px(y) + " L" + Px(kRemarkLeft) + " " + Px(y + 4) +
                   " Z\" fill=\"#555555\"/>\n";
      svg.Line(kRemarkLeft + 8, y, kRemarkLeft + 18, placed[i] + 6, "#555555", 0.6);
      for (size_t k = 0; k < r.lines.size(); ++k) {
        svg.TextAt(kRemarkLeft + 20, placed[i] + 10 + k * kLabelLine, Xml(r.lines[k]), 11);
      }
      svg.Out() += "</g>\n";
      pictureBottom = std::max(pictureBottom, placed[i] + heights[i]);
    }
  }
  svg.Out() += "</g>\n";

  return Open(kWidth, pictureBottom + kMargin + 8) + svg.Out() + "</svg>\n";
}

}  // namespace ostra
