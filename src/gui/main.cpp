// ostraconv: the window of the converter.
//
// "ostraconv --help" and "ostraconv --version" (-V) print and end without opening the window (and
// without a display).
//
// "ostraconv --screenshot FILE" starts up as usual, saves a picture of the window as FILE (PNG)
// and ends; it is used to make the picture in the documentation.
//
// "ostraconv --picture SOURCE --screenshot FILE" saves the picture window of the data set SOURCE
// (its MDT or XML file in drive form, such as T:\GEO\MDT0001.GDF) at 1:100 instead;
// "ostraconv --picture SOURCE --pdf FILE [--scale N]" saves that picture as A4 pages of a PDF
// file and ends.
//
// "ostraconv --render-svg IN.svg OUT.png" draws an SVG file (such as the boring-log picture of
// "ostraconv-cli --preview") into a PNG at the picture's own size and ends, without the window.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSessionManager>
#include <QStringList>
#include <QTimer>
#include <QtSvg/QSvgRenderer>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "env/drive_map_env.h"
#include "env/host_env.h"
#include "env/interrupt_env.h"
#include "env/interrupt_signals.h"
#include "formats/run_note.h"
#include "gui/form1_window.h"
#include "gui/preview_window.h"
#include "gui/qt_text.h"
#include "gui/qt_ui_port.h"
#include "preview/boring_log_layout.h"
#include "run/run.h"

namespace {

constexpr const char* kHelp =
    "使い方: ostraconv [オプション]\n"
    "\n"
    "岩盤柱状図のデータ（MDT0001.GDF などの 6 つのファイル、またはボーリング交換用データの\n"
    "XML ファイル）を Ostra が取り込むファイルに変換するウィンドウを開きます。\n"
    "コマンドラインで変換するときは ostraconv-cli を使います（ostraconv-cli --help）。\n"
    "\n"
    "オプション:\n"
    "  -V, --version  版とビルドしたコミットを表示します\n"
    "  -h, --help     この説明を表示します\n"
    "\n"
    "環境変数:\n"
    "  OSTRACONV_DRIVES     ドライブの割り当て（例: \"C=/home/me/geo;D=/mnt/usb\"）\n"
    "  OSTRACONV_LOCK_WAIT  他の変換を待つ最長の秒数（既定 120）\n";

// Prints the help or the version when the command line asks for one; the status to end with,
// or -1 to open the window.
int PrintAndEnd(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      std::fputs(kHelp, stdout);
    } else if (arg == "-V" || arg == "--version") {
      std::printf("ostraconv %s (%s)\n", OSTRA_VERSION, OSTRA_COMMIT);
    } else {
      continue;
    }
    return std::fflush(stdout) == 0 && std::ferror(stdout) == 0 ? 0 : 1;
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (const int status = PrintAndEnd(argc, argv); status >= 0) return status;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("ostraconv"));
  ostra::InstallJapaneseQtTexts();

  QStringList args = QApplication::arguments();
  int render = static_cast<int>(args.indexOf(QStringLiteral("--render-svg")));
  if (render > 0 && render + 2 < args.size()) {
    QSvgRenderer svg(args.at(render + 1));
    if (!svg.isValid()) {
      std::fprintf(stderr, "cannot read %s\n", args.at(render + 1).toLocal8Bit().constData());
      return 1;
    }
    QImage image(svg.defaultSize(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    svg.render(&painter);
    painter.end();
    bool saved = image.save(args.at(render + 2), "PNG");
    if (!saved)
      std::fprintf(stderr, "cannot write %s\n", args.at(render + 2).toLocal8Bit().constData());
    return saved ? 0 : 1;
  }

  QString screenshot;
  int at = static_cast<int>(args.indexOf(QStringLiteral("--screenshot")));
  if (at > 0 && at + 1 < args.size()) screenshot = args.at(at + 1);

  // The system's drives and those of OSTRACONV_DRIVES.
  std::unique_ptr<ostra::Env> host = ostra::NewHostEnv(argc > 0 ? argv[0] : nullptr);
  ostra::DriveMap drives = ostra::DriveMap::SystemDefaults();
  if (const char* spec = std::getenv("OSTRACONV_DRIVES")) drives.AddSpec(spec);
  // A termination signal, or the system ending the session, stops a run at its next file change
  // (it then reports what it did, as a stopped run does), and then ends the program.
  ostra::InstallInterruptHandlers();
  QObject::connect(&app, &QGuiApplication::commitDataRequest,
                   [](QSessionManager&) { ostra::RequestInterrupt(); });
  QTimer interruptPoll;
  QObject::connect(&interruptPoll, &QTimer::timeout, [] {
    if (ostra::InterruptFlag().load()) QApplication::exit(ostra::InterruptExitStatus());
  });
  interruptPoll.start(200);
  ostra::InterruptEnv interruptible(*host, ostra::InterruptFlag());
  // An interrupted run still leaves the note that its destination holds unfinished outputs.
  interruptible.AllowAfterStop({ostra::kRunNoteFileName, ostra::kRunNoteTemporaryName});
  ostra::DriveMapEnv env(interruptible, drives);

  int picture = static_cast<int>(args.indexOf(QStringLiteral("--picture")));
  if (picture > 0 && picture + 1 < args.size()) {
    ostra::BoringLogWindow window;
    window.SetHostPaths(ostra::HostPathsThrough(env));
    window.ShowSource(env, ostra::FromQString(args.at(picture + 1)), ostra::DataEncoding::kAuto);
    int pdf = static_cast<int>(args.indexOf(QStringLiteral("--pdf")));
    if (pdf > 0 && pdf + 1 < args.size()) {
      int scale = static_cast<int>(args.indexOf(QStringLiteral("--scale")));
      const double n = scale > 0 && scale + 1 < args.size() ? args.at(scale + 1).toDouble() : 100;
      if (!(n > 0)) return 2;
      window.SetScale(n);
      return window.SavePdf(args.at(pdf + 1)) ? 0 : 1;
    }
    window.show();
    if (screenshot.isEmpty()) return QApplication::exec();
    // As wide as the picture of this data set, so that every column shows.
    window.resize(
        static_cast<int>(window.View()->Layout().width * window.View()->DeviceScale()) + 40, 900);
    QApplication::processEvents();
    return window.grab().save(screenshot, "PNG") ? 0 : 1;
  }

  ostra::Form1Window form(env);
  form.State().lockWait = ostra::LockWaitSetting(std::getenv("OSTRACONV_LOCK_WAIT"));
  if (!form.Form_Load()) return ostra::InterruptExitStatus();
  form.show();
  if (!screenshot.isEmpty()) {
    QApplication::processEvents();
    bool saved = form.grab().save(screenshot, "PNG");
    if (!saved) std::fprintf(stderr, "cannot write %s\n", screenshot.toLocal8Bit().constData());
    return saved ? 0 : 1;
  }
  return QApplication::exec();
}
