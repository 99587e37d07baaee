// The pieces the drawing of the boring-log picture shares between its files.
#pragma once

#include <string>

#include "preview/boring_log_layout.h"
#include "preview/canvas.h"

namespace ostra::draw {

inline constexpr const char* kFrame = "#999999";
inline constexpr const char* kInk = "#333333";
inline constexpr const char* kNColour = "#c0392b";

inline Text Ascii(const std::string& s) {
  return FromUtf8(s);
}

inline bool Meets(double top, double bottom, double fromY, double toY) {
  return bottom >= fromY && top <= toY;
}

// Lines of text in a cell from `top` to `bottom`, centred or from the top (`fromTop`), as many
// as fit.
void CellText(Canvas& canvas, TextView text, const ColumnBox& column, double top, double bottom,
              Anchor anchor, bool fromTop = false);

// The columns of the penetration tests' row: the depth, the three blows and N as recorded.
struct PenetrationParts {
  double depth[2];
  double blows[3][2];
  double recorded[2];
};
PenetrationParts PartsOf(const ColumnBox& column);

// The labels beside the depth: remarks, water levels, penetration tests and their graph, tests
// and samples, each in its column.
void DrawLabels(Canvas& canvas, const BoringLogModel& model, const BoringLogLayout& layout,
                double fromY, double toY);

}  // namespace ostra::draw
