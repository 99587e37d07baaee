// Number-to-text rules, fixed-width fields and reading numbers from text.
#include "base/numbers.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <string>
#include <system_error>

#include "base/sjis.h"

namespace ostra {

namespace {

// A finite value rounded to a number of significant digits: value = d1.d2d3... x 10^exponent,
// `digits` without trailing zeros ("0" with exponent 0 for zero).
struct Decimal {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

// significant = 7 for single precision, 15 for double. std::to_chars is locale-free and rounds
// the exact binary value correctly.
template <typename Real>
Decimal ToDecimal(Real value, int significant) {
  Decimal d;
  d.negative = std::signbit(value) && value != 0;
  if (value == 0) {
    d.digits = "0";
    return d;
  }
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
                           significant - 1);
  std::string text(buf, res.ptr);  // "1.234568e+07"
  std::size_t e = text.find('e');
  for (std::size_t i = 0; i < e; ++i) {
    if (text[i] != '.') d.digits.push_back(text[i]);
  }
  while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
  d.exponent = std::stoi(text.substr(e + 1));
  return d;
}

// Plain decimal form without sign and without a leading zero: "1234", "12.5", ".005".
std::string PlainForm(const Decimal& d) {
  const auto n = static_cast<int>(d.digits.size());
  if (d.exponent < 0)
    return "." + std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + d.digits;
  if (n <= d.exponent + 1)
    return d.digits + std::string(static_cast<std::size_t>(d.exponent + 1 - n), '0');
  return d.digits.substr(0, static_cast<std::size_t>(d.exponent + 1)) + "." +
         d.digits.substr(static_cast<std::size_t>(d.exponent + 1));
}

// Exponent form without sign: "1.234568E+07", "1E-05".
std::string ExponentForm(const Decimal& d) {
  std::string out(1, d.digits[0]);
  if (d.digits.size() > 1) out += "." + d.digits.substr(1);
  out += d.exponent < 0 ? "E-" : "E+";
  std::string exp = std::to_string(d.exponent < 0 ? -d.exponent : d.exponent);
  if (exp.size() < 2) exp.insert(0, "0");
  return out + exp;
}

Text Ascii(const std::string& s) {
  return Text(s.begin(), s.end());
}

// Text for infinities and NaN, which the converters never produce but must not choke on.
Text NonFiniteText(bool nan, bool negative) {
  if (nan) return u" NaN";
  return negative ? u"-Inf" : u" Inf";
}

template <typename Real>
Text RealText(Real value, int significant) {
  if (!std::isfinite(value)) return NonFiniteText(std::isnan(value), std::signbit(value));
  Decimal d = ToDecimal(value, significant);
  // Plain form from 1E-04 up to the last magnitude the significant digits can show.
  bool plain = d.exponent >= -4 && d.exponent < significant;
  return Ascii((d.negative ? "-" : " ") + (plain ? PlainForm(d) : ExponentForm(d)));
}

// Length of the longest leading part of s from `pos` on that reads as a decimal number:
// optional sign, digits with at most one ".", at least one digit, then an exponent only when
// it is complete ("e", optional sign, at least one digit). 0 when there is none.
std::size_t ScanNumber(TextView s, std::size_t pos) {
  auto isDigit = [&s](std::size_t i) { return i < s.size() && s[i] >= u'0' && s[i] <= u'9'; };
  std::size_t i = pos;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ++i;
  std::size_t mantissaDigits = 0;
  while (isDigit(i)) ++i, ++mantissaDigits;
  if (i < s.size() && s[i] == u'.') {
    ++i;
    while (isDigit(i)) ++i, ++mantissaDigits;
  }
  if (mantissaDigits == 0) return 0;
  if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == u'+' || s[j] == u'-')) ++j;
    if (isDigit(j)) {
      while (isDigit(j)) ++j;
      i = j;
    }
  }
  return i - pos;
}

// Rough decimal magnitude of a number text found by ScanNumber: the power of ten of its first
// non-zero digit, plus one. Enough to tell an overflow (> 0) from an underflow.
long DecimalMagnitude(const std::string& ascii) {
  std::size_t e = ascii.find_first_of("eE");
  std::string mantissa = ascii.substr(0, e);
  std::size_t point = mantissa.find('.');
  std::size_t first = mantissa.find_first_of("123456789");
  if (first == std::string::npos) return 0;
  if (point == std::string::npos) point = mantissa.size();
  long magnitude =
      first < point ? static_cast<long>(point - first) : -static_cast<long>(first - point - 1);
  if (e != std::string::npos) {
    long exponent = 0;
    bool minus = ascii[e + 1] == '-';
    for (std::size_t i = e + 1; i < ascii.size(); ++i) {
      if (ascii[i] >= '0' && ascii[i] <= '9' && exponent < 1000000) {
        exponent = exponent * 10 + (ascii[i] - '0');
      }
    }
    magnitude += minus ? -exponent : exponent;
  }
  return magnitude;
}

// Converts a span found by ScanNumber. nullopt when the magnitude does not fit Real.
template <typename Real>
std::optional<Real> ConvertNumber(TextView number) {
  std::string ascii;
  ascii.reserve(number.size());
  for (char16_t ch : number) ascii.push_back(static_cast<char>(ch));
  bool negative = !ascii.empty() && ascii[0] == '-';
  // std::from_chars takes a leading "-" but no "+".
  std::size_t skip = !ascii.empty() && ascii[0] == '+' ? 1 : 0;
  Real value = 0;
  auto res = std::from_chars(ascii.data() + skip, ascii.data() + ascii.size(), value);
  if (res.ec == std::errc::result_out_of_range) {
    // from_chars leaves `value` unset here. Too small to hold is zero; too large is not a
    // usable number.
    if (DecimalMagnitude(ascii) > 0) return std::nullopt;
    return negative ? -Real(0) : Real(0);
  }
  if (res.ec != std::errc() || res.ptr != ascii.data() + ascii.size()) return std::nullopt;
  return value;
}

// The whole text (blanks around it allowed, full-width numerals accepted) as a number.
template <typename Real>
std::optional<Real> WholeNumber(TextView text) {
  Text narrow = Trim(NarrowNumerals(text));
  if (narrow.empty() || ScanNumber(narrow, 0) != narrow.size()) return std::nullopt;
  return ConvertNumber<Real>(narrow);
}

// Rounds to the nearest integer, ties to the even one.
double RoundHalfEven(double v) {
  double lower = std::floor(v);
  double diff = v - lower;
  if (diff > 0.5) return lower + 1;
  if (diff < 0.5) return lower;
  return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

}  // namespace

Text NumText(float value) {
  return RealText(value, 7);
}
Text NumText(double value) {
  return RealText(value, 15);
}

Text NumText(std::int32_t value) {
  std::string s = std::to_string(value);
  return Ascii(value < 0 ? s : " " + s);
}

Text RightField(TextView text, int w) {
  if (w <= 0) return Text();
  const auto width = static_cast<std::size_t>(w);
  if (text.size() >= width) return Text(text.substr(text.size() - width));
  Text out(width - text.size(), u' ');
  out += text;
  return out;
}

void FormatDecimal2(std::int16_t w, float value, Text& result) {
  Text r;
  if (std::isfinite(value)) {
    // Always plain decimal form, from the 7 significant digits of the single value.
    Decimal d = ToDecimal(value, 7);
    r = Ascii((d.negative ? "-" : "") + PlainForm(d));
  } else {
    r = TrimLeft(NumText(value));
  }
  std::size_t point = r.find(u'.');
  if (point == Text::npos) {
    r += u".00";
  } else {
    if (point == 0) {
      r.insert(0, u"0");
      ++point;
    } else if (point == 1 && r[0] == u'-') {
      r.insert(1, u"0");
      ++point;
    }
    std::size_t decimals = r.size() - point - 1;
    if (decimals < 2) {
      r.append(2 - decimals, u'0');
    } else {
      r.resize(point + 3);  // truncated towards zero, never rounded
    }
  }
  result = RightField(r, w);
}

Text FormatDecimal2(std::int16_t w, float value) {
  Text result;
  FormatDecimal2(w, value, result);
  return result;
}

std::int16_t IntOrZero(TextView text) {
  std::optional<float> value = WholeNumber<float>(text);
  if (!value || !std::isfinite(*value)) return 0;
  double rounded = RoundHalfEven(static_cast<double>(*value));
  if (rounded < -32768.0 || rounded > 32767.0) return 0;
  return static_cast<std::int16_t>(rounded);
}

double LeadingNumber(TextView text) {
  Text narrow = NarrowNumerals(text);
  std::size_t start = 0;
  while (start < narrow.size() && narrow[start] == u' ') ++start;
  std::size_t len = ScanNumber(narrow, start);
  if (len == 0) return 0;
  return ConvertNumber<double>(TextView(narrow).substr(start, len)).value_or(0);
}

std::optional<double> ReadNumber(TextView text) {
  return WholeNumber<double>(text);
}

Text NarrowNumerals(TextView text) {
  Text out(text);
  for (char16_t& ch : out) {
    if (ch >= u'０' && ch <= u'９') {
      ch = static_cast<char16_t>(u'0' + (ch - u'０'));
    } else if (ch == u'．') {
      ch = u'.';
    } else if (ch == u'－' || ch == u'\u2212') {
      // Code page 932 "－" (0x817C) decodes to U+FF0D or U+2212 depending on the converter.
      ch = u'-';
    } else if (ch == u'＋') {
      ch = u'+';
    } else if (ch == u'\u3000') {
      ch = u' ';
    }
  }
  return out;
}

}  // namespace ostra
