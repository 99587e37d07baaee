// Finding the reference folder PATDAT: beside the program, else on the drives.
#pragma once

#include <functional>
#include <vector>

#include "base/codec.h"
#include "env/env.h"

namespace ostra {

// Called once for each folder a search visits (a front end lets its window breathe).
using FolderVisited = std::function<void()>;

// The reference folder, ending with "\", or "" when none was found. A folder qualifies when it
// holds a kishitu.txt of at least one byte. `visited` (optional) is called per folder visited.
Text FindPatdat(Env& env, const FolderVisited& visited = {});

// Walks the tree below `folder` depth first, a folder before its subfolders: every folder that
// holds a non-empty file `fileName` ("kishitu.txt"), each followed by "\", in that order.
std::vector<Text> SearchPatdatTree(Env& env, const Text& folder, const Text& fileName,
                                   const FolderVisited& visited = {});

}  // namespace ostra
