// Splitting path texts into their components.
#pragma once

#include <cstdint>
#include <vector>

#include "base/codec.h"

namespace ostra {

inline constexpr int kMaxPathComponents = 256;

// The components of a path text, numbered from 1. A component beyond the last reads as "".
class PathComponents {
 public:
  PathComponents() = default;
  explicit PathComponents(std::vector<Text> parts) : parts_(std::move(parts)) {}

  // Component n (1-based); "" for n beyond the last component (or below 1).
  const Text& operator[](int n) const;
  int Count() const { return static_cast<int>(parts_.size()); }
  // The last component ("" when there is none).
  const Text& Last() const { return (*this)[Count()]; }

 private:
  std::vector<Text> parts_;
};

// Occurrences in `text` of every character of `pattern`, summed.
std::int16_t CountChars(const Text& text, const Text& pattern);
// The components of `text`, split at any character of `separators`: one more than the
// separators found. Throws RunError beyond 256 components.
PathComponents SplitPath(const Text& text, const Text& separators);

}  // namespace ostra
