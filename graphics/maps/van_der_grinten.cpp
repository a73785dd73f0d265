// ITR 19, van der Grinten: the whole sphere inside a circle of radius pi,
// neither equal-area nor conformal. There is no closed inverse: the 2-D Newton
// solver inverts the forward function, which is carried on beyond the poles so
// that the solver is never stuck on a flat edge.
#include "graphics/maps/map_common.hpp"

namespace zep {

void mpxvdg(float lon, float lat, float& x, float& y) {
  const double p = maps::pi();
  const double hp = maps::halfPi();
  const double l = xmplon(lon);
  const double b = lat;
  double xx = 0.0;
  double yy = 0.0;
  if (b > hp - 1.0E-5) {
    yy = (b - hp) * 25.0 + p;
    xx = l * 1000.0 * std::max(b - hp, 0.0);
  } else if (b < 1.0E-5 - hp) {
    yy = (hp + b) * 25.0 - p;
    xx = l * 1000.0 * std::max(-b - hp, 0.0);
  } else if (std::fabs(b) < 1.0E-5) {
    yy = b;
    if (std::fabs(l) < 1.0E-5) {
      xx = l;
    } else {
      const double a = std::fabs(p / l - l / p) / 2.0;
      xx = p * (std::sqrt(a * a + 1.0) - a);
      if (l <= 0.0) xx = -xx;
    }
  } else {
    const double th = std::asin(std::min(std::fabs(2.0 * b / p), 1.0));
    const double g = std::cos(th) / (std::sin(th) + std::cos(th) - 1.0);
    const double pp = g * (2.0 / std::sin(th) - 1.0);
    if (std::fabs(l) < 0.001) {
      // Along the central meridian: a series in the latitude.
      const double b2 = b * b;
      xx = l;
      yy = b * (0.9770711 +
                b2 * (0.5484717 +
                      b2 * (-2.441382 +
                            b2 * (5.923668 + b2 * (-7.208943 + b2 * (4.639224 + b2 * (-1.500824 + b2 * 0.1924256)))))));
    } else {
      const double a = std::fabs(p / l - l / p) / 2.0;
      const double q = a * a + g;
      const double p2 = pp * pp;
      const double a2 = a * a;
      const double sl = l <= 0.0 ? -1.0 : 1.0;
      const double sb = b < 0.0 ? -1.0 : 1.0;
      const double gp = g - p2;
      xx = sl * p * (a * gp + std::sqrt(std::max(a2 * gp * gp - (p2 + a2) * (g * g - p2), 0.0))) / (p2 + a2);
      yy = sb * p * std::fabs(pp * q - a * std::sqrt(std::max((a2 + 1.0) * (p2 + a2) - q * q, 0.0))) / (p2 + a2);
    }
  }
  x = static_cast<float>(xx);
  y = static_cast<float>(yy);
}

void mpfvdg(float lon, float lat, float& x, float& y) { mpxvdg(lon, lat, x, y); }

void mpivdg(float x, float y, float& lon, float& lat) {
  lon = x / 2.0F;
  lat = y / 2.0F;
  mpnwtn(x, y, lon, lat, mpxvdg, false);
}

}  // namespace zep
