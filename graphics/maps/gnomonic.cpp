// ITR 34, gnomonic: the sphere projected from its centre, so every great circle
// is a straight line. The equator of T lies at infinity and is drawn at
// colatitude pi/2 - 0.001 (radius about 1000); the far hemisphere folds onto it.
#include "graphics/maps/map_common.hpp"

namespace zep {

void mpfgno(float lon, float lat, float& x, float& y) {
  const float colat = std::clamp(maps::halfPi() - lat, 0.0F, 1.5697963F);
  maps::placePolar(std::tan(colat), lon, 1.0F, x, y);
}

void mpigno(float x, float y, float& lon, float& lat) {
  const float r = std::hypot(x, y);
  if (r == 0.0F) {
    lon = 0.0F;
    lat = maps::halfPi();
    return;
  }
  lon = maps::polarAngle(x, y, 1.0F);
  lat = maps::halfPi() - std::atan(r);
}

}  // namespace zep
