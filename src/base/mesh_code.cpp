// The JIS X 0410 third-level grid-square code.
//
// A first-level square spans 40 minutes of latitude by 1 degree of longitude, a second-level
// square an eighth of that (5 minutes by 7.5 minutes), a third-level square a tenth of that
// (30 seconds by 45 seconds). Working in seconds of arc, the squares are 2400 by 3600, 300 by
// 450 and 30 by 45 seconds, so every step below is a whole-number division with a remainder.
// The inputs come from the header decoder as whole degrees, minutes and seconds; even when they
// carry fractions, each float converts exactly to double and the sums in seconds stay exact for
// any sensible position. The divisions are checked against the exact products, so a position on
// the edge of a square falls into the square whose south-west corner it is.
#include "base/mesh_code.h"

#include <cmath>
#include <cstdint>

#include "base/numbers.h"

namespace ostra {
namespace {

// Beyond this many seconds of arc a value is no position at all (and would not fit the whole
// numbers used below).
constexpr double kMaxSeconds = 1e15;

struct DivResult {
  std::int64_t quotient;  // truncated toward zero
  double remainder;       // num - quotient * den, with the sign of num
};

// Truncating division of an exactly held number by a positive whole divisor. The quotient
// from the floating-point division may be one off near a multiple of `den`; it is corrected
// against the exact product.
DivResult TruncDiv(double num, double den) {
  double q = std::trunc(num / den);
  if (num >= 0) {
    while (q > 0 && q * den > num) q -= 1;
    while ((q + 1) * den <= num) q += 1;
  } else {
    while (q < 0 && q * den < num) q += 1;
    while ((q - 1) * den >= num) q -= 1;
  }
  return {static_cast<std::int64_t>(q), num - q * den};
}

double Seconds(float deg, float min, float sec) {
  return static_cast<double>(deg) * 3600.0 + static_cast<double>(min) * 60.0 +
         static_cast<double>(sec);
}

bool Usable(double seconds) {
  return std::isfinite(seconds) && std::fabs(seconds) < kMaxSeconds;
}

}  // namespace

Text MakeMeshCode(float latDeg, float latMin, float latSec, float lonDeg, float lonMin,
                  float lonSec) {
  const double lat = Seconds(latDeg, latMin, latSec);
  const double lon = Seconds(lonDeg, lonMin, lonSec);
  if (lat == 0 || lon == 0 || !Usable(lat) || !Usable(lon)) return u"00000000";

  // First level: latitude × 1.5 in degrees is latitude / 2400 in seconds; the longitude band
  // is the last two digits of the whole degrees.
  const DivResult band = TruncDiv(lat, 2400);
  const DivResult degrees = TruncDiv(lon, 3600);
  // Second level: eighths of the first-level square.
  const DivResult lat2 = TruncDiv(band.remainder, 300);
  const DivResult lon2 = TruncDiv(degrees.remainder, 450);
  // Third level: tenths of the second-level square.
  const DivResult lat3 = TruncDiv(lat2.remainder, 30);
  const DivResult lon3 = TruncDiv(lon2.remainder, 45);

  return IntText(band.quotient) + IntText(degrees.quotient % 100) + IntText(lat2.quotient) +
         IntText(lon2.quotient) + IntText(lat3.quotient) + IntText(lon3.quotient);
}

}  // namespace ostra
