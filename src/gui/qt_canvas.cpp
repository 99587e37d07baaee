#include "gui/qt_canvas.h"

#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

#include "gui/qt_text.h"
#include "preview/fill_patterns.h"

namespace ostra {

namespace {

QColor Colour(const char* name) {
  return QColor(QString::fromLatin1(name));
}

QPen PenOf(const char* stroke, double width) {
  if (std::string(stroke) == "none" || width <= 0) return Qt::NoPen;
  QPen pen(Colour(stroke), width);
  pen.setCapStyle(Qt::FlatCap);
  return pen;
}

// The marks of a pattern's tile repeated over a rectangle, in picture pixels.
void DrawPattern(QPainter& painter, const QRectF& area, PatternBit bit) {
  const PatternTile tile = TileOf(bit);
  painter.save();
  painter.setClipRect(area, Qt::IntersectClip);
  painter.setPen(QPen(Qt::black, 0.7));
  painter.setBrush(Qt::NoBrush);
  const double x0 = std::floor(area.left() / tile.size) * tile.size;
  const double y0 = std::floor(area.top() / tile.size) * tile.size;
  for (double ty = y0; ty < area.bottom(); ty += tile.size) {
    for (double tx = x0; tx < area.right(); tx += tile.size) {
      for (const TileMark& m : tile.marks) {
        switch (m.kind) {
          case TileMark::kDot:
            painter.setBrush(Qt::black);
            painter.drawEllipse(QPointF(tx + m.x1, ty + m.y1), m.x2, m.x2);
            painter.setBrush(Qt::NoBrush);
            break;
          case TileMark::kRing:
            painter.drawEllipse(QPointF(tx + m.x1, ty + m.y1), m.x2, m.x2);
            break;
          case TileMark::kLine:
            painter.drawLine(QPointF(tx + m.x1, ty + m.y1), QPointF(tx + m.x2, ty + m.y2));
            break;
        }
      }
    }
  }
  painter.restore();
}

}  // namespace

QStringList JapaneseFontFamilies() {
  return {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans JP"),
          QStringLiteral("IPAGothic"),        QStringLiteral("IPAexGothic"),
          QStringLiteral("Yu Gothic"),        QStringLiteral("Meiryo"),
          QStringLiteral("MS Gothic")};
}

QtCanvas::QtCanvas(QPainter& painter) : painter_(painter) {
  font_.setFamilies(JapaneseFontFamilies());
  painter_.setRenderHint(QPainter::Antialiasing, true);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
}

void QtCanvas::Rect(double x, double y, double w, double h, const std::string& fill,
                    const char* stroke, double strokeWidth) {
  painter_.setPen(PenOf(stroke, strokeWidth));
  painter_.setBrush(fill == "none" ? QBrush(Qt::NoBrush)
                                   : QBrush(QColor(QString::fromStdString(fill))));
  painter_.drawRect(QRectF(x, y, w, std::max(h, 0.0)));
}

void QtCanvas::Patterns(double x, double y, double w, double h, PatternSet patterns) {
  for (const PatternInfo& p : AllPatterns()) {
    if ((patterns & p.bit) != 0) DrawPattern(painter_, QRectF(x, y, w, h), p.bit);
  }
}

void QtCanvas::Line(double x1, double y1, double x2, double y2, const char* stroke, double width) {
  painter_.setPen(PenOf(stroke, width));
  painter_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void QtCanvas::Polyline(const std::vector<Point>& points, const char* stroke, double width) {
  QPolygonF line;
  for (const Point& p : points) line << QPointF(p.x, p.y);
  painter_.setPen(PenOf(stroke, width));
  painter_.setBrush(Qt::NoBrush);
  painter_.drawPolyline(line);
}

void QtCanvas::Polygon(const std::vector<Point>& points, const char* fill) {
  QPolygonF shape;
  for (const Point& p : points) shape << QPointF(p.x, p.y);
  painter_.setPen(Qt::NoPen);
  painter_.setBrush(Colour(fill));
  painter_.drawPolygon(shape);
}

void QtCanvas::Circle(double cx, double cy, double r, const char* fill) {
  painter_.setPen(Qt::NoPen);
  painter_.setBrush(Colour(fill));
  painter_.drawEllipse(QPointF(cx, cy), r, r);
}

void QtCanvas::Write(double x, double y, TextView text, const TextStyle& style) {
  font_.setPixelSize(std::max(1, static_cast<int>(std::lround(style.size))));
  font_.setBold(style.bold);
  painter_.setFont(font_);
  painter_.setPen(Colour(style.colour));
  const QString s = QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
  double left = x;
  if (style.anchor != Anchor::kStart) {
    const double width = painter_.fontMetrics().horizontalAdvance(s);
    left -= style.anchor == Anchor::kMiddle ? width / 2 : width;
  }
  painter_.drawText(QPointF(left, y), s);
}

void QtCanvas::PushClip(double dx, double dy, double x, double y, double w, double h) {
  painter_.save();
  painter_.translate(dx, dy);
  painter_.setClipRect(QRectF(x, y, w, h),
                       painter_.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void QtCanvas::PopClip() {
  painter_.restore();
}

}  // namespace ostra
