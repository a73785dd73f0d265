// ITR 21, Lambert's equal-area conic on one standard latitude.
#include "graphics/maps/map_common.hpp"

namespace zep {
namespace {
struct Cone {
  float s = 0.0F;  // +1 northern, -1 southern cone
  float k = 0.0F;  // radius scale
  float n = 0.0F;  // cone constant
} cone;
}  // namespace

void mpscoa(float stlat1) {
  cone.s = maps::signOf(stlat1);
  const float ca = std::cos((maps::halfPi() - std::fabs(stlat1)) / 2.0F);
  cone.k = 2.0F / ca;
  cone.n = ca * ca;
}

void mpfcoa(float lon, float lat, float& x, float& y) {
  const float th = maps::halfPi() - cone.s * lat;
  maps::placePolar(cone.k * std::sin(th / 2.0F), cone.n * xmplon(lon), cone.s, x, y);
}

void mpicoa(float x, float y, float& lon, float& lat) {
  const float r = std::hypot(x, y);
  const float lo = maps::polarAngle(x, y, cone.s) / cone.n;
  if (std::fabs(lo) > maps::pi() || r / cone.k > 1.0F) {
    maps::setUndefined(lon, lat);
    return;
  }
  lon = lo;
  lat = (maps::halfPi() - 2.0F * std::asin(r / cone.k)) * cone.s;
}

}  // namespace zep
