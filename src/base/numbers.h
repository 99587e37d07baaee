// Number-to-text rules and fixed-width fields.
#pragma once

#include <cstdint>

#include "base/codec.h"
// Reading numbers from text (ParseDecimal, ReadNumber, IntOrZero, ...), for the callers of both.
#include "base/decimal.h"

namespace ostra {

// Shortest decimal text with a leading blank (or "-"), no leading zero before the point
// (" .5", "-.5"), no point for whole values (" 3"). Single precision keeps at most 7
// significant digits, double precision 15; beyond them the exponent form is used
// (" 1.234568E+07", " 1E-05").
Text NumText(float value);
Text NumText(double value);
Text NumText(std::int32_t value);

// The decimal digits of a whole number, "-" before a negative one, nothing else: "12", "-5".
Text IntText(long long value);

// Exactly `width` characters: the digits of the value with zeros before them ("07" for 7 in
// 2). A longer text keeps its last `width` characters, as RightField does ("23" for 123, "-5"
// for -5 in 2).
Text ZeroPadded(long long value, int width);

// The last w characters of w blanks followed by text.
Text RightField(TextView text, int w);

// The value with exactly two decimals (truncated, never rounded), right-justified in w.
void FormatDecimal2(std::int16_t w, float value, Text& result);
Text FormatDecimal2(std::int16_t w, float value);

}  // namespace ostra
