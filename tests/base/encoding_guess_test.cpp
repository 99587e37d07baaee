// What a file's bytes say about its encoding.
#include "base/encoding_guess.h"

#include <gtest/gtest.h>

#include <string>

#include "base/codec.h"

namespace ostra {
namespace {

const std::u16string kJapanese =
    u"1.20,表土,暗褐色,\"腐植混じり, 植物根を含む\"\r\n7.80,凝灰質砂岩,ＣＬ\r\n";

TEST(EncodingGuessTest, KatakanaPairsAloneNeverMakeUtf8) {
  for (int a = 0xA1; a <= 0xDF; ++a) {
    for (int b = 0xA1; b <= 0xDF; ++b) {
      const std::string bytes = std::string("1.00,") + static_cast<char>(a) + static_cast<char>(b);
      EXPECT_NE(VerdictOf(ScanUtf8(bytes)), Utf8Verdict::kUtf8) << a << " " << b;
      EXPECT_NE(VerdictOf(ScanUtf8(bytes + bytes)), Utf8Verdict::kUtf8) << a << " " << b;
    }
  }
  // Pairs among Japanese text of code page 932 still read as code page 932.
  EXPECT_EQ(VerdictOf(ScanUtf8(EncodeCp932(kJapanese + u"ﾏｻ,ｸﾗｯｸ\r\n"))), Utf8Verdict::kCp932);
  EXPECT_EQ(VerdictOf(ScanUtf8("1,A\r\n")), Utf8Verdict::kEither);
}

TEST(EncodingGuessTest, OneStrayByteAnywhereInUtf8IsFoundWhereItStands) {
  const std::string utf8 = ToUtf8(kJapanese);
  EXPECT_EQ(VerdictOf(ScanUtf8(utf8)), Utf8Verdict::kUtf8);
  EXPECT_EQ(VerdictOf(ScanUtf8("\xEF\xBB\xBF" + utf8)), Utf8Verdict::kUtf8);
  for (size_t at = 0; at <= utf8.size(); ++at) {
    // Only between characters: inside one, the stray byte also breaks the character.
    if (at < utf8.size() && (static_cast<unsigned char>(utf8[at]) & 0xC0) == 0x80) continue;
    for (const char* stray : {"\xE9", "\x80", "\xFF", "\xE8\xA1"}) {
      const std::string bytes = utf8.substr(0, at) + stray + utf8.substr(at);
      const Utf8Scan scan = ScanUtf8(bytes);
      EXPECT_EQ(VerdictOf(scan), Utf8Verdict::kMostlyUtf8) << at;
      EXPECT_EQ(scan.firstInvalid, at) << at;
    }
  }
}

}  // namespace
}  // namespace ostra
