// Geometry of filled polygons: rings clipped as areas, edges along straight
// lines and great circles, rings on the sphere cut at the seam and closed at a
// pole.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "primitives/polygon_clip.hpp"

namespace {

using zep::polygon::Point;
using zep::polygon::Ring;

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180.0;

double area(const Ring& r) { return std::fabs(zep::polygon::doubleArea(r)) / 2.0; }

// Even-odd parity of a point with respect to a set of rings.
bool insideEvenOdd(const std::vector<Ring>& rings, Point p) {
  bool in = false;
  for (const Ring& r : rings)
    for (std::size_t i = 0, n = r.size(); i < n; ++i) {
      const Point& a = r[i];
      const Point& b = r[(i + 1) % n];
      if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y)) in = !in;
    }
  return in;
}

TEST(PolygonClip, RingsAreClippedAsAreas) {
  const zep::polygon::Rect unit{0, 1, 0, 1};
  // Overlapping a corner: the quarter inside.
  EXPECT_DOUBLE_EQ(area(zep::polygon::clipRing({{-1, -1}, {0.5, -1}, {0.5, 0.5}, {-1, 0.5}}, unit)), 0.25);
  // Around the rectangle: all of it; outside it: nothing.
  EXPECT_DOUBLE_EQ(area(zep::polygon::clipRing({{-1, -1}, {2, -1}, {2, 2}, {-1, 2}}, unit)), 1.0);
  EXPECT_TRUE(zep::polygon::clipRing({{2, 2}, {3, 2}, {3, 3}}, unit).empty());
  // A U shape that leaves the rectangle and comes back: both arms stay, the gap
  // between them stays empty, and the join along the edge encloses nothing.
  const Ring u = {{0.1, 0.1}, {0.9, 0.1}, {0.9, 2.0}, {0.7, 2.0}, {0.7, 0.3}, {0.3, 0.3}, {0.3, 2.0}, {0.1, 2.0}};
  const Ring clipped = zep::polygon::clipRing(u, unit);
  EXPECT_NEAR(area(clipped), 0.8 * 0.2 + 2 * 0.2 * 0.7, 1e-12);
  EXPECT_TRUE(insideEvenOdd({clipped}, {0.2, 0.9}));
  EXPECT_TRUE(insideEvenOdd({clipped}, {0.8, 0.9}));
  EXPECT_FALSE(insideEvenOdd({clipped}, {0.5, 0.9}));
  for (const Point& p : clipped) {
    EXPECT_GE(p.y, 0.0);
    EXPECT_LE(p.y, 1.0);
  }
  // A self-intersecting star keeps its parity everywhere inside the rectangle.
  Ring star;
  for (int i = 0; i < 5; ++i) star.push_back({0.5 + 0.7 * std::cos(kPi / 2 + i * 4 * kPi / 5), 0.5 + 0.7 * std::sin(kPi / 2 + i * 4 * kPi / 5)});
  const Ring cut = zep::polygon::clipRing(star, unit);
  for (double x = 0.05; x < 1; x += 0.1)
    for (double y = 0.05; y < 1; y += 0.1) EXPECT_EQ(insideEvenOdd({cut}, {x, y}), insideEvenOdd({star}, {x, y})) << x << " " << y;
}

TEST(PolygonClip, StraightEdgesAreCutIntoStepsAndKeepTheirVertices) {
  const Ring square = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  const Ring d = zep::polygon::densify(square, 0.3, 0.3);
  // Four pieces per side, each vertex kept, first point first.
  ASSERT_EQ(d.size(), 16u);
  EXPECT_DOUBLE_EQ(d[0].x, 0.0);
  EXPECT_DOUBLE_EQ(d[0].y, 0.0);
  EXPECT_DOUBLE_EQ(d[4].x, 1.0);
  EXPECT_DOUBLE_EQ(d[8].y, 1.0);
  EXPECT_DOUBLE_EQ(area(d), 1.0);
  // No step: nothing cut.
  EXPECT_EQ(zep::polygon::densify(square, 0, 0).size(), 4u);
  // An absurdly small step is bounded.
  Ring line;
  zep::polygon::appendStraight(line, {0, 0}, {1, 0}, 1e-12, 0);
  EXPECT_EQ(line.size(), static_cast<std::size_t>(zep::polygon::kMaxPieces));
}

TEST(PolygonClip, GreatCircleEdges) {
  const double step = 5 * kDeg;
  // Two points on the parallel 50: the arc bulges towards the pole, every point
  // lies in the plane of the circle, and the end is exact.
  Ring arc;
  const Point a{-60 * kDeg, 50 * kDeg}, b{60 * kDeg, 50 * kDeg};
  zep::polygon::appendGreatCircle(arc, a, b, step, step);
  ASSERT_GE(arc.size(), 24u);
  EXPECT_DOUBLE_EQ(arc.back().x, b.x);
  EXPECT_DOUBLE_EQ(arc.back().y, b.y);
  const auto vec = [](Point p) {
    return std::array<double, 3>{std::cos(p.y) * std::cos(p.x), std::cos(p.y) * std::sin(p.x), std::sin(p.y)};
  };
  const auto va = vec(a), vb = vec(b);
  const std::array<double, 3> n = {va[1] * vb[2] - va[2] * vb[1], va[2] * vb[0] - va[0] * vb[2],
                                   va[0] * vb[1] - va[1] * vb[0]};
  double top = -1;
  for (const Point& p : arc) {
    const auto v = vec(p);
    EXPECT_NEAR(v[0] * n[0] + v[1] * n[1] + v[2] * n[2], 0.0, 1e-12);
    top = std::max(top, p.y);
  }
  const double crest = std::atan(std::tan(50 * kDeg) / std::cos(60 * kDeg));
  EXPECT_LE(top, crest + 1e-12);
  EXPECT_GT(top, crest - 5e-3);

  // From the pole: the meridian of the other end, the pole first with that
  // longitude.
  Ring down;
  zep::polygon::appendGreatCircle(down, {0, kPi / 2}, {40 * kDeg, 0}, step, step);
  for (const Point& p : down) EXPECT_NEAR(p.x, 40 * kDeg, 1e-12);
  EXPECT_DOUBLE_EQ(down.front().y, kPi / 2);

  // Over the pole: up one meridian, through the pole with both longitudes,
  // down the other.
  Ring over;
  zep::polygon::appendGreatCircle(over, {10 * kDeg, 60 * kDeg}, {-170 * kDeg, 70 * kDeg}, step, step);
  int atPole = 0;
  for (const Point& p : over) {
    if (std::fabs(p.y - kPi / 2) < 1e-9) ++atPole;
    else EXPECT_TRUE(std::fabs(p.x - 10 * kDeg) < 1e-9 || std::fabs(p.x + 170 * kDeg) < 1e-9) << p.x / kDeg;
  }
  EXPECT_EQ(atPole, 2);
}

// Parts of a ring on the sphere, in degrees.
std::vector<Ring> cut(const Ring& verticesDeg, bool greatCircle, zep::polygon::MapLimits limits = {-kPi, kPi, -kPi / 2, kPi / 2}) {
  Ring v;
  for (const Point& p : verticesDeg) v.push_back({p.x * kDeg, p.y * kDeg});
  return zep::polygon::cutOnSphere({zep::polygon::sphereEdges(v, greatCircle, 5 * kDeg, 5 * kDeg)}, limits);
}

TEST(PolygonClip, RingsOnTheSphereAreCutAtTheSeam) {
  // 20 degrees across the date line: one part on each side, 10 degrees wide
  // each, both against the seam.
  const std::vector<Ring> parts = cut({{170, -10}, {-170, -10}, {-170, 10}, {170, 10}}, false);
  ASSERT_EQ(parts.size(), 2u);
  double total = 0;
  for (const Ring& p : parts) {
    double lo = 10, hi = -10;
    for (const Point& q : p) {
      lo = std::min(lo, q.x);
      hi = std::max(hi, q.x);
    }
    EXPECT_TRUE((std::fabs(lo - 170 * kDeg) < 1e-9 && std::fabs(hi - kPi) < 1e-9) ||
                (std::fabs(lo + kPi) < 1e-9 && std::fabs(hi + 170 * kDeg) < 1e-9))
        << lo / kDeg << " " << hi / kDeg;
    total += area(p);
  }
  EXPECT_NEAR(total, 20 * kDeg * 20 * kDeg, 1e-9);
  // The same away from the seam stays whole; outside a narrower range it is cut.
  EXPECT_EQ(cut({{10, -10}, {30, -10}, {30, 10}, {10, 10}}, false).size(), 1u);
  const std::vector<Ring> narrow = cut({{10, -10}, {30, -10}, {30, 10}, {10, 10}}, false, {-kPi, 20 * kDeg, 0, kPi / 2});
  ASSERT_EQ(narrow.size(), 1u);
  EXPECT_NEAR(area(narrow[0]), 10 * kDeg * 10 * kDeg, 1e-9);
}

TEST(PolygonClip, RingsAroundAPoleCloseAtIt) {
  // Once around at -60: the southern cap, closed along the south pole, all
  // longitudes; a start away from the seam gives two parts that make up the cap.
  for (double start : {-180.0, 40.0}) {
    Ring ring;
    for (int i = 0; i < 12; ++i) ring.push_back({start + 30 * i, -60});
    const std::vector<Ring> parts = cut(ring, false);
    ASSERT_EQ(parts.size(), start == -180.0 ? 1u : 2u);
    double total = 0, lowest = 0;
    for (const Ring& p : parts) {
      total += area(p);
      for (const Point& q : p) lowest = std::min(lowest, q.y);
    }
    EXPECT_NEAR(total, 2 * kPi * 30 * kDeg, 1e-9);
    EXPECT_DOUBLE_EQ(lowest, -kPi / 2);
  }
  // In the north, clipped by a latitude band that stops short of the pole.
  Ring north;
  for (int i = 0; i < 8; ++i) north.push_back({-180.0 + 45 * i, 70});
  const std::vector<Ring> cap = cut(north, false, {-kPi, kPi, -kPi / 2, 80 * kDeg});
  ASSERT_EQ(cap.size(), 1u);
  EXPECT_NEAR(area(cap[0]), 2 * kPi * 10 * kDeg, 1e-9);

  // Two rings around the pole, +10 and -10: both close at the pole of the first
  // ring's smaller cap, so that even-odd leaves the band between them.
  Ring a, b;
  for (int i = 0; i < 12; ++i) {
    a.push_back({-180.0 + 30 * i, 10 * kDeg});
    b.push_back({180.0 - 30 * i, -10 * kDeg});
  }
  for (Point& p : a) p.x *= kDeg;
  for (Point& p : b) p.x *= kDeg;
  const std::vector<Ring> band = zep::polygon::cutOnSphere(
      {zep::polygon::sphereEdges(a, false, 0, 0), zep::polygon::sphereEdges(b, false, 0, 0)}, {-kPi, kPi, -kPi / 2, kPi / 2});
  EXPECT_TRUE(insideEvenOdd(band, {0.3, 0.0}));
  EXPECT_FALSE(insideEvenOdd(band, {0.3, 0.5}));
  EXPECT_FALSE(insideEvenOdd(band, {0.3, -0.5}));
  EXPECT_FALSE(insideEvenOdd(band, {0.3, 1.5}));
  EXPECT_FALSE(insideEvenOdd(band, {0.3, -1.5}));
}

TEST(PolygonClip, AVertexAtThePoleMakesAnEdgeAlongIt) {
  // The octant between the meridians -90 and 0, from the equator to the pole:
  // along great circles the pole vertex becomes the pole line between them.
  const std::vector<Ring> parts = cut({{0, 0}, {0, 90}, {-90, 0}}, true);
  ASSERT_EQ(parts.size(), 1u);
  EXPECT_NEAR(area(parts[0]), 90 * kDeg * 90 * kDeg, 1e-9);
  EXPECT_TRUE(insideEvenOdd(parts, {-45 * kDeg, 89 * kDeg}));
  EXPECT_FALSE(insideEvenOdd(parts, {45 * kDeg, 45 * kDeg}));
  // All vertices at the poles: nothing.
  EXPECT_TRUE(cut({{0, 90}, {90, 90}, {0, -90}}, true).empty());
}

}  // namespace

namespace {

TEST(PolygonClip, AProbeTellsWhichSideOfTheCurveIsMeant) {
  using zep::polygon::SideProbe;
  const zep::polygon::MapLimits hemisphere{-kPi, kPi, 0.0, kPi / 2};
  // A meridian there and back encloses nothing by itself; a probe that says the
  // point is inside makes it the whole sphere, and a hole stays open in it.
  Ring meridian;
  for (int j = -90; j <= 90; j += 10) meridian.push_back({kPi, j * kDeg});
  for (int j = 80; j >= -90; j -= 10) meridian.push_back({kPi, j * kDeg});
  Ring hole = {{0.2, 0.4}, {0.6, 0.4}, {0.6, 0.8}, {0.2, 0.8}, {0.2, 0.4}};
  const SideProbe wholeGlobe{true, {0.0, 0.3}, true};
  const std::vector<Ring> disk = zep::polygon::cutOnSphere({meridian, hole}, hemisphere, {wholeGlobe, SideProbe{}});
  EXPECT_TRUE(insideEvenOdd(disk, {-2.0, 0.1}));
  EXPECT_TRUE(insideEvenOdd(disk, {1.0, 1.5}));
  EXPECT_FALSE(insideEvenOdd(disk, {0.4, 0.6}));
  // A probe that agrees changes nothing.
  EXPECT_TRUE(zep::polygon::cutOnSphere({meridian}, hemisphere, {SideProbe{true, {0.0, 0.3}, false}}).empty());

  // A ring at -30 around the pole reads as the southern cap (the smaller one),
  // hidden from this hemisphere; told that the north pole's side is meant, it
  // covers the hemisphere, around the hole.
  Ring south;
  for (int i = 0; i <= 12; ++i) south.push_back({(-180.0 + 30 * i) * kDeg, -30 * kDeg});
  EXPECT_TRUE(zep::polygon::cutOnSphere({south, hole}, hemisphere).size() == 1u);
  const std::vector<Ring> north =
      zep::polygon::cutOnSphere({south, hole}, hemisphere, {SideProbe{true, {1.0, 0.5}, true}});
  EXPECT_TRUE(insideEvenOdd(north, {-2.0, 0.1}));
  EXPECT_FALSE(insideEvenOdd(north, {0.4, 0.6}));
  // The side test itself: every turn of longitude, and a cap closed at its pole.
  double pole = 0.0;
  const Ring unfolded = zep::polygon::unfoldOnSphere(south, pole);
  EXPECT_DOUBLE_EQ(pole, -kPi / 2);
  EXPECT_TRUE(zep::polygon::insideOnSphere(unfolded, {3.0, -1.0}));
  EXPECT_TRUE(zep::polygon::insideOnSphere(unfolded, {3.0 - 4 * kPi, -1.0}));
  EXPECT_FALSE(zep::polygon::insideOnSphere(unfolded, {3.0, 0.0}));
  EXPECT_FALSE(zep::polygon::insideOnSphere(zep::polygon::unfoldOnSphere(hole, pole), {0.4 + 2 * kPi, 0.2}));
  EXPECT_TRUE(zep::polygon::insideOnSphere(zep::polygon::unfoldOnSphere(hole, pole), {0.4 + 2 * kPi, 0.6}));
}

}  // namespace
