// The boring-log picture as SVG text, from its model and its layout.
#pragma once

#include <string>

#include "preview/boring_log_layout.h"
#include "preview/boring_log_model.h"

namespace ostra {

// The SVG document (UTF-8) that draws `model` at the positions of `layout`, which must be
// LayOutBoringLog(model). The data attributes are described with RenderBoringLogSvg.
std::string WriteBoringLogSvg(const BoringLogModel& model, const BoringLogLayout& layout);

}  // namespace ostra
