// Finding the reference folder PATDAT: beside the program, else on the drives.
#pragma once

#include <cstdint>
#include <vector>

#include "base/codec.h"
#include "env/env.h"
#include "run/ui_port.h"

namespace ostra {

// The reference folder, ending with "\", or "" when none was found. A folder qualifies when it
// holds a kishitu.txt of at least one byte. `ui` (optional) gets one pass of pending events per
// folder visited.
Text FindPatdat(Env& env, UiPort* ui = nullptr);

// Walks the tree below `folder` depth first, a folder before its subfolders, adding every
// folder that holds a non-empty `fileName` ("\kishitu.txt") to `hits` (as folder + "\").
void SearchPatdatTree(Env& env, const Text& folder, std::int16_t& hitCount, std::vector<Text>& hits,
                      const Text& fileName, UiPort* ui = nullptr);

}  // namespace ostra
