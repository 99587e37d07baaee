#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/numbers.h"
#include "cli/batch.h"
#include "cli/batch_summary.h"
#include "cli/session.h"
#include "env/interrupt_signals.h"
#include "formats/table_registry.h"

namespace ostra {

namespace {

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

enum class BatchStatus { kConverted, kTried, kStopped, kNotRun };

// The status as the summary shows it and as the JSON report names it.
const char16_t* StatusText(BatchStatus s) {
  return s == BatchStatus::kConverted ? kResultConverted
         : s == BatchStatus::kTried   ? kResultTried
         : s == BatchStatus::kStopped ? kResultStopped
                                      : kResultNotRun;
}
const char* StatusKey(BatchStatus s) {
  return s == BatchStatus::kConverted ? "converted"
         : s == BatchStatus::kTried   ? "tried"
         : s == BatchStatus::kStopped ? "stopped"
                                      : "not-run";
}

struct BatchResult {
  const BatchItem* item;
  BatchStatus status;
  RunReport report;
};

// Line ends of a message as spaces: one cell, one line.
Text OneLine(const Text& text) {
  Text out;
  for (const char16_t c : text) {
    if (c == u'\n' && !out.empty() && out.back() == u' ') continue;
    out += c == u'\r' || c == u'\n' ? u' ' : c;
  }
  while (!out.empty() && out.back() == u' ') out.pop_back();
  return out;
}

Text Reason(const RunReport& report) {
  if (!report.error) return Text();
  const Text& m = report.error->message;
  return OneLine(m.substr(0, m.find_first_of(u"\r\n")));
}

Text Warnings(const BatchResult& r) {
  std::vector<Text> all;
  if (!r.item->fallback.empty()) all.push_back(u"フォルダ名から: " + FromUtf8(r.item->fallback));
  for (const Text& w : r.report.warnings) all.push_back(OneLine(w));
  Text joined;
  for (const Text& w : all) joined += (joined.empty() ? u"" : u" / ") + w;
  return joined;
}

SummaryRow RowOf(const BatchResult& r) {
  return {r.item->line,
          FromUtf8(r.item->source),
          FromUtf8(r.item->dest),
          StatusText(r.status),
          Reason(r.report),
          Warnings(r),
          IntText(static_cast<long>(r.report.outputs.size())),
          IntText(AddedTo(r.report, false)),
          IntText(AddedTo(r.report, true))};
}

// What a conversion of the batch is called in its messages: its line of the list, the line of
// the summary it was retried from, or the data set the scan found.
Text ItemName(const BatchItem& item, bool retry) {
  if (!item.found.empty()) return u"\"" + FromUtf8(item.found) + u"\"";
  return retry ? u"行 " + IntText(item.line) : u"一覧の " + IntText(item.line) + u" 行目";
}

void PrintSummary(Session& session, const std::vector<BatchResult>& results, long done) {
  Terminal& t = session.Term();
  if (!t.Quiet()) {
    t.Print(session.TextStream(), Text());
    t.PrintColumns(session.TextStream(), SummaryHeader());
    // The columns are separated by tabs: a tab in a path is an escape.
    for (const BatchResult& r : results)
      t.PrintColumns(session.TextStream(), SummaryCells(RowOf(r)));
  }
  t.Print(session.TextStream(),
          IntText(static_cast<long>(results.size())) + u" 件中 " + IntText(done) +
              (session.Options().dryRun ? u" 件を試行しました。" : u" 件を変換しました。"));
}

// --retry: the rows of the summary, and the conversions of those that did not convert.
struct Retry {
  std::vector<SummaryRow> rows;
  std::vector<BatchItem> items;
  std::vector<size_t> rowOf;  // the row of each item
};

std::optional<Retry> ReadRetry(Session& session, int& exitCode) {
  const std::string& file = session.Options().retry;
  const std::optional<std::string> bytes = ReadHostFile(file);
  if (!bytes) {
    exitCode = UsageError(session.Term(), "結果の表「" + file + "」を読めません");
    return std::nullopt;
  }
  std::string error;
  std::optional<std::vector<SummaryRow>> rows = ReadSummaryCsv(*bytes, error);
  if (!rows) {
    exitCode = UsageError(session.Term(), file + " の " + error);
    return std::nullopt;
  }
  Retry retry{*rows, {}, {}};
  for (size_t i = 0; i < retry.rows.size(); ++i) {
    const SummaryRow& row = retry.rows[i];
    if (row.result == kResultConverted) continue;
    retry.items.push_back({ToUtf8(row.source), ToUtf8(row.dest), row.line, {}, {}});
    retry.rowOf.push_back(i);
  }
  return retry;
}

void WriteSummary(Session& session, const std::vector<SummaryRow>& rows) {
  const std::string& file = session.Options().summary;
  if (file.empty()) return;
  bool fellBack = false;
  const std::string bytes = SummaryCsv(rows, session.Options().utf8, fellBack);
  Terminal& t = session.Term();
  if (fellBack) {
    t.Print(stderr, u"結果の表 \"" + FromUtf8(file) +
                        u"\" には Shift-JIS で書けない文字があるため、表全体を UTF-8（BOM "
                        u"付き）で書きます。");
  }
  if (!WriteHostFile(t, file, bytes)) {
    t.Print(stderr, u"（書けなかったのは結果の表だけです。変換の結果には影響しません。）");
    session.NoteUnwritten();
  }
}

}  // namespace

int RunBatch(Session& session) {
  const CliOptions& options = session.Options();
  const bool retrying = !options.retry.empty();
  int usage = 0;
  std::optional<Retry> retry;
  std::optional<std::vector<BatchItem>> collected;
  if (retrying) {
    retry = ReadRetry(session, usage);
    if (!retry) return usage;
    if (retry->items.empty()) {
      session.Term().Print(session.TextStream(),
                           u"\"" + FromUtf8(options.retry) +
                               u"\" の行は全部変換済みです。変換し直す行はありません。");
      WriteSummary(session, retry->rows);
      return session.ExitStatus(0);
    }
  } else {
    collected = CollectBatchItems(session, usage);
    if (!collected) return usage;
  }
  const std::vector<BatchItem>& items = retrying ? retry->items : *collected;
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
    // Every warning and error of this conversion says which one it is, also under -q.
    session.Term().SetErrorContext(u"[" + ItemName(item, retrying) + u" → " + FromUtf8(item.dest) +
                                   u"] ");
    const int code = session.Convert(item.source, item.dest);
    session.Term().SetErrorContext(Text());
    RunReport report = session.LastReport();
    if (code == 0) {
      ++converted;
      results.push_back(
          {&item, options.dryRun ? BatchStatus::kTried : BatchStatus::kConverted, report});
      continue;
    }
    if (!report.error) {
      report.completed = false;
      report.error = RunReport::Error{
          ItemName(item, retrying) + (item.found.empty() ? u"" : u" ") + u"を変換できません。",
          Text(), ErrorKind::kData};
    }
    results.push_back({&item, BatchStatus::kStopped, report});
    exitCode = std::max(exitCode, code == 3 ? 3 : 1);
    if (!options.keepGoing || InterruptFlag().load()) stop = true;
  }
  PrintSummary(session, results, converted);

  std::vector<SummaryRow> rows = retrying ? retry->rows : std::vector<SummaryRow>();
  for (size_t i = 0; i < results.size(); ++i) {
    if (retrying) {
      rows[retry->rowOf[i]] = RowOf(results[i]);
    } else {
      rows.push_back(RowOf(results[i]));
    }
  }
  WriteSummary(session, rows);

  Json j;
  j["schema"] = kReportSchema;
  j["program"] = ProgramJson(session.Context());
  j["batch"] = {{"list", options.batch},
                {"scan", options.scan},
                {"conversions", results.size()},
                {"converted", converted},
                {"stopped", std::count_if(results.begin(), results.end(),
                                          [](const BatchResult& r) {
                                            return r.status == BatchStatus::kStopped;
                                          })},
                {"keepGoing", options.keepGoing}};
  if (retrying) j["batch"]["retry"] = options.retry;
  Json conversions = Json::array();
  for (const BatchResult& r : results) {
    Json c = RunJson(r.report, session.Context());
    c["line"] = r.item->line;
    c["status"] = StatusKey(r.status);
    c["reason"] = r.report.error ? Json(ToUtf8(Reason(r.report))) : Json(nullptr);
    if (!r.item->found.empty()) {
      c["found"] = r.item->found;
      c["fallback"] = r.item->fallback;
    }
    conversions.push_back(c);
  }
  j["conversions"] = conversions;
  session.WriteJson(j.dump(2) + "\n");
  return session.ExitStatus(exitCode);
}

}  // namespace ostra
