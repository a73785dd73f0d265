// Rectangle clipper: cuts one segment at a time to an axis-parallel rectangle and
// hands out the visible points. Two rectangles exist (0: workstation window in
// R, 1: viewport in V); their limits are settings, and every clipper, the V and
// R stages' as well as the one behind szpcll/szgcll for each rectangle, keeps
// its own pending points.
#include <algorithm>
#include <array>
#include <cmath>

#include <zep/foundation.hpp>
#include <zep/primitives.hpp>

#include "primitives/segment_generator.hpp"

namespace zep {

namespace {

struct Limits {
  float xmin = 0.0F;
  float xmax = 1.0F;
  float ymin = 0.0F;
  float ymax = 1.0F;
};

std::array<Limits, 2> limits;

// The clippers of the routine family, one per rectangle.
std::array<detail::RectangleClipper, 2> familyClippers{detail::RectangleClipper(0), detail::RectangleClipper(1)};

bool validRectangle(int n, const char* routine) {
  if (n != 0 && n != 1) {
    msgdmp("E", routine, "RECTANGLE NUMBER IS INVALID.");
    return false;
  }
  return true;
}

// 0 below the range, 2 above it, 1 inside (boundaries included).
int classify(float v, float lo, float hi) {
  if (v < lo) return 0;
  if (v > hi) return 2;
  return 1;
}

}  // namespace

namespace detail {

bool RectangleClipper::start(float x0, float y0, float x1, float y1) {
  const Limits& l = limits[static_cast<std::size_t>(n_)];
  const Rect r{l.xmin, l.xmax, l.ymin, l.ymax};
  next_ = 3;
  last_ = {x1, y1};

  const int kx0 = classify(x0, r.xmin, r.xmax);
  const int ky0 = classify(y0, r.ymin, r.ymax);
  const int kx1 = classify(x1, r.xmin, r.xmax);
  const int ky1 = classify(y1, r.ymin, r.ymax);
  const bool in0 = kx0 == 1 && ky0 == 1;
  const bool in1 = kx1 == 1 && ky1 == 1;

  if (in0 && in1) {
    bothInside(x1, y1);
    return true;
  }
  if (in0 != in1) {
    oneInside(r, x0, y0, x1, y1, kx0, ky0, kx1, ky1, in1);
    return true;
  }
  const bool valid = bothOutside(r, x0, y0, x1, y1, kx0, ky0, kx1, ky1);
  if (!valid) next_ = 3;
  return valid;
}

void RectangleClipper::bothInside(float x1, float y1) {
  pending_[1] = {x1, y1};
  next_ = 2;
}

// One end inside: the crossing with the side that the outside end lies beyond.
void RectangleClipper::oneInside(const Rect& r, float x0, float y0, float x1, float y1, int kx0, int ky0, int kx1,
                                 int ky1, bool in1) {
  const int kxo = in1 ? kx0 : kx1;
  const int kyo = in1 ? ky0 : ky1;
  // Crossings in double precision: the slope-intercept form cancels badly in
  // single precision for steep lines.
  const double dx0 = x0;
  const double dy0 = y0;
  const double dx1 = x1;
  const double dy1 = y1;
  double xc = 0.0;
  double yc = 0.0;
  if (kx0 == 1 && kx1 == 1) {
    yc = kyo == 0 ? r.ymin : r.ymax;
    xc = dx0 + (dx1 - dx0) * (yc - dy0) / (dy1 - dy0);
  } else if (ky0 == 1 && ky1 == 1) {
    xc = kxo == 0 ? r.xmin : r.xmax;
    yc = dy0 + (dy1 - dy0) * (xc - dx0) / (dx1 - dx0);
  } else {
    // The outside end lies in a corner region: the crossing is on the vertical
    // side when it falls within it, else on the horizontal side. Near the
    // corner rounding can put both just outside; take the nearer miss then.
    const double s = (dy1 - dy0) / (dx1 - dx0);
    const double b = dy1 - s * dx1;
    const double xv = kxo == 0 ? r.xmin : r.xmax;
    const double yv = s * xv + b;
    const double yh = kyo == 0 ? r.ymin : r.ymax;
    const double xh = (yh - b) / s;
    const double missV = std::max({0.0, r.ymin - yv, yv - r.ymax});
    const double missH = std::max({0.0, r.xmin - xh, xh - r.xmax});
    if (missV <= missH) {
      xc = xv;
      yc = yv;
    } else {
      xc = xh;
      yc = yh;
    }
  }
  // The crossing lies between an inside and an outside end; keep rounding
  // from pushing it off the rectangle.
  const PlanePoint c{std::clamp(static_cast<float>(xc), r.xmin, r.xmax),
                     std::clamp(static_cast<float>(yc), r.ymin, r.ymax)};
  if (in1) {
    pending_ = {c, PlanePoint{x1, y1}};
    next_ = 1;
  } else {
    pending_[1] = c;
    next_ = 2;
  }
}

// Both ends outside: only segments that pass from one side region to another
// can cross the rectangle, entering and leaving it.
bool RectangleClipper::bothOutside(const Rect& r, float x0, float y0, float x1, float y1, int kx0, int ky0, int kx1,
                                   int ky1) {
  if (std::abs(kx1 - kx0) + std::abs(ky1 - ky0) < 2) return false;
  if (x1 == x0) {
    pending_ = {PlanePoint{x0, r.ymin}, PlanePoint{x0, r.ymax}};
    next_ = 1;
    return kx0 == 1;
  }
  if (y1 == y0) {
    pending_ = {PlanePoint{r.xmin, y0}, PlanePoint{r.xmax, y0}};
    next_ = 1;
    return ky0 == 1;
  }
  const double s = (static_cast<double>(y1) - y0) / (static_cast<double>(x1) - x0);
  const double rs = 1.0 / s;
  const double b = y1 - s * x1;
  // Crossings with the sides in a fixed order: top, left, right, bottom.
  const std::array<PlanePoint, 4> crossing{PlanePoint{static_cast<float>((r.ymax - b) * rs), r.ymax},
                                           PlanePoint{r.xmin, static_cast<float>(s * r.xmin + b)},
                                           PlanePoint{r.xmax, static_cast<float>(s * r.xmax + b)},
                                           PlanePoint{static_cast<float>((r.ymin - b) * rs), r.ymin}};
  const std::array<bool, 4> counts{
      crossing[0].x >= r.xmin && crossing[0].x <= r.xmax, crossing[1].y >= r.ymin && crossing[1].y <= r.ymax,
      crossing[2].y >= r.ymin && crossing[2].y <= r.ymax, crossing[3].x >= r.xmin && crossing[3].x <= r.xmax};
  int first = -1;
  int last = -1;
  for (int i = 0; i < 4; ++i) {
    if (!counts[static_cast<std::size_t>(i)]) continue;
    if (first < 0) first = i;
    last = i;
  }
  if (first < 0) return false;
  pending_ = {crossing[static_cast<std::size_t>(first)], crossing[static_cast<std::size_t>(last)]};
  next_ = 1;
  return true;
}

void RectangleClipper::pull(float& x, float& y, bool& lcont, bool& lmove) {
  if (next_ > 2) {
    x = last_.x;
    y = last_.y;
    lcont = false;
    lmove = true;
    return;
  }
  const PlanePoint p = pending_[static_cast<std::size_t>(next_ - 1)];
  x = p.x;
  y = p.y;
  lmove = lcont = next_ == 1;
  ++next_;
  last_ = p;
}

}  // namespace detail

void szscll(float xmin, float xmax, float ymin, float ymax, int n) {
  if (!validRectangle(n, "SZSCLL")) return;
  limits[static_cast<std::size_t>(n)] = {xmin, xmax, ymin, ymax};
}

void szqcll(float& xmin, float& xmax, float& ymin, float& ymax, int n) {
  if (!validRectangle(n, "SZQCLL")) return;
  const Limits& l = limits[static_cast<std::size_t>(n)];
  xmin = l.xmin;
  xmax = l.xmax;
  ymin = l.ymin;
  ymax = l.ymax;
}

void szpcll(float x0, float y0, float x1, float y1, bool& lvalid, int n) {
  lvalid = false;
  if (!validRectangle(n, "SZPCLL")) return;
  lvalid = familyClippers[static_cast<std::size_t>(n)].start(x0, y0, x1, y1);
}

void szgcll(float& x, float& y, bool& lcont, bool& lmove, int n) {
  if (!validRectangle(n, "SZGCLL")) {
    lcont = false;
    lmove = true;
    return;
  }
  familyClippers[static_cast<std::size_t>(n)].pull(x, y, lcont, lmove);
}

}  // namespace zep
