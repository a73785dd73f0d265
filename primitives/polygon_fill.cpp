// Filled polygons (tones) in U, V and R. A polygon is one or more rings; the
// whole area is carried down to the workstation, clipped as an area at every
// place where lines are cut (map limits, viewport, workstation window), and
// filled there in one go by the even-odd rule, so holes stay open and
// self-intersecting rings fill alternately.
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "foundation/allocation.hpp"
#include "primitives/polygon_clip.hpp"

namespace zep {
namespace {

using polygon::Point;
using polygon::Ring;

// Colour 1 (the foreground), solid.
int currentTone = 1999;

// What may be filled: a tone of 0 and fewer than three points draw nothing and
// say so; negative counts and tones are errors.
bool fillable(std::string_view routine, int n, int itpat) {
  if (n < 0) {
    msgdmp("E", routine, "NUMBER OF POINTS IS LESS THAN 0.");
    return false;
  }
  if (itpat == 0) {
    msgdmp("M", routine, "TONE PATTERN NUMBER IS 0 / DO NOTHING.");
    return false;
  }
  if (itpat < 0) {
    msgdmp("E", routine, "TONE PATTERN NUMBER IS LESS THAN 0.");
    return false;
  }
  if (n == 1 || n == 2) {
    msgdmp("M", routine, "NUMBER OF POINTS IS LESS THAN 3 / DO NOTHING.");
    return false;
  }
  return n >= 3;
}

// The rings of a polygon: with GL LMISS a point that is RMISS in either
// coordinate separates two rings. Points that are not numbers are left out;
// rings of fewer than three points enclose nothing.
std::vector<Ring> splitRings(int n, const float* x, const float* y) {
  bool missingOn = false;
  float missing = 0.0F;
  gllget("LMISS", missingOn);
  glrget("RMISS", missing);
  std::vector<Ring> rings(1);
  for (int i = 0; i < n; ++i) {
    if (missingOn && (x[i] == missing || y[i] == missing)) {
      if (!rings.back().empty()) rings.emplace_back();
      continue;
    }
    if (!std::isfinite(x[i]) || !std::isfinite(y[i])) continue;
    rings.back().push_back({x[i], y[i]});
  }
  std::erase_if(rings, [](const Ring& r) { return r.size() < 3; });
  return rings;
}

// Maps every point with `f` (float in, float out) and leaves out the points it
// has no image for.
template <class F>
std::vector<Ring> mapPoints(const std::vector<Ring>& rings, F&& f) {
  float rundef = -999.0F;
  glrget("RUNDEF", rundef);
  std::vector<Ring> out;
  out.reserve(rings.size());
  for (const Ring& ring : rings) {
    Ring mapped;
    mapped.reserve(ring.size());
    for (const Point& p : ring) {
      float qx = 0.0F, qy = 0.0F;
      f(static_cast<float>(p.x), static_cast<float>(p.y), qx, qy);
      if ((qx == rundef && qy == rundef) || !std::isfinite(qx) || !std::isfinite(qy)) continue;
      mapped.push_back({qx, qy});
    }
    if (mapped.size() >= 3) out.push_back(std::move(mapped));
  }
  return out;
}

std::vector<Ring> clipToRectangle(const std::vector<Ring>& rings, int n) {
  float xmin = 0, xmax = 0, ymin = 0, ymax = 0;
  szqcll(xmin, xmax, ymin, ymax, n);
  std::vector<Ring> out;
  for (const Ring& ring : rings) {
    Ring part = polygon::clipRing(ring, {xmin, xmax, ymin, ymax});
    if (part.size() >= 3) out.push_back(std::move(part));
  }
  return out;
}

// The interpolation steps of the line pipeline, in the units of the converted
// U coordinates (radians where the transformation measures degrees).
void interpolationSteps(float& sx, float& sy) {
  float rdx = 0.0F, rdy = 0.0F;
  sgrget("RDX", rdx);
  sgrget("RDY", rdy);
  stfrad(rdx, rdy, sx, sy);
  sx = std::fabs(sx);
  sy = std::fabs(sy);
}

// Whether the longitude of a ring of edge points turns about a pole on its
// way round, or the ring touches a pole: only then can the rotation to map
// coordinates change which side of the curve is inside.
bool turnsOrTouchesAPole(const Ring& edges) {
  constexpr double kPi = std::numbers::pi;
  double turn = 0.0;
  for (std::size_t i = 0, n = edges.size(); i < n; ++i) {
    if (std::fabs(edges[i].y) >= kPi / 2 - 1.0E-4) return true;
    turn += std::remainder(edges[(i + 1) % n].x - edges[i].x, 2 * kPi);
  }
  return std::fabs(turn) > kPi;
}

struct Vec3 {
  double x, y, z;
};
Vec3 onSphere(Point p) { return {std::cos(p.y) * std::cos(p.x), std::cos(p.y) * std::sin(p.x), std::sin(p.y)}; }
double dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

std::vector<Vec3> onSphere(const Ring& ring) {
  std::vector<Vec3> out;
  out.reserve(ring.size());
  for (const Point& p : ring) out.push_back(onSphere(p));
  return out;
}

// Nearness (cosine of the angle) of a point to the nearest point of a ring.
double nearness(const Vec3& v, const std::vector<Vec3>& ring) {
  double best = -1.0;
  for (const Vec3& p : ring) best = std::fmax(best, dot(v, p));
  return best;
}

// A point well away from the ring, from the poles of U and of T, where the
// side of the ring can be read in both coordinates: the one of 26 directions
// that is farthest from all of them, given in T with its side in U.
polygon::SideProbe sideProbe(const Ring& userEdges, const Ring& mapEdges, double& userPole) {
  polygon::SideProbe probe;
  const Ring unfolded = polygon::unfoldOnSphere(userEdges, userPole);
  const std::vector<Vec3> userPoints = onSphere(userEdges), mapVectors = onSphere(mapEdges);
  double bestNearness = 2.0;
  Point bestU, bestT;
  for (int i = -1; i <= 1; ++i)
    for (int j = -1; j <= 1; ++j)
      for (int k = -1; k <= 1; ++k) {
        if (i == 0 && j == 0 && k == 0) continue;
        const double len = std::sqrt(static_cast<double>(i * i + j * j + k * k));
        const Vec3 v{i / len, j / len, k / len};
        const Point u{std::atan2(v.y, v.x), std::asin(v.z)};
        float tx = 0.0F, ty = 0.0F;
        stfrot(static_cast<float>(u.x), static_cast<float>(u.y), tx, ty);
        const Point t{tx, ty};
        const double n = std::fmax(std::fmax(std::fabs(v.z), std::fabs(std::sin(t.y))),
                                   std::fmax(nearness(v, userPoints), nearness(onSphere(t), mapVectors)));
        if (n < bestNearness) {
          bestNearness = n;
          bestU = u;
          bestT = t;
        }
      }
  // Closer than about a degree to everything: no reading to trust.
  if (bestNearness > 0.9998) return probe;
  probe.valid = true;
  probe.at = bestT;
  probe.inside = polygon::insideOnSphere(unfolded, bestU);
  return probe;
}

// U to V on a map projection: rotation to T, edges on the sphere, cuts at the
// map's limits and its seam, closing at a pole, projection.
std::vector<Ring> mapToNormalized(const std::vector<Ring>& rings) {
  bool greatCircle = false;
  sglget("LGCINT", greatCircle);
  float sx = 0.0F, sy = 0.0F;
  interpolationSteps(sx, sy);
  const double step = sx > 0 && sy > 0 ? std::fmin(sx, sy) : std::fmax(sx, sy);

  const std::vector<Ring> converted = mapPoints(rings, [](float x, float y, float& rx, float& ry) { stfrad(x, y, rx, ry); });
  std::vector<Ring> edges;
  std::vector<polygon::SideProbe> probes;
  double userPole = 0.0;
  for (const Ring& ring : converted) {
    const std::vector<Ring> rotated =
        mapPoints({ring}, [](float x, float y, float& tx, float& ty) { stfrot(x, y, tx, ty); });
    if (rotated.empty()) continue;
    Ring e = polygon::sphereEdges(rotated.front(), greatCircle, step, sx);
    if (e.size() < 3) continue;
    // The same curve in U, where the caller drew it (straight edges in U
    // without great circles: near enough to read the side far from it).
    Ring userEdges = greatCircle ? polygon::sphereEdges(ring, true, step, sx) : polygon::densify(ring, sx, sy);
    if (!greatCircle && !userEdges.empty()) userEdges.push_back(userEdges.front());
    polygon::SideProbe probe;
    if (userEdges.size() >= 3 && (turnsOrTouchesAPole(userEdges) || turnsOrTouchesAPole(e)))
      probe = sideProbe(userEdges, e, userPole);
    edges.push_back(std::move(e));
    probes.push_back(probe);
  }

  constexpr double kPi = std::numbers::pi;
  float txmin = 0, txmax = 0, tymin = 0, tymax = 0;
  szqclx(txmin, txmax);
  szqcly(tymin, tymax);
  const polygon::MapLimits limits{std::fmax(txmin, -kPi), std::fmin(txmax, kPi), std::fmax(tymin, -kPi / 2),
                                  std::fmin(tymax, kPi / 2)};
  if (!(limits.lonMin < limits.lonMax) || !(limits.latMin < limits.latMax)) return {};

  std::vector<Ring> parts = polygon::cutOnSphere(edges, limits, probes);
  // Edges straight in longitude and latitude (the map's limits, and every edge
  // without great circles) bend under the projection: cut them first.
  for (Ring& part : parts) part = polygon::densify(part, sx, sy);
  return mapPoints(parts, [](float x, float y, float& vx, float& vy) { stftrn(x, y, vx, vy); });
}

// U to V on the other transformations: edges straight in U, cut into the
// pipeline's steps when linear interpolation (SG LLNINT) is on.
std::vector<Ring> userToNormalized(const std::vector<Ring>& rings) {
  bool map = false;
  stqtrf(map);
  if (map) return mapToNormalized(rings);
  bool interpolate = false;
  sglget("LLNINT", interpolate);
  std::vector<Ring> converted = mapPoints(rings, [](float x, float y, float& rx, float& ry) { stfrad(x, y, rx, ry); });
  if (interpolate) {
    float sx = 0.0F, sy = 0.0F;
    interpolationSteps(sx, sy);
    for (Ring& ring : converted) ring = polygon::densify(ring, sx, sy);
  }
  return mapPoints(converted, [](float x, float y, float& vx, float& vy) { stftrn(x, y, vx, vy); });
}

std::vector<Ring> normalizedToDevice(std::vector<Ring> rings) {
  bool clip = false;
  sglget("LCLIP", clip);
  if (clip) rings = clipToRectangle(rings, 1);
  // The 2-D view keeps straight edges straight: mapping the corners suffices.
  return mapPoints(rings, [](float x, float y, float& rx, float& ry) { stfpr2(x, y, rx, ry); });
}

// R to W, and one fill of all rings on the workstation.
void fillOnWorkstation(const std::vector<Ring>& rings, int itpat) {
  const std::vector<Ring> inside = clipToRectangle(rings, 0);
  std::vector<int> counts;
  std::vector<float> wx, wy;
  for (const Ring& ring : inside) {
    counts.push_back(static_cast<int>(ring.size()));
    for (const Point& p : ring) {
      float x = 0.0F, y = 0.0F;
      stfwtr(static_cast<float>(p.x), static_cast<float>(p.y), x, y);
      wx.push_back(x);
      wy.push_back(y);
    }
  }
  if (!counts.empty()) swgtnm(static_cast<int>(counts.size()), counts.data(), wx.data(), wy.data(), itpat);
}

enum class Level { U, V, R };

void fill(std::string_view routine, Level level, int n, const float* x, const float* y, int itpat) {
  if (!fillable(routine, n, itpat)) return;
  std::string description = std::to_string(itpat);
  if (description.size() > 8) description.assign(8, '*');
  description.resize(80, ' ');
  cdblk(description);
  swoopn("SZTN", description);
  // The rings are copies of the caller's points: a polygon too large for memory is a report.
  memory::allocateOrReport(routine, "POLYGON POINTS", static_cast<std::size_t>(n), sizeof(Ring::value_type), [&] {
    std::vector<Ring> rings = splitRings(n, x, y);
    if (!rings.empty()) {
      if (level == Level::U) rings = userToNormalized(rings);
      if (level != Level::R) rings = normalizedToDevice(std::move(rings));
      fillOnWorkstation(rings, itpat);
    }
  });
  swocls("SZTN");
}

}  // namespace

void sgstnp(int itpat) { currentTone = itpat; }
void sgqtnp(int& itpat) { itpat = currentTone; }

void sgtnu(int n, const float* upx, const float* upy) { fill("SGTNU", Level::U, n, upx, upy, currentTone); }
void sgtnv(int n, const float* vpx, const float* vpy) { fill("SGTNV", Level::V, n, vpx, vpy, currentTone); }
void sgtnr(int n, const float* rpx, const float* rpy) { fill("SGTNR", Level::R, n, rpx, rpy, currentTone); }

void sgtnzu(int n, const float* upx, const float* upy, int itpat) { fill("SGTNZU", Level::U, n, upx, upy, itpat); }
void sgtnzv(int n, const float* vpx, const float* vpy, int itpat) { fill("SGTNZV", Level::V, n, vpx, vpy, itpat); }
void sgtnzr(int n, const float* rpx, const float* rpy, int itpat) { fill("SGTNZR", Level::R, n, rpx, rpy, itpat); }

}  // namespace zep
