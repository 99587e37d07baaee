// The boring-log picture on paper, whatever prints it: a plan of pages and the drawing of one
// page on a canvas. The picture is never shrunk (a picture pixel is 1/96 inch on the paper, so
// that the body text stays at 7.5 pt); when it is wider than the paper, the columns are made
// narrower (their texts wrap), then the page is turned to landscape, then the columns are split
// over strips of pages, each with the depth scale. Every page has a head: the hole's name, the
// scale and the page's number.
#pragma once

#include <cstddef>
#include <vector>

#include "preview/boring_log_layout.h"
#include "preview/canvas.h"

namespace ostra {

// Millimetres of paper per picture pixel.
constexpr double kPrintMmPerPx = 25.4 / 96;
// The page head's height above the picture.
constexpr double kPageHeadHeight = 22;

// What a text written with its baseline at `y` at `size` covers, top and bottom.
inline double TextTop(double y, double size) {
  return y - size;
}
inline double TextBottom(double y, double size) {
  return y + 0.25 * size;
}

// A page: the picture rows of its strip's body from `from` to `to`, below the headings, and
// above them the title block when `title`.
struct PrintPage {
  size_t strip = 0;
  bool title = false;
  double from = 0;
  double to = 0;
};

struct PrintPlan {
  double denominator = 100;
  bool landscape = false;
  double pageWidth = 0;  // the printable area in picture pixels, in the orientation chosen
  double pageHeight = 0;
  std::vector<BoringLogLayout> strips;  // one layout per strip of columns
  std::vector<PrintPage> pages;         // strip after strip, down the depth
};

// The pages of the picture of `model` at 1:`denominator` on paper whose printable area is
// `widthMm` x `heightMm` upright.
PrintPlan PlanPrint(const BoringLogModel& model, double denominator, double widthMm,
                    double heightMm);

// Draws page `index` of `plan` with its top left corner at (0, 0), in picture pixels.
void DrawPrintPage(Canvas& canvas, const BoringLogModel& model, const PrintPlan& plan,
                   size_t index);

}  // namespace ostra
