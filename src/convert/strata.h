// Layer records of the MDT section: soil names (X1.TXT), layer codes (X3.TXT), layer classes
// (R31.TXT to R35.TXT) and the second block (X11.TXT).
#pragma once

#include <array>

#include "convert/output_file.h"
#include "convert/run_env.h"
#include "env/files.h"
#include "formats/code_table.h"
#include "formats/section_file.h"

namespace ostra {

// R31.TXT .. R35.TXT as files 1..5, each with its counter (LayerCounters 1..5), opened by the
// run.
class LayerClassFiles {
 public:
  static constexpr int kCount = 5;
  // File k, 1 <= k <= 5; throws std::out_of_range for any other k.
  OutputFile& operator[](int k) { return files_.at(k < 1 ? kCount : static_cast<size_t>(k - 1)); }

 private:
  std::array<OutputFile, kCount> files_;
};

// Looks up (and registers when new) the soil name `name` in KISHITU.TXT/XKISHITU.TXT and, when
// it is not empty, writes its X1.TXT line.
void ConvertSoilName(const RunEnv& env, OutputFile& x1, const Text& depth, const Text& name);

// Codes the class text (field 10) through L4Table and writes one X3.TXT line.
void ConvertLayerCode(OutputFile& x3, const Text& depth, const Text& classText,
                      const CodeTable& l4Table);

// Writes one line to each of R31.TXT to R35.TXT from fields 4 to 8, extending L13.TXT to
// L17.TXT with new class names.
void WriteLayerClasses(const RunEnv& env, LayerClassFiles& files, const Text& depth,
                       const RecordFields& fields);

// Codes field 3 of a second-block record through L10Table and writes one X11.TXT line.
void ConvertX11Record(OutputFile& x11, const RecordFields& fields, const CodeTable& l10Table);

}  // namespace ostra
