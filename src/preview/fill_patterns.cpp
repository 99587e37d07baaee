#include "preview/fill_patterns.h"

namespace ostra {

namespace {

// Name fragments that call for each pattern.
struct Rule {
  PatternBit bit;
  std::vector<const char16_t*> fragments;
};

const std::vector<Rule>& Rules() {
  static const std::vector<Rule> kRules = {
      {kPatternSand, {u"砂", u"マサ"}},
      {kPatternGravel, {u"礫", u"玉石", u"崖錐"}},
      {kPatternMud, {u"粘土", u"泥", u"シルト", u"頁岩", u"粘板"}},
      {kPatternGranite, {u"花崗", u"閃緑", u"斑れい", u"深成"}},
      {kPatternVolcanic, {u"安山", u"玄武", u"流紋", u"デイサイト", u"輝緑"}},
      {kPatternTuff, {u"凝灰"}},
      {kPatternSchist, {u"片岩", u"片麻", u"ホルンフェルス"}},
      {kPatternLimestone, {u"石灰", u"大理石"}},
      {kPatternChert, {u"チャート", u"珪"}},
      {kPatternMadeGround, {u"表土", u"盛土", u"埋土"}},
  };
  return kRules;
}

TileMark Dot(double x, double y, double r) {
  return {TileMark::kDot, x, y, r, 0};
}
TileMark Ring(double x, double y, double r) {
  return {TileMark::kRing, x, y, r, 0};
}
TileMark Stroke(double x1, double y1, double x2, double y2) {
  return {TileMark::kLine, x1, y1, x2, y2};
}

}  // namespace

const std::vector<PatternInfo>& AllPatterns() {
  static const std::vector<PatternInfo> kAll = {
      {kPatternSand, "sand", u"砂・砂質"},
      {kPatternGravel, "gravel", u"礫・礫質"},
      {kPatternMud, "mud", u"粘土・泥・シルト"},
      {kPatternGranite, "granite", u"花崗岩類"},
      {kPatternVolcanic, "volcanic", u"火山岩類"},
      {kPatternTuff, "tuff", u"凝灰岩類"},
      {kPatternSchist, "schist", u"片岩・片麻岩"},
      {kPatternLimestone, "limestone", u"石灰岩"},
      {kPatternChert, "chert", u"チャート・珪質岩"},
      {kPatternMadeGround, "made-ground", u"表土・盛土"},
  };
  return kAll;
}

PatternSet PatternsFor(TextView name) {
  PatternSet set = 0;
  for (const Rule& rule : Rules()) {
    for (const char16_t* fragment : rule.fragments) {
      if (name.find(fragment) != TextView::npos) {
        set |= rule.bit;
        break;
      }
    }
  }
  return set;
}

PatternTile TileOf(PatternBit bit) {
  PatternTile tile;
  switch (bit) {
    case kPatternSand:
      tile.marks = {Dot(3, 3, 0.8), Dot(9, 9, 0.8)};
      break;
    case kPatternGravel:
      tile.size = 16;
      tile.marks = {Ring(5, 5, 2.6), Ring(13, 12, 2.0)};
      break;
    case kPatternMud:
      tile.marks = {Stroke(1, 3, 7, 3), Stroke(7, 9, 13, 9)};
      break;
    case kPatternGranite:
      tile.size = 14;
      tile.marks = {Stroke(2, 4, 6, 4), Stroke(4, 2, 4, 6), Stroke(9, 11, 13, 11),
                    Stroke(11, 9, 11, 13)};
      break;
    case kPatternVolcanic:
      tile.size = 14;
      tile.marks = {Stroke(2, 2, 4, 6), Stroke(4, 6, 6, 2), Stroke(9, 9, 11, 13),
                    Stroke(11, 13, 13, 9)};
      break;
    case kPatternTuff:
      tile.size = 14;
      tile.marks = {Stroke(2, 6, 4, 2), Stroke(9, 13, 11, 9), Dot(11, 3, 0.7)};
      break;
    case kPatternSchist:
      tile.marks = {Stroke(0, 12, 12, 0), Stroke(-6, 6, 6, -6), Stroke(6, 18, 18, 6)};
      break;
    case kPatternLimestone:
      tile.marks = {Stroke(0, 0.5, 12, 0.5), Stroke(0, 6.5, 12, 6.5), Stroke(6, 0.5, 6, 6.5),
                    Stroke(0.5, 6.5, 0.5, 12)};
      break;
    case kPatternChert:
      tile.size = 10;
      tile.marks = {Stroke(0, 10, 10, 0), Stroke(0, 0, 10, 10)};
      break;
    case kPatternMadeGround:
      tile.size = 10;
      tile.marks = {Stroke(0, 0, 10, 10), Stroke(-5, 5, 5, 15), Stroke(5, -5, 15, 5)};
      break;
  }
  return tile;
}

}  // namespace ostra
