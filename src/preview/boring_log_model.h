// What the boring-log picture shows, as read from the files of a destination folder.
#pragma once

#include <optional>
#include <vector>

#include "base/codec.h"
#include "env/env.h"

namespace ostra {

// The class columns, one file each, from left to right.
constexpr int kClassColumns = 6;
extern const char16_t* const kClassFiles[kClassColumns];  // X3.TXT and R31.TXT to R35.TXT

// A layer of X1.TXT: from the bottom of the layer before it (0 for the first) to its own.
struct Layer {
  double top = 0;
  double bottom = 0;
  Text depthText;  // the bottom as the file writes it
  Text code;
  Text name;
};

// A line of a class file: the range text of the layer that ends at `bottom`.
struct ClassLine {
  double bottom = 0;
  Text text;
};

struct ClassColumn {
  Text file;
  std::vector<ClassLine> lines;
};

struct NPoint {
  double depth = 0;
  double n = 0;   // converted to a 30 cm penetration
  Text recorded;  // as recorded: the blows, with "/" and the penetration when not 30
};

// An item of the title block: what it is and its value.
struct TitleItem {
  Text label;
  Text value;
};

// A test (X7.txt) or a sample (N6.TMP): an interval with a label.
struct Mark {
  bool sample = false;
  double from = 0;
  std::optional<double> to;
  Text label;
};

// A remark of X12.TXT: its display lines.
struct Remark {
  double depth = 0;
  std::vector<Text> lines;
};

struct BoringLogModel {
  Text folder;                       // the destination folder, ending in "\"
  std::vector<TitleItem> header;     // the title items present, the survey name first
  std::vector<Layer> layers;         // in file order
  std::vector<ClassColumn> classes;  // kClassColumns columns, in kClassFiles order
  std::vector<NPoint> nValues;       // by depth
  std::vector<Mark> marks;           // tests and samples by upper depth
  std::vector<Remark> remarks;       // by depth
};

// Reads the picture's contents from the files of `destFolder` (a drive-form path, with or
// without a trailing "\"). Files that are missing or cannot be read give nothing. Without
// layers only `folder` and `header` are filled in: there is no picture to draw the rest on.
BoringLogModel ReadBoringLogModel(Env& env, const Text& destFolder);

}  // namespace ostra
