// BDT records: the dated depth lines of N8.TXT / N9.TXT and the G71, G73 and G81 measurements.
#include "base/numbers.h"
#include "base/sjis.h"
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

void WriteDatedDepth(OutFile& out, std::int16_t& seq, const RecordFields& rec, const Text& year) {
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
  out.Line(SequenceField(seq) + u"," + year + u"/" + month + u"/" + day + u"," +
           RightField(rec[1], 7));
  ++seq;
}

void WriteG71(OutFile& out, std::int16_t& seq, RecordFields& rec) {
  if (IsBlank(rec[5])) return;
  rec[5] = CutBefore(rec[5], kRangeMark);
  // The field holds 4 characters: a longer value keeps its first 4 ("100.0" -> "100.").
  if (rec[5].size() > 4) rec[5].resize(4);
  out.Line(SequenceField(seq) + u"," + RightField(rec[4], 7) + u",   ,     ," +
           RightField(rec[5], 4));
  ++seq;
}

void WriteG73(OutFile& out, std::int16_t& seq, RecordFields& rec) {
  if (IsBlank(rec[6]) && IsBlank(rec[7])) return;
  rec[6] = CutBefore(rec[6], kRangeMark);
  rec[7] = CutBefore(rec[7], kRangeMark);
  out.Line(SequenceField(seq) + u"," + RightField(rec[4], 7) + u"," + RightField(rec[6], 3) + u"," +
           RightField(rec[7], 3));
  ++seq;
}

void WriteG81(OutFile& out, std::int16_t& seq, RecordFields& rec) {
  if (IsBlank(rec[8]) && IsBlank(rec[9]) && IsBlank(rec[10])) return;
  for (int i = 8; i <= 10; ++i) rec[i] = CutBefore(rec[i], kRangeMark);
  out.Line(SequenceField(seq) + u"," + RightField(rec[4], 7) + u"," + RightField(rec[8], 3) + u"," +
           RightField(rec[9], 3) + u"," + RightField(rec[10], 3));
  ++seq;
}

}  // namespace ostra
