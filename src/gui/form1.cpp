#include "gui/form1.h"

#include <QDir>
#include <QEvent>
#include <QFont>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <exception>

#include "env/drives.h"
#include "env/files.h"
#include "gui/qt_text.h"
#include "preview/boring_log_svg.h"
#include "run/dry_run.h"
#include "run/patdat.h"

namespace ostra {

namespace {

// Client area of the window, in twips.
constexpr int kClientWidth = 9090;
constexpr int kClientHeight = 6495;
constexpr int kTwipsPerInch = 1440;
// The strip below the original client area that holds the added buttons.
constexpr int kStripHeight = 735;

// Fonts that show Japanese, the Windows ones first.
const QStringList kJapaneseFonts = {
    QStringLiteral("MS UI Gothic"),     QStringLiteral("MS PGothic"),   QStringLiteral("Meiryo UI"),
    QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAPGothic"),   QStringLiteral("IPAGothic"),
    QStringLiteral("VL PGothic"),       QStringLiteral("TakaoPGothic"),
};

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

int Form1::Px(int twips) const {
  return static_cast<int>(twips * 96.0 * scale_ / kTwipsPerInch + 0.5);
}

void Form1::Place(QWidget* w, int left, int top, int width, int height) const {
  w->setGeometry(Px(left), Px(top), Px(width), Px(height));
}

void Form1::BuildControls() {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(ToQString(kFormCaption));
  setFixedSize(Px(kClientWidth), Px(kClientHeight + kStripHeight));

  QFont font = this->font();
  font.setFamilies(kJapaneseFonts);
  font.setPointSize(10);
  setFont(font);

  QPalette grey = palette();
  grey.setColor(QPalette::Window, QColor(192, 192, 192));
  setPalette(grey);
  setAutoFillBackground(true);

  auto name = [](QWidget* w, const char* objectName) {
    w->setObjectName(QString::fromLatin1(objectName));
    return w;
  };
  auto greyed = [&grey](QWidget* w) {
    w->setPalette(grey);
    w->setAutoFillBackground(true);
  };

  picture1_ = new QFrame(this);
  name(picture1_, "Picture1");
  picture1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  picture1_->setMouseTracking(true);
  picture1_->installEventFilter(this);
  greyed(picture1_);
  Place(picture1_, 0, 0, 9075, 6495);

  label1_ = new QLabel(QStringLiteral("変換元ファイル名："), picture1_);
  name(label1_, "Label1");
  greyed(label1_);
  Place(label1_, 240, 360, 2235, 315);

  text1_ = new QLineEdit(picture1_);
  name(text1_, "Text1");
  Place(text1_, 2400, 300, 6255, 405);

  label2_ = new QLabel(QStringLiteral("変換先フォルダ名："), picture1_);
  name(label2_, "Label2");
  greyed(label2_);
  Place(label2_, 240, 960, 2235, 315);

  text2_ = new QLineEdit(picture1_);
  name(text2_, "Text2");
  Place(text2_, 2400, 900, 6255, 405);

  frame1_ = new QGroupBox(QStringLiteral("変換元ファイル名選択"), picture1_);
  name(frame1_, "Frame1");
  greyed(frame1_);
  Place(frame1_, 240, 1680, 5175, 2895);

  file1_ = new FileList(env_, frame1_);
  name(file1_, "File1");
  Place(file1_, 120, 420, 2415, 2190);

  dir1_ = new FolderList(env_, frame1_);
  name(dir1_, "Dir1");
  Place(dir1_, 2640, 420, 2415, 1530);

  drive1_ = new DriveList(env_, frame1_);
  name(drive1_, "Drive1");
  Place(drive1_, 2640, 2220, 2415, 390);

  frame2_ = new QGroupBox(QStringLiteral("変換先フォルダ名選択"), picture1_);
  name(frame2_, "Frame2");
  greyed(frame2_);
  Place(frame2_, 5580, 1680, 3135, 2895);

  dir2_ = new FolderList(env_, frame2_);
  name(dir2_, "Dir2");
  Place(dir2_, 180, 420, 2595, 1530);

  drive2_ = new DriveList(env_, frame2_);
  name(drive2_, "Drive2");
  Place(drive2_, 180, 2220, 2595, 390);

  frame3_ = new QGroupBox(QStringLiteral("メッセージ"), picture1_);
  name(frame3_, "Frame3");
  greyed(frame3_);
  Place(frame3_, 240, 4740, 8475, 675);

  label3_ = new QLabel(frame3_);
  name(label3_, "Label3");
  greyed(label3_);
  Place(label3_, 180, 240, 8175, 315);

  command1_ = new QPushButton(QStringLiteral("実  行"), picture1_);
  name(command1_, "Command1");
  Place(command1_, 2520, 5580, 1935, 555);

  command2_ = new QPushButton(QStringLiteral("終  了"), picture1_);
  name(command2_, "Command2");
  Place(command2_, 5160, 5580, 2055, 555);

  // The added buttons, below the original area and under the original buttons. The report
  // button works once a run has made a report.
  previewButton_ = new QPushButton(QStringLiteral("柱状図表示"), this);
  name(previewButton_, "PreviewButton");
  Place(previewButton_, 2520, kClientHeight + 120, 1935, 495);

  reportButton_ = new QPushButton(QStringLiteral("変換結果"), this);
  name(reportButton_, "ReportButton");
  Place(reportButton_, 5160, kClientHeight + 120, 2055, 495);
  reportButton_->setEnabled(false);

  dryRunButton_ = new QPushButton(QStringLiteral("試行変換"), this);
  name(dryRunButton_, "DryRunButton");
  Place(dryRunButton_, 240, kClientHeight + 120, 2055, 495);

  // Tab order: Dir1, Drive1, File1, Dir2, Drive2, Command1, Command2, Text1, Text2 (the panel,
  // frames and labels take no focus), then the added buttons.
  QWidget* order[] = {dir1_,     drive1_, file1_, dir2_,         drive2_,        command1_,
                      command2_, text1_,  text2_, dryRunButton_, previewButton_, reportButton_};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  connect(drive1_, &QComboBox::currentIndexChanged, this, [this] { Drive1_Change(); });
  connect(drive2_, &QComboBox::currentIndexChanged, this, [this] { Drive2_Change(); });
  connect(dir1_, &FolderList::PathChanged, this, [this] { Dir1_Change(); });
  connect(dir2_, &FolderList::PathChanged, this, [this] { Dir2_Change(); });
  connect(file1_, &QListWidget::itemClicked, this, [this] { File1_Click(); });
  connect(file1_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0) File1_Click();
  });
  connect(command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(command2_, &QPushButton::clicked, this, [this] { Command2_Click(); });
  connect(previewButton_, &QPushButton::clicked, this, [this] { PreviewButton_Click(); });
  connect(reportButton_, &QPushButton::clicked, this, [this] { ReportButton_Click(); });
  connect(dryRunButton_, &QPushButton::clicked, this, [this] { DryRunButton_Click(); });
}

bool Form1::Form_Load() {
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect area = screen->geometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
  }

  app_.patdatFolder = FindPatdat(env_, port_.get());
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
  if (it != currentFolders_.end() && env_.FolderExists(it->second)) return it->second;
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
  try {
    ::ostra::Command1_Click(app_, env_, *port_, FromQString(text1_->text()),
                            FromQString(text2_->text()));
  } catch (const std::exception& e) {
    port_->SetBusy(false);
    port_->SetStatus(Text());
    port_->ShowMessage(u"変換中に予期しないエラーが発生しました。変換を中止しました。(" +
                           FromUtf8(e.what()) + u")",
                       MsgIcon::kCritical, Text());
  }
  running_ = false;
  trialSvg_.clear();
  AfterRun();
}

void Form1::DryRunButton_Click() {
  if (running_) return;
  running_ = true;
  trialSvg_.clear();
  const RunOutcome outcome = DryRun(
      app_, env_, *port_, FromQString(text1_->text()), FromQString(text2_->text()),
      [this](Env& files, const Text& folder) { trialSvg_ = RenderBoringLogSvg(files, folder); });
  running_ = false;
  AfterRun();
  // A trial shows at once what it found.
  if (outcome == RunOutcome::kCompleted) ReportButton_Click();
}

void Form1::AfterRun() {
  reportButton_->setEnabled(true);
  if (reportWindow_ != nullptr && reportWindow_->isVisible()) {
    reportWindow_->SetReport(ReportText(app_.lastReport));
  }
  if (previewWindow_ != nullptr && previewWindow_->isVisible()) ShowPreview();
}

void Form1::ShowPreview() {
  if (app_.lastReport.dryRun && !trialSvg_.empty()) {
    previewWindow_->ShowSvg(PreviewFolder(), trialSvg_);
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
  if (previewWindow_ == nullptr) previewWindow_ = new BoringLogWindow(this);
  ShowPreview();
  previewWindow_->show();
  previewWindow_->raise();
  previewWindow_->activateWindow();
}

void Form1::ReportButton_Click() {
  if (running_) return;
  if (reportWindow_ == nullptr) reportWindow_ = new RunReportWindow(this);
  reportWindow_->SetReport(ReportText(app_.lastReport));
  reportWindow_->show();
  reportWindow_->raise();
  reportWindow_->activateWindow();
}

void Form1::Command2_Click() {
  close();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == picture1_ && event->type() == QEvent::MouseMove) Picture1_MouseMove();
  return QWidget::eventFilter(watched, event);
}

}  // namespace ostra
