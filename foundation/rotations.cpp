// Rotations and conversions of plane, spatial and spherical coordinates. Angles
// are in radians.
#include <cmath>

#include <zep/foundation.hpp>

namespace zep {

void cr2c(float t, float x, float y, float& x2, float& y2) {
  const float c = std::cos(t);
  const float s = std::sin(t);
  x2 = c * x + s * y;
  y2 = c * y - s * x;
}

void cr3c(float t, float p, float s, float x, float y, float z, float& x2, float& y2, float& z2) {
  float x1 = 0.0F;
  float y1 = 0.0F;
  float x3 = 0.0F;
  cr2c(p, x, y, x1, y1);
  cr2c(-t, x1, z, x3, z2);
  cr2c(s, x3, y1, x2, y2);
}

void cr3s(float t, float p, float s, float ta, float pa, float& tb, float& pb) {
  static const float repsl = [] {
    float v = 0.0F;
    glrget("REPSL", v);
    return v;
  }();
  static const double pi = rfpi();

  if (std::fabs(t) <= repsl) {
    tb = ta;
    pb = pa - p - s;
    return;
  }

  const double d = static_cast<double>(pa) - p;
  const double st = std::sin(static_cast<double>(t));
  const double ct = std::cos(static_cast<double>(t));
  const double sta = std::sin(static_cast<double>(ta));
  const double cta = std::cos(static_cast<double>(ta));
  const double sd = std::sin(d);
  const double cd = std::cos(d);

  const double c = ct * cta + st * sta * cd;
  if (c >= -0.8 && c <= 0.8) {
    tb = static_cast<float>(std::acos(c));
  } else {
    // Near the poles the arc sine of the chord's side is better conditioned
    // than the arc cosine.
    const double u = st * sd;
    const double v = st * cta * cd - ct * sta;
    const double w = std::asin(std::fmin(1.0, std::sqrt(u * u + v * v)));
    tb = static_cast<float>(c < 0.0 ? pi - w : w);
  }

  const double a = sta * sd;
  const double b = sta * ct * cd - cta * st;
  if (a == 0.0 && b == 0.0) {
    pb = pa - p - s;
  } else {
    pb = static_cast<float>(std::atan2(a, b) - s);
  }
}

void ct2pc(float r, float t, float& x, float& y) {
  x = r * std::cos(t);
  y = r * std::sin(t);
}

void ct2cp(float x, float y, float& r, float& t) {
  r = std::hypot(x, y);  // sqrt(x*x + y*y) without intermediate overflow
  t = std::atan2(y, x);
}

void ct2bc(float u, float v, float& x, float& y) {
  const float d = std::cosh(v) + std::cos(u);
  if (d == 0.0F) {
    float rundef = 0.0F;
    glrget("RUNDEF", rundef);
    x = rundef;
    y = rundef;
    return;
  }
  x = std::sinh(v) / d;
  y = std::sin(u) / d;
}

}  // namespace zep
