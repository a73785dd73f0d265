// Longitude clipper: cuts one segment in T coordinates (radians) to a longitude
// range, taking the shorter way about the sphere. The range is a setting; each
// clipper keeps its own segment and steps.
#include <cmath>

#include <zep/foundation.hpp>
#include <zep/primitives.hpp>

#include "primitives/segment_generator.hpp"

namespace zep {

namespace {

constexpr float kBoundaryTolerance = 1.0E-5F;
constexpr float kPoleTolerance = 1.0E-5F;
constexpr float kAngleTolerance = 1.0E-4F;

struct Range {
  float xmin = -rfpi();
  float xmax = rfpi();
} range;

detail::LongitudeClipper familyClipper;

bool atPole(float y) { return lreqa(std::fabs(y), rfpi() / 2.0F, kPoleTolerance); }

}  // namespace

namespace detail {

bool LongitudeClipper::onBoundary(float x) const {
  return lreqa(x, xmin_, kBoundaryTolerance) || lreqa(x, xmax_, kBoundaryTolerance);
}

// How an end of the segment relates to the range.
LongitudeClipper::Where LongitudeClipper::classify(float x, bool bound) const {
  const bool boundary = onBoundary(x);
  if (boundary && bound) return Where::boundary;
  if (!boundary && xmin_ < x && x < xmax_) return Where::inside;
  return Where::outside;
}

// The boundary point where the segment leaves (step 1) or re-enters (step 2)
// the range.
void LongitudeClipper::boundaryPoint(int step, float& x, float& y) {
  const float mid = step == 1 ? x0_ + d_ / 2.0F : x1_ - d_ / 2.0F;
  x = std::fabs(mid - xmin_) < std::fabs(mid - xmax_) ? xmin_ : xmax_;
  const float pi = rfpi();
  const float ad = std::fabs(d_);
  if (atPole(y1_)) {
    y = y1_;
  } else if (atPole(y0_)) {
    y = y0_;
  } else if (ad <= kAngleTolerance) {
    y = y1_;
  } else if (std::fabs(ad - pi) <= kAngleTolerance) {
    // Half way round: the segment passes over a pole.
    y = y0_ + y1_ >= 0.0F ? pi / 2.0F : -pi / 2.0F;
  } else {
    circle_.set(x0_, y0_, x1_, y1_);
    y = circle_.latitudeAt(x);
  }
}

bool LongitudeClipper::start(float x0, float y0, float x1, float y1, bool bound) {
  xmin_ = range.xmin;
  xmax_ = range.xmax;
  x0_ = x0;
  y0_ = y0;
  x1_ = x1;
  y1_ = y1;
  d_ = szxmod(x1 - x0);
  xu_ = x0 + d_;
  last_ = {x1, y1};
  const bool wrap = lrnea(xu_, x1, kBoundaryTolerance);

  int first = 0;
  int last = -1;  // no steps: nothing visible
  const Where w0 = classify(x0, bound);
  const Where w1 = classify(x1, bound);
  switch (w0) {
    case Where::outside:
      if (w1 == Where::inside) {
        first = 2;
        last = 3;
      } else if (w1 == Where::boundary) {
        first = 2;
        last = 2;
      }
      break;
    case Where::inside:
      if (w1 == Where::outside) {
        first = 1;
        last = 1;
      } else if (w1 == Where::inside) {
        first = wrap ? 1 : 3;
        last = 3;
      } else {
        first = 1;
        last = wrap ? 2 : 1;
      }
      break;
    case Where::boundary:
      if (w1 == Where::inside) {
        first = wrap ? 2 : 3;
        last = 3;
      } else if (w1 == Where::boundary) {
        first = wrap ? 2 : 3;
        last = wrap ? 2 : 3;
      }
      break;
  }
  const bool valid = last >= first;
  step_ = valid ? first : 4;
  lastStep_ = valid ? last : 3;
  return valid;
}

void LongitudeClipper::pull(float& x, float& y, bool& lcont, bool& lmove) {
  const int m = step_;
  if (m > lastStep_) {
    x = last_.x;
    y = last_.y;
    lcont = false;
    lmove = true;
    return;
  }
  lmove = m == 2;
  if (m == 3) {
    x = x1_;
    y = y1_;
  } else if (m == 1 && onBoundary(x1_)) {
    x = xu_;
    y = y1_;
  } else {
    boundaryPoint(m, x, y);
  }
  step_ = m + 1;
  lcont = step_ <= lastStep_;
  last_ = {x, y};
}

}  // namespace detail

void szsclx(float xmin, float xmax) {
  range.xmin = xmin;
  range.xmax = xmax;
}

void szqclx(float& xmin, float& xmax) {
  xmin = range.xmin;
  xmax = range.xmax;
}

void szpclx(float x0, float y0, float x1, float y1, bool& lvalid, bool lbound) {
  lvalid = familyClipper.start(x0, y0, x1, y1, lbound);
}

void szgclx(float& x, float& y, bool& lcont, bool& lmove) { familyClipper.pull(x, y, lcont, lmove); }

}  // namespace zep
