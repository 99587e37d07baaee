// Number texts, fixed-width fields and reading numbers from text.
#include "base/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace ostra {
namespace {

TEST(NumText, SinglePrecisionShortestDigits) {
  EXPECT_EQ(NumText(0.5f), u" .5");
  EXPECT_EQ(NumText(-0.5f), u"-.5");
  EXPECT_EQ(NumText(3.0f), u" 3");
  EXPECT_EQ(NumText(10.0f), u" 10");
  EXPECT_EQ(NumText(1.15f), u" 1.15");
  EXPECT_EQ(NumText(0.1f), u" .1");
  EXPECT_EQ(NumText(0.3f), u" .3");
  EXPECT_EQ(NumText(0.0f), u" 0");
  EXPECT_EQ(NumText(-0.0f), u" 0");
  EXPECT_EQ(NumText(-1234.5f), u"-1234.5");
  EXPECT_EQ(NumText(123456.7f), u" 123456.7");
  EXPECT_EQ(NumText(9999999.0f), u" 9999999");
  EXPECT_EQ(NumText(0.0001f), u" .0001");
  EXPECT_EQ(NumText(-0.00012345f), u"-.00012345");
}

TEST(NumText, SinglePrecisionExponentForm) {
  EXPECT_EQ(NumText(12345678.0f), u" 1.234568E+07");
  EXPECT_EQ(NumText(10000000.0f), u" 1E+07");
  EXPECT_EQ(NumText(0.00001f), u" 1E-05");
  EXPECT_EQ(NumText(-0.000012f), u"-1.2E-05");
  EXPECT_EQ(NumText(3.0e38f), u" 3E+38");
  // 9999999.5 rounds to 7 digits as 1E+07, so it no longer fits plain form.
  EXPECT_EQ(NumText(9999999.5f), u" 1E+07");
}

TEST(NumText, DoublePrecisionAndIntegers) {
  EXPECT_EQ(NumText(3.0), u" 3");
  EXPECT_EQ(NumText(0.1), u" .1");
  EXPECT_EQ(NumText(-2.25), u"-2.25");
  EXPECT_EQ(NumText(1.0 / 3.0), u" .333333333333333");
  EXPECT_EQ(NumText(12345678.0), u" 12345678");
  EXPECT_EQ(NumText(999999999999999.0), u" 999999999999999");
  EXPECT_EQ(NumText(1e15), u" 1E+15");
  EXPECT_EQ(NumText(123456789012345678.0), u" 1.23456789012346E+17");
  EXPECT_EQ(NumText(1e-5), u" 1E-05");
  EXPECT_EQ(NumText(1e100), u" 1E+100");

  EXPECT_EQ(NumText(std::int32_t{0}), u" 0");
  EXPECT_EQ(NumText(std::int32_t{5}), u" 5");
  EXPECT_EQ(NumText(std::int32_t{-5}), u"-5");
  EXPECT_EQ(NumText(std::int32_t{123456789}), u" 123456789");
  EXPECT_EQ(NumText(std::numeric_limits<std::int32_t>::min()), u"-2147483648");
}

TEST(NumText, NonFiniteValuesDoNotFail) {
  EXPECT_FALSE(NumText(std::numeric_limits<float>::quiet_NaN()).empty());
  EXPECT_FALSE(NumText(std::numeric_limits<double>::infinity()).empty());
  EXPECT_EQ(FormatDecimal2(7, std::numeric_limits<float>::infinity()).size(), 7u);
}

TEST(Fields, RightField) {
  EXPECT_EQ(RightField(u" 5", 3), u"  5");
  EXPECT_EQ(RightField(u" 1234", 3), u"234");
  EXPECT_EQ(RightField(u"abc", 3), u"abc");
  EXPECT_EQ(RightField(u"", 2), u"  ");
  EXPECT_EQ(RightField(u"岩", 3), u"  岩");
  EXPECT_EQ(RightField(u"abc", 0), u"");
  EXPECT_EQ(RightField(u"abc", -1), u"");
}

TEST(Fields, FormatDecimal2) {
  EXPECT_EQ(FormatDecimal2(7, 3.0f), u"   3.00");
  EXPECT_EQ(FormatDecimal2(7, 12.5f), u"  12.50");
  EXPECT_EQ(FormatDecimal2(7, 0.5f), u"   0.50");
  EXPECT_EQ(FormatDecimal2(7, -0.5f), u"  -0.50");
  EXPECT_EQ(FormatDecimal2(7, 0.0f), u"   0.00");
  EXPECT_EQ(FormatDecimal2(7, -12.0f), u" -12.00");
  EXPECT_EQ(FormatDecimal2(7, 12.345f), u"  12.34");
  EXPECT_EQ(FormatDecimal2(7, -1.999f), u"  -1.99");
  EXPECT_EQ(FormatDecimal2(7, 0.005f), u"   0.00");
  EXPECT_EQ(FormatDecimal2(7, -0.005f), u"  -0.00");
  EXPECT_EQ(FormatDecimal2(7, 123456.7f), u"3456.70");
  EXPECT_EQ(FormatDecimal2(7, 0.00001f), u"   0.00");
  EXPECT_EQ(FormatDecimal2(7, 1.15f), u"   1.15");
  // Seven significant digits first: 12345678 is written 12345680.
  EXPECT_EQ(FormatDecimal2(7, 12345678.0f), u"5680.00");
  EXPECT_EQ(FormatDecimal2(10, -0.0001f), u"     -0.00");

  Text result = u"old";
  FormatDecimal2(5, 2.5f, result);
  EXPECT_EQ(result, u" 2.50");
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
