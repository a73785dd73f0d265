// User projection 101, Lambert's equal-area cylindrical.
#include "graphics/maps/map_common.hpp"

namespace zep {

void mpfcya(float lon, float lat, float& x, float& y) {
  x = xmplon(lon);
  y = std::clamp(std::sin(lat), -1.0F, 1.0F);
}

void mpicya(float x, float y, float& lon, float& lat) {
  if (std::fabs(x) > maps::pi() || std::fabs(y) > 1.0F) {
    maps::setUndefined(lon, lat);
    return;
  }
  lon = x;
  lat = std::asin(y);
}

}  // namespace zep
