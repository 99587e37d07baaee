#include "base/codec.h"

#include <gtest/gtest.h>

#include "base/encoding_guess.h"

#ifndef _WIN32
#include <iconv.h>
#endif

namespace ostra {
namespace {

#ifndef _WIN32
// The system's converter, asked one character at a time: the reference the built-in tables were
// made from.
class SystemConverter {
 public:
  SystemConverter()
      : enc_(iconv_open("CP932", "UTF-16LE")), dec_(iconv_open("UTF-16LE", "CP932")) {}
  ~SystemConverter() {
    if (enc_ != kBad) iconv_close(enc_);
    if (dec_ != kBad) iconv_close(dec_);
  }
  bool Ok() const { return enc_ != kBad && dec_ != kBad; }

  // The bytes of one unit; "?" when it has no form.
  std::string Encode(char16_t ch) {
    char in[2] = {static_cast<char>(ch & 0xFF), static_cast<char>(ch >> 8)};
    std::string out = Run(enc_, std::string(in, 2));
    return out.empty() ? std::string(1, kUnencodable) : out;
  }
  // The decoded bytes: a character of one byte, else of two, else "・" for the first byte.
  Text Decode(std::string_view bytes) {
    Text out;
    for (size_t i = 0; i < bytes.size();) {
      size_t len = 1;
      std::string u = Run(dec_, bytes.substr(i, 1));
      if (u.size() != 2 && i + 1 < bytes.size()) {
        len = 2;
        u = Run(dec_, bytes.substr(i, 2));
      }
      if (u.size() == 2) {
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(u[0]) |
                                            (static_cast<unsigned char>(u[1]) << 8)));
        i += len;
      } else {
        out.push_back(kUndecodable);
        ++i;
      }
    }
    return out;
  }

 private:
  static inline const iconv_t kBad = reinterpret_cast<iconv_t>(-1);
  // The whole input converted, or empty.
  static std::string Run(iconv_t cd, std::string_view input) {
    std::string in(input);
    char out[8];
    char* inp = in.data();
    size_t inLeft = in.size();
    char* outp = out;
    size_t outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1) || inLeft != 0 ||
        iconv(cd, nullptr, nullptr, &outp, &outLeft) == static_cast<size_t>(-1)) {
      return {};
    }
    return std::string(out, static_cast<size_t>(outp - out));
  }
  iconv_t enc_;
  iconv_t dec_;
};

TEST(CodecTest, BuiltInTablesAgreeWithTheSystemConverterEverywhere) {
  SystemConverter sys;
  if (!sys.Ok()) GTEST_SKIP() << "this system's iconv cannot open CP932: nothing to compare with";
  int mismatches = 0;
  auto mismatch = [&](const std::string& what) {
    if (++mismatches <= 5) ADD_FAILURE() << what;
  };
  // Every UTF-16 unit, surrogates included.
  for (char32_t cp = 0; cp <= 0xFFFF; ++cp) {
    const auto ch = static_cast<char16_t>(cp);
    const std::string expected =
        (cp >= 0xD800 && cp <= 0xDFFF) ? std::string(1, kUnencodable) : sys.Encode(ch);
    if (EncodeCp932(Text(1, ch)) != expected ||
        CharByteWidth(ch) != static_cast<int>(expected.size())) {
      mismatch("encoding U+" + std::to_string(cp));
    }
  }
  // Every single byte, every two-byte code and every byte followed by a byte that cannot
  // complete it.
  for (int b0 = 0; b0 <= 0xFF; ++b0) {
    const std::string one(1, static_cast<char>(b0));
    if (DecodeCp932(one) != sys.Decode(one)) mismatch("decoding byte " + std::to_string(b0));
    for (int b1 = 0; b1 <= 0xFF; ++b1) {
      const std::string two = one + static_cast<char>(b1);
      if (DecodeCp932(two) != sys.Decode(two)) {
        mismatch("decoding bytes " + std::to_string(b0) + " " + std::to_string(b1));
      }
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
  // The same on every system: the one-way forms, and no form for what Windows keeps for its
  // stray bytes.
  EXPECT_EQ(EncodeCp932(u"\u00A5\u203E\u301C\u2014\u2212"), "\\~\x81\x60\x81\x5C\x81\x7C");
  EXPECT_EQ(EncodeCp932(u"\u0080\uF8F0\uF8F3"), "???");
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
  auto verdict = [](std::string_view bytes) { return VerdictOf(ScanUtf8(bytes)); };
  EXPECT_EQ(verdict("\xEF\xBB\xBF"), Utf8Verdict::kUtf8);                    // a byte order mark
  EXPECT_EQ(verdict("1,\xE8\xA1\xA8\xE5\x9C\x9F\r\n"), Utf8Verdict::kUtf8);  // 表土
  EXPECT_EQ(verdict("1,A\r\n"), Utf8Verdict::kEither);                       // ASCII is both
  EXPECT_EQ(verdict(EncodeCp932(u"1,表土,花崗岩\r\n")), Utf8Verdict::kCp932);
  EXPECT_EQ(verdict(EncodeCp932(u"ｸﾗｯｸ")), Utf8Verdict::kCp932);
  EXPECT_EQ(verdict("\xE8\xA1"), Utf8Verdict::kCp932);      // cut short
  EXPECT_EQ(verdict("\xC0\xAF"), Utf8Verdict::kCp932);      // an overlong form
  EXPECT_EQ(verdict("\xED\xA0\x80"), Utf8Verdict::kCp932);  // a surrogate
}

}  // namespace
}  // namespace ostra
