#include "preview/boring_log_viewport.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

namespace ostra {

namespace {

// The depth gets at least this many picture pixels; when the rest of the picture leaves less,
// the whole picture is drawn smaller.
constexpr double kMinBody = 120;

// Whether the picture at `pxPerMetre` drawn at `scale` fits `width` x `height`.
bool Fits(const BoringLogModel& model, double pxPerMetre, double scale, double width,
          double height) {
  const BoringLogLayout layout = LayOutInWindow(model, pxPerMetre);
  return std::ceil(layout.width * scale) <= width && std::ceil(layout.height * scale) <= height;
}

// `scale` made small enough that a picture `size` long fits `room` device pixels.
double ShrunkTo(double scale, double size, double room) {
  while (size > 0 && std::ceil(size * scale) > room) scale = std::min(scale, room / size) * 0.999;
  return scale;
}

}  // namespace

double HeadsGap(const BoringLogModel& model, double pxPerMetre) {
  // The 0 m tick's text reaches kTextSize above its baseline.
  double gap = kTextSize - kTickTextDrop;
  double shallowest = std::numeric_limits<double>::infinity();
  for (const Layer& layer : model.layers) shallowest = std::min(shallowest, layer.bottom);
  if (!model.layers.empty()) {
    const double below = std::max(shallowest, 0.0) * pxPerMetre;
    gap = std::max(gap, kDepthTextSize + kDepthTextLift - below);
  }
  return gap + 1;  // and a pixel of air
}

BoringLogLayout LayOutInWindow(const BoringLogModel& model, double pxPerMetre) {
  return LayOutBoringLog(model, pxPerMetre, HeadsGap(model, pxPerMetre));
}

WindowFit FitToWindow(const BoringLogModel& model, double width, double height,
                      double deviceScale) {
  width = std::max(std::floor(width), 1.0);
  height = std::max(std::floor(height), 1.0);
  WindowFit fit;
  fit.pxPerMetre = PxPerMetreAt(100);
  const BoringLogLayout probe = LayOutInWindow(model, fit.pxPerMetre);
  // The width does not change with the depth scale: it fixes the largest drawing scale.
  fit.deviceScale = ShrunkTo(deviceScale, probe.width, width);
  if (model.layers.empty()) {
    fit.deviceScale = ShrunkTo(fit.deviceScale, probe.height, height);
    return fit;
  }
  // The largest depth scale that fits, between the readable minimum and one at which the depth
  // alone (the axis reaches at least one tick, 0.5 m) would fill the height.
  double low = kMinBody / std::max(probe.axisDepth, 0.5);
  double high = std::max(2 * height / fit.deviceScale, low);
  if (!Fits(model, low, fit.deviceScale, width, height)) {
    // The rest of the picture leaves the depth too little: all of it is drawn smaller.
    fit.pxPerMetre = low;
    fit.deviceScale = ShrunkTo(fit.deviceScale, LayOutInWindow(model, low).height, height);
    return fit;
  }
  for (int i = 0; i < 40 && high / low > 1 + 1e-4; ++i) {
    const double middle = std::sqrt(low * high);
    (Fits(model, middle, fit.deviceScale, width, height) ? low : high) = middle;
  }
  fit.pxPerMetre = low;
  return fit;
}

double FitDenominator(const WindowFit& fit, double deviceScale) {
  return PxPerMetreAt(1) * deviceScale / (fit.pxPerMetre * fit.deviceScale);
}

Text PdfFileName(const Text& folder) {
  size_t end = folder.size();
  while (end > 0 && (folder[end - 1] == u'\\' || folder[end - 1] == u'/')) --end;
  size_t start = end;
  while (start > 0 && folder[start - 1] != u'\\' && folder[start - 1] != u'/' &&
         folder[start - 1] != u':') {
    --start;
  }
  const Text name = folder.substr(start, end - start);
  return (name.empty() ? Text(u"柱状図") : name) + u".pdf";
}

double ZoomedScale(double now, int steps) {
  double next = now;
  if (steps > 0) {
    for (double s : kScales) {
      if (s < now - 1e-6) next = s;  // the largest scale below the present denominator
    }
  } else if (steps < 0) {
    for (auto it = std::rbegin(kScales); it != std::rend(kScales); ++it) {
      if (*it > now + 1e-6) next = *it;
    }
  }
  return next;
}

}  // namespace ostra
