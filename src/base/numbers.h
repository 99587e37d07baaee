// Number-to-text rules, fixed-width fields and reading numbers from text.
#pragma once

#include <cstdint>
#include <optional>

#include "base/codec.h"

namespace ostra {

// Shortest decimal text with a leading blank (or "-"), no leading zero before the point
// (" .5", "-.5"), no point for whole values (" 3"). Single precision keeps at most 7
// significant digits, double precision 15; beyond them the exponent form is used
// (" 1.234568E+07", " 1E-05").
Text NumText(float value);
Text NumText(double value);
Text NumText(std::int32_t value);

// The last w characters of w blanks followed by text.
Text RightField(TextView text, int w);

// The value with exactly two decimals (truncated, never rounded), right-justified in w.
void FormatDecimal2(std::int16_t w, float value, Text& result);
Text FormatDecimal2(std::int16_t w, float value);

// A text read as a whole number: rounded half to even through single precision; 0 for text
// that is not a number or lies outside -32768..32767.
std::int16_t IntOrZero(TextView text);

// The longest leading part that reads as a decimal number (blanks skipped, sign, digits, one
// ".", exponent); 0 when there is none.
double LeadingNumber(TextView text);

// The whole text read as a decimal number, blanks around it allowed; nullopt when it is not one.
// An empty (or blank) text is not a number here.
std::optional<double> ReadNumber(TextView text);

// Full-width digits, "．", "－", "＋" and the full-width blank to their half-width forms, so
// that numbers typed in full width read as numbers.
Text NarrowNumerals(TextView text);

}  // namespace ostra
