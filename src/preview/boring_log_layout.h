// Where the parts of the boring-log picture go: pure functions from the model to positions in
// picture pixels (1/96 inch), y growing downwards. The depth is drawn to a true scale: at 1:100
// one metre of depth is 10 mm. No files are read and nothing is drawn here.
#pragma once

#include <string>
#include <vector>

#include "base/codec.h"
#include "preview/boring_log_model.h"
#include "preview/canvas.h"
#include "preview/fill_patterns.h"

namespace ostra {

// The columns, left to right.
constexpr double kMargin = 12;
constexpr double kAxisRight = 48;       // the depth axis line
constexpr double kLayerDepthLeft = 50;  // the depth texts of the layer bottoms
constexpr double kBandLeft = 96;        // the layers: pattern, colour and name
constexpr double kBandWidth = 150;
constexpr double kClassLeft = kBandLeft + kBandWidth + 8;
constexpr double kClassWidth = 54;
constexpr double kPlotLeft = kClassLeft + kClassColumns * kClassWidth + 12;
constexpr double kPlotWidth = 120;
constexpr double kRecordedLeft = kPlotLeft + kPlotWidth + 4;  // N as recorded ("50/12")
constexpr double kRecordedWidth = 40;
constexpr double kTestLeft = kRecordedLeft + kRecordedWidth + 8;
constexpr double kTestWidth = 140;
constexpr double kRemarkLeft = kTestLeft + kTestWidth + 8;
constexpr double kRemarkWidth = 170;
constexpr double kWidth = kRemarkLeft + kRemarkWidth + kMargin;
constexpr double kEmptyWidth = 720;  // the picture that says there is nothing to show

// Texts keep one readable size and wrap or are shortened instead of shrinking.
constexpr double kTextSize = 10;
constexpr double kTextLine = 12;
constexpr double kColumnHeadHeight = 34;
constexpr double kNAxisCap = 100;  // N values beyond it sit at the plot's right edge
// Where the texts beside the depth axis go: a tick's text (and an N value's) has its baseline
// kTickTextDrop below its line; a layer bottom's depth text, kDepthTextSize high, has its
// baseline kDepthTextLift above the bottom.
constexpr double kTickTextDrop = 4;
constexpr double kDepthTextSize = 9;
constexpr double kDepthTextLift = 2;

// Picture pixels per metre of depth at the scale 1:denominator.
double PxPerMetreAt(double denominator);

// A column heading and the files the column shows (for a tooltip).
struct ColumnHead {
  double left = 0;
  double width = 0;
  const char16_t* heading = u"";
  const char16_t* files = u"";
};
const std::vector<ColumnHead>& ColumnHeads();

// A title item: "label：value" in lines from the baseline `y` down.
struct TitleBox {
  double x = 0;
  double y = 0;
  double size = 0;
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
  bool labelled = false;
};

struct LayerBox {
  double top = 0;
  double bottom = 0;
  PatternSet patterns = 0;
  bool depthLabelled = false;  // room for the bottom's depth text
};

// A cell of a class column: from the top of the layer it belongs to down to its line's depth.
struct CellBox {
  double topDepth = 0;
  double top = 0;
  double bottom = 0;
};

struct ClassColumnBox {
  double left = 0;
  std::vector<CellBox> cells;  // one for each line of the model's column
};

struct PointBox {
  double x = 0;
  double y = 0;
  bool beyond = false;    // N above the axis: drawn at the right edge
  bool labelled = false;  // room for its texts
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

// A remark: its mark at `y`, its lines from `labelTop` down.
struct RemarkBox {
  double y = 0;
  double labelTop = 0;
  std::vector<Text> lines;
};

struct BoringLogLayout {
  double width = 0;
  double height = 0;
  double pxPerMetre = 0;
  std::vector<TitleBox> title;  // one per model title item
  std::vector<LegendBox> legend;
  double headsTop = 0;  // below the title block: the column headings, kColumnHeadHeight high

  // Without layers: the message and the folder name.
  double messageY = 0;
  double folderY = 0;

  // With layers: the body spans the depth axis.
  double bodyTop = 0;
  double bodyBottom = 0;
  double axisDepth = 0;
  std::vector<DepthTick> depthTicks;
  double nMax = 0;  // the N value at the plot's right edge
  std::vector<NTick> nTicks;
  std::vector<LayerBox> layers;         // one per model layer
  std::vector<ClassColumnBox> classes;  // one per model class column
  std::vector<PointBox> nPoints;        // one per model N value
  std::vector<MarkBox> marks;           // one per model mark
  std::vector<RemarkBox> remarks;       // one per model remark
};

// Positions of everything the model shows, at `pxPerMetre` (PxPerMetreAt(100) for 1:100), with
// depth 0 `headsGap` below the bottom of the column headings.
BoringLogLayout LayOutBoringLog(const BoringLogModel& model, double pxPerMetre,
                                double headsGap = 0);

// The depth the axis reaches at `pxPerMetre`: the deepest thing drawn, down to a whole tick.
double AxisDepth(const BoringLogModel& model, double pxPerMetre);
// The step between depth ticks: at least 30 pixels apart.
double DepthTickStep(double pxPerMetre);
// Height of the title block and the headings above the depth axis.
double BodyTop(const BoringLogModel& model);

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

// The layer bottoms in ascending order.
std::vector<double> LayerBoundaries(const std::vector<Layer>& layers);
// The top of the layer that ends at `bottom`: the deepest of the `boundaries` (ascending) above
// it, else 0.
double LayerTopFor(const std::vector<double>& boundaries, double bottom);

// The x of an N value on a plot that ends at `nMax`.
double NPlotX(double n, double nMax);

}  // namespace ostra
