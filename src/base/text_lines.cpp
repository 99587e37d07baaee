#include "base/text_lines.h"

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

}  // namespace ostra
