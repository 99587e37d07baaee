// The boring-log picture in the window at a true depth scale: it scrolls, draws only what shows
// and keeps the column headings in sight.
#pragma once

#include <QAbstractScrollArea>
#include <memory>

#include "preview/boring_log_layout.h"
#include "preview/boring_log_model.h"
#include "preview/boring_log_viewport.h"

namespace ostra {

class BoringLogView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit BoringLogView(QWidget* parent = nullptr);

  void SetModel(std::shared_ptr<const BoringLogModel> model);
  const BoringLogModel& Model() const { return *model_; }
  const BoringLogLayout& Layout() const { return layout_; }

  // The depth scale 1:`denominator`, or kFitScale: the whole picture in the window, from the
  // top, without scroll bars.
  void SetScale(double denominator);
  double Scale() const { return scale_; }
  // One step larger (1:100 to 1:50) for `steps` > 0, smaller for `steps` < 0.
  void Zoom(int steps);
  // Window pixels per picture pixel at the scales 1:n: the screen's logical resolution against
  // 96 per inch.
  double DeviceScale() const;
  // Window pixels per picture pixel as drawn now: DeviceScale(), or less when the whole picture
  // is fitted into a narrower window.
  double PixelScale() const { return pixelScale_; }

  // The tooltip at a point of the viewport: a column heading says what the column shows; a
  // layer's cell gives its whole text and depths, a grade cell also the code it takes.
  QString ToolTipAt(const QPoint& at) const;
  // How many layers the last paint drew.
  int LayersPainted() const { return layersPainted_; }

 signals:
  void ScaleChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  void Relayout();
  void UpdateScrollBars();
  // The picture row at the top of the viewport.
  double TopRow() const;
  // The whole text of the layer's cell at a point of the picture, or "".
  Text TextAt(double x, double y) const;

  std::shared_ptr<const BoringLogModel> model_;
  BoringLogLayout layout_;
  double scale_ = 100;
  double pixelScale_ = 1;
  int layersPainted_ = 0;
};

}  // namespace ostra
