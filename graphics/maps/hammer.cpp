// ITR 13, Hammer (Hammer-Aitoff): equal-area, the azimuthal equal-area
// hemisphere stretched to the whole sphere in an ellipse of axes 2 sqrt 2 and
// sqrt 2.
#include "graphics/maps/map_common.hpp"

namespace zep {
namespace {
constexpr float kRoot2 = 1.4142137F;
constexpr float kTwoRoot2 = 2.8284273F;
}  // namespace

void mpfhmr(float lon, float lat, float& x, float& y) {
  const float h = xmplon(lon) / 2.0F;
  const float d = std::sqrt(1.0F + std::cos(lat) * std::cos(h));
  x = kTwoRoot2 * std::cos(lat) * std::sin(h) / d;
  y = kRoot2 * std::sin(lat) / d;
}

// In double: near the poles cos(lat) is small, and the longitude divides by it.
void mpihmr(float x, float y, float& lon, float& lat) {
  const double a = static_cast<double>(y) / kRoot2;
  const double b = static_cast<double>(x) / kTwoRoot2;
  const double q = a * a + b * b;
  if (q > 1.0) {
    maps::setUndefined(lon, lat);
    return;
  }
  // Z is the denominator sqrt(1 + cos lat cos(lon/2)) of the forward mapping.
  const double z = std::sqrt(2.0 - q);
  const double sinLat = z * a;
  if (std::fabs(sinLat) > 1.0) {
    maps::setUndefined(lon, lat);
    return;
  }
  const double la = std::asin(sinLat);
  const double cosLat = std::cos(la);
  // At a pole every longitude meets in one point.
  if (cosLat < 1.0E-6) {
    lon = 0.0F;
    lat = static_cast<float>(la);
    return;
  }
  const double sinHalf = z * b / cosLat;
  if (std::fabs(sinHalf) > 1.0) {
    maps::setUndefined(lon, lat);
    return;
  }
  lon = static_cast<float>(2.0 * std::asin(sinHalf));
  lat = static_cast<float>(la);
}

}  // namespace zep
