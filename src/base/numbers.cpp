// Number-to-text rules and fixed-width fields.
#include "base/numbers.h"

#include <cmath>
#include <cstddef>
#include <string>

#include "base/sjis.h"

namespace ostra {

namespace {

Text Ascii(const std::string& s) {
  return Text(s.begin(), s.end());
}

// The power of ten of the first digit of a non-zero number.
std::int64_t FirstPower(const DecimalNumber& d) {
  return static_cast<std::int64_t>(d.digits.size()) - 1 + d.exponent;
}

// Plain decimal form without sign and without a leading zero: "1234", "12.5", ".005"; "0" for
// zero.
std::string PlainForm(const DecimalNumber& d) {
  if (d.IsZero()) return "0";
  if (d.exponent >= 0) return d.digits + std::string(static_cast<std::size_t>(d.exponent), '0');
  const std::int64_t whole = static_cast<std::int64_t>(d.digits.size()) + d.exponent;
  if (whole <= 0) return "." + std::string(static_cast<std::size_t>(-whole), '0') + d.digits;
  const auto point = static_cast<std::size_t>(whole);
  return d.digits.substr(0, point) + "." + d.digits.substr(point);
}

// Exponent form without sign of a non-zero number: "1.234568E+07", "1E-05".
Text ExponentForm(const DecimalNumber& d) {
  std::string out(1, d.digits[0]);
  if (d.digits.size() > 1) out += "." + d.digits.substr(1);
  const std::int64_t power = FirstPower(d);
  out += power < 0 ? "E-" : "E+";
  const std::int64_t magnitude = power < 0 ? -power : power;
  return Ascii(out) + (magnitude < 10 ? ZeroPadded(magnitude, 2) : IntText(magnitude));
}

// Text for infinities and NaN, which the converters never produce but must not choke on.
Text NonFiniteText(bool nan, bool negative) {
  if (nan) return u" NaN";
  return negative ? u"-Inf" : u" Inf";
}

template <typename Real>
Text RealText(Real value, int significant) {
  if (!std::isfinite(value)) return NonFiniteText(std::isnan(value), std::signbit(value));
  const DecimalNumber d = RoundedDecimal(value, significant);
  // Plain form from 1E-04 up to the last magnitude the significant digits can show.
  const bool plain = d.IsZero() || (FirstPower(d) >= -4 && FirstPower(d) < significant);
  return (d.negative ? u"-" : u" ") + (plain ? Ascii(PlainForm(d)) : ExponentForm(d));
}

}  // namespace

Text NumText(float value) {
  return RealText(value, 7);
}
Text NumText(double value) {
  return RealText(value, 15);
}

Text NumText(std::int32_t value) {
  return value < 0 ? IntText(value) : u" " + IntText(value);
}

Text IntText(long long value) {
  return Ascii(std::to_string(value));
}

Text ZeroPadded(long long value, int width) {
  if (width <= 0) return Text();
  const Text digits = Text(static_cast<std::size_t>(width), u'0') + IntText(value);
  return digits.substr(digits.size() - static_cast<std::size_t>(width));
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
    const DecimalNumber d = RoundedDecimal(value, 7);
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

}  // namespace ostra
