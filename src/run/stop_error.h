// The report's account of why a run stopped.
#pragma once

#include <optional>

#include "base/codec.h"
#include "base/errors.h"
#include "run/report.h"

namespace ostra {

// The message shown, the file it is about, what it was about and, for a problem with the data,
// where in the file it lies.
RunReport::Error StopError(const Text& message, const Text& file, ErrorKind kind,
                           const std::optional<DataPlace>& place = std::nullopt);

}  // namespace ostra
