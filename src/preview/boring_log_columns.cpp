#include "preview/boring_log_columns.h"

#include <algorithm>

#include "base/decimal.h"

namespace ostra {

const std::vector<ColumnSpec>& AllColumns() {
  using K = ColumnKind;
  static const std::vector<ColumnSpec> kColumns = {
      {K::kScale, u"標尺(m)", 40, 40, u"深度の目盛り"},
      {K::kElevation, u"標高(m)", 54, 46, u"孔口標高から各層下端の深度を引いた標高"},
      {K::kDepth, u"深度(m)", 50, 44, u"各層の下端の深度"},
      {K::kThickness, u"層厚(m)", 46, 40, u"各層の厚さ"},
      {K::kPattern, u"柱状図", 60, 40, u"岩種・地層名による模様"},
      {K::kName, u"岩種・地層名", 110, 60, u"岩種・地層名"},
      {K::kColour, u"色調", 56, 34, u"色調"},
      {K::kGrade, u"岩級区分", 52, 34, u"岩級区分（記載のまま）"},
      {K::kWeathering, u"風化", 44, 30, u"風化"},
      {K::kHardness, u"硬軟", 44, 30, u"硬軟"},
      {K::kFractures, u"割れ目", 52, 34, u"割れ目"},
      {K::kAlteration, u"変質", 44, 30, u"変質"},
      {K::kCoreShape, u"コア形状", 56, 34, u"コア形状"},
      {K::kRecovery, u"コア採取率(%)", 50, 36, u"コア採取率（掘進区間ごと）"},
      {K::kRqd, u"RQD(%)", 44, 34, u"RQD（掘進区間ごと）"},
      {K::kRemarks, u"記事", 200, 110, u"各層の記事と深度ごとの記事"},
      {K::kWater, u"孔内水位", 76, 60, u"孔内水位と測定月日"},
      {K::kPenetration, u"標準貫入試験", 160, 150,
       u"試験深度、10cmごとの打撃回数、N値（記録のまま）"},
      {K::kNGraph, u"N値", 120, 100, u"N値（0～50）"},
      {K::kMarks, u"試験・試料", 130, 80, u"原位置試験と試料"},
  };
  return kColumns;
}

const ColumnSpec& SpecOf(ColumnKind kind) {
  return AllColumns()[static_cast<size_t>(kind)];
}

std::optional<LayerItem> ItemOf(ColumnKind kind) {
  const int k = static_cast<int>(kind) - static_cast<int>(ColumnKind::kColour);
  if (k < 0 || k >= kLayerItems) return std::nullopt;
  return static_cast<LayerItem>(k);
}

std::optional<double> CollarElevation(const BoringLogModel& model) {
  for (const TitleItem& item : model.header) {
    if (item.label != u"孔口標高") continue;
    const auto number = ParseDecimal(item.value, DecimalEnd::kAnyText);
    if (number) return number->ToDouble();
  }
  return std::nullopt;
}

namespace {

bool Filled(const BoringLogModel& model, ColumnKind kind) {
  using K = ColumnKind;
  const bool layers = !model.layers.empty();
  if (const auto item = ItemOf(kind)) {
    return std::any_of(model.layers.begin(), model.layers.end(),
                       [&](const Layer& l) { return !l.Item(*item).empty(); });
  }
  switch (kind) {
    case K::kScale:
      return true;
    case K::kElevation:
      return layers && CollarElevation(model).has_value();
    case K::kDepth:
    case K::kThickness:
    case K::kPattern:
      return layers;
    case K::kName:
      return std::any_of(model.layers.begin(), model.layers.end(),
                         [](const Layer& l) { return !l.name.empty(); });
    case K::kRecovery:
      return std::any_of(model.cores.begin(), model.cores.end(),
                         [](const CoreRun& c) { return !c.recovery.empty(); });
    case K::kRqd:
      return std::any_of(model.cores.begin(), model.cores.end(),
                         [](const CoreRun& c) { return !c.rqd.empty(); });
    case K::kRemarks:
      return !model.remarks.empty() ||
             std::any_of(model.layers.begin(), model.layers.end(),
                         [](const Layer& l) { return !l.remark.empty(); });
    case K::kWater:
      return !model.waterLevels.empty();
    case K::kPenetration:
      return !model.penetrationTests.empty();
    case K::kNGraph:
      return std::any_of(model.penetrationTests.begin(), model.penetrationTests.end(),
                         [](const PenetrationTest& t) { return t.plotN.has_value(); });
    case K::kMarks:
      return !model.marks.empty();
    default:
      return false;
  }
}

}  // namespace

std::vector<ColumnBox> FilledColumns(const BoringLogModel& model) {
  std::vector<ColumnBox> columns;
  for (const ColumnSpec& spec : AllColumns()) {
    if (Filled(model, spec.kind)) columns.push_back({spec.kind, 0, spec.natural});
  }
  PlaceColumns(columns);
  return columns;
}

void PlaceColumns(std::vector<ColumnBox>& columns) {
  double left = kMargin;
  for (ColumnBox& column : columns) {
    column.left = left;
    left += column.width;
  }
}

double ColumnsWidth(const std::vector<ColumnBox>& columns) {
  double width = 2 * kMargin;
  for (const ColumnBox& column : columns) width += column.width;
  return width;
}

bool NarrowColumns(std::vector<ColumnBox>& columns, double width) {
  double natural = 0;
  double spare = 0;
  for (const ColumnBox& column : columns) {
    natural += SpecOf(column.kind).natural;
    spare += SpecOf(column.kind).natural - SpecOf(column.kind).minimum;
  }
  const double over = natural + 2 * kMargin - width;
  const double share = over <= 0 ? 0 : spare <= 0 ? 1 : std::min(over / spare, 1.0);
  for (ColumnBox& column : columns) {
    const ColumnSpec& spec = SpecOf(column.kind);
    column.width = spec.natural - share * (spec.natural - spec.minimum);
  }
  PlaceColumns(columns);
  return ColumnsWidth(columns) <= width + 1e-6;
}

}  // namespace ostra
