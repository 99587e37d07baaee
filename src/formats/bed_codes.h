// Coded rock classes of the boring exchange XML: a class written as a code ("013") is turned
// into the symbol engineers write ("C", "β"). The file's own decision table comes first; then
// the guideline's standard table of that class (kept with the source of every row in one data
// file of the project); a code neither knows stays as written, and the caller reports it.
#pragma once

#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "base/codec.h"

namespace ostra {

// The classes that carry codes.
enum class BedClass { kRockGrade, kWeathering, kHardness, kFracture, kAlteration, kCoreShape };

// One class's own decision table of a file: code → symbol, from its …判定表 elements whose code
// is not empty (a table whose entries are all empty counts as absent).
using BedOwnTable = std::map<Text, Text>;

enum class BedCodeSource {
  kEmpty,     // the value is empty: no class
  kOwnTable,  // the file's own decision table
  kStandard,  // the guideline's standard table
  kRaw,       // not a known code ("0", "000", an unknown code, or not a code at all): as written
};

struct BedCodeResult {
  Text symbol;  // what the layer record gets; the value as written (trimmed) for kRaw
  BedCodeSource source = BedCodeSource::kEmpty;
  // For kRaw: true when the value looks like a code (three digits, or "0") that no table
  // knows, so that the report lists it; false for a text that is no code (a symbol written
  // directly, as some files do).
  bool unknownCode = false;
};

// Resolves the value of one interval of `cls` (trimmed here) against the file's own table of
// that class and then the standard table. Codes are compared as written; an own table's symbol
// is compared and returned as it stands.
BedCodeResult ResolveBedCode(BedClass cls, std::u16string_view value, const BedOwnTable& own);

// A row of the standard tables, for the documentation and tests.
struct BedStandardRow {
  BedClass cls;
  Text code;    // "011"
  Text symbol;  // "α"
  Text status;  // "V" verified, "P" partly verified, "D" derived from real files
  Text source;  // where it is confirmed
};
const std::vector<BedStandardRow>& BedStandardRows();

}  // namespace ostra
