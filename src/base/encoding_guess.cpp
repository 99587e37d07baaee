#include "base/encoding_guess.h"

namespace ostra {

namespace {

// Length of the valid UTF-8 character at `i` (shortest form, no surrogate), or 0.
size_t CharLength(std::string_view s, size_t i) {
  const auto b = static_cast<unsigned char>(s[i]);
  size_t length = 0;
  if (b < 0x80) return 1;
  if (b >= 0xC2 && b <= 0xDF) {
    length = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    length = 3;
  } else if (b >= 0xF0 && b <= 0xF4) {
    length = 4;
  } else {
    return 0;
  }
  if (i + length > s.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    const auto c = static_cast<unsigned char>(s[i + k]);
    if (c < 0x80 || c > 0xBF) return 0;
  }
  const auto c1 = static_cast<unsigned char>(s[i + 1]);
  if ((b == 0xE0 && c1 < 0xA0) || (b == 0xED && c1 > 0x9F) || (b == 0xF0 && c1 < 0x90) ||
      (b == 0xF4 && c1 > 0x8F)) {
    return 0;
  }
  return length;
}

// Half-width katakana in code page 932: one byte from A1 to DF.
bool IsKatakanaByte(unsigned char b) {
  return b >= 0xA1 && b <= 0xDF;
}

}  // namespace

Utf8Scan ScanUtf8(std::string_view bytes) {
  Utf8Scan scan;
  size_t i = 0;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    scan.bom = true;
    i = 3;
  }
  while (i < bytes.size()) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b >= 0x80) scan.highBytes = true;
    const size_t length = CharLength(bytes, i);
    if (length == 0) {
      if (scan.invalid++ == 0) scan.firstInvalid = i;
      ++i;
      continue;
    }
    if (length > 2 ||
        (length == 2 &&
         !(IsKatakanaByte(b) && IsKatakanaByte(static_cast<unsigned char>(bytes[i + 1]))))) {
      ++scan.evidence;
    }
    i += length;
  }
  return scan;
}

Utf8Verdict VerdictOf(const Utf8Scan& scan) {
  if (scan.bom || scan.evidence > scan.invalid) {
    return scan.invalid == 0 ? Utf8Verdict::kUtf8 : Utf8Verdict::kMostlyUtf8;
  }
  if (scan.invalid == 0 && scan.evidence == 0) return Utf8Verdict::kEither;
  return Utf8Verdict::kCp932;
}

}  // namespace ostra
