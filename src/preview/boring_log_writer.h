// The boring-log picture as SVG text, from its model and its layout.
#pragma once

#include <string>

#include "preview/boring_log_layout.h"
#include "preview/boring_log_model.h"

namespace ostra {

// The SVG document (UTF-8) that draws `model` at the positions of `layout`, which must be
// LayOutBoringLog(model). Groups that carry data, by class:
//   column-head        data-heading
//   layer              data-top, data-bottom, data-code (the grade's code)
//   layer-remark       data-top;  remark: data-depth
//   core               data-top, data-bottom
//   water-level        data-depth, data-date
//   penetration-test   data-depth
//   n-point            data-depth, data-n (where it is plotted, 0 to 50), data-recorded (N as
//                      recorded, "50/12"), data-refusal ("1" or "0")
//   test, sample       data-from, data-to
std::string WriteBoringLogSvg(const BoringLogModel& model, const BoringLogLayout& layout);

}  // namespace ostra
