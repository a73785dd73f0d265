// ITR 33, Lambert's azimuthal equal-area: the whole sphere in a disc of radius 2.
#include "graphics/maps/map_common.hpp"

namespace zep {

void mpfaza(float lon, float lat, float& x, float& y) {
  const float colat = std::clamp(maps::halfPi() - lat, 0.0F, maps::pi());
  maps::placePolar(2.0F * std::sin(colat / 2.0F), lon, 1.0F, x, y);
}

void mpiaza(float x, float y, float& lon, float& lat) {
  const float r = std::hypot(x, y);
  if (r == 0.0F) {
    lon = 0.0F;
    lat = maps::halfPi();
    return;
  }
  if (r > 2.0F) {
    maps::setUndefined(lon, lat);
    return;
  }
  lon = maps::polarAngle(x, y, 1.0F);
  lat = maps::halfPi() - 2.0F * std::asin(r / 2.0F);
}

}  // namespace zep
