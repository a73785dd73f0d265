// ITR 16, Miller cylindrical: Mercator with latitudes scaled by 0.8 and the
// result by 1.25, so that the poles lie at a finite distance.
#include "graphics/maps/map_common.hpp"

namespace zep {

void mpfmil(float lon, float lat, float& x, float& y) {
  const float f = std::clamp(lat, -maps::halfPi(), maps::halfPi());
  x = xmplon(lon);
  y = 1.25F * static_cast<float>(std::log(std::tan(maps::pi() / 4.0 + 0.4 * static_cast<double>(f))));
}

void mpimil(float x, float y, float& lon, float& lat) {
  const float l = static_cast<float>(1.25 * std::atan(std::sinh(0.8 * static_cast<double>(y))));
  if (std::fabs(x) > maps::pi() || std::fabs(l) > maps::halfPi()) {
    maps::setUndefined(lon, lat);
    return;
  }
  lon = x;
  lat = l;
}

}  // namespace zep
