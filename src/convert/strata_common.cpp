#include <string>

#include "base/numbers.h"
#include "base/text_lines.h"
#include "convert/strata_internal.h"
#include "env/files.h"
#include "formats/code_table.h"

namespace ostra::strata {

Text LinePrefix(std::int16_t counter, const Text& depth) {
  return RightField(NumText(static_cast<std::int32_t>(counter)), 3) + u"," + RightField(depth, 7) +
         u",";
}

std::pair<Text, Text> SplitRange(const Text& text) {
  const size_t mark = text.find(kRangeMark);
  if (mark == Text::npos) return {text, Text()};
  return {text.substr(0, mark), text.substr(mark + 1)};
}

namespace {

bool IsBlank(char16_t ch) {
  return ch == u' ' || ch == u'\t';
}

}  // namespace

Text TableField(const Text& name) {
  const bool needsQuotes =
      !name.empty() && (name.find(u',') != Text::npos || name.front() == u'"' ||
                        IsBlank(name.front()) || IsBlank(name.back()));
  if (!needsQuotes) return name;
  Text quoted = u"\"";
  for (char16_t ch : name) quoted += (ch == u'"') ? u'＂' : ch;
  quoted += u'"';
  return quoted;
}

Text OneLine(const Text& text) {
  Text line;
  for (char16_t ch : text) {
    if (ch != u'\r' && ch != u'\n') line.push_back(ch);
  }
  return line;
}

}  // namespace ostra::strata
