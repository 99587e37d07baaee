// The summary of a batch: one row per conversion, printed as a table, written as a CSV file
// (--summary) and read back to convert again the rows that did not convert (--retry).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/codec.h"

namespace ostra {

// The results a row can have, as the summary writes them.
inline constexpr char16_t kResultConverted[] = u"変換済み";
inline constexpr char16_t kResultTried[] = u"試行";  // a trial run (--dry-run) that completed
inline constexpr char16_t kResultStopped[] = u"中止";
inline constexpr char16_t kResultNotRun[] = u"未実行";

struct SummaryRow {
  long line = 0;  // the list's line, or the scanned data set's place in the scan
  Text source;
  Text dest;
  Text result;
  Text reason;    // why the conversion stopped: the first line of its message
  Text warnings;  // the conversion's warnings, joined with " / "
  // What the conversion wrote: files, new soil names, new class names.
  Text files;
  Text soilNames;
  Text classNames;
};

// The column names, and a row's cells in the same order.
std::vector<Text> SummaryHeader();
std::vector<Text> SummaryCells(const SummaryRow& row);

// The rows as a CSV file with a header row and CR LF line ends: code page 932 (what Excel
// reads on a Japanese system), or UTF-8 with a byte order mark when `utf8` is asked for or a
// cell holds a character code page 932 has no form for (`fellBack` then set).
std::string SummaryCsv(const std::vector<SummaryRow>& rows, bool utf8, bool& fellBack);

// Reads a file SummaryCsv wrote (code page 932, or UTF-8 with a byte order mark). Nothing, with
// `error` naming the line, when it is no such file.
std::optional<std::vector<SummaryRow>> ReadSummaryCsv(const std::string& bytes, std::string& error);

}  // namespace ostra
