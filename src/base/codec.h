// Code page 932 (Shift-JIS) conversion and byte widths.
//
// Text in memory is UTF-16: every character of code page 932 is one UTF-16 unit.
// Files are code page 932. Conversion uses tables built into the program (base/cp932_tables.h),
// the same on every system, whatever converters the system has.
#pragma once

#include <string>
#include <string_view>

namespace ostra {

using Text = std::u16string;
using TextView = std::u16string_view;

// The character that stands for bytes that do not decode: "・".
inline constexpr char16_t kUndecodable = u'\u30FB';
// The byte written for a character that code page 932 cannot hold.
inline constexpr char kUnencodable = '?';

// Encodes to code page 932. A character without a code page 932 form becomes "?".
std::string EncodeCp932(TextView text);
// Decodes code page 932 bytes. Every byte that does not start a valid character becomes "・";
// never throws.
Text DecodeCp932(std::string_view bytes);
// Bytes one character takes in code page 932 (1 or 2; an unencodable character takes the one
// byte of "?").
int CharByteWidth(char16_t ch);

// The first character (by index) that code page 932 cannot hold, or npos.
size_t FindUnencodable(TextView text);
// The character that starts at `i`: both halves of a surrogate pair.
Text CharacterAt(TextView text, size_t i);

// UTF-8 <-> UTF-16, for host paths, the terminal and tests. Invalid input becomes U+FFFD.
std::string ToUtf8(TextView text);
Text FromUtf8(std::string_view utf8);

}  // namespace ostra
