// User projection 104, central conical: the sphere projected from its centre
// onto a cone touching it at the standard latitude. Points a quarter circle or
// more away from that parallel lie at infinity; they are drawn at 0.001 short
// of it rather than folding through to the other side of the apex.
#include "graphics/maps/map_common.hpp"

namespace zep {
namespace {
struct Cone {
  float phi0 = 0.7853982F;  // standard latitude (magnitude)
  float r0 = 1.0F;          // radius of the standard parallel
  float n = 0.7071F;        // cone constant
  float s = 1.0F;           // +1 northern, -1 southern cone
} cone;
constexpr float kLimit = 1.5697963F;  // pi/2 - 0.001
}  // namespace

void mpscct(float stlat1) {
  cone.phi0 = std::fabs(stlat1);
  cone.r0 = std::tan(maps::halfPi() - cone.phi0);
  cone.n = std::sin(cone.phi0);
  cone.s = maps::signOf(stlat1);
}

void mpfcct(float lon, float lat, float& x, float& y) {
  const float rho = std::tan(std::clamp(cone.phi0 - cone.s * lat, -kLimit, kLimit)) + cone.r0;
  maps::placePolar(rho, cone.n * xmplon(lon), cone.s, x, y);
}

void mpicct(float x, float y, float& lon, float& lat) {
  const float r = std::hypot(x, y);
  const float lo = r == 0.0F ? 0.0F : maps::polarAngle(x, y, cone.s) / cone.n;
  if (std::fabs(lo) > maps::pi()) {
    maps::setUndefined(lon, lat);
    return;
  }
  lon = lo;
  lat = cone.s * (cone.phi0 - std::atan(r - cone.r0));
}

}  // namespace zep
