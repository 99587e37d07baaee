#include "gui/boring_log_print.h"

#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include "gui/qt_canvas.h"
#include "preview/boring_log_draw.h"
#include "preview/boring_log_layout.h"
#include "preview/boring_log_pages.h"
#include "preview/boring_log_viewport.h"

namespace ostra {

void UseA4(QPagedPaintDevice& device) {
  device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                   QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
}

int PrintBoringLog(QPagedPaintDevice& device, const BoringLogModel& model, double denominator) {
  const QRectF paper = device.pageLayout().paintRect(QPageLayout::Millimeter);
  const PrintScale scale = PrintScaleFor(paper.width(), denominator);
  // Depth 0 below the headings, so that its texts are not cut at the page's body.
  const BoringLogLayout layout =
      LayOutBoringLog(model, scale.pxPerMetre, HeadsGap(model, scale.pxPerMetre));
  const std::vector<PageSlice> pages = PlanPages(layout, paper.height() / scale.mmPerPx);
  // Device dots per picture pixel.
  const double dots = scale.mmPerPx * device.logicalDpiY() / 25.4;

  QPainter painter;
  if (!painter.begin(&device)) return 0;
  QtCanvas canvas(painter);
  for (size_t i = 0; i < pages.size(); ++i) {
    const PageSlice& page = pages[i];
    if (i > 0) device.newPage();
    painter.resetTransform();
    painter.setClipping(false);
    painter.scale(dots, dots);
    if (model.layers.empty()) {
      DrawBoringLog(canvas, model, layout);
      continue;
    }
    double headsAt = 0;
    if (page.title) {
      DrawTitleBlock(canvas, model, layout);
      headsAt = layout.headsTop;
    }
    DrawColumnHeads(canvas, layout, headsAt);
    // The page's slice of the body, right below the headings.
    painter.translate(0, headsAt + kColumnHeadHeight - page.from);
    painter.setClipRect(QRectF(0, page.from, layout.width, page.to - page.from));
    DrawBody(canvas, model, layout, page.from, page.to);
  }
  painter.end();
  return static_cast<int>(pages.size());
}

bool SaveBoringLogPdf(const QString& path, const BoringLogModel& model, double denominator) {
  {
    QFile probe(path);
    if (!probe.open(QIODevice::WriteOnly)) return false;
  }
  QPdfWriter writer(path);
  writer.setResolution(300);
  writer.setCreator(QStringLiteral("ostraconv"));
  UseA4(writer);
  return PrintBoringLog(writer, model, denominator) > 0;
}

}  // namespace ostra
