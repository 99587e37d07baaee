#include "base/path_text.h"

#include "base/errors.h"

namespace ostra {

std::int16_t CountChars(const Text& text, const Text& pattern) {
  long long count = 0;
  for (char16_t p : pattern) {
    for (char16_t c : text) count += (c == p);
  }
  return static_cast<std::int16_t>(count > 32767 ? 32767 : count);
}

void SplitPath(const Text& text, const Text& separators, PathComponents& components) {
  size_t slot = 1;
  Text current;
  for (char16_t c : text) {
    if (separators.find(c) != Text::npos) {
      if (slot >= static_cast<size_t>(kMaxPathComponents)) {
        throw ProblemError(Problem::kPathTooDeep, {text}, Text(), ErrorKind::kSystem);
      }
      components[slot++] = current;
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  components[slot] = current;
}

}  // namespace ostra
