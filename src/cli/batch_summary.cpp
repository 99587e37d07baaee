#include "cli/batch_summary.h"

#include <algorithm>

#include "base/numbers.h"

namespace ostra {

namespace {

Text CsvCell(const Text& cell) {
  if (cell.find_first_of(u",\"\r\n") == Text::npos) return cell;
  Text quoted = u"\"";
  for (const char16_t c : cell) {
    quoted += c;
    if (c == u'"') quoted += c;
  }
  return quoted + u"\"";
}

bool HasCp932Form(const Text& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c < 0x80) continue;
    if (EncodeCp932(Text(1, c)) == "?") return false;
  }
  return true;
}

// The records of CSV text, each with the line it starts on; quoted fields may hold line ends.
// False, with `badLine` set, when a quote is not closed.
struct CsvRecord {
  long line;
  std::vector<Text> fields;
};
bool SplitCsvRecords(const Text& text, std::vector<CsvRecord>& records, long& badLine) {
  long line = 1;
  CsvRecord record{1, {Text()}};
  bool quoted = false;
  bool any = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (quoted) {
      if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
        record.fields.back() += c;
        ++i;
      } else if (c == u'"') {
        quoted = false;
      } else {
        if (c == u'\n') ++line;
        record.fields.back() += c;
      }
      continue;
    }
    if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      if (any) records.push_back(record);
      ++line;
      record = CsvRecord{line, {Text()}};
      any = false;
      continue;
    }
    any = true;
    if (c == u'"') {
      quoted = true;
    } else if (c == u',') {
      record.fields.emplace_back();
    } else {
      record.fields.back() += c;
    }
  }
  if (quoted) {
    badLine = record.line;
    return false;
  }
  if (any) records.push_back(record);
  return true;
}

bool IsResult(const Text& t) {
  return t == kResultConverted || t == kResultTried || t == kResultStopped || t == kResultNotRun;
}

}  // namespace

std::vector<Text> SummaryHeader() {
  return {u"行",   u"変換元",     u"変換先",       u"結果",        u"理由",
          u"警告", u"ファイル数", u"新しい地質名", u"新しい区分名"};
}

std::vector<Text> SummaryCells(const SummaryRow& r) {
  return {IntText(r.line), r.source, r.dest,      r.result,    r.reason,
          r.warnings,      r.files,  r.soilNames, r.classNames};
}

std::string SummaryCsv(const std::vector<SummaryRow>& rows, bool utf8, bool& fellBack) {
  Text text;
  auto add = [&text](const std::vector<Text>& cells) {
    for (size_t i = 0; i < cells.size(); ++i) text += (i ? u"," : u"") + CsvCell(cells[i]);
    text += u"\r\n";
  };
  add(SummaryHeader());
  for (const SummaryRow& r : rows) add(SummaryCells(r));
  fellBack = !utf8 && !HasCp932Form(text);
  if (utf8 || fellBack) return "\xEF\xBB\xBF" + ToUtf8(text);
  return EncodeCp932(text);
}

std::optional<std::vector<SummaryRow>> ReadSummaryCsv(const std::string& bytes,
                                                      std::string& error) {
  const bool bom = bytes.rfind("\xEF\xBB\xBF", 0) == 0;
  const Text text = bom ? FromUtf8(bytes.substr(3)) : DecodeCp932(bytes);
  std::vector<CsvRecord> records;
  long badLine = 0;
  if (!SplitCsvRecords(text, records, badLine)) {
    error = std::to_string(badLine) + " 行目: 「\"」が閉じていません";
    return std::nullopt;
  }
  const std::vector<Text> header = SummaryHeader();
  if (records.empty() || records[0].fields.size() < 4 ||
      !std::equal(header.begin(), header.begin() + 4, records[0].fields.begin())) {
    error = std::to_string(records.empty() ? 1 : records[0].line) +
            " 行目: --summary で書いた表の見出し（行,変換元,変換先,結果,…）がありません";
    return std::nullopt;
  }
  std::vector<SummaryRow> rows;
  for (size_t i = 1; i < records.size(); ++i) {
    std::vector<Text> f = records[i].fields;
    const std::string where = std::to_string(records[i].line) + " 行目: ";
    f.resize(std::max(f.size(), header.size()));
    long line = 0;
    bool number = !f[0].empty() && f[0].size() < 10;
    for (const char16_t c : f[0]) {
      if (c < u'0' || c > u'9') number = false;
      line = line * 10 + (c - u'0');
    }
    if (!number || line < 1) {
      error = where + "行の番号「" + ToUtf8(f[0]) + "」が正しくありません";
      return std::nullopt;
    }
    if (f[1].empty() || f[2].empty()) {
      error = where + "変換元と変換先が必要です";
      return std::nullopt;
    }
    if (!IsResult(f[3])) {
      error =
          where + "結果「" + ToUtf8(f[3]) + "」は変換済み、試行、中止、未実行のどれでもありません";
      return std::nullopt;
    }
    rows.push_back({line, f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8]});
  }
  return rows;
}

}  // namespace ostra
