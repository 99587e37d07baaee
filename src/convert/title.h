// Header decoding, the title files Titl01.txt and Titl02.txt, and the grid-square code.
#pragma once

#include <array>

#include "base/codec.h"
#include "base/drive_path.h"
#include "base/mesh_code.h"
#include "convert/run_env.h"
#include "formats/section_file.h"

namespace ostra {

// TitleItemsA or TitleItemsB: items 1..30, each "" until the header decoder fills it.
class TitleItems {
 public:
  static constexpr int kSize = 30;
  // Item n, 1 <= n <= 30; throws std::out_of_range for any other n.
  Text& operator[](int n) { return items_.at(Index(n)); }
  const Text& operator[](int n) const { return items_.at(Index(n)); }

 private:
  static size_t Index(int n) { return n < 1 ? kSize : static_cast<size_t>(n - 1); }
  std::array<Text, kSize> items_;
};

// The two lists the header decoder fills.
struct TitleItemLists {
  TitleItems a;
  TitleItems b;
};

// A and B from the MDT header items held in fields 1..40 of `items`. Reads L1.TXT and L2.TXT of
// the reference folder; throws RunError naming the table when one is missing or its last record
// lacks its second field.
TitleItemLists DecodeHeaderItems(const RunEnv& env, const RecordFields& items);

// Writes Titl01.txt (23 lines) and Titl02.txt (41 lines) into `destFolder`. Never throws: when it
// cannot finish it warns through env and returns.
void WriteTitleFiles(const RunEnv& env, const TitleItems& a, const TitleItems& b,
                     const DrivePath& destFolder);

}  // namespace ostra
