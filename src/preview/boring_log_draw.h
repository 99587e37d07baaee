// Draws the boring-log picture, or parts of it, onto a canvas at the positions of its layout.
// The window draws only what shows, the printer one page's slice at a time, the SVG everything.
#pragma once

#include "preview/boring_log_layout.h"
#include "preview/boring_log_model.h"
#include "preview/canvas.h"

namespace ostra {

// Everything: title block, headings, body (or the message that there is nothing to show).
void DrawBoringLog(Canvas& canvas, const BoringLogModel& model, const BoringLogLayout& layout);

// The title items and the legend of the patterns.
void DrawTitleBlock(Canvas& canvas, const BoringLogModel& model, const BoringLogLayout& layout);
// The column headings on a white band from `top` down, kColumnHeadHeight high.
void DrawColumnHeads(Canvas& canvas, const BoringLogLayout& layout, double top);
// What of the body meets the band of picture rows from `fromY` to `toY`: the depth axis, the
// layers, the class cells, the N plot, the tests and the remarks.
void DrawBody(Canvas& canvas, const BoringLogModel& model, const BoringLogLayout& layout,
              double fromY, double toY);

}  // namespace ostra
