// Fill patterns of the layer column in the manner of Japanese geological logs, chosen from the
// characters of the soil name: dots for sand, small circles for gravel, horizontal dashes for
// clay and mud, crosses for granite and its kin, and so on. A name may give several (砂岩泥岩互層
// gets dots and dashes); a name that matches none keeps its plain colour.
#pragma once

#include <vector>

#include "base/codec.h"
#include "preview/canvas.h"

namespace ostra {

enum PatternBit : PatternSet {
  kPatternSand = 1u << 0,
  kPatternGravel = 1u << 1,
  kPatternMud = 1u << 2,
  kPatternGranite = 1u << 3,
  kPatternVolcanic = 1u << 4,
  kPatternTuff = 1u << 5,
  kPatternSchist = 1u << 6,
  kPatternLimestone = 1u << 7,
  kPatternChert = 1u << 8,
  kPatternMadeGround = 1u << 9,
};

struct PatternInfo {
  PatternBit bit;
  const char* id;          // a short name, used for SVG pattern ids
  const char16_t* legend;  // what the legend says
};

// Every pattern, in legend order.
const std::vector<PatternInfo>& AllPatterns();

// The patterns of a soil name.
PatternSet PatternsFor(TextView name);

// One mark of a pattern's tile, in black: a dot, a ring or a line.
struct TileMark {
  enum Kind { kDot, kRing, kLine } kind = kDot;
  double x1 = 0, y1 = 0;  // centre, or start of the line
  double x2 = 0, y2 = 0;  // radius in x2, or end of the line
};

// The square tile that repeats to make the pattern.
struct PatternTile {
  double size = 12;
  std::vector<TileMark> marks;
};

PatternTile TileOf(PatternBit bit);

}  // namespace ostra
