// Where a converter reports a warning after which the run goes on.
#pragma once

#include <exception>

#include "base/codec.h"

namespace ostra {

class WarningSink {
 public:
  virtual ~WarningSink() = default;
  virtual void Warn(const Text& text) = 0;
  // The words for an error that a warning passes on; the front end's port words it as the run
  // does, this says only what the error itself tells.
  virtual Text Worded(const std::exception& e) { return FromUtf8(e.what()); }
};

}  // namespace ostra
