#include "preview/boring_log_model.h"

#include <algorithm>
#include <utility>

#include "base/errors.h"
#include "base/numbers.h"
#include "base/sjis.h"
#include "env/files.h"
#include "formats/section_file.h"

namespace ostra {

const char16_t* const kClassFiles[kClassColumns] = {u"X3.TXT",  u"R31.TXT", u"R32.TXT",
                                                    u"R33.TXT", u"R34.TXT", u"R35.TXT"};

namespace {

using Row = std::vector<Text>;

// The only file access of the picture: whole lines of a file; nothing when it is missing or
// cannot be read.
std::vector<Text> ReadLines(Env& env, const Text& path) {
  try {
    if (!env.FileExists(path)) return {};
    return ReadFileLines(env, path);
  } catch (const RunError&) {
    return {};
  }
}

// Each non-blank line of a file as its comma fields, by the field rules of the section files
// and tables (a line at a time: an output file holds one record per line). Nothing when the file is
// missing or cannot be read.
std::vector<Row> ReadRows(Env& env, const Text& path) {
  std::vector<Row> rows;
  const std::vector<Text> lines = ReadLines(env, path);
  rows.reserve(lines.size());
  for (const Text& line : lines) {
    if (Trim(line).empty()) continue;
    rows.push_back(LineFields(line));
  }
  return rows;
}

Text WithSeparator(const Text& folder) {
  if (!folder.empty() && folder.back() != u'\\') return folder + u'\\';
  return folder;
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
  return ReadNumber(text);
}

std::vector<Layer> ReadLayers(Env& env, const Text& folder) {
  std::vector<Layer> layers;
  double top = 0;
  for (const Row& row : ReadRows(env, folder + u"X1.TXT")) {
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

// A range "first～second" as the class files give it in fields 4 and 6.
Text RangeText(const Row& row) {
  Text first = TrimBlanks(Field(row, 4));
  Text second = TrimBlanks(Field(row, 6));
  if (second.empty()) return first;
  return first + u"～" + second;
}

std::vector<ClassColumn> ReadClassColumns(Env& env, const Text& folder) {
  std::vector<ClassColumn> columns;
  for (const char16_t* file : kClassFiles) {
    ClassColumn column;
    column.file = file;
    for (const Row& row : ReadRows(env, folder + file)) {
      std::optional<double> bottom = Depth(Field(row, 2));
      Text text = RangeText(row);
      if (!bottom || text.empty()) continue;
      column.lines.push_back({*bottom, std::move(text)});
    }
    columns.push_back(std::move(column));
  }
  return columns;
}

std::vector<NPoint> ReadNValues(Env& env, const Text& folder) {
  std::vector<NPoint> points;
  for (const Row& row : ReadRows(env, folder + u"X5.TXT")) {
    std::optional<double> depth = Depth(Field(row, 2));
    std::optional<double> n = ReadNumber(Field(row, 4));
    if (!depth || !n) continue;
    // Fields 3 and 5: the blows and the penetration they took (cm).
    Text recorded = Trim(Field(row, 3));
    const Text length = Trim(Field(row, 5));
    if (recorded.empty()) recorded = Trim(Field(row, 4));
    if (!length.empty() && length != u"30" && length != u"0") recorded += u"/" + length;
    points.push_back({*depth, *n, std::move(recorded)});
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

std::vector<Mark> ReadMarks(Env& env, const Text& folder) {
  std::vector<Mark> marks;
  // X7.txt: fields 5 and 6 from and to (to 0: none), the kind's name twice in fields 29 to 48.
  for (const Row& row : ReadRows(env, folder + u"X7.txt")) {
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
  for (const Row& row : ReadRows(env, folder + u"N6.TMP")) {
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
std::vector<Remark> ReadRemarks(Env& env, const Text& folder) {
  std::vector<Remark> remarks;
  for (const Row& row : ReadRows(env, folder + u"X12.TXT")) {
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

// The title items that an engineer expects on a log, from the title files; those without a
// value are left out.
std::vector<TitleItem> HeaderItems(Env& env, const Text& folder) {
  std::vector<TitleItem> items;
  std::vector<Text> t1 = ReadLines(env, folder + u"Titl01.txt");
  std::vector<Text> t2 = ReadLines(env, folder + u"Titl02.txt");
  if (t1.empty() && t2.empty()) return items;
  auto add = [&items](const char16_t* label, Text value) {
    if (!value.empty()) items.push_back({label, std::move(value)});
  };
  auto metres = [](Text value) { return value.empty() ? value : value + u" m"; };
  auto date = [&t1](size_t first) {
    Text y = LineAt(t1, first), m = LineAt(t1, first + 1), d = LineAt(t1, first + 2);
    if (y.empty() && m.empty() && d.empty()) return Text();
    return y + u"年" + m + u"月" + d + u"日";
  };
  auto angle = [&t1](size_t first) {
    Text d = LineAt(t1, first), m = LineAt(t1, first + 1), s = LineAt(t1, first + 2);
    if (d.empty() && m.empty() && s.empty()) return Text();
    return d + u"°" + m + u"′" + s + u"″";
  };

  add(u"調査名", LineAt(t1, 1));
  add(u"地点", LineAt(t1, 2));
  add(u"孔名", LineAt(t1, 10));
  add(u"孔口標高", metres(LineAt(t1, 21)));
  add(u"掘進長", metres(LineAt(t1, 22)));
  const Text from = date(4), to = date(7);
  add(u"調査期間", from.empty() && to.empty() ? Text() : from + u" ～ " + to);
  add(u"所在地", LineAt(t1, 17));
  Text position;
  const Text lat = angle(11), lon = angle(14);
  if (!lat.empty()) position += u"北緯 " + lat;
  if (!lon.empty()) position += (position.empty() ? u"" : u"　") + Text(u"東経 ") + lon;
  add(u"緯度経度", position);
  add(u"メッシュコード", LineAt(t2, 40));
  add(u"発注者", LineAt(t2, 1));
  add(u"調査会社", LineAt(t2, 29));
  return items;
}

}  // namespace

BoringLogModel ReadBoringLogModel(Env& env, const Text& destFolder) {
  BoringLogModel model;
  model.folder = WithSeparator(destFolder);
  model.header = HeaderItems(env, model.folder);
  model.layers = ReadLayers(env, model.folder);
  if (model.layers.empty()) return model;
  model.classes = ReadClassColumns(env, model.folder);
  model.nValues = ReadNValues(env, model.folder);
  model.marks = ReadMarks(env, model.folder);
  model.remarks = ReadRemarks(env, model.folder);
  return model;
}

}  // namespace ostra
