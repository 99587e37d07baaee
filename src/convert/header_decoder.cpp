// Decoding the MDT header items into the two title item lists.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

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

// The value of a half- or full-width digit, or -1.
int DigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'０' && c <= u'９') return c - u'０';
  return -1;
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

Text YearText(int year) {
  const std::string digits = std::to_string(year);
  return Text(digits.begin(), digits.end());
}

// A decimal number split into its digits as written.
struct DecimalDigits {
  bool negative = false;
  std::string whole;     // digits before the point, without leading zeros
  std::string fraction;  // digits after the point
};

// Reads [sign] digits [. digits] [exponent] and moves the point by the exponent, so that the
// digits stay exactly as written. nullopt for any other form.
std::optional<DecimalDigits> ParseDecimal(const Text& text) {
  size_t pos = 0;
  DecimalDigits result;
  if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
    result.negative = text[pos] == u'-';
    ++pos;
  }
  std::string mantissa;
  size_t wholeLen = 0;
  while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
    mantissa += static_cast<char>(text[pos++]);
  }
  wholeLen = mantissa.size();
  if (pos < text.size() && text[pos] == u'.') {
    ++pos;
    while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
      mantissa += static_cast<char>(text[pos++]);
    }
  }
  if (mantissa.empty()) return std::nullopt;
  long exponent = 0;
  if (pos < text.size() &&
      (text[pos] == u'E' || text[pos] == u'e' || text[pos] == u'D' || text[pos] == u'd')) {
    ++pos;
    bool negativeExp = false;
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
      negativeExp = text[pos] == u'-';
      ++pos;
    }
    const size_t start = pos;
    for (; pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9'; ++pos) {
      if (exponent < 100000) exponent = exponent * 10 + (text[pos] - u'0');
    }
    if (pos == start) return std::nullopt;
    if (negativeExp) exponent = -exponent;
  }
  if (pos != text.size()) return std::nullopt;

  const long point = static_cast<long>(wholeLen) + exponent;
  const long size = static_cast<long>(mantissa.size());
  if (point <= 0) {
    result.fraction = std::string(static_cast<size_t>(std::min(-point, 4L)), '0') + mantissa;
  } else if (point >= size) {
    result.whole = mantissa + std::string(static_cast<size_t>(point - size), '0');
  } else {
    result.whole = mantissa.substr(0, static_cast<size_t>(point));
    result.fraction = mantissa.substr(static_cast<size_t>(point));
  }
  const size_t firstNonZero = result.whole.find_first_not_of('0');
  result.whole = firstNonZero == std::string::npos ? "" : result.whole.substr(firstNonZero);
  return result;
}

// Number text of a whole number held as its decimal digits.
Text WholeText(const std::string& digits, bool negative) {
  if (digits.empty()) return NumText(std::int32_t{0});
  if (digits.size() <= 9) {
    const auto value = static_cast<std::int32_t>(std::stol(digits));
    return NumText(negative ? -value : value);
  }
  const double value = std::strtod(digits.c_str(), nullptr);
  if (!std::isfinite(value)) return NumText(std::int32_t{0});
  return NumText(negative ? -value : value);
}

// A pair of decimal digits from `from` on, missing digits counting as zeros.
std::string DigitPair(const std::string& fraction, size_t from) {
  std::string pair = from < fraction.size() ? fraction.substr(from, 2) : "";
  pair.resize(2, '0');
  return pair;
}

}  // namespace

Text ExpandYear(const Text& item) {
  if (const std::optional<int> year = EraYear(item)) return YearText(*year);
  const int n = IntOrZero(item);
  if (n >= 41 && n <= 64) return YearText(n + 1925);
  if (n > 1900) return item;
  return YearText(n + 1988);
}

std::array<Text, 3> SplitAngle(const Text& item) {
  const Text zero = NumText(std::int32_t{0});
  const Text text = Trim(NarrowNumerals(item));
  const std::optional<double> value = ReadNumber(text);
  if (!value || !std::isfinite(*value)) return {zero, zero, zero};
  if (const std::optional<DecimalDigits> digits = ParseDecimal(text)) {
    return {WholeText(digits->whole, digits->negative),
            WholeText(DigitPair(digits->fraction, 0), digits->negative),
            WholeText(DigitPair(digits->fraction, 2), digits->negative)};
  }
  // A number in some other written form: split its binary value.
  const double degrees = std::trunc(*value);
  const double minutes = std::trunc((*value - degrees) * 100);
  const double seconds = std::trunc(((*value - degrees) * 100 - minutes) * 100);
  return {NumText(degrees), NumText(minutes), NumText(seconds)};
}

}  // namespace title

namespace {

// The code of the first L1.TXT record whose name equals the full-width form of `name`, or
// two blanks.
Text LayerCodeOf(const RunEnv& env, const Text& name) {
  const Text key = ToFullWidth(name);
  FieldReader table = env.Tables().Reader(u"L1.TXT");
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
  FieldReader table = env.Tables().Reader(u"L2.TXT");
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

void DecodeHeaderItems(const RunEnv& env, const RecordFields& items, TitleItems& a, TitleItems& b) {
  a.fill(Text());
  b.fill(Text());
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
}

}  // namespace ostra
