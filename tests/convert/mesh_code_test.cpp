#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "convert/title.h"
#include "support/test_support.h"

namespace ostra {
namespace {

using test::U8;

std::string Mesh(float latD, float latM, float latS, float lonD, float lonM, float lonS) {
  return U8(MakeMeshCode(latD, latM, latS, lonD, lonM, lonS));
}

// A position given in whole seconds of arc, split into degrees, minutes and seconds.
std::string MeshOfSeconds(int lat, int lon) {
  return Mesh(lat / 3600, lat % 3600 / 60, lat % 60, lon / 3600, lon % 3600 / 60, lon % 60);
}

TEST(MeshCodeTest, KnownSquares) {
  EXPECT_EQ(Mesh(35, 40, 0, 139, 45, 0), "53394600");
  EXPECT_EQ(Mesh(35, 45, 12, 139, 45, 30), "53395600");
  EXPECT_EQ(Mesh(35, 0, 0, 139, 0, 0), "52394000");
  // Lies on the southern edge of third-level square 6 and the western edge of column 8.
  EXPECT_EQ(Mesh(43, 3, 0, 141, 21, 0), "64414268");
  // Third-level corner: 30 seconds north and 45 seconds east of a second-level corner.
  EXPECT_EQ(Mesh(35, 0, 30, 139, 0, 45), "52394011");
  EXPECT_EQ(Mesh(35, 0, 29, 139, 0, 44), "52394000");
  // The last third-level square of the last second-level square of a first-level square.
  EXPECT_EQ(Mesh(35, 19, 59, 139, 59, 59), "52397799");
  // First-level edge: 40 minutes of latitude make one band.
  EXPECT_EQ(Mesh(36, 0, 0, 140, 0, 0), "54400000");
}

TEST(MeshCodeTest, PartsAreNotPadded) {
  EXPECT_EQ(Mesh(5, 0, 0, 105, 0, 0), "754000");
}

TEST(MeshCodeTest, ZeroLatitudeOrLongitudeGivesZeros) {
  EXPECT_EQ(Mesh(0, 0, 0, 139, 45, 0), "00000000");
  EXPECT_EQ(Mesh(35, 40, 0, 0, 0, 0), "00000000");
  EXPECT_EQ(Mesh(0, 0, 0, 0, 0, 0), "00000000");
}

// Every corner of a third-level square belongs to the square north-east of it: the point one
// second inside has the same code, the point one second outside (south-west) another one.
TEST(MeshCodeTest, CornersBelongToTheSquareNorthEastOfThem) {
  int mismatches = 0;
  for (int lat = 33 * 3600; lat < 34 * 3600; lat += 30) {
    for (int lon = 135 * 3600; lon < 136 * 3600; lon += 45 * 4) {
      const std::string corner = MeshOfSeconds(lat, lon);
      if (corner != MeshOfSeconds(lat + 1, lon + 1) || corner == MeshOfSeconds(lat - 1, lon) ||
          corner == MeshOfSeconds(lat, lon - 1)) {
        ++mismatches;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(MeshCodeTest, NonFiniteInputGivesZeros) {
  EXPECT_EQ(Mesh(35, 40, 0, std::numeric_limits<float>::infinity(), 0, 0), "00000000");
  EXPECT_EQ(Mesh(std::numeric_limits<float>::quiet_NaN(), 0, 0, 139, 0, 0), "00000000");
}

}  // namespace
}  // namespace ostra
