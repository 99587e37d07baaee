// Models of boring logs built in memory for the picture's tests: no data set is read.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "base/sjis.h"
#include "preview/boring_log_model.h"

namespace ostra::test {

// A layer from `top` to `bottom` named `name`, its depth written with two decimals.
inline Layer MakeLayer(double top, double bottom, const Text& name = u"砂岩") {
  Layer layer;
  layer.top = top;
  layer.bottom = bottom;
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", bottom);
  layer.depthText = FromUtf8(text);
  layer.name = name;
  return layer;
}

// A penetration test at `depth` recorded as `recorded`, plotted at `plotN`.
inline PenetrationTest MakeTest(double depth, const Text& recorded, std::optional<double> plotN,
                                bool refusal = false) {
  PenetrationTest t;
  t.depth = depth;
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", depth);
  t.depthText = FromUtf8(text);
  t.recorded = recorded;
  t.plotN = plotN;
  t.refusal = refusal;
  return t;
}

// Layers from 0 down to each of `bottoms` in turn, with the header a log has.
inline BoringLogModel LayersOnly(const std::vector<double>& bottoms) {
  BoringLogModel model;
  model.source = u"T:\\DATA\\B-1.MDT";
  model.holeName = u"B-1";
  model.header = {{u"調査名", u"トンネル調査"}, {u"孔名", u"B-1"}, {u"掘進長", u"30.00 m"}};
  double top = 0;
  for (double bottom : bottoms) {
    model.layers.push_back(MakeLayer(top, bottom));
    top = bottom;
  }
  return model;
}

// A hole `depth` metres deep with everything a data set gives, every 1 to 3 m: layers with all
// their items and remarks, core runs, remarks at depths, penetration tests (a refusal now and
// then), water levels, tests and samples.
inline BoringLogModel DeepHole(double depth) {
  static const char16_t* const kNames[] = {u"表土",     u"粘板岩", u"砂岩（細粒）",
                                           u"断層角礫", u"花崗岩", u"凝灰質泥岩"};
  BoringLogModel model = LayersOnly({});
  model.header.push_back({u"孔口標高", u"125.30 m"});
  model.header.push_back({u"掘進方向", u"鉛直"});
  model.header.push_back({u"試錐機", u"YBM-05"});
  model.header.push_back({u"主任技師", u"山田 太郎"});
  unsigned seed = 7;
  auto step = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return 1.0 + static_cast<double>((seed >> 16) % 21) / 10.0;  // 1.0 to 3.0
  };
  for (double top = 0; top < depth - 1e-9;) {
    const double bottom = std::min(top + step(), depth);
    const size_t i = model.layers.size();
    Layer layer = MakeLayer(top, bottom, kNames[i % 6]);
    layer.items = {u"灰白色", u"ＣＬ～ＣＭ",  u"弱風化", u"中硬", u"密着～ヘアークラック",
                   u"弱変質", u"棒状～短棒状"};
    layer.gradeCode = u"CL";
    layer.remark = {u"コアは棒状で割れ目は少ない。", u"一部に粘土を挟む。"};
    model.layers.push_back(layer);
    model.cores.push_back({top, bottom, u"85～90", u"60"});
    model.remarks.push_back({top + 0.3, Text(), {u"GL-" + layer.depthText + u" ) 補足の記事"}});
    top = bottom;
  }
  for (double at = 1.15; at < depth; at += step()) {
    const bool refusal = static_cast<int>(at) % 7 == 3;
    PenetrationTest t = refusal ? MakeTest(at, u"50/12", 50, true)
                                : MakeTest(at, FromUtf8(std::to_string(static_cast<int>(at) % 45)),
                                           static_cast<int>(at) % 45);
    t.blows = {u"7", u"10", refusal ? u"33/2" : u"12"};
    model.penetrationTests.push_back(t);
  }
  for (double at = 2; at < depth; at += 10 * step()) {
    model.waterLevels.push_back(
        {at, FromUtf8(std::to_string(static_cast<int>(at))) + u".00", u"5/12", u"作業開始前"});
    model.marks.push_back({at > depth / 2, at, at + 0.5, u"一軸圧縮 A-1"});
  }
  return model;
}

}  // namespace ostra::test
