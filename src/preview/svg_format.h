// Pieces of SVG text: escaped text, numbers as the picture writes them, fill colours.
#pragma once

#include <string>

#include "base/codec.h"

namespace ostra::svg {

// XML text in UTF-8 with &, <, >, " and ' escaped; characters that XML does not allow are
// dropped.
std::string Xml(TextView text);

// A coordinate with one decimal.
std::string Px(double v);

// A depth or value with two decimals, as in the data attributes.
std::string Num2(double v);

// A tick label or an N value: whole numbers without decimals, others as short as they go.
std::string TickText(double v);

// A pale fill ("#rrggbb") that stays the same for a soil code and differs between codes.
std::string FillFor(const Text& code);

}  // namespace ostra::svg
