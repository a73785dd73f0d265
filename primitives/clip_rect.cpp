// Rectangle clipper: cuts one segment at a time to an axis-parallel rectangle and
// hands out the visible points. Two rectangles with independent generators exist
// (0: workstation window in R, 1: viewport in V), so the V and R stages of the
// line pipeline can clip at the same time.
#include <algorithm>
#include <array>
#include <cmath>

#include <zep/foundation.hpp>
#include <zep/primitives.hpp>

namespace zep {

namespace {

struct Point {
  float x = 0.0F;
  float y = 0.0F;
};

struct Rectangle {
  float xmin = 0.0F;
  float xmax = 1.0F;
  float ymin = 0.0F;
  float ymax = 1.0F;
  std::array<Point, 2> pending{};
  int next = 3;  // index (1 or 2) of the next pending point; 3 when exhausted
  Point last{};  // handed out again once the generator is exhausted
};

std::array<Rectangle, 2> rectangles;

Rectangle* rectangle(int n, const char* routine) {
  if (n != 0 && n != 1) {
    msgdmp("E", routine, "RECTANGLE NUMBER IS INVALID.");
    return nullptr;
  }
  return &rectangles[static_cast<std::size_t>(n)];
}

// 0 below the range, 2 above it, 1 inside (boundaries included).
int classify(float v, float lo, float hi) {
  if (v < lo) return 0;
  if (v > hi) return 2;
  return 1;
}

}  // namespace

void szscll(float xmin, float xmax, float ymin, float ymax, int n) {
  Rectangle* r = rectangle(n, "SZSCLL");
  if (r == nullptr) return;
  r->xmin = xmin;
  r->xmax = xmax;
  r->ymin = ymin;
  r->ymax = ymax;
}

void szqcll(float& xmin, float& xmax, float& ymin, float& ymax, int n) {
  Rectangle* r = rectangle(n, "SZQCLL");
  if (r == nullptr) return;
  xmin = r->xmin;
  xmax = r->xmax;
  ymin = r->ymin;
  ymax = r->ymax;
}

void szpcll(float x0, float y0, float x1, float y1, bool& lvalid, int n) {
  lvalid = false;
  Rectangle* rp = rectangle(n, "SZPCLL");
  if (rp == nullptr) return;
  Rectangle& r = *rp;
  r.next = 3;
  r.last = {x1, y1};

  const int kx0 = classify(x0, r.xmin, r.xmax);
  const int ky0 = classify(y0, r.ymin, r.ymax);
  const int kx1 = classify(x1, r.xmin, r.xmax);
  const int ky1 = classify(y1, r.ymin, r.ymax);
  const bool in0 = kx0 == 1 && ky0 == 1;
  const bool in1 = kx1 == 1 && ky1 == 1;

  lvalid = true;
  if (in0 && in1) {
    r.pending[1] = {x1, y1};
    r.next = 2;
    return;
  }

  if (in0 != in1) {
    const int kxo = in0 ? kx1 : kx0;
    const int kyo = in0 ? ky1 : ky0;
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
    const Point c{std::clamp(static_cast<float>(xc), r.xmin, r.xmax),
                  std::clamp(static_cast<float>(yc), r.ymin, r.ymax)};
    if (in1) {
      r.pending = {c, Point{x1, y1}};
      r.next = 1;
    } else {
      r.pending[1] = c;
      r.next = 2;
    }
    return;
  }

  // Both ends outside: only segments that pass from one side region to another
  // can cross the rectangle.
  if (std::abs(kx1 - kx0) + std::abs(ky1 - ky0) < 2) {
    lvalid = false;
    return;
  }
  if (x1 == x0) {
    r.pending = {Point{x0, r.ymin}, Point{x0, r.ymax}};
    r.next = 1;
    lvalid = kx0 == 1;
  } else if (y1 == y0) {
    r.pending = {Point{r.xmin, y0}, Point{r.xmax, y0}};
    r.next = 1;
    lvalid = ky0 == 1;
  } else {
    const double s = (static_cast<double>(y1) - y0) / (static_cast<double>(x1) - x0);
    const double rs = 1.0 / s;
    const double b = y1 - s * x1;
    // Crossings with the sides in a fixed order: top, left, right, bottom.
    const std::array<Point, 4> crossing{
        Point{static_cast<float>((r.ymax - b) * rs), r.ymax}, Point{r.xmin, static_cast<float>(s * r.xmin + b)},
        Point{r.xmax, static_cast<float>(s * r.xmax + b)}, Point{static_cast<float>((r.ymin - b) * rs), r.ymin}};
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
    if (first < 0) {
      lvalid = false;
    } else {
      r.pending = {crossing[static_cast<std::size_t>(first)], crossing[static_cast<std::size_t>(last)]};
      r.next = 1;
    }
  }
  if (!lvalid) r.next = 3;
}

void szgcll(float& x, float& y, bool& lcont, bool& lmove, int n) {
  Rectangle* rp = rectangle(n, "SZGCLL");
  if (rp == nullptr) {
    lcont = false;
    lmove = true;
    return;
  }
  Rectangle& r = *rp;
  if (r.next > 2) {
    x = r.last.x;
    y = r.last.y;
    lcont = false;
    lmove = true;
    return;
  }
  const Point p = r.pending[static_cast<std::size_t>(r.next - 1)];
  x = p.x;
  y = p.y;
  lmove = lcont = r.next == 1;
  ++r.next;
  r.last = p;
}

}  // namespace zep
