// The boring-log picture drawn with a QPainter: in the window, on the printer and into a PDF.
#pragma once

#include <QImage>
#include <QPainter>
#include <map>

#include "preview/canvas.h"

namespace ostra {

class QtCanvas : public Canvas {
 public:
  // Draws with `painter` in its current transformation (picture pixels to the device).
  explicit QtCanvas(QPainter& painter);

  void Rect(double x, double y, double w, double h, const std::string& fill, const char* stroke,
            double strokeWidth) override;
  void Patterns(double x, double y, double w, double h, PatternSet patterns) override;
  void Line(double x1, double y1, double x2, double y2, const char* stroke, double width) override;
  void Polyline(const std::vector<Point>& points, const char* stroke, double width) override;
  void Polygon(const std::vector<Point>& points, const char* fill) override;
  void Circle(double cx, double cy, double r, const char* fill) override;
  void Write(double x, double y, TextView text, const TextStyle& style) override;
  void PushClip(double dx, double dy, double x, double y, double w, double h) override;
  void PopClip() override;

 private:
  QPainter& painter_;
  QFont font_;
};

// The families tried for Japanese text, the Windows ones first.
QStringList JapaneseFontFamilies();

}  // namespace ostra
