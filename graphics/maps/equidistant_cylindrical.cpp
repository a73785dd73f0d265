// ITR 10, equidistant cylindrical: longitude and latitude as plane coordinates.
#include "graphics/maps/map_common.hpp"

namespace zep {

void mpfcyl(float lon, float lat, float& x, float& y) {
  x = xmplon(lon);
  y = std::clamp(lat, -maps::halfPi(), maps::halfPi());
}

void mpicyl(float x, float y, float& lon, float& lat) {
  if (std::fabs(x) > maps::pi() || std::fabs(y) > maps::halfPi()) {
    maps::setUndefined(lon, lat);
    return;
  }
  lon = x;
  lat = y;
}

}  // namespace zep
