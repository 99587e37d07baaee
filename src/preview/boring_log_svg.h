// A picture of a converted boring log, drawn as SVG from the files of a destination folder.
#pragma once

#include <string>

#include "base/codec.h"
#include "env/env.h"

namespace ostra {

// Renders the boring column held in the destination folder `destFolder` (a drive-form path,
// with or without a trailing "\") at the depth scale 1:`scale`, as one long page: a title block
// with the title items (Titl01.txt, Titl02.txt) and the legend of the fill patterns, the column
// headings, a depth axis, one band per layer of X1.TXT, the class ranges of X3.TXT and R31.TXT
// to R35.TXT, the N values of X5.TXT as a plot with the values as recorded, the tests (X7.txt)
// and samples (N6.TMP), and the remarks (X12.TXT). Files that are missing or cannot be read
// leave their part out; without layers the picture says that there is nothing to show. Returns
// the SVG document as UTF-8 text.
//
// Elements that carry data have a class and data attributes, so that the picture can be read
// back: "layer" (data-top, data-bottom, data-code), "class-cell" (data-file, data-top,
// data-bottom), "n-point" (data-depth, data-n, data-recorded), "test" and "sample" (data-from,
// data-to) and "remark" (data-depth).
std::string RenderBoringLogSvg(Env& env, const Text& destFolder, double scale = 100);

}  // namespace ostra
