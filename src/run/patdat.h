// Finding the reference folder PATDAT: beside the program, else on the drives.
#pragma once

#include <cstdint>
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

// Walks the tree below `folder` depth first, a folder before its subfolders, adding every
// folder that holds a non-empty `fileName` ("\kishitu.txt") to `hits` (as folder + "\").
void SearchPatdatTree(Env& env, const Text& folder, std::int16_t& hitCount, std::vector<Text>& hits,
                      const Text& fileName, const FolderVisited& visited = {});

}  // namespace ostra
