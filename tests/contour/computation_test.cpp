// Contour computation on small fields with known answers: circles of a cone,
// saddle cells, open and closed lines, missing cells, bands that tile the grid,
// level choice and label texts.
#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>
#include <zep/zep.hpp>

#include "support/contour_paths.hpp"
#include "support/test_support.hpp"

namespace {

using zeptest::allLines;
using zeptest::allRings;
using zeptest::Line;
using zeptest::linspace;
using zeptest::Ring;
using zeptest::signedArea;
using zeptest::winding;

std::string trimmed(const std::string& t) { return t.substr(0, t.find_last_not_of(' ') + 1); }

std::string labelOf(int i) {
  std::string t(16, ' ');
  zep::cnqlbl(i, t);
  return std::string(trimmed(t));
}

std::string formatOf() {
  std::string t(16, ' ');
  zep::cnqlfm(t);
  return std::string(trimmed(t));
}

std::vector<float> levelsOf() {
  int n = 0;
  zep::cnqlvn(n);
  std::vector<float> out;
  for (int i = 1; i <= n; ++i) {
    float v = 0;
    zep::cnqlvl(i, v);
    out.push_back(v);
  }
  return out;
}

// Crossings of level l on the grid edges that border at least one complete cell,
// counted independently of the library.
std::size_t countCrossings(int nx, int ny, const std::vector<float>& z, float l) {
  auto ok = [&](int i, int j) { return std::isfinite(z[static_cast<std::size_t>(j * nx + i)]); };
  auto cell = [&](int i, int j) {
    return i >= 0 && j >= 0 && i < nx - 1 && j < ny - 1 && ok(i, j) && ok(i + 1, j) && ok(i, j + 1) && ok(i + 1, j + 1);
  };
  auto at = [&](int i, int j) { return z[static_cast<std::size_t>(j * nx + i)]; };
  std::size_t n = 0;
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i) {
      if (i + 1 < nx && ok(i, j) && ok(i + 1, j) && (at(i, j) >= l) != (at(i + 1, j) >= l) && (cell(i, j) || cell(i, j - 1))) ++n;
      if (j + 1 < ny && ok(i, j) && ok(i, j + 1) && (at(i, j) >= l) != (at(i, j + 1) >= l) && (cell(i, j) || cell(i - 1, j))) ++n;
    }
  return n;
}

TEST(ContourLines, ConeGivesCirclesAndArcs) {
  const int n = 41;
  const std::vector<float> x = linspace(-1, 1, n), y = linspace(-1, 1, n);
  std::vector<float> z;
  for (float yj : y)
    for (float xi : x) z.push_back(std::sqrt(xi * xi + yj * yj));
  const float levels[] = {0.25F, 0.5F, 0.75F, 1.2F};
  zep::cnsfld(n, n, z.data(), x.data(), y.data());
  zep::cnslvl(4, levels);
  const std::vector<Line> lines = allLines();
  std::map<int, int> closedCount, openCount;
  for (const Line& l : lines) {
    const float r = levels[l.level - 1];
    (l.closed ? closedCount : openCount)[l.level]++;
    for (std::size_t k = 0; k < l.x.size(); ++k)
      EXPECT_NEAR(std::hypot(l.x[k], l.y[k]), r, 0.004) << "level " << l.level << " point " << k;
    if (l.closed) {
      EXPECT_EQ(l.x.front(), l.x.back());
      EXPECT_EQ(l.y.front(), l.y.back());
      // Higher values (outside) on the left: clockwise.
      EXPECT_NEAR(signedArea(l.x, l.y), -M_PI * r * r, 0.01);
    } else {
      for (std::size_t e : {std::size_t{0}, l.x.size() - 1})
        EXPECT_TRUE(std::fabs(l.x[e]) == 1.0F || std::fabs(l.y[e]) == 1.0F) << l.x[e] << " " << l.y[e];
    }
  }
  EXPECT_EQ(closedCount[1], 1);
  EXPECT_EQ(closedCount[2], 1);
  EXPECT_EQ(closedCount[3], 1);
  EXPECT_EQ(openCount[4], 4);  // the circle of radius 1.2 leaves the square four times
  EXPECT_EQ(closedCount[4], 0);
  // Every crossing of every level is on exactly one line, once.
  for (int L = 1; L <= 4; ++L) {
    std::size_t points = 0;
    for (const Line& l : lines)
      if (l.level == L) points += l.x.size() - (l.closed ? 1 : 0);
    EXPECT_EQ(points, countCrossings(n, n, z, levels[L - 1])) << "level " << L;
  }
  // Consecutive points lie in one cell.
  for (const Line& l : lines)
    for (std::size_t k = 1; k < l.x.size(); ++k)
      EXPECT_LE(std::hypot(l.x[k] - l.x[k - 1], l.y[k] - l.y[k - 1]), 0.05 * std::sqrt(2.0) + 1e-6);
}

TEST(ContourLines, SaddleCellFollowsTheCentreMean) {
  // Corners (0,0) and (1,1) high, (1,0) and (0,1) low; the mean is 0.5.
  const float z[] = {1, 0, 0, 1};
  zep::cnsfld(2, 2, z, nullptr, nullptr);
  zep::sgswnd(0, 1, 0, 1);
  auto cornersCutOff = [] {
    std::vector<std::pair<int, int>> cut;
    for (const Line& l : allLines()) {
      EXPECT_FALSE(l.closed);
      EXPECT_EQ(l.x.size(), 2U);
      // The corner a chord cuts off is the one nearest its midpoint.
      const float mx = (l.x[0] + l.x[1]) / 2, my = (l.y[0] + l.y[1]) / 2;
      cut.emplace_back(mx > 0.5F ? 1 : 0, my > 0.5F ? 1 : 0);
    }
    std::sort(cut.begin(), cut.end());
    return cut;
  };
  const float below[] = {0.4F};  // centre above: the high corners join, the low ones are cut off
  zep::cnslvl(1, below);
  EXPECT_EQ(cornersCutOff(), (std::vector<std::pair<int, int>>{{0, 1}, {1, 0}}));
  const float at[] = {0.5F};  // a centre at the level counts as above
  zep::cnslvl(1, at);
  EXPECT_EQ(cornersCutOff(), (std::vector<std::pair<int, int>>{{0, 1}, {1, 0}}));
  const float above[] = {0.6F};
  zep::cnslvl(1, above);
  EXPECT_EQ(cornersCutOff(), (std::vector<std::pair<int, int>>{{0, 0}, {1, 1}}));
  // The bands make the same choice: the middle band is one ring joining the
  // high corners for 0.4 (area 1 - 2 * 0.4^2 / 2), two corner pieces for 0.6.
  const float both[] = {0.4F, 0.6F};
  zep::cnslvl(2, both);
  std::map<int, int> rings;
  std::map<int, double> area;
  for (const Ring& r : allRings()) {
    rings[r.band]++;
    area[r.band] += signedArea(r.x, r.y);
  }
  EXPECT_EQ(rings[0], 2);  // two low corners
  EXPECT_EQ(rings[2], 2);  // two high corners (the centre is below 0.6)
  EXPECT_EQ(rings[1], 1);
  EXPECT_NEAR(area[0], 2 * 0.5 * 0.4 * 0.4, 1e-6);
  EXPECT_NEAR(area[2], 2 * 0.5 * 0.4 * 0.4, 1e-6);
  EXPECT_NEAR(area[0] + area[1] + area[2], 1.0, 1e-6);
}

TEST(ContourLines, MissingCellsAreLeftOut) {
  // z = x on a 7 x 7 grid with the middle point missing (RMISS with LMISS) and
  // one NaN: the level x = 3 runs through both holes and breaks into pieces.
  const int n = 7;
  std::vector<float> z;
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) z.push_back(static_cast<float>(i) + 0.1F * static_cast<float>(j));
  z[3 * n + 3] = 999.0F;
  z[6 * n + 3] = std::numeric_limits<float>::quiet_NaN();
  zep::gllset("LMISS", true);
  zep::cnsfld(n, n, z.data(), nullptr, nullptr);
  zep::gllset("LMISS", false);
  zep::sgswnd(0, 6, 0, 6);
  const float level[] = {3.05F};
  zep::cnslvl(1, level);
  const std::vector<Line> lines = allLines();
  ASSERT_EQ(lines.size(), 2U);
  for (const Line& l : lines) {
    EXPECT_FALSE(l.closed);
    for (std::size_t k = 0; k < l.x.size(); ++k) {
      // No point inside a left-out cell: rows 2-3 around the hole, row 5 below the NaN.
      const float yk = l.y[k];
      EXPECT_FALSE(yk > 2.0F && yk < 4.0F) << yk;
      EXPECT_FALSE(yk > 5.0F) << yk;
    }
  }
  // The bands cover the grid less the six left-out cells.
  double total = 0;
  const float two[] = {2.5F, 3.05F};
  zep::cnslvl(2, two);
  for (const Ring& r : allRings()) total += signedArea(r.x, r.y);
  EXPECT_NEAR(total, 36.0 - 6.0, 1e-6);
  // A field with no valid point has no levels, lines or rings.
  std::vector<float> none(9, std::numeric_limits<float>::quiet_NaN());
  zep::cnslva();
  zep::cnsfld(3, 3, none.data(), nullptr, nullptr);
  int count = -1;
  zep::cnqlvn(count);
  EXPECT_EQ(count, 0);
  zep::cnqlnn(count);
  EXPECT_EQ(count, 0);
  zep::cnqbdn(count);
  EXPECT_EQ(count, 0);
}

// A random field on uneven coordinates, with missing points and many saddles:
// the rings of all bands cover each point of the valid cells exactly once, and
// near a grid point the covering band is the point's own.
TEST(ContourBands, RandomFieldIsTiledExactly) {
  std::mt19937 rng(12345);
  std::uniform_real_distribution<float> u(0, 1);
  const int nx = 23, ny = 17;
  std::vector<float> x{0}, y{0};
  for (int i = 1; i < nx; ++i) x.push_back(x.back() + 0.2F + u(rng));
  for (int j = 1; j < ny; ++j) y.push_back(y.back() + 0.2F + u(rng));
  for (int trial = 0; trial < 3; ++trial) {
    std::vector<float> z;
    for (int k = 0; k < nx * ny; ++k) z.push_back(u(rng) * 10 - 3);
    if (trial > 0)
      for (int k = 0; k < 12 * trial; ++k) z[static_cast<std::size_t>(rng() % (nx * ny))] = std::numeric_limits<float>::quiet_NaN();
    zep::cnsfld(nx, ny, z.data(), x.data(), y.data());
    zep::cnslva();
    const std::vector<float> levels = levelsOf();
    ASSERT_GE(levels.size(), 5U);
    const std::vector<Ring> rings = allRings();
    auto valid = [&](int i, int j) {
      for (int dj = 0; dj < 2; ++dj)
        for (int di = 0; di < 2; ++di)
          if (!std::isfinite(z[static_cast<std::size_t>((j + dj) * nx + i + di)])) return false;
      return true;
    };
    double gridArea = 0;
    for (int j = 0; j + 1 < ny; ++j)
      for (int i = 0; i + 1 < nx; ++i)
        if (valid(i, j)) gridArea += static_cast<double>(x[i + 1] - x[i]) * (y[j + 1] - y[j]);
    double total = 0;
    std::vector<double> bandArea(levels.size() + 1, 0.0);
    for (const Ring& r : rings) {
      const double a = signedArea(r.x, r.y);
      total += a;
      bandArea[static_cast<std::size_t>(r.band)] += a;
    }
    EXPECT_NEAR(total, gridArea, 1e-6 * gridArea) << "trial " << trial;
    for (double a : bandArea) EXPECT_GE(a, -1e-9);
    // Coverage at sample points: inside valid cells once, elsewhere never.
    for (int j = 0; j + 1 < ny; ++j)
      for (int i = 0; i + 1 < nx; ++i)
        for (int corner = 0; corner < 4; ++corner) {
          const int di = corner & 1, dj = corner >> 1;
          const double px = x[i + di] + (di ? -0.0013 : 0.0011) * (x[i + 1] - x[i]);
          const double py = y[j + dj] + (dj ? -0.0017 : 0.0009) * (y[j + 1] - y[j]);
          std::vector<int> cover(levels.size() + 1, 0);
          for (const Ring& r : rings) cover[static_cast<std::size_t>(r.band)] += winding(r.x, r.y, px, py);
          int sum = 0;
          for (int c : cover) sum += c;
          ASSERT_EQ(sum, valid(i, j) ? 1 : 0) << "cell " << i << "," << j << " trial " << trial;
          if (!valid(i, j)) continue;
          const float value = z[static_cast<std::size_t>((j + dj) * nx + i + di)];
          const int band = static_cast<int>(std::upper_bound(levels.begin(), levels.end(), value) - levels.begin());
          bool nearLevel = false;
          for (float l : levels) nearLevel = nearLevel || std::fabs(l - value) < 0.04F;
          if (!nearLevel) {
            EXPECT_EQ(cover[static_cast<std::size_t>(band)], 1) << "value " << value;
          }
        }
  }
}

TEST(ContourBands, HolesIslandsAndTheOpenEnds) {
  // A ring-shaped ridge: the bands are annuli (an outer ring and a hole each),
  // islands and the grid edge; then a constant field, one band over the grid.
  const int n = 31;
  const std::vector<float> x = linspace(-1, 1, n), y = linspace(-1, 1, n);
  std::vector<float> z;
  for (float yj : y)
    for (float xi : x) z.push_back(std::exp(-20 * std::pow(std::hypot(xi, yj) - 0.5F, 2.0F)));
  zep::cnsfld(n, n, z.data(), x.data(), y.data());
  const float levels[] = {0.3F, 0.8F};
  zep::cnslvl(2, levels);
  std::map<int, std::vector<double>> areas;
  for (const Ring& r : allRings()) areas[r.band].push_back(signedArea(r.x, r.y));
  // Band 0: the outside (the grid edge with a hole where the ridge begins) and an island at the centre.
  ASSERT_EQ(areas[0].size(), 3U);
  int negatives = 0;
  for (double a : areas[0]) negatives += a < 0;
  EXPECT_EQ(negatives, 1);
  // Band 1: two annuli (inner and outer flank of the ridge), each an outer ring with a hole.
  ASSERT_EQ(areas[1].size(), 4U);
  negatives = 0;
  for (double a : areas[1]) negatives += a < 0;
  EXPECT_EQ(negatives, 2);
  // Band 2: the crest, an annulus.
  ASSERT_EQ(areas[2].size(), 2U);
  double total = 0;
  for (auto& [band, list] : areas)
    for (double a : list) total += a;
  EXPECT_NEAR(total, 4.0, 1e-6);

  std::vector<float> flat(12, 2.0F);
  zep::cnsfld(4, 3, flat.data(), nullptr, nullptr);
  zep::sgswnd(0, 3, 0, 2);
  zep::cnslva();
  const std::vector<Ring> one = allRings();
  ASSERT_EQ(one.size(), 1U);
  EXPECT_EQ(one[0].band, 0);
  EXPECT_EQ(one[0].x.size(), 11U);  // every boundary point of the grid once, the first again at the end
  EXPECT_NEAR(signedArea(one[0].x, one[0].y), 6.0, 1e-9);
}

TEST(ContourLevels, ChoiceAttributesAndLabels) {
  std::vector<float> z = {-3.7F, 12.2F, 0.0F, 5.0F};
  zep::cnsfld(2, 2, z.data(), nullptr, nullptr);
  zep::cnslva();
  EXPECT_EQ(levelsOf(), (std::vector<float>{-2, 0, 2, 4, 6, 8, 10, 12}));
  EXPECT_EQ(formatOf(), "%.0f");
  std::vector<std::string> texts;
  std::vector<bool> labelled;
  for (int i = 1; i <= 8; ++i) {
    int index = 0, type = 0;
    bool label = false;
    zep::cnqlat(i, index, type, label);
    EXPECT_EQ(type, i == 1 ? 2 : 1) << i;  // the negative level dashed
    EXPECT_EQ(index, 1);
    texts.push_back(labelOf(i));
    labelled.push_back(label);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"-2", "0", "2", "4", "6", "8", "10", "12"}));
  // Every other level, counted from zero: 0, 4, 8, 12.
  EXPECT_EQ(labelled, (std::vector<bool>{false, true, false, true, false, true, false, true}));

  // The target count moves the interval along 1, 2, 5.
  zep::cniset("NLEV", 4);
  zep::cnslva();
  EXPECT_EQ(levelsOf(), (std::vector<float>{0, 5, 10}));
  zep::cniset("NLEV", 40);
  zep::cnslva();
  EXPECT_EQ(levelsOf().size(), 32U);  // -3.5 .. 12 by 0.5 (32) rather than by 1 (16) or 0.2 (79)
  EXPECT_EQ(formatOf(), "%.1f");
  EXPECT_EQ(labelOf(1), "-3.5");
  zep::cniset("NLEV", 10);

  // Interval and reference level; a labelled index of its own.
  zep::cniset("INDEXL", 23);
  zep::cnslvi(2.5F, 0.1F);
  const std::vector<float> regular = levelsOf();
  ASSERT_EQ(regular.size(), 6U);
  for (std::size_t k = 0; k < 6; ++k) EXPECT_NEAR(regular[k], -2.4 + 2.5 * static_cast<double>(k), 1e-5);
  EXPECT_EQ(labelOf(2), "0.1");
  int index = 0, type = 0;
  bool label = false;
  zep::cnqlat(2, index, type, label);  // zref itself: labelled
  EXPECT_TRUE(label);
  EXPECT_EQ(index, 23);
  zep::cnqlat(3, index, type, label);
  EXPECT_FALSE(label);
  EXPECT_EQ(index, 1);
  zep::cniset("INDEXL", 0);
  zep::cnslat(3, 45, 4, true);
  zep::cnqlat(3, index, type, label);
  EXPECT_EQ(index, 45);
  EXPECT_EQ(type, 4);
  EXPECT_TRUE(label);

  // Explicit lists: the fewest decimals that read back as the levels.
  const float quarter[] = {0.25F, 0.5F, 0.75F};
  zep::cnslvl(3, quarter);
  EXPECT_EQ(formatOf(), "%.2f");
  EXPECT_EQ(labelOf(2), "0.50");
  const float tiny[] = {1e-5F, 2e-5F, 5e-5F};
  zep::cnslvl(3, tiny);
  EXPECT_EQ(formatOf(), "%.0E");
  EXPECT_EQ(labelOf(3), "5E-05");
  const float big[] = {1.5e6F, 3e6F};
  zep::cnslvl(2, big);
  EXPECT_EQ(formatOf(), "%.1E");
  EXPECT_EQ(labelOf(1), "1.5E+06");
  const float nearZero[] = {-0.0001F, 1, 2};
  zep::cnslvl(3, nearZero);
  EXPECT_EQ(labelOf(1), "0");  // never "-0"
  zep::cniset("NDIGIT", 4);
  zep::cnslvl(3, nearZero);
  EXPECT_EQ(labelOf(1), "-0.0001");
  EXPECT_EQ(labelOf(3), "2.0000");
  zep::cniset("NDIGIT", -1);
  zep::cniset("LABSTP", 0);
  zep::cnslvl(3, nearZero);
  for (int i = 1; i <= 3; ++i) {
    zep::cnqlat(i, index, type, label);
    EXPECT_FALSE(label);
  }
  zep::cniset("LABSTP", 2);
  // Band tones spread over the colour range.
  int tone = 0;
  zep::cnqbdt(0, tone);
  EXPECT_EQ(tone, 2999);
  zep::cnqbdt(3, tone);
  EXPECT_EQ(tone, 99999);
  zep::cnsbdt(1, 5123);
  zep::cnqbdt(1, tone);
  EXPECT_EQ(tone, 5123);
}

TEST(ContourLevels, BadInputIsReported) {
  const float z[] = {0, 1, 2, 3};
  const float x[] = {0, 1};
  const float back[] = {1, 1};
  auto line = [](const char* routine, const char* text) {
    return zeptest::lineRegex(std::string(" ***** ERROR (") + routine + ") ***  " + text);
  };
  EXPECT_EXIT(zep::cnsfld(1, 4, z, nullptr, nullptr), testing::KilledBySignal(SIGABRT),
              line("CNSFLD", "NX AND NY MUST BE AT LEAST 2."));
  EXPECT_EXIT(zep::cnsfld(2, 2, z, back, x), testing::KilledBySignal(SIGABRT),
              line("CNSFLD", "X COORDINATES ARE NOT STRICTLY MONOTONIC."));
  EXPECT_EXIT(zep::cnsfld(2, 2, z, x, back), testing::KilledBySignal(SIGABRT),
              line("CNSFLD", "Y COORDINATES ARE NOT STRICTLY MONOTONIC."));
  EXPECT_EXIT(zep::cnslvl(2, back), testing::KilledBySignal(SIGABRT),
              line("CNSLVL", "LEVELS ARE NOT STRICTLY INCREASING."));
  EXPECT_EXIT(zep::cnslvi(0, 0), testing::KilledBySignal(SIGABRT), line("CNSLVI", "THE INTERVAL IS NOT POSITIVE."));
  EXPECT_EXIT(
      {
        zep::cnsfld(2, 2, z, nullptr, nullptr);
        zep::cnslvi(1e-6F, 0);
        int n = 0;
        zep::cnqlvn(n);
      },
      testing::KilledBySignal(SIGABRT), line("CNQLVN", "MORE THAN 2000 LEVELS (CN PARAMETER MAXLEV)."));
  EXPECT_EXIT(
      {
        zep::cnsfld(2, 2, z, nullptr, nullptr);
        int n = 0;
        int lev = 0;
        bool closed{false};
        zep::cnqlni(1000, lev, n, closed);
      },
      testing::KilledBySignal(SIGABRT), line("CNQLNI", "LINE NUMBER IS OUT OF RANGE."));
  // The CN tables are parameter tables like the others: unknown names are errors.
  EXPECT_EXIT(
      {
        int v = 0;
        zep::cniget("NOSUCH", v);
      },
      testing::KilledBySignal(SIGABRT), line("CNIQID", "PARAMETER 'NOSUCH' IS NOT DEFINED."));
}

}  // namespace

// A grid that spans the circle less one step closes round it on maps only:
// the rings tile the whole circle (less the four cells of a missing point on
// column 0), lines end in pairs on the seam; a shorter span keeps its gap.
// The last case is the one whose lines are read.
TEST(ContourBands, GlobalGridsWrapRoundOnMaps) {
  const double d = M_PI / 180;
  struct Case { float x0, x1; int nx, itr; bool degrees, missing; double area; };
  const Case cases[] = {{0, 357.5F, 144, 1, true, false, 357.5 * 180},   {0, 357.5F, 144, 12, false, false, 2 * M_PI * M_PI},
                        {357.5F, 0, 144, 10, true, false, 360.0 * 180},  {0, 357.5F, 144, 31, true, true, 360.0 * 180 - 25},
                        {0, 350, 141, 12, true, false, 350.0 * 180},     {0, 357.5F, 144, 12, true, false, 360.0 * 180}};
  for (const Case& c : cases) {
    const double u = c.degrees ? 1 : d;  // U units per degree
    const std::vector<float> x = linspace(c.x0 * u, c.x1 * u, c.nx), y = linspace(-90 * u, 90 * u, 73);
    std::vector<float> z = zep::fgmesh(x, y, [&](double a, double b) {
      return std::cos(a / u * d) * std::cos(b / u * d) + 0.3 * std::sin(b / u * d);
    });
    if (c.missing) z[36 * 144] = std::numeric_limits<float>::quiet_NaN();
    zep::sglset("LDEG", c.degrees);
    zep::sgstrn(c.itr);
    zep::cnsfld(z, x, y);
    zep::cnslvi(0.25F, 0);
    double area = 0;
    for (const Ring& r : allRings()) area += signedArea(r.x, r.y);
    EXPECT_NEAR(area, c.area, 1e-6 * c.area) << "itr " << c.itr << " from " << c.x0 << " to " << c.x1;
  }
  std::multiset<std::pair<int, float>> ends[2];  // on 0 and on 360
  int stray = 0;
  for (const Line& l : allLines())
    for (std::size_t k : {std::size_t{0}, l.x.size() - 1})
      if (l.x[k] == 0 || l.x[k] == 360) ends[l.x[k] == 360].insert({l.level, l.y[k]});
      else stray += !l.closed && std::fabs(l.y[k]) != 90;
  EXPECT_EQ(stray, 0) << "line ends off the seam and the poles";
  EXPECT_FALSE(ends[0].empty());
  EXPECT_EQ(ends[0], ends[1]);
}
