// Header decoding, the title files Titl01.txt and Titl02.txt, and the grid-square code.
#pragma once

#include <array>

#include "base/codec.h"
#include "convert/run_env.h"
#include "formats/section_file.h"

namespace ostra {

// TitleItemsA / TitleItemsB: slots 1..30 (slot 0 unused).
using TitleItems = std::array<Text, 31>;

// The 8-digit JIS X 0410 third-level grid-square code of a position given in degrees, minutes
// and seconds; "00000000" at zero latitude or longitude. Computed exactly.
Text MakeMeshCode(float latDeg, float latMin, float latSec, float lonDeg, float lonMin,
                  float lonSec);

// Fills A and B from the MDT header items held in slots 1..40 of `items`. Reads L1.TXT and
// L2.TXT of the reference folder; throws RunError naming the table when one is missing or
// its last record lacks its second field.
void DecodeHeaderItems(const RunEnv& env, const RecordFields& items, TitleItems& a, TitleItems& b);

// Writes Titl01.txt (23 lines) and Titl02.txt (41 lines) into `destFolder` (with or without a
// trailing "\"). Never throws: when it cannot finish it warns through env and returns.
void WriteTitleFiles(const RunEnv& env, const TitleItems& a, const TitleItems& b,
                     const Text& destFolder);

}  // namespace ostra
