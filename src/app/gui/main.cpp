// ostraconv: the window of the converter.
//
// "ostraconv --screenshot FILE" starts up as usual, saves a picture of the window as FILE (PNG)
// and ends; it is used to make the picture in the documentation.
#include <QApplication>
#include <QStringList>
#include <cstdio>

#include "app/gui/form1.h"
#include "platform/files.h"

int main(int argc, char** argv) {
  ostra::SetProgramPath(argc > 0 ? argv[0] : nullptr);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("ostraconv"));

  QString screenshot;
  QStringList args = QApplication::arguments();
  int at = static_cast<int>(args.indexOf(QStringLiteral("--screenshot")));
  if (at > 0 && at + 1 < args.size()) screenshot = args.at(at + 1);

  ostra::Form1 form;
  if (!form.Form_Load()) return 0;
  form.show();
  if (!screenshot.isEmpty()) {
    QApplication::processEvents();
    bool saved = form.grab().save(screenshot, "PNG");
    if (!saved) std::fprintf(stderr, "cannot write %s\n", screenshot.toLocal8Bit().constData());
    return saved ? 0 : 1;
  }
  return QApplication::exec();
}
