#include "preview/boring_log_layout.h"

#include <algorithm>
#include <cmath>

namespace ostra {

namespace {

// The header lines from the top: the first larger. Returns the y below them.
double LayOutHeader(const std::vector<Text>& header, std::vector<HeaderLineBox>& boxes) {
  double y = kMargin;
  if (header.empty()) return y;
  for (size_t i = 0; i < header.size(); ++i) {
    double size = i == 0 ? 20 : 13;
    y += size + 6;
    boxes.push_back({y, size});
  }
  return y + 10;
}

// The deepest depth that anything drawn reaches; 1 when there is none below 0.
double Deepest(const BoringLogModel& model) {
  double deepest = 0;
  for (const Layer& layer : model.layers) deepest = std::max(deepest, layer.bottom);
  for (const NPoint& p : model.nValues) deepest = std::max(deepest, p.depth);
  for (const Mark& m : model.marks) deepest = std::max(deepest, m.to.value_or(m.from));
  for (const Remark& r : model.remarks) deepest = std::max(deepest, r.depth);
  if (deepest <= 0) deepest = 1;
  return deepest;
}

}  // namespace

double TickStep(double span, double maxTicks) {
  static const double kSteps[] = {0.5, 1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000};
  for (double step : kSteps) {
    if (span / step <= maxTicks) return step;
  }
  return 10000;
}

std::vector<double> SpreadLabels(const std::vector<double>& wanted,
                                 const std::vector<double>& heights, double gap) {
  std::vector<double> placed;
  double next = -1e9;
  for (size_t i = 0; i < wanted.size(); ++i) {
    double y = std::max(wanted[i], next);
    placed.push_back(y);
    next = y + heights[i] + gap;
  }
  return placed;
}

double FitSize(TextView text, double size, double width) {
  double ems = 0;
  for (char16_t c : text) ems += CharByteWidth(c) == 2 ? 1.0 : 0.58;
  return ems * size <= width ? size : std::max(width / ems, 5.0);
}

std::vector<double> LayerBoundaries(const std::vector<Layer>& layers) {
  std::vector<double> bottoms;
  for (const Layer& layer : layers) bottoms.push_back(layer.bottom);
  std::sort(bottoms.begin(), bottoms.end());
  return bottoms;
}

double LayerTopFor(const std::vector<double>& boundaries, double bottom) {
  auto above = std::lower_bound(boundaries.begin(), boundaries.end(), bottom);
  return above == boundaries.begin() ? 0.0 : std::max(*(above - 1), 0.0);
}

double NPlotX(double n, double nMax) {
  return kPlotLeft + std::clamp(n, 0.0, nMax) / nMax * kPlotWidth;
}

BoringLogLayout LayOutBoringLog(const BoringLogModel& model) {
  BoringLogLayout out;
  out.headTop = LayOutHeader(model.header, out.headerLines);

  if (model.layers.empty()) {
    out.messageY = out.headTop + 30;
    out.folderY = out.headTop + 52;
    out.width = kEmptyWidth;
    out.height = out.headTop + 72;
    return out;
  }

  // The depth scale covers everything drawn, down to a whole tick.
  const double deepest = Deepest(model);
  const double step = TickStep(deepest, 15);
  const double axisDepth = std::ceil(deepest / step - 1e-9) * step;
  out.pxPerMetre = std::clamp(kBodyHeight / axisDepth, 0.5, 60.0);
  out.bodyTop = out.headTop + kColumnHeadHeight;
  out.bodyBottom = out.bodyTop + axisDepth * out.pxPerMetre;
  auto DepthY = [&out](double depth) {
    return out.bodyTop + std::max(depth, 0.0) * out.pxPerMetre;
  };
  double pictureBottom = out.bodyBottom;

  for (double d = 0; d <= axisDepth + 1e-9; d += step) out.depthTicks.push_back({d, DepthY(d)});

  for (const Layer& layer : model.layers) {
    LayerBox box;
    box.top = DepthY(layer.top);
    box.bottom = DepthY(layer.bottom);
    const double height = box.bottom - box.top;
    box.size = FitSize(layer.name + u"　" + layer.code, std::clamp(height * 0.7, 6.0, 13.0),
                       kBandWidth - 16);
    box.textY = (box.top + box.bottom) / 2 + box.size * 0.35;
    out.layers.push_back(box);
  }

  const std::vector<double> boundaries = LayerBoundaries(model.layers);
  for (size_t i = 0; i < model.classes.size(); ++i) {
    ClassColumnBox column;
    column.left = kClassLeft + static_cast<double>(i) * kClassWidth;
    for (const ClassLine& line : model.classes[i].lines) {
      CellBox cell;
      cell.topDepth = LayerTopFor(boundaries, line.bottom);
      cell.top = DepthY(cell.topDepth);
      cell.bottom = DepthY(line.bottom);
      cell.size = FitSize(line.text, std::clamp((cell.bottom - cell.top) * 0.6, 6.0, 11.0),
                          kClassWidth - 6);
      cell.textY = (cell.top + cell.bottom) / 2 + cell.size * 0.35;
      column.cells.push_back(cell);
    }
    out.classes.push_back(std::move(column));
  }

  // The N axis reaches the next multiple of 50 above the largest value, at most kNAxisCap.
  out.nMax = 50;
  for (const NPoint& p : model.nValues) out.nMax = std::max(out.nMax, std::ceil(p.n / 50) * 50);
  out.nMax = std::min(out.nMax, kNAxisCap);
  for (double n = 0; n <= out.nMax + 1e-9; n += 10) {
    const bool labelled = static_cast<int>(n) % (out.nMax > 50 ? 20 : 10) == 0;
    out.nTicks.push_back({n, NPlotX(n, out.nMax), labelled});
  }
  for (const NPoint& p : model.nValues) {
    out.nPoints.push_back({NPlotX(p.n, out.nMax), DepthY(p.depth), p.n > out.nMax});
  }

  // Tests and samples: labels one line high, spread downwards from their upper ends.
  {
    std::vector<double> wanted, heights;
    for (const Mark& m : model.marks) {
      wanted.push_back(DepthY(m.from) - kLabelLine / 2);
      heights.push_back(kLabelLine);
    }
    const std::vector<double> placed = SpreadLabels(wanted, heights, 1);
    for (size_t i = 0; i < model.marks.size(); ++i) {
      const Mark& m = model.marks[i];
      MarkBox box;
      box.lane = kTestLeft + (m.sample ? 16 : 2);
      box.top = DepthY(m.from);
      box.bottom = m.to ? DepthY(*m.to) : box.top;
      box.labelY = placed[i] + kLabelLine / 2;
      out.marks.push_back(box);
      pictureBottom = std::max(pictureBottom, placed[i] + kLabelLine);
    }
  }

  // Remarks: their lines spread downwards from a little above their depths.
  {
    std::vector<double> wanted, heights;
    for (const Remark& r : model.remarks) {
      wanted.push_back(DepthY(r.depth) - 4);
      heights.push_back(kLabelLine * r.lines.size());
    }
    const std::vector<double> placed = SpreadLabels(wanted, heights, 4);
    for (size_t i = 0; i < model.remarks.size(); ++i) {
      out.remarks.push_back({DepthY(model.remarks[i].depth), placed[i]});
      pictureBottom = std::max(pictureBottom, placed[i] + heights[i]);
    }
  }

  out.width = kWidth;
  out.height = pictureBottom + kMargin + 8;
  return out;
}

}  // namespace ostra
