#include "gui/boring_log_print.h"

#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include "gui/qt_canvas.h"
#include "preview/boring_log_pages.h"

namespace ostra {

void UseA4(QPagedPaintDevice& device) {
  device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                   QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
}

int PrintBoringLog(QPagedPaintDevice& device, const BoringLogModel& model, double denominator) {
  // The plan takes the printable area upright; it may turn the page.
  QPageLayout page = device.pageLayout();
  page.setOrientation(QPageLayout::Portrait);
  const QRectF upright = page.paintRect(QPageLayout::Millimeter);
  const PrintPlan plan = PlanPrint(model, denominator, upright.width(), upright.height());
  page.setOrientation(plan.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  device.setPageLayout(page);
  // Device dots per picture pixel: a picture pixel is 1/96 inch on the paper.
  const double dots = device.logicalDpiY() / 96.0;

  QPainter painter;
  if (!painter.begin(&device)) return 0;
  QtCanvas canvas(painter);
  for (size_t i = 0; i < plan.pages.size(); ++i) {
    if (i > 0) device.newPage();
    painter.resetTransform();
    painter.setClipping(false);
    painter.scale(dots, dots);
    DrawPrintPage(canvas, model, plan, i);
  }
  painter.end();
  return static_cast<int>(plan.pages.size());
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
