// The boring-log picture in a scrolling window, whatever the toolkit: the room kept between the
// column headings, which stay in sight, and depth 0; and the scale at which the whole picture
// shows at once. Pure functions of the model and the window's size.
#pragma once

#include "base/codec.h"
#include "preview/boring_log_layout.h"
#include "preview/boring_log_model.h"

namespace ostra {

// The room between the bottom of the column headings and depth 0 that keeps the text of the
// 0 m tick, the depth texts of the layer bottoms and the N values below the headings.
double HeadsGap(const BoringLogModel& model, double pxPerMetre);

// The layout a window shows: LayOutBoringLog with depth 0 HeadsGap below the headings.
BoringLogLayout LayOutInWindow(const BoringLogModel& model, double pxPerMetre);

// The whole picture in a viewport: laid out by LayOutInWindow at `pxPerMetre` and drawn with
// `deviceScale` device pixels per picture pixel.
struct WindowFit {
  double pxPerMetre = 0;
  double deviceScale = 0;
};

// The fit of the whole picture (title block, headings, body, the labels below it and the bottom
// margin) into a viewport `width` x `height` device pixels (at least 1 each), where a picture
// pixel takes `deviceScale` device pixels at the chosen scales. The depth takes the height left
// by the rest; the picture is drawn smaller than `deviceScale` when its fixed width (kWidth) is
// wider than the viewport, or when the rest leaves the depth less than a readable minimum.
// With L = LayOutInWindow(model, fit.pxPerMetre): ceil(L.width * fit.deviceScale) <= width and
// ceil(L.height * fit.deviceScale) <= height.
WindowFit FitToWindow(const BoringLogModel& model, double width, double height, double deviceScale);

// The denominator n of 1:n at which the picture shows as large as at `fit`, on a screen where
// a picture pixel at the chosen scales takes `deviceScale` device pixels.
double FitDenominator(const WindowFit& fit, double deviceScale);

// The file name offered when the picture of the destination folder `folder` (drive form, with
// or without a trailing "\") is saved as PDF: the folder's own name and ".pdf"; "柱状図.pdf" for
// a drive's root.
Text PdfFileName(const Text& folder);

// The scales the windows offer, as the denominators of 1:n; 0 stands for "the whole log in the
// window".
inline constexpr double kScales[] = {50, 100, 200, 500};
inline constexpr double kFitScale = 0;

// The scale a zoom of `steps` goes to from the denominator `now`: the next of kScales up
// (steps > 0: a smaller denominator) or down; `now` when there is none that way.
double ZoomedScale(double now, int steps);

}  // namespace ostra
