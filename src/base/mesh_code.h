// The JIS X 0410 third-level grid-square code of a position.
#pragma once

#include "base/codec.h"

namespace ostra {

// The 8-digit JIS X 0410 third-level grid-square code of a position given in degrees, minutes
// and seconds; "00000000" at zero latitude or longitude. Computed exactly.
Text MakeMeshCode(float latDeg, float latMin, float latSec, float lonDeg, float lonMin,
                  float lonSec);

}  // namespace ostra
