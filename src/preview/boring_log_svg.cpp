#include "preview/boring_log_svg.h"

#include "preview/boring_log_layout.h"
#include "preview/boring_log_writer.h"

namespace ostra {

std::string RenderBoringLogSvg(const BoringLogModel& model, double scale) {
  return WriteBoringLogSvg(model, LayOutBoringLog(model, PxPerMetreAt(scale)));
}

}  // namespace ostra
