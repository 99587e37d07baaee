// The MDT layer records: one record at every lower boundary of any of the XML's depth lists
// (names, colours and the rock classes), each carrying, for every list, the value of the
// interval that holds it.
#include <algorithm>
#include <optional>

#include "base/sjis.h"
#include "formats/bed_codes.h"
#include "formats/bed_parts.h"

namespace ostra::bed {
namespace {

struct Entry {
  Depth depth;
  Text value;
};

// One depth list of the XML, by the names of its versions.
struct ListKind {
  Text what;  // for warnings and the report
  std::vector<Text> elements;
  std::optional<BedClass> cls;
};

// Element names: the list element L has L_下端深度 and the value L_L; its decision table is
// L判定表, whose entries (L判定表 or L判定表_判定) give L判定表_コード and L判定表_記号.
ListKind ClassKind(const Text& what, BedClass cls, std::initializer_list<const char16_t*> names) {
  ListKind kind{what, {}, cls};
  for (const char16_t* n : names) kind.elements.emplace_back(n);
  return kind;
}

BedOwnTable OwnTable(const ElementIndex& index, const Text& list) {
  BedOwnTable table;
  const Text name = list + u"判定表";
  for (const Text& entryName : {name, name + u"_判定"}) {
    for (const XmlElement* entry : index.All(entryName)) {
      const Text code = entry->ChildText(name + u"_コード");
      if (!code.empty()) table.emplace(code, entry->ChildText(name + u"_記号"));
    }
  }
  return table;
}

// A name list's value: the name of the version (2.10 and 1.10 give two names, joined by "・").
Text NameValue(const XmlElement& e) {
  Text name =
      TextOf(e, {u"岩石土区分_岩石土名", u"工学的地質区分名現場土質名_工学的地質区分名現場土質名"});
  if (!name.empty()) return name;
  const Text first = TextOf(e, {u"土質岩種区分_土質岩種区分1", u"地質区分_地質名称1"});
  const Text second = TextOf(e, {u"土質岩種区分_土質岩種区分2", u"地質区分_地質名称2"});
  if (first.empty() || second.empty()) return first + second;
  return first + u"・" + second;
}

// The entries of one list in depth order. An entry whose depth is no number is left out, and
// a list that the file gives out of depth order is put in order; both are warned about.
std::vector<Entry> ReadList(Reading& r, const ListKind& kind, int index) {
  std::vector<const XmlElement*> elements;
  Text list;
  for (const Text& name : kind.elements) {
    elements = r.index.All(name);
    if (!elements.empty()) {
      list = name;
      break;
    }
  }
  std::vector<Entry> entries;
  if (elements.empty()) return entries;
  const BedOwnTable own = kind.cls ? OwnTable(r.index, list) : BedOwnTable{};
  for (const XmlElement* e : elements) {
    const Text depthText = TextOf(*e, {list + u"_下端深度", list + u"_深度"});
    const std::optional<Depth> depth = ReadDepth(depthText);
    if (!depth) {
      r.Warn(kind.what + u"の下端深度「" + depthText + u"」（" + Digits(e->line) +
             u" 行目）が数値ではないため、この区間を読み飛ばしました。");
      continue;
    }
    Text value;
    if (index == 0) {
      value = NameValue(*e);
    } else if (index == 1) {
      value = TextOf(*e, {u"色調_色調名", u"色調_状態"});
    } else {
      const BedCodeResult code = ResolveBedCode(*kind.cls, TextOf(*e, {list + u"_" + list}), own);
      value = code.symbol;
      if (code.source == BedCodeSource::kRaw && code.unknownCode) {
        r.result.unknownCodes.push_back(kind.what + u" " + code.symbol + u"（" + depth->text +
                                        u" m）");
      }
    }
    entries.push_back({*depth, value});
  }
  if (!std::is_sorted(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.depth.value < b.depth.value;
      })) {
    r.Warn(kind.what + u"の区間が深さの順に並んでいないため、深さの順に並べ替えて読みました。");
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.depth.value < b.depth.value; });
  }
  return entries;
}

}  // namespace

Text Digits(long value) {
  const std::string s = std::to_string(value);
  return Text(s.begin(), s.end());
}

std::vector<std::vector<Text>> LayerRecords(Reading& r) {
  // In the order of the record's fields: 2 name, 3 colour, 4 rock grade, 5 weathering,
  // 6 hardness, 7 fractures, 8 alteration, 9 core shape.
  const std::vector<ListKind> kinds = {
      {u"岩石土区分",
       {u"岩石土区分", u"工学的地質区分名現場土質名", u"土質岩種区分", u"地質区分"},
       std::nullopt},
      {u"色調", {u"色調"}, std::nullopt},
      ClassKind(u"岩級区分", BedClass::kRockGrade, {u"岩級区分"}),
      ClassKind(u"風化区分", BedClass::kWeathering, {u"風化区分", u"風化の程度区分"}),
      ClassKind(u"硬軟区分", BedClass::kHardness, {u"硬軟区分"}),
      ClassKind(u"割れ目区分", BedClass::kFracture, {u"割れ目区分", u"割れ目の状態区分"}),
      ClassKind(u"変質区分", BedClass::kAlteration, {u"変質区分", u"熱水変質の程度区分"}),
      ClassKind(u"コア形状区分", BedClass::kCoreShape,
                {u"コア形状区分", u"ボーリングコアの形状区分"}),
  };
  std::vector<std::vector<Entry>> lists;
  std::vector<Depth> boundaries;
  for (size_t i = 0; i < kinds.size(); ++i) {
    lists.push_back(ReadList(r, kinds[i], static_cast<int>(i)));
    for (const Entry& e : lists.back()) boundaries.push_back(e.depth);
  }
  r.result.layerBoundaries = static_cast<int>(boundaries.size());
  std::stable_sort(boundaries.begin(), boundaries.end(),
                   [](const Depth& a, const Depth& b) { return a.value < b.value; });
  boundaries.erase(std::unique(boundaries.begin(), boundaries.end(),
                               [](const Depth& a, const Depth& b) { return a.value == b.value; }),
                   boundaries.end());

  std::vector<std::vector<Text>> records;
  std::vector<size_t> next(lists.size(), 0);
  for (const Depth& boundary : boundaries) {
    std::vector<Text> fields(11);
    fields[0] = boundary.text;
    for (size_t i = 0; i < lists.size(); ++i) {
      // The interval that holds the boundary: the first whose lower depth is not above it.
      while (next[i] < lists[i].size() && lists[i][next[i]].depth.value < boundary.value) ++next[i];
      if (next[i] < lists[i].size()) fields[i + 1] = lists[i][next[i]].value;
    }
    // The rock grade goes to the class table in full width (as the tables compare it) and, in
    // half width, to the layer code.
    const Text grade = fields[3];
    for (size_t f = 3; f <= 7; ++f) fields[f] = ToFullWidth(fields[f]);
    fields[9] = ToHalfWidth(grade);
    records.push_back(std::move(fields));
  }
  r.result.layerRecords = static_cast<int>(records.size());
  return records;
}

}  // namespace ostra::bed
