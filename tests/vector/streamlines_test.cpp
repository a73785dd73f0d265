// Streamlines against hand-worked answers: a uniform field gives straight,
// parallel, unbroken lines one separation apart, as many as fit; a solid-body
// rotation gives closed circles; no two lines come closer than the test distance.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>
#include <zep/zep.hpp>

#include "support/drawn_paths.hpp"
#include "support/recording_port.hpp"
#include "support/test_support.hpp"

namespace {

struct Streamline {
  std::vector<float> x, y;
  bool closed = false;
};

std::vector<Streamline> streamlines() {
  zep::vcmkst();
  int n = 0;
  zep::vcqstn(n);
  std::vector<Streamline> out(static_cast<std::size_t>(n));
  for (int i = 1; i <= n; ++i) {
    Streamline& s = out[static_cast<std::size_t>(i - 1)];
    int np = 0;
    zep::vcqsti(i, np, s.closed);
    s.x.resize(static_cast<std::size_t>(np));
    s.y.resize(static_cast<std::size_t>(np));
    zep::vcqstx(i, s.x.data(), s.y.data());
  }
  return out;
}

// A field f(x, y) on an n x n grid over the window [-1, 1]^2, viewport vx x vy.
void setField(int n, float vx0, float vx1, float vy0, float vy1, void (*f)(float, float, float&, float&)) {
  zep::sgsvpt(vx0, vx1, vy0, vy1);
  zep::sgswnd(-1, 1, -1, 1);
  zep::sgstrn(1);
  zep::sgstrf();
  std::vector<float> u(static_cast<std::size_t>(n * n)), v(u.size());
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) {
      const float x = -1 + 2.0F * static_cast<float>(i) / static_cast<float>(n - 1);
      const float y = -1 + 2.0F * static_cast<float>(j) / static_cast<float>(n - 1);
      f(x, y, u[static_cast<std::size_t>(j * n + i)], v[static_cast<std::size_t>(j * n + i)]);
    }
  zep::vcsfld(n, n, u.data(), v.data(), nullptr, nullptr);
}

// Nearest approach of points of two different lines.
float closestApproach(const std::vector<Streamline>& lines) {
  float best = 1e9F;
  for (std::size_t a = 0; a < lines.size(); ++a)
    for (std::size_t b = a + 1; b < lines.size(); ++b)
      for (std::size_t p = 0; p < lines[a].x.size(); ++p)
        for (std::size_t q = 0; q < lines[b].x.size(); ++q)
          best = std::min(best, std::hypot(lines[a].x[p] - lines[b].x[q], lines[a].y[p] - lines[b].y[q]));
  return best;
}

TEST(VectorStreamlines, UniformFieldGivesStraightParallelUnbrokenLines) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::vcrset("DSEP", 0.05F);
    zep::vcrset("DTEST", 0.025F);
    zep::vcrset("STEP", 0.005F);
    // Viewport 0.6 high: lines at 0.025, 0.075 ... 0.575 above its bottom, 12 of them.
    setField(11, 0.1F, 0.7F, 0.2F, 0.8F, [](float, float, float& u, float& v) { u = 1, v = 0.0F; });
    const auto lines = streamlines();
    std::string problem;
    if (lines.size() != 12) problem += std::to_string(lines.size()) + " lines instead of 12; ";
    std::vector<float> ys;
    for (const Streamline& l : lines) {
      const auto [lo, hi] = std::minmax_element(l.y.begin(), l.y.end());
      const auto [left, right] = std::minmax_element(l.x.begin(), l.x.end());
      if (*hi - *lo > 1e-5F) problem += "a line is not straight; ";
      if (*left > 0.1F + 1e-5F || *right < 0.7F - 1e-5F) problem += "a line does not cross the viewport; ";
      if (!std::is_sorted(l.x.begin(), l.x.end())) problem += "a line runs against the field; ";
      ys.push_back(*lo);
    }
    std::sort(ys.begin(), ys.end());
    for (std::size_t k = 1; k < ys.size(); ++k)
      if (std::fabs(ys[k] - ys[k - 1] - 0.05F) > 0.005F) problem += "spacing " + std::to_string(ys[k] - ys[k - 1]) + "; ";
    // Each line reaches the driver as one polyline.
    zep::vclset("LSTARW", false);
    zeptest::driverLog().clear();
    zep::vcstmu();
    if (zeptest::drawnPaths().size() != lines.size()) problem += "lines split into pieces; ";
    return problem;
  });
}

TEST(VectorStreamlines, SolidBodyRotationGivesClosedCircles) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::vcrset("DSEP", 0.04F);
    zep::vcrset("DTEST", 0.02F);
    zep::vcrset("STEP", 0.004F);
    setField(41, 0.1F, 0.9F, 0.1F, 0.9F, [](float x, float y, float& u, float& v) { u = -y, v = x; });
    const auto lines = streamlines();
    std::string problem;
    int closed = 0;
    for (const Streamline& l : lines) {
      float rmin = 1e9F, rmax = 0;
      for (std::size_t k = 0; k < l.x.size(); ++k) {
        const float r = std::hypot(l.x[k] - 0.5F, l.y[k] - 0.5F);
        rmin = std::min(rmin, r);
        rmax = std::max(rmax, r);
      }
      if (rmax - rmin > 0.02F * rmax + 1e-4F) problem += "a line is not a circle; ";
      // A whole circle fits inside the viewport below radius 0.4.
      if (rmax < 0.39F && rmin > 0.05F && !l.closed) problem += "circle of radius " + std::to_string(rmax) + " is open; ";
      if (l.closed) {
        ++closed;
        if (l.x.front() != l.x.back() || l.y.front() != l.y.back()) problem += "a closed line does not end at its start; ";
      }
    }
    if (closed < 6) problem += std::to_string(closed) + " closed circles; ";
    if (closestApproach(lines) < 0.02F * 0.99F) problem += "lines closer than the test distance; ";
    return problem;
  });
}

TEST(VectorStreamlines, EastwardFlowCirclesThePoleAcrossTheGridsEnd) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    // North polar stereographic; the grid's columns 0 .. 355 leave the last cell to wrap round.
    zep::sgsvpt(0.1F, 0.9F, 0.1F, 0.9F);
    zep::sgssim(0.3F, 0, 0);
    zep::sgsmpl(0, 90, 0);
    zep::sgstxy(-180, 180, 30, 90);
    zep::sgstrn(31);
    zep::sgstrf();
    std::vector<float> lon, lat, u, v;
    for (int i = 0; i < 72; ++i) lon.push_back(5.0F * static_cast<float>(i));
    for (int j = 0; j <= 12; ++j) lat.push_back(30 + 5.0F * static_cast<float>(j));
    u.assign(lon.size() * lat.size(), 10);
    v.assign(u.size(), 0);
    zep::vcsfld(72, 13, u.data(), v.data(), lon.data(), lat.data());
    zep::vcrset("DSEP", 0.04F);
    zep::vcrset("DTEST", 0.02F);
    zep::vcrset("STEP", 0.004F);
    const auto lines = streamlines();
    float cx = 0, cy = 0;
    zep::stftrf(0, 90, cx, cy);
    std::string problem;
    int circles = 0;
    for (const Streamline& l : lines) {
      float rmin = 1e9F, rmax = 0;
      for (std::size_t k = 0; k < l.x.size(); ++k) {
        const float r = std::hypot(l.x[k] - cx, l.y[k] - cy);
        rmin = std::min(rmin, r);
        rmax = std::max(rmax, r);
      }
      if (rmax - rmin > 0.02F * rmax + 1e-3F) problem += "a line is not a parallel; ";
      // Parallels that fit in the viewport and lie on the grid (above 30N) close.
      if (rmax < 0.39F && rmin > 0.06F) {
        if (!l.closed) problem += "parallel of radius " + std::to_string(rmax) + " is broken; ";
        ++circles;
      }
    }
    if (circles < 4) problem += std::to_string(circles) + " closed parallels; ";
    return problem;
  });
}

TEST(VectorStreamlines, NoTwoLinesComeCloserThanTheTestDistance) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::vcrset("DSEP", 0.04F);
    zep::vcrset("DTEST", 0.016F);
    zep::vcrset("STEP", 0.004F);
    // Two vortices of opposite sense and a jet between them.
    setField(61, 0.1F, 0.9F, 0.2F, 0.8F, [](float x, float y, float& u, float& v) {
      const float a = std::exp(-8 * ((x - 0.4F) * (x - 0.4F) + y * y)), b = std::exp(-8 * ((x + 0.4F) * (x + 0.4F) + y * y));
      u = -y * (a - b) + std::exp(-20 * (y - 0.5F) * (y - 0.5F));
      v = (x - 0.4F) * a - (x + 0.4F) * b;
    });
    const auto lines = streamlines();
    std::string problem;
    if (lines.size() < 10) problem += "only " + std::to_string(lines.size()) + " lines; ";
    const float d = closestApproach(lines);
    if (d < 0.016F * 0.99F) problem += "lines " + std::to_string(d) + " apart; ";
    return problem;
  });
}

}  // namespace
