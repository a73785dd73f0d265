// Latitude clipper: cuts one segment in T coordinates (radians) to a latitude
// band, following the great circle through its ends.
#include <array>

#include <zep/foundation.hpp>
#include <zep/primitives.hpp>

namespace zep {

namespace {

constexpr float kTolerance = 1.0E-5F;

struct Point {
  float x = 0.0F;
  float y = 0.0F;
};

struct LatitudeBand {
  float ymin = -rfpi() / 2.0F;
  float ymax = rfpi() / 2.0F;
  std::array<Point, 2> pending{};
  int next = 3;  // index (1 or 2) of the next pending point; 3 when exhausted
  Point last{};
};

LatitudeBand band;

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

// Where the great circle through the current definition meets the band edge on
// the given side.
Point crossing(Side side) {
  Point p;
  p.y = side == Side::below ? band.ymin : band.ymax;
  szqgcx(p.y, p.x);
  return p;
}

}  // namespace

void szscly(float ymin, float ymax) {
  band.ymin = ymin;
  band.ymax = ymax;
}

void szqcly(float& ymin, float& ymax) {
  ymin = band.ymin;
  ymax = band.ymax;
}

void szpcly(float x0, float y0, float x1, float y1, bool& lvalid, bool lstrict) {
  const Side s0 = classify(y0, lstrict);
  const Side s1 = classify(y1, lstrict);
  band.last = {x1, y1};
  band.next = 3;
  lvalid = true;
  if (s0 == Side::inside && s1 == Side::inside) {
    band.pending[1] = {x1, y1};
    band.next = 2;
  } else if (s0 == Side::inside) {
    szsgcl(x0, y0, x1, y1);
    band.pending[1] = crossing(s1);
    band.next = 2;
  } else if (s1 == Side::inside) {
    szsgcl(x1, y1, x0, y0);
    band.pending = {crossing(s0), Point{x1, y1}};
    band.next = 1;
  } else {
    lvalid = false;
  }
}

void szgcly(float& x, float& y, bool& lcont) {
  if (band.next > 2) {
    x = band.last.x;
    y = band.last.y;
    lcont = false;
    return;
  }
  const Point p = band.pending[static_cast<std::size_t>(band.next - 1)];
  x = p.x;
  y = p.y;
  lcont = band.next == 1;
  ++band.next;
  band.last = p;
}

}  // namespace zep
