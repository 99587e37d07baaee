#include "preview/boring_log_pages.h"

#include <algorithm>

namespace ostra {

PrintScale PrintScaleFor(double pageWidthMm, double denominator) {
  PrintScale scale;
  scale.mmPerPx = std::min(25.4 / 96.0, pageWidthMm / kWidth);
  scale.pxPerMetre = 1000.0 / denominator / scale.mmPerPx;
  return scale;
}

std::vector<PageSlice> PlanPages(const BoringLogLayout& layout, double pageHeight) {
  std::vector<PageSlice> pages;
  if (layout.layers.empty()) {
    pages.push_back({true, 0, 0});
    return pages;
  }
  // The body ends where the last thing drawn ends.
  const double end = std::max(layout.bodyBottom, layout.height - kMargin - 8);
  double from = layout.headsTop + kColumnHeadHeight;
  // A page too small for its headings still shows some of the body.
  const double firstRoom = std::max(pageHeight - from, kTextLine);
  const double otherRoom = std::max(pageHeight - kColumnHeadHeight, kTextLine);
  while (pages.empty() || from < end - 1e-6) {
    const bool first = pages.empty();
    const double to = std::min(from + (first ? firstRoom : otherRoom), end);
    pages.push_back({first, from, to});
    from = to;
  }
  return pages;
}

}  // namespace ostra
