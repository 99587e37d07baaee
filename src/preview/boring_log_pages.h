// The boring-log picture on paper: the picture keeps its depth scale and is split over pages,
// each with the column headings, the first also with the title block.
#pragma once

#include <vector>

#include "preview/boring_log_layout.h"

namespace ostra {

// Picture rows of the body that one page shows below its headings; the first page's begin at
// the headings' bottom, with the room above depth 0.
struct PageSlice {
  bool title = false;  // the first page: the title block above the headings
  double from = 0;
  double to = 0;
};

// How the picture goes onto paper `pageWidthMm` wide at the depth scale 1:`denominator`: it is
// shrunk to the width of the page when it is wider, and laid out with `pxPerMetre` so that one
// metre of depth still takes 1000 / denominator millimetres on the paper.
struct PrintScale {
  double mmPerPx = 0;
  double pxPerMetre = 0;
};
PrintScale PrintScaleFor(double pageWidthMm, double denominator);

// Splits the picture of `layout` over pages that hold `pageHeight` picture rows each.
std::vector<PageSlice> PlanPages(const BoringLogLayout& layout, double pageHeight);

}  // namespace ostra
