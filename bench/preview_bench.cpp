// ostra-preview-bench SOURCE: opens the boring-log picture of the data set whose MDT or XML file
// is SOURCE in the picture window (as 柱状図表示 does) and reports the time from the start of
// reading the data set to the end of the window's first paint of the picture, and the process's
// peak memory:
//
//   ostra-preview-bench <seconds to first paint> <max RSS KiB> <layers> <layers painted>
//
// and on stderr the shares of reading the data set, laying out and painting.
//
// Run it with QT_QPA_PLATFORM=offscreen where there is no display.
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <utility>

#include "env/drive_map_env.h"
#include "env/host_env.h"
#include "gui/preview_window.h"
#include "run/error_text.h"

namespace {

// Notes the view's first paint event; it is painted within the same pass of events.
class PaintWatch : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      painted = true;
    }
    return false;
  }
  bool painted = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: ostra-preview-bench SOURCE\n");
    return 2;
  }
  // The data set's folder is drive B:.
  const std::filesystem::path file = std::filesystem::absolute(argv[1]);
  std::unique_ptr<ostra::Env> host = ostra::NewHostEnv(argv[0]);
  ostra::DriveMap drives = ostra::DriveMap::SystemDefaults();
  if (!drives.AddSpec("B=" + file.parent_path().string())) return 2;
  ostra::DriveMapEnv env(*host, drives);
  const ostra::Text source = u"B:\\" + ostra::FromUtf8(file.filename().string());

  QElapsedTimer clock;
  clock.start();
  ostra::BoringLogWindow window;
  ostra::BoringLogModel model =
      ostra::ReadBoringLogModel(env, source, ostra::DataEncoding::kAuto,
                                [](const std::exception& e) { return ostra::ErrorMessage(e); });
  const double read = clock.nsecsElapsed() / 1e9;
  for (const ostra::Text& problem : model.problems)
    std::fprintf(stderr, "%s\n", ostra::ToUtf8(problem).c_str());
  window.ShowModel(source, std::move(model));
  const double laidOut = clock.nsecsElapsed() / 1e9;
  PaintWatch watch;
  window.View()->viewport()->installEventFilter(&watch);
  window.show();
  while (!watch.painted) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  const double seconds = clock.nsecsElapsed() / 1e9;

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("ostra-preview-bench %.3f %ld %zu %d\n", seconds, usage.ru_maxrss,
              window.Model().layers.size(), window.View()->LayersPainted());
  std::fprintf(stderr, "read %.3f s, laid out %.3f s, painted %.3f s\n", read, laidOut - read,
               seconds - laidOut);
  return 0;
}
