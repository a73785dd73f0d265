// Interpolated lines: straight segments in user coordinates are cut into short
// pieces before a non-linear transformation bends them, and segments on the
// sphere follow great circles.
#include <algorithm>
#include <cmath>
#include <numbers>

#include <zep/zep.hpp>

#include "primitives/line_pipeline.hpp"

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

// A count of points from a real; a segment with an end that is not a number
// (missing data, for instance) is handed out whole.
int pointCount(float count) {
  if (std::isnan(count)) return 1;
  return std::max(1, static_cast<int>(std::min(count, 1.0E6F)));
}

struct Linear {
  float x0 = 0, y0 = 0, x1 = 0, y1 = 0, dx = 0, dy = 0;
  int n = 1, k = 1;
  bool lastDecision = false;
} linear;

struct GreatCircle {
  float x0 = 0, y0 = 0, x1 = 0, y1 = 0, increment = 0;
  int n = 1, k = 1;
  bool alongX = true;
  bool fixedLatitude = false;   // hold the latitude instead of following the circle
  bool fixedLongitude = false;  // hold the longitude
  float fixedValue = 0;
  bool lastDecision = false;
} circle;

}  // namespace

void szpipl(float x0, float y0, float x1, float y1, int mode) {
  linear = Linear{x0, y0, x1, y1, 0, 0, 1, 1, linear.lastDecision};
  const pipeline::LineState& s = pipeline::lineState();
  if (!interpolationOn(s.interpolateLinear, mode, y0, y1, false, linear.lastDecision)) return;
  const float dx = x1 - x0;
  const float dy = y1 - y0;
  const float nx = s.stepX > 0 ? std::trunc(std::fabs(dx) / s.stepX) : 0.0F;
  const float ny = s.stepY > 0 ? std::trunc(std::fabs(dy) / s.stepY) : 0.0F;
  // A step far below the segment's length would mean millions of points; the
  // count stays within what a picture can use.
  linear.n = std::isnan(nx) || std::isnan(ny) ? 1 : pointCount(std::max(nx, ny) + 1.0F);
  linear.dx = dx / static_cast<float>(linear.n);
  linear.dy = dy / static_cast<float>(linear.n);
}

void szgipl(float& x, float& y, bool& lcont) {
  if (linear.k >= linear.n) {
    x = linear.x1;
    y = linear.y1;
    lcont = false;
    return;
  }
  x = linear.x0 + static_cast<float>(linear.k) * linear.dx;
  y = linear.y0 + static_cast<float>(linear.k) * linear.dy;
  ++linear.k;
  lcont = true;
}

void szpipt(float x0, float y0, float x1, float y1, int mode) {
  circle = GreatCircle{x0, y0, x1, y1, 0, 1, 1, true, false, false, 0, circle.lastDecision};
  const pipeline::LineState& s = pipeline::lineState();
  if (!interpolationOn(s.interpolateGreatCircle, mode, y0, y1, true, circle.lastDecision)) return;
  const float dx = szxmod(x1 - x0);
  const float dy = y1 - y0;
  const float adx = std::fabs(dx);
  const float ady = std::fabs(dy);
  if (s.stepX <= 0 || (adx < s.stepX && ady < s.stepX)) return;

  if (atPole(y0) || atPole(y1)) {
    const bool startAtPole = atPole(y0);
    circle.alongX = ady <= adx;
    if (circle.alongX) {
      circle.fixedLatitude = true;
      circle.fixedValue = std::copysign(kHalfPi, startAtPole ? y0 : y1);
    } else {
      circle.fixedLongitude = true;
      circle.fixedValue = startAtPole ? x1 : x0;
    }
  } else if (lreqa(adx, 0.0F, kTolerance)) {
    circle.alongX = false;
    circle.fixedLongitude = true;
    circle.fixedValue = x0;
  } else if (lreqa(adx, kPi, kTolerance)) {
    circle.alongX = true;
    circle.fixedLatitude = true;
    circle.fixedValue = std::copysign(kHalfPi, y0 + y1);
  } else {
    szsgcl(x0, y0, x1, y1);
    circle.alongX = ady <= adx;
  }
  const float step = circle.alongX ? s.stepX : (s.stepY > 0 ? s.stepY : s.stepX);
  const float span = circle.alongX ? adx : ady;
  circle.n = pointCount(std::trunc(span / step + 1.0F));
  circle.increment = (circle.alongX ? dx : dy) / static_cast<float>(circle.n);
}

void szgipt(float& x, float& y, bool& lcont) {
  if (circle.k >= circle.n) {
    x = circle.x1;
    y = circle.y1;
    lcont = false;
    return;
  }
  const float t = static_cast<float>(circle.k) * circle.increment;
  if (circle.alongX) {
    x = circle.x0 + t;
    if (circle.fixedLatitude) y = circle.fixedValue;
    else szqgcy(x, y);
  } else {
    y = circle.y0 + t;
    if (circle.fixedLongitude) x = circle.fixedValue;
    else szqgcx(y, x);
  }
  ++circle.k;
  lcont = true;
}

}  // namespace zep
