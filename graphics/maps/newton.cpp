// The two Newton solvers of the projections: a one-dimensional one for the
// auxiliary angle of the pseudocylindrical equal-area projections, and a
// two-dimensional one that inverts forward functions without a closed inverse.
#include <algorithm>
#include <cmath>

#include "graphics/maps/map_common.hpp"

namespace zep {

void mpznwt(MapNewtonFunction f, float lat, float& th) {
  constexpr int kMaxCorrections = 20;
  for (int corrections = 0; corrections < kMaxCorrections; ++corrections) {
    float value = 0.0F;
    float derivative = 0.0F;
    f(lat, th, value, derivative);
    // Flat at a root (the pole of the auxiliary angle) is the answer; flat
    // anywhere else leaves the method nowhere to go.
    if (std::fabs(derivative) < 1.2E-5F) {
      if (!(std::fabs(value) < 1.0E-4F)) msgdmp("E", "MPZNWT", "DERIVATIVE IS ZERO AWAY FROM A ROOT.");
      return;
    }
    const float d = value / derivative;
    th -= d;
    if (std::fabs(d) < 1.0E-4F) return;
  }
  msgdmp("E", "MPZNWT", "EXCEEDING MAXIMUM ITERATIONS.");
}

void mpnwtn(float x, float y, float& lon, float& lat, MapForwardFunction f, bool cyclic) {
  const float p = maps::pi();
  const float hp = maps::halfPi();
  constexpr float kStep = 1.0E-4F;
  constexpr float kLonLimit = 3.1315928F;  // pi - 0.01
  constexpr float kLatLimit = 1.5607964F;  // pi/2 - 0.01
  constexpr int kMaxRounds = 40;
  float damping = 1.0F;
  for (int count = 0;;) {
    const float lon2 = lon > 0.0F ? lon - kStep : lon + kStep;
    const float lat2 = lat > 0.0F ? lat - kStep : lat + kStep;
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    f(lon, lat, x0, y0);
    f(lon2, lat, x1, y1);
    f(lon, lat2, x2, y2);
    // Difference quotients of the Jacobian; the linear algebra in double.
    const double xl = (static_cast<double>(x1) - x0) / (static_cast<double>(lon2) - lon);
    const double xb = (static_cast<double>(x2) - x0) / (static_cast<double>(lat2) - lat);
    const double yl = (static_cast<double>(y1) - y0) / (static_cast<double>(lon2) - lon);
    const double yb = (static_cast<double>(y2) - y0) / (static_cast<double>(lat2) - lat);
    const double dx = static_cast<double>(x) - x0;
    const double dy = static_cast<double>(y) - y0;
    const double det = xl * yb - xb * yl;
    if (std::fabs(det) < 1.0E-7) return;
    const float cx = static_cast<float>((yb * dx - xb * dy) * damping / det);
    const float cy = static_cast<float>((dy * xl - yl * dx) * damping / det);

    lon += cx;
    if (lon > p + kStep) {
      lon = cyclic ? lon - 2.0F * p : kLonLimit;
      damping = 0.5F;
    } else if (lon < -(p + kStep)) {
      lon = cyclic ? lon + 2.0F * p : -kLonLimit;
      damping = 0.5F;
    }
    lat += cy;
    if (lat > hp) {
      lat = kLatLimit;
      damping = 0.5F;
    } else if (lat < -hp) {
      lat = -kLatLimit;
      damping = 0.5F;
    }

    if (std::max(std::fabs(cx), std::fabs(cy)) < 3.0E-5F) return;
    if (++count > kMaxRounds) {
      maps::setUndefined(lon, lat);
      return;
    }
  }
}

}  // namespace zep
