// Number texts and fixed-width fields.
#include "base/numbers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

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

TEST(IntegerTexts, IntText) {
  EXPECT_EQ(IntText(0), u"0");
  EXPECT_EQ(IntText(12), u"12");
  EXPECT_EQ(IntText(-5), u"-5");
  EXPECT_EQ(IntText(2019), u"2019");
  EXPECT_EQ(IntText(std::numeric_limits<long long>::min()), u"-9223372036854775808");
  EXPECT_EQ(IntText(std::numeric_limits<long long>::max()), u"9223372036854775807");
}

TEST(IntegerTexts, ZeroPaddedIsExactlyTheWidth) {
  EXPECT_EQ(ZeroPadded(7, 2), u"07");
  EXPECT_EQ(ZeroPadded(42, 2), u"42");
  EXPECT_EQ(ZeroPadded(0, 2), u"00");
  EXPECT_EQ(ZeroPadded(2001, 4), u"2001");
  EXPECT_EQ(ZeroPadded(5, 4), u"0005");
  // Too long a text keeps its last characters, as fixed-width fields do.
  EXPECT_EQ(ZeroPadded(123, 2), u"23");
  EXPECT_EQ(ZeroPadded(-5, 2), u"-5");
  EXPECT_EQ(ZeroPadded(-5, 3), u"0-5");
  EXPECT_EQ(ZeroPadded(5, 0), u"");
  EXPECT_EQ(ZeroPadded(5, -1), u"");
}

}  // namespace
}  // namespace ostra
