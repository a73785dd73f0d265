// Contours whatever the order of the coordinate vectors, closed paths and holes
// as they read back, far reference levels, level-count limits, and fields too
// large for memory.
#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
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
  for (int order = 0; order < 4; ++order) {
    SCOPED_TRACE("x " + std::string(order & 1 ? "de" : "in") + "creasing, y " + (order & 2 ? "de" : "in") + "creasing");
    const std::vector<float> x = order & 1 ? linspace(1, -1, 41) : linspace(-1, 1, 41);
    const std::vector<float> y = order & 2 ? linspace(1, -1, 31) : linspace(-1, 1, 31);
    // A cone: higher values outside, so closed lines run clockwise (-pi r^2 each).
    std::vector<float> z = sample(x, y, [](float a, float b) { return std::hypot(a, b); });
    zep::cnsfld(41, 31, z.data(), x.data(), y.data());
    zep::cnslvl(3, levels);
    for (const zeptest::Line& l : allLines()) {
      ASSERT_TRUE(l.closed);
      EXPECT_TRUE(l.x.front() == l.x.back() && l.y.front() == l.y.back());
      const double r = levels[l.level - 1];
      EXPECT_NEAR(signedArea(l.x, l.y), -M_PI * r * r, 0.03 * M_PI * r * r) << "level " << l.level;
    }
    // Bands: positive areas that add up to the grid; the centre disc is band 0.
    std::map<int, double> area;
    for (const Ring& r : allRings()) {
      EXPECT_TRUE(r.x.front() == r.x.back() && r.y.front() == r.y.back());  // rings close as lines do
      area[r.band] += signedArea(r.x, r.y);
    }
    for (const auto& [band, a] : area) EXPECT_GT(a, 0) << "band " << band;
    EXPECT_NEAR(area[0] + area[1] + area[2] + area[3], 4.0, 1e-5);
    EXPECT_NEAR(area[0], M_PI * 0.0625, 0.006);
    // A plane rising with x: the zero line runs south, the higher values east on its left.
    z = sample(x, y, [](float a, float) { return a; });
    zep::cnsfld(41, 31, z.data(), x.data(), y.data());
    zep::cnslvl(1, levels);
    const std::vector<zeptest::Line> lines = allLines();
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_TRUE(lines[0].y.front() == 1.0F && lines[0].y.back() == -1.0F);
  }
}

TEST(ContourBands, EachHoleNamesTheOuterRingItLiesIn) {
  // A ridge along the circle of radius 0.5: the bands are nested annuli, so a
  // hole's outer ring is the next larger circle of its band.
  const std::vector<float> x = linspace(1, -1, 61), y = linspace(-1, 1, 61);
  const std::vector<float> z =
      sample(x, y, [](float a, float b) { return std::exp(-20 * std::pow(std::hypot(a, b) - 0.5F, 2.0F)); });
  zep::cnsfld(61, 61, z.data(), x.data(), y.data());
  const float levels[] = {0.3F, 0.8F};
  zep::cnslvl(2, levels);
  const std::vector<Ring> rings = allRings();
  auto radius = [](const Ring& r) { return std::hypot(r.x[0], r.y[0]); };
  int holes = 0;
  for (std::size_t h = 0; h < rings.size(); ++h) {
    int outer = -1;
    zep::cnqbdh(static_cast<int>(h) + 1, outer);
    if (signedArea(rings[h].x, rings[h].y) > 0) {
      EXPECT_EQ(outer, 0);
      continue;
    }
    ++holes;
    int want = 0;  // the smallest outer ring of the band beyond the hole (the grid's edge is beyond all)
    for (std::size_t o = 0; o < rings.size(); ++o)
      if (rings[o].band == rings[h].band && signedArea(rings[o].x, rings[o].y) > 0 &&
          radius(rings[o]) > radius(rings[h]) && (want == 0 || radius(rings[o]) < radius(rings[want - 1])))
        want = static_cast<int>(o) + 1;
    EXPECT_EQ(outer, want) << "hole " << h + 1 << " of band " << rings[h].band;
  }
  EXPECT_EQ(holes, 4);  // band 0 outside the ridge, two in band 1, one in band 2

  // The span forms copy as the pointer forms do, and refuse arrays too small.
  int band = 0, np = 0;
  zep::cnqbdi(1, band, np);
  std::vector<float> px(static_cast<std::size_t>(np)), py(px.size()), qx(px.size()), qy(px.size());
  zep::cnqbdx(1, px.data(), py.data());
  zep::cnqbdx(1, std::span<float>(qx), std::span<float>(qy));
  EXPECT_TRUE(px == qx && py == qy);
  EXPECT_EXIT(zep::cnqbdx(1, std::span<float>(qx), std::span<float>(qy.data(), 3)), testing::KilledBySignal(SIGABRT),
              errorLine("CNQBDX", "X AND Y HOLD 3 POINTS; RING 1 HAS " + std::to_string(np) + "."));
  EXPECT_EXIT(zep::cnqlnx(1, std::span<float>(qx.data(), 2), std::span<float>(qy)), testing::KilledBySignal(SIGABRT),
              "CNQLNX.*X AND Y HOLD 2 POINTS; LINE 1 HAS");
}

TEST(ContourLevels, AFarReferenceLevelCostsNothing) {
  // Every 0.1 from 1e15 on a field in [-1, 1]: more than 2^53 steps from the
  // reference, yet the levels come at once.
  const std::vector<float> x = linspace(-1, 1, 5);
  std::vector<float> z = sample(x, x, [](float a, float) { return a; });
  zep::cnsfld(5, 5, z.data(), nullptr, nullptr);
  zep::cnslvi(0.1F, 1e15F);
  int n = 0;
  zep::cnqlvn(n);
  ASSERT_TRUE(n == 19 || n == 20) << n;
  float first = 0, last = 0;
  zep::cnqlvl(1, first);
  zep::cnqlvl(n, last);
  EXPECT_TRUE(first > -1.0F && first < -0.8F && last < 1.0F && last > 0.8F) << first << " " << last;
  EXPECT_NEAR(last - first, 0.1 * (n - 1), 1e-5);
  // A flat field far out holds no level.
  z.assign(4, 1e16F);
  zep::cnsfld(2, 2, z.data(), nullptr, nullptr);
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
  EXPECT_NE(zeptest::runCommand("pdfinfo field.pdf 2>&1").find("Pages:           3\n"), std::string::npos);
}

}  // namespace
