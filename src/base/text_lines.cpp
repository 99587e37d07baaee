#include "base/text_lines.h"

#include <algorithm>

namespace ostra {

std::vector<Text> SplitLines(Text text) {
  while (!text.empty() && text.back() == u'\x1A') text.pop_back();
  std::vector<Text> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of(u"\r\n", pos);
    if (end == Text::npos) {
      lines.push_back(text.substr(pos));
      break;
    }
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 1;
    if (text[end] == u'\r' && pos < text.size() && text[pos] == u'\n') ++pos;
  }
  return lines;
}

long long LineNumberAt(TextView text, size_t pos) {
  long long line = 1;
  for (size_t i = 0; i < pos && i < text.size(); ++i) {
    if (text[i] == u'\n' || (text[i] == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n'))) {
      ++line;
    }
  }
  return line;
}

size_t LineStartAt(TextView text, size_t pos) {
  size_t start = std::min(pos, text.size());
  while (start > 0) {
    const char16_t c = text[start - 1];
    // A CR ends its line unless the LF of its CR LF is still to come.
    if (c == u'\n' || (c == u'\r' && (start >= text.size() || text[start] != u'\n'))) break;
    --start;
  }
  return start;
}

long long ColumnAt(TextView text, size_t pos) {
  long long column = 1;
  const size_t end = std::min(pos, text.size());
  for (size_t i = LineStartAt(text, pos); i < end; ++i) {
    if (text[i] < 0xDC00 || text[i] > 0xDFFF) ++column;  // a low surrogate ends its pair
  }
  return column;
}

}  // namespace ostra
