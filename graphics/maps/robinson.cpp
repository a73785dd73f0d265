// ITR 17, Robinson in a polynomial form: neither equal-area nor conformal, a
// compromise for world maps. The inverse is a separate polynomial fit, so a
// round trip reproduces the latitude only to about half a degree.
#include "graphics/maps/map_common.hpp"

namespace zep {
namespace {

// Length of the parallel of latitude f relative to the equator.
float parallelLength(float f) {
  const float f2 = f * f;
  return 0.998668F +
         f2 * (-0.10658F + f2 * (-0.158451F + f2 * (0.12723F + f2 * (-0.0467883F + f2 * (0.00413844F +
                                                                                        f2 * 0.000910851F)))));
}

}  // namespace

void mpfrbs(float lon, float lat, float& x, float& y) {
  const float limit = maps::halfPi() - 1.0E-5F;
  const float f = std::clamp(lat, -limit, limit);
  const float f2 = f * f;
  x = xmplon(lon) * parallelLength(f);
  y = maps::pi() * f * (0.358968F + f2 * (0.0109118F + f2 * (-0.0204323F + f2 * (0.00940259F + f2 * -0.00215423F))));
}

void mpirbs(float x, float y, float& lon, float& lat) {
  const float t = y / maps::pi();
  const float t2 = t * t;
  const float la =
      t * (2.7325F + t2 * (1.75437F + t2 * (-17.5922F + t2 * (61.9335F + t2 * (0.0194069F + t2 * 0.010234F)))));
  if (std::fabs(la) > maps::halfPi()) {
    maps::setUndefined(lon, lat);
    return;
  }
  const float lo = x / parallelLength(la);
  if (std::fabs(lo) > maps::pi() + 0.1F) {
    maps::setUndefined(lon, lat);
    return;
  }
  lon = lo;
  lat = la;
}

}  // namespace zep
