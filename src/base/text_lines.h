// Whole lines of a text.
#pragma once

#include <vector>

#include "base/codec.h"

namespace ostra {

// The lines of a text without their line ends (CR LF, LF or CR). A final line end does not
// start another line; trailing Ctrl-Z characters are dropped first.
std::vector<Text> SplitLines(Text text);

}  // namespace ostra
