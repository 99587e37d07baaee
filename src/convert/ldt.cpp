// LDT records: test lines through N7Merg.Dat into the wide table X7.txt, and sample lines of
// N6.TMP.
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "base/decimal.h"
#include "base/errors.h"
#include "base/numbers.h"
#include "base/sjis.h"
#include "convert/section_unit.h"
#include "convert/sections.h"
#include "formats/code_table.h"

namespace ostra {

namespace {

constexpr int kMaxKinds = 10;       // column pairs of X7.txt
constexpr int kTestLineFields = 8;  // fields of an N7Merg.Dat line
constexpr int kTableFields = 68;    // fields of an X7.txt line
constexpr int kSampleFlagCount = 15;

struct TestCode {
  const char16_t* name;
  std::int16_t code;
};
constexpr TestCode kTestCodes[] = {
    {u"透水試験", 3},
    {u"間隙水圧測定", 4},
    {u"ベーン試験", 10},
    {u"コロージョンテスト", 7},
};
constexpr std::int16_t kOtherTest = 44;

struct SampleKind {
  const char16_t* word;
  int position;
};
constexpr SampleKind kSampleKinds[] = {
    {u"物理", 1}, {u"一軸", 2}, {u"三軸", 3}, {u"圧密", 4}, {u"特殊", 7}, {u"動的", 8},
};

std::int16_t TestCodeOf(const Text& name) {
  if (name.empty()) return 0;
  for (const TestCode& entry : kTestCodes) {
    if (name == entry.name) return entry.code;
  }
  return kOtherTest;
}

// N7Merg.Dat is read back field by field: a comma or a double quote must not end a field early.
Text ForTestLine(const Text& text, char16_t quoteAs) {
  Text result = text;
  for (char16_t& ch : result) {
    if (ch == u',') ch = u'，';
    if (ch == u'"') ch = quoteAs;
  }
  return result;
}

using TestLine = std::array<Text, kTestLineFields + 1>;  // slots 1..8

std::vector<TestLine> ReadTestLines(Env& env, const Text& path) {
  std::vector<TestLine> lines;
  FieldReader in = FieldReader::Open(env, path, ErrorKind::kDestination);
  while (!in.AtEnd()) {
    TestLine line;
    for (int i = 1; i <= kTestLineFields; ++i) line[i] = in.ReadText();
    lines.push_back(std::move(line));
  }
  return lines;
}

// L8.TXT: code, name and a third field per line.
CodeTable ReadKindTable(ReferenceFolder& tables) {
  CodeTable table;
  FieldReader in = tables.Reader(kTableL8.name);
  while (!in.AtEnd()) {
    CodeRow row;
    row.code = in.ReadText();
    if (!in.AtEnd()) row.key = in.ReadText();
    if (!in.AtEnd()) in.ReadText();
    table.push_back(std::move(row));
  }
  return table;
}

std::int16_t KindCodeOf(const CodeTable& table, const Text& name) {
  const Text wanted = Trim(name);
  for (const CodeRow& row : table) {
    if (Trim(row.key) == wanted) return IntOrZero(row.code);
  }
  return 0;
}

struct Kind {
  std::int16_t code = 0;
  Text name;
};

// Distinct kind codes in order of first appearance (at most 10), then sorted by code.
std::vector<Kind> CollectKinds(const CodeTable& table, const std::vector<TestLine>& lines) {
  std::vector<Kind> kinds;
  for (const TestLine& line : lines) {
    const std::int16_t code = KindCodeOf(table, line[8]);
    const bool known = std::any_of(kinds.begin(), kinds.end(),
                                   [code](const Kind& kind) { return kind.code == code; });
    if (!known && kinds.size() < kMaxKinds) kinds.push_back({code, line[8]});
  }
  std::stable_sort(kinds.begin(), kinds.end(),
                   [](const Kind& a, const Kind& b) { return a.code < b.code; });
  return kinds;
}

// A depth as written, for the exact interval: 0 when the text holds no number (LeadingNumber
// reads it as 0 then); nullopt when its value is too large to read.
std::optional<DecimalNumber> ExactDepth(const Text& text) {
  std::optional<DecimalNumber> depth = ParseDecimal(text, DecimalEnd::kAnyText);
  if (!depth) return DecimalNumber{};
  if (!depth->ToDouble()) return std::nullopt;
  return depth;
}

// Field 8 of X7.txt: the interval in hundredths, from the depths as written.
Text IntervalField(const Text& fromText, const Text& toText) {
  const double from = LeadingNumber(fromText);
  const double to = LeadingNumber(toText);
  if (static_cast<float>(to) == 0.0f) return u"   ";
  const auto exactFrom = ExactDepth(fromText);
  const auto exactTo = ExactDepth(toText);
  if (exactFrom && exactTo) {
    if (const auto hundredths = HundredthsBetween(*exactFrom, *exactTo)) {
      return IntText(*hundredths);
    }
  }
  // A depth too large to read, or with more digits than the exact reckoning holds: the
  // difference of the values read.
  return Trim(NumText(std::trunc((to - from) * 100.0)));
}

void WriteTableLine(OutFile& out, int number, const TestLine& line,
                    const std::vector<Kind>& kinds) {
  std::array<Text, kTableFields + 1> f;  // F2..F68 used
  const std::int16_t code = IntOrZero(line[3]);
  for (size_t i = 0; i < kinds.size(); ++i) {
    if (kinds[i].code != code) continue;
    const int s = static_cast<int>(i) + 1;
    f[7 + 2 * s] = f[8 + 2 * s] = RightField(NumText(std::int32_t{kinds[i].code}), 2);
    f[27 + 2 * s] = f[28 + 2 * s] = kinds[i].name;
    f[47 + 2 * s] = line[6];
    f[48 + 2 * s] = line[7];
    break;
  }
  f[2] = line[2];
  f[3] = u"  ";
  f[5] = FormatDecimal2(7, static_cast<float>(LeadingNumber(line[4])));
  f[6] = FormatDecimal2(7, static_cast<float>(LeadingNumber(line[5])));
  f[7] = u"   ";
  f[8] = IntervalField(line[4], line[5]);

  Text text = RightField(NumText(std::int32_t{number}), 3);
  for (int i = 2; i <= kTableFields; ++i) text += u"," + f[i];
  out.Line(text);
}

}  // namespace

void WriteTestRecord(OutputFile& n7, const RecordFields& rec) {
  const Text name = Trim(CutBefore(rec[3], u']'));
  const std::int16_t code = TestCodeOf(name);
  n7.NumberedLine(
      SequenceField(n7.Number()) + u",      ," + RightField(NumText(std::int32_t{code}), 2) + u"," +
      RightField(ForTestLine(rec[1], u'\''), 7) + u"," + RightField(ForTestLine(rec[2], u'\''), 7) +
      u",        ,        ," + ForTestLine(name, u'＂'));
}

void BuildTestTable(const RunEnv& env, const DrivePath& folder) {
  const Text mergePath = folder.Join(u"N7Merg.Dat");
  Env& files = env.Files();
  if (files.FileSize(mergePath) < 1) {
    if (files.FileExists(mergePath)) files.RemoveFile(mergePath);
    return;
  }
  const std::vector<TestLine> lines = ReadTestLines(files, mergePath);
  const std::vector<Kind> kinds = CollectKinds(ReadKindTable(env.Tables()), lines);

  OutFile out(files, folder.Join(u"X7.txt"));
  int number = 0;
  for (const TestLine& line : lines) WriteTableLine(out, ++number, line, kinds);
  out.Close();
  files.RemoveFile(mergePath);
}

void WriteSampleRecord(OutputFile& n6, const RecordFields& rec) {
  const Text& description = rec[3];
  Text kind = description;
  Text detail;
  const size_t p = description.find(u']');
  if (p != Text::npos) {
    kind = description.substr(0, p);
    detail = p + 1 < description.size() ? description.substr(p + 1) : Text(u"      ");
  }
  int position = 0;
  for (const SampleKind& entry : kSampleKinds) {
    if (kind.find(entry.word) != Text::npos) position = entry.position;
  }
  Text flags(kSampleFlagCount, u'0');
  if (position != 0) flags[position - 1] = u'1';

  Text fitted;
  FitBytes(detail, fitted, 6);
  n6.NumberedLine(SequenceField(n6.Number()) + u"," + fitted + u",  ," + RightField(rec[1], 7) +
                  u"," + RightField(rec[2], 7) + u",   ,   ," + flags);
}

void ConvertLdtSection(const SectionRun& run, FieldReader& reader) {
  const LdtCounts counts = ReadLdtCounts(reader);
  if (!counts.tests || counts.samples == 0) return;
  const Count& fields1 = counts.testFields;
  const Count& fields2 = counts.sampleFields;

  reader.BeginBlock(kLdtTestRecords, fields1);
  {
    // A working file, removed again once X7.txt is built: a run stopped before that leaves it.
    run.noteOutput(u"N7Merg.Dat");
    OutputFile n7(run.Files(), run.Out(u"N7Merg.Dat"));
    for (int i = 0; i < kLdtTestRecords.value; ++i) {
      reader.ReadRecord(run.fields, fields1);
      if (!Trim(run.fields[1]).empty()) WriteTestRecord(n7, run.fields);
    }
    n7.Close();
  }
  BuildTestTable(run.env, run.destination);
  run.NoteIfWritten(u"X7.txt");

  if (fields2 == 0) return;
  ConvertBlock(run, reader, u"N6.TMP", counts.samples, fields2,
               [&](OutputFile& n6) { WriteSampleRecord(n6, run.fields); });
}

}  // namespace ostra
