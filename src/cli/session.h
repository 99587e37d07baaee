// One invocation of the command-line program after its arguments were read: the drives, the
// reference folder, the terminal, and the conversions it runs.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "cli/options.h"
#include "cli/report_json.h"
#include "cli/terminal.h"
#include "env/drive_map_env.h"
#include "env/memory_env.h"
#include "run/run.h"

namespace ostra {

class Session {
 public:
  Session(const CliOptions& options, std::unique_ptr<Env> host, DriveMap drives);

  // Finds the reference folder; false (with the message, and the JSON report when asked for)
  // when there is none.
  bool FindReferenceFolder();
  // One conversion; its report is then LastReport(). A SOURCE or DEST that is no path gives a
  // usage error (exit status 2) and no report.
  int Convert(const std::string& source, const std::string& dest);
  // --write-gdf: reads the XML file `source` and writes its data set as the six legacy files
  // into the folder of --write-gdf (created when missing). Files of those names already there
  // are replaced only when the user agrees (--yes). 0 when written; 1 when the file could not
  // be read or written or the user declined; 2 (a usage error) for a source that is no XML
  // file, such as an MDT file, which is a data set already. `printWarnings`: the reader's
  // warnings go to standard error (a conversion that follows prints them itself).
  int WriteDataSet(const std::string& source, bool printWarnings);
  // --preview without DEST: draws the data set of `source` (an MDT file or a boring exchange XML
  // file) into the --preview file without converting it; what could not be read is said on
  // standard error and left out of the picture. 0 when drawn; 1 when the source is missing or the
  // picture could not be written; 2 (a usage error) for a source that is no path or no data set.
  int DrawDataSet(const std::string& source);
  // A --report-json file inside the reference folder or among the files of the data sets of
  // `sources` would overwrite what the conversion reads: a usage error (2) says so before
  // anything runs; 0 when the file is elsewhere.
  int CheckReportFile(const std::vector<std::string>& sources);
  // Writes a report file when --report-json asked for one; failing costs only the report, and
  // the exit status says so (ExitStatus). False when it could not be written.
  bool WriteJson(const std::string& json);
  // The exit status of a run that ended with `code`: 4 when a file asked for (the JSON report,
  // the summary) could not be written, whatever the conversions did.
  int ExitStatus(int code) const { return unwritten_ ? std::max(code, 4) : code; }
  // Records that a file asked for could not be written.
  void NoteUnwritten() { unwritten_ = true; }
  // The JSON context: program, version and host paths.
  const JsonContext& Context() const { return context_; }
  // What every conversion of the session shares: the reference folder, the lock wait, the
  // tables kept between conversions and the data's encoding.
  ConversionRequest& Settings() { return settings_; }
  // The report of the last conversion; empty when it did not run.
  const RunReport& LastReport() const { return lastReport_; }
  Terminal& Term() { return terminal_; }
  // The files the session reads and writes, by drive-form paths.
  DriveMapEnv& Files() { return env_; }
  const CliOptions& Options() const { return options_; }
  // Where the completion line and the text report go: stdout, unless the JSON report, the
  // picture or the batch's summary does.
  std::FILE* TextStream() const {
    return options_.reportJson == "-" || options_.preview == "-" || options_.summary == "-"
               ? stderr
               : stdout;
  }
  void PrintReport(const RunReport& report);
  // Keeps the tables read from one conversion to the next, and a trial's memory Env with them.
  void KeepTablesBetweenRuns();

 private:
  int Stopped(const RunReport& report);
  // --verbose: the reference folder (once) and where PATADD.txt would have gone when it could
  // not be made, on standard error.
  void SayDetails(const RunReport& report);
  // Writes the picture of the data set `source` into the --preview file, read through `files`,
  // with the note of `destination` when the run there stopped part-way (none: no destination).
  // The problems of reading go to standard error when `sayProblems`. False when not written.
  bool WritePicture(Env& files, const Text& source, const Text& destination, bool sayProblems);
  // A source the program accepts: an MDT file or a boring exchange XML file; else says so.
  bool IsDataSetSource(const Text& source);

  CliOptions options_;
  std::unique_ptr<Env> host_;
  DriveMapEnv env_;
  Terminal terminal_;
  ConversionRequest settings_;
  RunReport lastReport_;
  TerminalUi ui_;
  JsonContext context_;
  std::unique_ptr<MemoryEnv> trialFiles_;  // kept for a batch of trials
  bool unwritten_ = false;
  bool referenceFolderSaid_ = false;
};

// A batch: every pair of the list file, in order.
int RunBatch(Session& session);

}  // namespace ostra
