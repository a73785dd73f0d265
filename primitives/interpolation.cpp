// Interpolated lines: straight segments in user coordinates are cut into short
// pieces before a non-linear transformation bends them, and segments on the
// sphere follow great circles.
#include <algorithm>
#include <cmath>
#include <numbers>

#include <zep/zep.hpp>

#include "primitives/line_pipeline.hpp"
#include "primitives/segment_generator.hpp"

namespace zep {
namespace {

constexpr float kTolerance = 1.0E-5F;
constexpr float kHalfPi = std::numbers::pi_v<float> / 2.0F;
constexpr float kPi = std::numbers::pi_v<float>;

bool atPole(float y) { return lreqa(std::fabs(y), kHalfPi, kTolerance); }

// Whether interpolation is on for a prepare call of the given mode. Mode 2 asks
// the great-circle generator about the map projection as well; an unknown mode
// switches the linear generator on and leaves the great-circle one as it was.
bool interpolationOn(bool enabled, int mode, float y0, float y1, bool greatCircle, bool& previous) {
  bool on = previous;
  switch (mode) {
    case 0:
      on = enabled;
      break;
    case 1:
      on = enabled && !(lreqa(y0, y1, kTolerance) && atPole(y0));
      break;
    case 2: {
      on = enabled;
      if (greatCircle) {
        bool map = false;
        stqtrf(map);
        on = on && map;
      }
      break;
    }
    default:
      if (!greatCircle) on = true;
      break;
  }
  previous = on;
  return on;
}

// Most pieces one segment is cut into. A segment that needs more is far longer
// than any picture of it (a whole great circle takes a few thousand pieces at
// a tenth of a degree); beyond this the pieces only grow longer, so a huge but
// finite coordinate cannot make a line of endless points.
constexpr float kMaxPiecesPerSegment = 4096.0F;

// A count of points from a real, at least 1 and at most kMaxPiecesPerSegment,
// taken from what the current user segment has left.
int pointCount(float count) {
  if (std::isnan(count)) return 1;
  int n = std::max(1, static_cast<int>(std::min(count, kMaxPiecesPerSegment)));
  int& budget = pipeline::lineState().pieceBudget;
  if (budget >= 0) {
    n = std::max(1, std::min(n, budget));
    budget -= n - 1;
  }
  return n;
}

detail::LinearInterpolator familyLinear;
detail::GreatCircleInterpolator familyGreatCircle;

}  // namespace

namespace detail {

void LinearInterpolator::start(float x0, float y0, float x1, float y1, int mode) {
  x0_ = x0;
  y0_ = y0;
  x1_ = x1;
  y1_ = y1;
  dx_ = dy_ = 0;
  n_ = k_ = 1;
  const pipeline::LineState& s = pipeline::lineState();
  if (!interpolationOn(s.interpolateLinear, mode, y0, y1, false, lastDecision_)) return;
  if (!pipeline::finite(x0, y0) || !pipeline::finite(x1, y1)) return;  // handed out whole
  const float dx = x1 - x0;
  const float dy = y1 - y0;
  const float nx = s.stepX > 0 ? std::trunc(std::fabs(dx) / s.stepX) : 0.0F;
  const float ny = s.stepY > 0 ? std::trunc(std::fabs(dy) / s.stepY) : 0.0F;
  // A step far below the segment's length would mean millions of points; the
  // count stays within what a picture can use.
  n_ = std::isnan(nx) || std::isnan(ny) ? 1 : pointCount(std::max(nx, ny) + 1.0F);
  dx_ = dx / static_cast<float>(n_);
  dy_ = dy / static_cast<float>(n_);
}

void LinearInterpolator::pull(float& x, float& y, bool& lcont) {
  if (k_ >= n_) {
    x = x1_;
    y = y1_;
    lcont = false;
    return;
  }
  x = x0_ + static_cast<float>(k_) * dx_;
  y = y0_ + static_cast<float>(k_) * dy_;
  ++k_;
  lcont = true;
}

void GreatCircleInterpolator::start(float x0, float y0, float x1, float y1, int mode) {
  x0_ = x0;
  y0_ = y0;
  x1_ = x1;
  y1_ = y1;
  increment_ = 0;
  n_ = k_ = 1;
  alongX_ = true;
  fixedLatitude_ = fixedLongitude_ = false;
  fixedValue_ = 0;
  const pipeline::LineState& s = pipeline::lineState();
  if (!interpolationOn(s.interpolateGreatCircle, mode, y0, y1, true, lastDecision_)) return;
  // A segment with an end that is not finite has no length to cut.
  if (!pipeline::finite(x0, y0) || !pipeline::finite(x1, y1)) return;
  const float dx = szxmod(x1 - x0);
  const float dy = y1 - y0;
  const float adx = std::fabs(dx);
  const float ady = std::fabs(dy);
  if (s.stepX <= 0 || (adx < s.stepX && ady < s.stepX)) return;

  if (atPole(y0) || atPole(y1)) {
    const bool startAtPole = atPole(y0);
    alongX_ = ady <= adx;
    if (alongX_) {
      fixedLatitude_ = true;
      fixedValue_ = std::copysign(kHalfPi, startAtPole ? y0 : y1);
    } else {
      fixedLongitude_ = true;
      fixedValue_ = startAtPole ? x1 : x0;
    }
  } else if (lreqa(adx, 0.0F, kTolerance)) {
    alongX_ = false;
    fixedLongitude_ = true;
    fixedValue_ = x0;
  } else if (lreqa(adx, kPi, kTolerance)) {
    alongX_ = true;
    fixedLatitude_ = true;
    fixedValue_ = std::copysign(kHalfPi, y0 + y1);
  } else {
    circle_.set(x0, y0, x1, y1);
    alongX_ = ady <= adx;
  }
  const float step = alongX_ ? s.stepX : (s.stepY > 0 ? s.stepY : s.stepX);
  const float span = alongX_ ? adx : ady;
  n_ = pointCount(std::trunc(span / step + 1.0F));
  increment_ = (alongX_ ? dx : dy) / static_cast<float>(n_);
}

void GreatCircleInterpolator::pull(float& x, float& y, bool& lcont) {
  if (k_ >= n_) {
    x = x1_;
    y = y1_;
    lcont = false;
    return;
  }
  const float t = static_cast<float>(k_) * increment_;
  if (alongX_) {
    x = x0_ + t;
    y = fixedLatitude_ ? fixedValue_ : circle_.latitudeAt(x);
  } else {
    y = y0_ + t;
    x = fixedLongitude_ ? fixedValue_ : circle_.longitudeAt(y);
  }
  ++k_;
  lcont = true;
}

}  // namespace detail

void szpipl(float x0, float y0, float x1, float y1, int mode) { familyLinear.start(x0, y0, x1, y1, mode); }
void szgipl(float& x, float& y, bool& lcont) { familyLinear.pull(x, y, lcont); }
void szpipt(float x0, float y0, float x1, float y1, int mode) { familyGreatCircle.start(x0, y0, x1, y1, mode); }
void szgipt(float& x, float& y, bool& lcont) { familyGreatCircle.pull(x, y, lcont); }

}  // namespace zep
