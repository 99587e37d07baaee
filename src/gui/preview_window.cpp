#include "gui/preview_window.h"

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <system_error>
#include <utility>

#include "app/picture_file.h"
#include "base/errors.h"
#include "env/host_env.h"
#include "gui/boring_log_print.h"
#include "gui/qt_text.h"
#include "preview/boring_log_viewport.h"
#include "run/error_text.h"

namespace ostra {

namespace {

bool IsEscape(const QKeyEvent* event) {
  return event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier;
}

}  // namespace

HostPathOf HostPathsThrough(DriveMapEnv& env) {
  return [&env](const Text& driveForm) -> std::filesystem::path {
    try {
      return HostPath(env.ToHost(driveForm));
    } catch (const FileError&) {
      return {};  // a drive not mapped
    }
  };
}

BoringLogWindow::BoringLogWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("BoringLogWindow"));
  setWindowTitle(ToQString(kPreviewCaption));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  auto* bar = new QHBoxLayout;
  bar->addWidget(new QLabel(QStringLiteral("縮尺"), this));
  scaleBox_ = new QComboBox(this);
  scaleBox_->setObjectName(QStringLiteral("ScaleBox"));
  for (double s : kScales) scaleBox_->addItem(QStringLiteral("1:%1").arg(s), s);
  scaleBox_->addItem(QStringLiteral("全体表示"), kFitScale);
  scaleBox_->setCurrentIndex(scaleBox_->findData(100.0));
  bar->addWidget(scaleBox_);
  bar->addStretch(1);
  printButton_ = new QPushButton(QStringLiteral("印刷..."), this);
  printButton_->setObjectName(QStringLiteral("PrintButton"));
  pdfButton_ = new QPushButton(QStringLiteral("PDF保存..."), this);
  pdfButton_->setObjectName(QStringLiteral("PdfButton"));
  bar->addWidget(printButton_);
  bar->addWidget(pdfButton_);
  printButton_->setEnabled(false);  // nothing to show yet
  pdfButton_->setEnabled(false);
  layout->addLayout(bar);
  view_ = new BoringLogView(this);
  layout->addWidget(view_, 1);

  connect(scaleBox_, &QComboBox::activated, this,
          [this] { view_->SetScale(scaleBox_->currentData().toDouble()); });
  // Zooming with the mouse or the keys shows in the box.
  connect(view_, &BoringLogView::ScaleChanged, this, [this] {
    const int row = scaleBox_->findData(view_->Scale());
    if (row >= 0) scaleBox_->setCurrentIndex(row);
  });
  connect(printButton_, &QPushButton::clicked, this, [this] { Print(); });
  connect(pdfButton_, &QPushButton::clicked, this, [this] { AskAndSavePdf(); });

  // As wide as the picture, as high as the screen allows.
  QSize wanted(static_cast<int>(kWidth * view_->DeviceScale()) + 40, 720);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    wanted = wanted.boundedTo(screen->availableGeometry().size() * 9 / 10);
  }
  resize(wanted);
}

void BoringLogWindow::ShowSource(Env& env, const Text& source, DataEncoding encoding) {
  ShowModel(source, ReadBoringLogModel(env, source, encoding,
                                       [](const std::exception& e) { return ErrorMessage(e); }));
}

void BoringLogWindow::ShowModel(const Text& source, BoringLogModel model) {
  source_ = source;
  view_->SetModel(std::make_shared<BoringLogModel>(std::move(model)));
  const bool picture = !view_->Model().layers.empty();
  printButton_->setEnabled(picture);
  pdfButton_->setEnabled(picture);
  setWindowTitle(ToQString(kPreviewCaption + Text(u" - ") + source));
  view_->setFocus();
}

void BoringLogWindow::SetScale(double denominator) {
  const int row = scaleBox_->findData(denominator);
  if (row >= 0) scaleBox_->setCurrentIndex(row);
  view_->SetScale(denominator);
}

double BoringLogWindow::PaperScale() const {
  return view_->Scale() == kFitScale ? 100 : view_->Scale();
}

bool BoringLogWindow::SavePdf(const QString& path) {
  return SaveBoringLogPdf(path, view_->Model(), PaperScale());
}

void BoringLogWindow::Print() {
  if (view_->Model().layers.empty()) return;
  QPrinter printer(QPrinter::HighResolution);
  UseA4(printer);
  QPrintDialog dialog(&printer, this);
  dialog.setWindowTitle(QStringLiteral("柱状図の印刷"));
  if (dialog.exec() != QDialog::Accepted) return;
  PrintBoringLog(printer, view_->Model(), PaperScale());
}

QString BoringLogWindow::PdfStartPath() const {
  std::filesystem::path folder =
      hostPathOf_ ? hostPathOf_(PictureFolder(source_)) : std::filesystem::path();
  std::error_code error;
  while (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
    const std::filesystem::path up = folder.parent_path();
    folder = up == folder ? std::filesystem::path() : up;
  }
  const QString start =
      folder.empty() ? QDir::homePath() : ToQString(HostText(folder.lexically_normal()));
  return QDir(start).filePath(ToQString(PictureFileName(view_->Model().holeName, source_)));
}

void BoringLogWindow::AskAndSavePdf() {
  if (view_->Model().layers.empty()) return;
  const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("柱状図を PDF に保存"),
                                                    PdfStartPath(), QStringLiteral("PDF (*.pdf)"));
  if (path.isEmpty()) return;
  if (!SavePdf(path)) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("柱状図"),
                    QStringLiteral("PDF ファイル %1 に書き込めません。").arg(path),
                    QMessageBox::NoButton, this);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
  }
}

void BoringLogWindow::keyPressEvent(QKeyEvent* event) {
  if (IsEscape(event)) {
    close();
    return;
  }
  if (event->modifiers() & Qt::ControlModifier) {
    if (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Equal) {
      view_->Zoom(1);
      return;
    }
    if (event->key() == Qt::Key_Minus) {
      view_->Zoom(-1);
      return;
    }
  }
  QWidget::keyPressEvent(event);
}

RunReportWindow::RunReportWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("RunReportWindow"));
  setWindowTitle(ToQString(kReportCaption));
  auto* layout = new QVBoxLayout(this);
  text_ = new QPlainTextEdit(this);
  text_->setObjectName(QStringLiteral("ReportText"));
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  layout->addWidget(text_);
  auto* encodingRow = new QHBoxLayout();
  encodingRow->addWidget(new QLabel(QStringLiteral("データの文字コード:"), this));
  encodingBox_ = new QComboBox(this);
  encodingBox_->setObjectName(QStringLiteral("EncodingBox"));
  encodingBox_->addItems({QStringLiteral("ファイルの内容から判断"),
                          QStringLiteral("Shift-JIS（コードページ 932）"),
                          QStringLiteral("UTF-8")});
  encodingRow->addWidget(encodingBox_);
  encodingRow->addStretch();
  layout->addLayout(encodingRow);
  resize(640, 520);
}

void RunReportWindow::keyPressEvent(QKeyEvent* event) {
  // Esc closes the window, as it closes a dialog.
  if (IsEscape(event)) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void RunReportWindow::SetReport(const Text& text) {
  text_->setPlainText(ToQString(text));
}

}  // namespace ostra
