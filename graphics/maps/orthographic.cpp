// ITR 30, orthographic: the sphere seen from infinitely far above the pole of
// T; with a viewpoint distance RSAT > 1 (in sphere radii from the centre) the
// vertical perspective of a satellite at that distance. The far hemisphere is
// drawn as well; the caller hides it with the latitude clipping range.
#include "graphics/maps/map_common.hpp"

namespace zep {
namespace {
struct Viewpoint {
  bool satellite = false;
  float rs = 0.0F;  // 1 / RSAT
} viewpoint;
}  // namespace

void mpsotg(float rsat) {
  viewpoint.satellite = rsat > 1.0F;
  viewpoint.rs = viewpoint.satellite ? 1.0F / rsat : 0.0F;
}

void mpfotg(float lon, float lat, float& x, float& y) {
  float r = std::cos(lat);
  if (viewpoint.satellite) r /= 1.0F - std::sin(lat) * viewpoint.rs;
  maps::placePolar(r, xmplon(lon), 1.0F, x, y);
}

void mpiotg(float x, float y, float& lon, float& lat) {
  const double r = std::hypot(static_cast<double>(x), static_cast<double>(y));
  if (r == 0.0) {
    lon = 0.0F;
    lat = maps::halfPi();
    return;
  }
  if (!viewpoint.satellite) {
    if (r > 1.0) {
      maps::setUndefined(lon, lat);
      return;
    }
    lon = maps::polarAngle(x, y, 1.0F);
    lat = static_cast<float>(std::acos(r));
    return;
  }
  // On the visible side (sin lat >= RS) the radius r = cos lat / (1 - RS sin lat)
  // falls from the horizon to the pole; squared, it is a quadratic in sin lat
  // whose larger root is the visible point. Beyond the horizon radius
  // 1/sqrt(1 - RS^2) the discriminant is negative: no point of the sphere.
  const double rs = viewpoint.rs;
  const double r2 = r * r;
  const double disc = 1.0 - r2 * (1.0 - rs * rs);
  if (disc < 0.0) {
    maps::setUndefined(lon, lat);
    return;
  }
  const double s = (r2 * rs + std::sqrt(disc)) / (1.0 + r2 * rs * rs);
  lon = maps::polarAngle(x, y, 1.0F);
  lat = static_cast<float>(std::asin(std::min(s, 1.0)));
}

}  // namespace zep
