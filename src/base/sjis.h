// Byte-width operations on code page 932 text, and half-width/full-width conversion.
//
// Field widths of the output files are counted in code page 932 bytes: a half-width character
// (ASCII, half-width katakana) takes one byte, every other character two.
#pragma once

#include <cstdint>
#include <optional>

#include "base/codec.h"

namespace ostra {

// Byte width of the code page 932 form.
std::int16_t ByteLen(TextView text);
// The first n bytes. A lone lead byte left at the cut is dropped.
Text ByteLeft(TextView text, std::int32_t n);
// The bytes from `start` (1-based) on, at most `count` of them (to the end when omitted);
// empty when start lies beyond the end. Lone lead/trail bytes at the cuts are dropped.
Text ByteMid(TextView text, std::int32_t start, std::optional<std::int32_t> count = std::nullopt);
// result = exactly w bytes: text padded with blanks, or cut so that no double-byte character is
// split (a straddling character becomes a blank; `text` then keeps its shortened value).
void FitBytes(Text& text, Text& result, std::int16_t w);

// Digits, capital letters and half-width katakana to their full-width forms.
Text ToFullWidth(TextView text);
// Full-width digits, capital letters and katakana to their half-width forms.
Text ToHalfWidth(TextView text);

// The leading part of a path up to and including its last ":" or "\"; empty when none.
Text PathFolder(TextView path);

// ASCII letters in upper case, every other character as it is (names compared as Windows
// compares file names).
Text UpperAscii(Text text);

// Without leading and trailing half-width blanks.
Text Trim(TextView text);
Text TrimLeft(TextView text);
Text TrimRight(TextView text);

}  // namespace ostra
