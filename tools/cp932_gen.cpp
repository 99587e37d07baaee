// Writes the code page 932 tables that the codec (src/base/codec.cpp) builds in, as a C++
// source, from the build machine's converter (iconv's CP932; on a Windows build machine,
// Windows' code page 932 made to give the same):
//   cp932_gen <output.cpp>
// Runs on the build machine at build time (for a cross build too). Fails, writing nothing,
// when the converter cannot be opened or its tables are not the complete code page 932 the
// codec expects.
#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr std::uint16_t kNoForm = 0xFFFF;

// Expected sizes: two-byte characters (JIS X 0208 rows, NEC row 13, NEC-selected and IBM
// extensions, the user-defined area 0xF040-0xF9FC: 7724 + 1880) and UTF-16 units that have a
// form (ASCII, half-width katakana and the two-byte characters less the doubly coded ones, plus
// the one-way mappings).
constexpr int kExpectedPairs = 9604;
constexpr int kExpectedEncodable = 9406;

int failures = 0;

void Fail(const std::string& what) {
  std::cerr << "cp932_gen: " << what << "\n";
  ++failures;
}

std::string Hex(unsigned v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%04X", v);
  return buf;
}

#ifdef _WIN32
// A build on Windows asks Windows' own conversion, and makes it give what iconv's CP932 gives:
// iconv also encodes these units of the JIS tables one way (the wave dash to the full-width
// tilde, the yen sign to the backslash, ...), where Windows has no form for them.
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
// They are no Shift-JIS characters: none decodes, nothing encodes to them.
bool IsStrayByte(unsigned char b) {
  return b == 0x80 || b == 0xA0 || b >= 0xFD;
}

class Converter {
 public:
  bool Ok() const { return IsValidCodePage(932) != 0; }

  // The bytes of one UTF-16 unit, empty when code page 932 has no form for it.
  std::string EncodeUnit(char16_t ch) {
    if (ch >= 0xD800 && ch <= 0xDFFF) return {};
    if (ch == 0x80 || (ch >= 0xF8F0 && ch <= 0xF8F3)) return {};
    for (const OneWay& m : kOneWay) {
      if (m.unit == ch) return m.bytes;
    }
    const wchar_t w = static_cast<wchar_t>(ch);
    char out[8];
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, &w, 1, out, sizeof out, nullptr,
                                      &usedDefault);
    if (n <= 0 || usedDefault) return {};
    return std::string(out, static_cast<size_t>(n));
  }

  // The character at the front of `bytes` (one or two of them): its unit and byte length, or a
  // length of 0 when they do not form one.
  std::pair<char16_t, size_t> DecodeOne(const std::string& bytes) {
    if (bytes.empty() || IsStrayByte(static_cast<unsigned char>(bytes[0]))) return {0, 0};
    for (int len = 1; len <= 2 && static_cast<size_t>(len) <= bytes.size(); ++len) {
      wchar_t out[4];
      const int n = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), len, out, 4);
      if (n == 1) return {static_cast<char16_t>(out[0]), static_cast<size_t>(len)};
      if (len == 1 && !IsDBCSLeadByteEx(932, static_cast<BYTE>(bytes[0]))) return {0, 0};
    }
    return {0, 0};
  }
};
#else
class Converter {
 public:
  Converter() : enc_(iconv_open("CP932", "UTF-16LE")), dec_(iconv_open("UTF-16LE", "CP932")) {}
  ~Converter() {
    if (enc_ != kBad) iconv_close(enc_);
    if (dec_ != kBad) iconv_close(dec_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool Ok() const { return enc_ != kBad && dec_ != kBad; }

  // The bytes of one UTF-16 unit, empty when code page 932 has no form for it.
  std::string EncodeUnit(char16_t ch) {
    if (ch >= 0xD800 && ch <= 0xDFFF) return {};
    char in[2] = {static_cast<char>(ch & 0xFF), static_cast<char>(ch >> 8)};
    char out[8];
    char* inp = in;
    size_t inLeft = 2;
    char* outp = out;
    size_t outLeft = sizeof out;
    iconv(enc_, nullptr, nullptr, nullptr, nullptr);
    if (iconv(enc_, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1)) return {};
    if (iconv(enc_, nullptr, nullptr, &outp, &outLeft) == static_cast<size_t>(-1)) return {};
    return std::string(out, static_cast<size_t>(outp - out));
  }

  // The character at the front of `bytes` (one or two of them): its unit and byte length, or a
  // length of 0 when they do not form one. A first byte the converter rejects outright ends the
  // search; one it calls incomplete (a lead byte) is tried with its trail byte.
  std::pair<char16_t, size_t> DecodeOne(const std::string& bytes) {
    for (size_t len = 1; len <= 2 && len <= bytes.size(); ++len) {
      char in[2];
      for (size_t i = 0; i < len; ++i) in[i] = bytes[i];
      char out[8];
      char* inp = in;
      size_t inLeft = len;
      char* outp = out;
      size_t outLeft = sizeof out;
      iconv(dec_, nullptr, nullptr, nullptr, nullptr);
      const size_t r = iconv(dec_, &inp, &inLeft, &outp, &outLeft);
      if (r != static_cast<size_t>(-1) && inLeft == 0 && outp - out == 2) {
        auto lo = static_cast<unsigned char>(out[0]);
        auto hi = static_cast<unsigned char>(out[1]);
        return {static_cast<char16_t>(lo | (hi << 8)), len};
      }
      if (r == static_cast<size_t>(-1) && errno != EINVAL && len == 1) return {0, 0};
    }
    return {0, 0};
  }

 private:
  static inline const iconv_t kBad = reinterpret_cast<iconv_t>(-1);
  iconv_t enc_;
  iconv_t dec_;
};
#endif

struct Tables {
  std::vector<char16_t> single = std::vector<char16_t>(128);           // bytes 0x80-0xFF, 0: none
  std::vector<std::uint8_t> leadRow = std::vector<std::uint8_t>(128);  // row + 1, 0: no lead
  std::vector<char16_t> pairs;                                         // 256 per row, 0: none
  std::vector<std::uint16_t> encode = std::vector<std::uint16_t>(65536, kNoForm);
};

Tables Build(Converter& conv) {
  Tables t;
  for (int b = 0; b < 0x80; ++b) {
    auto [ch, len] = conv.DecodeOne(std::string(1, static_cast<char>(b)));
    if (len != 1 || ch != b) Fail("byte " + Hex(b) + " does not decode to itself");
  }
  for (int b0 = 0x80; b0 <= 0xFF; ++b0) {
    auto [ch, len] = conv.DecodeOne(std::string(1, static_cast<char>(b0)));
    if (len == 1) {
      t.single[b0 - 0x80] = ch;
      continue;
    }
    std::vector<char16_t> row(256);
    bool any = false;
    for (int b1 = 0; b1 <= 0xFF; ++b1) {
      auto [c2, l2] = conv.DecodeOne(std::string{static_cast<char>(b0), static_cast<char>(b1)});
      if (l2 == 2 && c2 != 0) {
        row[b1] = c2;
        any = true;
      }
    }
    if (any) {
      t.pairs.insert(t.pairs.end(), row.begin(), row.end());
      t.leadRow[b0 - 0x80] = static_cast<std::uint8_t>(t.pairs.size() / 256);
    }
  }
  for (char32_t cp = 0; cp <= 0xFFFF; ++cp) {
    const std::string bytes = conv.EncodeUnit(static_cast<char16_t>(cp));
    std::uint16_t code = kNoForm;
    if (bytes.size() == 1) {
      code = static_cast<unsigned char>(bytes[0]);
    } else if (bytes.size() == 2) {
      code = static_cast<std::uint16_t>((static_cast<unsigned char>(bytes[0]) << 8) |
                                        static_cast<unsigned char>(bytes[1]));
    }
    if (cp < 0x80 && code != cp) Fail("U+" + Hex(cp) + " does not encode to itself");
    if (cp >= 0x80 && code == 0) code = kNoForm;
    t.encode[cp] = code;
  }
  return t;
}

char16_t Decoded(const Tables& t, unsigned code) {
  const unsigned row = t.leadRow[(code >> 8) - 0x80];
  return row == 0 ? 0 : t.pairs[(row - 1) * 256 + (code & 0xFF)];
}

void Check(const Tables& t) {
  for (int b = 0x80; b <= 0xFF; ++b) {
    // Lead bytes that start at least one character (rows 0x85, 0x86, 0xEB, 0xEC, 0xEF are empty).
    const bool lead = ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) && b != 0x85 &&
                      b != 0x86 && b != 0xEB && b != 0xEC && b != 0xEF;
    const char16_t expected =
        (b >= 0xA1 && b <= 0xDF) ? static_cast<char16_t>(b - 0xA1 + 0xFF61) : 0;
    if (t.single[b - 0x80] != expected) Fail("single byte " + Hex(b) + " decodes wrongly");
    if ((t.leadRow[b - 0x80] != 0) != lead) Fail("byte " + Hex(b) + ": wrong lead byte status");
  }
  int pairs = 0;
  for (char16_t ch : t.pairs) pairs += ch != 0;
  if (pairs != kExpectedPairs) {
    Fail(std::to_string(pairs) + " two-byte characters, expected " +
         std::to_string(kExpectedPairs));
  }
  int encodable = 0;
  for (std::uint16_t code : t.encode) encodable += code != kNoForm;
  if (encodable != kExpectedEncodable) {
    Fail(std::to_string(encodable) + " encodable units, expected " +
         std::to_string(kExpectedEncodable));
  }
  // Hiragana, NEC row 13, NEC-selected IBM extensions, IBM extensions, user-defined area.
  const std::pair<unsigned, char16_t> decodes[] = {
      {0x82A0, u'\u3042'}, {0x8160, u'\uFF5E'}, {0x815F, u'\uFF3C'}, {0x8740, u'\u2460'},
      {0x879A, u'\u2235'}, {0xED40, u'\u7E8A'}, {0xEEFC, u'\uFF02'}, {0xFA40, u'\u2170'},
      {0xFC4B, u'\u9ED1'}, {0xF040, u'\uE000'}, {0xF9FC, u'\uE757'}, {0x889F, u'\u4E9C'}};
  for (auto [code, ch] : decodes) {
    if (Decoded(t, code) != ch) Fail(Hex(code) + " does not decode to U+" + Hex(ch));
  }
  // Round trips, the IBM form chosen for the doubly coded characters, one-way mappings.
  const std::pair<char16_t, unsigned> encodes[] = {
      {u'\u3042', 0x82A0}, {u'\u005C', 0x5C},   {u'\uFF61', 0xA1},    {u'\uFF9F', 0xDF},
      {u'\u2460', 0x8740}, {u'\u7E8A', 0xFA5C}, {u'\u2170', 0xFA40},  {u'\uE000', 0xF040},
      {u'\u00A5', 0x5C},   {u'\u203E', 0x7E},   {u'\u301C', 0x8160},  {u'\uFF5E', 0x8160},
      {u'\u2212', 0x817C}, {u'\u00AC', 0x81CA}, {u'\u0080', kNoForm}, {u'\uF8F0', kNoForm}};
  for (auto [ch, code] : encodes) {
    if (t.encode[ch] != code) Fail("U+" + Hex(ch) + " does not encode to " + Hex(code));
  }
}

template <typename T>
void WriteArray(std::ostream& out, const char* decl, const std::vector<T>& values) {
  out << decl << " = {";
  for (size_t i = 0; i < values.size(); ++i) {
    out << (i % 16 == 0 ? "\n    " : " ") << Hex(values[i]) << ",";
  }
  out << "\n};\n\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: cp932_gen <output.cpp>\n";
    return 2;
  }
  Converter conv;
  if (!conv.Ok()) {
    std::cerr << "cp932_gen: this machine cannot convert between code page 932 and UTF-16 (is "
                 "the CP932 converter module of the C library installed?)\n";
    return 1;
  }
  const Tables t = Build(conv);
  Check(t);
  if (failures != 0) {
    std::cerr << "cp932_gen: this machine's CP932 converter is not the expected code page 932; "
                 "no tables written\n";
    return 1;
  }

  std::ostringstream src;
  src << "// Generated at build time by tools/cp932_gen.cpp. Do not edit.\n"
      << "#include \"base/cp932_tables.h\"\n\n"
      << "namespace ostra::cp932 {\n\n";
  WriteArray(src, "const char16_t kSingle[128]", t.single);
  WriteArray(src, "const std::uint8_t kLeadRow[128]", t.leadRow);
  WriteArray(src, ("const char16_t kPairs[" + std::to_string(t.pairs.size()) + "]").c_str(),
             t.pairs);
  WriteArray(src, "const std::uint16_t kEncode[65536]", t.encode);
  src << "}  // namespace ostra::cp932\n";

  const std::string path = argv[1];
  const std::string temp = path + ".tmp";
  {
    std::ofstream file(temp, std::ios::binary | std::ios::trunc);
    file << src.str();
    if (!file.flush()) {
      std::cerr << "cp932_gen: cannot write " << temp << "\n";
      return 1;
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::cerr << "cp932_gen: cannot write " << path << "\n";
    return 1;
  }
  return 0;
}
