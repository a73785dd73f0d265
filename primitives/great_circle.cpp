// The great circle through two points on the sphere, shared by the latitude and
// longitude clippers and the great-circle interpolation. Away from the poles the
// circle is tan(latitude) = a cos(longitude - L) with node longitude L; through
// a pole it is a meridian.
#include <algorithm>
#include <cmath>

#include <zep/foundation.hpp>
#include <zep/primitives.hpp>

namespace zep {

namespace {

constexpr float kPoleTolerance = 1.0E-5F;

struct GreatCircle {
  float x0 = 0.0F;          // first point's longitude
  float node = 0.0F;        // L
  float slope = 0.0F;       // a
  float side = 0.0F;        // where the segment's midpoint lies relative to L
  bool meridian = false;    // one end at a pole
  float meridianLon = 0.0F; // longitude of that meridian
  float poleLat = 0.0F;     // latitude value returned on a meridian
};

GreatCircle circle;

bool atPole(float y) { return lreqa(std::fabs(y), rfpi() / 2.0F, kPoleTolerance); }

float withSignOf(float magnitude, float s) { return s >= 0.0F ? std::fabs(magnitude) : -std::fabs(magnitude); }

}  // namespace

float szxmod(float d) {
  const float pi = rfpi();
  if (d > pi) {
    d -= 2.0F * pi;
  } else if (d <= -pi) {
    d += 2.0F * pi;
  }
  // Differences of folded longitudes never get here; anything wider is folded
  // completely rather than left outside the range.
  if (d > pi || d <= -pi) {
    d = static_cast<float>(std::remainder(static_cast<double>(d), 2.0 * pi));
    if (d <= -pi) d += 2.0F * pi;
  }
  return d;
}

void szsgcl(float x0, float y0, float x1, float y1) {
  circle.x0 = x0;
  if (!atPole(y0) && !atPole(y1)) {
    circle.meridian = false;
    const double t0 = std::tan(static_cast<double>(y0));
    const double t1 = std::tan(static_cast<double>(y1));
    double node = 0.0;
    if (t0 != 0.0 || t1 != 0.0) {
      node = std::atan2(t1 * std::cos(static_cast<double>(x0)) - t0 * std::cos(static_cast<double>(x1)),
                        t0 * std::sin(static_cast<double>(x1)) - t1 * std::sin(static_cast<double>(x0)));
    }
    circle.node = static_cast<float>(node);
    circle.side = szxmod(x0 + szxmod(x1 - x0) / 2.0F - circle.node);
    const double c0 = std::cos(static_cast<double>(x0) - node);
    const double c1 = std::cos(static_cast<double>(x1) - node);
    // Divide by the larger cosine: the better conditioned of the two ends.
    circle.slope = static_cast<float>(std::fabs(c1) <= std::fabs(c0) ? t0 / c0 : t1 / c1);
  } else {
    circle.meridian = true;
    circle.poleLat = withSignOf(rfpi() / 2.0F, y0 + y1);
    // A pole has no longitude of its own: the meridian is that of the other end.
    circle.meridianLon = atPole(y0) && !atPole(y1) ? x1 : x0;
  }
}

void szqgcy(float x, float& y) {
  if (circle.meridian) {
    y = circle.poleLat;
    return;
  }
  y = static_cast<float>(std::atan(static_cast<double>(circle.slope) *
                                   std::cos(static_cast<double>(x) - static_cast<double>(circle.node))));
}

void szqgcx(float y, float& x) {
  if (circle.meridian) {
    x = circle.meridianLon;
    return;
  }
  if (circle.slope == 0.0F) {
    x = circle.x0;
    return;
  }
  // Beyond the circle's extreme latitudes (only by rounding, for callers that ask
  // for a latitude the circle reaches) the nearest point is the extreme itself.
  const double t = std::clamp(std::tan(static_cast<double>(y)) / static_cast<double>(circle.slope), -1.0, 1.0);
  x = circle.node + withSignOf(static_cast<float>(std::acos(t)), circle.side);
}

}  // namespace zep
