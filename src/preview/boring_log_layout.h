// Where the parts of the boring-log picture go: pure functions from the model to positions in
// picture pixels (1/96 inch), y growing downwards. The depth is drawn to a true scale: at 1:100
// one metre of depth is 10 mm. No files are read and nothing is drawn here.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/codec.h"
#include "preview/boring_log_columns.h"
#include "preview/boring_log_model.h"
#include "preview/canvas.h"
#include "preview/fill_patterns.h"

namespace ostra {

// The width a window opens for; the picture itself is as wide as its columns.
constexpr double kWidth = 1100;
constexpr double kEmptyWidth = 720;  // the picture that says there is nothing to show

// Texts keep one readable size (7.5 pt on paper) and wrap or are shortened instead of
// shrinking; no text of the picture is smaller.
constexpr double kTextSize = 10;
constexpr double kTextLine = 12;
constexpr double kNAxisMax = 50;  // the N graph runs from 0 to 50
// Where the texts beside the depth scale go: a tick's text has its baseline kTickTextDrop below
// its line; a layer bottom's depth text, kDepthTextSize high, has its baseline kDepthTextLift
// above the bottom.
constexpr double kTickTextDrop = 4;
constexpr double kDepthTextSize = kTextSize;
constexpr double kDepthTextLift = 2;
constexpr const char* kAlarm = "#c00000";  // the lines of the title block that warn

// Picture pixels per metre of depth at the scale 1:denominator.
double PxPerMetreAt(double denominator);

// A title item, a warning or the title itself: lines from the baseline `y` down.
struct TitleBox {
  double x = 0;
  double y = 0;
  double size = 0;
  bool bold = false;
  const char* colour = "#000000";
  std::vector<Text> lines;
};

// An entry of the legend: a pattern used, or a name that matched none (bit 0) with its plain
// fill.
struct LegendBox {
  PatternBit bit = 0;
  double x = 0;
  double y = 0;  // top of the swatch
  std::string fill;
  Text text;  // the pattern's legend or the name, fitted to one line
};

struct DepthTick {
  double depth = 0;
  double y = 0;
};

struct NTick {
  double n = 0;
  double x = 0;
};

struct LayerBox {
  double top = 0;
  double bottom = 0;
  PatternSet patterns = 0;
  bool depthLabelled = false;  // room for the texts at its bottom
};

// A core run's cell.
struct CoreBox {
  double top = 0;
  double bottom = 0;
};

// A point of the N graph (one per penetration test; `shown` false without a value to plot).
struct PointBox {
  bool shown = false;
  double x = 0;
  double y = 0;
};

// A label at a depth `y`, its lines from `labelTop` down (spread so that none overlaps).
struct LabelBox {
  double y = 0;
  double labelTop = 0;
  std::vector<Text> lines;
};

// A test or sample: a bar in its lane from `top` to `bottom` (equal without a lower end) and
// its label lines from `labelTop` down.
struct MarkBox {
  double lane = 0;
  double top = 0;
  double bottom = 0;
  double labelTop = 0;
  std::vector<Text> lines;
};

struct BoringLogLayout {
  double width = 0;
  double height = 0;
  double pxPerMetre = 0;
  std::vector<ColumnBox> columns;  // the columns drawn, left to right
  std::vector<TitleBox> title;     // the hole's title, items and warnings
  std::vector<LegendBox> legend;
  double headsTop = 0;  // below the title block: the column headings, headHeight high
  double headHeight = 0;

  // Without layers: the message and the source's name.
  double messageY = 0;
  double folderY = 0;

  // With layers: the body spans the depth scale.
  double bodyTop = 0;
  double bodyBottom = 0;
  double axisDepth = 0;
  std::optional<double> collar;  // the collar elevation, for 標高
  std::vector<DepthTick> depthTicks;
  std::vector<NTick> nTicks;
  std::vector<LayerBox> layers;   // one per model layer
  std::vector<CoreBox> cores;     // one per model core run
  std::vector<LabelBox> remarks;  // one per model remark
  std::vector<LabelBox> water;    // one per water level
  std::vector<double> testRows;   // the baseline of each penetration test's row
  std::vector<PointBox> nPoints;  // one per penetration test
  std::vector<MarkBox> marks;     // one per model mark

  // The column of `kind`; nullptr when it is not drawn.
  const ColumnBox* Column(ColumnKind kind) const;
  double DepthY(double depth) const { return bodyTop + std::max(depth, 0.0) * pxPerMetre; }
};

// Positions of everything the model shows, at `pxPerMetre` (PxPerMetreAt(100) for 1:100), with
// depth 0 `headsGap` below the bottom of the column headings, in `columns` (the filled columns
// at their natural widths when empty).
BoringLogLayout LayOutBoringLog(const BoringLogModel& model, double pxPerMetre, double headsGap = 0,
                                std::vector<ColumnBox> columns = {});

// The depth the scale reaches at `pxPerMetre`: the deepest thing drawn, down to a whole tick.
double AxisDepth(const BoringLogModel& model, double pxPerMetre);
// The step between depth ticks: at least 30 pixels apart.
double DepthTickStep(double pxPerMetre);

// The lines of `text` at `size` inside `width` (full-width characters take one em, the others a
// little over half of one), broken where the width ends, at most `maxLines`; when the text needs
// more, the last line ends with "…". Nothing when not one line fits.
std::vector<Text> FitLines(TextView text, double width, double size, int maxLines);
// The width of `text` at `size`, by the same estimate.
double TextWidth(TextView text, double size);

// Positions of labels wanted at `wanted` (sorted), pushed down so that none overlaps the one
// before it; each label is `heights[i]` high and keeps `gap` from the next.
std::vector<double> SpreadLabels(const std::vector<double>& wanted,
                                 const std::vector<double>& heights, double gap);

// The title block of `width`: the title, the items in as many columns as fit, the warnings and
// the legend of the patterns `layers` use. Returns the y below it.
double LayOutTitle(const BoringLogModel& model, double width, BoringLogLayout& out);

// The lines of a column's heading in `width`: whole when it fits, else its unit ("(m)") on a
// line of its own and the rest wrapped.
std::vector<Text> HeadingLines(TextView heading, double width);

// The x of an N value in the graph column `graph`: 0 at its left, 50 (and more) at its right.
double NPlotX(const ColumnBox& graph, double n);

}  // namespace ostra
