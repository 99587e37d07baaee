#include "gui/boring_log_view.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "gui/qt_canvas.h"
#include "gui/qt_text.h"
#include "preview/boring_log_draw.h"
#include "preview/boring_log_viewport.h"
#include "preview/svg_format.h"

namespace ostra {

namespace {

// Counts the layers drawn, for the check that only what shows is drawn.
class CountingCanvas : public QtCanvas {
 public:
  using QtCanvas::QtCanvas;
  void BeginGroup(const char* cls, const std::vector<std::pair<const char*, Text>>& data) override {
    if (std::string(cls) == "layer") ++layers;
    QtCanvas::BeginGroup(cls, data);
  }
  int layers = 0;
};

}  // namespace

BoringLogView::BoringLogView(QWidget* parent)
    : QAbstractScrollArea(parent), model_(std::make_shared<BoringLogModel>()) {
  setObjectName(QStringLiteral("BoringLogView"));
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  Relayout();
}

double BoringLogView::DeviceScale() const {
  return logicalDpiY() / 96.0;
}

void BoringLogView::SetModel(std::shared_ptr<const BoringLogModel> model) {
  model_ = std::move(model);
  Relayout();
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
}

void BoringLogView::SetScale(double denominator) {
  // The depth in the middle of the window stays there; the whole picture shows from its top.
  const double middle = TopRow() + viewport()->height() / pixelScale_ / 2;
  const double depth = layout_.pxPerMetre > 0 ? (middle - layout_.bodyTop) / layout_.pxPerMetre : 0;
  scale_ = denominator;
  Relayout();
  if (scale_ == kFitScale) {
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
  } else if (depth > 0) {
    const double k = pixelScale_;
    const double row = layout_.bodyTop + depth * layout_.pxPerMetre - viewport()->height() / k / 2;
    verticalScrollBar()->setValue(static_cast<int>(std::lround(row * k)));
  }
  emit ScaleChanged();
}

void BoringLogView::Zoom(int steps) {
  // The scale shown now, as a denominator (also when fitted).
  const double now = scale_ != kFitScale
                         ? scale_
                         : FitDenominator({layout_.pxPerMetre, pixelScale_}, DeviceScale());
  const double next = ZoomedScale(now, steps);
  if (next != scale_) SetScale(next);
}

void BoringLogView::Relayout() {
  if (scale_ == kFitScale) {
    const WindowFit fit =
        FitToWindow(*model_, viewport()->width(), viewport()->height(), DeviceScale());
    layout_ = LayOutInWindow(*model_, fit.pxPerMetre);
    pixelScale_ = fit.deviceScale;
  } else {
    layout_ = LayOutInWindow(*model_, PxPerMetreAt(scale_));
    pixelScale_ = DeviceScale();
  }
  UpdateScrollBars();
  viewport()->update();
}

void BoringLogView::UpdateScrollBars() {
  const double k = pixelScale_;
  const QSize picture(static_cast<int>(std::ceil(layout_.width * k)),
                      static_cast<int>(std::ceil(layout_.height * k)));
  const QSize room = viewport()->size();
  horizontalScrollBar()->setRange(0, std::max(0, picture.width() - room.width()));
  horizontalScrollBar()->setPageStep(room.width());
  horizontalScrollBar()->setSingleStep(20);
  verticalScrollBar()->setRange(0, std::max(0, picture.height() - room.height()));
  verticalScrollBar()->setPageStep(room.height());
  verticalScrollBar()->setSingleStep(20);
}

double BoringLogView::TopRow() const {
  return verticalScrollBar()->value() / pixelScale_;
}

void BoringLogView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.fillRect(event->rect(), Qt::white);
  const double k = pixelScale_;
  painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
  painter.scale(k, k);
  CountingCanvas canvas(painter);
  // The picture rows of the part to paint.
  const double from = (event->rect().top() + verticalScrollBar()->value()) / k;
  const double to = (event->rect().bottom() + 1 + verticalScrollBar()->value()) / k;
  if (from < layout_.headsTop) DrawTitleBlock(canvas, *model_, layout_);
  if (model_->layers.empty()) {
    DrawBoringLog(canvas, *model_, layout_);
  } else {
    DrawBody(canvas, *model_, layout_, from, to);
    // The headings stay at the top of the window once the picture scrolls past them.
    const double top = std::max(layout_.headsTop, TopRow());
    if (top < to) DrawColumnHeads(canvas, layout_, top);
  }
  layersPainted_ = canvas.layers;
}

void BoringLogView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  if (scale_ == kFitScale) {
    Relayout();
  } else {
    UpdateScrollBars();
  }
}

void BoringLogView::wheelEvent(QWheelEvent* event) {
  if (event->modifiers() & Qt::ControlModifier) {
    const int delta = event->angleDelta().y();
    if (delta != 0) Zoom(delta > 0 ? 1 : -1);
    event->accept();
    return;
  }
  QAbstractScrollArea::wheelEvent(event);
}

void BoringLogView::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() & Qt::ControlModifier) {
    if (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Equal) {
      Zoom(1);
      return;
    }
    if (event->key() == Qt::Key_Minus) {
      Zoom(-1);
      return;
    }
  }
  QAbstractScrollArea::keyPressEvent(event);
}

QString BoringLogView::ToolTipAt(const QPoint& at) const {
  if (model_->layers.empty()) return QString();
  const double k = pixelScale_;
  const double x = (at.x() + horizontalScrollBar()->value()) / k;
  const double y = (at.y() + verticalScrollBar()->value()) / k;
  const double headsTop = std::max(layout_.headsTop, TopRow());
  if (y >= headsTop && y <= headsTop + layout_.headHeight) {
    for (const ColumnBox& column : layout_.columns) {
      if (x >= column.left && x < column.left + column.width) {
        const ColumnSpec& spec = SpecOf(column.kind);
        return ToQString(Text(spec.heading) + u"：" + spec.tip);
      }
    }
    return QString();
  }
  return ToQString(TextAt(x, y));
}

Text BoringLogView::TextAt(double x, double y) const {
  // In the body: the whole text of a layer's cell, also where it had to be shortened; for the
  // grade, the code it takes.
  if (y < layout_.bodyTop || y > layout_.bodyBottom) return Text();
  auto range = [](double top, double bottom) {
    return u"（" + FromUtf8(svg::Num2(top)) + u"～" + FromUtf8(svg::Num2(bottom)) + u" m）";
  };
  const ColumnBox* column = nullptr;
  for (const ColumnBox& c : layout_.columns) {
    if (x >= c.left && x < c.left + c.width) column = &c;
  }
  if (column == nullptr) return Text();
  for (size_t i = 0; i < layout_.layers.size(); ++i) {
    const LayerBox& box = layout_.layers[i];
    if (y < box.top || y >= box.bottom) continue;
    const Layer& layer = model_->layers[i];
    const auto item = ItemOf(column->kind);
    if (column->kind == ColumnKind::kName || column->kind == ColumnKind::kPattern) {
      return layer.name + range(layer.top, layer.bottom);
    }
    if (column->kind == ColumnKind::kGrade) {
      return layer.Item(LayerItem::kGrade) + u"（岩級区分コード " + layer.gradeCode + u"）" +
             range(layer.top, layer.bottom);
    }
    if (item && !layer.Item(*item).empty())
      return layer.Item(*item) + range(layer.top, layer.bottom);
    if (column->kind == ColumnKind::kRemarks && !layer.remark.empty()) {
      Text all;
      for (const Text& line : layer.remark) all += (all.empty() ? u"" : u"\n") + line;
      return all;
    }
  }
  return Text();
}

bool BoringLogView::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = ToolTipAt(help->pos());
    if (tip.isEmpty()) {
      QToolTip::hideText();
    } else {
      QToolTip::showText(help->globalPos(), tip, viewport());
    }
    return true;
  }
  return QAbstractScrollArea::viewportEvent(event);
}

}  // namespace ostra
