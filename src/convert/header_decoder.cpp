// Decoding the MDT header items into the two title item lists.
#include <cstdint>
#include <optional>

#include "base/decimal.h"
#include "base/errors.h"
#include "base/numbers.h"
#include "base/sjis.h"
#include "convert/header_rules.h"
#include "convert/title.h"
#include "env/files.h"
#include "formats/code_table.h"

namespace ostra {
namespace title {
namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\u3000';
}

size_t SkipBlanks(const Text& text, size_t pos) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  return pos;
}

// The year before the first year of the era that `text` starts with at `pos` (an era letter
// in either width and case, an era name or an era symbol); advances `pos` past it.
std::optional<int> EraBase(const Text& text, size_t& pos) {
  struct Era {
    char16_t letter;
    TextView name;
    char16_t symbol;  // 0: none
    int base;
  };
  static constexpr Era kEras[] = {
      {u'm', u"明治", u'\u337E', 1867}, {u't', u"大正", u'\u337D', 1911},
      {u's', u"昭和", u'\u337C', 1925}, {u'h', u"平成", u'\u337B', 1988},
      {u'r', u"令和", 0, 2018},
  };
  if (pos >= text.size()) return std::nullopt;
  char16_t c = text[pos];
  if (c >= u'\uFF21' && c <= u'\uFF5A') c = static_cast<char16_t>(c - 0xFEE0);  // full width
  if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  const TextView rest = TextView(text).substr(pos);
  for (const Era& era : kEras) {
    if (c == era.letter || (era.symbol != 0 && text[pos] == era.symbol)) {
      pos += 1;
      return era.base;
    }
    if (rest.substr(0, era.name.size()) == era.name) {
      pos += era.name.size();
      return era.base;
    }
  }
  return std::nullopt;
}

// The year written with an era ("H10", "Ｒ５", "平成 元年", "㍻10年"), or nullopt when the
// text is not of that form.
std::optional<int> EraYear(const Text& text) {
  size_t pos = SkipBlanks(text, 0);
  const std::optional<int> base = EraBase(text, pos);
  if (!base) return std::nullopt;
  pos = SkipBlanks(text, pos);
  int number = 0;
  if (pos < text.size() && text[pos] == u'元') {
    number = 1;
    ++pos;
  } else {
    size_t digits = 0;
    for (; pos < text.size() && DigitValue(text[pos]) >= 0; ++pos, ++digits) {
      if (digits == 6) return std::nullopt;  // no era lasts that long
      number = number * 10 + DigitValue(text[pos]);
    }
    if (digits == 0) return std::nullopt;
  }
  if (pos < text.size() && text[pos] == u'年') ++pos;
  if (SkipBlanks(text, pos) != text.size()) return std::nullopt;
  return *base + number;
}

// The number text of a whole number: " 35", "-35", " 1E+20" for digits beyond 15.
Text WholeText(const DecimalNumber& whole) {
  const std::optional<double> value = whole.ToDouble();
  return value ? NumText(*value) : NumText(std::int32_t{0});
}

// The number text of the two digits from 10^high down, with the sign of `number`.
Text DigitPairText(const DecimalNumber& number, std::int64_t high) {
  const int pair = number.DigitAt(high) * 10 + number.DigitAt(high - 1);
  return NumText(std::int32_t{number.negative ? -pair : pair});
}

}  // namespace

Text ExpandYear(const Text& item) {
  if (const std::optional<int> year = EraYear(item)) return IntText(*year);
  const int n = IntOrZero(item);
  if (n >= 41 && n <= 64) return IntText(n + 1925);
  if (n > 1900) return item;
  return IntText(n + 1988);
}

std::array<Text, 3> SplitAngle(const Text& item) {
  const Text zero = NumText(std::int32_t{0});
  const std::optional<DecimalNumber> angle = ParseDecimal(item);
  if (!angle || !angle->ToDouble()) return {zero, zero, zero};
  return {WholeText(angle->Truncated()), DigitPairText(*angle, -1), DigitPairText(*angle, -3)};
}

}  // namespace title

namespace {

// The code of the first L1.TXT record whose name equals the full-width form of `name`, or
// two blanks.
Text LayerCodeOf(const RunEnv& env, const Text& name) {
  const Text key = ToFullWidth(name);
  FieldReader table = env.Tables().Reader(kTableL1.name);
  Text code;
  while (!table.AtEnd()) {
    Text recordCode = table.ReadText();
    if (table.ReadText() == key) {
      code = std::move(recordCode);
      break;
    }
  }
  return code.empty() ? Text(u"  ") : code;
}

// The code of the first L2.TXT record whose name contains the first three characters of
// `name` in half-width or in full-width form, or "04".
Text RockCodeOf(const RunEnv& env, const Text& name) {
  const Text keyHalf = ToHalfWidth(name).substr(0, 3);
  const Text keyFull = ToFullWidth(name).substr(0, 3);
  FieldReader table = env.Tables().Reader(kTableL2.name);
  Text code;
  while (!table.AtEnd()) {
    Text recordCode = table.ReadText();
    const Text recordName = table.ReadText();
    if (recordName.find(keyHalf) != Text::npos || recordName.find(keyFull) != Text::npos) {
      code = std::move(recordCode);
      break;
    }
  }
  return code.empty() ? Text(u"04") : code;
}

}  // namespace

TitleItemLists DecodeHeaderItems(const RunEnv& env, const RecordFields& items) {
  TitleItemLists lists;
  TitleItems& a = lists.a;
  TitleItems& b = lists.b;
  a[1] = items[1];
  a[6] = items[3];
  b[1] = items[4];
  a[5] = items[5];
  a[10] = title::ExpandYear(items[6]);
  a[11] = items[7];
  a[12] = items[8];
  a[13] = title::ExpandYear(items[9]);
  a[14] = items[10];
  a[15] = items[11];
  a[17] = items[13];
  a[16] = LayerCodeOf(env, items[12]);
  const std::array<Text, 3> latitude = title::SplitAngle(items[14]);
  const std::array<Text, 3> longitude = title::SplitAngle(items[15]);
  b[5] = latitude[0];
  b[6] = latitude[1];
  b[7] = latitude[2];
  b[8] = longitude[0];
  b[9] = longitude[1];
  b[10] = longitude[2];
  a[20] = items[16];
  a[21] = items[17];
  a[22] = items[18];
  a[23] = items[19];
  a[24] = items[20];
  a[27] = RockCodeOf(env, items[21]);
  a[25] = items[22];
  a[26] = items[23];
  b[12] = items[24];
  b[13] = items[25];
  b[14] = items[26];
  a[4] = items[29];
  return lists;
}

}  // namespace ostra
