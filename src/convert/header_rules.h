// Rules of the header decoder that work on a single item, shared with the tests.
#pragma once

#include <array>

#include "base/codec.h"

namespace ostra::title {

// A four-digit year from a year item: an era-prefixed year ("H10", "Ｓ６３", "平成元年",
// "㍻10") is expanded with its era; otherwise a two-digit year is read as Showa (41..64) or as
// Heisei (up to 40 and 65..1900, text that is no number reading as 0), and a number above 1900
// is kept as written.
Text ExpandYear(const Text& item);

// Degrees, minutes and seconds of an angle written as degrees with two decimal digits of
// minutes and two of seconds ("35.4512"), each as number text (" 35", " 45", " 12"). Works
// on the decimal digits as written; digits past the seconds are dropped. Text that is no
// number gives " 0" three times.
std::array<Text, 3> SplitAngle(const Text& item);

}  // namespace ostra::title
