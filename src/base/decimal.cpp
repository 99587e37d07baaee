// Decimal numbers exactly as written: the one reader of numbers in text.
#include "base/decimal.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <string>
#include <system_error>

namespace ostra {

namespace {

// An exponent stops growing at this magnitude, far beyond any double, so that nothing overflows.
constexpr std::int64_t kExponentLimit = 1000000000000000;
// Beyond this many powers of ten from the point, no value fits a double or float.
constexpr std::int64_t kMagnitudeLimit = 400;
constexpr std::size_t kMantissaDigits = 18;  // an int64 holds every 18-digit number

// The half-width form of a full-width digit, point, sign or blank; any other character as it is.
char16_t Narrow(char16_t ch) {
  if (ch >= u'０' && ch <= u'９') return static_cast<char16_t>(u'0' + (ch - u'０'));
  switch (ch) {
    case u'．':
      return u'.';
    case u'－':
    case u'\u2212':
      return u'-';
    case u'＋':
      return u'+';
    case u'\u3000':
      return u' ';
    default:
      return ch;
  }
}

bool IsDigit(char16_t narrow) {
  return narrow >= u'0' && narrow <= u'9';
}

// Reads a number from `text` at `pos` (blanks already skipped), moving `pos` past it.
std::optional<DecimalNumber> ScanNumber(TextView text, std::size_t& pos) {
  auto at = [&text](std::size_t i) { return i < text.size() ? Narrow(text[i]) : u'\0'; };
  DecimalNumber number;
  std::size_t i = pos;
  if (at(i) == u'+' || at(i) == u'-') {
    number.negative = at(i) == u'-';
    ++i;
  }
  bool anyDigit = false;
  bool point = false;
  std::int64_t fractionDigits = 0;
  for (; i < text.size(); ++i) {
    const char16_t ch = at(i);
    if (ch == u'.' && !point) {
      point = true;
      continue;
    }
    if (!IsDigit(ch)) break;
    anyDigit = true;
    if (point) ++fractionDigits;
    if (number.digits.empty() && ch == u'0') continue;  // leading zeros carry no digit
    number.digits.push_back(static_cast<char>(ch));
  }
  if (!anyDigit) return std::nullopt;
  std::int64_t exponent = 0;
  if (at(i) == u'e' || at(i) == u'E') {
    std::size_t j = i + 1;
    const bool negativeExponent = at(j) == u'-';
    if (at(j) == u'+' || at(j) == u'-') ++j;
    if (IsDigit(at(j))) {
      for (; IsDigit(at(j)); ++j) {
        if (exponent < kExponentLimit) exponent = exponent * 10 + (at(j) - u'0');
      }
      if (negativeExponent) exponent = -exponent;
      i = j;
    }
  }
  number.exponent = exponent - fractionDigits;
  pos = i;
  return number;
}

template <typename Real>
std::optional<Real> ToReal(const DecimalNumber& number) {
  const Real zero = number.negative ? -Real(0) : Real(0);
  if (number.IsZero()) return zero;
  // The power of ten of the first digit, plus one.
  const std::int64_t magnitude = static_cast<std::int64_t>(number.digits.size()) + number.exponent;
  if (magnitude > kMagnitudeLimit) return std::nullopt;
  if (magnitude < -kMagnitudeLimit) return zero;
  const std::string text = number.digits + "e" + std::to_string(number.exponent);
  Real value = 0;
  // std::from_chars is locale-free and rounds correctly.
  const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
  if (res.ec == std::errc::result_out_of_range) {
    // `value` is left unset here: too small to hold is zero, too large is no usable number.
    if (magnitude > 0) return std::nullopt;
    return zero;
  }
  if (res.ec != std::errc()) return std::nullopt;
  return number.negative ? -value : value;
}

// Rounds to the nearest integer, ties to the even one.
double RoundHalfEven(double v) {
  const double lower = std::floor(v);
  const double diff = v - lower;
  if (diff > 0.5) return lower + 1;
  if (diff < 0.5) return lower;
  return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

}  // namespace

int DecimalNumber::DigitAt(std::int64_t power) const {
  const auto count = static_cast<std::int64_t>(digits.size());
  const std::int64_t fromLast = power - exponent;
  if (fromLast < 0 || fromLast >= count) return 0;
  return digits[static_cast<std::size_t>(count - 1 - fromLast)] - '0';
}

DecimalNumber DecimalNumber::Truncated() const {
  if (exponent >= 0) return *this;
  DecimalNumber whole;
  whole.negative = negative;
  const std::int64_t kept = static_cast<std::int64_t>(digits.size()) + exponent;
  if (kept > 0) whole.digits = digits.substr(0, static_cast<std::size_t>(kept));
  return whole;
}

std::optional<double> DecimalNumber::ToDouble() const {
  return ToReal<double>(*this);
}

std::optional<float> DecimalNumber::ToFloat() const {
  return ToReal<float>(*this);
}

std::optional<std::int64_t> DecimalNumber::Mantissa() const {
  if (digits.size() > kMantissaDigits) return std::nullopt;
  std::int64_t value = 0;
  for (char digit : digits) value = value * 10 + (digit - '0');
  return negative ? -value : value;
}

std::optional<DecimalNumber> ParseDecimal(TextView text, DecimalEnd end) {
  std::size_t pos = 0;
  while (pos < text.size() && Narrow(text[pos]) == u' ') ++pos;
  std::optional<DecimalNumber> number = ScanNumber(text, pos);
  if (!number || end == DecimalEnd::kAnyText) return number;
  while (pos < text.size() && Narrow(text[pos]) == u' ') ++pos;
  if (pos != text.size()) return std::nullopt;
  return number;
}

int DigitValue(char16_t ch) {
  const char16_t narrow = Narrow(ch);
  return IsDigit(narrow) ? narrow - u'0' : -1;
}

DecimalNumber RoundedDecimal(double value, int significant) {
  DecimalNumber number;
  number.negative = std::signbit(value) && value != 0;
  if (value == 0) return number;
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                 std::chars_format::scientific, significant - 1);
  const std::string text(buf, res.ptr);  // "1.234568e+07"
  const std::size_t e = text.find('e');
  for (std::size_t i = 0; i < e; ++i) {
    if (text[i] != '.') number.digits.push_back(text[i]);
  }
  while (number.digits.size() > 1 && number.digits.back() == '0') number.digits.pop_back();
  // The text gives the power of the first digit; the number keeps that of the last.
  number.exponent =
      std::stoi(text.substr(e + 1)) - static_cast<std::int64_t>(number.digits.size() - 1);
  return number;
}

Text NarrowNumerals(TextView text) {
  Text out(text);
  for (char16_t& ch : out) ch = Narrow(ch);
  return out;
}

std::optional<double> ReadNumber(TextView text) {
  const std::optional<DecimalNumber> number = ParseDecimal(text);
  if (!number) return std::nullopt;
  return number->ToDouble();
}

double LeadingNumber(TextView text) {
  const std::optional<DecimalNumber> number = ParseDecimal(text, DecimalEnd::kAnyText);
  if (!number) return 0;
  return number->ToDouble().value_or(0);
}

std::int16_t IntOrZero(TextView text) {
  const std::optional<DecimalNumber> number = ParseDecimal(text);
  const std::optional<float> value = number ? number->ToFloat() : std::nullopt;
  if (!value || !std::isfinite(*value)) return 0;
  const double rounded = RoundHalfEven(static_cast<double>(*value));
  if (rounded < -32768.0 || rounded > 32767.0) return 0;
  return static_cast<std::int16_t>(rounded);
}

}  // namespace ostra
