// The end of a reference table as an append sees it.
#pragma once

#include <vector>

#include "base/codec.h"
#include "env/env.h"

namespace ostra {

// Prepares a text file for appending whole lines: afterwards it is empty or ends with its last
// non-blank line and one line end. Blank lines, blanks and Ctrl-Z end marks after it are
// dropped (a reader never sees them as data, but a line appended after them would be read
// wrongly or not at all), and a missing last line end is added. Returns true when the file had
// to be changed; a missing file is left missing.
bool PrepareAppend(Env& env, const Text& path);

// A reference table as the run reads it. A table saved as UTF-8 stops the run (it would give
// garbled names, and registrations in it garbled codes); so does, in a table the run extends,
// data after a Ctrl-Z: the reader ends the table there, so every entry appended would be
// invisible and registered again at every run.
Text ReadTableText(Env& env, const Text& path, bool extended);

namespace strata {

// Appends one whole line to a reference table and flushes it. A hand-edited table may end
// without a line end, with blank lines or with a Ctrl-Z: its end is tidied first (see
// PrepareAppend) so that the new line reads back as the record after the last one. Returns
// true when the table's end had to be changed. A line that cannot be written whole is taken
// out again before the FileError goes on. `endTidy` says that this run has already tidied
// or written the table's end, so that it is looked at only once; it is set afterwards.
bool AppendTableLine(Env& env, const Text& path, const Text& line, bool& endTidy);

// Throws RunError naming the table when it does not exist.
void RequireTable(Env& env, const Text& path);

// Writes `lines` as the new content of the table `path` in one step: through a temporary file
// of its own in the same folder, made anew (never through a link, never over a file someone
// left there), forced to disk and put in the table's place, so that the table is never missing
// or half written. The temporary file goes again if anything fails.
void WriteTableAnew(Env& env, const Text& path, const std::vector<Text>& lines);

// Whether `name` is the name of one of WriteTableAnew's temporary files ("XK" followed by six
// digits and ".TMP").
bool IsRewriteTemporary(const Text& name);

// Removes the temporary files of rewrites that never ended (a killed run, a power loss) from
// `folder`: only ordinary files named as WriteTableAnew names them, never a symbolic link.
// Only a run that holds the folder's lock may call it: no other run is writing one then. A folder
// that cannot be listed or a file that cannot be removed throws FileError naming it. Returns how
// many went.
int RemoveRewriteLeftovers(Env& env, const Text& folder);

}  // namespace strata

}  // namespace ostra
