// ITR 32, azimuthal equidistant: distances from the pole of T are true.
#include "graphics/maps/map_common.hpp"

namespace zep {

void mpfazm(float lon, float lat, float& x, float& y) {
  const float r = std::clamp(maps::halfPi() - lat, 0.0F, maps::pi());
  maps::placePolar(r, lon, 1.0F, x, y);
}

void mpiazm(float x, float y, float& lon, float& lat) {
  const float r = std::hypot(x, y);
  if (r == 0.0F) {
    lon = 0.0F;
    lat = maps::halfPi();
    return;
  }
  if (r > maps::pi()) {
    maps::setUndefined(lon, lat);
    return;
  }
  lon = maps::polarAngle(x, y, 1.0F);
  lat = maps::halfPi() - r;
}

}  // namespace zep
