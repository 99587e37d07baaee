// The boring-log picture in a child window at a true depth scale: it scrolls, draws only what
// shows (through a bitmap, without flicker) and keeps the column headings in sight.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "preview/boring_log_layout.h"
#include "preview/boring_log_model.h"
#include "preview/boring_log_viewport.h"

namespace ostra::win {

// Paints, in device pixels, the part of the picture that shows in a window `width` x `height`
// scrolled to (`scrollX`, `scrollY`), at `k` device pixels per picture pixel: white outside the
// picture, the headings at the top once the picture scrolls past them. Returns the number of
// layers drawn.
int PaintPicture(HDC dc, const BoringLogModel& model, const BoringLogLayout& layout, double k,
                 int scrollX, int scrollY, int width, int height);

class PictureView {
 public:
  // A child window of `parent` with the identifier `id` (its own class, registered once).
  static HWND Create(HWND parent, HINSTANCE instance, int id);
  // The view of a window made by Create, else null.
  static PictureView* Of(HWND window);

  // A null model shows that there is nothing to draw.
  void SetModel(std::shared_ptr<const BoringLogModel> model);
  const BoringLogModel& Model() const { return *model_; }
  const BoringLogLayout& Layout() const { return layout_; }
  bool HasPicture() const { return !model_->layers.empty(); }

  // The depth scale 1:`denominator`, or kFitScale; the depth in the middle stays there.
  void SetScale(double denominator);
  double Scale() const { return scale_; }
  // One step larger (1:100 to 1:50) for `steps` > 0, smaller for `steps` < 0.
  void Zoom(int steps);
  // Device pixels per picture pixel at the chosen scales: the window's dots per inch against 96.
  double DeviceScale() const;
  // Device pixels per picture pixel as drawn: less than DeviceScale when the whole picture is
  // fitted into a window narrower than it.
  double PixelScale() const { return pixelScale_; }
  int ScrollX() const;
  int ScrollY() const;
  // How many layers the last paint drew.
  int LayersPainted() const { return layersPainted_; }

  // Called when the scale changes by the wheel or the keys.
  std::function<void()> scaleChanged;

 private:
  explicit PictureView(HWND window);
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Relayout();
  void UpdateScrollBars();
  void ScrollTo(int bar, int position);
  void Paint();

  HWND window_;
  std::shared_ptr<const BoringLogModel> model_;
  BoringLogLayout layout_;
  double scale_ = 100;
  double pixelScale_ = 1;
  int layersPainted_ = 0;
  bool inLayout_ = false;
};

}  // namespace ostra::win
