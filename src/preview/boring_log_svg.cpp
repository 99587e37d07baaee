#include "preview/boring_log_svg.h"

#include "preview/boring_log_layout.h"
#include "preview/boring_log_model.h"
#include "preview/boring_log_writer.h"

namespace ostra {

std::string RenderBoringLogSvg(const Text& destFolder) {
  const BoringLogModel model = ReadBoringLogModel(destFolder);
  return WriteBoringLogSvg(model, LayOutBoringLog(model));
}

}  // namespace ostra
