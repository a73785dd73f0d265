// Longitude clipper: cuts one segment in T coordinates (radians) to a longitude
// range, taking the shorter way about the sphere. A segment may leave the range
// at one boundary and come back at the other (when it crosses the seam), so it
// is handed out in up to three steps: 1 the exit point, 2 the re-entry point
// (a move), 3 the end point.
#include <cmath>

#include <zep/foundation.hpp>
#include <zep/primitives.hpp>

namespace zep {

namespace {

constexpr float kBoundaryTolerance = 1.0E-5F;
constexpr float kPoleTolerance = 1.0E-5F;
constexpr float kAngleTolerance = 1.0E-4F;

struct LongitudeRange {
  float xmin = -rfpi();
  float xmax = rfpi();
  float x0 = 0.0F;
  float y0 = 0.0F;
  float x1 = 0.0F;
  float y1 = 0.0F;
  float d = 0.0F;   // shortest longitude difference
  float xu = 0.0F;  // end unfolded from the start
  int step = 4;     // current step; beyond `lastStep` when exhausted
  int lastStep = 3;
  float lastX = 0.0F;
  float lastY = 0.0F;
};

LongitudeRange range;

bool onBoundary(float x) {
  return lreqa(x, range.xmin, kBoundaryTolerance) || lreqa(x, range.xmax, kBoundaryTolerance);
}

// How an end of the segment relates to the range.
enum class Where { outside, inside, boundary };

Where classify(float x, bool lbound) {
  const bool boundary = onBoundary(x);
  if (boundary && lbound) return Where::boundary;
  if (!boundary && range.xmin < x && x < range.xmax) return Where::inside;
  return Where::outside;
}

bool atPole(float y) { return lreqa(std::fabs(y), rfpi() / 2.0F, kPoleTolerance); }

// The boundary point where the segment leaves (step 1) or re-enters (step 2)
// the range.
void boundaryPoint(int step, float& x, float& y) {
  const float mid = step == 1 ? range.x0 + range.d / 2.0F : range.x1 - range.d / 2.0F;
  x = std::fabs(mid - range.xmin) < std::fabs(mid - range.xmax) ? range.xmin : range.xmax;
  const float pi = rfpi();
  const float ad = std::fabs(range.d);
  if (atPole(range.y1)) {
    y = range.y1;
  } else if (atPole(range.y0)) {
    y = range.y0;
  } else if (ad <= kAngleTolerance) {
    y = range.y1;
  } else if (std::fabs(ad - pi) <= kAngleTolerance) {
    // Half way round: the segment passes over a pole.
    y = range.y0 + range.y1 >= 0.0F ? pi / 2.0F : -pi / 2.0F;
  } else {
    szsgcl(range.x0, range.y0, range.x1, range.y1);
    szqgcy(x, y);
  }
}

}  // namespace

void szsclx(float xmin, float xmax) {
  range.xmin = xmin;
  range.xmax = xmax;
}

void szqclx(float& xmin, float& xmax) {
  xmin = range.xmin;
  xmax = range.xmax;
}

void szpclx(float x0, float y0, float x1, float y1, bool& lvalid, bool lbound) {
  range.x0 = x0;
  range.y0 = y0;
  range.x1 = x1;
  range.y1 = y1;
  range.d = szxmod(x1 - x0);
  range.xu = x0 + range.d;
  range.lastX = x1;
  range.lastY = y1;
  const bool wrap = lrnea(range.xu, x1, kBoundaryTolerance);

  int first = 0;
  int last = -1;  // no steps: nothing visible
  const Where w0 = classify(x0, lbound);
  const Where w1 = classify(x1, lbound);
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
  lvalid = last >= first;
  range.step = first;
  range.lastStep = last;
  if (!lvalid) {
    range.step = 4;
    range.lastStep = 3;
  }
}

void szgclx(float& x, float& y, bool& lcont, bool& lmove) {
  const int m = range.step;
  if (m > range.lastStep) {
    x = range.lastX;
    y = range.lastY;
    lcont = false;
    lmove = true;
    return;
  }
  lmove = m == 2;
  if (m == 3) {
    x = range.x1;
    y = range.y1;
  } else if (m == 1 && onBoundary(range.x1)) {
    x = range.xu;
    y = range.y1;
  } else {
    boundaryPoint(m, x, y);
  }
  range.step = m + 1;
  lcont = range.step <= range.lastStep;
  range.lastX = x;
  range.lastY = y;
}

}  // namespace zep
