// What the bytes of a text file say about its encoding: UTF-8 or code page 932.
//
// Code page 932 text is seldom valid UTF-8: its common two-byte characters start with bytes that
// UTF-8 never starts a character with. The exception is half-width katakana: two of them in a
// row ("ﾏｻ", CF BB) are also one valid two-byte UTF-8 character. Such pairs are no evidence
// either way.
#pragma once

#include <cstddef>
#include <string_view>

namespace ostra {

struct Utf8Scan {
  bool bom = false;         // starts with the UTF-8 byte order mark
  bool highBytes = false;   // holds a byte of 0x80 or above (after the byte order mark)
  size_t evidence = 0;      // UTF-8 characters of more than one byte that are no katakana pair
  size_t invalid = 0;       // bytes that start no valid UTF-8 character
  size_t firstInvalid = 0;  // offset of the first of them (when `invalid` > 0)
};

Utf8Scan ScanUtf8(std::string_view bytes);

// What one file's bytes say.
enum class Utf8Verdict {
  kEither,      // ASCII only, or valid UTF-8 whose only multi-byte characters are katakana pairs
  kUtf8,        // a byte order mark, or valid UTF-8 with evidence
  kMostlyUtf8,  // UTF-8 by its evidence, with fewer bytes that are not UTF-8
  kCp932,       // not UTF-8
};

Utf8Verdict VerdictOf(const Utf8Scan& scan);

}  // namespace ostra
