// Shared pieces of the map projections: pi, the undefined-result marker, the
// sign rule of cones and the placement of azimuthal and conic radii.
#pragma once

#include <algorithm>
#include <cmath>

#include <zep/foundation.hpp>
#include <zep/graphics.hpp>

namespace zep::maps {

inline float pi() { return rfpi(); }
inline float halfPi() { return rfpi() / 2.0F; }

// The marker of a result that does not exist, as set at the time of the call.
inline float rundef() {
  float v = -999.0F;
  glrget("RUNDEF", v);
  return v;
}

inline void setUndefined(float& a, float& b) {
  a = rundef();
  b = a;
}

// +1 for 0 and above, -1 below: a cone opens towards the pole on the side of
// its standard latitude.
inline float signOf(float v) { return v >= 0.0F ? 1.0F : -1.0F; }

// Arc sine that tolerates arguments pushed past +-1 by rounding.
inline float safeAsin(float v) { return std::asin(std::clamp(v, -1.0F, 1.0F)); }

// Radius r at angle a about the pole: the meridian of angle 0 runs down the
// negative y axis (s = -1 turns a southern cone the other way).
inline void placePolar(float r, float a, float s, float& x, float& y) {
  x = r * std::sin(a);
  y = -s * r * std::cos(a);
}

// The angle about the pole of a plane point, 0 at the pole itself.
inline float polarAngle(float x, float y, float s) {
  if (x == 0.0F && y == 0.0F) return 0.0F;
  return std::atan2(x, -s * y);
}

}  // namespace zep::maps
