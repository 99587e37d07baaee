#include "preview/boring_log_svg.h"

#include "preview/boring_log_layout.h"
#include "preview/boring_log_model.h"
#include "preview/boring_log_writer.h"

namespace ostra {

std::string RenderBoringLogSvg(Env& env, const Text& destFolder, double scale) {
  const BoringLogModel model = ReadBoringLogModel(env, destFolder);
  return WriteBoringLogSvg(model, LayOutBoringLog(model, PxPerMetreAt(scale)));
}

}  // namespace ostra
