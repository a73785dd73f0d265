// ITR 18, sinusoidal (Sanson-Flamsteed): equal-area, true lengths along every
// parallel and the central meridian.
#include "graphics/maps/map_common.hpp"

namespace zep {

void mpfsin(float lon, float lat, float& x, float& y) {
  const float f = std::clamp(lat, -maps::halfPi(), maps::halfPi());
  x = xmplon(lon) * std::cos(f);
  y = f;
}

void mpisin(float x, float y, float& lon, float& lat) {
  const float c = std::cos(y);
  const float lo = c > 1.0E-5F ? x / c : 0.0F;
  if (std::fabs(lo) > maps::pi() + 0.1F || std::fabs(y) > maps::halfPi()) {
    maps::setUndefined(lon, lat);
    return;
  }
  lon = lo;
  lat = y;
}

}  // namespace zep
