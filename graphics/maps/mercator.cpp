// ITR 11, Mercator. The poles lie at infinity; latitudes within 2e-5 of them
// are drawn at the limit (y about +-11.5) instead.
#include "graphics/maps/map_common.hpp"

namespace zep {

void mpfmer(float lon, float lat, float& x, float& y) {
  const float t = std::clamp((maps::halfPi() + lat) / 2.0F, 1.0E-5F, maps::halfPi() - 1.0E-5F);
  x = xmplon(lon);
  y = static_cast<float>(std::log(std::tan(static_cast<double>(t))));
}

void mpimer(float x, float y, float& lon, float& lat) {
  if (std::fabs(x) > maps::pi()) {
    maps::setUndefined(lon, lat);
    return;
  }
  lon = x;
  lat = static_cast<float>(2.0 * std::atan(std::exp(static_cast<double>(y))) - maps::halfPi());
}

}  // namespace zep
