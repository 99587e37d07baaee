// The NDT section (standard penetration tests) and the LDT section (in-situ tests and samples).
#include <algorithm>
#include <cmath>

#include "base/sjis.h"
#include "formats/bed_parts.h"

namespace ostra::bed {
namespace {

constexpr long kSptFields = 5;
constexpr long kLdtTestRecords = 20;
constexpr long kLdtFields = 3;

// A whole number of blows as the legacy record writes it ("05" gives "5"); the text as written
// when it is not one.
Text Blows(const Text& written) {
  Text t = NarrowNumerals(Trim(written));
  while (t.size() > 1 && t[0] == u'0') t.erase(0, 1);
  return t;
}

// One interval of a test: blows and penetration, the penetration converted to whole
// centimetres. "count" for the interval's full length, else "count/cm"; empty when the file
// gives neither.
struct Interval {
  Text text;
  bool rounded = false;
};

Interval IntervalText(const Text& blows, const Text& penetration, bool mm, long fullCm) {
  const Text count = Blows(blows);
  const std::optional<Depth> pen = ReadDepth(penetration);
  if (count.empty() && !pen) return {};
  if (!pen) return {count};
  const double cm = mm ? pen->value / 10.0 : pen->value;
  const double whole = std::floor(cm + 0.5);
  const bool rounded = std::fabs(whole - cm) > 1e-9;
  if (whole == static_cast<double>(fullCm)) return {count, rounded};
  return {(count.empty() ? Text(u"0") : count) + u"/" + Digits(static_cast<long>(whole)), rounded};
}

struct Test {
  Depth from;
  Text to;
  Text description;
};

}  // namespace

void ReadNdt(Reading& r) {
  const std::vector<const XmlElement*> tests = r.index.All(u"標準貫入試験");
  if (tests.empty()) return;
  Text records;
  long count = 0;
  bool rounded = false;
  for (const XmlElement* t : tests) {
    const Text p = u"標準貫入試験_";
    // 4.00 gives the intervals in millimetres (_0_100), the earlier versions in centimetres.
    const bool mm =
        t->Child(p + u"0_100打撃回数") != nullptr || t->Child(p + u"0_100貫入量") != nullptr;
    const Text depthText = TextOf(*t, {p + u"開始深度"});
    const std::optional<Depth> depth = ReadDepth(depthText);
    if (!depth) {
      r.Warn(u"標準貫入試験の開始深度「" + depthText + u"」（" + Digits(t->line) +
             u" 行目）が数値ではないため、この試験を読み飛ばしました。");
      continue;
    }
    const Interval total =
        IntervalText(TextOf(*t, {p + u"合計打撃回数"}), TextOf(*t, {p + u"合計貫入量"}), mm, 30);
    LegacyLine line;
    line.Number(depth->text).Number(total.text);
    rounded = rounded || total.rounded;
    const std::u16string_view cm[] = {u"0_10", u"10_20", u"20_30"};
    const std::u16string_view millimetres[] = {u"0_100", u"100_200", u"200_300"};
    for (int k = 0; k < 3; ++k) {
      const Text name = p + Text(mm ? millimetres[k] : cm[k]);
      const Interval part =
          IntervalText(TextOf(*t, {name + u"打撃回数"}), TextOf(*t, {name + u"貫入量"}), mm, 10);
      line.Number(part.text);
      rounded = rounded || part.rounded;
    }
    records += line.Done();
    ++count;
  }
  if (rounded) {
    r.Warn(
        u"標準貫入試験の貫入量に 1 cm 未満の端数があり、データセットの書式に合わせて cm 単位に"
        u"四捨五入しました。");
  }
  if (count == 0) return;
  r.result.sections[3] = LegacyLine().Number(100).Number(count).Number(kSptFields).Done() +
                         LegacyLine().Number(0).Done() + records;
}

void ReadLdt(Reading& r) {
  std::vector<Test> tests;
  auto add = [&](const XmlElement& e, const Text& fromText, const Text& to, const Text& what) {
    const std::optional<Depth> from = ReadDepth(fromText);
    if (!from) {
      r.Warn(what + u"の深度「" + fromText + u"」（" + Digits(e.line) +
             u" 行目）が数値ではないため、読み飛ばしました。");
      return;
    }
    const std::optional<Depth> toDepth = ReadDepth(to);
    tests.push_back({*from, toDepth ? toDepth->text : Text(), what});
  };
  for (const XmlElement* e : r.index.All(u"透水試験")) {
    const Text method = TextOf(*e, {u"透水試験_試験方法"});
    add(*e, TextOf(*e, {u"透水試験_上端深度"}), TextOf(*e, {u"透水試験_下端深度"}),
        method.empty() ? Text(u"透水試験") : u"透水試験]" + method);
  }
  for (const XmlElement* e : r.index.All(u"ルジオン試験")) {
    add(*e, TextOf(*e, {u"ルジオン試験_上端深度"}), TextOf(*e, {u"ルジオン試験_下端深度"}),
        u"透水試験]ルジオン");
  }
  for (const Text& name : {Text(u"孔内水平載荷試験"), Text(u"孔内載荷試験")}) {
    for (const XmlElement* e : r.index.All(name)) {
      add(*e, TextOf(*e, {name + u"_試験深度"}), Text(), u"孔内水平載荷試験");
    }
  }
  for (const XmlElement* e : r.index.All(u"その他原位置試験")) {
    add(*e, TextOf(*e, {u"その他原位置試験_上端深度"}), TextOf(*e, {u"その他原位置試験_下端深度"}),
        TextOf(*e, {u"その他原位置試験_試験名", u"その他原位置試験_試験方法"}));
  }
  std::stable_sort(tests.begin(), tests.end(),
                   [](const Test& a, const Test& b) { return a.from.value < b.from.value; });
  if (tests.size() > static_cast<size_t>(kLdtTestRecords)) {
    r.Warn(u"原位置試験が " + Digits(static_cast<long>(tests.size())) +
           u" 件あり、データセットに入る 20 件を超えた深い方の " +
           Digits(static_cast<long>(tests.size()) - kLdtTestRecords) + u" 件は変換されません。");
    tests.resize(kLdtTestRecords);
  }

  Text samples;
  long sampleCount = 0;
  bool changed = false;
  for (const Text& name : {Text(u"試料採取"), Text(u"採取試料")}) {
    for (const XmlElement* e : r.index.All(name)) {
      const Text from = TextOf(*e, {name + u"_上端深度"});
      const Text to = TextOf(*e, {name + u"_下端深度"});
      const Text number = TextOf(*e, {name + u"_試料番号"});
      std::vector<Text> kinds;
      for (const XmlElement& c : e->children) {
        if (c.name == name + u"_試験名" && !Trim(c.text).empty()) kinds.push_back(Trim(c.text));
      }
      if (kinds.empty()) kinds.emplace_back();
      for (const Text& kind : kinds) {
        samples += LegacyLine()
                       .Number(DepthText(from))
                       .Number(DepthText(to))
                       .Quoted(number.empty() ? kind : kind + u"]" + number, &changed)
                       .Done();
        ++sampleCount;
      }
    }
  }
  if (tests.empty() && sampleCount == 0) return;

  // The tests are read only when the samples' count is not 0: without samples the count is 1
  // and their field count 0, so that no sample record is read.
  Text text = LegacyLine().Number(1).Number(1).Number(sampleCount == 0 ? 1 : sampleCount).Done() +
              LegacyLine().Number(kLdtFields).Number(sampleCount == 0 ? 0 : kLdtFields).Done();
  for (long i = 0; i < kLdtTestRecords; ++i) {
    LegacyLine line;
    if (static_cast<size_t>(i) < tests.size()) {
      const Test& t = tests[static_cast<size_t>(i)];
      line.Number(t.from.text).Number(t.to).Quoted(t.description, &changed);
    } else {
      line.Quoted(Text()).Quoted(Text()).Quoted(Text());
    }
    text += line.Done();
  }
  r.result.sections[4] = text + samples;
}

}  // namespace ostra::bed
