// Helpers shared by the strata converters: the common line prefix, splitting a class range and
// writing names into the reference tables so that they read back unchanged.
#pragma once

#include <cstdint>
#include <utility>

#include "base/codec.h"
#include "convert/run_env.h"
#include "formats/reference_tables.h"

namespace ostra::strata {

// The range mark of class texts ("CL～CM").
inline constexpr char16_t kRangeMark = u'～';

// "  3,  12.50,": the sequence number in 3 characters and the depth in 7, each followed by ",".
Text LinePrefix(std::int16_t counter, const Text& depth);

// Splits at the first "～": (text before, text after). Without "～": (whole text, "").
std::pair<Text, Text> SplitRange(const Text& text);

// A name as it is written into a reference table: wrapped in double quotes when it holds a ",",
// starts with a double quote or starts or ends with a blank, so that the field reader gives it
// back as it was; inside the quotes a double quote becomes "＂" (the reader has no escape).
Text TableField(const Text& name);

// A record's name or class text as one line: a quoted field of a data set may run over line
// ends, but a reference table holds one entry per line, so the line ends are dropped.
Text OneLine(const Text& text);

}  // namespace ostra::strata
