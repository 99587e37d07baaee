// Whole lines of a text, and the end of a text file as an append sees it.
#pragma once

#include <vector>

#include "platform/codec.h"

namespace ostra {

// The lines of a text without their line ends (CR LF, LF or CR). A final line end does not
// start another line; trailing Ctrl-Z characters are dropped first.
std::vector<Text> SplitLines(Text text);

// Prepares a text file for appending whole lines: afterwards it is empty or ends with its last
// non-blank line and one line end. Blank lines, blanks and Ctrl-Z end marks after it are
// dropped (a reader never sees them as data, but a line appended after them would be read
// wrongly or not at all), and a missing last line end is added. Returns true when the file had
// to be changed; a missing file is left missing.
bool PrepareAppend(const Text& path);

}  // namespace ostra
