#include "cli/batch.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/codec.h"
#include "base/encoding_guess.h"
#include "base/numbers.h"
#include "base/sjis.h"
#include "base/text_lines.h"
#include "cli/session.h"
#include "env/interrupt_signals.h"
#include "formats/table_registry.h"

namespace ostra {

namespace {

// The fields of one CSV line; false when a quote is not closed.
bool SplitCsv(const Text& line, std::vector<Text>& fields) {
  fields.assign(1, Text());
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char16_t c = line[i];
    if (quoted) {
      if (c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
        fields.back() += u'"';
        ++i;
      } else if (c == u'"') {
        quoted = false;
      } else {
        fields.back() += c;
      }
    } else if (c == u'"') {
      quoted = true;
    } else if (c == u',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  for (Text& f : fields) f = Trim(f);
  return !quoted;
}

}  // namespace

std::vector<BatchItem> ReadBatchList(const std::string& bytes, std::string& error) {
  // Half-width katakana pairs alone do not make the list UTF-8.
  const bool bom = bytes.rfind("\xEF\xBB\xBF", 0) == 0;
  const Text text = VerdictOf(ScanUtf8(bytes)) == Utf8Verdict::kUtf8
                        ? FromUtf8(bytes.substr(bom ? 3 : 0))
                        : DecodeCp932(bytes);
  std::vector<BatchItem> items;
  const std::vector<Text> lines = SplitLines(text);
  bool first = true;
  for (size_t i = 0; i < lines.size(); ++i) {
    const Text line = Trim(lines[i]);
    if (line.empty() || line[0] == u'#') continue;
    std::vector<Text> fields;
    const std::string where = "一覧の " + std::to_string(i + 1) + " 行目";
    if (!SplitCsv(line, fields)) {
      error = where + ": 「\"」が閉じていません";
      return {};
    }
    const bool header = first && UpperAscii(fields[0]) == u"SOURCE";
    first = false;
    if (header) continue;
    if (fields.size() != 2 || fields[0].empty() || fields[1].empty()) {
      error = where + ": SOURCE,DEST の 2 項目が必要です（「" + ToUtf8(line) + "」）";
      return {};
    }
    items.push_back({ToUtf8(fields[0]), ToUtf8(fields[1]), static_cast<long>(i + 1)});
  }
  if (items.empty()) error = "一覧に変換するデータがありません";
  return items;
}

namespace {

// The bytes of a host file named on the command line; none when it cannot be read.
std::optional<std::string> ReadHostFile(const std::string& file) {
#ifdef _WIN32
  const Text w = FromUtf8(file);
  std::ifstream in(std::filesystem::path(std::wstring(w.begin(), w.end())), std::ios::binary);
#else
  std::ifstream in(std::filesystem::path(file), std::ios::binary);
#endif
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

long AddedTo(const RunReport& report, bool classes) {
  long n = 0;
  for (const RunReport::TableChange& c : report.tables) {
    const TableInfo* table = FindTable(c.file);
    const bool isClass =
        table && std::find(kClassTables.begin(), kClassTables.end(), table) != kClassTables.end();
    if (classes ? isClass : table == &kTableXkishitu) n += static_cast<long>(c.added.size());
  }
  return n;
}

enum class BatchStatus { kConverted, kStopped, kNotRun };

// The status as the summary shows it and as the JSON report names it.
const char16_t* StatusText(BatchStatus s) {
  return s == BatchStatus::kConverted ? u"変換済み"
         : s == BatchStatus::kStopped ? u"中止"
                                      : u"未実行";
}
const char* StatusKey(BatchStatus s) {
  return s == BatchStatus::kConverted ? "converted"
         : s == BatchStatus::kStopped ? "stopped"
                                      : "not-run";
}

struct BatchResult {
  const BatchItem* item;
  BatchStatus status;
  RunReport report;
};

void PrintSummary(Session& session, const std::vector<BatchResult>& results, long converted) {
  Terminal& t = session.Term();
  if (!t.Quiet()) {
    t.Print(session.TextStream(), Text());
    t.PrintColumns(session.TextStream(), {u"変換元", u"変換先", u"結果", u"ファイル数",
                                          u"新しい地質名", u"新しい区分名"});
    for (const BatchResult& r : results) {
      // The columns are separated by tabs: a tab in a path is an escape.
      t.PrintColumns(session.TextStream(),
                     {FromUtf8(r.item->source), FromUtf8(r.item->dest), StatusText(r.status),
                      IntText(static_cast<long>(r.report.outputs.size())),
                      IntText(AddedTo(r.report, false)), IntText(AddedTo(r.report, true))});
    }
  }
  t.Print(session.TextStream(), IntText(static_cast<long>(results.size())) + u" 件中 " +
                                    IntText(converted) + u" 件を変換しました。");
}

}  // namespace

int RunBatch(Session& session) {
  const CliOptions& options = session.Options();
  const std::optional<std::string> bytes = ReadHostFile(options.batch);
  if (!bytes) return UsageError(session.Term(), "一覧「" + options.batch + "」を読めません");
  std::string error;
  const std::vector<BatchItem> items = ReadBatchList(*bytes, error);
  if (items.empty()) return UsageError(session.Term(), options.batch + ": " + error);
  if (!session.FindReferenceFolder()) return 1;
  std::vector<std::string> sources;
  for (const BatchItem& item : items) sources.push_back(item.source);
  if (const int code = session.CheckReportFile(sources); code != 0) return code;
  // The reference folder is read once for the whole batch (again only when another program
  // changed it between two conversions); the lock is taken for each conversion.
  session.KeepTablesBetweenRuns();

  std::vector<BatchResult> results;
  long converted = 0;
  int exitCode = 0;
  bool stop = false;
  for (size_t i = 0; i < items.size(); ++i) {
    const BatchItem& item = items[i];
    if (stop) {
      results.push_back({&item, BatchStatus::kNotRun, RunReport()});
      continue;
    }
    if (!session.Term().Quiet()) {
      session.Term().Print(session.TextStream(), u"[" + IntText(static_cast<long>(i + 1)) + u"/" +
                                                     IntText(static_cast<long>(items.size())) +
                                                     u"] " + FromUtf8(item.source) + u" -> " +
                                                     FromUtf8(item.dest));
    }
    const int code = session.Convert(item.source, item.dest);
    RunReport report = session.LastReport();
    if (code == 0) {
      ++converted;
      results.push_back({&item, BatchStatus::kConverted, report});
      continue;
    }
    if (!report.error) {
      report.completed = false;
      report.error = RunReport::Error{u"一覧の " + IntText(item.line) + u" 行目を変換できません。",
                                      Text(), ErrorKind::kData};
    }
    results.push_back({&item, BatchStatus::kStopped, report});
    exitCode = std::max(exitCode, 1);
    if (!options.keepGoing || InterruptFlag().load()) stop = true;
  }
  PrintSummary(session, results, converted);

  Json j;
  j["schema"] = kReportSchema;
  j["program"] = ProgramJson(session.Context());
  j["batch"] = {{"list", options.batch},
                {"conversions", results.size()},
                {"converted", converted},
                {"stopped", std::count_if(results.begin(), results.end(),
                                          [](const BatchResult& r) {
                                            return r.status == BatchStatus::kStopped;
                                          })},
                {"keepGoing", options.keepGoing}};
  Json conversions = Json::array();
  for (const BatchResult& r : results) {
    Json c = RunJson(r.report, session.Context());
    c["line"] = r.item->line;
    c["status"] = StatusKey(r.status);
    conversions.push_back(c);
  }
  j["conversions"] = conversions;
  session.WriteJson(j.dump(2) + "\n");
  return exitCode;
}

}  // namespace ostra
