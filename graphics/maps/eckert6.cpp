// ITR 14, Eckert VI: equal-area pseudocylindrical with sinusoidal meridians and
// pole lines half as long as the equator.
#include "graphics/maps/map_common.hpp"

namespace zep {
namespace {
constexpr float kScale = 0.8820255F;  // 2 / sqrt(2 + pi)
}  // namespace

void mpzek6(float lat, float th, float& value, float& derivative) {
  value = th + std::sin(th) - (maps::pi() + 2.0F) / 2.0F * std::sin(lat);
  derivative = std::cos(th) + 1.0F;
}

void mpfek6(float lon, float lat, float& x, float& y) {
  float th = lat;
  mpznwt(mpzek6, lat, th);
  x = kScale * xmplon(lon) * (1.0F + std::cos(th)) / 2.0F;
  y = kScale * th;
}

void mpiek6(float x, float y, float& lon, float& lat) {
  const float th = y / kScale;
  if (std::fabs(th) > maps::halfPi()) {
    maps::setUndefined(lon, lat);
    return;
  }
  const float l = 2.0F * x / kScale / (std::cos(th) + 1.0F);
  if (std::fabs(l) > maps::pi()) {
    maps::setUndefined(lon, lat);
    return;
  }
  lon = l;
  lat = maps::safeAsin((std::sin(th) + th) / ((maps::pi() + 2.0F) / 2.0F));
}

}  // namespace zep
