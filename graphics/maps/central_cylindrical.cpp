// User projection 100, central cylindrical: the sphere projected from its
// centre onto a cylinder touching the equator; the poles lie at infinity and
// are drawn at latitude pi/2 - 1e-5.
#include "graphics/maps/map_common.hpp"

namespace zep {

void mpfcyc(float lon, float lat, float& x, float& y) {
  const float limit = maps::halfPi() - 1.0E-5F;
  x = xmplon(lon);
  y = std::tan(std::clamp(lat, -limit, limit));
}

void mpicyc(float x, float y, float& lon, float& lat) {
  if (std::fabs(x) > maps::pi()) {
    maps::setUndefined(lon, lat);
    return;
  }
  lon = x;
  lat = std::atan(y);
}

}  // namespace zep
