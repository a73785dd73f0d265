// Geometry of filled polygons: rectangle clipping of whole rings, edges along
// great circles and straight lines, and rings on the sphere cut at the seam and
// closed at a pole.
#include "primitives/polygon_clip.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace zep::polygon {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kHalfPi = kPi / 2.0;
constexpr double kTwoPi = 2.0 * kPi;
// Latitudes this close to +-pi/2 are at the pole (the library's tolerance).
constexpr double kPoleTolerance = 1.0E-5;

bool atPole(double lat) { return std::fabs(lat) >= kHalfPi - kPoleTolerance; }

// Longitude difference folded into (-pi, pi].
double foldDifference(double d) {
  d = std::remainder(d, kTwoPi);
  if (d <= -kPi) d += kTwoPi;
  return d;
}

// One side of the rectangle: keeps the points with sign * (coordinate - value) >= 0.
struct Side {
  bool onX;
  double value;
  double sign;
  bool inside(Point p) const { return sign * ((onX ? p.x : p.y) - value) >= 0.0; }
  Point crossing(Point a, Point b) const {
    if (onX) {
      const double t = (value - a.x) / (b.x - a.x);
      return {value, a.y + t * (b.y - a.y)};
    }
    const double t = (value - a.y) / (b.y - a.y);
    return {a.x + t * (b.x - a.x), value};
  }
};

Ring clipSide(const Ring& in, const Side& side) {
  Ring out;
  if (in.empty()) return out;
  out.reserve(in.size() + 4);
  Point s = in.back();
  bool sIn = side.inside(s);
  for (const Point& e : in) {
    const bool eIn = side.inside(e);
    if (eIn != sIn) out.push_back(side.crossing(s, e));
    if (eIn) out.push_back(e);
    s = e;
    sIn = eIn;
  }
  return out;
}

struct Vec3 {
  double x, y, z;
};

Vec3 unitVector(Point p) {
  const double c = std::cos(p.y);
  return {c * std::cos(p.x), c * std::sin(p.x), std::sin(p.y)};
}

Vec3 cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double norm(const Vec3& a) { return std::sqrt(dot(a, a)); }

int pieces(double span, double step) {
  if (!(step > 0.0) || !(span > step)) return 1;
  const double n = std::floor(span / step) + 1.0;
  return n >= kMaxPieces ? kMaxPieces : static_cast<int>(n);
}

}  // namespace

Ring clipRing(const Ring& ring, const Rect& r) {
  const std::array<Side, 4> sides = {Side{true, r.xmin, 1.0}, Side{true, r.xmax, -1.0}, Side{false, r.ymin, 1.0},
                                     Side{false, r.ymax, -1.0}};
  Ring out = ring;
  for (const Side& side : sides) out = clipSide(out, side);
  return out;
}

double doubleArea(const Ring& ring) {
  double a = 0.0;
  for (std::size_t i = 0, n = ring.size(); i < n; ++i) {
    const Point& p = ring[i];
    const Point& q = ring[(i + 1) % n];
    a += p.x * q.y - q.x * p.y;
  }
  return a;
}

void appendStraight(Ring& out, Point a, Point b, double sx, double sy) {
  const int n = std::max(pieces(std::fabs(b.x - a.x), sx), pieces(std::fabs(b.y - a.y), sy));
  for (int i = 1; i < n; ++i) {
    const double t = static_cast<double>(i) / n;
    out.push_back({a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)});
  }
  out.push_back(b);
}

void appendGreatCircle(Ring& out, Point a, Point b, double step, double sx) {
  const bool aPole = atPole(a.y), bPole = atPole(b.y);
  if (!aPole && !bPole) {
    // An edge shorter than a step needs no point between its ends: its
    // great-circle length is at most the latitude change plus the longitude
    // change, and the trigonometry below would only confirm that. Shores
    // come as many such edges.
    double dx = b.x - a.x;
    if (std::fabs(dx) > kPi) dx = foldDifference(dx);
    dx = std::fabs(dx);
    if ((!(step > 0.0) || dx + std::fabs(b.y - a.y) <= step) && (!(sx > 0.0) || dx <= sx)) {
      out.push_back(b);
      return;
    }
  }
  if (aPole && bPole) {
    if (a.y * b.y < 0.0) {
      // Pole to pole: any meridian will do; take the one of the start.
      appendStraight(out, {a.x, a.y}, {a.x, b.y}, 0.0, step);
    }
    out.push_back(b);
    return;
  }
  if (aPole) {
    a.x = b.x;
    out.push_back(a);
  }
  Point end = b;
  if (bPole) end.x = a.x;

  const Vec3 va = unitVector(a), vb = unitVector(end);
  const Vec3 n = cross(va, vb);
  const double sinw = norm(n);
  const double w = std::atan2(sinw, dot(va, vb));
  if (w < 1.0E-12) {
    out.push_back(end);
    if (bPole) out.push_back(b);
    return;
  }
  if (kPi - w < 1.0E-7) {
    // Opposite points lie on every meridian circle through them.
    const Point pole{a.x, kHalfPi};
    appendGreatCircle(out, a, pole, step, sx);
    appendGreatCircle(out, pole, b, step, sx);
    return;
  }
  if (!aPole && !bPole && std::fabs(n.z) <= 1.0E-9 * sinw) {
    // On a meridian circle: an arc over a pole passes through it.
    for (const double pole : {kHalfPi, -kHalfPi}) {
      const double viaPole = std::fabs(pole - a.y) + std::fabs(pole - b.y);
      if (std::fabs(viaPole - w) < 1.0E-9) {
        appendGreatCircle(out, a, {a.x, pole}, step, sx);
        appendGreatCircle(out, {b.x, pole}, b, step, sx);
        return;
      }
    }
  }
  const int count = std::max(pieces(w, step), pieces(std::fabs(foldDifference(end.x - a.x)), sx));
  for (int i = 1; i < count; ++i) {
    const double t = static_cast<double>(i) / count;
    const double fa = std::sin((1.0 - t) * w) / sinw, fb = std::sin(t * w) / sinw;
    const Vec3 v{fa * va.x + fb * vb.x, fa * va.y + fb * vb.y, fa * va.z + fb * vb.z};
    out.push_back({std::atan2(v.y, v.x), std::asin(std::clamp(v.z, -1.0, 1.0))});
  }
  out.push_back(end);
  if (bPole && end.x != b.x) out.push_back(b);
}

Ring sphereEdges(const Ring& vertices, bool greatCircle, double step, double sx) {
  Ring out;
  const std::size_t n = vertices.size();
  std::size_t start = 0;
  while (start < n && atPole(vertices[start].y)) ++start;
  if (start == n) return out;
  out.push_back(vertices[start]);
  for (std::size_t j = 1; j <= n; ++j) {
    const Point& a = vertices[(start + j - 1) % n];
    const Point& b = vertices[(start + j) % n];
    if (greatCircle) appendGreatCircle(out, a, b, step, sx);
    else out.push_back(b);
  }
  return out;
}

Ring densify(const Ring& ring, double sx, double sy) {
  Ring out;
  if (ring.empty()) return out;
  out.reserve(ring.size() + 1);
  out.push_back(ring.front());
  for (std::size_t i = 0, n = ring.size(); i < n; ++i) appendStraight(out, ring[i], ring[(i + 1) % n], sx, sy);
  // The last point appended is the first one again.
  out.pop_back();
  return out;
}

Ring unfoldOnSphere(const Ring& edges, double& pole) {
  Ring u;
  if (edges.size() < 3) return u;
  // Follow the ring the shorter way from point to point, so that it is one
  // continuous curve in longitude; a ring around a pole ends a whole turn
  // away from where it started.
  u.reserve(edges.size() + 2);
  u.push_back({std::remainder(edges.front().x, kTwoPi), std::clamp(edges.front().y, -kHalfPi, kHalfPi)});
  for (std::size_t i = 1; i < edges.size(); ++i) {
    const double x = u.back().x + foldDifference(edges[i].x - edges[i - 1].x);
    u.push_back({x, std::clamp(edges[i].y, -kHalfPi, kHalfPi)});
  }
  const long turns = std::lround((u.back().x - u.front().x) / kTwoPi);
  if (turns == 0) {
    u.pop_back();
    return u;
  }
  if (pole == 0.0) {
    // The area between the ring and the south pole; the ring closes at the
    // pole of the smaller cap.
    double south = 0.0;
    for (std::size_t i = 1; i < u.size(); ++i)
      south += (u[i].x - u[i - 1].x) * (1.0 + std::sin(0.5 * (u[i].y + u[i - 1].y)));
    south = std::fabs(south) / static_cast<double>(std::labs(turns));
    pole = south <= kTwoPi ? -kHalfPi : kHalfPi;
  }
  const double last = u.back().x, first = u.front().x;
  u.push_back({last, pole});
  u.push_back({first, pole});
  return u;
}

bool insideOnSphere(const Ring& unfolded, Point p) {
  if (unfolded.size() < 3) return false;
  double lo = unfolded.front().x, hi = lo;
  for (const Point& q : unfolded) {
    lo = std::min(lo, q.x);
    hi = std::max(hi, q.x);
  }
  // Every copy of the point that the unfolded ring can reach counts.
  bool in = false;
  const long kFirst = static_cast<long>(std::floor((lo - p.x) / kTwoPi));
  const long kLast = static_cast<long>(std::ceil((hi - p.x) / kTwoPi));
  for (long k = kFirst; k <= kLast; ++k) {
    const double x = p.x + kTwoPi * static_cast<double>(k);
    for (std::size_t i = 0, n = unfolded.size(); i < n; ++i) {
      const Point& a = unfolded[i];
      const Point& b = unfolded[(i + 1) % n];
      if ((a.y > p.y) != (b.y > p.y) && x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y)) in = !in;
    }
  }
  return in;
}

std::vector<Ring> cutOnSphere(const std::vector<Ring>& rings, const MapLimits& limits,
                              const std::vector<SideProbe>& probes) {
  std::vector<Ring> result;
  double pole = 0.0;
  bool complement = false;
  for (std::size_t r = 0; r < rings.size(); ++r) {
    const Ring u = unfoldOnSphere(rings[r], pole);
    if (r < probes.size() && probes[r].valid && insideOnSphere(u, probes[r].at) != probes[r].inside)
      complement = !complement;
    if (u.size() < 3) continue;

    double lo = u.front().x, hi = lo;
    for (const Point& p : u) {
      lo = std::min(lo, p.x);
      hi = std::max(hi, p.x);
    }
    // One copy of the longitude range per turn of the sphere that the ring
    // covers; each part is shifted back into the range.
    const long kFirst = static_cast<long>(std::floor((lo - limits.lonMax) / kTwoPi));
    const long kLast = static_cast<long>(std::ceil((hi - limits.lonMin) / kTwoPi));
    for (long k = kFirst; k <= kLast; ++k) {
      const double shift = kTwoPi * static_cast<double>(k);
      if (limits.lonMax + shift <= lo || limits.lonMin + shift >= hi) continue;
      Ring part = clipRing(u, {limits.lonMin + shift, limits.lonMax + shift, limits.latMin, limits.latMax});
      if (part.size() < 3 || std::fabs(doubleArea(part)) < 1.0E-14) continue;
      for (Point& p : part) p.x = std::clamp(p.x - shift, limits.lonMin, limits.lonMax);
      result.push_back(std::move(part));
    }
  }
  // An odd number of rings that stand for the other side of their curve: the
  // whole of the limits once more turns every parity over.
  if (complement)
    result.push_back({{limits.lonMin, limits.latMin}, {limits.lonMax, limits.latMin}, {limits.lonMax, limits.latMax},
                      {limits.lonMin, limits.latMax}});
  return result;
}

}  // namespace zep::polygon
