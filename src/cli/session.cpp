#include "cli/session.h"

#include "base/drive_path.h"
#include "base/errors.h"
#include "base/sjis.h"
#include "cli/paths.h"
#include "formats/bed_data_set.h"
#include "formats/run_note.h"
#include "preview/boring_log_model.h"
#include "preview/boring_log_svg.h"
#include "run/error_text.h"
#include "run/patdat.h"

namespace ostra {

Session::Session(const CliOptions& options, std::unique_ptr<Env> host, DriveMap drives)
    : options_(options),
      host_(std::move(host)),
      env_(*host_, std::move(drives)),
      terminal_(options.utf8, options.quiet),
      ui_(terminal_, options.yes, settings_.lockWait) {
  if (options.encoding == "cp932") settings_.encoding = DataEncoding::kCp932;
  if (options.encoding == "utf-8") settings_.encoding = DataEncoding::kUtf8;
  context_.program = "ostraconv-cli";
  context_.version = OSTRA_VERSION;
  context_.commit = OSTRA_COMMIT;
  context_.hostPath = [this](const Text& path) -> std::string {
    try {
      return ToUtf8(env_.ToHost(path));
    } catch (const RunError&) {
      return std::string();
    }
  };
}

bool Session::FindReferenceFolder() {
  if (!options_.patdat.empty()) {
    if (const std::string problem = PathArgumentProblem(options_.patdat); !problem.empty()) {
      UsageError(terminal_, problem);
      return false;
    }
    std::optional<Text> p = DriveFormOf(env_.Drives(), options_.patdat);
    if (!p) {
      UsageError(terminal_,
                 "--patdat のフォルダ「" + options_.patdat + "」はどのドライブにもありません");
      return false;
    }
    settings_.referenceFolder = DrivePath(*p).Folder();
    Text message = u"参照フォルダ \"" + settings_.referenceFolder + u"\" がありません。";
    try {
      if (env_.FolderExists(settings_.referenceFolder)) return true;
    } catch (const RunError& e) {
      message = ErrorMessage(e);
    }
    terminal_.Print(stderr, message);
    RunReport report;
    report.error =
        RunReport::Error{message, settings_.referenceFolder, ErrorKind::kReferenceFolder};
    Stopped(report);
    return false;
  }
  settings_.referenceFolder = FindPatdat(env_);
  if (!settings_.referenceFolder.empty()) return true;
  terminal_.Print(stderr, u" PATDAT の設定がありません.");
  // The window's words do not say where it looked.
  Text places;
  const Text program = env_.ProgramFolder();
  if (!program.empty()) places += u"\"" + program + u"\\PATDAT\"、";
  for (char16_t letter : env_.Drives().Letters()) {
    places += Text(1, letter) + u":\\PATDAT ";
  }
  terminal_.Print(stderr, u"探した場所: " + places +
                              u"（とその下のフォルダ）。KISHITU.TXT のある参照フォルダを "
                              u"--patdat DIR で指定してください。");
  RunReport report;
  report.error =
      RunReport::Error{u" PATDAT の設定がありません.", Text(), ErrorKind::kReferenceFolder};
  Stopped(report);
  return false;
}

void Session::KeepTablesBetweenRuns() {
  if (options_.dryRun) {
    trialFiles_ = std::make_unique<MemoryEnv>(&env_);
    settings_.tables = std::make_shared<ReferenceFolder>(*trialFiles_, settings_.referenceFolder);
  } else {
    settings_.tables = std::make_shared<ReferenceFolder>(env_, settings_.referenceFolder);
  }
}

void Session::PrintReport(const RunReport& report) {
  if (terminal_.Quiet() || options_.reportJson == "-" || IsBatch(options_)) return;
  Text text = ReportText(report);
  while (!text.empty() && text.back() == u'\n') text.pop_back();
  terminal_.Print(TextStream(), u"\n" + text);
}

int Session::CheckReportFile(const std::vector<std::string>& sources) {
  const std::string& file = options_.reportJson;
  if (file.empty() || file == "-" || !PathArgumentProblem(file).empty()) return 0;
  const std::optional<Text> report = DriveFormOf(env_.Drives(), file);
  if (!report) return 0;
  const Text target = ComparableDriveForm(env_.Drives(), *report);
  const Text patdat = ComparableDriveForm(env_.Drives(), settings_.referenceFolder);
  if (target == patdat || target.rfind(patdat + u"\\", 0) == 0) {
    return UsageError(terminal_, "--report-json のファイル「" + file +
                                     "」は参照フォルダ PATDAT の中です。PATDAT の外のファイルを"
                                     "指定してください");
  }
  for (const std::string& source : sources) {
    if (!PathArgumentProblem(source).empty()) continue;
    const std::optional<Text> src = DriveFormOf(env_.Drives(), source);
    if (!src) continue;
    // An XML source is one file; an MDT file stands for the files of its data set.
    const Text given = Trim(*src);
    const std::vector<Text> files =
        IsBedSource(given) ? std::vector<Text>{given} : DataSetFiles(given);
    for (const Text& f : files) {
      if (ComparableDriveForm(env_.Drives(), f) == target) {
        return UsageError(terminal_, "--report-json のファイル「" + file +
                                         "」は変換するデータのファイルです。別のファイルを"
                                         "指定してください");
      }
    }
  }
  return 0;
}

bool Session::WriteJson(const std::string& json) {
  if (options_.reportJson.empty()) return true;
  if (WriteHostFile(terminal_, options_.reportJson, json)) return true;
  terminal_.Print(stderr,
                  u"（書けなかったのは変換の記録（JSON）だけです。変換の結果には影響しません。）");
  NoteUnwritten();
  return false;
}

int Session::Stopped(const RunReport& report) {
  // A lock not obtained in time is worth trying again later: a status of its own.
  const int code = report.error && report.error->reason == StopReason::kLockTimedOut ? 3 : 1;
  if (IsBatch(options_)) return code;
  WriteJson(ReportJson(report, context_));
  return ExitStatus(code);
}

int Session::Convert(const std::string& source, const std::string& dest) {
  lastReport_ = RunReport();
  // One conversion looks each name up once; the next one of a batch asks anew.
  DriveMapEnv::RunScope remembered(env_);
  for (const std::string& arg : {source, dest}) {
    if (const std::string problem = PathArgumentProblem(arg); !problem.empty())
      return UsageError(terminal_, problem);
  }
  std::optional<Text> src = DriveFormOf(env_.Drives(), source);
  if (!src) return UsageError(terminal_, "SOURCE「" + source + "」はどのドライブにもありません");
  std::optional<Text> dst = DriveFormOf(env_.Drives(), dest);
  if (!dst) return UsageError(terminal_, "DEST「" + dest + "」はどのドライブにもありません");
  if (!IsDataSetSource(*src)) return 2;

  // The picture is drawn from the data set once the run is over, with the destination's note
  // when the run stopped part-way: a trial run's files are in its memory Env.
  bool previewOk = true;
  auto preview = [&](Env& files, const RunReport& report) {
    if (!options_.preview.empty() && !report.source.empty())
      previewOk = WritePicture(files, report.source, report.destination, false);
  };
  ConversionRequest request = settings_;
  request.source = *src;
  request.destination = *dst;
  if (options_.dryRun) {
    // The trials of a batch share one memory Env; a single trial has one of its own.
    MemoryEnv single(&env_);
    MemoryEnv& trialFiles = trialFiles_ ? *trialFiles_ : single;
    lastReport_ = ConvertInMemory(request, trialFiles, ui_);
    preview(trialFiles, lastReport_);
  } else {
    lastReport_ = ostra::Convert(request, env_, ui_);
    preview(env_, lastReport_);
  }
  const RunReport& report = lastReport_;
  if (options_.verbose) SayDetails(report);
  if (!report.completed) {
    ui_.ShowStop(report);
    // The run's own words do not say which source it was given.
    const Text given = Trim(*src);
    try {
      if (env_.FolderExists(given)) {
        terminal_.Print(stderr, u"変換元 \"" + given + u"\" はフォルダです。");
      } else if (!env_.FileExists(given)) {
        terminal_.Print(stderr, u"変換元 \"" + given + u"\" がありません。");
      }
    } catch (const RunError&) {
      // The run's own message has named the file.
    }
    // What the run had done before it stopped stays: say what it was.
    if (!report.sections.empty() || !report.outputs.empty() || !report.tables.empty())
      PrintReport(report);
    return Stopped(report);
  }
  if (!IsBatch(options_)) {
    terminal_.Print(TextStream(), kMsgCompleted);
    PrintReport(report);
    WriteJson(ReportJson(report, context_));
  }
  return ExitStatus(previewOk ? 0 : 1);
}

void Session::SayDetails(const RunReport& report) {
  if (!referenceFolderSaid_) {
    referenceFolderSaid_ = true;
    terminal_.Print(stderr, u"参照フォルダ: " + settings_.referenceFolder);
  }
  if (!report.markerNotWritten.empty()) {
    terminal_.Print(stderr,
                    u"PATADD.txt: プログラムのフォルダに書き込めないため、作成しませんでした（" +
                        report.markerNotWritten + u"）");
  }
}

bool Session::IsDataSetSource(const Text& source) {
  // The window offers only MDT files and boring exchange XML files as sources: another section
  // file would convert into garbage titles and missing layer files.
  if (IsMdtFileName(source) || IsBedSource(Trim(source))) return true;
  terminal_.Print(stderr, u"変換元 \"" + source +
                              u"\" は MDT ファイルではありません。MDT "
                              u"で始まる名前のファイル（MDT0001.GDF など）を指定してください。");
  return false;
}

bool Session::WritePicture(Env& files, const Text& source, const Text& destination,
                           bool sayProblems) {
  BoringLogModel model = ReadBoringLogModel(
      files, source, settings_.encoding, [](const std::exception& e) { return ErrorMessage(e); });
  if (!destination.empty()) {
    try {
      model.stoppedRun = ReadRunNote(files, destination).value_or(Text());
    } catch (const std::exception&) {
      // A destination that cannot be looked at has no note to show.
    }
  }
  if (sayProblems) {
    for (const Text& problem : model.problems) terminal_.Print(stderr, problem);
  }
  return WriteHostFile(terminal_, options_.preview, RenderBoringLogSvg(model, options_.scale));
}

int Session::DrawDataSet(const std::string& source) {
  DriveMapEnv::RunScope remembered(env_);
  if (const std::string problem = PathArgumentProblem(source); !problem.empty())
    return UsageError(terminal_, problem);
  const std::optional<Text> src = DriveFormOf(env_.Drives(), source);
  if (!src) return UsageError(terminal_, "SOURCE「" + source + "」はどのドライブにもありません");
  if (!IsDataSetSource(*src)) return 2;
  const Text given = Trim(*src);
  try {
    if (!env_.FileExists(given)) {
      terminal_.Print(stderr, u"変換元 \"" + given + u"\" がありません。");
      return 1;
    }
  } catch (const std::exception& e) {
    terminal_.Print(stderr, ErrorMessage(e));
    return 1;
  }
  return WritePicture(env_, given, Text(), true) ? 0 : 1;
}

}  // namespace ostra
