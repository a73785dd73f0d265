// ITR 22, Lambert's conformal conic on two standard latitudes.
#include "graphics/maps/map_common.hpp"

namespace zep {
namespace {
struct Cone {
  float s = 0.0F;  // +1 northern, -1 southern cone
  float n = 0.0F;  // cone constant
  float f = 0.0F;  // radius scale
} cone;
}  // namespace

void mpscoc(float stlat1, float stlat2) {
  cone.s = maps::signOf(stlat1 + stlat2);
  const double hp = maps::halfPi();
  const double tha = hp - std::max(std::fabs(stlat1), std::fabs(stlat2));
  const double thb = hp - std::min(std::fabs(stlat1), std::fabs(stlat2));
  const double den = std::log(std::tan(thb / 2.0)) - std::log(std::tan(tha / 2.0));
  // Two standard latitudes of one magnitude make the secant formula 0/0; its
  // limit is the cone tangent at that latitude.
  const double n = std::fabs(den) > 1.0E-6 ? (std::log(std::sin(thb)) - std::log(std::sin(tha))) / den
                                           : std::cos(tha);
  cone.n = static_cast<float>(n);
  cone.f = static_cast<float>(std::sin(tha) / n / std::pow(std::tan(tha / 2.0), n));
}

void mpfcoc(float lon, float lat, float& x, float& y) {
  const float th = std::min(maps::halfPi() - cone.s * lat, maps::pi() - 1.0E-5F);
  float t = std::tan(th / 2.0F);
  if (std::fabs(t) < 1.0E-6F) t = 0.0F;
  const float rho = std::min(cone.f * std::pow(t, cone.n), 10.0F);
  maps::placePolar(rho, cone.n * xmplon(lon), cone.s, x, y);
}

void mpicoc(float x, float y, float& lon, float& lat) {
  const float r = std::hypot(x, y);
  if (r == 0.0F) {
    lon = 0.0F;
    lat = cone.s * maps::halfPi();
    return;
  }
  const float lo = maps::polarAngle(x, y, cone.s) / cone.n;
  if (std::fabs(lo) > maps::pi()) {
    maps::setUndefined(lon, lat);
    return;
  }
  lon = lo;
  lat = (maps::halfPi() - 2.0F * std::atan(std::pow(r / cone.f, 1.0F / cone.n))) * cone.s;
}

}  // namespace zep
