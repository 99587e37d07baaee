#include "preview/boring_log_sections.h"

#include <algorithm>
#include <utility>

#include "base/decimal.h"
#include "base/sjis.h"
#include "convert/section_unit.h"

namespace ostra::picture {

namespace {

bool IsBlankChar(char16_t c) {
  return c == u' ' || c == u'\u3000' || c == u'\t';
}

// An interval of a test or a sample: the description's parts joined by a blank
// ("透水試験]JIS" reads "透水試験 JIS").
Mark MarkOf(const RecordFields& f, bool sample) {
  Mark mark;
  mark.sample = sample;
  mark.from = DepthOf(f[1]).value_or(0);
  const std::optional<double> to = DepthOf(f[2]);
  if (to && *to > mark.from) mark.to = *to;
  mark.label = TrimBlanks(f[3]);
  for (char16_t& c : mark.label) {
    if (c == u']') c = u' ';
  }
  if (mark.label.empty()) mark.label = sample ? u"試料" : u"試験";
  return mark;
}

// The blows and the length they took as recorded ("50/12"; "12" took 30 cm): where the graph
// plots it, and whether it is a refusal.
void PlotN(PenetrationTest& test) {
  const Text recorded = ToHalfWidth(test.recorded);
  const size_t slash = recorded.find(u'/');
  const std::optional<double> count = ReadNumber(Trim(TextView(recorded).substr(0, slash)));
  if (!count) return;
  double length = 30;
  if (slash != Text::npos) {
    const std::optional<double> cm = ReadNumber(Trim(TextView(recorded).substr(slash + 1)));
    if (!cm) return;
    length = *cm;
  }
  const double n = length > 0 ? *count * 30 / length : *count;
  test.refusal = *count >= 50 || n >= 50;
  test.plotN = test.refusal ? 50 : std::max(0.0, n);
}

}  // namespace

Text TrimBlanks(TextView text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlankChar(text[begin])) ++begin;
  while (end > begin && IsBlankChar(text[end - 1])) --end;
  return Text(text.substr(begin, end - begin));
}

std::optional<double> DepthOf(const Text& text) {
  const Text trimmed = TrimBlanks(text);
  if (trimmed.empty()) return std::nullopt;
  return ReadNumber(trimmed);
}

std::vector<Text> RemarkLines(const Text& text) {
  std::vector<Text> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(u'＠', start);
    if (end == Text::npos) end = text.size();
    Text line = TrimBlanks(TextView(text).substr(start, end - start));
    if (!line.empty()) lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

std::optional<std::pair<double, Text>> DepthInText(const Text& text) {
  Text half = ToHalfWidth(text);
  for (char16_t& c : half) {
    if (c == u'．') c = u'.';
  }
  const size_t end = half.find(u')');
  const TextView field = TextView(half).substr(0, end);
  if (const std::optional<double> whole = DepthOf(Text(field))) {
    return std::pair{*whole, TrimBlanks(field)};
  }
  // "GL-7.80": the depth below the ground, however the text leads up to it.
  size_t first = 0;
  while (first < field.size() && !(field[first] >= u'0' && field[first] <= u'9')) ++first;
  size_t last = first;
  while (last < field.size() &&
         ((field[last] >= u'0' && field[last] <= u'9') || field[last] == u'.'))
    ++last;
  if (first == last) return std::nullopt;
  const Text digits(field.substr(first, last - first));
  const std::optional<double> depth = ReadNumber(digits);
  if (!depth) return std::nullopt;
  return std::pair{*depth, digits};
}

void ReadBdt(FieldReader& reader, BoringLogModel& model) {
  const auto [records, fields] = ReadSixValueHeader(reader);
  if (records == 0 || fields == 0) return;
  reader.BeginBlock(records, fields);
  RecordFields f;
  for (int i = 0; i < records; ++i) {
    reader.ReadRecord(f, fields);
    // The core values of the day's drilling, from field 4 down to the depth reached.
    const std::optional<double> top = DepthOf(f[4]);
    const std::optional<double> bottom = DepthOf(f[1]);
    CoreRun run{top.value_or(0), bottom.value_or(0), TrimBlanks(f[5]), TrimBlanks(f[6])};
    if (top && bottom && *bottom > *top && !(run.recovery.empty() && run.rqd.empty()))
      model.cores.push_back(std::move(run));
  }
  SkipHeaderValue(reader);
  const Count records2 = reader.ReadCount(kWhatRecords);
  const Count fields2 = reader.ReadCount(kWhatFields);
  if (records2 == 0 || fields2 == 0) return;
  reader.BeginBlock(records2, fields2);
  RecordFields w;
  for (int i = 0; i < records2; ++i) {
    reader.ReadRecord(w, fields2);
    const std::optional<double> depth = DepthOf(w[1]);
    if (!depth) continue;
    model.waterLevels.push_back({*depth, TrimBlanks(w[1]), TrimBlanks(w[2]), TrimBlanks(w[3])});
  }
}

void ReadKdt(FieldReader& reader, BoringLogModel& model) {
  SkipHeaderValue(reader);
  const Count records = reader.ReadCount(kWhatRecords);
  const Count fields = reader.ReadCount(kWhatFields);
  if (records == 0 || fields == 0) return;
  reader.BeginBlock(records, fields);
  RecordFields f;
  for (int i = 0; i < records; ++i) {
    reader.ReadRecord(f, fields);
    std::vector<Text> lines = RemarkLines(f[2]);
    if (lines.empty()) continue;
    const auto depth = DepthInText(f[1]);
    if (!depth) continue;
    model.remarks.push_back({depth->first, depth->second, std::move(lines)});
  }
}

void ReadNdt(FieldReader& reader, BoringLogModel& model) {
  const double h1 = reader.ReadNumber(kWhatHeader);
  const Count records = reader.ReadCount(kWhatRecords);
  const Count fields = reader.ReadCount(kWhatFields);
  if (h1 != 100.0) return;
  SkipHeaderValue(reader);
  if (records == 0 || fields == 0) return;
  reader.BeginBlock(records, fields);
  RecordFields f;
  for (int i = 0; i < records; ++i) {
    reader.ReadRecord(f, fields);
    const std::optional<double> depth = DepthOf(f[1]);
    if (!depth) continue;
    PenetrationTest test;
    test.depth = *depth;
    test.depthText = TrimBlanks(f[1]);
    test.recorded = TrimBlanks(f[2]);
    for (int k = 0; k < 3; ++k) test.blows[static_cast<size_t>(k)] = TrimBlanks(f[3 + k]);
    PlotN(test);
    model.penetrationTests.push_back(std::move(test));
  }
}

void ReadLdt(FieldReader& reader, BoringLogModel& model) {
  const LdtCounts counts = ReadLdtCounts(reader);
  if (!counts.tests || counts.samples == 0) return;
  reader.BeginBlock(kLdtTestRecords, counts.testFields);
  RecordFields f;
  for (int i = 0; i < kLdtTestRecords.value; ++i) {
    reader.ReadRecord(f, counts.testFields);
    if (!TrimBlanks(f[1]).empty()) model.marks.push_back(MarkOf(f, false));
  }
  if (counts.sampleFields == 0) return;
  reader.BeginBlock(counts.samples, counts.sampleFields);
  RecordFields s;
  for (int i = 0; i < counts.samples; ++i) {
    reader.ReadRecord(s, counts.sampleFields);
    if (!TrimBlanks(s[1]).empty()) model.marks.push_back(MarkOf(s, true));
  }
}

}  // namespace ostra::picture
