// Converters of the BDT, KDT, NDT, LDT and CDT sections.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "base/decimal.h"
#include "base/drive_path.h"
#include "convert/output_file.h"
#include "convert/run_env.h"
#include "env/files.h"
#include "formats/section_file.h"

namespace ostra {

// BDT: N8.TXT / N9.TXT, G71.TXT, G73.TXT, G81.TXT.
// Each writes at most one numbered line into `out`.
void WriteDatedDepth(OutputFile& out, const RecordFields& rec, const Text& year);
void WriteG71(OutputFile& out, RecordFields& rec);
void WriteG73(OutputFile& out, RecordFields& rec);
void WriteG81(OutputFile& out, RecordFields& rec);

// KDT: display lines into N12.TXT, then the merge of `basePath` + ".TXT" into
// `basePath` + ".TMP" (basePath is the destination folder followed by "N12").
void WriteRemarkLines(OutputFile& n12, const Text& depth, const Text& remark);
void MergeRemarkLines(Env& env, const Text& basePath);

// NDT: one X5.TXT line per record.
void WriteIntervalRecord(OutputFile& x5, const RecordFields& rec);

// LDT: N7Merg.Dat lines, X7.txt from N7Merg.Dat in `folder`, N6.TMP lines.
void WriteTestRecord(OutputFile& n7, const RecordFields& rec);
void BuildTestTable(const RunEnv& env, const DrivePath& folder);
void WriteSampleRecord(OutputFile& n6, const RecordFields& rec);

// CDT: the two depth lists (entries 1..200; slot 0 unused) and their merge into R41.TXT.
inline constexpr float kDepthEndMark = 99999.99f;
inline constexpr int kCdtListSize = 200;
struct CdtList1 {
  std::array<float, kCdtListSize + 1> depth{}, value{};
  std::int16_t count = 0;
};
struct CdtList2 {
  std::array<float, kCdtListSize + 1> depth{}, value1{}, value2{};
  std::int16_t count = 0;
};
// Sets every depth to the end mark, every value to 0, both counts to 0.
void ResetCdtLists(CdtList1& list1, CdtList2& list2);
// Adds the entries of one CDT record (fields 1..5; depth fields cut at "=").
void AddCdtRecord(CdtList1& list1, CdtList2& list2, RecordFields& rec);
// Writes the pending second-list lines below x, then the line for x; `k` is the second list's
// read position, advanced past the entries written.
void WriteDepthPoint(OutputFile& r41, float x, float y, const CdtList2& list2, std::int16_t& k);
// Drives WriteDepthPoint over both lists, as the run does after the last CDT record.
void MergeDepthLists(OutputFile& r41, const CdtList1& list1, const CdtList2& list2);

// Helpers shared by the converters above.

// The line number field that starts most output lines: RightField(NumText(seq), 3).
Text SequenceField(std::int16_t seq);
// The text before the first `mark`, or the whole text when it has none.
Text CutBefore(const Text& text, char16_t mark);

// Exact arithmetic on numbers as written, each of at most 18 digits (the most a 64-bit whole
// number holds).

// 30 x count / length, truncated toward zero to a whole number; nullopt when length is 0 or
// the digits or the result do not fit.
std::optional<std::int64_t> ScaledCount(const DecimalNumber& count, const DecimalNumber& length);
// (to - from) x 100, truncated toward zero to a whole number; nullopt when the digits or the
// result do not fit.
std::optional<std::int64_t> HundredthsBetween(const DecimalNumber& from, const DecimalNumber& to);

}  // namespace ostra
