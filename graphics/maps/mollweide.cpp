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

void mpfmwd(float lon, float lat, float& x, float& y) {
  float th = lat;
  mpznwt(mpzmwd, lat, th);
  x = kXScale / maps::pi() * xmplon(lon) * std::cos(th);
  y = kRoot2 * std::sin(th);
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
