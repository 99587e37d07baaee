#include "bed_dataset.h"

#include <fstream>
#include <map>
#include <stdexcept>

#include "base/codec.h"
#include "dataset_parts.h"

namespace ostra::bench {
namespace {

namespace fs = std::filesystem;

// The element names that differ between the versions.
struct Names {
  const char* layer;       // the name list
  const char* layerName;   // its name element, after "<layer>_"
  const char* classes[6];  // grade, weathering, hardness, fractures, alteration, core shape
  const char* progress;    // drilling progress and its depth element
  const char* progressDepth;
  const char* waterState;  // the state of the hole when a water level was taken
  const char* loadTest;    // the lateral load test in the hole
  const char* totalLength;
  const char* angle;
};

const Names kV3 = {"岩石土区分",
                   "岩石土名",
                   {"岩級区分", "風化区分", "硬軟区分", "割れ目区分", "変質区分", "コア形状区分"},
                   "掘削工程",
                   "掘進深度",
                   "掘削状況",
                   "孔内水平載荷試験",
                   "総掘進長",
                   "掘進角度"};
const Names kV4 = {"工学的地質区分名現場土質名",
                   "工学的地質区分名現場土質名",
                   {"岩級区分", "風化の程度区分", "硬軟区分", "割れ目の状態区分",
                    "熱水変質の程度区分", "ボーリングコアの形状区分"},
                   "削孔工程",
                   "削孔深度",
                   "削孔状況",
                   "孔内載荷試験",
                   "総削孔長",
                   "角度"};

// An XML text in UTF-8, written out as code page 932 with CR LF.
class Xml {
 public:
  void Line(const std::string& line) {
    text_ += line;
    text_ += "\r\n";
  }
  void Open(const std::string& name) { Line(" <" + name + ">"); }
  void Close(const std::string& name) { Line(" </" + name + ">"); }
  // <name>value</name>, or <name/> when the value is empty.
  void Item(const std::string& name, const std::string& value) {
    if (value.empty()) {
      Line("  <" + name + "/>");
    } else {
      Line("  <" + name + ">" + Escape(value) + "</" + name + ">");
    }
  }
  void Save(const fs::path& path) const { parts::SaveCp932(path, text_); }

 private:
  static std::string Escape(const std::string& value) {
    std::string out;
    for (char c : value) {
      if (c == '&') {
        out += "&amp;";
      } else if (c == '<') {
        out += "&lt;";
      } else if (c == '>') {
        out += "&gt;";
      } else {
        out += c;
      }
    }
    return out;
  }
  std::string text_;
};

// "5/12" of the survey year as "1998-05-12".
std::string IsoDate(const std::string& year, const std::string& monthDay) {
  const std::size_t slash = monthDay.find('/');
  if (slash == std::string::npos) return "";
  auto two = [](std::string n) { return n.size() < 2 ? "0" + n : n; };
  return year + "-" + two(monthDay.substr(0, slash)) + "-" + two(monthDay.substr(slash + 1));
}

// "50/12" -> blows "50", penetration "12"; "3" -> "3" over the whole interval.
std::pair<std::string, std::string> BlowsAndPenetration(const std::string& value,
                                                        const std::string& whole) {
  if (value.empty()) return {"", ""};
  const std::size_t slash = value.find('/');
  if (slash == std::string::npos) return {value, whole};
  return {value.substr(0, slash), value.substr(slash + 1)};
}

// A legacy kind "一軸]A-1" as the name and the number after the "]".
std::pair<std::string, std::string> KindAndNumber(const std::string& kind) {
  const std::size_t bracket = kind.find(']');
  if (bracket == std::string::npos) return {kind, ""};
  return {kind.substr(0, bracket), kind.substr(bracket + 1)};
}

// The file's own decision table of one class: the values in order of first use, coded 901 on.
// Only 99 codes fit; the values after them are written as they stand, as some files do.
std::map<std::string, std::string> OwnCodes(const std::vector<BedContent::Layer>& layers,
                                            std::size_t cls) {
  std::map<std::string, std::string> codes;
  int next = 901;
  for (const BedContent::Layer& layer : layers) {
    const std::string& value = layer.classes[cls];
    if (value.empty() || codes.count(value) || next > 999) continue;
    codes[value] = std::to_string(next++);
  }
  return codes;
}

void WriteHeader(Xml& x, const BedContent& c, const Names& n, bool v4) {
  x.Line("<基礎情報>");
  x.Item("適用規格", "JIS A 0205-2008");
  x.Item("適用規格", "JIS A 0206-2008");
  if (v4) {
    x.Open("公開フラグ");
    x.Item("公開フラグ_コード", "1");
    x.Close("公開フラグ");
  }
  x.Line("</基礎情報>");
  x.Line("<標題情報>");
  x.Open("調査基本情報");
  x.Item("事業工事名", "津久井トンネル");
  x.Item("調査名", "（仮称）津久井トンネル地質調査業務");
  x.Item("調査目的", "01");
  x.Item("調査対象", "02");
  x.Item("ボーリング名", "B-1");
  x.Item("ボーリング総数", "1");
  x.Item("ボーリング連番", "1");
  x.Close("調査基本情報");
  x.Open("経度緯度情報");
  for (const auto& [item, value] :
       std::vector<std::pair<const char*, const char*>>{{"経度_度", "139"},
                                                        {"経度_分", "15"},
                                                        {"経度_秒", "30.0000"},
                                                        {"緯度_度", "35"},
                                                        {"緯度_分", "34"},
                                                        {"緯度_秒", "52.0000"},
                                                        {"取得方法コード", "02"},
                                                        {"読取精度コード", "1"},
                                                        {"測地系", v4 ? "02" : "0"}}) {
    x.Item(item, value);
  }
  x.Close("経度緯度情報");
  x.Open("調査位置");
  x.Item("調査位置住所", "神奈川県相模原市緑区青山 地内");
  x.Item("コード1次", "5339");
  x.Item("コード2次", "22");
  x.Item("コード3次", "90");
  x.Close("調査位置");
  x.Open("発注機関");
  x.Item("発注機関名称", "東日本旅客鉄道株式会社, 東京工事事務所");
  x.Item("テクリスコード", "12345678");
  x.Close("発注機関");
  x.Open("調査期間");
  x.Item("調査期間_開始年月日", c.year + "-05-11");
  x.Item("調査期間_終了年月日", c.year + "-06-03");
  x.Close("調査期間");
  x.Open("調査会社");
  x.Item("調査会社_名称", "相武地質調査株式会社");
  x.Item("調査会社_TEL", "042-000-0000");
  const char* roles[] = {"主任技師", "現場代理人", "コア鑑定者", "ボーリング責任者"};
  const char* people[] = {"山田 太郎", "佐藤 次郎", "鈴木 一郎", "佐藤 次郎"};
  for (int i = 0; i < 4; ++i) {
    x.Item(std::string("調査会社_") + roles[i] + (v4 ? "_氏名" : ""), people[i]);
  }
  x.Close("調査会社");
  x.Open("ボーリング基本情報");
  x.Item("孔口標高", "215.40");
  x.Item(n.totalLength, c.layers.empty() ? "0.00" : c.layers.back().depth);
  x.Item("柱状図様式", v4 ? "11" : "1");
  x.Item(n.angle, "90");
  x.Close("ボーリング基本情報");
  x.Open("試錐機");
  x.Item("試錐機_名称", "YBM-05DA");
  x.Close("試錐機");
  x.Open("エンジン");
  x.Item("エンジン_名称", "NFD-9");
  x.Close("エンジン");
  x.Open("ポンプ");
  x.Item("ポンプ_名称", "MG-15");
  x.Close("ポンプ");
  x.Line("</標題情報>");
}

void WriteLayers(Xml& x, const BedContent& c, const Names& n) {
  const std::string layer = n.layer;
  for (const BedContent::Layer& l : c.layers) {
    x.Open(layer);
    x.Item(layer + "_下端深度", l.depth);
    x.Item(layer + "_" + n.layerName, l.name);
    x.Line("  <" + layer + "_岩石群>");
    x.Line("   <" + layer + "_岩石群コード>1</" + layer + "_岩石群コード>");
    x.Line("   <" + layer + "_岩石土コード><" + layer + "_岩石/></" + layer + "_岩石土コード>");
    x.Line("  </" + layer + "_岩石群>");
    x.Close(layer);
  }
  for (const BedContent::Layer& l : c.layers) {
    x.Open("色調");
    x.Item("色調_下端深度", l.depth);
    x.Item("色調_色調名", l.colour);
    x.Close("色調");
  }
}

void WriteClasses(Xml& x, const BedContent& c, const Names& n) {
  for (std::size_t k = 0; k < 6; ++k) {
    const std::string list = n.classes[k];
    const std::map<std::string, std::string> codes = OwnCodes(c.layers, k);
    std::map<std::string, std::string> byCode;
    for (const auto& [value, code] : codes) byCode[code] = value;
    const std::string table = list + "判定表";
    if (k == 0) x.Open(table);  // the rock grade's entries are grouped in one table
    for (const auto& [code, value] : byCode) {
      const std::string entry = k == 0 ? table + "_判定" : table;
      x.Open(entry);
      x.Item(table + "_コード", code);
      x.Item(table + "_記号", value);
      x.Close(entry);
    }
    if (k == 0) x.Close(table);
    for (const BedContent::Layer& l : c.layers) {
      const auto code = codes.find(l.classes[k]);
      x.Open(list);
      x.Item(list + "_下端深度", l.depth);
      x.Item(list + "_" + list, code == codes.end() ? l.classes[k] : code->second);
      x.Close(list);
    }
  }
}

void WriteRecords(Xml& x, const BedContent& c, const Names& n, bool v4) {
  for (const BedContent::Remark& r : c.remarks) {
    std::string text;
    for (std::size_t i = 0; i < r.text.size();) {
      if (r.text.compare(i, 3, "＠") == 0) {
        text += "\\n";
        i += 3;
      } else {
        text += r.text[i++];
      }
    }
    x.Open("観察記事");
    x.Item("観察記事_上端深度", "");
    x.Item("観察記事_下端深度", r.depth);
    x.Item("観察記事_記事", text);
    x.Close("観察記事");
  }
  const char* cm[] = {"0_10", "10_20", "20_30"};
  const char* mm[] = {"0_100", "100_200", "200_300"};
  for (const BedContent::Penetration& p : c.penetration) {
    x.Open("標準貫入試験");
    x.Item("標準貫入試験_開始深度", p.depth);
    for (int k = 0; k < 3; ++k) {
      auto [blows, pen] = BlowsAndPenetration(p.values[static_cast<std::size_t>(k) + 1], "10");
      if (v4 && !pen.empty()) pen += "0";
      const std::string name = std::string("標準貫入試験_") + (v4 ? mm[k] : cm[k]);
      x.Item(name + "打撃回数", blows);
      x.Item(name + "貫入量", pen);
    }
    auto [blows, pen] = BlowsAndPenetration(p.values[0], "30");
    if (v4 && !pen.empty()) pen += "0";
    x.Item("標準貫入試験_合計打撃回数", blows);
    x.Item("標準貫入試験_合計貫入量", pen);
    x.Close("標準貫入試験");
  }
  for (const BedContent::Interval& t : c.tests) {
    const auto [kind, method] = KindAndNumber(t.kind);
    if (t.kind == "透水試験]ルジオン") {
      x.Open("ルジオン試験");
      x.Item("ルジオン試験_上端深度", t.from);
      x.Item("ルジオン試験_下端深度", t.to);
      x.Item("ルジオン試験_ルジオン値", "11.20");
      x.Close("ルジオン試験");
    } else if (kind == "透水試験") {
      x.Open("透水試験");
      x.Item("透水試験_上端深度", t.from);
      x.Item("透水試験_下端深度", t.to);
      x.Item("透水試験_試験コード", "1");
      x.Item("透水試験_試験方法", method);
      x.Item("透水試験_透水係数", "1.0E-05");
      x.Close("透水試験");
    } else if (kind == "孔内水平載荷試験") {
      const std::string test = n.loadTest;
      x.Open(test);
      x.Item(test + "_試験深度", t.from);
      x.Item(test + "_試験方法コード", "1");
      x.Close(test);
    } else {
      x.Open("その他原位置試験");
      x.Item("その他原位置試験_試験名", t.kind);
      x.Item("その他原位置試験_上端深度", t.from);
      x.Item("その他原位置試験_下端深度", t.to);
      x.Item("その他原位置試験_試験結果", "");
      x.Close("その他原位置試験");
    }
  }
  for (const BedContent::Interval& s : c.samples) {
    const auto [kind, number] = KindAndNumber(s.kind);
    x.Open("試料採取");
    x.Item("試料採取_上端深度", s.from);
    x.Item("試料採取_下端深度", s.to);
    x.Item("試料採取_試料番号", number);
    x.Item("試料採取_採取方法コード", "1");
    x.Item("試料採取_試験名", kind);
    x.Close("試料採取");
  }
  const std::string state = std::string("孔内水位_") + n.waterState;
  for (const BedContent::Water& w : c.water) {
    x.Open("孔内水位");
    x.Item("孔内水位_測定年月日", IsoDate(c.year, w.date));
    x.Item(state + "コード", "9");
    x.Item(state, w.state);
    x.Item("孔内水位_孔内水位", w.level);
    x.Close("孔内水位");
  }
  const std::string progress = n.progress;
  for (const BedContent::Progress& p : c.progress) {
    x.Open(progress);
    x.Item(progress + "_測定年月日", IsoDate(c.year, p.date));
    x.Item(progress + "_" + n.progressDepth, p.depth);
    x.Close(progress);
  }
  for (const BedContent::Zone& z : c.zones) {
    x.Open("断層破砕帯区分");
    x.Item("断層破砕帯区分_上端深度", z.depth);
    x.Item("断層破砕帯区分_下端深度", z.depth);
    x.Item("断層破砕帯区分_性状コード", "9");
    x.Item("断層破砕帯区分_性状", z.kind);
    x.Item("断層破砕帯区分_備考", z.remark);
    x.Close("断層破砕帯区分");
  }
}

}  // namespace

bool IsBedVersion(const std::string& version) {
  return version == "3.00" || version == "4.00";
}

void WriteBedFile(const fs::path& file, const BedContent& content, const std::string& version) {
  if (!IsBedVersion(version)) {
    throw std::invalid_argument("the BED version must be 3.00 or 4.00, not " + version);
  }
  const bool v4 = version == "4.00";
  const Names& names = v4 ? kV4 : kV3;
  Xml x;
  x.Line("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>");
  x.Line(std::string("<!DOCTYPE ボーリング情報 SYSTEM \"BED0") + (v4 ? "400" : "300") + ".DTD\">");
  x.Line("<ボーリング情報 DTD_version=\"" + version + "\">");
  WriteHeader(x, content, names, v4);
  x.Line("<コア情報>");
  WriteLayers(x, content, names);
  WriteRecords(x, content, names, v4);
  WriteClasses(x, content, names);
  x.Line("</コア情報>");
  x.Line("</ボーリング情報>");
  x.Save(file);
}

}  // namespace ostra::bench
