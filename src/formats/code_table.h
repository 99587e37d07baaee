// Code tables of the reference folder: one record per line, code then name.
#pragma once

#include <vector>

#include "base/codec.h"

namespace ostra {

struct CodeRow {
  Text code;  // column 1, as read
  Text key;   // column 2, as read
};
using CodeTable = std::vector<CodeRow>;

class FieldReader;

// Reads a two-field table to its end. Throws RunError naming the table when a record lacks its
// second field or when it holds more than `maxRows` rows.
CodeTable ReadCodeTable(FieldReader& reader, size_t maxRows);

}  // namespace ostra
