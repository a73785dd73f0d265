// Latitude clipper: cuts one segment in T coordinates (radians) to a latitude
// band, following the great circle through its ends. The band is a setting;
// each clipper keeps its own segment.
#include <array>

#include <zep/foundation.hpp>
#include <zep/primitives.hpp>

#include "primitives/segment_generator.hpp"

namespace zep {

namespace {

constexpr float kTolerance = 1.0E-5F;

struct Band {
  float ymin = -rfpi() / 2.0F;
  float ymax = rfpi() / 2.0F;
} band;

detail::LatitudeClipper familyClipper;

enum class Side { inside, below, above };

Side classify(float y, bool strict) {
  if (strict) {
    if (lrlta(y, band.ymin, kTolerance)) return Side::below;
    if (lrlta(band.ymax, y, kTolerance)) return Side::above;
  } else {
    if (lrlea(y, band.ymin, kTolerance)) return Side::below;
    if (lrlea(band.ymax, y, kTolerance)) return Side::above;
  }
  return Side::inside;
}

// Where the great circle meets the band edge on the given side.
detail::PlanePoint crossing(const detail::GreatCircle& circle, Side side) {
  detail::PlanePoint p;
  p.y = side == Side::below ? band.ymin : band.ymax;
  p.x = circle.longitudeAt(p.y);
  return p;
}

}  // namespace

namespace detail {

bool LatitudeClipper::start(float x0, float y0, float x1, float y1, bool strict) {
  const Side s0 = classify(y0, strict);
  const Side s1 = classify(y1, strict);
  last_ = {x1, y1};
  next_ = 3;
  if (s0 == Side::inside && s1 == Side::inside) {
    pending_[1] = {x1, y1};
    next_ = 2;
  } else if (s0 == Side::inside) {
    circle_.set(x0, y0, x1, y1);
    pending_[1] = crossing(circle_, s1);
    next_ = 2;
  } else if (s1 == Side::inside) {
    circle_.set(x1, y1, x0, y0);
    pending_ = {crossing(circle_, s0), PlanePoint{x1, y1}};
    next_ = 1;
  } else {
    return false;
  }
  return true;
}

void LatitudeClipper::pull(float& x, float& y, bool& lcont) {
  if (next_ > 2) {
    x = last_.x;
    y = last_.y;
    lcont = false;
    return;
  }
  const PlanePoint p = pending_[static_cast<std::size_t>(next_ - 1)];
  x = p.x;
  y = p.y;
  lcont = next_ == 1;
  ++next_;
  last_ = p;
}

}  // namespace detail

void szscly(float ymin, float ymax) {
  band.ymin = ymin;
  band.ymax = ymax;
}

void szqcly(float& ymin, float& ymax) {
  ymin = band.ymin;
  ymax = band.ymax;
}

void szpcly(float x0, float y0, float x1, float y1, bool& lvalid, bool lstrict) {
  lvalid = familyClipper.start(x0, y0, x1, y1, lstrict);
}

void szgcly(float& x, float& y, bool& lcont) { familyClipper.pull(x, y, lcont); }

}  // namespace zep
