// Where a converter reports a warning after which the run goes on.
#pragma once

#include "base/codec.h"

namespace ostra {

class WarningSink {
 public:
  virtual ~WarningSink() = default;
  virtual void Warn(const Text& text) = 0;
};

}  // namespace ostra
