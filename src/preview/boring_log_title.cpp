// The title block of the boring-log picture: the survey's name, the header items in columns,
// the warnings (what could not be read, a run that stopped part-way) and the legend.
#include <algorithm>
#include <unordered_set>

#include "preview/boring_log_layout.h"
#include "preview/svg_format.h"

namespace ostra {

namespace {

constexpr double kTitleSize = 16;
constexpr double kItemSize = 11;
constexpr double kItemLine = 15;
constexpr double kItemColumnWidth = 240;
constexpr double kLegendWidth = 250;
constexpr double kLegendRow = 15;
// Narrower than this, the legend goes below the items instead of beside them.
constexpr double kLegendBesideFrom = 640;

// The legend from `top` at `left`: the patterns the layers use in table order, then the names
// that matched none. Returns the y below it.
double LayOutLegend(const BoringLogModel& model, double left, double top, double width,
                    BoringLogLayout& out) {
  PatternSet used = 0;
  for (const LayerBox& layer : out.layers) used |= layer.patterns;
  // Two entries to a row where there is room for them.
  const size_t perRow = width >= kLegendWidth ? 2 : 1;
  const double entry = std::min(kLegendWidth / 2, width);
  double y = top;
  auto add = [&](PatternBit bit, std::string fill, TextView text) {
    const size_t n = out.legend.size();
    if (n % perRow == 0 && n > 0) y += kLegendRow;
    std::vector<Text> lines = FitLines(text, entry - 33, kTextSize, 1);
    out.legend.push_back({bit, left + static_cast<double>(n % perRow) * entry, y, std::move(fill),
                          lines.empty() ? Text() : lines[0]});
  };
  for (const PatternInfo& p : AllPatterns()) {
    if ((used & p.bit) != 0) add(p.bit, p.colour, p.legend);
  }
  std::unordered_set<Text> plain;
  for (size_t i = 0; i < out.layers.size() && i < model.layers.size(); ++i) {
    if (out.layers[i].patterns != 0) continue;
    Text name = PatternName(model.layers[i].name);
    if (name.empty() || !plain.insert(name).second) continue;
    add(0, svg::FillFor(name), name);
  }
  return out.legend.empty() ? top : y + kLegendRow;
}

}  // namespace

double LayOutTitle(const BoringLogModel& model, double width, BoringLogLayout& out) {
  const bool beside = width >= kLegendBesideFrom;
  const double itemsWidth = width - 2 * kMargin - (beside ? kLegendWidth : 0);
  double y = kMargin;
  size_t first = 0;
  if (!model.header.empty()) {
    first = 1;
    y += kTitleSize + 2;
    TitleBox box{kMargin,    y,
                 kTitleSize, true,
                 "#000000",  FitLines(model.header.front().value, itemsWidth, kTitleSize, 2)};
    y += static_cast<double>(box.lines.size() - 1) * (kTitleSize + 4) + 8;
    out.title.push_back(std::move(box));
  }
  // The other items in columns, down the first column first.
  const size_t rest = model.header.size() - first;
  const size_t columns = std::max<size_t>(1, static_cast<size_t>(itemsWidth / kItemColumnWidth));
  const double columnWidth = itemsWidth / static_cast<double>(columns);
  const size_t perColumn = (rest + columns - 1) / columns;
  double bottom = y;
  for (size_t column = 0; column < columns; ++column) {
    double at = y;
    for (size_t k = 0; k < perColumn; ++k) {
      const size_t i = first + column * perColumn + k;
      if (i >= model.header.size()) break;
      const TitleItem& item = model.header[i];
      at += kItemLine;
      TitleBox box{kMargin + static_cast<double>(column) * columnWidth,
                   at,
                   kItemSize,
                   false,
                   "#000000",
                   FitLines(item.label + u"：" + item.value, columnWidth - 10, kItemSize, 3)};
      at += static_cast<double>(box.lines.size() - 1) * kItemLine;
      out.title.push_back(std::move(box));
    }
    bottom = std::max(bottom, at);
  }
  // The warnings, in bold red across the block: they must not be overlooked.
  std::vector<Text> warnings = model.problems;
  if (!model.stoppedRun.empty()) warnings.push_back(model.stoppedRun);
  for (const Text& warning : warnings) {
    bottom += kItemLine + 2;
    TitleBox box{kMargin, bottom, kItemSize,
                 true,    kAlarm, FitLines(warning, itemsWidth, kItemSize, 4)};
    bottom += static_cast<double>(box.lines.size() - 1) * kItemLine;
    out.title.push_back(std::move(box));
  }
  if (beside) {
    bottom = std::max(bottom, LayOutLegend(model, width - kMargin - kLegendWidth, kMargin + 4,
                                           kLegendWidth, out));
  } else {
    bottom = LayOutLegend(model, kMargin, bottom + 8, width - 2 * kMargin, out);
  }
  return bottom + (model.header.empty() && out.legend.empty() && warnings.empty() ? 0 : 10);
}

}  // namespace ostra
