// User projection 102, Braun's stereographic cylindrical: the sphere projected
// from the point of the equator opposite each meridian onto a cylinder cutting
// the sphere at the standard latitude.
#include "graphics/maps/map_common.hpp"

namespace zep {
namespace {
float cb = 1.0F;  // cos of the standard latitude
}  // namespace

void mpscyb(float stlat1) { cb = std::cos(stlat1); }

void mpfcyb(float lon, float lat, float& x, float& y) {
  x = xmplon(lon);
  y = 2.0F * cb * std::tan(lat / 2.0F);
}

void mpicyb(float x, float y, float& lon, float& lat) {
  if (std::fabs(x) > maps::pi()) {
    maps::setUndefined(lon, lat);
    return;
  }
  lon = x;
  lat = 2.0F * std::atan(y / (2.0F * cb));
}

}  // namespace zep
