// Windows only: the built-in code page 932 tables against Windows' own conversion, for every
// single byte, every two-byte code and every UTF-16 unit. The known differences are listed.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

#include "base/codec.h"

#ifdef _WIN32
#include "base/windows_api.h"

namespace ostra {
namespace {

// Units that iconv's CP932 (and so the built-in tables) encodes one way, and Windows does not.
constexpr std::pair<char16_t, const char*> kOneWay[] = {
    {u'\u00A2', "\x81\x91"}, {u'\u00A3', "\x81\x92"}, {u'\u00A5', "\x5C"},
    {u'\u00AC', "\x81\xCA"}, {u'\u2014', "\x81\x5C"}, {u'\u2016', "\x81\x61"},
    {u'\u203E', "\x7E"},     {u'\u2212', "\x81\x7C"}, {u'\u301C', "\x81\x60"},
};

// The single bytes Windows maps to U+0080 and U+F8F0 to U+F8F3 (Wine decodes only 0x80 so, and
// rejects the others, but encodes all five units to them): no Shift-JIS characters, so the
// codec decodes them as undecodable and encodes nothing to them.
constexpr std::pair<unsigned char, char16_t> kStrayBytes[] = {
    {0x80, u'\u0080'}, {0xA0, u'\uF8F0'}, {0xFD, u'\uF8F1'}, {0xFE, u'\uF8F2'}, {0xFF, u'\uF8F3'}};

// Windows' form of one unit: its bytes, or "?" when it has none.
std::string WindowsEncode(char16_t ch) {
  const wchar_t w = static_cast<wchar_t>(ch);
  char out[8];
  BOOL usedDefault = FALSE;
  const int n =
      WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, &w, 1, out, sizeof out, nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return std::string(1, kUnencodable);
  return std::string(out, static_cast<size_t>(n));
}

// Windows' reading of the bytes: a character of one byte, else (after a lead byte) of two, else
// "・" for the first byte.
Text WindowsDecode(const std::string& bytes) {
  Text out;
  for (size_t i = 0; i < bytes.size();) {
    wchar_t w[4];
    int len = 1;
    int n = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data() + i, 1, w, 4);
    if (n != 1 && IsDBCSLeadByteEx(932, static_cast<BYTE>(bytes[i])) && i + 1 < bytes.size()) {
      len = 2;
      n = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data() + i, 2, w, 4);
    }
    if (n == 1) {
      out.push_back(static_cast<char16_t>(w[0]));
      i += static_cast<size_t>(len);
    } else {
      out.push_back(kUndecodable);
      ++i;
    }
  }
  return out;
}

TEST(CodecWindowsTest, BuiltInTablesAgreeWithWindowsButForTheKnownDifferences) {
  int mismatches = 0;
  auto mismatch = [&](const std::string& what) {
    if (++mismatches <= 5) ADD_FAILURE() << what;
  };
  int oneWaySeen = 0;
  for (char32_t cp = 0; cp <= 0xFFFF; ++cp) {
    const auto ch = static_cast<char16_t>(cp);
    std::string expected = WindowsEncode(ch);
    for (const auto& [unit, bytes] : kOneWay) {
      if (unit == ch) {
        // A listed difference must still be one: Windows has no form for it.
        if (expected != "?") mismatch("Windows encodes the one-way U+" + std::to_string(cp));
        expected = bytes;
        ++oneWaySeen;
      }
    }
    for (const auto& [byte, unit] : kStrayBytes) {
      if (unit == ch) {
        if (expected != std::string(1, static_cast<char>(byte))) {
          mismatch("Windows does not encode U+" + std::to_string(cp) + " to its stray byte");
        }
        expected = "?";
      }
    }
    if (cp >= 0xD800 && cp <= 0xDFFF) expected = "?";
    if (EncodeCp932(Text(1, ch)) != expected ||
        CharByteWidth(ch) != static_cast<int>(expected.size())) {
      mismatch("encoding U+" + std::to_string(cp));
    }
  }
  EXPECT_EQ(oneWaySeen, static_cast<int>(std::size(kOneWay)));

  for (int b0 = 0; b0 <= 0xFF; ++b0) {
    const std::string one(1, static_cast<char>(b0));
    Text expected = WindowsDecode(one);
    for (const auto& [byte, unit] : kStrayBytes) {
      if (byte == b0) {
        // Windows maps it; Wine rejects 0xA0 and 0xFD-0xFF.
        if (expected != Text(1, unit) && expected != Text(1, kUndecodable)) {
          mismatch("Windows decodes stray byte " + std::to_string(b0) + " as " +
                   std::to_string(expected[0]));
        }
        expected = Text(1, kUndecodable);
      }
    }
    if (DecodeCp932(one) != expected) mismatch("decoding byte " + std::to_string(b0));
    for (int b1 = 0; b1 <= 0xFF; ++b1) {
      const std::string two = one + static_cast<char>(b1);
      Text pair = WindowsDecode(two);
      for (const auto& [byte, unit] : kStrayBytes) {
        std::replace(pair.begin(), pair.end(), unit, kUndecodable);
      }
      if (DecodeCp932(two) != pair) {
        mismatch("decoding bytes " + std::to_string(b0) + " " + std::to_string(b1));
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace ostra
#endif
