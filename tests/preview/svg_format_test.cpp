// Pieces of SVG text: escaping, numbers and fill colours.
#include "preview/svg_format.h"

#include <gtest/gtest.h>

#include <string>

namespace ostra::svg {
namespace {

TEST(SvgFormatTest, XmlEscapesTheFiveMarkupCharactersAndWritesUtf8) {
  EXPECT_EQ(Xml(u"<&\"'>岩"), "&lt;&amp;&quot;&apos;&gt;岩");
  EXPECT_EQ(Xml(u"A&B <C>"), "A&amp;B &lt;C&gt;");
  EXPECT_EQ(Xml(u"ＣＬ～ＣＭ"), "ＣＬ～ＣＭ");
  EXPECT_EQ(Xml(u""), "");
}

TEST(SvgFormatTest, XmlDropsCharactersThatXmlDoesNotAllow) {
  EXPECT_EQ(Xml(u"a\u0001b\u001fc"), "abc");
  EXPECT_EQ(Xml(u"a\uFFFEb\uFFFFc"), "abc");
  EXPECT_EQ(Xml(u"a\tb\nc\rd"), "a\tb\nc\rd");
}

TEST(SvgFormatTest, NumbersHaveTheirFixedDecimals) {
  EXPECT_EQ(Px(0), "0.0");
  EXPECT_EQ(Px(12.345), "12.3");
  EXPECT_EQ(Px(1166), "1166.0");
  EXPECT_EQ(Num2(1.2), "1.20");
  EXPECT_EQ(Num2(7.8), "7.80");
  EXPECT_EQ(Num2(-1), "-1.00");
}

TEST(SvgFormatTest, TickTextsShowWholeNumbersWithoutDecimals) {
  EXPECT_EQ(TickText(0), "0");
  EXPECT_EQ(TickText(125), "125");
  EXPECT_EQ(TickText(100000), "100000");
  EXPECT_EQ(TickText(0.5), "0.5");
  EXPECT_EQ(TickText(12.5), "12.5");
  EXPECT_EQ(TickText(-3), "-3");
}

TEST(SvgFormatTest, FillsArePaleColoursThatFollowTheCode) {
  const std::string fill = FillFor(u"0002");
  ASSERT_EQ(fill.size(), 7u);
  EXPECT_EQ(fill[0], '#');
  EXPECT_EQ(fill.find_first_not_of("0123456789abcdef", 1), std::string::npos);
  EXPECT_EQ(FillFor(u"0002"), fill);
  EXPECT_NE(FillFor(u"5001"), fill);
  EXPECT_NE(FillFor(u""), fill);
  // Pale: every channel well above the middle of the range on average.
  int sum = 0;
  for (int i = 0; i < 3; ++i) sum += std::stoi(fill.substr(1 + 2 * i, 2), nullptr, 16);
  EXPECT_GT(sum, 3 * 128);
}

}  // namespace
}  // namespace ostra::svg
