// Splitting path texts into their components.
#pragma once

#include <array>
#include <cstdint>

#include "base/codec.h"

namespace ostra {

// Path components, slots 1..256 (slot 0 unused).
inline constexpr int kMaxPathComponents = 256;
using PathComponents = std::array<Text, kMaxPathComponents + 1>;

// Occurrences in `text` of every character of `pattern`, summed.
std::int16_t CountChars(const Text& text, const Text& pattern);
// Writes the components of `text`, split at any character of `separators`, into slots 1, 2, ...
// Slots beyond the last component keep their values. Throws RunError beyond 256 components.
void SplitPath(const Text& text, const Text& separators, PathComponents& components);

}  // namespace ostra
