// Transformation 51: user coordinates run along the two index directions of a
// structured curvilinear grid, described by two monotonic axis vectors, and are
// mapped to the physical plane by bilinear interpolation of the corners of the
// cell they fall in. The inverse finds the cell holding a physical point and
// solves the bilinear equations of that cell.
#include "graphics/grid/curvilinear_grid.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

#include <zep/foundation.hpp>
#include <zep/graphics.hpp>

namespace zep {
namespace {

constexpr int kMaxNodes = 4000;  // per axis

struct Grid {
  bool initialized = false;
  int nx = 0;
  int ny = 0;
  // Axes in increasing order, whatever order the caller gave them in.
  std::vector<float> uxs;
  std::vector<float> uys;
  bool xIncreasing = true;
  bool yIncreasing = true;
  // Node positions, ny rows of nx values: row j, column i is the node at
  // (uxs(i), uys(j)).
  std::vector<float> cxs;
  std::vector<float> cys;
  float cxmin = 0.0F;
  float cxmax = 0.0F;
  float cymin = 0.0F;
  float cymax = 0.0F;
  float rundef = -999.0F;
};
Grid grid;

float glReal(std::string_view name) {
  float v = 0.0F;
  glrget(name, v);
  return v;
}

std::size_t node(const Grid& g, int i, int j) {
  return static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(g.nx) + static_cast<std::size_t>(i - 1);
}

// Checks that an axis is strictly monotonic and returns it in increasing order.
bool storeAxis(const float* u, int n, std::vector<float>& out, bool& increasing, std::string_view increasingText,
               std::string_view decreasingText) {
  increasing = u[1] > u[0];
  for (int k = 1; k < n; ++k) {
    const bool ok = increasing ? u[k] > u[k - 1] : u[k] < u[k - 1];
    if (!ok) {
      msgdmp("E", "G2SCTR", increasing ? increasingText : decreasingText);
      return false;
    }
  }
  out.assign(u, u + n);
  if (!increasing) std::reverse(out.begin(), out.end());
  return true;
}

// Fills the node arrays of `g` (whose axes are set) from the caller's
// column-major arrays, reoriented to the increasing axes, and derives the
// physical ranges.
void storeNodes(Grid& g, const float* cx, const float* cy) {
  const std::size_t count = static_cast<std::size_t>(g.nx) * static_cast<std::size_t>(g.ny);
  const bool xFromAxis = cx == nullptr || cx[0] == g.rundef;
  const bool yFromAxis = cy == nullptr || cy[0] == g.rundef;
  // Fresh arrays at every set-up; the old ones are released by the assignment.
  std::vector<float> xs(count);
  std::vector<float> ys(count);
  for (int j = 1; j <= g.ny; ++j) {
    const int jj = g.yIncreasing ? j : g.ny + 1 - j;
    for (int i = 1; i <= g.nx; ++i) {
      const int ii = g.xIncreasing ? i : g.nx + 1 - i;
      const std::size_t from = node(g, i, j);
      const std::size_t to = node(g, ii, jj);
      xs[to] = xFromAxis ? g.uxs[static_cast<std::size_t>(ii - 1)] : cx[from];
      ys[to] = yFromAxis ? g.uys[static_cast<std::size_t>(jj - 1)] : cy[from];
    }
  }
  g.cxs = std::move(xs);
  g.cys = std::move(ys);
  const int n = static_cast<int>(count);
  if (xFromAxis) {
    g.cxmin = g.uxs.front();
    g.cxmax = g.uxs.back();
  } else {
    g.cxmin = rmin(cx, n, 1);
    g.cxmax = rmax(cx, n, 1);
  }
  if (yFromAxis) {
    g.cymin = g.uys.front();
    g.cymax = g.uys.back();
  } else {
    g.cymin = rmin(cy, n, 1);
    g.cymax = rmax(cy, n, 1);
  }
}

// Cell index along one increasing axis, and the raw block index (0 below the
// axis, n above it) that tells whether the value lies outside.
int cellOf(const std::vector<float>& axis, float u, int& raw) {
  const int n = static_cast<int>(axis.size());
  raw = iblkge(axis.data(), n, u);
  // The upper end of the axis belongs to the last cell.
  if (raw == n && u == axis.back()) raw = n - 1;
  return std::clamp(raw, 1, n - 1);
}

void corners(const Grid& g, int i, int j, float (&x)[4], float (&y)[4]) {
  const std::size_t k11 = node(g, i, j);
  const std::size_t k21 = node(g, i + 1, j);
  const std::size_t k12 = node(g, i, j + 1);
  const std::size_t k22 = node(g, i + 1, j + 1);
  x[0] = g.cxs[k11];
  x[1] = g.cxs[k21];
  x[2] = g.cxs[k12];
  x[3] = g.cxs[k22];
  y[0] = g.cys[k11];
  y[1] = g.cys[k21];
  y[2] = g.cys[k12];
  y[3] = g.cys[k22];
}

bool isZero(double v) { return lreq1(static_cast<float>(v), 0.0F); }

// Cell and triangle fractions are compared on the unit scale of the cell: a
// relative tolerance about 0 would be no tolerance at all, and a point on an
// edge, rounded to either side of it, would then belong to no cell.
bool atLeastZero(double v) { return lrge1(static_cast<float>(v + 1.0), 1.0F); }
bool atMostOne(double v) { return lrle1(static_cast<float>(v), 1.0F); }

bool inUnitRange(double v) { return atLeastZero(v) && atMostOne(v); }

// Point in the triangle o + s A + t B (s, t >= 0, s + t <= 1), tolerantly.
bool inTriangle(double x, double y, double ox, double oy, double ax, double ay, double bx, double by) {
  const double det = ax * by - bx * ay;
  if (isZero(det)) return false;
  const double s = ((x - ox) * by - (y - oy) * bx) / det;
  const double t = ((y - oy) * ax - (x - ox) * ay) / det;
  return atLeastZero(s) && atLeastZero(t) && atMostOne(s + t);
}

void noSolution(double& p, double& q) {
  msgdmp("W", "G2IBLI", "SOLUTION NON EXSISTENT");
  p = 0.0;
  q = 0.0;
}

// p = num/den, or no solution when den is 0.
bool divideOrFail(double num, double den, double& out, double& p, double& q) {
  if (den == 0.0) {
    noSolution(p, q);
    return false;
  }
  out = num / den;
  return true;
}

// The root in [0, 1] of alpha p^2 - r p + gamma = 0, whose discriminant is
// disc = r^2 - 4 alpha gamma; the nearer one to 0 when neither lies there.
// The roots are formed without cancellation, so that nearly linear cells
// (alpha small against r) still give accurate results.
double chooseRoot(double alpha, double r, double gamma, double disc) {
  double p1 = 0.0;
  double p2 = 0.0;
  if (lrle1(static_cast<float>(disc), 0.0F)) {
    p1 = p2 = r / (2.0 * alpha);
  } else {
    const double s = std::sqrt(disc);
    if (r >= 0.0) {
      p1 = (r + s) / (2.0 * alpha);
      p2 = 2.0 * gamma / (r + s);
    } else {
      p2 = (r - s) / (2.0 * alpha);
      p1 = 2.0 * gamma / (r - s);
    }
  }
  if (inUnitRange(p1)) return p1;
  if (inUnitRange(p2)) return p2;
  msgdmp("W", "G2IBLI", "NO SOLUTION IN THE DOMAIN");
  return std::fabs(p1) < std::fabs(p2) ? p1 : p2;
}

// Solves a pq + b p + m q + d = 0 and e pq + f p + g q + h = 0 for (p, q).
void solveBilinear(double a, double b, double m, double d, double e, double f, double g, double h, double& p,
                   double& q) {
  const bool aZero = isZero(a);
  const bool eZero = isZero(e);
  if (aZero && eZero) {
    const double det = g * b - f * m;
    if (isZero(det)) {
      noSolution(p, q);
      return;
    }
    p = (h * m - g * d) / det;
    q = (d * f - h * b) / det;
    return;
  }
  if (aZero) {
    f /= e;
    g /= e;
    h /= e;
    if (isZero(b) && isZero(m)) {
      noSolution(p, q);
    } else if (isZero(b)) {
      q = -d / m;
      divideOrFail(-(q * g + h), q + f, p, p, q);
    } else if (isZero(m)) {
      p = -d / b;
      divideOrFail(-(p * f + h), p + g, q, p, q);
    } else {
      const double r = m * f - b * g - d;
      p = chooseRoot(b, r, g * d - m * h, r * r + 4.0 * b * (m * h - d * g));
      q = -(p * b + d) / m;
    }
    return;
  }
  if (eZero) {
    b /= a;
    m /= a;
    d /= a;
    if (isZero(f) && isZero(g)) {
      noSolution(p, q);
    } else if (isZero(f)) {
      q = -h / g;
      divideOrFail(-(q * m + d), q + b, p, p, q);
    } else if (isZero(g)) {
      p = -h / f;
      divideOrFail(-(p * b + d), p + m, q, p, q);
    } else {
      const double r = g * b - f * m - h;
      p = chooseRoot(f, r, h * m - g * d, r * r + 4.0 * f * (g * d - h * m));
      q = -(p * f + h) / g;
    }
    return;
  }
  b /= a;
  m /= a;
  d /= a;
  f /= e;
  g /= e;
  h /= e;
  const double u = b - f;
  const double v = m - g;
  if (isZero(u) && isZero(v)) {
    noSolution(p, q);
  } else if (isZero(u)) {
    q = (h - d) / v;
    divideOrFail(-(q * m + d), q + b, p, p, q);
  } else if (isZero(v)) {
    p = -(d - h) / u;
    divideOrFail(-(p * b + d), p + m, q, p, q);
  } else {
    const double r = m * f - b * g - d + h;
    p = chooseRoot(u, r, g * d - m * h, r * r + 4.0 * u * (h * m - d * g));
    q = -((d - h) + u * p) / v;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Set-up and queries
// ---------------------------------------------------------------------------

void g2sctr(int nx, int ny, const float* ux, const float* uy, const float* cx, const float* cy) {
  bool bad = false;
  if (nx > kMaxNodes) {
    msgdmp("E", "G2SCTR", "WORKING AREA NOT ENOUGH");
    bad = true;
  }
  if (ny > kMaxNodes) {
    msgdmp("E", "G2SCTR", "WORKING AREA NOT ENOUGH");
    bad = true;
  }
  if (nx <= 1) {
    msgdmp("E", "G2SCTR", "NX MUST BE >= 2");
    bad = true;
  }
  if (ny <= 1) {
    msgdmp("E", "G2SCTR", "NY MUST BE >= 2");
    bad = true;
  }
  if (bad) return;

  // Built aside and installed whole: a refused set-up leaves the previous grid.
  Grid g;
  g.nx = nx;
  g.ny = ny;
  g.rundef = glReal("RUNDEF");
  if (!storeAxis(ux, nx, g.uxs, g.xIncreasing, "UX IS NOT STRICTLY MONOTONIC", "UX IS NOT STRICTLY MONOTONIC"))
    return;
  if (!storeAxis(uy, ny, g.uys, g.yIncreasing, "UY IS NOT STRICTLY MONOTONIC*", "UY IS NOT STRICTLY MONOTONIC"))
    return;
  storeNodes(g, cx, cy);
  g.initialized = true;
  grid = std::move(g);
}

void g2sgrd(int nx, int ny, const float* cx, const float* cy) {
  if (!grid.initialized || nx != grid.nx || ny != grid.ny) {
    msgdmp("E", "G2SGRD", "NX OR NY DOES NOT MATCH THE GRID AXES.");
    return;
  }
  storeNodes(grid, cx, cy);
}

void g2qcti(bool& linit) { linit = grid.initialized; }

void g2qctm(float& cxmin, float& cxmax, float& cymin, float& cymax) {
  cxmin = grid.cxmin;
  cxmax = grid.cxmax;
  cymin = grid.cymin;
  cymax = grid.cymax;
}

void g2qgrd(int i, int j, float& x11, float& x21, float& x12, float& x22, float& y11, float& y21, float& y12,
            float& y22) {
  if (!grid.initialized) {
    msgdmp("E", "G2QGRD", "NOT YET INITIALZED");
    x11 = x21 = x12 = x22 = y11 = y21 = y12 = y22 = grid.rundef;
    return;
  }
  if (i < 1 || i >= grid.nx || j < 1 || j >= grid.ny) {
    msgdmp("E", "G2QGRD", "CELL INDEX IS OUT OF RANGE.");
    x11 = x21 = x12 = x22 = y11 = y21 = y12 = y22 = grid.rundef;
    return;
  }
  float x[4];
  float y[4];
  corners(grid, i, j, x, y);
  x11 = x[0];
  x21 = x[1];
  x12 = x[2];
  x22 = x[3];
  y11 = y[0];
  y21 = y[1];
  y12 = y[2];
  y22 = y[3];
}

// ---------------------------------------------------------------------------
// Cell geometry
// ---------------------------------------------------------------------------

void g2fbli(float p, float q, float w11, float w21, float w12, float w22, float& w) {
  w = (1.0F - p) * (1.0F - q) * w11 + p * (1.0F - q) * w21 + (1.0F - p) * q * w12 + p * q * w22;
}

void g2fbl2(float p, float q, float x11, float x21, float x12, float x22, float y11, float y21, float y12, float y22,
            float& x, float& y) {
  g2fbli(p, q, x11, x21, x12, x22, x);
  g2fbli(p, q, y11, y21, y12, y22, y);
}

bool lg2inq(float x, float y, float x11, float x21, float x12, float x22, float y11, float y21, float y12,
            float y22) {
  // Two triangles sharing the diagonal from corner 21 to corner 12.
  if (inTriangle(x, y, x11, y11, double(x21) - x11, double(y21) - y11, double(x12) - x11, double(y12) - y11))
    return true;
  return inTriangle(x, y, x22, y22, double(x21) - x22, double(y21) - y22, double(x12) - x22, double(y12) - y22);
}

void g2ibl2(float x, float y, float x11, float x21, float x12, float x22, float y11, float y21, float y12, float y22,
            float& p, float& q) {
  // x = x11 + b p + m q + a p q, and likewise y with f, g, e.
  const double a = double(x11) - x21 - x12 + x22;
  const double b = double(x21) - x11;
  const double m = double(x12) - x11;
  const double d = double(x11) - x;
  const double e = double(y11) - y21 - y12 + y22;
  const double f = double(y21) - y11;
  const double g = double(y12) - y11;
  const double h = double(y11) - y;
  double pp = 0.0;
  double qq = 0.0;
  solveBilinear(a, b, m, d, e, f, g, h, pp, qq);
  p = static_cast<float>(pp);
  q = static_cast<float>(qq);
}

// ---------------------------------------------------------------------------
// Forward and inverse mappings
// ---------------------------------------------------------------------------

void g2fctr(float ux, float uy, float& cx, float& cy) {
  if (!grid.initialized) {
    msgdmp("E", "G2FCTR", "NOT YET INITIALZED");
    cx = cy = glReal("RUNDEF");
    return;
  }
  int kx = 0;
  int ky = 0;
  const int i = cellOf(grid.uxs, ux, kx);
  const int j = cellOf(grid.uys, uy, ky);
  const auto iu = static_cast<std::size_t>(i - 1);
  const auto ju = static_cast<std::size_t>(j - 1);
  const float p = (ux - grid.uxs[iu]) / (grid.uxs[iu + 1] - grid.uxs[iu]);
  const float q = (uy - grid.uys[ju]) / (grid.uys[ju + 1] - grid.uys[ju]);
  float x[4];
  float y[4];
  corners(grid, i, j, x, y);
  g2fbl2(p, q, x[0], x[1], x[2], x[3], y[0], y[1], y[2], y[3], cx, cy);
  if (kx == 0 || kx == grid.nx || ky == 0 || ky == grid.ny)
    msgdmp("W", "G2FCTR", "UX OR UY: OUT OF THE RANGE");
}

void g2ictr(float cx, float cy, float& ux, float& uy) {
  if (!grid.initialized) {
    msgdmp("E", "G2ICTR", "NOT YET INITIALZED");
    ux = uy = glReal("RUNDEF");
    return;
  }
  for (int j = 1; j < grid.ny; ++j) {
    for (int i = 1; i < grid.nx; ++i) {
      float x[4];
      float y[4];
      corners(grid, i, j, x, y);
      if (!lg2inq(cx, cy, x[0], x[1], x[2], x[3], y[0], y[1], y[2], y[3])) continue;
      float p = 0.0F;
      float q = 0.0F;
      g2ibl2(cx, cy, x[0], x[1], x[2], x[3], y[0], y[1], y[2], y[3], p, q);
      const auto iu = static_cast<std::size_t>(i - 1);
      const auto ju = static_cast<std::size_t>(j - 1);
      ux = grid.uxs[iu] + (grid.uxs[iu + 1] - grid.uxs[iu]) * p;
      uy = grid.uys[ju] + (grid.uys[ju + 1] - grid.uys[ju]) * q;
      return;
    }
  }
  msgdmp("E", "G2ICTR", "OUT OF THE WHOLE DOMAIN");
  ux = uy = grid.rundef;
}

// ---------------------------------------------------------------------------
// Finalization of transformation 51
// ---------------------------------------------------------------------------

namespace transform {

bool prepareGrid(Setup& setup) {
  bool initialized = false;
  g2qcti(initialized);
  if (!initialized) {
    msgdmp("E", setup.routine, "(ITR:51) NOT YET INITIALIZED. CALL G2SCTR.");
    return false;
  }
  if ((setup.cxmin == setup.rundef && setup.cxmax == setup.rundef) ||
      (setup.cymin == setup.rundef && setup.cymax == setup.rundef))
    g2qctm(setup.cxmin, setup.cxmax, setup.cymin, setup.cymax);
  return true;
}

bool gridAxes(std::vector<float>& ux, std::vector<float>& uy) {
  if (!grid.initialized) return false;
  ux = grid.uxs;
  uy = grid.uys;
  return true;
}

}  // namespace transform
}  // namespace zep
