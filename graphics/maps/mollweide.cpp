// ITR 12, Mollweide: equal-area, the whole sphere inside an ellipse of axes
// 2 sqrt 2 and sqrt 2; parallels are straight, at the auxiliary angle th with
// 2 th + sin 2 th = pi sin(lat).
#include "graphics/maps/map_common.hpp"

namespace zep {
namespace {
constexpr float kXScale = 2.8284273F;  // 2 sqrt 2
constexpr float kRoot2 = 1.4142137F;
}  // namespace

void mpzmwd(float lat, float th, float& value, float& derivative) {
  value = 2.0F * th + std::sin(2.0F * th) - maps::pi() * std::sin(lat);
  derivative = 2.0F * std::cos(2.0F * th) + 2.0F;
}

namespace {

// The auxiliary angle in double. Near a pole the equation is flat (its
// derivative 4 cos^2 th vanishes) and single precision cannot resolve th:
// start from the pole's expansion, pi/2 - th = (3 pi (pi/2 - |lat|)^2 / 8)^(1/3),
// and keep each Newton step inside the bracket that holds the root.
double auxiliaryAngle(double lat) {
  const double p = std::acos(-1.0);
  const double target = p * std::sin(lat);
  const double colat = p / 2 - std::fabs(lat);
  if (colat <= 0) return std::copysign(p / 2, lat);
  // Elsewhere th / lat runs from pi/4 at the equator to about 0.86; a fit of
  // it in lat^2 (within 2e-3) halves the Newton steps that starting from lat takes.
  const double lat2 = lat * lat;
  double th = colat < 0.3 ? std::copysign(p / 2 - std::cbrt(3 * p * colat * colat / 8), lat)
                          : lat * (0.78539816 + lat2 * (0.028035 + 0.010228 * lat2));
  double lo = -p / 2, hi = p / 2;
  for (int i = 0; i < 60; ++i) {
    const double f = 2 * th + std::sin(2 * th) - target;
    if (f == 0) break;
    (f < 0 ? lo : hi) = th;
    const double df = 2 * std::cos(2 * th) + 2;
    double next = df > 0 ? th - f / df : lo;  // flat at a pole: bisect
    if (next <= lo || next >= hi) next = (lo + hi) / 2;
    // Converging quadratically, a step under 1e-9 leaves an error far below
    // what the single-precision result can show.
    if (std::fabs(next - th) < 1e-9) {
      th = next;
      break;
    }
    th = next;
  }
  return th;
}

}  // namespace

void mpfmwd(float lon, float lat, float& x, float& y) {
  const double th = auxiliaryAngle(lat);
  x = static_cast<float>(kXScale / std::acos(-1.0) * xmplon(lon) * std::cos(th));
  y = static_cast<float>(kRoot2 * std::sin(th));
}

void mpimwd(float x, float y, float& lon, float& lat) {
  const float p = maps::pi();
  if (std::fabs(y) < kRoot2) {
    const float th = std::asin(y / kRoot2);
    const float l = (x / kRoot2) / std::cos(th) * p / 2.0F;
    if (std::fabs(l) <= p) {
      lon = l;
      lat = maps::safeAsin((std::sin(2.0F * th) + 2.0F * th) / p);
      return;
    }
  } else if (std::fabs(y) == kRoot2 && x == 0.0F) {
    lon = 0.0F;
    lat = (y / kRoot2) * p / 2.0F;
    return;
  }
  maps::setUndefined(lon, lat);
}

}  // namespace zep
