// BDT records: the dated depth lines of N8.TXT / N9.TXT and the G71, G73 and G81 measurements.
#include "base/numbers.h"
#include "base/sjis.h"
#include "convert/section_unit.h"
#include "convert/sections.h"

namespace ostra {

namespace {

constexpr char16_t kRangeMark = u'～';  // "from～to" values keep their first part only

bool IsBlank(const Text& text) {
  return Trim(text).empty();
}

}  // namespace

Text SequenceField(std::int16_t seq) {
  return RightField(NumText(std::int32_t{seq}), 3);
}

Text CutBefore(const Text& text, char16_t mark) {
  const size_t p = text.find(mark);
  return p == Text::npos ? text : text.substr(0, p);
}

void WriteDatedDepth(OutputFile& out, const RecordFields& rec, const Text& year) {
  // Field 2 holds "month/day"; a field without "/" is taken as the month alone.
  Text month = u"  ";
  Text day = u"  ";
  const Text& monthDay = rec[2];
  if (!monthDay.empty()) {
    const size_t p = monthDay.find(u'/');
    if (p == Text::npos) {
      month = RightField(monthDay, 2);
    } else {
      month = RightField(TextView(monthDay).substr(0, p), 2);
      day = RightField(TextView(monthDay).substr(p + 1), 2);
    }
  }
  out.NumberedLine(SequenceField(out.Number()) + u"," + year + u"/" + month + u"/" + day + u"," +
                   RightField(rec[1], 7));
}

void WriteG71(OutputFile& out, RecordFields& rec) {
  if (IsBlank(rec[5])) return;
  rec[5] = CutBefore(rec[5], kRangeMark);
  // The field holds 4 characters: a longer value keeps its first 4 ("100.0" -> "100.").
  if (rec[5].size() > 4) rec[5].resize(4);
  out.NumberedLine(SequenceField(out.Number()) + u"," + RightField(rec[4], 7) + u",   ,     ," +
                   RightField(rec[5], 4));
}

void WriteG73(OutputFile& out, RecordFields& rec) {
  if (IsBlank(rec[6]) && IsBlank(rec[7])) return;
  rec[6] = CutBefore(rec[6], kRangeMark);
  rec[7] = CutBefore(rec[7], kRangeMark);
  out.NumberedLine(SequenceField(out.Number()) + u"," + RightField(rec[4], 7) + u"," +
                   RightField(rec[6], 3) + u"," + RightField(rec[7], 3));
}

void WriteG81(OutputFile& out, RecordFields& rec) {
  if (IsBlank(rec[8]) && IsBlank(rec[9]) && IsBlank(rec[10])) return;
  for (int i = 8; i <= 10; ++i) rec[i] = CutBefore(rec[i], kRangeMark);
  out.NumberedLine(SequenceField(out.Number()) + u"," + RightField(rec[4], 7) + u"," +
                   RightField(rec[8], 3) + u"," + RightField(rec[9], 3) + u"," +
                   RightField(rec[10], 3));
}

void ConvertBdtSection(const SectionRun& run, FieldReader& reader) {
  const auto [records, fields] = ReadSixValueHeader(reader);
  if (records == 0 || fields == 0) return;

  reader.BeginBlock(records, fields);
  OutputFile n8 = run.Create(u"N8.TXT");
  OutputFile g71 = run.Create(u"G71.TXT");
  OutputFile g73 = run.Create(u"G73.TXT");
  OutputFile g81 = run.Create(u"G81.TXT");
  const Text yearN8 = TrimLeft(run.itemsA[10]);
  for (int i = 0; i < records; ++i) {
    reader.ReadRecord(run.fields, fields);
    WriteDatedDepth(n8, run.fields, yearN8);
    WriteG71(g71, run.fields);
    WriteG73(g73, run.fields);
    WriteG81(g81, run.fields);
  }
  n8.Close();
  g71.Close();
  g73.Close();
  g81.Close();

  SkipHeaderValue(reader);
  const Count records2 = reader.ReadCount(kWhatRecords);
  const Count fields2 = reader.ReadCount(kWhatFields);
  if (records2 == 0 || fields2 == 0) return;
  ConvertBlock(run, reader, u"N9.TXT", records2, fields2, [&](OutputFile& n9) {
    if (!run.fields[1].empty()) WriteDatedDepth(n9, run.fields, run.itemsA[10]);
  });
}

}  // namespace ostra
