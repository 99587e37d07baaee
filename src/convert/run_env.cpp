#include "convert/run_env.h"

namespace ostra {

void RunEnv::Warn(const Text& text) const {
  if (ui != nullptr) ui->Warn(text);
}

Text RunEnv::Worded(const std::exception& e) const {
  return ui != nullptr ? ui->Worded(e) : FromUtf8(e.what());
}

}  // namespace ostra
