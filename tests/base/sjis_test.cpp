// Byte-width operations, width conversion, path folder and trimming.
#include "base/sjis.h"

#include <gtest/gtest.h>

#include <string>

#include "base/codec.h"

namespace ostra {
namespace {

TEST(ByteWidth, CountsCodePage932Bytes) {
  EXPECT_EQ(ByteLen(u"ABC"), 3);
  EXPECT_EQ(ByteLen(u"岩盤"), 4);
  EXPECT_EQ(ByteLen(u"ｱｲ"), 2);
  EXPECT_EQ(ByteLen(u""), 0);
  EXPECT_EQ(ByteLen(u"A　ｶﾞ岩"), 1 + 2 + 2 + 2);
  // Agrees with the encoder for a mixed text.
  Text mixed = u"ﾎﾞｰﾘﾝｸﾞ No.1 岩盤　ＡＢ";
  EXPECT_EQ(static_cast<std::size_t>(ByteLen(mixed)), EncodeCp932(mixed).size());
  // Saturates instead of wrapping on a text wider than 16 bits can count.
  EXPECT_EQ(ByteLen(Text(20000, u'岩')), 32767);
}

TEST(ByteWidth, LeftAndMidCutByBytes) {
  EXPECT_EQ(ByteLeft(u"A岩盤B", 0), u"");
  EXPECT_EQ(ByteLeft(u"A岩盤B", 3), u"A岩");
  EXPECT_EQ(ByteLeft(u"A岩盤B", 6), u"A岩盤B");
  EXPECT_EQ(ByteLeft(u"A岩盤B", 100), u"A岩盤B");
  // A lone lead byte at the cut is dropped.
  EXPECT_EQ(ByteLeft(u"A岩盤B", 2), u"A");
  EXPECT_EQ(ByteLeft(u"A岩盤B", 4), u"A岩");

  EXPECT_EQ(ByteMid(u"A岩盤B", 1), u"A岩盤B");
  EXPECT_EQ(ByteMid(u"A岩盤B", 2), u"岩盤B");
  EXPECT_EQ(ByteMid(u"A岩盤B", 4, 2), u"盤");
  EXPECT_EQ(ByteMid(u"A岩盤B", 6, 5), u"B");
  EXPECT_EQ(ByteMid(u"A岩盤B", 7), u"");
  EXPECT_EQ(ByteMid(u"ABCDEF", 3, 2), u"CD");
  // Starting on a trail byte drops that partial character; so does ending on a lead byte.
  EXPECT_EQ(ByteMid(u"アイB", 2), u"イB");
  EXPECT_EQ(ByteMid(u"A岩盤B", 1, 4), u"A岩");
  EXPECT_EQ(ByteMid(u"A岩盤B", 3, 3), u"盤");
}

TEST(ByteWidth, LeftAndMidToleratePositionsOutsideTheText) {
  EXPECT_EQ(ByteLeft(u"ABC", -5), u"");
  EXPECT_EQ(ByteMid(u"ABC", 0), u"ABC");
  EXPECT_EQ(ByteMid(u"ABC", -3, 2), u"AB");
  EXPECT_EQ(ByteMid(u"ABC", 2, 0), u"");
  EXPECT_EQ(ByteMid(u"ABC", 2, -1), u"");
  EXPECT_EQ(ByteMid(u"", 1, 3), u"");
  EXPECT_EQ(ByteMid(u"ABC", 2147483647, 2147483647), u"");
  EXPECT_EQ(ByteMid(u"ABC", 2, 2147483647), u"BC");
}

TEST(ByteWidth, FitBytesMakesExactWidthFields) {
  Text text = u"ABC";
  Text r;
  FitBytes(text, r, 6);
  EXPECT_EQ(r, u"ABC   ");
  EXPECT_EQ(text, u"ABC");

  text = u"";
  FitBytes(text, r, 4);
  EXPECT_EQ(r, u"    ");

  text = u"岩盤柱";
  FitBytes(text, r, 4);
  EXPECT_EQ(r, u"岩盤");
  EXPECT_EQ(text, u"岩盤柱");

  text = u"岩盤柱";
  FitBytes(text, r, 5);
  EXPECT_EQ(r, u"岩盤 ");
  EXPECT_EQ(ByteLen(r), 5);

  text = u"A岩";
  FitBytes(text, r, 2);
  EXPECT_EQ(r, u"A ");
  EXPECT_EQ(text, u"A  ");

  text = u"岩A";
  FitBytes(text, r, 3);
  EXPECT_EQ(r, u"岩A");

  text = u"ﾎﾞｰﾘﾝｸﾞ";
  FitBytes(text, r, 3);
  EXPECT_EQ(r, u"ﾎﾞｰ");
}

TEST(WidthConversion, ToFullWidth) {
  EXPECT_EQ(ToFullWidth(u"AB-12ｶﾞ"), u"ＡＢ-１２カﾞ");
  EXPECT_EQ(ToFullWidth(u"abc"), u"abc");
  EXPECT_EQ(ToFullWidth(u"09AZ"), u"０９ＡＺ");
  EXPECT_EQ(ToFullWidth(u":;<=>?@"), u":;<=>?@");
  EXPECT_EQ(ToFullWidth(u"/[ "), u"/[ ");
  EXPECT_EQ(ToFullWidth(u"ｦｧｯｰｱﾝ"), u"ヲァッーアン");
  EXPECT_EQ(ToFullWidth(u"ｶﾟ｡｢｣､･"), u"カﾟ｡｢｣､･");
  EXPECT_EQ(ToFullWidth(u"岩ぁ"), u"岩ぁ");
}

TEST(WidthConversion, ToHalfWidth) {
  EXPECT_EQ(ToHalfWidth(u"ＡＢ１２アイ"), u"AB12ｱｲ");
  EXPECT_EQ(ToHalfWidth(u"ー"), u"ー");
  EXPECT_EQ(ToHalfWidth(u"ガパヅボ"), u"ｶﾞﾊﾟﾂﾞﾎﾞ");
  EXPECT_EQ(ToHalfWidth(u"ァッャン"), u"ｧｯｬﾝ");
  EXPECT_EQ(ToHalfWidth(u"ヮヰヱヴヵヶ"), u"ヮヰヱヴヵヶ");
  EXPECT_EQ(ToHalfWidth(u"：；＜＝＞？＠"), u"：；＜＝＞？＠");
  EXPECT_EQ(ToHalfWidth(u"ａ岩あ　"), u"ａ岩あ　");

  // Every half-width katakana survives the round trip through its full-width form, except the
  // long-vowel mark: its full-width form "ー" lies above "ン" and stays full width.
  for (char16_t ch = u'\uFF66'; ch <= u'\uFF9D'; ++ch) {
    Text half(1, ch);
    EXPECT_EQ(ToHalfWidth(ToFullWidth(half)), ch == u'ｰ' ? u"ー" : half)
        << "U+" << std::hex << static_cast<int>(ch);
  }
}

TEST(PathAndBlanks, PathFolder) {
  EXPECT_EQ(PathFolder(u"C:\\DATA\\MDT0001.GDF"), u"C:\\DATA\\");
  EXPECT_EQ(PathFolder(u"D:"), u"D:");
  EXPECT_EQ(PathFolder(u"ABC"), u"");
  EXPECT_EQ(PathFolder(u""), u"");
  EXPECT_EQ(PathFolder(u"C:MDT.GDF"), u"C:");
}

TEST(PathAndBlanks, TrimRemovesHalfWidthBlanksOnly) {
  EXPECT_EQ(Trim(u"  A B  "), u"A B");
  EXPECT_EQ(TrimLeft(u"  A B  "), u"A B  ");
  EXPECT_EQ(TrimRight(u"  A B  "), u"  A B");
  EXPECT_EQ(Trim(u"　A　"), u"　A　");
  EXPECT_EQ(Trim(u"\tA "), u"\tA");
  EXPECT_EQ(Trim(u"   "), u"");
  EXPECT_EQ(Trim(u""), u"");
}

TEST(ByteWidth, NeverFailsOnOddText) {
  const Text odd[] = {Text(1, u'\xD800'), Text(1, u'\xDC00') + u"岩", u"😀A", Text(1, u'\0'),
                      u"\u30FB\uFFFD"};
  for (const Text& t : odd) {
    for (int n = -2; n <= 6; ++n) {
      EXPECT_NO_THROW(ByteLeft(t, n));
      EXPECT_NO_THROW(ByteMid(t, n));
      EXPECT_NO_THROW(ByteMid(t, n, n));
      Text text = t;
      Text r;
      EXPECT_NO_THROW(FitBytes(text, r, static_cast<std::int16_t>(n)));
      if (n > 0) {
        EXPECT_EQ(ByteLen(r), n);
      }
    }
  }
  Text text = u"ABC";
  Text r = u"x";
  FitBytes(text, r, 0);
  EXPECT_EQ(r, u"");
  EXPECT_EQ(text, u"ABC");
}

}  // namespace
}  // namespace ostra
