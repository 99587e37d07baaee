#include "preview/fill_patterns.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <stdexcept>
#include <unordered_map>

namespace ostra {

// data/boring-log-patterns.tsv as the build read it (cmake/boring_log_patterns.cmake).
std::string_view BoringLogPatternsText();

namespace {

// Looks up a key by a view of the name, without a copy.
struct TextHash {
  using is_transparent = void;
  size_t operator()(TextView text) const { return std::hash<TextView>{}(text); }
};
using KeyMap = std::unordered_map<Text, PatternBit, TextHash, std::equal_to<>>;

struct Table {
  std::vector<PatternInfo> patterns;
  std::vector<PatternTile> tiles;  // one for each pattern
  std::vector<PatternKey> keys;
  KeyMap whole;
  KeyMap endings;
  size_t longestEnding = 0;
};

[[noreturn]] void Malformed(std::string_view what) {
  throw std::logic_error("boring-log-patterns.tsv: " + std::string(what));
}

std::vector<std::string_view> Split(std::string_view line, std::string_view separator) {
  std::vector<std::string_view> fields;
  for (;;) {
    const size_t at = line.find(separator);
    fields.push_back(line.substr(0, at));
    if (at == std::string_view::npos) return fields;
    line.remove_prefix(at + separator.size());
  }
}

double Number(std::string_view text) {
  double value = 0;
  const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
  if (res.ec != std::errc() || res.ptr != text.data() + text.size()) {
    Malformed("not a number: " + std::string(text));
  }
  return value;
}

PatternTile ParseTile(std::string_view size, std::string_view marks) {
  PatternTile tile;
  tile.size = Number(size);
  for (std::string_view text : Split(marks, "; ")) {
    const std::vector<std::string_view> f = Split(text, " ");
    TileMark mark;
    if ((f[0] == "dot" || f[0] == "ring") && f.size() == 4) {
      mark = {f[0] == "dot" ? TileMark::kDot : TileMark::kRing, Number(f[1]), Number(f[2]),
              Number(f[3]), 0};
    } else if (f[0] == "line" && f.size() == 5) {
      mark = {TileMark::kLine, Number(f[1]), Number(f[2]), Number(f[3]), Number(f[4])};
    } else {
      Malformed("not a mark: " + std::string(text));
    }
    tile.marks.push_back(mark);
  }
  return tile;
}

PatternBit BitOfId(const Table& table, std::string_view id) {
  for (const PatternInfo& p : table.patterns) {
    if (p.id == id) return p.bit;
  }
  Malformed("no pattern " + std::string(id));
}

Table Parse(std::string_view text) {
  Table table;
  for (std::string_view line : Split(text, "\n")) {
    if (line.empty() || line[0] == '#') continue;
    const std::vector<std::string_view> f = Split(line, "\t");
    if (f[0] == "pattern" && f.size() == 6) {
      if (table.patterns.size() == 32) Malformed("more than 32 patterns");
      const PatternBit bit = 1u << table.patterns.size();
      table.patterns.push_back({bit, std::string(f[1]), std::string(f[2]), FromUtf8(f[3])});
      table.tiles.push_back(ParseTile(f[4], f[5]));
    } else if (f[0] == "key" && f.size() == 4 && (f[2] == "whole" || f[2] == "ending")) {
      PatternKey key{FromUtf8(f[1]), f[2] == "whole", BitOfId(table, f[3])};
      (key.whole ? table.whole : table.endings).emplace(key.text, key.bit);
      if (!key.whole) table.longestEnding = std::max(table.longestEnding, key.text.size());
      table.keys.push_back(std::move(key));
    } else {
      Malformed("not a row: " + std::string(line));
    }
  }
  return table;
}

const Table& TheTable() {
  static const Table table = Parse(BoringLogPatternsText());
  return table;
}

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\u3000' || c == u'\t';
}

}  // namespace

const std::vector<PatternInfo>& AllPatterns() {
  return TheTable().patterns;
}

const std::vector<PatternKey>& AllPatternKeys() {
  return TheTable().keys;
}

const PatternInfo* PatternOf(PatternBit bit) {
  for (const PatternInfo& p : AllPatterns()) {
    if (p.bit == bit) return &p;
  }
  return nullptr;
}

Text PatternName(TextView name) {
  Text out;
  int depth = 0;
  for (char16_t c : name) {
    if (c == u'（' || c == u'(') {
      ++depth;
    } else if ((c == u'）' || c == u')') && depth > 0) {
      --depth;
    } else if (depth == 0) {
      out += c;
    }
  }
  size_t first = 0;
  while (first < out.size() && IsBlank(out[first])) ++first;
  size_t last = out.size();
  while (last > first && IsBlank(out[last - 1])) --last;
  return out.substr(first, last - first);
}

PatternSet PatternsFor(TextView name) {
  const Table& table = TheTable();
  const Text matched = PatternName(name);
  if (auto it = table.whole.find(TextView(matched)); it != table.whole.end()) return it->second;
  const TextView view(matched);
  const size_t from = view.size() > table.longestEnding ? view.size() - table.longestEnding : 0;
  for (size_t at = from; at < view.size(); ++at) {
    if (auto it = table.endings.find(view.substr(at)); it != table.endings.end()) {
      return it->second;
    }
  }
  return 0;
}

PatternTile TileOf(PatternBit bit) {
  const Table& table = TheTable();
  for (size_t i = 0; i < table.patterns.size(); ++i) {
    if (table.patterns[i].bit == bit) return table.tiles[i];
  }
  return {};
}

}  // namespace ostra
