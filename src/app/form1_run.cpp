// The presenter's runs and added windows: Execute and Exit, the trial, the wait for another run
// in which only Exit works, the report and the picture.
#include <exception>

#include "app/form1.h"
#include "app/form1_parts.h"
#include "formats/run_note.h"
#include "run/error_text.h"
#include "run/run.h"
#include "run/stop_error.h"

namespace ostra {

namespace {

// The report as the window shows it: a trial into a folder that does not exist yet says that a
// real conversion creates it, below the destination's line.
Text ShownReport(const RunReport& report, bool createsFolder) {
  Text text = ReportText(report);
  if (!createsFolder) return text;
  const Text destinationLine = u"変換先: " + report.destination + u"\n";
  const size_t at = text.find(destinationLine);
  const Text line = Text(kReportCreatesFolder) + u"\n";
  if (at == Text::npos) return text + line;
  return text.insert(at + destinationLine.size(), line);
}

}  // namespace

void Form1::Command1_Click() {
  if (running_) return;  // a click that arrives during the run's passes of events
  running_ = true;
  cancelRequested_ = false;
  try {
    Execute(false);
  } catch (const std::exception& e) {
    observer_->SetBusy(false);
    view_.SetStatus(Text());
    view_.ShowBox({ErrorMessage(e), MsgIcon::kCritical, Text(), false});
  }
  EndRun();
  trialNote_.reset();
  AfterRun();
}

RunReport Form1::Execute(bool trial) {
  ConversionRequest request;
  request.source = view_.Text1();
  request.destination = view_.Text2();
  request.referenceFolder = app_.patdatFolder;
  request.lockWait = app_.lockWait;
  request.encoding = app_.encoding;
  view_.SetStatus(kMsgConverting);
  view_.ProcessEvents();
  DriveMapEnv::RunScope remembered(env_);  // each name looked up once in this run
  observer_->Begin(trial);
  if (trial) {
    // Over the real files, every change kept in memory; the folder question is asked as a real
    // run asks it, and the picture says what the trial's files say of a stopped run.
    MemoryEnv trialFiles(&env_);
    app_.lastReport = Convert(request, trialFiles, *observer_);
    app_.lastReport.dryRun = true;
    if (!app_.lastReport.destination.empty()) {
      try {
        trialNote_ = ReadRunNote(trialFiles, app_.lastReport.destination);
      } catch (const std::exception&) {
        // A destination that cannot be looked at has no note to show.
      }
    }
  } else {
    app_.lastReport = Convert(request, env_, *observer_);
  }
  const RunReport& report = app_.lastReport;
  if (report.completed) {
    app_.completionShown = true;
    view_.SetStatus(!trial                            ? kMsgCompleted
                    : observer_->TrialCreatesFolder() ? kMsgTrialCreatesFolder
                                                      : kMsgTrialCompleted);
    if (observer_->Busy()) observer_->SetBusy(false);
    return report;
  }
  if (report.error) {
    for (const StopMessage& m : StopMessages(*report.error)) {
      view_.ShowBox({m.text, m.icon, m.title, false});
    }
    const StopReason reason = report.error->reason;
    if (reason == StopReason::kDriveName || reason == StopReason::kBadPath) {
      view_.SelectDestination();
    }
  }
  if (observer_->Busy()) observer_->SetBusy(false);
  view_.SetStatus(Text());
  return report;
}

void Form1::EndRun() {
  // What the user typed or clicked while the run worked is dropped, not done afterwards.
  view_.DropInput();
  running_ = false;
  // Folders the run may have created show in the lists.
  lists_->Refresh(Side::kSource);
  lists_->Refresh(Side::kDestination);
  if (cancelRequested_) view_.CloseWindow();
}

void Form1::DryRunButton_Click() {
  if (running_) return;
  running_ = true;
  cancelRequested_ = false;
  trialNote_.reset();
  bool completed = false;
  try {
    completed = Execute(true).completed;
  } catch (const std::exception& e) {
    observer_->SetBusy(false);
    view_.SetStatus(Text());
    view_.ShowBox({ErrorMessage(e), MsgIcon::kCritical, Text(), false});
  }
  EndRun();
  if (cancelRequested_) return;
  AfterRun();
  // A trial shows at once what it found.
  if (completed) ReportButton_Click();
}

void Form1::AfterRun() {
  view_.SetReportEnabled(true);
  if (view_.ReportOpen()) {
    view_.ShowReport(ShownReport(app_.lastReport, observer_->TrialCreatesFolder()), app_.encoding,
                     false);
  }
  if (view_.PictureOpen()) ShowPreview(false);
}

void Form1::ReportButton_Click() {
  if (running_) return;
  view_.ShowReport(ShownReport(app_.lastReport, observer_->TrialCreatesFolder()), app_.encoding,
                   true);
}

void Form1::EncodingChosen(DataEncoding encoding) {
  // A choice of encoding holds for the runs that follow; a trial shown is made again with it.
  app_.encoding = encoding;
  if (app_.lastReport.dryRun) DryRunButton_Click();
}

void Form1::Command2_Click() {
  // During a run Exit gives the run up where it waits; the window closes when the run is over.
  if (running_) {
    cancelRequested_ = true;
    return;
  }
  view_.CloseWindow();
}

bool Form1::QueryClose() {
  if (!running_) return true;
  cancelRequested_ = true;
  return false;
}

}  // namespace ostra
