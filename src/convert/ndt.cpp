// NDT records: one X5.TXT line per depth with four count/length intervals and the value N.
#include <cmath>
#include <limits>

#include "base/numbers.h"
#include "base/sjis.h"
#include "convert/section_unit.h"
#include "convert/sections.h"

namespace ostra {

namespace {

constexpr int kMaxDigits = 18;  // an int64 holds every 18-digit mantissa
constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();

bool IsDigit(char16_t ch) {
  return ch >= u'0' && ch <= u'9';
}
bool IsBlankChar(char16_t ch) {
  return ch == u' ' || ch == u'\t';
}

// value x 10^n for n >= 0; false when the result would not fit.
bool ScaleUp(std::int64_t& value, int n) {
  for (int i = 0; i < n; ++i) {
    if (value > kInt64Max / 10 || value < -(kInt64Max / 10)) return false;
    value *= 10;
  }
  return true;
}

// 10^n for 0 <= n <= 18.
std::int64_t PowerOfTen(int n) {
  std::int64_t result = 1;
  for (int i = 0; i < n; ++i) result *= 10;
  return result;
}

Text NumberField(std::int64_t value) {
  if (value >= std::numeric_limits<std::int32_t>::min() &&
      value <= std::numeric_limits<std::int32_t>::max()) {
    return NumText(static_cast<std::int32_t>(value));
  }
  return NumText(static_cast<double>(value));
}

struct Interval {
  Text count = u"   ";
  Text length = u"   ";
};

Interval SplitInterval(const Text& field, const Text& defaultLength) {
  Interval result;
  if (field.empty()) return result;
  const size_t p = field.find(u'/');
  if (p == Text::npos) {
    result.count = RightField(field, 3);
    result.length = defaultLength;
  } else {
    result.count = RightField(TextView(field).substr(0, p), 3);
    result.length = RightField(TextView(field).substr(p + 1), 3);
  }
  return result;
}

// The value N: the count scaled to a length of 30, truncated toward zero.
Text ScaledCountText(const Text& countText, double count, const Text& lengthText, double length) {
  const auto exactCount = ParseDecimal(NarrowNumerals(countText), true);
  const auto exactLength = ParseDecimal(NarrowNumerals(lengthText), true);
  if (exactCount && exactLength && exactCount->Matches(count) && exactLength->Matches(length)) {
    if (exactLength->mantissa == 0) return NumText(count);
    if (const auto n = ScaledCount(*exactCount, *exactLength)) return NumberField(*n);
  }
  if (length == 0) return NumText(count);
  return NumText(std::trunc(30.0 * count / length));
}

}  // namespace

double DecimalValue::ToDouble() const {
  return static_cast<double>(mantissa) * std::pow(10.0, exponent);
}

bool DecimalValue::Matches(double value) const {
  return std::fabs(ToDouble() - value) <= 1e-9 * std::fmax(1.0, std::fabs(value));
}

std::optional<DecimalValue> ParseDecimal(TextView text, bool whole) {
  size_t i = 0;
  while (i < text.size() && IsBlankChar(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  DecimalValue result;
  int digits = 0;  // significant digits in the mantissa
  bool anyDigit = false;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char16_t ch = text[i];
    if (ch == u'.' && !point) {
      point = true;
      continue;
    }
    if (!IsDigit(ch)) break;
    anyDigit = true;
    if (point) --result.exponent;
    if (result.mantissa == 0 && ch == u'0') continue;  // leading zeros carry no digit
    if (++digits > kMaxDigits) return std::nullopt;
    result.mantissa = result.mantissa * 10 + (ch - u'0');
  }
  if (!anyDigit) return std::nullopt;
  // Exponent: "e" or "E", optional sign, at least one digit; otherwise not part of the number.
  if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
    size_t j = i + 1;
    bool negativeExponent = false;
    if (j < text.size() && (text[j] == u'+' || text[j] == u'-')) {
      negativeExponent = text[j] == u'-';
      ++j;
    }
    if (j < text.size() && IsDigit(text[j])) {
      int exponent = 0;
      for (; j < text.size() && IsDigit(text[j]); ++j) {
        if (exponent > 10000) return std::nullopt;
        exponent = exponent * 10 + (text[j] - u'0');
      }
      result.exponent += negativeExponent ? -exponent : exponent;
      i = j;
    }
  }
  if (whole) {
    while (i < text.size() && IsBlankChar(text[i])) ++i;
    if (i != text.size()) return std::nullopt;
  }
  if (negative) result.mantissa = -result.mantissa;
  return result;
}

std::optional<std::int64_t> ScaledCount(const DecimalValue& count, const DecimalValue& length) {
  if (length.mantissa == 0) return std::nullopt;
  // 30 x (c x 10^ec) / (l x 10^el) = (30 x c x 10^(ec-el)) / l, with the power of ten on
  // whichever side keeps it whole.
  std::int64_t numerator = count.mantissa;
  std::int64_t denominator = length.mantissa;
  const int shift = count.exponent - length.exponent;
  if (numerator > kInt64Max / 30 || numerator < -(kInt64Max / 30)) return std::nullopt;
  numerator *= 30;
  if (shift >= 0) {
    if (!ScaleUp(numerator, shift)) return std::nullopt;
  } else if (!ScaleUp(denominator, -shift)) {
    // The quotient is below 1 in magnitude whenever the denominator outgrows an int64.
    return 0;
  }
  return numerator / denominator;  // integer division truncates toward zero
}

std::optional<std::int64_t> HundredthsBetween(const DecimalValue& from, const DecimalValue& to) {
  const int common = from.exponent < to.exponent ? from.exponent : to.exponent;
  std::int64_t a = to.mantissa;
  std::int64_t b = from.mantissa;
  if (!ScaleUp(a, to.exponent - common) || !ScaleUp(b, from.exponent - common)) {
    return std::nullopt;
  }
  // Both are below 2^63 / 10 in magnitude after ScaleUp's check, so the difference fits.
  std::int64_t difference = a - b;
  const int exponent = common + 2;  // x 100
  if (exponent >= 0) {
    if (!ScaleUp(difference, exponent)) return std::nullopt;
    return difference;
  }
  if (-exponent > kMaxDigits) return 0;
  return difference / PowerOfTen(-exponent);
}

void WriteIntervalRecord(OutFile& x5, std::int16_t& seq, const RecordFields& rec) {
  Interval intervals[4];
  for (int k = 0; k < 4; ++k) intervals[k] = SplitInterval(rec[k + 2], k == 0 ? u" 30" : u" 10");

  // Interval 1 is rewritten from its numbers; without two numbers its fields stay blank.
  Text count = u"   ";
  Text n = u"   ";
  Text length = u"   ";
  const auto countValue = ReadNumber(intervals[0].count);
  const auto lengthValue = ReadNumber(intervals[0].length);
  if (countValue && lengthValue) {
    count = RightField(NumText(*countValue), 3);
    length = RightField(NumText(*lengthValue), 3);
    n = RightField(
        ScaledCountText(intervals[0].count, *countValue, intervals[0].length, *lengthValue), 3);
  }

  Text line =
      SequenceField(seq) + u"," + RightField(rec[1], 7) + u"," + count + u"," + n + u"," + length;
  for (int k = 1; k < 4; ++k) line += u"," + intervals[k].count + u"," + intervals[k].length;
  x5.Line(line);
  ++seq;
}

void ConvertNdtSection(const SectionRun& run, FieldReader& reader) {
  const double h1 = reader.ReadNumber(kWhatHeader);
  const int records = reader.ReadCount(kWhatRecords);
  const int fields = reader.ReadCount(kWhatFields);
  if (h1 != 100.0) return;
  SkipHeaderValue(reader);
  ConvertBlock(run, reader, u"X5.TXT", records, fields, [&](OutFile& x5, std::int16_t& counter) {
    WriteIntervalRecord(x5, counter, run.fields);
  });
}

}  // namespace ostra
