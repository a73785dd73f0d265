// ITR 15, an elliptical equal-area pseudocylindrical projection with pole
// lines: the Mollweide construction cut off where the auxiliary angle reaches
// its value at the pole, so the poles become straight lines.
#include "graphics/maps/map_common.hpp"

namespace zep {
namespace {
constexpr float kScale = 1.535649F;
constexpr float kYLimit = 1.329911F;   // y of the pole lines
constexpr float kPoleSum = 2.960421F;  // 2 pi/3 + sqrt(3)/2
}  // namespace

void mpzktd(float lat, float th, float& value, float& derivative) {
  const float k = 2.0F * maps::pi() / 3.0F + 0.8660254F;
  value = 2.0F * th + std::sin(2.0F * th) - k * std::sin(lat);
  derivative = 2.0F * std::cos(2.0F * th) + 2.0F;
}

void mpfktd(float lon, float lat, float& x, float& y) {
  float th = 0.9F * lat;
  mpznwt(mpzktd, lat, th);
  x = kScale * xmplon(lon) * std::cos(th) * 1.8F / maps::pi();
  y = kScale * std::sin(th);
}

void mpiktd(float x, float y, float& lon, float& lat) {
  if (std::fabs(y) > kYLimit) {
    maps::setUndefined(lon, lat);
    return;
  }
  const float th = std::asin(y / kScale);
  const float l = x / kScale / std::cos(th) / 1.8F * maps::pi();
  if (std::fabs(l) > maps::pi()) {
    maps::setUndefined(lon, lat);
    return;
  }
  lon = l;
  lat = maps::safeAsin((std::sin(2.0F * th) + 2.0F * th) / kPoleSum);
}

}  // namespace zep
