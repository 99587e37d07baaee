// CDT records: two depth lists merged in depth order into R41.TXT.
#include "base/numbers.h"
#include "base/sjis.h"
#include "convert/section_unit.h"
#include "convert/sections.h"

namespace ostra {

namespace {

// The second list keeps its position after the last entry for the end mark.
constexpr int kCdtList2Limit = kCdtListSize - 1;
// Depths above this are the end mark: the call that only flushes the second list.
constexpr float kFlushDepth = 99999.0f;
constexpr char16_t kEmptyFields[] = u",,,,,,";  // the six empty fields that end every line

Text Field(float value, int width) {
  return RightField(NumText(value), width);
}

// Depth of second-list position k; positions past the list read as the end mark.
float DepthAt(const CdtList2& list2, std::int16_t k) {
  return k >= 1 && k <= kCdtListSize ? list2.depth[k] : kDepthEndMark;
}

}  // namespace

void ResetCdtLists(CdtList1& list1, CdtList2& list2) {
  list1.depth.fill(kDepthEndMark);
  list1.value.fill(0.0f);
  list1.count = 0;
  list2.depth.fill(kDepthEndMark);
  list2.value1.fill(0.0f);
  list2.value2.fill(0.0f);
  list2.count = 0;
}

void AddCdtRecord(CdtList1& list1, CdtList2& list2, RecordFields& rec) {
  // A depth may carry a suffix from "=" on.
  rec[1] = CutBefore(rec[1], u'=');
  rec[3] = CutBefore(rec[3], u'=');
  const std::int16_t depth1 = IntOrZero(rec[1]);
  if (depth1 != 0 && list1.count < kCdtListSize) {
    const int i = ++list1.count;
    list1.depth[i] = depth1;
    list1.value[i] = IntOrZero(rec[2]);
  }
  const std::int16_t depth2 = IntOrZero(rec[3]);
  if (depth2 != 0 && list2.count < kCdtList2Limit) {
    const int i = ++list2.count;
    list2.depth[i] = depth2;
    list2.value1[i] = IntOrZero(rec[4]);
    list2.value2[i] = IntOrZero(rec[5]);
  }
}

void WriteDepthPoint(OutputFile& r41, float x, float y, const CdtList2& list2, std::int16_t& k) {
  // Second-list depths above x come first, each on a line of its own.
  while (k >= 1 && k <= kCdtListSize && x > list2.depth[k]) {
    r41.NumberedLine(SequenceField(r41.Number()) + u"," + Field(list2.depth[k], 7) + u",   ," +
                     Field(list2.value1[k], 3) + u"," + Field(list2.value2[k], 3) + kEmptyFields);
    ++k;
  }
  if (x > kFlushDepth) return;
  const float depth = DepthAt(list2, k);
  if (x < depth) {
    r41.NumberedLine(SequenceField(r41.Number()) + u"," + Field(x, 7) + u"," + Field(y, 3) +
                     u",  0,  0" + kEmptyFields);
  } else if (x == depth) {
    r41.NumberedLine(SequenceField(r41.Number()) + u"," + Field(x, 7) + u"," + Field(y, 3) + u"," +
                     Field(list2.value1[k], 3) + u"," + Field(list2.value2[k], 3) + kEmptyFields);
    ++k;
  }
}

void MergeDepthLists(OutputFile& r41, const CdtList1& list1, const CdtList2& list2) {
  std::int16_t k = 1;
  const int n1 = list1.count;
  const int n2 = list2.count;
  for (int i = 1; i <= n1; ++i) WriteDepthPoint(r41, list1.depth[i], list1.value[i], list2, k);
  // What is left of the second list.
  if (n2 != 0 && k <= n2) WriteDepthPoint(r41, kDepthEndMark, list1.value[1], list2, k);
}

void ConvertCdtSection(const SectionRun& run, FieldReader& reader) {
  const auto [records, fields] = ReadSixValueHeader(reader);
  if (records == 0 || fields == 0) return;
  reader.BeginBlock(records, fields);
  CdtList1 list1;
  CdtList2 list2;
  ResetCdtLists(list1, list2);
  for (int i = 0; i < records; ++i) {
    reader.ReadRecord(run.fields, fields);
    AddCdtRecord(list1, list2, run.fields);
  }
  OutputFile r41 = run.Create(u"R41.TXT");
  MergeDepthLists(r41, list1, list2);
  r41.Close();
}

}  // namespace ostra
