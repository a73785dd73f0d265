// User projection 103, Bacon's globular: a hemisphere (|lon| <= pi/2) in the
// unit disc with straight parallels; the far hemisphere is drawn outside the
// disc and has no inverse.
#include "graphics/maps/map_common.hpp"

namespace zep {

void mpfglb(float lon, float lat, float& x, float& y) {
  x = std::cos(lat) * xmplon(lon) / maps::halfPi();
  y = std::sin(lat);
}

void mpiglb(float x, float y, float& lon, float& lat) {
  if (x * x + y * y > 1.0F) {
    maps::setUndefined(lon, lat);
    return;
  }
  const float la = std::asin(y);
  const float c = std::cos(la);
  lon = std::fabs(c) > 1.0E-5F ? x * maps::halfPi() / c : 0.0F;
  lat = la;
}

}  // namespace zep
