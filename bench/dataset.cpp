#include "dataset.h"

#include <algorithm>
#include <stdexcept>
#include <utility>
#include <vector>

#include "base/codec.h"
#include "bed_dataset.h"
#include "dataset_parts.h"

namespace ostra::bench {
namespace {

namespace fs = std::filesystem;
using namespace parts;

}  // namespace

DataSetFacts GenerateDataSet(const fs::path& root, const DataSetOptions& options) {
  const int k = options.scale;
  if (k < 1 || k > kMaxScale) {
    throw std::invalid_argument("scale must lie between 1 and " + std::to_string(kMaxScale));
  }
  if (options.layers != 0 && (options.layers < 10 || options.layers > 2000 * kMaxScale)) {
    throw std::invalid_argument("layers must lie between 10 and " +
                                std::to_string(2000 * kMaxScale));
  }
  if (!options.bedVersion.empty() && !IsBedVersion(options.bedVersion)) {
    throw std::invalid_argument("the BED version must be 3.00 or 4.00");
  }
  const int layers = options.layers ? options.layers : 2000 * k;
  // Counts of the other sections: per scale, or following the layers when they are given.
  auto per2000 = [&](int perScale) {
    return options.layers ? std::max(1, options.layers * perScale / 2000) : perScale * k;
  };
  const int newSoil = options.newSoilNames;
  const int xkOnly = std::min(20, layers / 10);  // names only the extension dictionary knows
  BedContent bed;
  if (newSoil < 0 || newSoil > 400 || 2 * (newSoil + xkOnly) > layers) {
    throw std::invalid_argument("new soil names must lie between 0 and 400");
  }
  if (options.newClassNames < 0 || options.newClassNames > 5 * 59) {
    throw std::invalid_argument("new class names must lie between 0 and 295");
  }

  Random rng(options.seed);
  DataSetFacts facts;
  fs::create_directories(root / "GEO");
  fs::create_directories(root / "PATDAT");
  const fs::path geo = root / "GEO";
  const fs::path patdat = root / "PATDAT";

  // --- Soil-name dictionaries -----------------------------------------------------------
  const int kishituCount = 10000 * k;
  const int xkishituCount = 2000 * k;
  std::vector<std::string> names = ShuffledNames(rng);
  if (static_cast<long>(names.size()) < kishituCount + xkishituCount + newSoil) {
    throw std::invalid_argument("too few distinct names for this scale");
  }
  std::size_t next = 0;

  TextFile kishitu;
  std::vector<std::string> matchable;  // KISHITU.TXT names (annotation cut) a search can find
  for (int i = 0; i < kishituCount; ++i) {
    const std::string& name = names[next++];
    const int r = rng.Below(100);
    int code;
    if (r < 30) {
      code = 5000 + rng.Below(500);
    } else if (r < 75) {
      code = 1000 + rng.Below(3000);
    } else if (r < 92) {
      code = 1 + rng.Below(999);
    } else {
      code = rng.Below(2) ? 4000 + rng.Below(1000) : 5500 + rng.Below(4500);  // never matched
    }
    const std::string entry =
        rng.Below(10) == 0 ? name + "（" + rng.Pick(kAnnotations) + "）" : name;
    kishitu.Line(Code4(code) + "," + entry + ",    ,    ,    ,0000");
    if (code < 4000 || (code >= 5000 && code < 5500)) matchable.push_back(name);
  }

  // XKISHITU.TXT: ordered by code; the part below 4000 leaves room for the new codes.
  TextFile xkishitu;
  const int below = std::min(1500 * k, 1999 - newSoil);
  const int above = xkishituCount - below;
  std::vector<std::string> xkNames;
  for (int i = 0; i < below; ++i) {
    xkNames.push_back(names[next++]);
    xkishitu.Line(Code4(2000 + i) + "," + xkNames.back() + ",    ,    ,    ,0000");
  }
  for (int i = 0; i < above; ++i) {
    // Codes 4000-9999, never matched; they repeat once the table outgrows them.
    const int code = 4000 + static_cast<int>(static_cast<long>(i) * 6000 / above);
    xkishitu.Line(Code4(code) + "," + names[next++] + ",    ,    ,    ,0000");
  }
  std::vector<std::string> newNames(names.begin() + static_cast<long>(next),
                                    names.begin() + static_cast<long>(next) + newSoil);
  std::vector<std::string> xkOnlyNames;
  for (int j = 0; j < xkOnly; ++j)
    xkOnlyNames.push_back(xkNames[static_cast<std::size_t>(rng.Below(below))]);
  std::sort(xkOnlyNames.begin(), xkOnlyNames.end());
  xkOnlyNames.erase(std::unique(xkOnlyNames.begin(), xkOnlyNames.end()), xkOnlyNames.end());

  // --- Class tables ---------------------------------------------------------------------
  std::vector<ClassTable> classTables = ClassTables(options.newClassNames);
  for (const ClassTable& table : classTables) {
    TextFile file;
    int code = 0;
    for (const ClassName& name : table.names) {
      ++code;
      file.Line(std::to_string(code) + "," + (table.withMiddleField ? "      ," : "") + name.table);
    }
    file.Save(patdat / table.file);
    facts.tableLinesBefore[table.file] = file.Lines();
    facts.tableLinesAfter[table.file] = file.Lines() + static_cast<long>(table.newNames.size());
  }

  // --- MDT: header items, layers, second block ------------------------------------------
  std::vector<int> soilSlots(static_cast<std::size_t>(layers), -1);
  Place(soilSlots, newSoil, 2, 3);
  std::vector<int> xkSlots(static_cast<std::size_t>(layers), -1);
  for (std::size_t i = 0; i < xkSlots.size(); ++i) {
    if (soilSlots[i] != -1) xkSlots[i] = -2;  // taken by a new name
  }
  Place(xkSlots, static_cast<int>(xkOnlyNames.size()), 2, 11);
  std::vector<std::vector<int>> classSlots;
  for (std::size_t t = 0; t < classTables.size(); ++t) {
    classSlots.emplace_back(static_cast<std::size_t>(layers), -1);
    Place(classSlots.back(), static_cast<int>(classTables[t].newNames.size()), 2,
          5 + 7 * static_cast<int>(t));
  }
  const std::vector<std::string> coreShapes = {"棒状", "短柱状", "長柱状", "片状",
                                               "礫状", "角礫状", "岩片状", "粘土状"};
  const std::vector<std::string> layerCodes = {"CL～CM", "CM",    "CH", "D", "B",
                                               "CM～CH", "CH～B", "CL", "A", "CL～"};

  TextFile mdt;
  mdt.Line("1,29," + std::to_string(layers) + ",0,11");
  for (const std::string& line : kHeaderLines) mdt.Line(line);
  for (int i = 0; i < layers; ++i) {
    const std::size_t s = static_cast<std::size_t>(i);
    std::string name;
    if (soilSlots[s] >= 0) {
      name = newNames[static_cast<std::size_t>(soilSlots[s])];
    } else if (xkSlots[s] >= 0) {
      name = xkOnlyNames[static_cast<std::size_t>(xkSlots[s])];
    } else {
      name = rng.Pick(matchable);
    }
    const std::string& colour = rng.Pick(kColours);
    std::vector<std::string> fields = {Fixed2(0.5 * (i + 1)), name,
                                       colour.empty() ? "灰色" : colour};
    for (std::size_t t = 0; t < classTables.size(); ++t) {
      const ClassTable& table = classTables[t];
      const int slot = classSlots[t][s];
      if (slot >= 0) {
        fields.push_back(table.newNames[static_cast<std::size_t>(slot)]);
      } else if (rng.Below(5) == 0) {
        fields.push_back(rng.Pick(table.names).record + "～" + rng.Pick(table.names).record);
      } else {
        fields.push_back(rng.Pick(table.names).record);
      }
    }
    fields.push_back(rng.Pick(coreShapes));
    fields.push_back(rng.Pick(layerCodes));
    fields.push_back(Quote(rng.Pick(kRemarkPhrases)));
    bed.layers.push_back({fields[0],
                          fields[1],
                          fields[2],
                          {fields[3], fields[4], fields[5], fields[6], fields[7], fields[8]}});
    if (i % 7 == 3) {
      // A record spread over two lines, as the survey software sometimes writes them.
      mdt.Line(Join(std::vector<std::string>(fields.begin(), fields.begin() + 6)));
      mdt.Line(Join(std::vector<std::string>(fields.begin() + 6, fields.end())));
    } else {
      mdt.Line(Join(fields));
    }
  }
  const int x11Records = per2000(200);
  long x11Lines = 0;
  mdt.Line(std::to_string(x11Records) + ",4,4");
  for (int i = 0; i < x11Records; ++i) {
    std::string key;
    if (i % 10 == 9) {
      key = "";  // no key: no X11 line
    } else if (i % 10 == 4) {
      key = "鏡肌";  // not in L10.TXT: code 0
    } else {
      key = rng.Pick(kL10Keys);
    }
    if (!key.empty()) ++x11Lines;
    bed.zones.push_back(
        {Fixed2(0.5 * layers * (i + 0.5) / x11Records), key, rng.Pick(kRemarkPhrases)});
    mdt.Line(std::to_string(i + 1) + "," + bed.zones.back().depth + "," + Quote(key) + "," +
             Quote(bed.zones.back().remark));
  }
  mdt.Save(geo / "MDT0001.GDF");
  facts.records["MDT"] = layers;
  facts.records["MDT2"] = x11Records;
  facts.outputLines["X1.TXT"] = layers;
  facts.outputLines["X3.TXT"] = layers;
  for (const char* r : {"R31.TXT", "R32.TXT", "R33.TXT", "R34.TXT", "R35.TXT"}) {
    facts.outputLines[r] = layers;
  }
  facts.outputLines["X11.TXT"] = x11Lines;

  kishitu.Save(patdat / "KISHITU.TXT");
  xkishitu.Save(patdat / "XKISHITU.TXT");
  facts.tableLinesBefore["KISHITU.TXT"] = kishitu.Lines();
  facts.tableLinesBefore["XKISHITU.TXT"] = xkishitu.Lines();
  facts.tableLinesAfter["KISHITU.TXT"] =
      kishitu.Lines() + newSoil + static_cast<long>(xkOnlyNames.size());
  facts.tableLinesAfter["XKISHITU.TXT"] = xkishitu.Lines() + newSoil;

  // --- BDT: core records and water levels -----------------------------------------------
  const int bdtRecords = per2000(2000);
  const int waterRecords = per2000(200);
  const std::vector<std::string> recovery = {"85～90", "95～100", "100.0", "100", "98", "60", ""};
  const std::vector<std::string> rqd = {"40～55", "70", "90～95", "0", "", "35"};
  const std::vector<std::string> small = {"", "1", "2", "4", "8", "25", "3～5"};
  TextFile bdt;
  long g71 = 0, g73 = 0, g81 = 0, n9 = 0;
  bdt.Line("1," + std::to_string(bdtRecords) + ",10,0,0,0");
  auto blank = [](const std::string& t) { return t.find_first_not_of(' ') == std::string::npos; };
  for (int i = 0; i < bdtRecords; ++i) {
    const int day = i / 4;
    const std::string date =
        std::to_string(5 + (day / 28) % 8) + "/" + std::to_string(day % 28 + 1);
    const std::string f5 = rng.Pick(recovery);
    const std::string f6 = rng.Pick(rqd);
    const std::string f7 = rng.Below(3) ? rng.Pick(small) : "";
    const std::string f8 = rng.Below(4) ? rng.Pick(small) : "";
    const std::string f9 = rng.Below(4) ? rng.Pick(small) : "";
    const std::string f10 = rng.Below(4) ? rng.Pick(small) : "";
    if (!blank(f5)) ++g71;
    if (!blank(f6) || !blank(f7)) ++g73;
    if (!blank(f8) || !blank(f9) || !blank(f10)) ++g81;
    bdt.Line(Join({Fixed2(0.5 * (i + 1)), date, "GL-" + Fixed2(2.0 + rng.Below(60) / 100.0),
                   Fixed2(0.5 * i), Quote(f5), Quote(f6), f7, f8, f9, Quote(f10)}));
    bed.progress.push_back({Fixed2(0.5 * (i + 1)), date});
  }
  bdt.Line("1," + std::to_string(waterRecords) + ",3");
  for (int i = 0; i < waterRecords; ++i) {
    const std::string depth = i % 20 == 19 ? "" : Fixed2(2.0 + rng.Below(60) / 100.0);
    if (!depth.empty()) ++n9;
    const int day = i / 2;
    bed.water.push_back({depth,
                         std::to_string(5 + (day / 28) % 8) + "/" + std::to_string(day % 28 + 1),
                         i % 2 ? "作業開始前" : "掘削完了後, 孔内洗浄後"});
    const BedContent::Water& w = bed.water.back();
    bdt.Line(Join({Quote(depth), w.date, Quote(w.state)}));
  }
  bdt.Save(geo / "BDT0001.GDF");
  facts.records["BDT"] = bdtRecords;
  facts.records["BDT2"] = waterRecords;
  facts.outputLines["N8.TXT"] = bdtRecords;
  facts.outputLines["G71.TXT"] = g71;
  facts.outputLines["G73.TXT"] = g73;
  facts.outputLines["G81.TXT"] = g81;
  facts.outputLines["N9.TXT"] = n9;

  // --- KDT: remarks of one to three display lines ---------------------------------------
  const int remarks = per2000(500);
  TextFile kdt;
  kdt.Line("1," + std::to_string(remarks) + ",2");
  for (int i = 0; i < remarks; ++i) {
    std::string text = rng.Pick(kKdtSegments);
    for (int n = rng.Below(3); n > 0; --n) text += "＠" + rng.Pick(kKdtSegments);
    const std::string depth = Fixed2(0.5 * layers * (i + 0.5) / remarks);
    bed.remarks.push_back({i % 25 == 7 ? "GL-" + depth + " ) 補足" : depth, text});
    kdt.Line(Quote(bed.remarks.back().depth) + "," + Quote(text));
  }
  kdt.Save(geo / "KDT0001.GDF");
  facts.records["KDT"] = remarks;
  facts.outputLines["X12.TXT"] = remarks;

  // --- NDT: penetration intervals -------------------------------------------------------
  const int ndtRecords = per2000(2000);
  const std::vector<std::string> first = {"12", "11/11", "50/12", "50/7", "50/3", "8", "30", "05"};
  const std::vector<std::string> rest = {"5/1", "20/5", "30/7", "3", "10", "", "4/10"};
  TextFile ndt;
  ndt.Line("100," + std::to_string(ndtRecords) + ",5");
  ndt.Line("50");
  for (int i = 0; i < ndtRecords; ++i) {
    BedContent::Penetration p{Fixed2(0.5 * i + 0.45), {}};
    p.values[0] = rng.Pick(first);
    for (std::size_t v = 1; v < 4; ++v) p.values[v] = rng.Pick(rest);
    ndt.Line(Join({p.depth, p.values[0], p.values[1], p.values[2], Quote(p.values[3])}));
    bed.penetration.push_back(std::move(p));
  }
  ndt.Save(geo / "NDT0001.GDF");
  facts.records["NDT"] = ndtRecords;
  facts.outputLines["X5.TXT"] = ndtRecords;

  // --- LDT: 20 test records (12 used) and the samples -----------------------------------
  const int samples = per2000(2000);
  const std::vector<std::string> tests = {"ベーン試験",   "透水試験]JIS",     "透水試験]ルジオン",
                                          "間隙水圧測定", "孔内水平載荷試験", "コロージョンテスト",
                                          "湧水圧試験",   "透水試験]JIS",     "ベーン試験",
                                          "間隙水圧測定", "孔内水平載荷試験", "コロージョンテスト"};
  const std::vector<std::string> sampleKinds = {"一軸]A-1",  "物理",          "圧密",
                                                "三軸]T-2",  "特殊]S-3",      "動的]D-1",
                                                "物理]P-12", "一軸]1試料番号"};
  TextFile ldt;
  ldt.Line("1,1," + std::to_string(samples));
  ldt.Line("3,3");
  for (int i = 0; i < 20; ++i) {
    if (i < static_cast<int>(tests.size())) {
      bed.tests.push_back(
          {Fixed2(3.0 + 2.5 * i), Fixed2(3.5 + 2.5 * i), tests[static_cast<std::size_t>(i)]});
      ldt.Line(Join({bed.tests.back().from, bed.tests.back().to, Quote(bed.tests.back().kind)}));
    } else {
      ldt.Line("\"\",\"\",\"\"");
    }
  }
  for (int i = 0; i < samples; ++i) {
    bed.samples.push_back({Fixed2(0.5 * i + 0.2), Fixed2(0.5 * i + 0.5), rng.Pick(sampleKinds)});
    const BedContent::Interval& sample = bed.samples.back();
    ldt.Line(Join({sample.from, sample.to, Quote(sample.kind)}));
  }
  ldt.Save(geo / "LDT0001.GDF");
  facts.records["LDT1"] = 20;
  facts.records["LDT2"] = samples;
  facts.outputLines["X7.txt"] = static_cast<long>(tests.size());
  facts.outputLines["N6.TMP"] = samples;

  // --- CDT: 199 records, both depth lists full ------------------------------------------
  // The second list holds at most 199 entries (its next slot carries the end mark), so the
  // count does not grow with the scale.
  const int cdtRecords = 199;
  TextFile cdt;
  long r41 = 0;
  cdt.Line("1," + std::to_string(cdtRecords) + ",5,0,0,0");
  for (int i = 1; i <= cdtRecords; ++i) {
    const int a = 10 * i;
    const int r = i % 2 ? 10 * i + 5 : 10 * i;  // odd records: own line; even: shared line
    r41 += i % 2 ? 2 : 1;
    cdt.Line(
        Join({i % 5 == 0 ? std::to_string(a) + "=x" : std::to_string(a), std::to_string(i % 9 + 1),
              i % 7 == 0 ? std::to_string(r) + "=y" : std::to_string(r), std::to_string(i % 4),
              std::to_string(i % 6)}));
  }
  cdt.Save(geo / "CDT0001.GDF");
  facts.records["CDT"] = cdtRecords;
  facts.outputLines["R41.TXT"] = r41;

  // --- The other reference tables -------------------------------------------------------
  const std::vector<std::pair<std::string, std::vector<std::string>>> fixedTables = {
      {"L1.TXT",
       {"1,国土交通省", "2,農林水産省", "3,都道府県", "4,市町村", "5,日本道路公団",
        "6,水資源開発公団", "7,ＪＲ", "8,電力会社"}},
      {"L2.TXT",
       {"1,深成岩類", "2,火山岩類", "3,変成岩類", "4,その他", "5,堆積岩類（古第三系以前）",
        "6,堆積岩類（新第三系）", "7,未固結堆積物"}},
      {"L3.TXT", {"1,ダム", "2,トンネル", "3,道路", "4,橋梁", "5,斜面", "6,発電所", "7,その他"}},
      {"L4.TXT", {"1,C", "2,L", "3,M", "4,H", "5,A", "6,B", "7,D", "8,E"}},
      {"L8.TXT",
       {"3,透水試験,原位置試験", "4,間隙水圧測定,計測", "7,コロージョンテスト,計測",
        "10,ベーン試験,原位置試験", "44,孔内水平載荷試験,原位置試験", "44,湧水圧試験,原位置試験"}}};
  for (const auto& [file, lines] : fixedTables) {
    TextFile table;
    for (const std::string& line : lines) table.Line(line);
    table.Save(patdat / file);
  }
  TextFile l10;
  for (std::size_t i = 0; i < kL10Keys.size(); ++i)
    l10.Line(std::to_string(i + 1) + "," + kL10Keys[i]);
  l10.Save(patdat / "L10.TXT");

  // --- The same boring as a boring exchange XML file ------------------------------------
  if (!options.bedVersion.empty()) {
    WriteBedFile(geo / "BED0001.XML", bed, options.bedVersion);
    for (const char* name :
         {"X1.TXT", "X3.TXT", "R31.TXT", "R32.TXT", "R33.TXT", "R34.TXT", "R35.TXT", "X11.TXT",
          "N8.TXT", "N9.TXT", "X12.TXT", "X5.TXT", "X7.txt", "N6.TMP"}) {
      facts.bedOutputLines[name] = facts.outputLines.at(name);
    }
  }
  return facts;
}

std::string FactsText(const DataSetFacts& facts) {
  std::string out;
  auto section = [&out](const char* label, const std::map<std::string, long>& items) {
    for (const auto& [name, count] : items) {
      out += std::string(label) + " " + name + " " + std::to_string(count) + "\n";
    }
  };
  section("records", facts.records);
  section("output", facts.outputLines);
  section("before", facts.tableLinesBefore);
  section("after", facts.tableLinesAfter);
  section("bed-output", facts.bedOutputLines);
  return out;
}

}  // namespace ostra::bench
