// Whole lines of a text.
#pragma once

#include <vector>

#include "base/codec.h"

namespace ostra {

// The lines of a text without their line ends (CR LF, LF or CR). A final line end does not
// start another line; trailing Ctrl-Z characters are dropped first.
std::vector<Text> SplitLines(Text text);

// The line (1-based, as an editor counts it) that holds position `pos` of a text.
long long LineNumberAt(TextView text, size_t pos);
// The offset where the line holding position `pos` starts.
size_t LineStartAt(TextView text, size_t pos);
// The character position (1-based) of `pos` in its line; a surrogate pair is one character.
long long ColumnAt(TextView text, size_t pos);

}  // namespace ostra
