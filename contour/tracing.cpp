// Contour lines and filled bands by marching squares.
//
// One pass over the grid gives every point its class (the number of levels at or
// below its value); a second pass lists, per level, the grid edges that the level
// crosses (an edge is crossed at most once per level, the values along it being
// linear). Lines are traced from those lists cell by cell, each crossing used
// once; band rings are traced the same way along the lower and upper level of the
// band, and along the grid edge or missing cells where the band meets them. A
// crossing's point is computed from its edge alone, so the two cells that share
// an edge agree on it to the bit, and neighbouring bands share their boundaries
// exactly. Everything lives in flat arrays whose size grows with the grid and
// the length of the contours.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <zep/contour.hpp>
#include <zep/foundation.hpp>
#include <zep/graphics.hpp>

#include "contour/contour_state.hpp"

namespace zep {
namespace contour {
namespace {

// Crossing lists, rebuilt with the classes: level L owns edges[start[L] .. start[L+1]).
struct Crossings {
  std::vector<std::size_t> edges;
  std::vector<std::size_t> start;
} crossings;

std::vector<float> levelValues;

// Edge ids: 2 v for the edge from point v to v+1 (along x), 2 v + 1 for the edge
// from v to v+nx (along y).
constexpr std::size_t edgeAlongX(std::size_t v) { return 2 * v; }
constexpr std::size_t edgeAlongY(std::size_t v) { return 2 * v + 1; }

// For a cell whose corners 0 (i,j), 1 (i+1,j), 2 (i+1,j+1), 3 (i,j+1) are above a
// level as the bits of `c` say, the side where a line entering through side s
// leaves; sides 0 bottom, 1 right, 2 top, 3 left (side s runs from corner s to
// corner s+1, counter-clockwise). Saddles (5, 10) are resolved separately.
constexpr std::array<std::array<signed char, 4>, 16> kExit = [] {
  std::array<std::array<signed char, 4>, 16> t{};
  for (int c = 0; c < 16; ++c) {
    int crossed[4], n = 0;
    for (int s = 0; s < 4; ++s) {
      t[c][s] = -1;
      if (((c >> s) & 1) != ((c >> ((s + 1) & 3)) & 1)) crossed[n++] = s;
    }
    if (n == 2) {
      t[c][crossed[0]] = static_cast<signed char>(crossed[1]);
      t[c][crossed[1]] = static_cast<signed char>(crossed[0]);
    }
  }
  return t;
}();

struct Grid {
  int nx, ny;
  const PointClass* cls;
  const float* z;
  const float* xs;
  const float* ys;
  const float* lv;

  std::size_t point(int i, int j) const { return static_cast<std::size_t>(j) * nx + static_cast<std::size_t>(i); }

  bool cellValid(int i, int j) const {
    if (i < 0 || j < 0 || i >= nx - 1 || j >= ny - 1) return false;
    const std::size_t v = point(i, j);
    return cls[v] != kMissingClass && cls[v + 1] != kMissingClass && cls[v + nx] != kMissingClass &&
           cls[v + nx + 1] != kMissingClass;
  }

  std::size_t corner(int i, int j, int c) const {
    const std::size_t v = point(i, j);
    switch (c & 3) {
      case 0: return v;
      case 1: return v + 1;
      case 2: return v + nx + 1;
      default: return v + nx;
    }
  }

  std::size_t sideEdge(int i, int j, int s) const {
    const std::size_t v = point(i, j);
    switch (s & 3) {
      case 0: return edgeAlongX(v);
      case 1: return edgeAlongY(v + 1);
      case 2: return edgeAlongX(v + nx);
      default: return edgeAlongY(v);
    }
  }

  static void neighbour(int& i, int& j, int s) {
    switch (s & 3) {
      case 0: --j; break;
      case 1: ++i; break;
      case 2: ++j; break;
      default: --i; break;
    }
  }

  // The side where the line of level L entering cell (i, j) through side s leaves.
  int exitSide(int i, int j, int s, int L) const {
    const std::size_t v = point(i, j);
    const int c = (cls[v] > L ? 1 : 0) | (cls[v + 1] > L ? 2 : 0) | (cls[v + nx + 1] > L ? 4 : 0) |
                  (cls[v + nx] > L ? 8 : 0);
    if (c != 5 && c != 10) return kExit[static_cast<std::size_t>(c)][static_cast<std::size_t>(s)];
    const double mean = (static_cast<double>(z[v]) + z[v + 1] + z[v + nx + 1] + z[v + nx]) * 0.25;
    const bool centreAbove = mean >= static_cast<double>(lv[L]);
    // Cut off corners 1 and 3 (pairs 0-1, 2-3) or corners 0 and 2 (pairs 0-3, 1-2):
    // the centre joins the corners on its own side.
    const bool cutOdd = (c == 5) == centreAbove;
    if (cutOdd) return s ^ 1;
    return 3 - s;
  }

  // Point where level L crosses the edge from point a to point b (a < b).
  void crossing(std::size_t a, std::size_t b, float ax, float ay, float bx, float by, int L, float& px,
                float& py) const {
    const float t = (lv[L] - z[a]) / (z[b] - z[a]);
    px = ax + t * (bx - ax);
    py = ay + t * (by - ay);
  }

  void sidePoint(int i, int j, int s, int L, float& px, float& py) const {
    const std::size_t v = point(i, j);
    switch (s & 3) {
      case 0: crossing(v, v + 1, xs[i], ys[j], xs[i + 1], ys[j], L, px, py); break;
      case 1: crossing(v + 1, v + nx + 1, xs[i + 1], ys[j], xs[i + 1], ys[j + 1], L, px, py); break;
      case 2: crossing(v + nx, v + nx + 1, xs[i], ys[j + 1], xs[i + 1], ys[j + 1], L, px, py); break;
      default: crossing(v, v + nx, xs[i], ys[j], xs[i], ys[j + 1], L, px, py); break;
    }
  }

  void cornerPoint(int i, int j, int c, float& px, float& py) const {
    px = xs[i + ((c == 1 || c == 2) ? 1 : 0)];
    py = ys[j + ((c == 2 || c == 3) ? 1 : 0)];
  }

  // The cell (and its side) through which a crossing of level L on edge e is left
  // with the higher values on the left (forward) or on the right.
  void cellOfEdge(std::size_t e, int L, bool forward, int& i, int& j, int& s) const {
    const std::size_t v = e >> 1;
    i = static_cast<int>(v % static_cast<std::size_t>(nx));
    j = static_cast<int>(v / static_cast<std::size_t>(nx));
    if ((e & 1) == 0) {
      const bool up = (cls[v] > L) == forward;
      if (up) s = 0; else { --j; s = 2; }
    } else {
      const bool right = (cls[v + nx] > L) == forward;
      if (right) s = 3; else { --i; s = 1; }
    }
  }

  Grid(const State& st)
      : nx(st.cols), ny(st.ny), cls(st.classes.data()), z(computedField(st)), xs(st.xs.data()), ys(st.ys.data()),
        lv(levelValues.data()) {}
};

void emit(Paths& out, std::size_t ringStart, float px, float py) {
  if (out.x.size() > ringStart && out.x.back() == px && out.y.back() == py) return;
  out.x.push_back(px);
  out.y.push_back(py);
}

// Closes an item. A ring ends on its first point, as a closed line does, so
// that every closed path reads the same way to a caller.
void finish(Paths& out, std::size_t ringStart, int tag, bool closed, bool closeRing) {
  if (closeRing && out.x.size() > ringStart &&
      (out.x.back() != out.x[ringStart] || out.y.back() != out.y[ringStart])) {
    out.x.push_back(out.x[ringStart]);
    out.y.push_back(out.y[ringStart]);
  }
  out.start.push_back(out.x.size());
  out.tag.push_back(tag);
  out.closed.push_back(closed ? 1 : 0);
}

std::vector<std::uint8_t> visited;

// ---------------------------------------------------------------------------
// Lines
// ---------------------------------------------------------------------------

void traceLine(const Grid& g, int L, std::size_t e0, int i, int j, int s, Paths& out) {
  const std::size_t ringStart = out.x.size();
  float px, py;
  g.sidePoint(i, j, s, L, px, py);
  out.x.push_back(px);
  out.y.push_back(py);
  visited[e0] = 1;
  bool closed = false;
  for (;;) {
    const int exit = g.exitSide(i, j, s, L);
    const std::size_t e = g.sideEdge(i, j, exit);
    g.sidePoint(i, j, exit, L, px, py);
    out.x.push_back(px);
    out.y.push_back(py);
    if (e == e0) {
      closed = true;
      break;
    }
    visited[e] = 1;
    Grid::neighbour(i, j, exit);
    if (!g.cellValid(i, j)) break;
    s = (exit + 2) & 3;
  }
  finish(out, ringStart, L, closed, false);
}

void traceLevel(const Grid& g, int L, Paths& out) {
  const std::size_t* first = crossings.edges.data() + crossings.start[static_cast<std::size_t>(L)];
  const std::size_t* last = crossings.edges.data() + crossings.start[static_cast<std::size_t>(L) + 1];
  int i, j, s, bi, bj, bs;
  // Open lines first, from the end where they enter the grid, so that each is
  // traced whole in its own direction; what is left closes on itself.
  for (const std::size_t* p = first; p != last; ++p) {
    g.cellOfEdge(*p, L, true, i, j, s);
    if (!g.cellValid(i, j)) continue;
    g.cellOfEdge(*p, L, false, bi, bj, bs);
    if (g.cellValid(bi, bj)) continue;
    traceLine(g, L, *p, i, j, s, out);
  }
  for (const std::size_t* p = first; p != last; ++p) {
    if (visited[*p]) continue;
    g.cellOfEdge(*p, L, true, i, j, s);
    if (!g.cellValid(i, j)) continue;  // an isolated crossing between missing cells
    traceLine(g, L, *p, i, j, s, out);
  }
  for (const std::size_t* p = first; p != last; ++p) visited[*p] = 0;
}

// ---------------------------------------------------------------------------
// Bands
// ---------------------------------------------------------------------------

constexpr std::uint8_t kLowerDone = 1, kUpperDone = 2, kSideDone = 4;

struct ExteriorSide {
  int i, j, s;
};

// Exterior sides (a valid cell on one side only) whose two ends share a class,
// bucketed by that class: the starts of rings that no level crosses.
std::vector<ExteriorSide> exteriorSides;
std::vector<std::size_t> exteriorStart;

void collectExteriorSides(const Grid& g, bool anyMissing, std::size_t nbands) {
  std::vector<ExteriorSide> all;
  auto consider = [&](int i, int j, int s) {
    int ni = i, nj = j;
    Grid::neighbour(ni, nj, s);
    if (g.cellValid(ni, nj)) return;
    const PointClass a = g.cls[g.corner(i, j, s)], b = g.cls[g.corner(i, j, s + 1)];
    if (a == b) all.push_back({i, j, s});
  };
  if (anyMissing) {
    for (int j = 0; j < g.ny - 1; ++j)
      for (int i = 0; i < g.nx - 1; ++i)
        if (g.cellValid(i, j))
          for (int s = 0; s < 4; ++s) consider(i, j, s);
  } else {
    for (int i = 0; i < g.nx - 1; ++i) {
      consider(i, 0, 0);
      consider(i, g.ny - 2, 2);
    }
    for (int j = 0; j < g.ny - 1; ++j) {
      consider(0, j, 3);
      consider(g.nx - 2, j, 1);
    }
  }
  exteriorStart.assign(nbands + 1, 0);
  for (const ExteriorSide& e : all) ++exteriorStart[g.cls[g.corner(e.i, e.j, e.s)] + 1];
  for (std::size_t b = 1; b <= nbands; ++b) exteriorStart[b] += exteriorStart[b - 1];
  exteriorSides.resize(all.size());
  std::vector<std::size_t> fill(exteriorStart.begin(), exteriorStart.end() - 1);
  for (const ExteriorSide& e : all) exteriorSides[fill[g.cls[g.corner(e.i, e.j, e.s)]]++] = e;
}

class RingTracer {
 public:
  RingTracer(const Grid& g, int band, Paths& out, std::vector<std::size_t>& touched)
      : g_(g), k_(band), out_(out), touched_(touched) {
    limit_ = 8 * static_cast<std::size_t>(g.nx) * static_cast<std::size_t>(g.ny) + 64;
  }

  // A ring that leaves side s of cell (i, j) along the chord of level L.
  void fromChord(int i, int j, int s, int L) { trace(true, i, j, s, L); }
  // A ring that runs along side s of cell (i, j) from its first corner.
  void fromSide(int i, int j, int s) { trace(false, i, j, s, -1); }

 private:
  int bandClass(std::size_t v) const {
    const int c = g_.cls[v];
    return c < k_ ? 0 : (c == k_ ? 1 : 2);
  }

  void trace(bool chord, int i, int j, int s, int L) {
    const std::size_t ringStart = out_.x.size();
    const int i0 = i, j0 = j, s0 = s, L0 = L;
    const bool chord0 = chord;
    float px, py;
    if (chord) g_.sidePoint(i, j, s, L, px, py); else g_.cornerPoint(i, j, s, px, py);
    emit(out_, ringStart, px, py);
    bool first = true;
    for (std::size_t steps = 0; steps < limit_; ++steps) {
      if (!first && chord == chord0 && i == i0 && j == j0 && s == s0 && (chord ? L == L0 : !atCrossing_)) break;
      first = false;
      if (chord) {
        visited[g_.sideEdge(i, j, s)] |= (L == k_ - 1) ? kLowerDone : kUpperDone;
        const int exit = g_.exitSide(i, j, s, L);
        g_.sidePoint(i, j, exit, L, px, py);
        emit(out_, ringStart, px, py);
        int ni = i, nj = j;
        Grid::neighbour(ni, nj, exit);
        if (g_.cellValid(ni, nj)) {
          i = ni;
          j = nj;
          s = (exit + 2) & 3;
        } else {
          s = exit;
          chord = false;
          // Along this side from the crossing, not from its corner: never the start.
          atCrossing_ = true;
        }
        continue;
      }
      // Along an exterior side, counter-clockwise, with the band on the left.
      const std::size_t e = g_.sideEdge(i, j, s);
      if ((visited[e] & kSideDone) == 0) {
        visited[e] |= kSideDone;
        touched_.push_back(e);
      }
      const int end = bandClass(g_.corner(i, j, s + 1));
      if (end != 1) {
        L = end == 0 ? k_ - 1 : k_;
        g_.sidePoint(i, j, s, L, px, py);
        emit(out_, ringStart, px, py);
        chord = true;
        atCrossing_ = false;
        continue;
      }
      const int c = (s + 1) & 3;
      g_.cornerPoint(i, j, c, px, py);
      emit(out_, ringStart, px, py);
      // Around the corner through the valid cells until the next exterior side.
      int side = c;
      for (int turn = 0; turn < 4; ++turn) {
        int ni = i, nj = j;
        Grid::neighbour(ni, nj, side);
        if (!g_.cellValid(ni, nj)) break;
        i = ni;
        j = nj;
        side = (side + 3) & 3;
      }
      s = side;
      atCrossing_ = false;
    }
    finish(out_, ringStart, k_, true, true);
  }

  const Grid& g_;
  int k_;
  Paths& out_;
  std::vector<std::size_t>& touched_;
  std::size_t limit_;
  bool atCrossing_ = false;
};

void traceBand(const Grid& g, int k, int nlev, Paths& out, std::vector<std::size_t>& touched) {
  RingTracer tracer(g, k, out, touched);
  int i, j, s;
  if (k >= 1) {
    const int L = k - 1;
    for (std::size_t p = crossings.start[static_cast<std::size_t>(L)]; p < crossings.start[static_cast<std::size_t>(L) + 1]; ++p) {
      const std::size_t e = crossings.edges[p];
      if (visited[e] & kLowerDone) continue;
      g.cellOfEdge(e, L, true, i, j, s);
      if (g.cellValid(i, j)) tracer.fromChord(i, j, s, L);
    }
  }
  if (k < nlev) {
    const int L = k;
    for (std::size_t p = crossings.start[static_cast<std::size_t>(L)]; p < crossings.start[static_cast<std::size_t>(L) + 1]; ++p) {
      const std::size_t e = crossings.edges[p];
      if (visited[e] & kUpperDone) continue;
      g.cellOfEdge(e, L, false, i, j, s);
      if (g.cellValid(i, j)) tracer.fromChord(i, j, s, L);
    }
  }
  for (std::size_t p = exteriorStart[static_cast<std::size_t>(k)]; p < exteriorStart[static_cast<std::size_t>(k) + 1]; ++p) {
    const ExteriorSide& x = exteriorSides[p];
    if (visited[g.sideEdge(x.i, x.j, x.s)] & kSideDone) continue;
    tracer.fromSide(x.i, x.j, x.s);
  }
  for (int L : {k - 1, k}) {
    if (L < 0 || L >= nlev) continue;
    for (std::size_t p = crossings.start[static_cast<std::size_t>(L)]; p < crossings.start[static_cast<std::size_t>(L) + 1]; ++p)
      visited[crossings.edges[p]] = 0;
  }
  for (std::size_t e : touched) visited[e] = 0;
  touched.clear();
}

// The tracing works in grid-index space, where i grows to the right and j
// upwards. When exactly one coordinate vector decreases, U is that space
// mirrored: every path is reversed so that higher values stay on the left of
// lines and outer rings run counter-clockwise in U.
bool mirrored(const State& s) {
  const bool xDown = s.nx > 1 && s.xs.back() < s.xs.front();
  const bool yDown = s.ny > 1 && s.ys.back() < s.ys.front();
  return xDown != yDown;
}

void reverseEach(Paths& p) {
  for (std::size_t k = 0; k < p.count(); ++k) {
    const auto a = static_cast<std::ptrdiff_t>(p.start[k]), b = static_cast<std::ptrdiff_t>(p.start[k + 1]);
    std::reverse(p.x.begin() + a, p.x.begin() + b);
    std::reverse(p.y.begin() + a, p.y.begin() + b);
  }
}

// Twice the signed area of ring k (positive: counter-clockwise).
double doubleArea(const Paths& p, std::size_t k) {
  double a = 0;
  const std::size_t first = p.start[k], last = p.start[k + 1];
  for (std::size_t m = first; m + 1 < last; ++m)
    a += static_cast<double>(p.x[m]) * p.y[m + 1] - static_cast<double>(p.x[m + 1]) * p.y[m];
  return a;
}

// Whether (px, py) lies inside ring k (non-zero winding number).
bool inside(const Paths& p, std::size_t k, double px, double py) {
  int w = 0;
  const std::size_t first = p.start[k], last = p.start[k + 1];
  for (std::size_t m = first; m + 1 < last; ++m) {
    const double x0 = p.x[m], y0 = p.y[m], x1 = p.x[m + 1], y1 = p.y[m + 1];
    const double cross = (x1 - x0) * (py - y0) - (px - x0) * (y1 - y0);
    if (y0 <= py) {
      if (y1 > py && cross > 0) ++w;
    } else if (y1 <= py && cross < 0) {
      --w;
    }
  }
  return w != 0;
}

struct Box {
  float x0, x1, y0, y1;
  bool holds(const Box& o) const { return x0 <= o.x0 && o.x1 <= x1 && y0 <= o.y0 && o.y1 <= y1; }
};

Box boxOf(const Paths& p, std::size_t k) {
  const auto a = static_cast<std::ptrdiff_t>(p.start[k]), b = static_cast<std::ptrdiff_t>(p.start[k + 1]);
  const auto [xl, xh] = std::minmax_element(p.x.begin() + a, p.x.begin() + b);
  const auto [yl, yh] = std::minmax_element(p.y.begin() + a, p.y.begin() + b);
  return {*xl, *xh, *yl, *yh};
}

}  // namespace

// For every hole, the outer ring of its band that it lies in: the smallest one
// that holds a point of the hole (outer rings of one band nest only through
// holes, so the smallest is the hole's own). Worked out on first demand only:
// drawing does not need it.
void ensureRingParents() {
  State& s = state();
  ensureRings();
  if (s.parentsReady) return;
  const Paths& p = s.rings;
  s.ringParent.assign(p.count(), 0);
  for (std::size_t band = 0; band + 1 < s.bandStart.size(); ++band) {
    const std::size_t first = s.bandStart[band], last = s.bandStart[band + 1];
    struct Outer {
      double area;
      std::size_t ring;
      Box box;
    };
    std::vector<Outer> outers;
    std::vector<std::size_t> holes;
    for (std::size_t r = first; r < last; ++r) {
      const double a = doubleArea(p, r);
      if (a > 0) outers.push_back({a, r, boxOf(p, r)});
      else holes.push_back(r);
    }
    std::sort(outers.begin(), outers.end(), [](const Outer& a, const Outer& b) { return a.area < b.area; });
    for (std::size_t h : holes) {
      const Box hb = boxOf(p, h);
      // The middle of the hole's first side: off the vertices where rings may touch.
      const std::size_t m = p.start[h];
      const bool hasSide = p.start[h + 1] > m + 1;
      const double px = hasSide ? 0.5 * (static_cast<double>(p.x[m]) + p.x[m + 1]) : p.x[m];
      const double py = hasSide ? 0.5 * (static_cast<double>(p.y[m]) + p.y[m + 1]) : p.y[m];
      int fallback = 0;
      for (const Outer& o : outers) {
        if (!o.box.holds(hb)) continue;
        if (fallback == 0) fallback = static_cast<int>(o.ring) + 1;
        if (inside(p, o.ring, px, py)) {
          fallback = static_cast<int>(o.ring) + 1;
          break;
        }
      }
      s.ringParent[h] = fallback;
    }
  }
  s.parentsReady = true;
}

namespace {

// The whole circle in U when the transformation is a map projection and the x
// coordinates, evenly spaced, span it less one step (a global model grid on
// 0 .. 357.5); 0 otherwise. The tolerance is a hundredth of a step: single-
// precision longitudes near 360 are good to about 3e-5.
double periodInX(const std::vector<float>& xs) {
  int itr = 1;
  sgqtrn(itr);
  if (itr < 10 || itr > 34 || xs.size() < 2) return 0;
  bool degrees = true;
  sglget("LDEG", degrees);
  const double circle = degrees ? 360.0 : 2.0 * 3.14159265358979323846;
  const std::size_t n = xs.size();
  const double span = static_cast<double>(xs.back()) - xs.front();
  const double step = span / static_cast<double>(n - 1);
  const double tolerance = 0.01 * std::fabs(step);
  if (std::fabs(std::fabs(span + step) - circle) > tolerance) return 0;
  for (std::size_t k = 1; k < n; ++k)
    if (std::fabs(static_cast<double>(xs[k]) - xs[k - 1] - step) > tolerance) return 0;
  return circle;
}

}  // namespace

// Grid coordinates: the given vectors, or the U window spread over the grid,
// with the repeated column of a periodic grid. A change of window or of the
// wrapping since the last computation throws its lines and rings away.
void ensureCoordinates() {
  State& s = state();
  const int nx = s.nx, ny = s.ny;
  std::vector<float> xs = s.xgiven, ys = s.ygiven;
  if (xs.empty() || ys.empty()) {
    float uxmin = 0, uxmax = 1, uymin = 0, uymax = 1;
    sgrget("UXMIN", uxmin);
    sgrget("UXMAX", uxmax);
    sgrget("UYMIN", uymin);
    sgrget("UYMAX", uymax);
    if (xs.empty()) {
      xs.resize(static_cast<std::size_t>(nx));
      for (int i = 0; i < nx; ++i)
        xs[static_cast<std::size_t>(i)] = uxmin + (uxmax - uxmin) * static_cast<float>(i) / static_cast<float>(nx - 1);
    }
    if (ys.empty()) {
      ys.resize(static_cast<std::size_t>(ny));
      for (int j = 0; j < ny; ++j)
        ys[static_cast<std::size_t>(j)] = uymin + (uymax - uymin) * static_cast<float>(j) / static_cast<float>(ny - 1);
    }
  }
  const double period = periodInX(xs);
  const bool wrapped = period > 0;
  if (wrapped) {
    // One circle on from column 0, on the side the coordinates run to.
    const double x0 = xs.front();
    xs.push_back(static_cast<float>(xs.back() > xs.front() ? x0 + period : x0 - period));
  }
  if (wrapped != s.wrapped || s.cols != nx + (wrapped ? 1 : 0)) {
    s.wrapped = wrapped;
    s.cols = nx + (wrapped ? 1 : 0);
    s.classesReady = false;
  }
  if (xs != s.xs || ys != s.ys) {
    s.xs = std::move(xs);
    s.ys = std::move(ys);
    s.linesReady = false;
    s.ringsReady = false;
    s.parentsReady = false;
  }
}

void ensureClasses() {
  State& s = state();
  ensureLevels();
  ensureCoordinates();
  if (s.classesReady) return;
  const int nx = s.cols, ny = s.ny;
  if (s.wrapped) {
    const std::size_t given = static_cast<std::size_t>(s.nx);
    s.zwrapped.resize(static_cast<std::size_t>(nx) * static_cast<std::size_t>(ny));
    for (std::size_t j = 0; j < static_cast<std::size_t>(ny); ++j) {
      const float* row = s.z.data() + j * given;
      float* to = s.zwrapped.data() + j * static_cast<std::size_t>(nx);
      std::copy(row, row + given, to);
      to[given] = row[0];
    }
  } else {
    s.zwrapped.clear();
    s.zwrapped.shrink_to_fit();
  }
  levelValues.clear();
  for (const Level& l : s.levels) levelValues.push_back(l.value);
  const int nlev = static_cast<int>(levelValues.size());
  const float* lv = levelValues.data();
  const std::size_t n = static_cast<std::size_t>(nx) * static_cast<std::size_t>(ny);
  s.classes.resize(n);
  PointClass* cls = s.classes.data();
  const float* z = computedField(s);
  // Neighbouring points mostly share a class: try the last one before searching.
  int guess = 0;
  for (std::size_t v = 0; v < n; ++v) {
    const float value = z[v];
    if (value != value) {
      cls[v] = kMissingClass;
      continue;
    }
    if (!((guess == 0 || lv[guess - 1] <= value) && (guess == nlev || value < lv[guess])))
      guess = static_cast<int>(std::upper_bound(lv, lv + nlev, value) - lv);
    cls[v] = static_cast<PointClass>(guess);
  }

  // Crossing lists by counting: count per level, then fill.
  crossings.start.assign(static_cast<std::size_t>(nlev) + 2, 0);
  std::size_t* count = crossings.start.data() + 1;
  auto visitEdges = [&](auto&& onEdge) {
    for (int j = 0; j < ny; ++j) {
      const std::size_t row = static_cast<std::size_t>(j) * static_cast<std::size_t>(nx);
      for (int i = 0; i < nx; ++i) {
        const std::size_t v = row + static_cast<std::size_t>(i);
        const PointClass a = cls[v];
        if (a == kMissingClass) continue;
        if (i + 1 < nx) {
          const PointClass b = cls[v + 1];
          if (b != a && b != kMissingClass) onEdge(edgeAlongX(v), std::min(a, b), std::max(a, b));
        }
        if (j + 1 < ny) {
          const PointClass b = cls[v + static_cast<std::size_t>(nx)];
          if (b != a && b != kMissingClass) onEdge(edgeAlongY(v), std::min(a, b), std::max(a, b));
        }
      }
    }
  };
  visitEdges([&](std::size_t, int lo, int hi) {
    for (int L = lo; L < hi; ++L) ++count[L];
  });
  for (int L = 0; L < nlev; ++L) count[L] += crossings.start[static_cast<std::size_t>(L)];
  crossings.edges.resize(crossings.start[static_cast<std::size_t>(nlev)]);
  std::vector<std::size_t> fill(crossings.start.begin(), crossings.start.begin() + nlev + 1);
  visitEdges([&](std::size_t e, int lo, int hi) {
    for (int L = lo; L < hi; ++L) crossings.edges[fill[static_cast<std::size_t>(L)]++] = e;
  });
  crossings.start.resize(static_cast<std::size_t>(nlev) + 1);
  visited.assign(2 * n, 0);
  s.classesReady = true;
  s.linesReady = false;
  s.ringsReady = false;
  s.parentsReady = false;
}

void ensureLines() {
  State& s = state();
  ensureClasses();
  ensureCoordinates();
  if (s.linesReady) return;
  Paths& out = s.lines;
  out.clear();
  const std::size_t total = crossings.edges.size();
  out.x.reserve(total + total / 8 + 16);
  out.y.reserve(total + total / 8 + 16);
  const Grid g(s);
  const int nlev = static_cast<int>(levelValues.size());
  for (int L = 0; L < nlev; ++L) traceLevel(g, L, out);
  if (mirrored(s)) reverseEach(out);
  s.linesReady = true;
}

void ensureRings() {
  State& s = state();
  ensureClasses();
  ensureCoordinates();
  if (s.ringsReady) return;
  Paths& out = s.rings;
  out.clear();
  const std::size_t total = crossings.edges.size();
  out.x.reserve(2 * total + 2 * static_cast<std::size_t>(s.cols + s.ny) + 16);
  out.y.reserve(2 * total + 2 * static_cast<std::size_t>(s.cols + s.ny) + 16);
  const Grid g(s);
  const int nlev = static_cast<int>(levelValues.size());
  bool anyMissing = false;
  for (PointClass c : s.classes)
    if (c == kMissingClass) {
      anyMissing = true;
      break;
    }
  collectExteriorSides(g, anyMissing, static_cast<std::size_t>(nlev) + 1);
  std::vector<std::size_t> touched;
  s.bandStart.assign(1, 0);
  for (int k = 0; k <= nlev; ++k) {
    traceBand(g, k, nlev, out, touched);
    s.bandStart.push_back(out.count());
  }
  if (mirrored(s)) reverseEach(out);
  s.ringsReady = true;
  s.parentsReady = false;
}

}  // namespace contour

using contour::state;

namespace {

bool fieldForComputation(const char* routine) { return contour::requireField(routine); }

const contour::Paths* pathsFor(bool lines, const char* routine) {
  if (!fieldForComputation(routine)) return nullptr;
  if (lines) contour::ensureLines(); else contour::ensureRings();
  return lines ? &state().lines : &state().rings;
}

bool pathIndex(const contour::Paths& p, int i, const char* routine, const char* what) {
  if (i >= 1 && static_cast<std::size_t>(i) <= p.count()) return true;
  msgdmp("E", routine, what);
  return false;
}

// The span forms check the caller's arrays before anything is written.
bool roomFor(const contour::Paths& p, int i, std::size_t nx, std::size_t ny, const char* routine, const char* what) {
  const std::size_t np = p.start[static_cast<std::size_t>(i)] - p.start[static_cast<std::size_t>(i - 1)];
  if (nx >= np && ny >= np) return true;
  msgdmp("E", routine,
         "X AND Y HOLD " + std::to_string(std::min(nx, ny)) + " POINTS; " + what + " " + std::to_string(i) + " HAS " +
             std::to_string(np) + ".");
  return false;
}

void copyPath(const contour::Paths& p, int i, float* x, float* y) {
  const std::size_t a = p.start[static_cast<std::size_t>(i - 1)], b = p.start[static_cast<std::size_t>(i)];
  std::copy(p.x.begin() + static_cast<std::ptrdiff_t>(a), p.x.begin() + static_cast<std::ptrdiff_t>(b), x);
  std::copy(p.y.begin() + static_cast<std::ptrdiff_t>(a), p.y.begin() + static_cast<std::ptrdiff_t>(b), y);
}

}  // namespace

void cnmkln() {
  if (fieldForComputation("CNMKLN")) contour::ensureLines();
}

void cnqlnn(int& n) {
  if (const contour::Paths* p = pathsFor(true, "CNQLNN")) n = static_cast<int>(p->count());
}

void cnqlni(int i, int& level, int& np, bool& closed) {
  const contour::Paths* p = pathsFor(true, "CNQLNI");
  if (p == nullptr || !pathIndex(*p, i, "CNQLNI", "LINE NUMBER IS OUT OF RANGE.")) return;
  const std::size_t k = static_cast<std::size_t>(i - 1);
  level = p->tag[k] + 1;
  np = static_cast<int>(p->start[k + 1] - p->start[k]);
  closed = p->closed[k] != 0;
}

void cnqlnx(int i, float* x, float* y) {
  const contour::Paths* p = pathsFor(true, "CNQLNX");
  if (p == nullptr || !pathIndex(*p, i, "CNQLNX", "LINE NUMBER IS OUT OF RANGE.")) return;
  copyPath(*p, i, x, y);
}

void cnqlnx(int i, std::span<float> x, std::span<float> y) {
  const contour::Paths* p = pathsFor(true, "CNQLNX");
  if (p == nullptr || !pathIndex(*p, i, "CNQLNX", "LINE NUMBER IS OUT OF RANGE.")) return;
  if (!roomFor(*p, i, x.size(), y.size(), "CNQLNX", "LINE")) return;
  copyPath(*p, i, x.data(), y.data());
}

void cnmkbd() {
  if (fieldForComputation("CNMKBD")) contour::ensureRings();
}

void cnqbdn(int& n) {
  if (const contour::Paths* p = pathsFor(false, "CNQBDN")) n = static_cast<int>(p->count());
}

void cnqbdi(int i, int& band, int& np) {
  const contour::Paths* p = pathsFor(false, "CNQBDI");
  if (p == nullptr || !pathIndex(*p, i, "CNQBDI", "RING NUMBER IS OUT OF RANGE.")) return;
  const std::size_t k = static_cast<std::size_t>(i - 1);
  band = p->tag[k];
  np = static_cast<int>(p->start[k + 1] - p->start[k]);
}

void cnqbdx(int i, float* x, float* y) {
  const contour::Paths* p = pathsFor(false, "CNQBDX");
  if (p == nullptr || !pathIndex(*p, i, "CNQBDX", "RING NUMBER IS OUT OF RANGE.")) return;
  copyPath(*p, i, x, y);
}

void cnqbdx(int i, std::span<float> x, std::span<float> y) {
  const contour::Paths* p = pathsFor(false, "CNQBDX");
  if (p == nullptr || !pathIndex(*p, i, "CNQBDX", "RING NUMBER IS OUT OF RANGE.")) return;
  if (!roomFor(*p, i, x.size(), y.size(), "CNQBDX", "RING")) return;
  copyPath(*p, i, x.data(), y.data());
}

void cnqbdh(int i, int& outer) {
  const contour::Paths* p = pathsFor(false, "CNQBDH");
  if (p == nullptr || !pathIndex(*p, i, "CNQBDH", "RING NUMBER IS OUT OF RANGE.")) return;
  contour::ensureRingParents();
  outer = state().ringParent[static_cast<std::size_t>(i - 1)];
}

}  // namespace zep
