// Fill patterns of the layer column in the manner of Japanese boring logs, chosen by the layer's
// name from the pattern table data/boring-log-patterns.tsv (compiled into the program): dots for
// sand, rings for gravel, short dashes for clay, crosses for granite and so on, each with a fixed
// fill colour under its marks. A name gets one pattern, by the longest key that matches it (a
// whole-name key before any ending, a longer ending before a shorter one); a name that matches
// none keeps a plain fill.
#pragma once

#include <string>
#include <vector>

#include "base/codec.h"
#include "preview/canvas.h"

namespace ostra {

// One pattern as a bit of a PatternSet: 1 << its row in the table.
using PatternBit = PatternSet;

struct PatternInfo {
  PatternBit bit = 0;
  std::string id;      // a short name, used for SVG pattern ids
  std::string colour;  // the fill under the marks, "#rrggbb"
  Text legend;         // what the legend says
};

// Every pattern, in legend order.
const std::vector<PatternInfo>& AllPatterns();

// The pattern of a bit; nullptr for 0 or a bit of no pattern.
const PatternInfo* PatternOf(PatternBit bit);

// A key of the table: the name itself, or a name ending.
struct PatternKey {
  Text text;
  bool whole = false;
  PatternBit bit = 0;
};

const std::vector<PatternKey>& AllPatternKeys();

// The name as matched: without annotations in parentheses (（細粒）, (風化部)) and the blanks
// around it.
Text PatternName(TextView name);

// The pattern of a soil or rock name: one bit, or 0 when no key matches.
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
