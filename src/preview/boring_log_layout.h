// Where the parts of the boring-log picture go: pure functions from the model to positions in
// pixels, y growing downwards. No files are read and no SVG is written here.
#pragma once

#include <vector>

#include "base/codec.h"
#include "preview/boring_log_model.h"

namespace ostra {

// Geometry of the picture, in pixels.
constexpr double kMargin = 16;
constexpr double kAxisRight = 70;       // the depth axis line
constexpr double kLayerDepthLeft = 74;  // the depth texts of the layer bottoms
constexpr double kBandLeft = 122;
constexpr double kBandWidth = 230;
constexpr double kClassLeft = 362;
constexpr double kClassWidth = 64;
constexpr double kPlotLeft = kClassLeft + kClassColumns * kClassWidth + 16;
constexpr double kPlotWidth = 200;
constexpr double kTestLeft = kPlotLeft + kPlotWidth + 16;
constexpr double kTestWidth = 220;
constexpr double kRemarkLeft = kTestLeft + kTestWidth + 12;
constexpr double kRemarkWidth = 290;
constexpr double kWidth = kRemarkLeft + kRemarkWidth + kMargin;
constexpr double kEmptyWidth = 720;  // the picture that says there is nothing to show
constexpr double kBodyHeight = 760;  // the depth axis aims at this height
constexpr double kColumnHeadHeight = 34;
constexpr double kLabelLine = 14;  // one line of a mark's label
constexpr double kNAxisCap = 100;  // N values beyond it sit at the plot's right edge

struct HeaderLineBox {
  double y = 0;  // the baseline
  double size = 0;
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

// A band of the layers; the name and the code are written on the baseline `textY`.
struct LayerBox {
  double top = 0;
  double bottom = 0;
  double size = 0;
  double textY = 0;
};

// A cell of a class column: from the top of the layer it belongs to down to its line's depth.
struct CellBox {
  double topDepth = 0;
  double top = 0;
  double bottom = 0;
  double size = 0;
  double textY = 0;
};

struct ClassColumnBox {
  double left = 0;
  std::vector<CellBox> cells;  // one for each line of the model's column
};

struct PointBox {
  double x = 0;
  double y = 0;
  bool beyond = false;  // N above the axis: drawn at the right edge, labelled to the left
};

// A test or sample: a bar in its lane from `top` to `bottom` (equal without a lower end) and a
// label centred on `labelY`.
struct MarkBox {
  double lane = 0;
  double top = 0;
  double bottom = 0;
  double labelY = 0;
};

// A remark: its mark at `y`, its display lines from `labelTop` down.
struct RemarkBox {
  double y = 0;
  double labelTop = 0;
};

struct BoringLogLayout {
  double width = 0;
  double height = 0;
  std::vector<HeaderLineBox> headerLines;  // one per model header line
  double headTop = 0;                      // below the header

  // Without layers: the message and the folder name.
  double messageY = 0;
  double folderY = 0;

  // With layers: the body spans the depth axis.
  double bodyTop = 0;
  double bodyBottom = 0;
  double pxPerMetre = 0;
  std::vector<DepthTick> depthTicks;
  double nMax = 0;  // the N value at the plot's right edge
  std::vector<NTick> nTicks;
  std::vector<LayerBox> layers;         // one per model layer
  std::vector<ClassColumnBox> classes;  // one per model class column
  std::vector<PointBox> nPoints;        // one per model N value
  std::vector<MarkBox> marks;           // one per model mark
  std::vector<RemarkBox> remarks;       // one per model remark
};

// Positions of everything the model shows.
BoringLogLayout LayOutBoringLog(const BoringLogModel& model);

// A step of the depth axis that gives at most `maxTicks` steps over `span`.
double TickStep(double span, double maxTicks);

// Positions of labels wanted at `wanted` (sorted), pushed down so that none overlaps the one
// before it; each label is `heights[i]` high and keeps `gap` from the next.
std::vector<double> SpreadLabels(const std::vector<double>& wanted,
                                 const std::vector<double>& heights, double gap);

// The font size, at most `size`, at which `text` fits into `width` (full-width characters take
// one em, the others a little over half of one), but not below 5.
double FitSize(TextView text, double size, double width);

// The layer bottoms in ascending order.
std::vector<double> LayerBoundaries(const std::vector<Layer>& layers);
// The top of the layer that ends at `bottom`: the deepest of the `boundaries` (ascending) above
// it, else 0.
double LayerTopFor(const std::vector<double>& boundaries, double bottom);

// The x of an N value on a plot that ends at `nMax`.
double NPlotX(double n, double nMax);

}  // namespace ostra
