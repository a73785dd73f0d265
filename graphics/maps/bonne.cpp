// ITR 23, Bonne: equal-area, parallels are concentric circles of the
// equidistant conic, each true to scale, so the meridians bend.
#include "graphics/maps/map_common.hpp"

namespace zep {
namespace {
struct Cone {
  float s = 0.0F;   // +1 northern, -1 southern cone
  float q0 = 0.0F;  // radius of the pole
} cone;
}  // namespace

void mpsbon(float stlat1) {
  cone.s = maps::signOf(stlat1);
  const float th1 = maps::halfPi() - std::fabs(stlat1);
  cone.q0 = std::tan(th1) - th1;
}

void mpfbon(float lon, float lat, float& x, float& y) {
  const float th = maps::halfPi() - cone.s * lat;
  const float rho = th + cone.q0;
  if (rho == 0.0F) {
    x = 0.0F;
    y = 0.0F;
    return;
  }
  const float e = std::sin(th) * xmplon(lon) / rho;
  maps::placePolar(rho, e, cone.s, x, y);
}

void mpibon(float x, float y, float& lon, float& lat) {
  const float r = std::hypot(x, y);
  const float th = r - cone.q0;
  const float la = (maps::halfPi() - th) * cone.s;
  if (std::fabs(la) > maps::halfPi()) {
    maps::setUndefined(lon, lat);
    return;
  }
  const float sinTh = std::sin(th);
  // At the apex, and on the pole where every meridian meets, the longitude is 0.
  if (r == 0.0F || std::fabs(la) == maps::halfPi() || std::fabs(sinTh) < 1.0E-6F) {
    lon = 0.0F;
    lat = la;
    return;
  }
  const float lo = r * maps::polarAngle(x, y, cone.s) / sinTh;
  if (std::fabs(lo) > maps::pi()) {
    maps::setUndefined(lon, lat);
    return;
  }
  lon = lo;
  lat = la;
}

}  // namespace zep
