// Curvilinear grid (ITR 51): forward and inverse mappings against mappings
// computed here, decreasing axes, edges and extrapolation, rectilinear axes,
// bad grids and their reports, and sgstrf with transformation 51.
#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "graphics/report_recorder.hpp"
#include "support/test_support.hpp"

namespace {

using zeptest::lineRegex;
using zeptest::Report;
using zeptest::ReportRecorder;

constexpr float kRundef = -999.0F;
constexpr double kPi = 3.14159265358979323846;

// A mapping that is bilinear in (u, v) over the whole plane: cell-wise bilinear
// interpolation reproduces it exactly on any axes, also in extrapolation.
struct Bilinear {
  double x0, xu, xv, xuv, y0, yu, yv, yuv;
  double x(double u, double v) const { return x0 + xu * u + xv * v + xuv * u * v; }
  double y(double u, double v) const { return y0 + yu * u + yv * v + yuv * u * v; }
};

// Unevenly spaced axes so that the cell search matters.
const std::vector<float> kUx = {-1.0F, -0.4F, 0.1F, 0.3F, 1.2F, 2.0F};
const std::vector<float> kUy = {0.0F, 0.25F, 0.8F, 1.0F, 1.7F};

// Node arrays of a mapping, first index along ux.
template <typename Map>
void nodes(const std::vector<float>& ux, const std::vector<float>& uy, const Map& f, std::vector<float>& cx,
           std::vector<float>& cy) {
  cx.clear();
  cy.clear();
  for (float v : uy)
    for (float u : ux) {
      cx.push_back(static_cast<float>(f.x(u, v)));
      cy.push_back(static_cast<float>(f.y(u, v)));
    }
}

template <typename Map>
void defineGrid(const std::vector<float>& ux, const std::vector<float>& uy, const Map& f) {
  std::vector<float> cx;
  std::vector<float> cy;
  nodes(ux, uy, f, cx, cy);
  zep::g2sctr(static_cast<int>(ux.size()), static_cast<int>(uy.size()), ux.data(), uy.data(), cx.data(), cy.data());
}

struct Point {
  float x, y;
};

Point fwd(float u, float v) {
  Point p{0, 0};
  zep::g2fctr(u, v, p.x, p.y);
  return p;
}

Point inv(float x, float y) {
  Point p{0, 0};
  zep::g2ictr(x, y, p.x, p.y);
  return p;
}

// Cells of every shape: general (both cross terms), only one cross term, and
// parallelograms (no cross term, the linear case of the inverse).
const Bilinear kMaps[] = {
    {0.5, 1.0, 0.3, 0.25, -1.0, 0.2, 1.5, -0.3},
    {0.5, 1.0, 0.3, 0.25, -1.0, 0.2, 1.5, 0.0},
    {0.5, 1.0, 0.3, 0.0, -1.0, 0.2, 1.5, -0.3},
    {0.5, 1.0, 0.3, 0.0, -1.0, 0.2, 1.5, 0.0},
};

TEST(CurvilinearGrid, ForwardAndInverseReproduceABilinearMapping) {
  ReportRecorder rec;
  for (const Bilinear& f : kMaps) {
    SCOPED_TRACE(f.xuv);
    SCOPED_TRACE(f.yuv);
    defineGrid(kUx, kUy, f);
    // Points between the nodes, on nodes and on cell edges.
    for (double u = -1.0; u <= 2.0; u += 0.137) {
      for (double v = 0.0; v <= 1.7; v += 0.113) {
        const Point p = fwd(static_cast<float>(u), static_cast<float>(v));
        EXPECT_NEAR(p.x, f.x(u, v), 2e-5) << u << ", " << v;
        EXPECT_NEAR(p.y, f.y(u, v), 2e-5) << u << ", " << v;
        const Point back = inv(static_cast<float>(f.x(u, v)), static_cast<float>(f.y(u, v)));
        EXPECT_NEAR(back.x, u, 5e-5) << u << ", " << v;
        EXPECT_NEAR(back.y, v, 5e-5) << u << ", " << v;
      }
    }
    float a = 0, b = 0, c = 0, d = 0;
    zep::g2qctm(a, b, c, d);
    // The physical ranges are those of the nodes.
    std::vector<float> cx;
    std::vector<float> cy;
    nodes(kUx, kUy, f, cx, cy);
    EXPECT_EQ(a, *std::min_element(cx.begin(), cx.end()));
    EXPECT_EQ(b, *std::max_element(cx.begin(), cx.end()));
    EXPECT_EQ(c, *std::min_element(cy.begin(), cy.end()));
    EXPECT_EQ(d, *std::max_element(cy.begin(), cy.end()));
  }
  EXPECT_TRUE(rec.reports().empty()) << rec.reports().front();
}

// A polar grid: the grid approximates r (cos t, sin t) to second order in the
// node spacing, and the inverse undoes the forward mapping exactly.
TEST(CurvilinearGrid, PolarGridApproximatesTheAnalyticMapping) {
  ReportRecorder rec;
  std::vector<float> radius;
  std::vector<float> angle;
  for (int i = 0; i <= 20; ++i) radius.push_back(1.0F + 0.05F * static_cast<float>(i));
  for (int j = 0; j <= 30; ++j) angle.push_back(static_cast<float>(kPi / 60.0 * j));  // 0 to 90 degrees
  struct Polar {
    double x(double r, double t) const { return r * std::cos(t); }
    double y(double r, double t) const { return r * std::sin(t); }
  };
  defineGrid(radius, angle, Polar{});
  // Bilinear error bound: (h_r h_t r / 8) for the curvature of the arcs.
  const double bound = 2.0 * (kPi / 60.0) * (kPi / 60.0) / 8.0 + 1e-5;
  for (double r = 1.01; r < 2.0; r += 0.07) {
    for (double t = 0.01; t < kPi / 2; t += 0.09) {
      const Point p = fwd(static_cast<float>(r), static_cast<float>(t));
      EXPECT_NEAR(std::hypot(p.x - r * std::cos(t), p.y - r * std::sin(t)), 0.0, bound) << r << ", " << t;
      const Point back = inv(p.x, p.y);
      EXPECT_NEAR(back.x, r, 5e-5);
      EXPECT_NEAR(back.y, t, 5e-5);
    }
  }
  float a = 0, b = 0, c = 0, d = 0;
  zep::g2qctm(a, b, c, d);
  EXPECT_NEAR(a, 0.0F, 1e-6);  // x of the nodes on the y axis
  EXPECT_EQ(b, 2.0F);
  EXPECT_EQ(c, 0.0F);
  EXPECT_EQ(d, 2.0F);
  EXPECT_TRUE(rec.reports().empty());
}

TEST(CurvilinearGrid, DecreasingAxesMatchTheReversedGrid) {
  const Bilinear& f = kMaps[0];
  std::vector<float> ux(kUx.rbegin(), kUx.rend());
  std::vector<float> uy(kUy.rbegin(), kUy.rend());
  // Nodes given in the caller's (decreasing) order.
  defineGrid(ux, uy, f);
  std::vector<Point> decreasing;
  for (double u = -0.9; u < 2.0; u += 0.31)
    for (double v = 0.05; v < 1.7; v += 0.29) decreasing.push_back(fwd(static_cast<float>(u), static_cast<float>(v)));
  const Point back = inv(static_cast<float>(f.x(0.7, 1.1)), static_cast<float>(f.y(0.7, 1.1)));
  defineGrid(kUx, kUy, f);
  std::size_t k = 0;
  for (double u = -0.9; u < 2.0; u += 0.31)
    for (double v = 0.05; v < 1.7; v += 0.29, ++k) {
      const Point p = fwd(static_cast<float>(u), static_cast<float>(v));
      EXPECT_FLOAT_EQ(decreasing[k].x, p.x);
      EXPECT_FLOAT_EQ(decreasing[k].y, p.y);
    }
  EXPECT_NEAR(back.x, 0.7, 5e-5);
  EXPECT_NEAR(back.y, 1.1, 5e-5);

  // Only one axis decreasing: the corners of the cells still belong together.
  ux.assign(kUx.begin(), kUx.end());
  defineGrid(ux, uy, f);
  const Point p = fwd(0.2F, 0.9F);
  EXPECT_NEAR(p.x, f.x(0.2, 0.9), 2e-5);
  EXPECT_NEAR(p.y, f.y(0.2, 0.9), 2e-5);
  float x11 = 0, x21 = 0, x12 = 0, x22 = 0, y11 = 0, y21 = 0, y12 = 0, y22 = 0;
  zep::g2qgrd(1, 1, x11, x21, x12, x22, y11, y21, y12, y22);
  EXPECT_FLOAT_EQ(x11, static_cast<float>(f.x(kUx[0], kUy[0])));
  EXPECT_FLOAT_EQ(x21, static_cast<float>(f.x(kUx[1], kUy[0])));
  EXPECT_FLOAT_EQ(y12, static_cast<float>(f.y(kUx[0], kUy[1])));
  EXPECT_FLOAT_EQ(y22, static_cast<float>(f.y(kUx[1], kUy[1])));
}

TEST(CurvilinearGrid, UpperEdgeBelongsToTheLastCellAndOutsidePointsExtrapolate) {
  ReportRecorder rec;
  const Bilinear& f = kMaps[0];
  defineGrid(kUx, kUy, f);
  Point p = fwd(2.0F, 1.7F);
  EXPECT_NEAR(p.x, f.x(2.0, 1.7), 2e-5);
  EXPECT_NEAR(p.y, f.y(2.0, 1.7), 2e-5);
  p = fwd(-1.0F, 0.0F);
  EXPECT_NEAR(p.x, f.x(-1.0, 0.0), 2e-5);
  EXPECT_TRUE(rec.reports().empty());

  // Beyond every side: the edge cell's mapping continued, with a warning each.
  const double outside[][2] = {{2.5, 1.0}, {-1.5, 1.0}, {0.5, 2.0}, {0.5, -0.4}};
  for (const auto& o : outside) {
    p = fwd(static_cast<float>(o[0]), static_cast<float>(o[1]));
    EXPECT_NEAR(p.x, f.x(o[0], o[1]), 5e-5);
    EXPECT_NEAR(p.y, f.y(o[0], o[1]), 5e-5);
  }
  const Report warning{"W", "G2FCTR", "UX OR UY: OUT OF THE RANGE"};
  EXPECT_EQ(rec.reports(), std::vector<Report>(4, warning));
}

TEST(CurvilinearGrid, UndefinedFirstNodeTakesThePhysicalPositionFromTheAxis) {
  ReportRecorder rec;
  for (int n : {2, 3, 7}) {
    std::vector<float> ux;
    std::vector<float> uy;
    for (int i = 0; i < n; ++i) ux.push_back(10.0F - 3.0F * static_cast<float>(i * i));  // decreasing
    for (int j = 0; j < n + 2; ++j) uy.push_back(std::exp(0.3F * static_cast<float>(j)));
    std::vector<float> cx(ux.size() * uy.size(), 5.0F);
    std::vector<float> cy(ux.size() * uy.size(), 5.0F);
    cx[0] = kRundef;
    cy[0] = kRundef;
    zep::g2sctr(n, n + 2, ux.data(), uy.data(), cx.data(), cy.data());
    for (float u = ux.back(); u <= ux.front(); u += (ux.front() - ux.back()) / 9.0F)
      for (float v = uy.front(); v <= uy.back(); v += (uy.back() - uy.front()) / 7.0F) {
        const Point p = fwd(u, v);
        EXPECT_NEAR(p.x, u, 1e-5F * std::fabs(u) + 1e-6F);
        EXPECT_NEAR(p.y, v, 1e-5F * v);
        const Point back = inv(u, v);
        EXPECT_NEAR(back.x, u, 1e-4F * std::fabs(u) + 1e-4F);
        EXPECT_NEAR(back.y, v, 1e-4F * v);
      }
    float a = 0, b = 0, c = 0, d = 0;
    zep::g2qctm(a, b, c, d);
    EXPECT_EQ((std::vector<float>{a, b, c, d}), (std::vector<float>{ux.back(), ux.front(), uy.front(), uy.back()}));
  }
  // Only x rectilinear; y from the nodes.
  std::vector<float> cx;
  std::vector<float> cy;
  nodes(kUx, kUy, kMaps[0], cx, cy);
  cx[0] = kRundef;
  zep::g2sctr(6, 5, kUx.data(), kUy.data(), cx.data(), cy.data());
  const Point p = fwd(0.2F, 0.9F);
  EXPECT_NEAR(p.x, 0.2F, 1e-6);
  EXPECT_NEAR(p.y, kMaps[0].y(0.2, 0.9), 2e-5);
  // No node arrays at all: rectilinear in both.
  zep::g2sctr(6, 5, kUx.data(), kUy.data(), nullptr, nullptr);
  EXPECT_NEAR(fwd(0.2F, 0.9F).x, 0.2F, 1e-6);
  EXPECT_NEAR(fwd(0.2F, 0.9F).y, 0.9F, 1e-6);
  for (const Report& r : rec.reports()) ADD_FAILURE() << r;
}

TEST(CurvilinearGrid, CellGeometry) {
  // A point on the shared diagonal (21 to 12) of a cell is in the cell.
  EXPECT_TRUE(zep::lg2inq(0.5F, 0.5F, 0, 1, 0, 1, 0, 0, 1, 1));
  EXPECT_TRUE(zep::lg2inq(0.3F, 0.7F, 0, 1, 0, 1, 0, 0, 1, 1));
  EXPECT_TRUE(zep::lg2inq(0.9F, 0.8F, 0, 1, 0, 1, 0, 0, 1, 1));
  EXPECT_TRUE(zep::lg2inq(1.0F, 1.0F, 0, 1, 0, 1, 0, 0, 1, 1));
  EXPECT_FALSE(zep::lg2inq(1.01F, 0.5F, 0, 1, 0, 1, 0, 0, 1, 1));
  EXPECT_FALSE(zep::lg2inq(0.5F, -0.01F, 0, 1, 0, 1, 0, 0, 1, 1));
  // A cell collapsed to a line holds nothing.
  EXPECT_FALSE(zep::lg2inq(0.5F, 0.0F, 0, 1, 0, 1, 0, 0, 0, 0));

  float w = 0;
  zep::g2fbli(0.25F, 0.5F, 1, 2, 3, 4, w);
  EXPECT_FLOAT_EQ(w, 0.375F * 1 + 0.125F * 2 + 0.375F * 3 + 0.125F * 4);

  // Inverse of a single cell: a trapezoid.
  const float x11 = 0, x21 = 2, x12 = 0.5F, x22 = 1.5F, y11 = 0, y21 = 0, y12 = 1, y22 = 1.2F;
  float x = 0, y = 0, p = 0, q = 0;
  zep::g2fbl2(0.3F, 0.6F, x11, x21, x12, x22, y11, y21, y12, y22, x, y);
  zep::g2ibl2(x, y, x11, x21, x12, x22, y11, y21, y12, y22, p, q);
  EXPECT_NEAR(p, 0.3F, 1e-6);
  EXPECT_NEAR(q, 0.6F, 1e-6);

  ReportRecorder rec;
  // All corners in one point: no solution, (0, 0).
  zep::g2ibl2(1, 1, 1, 1, 1, 1, 1, 1, 1, 1, p, q);
  EXPECT_EQ(p, 0.0F);
  EXPECT_EQ(q, 0.0F);
  // A point outside the cell: the root nearer the cell, which still maps back.
  zep::g2fbl2(1.6F, 0.5F, x11, x21, x12, x22, y11, y21, y12, y22, x, y);
  zep::g2ibl2(x, y, x11, x21, x12, x22, y11, y21, y12, y22, p, q);
  float xb = 0, yb = 0;
  zep::g2fbl2(p, q, x11, x21, x12, x22, y11, y21, y12, y22, xb, yb);
  EXPECT_NEAR(xb, x, 1e-5);
  EXPECT_NEAR(yb, y, 1e-5);
  const std::vector<Report> want = {{"W", "G2IBLI", "SOLUTION NON EXSISTENT"},
                                    {"W", "G2IBLI", "NO SOLUTION IN THE DOMAIN"}};
  EXPECT_EQ(rec.reports(), want);
}

TEST(CurvilinearGrid, BadGridsAreRefusedAndTheOldGridStays) {
  ReportRecorder rec;
  defineGrid(kUx, kUy, kMaps[0]);
  const std::vector<float> big(4001, 0.0F);
  std::vector<float> axis(4001);
  for (std::size_t i = 0; i < axis.size(); ++i) axis[i] = static_cast<float>(i);
  std::vector<float> cx(4001 * 2, 0.0F);
  const float two[] = {0.0F, 1.0F};
  zep::g2sctr(4001, 2, axis.data(), two, cx.data(), cx.data());
  zep::g2sctr(2, 4001, two, axis.data(), cx.data(), cx.data());
  zep::g2sctr(1, 2, two, two, cx.data(), cx.data());
  zep::g2sctr(2, 0, two, two, cx.data(), cx.data());
  const float zigzag[] = {0.0F, 1.0F, 0.5F};
  const float down[] = {3.0F, 2.0F, 2.0F};
  const float flat[] = {1.0F, 1.0F, 2.0F};
  zep::g2sctr(3, 2, zigzag, two, cx.data(), cx.data());
  zep::g2sctr(3, 2, down, two, cx.data(), cx.data());
  zep::g2sctr(2, 3, two, zigzag, cx.data(), cx.data());
  zep::g2sctr(2, 3, two, down, cx.data(), cx.data());
  zep::g2sctr(2, 3, two, flat, cx.data(), cx.data());
  const std::vector<Report> want = {
      {"E", "G2SCTR", "WORKING AREA NOT ENOUGH"},       {"E", "G2SCTR", "WORKING AREA NOT ENOUGH"},
      {"E", "G2SCTR", "NX MUST BE >= 2"},               {"E", "G2SCTR", "NY MUST BE >= 2"},
      {"E", "G2SCTR", "UX IS NOT STRICTLY MONOTONIC"},  {"E", "G2SCTR", "UX IS NOT STRICTLY MONOTONIC"},
      {"E", "G2SCTR", "UY IS NOT STRICTLY MONOTONIC*"}, {"E", "G2SCTR", "UY IS NOT STRICTLY MONOTONIC"},
      {"E", "G2SCTR", "UY IS NOT STRICTLY MONOTONIC"},
  };
  EXPECT_EQ(rec.reports(), want);
  // None of them replaced the grid.
  const Point p = fwd(0.2F, 0.9F);
  EXPECT_NEAR(p.x, kMaps[0].x(0.2, 0.9), 2e-5);

  // The largest grid is accepted.
  rec.clear();
  std::vector<float> ax(axis.begin(), axis.begin() + 4000);
  std::vector<float> cy(4000 * 2, kRundef);
  std::vector<float> cxr(4000 * 2);
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 4000; ++i) cxr[static_cast<std::size_t>(j * 4000 + i)] = 2.0F * static_cast<float>(i);
  zep::g2sctr(4000, 2, ax.data(), two, cxr.data(), cy.data());
  EXPECT_TRUE(rec.reports().empty());
  EXPECT_FLOAT_EQ(fwd(3998.5F, 0.5F).x, 7997.0F);
  EXPECT_FLOAT_EQ(inv(7997.0F, 0.5F).x, 3998.5F);

  // Node arrays of another size than the axes, and cells that do not exist.
  rec.clear();
  zep::g2sgrd(3, 2, cxr.data(), cy.data());
  float c[8];
  zep::g2qgrd(4000, 1, c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]);
  zep::g2qgrd(1, 0, c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]);
  const std::vector<Report> wrong = {{"E", "G2SGRD", "NX OR NY DOES NOT MATCH THE GRID AXES."},
                                     {"E", "G2QGRD", "CELL INDEX IS OUT OF RANGE."},
                                     {"E", "G2QGRD", "CELL INDEX IS OUT OF RANGE."}};
  EXPECT_EQ(rec.reports(), wrong);
  EXPECT_EQ(c[0], kRundef);
  // Matching node arrays replace the nodes and the ranges.
  for (float& v : cxr) v = -v;
  zep::g2sgrd(4000, 2, cxr.data(), cy.data());
  float a = 0, b = 0, d = 0, e = 0;
  zep::g2qctm(a, b, d, e);
  EXPECT_EQ((std::vector<float>{a, b, d, e}), (std::vector<float>{-7998.0F, 0.0F, 0.0F, 1.0F}));
  EXPECT_FLOAT_EQ(fwd(1.5F, 0.5F).x, -3.0F);
}

TEST(CurvilinearGrid, PointsOutsideEveryCell) {
  ReportRecorder rec;
  defineGrid(kUx, kUy, kMaps[0]);
  const Point p = inv(100.0F, 100.0F);
  EXPECT_EQ(p.x, kRundef);
  EXPECT_EQ(p.y, kRundef);
  EXPECT_EQ(rec.reports(), (std::vector<Report>{{"E", "G2ICTR", "OUT OF THE WHOLE DOMAIN"}}));
}

// sgstrf with transformation 51: the projection-plane window onto the viewport,
// taken from the grid when the window is undefined.
TEST(CurvilinearGrid, NormalizationWithTheGrid) {
  ReportRecorder rec;
  const Bilinear& f = kMaps[0];
  defineGrid(kUx, kUy, f);
  std::vector<float> cx;
  std::vector<float> cy;
  nodes(kUx, kUy, f, cx, cy);
  const double xmin = *std::min_element(cx.begin(), cx.end()), xmax = *std::max_element(cx.begin(), cx.end());
  const double ymin = *std::min_element(cy.begin(), cy.end()), ymax = *std::max_element(cy.begin(), cy.end());

  auto check = [&](double wx0, double wx1, double wy0, double wy1, const char* what) {
    SCOPED_TRACE(what);
    for (double u = -0.8; u < 2.0; u += 0.53)
      for (double v = 0.1; v < 1.7; v += 0.41) {
        float vx = 0, vy = 0;
        zep::stftrf(static_cast<float>(u), static_cast<float>(v), vx, vy);
        EXPECT_NEAR(vx, 0.1 + 0.8 * (f.x(u, v) - wx0) / (wx1 - wx0), 2e-5);
        EXPECT_NEAR(vy, 0.2 + 0.6 * (f.y(u, v) - wy0) / (wy1 - wy0), 2e-5);
        float ub = 0, vb = 0;
        zep::stitrf(vx, vy, ub, vb);
        EXPECT_NEAR(ub, u, 1e-4);
        EXPECT_NEAR(vb, v, 1e-4);
      }
  };
  zep::sgsvpt(0.1F, 0.9F, 0.2F, 0.8F);
  zep::sgstrn(51);
  zep::sgscwd(kRundef, kRundef, kRundef, kRundef);
  zep::sgstrf();
  bool lmap = true;
  zep::stqtrf(lmap);
  EXPECT_FALSE(lmap);
  check(xmin, xmax, ymin, ymax, "window from the grid");

  // Undefined in y only: all four come from the grid.
  zep::sgscwd(-3, 3, kRundef, kRundef);
  zep::sgstrf();
  check(xmin, xmax, ymin, ymax, "y undefined");

  zep::sgscwd(-3, 3, -2, 4);
  zep::sgstrf();
  check(-3, 3, -2, 4, "window given");
  EXPECT_TRUE(rec.reports().empty());
  zep::sgstrn(1);
  zep::sgstrf();
}

TEST(CurvilinearGrid, NotYetInitialized) {
  ZEP_EXPECT_ISOLATED([] {
    ReportRecorder rec;
    bool init = true;
    zep::g2qcti(init);
    if (init) return std::string("initialized at start");
    zep::sgstrn(51);
    zep::sgstrf();
    const Point p = fwd(0.5F, 0.5F);
    const Point q = inv(0.5F, 0.5F);
    const std::vector<Report> want = {{"E", "SGSTRF", "(ITR:51) NOT YET INITIALIZED. CALL G2SCTR."},
                                      {"E", "G2FCTR", "NOT YET INITIALZED"},
                                      {"E", "G2ICTR", "NOT YET INITIALZED"}};
    if (rec.reports() != want) return std::string("reports");
    if (p.x != kRundef || q.y != kRundef) return std::string("results");
    return std::string();
  });
}

TEST(CurvilinearGridDeath, ReportLines) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        zep::sgstrn(51);
        zep::sgstrf();
      },
      testing::KilledBySignal(SIGABRT), lineRegex(" ***** ERROR (SGSTRF) ***  (ITR:51) NOT YET INITIALIZED. CALL G2SCTR."));
  EXPECT_EXIT(fwd(0, 0), testing::KilledBySignal(SIGABRT), lineRegex(" ***** ERROR (G2FCTR) ***  NOT YET INITIALZED"));
  const float two[] = {0.0F, 1.0F};
  EXPECT_EXIT(zep::g2sctr(2, 1, two, two, two, two), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (G2SCTR) ***  NY MUST BE >= 2"));
  EXPECT_EXIT(
      {
        defineGrid(kUx, kUy, kMaps[0]);
        inv(100, 100);
      },
      testing::KilledBySignal(SIGABRT), lineRegex(" ***** ERROR (G2ICTR) ***  OUT OF THE WHOLE DOMAIN"));
}

}  // namespace
