// The great circle through two points on the sphere, as the latitude and
// longitude clippers and the great-circle interpolation follow it (each with a
// circle of its own), and the routines szsgcl, szqgcy and szqgcx over another.
#include <algorithm>
#include <cmath>

#include <zep/foundation.hpp>
#include <zep/primitives.hpp>

#include "primitives/segment_generator.hpp"

namespace zep {

namespace {

constexpr float kPoleTolerance = 1.0E-5F;

bool atPole(float y) { return lreqa(std::fabs(y), rfpi() / 2.0F, kPoleTolerance); }

float withSignOf(float magnitude, float s) { return s >= 0.0F ? std::fabs(magnitude) : -std::fabs(magnitude); }

// The circle of the routine family szsgcl/szqgcy/szqgcx.
detail::GreatCircle familyCircle;

}  // namespace

namespace detail {

void GreatCircle::set(float x0, float y0, float x1, float y1) {
  x0_ = x0;
  if (!atPole(y0) && !atPole(y1)) {
    meridian_ = false;
    const double t0 = std::tan(static_cast<double>(y0));
    const double t1 = std::tan(static_cast<double>(y1));
    double node = 0.0;
    if (t0 != 0.0 || t1 != 0.0) {
      node = std::atan2(t1 * std::cos(static_cast<double>(x0)) - t0 * std::cos(static_cast<double>(x1)),
                        t0 * std::sin(static_cast<double>(x1)) - t1 * std::sin(static_cast<double>(x0)));
    }
    node_ = static_cast<float>(node);
    side_ = szxmod(x0 + szxmod(x1 - x0) / 2.0F - node_);
    const double c0 = std::cos(static_cast<double>(x0) - node);
    const double c1 = std::cos(static_cast<double>(x1) - node);
    // Divide by the larger cosine: the better conditioned of the two ends.
    slope_ = static_cast<float>(std::fabs(c1) <= std::fabs(c0) ? t0 / c0 : t1 / c1);
  } else {
    meridian_ = true;
    poleLat_ = withSignOf(rfpi() / 2.0F, y0 + y1);
    // A pole has no longitude of its own: the meridian is that of the other end.
    meridianLon_ = atPole(y0) && !atPole(y1) ? x1 : x0;
  }
}

float GreatCircle::latitudeAt(float x) const {
  if (meridian_) return poleLat_;
  return static_cast<float>(
      std::atan(static_cast<double>(slope_) * std::cos(static_cast<double>(x) - static_cast<double>(node_))));
}

float GreatCircle::longitudeAt(float y) const {
  if (meridian_) return meridianLon_;
  if (slope_ == 0.0F) return x0_;
  // Beyond the circle's extreme latitudes (only by rounding, for callers that ask
  // for a latitude the circle reaches) the nearest point is the extreme itself.
  const double t = std::clamp(std::tan(static_cast<double>(y)) / static_cast<double>(slope_), -1.0, 1.0);
  return node_ + withSignOf(static_cast<float>(std::acos(t)), side_);
}

}  // namespace detail

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

void szsgcl(float x0, float y0, float x1, float y1) { familyCircle.set(x0, y0, x1, y1); }
void szqgcy(float x, float& y) { y = familyCircle.latitudeAt(x); }
void szqgcx(float y, float& x) { x = familyCircle.longitudeAt(y); }

}  // namespace zep
