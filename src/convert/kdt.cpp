// KDT remarks: display lines of 15 characters into N12.TXT, then one record per remark.
#include <vector>

#include "base/numbers.h"
#include "base/sjis.h"
#include "convert/section_unit.h"
#include "convert/sections.h"

namespace ostra {

namespace {

constexpr int kLineChars = 15;  // characters per display line
constexpr int kLineBytes = 30;  // bytes per written display line
constexpr int kMaxLines = 20;   // display lines one remark may fill
constexpr char16_t kLineBreak = u'＠';
constexpr char16_t kWideBlank = u'\u3000';

// The display line padded with half-width blanks to exactly 30 bytes, in double quotes.
Text QuotedLine(const Text& line) {
  return u"\"" + ByteLeft(line + Text(kLineBytes, u' '), kLineBytes) + u"\"";
}

// A double quote would end the quoted field early when the merge reads the line back, and a
// comma would split the unquoted depth field: both are written in a form of the same width.
Text DepthForLine(const Text& depth) {
  Text result = depth;
  for (char16_t& ch : result) {
    if (ch == u'"') ch = u'\'';
    if (ch == u',') ch = u'，';
  }
  return result;
}

void WritePending(OutFile& out, int number, float depth, const Text& text) {
  out.Line(RightField(NumText(std::int32_t{number}), 3) + u"," + FormatDecimal2(7, depth) + u",\"" +
           text + u"\"");
}

}  // namespace

void WriteRemarkLines(OutputFile& n12, const Text& depth, const Text& remark) {
  std::vector<Text> lines(kMaxLines + 1, Text(kLineChars, kWideBlank));  // 1..20
  int line = 1;
  int column = 1;
  for (char16_t ch : remark) {
    if (ch == kLineBreak) {
      ++line;
      column = 1;
      continue;
    }
    // Text beyond the last display line is dropped.
    if (line > kMaxLines) continue;
    lines[line][column - 1] = ch == u'"' ? u'\'' : ch;
    if (++column > kLineChars) {
      column = 1;
      ++line;
    }
  }
  const int last = line > kMaxLines ? kMaxLines : line;

  n12.NumberedLine(SequenceField(n12.Number()) + u"," + RightField(DepthForLine(depth), 7) + u"," +
                   QuotedLine(lines[1]));
  for (int k = 2; k <= last; ++k) {
    n12.NumberedLine(SequenceField(n12.Number()) + u",       ," + QuotedLine(lines[k]));
  }
}

void MergeRemarkLines(Env& env, const Text& basePath) {
  const Text linesPath = basePath + u".TXT";
  if (env.FileSize(linesPath) < 1) return;

  FieldReader in = FieldReader::Open(env, linesPath, ErrorKind::kDestination);
  OutFile out(env, basePath + u".TMP");
  int number = 1;
  in.ReadText();
  float depth = static_cast<float>(LeadingNumber(in.ReadText()));
  Text text = in.ReadText();
  while (!in.AtEnd()) {
    in.ReadText();
    const Text lineDepth = in.ReadText();
    const Text lineText = in.ReadText();
    // A line without a depth continues the pending remark.
    if (Trim(lineDepth).empty()) {
      text += lineText;
      continue;
    }
    WritePending(out, number, depth, text);
    depth = static_cast<float>(LeadingNumber(lineDepth));
    text = lineText;
    ++number;
  }
  WritePending(out, number, depth, text);
  out.Close();
}

void ConvertKdtSection(const SectionRun& run, FieldReader& reader) {
  SkipHeaderValue(reader);
  const Count records = reader.ReadCount(kWhatRecords);
  const Count fields = reader.ReadCount(kWhatFields);
  if (records == 0 || fields == 0) return;
  reader.BeginBlock(records, fields);
  Env& files = run.Files();
  {
    OutputFile n12(files, run.Out(u"N12.TXT"));
    RecordFields& f = run.fields;
    for (int i = 0; i < records; ++i) {
      reader.ReadRecord(f, fields);
      const size_t paren = f[1].find(u')');
      if (paren != Text::npos) f[1] = TrimRight(TextView(f[1]).substr(0, paren));
      if (!f[2].empty()) WriteRemarkLines(n12, f[1], f[2]);
    }
    n12.Close();
  }
  MergeRemarkLines(files, run.Out(u"N12"));
  // With no remark at all there is no merged file, and so no X12.TXT.
  if (files.FileExists(run.Out(u"N12.TMP"))) {
    files.CopyFile(run.Out(u"N12.TMP"), run.Out(u"X12.TXT"));
    run.noteOutput(u"X12.TXT");
    files.RemoveFile(run.Out(u"N12.TMP"));
  }
  files.RemoveFile(run.Out(u"N12.TXT"));
}

}  // namespace ostra
