#include "gui/qt_ui_port.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

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

bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::InputMethod:
      return true;
    default:
      return false;
  }
}

// Drops the user's input to every object but one while it is installed on the application.
class InputGuard : public QObject {
 public:
  explicit InputGuard(QObject* allowed) : allowed_(allowed) {
    QCoreApplication::instance()->installEventFilter(this);
  }
  ~InputGuard() override { QCoreApplication::instance()->removeEventFilter(this); }
  InputGuard(const InputGuard&) = delete;
  InputGuard& operator=(const InputGuard&) = delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // Input reaches a widget through its window: only what the window hands on is judged.
    if (!IsUserInput(event->type()) || !watched->isWidgetType()) return false;
    return allowed_ == nullptr || watched != allowed_;
  }

 private:
  QObject* allowed_;
};

}  // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* owner, const MessageBoxRequest& request) {
  QString title =
      request.title.empty() ? QCoreApplication::applicationName() : ToQString(request.title);
  auto box = std::make_unique<QMessageBox>(BoxIcon(request.icon), title, ToQString(request.text),
                                           QMessageBox::NoButton, owner);
  if (request.yesNo) {
    QPushButton* yes = box->addButton(ToQString(kButtonYes), QMessageBox::YesRole);
    QPushButton* no = box->addButton(ToQString(kButtonNo), QMessageBox::NoRole);
    yes->setObjectName(QStringLiteral("YesButton"));
    no->setObjectName(QStringLiteral("NoButton"));
    yes->setShortcut(QKeySequence(Qt::Key_Y));
    no->setShortcut(QKeySequence(Qt::Key_N));
    box->setDefaultButton(yes);
    box->setEscapeButton(no);
  } else {
    QPushButton* ok = box->addButton(ToQString(kButtonOk), QMessageBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OkButton"));
    box->setDefaultButton(ok);
    box->setEscapeButton(ok);
  }
  return box;
}

bool InstallJapaneseQtTexts() {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr) return false;
  auto* texts = new QTranslator(app);
  const QStringList folders = {
      QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
      QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
  for (const QString& folder : folders) {
    if (texts->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                    QStringLiteral("_"), folder)) {
      return QCoreApplication::installTranslator(texts);
    }
  }
  delete texts;
  return false;
}

bool ShowMessageBox(QWidget* owner, const MessageBoxRequest& request) {
  std::unique_ptr<QMessageBox> box = MakeMessageBox(owner, request);
  box->exec();
  if (!request.yesNo) return true;
  QAbstractButton* clicked = box->clickedButton();
  return clicked != nullptr && box->buttonRole(clicked) == QMessageBox::YesRole;
}

void PassEvents(QWidget* allowed) {
  InputGuard guard(allowed);
  QCoreApplication::processEvents();
}

}  // namespace ostra
