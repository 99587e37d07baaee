#include "gui/qt_ui_port.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "gui/qt_text.h"

namespace ostra {

namespace {

QMessageBox::Icon BoxIcon(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::kInformation:
      return QMessageBox::Information;
    case MsgIcon::kExclamation:
      return QMessageBox::Warning;
    case MsgIcon::kQuestion:
      return QMessageBox::Question;
    case MsgIcon::kCritical:
      return QMessageBox::Critical;
    case MsgIcon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

bool ShowMessageBox(QWidget* owner, const MessageBoxRequest& request) {
  QString title =
      request.title.empty() ? QCoreApplication::applicationName() : ToQString(request.title);
  QMessageBox box(BoxIcon(request.icon), title, ToQString(request.text),
                  request.yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, owner);
  box.setDefaultButton(request.yesNo ? QMessageBox::Yes : QMessageBox::Ok);
  int answer = box.exec();
  return request.yesNo ? answer == QMessageBox::Yes : true;
}

QtUiPort::QtUiPort(QWidget* owner, QLabel* status, QLineEdit* destination)
    : owner_(owner), status_(status), destination_(destination) {}

QtUiPort::~QtUiPort() {
  if (busy_) SetBusy(false);
}

void QtUiPort::SetStatus(const Text& text) {
  if (status_) status_->setText(ToQString(text));
}

void QtUiPort::ProcessEvents() {
  QCoreApplication::processEvents();
}

void QtUiPort::ShowMessage(const Text& text, MsgIcon icon, const Text& title) {
  Show({text, icon, title, false});
}

bool QtUiPort::AskYesNo(const Text& text, const Text& title) {
  return Show({text, MsgIcon::kQuestion, title, true});
}

void QtUiPort::SetBusy(bool busy) {
  busy_ = busy;
  if (!owner_) return;
  if (busy) {
    owner_->setCursor(Qt::WaitCursor);
  } else {
    owner_->unsetCursor();
  }
}

void QtUiPort::SelectDestination() {
  if (!destination_) return;
  destination_->setFocus(Qt::OtherFocusReason);
  destination_->selectAll();
}

bool QtUiPort::Show(const MessageBoxRequest& request) {
  if (hook_) return hook_(request);
  return ShowMessageBox(owner_, request);
}

}  // namespace ostra
