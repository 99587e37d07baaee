#include "gui/form1_window.h"

#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

#include "app/window_place.h"
#include "gui/qt_text.h"

namespace ostra {

Form1Window::Form1Window(DriveMapEnv& env, QWidget* parent) : QWidget(parent), env_(env) {
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    scale_ = screen->logicalDotsPerInchX() / 96.0;
  }
  BuildControls();
  presenter_ = std::make_unique<Form1>(env, *this,
                                       std::filesystem::path(QDir::currentPath().toStdU16String()));
  ConnectControls();
}

Form1Window::~Form1Window() {
  unsetCursor();
}

bool Form1Window::Form_Load() {
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect area = screen->geometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
  }
  return presenter_->Form_Load();
}

Text Form1Window::Text1() const {
  return FromQString(text1_->text());
}

void Form1Window::SetText1(const Text& text) {
  text1_->setText(ToQString(text));
}

Text Form1Window::Text2() const {
  return FromQString(text2_->text());
}

void Form1Window::SetText2(const Text& text) {
  text2_->setText(ToQString(text));
}

void Form1Window::SetStatus(const Text& text) {
  label3_->setText(ToQString(text));
}

void Form1Window::ShowDrives(Selector list, const std::vector<Text>& lines, int selected) {
  (list == Selector::kDrive1 ? drive1_ : drive2_)->SetLines(lines, selected);
}

void Form1Window::ShowFolders(Selector list, const std::vector<FolderRow>& rows, int current) {
  (list == Selector::kDir1 ? dir1_ : dir2_)->SetRows(rows, current);
}

void Form1Window::ShowFiles(const std::vector<Text>& names, int selected) {
  file1_->SetNames(names, selected);
}

bool Form1Window::ShowBox(const MessageBoxRequest& request) {
  if (hook_) return hook_(request);
  return ShowMessageBox(this, request);
}

void Form1Window::SetBusy(bool busy) {
  if (busy) {
    setCursor(Qt::WaitCursor);
  } else {
    unsetCursor();
  }
}

void Form1Window::ProcessEvents() {
  PassEvents(command2_);
}

void Form1Window::DropInput() {
  PassEvents(command2_);
}

void Form1Window::SelectDestination() {
  text2_->setFocus(Qt::OtherFocusReason);
  text2_->selectAll();
}

void Form1Window::SetReportEnabled(bool enabled) {
  reportButton_->setEnabled(enabled);
}

void Form1Window::ShowReport(const Text& text, DataEncoding encoding, bool raise) {
  if (!raise && !ReportOpen()) return;
  if (reportWindow_ == nullptr) {
    reportWindow_ = new RunReportWindow(this);
    connect(reportWindow_->EncodingBox(), &QComboBox::activated, this,
            [this](int index) { presenter_->EncodingChosen(static_cast<DataEncoding>(index)); });
  }
  reportWindow_->EncodingBox()->setCurrentIndex(static_cast<int>(encoding));
  reportWindow_->SetReport(text);
  if (raise) OpenBeside(reportWindow_);
}

bool Form1Window::ReportOpen() const {
  return reportWindow_ != nullptr && reportWindow_->isVisible();
}

void Form1Window::ShowPicture(const Text& source, std::shared_ptr<const BoringLogModel> model,
                              bool raise) {
  if (!raise && !PictureOpen()) return;
  if (previewWindow_ == nullptr) {
    previewWindow_ = new BoringLogWindow(this);
    // The PDF dialog starts in the data set's folder, on the host.
    previewWindow_->SetHostPaths(HostPathsThrough(env_));
  }
  previewWindow_->ShowModel(source, model != nullptr ? *model : BoringLogModel{});
  if (raise) OpenBeside(previewWindow_);
}

bool Form1Window::PictureOpen() const {
  return previewWindow_ != nullptr && previewWindow_->isVisible();
}

void Form1Window::CloseWindow() {
  close();
}

void Form1Window::OpenBeside(QWidget* window) {
  if (!window->isVisible()) {
    // The other added window, when it is open, came first.
    QWidget* other = window == reportWindow_ ? static_cast<QWidget*>(previewWindow_)
                                             : static_cast<QWidget*>(reportWindow_);
    const int index = other != nullptr && other->isVisible() ? 1 : 0;
    // Placed at the size it shows at.
    window->show();
    const QRect main = frameGeometry();
    const QSize frame = window->frameGeometry().size();
    QRect area = main;
    if (QScreen* screen = this->screen()) area = screen->availableGeometry();
    const ScreenRect r =
        PlaceBeside({main.left(), main.top(), main.width(), main.height()}, frame.width(),
                    frame.height(), {area.left(), area.top(), area.width(), area.height()}, index);
    if (r.width < frame.width() || r.height < frame.height()) {
      window->resize(window->size() - (frame - QSize(r.width, r.height)));
    }
    window->move(r.left, r.top);
  }
  window->show();
  window->raise();
  window->activateWindow();
}

void Form1Window::closeEvent(QCloseEvent* event) {
  // During a run the window closes when the run is over.
  if (!presenter_->QueryClose()) {
    event->ignore();
    return;
  }
  QWidget::closeEvent(event);
}

bool Form1Window::eventFilter(QObject* watched, QEvent* event) {
  if (watched == picture1_ && event->type() == QEvent::MouseMove) presenter_->Picture1_MouseMove();
  return QWidget::eventFilter(watched, event);
}

}  // namespace ostra
