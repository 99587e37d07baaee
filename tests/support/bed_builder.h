// Small boring exchange XML files for tests: a few header items, layers, coded classes with the
// file's own decision tables, standard penetration tests, water levels and remarks, written in
// the element names of version 2.10, 3.00 or 4.00. The text is UTF-8; a test encodes it as the
// file is to hold it.
#pragma once

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace ostra::test {

// One coded class: its depth list (lower depth, value as written) and the file's own decision
// table (code, symbol), which may be empty.
struct BedClassList {
  std::string cls;  // "岩級", "風化", "硬軟", "割れ目", "変質", "コア形状"
  std::vector<std::pair<std::string, std::string>> intervals;
  std::vector<std::pair<std::string, std::string>> table;
};

// A standard penetration test: start depth, then blows and penetration in millimetres of each
// part driven (the file gets centimetres up to 3.00, so keep them multiples of 10).
struct BedSpt {
  std::string depth;
  std::vector<std::pair<int, int>> parts;
  std::string note;
};

// A water level, and a day's drilling (what the level belongs to): the date, the depth.
struct BedWater {
  std::string date;
  std::string depth;
};
using BedProgress = BedWater;

struct BedRemark {
  std::string top, bottom, text;
};

// An element: a text, or children.
struct BedElement {
  std::string name;
  std::string text;
  std::vector<BedElement> kids;
};

struct BedFile {
  std::string version = "3.00";  // "2.10", "3.00" or "4.00"
  std::string project = "一般国道試験号建設事業";
  std::string survey = "試験地区地質調査";
  std::string boring = "B-1";
  std::string lonDeg = "139", lonMin = "45", lonSec = "15.2000";
  std::string latDeg = "35", latMin = "40", latSec = "30.5000";
  std::string datum = "1";
  std::string address = "東京都千代田区霞が関";
  std::string client = "国土交通省試験事務所";
  std::string start = "2001-05-01", end = "2001-05-20";
  std::string company = "株式会社試験コンサルタンツ";
  std::string engineer = "山田太郎";
  std::string elevation = "12.34";
  std::string length = "10.00";
  std::vector<std::pair<std::string, std::string>> layers;  // lower depth, name
  std::vector<BedClassList> classes;
  std::vector<BedSpt> spts;
  std::vector<BedProgress> progress;
  std::vector<BedWater> waters;
  std::vector<BedRemark> remarks;
  std::vector<BedElement> extra;  // put into コア情報 as they are (elements no version knows)
  // Every element's children in reverse order, kinds of records reversed too (the records of
  // one kind keep their order): nothing where the DTD has it.
  bool reversed = false;

  bool V4() const { return version.rfind("4", 0) == 0; }
  bool V2() const { return version.rfind("2", 0) == 0; }

  // The element names of a class in this version.
  std::string ClassElement(const std::string& cls) const {
    if (cls == "岩級") return "岩級区分";
    if (cls == "硬軟") return "硬軟区分";
    if (cls == "風化") return V4() ? "風化の程度区分" : "風化区分";
    if (cls == "割れ目") return V4() ? "割れ目の状態区分" : "割れ目区分";
    if (cls == "変質") return V4() ? "熱水変質の程度区分" : "変質区分";
    return V4() ? "ボーリングコアの形状区分" : "コア形状区分";
  }

  std::string Xml() const {
    const std::string dtd = "BED0" + version.substr(0, 1) + version.substr(2, 2) + ".DTD";
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<!DOCTYPE ボーリング情報 SYSTEM \"" +
        dtd + "\">\r\n<ボーリング情報 DTD_version=\"" + version + "\">\r\n";
    Render(Title(), 1, xml);
    Render(Core(), 1, xml);
    return xml + "</ボーリング情報>\r\n";
  }

 private:
  static BedElement E(std::string name, std::string text) {
    return {std::move(name), std::move(text), {}};
  }
  static BedElement E(std::string name, std::vector<BedElement> kids) {
    return {std::move(name), std::string(), std::move(kids)};
  }

  BedElement Title() const {
    const std::string who = V4() ? "調査会社_主任技師_氏名" : "調査会社_主任技師";
    return E(
        "標題情報",
        {E("調査基本情報",
           {E("事業工事名", project), E("調査名", survey), E("ボーリング名", boring)}),
         E("経度緯度情報",
           {E("経度_度", lonDeg), E("経度_分", lonMin), E("経度_秒", lonSec), E("緯度_度", latDeg),
            E("緯度_分", latMin), E("緯度_秒", latSec), E("測地系", datum)}),
         E("調査位置", {E("調査位置住所", address)}), E("発注機関", {E("発注機関名称", client)}),
         E("調査期間", {E("調査期間_開始年月日", start), E("調査期間_終了年月日", end)}),
         E("調査会社", {E("調査会社_名称", company), E(who, engineer)}),
         E("ボーリング基本情報",
           {E("孔口標高", elevation), E(V4() ? "総削孔長" : "総掘進長", length)})});
  }

  BedElement Core() const {
    std::vector<BedElement> kids;
    const std::string layer = V2()   ? "土質岩種区分"
                              : V4() ? "工学的地質区分名現場土質名"
                                     : "岩石土区分";
    const std::string nameItem =
        V2() ? "土質岩種区分_土質岩種区分1" : layer + "_" + (V4() ? layer : "岩石土名");
    for (const auto& [depth, name] : layers)
      kids.push_back(E(layer, {E(layer + "_下端深度", depth), E(nameItem, name)}));
    for (const BedClassList& c : classes) {
      const std::string e = ClassElement(c.cls);
      if (!c.table.empty()) {
        std::vector<BedElement> rows;
        for (const auto& [code, symbol] : c.table)
          rows.push_back(
              E(e + "判定表_判定", {E(e + "判定表_コード", code), E(e + "判定表_記号", symbol)}));
        // The rock grade table holds its rows in 判定 elements; the others hold one row each.
        if (c.cls == "岩級") {
          kids.push_back(E(e + "判定表", rows));
        } else {
          for (BedElement& row : rows) kids.push_back(E(e + "判定表", row.kids));
        }
      }
      for (const auto& [depth, value] : c.intervals)
        kids.push_back(E(e, {E(e + "_下端深度", depth), E(e + "_" + e, value)}));
    }
    for (const BedRemark& r : remarks)
      kids.push_back(E("観察記事", {E("観察記事_上端深度", r.top), E("観察記事_下端深度", r.bottom),
                                    E("観察記事_記事", r.text)}));
    const char* const parts4[] = {"0_100", "100_200", "200_300"};
    const char* const parts3[] = {"0_10", "10_20", "20_30"};
    for (const BedSpt& s : spts) {
      std::vector<BedElement> items = {E("標準貫入試験_開始深度", s.depth)};
      int blows = 0, mm = 0;
      for (size_t i = 0; i < 3; ++i) {
        const std::string part = std::string("標準貫入試験_") + (V4() ? parts4[i] : parts3[i]);
        const bool driven = i < s.parts.size();
        items.push_back(E(part + "打撃回数", driven ? std::to_string(s.parts[i].first) : ""));
        items.push_back(E(part + "貫入量", driven ? Length(s.parts[i].second) : ""));
        if (driven) blows += s.parts[i].first, mm += s.parts[i].second;
      }
      items.push_back(E("標準貫入試験_合計打撃回数", std::to_string(blows)));
      items.push_back(E("標準貫入試験_合計貫入量", Length(mm)));
      items.push_back(E("標準貫入試験_備考", s.note));
      kids.push_back(E("標準貫入試験", items));
    }
    const std::string day = V4() ? "削孔工程" : "掘削工程";
    for (const BedProgress& p : progress)
      kids.push_back(E(day, {E(day + "_測定年月日", p.date),
                             E(day + (V4() ? "_削孔深度" : "_掘進深度"), p.depth)}));
    for (const BedWater& w : waters)
      kids.push_back(
          E("孔内水位", {E("孔内水位_測定年月日", w.date),
                         E(V4() ? "孔内水位_削孔状況コード" : "孔内水位_掘削状況コード", "1"),
                         E("孔内水位_孔内水位", w.depth)}));
    kids.insert(kids.end(), extra.begin(), extra.end());
    return E("コア情報", kids);
  }

  // A penetration in the unit of this version: millimetres in 4.00, centimetres before.
  std::string Length(int mm) const { return std::to_string(V4() ? mm : mm / 10); }

  static std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
      if (c == '&')
        out += "&amp;";
      else if (c == '<')
        out += "&lt;";
      else if (c == '>')
        out += "&gt;";
      else
        out += c;
    }
    return out;
  }

  void Render(const BedElement& e, int indent, std::string& xml) const {
    const std::string pad(static_cast<size_t>(indent), ' ');
    if (e.kids.empty()) {
      xml += pad + "<" + e.name + ">" + Escape(e.text) + "</" + e.name + ">\r\n";
      return;
    }
    xml += pad + "<" + e.name + ">\r\n";
    std::vector<BedElement> kids = e.kids;
    if (reversed) {
      // Runs of one name stay in their order; the runs come in reverse order.
      std::vector<std::vector<BedElement>> runs;
      for (const BedElement& k : kids) {
        if (runs.empty() || runs.back().front().name != k.name) runs.emplace_back();
        runs.back().push_back(k);
      }
      std::reverse(runs.begin(), runs.end());
      kids.clear();
      for (const auto& run : runs) kids.insert(kids.end(), run.begin(), run.end());
    }
    for (const BedElement& k : kids) Render(k, indent + 1, xml);
    xml += pad + "</" + e.name + ">\r\n";
  }
};

}  // namespace ostra::test
