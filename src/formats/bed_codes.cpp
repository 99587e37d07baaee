#include "formats/bed_codes.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace ostra {

// data/bed-standard-codes.tsv as the build read it (cmake/bed_codes.cmake).
std::string_view BedStandardCodesText();

namespace {

constexpr std::pair<std::string_view, BedClass> kClassKeys[] = {
    {"rock-grade", BedClass::kRockGrade},  {"weathering", BedClass::kWeathering},
    {"hardness", BedClass::kHardness},     {"fracture", BedClass::kFracture},
    {"alteration", BedClass::kAlteration}, {"core-shape", BedClass::kCoreShape},
};

BedClass ClassOfKey(std::string_view key) {
  for (const auto& [name, cls] : kClassKeys) {
    if (name == key) return cls;
  }
  throw std::logic_error("bed-standard-codes.tsv: unknown class " + std::string(key));
}

// The tab-separated fields of one line.
std::vector<std::string_view> SplitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    size_t tab = line.find('\t');
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return fields;
    line.remove_prefix(tab + 1);
  }
}

std::vector<BedStandardRow> ParseRows(std::string_view text) {
  std::vector<BedStandardRow> rows;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    std::vector<std::string_view> fields = SplitTabs(line);
    if (fields.size() < 5) {
      throw std::logic_error("bed-standard-codes.tsv: a row of fewer than five columns");
    }
    rows.push_back({ClassOfKey(fields[0]), FromUtf8(fields[1]), FromUtf8(fields[2]),
                    FromUtf8(fields[3]), FromUtf8(fields[4])});
  }
  return rows;
}

bool IsBlankOrBreak(char16_t c) {
  return c == u' ' || c == u'\u3000' || c == u'\t' || c == u'\r' || c == u'\n';
}

TextView TrimValue(TextView value) {
  while (!value.empty() && IsBlankOrBreak(value.front())) value.remove_prefix(1);
  while (!value.empty() && IsBlankOrBreak(value.back())) value.remove_suffix(1);
  return value;
}

bool IsAsciiDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

// The own table's symbol of `code`, or null when the table does not define it. Keys and
// symbols are compared and taken trimmed, else as written; an entry whose symbol is empty
// defines nothing.
std::optional<Text> OwnSymbol(const BedOwnTable& own, TextView code) {
  auto take = [](const Text& symbol) -> std::optional<Text> {
    TextView trimmed = TrimValue(symbol);
    if (trimmed.empty()) return std::nullopt;
    return Text(trimmed);
  };
  if (auto it = own.find(Text(code)); it != own.end()) {
    if (auto symbol = take(it->second)) return symbol;
  }
  for (const auto& [key, symbol] : own) {
    if (TrimValue(key) == code) {
      if (auto found = take(symbol)) return found;
    }
  }
  return std::nullopt;
}

const Text* StandardSymbol(BedClass cls, TextView code) {
  for (const BedStandardRow& row : BedStandardRows()) {
    if (row.cls == cls && row.code == code) return &row.symbol;
  }
  return nullptr;
}

}  // namespace

const std::vector<BedStandardRow>& BedStandardRows() {
  static const std::vector<BedStandardRow> rows = ParseRows(BedStandardCodesText());
  return rows;
}

BedCodeResult ResolveBedCode(BedClass cls, std::u16string_view value, const BedOwnTable& own) {
  TextView code = TrimValue(value);
  if (code.empty()) return {};
  // "0" and "000" stand for no value in real files; no table defines them.
  if (code == u"0" || code == u"000") return {Text(code), BedCodeSource::kRaw, true};
  if (std::optional<Text> symbol = OwnSymbol(own, code)) {
    return {std::move(*symbol), BedCodeSource::kOwnTable, false};
  }
  if (const Text* symbol = StandardSymbol(cls, code)) {
    return {*symbol, BedCodeSource::kStandard, false};
  }
  bool looksLikeCode =
      code.size() == 3 && IsAsciiDigit(code[0]) && IsAsciiDigit(code[1]) && IsAsciiDigit(code[2]);
  return {Text(code), BedCodeSource::kRaw, looksLikeCode};
}

}  // namespace ostra
