#include "gui/form1.h"

#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QFont>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <algorithm>
#include <exception>

#include "env/drives.h"
#include "env/files.h"
#include "gui/qt_text.h"
#include "run/error_text.h"
#include "run/patdat.h"
#include "run/stop_error.h"

namespace ostra {

namespace {

Text RootOf(char16_t letter) {
  Text root;
  root.push_back(letter);
  root += u":\\";
  return root;
}

}  // namespace

Form1::Form1(DriveMapEnv& env, QWidget* parent) : QWidget(parent), env_(env) {
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    scale_ = screen->logicalDotsPerInchX() / 96.0;
  }
  BuildControls();
  port_ = std::make_unique<QtUiPort>(this, label3_, text2_);
  port_->SetCancelWidget(command2_);

  // The current drive and folder are those of the process's working folder when a drive maps
  // it, else the root of the first usable drive.
  if (std::optional<Text> cwd =
          env_.Drives().ToDriveForm(std::filesystem::path(QDir::currentPath().toStdU16String()))) {
    currentDrive_ = DriveLetterOf(*cwd);
    currentFolders_[currentDrive_] = *cwd;
  } else {
    for (char16_t letter : env_.Drives().Letters()) {
      if (DriveReady(env_, letter)) {
        currentDrive_ = letter;
        break;
      }
    }
  }
  drive1_->SelectQuietly(currentDrive_);
  drive2_->SelectQuietly(currentDrive_);
}

Form1::~Form1() = default;

bool Form1::Form_Load() {
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect area = screen->geometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
  }

  app_.patdatFolder = FindPatdat(env_, [this] { port_->ProcessEvents(); });
  if (app_.patdatFolder.empty()) {
    port_->ShowMessage(kMsgNoPatdat, MsgIcon::kNone, Text());
    close();
    return false;
  }

  app_.completionShown = false;
  file1_->SetPattern(kSourcePattern);
  Drive1_Change();
  Drive2_Change();
  text1_->setText(ToQString(dir1_->Path()));
  text2_->setText(ToQString(dir2_->Path()));
  return true;
}

Text Form1::CurrentFolderOf(char16_t letter) const {
  auto it = currentFolders_.find(letter);
  if (it != currentFolders_.end() && FolderReachable(env_, it->second)) return it->second;
  return RootOf(letter);
}

void Form1::MakeCurrent(const Text& folder) {
  char16_t letter = DriveLetterOf(folder);
  if (letter == 0) return;
  currentDrive_ = letter;
  currentFolders_[letter] = folder;
}

void Form1::DriveChange(DriveList* drive, FolderList* dir, char16_t& lastGood) {
  char16_t letter = drive->Letter();
  bool ok = letter != 0 && DriveReady(env_, letter);
  if (ok) ok = dir->SetPath(CurrentFolderOf(letter)) || dir->SetPath(RootOf(letter));
  if (!ok) {
    // A drive that cannot be read: back to the last good one, folder list unchanged.
    if (lastGood != 0) drive->SelectQuietly(lastGood);
    return;
  }
  lastGood = letter;
  currentDrive_ = letter;
}

void Form1::Drive1_Change() {
  DriveChange(drive1_, dir1_, drive1Last_);
}

void Form1::Drive2_Change() {
  DriveChange(drive2_, dir2_, drive2Last_);
}

void Form1::Dir1_Change() {
  file1_->SetPattern(kSourcePattern);
  file1_->SetFolder(dir1_->Path());
  text1_->setText(ToQString(dir1_->Path()));
  MakeCurrent(dir1_->Path());
}

void Form1::Dir2_Change() {
  text2_->setText(ToQString(dir2_->Path()));
  MakeCurrent(dir2_->Path());
}

void Form1::File1_Click() {
  Text name = file1_->FileName();
  if (name.empty()) return;
  text1_->setText(ToQString(JoinPath(dir1_->Path(), name)));
}

void Form1::Picture1_MouseMove() {
  if (!app_.completionShown) return;
  label3_->clear();
  app_.completionShown = false;
}

void Form1::Command1_Click() {
  if (running_) return;  // a click that arrives during the run's one pass of events
  running_ = true;
  port_->ResetCancel();
  try {
    Execute(false);
  } catch (const std::exception& e) {
    port_->SetBusy(false);
    port_->SetStatus(Text());
    port_->ShowMessage(ErrorMessage(e), MsgIcon::kCritical, Text());
  }
  EndRun();
  trialModel_.reset();
  AfterRun();
}

RunReport Form1::Execute(bool trial) {
  ConversionRequest request;
  request.source = FromQString(text1_->text());
  request.destination = FromQString(text2_->text());
  request.referenceFolder = app_.patdatFolder;
  request.lockWait = app_.lockWait;
  request.encoding = app_.encoding;
  port_->SetStatus(kMsgConverting);
  port_->ProcessEvents();
  DriveMapEnv::RunScope remembered(env_);  // each name looked up once in this run
  if (trial) {
    // The picture of a trial is drawn from the files it kept in memory.
    MemoryEnv trialFiles(&env_);
    app_.lastReport = ConvertInMemory(request, trialFiles, *port_);
    if (app_.lastReport.completed) {
      trialModel_ = std::make_shared<BoringLogModel>(
          ReadBoringLogModel(trialFiles, app_.lastReport.destination));
    }
  } else {
    app_.lastReport = Convert(request, env_, *port_);
  }
  const RunReport& report = app_.lastReport;
  if (report.completed) {
    app_.completionShown = true;
    port_->SetStatus(trial ? kMsgTrialCompleted : kMsgCompleted);
    if (port_->Busy()) port_->SetBusy(false);
    return report;
  }
  if (report.error) {
    for (const StopMessage& m : StopMessages(*report.error)) {
      port_->ShowMessage(m.text, m.icon, m.title);
    }
    const StopReason reason = report.error->reason;
    if (reason == StopReason::kDriveName || reason == StopReason::kBadPath)
      port_->SelectDestination();
  }
  if (port_->Busy()) port_->SetBusy(false);
  port_->SetStatus(Text());
  return report;
}

void Form1::EndRun() {
  // What the user typed or clicked while the run worked is dropped, not done afterwards.
  port_->DropInput();
  running_ = false;
  // Folders the run may have created show in the lists.
  dir1_->Refresh();
  dir2_->Refresh();
  if (port_->CancelRequested()) close();
}

void Form1::DryRunButton_Click() {
  if (running_) return;
  running_ = true;
  port_->ResetCancel();
  trialModel_.reset();
  const bool completed = Execute(true).completed;
  EndRun();
  if (port_->CancelRequested()) return;
  AfterRun();
  // A trial shows at once what it found.
  if (completed) ReportButton_Click();
}

void Form1::AfterRun() {
  reportButton_->setEnabled(true);
  if (reportWindow_ != nullptr && reportWindow_->isVisible()) {
    reportWindow_->SetReport(ReportText(app_.lastReport));
  }
  if (previewWindow_ != nullptr && previewWindow_->isVisible()) ShowPreview();
}

void Form1::ShowPreview() {
  if (app_.lastReport.dryRun && trialModel_ != nullptr) {
    previewWindow_->ShowModel(PreviewFolder(), *trialModel_);
  } else {
    previewWindow_->ShowFolder(env_, PreviewFolder());
  }
}

Text Form1::PreviewFolder() const {
  if (!app_.lastReport.destination.empty()) return app_.lastReport.destination;
  return FromQString(text2_->text());
}

void Form1::PreviewButton_Click() {
  if (running_) return;
  const bool first = previewWindow_ == nullptr;
  if (first) previewWindow_ = new BoringLogWindow(this);
  ShowPreview();
  if (first) PlaceOver(previewWindow_);
  previewWindow_->show();
  previewWindow_->raise();
  previewWindow_->activateWindow();
}

void Form1::ReportButton_Click() {
  if (running_) return;
  const bool first = reportWindow_ == nullptr;
  if (first) {
    reportWindow_ = new RunReportWindow(this);
    PlaceOver(reportWindow_);
    // A choice of encoding holds for the runs that follow; after a trial, the trial is made
    // again with it.
    connect(reportWindow_->EncodingBox(), &QComboBox::activated, this, [this](int index) {
      app_.encoding = static_cast<DataEncoding>(index);
      if (app_.lastReport.dryRun) DryRunButton_Click();
    });
  }
  reportWindow_->EncodingBox()->setCurrentIndex(static_cast<int>(app_.encoding));
  reportWindow_->SetReport(ReportText(app_.lastReport));
  reportWindow_->show();
  reportWindow_->raise();
  reportWindow_->activateWindow();
}

void Form1::Command2_Click() {
  // During a run Exit gives the run up where it waits; the window closes when the run is over.
  if (running_) {
    port_->RequestCancel();
    return;
  }
  close();
}

void Form1::closeEvent(QCloseEvent* event) {
  if (running_) {
    port_->RequestCancel();
    event->ignore();
    return;
  }
  QWidget::closeEvent(event);
}

void Form1::PlaceOver(QWidget* window) const {
  // Centred on this window, within the screen.
  QRect frame(QPoint(0, 0), window->size());
  frame.moveCenter(frameGeometry().center());
  if (QScreen* screen = this->screen()) {
    const QRect area = screen->availableGeometry();
    frame.moveLeft(std::max(area.left(), std::min(frame.left(), area.right() - frame.width())));
    frame.moveTop(std::max(area.top(), std::min(frame.top(), area.bottom() - frame.height())));
  }
  window->move(frame.topLeft());
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == picture1_ && event->type() == QEvent::MouseMove) Picture1_MouseMove();
  return QWidget::eventFilter(watched, event);
}

}  // namespace ostra
