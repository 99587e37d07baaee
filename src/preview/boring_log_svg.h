// A picture of a boring log, drawn as SVG from what the data set holds.
#pragma once

#include <string>

#include "base/codec.h"
#include "preview/boring_log_model.h"

namespace ostra {

// Renders the boring log of `model` at the depth scale 1:`scale` as one long page: the title
// block and the legend, the column headings and the columns the data set fills. Returns the SVG
// document as UTF-8 text.
//
// Elements that carry data have a class and data attributes, so that the picture can be read
// back (see boring_log_writer.h).
std::string RenderBoringLogSvg(const BoringLogModel& model, double scale = 100);

}  // namespace ostra
