// The columns of a rock boring log, left to right in the order engineers draw them. A column is
// data: its kind, its heading, the width it takes when there is room and the width below which
// its texts would no longer wrap into it. Only the columns the model fills somewhere are drawn.
#pragma once

#include <optional>
#include <vector>

#include "preview/boring_log_model.h"

namespace ostra {

// The room left and right of the columns and around the title block.
constexpr double kMargin = 12;

enum class ColumnKind {
  kScale,      // 標尺: the depth scale
  kElevation,  // 標高 at each layer bottom
  kDepth,      // 深度 of each layer bottom
  kThickness,  // 層厚
  kPattern,    // 柱状図: the fill pattern of the layer's name
  kName,       // 岩種・地層名
  kColour,     // the layer items, in the order of LayerItem
  kGrade,
  kWeathering,
  kHardness,
  kFractures,
  kAlteration,
  kCoreShape,
  kRecovery,     // コア採取率
  kRqd,          // RQD
  kRemarks,      // 記事: the layer's own remark and the remarks at their depths
  kWater,        // 孔内水位
  kPenetration,  // 標準貫入試験: depth, blows per 10 cm, N as recorded
  kNGraph,       // the N values plotted 0 to 50
  kMarks,        // 試験・試料
};

struct ColumnSpec {
  ColumnKind kind;
  const char16_t* heading;
  double natural;  // picture pixels
  double minimum;
  const char16_t* tip;  // what the column shows, for a tooltip
};

// Every column in drawing order.
const std::vector<ColumnSpec>& AllColumns();
const ColumnSpec& SpecOf(ColumnKind kind);

// A column placed in a picture.
struct ColumnBox {
  ColumnKind kind = ColumnKind::kScale;
  double left = 0;
  double width = 0;
};

// The layer item a column shows; nothing for the columns that are no layer item.
std::optional<LayerItem> ItemOf(ColumnKind kind);

// The collar elevation: the header item "孔口標高" read as a number; nothing without one.
std::optional<double> CollarElevation(const BoringLogModel& model);

// The columns the model fills somewhere, in drawing order, at their natural widths from the
// left margin. The depth scale is always there.
std::vector<ColumnBox> FilledColumns(const BoringLogModel& model);

// The columns side by side from the left margin, each `widths[i]` wide.
void PlaceColumns(std::vector<ColumnBox>& columns);

// The total width of `columns` with the margins on both sides.
double ColumnsWidth(const std::vector<ColumnBox>& columns);

// The columns made narrower, each towards its minimum by the same share of the room it can
// give, so that they take `width` with the margins; at their minimum when that is not enough.
// True when they fit.
bool NarrowColumns(std::vector<ColumnBox>& columns, double width);

}  // namespace ostra
