// Byte-width operations on code page 932 text, and half-width/full-width conversion.
#include "base/sjis.h"

#include <array>
#include <cstddef>
#include <limits>
#include <string_view>

namespace ostra {

namespace {

// Half-width katakana U+FF66 ("ｦ") to U+FF9D ("ﾝ") in code order, as their full-width letters.
constexpr std::u16string_view kFullKatakana =
    u"ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモ"
    u"ヤユヨラリルレロワン";
constexpr char16_t kHalfKatakanaFirst = u'\uFF66';
constexpr char16_t kHalfKatakanaLast = u'\uFF9D';
static_assert(kFullKatakana.size() == kHalfKatakanaLast - kHalfKatakanaFirst + 1);

// Full-width katakana block handled by ToHalfWidth: "ァ" to "ン".
constexpr char16_t kFullKatakanaFirst = u'\u30A1';
constexpr char16_t kFullKatakanaLast = u'\u30F3';

// Letters whose voiced form is the next code point, and those whose semi-voiced form is two on.
constexpr std::u16string_view kVoiced = u"ガギグゲゴザジズゼゾダヂヅデドバビブベボ";
constexpr std::u16string_view kSemiVoiced = u"パピプペポ";

// Offset between an ASCII digit or capital letter and its full-width form. In code page 932
// the full-width forms lie at the ASCII code plus 0x821F; in Unicode the same blocks lie
// 0xFEE0 apart.
constexpr char16_t kWideOffset = 0xFEE0;

// ":" to "@" sit between the digits and the capitals; they have no full-width form at the
// shifted codes and are kept as they are (and so are "：" to "＠").
bool IsNarrowDigitOrCapital(char16_t ch) {
  return (ch >= u'0' && ch <= u'9') || (ch >= u'A' && ch <= u'Z');
}
bool IsWideDigitOrCapital(char16_t ch) {
  return (ch >= u'０' && ch <= u'９') || (ch >= u'Ａ' && ch <= u'Ｚ');
}

// Half-width forms of "ァ" to "ン", one entry per code point; empty where there is none.
using HalfTable = std::array<Text, kFullKatakanaLast - kFullKatakanaFirst + 1>;

HalfTable MakeHalfTable() {
  HalfTable table;
  auto slot = [&table](char16_t full) -> Text& { return table[full - kFullKatakanaFirst]; };
  for (std::size_t i = 0; i < kFullKatakana.size(); ++i) {
    char16_t full = kFullKatakana[i];
    if (full >= kFullKatakanaFirst && full <= kFullKatakanaLast) {
      slot(full) = Text(1, static_cast<char16_t>(kHalfKatakanaFirst + i));
    }
  }
  for (char16_t voiced : kVoiced) slot(voiced) = slot(voiced - 1) + u"ﾞ";
  for (char16_t semi : kSemiVoiced) slot(semi) = slot(semi - 2) + u"ﾟ";
  return table;
}

const HalfTable& HalfForms() {
  static const HalfTable table = MakeHalfTable();
  return table;
}

// Byte width without the 16-bit limit of ByteLen.
std::size_t WideByteLen(TextView text) {
  std::size_t sum = 0;
  for (char16_t ch : text) sum += static_cast<std::size_t>(CharByteWidth(ch));
  return sum;
}

// The characters lying wholly within bytes first..last (1-based, inclusive). A character cut
// by either end is left out.
Text CharsWithinBytes(TextView text, std::int64_t first, std::int64_t last) {
  Text out;
  std::int64_t pos = 1;  // byte position of the current character
  for (char16_t ch : text) {
    if (pos > last) break;
    std::int64_t end = pos + CharByteWidth(ch) - 1;
    if (pos >= first && end <= last) out.push_back(ch);
    pos = end + 1;
  }
  return out;
}

bool IsBlank(char16_t ch) {
  return ch == u' ';
}

}  // namespace

std::int16_t ByteLen(TextView text) {
  std::size_t len = WideByteLen(text);
  constexpr auto kMax = static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max());
  return static_cast<std::int16_t>(len > kMax ? kMax : len);
}

Text ByteLeft(TextView text, std::int32_t n) {
  if (n <= 0) return Text();
  return CharsWithinBytes(text, 1, n);
}

Text ByteMid(TextView text, std::int32_t start, std::optional<std::int32_t> count) {
  std::int64_t first = start < 1 ? 1 : start;
  std::int64_t last = std::numeric_limits<std::int64_t>::max();
  if (count) {
    if (*count <= 0) return Text();
    last = first + *count - 1;
  }
  return CharsWithinBytes(text, first, last);
}

void FitBytes(Text& text, Text& result, std::int16_t w) {
  if (w <= 0) {
    result.clear();
    return;
  }
  const auto width = static_cast<std::size_t>(w);
  if (WideByteLen(text) <= width) {
    result = text;
    result.append(width - WideByteLen(text), u' ');
    return;
  }
  std::size_t sum = 0;
  for (char16_t ch : text) {
    sum += static_cast<std::size_t>(CharByteWidth(ch));
    if (sum == width) break;
    if (sum > width) {
      // A double-byte character straddles the last byte: it gives way to a blank, and the
      // caller's text keeps the shortened form.
      text = ByteLeft(text, w - 1) + u"  ";
      break;
    }
  }
  result = ByteLeft(text, w);
}

Text ToFullWidth(TextView text) {
  Text out;
  out.reserve(text.size());
  for (char16_t ch : text) {
    if (IsNarrowDigitOrCapital(ch)) {
      out.push_back(static_cast<char16_t>(ch + kWideOffset));
    } else if (ch >= kHalfKatakanaFirst && ch <= kHalfKatakanaLast) {
      out.push_back(kFullKatakana[ch - kHalfKatakanaFirst]);
    } else {
      out.push_back(ch);
    }
  }
  return out;
}

Text ToHalfWidth(TextView text) {
  const HalfTable& half = HalfForms();
  Text out;
  out.reserve(text.size());
  for (char16_t ch : text) {
    if (IsWideDigitOrCapital(ch)) {
      out.push_back(static_cast<char16_t>(ch - kWideOffset));
    } else if (ch >= kFullKatakanaFirst && ch <= kFullKatakanaLast &&
               !half[ch - kFullKatakanaFirst].empty()) {
      out += half[ch - kFullKatakanaFirst];
    } else {
      out.push_back(ch);
    }
  }
  return out;
}

Text PathFolder(TextView path) {
  std::size_t pos = path.find_last_of(u":\\");
  if (pos == TextView::npos) return Text();
  return Text(path.substr(0, pos + 1));
}

Text Trim(TextView text) {
  return TrimLeft(TrimRight(text));
}

Text TrimLeft(TextView text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  return Text(text.substr(i));
}

Text TrimRight(TextView text) {
  std::size_t n = text.size();
  while (n > 0 && IsBlank(text[n - 1])) --n;
  return Text(text.substr(0, n));
}

Text UpperAscii(Text text) {
  for (char16_t& c : text) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  return text;
}

}  // namespace ostra
