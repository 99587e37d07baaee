#include "preview/boring_log_model.h"

#include <algorithm>
#include <array>
#include <utility>

#include "base/decimal.h"
#include "base/mesh_code.h"
#include "base/sjis.h"
#include "convert/header_rules.h"
#include "convert/section_unit.h"
#include "formats/data_set_files.h"
#include "preview/boring_log_sections.h"

namespace ostra {

namespace picture {

namespace {

// The title items an engineer expects on a log, from the header items (1-based); those without
// a value are left out.
std::vector<TitleItem> TitleItems(const RecordFields& f, int count) {
  auto item = [&](int n) { return n <= count ? TrimBlanks(f[n]) : Text(); };
  std::vector<TitleItem> items;
  auto add = [&items](const char16_t* label, Text value) {
    if (!value.empty()) items.push_back({label, std::move(value)});
  };
  auto metres = [](Text value) { return value.empty() ? value : value + u" m"; };
  auto date = [&](int first) {
    const Text y = item(first), m = item(first + 1), d = item(first + 2);
    if (y.empty() && m.empty() && d.empty()) return Text();
    return title::ExpandYear(y) + u"年" + m + u"月" + d + u"日";
  };
  auto angle = [&](int n) {
    if (item(n).empty()) return Text();
    const std::array<Text, 3> parts = title::SplitAngle(item(n));
    return Trim(parts[0]) + u"°" + Trim(parts[1]) + u"′" + Trim(parts[2]) + u"″";
  };

  add(u"調査名", item(1));
  add(u"事業・工事名", item(29));
  add(u"孔名", item(3));
  add(u"所在地", item(4));
  add(u"発注者", item(5));
  const Text from = date(6), to = date(9);
  add(u"調査期間", from.empty() && to.empty() ? Text() : from + u" ～ " + to);
  Text position;
  if (const Text lat = angle(14); !lat.empty()) position += u"北緯 " + lat;
  if (const Text lon = angle(15); !lon.empty())
    position += (position.empty() ? Text() : Text(u"　")) + u"東経 " + lon;
  add(u"緯度経度", position);
  if (!item(14).empty() && !item(15).empty()) {
    const std::array<Text, 3> lat = title::SplitAngle(item(14));
    const std::array<Text, 3> lon = title::SplitAngle(item(15));
    auto value = [](const Text& t) { return static_cast<float>(ReadNumber(Trim(t)).value_or(0)); };
    add(u"メッシュコード", MakeMeshCode(value(lat[0]), value(lat[1]), value(lat[2]), value(lon[0]),
                                        value(lon[1]), value(lon[2])));
  }
  add(u"孔口標高", metres(item(16)));
  add(u"掘進長", metres(item(17)));
  Text direction = item(18);
  if (!item(19).empty())
    direction += (direction.empty() ? Text() : Text(u" ")) + u"（" + item(19) + u"°）";
  add(u"掘進方向", direction);
  add(u"工法", item(20));
  add(u"試錐機", item(25));
  add(u"コアチューブ", item(26));
  add(u"調査会社", item(22));
  add(u"主任技師", item(23));
  add(u"コア鑑定者", item(24));
  return items;
}

void ReadLayers(FieldReader& reader, BoringLogModel& model, const Count& records,
                const Count& fields) {
  reader.BeginBlock(records, fields);
  RecordFields f;
  double top = 0;
  for (int i = 0; i < records; ++i) {
    reader.ReadRecord(f, fields);
    const std::optional<double> bottom = DepthOf(f[1]);
    if (!bottom) continue;
    Layer layer;
    layer.top = top;
    layer.bottom = *bottom;
    layer.depthText = TrimBlanks(f[1]);
    layer.name = TrimBlanks(f[2]);
    for (int k = 0; k < kLayerItems; ++k)
      layer.items[static_cast<size_t>(k)] = TrimBlanks(f[3 + k]);
    layer.gradeCode = TrimBlanks(f[10]);
    layer.remark = RemarkLines(f[11]);
    model.layers.push_back(std::move(layer));
    top = *bottom;
  }
}

// Faults and fracture zones: their kind and note at their depth.
void ReadZones(FieldReader& reader, BoringLogModel& model) {
  const Count records = reader.ReadCount(kWhatRecords);
  const Count fields = reader.ReadCount(kWhatFields);
  const bool flag = reader.ReadNumber(kWhatHeader) != 0.0;
  if (records == 0 || !flag) return;
  reader.BeginBlock(records, fields);
  RecordFields f;
  for (int i = 0; i < records; ++i) {
    reader.ReadRecord(f, fields);
    const Text kind = TrimBlanks(f[3]);
    const std::optional<double> depth = DepthOf(f[2]);
    if (kind.empty() || !depth) continue;
    Remark remark{*depth, TrimBlanks(f[2]), {kind}};
    for (Text& line : RemarkLines(f[4])) remark.lines.push_back(std::move(line));
    model.remarks.push_back(std::move(remark));
  }
}

}  // namespace

// A boring exchange XML file gives core recovery and RQD per interval of their own: one run per
// interval, the two values together where their intervals agree.
void AddBedCores(const BedDataSet& bed, BoringLogModel& model) {
  auto add = [&model](const std::vector<BedDataSet::CoreInterval>& list, Text CoreRun::*value) {
    double top = 0;
    for (const BedDataSet::CoreInterval& interval : list) {
      const std::optional<double> bottom = DepthOf(interval.bottom);
      if (!bottom) continue;
      if (*bottom > top && !interval.value.empty()) {
        auto same = std::find_if(model.cores.begin(), model.cores.end(), [&](const CoreRun& run) {
          return run.top == top && run.bottom == *bottom;
        });
        if (same == model.cores.end())
          same = model.cores.insert(model.cores.end(), {top, *bottom, {}, {}});
        (*same).*value = interval.value;
      }
      top = *bottom;
    }
  };
  add(bed.coreRecovery, &CoreRun::recovery);
  add(bed.rqd, &CoreRun::rqd);
}

void ReadMdt(FieldReader& reader, BoringLogModel& model) {
  const auto [items, records, fields] = ReadMdtCounts(reader);
  reader.BeginItems(items);
  RecordFields f;
  reader.ReadRecord(f, items);
  model.header = TitleItems(f, items);
  if (items >= 3) model.holeName = TrimBlanks(f[3]);
  if (records != 0 && fields != 0) ReadLayers(reader, model, records, fields);
  ReadZones(reader, model);
}

}  // namespace picture

BoringLogModel ReadBoringLogModel(Env& env, const Text& source, DataEncoding encoding,
                                  const ErrorWording& word) {
  BoringLogModel model;
  model.source = source;
  DataSetSections sections;
  try {
    sections = ReadDataSetSections(env, source, encoding);
  } catch (const std::exception& e) {
    model.problems.push_back(word(e));
    return model;
  }
  // The CDT's depth lists have no column of the log.
  using Reader = void (*)(FieldReader&, BoringLogModel&);
  static constexpr std::array<Reader, 6> kReaders = {picture::ReadMdt, picture::ReadBdt,
                                                     picture::ReadKdt, picture::ReadNdt,
                                                     picture::ReadLdt, nullptr};
  for (size_t i = 0; i < kReaders.size(); ++i) {
    if (!sections.texts[i] || kReaders[i] == nullptr) continue;
    FieldReader reader(std::move(*sections.texts[i]), sections.files[i]);
    // What a section gave before it failed is shown; the failure is told.
    try {
      kReaders[i](reader, model);
    } catch (const std::exception& e) {
      model.problems.push_back(word(e));
    }
  }
  if (sections.bed) picture::AddBedCores(*sections.bed, model);
  auto byDepth = [](auto member) {
    return [member](const auto& a, const auto& b) { return a.*member < b.*member; };
  };
  std::stable_sort(model.cores.begin(), model.cores.end(), byDepth(&CoreRun::top));
  std::stable_sort(model.penetrationTests.begin(), model.penetrationTests.end(),
                   byDepth(&PenetrationTest::depth));
  std::stable_sort(model.marks.begin(), model.marks.end(), byDepth(&Mark::from));
  std::stable_sort(model.remarks.begin(), model.remarks.end(), byDepth(&Remark::depth));
  return model;
}

}  // namespace ostra
