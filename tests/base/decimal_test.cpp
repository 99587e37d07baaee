// Decimal numbers as written: the reader, the digits and values it gives, and the reading rules
// built on it.
#include "base/decimal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace ostra {
namespace {

// "-150e-2" for the number -1.50 as written; "none" when there is none.
std::string Form(const std::optional<DecimalNumber>& number) {
  if (!number) return "none";
  return (number->negative ? "-" : "") + (number->IsZero() ? "0" : number->digits) + "e" +
         std::to_string(number->exponent);
}

std::string Whole(TextView text) {
  return Form(ParseDecimal(text));
}
std::string Leading(TextView text) {
  return Form(ParseDecimal(text, DecimalEnd::kAnyText));
}

TEST(ParseDecimal, KeepsTheDigitsAsWritten) {
  EXPECT_EQ(Whole(u"12"), "12e0");
  EXPECT_EQ(Whole(u"1.50"), "150e-2");
  EXPECT_EQ(Whole(u"35.4512"), "354512e-4");
  EXPECT_EQ(Whole(u"0.05"), "5e-2");
  EXPECT_EQ(Whole(u"007"), "7e0");
  EXPECT_EQ(Whole(u"100"), "100e0");
  EXPECT_EQ(Whole(u".5"), "5e-1");
  EXPECT_EQ(Whole(u"5."), "5e0");
  EXPECT_EQ(Whole(u"0"), "0e0");
  EXPECT_EQ(Whole(u"0.00"), "0e-2");
  EXPECT_EQ(Whole(u"1234567890123456789012"), "1234567890123456789012e0");
}

TEST(ParseDecimal, SignsAndExponents) {
  EXPECT_EQ(Whole(u"-2.5"), "-25e-1");
  EXPECT_EQ(Whole(u"+8"), "8e0");
  EXPECT_EQ(Whole(u"-0"), "-0e0");
  EXPECT_EQ(Whole(u"1e3"), "1e3");
  EXPECT_EQ(Whole(u"1.5E+2"), "15e1");
  EXPECT_EQ(Whole(u"3545.12e-2"), "354512e-4");
  EXPECT_EQ(Whole(u"-.5e-1"), "-5e-2");
  EXPECT_EQ(Whole(u"1e0003"), "1e3");
  // An exponent too large for any value still reads, as a number no double holds.
  EXPECT_EQ(ParseDecimal(u"1e99999999999999999999")->ToDouble(), std::nullopt);
}

TEST(ParseDecimal, FullWidthNumeralsSignsPointAndBlanks) {
  EXPECT_EQ(Whole(u"２．３"), "23e-1");
  EXPECT_EQ(Whole(u"０５"), "5e0");
  EXPECT_EQ(Whole(u"－１"), "-1e0");
  EXPECT_EQ(Whole(u"\u2212１"), "-1e0");  // the code page 932 minus as U+2212
  EXPECT_EQ(Whole(u"＋２．５"), "25e-1");
  EXPECT_EQ(Whole(u"　１２　"), "12e0");
  EXPECT_EQ(Whole(u"1２.3４"), "1234e-2");  // widths mixed
  EXPECT_EQ(Whole(u"１e２"), "1e2");
  EXPECT_EQ(Whole(u"1e－２"), "1e-2");
  // Only the letter of the exponent must be half-width.
  EXPECT_EQ(Whole(u"１Ｅ２"), "none");
}

TEST(ParseDecimal, BlanksAroundTheNumber) {
  EXPECT_EQ(Whole(u" -3 "), "-3e0");
  EXPECT_EQ(Whole(u"  7"), "7e0");
  EXPECT_EQ(Whole(u"\u3000 5\u3000 "), "5e0");
  EXPECT_EQ(Whole(u"1 2"), "none");
  EXPECT_EQ(Whole(u"- 1"), "none");
  EXPECT_EQ(Whole(u"\t1"), "none");  // a tab is no blank
  EXPECT_EQ(Whole(u"1\t"), "none");
}

TEST(ParseDecimal, RejectsWhatIsNoNumber) {
  for (const char16_t* text :
       {u"",    u"   ", u"-",         u"+",     u".",  u"-.",     u"+-1",   u"--1",
        u"1e",  u"1e+", u"1.2.3",     u"12.5m", u"A1", u"1,000",  u"&H10",  u"0x10",
        u"nan", u"inf", u"-Infinity", u"1d2",   u"e5", u"１，０", u"\u30FB"}) {
    EXPECT_EQ(Whole(text), "none") << ToUtf8(text);
  }
}

TEST(ParseDecimal, LeadingNumberIgnoresTheRest) {
  EXPECT_EQ(Leading(u"12.5m"), "125e-1");
  EXPECT_EQ(Leading(u"  -3e2x"), "-3e2");
  EXPECT_EQ(Leading(u"1.2.3"), "12e-1");
  EXPECT_EQ(Leading(u"1e"), "1e0");
  EXPECT_EQ(Leading(u"1e+"), "1e0");
  EXPECT_EQ(Leading(u"2E-2cm"), "2e-2");
  EXPECT_EQ(Leading(u"12 3"), "12e0");
  EXPECT_EQ(Leading(u"　－１．５ｍ"), "-15e-1");
  EXPECT_EQ(Leading(u"x12"), "none");
  EXPECT_EQ(Leading(u"-.x"), "none");
  EXPECT_EQ(Leading(u"\t1.5"), "none");
  EXPECT_EQ(Leading(u""), "none");
}

TEST(DecimalNumber, DigitAtAndTruncated) {
  const DecimalNumber angle = *ParseDecimal(u"35.4512");
  EXPECT_EQ(angle.DigitAt(2), 0);
  EXPECT_EQ(angle.DigitAt(1), 3);
  EXPECT_EQ(angle.DigitAt(0), 5);
  EXPECT_EQ(angle.DigitAt(-1), 4);
  EXPECT_EQ(angle.DigitAt(-4), 2);
  EXPECT_EQ(angle.DigitAt(-5), 0);
  EXPECT_EQ(Form(angle.Truncated()), "35e0");
  EXPECT_EQ(Form(ParseDecimal(u"-0.0012")->Truncated()), "-0e0");
  EXPECT_EQ(Form(ParseDecimal(u"1e3")->Truncated()), "1e3");
  EXPECT_EQ(Form(ParseDecimal(u"-123.9")->Truncated()), "-123e0");
  EXPECT_EQ(ParseDecimal(u"1e3")->DigitAt(3), 1);
  EXPECT_EQ(ParseDecimal(u"1e3")->DigitAt(0), 0);
}

TEST(DecimalNumber, ValuesRoundToNearest) {
  EXPECT_EQ(ParseDecimal(u"0.1")->ToDouble(), std::optional<double>(0.1));
  EXPECT_EQ(ParseDecimal(u"0.1")->ToFloat(), std::optional<float>(0.1f));
  EXPECT_EQ(ParseDecimal(u"-2.5e3")->ToDouble(), std::optional<double>(-2500));
  EXPECT_EQ(ParseDecimal(u"1e308")->ToDouble(), std::optional<double>(1e308));
  EXPECT_EQ(ParseDecimal(u"1e309")->ToDouble(), std::nullopt);
  EXPECT_EQ(ParseDecimal(u"1e39")->ToFloat(), std::nullopt);
  EXPECT_EQ(ParseDecimal(u"1e39")->ToDouble(), std::optional<double>(1e39));
  // Too small to hold is zero, with its sign.
  EXPECT_EQ(ParseDecimal(u"1e-999")->ToDouble(), std::optional<double>(0));
  const std::optional<double> negativeZero = ParseDecimal(u"-1e-999")->ToDouble();
  ASSERT_TRUE(negativeZero);
  EXPECT_TRUE(*negativeZero == 0 && std::signbit(*negativeZero));
  // The whole magnitude decides, not the exponent alone.
  EXPECT_EQ(ParseDecimal(u"1" + Text(400, u'0') + u"e-10")->ToDouble(), std::nullopt);
  EXPECT_EQ(ParseDecimal(u"." + Text(400, u'0') + u"1e410")->ToDouble(),
            std::optional<double>(1e9));
}

TEST(DecimalNumber, MantissaHoldsEighteenDigits) {
  EXPECT_EQ(ParseDecimal(u"-1.50")->Mantissa(), std::optional<std::int64_t>(-150));
  EXPECT_EQ(ParseDecimal(u"0.000")->Mantissa(), std::optional<std::int64_t>(0));
  EXPECT_EQ(ParseDecimal(u"123456789012345678")->Mantissa(),
            std::optional<std::int64_t>(123456789012345678));
  EXPECT_EQ(ParseDecimal(u"0.000123456789012345678")->Mantissa(),
            std::optional<std::int64_t>(123456789012345678));
  EXPECT_EQ(ParseDecimal(u"1234567890123456789")->Mantissa(), std::nullopt);
}

TEST(DecimalNumber, RoundedFromBinary) {
  EXPECT_EQ(Form(RoundedDecimal(1234.5f, 7)), "12345e-1");
  EXPECT_EQ(Form(RoundedDecimal(12345678.0f, 7)), "1234568e1");
  EXPECT_EQ(Form(RoundedDecimal(0.1, 15)), "1e-1");
  EXPECT_EQ(Form(RoundedDecimal(-0.5, 7)), "-5e-1");
  EXPECT_EQ(Form(RoundedDecimal(0.0, 7)), "0e0");
  EXPECT_EQ(Form(RoundedDecimal(-0.0, 7)), "0e0");
}

TEST(DecimalNumber, DigitValueInEitherWidth) {
  EXPECT_EQ(DigitValue(u'0'), 0);
  EXPECT_EQ(DigitValue(u'9'), 9);
  EXPECT_EQ(DigitValue(u'０'), 0);
  EXPECT_EQ(DigitValue(u'９'), 9);
  EXPECT_EQ(DigitValue(u'a'), -1);
  EXPECT_EQ(DigitValue(u'．'), -1);
  EXPECT_EQ(DigitValue(u'一'), -1);
}

TEST(ReadingNumbers, IntOrZero) {
  EXPECT_EQ(IntOrZero(u"12"), 12);
  EXPECT_EQ(IntOrZero(u" 7 "), 7);
  EXPECT_EQ(IntOrZero(u"2.5"), 2);
  EXPECT_EQ(IntOrZero(u"3.5"), 4);
  EXPECT_EQ(IntOrZero(u"-2.5"), -2);
  EXPECT_EQ(IntOrZero(u"1.5"), 2);
  EXPECT_EQ(IntOrZero(u"2.6"), 3);
  EXPECT_EQ(IntOrZero(u"-0.5"), 0);
  EXPECT_EQ(IntOrZero(u"+8"), 8);
  EXPECT_EQ(IntOrZero(u".7"), 1);
  EXPECT_EQ(IntOrZero(u"4."), 4);
  EXPECT_EQ(IntOrZero(u"1.5e1"), 15);
  EXPECT_EQ(IntOrZero(u"1E2"), 100);
  // Read through single precision: 2.5000001 is 2.5 there, and ties go to even.
  EXPECT_EQ(IntOrZero(u"2.5000001"), 2);

  EXPECT_EQ(IntOrZero(u""), 0);
  EXPECT_EQ(IntOrZero(u"   "), 0);
  EXPECT_EQ(IntOrZero(u"A1"), 0);
  EXPECT_EQ(IntOrZero(u"12a"), 0);
  EXPECT_EQ(IntOrZero(u"1 2"), 0);
  EXPECT_EQ(IntOrZero(u"-"), 0);
  EXPECT_EQ(IntOrZero(u"+"), 0);
  EXPECT_EQ(IntOrZero(u"."), 0);
  EXPECT_EQ(IntOrZero(u"1e"), 0);
  EXPECT_EQ(IntOrZero(u"1,000"), 0);
  EXPECT_EQ(IntOrZero(u"&H10"), 0);

  EXPECT_EQ(IntOrZero(u"32767"), 32767);
  EXPECT_EQ(IntOrZero(u"-32768"), -32768);
  EXPECT_EQ(IntOrZero(u"32768"), 0);
  EXPECT_EQ(IntOrZero(u"-32769"), 0);
  EXPECT_EQ(IntOrZero(u"32767.5"), 0);
  EXPECT_EQ(IntOrZero(u"-32768.5"), -32768);

  EXPECT_EQ(IntOrZero(u"５５"), 55);
  EXPECT_EQ(IntOrZero(u"　１２　"), 12);
  EXPECT_EQ(IntOrZero(u"－３"), -3);
  EXPECT_EQ(IntOrZero(u"＋２．５"), 2);
}

TEST(ReadingNumbers, LeadingNumber) {
  EXPECT_DOUBLE_EQ(LeadingNumber(u"12.5m"), 12.5);
  EXPECT_DOUBLE_EQ(LeadingNumber(u""), 0);
  EXPECT_DOUBLE_EQ(LeadingNumber(u"abc"), 0);
  EXPECT_DOUBLE_EQ(LeadingNumber(u"  -3e2x"), -300);
  EXPECT_DOUBLE_EQ(LeadingNumber(u"1.2.3"), 1.2);
  EXPECT_DOUBLE_EQ(LeadingNumber(u"1e"), 1);
  EXPECT_DOUBLE_EQ(LeadingNumber(u"1e+"), 1);
  EXPECT_DOUBLE_EQ(LeadingNumber(u"2E-2cm"), 0.02);
  EXPECT_DOUBLE_EQ(LeadingNumber(u"+.5"), 0.5);
  EXPECT_DOUBLE_EQ(LeadingNumber(u"-"), 0);
  EXPECT_DOUBLE_EQ(LeadingNumber(u"-.x"), 0);
  EXPECT_DOUBLE_EQ(LeadingNumber(u"x12"), 0);
  EXPECT_DOUBLE_EQ(LeadingNumber(u"１２．５０"), 12.5);
  EXPECT_DOUBLE_EQ(LeadingNumber(u"　－１．５ｍ"), -1.5);
  EXPECT_DOUBLE_EQ(LeadingNumber(u"12 3"), 12);
}

TEST(ReadingNumbers, ReadNumberNeedsTheWholeText) {
  EXPECT_EQ(ReadNumber(u"12.5"), std::optional<double>(12.5));
  EXPECT_EQ(ReadNumber(u" -3 "), std::optional<double>(-3));
  EXPECT_EQ(ReadNumber(u".5"), std::optional<double>(0.5));
  EXPECT_EQ(ReadNumber(u"5."), std::optional<double>(5));
  EXPECT_EQ(ReadNumber(u"+1e3"), std::optional<double>(1000));
  EXPECT_EQ(ReadNumber(u"１２．５０"), std::optional<double>(12.5));
  EXPECT_EQ(ReadNumber(u"0.1"), std::optional<double>(0.1));
  EXPECT_EQ(ReadNumber(u""), std::nullopt);
  EXPECT_EQ(ReadNumber(u"   "), std::nullopt);
  EXPECT_EQ(ReadNumber(u"12.5m"), std::nullopt);
  EXPECT_EQ(ReadNumber(u"1e"), std::nullopt);
  EXPECT_EQ(ReadNumber(u"-"), std::nullopt);
  EXPECT_EQ(ReadNumber(u"1.2.3"), std::nullopt);
}

TEST(ReadingNumbers, NarrowNumerals) {
  EXPECT_EQ(NarrowNumerals(u"０１２３４５６７８９．－＋　"), u"0123456789.-+ ");
  EXPECT_EQ(NarrowNumerals(u"\u2212１"), u"-1");
  EXPECT_EQ(NarrowNumerals(u"ＡＥｅ，岩12"), u"ＡＥｅ，岩12");
}

TEST(ReadingNumbers, OddInputsGiveZeroWithoutFailing) {
  const Text odd[] = {u"1e999",
                      u"-1e999",
                      u"1e-999",
                      u"nan",
                      u"NaN",
                      u"inf",
                      u"-Infinity",
                      u"99999999999999999999999999999999999999999",
                      Text(1, u'\xD800'),
                      Text(1, u'\xDFFF') + u"1",
                      u"\u30FB",
                      u"0x10",
                      Text(1, u'\0') + u"5"};
  for (const Text& t : odd) {
    EXPECT_NO_THROW(IntOrZero(t));
    EXPECT_NO_THROW(LeadingNumber(t));
    EXPECT_NO_THROW(ReadNumber(t));
    EXPECT_EQ(IntOrZero(t), 0);
  }
  EXPECT_EQ(ReadNumber(u"1e999"), std::nullopt);
  EXPECT_EQ(ReadNumber(u"nan"), std::nullopt);
  EXPECT_EQ(ReadNumber(u"inf"), std::nullopt);
  EXPECT_DOUBLE_EQ(LeadingNumber(u"1e-999"), 0);
  EXPECT_DOUBLE_EQ(LeadingNumber(u"0x10"), 0);
  EXPECT_TRUE(std::isfinite(LeadingNumber(u"1e999")));
  // Out of range is told apart by the whole magnitude, not by the exponent's sign alone.
  EXPECT_EQ(ReadNumber(u"1" + Text(400, u'0') + u"e-10"), std::nullopt);
  EXPECT_EQ(ReadNumber(u"-." + Text(400, u'0') + u"1e10"), std::optional<double>(0));
  EXPECT_EQ(IntOrZero(u"." + Text(60, u'0') + u"1"), 0);
}

}  // namespace
}  // namespace ostra
