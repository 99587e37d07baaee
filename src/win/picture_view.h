// The boring-log picture in a child window at a true depth scale: it scrolls, draws only what
// shows (through a bitmap, without flicker) and keeps the column headings in sight.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "preview/boring_log_layout.h"
#include "preview/boring_log_model.h"

namespace ostra::win {

// The scales offered, as the denominators of 1:n; 0 stands for "the whole log in the window".
inline constexpr double kScales[] = {50, 100, 200, 500};
inline constexpr double kFitScale = 0;
// Picture rows left free between the headings and the top of the depth axis, so that the
// headings cover neither the "0" tick's text nor a boundary's depth text near the top.
inline constexpr double kBodyGap = 12;

// The picture's height in the window, in picture rows: the body lies kBodyGap lower.
double ShownHeight(const BoringLogModel& model, const BoringLogLayout& layout);
// The largest pixels per metre at which the whole picture, title and all, takes at most `rows`
// picture rows (the smallest picture when even that does not fit).
double FitPxPerMetre(const BoringLogModel& model, double rows);

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
  // Device pixels per picture pixel: the window's dots per inch against 96.
  double DeviceScale() const;
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
  void UpdateScrollBars(bool fitting);
  void ScrollTo(int bar, int position);
  void Paint();

  HWND window_;
  std::shared_ptr<const BoringLogModel> model_;
  BoringLogLayout layout_;
  double scale_ = 100;
  int layersPainted_ = 0;
  bool inLayout_ = false;
};

}  // namespace ostra::win
