// What the boring-log picture shows: the items of a data set as an engineer reads them off a
// rock boring log. Read from the data set itself (the legacy section files or a boring exchange
// XML file), through the same readers as the run, never from the converted files.
#pragma once

#include <array>
#include <exception>
#include <functional>
#include <optional>
#include <vector>

#include "base/codec.h"
#include "env/env.h"
#include "formats/data_set_encoding.h"

namespace ostra {

// The items a layer record gives, one column of the log each, in the order of the columns.
enum class LayerItem {
  kColour,      // 色調 (field 3)
  kGrade,       // 岩級区分, as written (field 4; "ＣＬ～ＣＭ")
  kWeathering,  // 風化 (field 5)
  kHardness,    // 硬軟 (field 6)
  kFractures,   // 割れ目 (field 7)
  kAlteration,  // 変質 (field 8)
  kCoreShape,   // コア形状 (field 9)
};
inline constexpr int kLayerItems = 7;

// A layer record: from the bottom of the layer before it (0 for the first) to its own.
struct Layer {
  double top = 0;
  double bottom = 0;
  Text depthText;                       // the bottom as the data set writes it
  Text name;                            // 岩種・地層名 (field 2), without blanks at its ends
  std::array<Text, kLayerItems> items;  // by LayerItem, without blanks at their ends
  Text gradeCode;                       // the grade the layer code takes (field 10; X3.TXT)
  std::vector<Text> remark;             // the layer's own remark (field 11), in lines ("＠")

  const Text& Item(LayerItem item) const { return items[static_cast<size_t>(item)]; }
};

// Core values of a day's drilling (BDT first block): from the depth of field 4 to the depth
// reached (field 1), the values as written ("85～90").
struct CoreRun {
  double top = 0;
  double bottom = 0;
  Text recovery;  // コア採取率 % (field 5)
  Text rqd;       // RQD % (field 6)
};

// A water level in the hole (BDT second block).
struct WaterLevel {
  double depth = 0;
  Text depthText;
  Text date;  // month/day as written ("5/12"); may be empty
  Text note;  // the circumstances ("作業開始前")
};

// A standard penetration test (NDT).
struct PenetrationTest {
  double depth = 0;
  Text depthText;
  std::array<Text, 3> blows;  // per 10 cm as written ("7", "20/5"); empty when not recorded
  Text recorded;              // N as recorded: "12", "50/12"
  // Where the graph plots it, 0 to 50: the blows when they took 30 cm, else converted to 30 cm;
  // 50 for a refusal. Nothing when the record is no count.
  std::optional<double> plotN;
  bool refusal = false;  // 50 blows or more, or a converted value of 50 or more
};

// An in-situ test or a sample (LDT): an interval with its description.
struct Mark {
  bool sample = false;
  double from = 0;
  std::optional<double> to;
  Text label;  // "透水試験 JIS", "一軸 A-1"
};

// A remark at a depth: a KDT remark at the depth its text gives ("GL-7.80 ) 補足" stands at
// 7.80 m), or a fault or fracture zone of the MDT's second block.
struct Remark {
  double depth = 0;
  Text depthText;
  std::vector<Text> lines;  // the remark in lines ("＠")
};

// An item of the title block: what it is and its value.
struct TitleItem {
  Text label;
  Text value;
};

struct BoringLogModel {
  Text source;                    // the data set's file (the MDT file or the XML file)
  Text holeName;                  // 孔名 (header item 3), repeated on every page
  std::vector<TitleItem> header;  // the items present, the survey name first
  std::vector<Layer> layers;      // in depth order
  std::vector<CoreRun> cores;     // by depth
  std::vector<WaterLevel> waterLevels;
  std::vector<PenetrationTest> penetrationTests;  // by depth
  std::vector<Mark> marks;                        // by upper depth
  std::vector<Remark> remarks;                    // by depth
  // Why a section or the whole data set could not be read, worded for the user; what could be
  // read is shown.
  std::vector<Text> problems;
  // The destination the picture follows holds the outputs of a run that stopped part-way: what
  // the run's note says ("変換は途中で止まりました …"); empty otherwise.
  Text stoppedRun;
};

// How a reading error is worded for the user (the run's wording of errors).
using ErrorWording = std::function<Text(const std::exception&)>;

// Reads the picture's contents from the data set whose MDT or XML file is `source`, in the
// encoding `encoding`. Nothing is written. A section that cannot be read is left out, with its
// problem in `problems`; a data set that cannot be read at all gives a model with only `source`
// and `problems`.
BoringLogModel ReadBoringLogModel(Env& env, const Text& source, DataEncoding encoding,
                                  const ErrorWording& word);

}  // namespace ostra
