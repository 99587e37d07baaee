// Layer records of the MDT section: soil names (X1.TXT), layer codes (X3.TXT), layer classes
// (R31.TXT to R35.TXT) and the second block (X11.TXT).
#pragma once

#include <array>
#include <cstdint>

#include "convert/run_env.h"
#include "env/files.h"
#include "formats/code_table.h"
#include "formats/section_file.h"

namespace ostra {

// Name slots 1..2 (slot 0 unused).
using NameSlots = std::array<Text, 3>;
// R31.TXT .. R35.TXT as slots 1..5 (slot 0 unused), opened by the run.
using LayerClassFiles = std::array<OutFile, 6>;
// LayerCounters 1..5 (slot 0 unused).
using LayerCounters = std::array<std::int16_t, 6>;

// Looks up (and registers when new) the soil name of slot 1..n in KISHITU.TXT/XKISHITU.TXT and
// writes the X1.TXT line of slot 1.
void ConvertSoilName(const RunEnv& env, OutFile& x1, std::int16_t& counter, const Text& depth,
                     std::int16_t& n, NameSlots& names);

// Codes the class text (field 10) through L4Table and writes one X3.TXT line.
void ConvertLayerCode(OutFile& x3, std::int16_t& counter, const Text& depth, const Text& classText,
                      const CodeTable& l4Table);

// Writes one line to each of R31.TXT to R35.TXT from fields 4 to 8, extending L13.TXT to
// L17.TXT with new class names.
void WriteLayerClasses(const RunEnv& env, LayerClassFiles& files, LayerCounters& counters,
                       const Text& depth, RecordFields& fields);

// Codes field 3 of a second-block record through L10Table and writes one X11.TXT line.
void ConvertX11Record(OutFile& x11, std::int16_t& counter, const RecordFields& fields,
                      const CodeTable& l10Table);

}  // namespace ostra
