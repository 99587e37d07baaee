// NDT records: one X5.TXT line per depth with four count/length intervals and the value N.
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "base/decimal.h"
#include "base/numbers.h"
#include "base/sjis.h"
#include "convert/section_unit.h"
#include "convert/sections.h"

namespace ostra {

namespace {

constexpr int kMaxDigits = 18;  // an int64 holds every 18-digit mantissa
constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();

// value x 10^n for n >= 0; false when the result would not fit.
bool ScaleUp(std::int64_t& value, std::int64_t n) {
  if (value == 0) return true;
  for (std::int64_t i = 0; i < n; ++i) {
    if (value > kInt64Max / 10 || value < -(kInt64Max / 10)) return false;
    value *= 10;
  }
  return true;
}

// 10^n for 0 <= n <= 18.
std::int64_t PowerOfTen(std::int64_t n) {
  std::int64_t result = 1;
  for (std::int64_t i = 0; i < n; ++i) result *= 10;
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

// The binary value of a number read, into `value`; false when there is no number or no double
// holds it.
bool ValueOf(const std::optional<DecimalNumber>& number, double& value) {
  if (!number) return false;
  const std::optional<double> v = number->ToDouble();
  if (!v) return false;
  value = *v;
  return true;
}

// The value N: the count scaled to a length of 30, truncated toward zero; the count itself for a
// length of 0. Exact from the digits as written; from the values read when the digits are too
// many for that.
Text ScaledCountText(const DecimalNumber& count, double countValue, const DecimalNumber& length,
                     double lengthValue) {
  if (const auto n = ScaledCount(count, length)) return NumberField(*n);
  if (lengthValue == 0) return NumText(countValue);
  return NumText(std::trunc(30.0 * countValue / lengthValue));
}

}  // namespace

std::optional<std::int64_t> ScaledCount(const DecimalNumber& count, const DecimalNumber& length) {
  const std::optional<std::int64_t> countMantissa = count.Mantissa();
  const std::optional<std::int64_t> lengthMantissa = length.Mantissa();
  if (!countMantissa || !lengthMantissa || *lengthMantissa == 0) return std::nullopt;
  // 30 x (c x 10^ec) / (l x 10^el) = (30 x c x 10^(ec-el)) / l, with the power of ten on
  // whichever side keeps it whole.
  std::int64_t numerator = *countMantissa;
  std::int64_t denominator = *lengthMantissa;
  const std::int64_t shift = count.exponent - length.exponent;
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

std::optional<std::int64_t> HundredthsBetween(const DecimalNumber& from, const DecimalNumber& to) {
  const std::optional<std::int64_t> fromMantissa = from.Mantissa();
  const std::optional<std::int64_t> toMantissa = to.Mantissa();
  if (!fromMantissa || !toMantissa) return std::nullopt;
  const std::int64_t common = std::min(from.exponent, to.exponent);
  std::int64_t a = *toMantissa;
  std::int64_t b = *fromMantissa;
  if (!ScaleUp(a, to.exponent - common) || !ScaleUp(b, from.exponent - common)) {
    return std::nullopt;
  }
  // Both are below 2^63 / 10 in magnitude after ScaleUp's check, so the difference fits.
  std::int64_t difference = a - b;
  const std::int64_t exponent = common + 2;  // x 100
  if (exponent >= 0) {
    if (!ScaleUp(difference, exponent)) return std::nullopt;
    return difference;
  }
  if (-exponent > kMaxDigits) return 0;
  return difference / PowerOfTen(-exponent);
}

void WriteIntervalRecord(OutputFile& x5, const RecordFields& rec) {
  Interval intervals[4];
  for (int k = 0; k < 4; ++k) intervals[k] = SplitInterval(rec[k + 2], k == 0 ? u" 30" : u" 10");

  // Interval 1 is rewritten from its numbers; without two numbers its fields stay blank.
  Text count = u"   ";
  Text n = u"   ";
  Text length = u"   ";
  const std::optional<DecimalNumber> countNumber = ParseDecimal(intervals[0].count);
  const std::optional<DecimalNumber> lengthNumber = ParseDecimal(intervals[0].length);
  double countValue = 0;
  double lengthValue = 0;
  if (ValueOf(countNumber, countValue) && ValueOf(lengthNumber, lengthValue)) {
    count = RightField(NumText(countValue), 3);
    length = RightField(NumText(lengthValue), 3);
    n = RightField(ScaledCountText(*countNumber, countValue, *lengthNumber, lengthValue), 3);
  }

  Text line = SequenceField(x5.Number()) + u"," + RightField(rec[1], 7) + u"," + count + u"," + n +
              u"," + length;
  for (int k = 1; k < 4; ++k) line += u"," + intervals[k].count + u"," + intervals[k].length;
  x5.NumberedLine(line);
}

void ConvertNdtSection(const SectionRun& run, FieldReader& reader) {
  const double h1 = reader.ReadNumber(kWhatHeader);
  const Count records = reader.ReadCount(kWhatRecords);
  const Count fields = reader.ReadCount(kWhatFields);
  if (h1 != 100.0) return;
  SkipHeaderValue(reader);
  ConvertBlock(run, reader, u"X5.TXT", records, fields,
               [&](OutputFile& x5) { WriteIntervalRecord(x5, run.fields); });
}

}  // namespace ostra
