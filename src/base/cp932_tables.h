// The code page 932 tables built into the program. Their source is generated at build time by
// tools/cp932_gen.cpp from the build machine's converter, so that conversion never depends on
// the converter modules of the machine the program runs on.
#pragma once

#include <cstdint>

namespace ostra::cp932 {

// An encoding table entry for a unit without a code page 932 form.
inline constexpr std::uint16_t kNoForm = 0xFFFF;

// The unit of each single byte 0x80-0xFF (index byte - 0x80); 0 when the byte alone is none.
extern const char16_t kSingle[128];
// For each byte 0x80-0xFF (index byte - 0x80) that starts two-byte characters: its row of
// kPairs plus one; 0 for every other byte.
extern const std::uint8_t kLeadRow[128];
// The unit of each two-byte code, 256 trail bytes per row; 0 when the pair is no character.
extern const char16_t kPairs[];
// The code of each UTF-16 unit: a byte value below 0x100, else a two-byte code (lead byte
// high); kNoForm when code page 932 cannot hold it.
extern const std::uint16_t kEncode[65536];

}  // namespace ostra::cp932
