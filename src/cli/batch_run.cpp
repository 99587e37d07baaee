#include <algorithm>

#include "base/numbers.h"
#include "cli/batch.h"
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
  int usage = 0;
  const std::optional<std::vector<BatchItem>> collected = CollectBatchItems(session, usage);
  if (!collected) return usage;
  const std::vector<BatchItem>& items = *collected;
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
                {"scan", options.scan},
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
    if (!options.scan.empty()) {
      c["found"] = r.item->found;
      c["fallback"] = r.item->fallback;
    }
    conversions.push_back(c);
  }
  j["conversions"] = conversions;
  session.WriteJson(j.dump(2) + "\n");
  return exitCode;
}

}  // namespace ostra
