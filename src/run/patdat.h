// Finding the reference folder PATDAT: beside the program, else on the drives.
#pragma once

#include <vector>

#include "base/codec.h"
#include "env/env.h"
#include "run/ui_port.h"

namespace ostra {

// The reference folder, ending with "\", or "" when none was found. A folder qualifies when it
// holds a kishitu.txt of at least one byte. `ui` (optional) gets one pass of pending events per
// folder visited.
Text FindPatdat(Env& env, UiPort* ui = nullptr);

// Walks the tree below `folder` depth first, a folder before its subfolders: every folder that
// holds a non-empty file `fileName` ("kishitu.txt"), each followed by "\", in that order.
std::vector<Text> SearchPatdatTree(Env& env, const Text& folder, const Text& fileName,
                                   UiPort* ui = nullptr);

}  // namespace ostra
