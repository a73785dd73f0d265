// ITR 20, equidistant conic on one standard latitude: meridians are true to
// scale, parallels are concentric circles about the cone's apex.
#include "graphics/maps/map_common.hpp"

namespace zep {
namespace {
struct Cone {
  float s = 0.0F;   // +1 northern, -1 southern cone
  float n = 0.0F;   // cone constant
  float q0 = 0.0F;  // radius of the pole
} cone;
}  // namespace

void mpscon(float stlat1) {
  cone.s = maps::signOf(stlat1);
  const float th1 = maps::halfPi() - std::fabs(stlat1);
  cone.n = std::cos(th1);
  cone.q0 = std::tan(th1) - th1;
}

void mpfcon(float lon, float lat, float& x, float& y) {
  const float th = maps::halfPi() - cone.s * lat;
  maps::placePolar(th + cone.q0, cone.n * xmplon(lon), cone.s, x, y);
}

void mpicon(float x, float y, float& lon, float& lat) {
  const float r = std::hypot(x, y);
  const float lo = maps::polarAngle(x, y, cone.s) / cone.n;
  const float la = (maps::halfPi() - r + cone.q0) * cone.s;
  if (std::fabs(lo) > maps::pi() || std::fabs(la) > maps::halfPi()) {
    maps::setUndefined(lon, lat);
    return;
  }
  lon = lo;
  lat = la;
}

}  // namespace zep
