#include "base/path_text.h"

#include "base/errors.h"

namespace ostra {

const Text& PathComponents::operator[](int n) const {
  static const Text kNone;
  if (n < 1 || n > Count()) return kNone;
  return parts_[static_cast<size_t>(n - 1)];
}

std::int16_t CountChars(const Text& text, const Text& pattern) {
  long long count = 0;
  for (char16_t p : pattern) {
    for (char16_t c : text) count += (c == p);
  }
  return static_cast<std::int16_t>(count > 32767 ? 32767 : count);
}

PathComponents SplitPath(const Text& text, const Text& separators) {
  std::vector<Text> parts;
  Text current;
  for (char16_t c : text) {
    if (separators.find(c) != Text::npos) {
      if (parts.size() + 1 >= static_cast<size_t>(kMaxPathComponents)) {
        throw ProblemError(Problem::kPathTooDeep, {text}, Text(), ErrorKind::kSystem);
      }
      parts.push_back(std::move(current));
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  parts.push_back(std::move(current));
  return PathComponents(std::move(parts));
}

}  // namespace ostra
