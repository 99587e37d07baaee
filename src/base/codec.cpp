#include "base/codec.h"

#include <array>
#include <cerrno>
#include <cstdint>

#ifdef _WIN32
#include "base/windows_api.h"
#else
#include <iconv.h>
#endif

namespace ostra {

namespace {

constexpr char16_t kReplacement = u'\uFFFD';

#ifndef _WIN32
// One converter per direction and thread; iconv handles keep shift state, so each call resets.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t Get() {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    return cd_;
  }

 private:
  iconv_t cd_;
};

Iconv& Encoder() {
  thread_local Iconv enc("CP932", "UTF-16LE");
  return enc;
}
Iconv& Decoder() {
  thread_local Iconv dec("UTF-16LE", "CP932");
  return dec;
}

// Encodes one UTF-16 unit; empty when code page 932 has no form for it.
std::string EncodeUnit(char16_t ch) {
  if (ch >= 0xD800 && ch <= 0xDFFF) return {};
  Iconv& enc = Encoder();
  if (!enc.Ok()) return {};
  char in[2] = {static_cast<char>(ch & 0xFF), static_cast<char>(ch >> 8)};
  char out[8];
  char* inp = in;
  size_t inLeft = 2;
  char* outp = out;
  size_t outLeft = sizeof out;
  iconv_t cd = enc.Get();
  if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1)) return {};
  if (iconv(cd, nullptr, nullptr, &outp, &outLeft) == static_cast<size_t>(-1)) return {};
  return std::string(out, static_cast<size_t>(outp - out));
}

// Decodes the character at the front of `bytes`: its UTF-16 unit and its byte length, or a
// length of 0 when the bytes there do not form a character.
std::pair<char16_t, size_t> DecodeOne(std::string_view bytes) {
  Iconv& dec = Decoder();
  if (!dec.Ok()) return {0, 0};
  for (size_t len = 1; len <= 2 && len <= bytes.size(); ++len) {
    char in[2];
    for (size_t i = 0; i < len; ++i) in[i] = bytes[i];
    char out[8];
    char* inp = in;
    size_t inLeft = len;
    char* outp = out;
    size_t outLeft = sizeof out;
    size_t r = iconv(dec.Get(), &inp, &inLeft, &outp, &outLeft);
    if (r != static_cast<size_t>(-1) && inLeft == 0 && outp - out == 2) {
      auto lo = static_cast<unsigned char>(out[0]);
      auto hi = static_cast<unsigned char>(out[1]);
      return {static_cast<char16_t>(lo | (hi << 8)), len};
    }
    if (r == static_cast<size_t>(-1) && errno != EINVAL) {
      // EILSEQ on one byte: a two-byte sequence cannot start here either, unless the byte is a
      // lead byte, which iconv reports as EINVAL (incomplete). Try the longer form only then.
      if (len == 1) return {0, 0};
    }
  }
  return {0, 0};
}
#else
// Code page 932 as iconv and most converters know it also takes these characters of the JIS
// tables one way (the wave dash becomes the full-width tilde, the yen sign the backslash, ...).
// Windows answers "no form" for them; mapping them here keeps the files written on Windows and
// elsewhere byte for byte the same.
struct OneWay {
  char16_t unit;
  const char* bytes;
};
constexpr OneWay kOneWay[] = {
    {u'\u00A2', "\x81\x91"}, {u'\u00A3', "\x81\x92"}, {u'\u00A5', "\x5C"},
    {u'\u00AC', "\x81\xCA"}, {u'\u2014', "\x81\x5C"}, {u'\u2016', "\x81\x61"},
    {u'\u203E', "\x7E"},     {u'\u2212', "\x81\x7C"}, {u'\u301C', "\x81\x60"},
};

// Windows maps the single bytes 0x80, 0xA0 and 0xFD to 0xFF to U+0080 and U+F8F0 to U+F8F3.
// They are no Shift-JIS characters: they decode as undecodable bytes and nothing encodes to
// them.
bool IsStrayByte(unsigned char b) {
  return b == 0x80 || b == 0xA0 || b >= 0xFD;
}

std::string EncodeUnit(char16_t ch) {
  if (ch >= 0xD800 && ch <= 0xDFFF) return {};
  if (ch == 0x80 || (ch >= 0xF8F0 && ch <= 0xF8F3)) return {};
  for (const OneWay& m : kOneWay) {
    if (m.unit == ch) return m.bytes;
  }
  wchar_t w = static_cast<wchar_t>(ch);
  char out[8];
  BOOL usedDefault = FALSE;
  int n =
      WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, &w, 1, out, sizeof out, nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return {};
  return std::string(out, static_cast<size_t>(n));
}

std::pair<char16_t, size_t> DecodeOne(std::string_view bytes) {
  if (bytes.empty() || IsStrayByte(static_cast<unsigned char>(bytes[0]))) return {0, 0};
  for (int len = 1; len <= 2 && static_cast<size_t>(len) <= bytes.size(); ++len) {
    wchar_t out[4];
    int n = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), len, out, 4);
    if (n == 1) return {static_cast<char16_t>(out[0]), static_cast<size_t>(len)};
    if (len == 1 && !IsDBCSLeadByteEx(932, static_cast<BYTE>(bytes[0]))) return {0, 0};
  }
  return {0, 0};
}
#endif

// Conversions are cached per thread: the converter is asked once per character.
constexpr std::uint16_t kUnknown = 0;
constexpr std::uint16_t kNoForm = 0xFFFF;

// Code page 932 code of a unit (a byte value below 0x100, else a two-byte code), kNoForm when
// it has none.
std::uint16_t EncodedCode(char16_t ch) {
  thread_local std::array<std::uint16_t, 65536> cache{};
  std::uint16_t& c = cache[ch];
  if (c == kUnknown) {
    std::string enc = EncodeUnit(ch);
    if (enc.size() == 1) {
      c = static_cast<unsigned char>(enc[0]);
    } else if (enc.size() == 2) {
      c = static_cast<std::uint16_t>((static_cast<unsigned char>(enc[0]) << 8) |
                                     static_cast<unsigned char>(enc[1]));
    } else {
      c = kNoForm;
    }
    if (c == kUnknown) c = kNoForm;  // only U+0000 encodes to 0, and ASCII never gets here
  }
  return c;
}

// The unit of a single byte (>= 0x80): kNoForm when it is a lead byte or invalid.
struct SingleByte {
  char16_t unit = 0;
  bool known = false;
};

std::pair<char16_t, size_t> DecodeCached(std::string_view bytes) {
  thread_local std::array<SingleByte, 256> singles{};
  thread_local std::array<char16_t, 65536> doubles{};
  auto b0 = static_cast<unsigned char>(bytes[0]);
  SingleByte& s = singles[b0];
  if (!s.known) {
    auto [ch, len] = DecodeOne(bytes.substr(0, 1));
    s.known = true;
    s.unit = (len == 1) ? ch : static_cast<char16_t>(kNoForm);
  }
  if (s.unit != kNoForm) return {s.unit, 1};
  if (bytes.size() < 2) return {0, 0};
  auto b1 = static_cast<unsigned char>(bytes[1]);
  char16_t& d = doubles[static_cast<std::uint16_t>((b0 << 8) | b1)];
  if (d == 0) {
    auto [ch, len] = DecodeOne(bytes.substr(0, 2));
    d = (len == 2) ? ch : static_cast<char16_t>(kNoForm);
  }
  if (d == kNoForm) return {0, 0};
  return {d, 2};
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
    std::uint16_t code = EncodedCode(ch);
    if (code == kNoForm) {
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
    auto [ch, len] = DecodeCached(bytes.substr(i));
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
  std::uint16_t code = EncodedCode(ch);
  return (code != kNoForm && code >= 0x100) ? 2 : 1;
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

bool LooksUtf8(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return true;
  bool multiByte = false;
  for (size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    size_t length = 1;
    if (b >= 0xC2 && b <= 0xDF) {
      length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 3;
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4;
    } else if (b >= 0x80) {
      return false;
    }
    if (i + length > bytes.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      const auto c = static_cast<unsigned char>(bytes[i + k]);
      if (c < 0x80 || c > 0xBF) return false;
    }
    // Overlong forms and surrogates are no UTF-8.
    const auto c1 = length > 1 ? static_cast<unsigned char>(bytes[i + 1]) : 0;
    if ((b == 0xE0 && c1 < 0xA0) || (b == 0xED && c1 > 0x9F) || (b == 0xF0 && c1 < 0x90) ||
        (b == 0xF4 && c1 > 0x8F)) {
      return false;
    }
    multiByte = multiByte || length > 1;
    i += length;
  }
  return multiByte;
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
