// The parts the data-set generator assembles its records from: a seeded random source, the text
// files it writes, the words of soil names, class tables, remarks and the sample's header items.
// Private to the generator (dataset.cpp).
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "base/codec.h"

namespace ostra::bench::parts {

namespace fs = std::filesystem;
// SplitMix64: small, fast and the same on every platform (the standard distributions are not).
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // 0 <= result < n.
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[static_cast<std::size_t>(Below(static_cast<int>(items.size())))];
  }

 private:
  std::uint64_t state_;
};

// Writes UTF-8 text as a code page 932 file.
inline void SaveCp932(const fs::path& path, const std::string& utf8) {
  const std::string bytes = EncodeCp932(FromUtf8(utf8));
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// A text file being assembled in UTF-8; written out as code page 932 with CR LF.
class TextFile {
 public:
  void Line(const std::string& line) {
    text_ += line;
    text_ += "\r\n";
    ++lines_;
  }
  long Lines() const { return lines_; }
  void Save(const fs::path& path) const { SaveCp932(path, text_); }

 private:
  std::string text_;
  long lines_ = 0;
};

inline std::string Quote(const std::string& text) {
  return "\"" + text + "\"";
}

inline std::string Fixed2(double value) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f", value);
  return buf;
}

// Four digits with leading zeros, as the dictionaries hold their codes.
inline std::string Code4(int code) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d", code);
  return buf;
}

inline std::string FullWidthNumber(int n) {
  static const char* const kDigits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
  std::string digits = std::to_string(n);
  std::string out;
  for (char c : digits) out += kDigits[c - '0'];
  return out;
}

inline std::string Join(const std::vector<std::string>& fields) {
  std::string out;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i) out += ",";
    out += fields[i];
  }
  return out;
}

// Parts of soil and rock names; every combination of one age, one colour, one texture and one
// base (each part may be empty except the base) is a distinct name.
inline const std::vector<std::string> kAges = {
    "",       "古第三紀", "新第三紀", "白亜紀", "ジュラ紀", "三畳紀", "ペルム紀", "石炭紀",
    "第四紀", "中新世",   "鮮新世",   "更新世", "始新世",   "漸新世", "完新世",   "先第三紀"};
inline const std::vector<std::string> kColours = {"",       "灰色",   "暗灰色", "淡灰色", "黒色",
                                                  "白色",   "褐色",   "暗褐色", "赤褐色", "黄褐色",
                                                  "緑灰色", "暗緑色", "青灰色", "灰白色", "淡緑色",
                                                  "紫灰色", "赤紫色", "橙褐色", "黄灰色", "乳白色"};
inline const std::vector<std::string> kTextures = {
    "",     "細粒", "中粒", "粗粒",   "塊状", "層状", "片状", "縞状",   "多孔質", "緻密",
    "風化", "変質", "珪化", "凝灰質", "砂質", "泥質", "礫質", "石灰質", "炭質",   "含礫"};
inline const std::vector<std::string> kBases = {
    "砂岩",           "泥岩",           "礫岩",       "頁岩",       "粘板岩",     "チャート",
    "石灰岩",         "凝灰岩",         "凝灰角礫岩", "安山岩",     "玄武岩",     "流紋岩",
    "デイサイト",     "花崗岩",         "閃緑岩",     "斑れい岩",   "蛇紋岩",     "片麻岩",
    "結晶片岩",       "ホルンフェルス", "珪岩",       "大理石",     "溶結凝灰岩", "火山礫凝灰岩",
    "シルト岩",       "粘土",           "シルト",     "砂",         "礫",         "砂礫",
    "玉石混じり砂礫", "表土",           "盛土",       "崖錐堆積物", "段丘堆積物", "崩積土",
    "断層角礫",       "断層粘土",       "互層",       "輝緑岩"};
inline const std::vector<std::string> kAnnotations = {"細粒",   "粗粒", "風化部",
                                                      "新鮮部", "黒色", "硬質"};

// Every distinct name, in a seeded random order.
inline std::vector<std::string> ShuffledNames(Random& rng) {
  std::vector<std::string> names;
  std::unordered_set<std::string> seen;
  for (const auto& age : kAges) {
    for (const auto& colour : kColours) {
      for (const auto& texture : kTextures) {
        for (const auto& base : kBases) {
          std::string name = age + colour + texture + base;
          if (seen.insert(name).second) names.push_back(std::move(name));
        }
      }
    }
  }
  for (std::size_t i = names.size(); i > 1; --i) {
    std::swap(names[i - 1], names[static_cast<std::size_t>(rng.Next() % i)]);
  }
  return names;
}

// One class table L13-L17: the text in the table and the same name as a record holds it (the
// converter widens the table text before comparing).
struct ClassName {
  std::string table;
  std::string record;
};

struct ClassTable {
  std::string file;
  bool withMiddleField;  // L17.TXT: code, an unused field, name
  std::vector<ClassName> names;
  std::vector<std::string> newNames;
};

inline std::vector<ClassTable> ClassTables(int newNames) {
  std::vector<ClassTable> tables = {
      {"L13.TXT",
       false,
       {{"A", "Ａ"}, {"B", "Ｂ"}, {"CH", "ＣＨ"}, {"CM", "ＣＭ"}, {"CL", "ＣＬ"}, {"D", "Ｄ"}},
       {}},
      {"L14.TXT",
       false,
       {{"未風化", "未風化"},
        {"弱風化", "弱風化"},
        {"中風化", "中風化"},
        {"強風化", "強風化"},
        {"風化残留土", "風化残留土"}},
       {}},
      {"L15.TXT",
       false,
       {{"極硬", "極硬"}, {"硬", "硬"}, {"中硬", "中硬"}, {"軟", "軟"}, {"極軟", "極軟"}},
       {}},
      {"L16.TXT",
       false,
       {{"密着", "密着"},
        {"ﾍｱｰｸﾗｯｸ", "ヘアークラック"},
        {"開口", "開口"},
        {"粘土挟在", "粘土挟在"},
        {"ﾌｨﾙﾑ状粘土", "フィルム状粘土"}},
       {}},
      {"L17.TXT",
       true,
       {{"未変質", "未変質"},
        {"弱変質", "弱変質"},
        {"中変質", "中変質"},
        {"強変質", "強変質"},
        {"粘土化", "粘土化"},
        {"珪化", "珪化"}},
       {}}};
  const std::vector<std::string> kinds = {"岩級", "風化区分", "硬軟区分", "割れ目区分", "変質区分"};
  // 40 names per table, leaving codes 41-99 for registrations.
  for (std::size_t k = 0; k < tables.size(); ++k) {
    for (int n = 1; tables[k].names.size() < 40; ++n) {
      const std::string name = kinds[k] + FullWidthNumber(n);
      tables[k].names.push_back({name, name});
    }
    const int count = newNames / 5 + (static_cast<int>(k) < newNames % 5 ? 1 : 0);
    for (int n = 1; n <= count; ++n)
      tables[k].newNames.push_back("新" + kinds[k] + FullWidthNumber(n));
  }
  return tables;
}

inline const std::vector<std::string> kL10Keys = {
    "亀裂",     "開口亀裂", "破砕帯",   "断層",     "粘土化", "変質帯",   "湧水",     "逸水",
    "節理",     "層理",     "片理",     "劈開",     "小断層", "破砕部",   "粘土脈",   "方解石脈",
    "石英脈",   "変質部",   "風化部",   "空洞",     "崩壊",   "孔壁崩壊", "掘進不能", "逸泥",
    "湧水箇所", "酸化帯",   "熱水変質", "硫化鉱物", "炭質物", "化石"};

// Places `count` names, each at `perName` layers spread over `layers`, into free slots of
// `slots` (-1 = free); the slot holds the name's index.
inline void Place(std::vector<int>& slots, int count, int perName, int offset) {
  const int layers = static_cast<int>(slots.size());
  for (int j = 0; j < count; ++j) {
    for (int o = 0; o < perName; ++o) {
      long pos =
          (static_cast<long>(j) * perName + o) * layers / (static_cast<long>(count) * perName);
      pos = (pos + offset) % layers;
      while (slots[static_cast<std::size_t>(pos)] != -1) pos = (pos + 1) % layers;
      slots[static_cast<std::size_t>(pos)] = j;
    }
  }
}

// The sample's header items: survey, boring, place, client, dates (the first with its era
// letter), organisation, coordinates, elevation, depth, direction, method, rock group, firms.
inline const std::vector<std::string> kHeaderLines = {
    "\"（仮称）津久井トンネル地質調査業務\",\"第2工区\",\"B-1\"",
    "\"神奈川県相模原市緑区青山 地内\",\"東日本旅客鉄道株式会社, 東京工事事務所\"",
    "H10,5,11,1998,6,3",
    "JR,\"山田 太郎\",35.3452,139.1530",
    "215.40,30.00,鉛直,90,\"ロータリー式ワイヤーライン工法\"",
    "堆積岩類,\"相武地質調査株式会社\",\"佐藤 次郎\",\"鈴木 一郎\",\"YBM-05DA\",\"NQ, "
    "ワイヤーライン\"",
    "\"\",\"\",津久井トンネル"};

inline const std::vector<std::string> kRemarkPhrases = {
    "亀裂面は褐色に汚染", "コア長10～30cm",     "互層間隔5～20cm, 層理面傾斜40°",
    "断層粘土を挟む",     "開口亀裂沿いに酸化", "劈開発達, 硬質",
    "腐植混じり",         "φ2～5cmの角礫主体",  "方解石脈を伴う",
    "部分的に粘土化",     "掘進中に逸水"};

inline const std::vector<std::string> kKdtSegments = {
    "孔口から崖錐堆積物", "ケーシング挿入",    "全量逸水",       "セメンチングにて対処",
    "粘土化著しい",       "走向N30°E傾斜70°W", "亀裂少なく良好", "孔内洗浄後, 水位測定",
    "コア採取率低下",     "ビット交換",        "送水圧上昇",     "泥水に切替え"};

}  // namespace ostra::bench::parts
