#include "gui/preview_window.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <QtSvg/QSvgRenderer>
#include <algorithm>
#include <utility>

#include "gui/qt_text.h"
#include "preview/boring_log_layout.h"
#include "preview/boring_log_svg.h"
#include "preview/boring_log_writer.h"

namespace ostra {

BoringLogWindow::BoringLogWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("BoringLogWindow"));
  setWindowTitle(ToQString(kPreviewCaption));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  scroll_ = new QScrollArea(this);
  scroll_->setObjectName(QStringLiteral("PreviewScroll"));
  scroll_->setBackgroundRole(QPalette::Base);
  view_ = new QSvgWidget;
  view_->setObjectName(QStringLiteral("PreviewSvg"));
  scroll_->setWidget(view_);
  layout->addWidget(scroll_);
}

void BoringLogWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void BoringLogWindow::ShowFolder(Env& env, const Text& folder) {
  ShowSvg(folder, RenderBoringLogSvg(env, folder));
}

void BoringLogWindow::ShowModel(const Text& folder, const BoringLogModel& model) {
  ShowSvg(folder, WriteBoringLogSvg(model, LayOutBoringLog(model)));
}

void BoringLogWindow::ShowSvg(const Text& folder, std::string svg) {
  folder_ = folder;
  svg_ = std::move(svg);
  view_->load(QByteArray(svg_.data(), static_cast<qsizetype>(svg_.size())));
  // The picture at its own size; the window as large as the picture, within the screen.
  const QSize size = view_->renderer()->defaultSize();
  view_->setFixedSize(size);
  setWindowTitle(ToQString(kPreviewCaption + Text(u" - ") + folder));
  QSize wanted = size + QSize(24, 24);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QSize room = screen->availableGeometry().size() * 9 / 10;
    wanted = wanted.boundedTo(room);
  }
  resize(wanted);
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
  resize(640, 520);
}

void RunReportWindow::keyPressEvent(QKeyEvent* event) {
  // Esc closes the window, as it closes a dialog.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void RunReportWindow::SetReport(const Text& text) {
  text_->setPlainText(ToQString(text));
}

}  // namespace ostra
