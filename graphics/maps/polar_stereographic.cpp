// ITR 31, polar stereographic: conformal, the sphere projected from the south
// pole of T onto the plane of the north pole. The south pole itself lies at
// infinity and is drawn at colatitude pi - 1e-4.
#include "graphics/maps/map_common.hpp"

namespace zep {

void mpfpst(float lon, float lat, float& x, float& y) {
  const float colat = std::min(maps::halfPi() - lat, maps::pi() - 1.0E-4F);
  maps::placePolar(2.0F * std::tan(colat / 2.0F), lon, 1.0F, x, y);
}

void mpipst(float x, float y, float& lon, float& lat) {
  const float r = std::hypot(x, y);
  lon = maps::polarAngle(x, y, 1.0F);
  lat = maps::halfPi() - 2.0F * std::atan(r / 2.0F);
}

}  // namespace zep
