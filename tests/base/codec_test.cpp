#include "base/codec.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <iconv.h>
#endif

namespace ostra {
namespace {

#ifndef _WIN32
// The converter asked directly, without the codec's caches: the bytes of one unit, or empty.
std::string DirectEncode(char16_t ch) {
  iconv_t cd = iconv_open("CP932", "UTF-16LE");
  char in[2] = {static_cast<char>(ch & 0xFF), static_cast<char>(ch >> 8)};
  char out[8];
  char* inp = in;
  size_t inLeft = 2;
  char* outp = out;
  size_t outLeft = sizeof out;
  size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1)) return {};
  return std::string(out, static_cast<size_t>(outp - out));
}

TEST(CodecTest, WidthsAndBytesAgreeWithTheConverterForEveryBmpCodePoint) {
  int mismatches = 0;
  for (char32_t cp = 0; cp <= 0xFFFF; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    auto ch = static_cast<char16_t>(cp);
    std::string direct = DirectEncode(ch);
    std::string expected = direct.empty() ? std::string(1, kUnencodable) : direct;
    if (EncodeCp932(Text(1, ch)) != expected ||
        CharByteWidth(ch) != static_cast<int>(expected.size())) {
      if (++mismatches < 5) ADD_FAILURE() << "code point " << std::hex << static_cast<unsigned>(cp);
    }
  }
  EXPECT_EQ(mismatches, 0);
}
#endif

TEST(CodecTest, KnownWidthsAndRoundTrip) {
  EXPECT_EQ(CharByteWidth(u'A'), 1);
  EXPECT_EQ(CharByteWidth(u'ｱ'), 1);
  EXPECT_EQ(CharByteWidth(u'岩'), 2);
  EXPECT_EQ(CharByteWidth(u'　'), 2);
  EXPECT_EQ(CharByteWidth(u'～'), 2);
  Text sample = u"岩盤柱状図 -> Ostra 変換プログラム ｶﾞ①～－";
  EXPECT_EQ(DecodeCp932(EncodeCp932(sample)), sample);
  EXPECT_EQ(EncodeCp932(u"～"), "\x81\x60");
  EXPECT_EQ(EncodeCp932(u"\U0001F600"), "??");  // no code page 932 form
}

TEST(CodecTest, UndecodableBytesBecomeMiddleDots) {
  EXPECT_EQ(DecodeCp932("\x80"), u"・");
  EXPECT_EQ(DecodeCp932("a\xA0"
                        "b"),
            u"a・b");
  EXPECT_EQ(DecodeCp932("\xFD\xFE\xFF"), u"・・・");
  EXPECT_EQ(DecodeCp932("x\x82"), u"x・");  // a lead byte at the end
  EXPECT_EQ(DecodeCp932("\x81\x20"
                        "A"),
            u"・ A");  // a lead byte with a bad trail byte
  EXPECT_EQ(DecodeCp932(std::string("\0a", 2)), Text(u"\0a", 2));
  // Every byte pair decodes without failing, each undecodable byte as one unit at most.
  for (int hi = 0x80; hi <= 0xFF; ++hi) {
    for (int lo = 0; lo <= 0xFF; lo += 7) {
      std::string s{static_cast<char>(hi), static_cast<char>(lo)};
      Text t = DecodeCp932(s);
      EXPECT_GE(t.size(), 1u);
      EXPECT_LE(t.size(), 2u);
    }
  }
}

TEST(CodecTest, Utf8Conversions) {
  EXPECT_EQ(ToUtf8(u"岩A"), "岩A");
  EXPECT_EQ(FromUtf8("岩A\U0001F600"), u"岩A\U0001F600");
  EXPECT_EQ(FromUtf8("\xFF"
                     "a"),
            u"\uFFFDa");
  EXPECT_EQ(FromUtf8("\xE5\xB2"), u"\uFFFD\uFFFD");  // cut sequence
  EXPECT_EQ(ToUtf8(Text(1, u'\xD800')), "\xEF\xBF\xBD");
}

TEST(CodecTest, Utf8IsToldFromCodePage932) {
  EXPECT_TRUE(LooksUtf8("\xEF\xBB\xBF"));                    // a byte order mark alone
  EXPECT_TRUE(LooksUtf8("1,\xE8\xA1\xA8\xE5\x9C\x9F\r\n"));  // 表土
  EXPECT_FALSE(LooksUtf8("1,A\r\n"));                        // ASCII is both: code page 932
  EXPECT_FALSE(LooksUtf8(EncodeCp932(u"1,表土,花崗岩\r\n")));
  EXPECT_FALSE(LooksUtf8(EncodeCp932(u"ｸﾗｯｸ")));
  EXPECT_FALSE(LooksUtf8("\xE8\xA1"));      // cut short
  EXPECT_FALSE(LooksUtf8("\xC0\xAF"));      // an overlong form
  EXPECT_FALSE(LooksUtf8("\xED\xA0\x80"));  // a surrogate
}

}  // namespace
}  // namespace ostra
