#include "base/codec.h"

#include <cstdint>
#include <utility>

#include "base/cp932_tables.h"

namespace ostra {

namespace {

constexpr char16_t kReplacement = u'\uFFFD';

// Decodes the character at the front of `bytes`, whose first byte is 0x80 or above: its unit
// and byte length, or a length of 0 when the bytes there do not form a character.
std::pair<char16_t, size_t> DecodeAt(std::string_view bytes) {
  const unsigned b0 = static_cast<unsigned char>(bytes[0]) - 0x80u;
  if (const char16_t single = cp932::kSingle[b0]; single != 0) return {single, 1};
  const unsigned row = cp932::kLeadRow[b0];
  if (row == 0 || bytes.size() < 2) return {0, 0};
  const char16_t pair = cp932::kPairs[(row - 1) * 256 + static_cast<unsigned char>(bytes[1])];
  if (pair == 0) return {0, 0};
  return {pair, 2};
}

}  // namespace

std::string EncodeCp932(TextView text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char16_t ch : text) {
    if (ch < 0x80) {
      out.push_back(static_cast<char>(ch));
      continue;
    }
    const std::uint16_t code = cp932::kEncode[ch];
    if (code == cp932::kNoForm) {
      out.push_back(kUnencodable);
    } else if (code < 0x100) {
      out.push_back(static_cast<char>(code));
    } else {
      out.push_back(static_cast<char>(code >> 8));
      out.push_back(static_cast<char>(code & 0xFF));
    }
  }
  return out;
}

Text DecodeCp932(std::string_view bytes) {
  Text out;
  out.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out.push_back(static_cast<char16_t>(b));
      ++i;
      continue;
    }
    auto [ch, len] = DecodeAt(bytes.substr(i));
    if (len == 0) {
      out.push_back(kUndecodable);
      ++i;
    } else {
      out.push_back(ch);
      i += len;
    }
  }
  return out;
}

int CharByteWidth(char16_t ch) {
  if (ch < 0x80) return 1;
  const std::uint16_t code = cp932::kEncode[ch];
  return (code != cp932::kNoForm && code >= 0x100) ? 2 : 1;
}

std::string ToUtf8(TextView text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

Text FromUtf8(std::string_view s) {
  Text out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    auto b = static_cast<unsigned char>(s[i]);
    char32_t cp;
    size_t len;
    if (b < 0x80) {
      cp = b;
      len = 1;
    } else if ((b & 0xE0) == 0xC0) {
      cp = b & 0x1F;
      len = 2;
    } else if ((b & 0xF0) == 0xE0) {
      cp = b & 0x0F;
      len = 3;
    } else if ((b & 0xF8) == 0xF0) {
      cp = b & 0x07;
      len = 4;
    } else {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    bool ok = i + len <= s.size();
    for (size_t k = 1; ok && k < len; ++k) {
      auto c = static_cast<unsigned char>(s[i + k]);
      if ((c & 0xC0) != 0x80) {
        ok = false;
      } else {
        cp = (cp << 6) | (c & 0x3F);
      }
    }
    if (!ok) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    i += len;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

size_t FindUnencodable(TextView text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t ch = text[i];
    if ((ch >= 0xD800 && ch <= 0xDFFF) || (ch != u'?' && EncodeCp932(text.substr(i, 1)) == "?")) {
      return i;
    }
  }
  return TextView::npos;
}

Text CharacterAt(TextView text, size_t i) {
  const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size();
  return Text(text.substr(i, pair ? 2 : 1));
}

}  // namespace ostra
