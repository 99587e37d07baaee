// The run's entry points, the trial, and the report as the run builds it.
#include "run/convert.h"

#include "base/text_lines.h"
#include "env/files.h"
#include "run/conversion.h"
#include "run/error_text.h"

namespace ostra {

namespace {

// Passes everything on, answering the folder question Yes: a trial creates folders in memory.
class TrialObserver : public RunObserver {
 public:
  explicit TrialObserver(RunObserver& observer) : observer_(observer) {}
  void Status(const Text& text) override { observer_.Status(text); }
  bool Ask(const Text&) override { return true; }
  void WorkStarts() override { observer_.WorkStarts(); }
  void StillWaiting() override { observer_.StillWaiting(); }
  bool CancelRequested() override { return observer_.CancelRequested(); }
  void Converted() override { observer_.Converted(); }
  void Warn(const Text& text) override { observer_.Warn(text); }

 private:
  RunObserver& observer_;
};

}  // namespace

RunReport Convert(const ConversionRequest& request, Env& env, RunObserver& observer) {
  if (request.trial) {
    MemoryEnv trialFiles(&env);
    return ConvertInMemory(request, trialFiles, observer);
  }
  return Conversion(request, env, observer).Run();
}

RunReport ConvertInMemory(const ConversionRequest& request, MemoryEnv& trialFiles,
                          RunObserver& observer) {
  TrialObserver trial(observer);
  RunReport report = Conversion(request, trialFiles, trial).Run();
  report.dryRun = true;
  return report;
}

void ReportBuilder::Warn(const Text& text) {
  report.warnings.push_back(text);
  observer_.Warn(text);
}

Text ReportBuilder::Worded(const std::exception& e) {
  return ErrorMessage(e);
}

void ReportBuilder::NoteOutput(const Text& name) {
  for (const RunReport::Output& o : report.outputs) {
    if (o.file == name) return;
  }
  report.outputs.push_back({name, 0});
}

void ReportBuilder::SnapshotTables(Env& files, const RunEnv& env) {
  for (const char16_t* table : kWatchedTables) {
    const Text path = env.Table(table);
    tablesBefore_.emplace_back(path, Snapshot(files, path));
  }
}

void ReportBuilder::Collect(Env& files, const CheckedPaths& paths) {
  // Files the run wrote and that are still there (a working file is removed again).
  std::vector<RunReport::Output> outputs;
  for (RunReport::Output& o : report.outputs) {
    if (!files.FileExists(paths.Out(o.file))) continue;
    o.lines = static_cast<long>(ReadFileLines(files, paths.Out(o.file)).size());
    o.bytes = files.FileSize(paths.Out(o.file));
    outputs.push_back(o);
  }
  report.outputs = std::move(outputs);
  report.tables = TableChanges(files, tablesBefore_);
}

}  // namespace ostra
