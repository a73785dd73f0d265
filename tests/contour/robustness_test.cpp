// Contours whatever the caller's order of coordinates, the way closed paths
// and holes read back, far reference levels, level-count limits and fields too
// large for memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <map>
#include <string>
#include <vector>
#include <zep/zep.hpp>

#include "support/contour_paths.hpp"
#include "support/memory_limit.hpp"
#include "support/test_support.hpp"

namespace {

using zeptest::allLines;
using zeptest::allRings;
using zeptest::linspace;
using zeptest::Ring;
using zeptest::signedArea;

std::string errorLine(const char* routine, const std::string& text) {
  return zeptest::lineRegex(std::string(" ***** ERROR (") + routine + ") ***  " + text);
}

// z = f(x, y) on the grid of the given vectors, row-major.
template <typename F>
std::vector<float> sample(const std::vector<float>& x, const std::vector<float>& y, F f) {
  std::vector<float> z;
  for (float yj : y)
    for (float xi : x) z.push_back(f(xi, yj));
  return z;
}

TEST(ContourOrientation, FollowsUWhateverTheOrderOfTheCoordinates) {
  const float levels[] = {0.25F, 0.5F, 0.75F};
  for (bool xDown : {false, true})
    for (bool yDown : {false, true}) {
      SCOPED_TRACE(std::string("x ") + (xDown ? "decreasing" : "increasing") + ", y " +
                   (yDown ? "decreasing" : "increasing"));
      const std::vector<float> x = xDown ? linspace(1, -1, 41) : linspace(-1, 1, 41);
      const std::vector<float> y = yDown ? linspace(1, -1, 31) : linspace(-1, 1, 31);
      // A cone: higher values outside, so closed lines run clockwise (pi r^2 each).
      std::vector<float> z = sample(x, y, [](float a, float b) { return std::hypot(a, b); });
      zep::cnsfld(41, 31, z.data(), x.data(), y.data());
      zep::cnslvl(3, levels);
      int closed = 0;
      for (const zeptest::Line& l : allLines()) {
        if (!l.closed) continue;
        ++closed;
        EXPECT_EQ(l.x.front(), l.x.back());
        EXPECT_EQ(l.y.front(), l.y.back());
        const double r = levels[l.level - 1];
        EXPECT_NEAR(signedArea(l.x, l.y), -M_PI * r * r, 0.03 * M_PI * r * r) << "level " << l.level;
      }
      EXPECT_EQ(closed, 3);
      // Bands: positive areas that add up to the grid; the centre disc is band 0.
      std::map<int, double> area;
      for (const Ring& r : allRings()) {
        EXPECT_EQ(r.x.front(), r.x.back());  // rings end on their first point too
        EXPECT_EQ(r.y.front(), r.y.back());
        area[r.band] += signedArea(r.x, r.y);
      }
      double total = 0;
      for (const auto& [band, a] : area) {
        EXPECT_GT(a, 0) << "band " << band;
        total += a;
      }
      EXPECT_NEAR(total, 4.0, 1e-5);
      EXPECT_NEAR(area[0], M_PI * 0.0625, 0.006);
      EXPECT_NEAR(area[1], M_PI * (0.25 - 0.0625), 0.012);

      // A plane rising with x: the zero line runs downwards (south, higher values east, on its left).
      z = sample(x, y, [](float a, float) { return a; });
      zep::cnsfld(41, 31, z.data(), x.data(), y.data());
      const float zero[] = {0.0F};
      zep::cnslvl(1, zero);
      const std::vector<zeptest::Line> lines = allLines();
      ASSERT_EQ(lines.size(), 1U);
      EXPECT_EQ(lines[0].y.front(), 1.0F);
      EXPECT_EQ(lines[0].y.back(), -1.0F);
    }
}

// Mean distance of a ring's points from the origin.
double meanRadius(const Ring& r) {
  double sum = 0;
  for (std::size_t k = 0; k + 1 < r.x.size(); ++k) sum += std::hypot(r.x[k], r.y[k]);
  return sum / static_cast<double>(r.x.size() - 1);
}

TEST(ContourBands, EachHoleNamesTheOuterRingItLiesIn) {
  // A ridge along the circle of radius 0.5: every band is a set of nested
  // annuli, so a hole's own outer ring is the next larger circle of its band.
  for (bool xDown : {false, true}) {
    const std::vector<float> x = xDown ? linspace(1, -1, 61) : linspace(-1, 1, 61), y = linspace(-1, 1, 61);
    const std::vector<float> z =
        sample(x, y, [](float a, float b) { return std::exp(-20 * std::pow(std::hypot(a, b) - 0.5F, 2.0F)); });
    zep::cnsfld(61, 61, z.data(), x.data(), y.data());
    const float levels[] = {0.3F, 0.8F};
    zep::cnslvl(2, levels);
    const std::vector<Ring> rings = allRings();
    int holes = 0;
    for (std::size_t h = 0; h < rings.size(); ++h) {
      int outer = -1;
      zep::cnqbdh(static_cast<int>(h) + 1, outer);
      if (signedArea(rings[h].x, rings[h].y) > 0) {
        EXPECT_EQ(outer, 0) << "outer ring " << h + 1;
        continue;
      }
      ++holes;
      // The smallest outer ring of the band that is larger than the hole.
      const double rh = meanRadius(rings[h]);
      int want = 0;
      double best = 1e9;
      for (std::size_t o = 0; o < rings.size(); ++o) {
        if (rings[o].band != rings[h].band || signedArea(rings[o].x, rings[o].y) <= 0) continue;
        const double ro = meanRadius(rings[o]);
        if (ro > rh && ro < best) {
          best = ro;
          want = static_cast<int>(o) + 1;
        }
      }
      EXPECT_EQ(outer, want) << "hole " << h + 1 << " of band " << rings[h].band;
    }
    EXPECT_EQ(holes, 4);  // band 0 outside the ridge, two in band 1, one in band 2
  }
}

TEST(ContourQueries, SpanFormsCheckTheirSizes) {
  const std::vector<float> x = linspace(-1, 1, 11);
  const std::vector<float> z = sample(x, x, [](float a, float b) { return std::hypot(a, b); });
  zep::cnsfld(11, 11, z.data(), x.data(), x.data());
  const float level[] = {0.5F};
  zep::cnslvl(1, level);
  int lev = 0, np = 0, band = 0, nr = 0;
  bool closed = false;
  zep::cnqlni(1, lev, np, closed);
  std::vector<float> px(static_cast<std::size_t>(np)), py(px.size()), qx(px.size()), qy(px.size());
  zep::cnqlnx(1, px.data(), py.data());
  zep::cnqlnx(1, std::span<float>(qx), std::span<float>(qy));
  EXPECT_EQ(px, qx);
  EXPECT_EQ(py, qy);
  zep::cnqbdi(1, band, nr);
  std::vector<float> rx(static_cast<std::size_t>(nr)), ry(rx.size());
  zep::cnqbdx(1, std::span<float>(rx), std::span<float>(ry));
  EXPECT_EQ(rx.front(), rx.back());

  std::vector<float> small(static_cast<std::size_t>(np - 1));
  EXPECT_EXIT(zep::cnqlnx(1, std::span<float>(small), std::span<float>(px)), testing::KilledBySignal(SIGABRT),
              errorLine("CNQLNX", "X AND Y HOLD " + std::to_string(np - 1) + " POINTS; LINE 1 HAS " +
                                      std::to_string(np) + "."));
  EXPECT_EXIT(zep::cnqbdx(1, std::span<float>(rx), std::span<float>(rx.data(), 3)), testing::KilledBySignal(SIGABRT),
              errorLine("CNQBDX", "X AND Y HOLD 3 POINTS; RING 1 HAS " + std::to_string(nr) + "."));
}

TEST(ContourLevels, AFarReferenceLevelCostsNothing) {
  // Every 0.1 from 1e15 on a field in [-1, 1]: the levels near the field, found
  // at once (the count of steps from the reference is past 2^53).
  const std::vector<float> x = linspace(-1, 1, 5);
  const std::vector<float> z = sample(x, x, [](float a, float) { return a; });
  zep::cnsfld(5, 5, z.data(), nullptr, nullptr);
  zep::cnslvi(0.1F, 1e15F);
  int n = 0;
  zep::cnqlvn(n);
  ASSERT_GE(n, 19);
  ASSERT_LE(n, 20);
  float previous = -2;
  for (int i = 1; i <= n; ++i) {
    float v = 0;
    zep::cnqlvl(i, v);
    EXPECT_GT(v, -1.0F);
    EXPECT_LT(v, 1.0F);
    if (i > 1) {
      EXPECT_NEAR(v - previous, 0.1, 1e-6);
    }
    previous = v;
  }
  // A flat field far out: the range holds no level, and the answer comes at once.
  const std::vector<float> flat(4, 1e16F);
  zep::cnsfld(2, 2, flat.data(), nullptr, nullptr);
  zep::cnslvi(1.0F, 0.0F);
  zep::cnqlvn(n);
  EXPECT_EQ(n, 0);
}

TEST(ContourLevels, CountsOutsideTheirLimitsAreReported) {
  const float z[] = {0, 1, 2, 3};
  std::vector<float> many(2001);
  for (std::size_t k = 0; k < many.size(); ++k) many[k] = static_cast<float>(k) / 1000.0F;
  zep::cnsfld(2, 2, z, nullptr, nullptr);
  zep::cnslvl(2000, many.data());
  int n = 0;
  zep::cnqlvn(n);
  EXPECT_EQ(n, 2000);
  EXPECT_EXIT(zep::cnslvl(2001, many.data()), testing::KilledBySignal(SIGABRT),
              errorLine("CNSLVL", "MORE THAN 2000 LEVELS (CN PARAMETER MAXLEV)."));
  EXPECT_EXIT(zep::cnslvl(3, nullptr), testing::KilledBySignal(SIGABRT),
              errorLine("CNSLVL", "THE LEVELS ARE A NULL POINTER."));
  for (int nlev : {0, -3, 2000000000}) {
    EXPECT_EXIT(
        {
          zep::cniset("NLEV", nlev);
          zep::cnslva();
          zep::cnqlvn(n);
        },
        testing::KilledBySignal(SIGABRT),
        errorLine("CNQLVN", "CN NLEV = " + std::to_string(nlev) + " IS NOT IN 1 .. MAXLEV = 2000."));
  }
}

TEST(ContourMemory, AFieldTooLargeIsReportedAndThePagesKept) {
#if ZEP_TEST_SANITIZE
  GTEST_SKIP() << "the sanitizers' allocator answers a failed allocation itself";
#endif
  zeptest::TempWorkDir dir;
  const float z[] = {0, 1, 2, 3};
  EXPECT_EXIT(
      {
        // Memory is limited so that the field cannot fit however the machine overcommits.
        zeptest::limitAddressSpace(std::size_t{1} << 30);
        zep::gliset("NLNSIZE", 120);  // the report on one line
        zep::swiset("IFL", 4);
        zep::swcset("FNAME", "field");
        zep::sgopn(2);
        for (int page = 0; page < 3; ++page) {
          zep::sgfrm();
          zep::sglnv(0.1F, 0.1F, 0.9F, 0.9F);
        }
        zep::cnsfld(100000, 100000, z, nullptr, nullptr);
      },
      testing::KilledBySignal(SIGABRT),
      errorLine("CNSFLD", "OUT OF MEMORY FOR 10000000000 GRID POINTS (40000000000 BYTES)."));
  const std::string info = zeptest::runCommand("pdfinfo field.pdf 2>&1");
  EXPECT_NE(info.find("Pages:           3\n"), std::string::npos) << info;
}

}  // namespace
