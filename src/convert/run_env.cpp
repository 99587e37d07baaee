#include "convert/run_env.h"

namespace ostra {

void RunEnv::Warn(const Text& text) const {
  if (ui != nullptr) ui->Warn(text);
}

}  // namespace ostra
