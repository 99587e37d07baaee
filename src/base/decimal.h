// Decimal numbers exactly as written: the one reader of numbers in text, and the rules built on
// it for reading a value from a field.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/codec.h"

namespace ostra {

// A decimal number: minus (when negative) digits x 10^exponent, with the digits as written.
struct DecimalNumber {
  bool negative = false;
  // The significant digits '0'..'9' without leading zeros, trailing zeros kept as written
  // ("1.50" gives "150"); empty for zero.
  std::string digits;
  // The power of ten of the last digit as written: -2 for "1.50" and for "0.00", 3 for "1e3".
  std::int64_t exponent = 0;

  bool IsZero() const { return digits.empty(); }
  // The digit (0..9) standing for 10^power: for "35.4512", 3 at power 1, 5 at 0, 4 at -1.
  int DigitAt(std::int64_t power) const;
  // The number truncated toward zero to a whole number; the sign is kept ("-0.5" gives "-0").
  DecimalNumber Truncated() const;
  // The nearest double or float (ties to even). nullopt when the magnitude is too large for
  // the type; a magnitude too small for it gives zero with the sign.
  std::optional<double> ToDouble() const;
  std::optional<float> ToFloat() const;
  // The digits with the sign as one whole number (the value is Mantissa() x 10^exponent);
  // nullopt when there are more than 18 digits.
  std::optional<std::int64_t> Mantissa() const;
};

// How much of the text a number must take.
enum class DecimalEnd {
  kWholeText,  // blanks may stand around the number, nothing else
  kAnyText,    // the longest leading number, after blanks; whatever follows it is ignored
};

// Reads a decimal number: blanks, an optional sign, digits with at most one point (at least one
// digit), then an optional exponent ("e" or "E", an optional sign, at least one digit; an
// incomplete exponent is left out of the number). Digits, sign, point and blanks are taken in
// half or full width ("－２．５", "０５", full-width blank); the code page 932 minus reads as
// U+FF0D or U+2212. nullopt when the text holds no such number.
std::optional<DecimalNumber> ParseDecimal(TextView text, DecimalEnd end = DecimalEnd::kWholeText);

// The value 0..9 of a digit in half or full width; -1 for any other character.
int DigitValue(char16_t ch);

// A binary value rounded to `significant` decimal digits, trailing zeros dropped: 1234.5f with
// 7 digits gives "12345" x 10^-1. A finite value only.
DecimalNumber RoundedDecimal(double value, int significant);

// Full-width digits, "．", "－", "＋" and the full-width blank to their half-width forms.
Text NarrowNumerals(TextView text);

// The whole text read as a decimal number, blanks around it allowed; nullopt when it is not one
// or too large for a double. An empty (or blank) text is not a number here.
std::optional<double> ReadNumber(TextView text);

// The longest leading number of the text (blanks before it skipped); 0 when there is none or it
// is too large for a double.
double LeadingNumber(TextView text);

// A text read as a whole number: the whole text read in single precision, rounded half to
// even; 0 for text that is not a number or lies outside -32768..32767.
std::int16_t IntOrZero(TextView text);

}  // namespace ostra
