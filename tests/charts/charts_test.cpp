// Charts against hand-worked answers: error-bar ends and caps, step corners,
// histogram counts and bar heights, grouped and stacked bars, chosen markers
// (recorded workstation calls), filled areas measured in pixels, and the reports
// for bad arguments.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "support/drawn_paths.hpp"
#include "support/png_page.hpp"
#include "support/test_support.hpp"

namespace {

using zeptest::Box;
using zeptest::Path;

// A recorded frame with viewport 0.2 .. 0.8 and window [0, 10] x [y0, y1]: U x
// lands on W x = 255 + 39 x, and on a linear y axis U y on W y = 130 + 39 (y - y0) * 10 / (y1 - y0).
void recordedFrame(float y0 = 0, float y1 = 10, int itr = 1) {
  zeptest::openRecordedSession();
  zep::sgsvpt(0.2F, 0.8F, 0.2F, 0.8F);
  zep::sgswnd(0, 10, y0, y1);
  zep::sgstrn(itr);
  zep::sgstrf();
  zeptest::driverLog().clear();
}

double wx(double ux) { return 255 + 39 * ux; }
double wy(double uy) { return 130 + 39 * uy; }

// "" when the recorded pieces are these segments or outlines (W, within 0.06).
std::string expectPieces(const std::vector<Path>& want) {
  const std::vector<Path> got = zeptest::drawnPaths();
  std::string out;
  if (got.size() != want.size()) out += "pieces " + std::to_string(got.size()) + " want " + std::to_string(want.size()) + "\n";
  for (std::size_t i = 0; i < std::min(got.size(), want.size()); ++i) {
    bool same = got[i].size() == want[i].size();
    for (std::size_t k = 0; same && k < got[i].size(); ++k)
      same = std::fabs(got[i][k][0] - want[i][k][0]) < 0.06 && std::fabs(got[i][k][1] - want[i][k][1]) < 0.06;
    if (same) continue;
    out += "piece " + std::to_string(i) + ":";
    for (const auto& p : got[i]) out += " (" + std::to_string(p[0]) + "," + std::to_string(p[1]) + ")";
    out += "\n";
  }
  return out;
}

// "" when the recorded outlines have these boxes in U (x0, x1, y0, y1), in order.
std::string expectBoxes(const std::vector<Box>& want) {
  const std::vector<Path> got = zeptest::drawnPaths();
  std::string out;
  if (got.size() != want.size()) out += "bars " + std::to_string(got.size()) + " want " + std::to_string(want.size()) + "\n";
  for (std::size_t i = 0; i < std::min(got.size(), want.size()); ++i) {
    const Box b = zeptest::boxOf(got[i]);
    const Box u{(b.x0 - 255) / 39, (b.x1 - 255) / 39, (b.y0 - 130) / 39, (b.y1 - 130) / 39};
    const Box& w = want[i];
    if (std::fabs(u.x0 - w.x0) > 0.002 || std::fabs(u.x1 - w.x1) > 0.002 || std::fabs(u.y0 - w.y0) > 0.002 ||
        std::fabs(u.y1 - w.y1) > 0.002)
      out += "bar " + std::to_string(i) + ": x " + std::to_string(u.x0) + ".." + std::to_string(u.x1) + " y " +
             std::to_string(u.y0) + ".." + std::to_string(u.y1) + "\n";
  }
  return out;
}

TEST(Charts, ErrorBarEndsAndCapsLieAtTheGivenValues) {
  ZEP_EXPECT_ISOLATED([] {
    std::string f;
    recordedFrame();
    zep::chrset("RCAP", 0.04F);  // 26 workstation units
    const float x[] = {5}, y[] = {5}, lo[] = {1}, hi[] = {2};
    zep::chebry(1, x, y, lo, hi, 1);  // 4 .. 7, not symmetric
    f += expectPieces({{{450, 286}, {450, 403}}, {{437, 286}, {463, 286}}, {{437, 403}, {463, 403}}});
    zeptest::driverLog().clear();
    const float x2[] = {2}, y2[] = {8}, e[] = {0.5F};
    zep::chebrx(1, x2, y2, e, nullptr, 1);  // 1.5 .. 2.5, symmetric
    f += expectPieces({{{313.5, 442}, {352.5, 442}}, {{313.5, 429}, {313.5, 455}}, {{352.5, 429}, {352.5, 455}}});
    // Caps off; a missing point gets no bar.
    zeptest::driverLog().clear();
    zep::chrset("RCAP", 0.0F);
    const float x3[] = {5, NAN}, y3[] = {5, 5}, e3[] = {1, 1};
    zep::chebry(2, x3, y3, e3, nullptr, 1);
    f += expectPieces({{{450, 286}, {450, 364}}});
    return f;
  });
}

TEST(Charts, ErrorBarsOnALogAxisStopAtTheWindowEndNearestZero) {
  ZEP_EXPECT_ISOLATED([] {
    recordedFrame(1, 100, 2);  // log y: 1 at W 130, 10 at 325, 100 at 520
    zep::chrset("RCAP", 0.0F);
    const float x[] = {5}, y[] = {10}, lo[] = {9.5F}, hi[] = {90};
    zep::chebry(1, x, y, lo, hi, 1);  // 0.5 lies below the window and is drawn there (LCLIP is off)
    std::string f = expectPieces({{{450, 130 + 195 * std::log10(0.5)}, {450, 520}}});
    // 10 - 10 = 0 has no place on a log axis: the bar runs to the window's end.
    const float lo2[] = {10};
    zeptest::driverLog().clear();
    zep::chebry(1, x, y, lo2, hi, 1);
    f += expectPieces({{{450, 130}, {450, 520}}});
    return f;
  });
}

TEST(Charts, StepLinesTurnBeforeAfterOrHalfwayAndBreakAtMissingPoints) {
  ZEP_EXPECT_ISOLATED([] {
    std::string f;
    recordedFrame();
    const float x[] = {0, 1, 2}, y[] = {0, 1, 0};
    zep::chstep(3, x, y, "POST", 1, 1);
    f += expectPieces({{{wx(0), wy(0)}, {wx(1), wy(0)}, {wx(1), wy(1)}, {wx(2), wy(1)}, {wx(2), wy(0)}}});
    zeptest::driverLog().clear();
    zep::chstep(3, x, y, "pre", 1, 1);
    f += expectPieces({{{wx(0), wy(0)}, {wx(0), wy(1)}, {wx(1), wy(1)}, {wx(1), wy(0)}, {wx(2), wy(0)}}});
    zeptest::driverLog().clear();
    zep::chstep(3, x, y, "MID", 1, 1);
    f += expectPieces({{{wx(0), wy(0)},
                        {wx(0.5), wy(0)},
                        {wx(0.5), wy(1)},
                        {wx(1), wy(1)},
                        {wx(1.5), wy(1)},
                        {wx(1.5), wy(0)},
                        {wx(2), wy(0)}}});
    zeptest::driverLog().clear();
    const float x4[] = {0, 1, 2, 3, 4}, y4[] = {0, 1, NAN, 2, 3};
    zep::chstep(5, x4, y4, "POST", 1, 1);
    f += expectPieces({{{wx(0), wy(0)}, {wx(1), wy(0)}, {wx(1), wy(1)}}, {{wx(3), wy(2)}, {wx(4), wy(2)}, {wx(4), wy(3)}}});
    return f;
  });
}

TEST(Charts, HistogramCountsAndBarHeightsOfAHandMadeSample) {
  ZEP_EXPECT_ISOLATED([] {
    std::string f;
    recordedFrame();
    zep::gllset("LMISS", true);
    // Bins [0,1) [1,2) [2,3]: 3 belongs to the last bin, -1 and 3.5 to none, RMISS and NaN are missing.
    const float x[] = {0.5F, 1.5F, 1.5F, 2.5F, 2.5F, 2.5F, 3.0F, -1.0F, 3.5F, 999.0F, NAN, 0.0F};
    const float edges[] = {0, 1, 2, 3};
    float c[3] = {};
    zep::chqhst(12, x, 3, edges, c);
    if (c[0] != 2 || c[1] != 2 || c[2] != 4) f += "counts " + std::to_string(c[0]) + " " + std::to_string(c[1]) + " " + std::to_string(c[2]) + "\n";
    zep::chlset("LDENS", true);
    const float wide[] = {0, 1, 3};
    zep::chqhst(12, x, 2, wide, c);  // 2 of 8 in width 1, 6 of 8 in width 2
    if (std::fabs(c[0] - 0.25F) > 1e-6F || std::fabs(c[1] - 0.375F) > 1e-6F) f += "density\n";
    zep::chlset("LDENS", false);
    zep::chhist(12, x, 3, edges, 0, 1);
    f += expectBoxes({{0, 1, 0, 2}, {1, 2, 0, 2}, {2, 3, 0, 4}});
    // Stacked: the second sample's bars stand on the first's; an empty part draws nothing.
    zeptest::driverLog().clear();
    const float both[] = {0.5F, 1.5F, 1.5F, 2.5F, 2.5F};
    const int nval[] = {2, 3}, tones[] = {0, 0};
    zep::chhsst(2, nval, both, 3, edges, tones, 1);
    f += expectBoxes({{0, 1, 0, 1}, {1, 2, 0, 1}, {1, 2, 1, 2}, {2, 3, 0, 2}});
    return f;
  });
}

TEST(Charts, AutomaticBinsAgreeWithNumpy) {
  ZEP_EXPECT_ISOLATED([] {
    // x_i = (i^2 mod 101) / 7 for i = 0 .. 199; numpy 1.24's histogram_bin_edges(x, "auto")
    // gives 9 bins from 0 to 100/7.
    std::vector<float> x;
    for (int i = 0; i < 200; ++i) x.push_back(static_cast<float>(i * i % 101) / 7.0F);
    int nbin = 0;
    zep::chqnbn(200, x.data(), nbin);
    std::vector<float> edges(static_cast<std::size_t>(nbin) + 1);
    zep::chqbin(200, x.data(), nbin, edges.data());
    std::string f;
    if (nbin != 9) f += "bins " + std::to_string(nbin) + "\n";
    if (edges.front() != 0 || std::fabs(edges.back() - 100.0F / 7) > 1e-5F) f += "range\n";
    // All values alike: one bin of width 1 around them.
    const float same[] = {2, 2, 2};
    zep::chqnbn(3, same, nbin);
    float e[2] = {};
    zep::chqbin(3, same, 1, e);
    if (nbin != 1 || e[0] != 1.5F || e[1] != 2.5F) f += "one value\n";
    return f;
  });
}

TEST(Charts, GroupedStackedAndHorizontalBars) {
  ZEP_EXPECT_ISOLATED([] {
    recordedFrame();
    const float u[] = {2}, v[] = {3, 5};
    const int tones[] = {0, 0};
    zep::chbrgp("V", 1, 2, u, v, 2, tones, 1);  // RGROUP 0.8 of 2: two bars 0.8 wide around 2
    std::string f = expectBoxes({{1.2F, 2, 0, 3}, {2, 2.8F, 0, 5}});
    zeptest::driverLog().clear();
    const float at[] = {6}, parts[] = {3, 4};
    zep::chbrsk("H", 1, 2, at, parts, 1, tones, 1);
    f += expectBoxes({{0, 3, 5.5F, 6.5F}, {3, 7, 5.5F, 6.5F}});
    zeptest::driverLog().clear();
    const float p[] = {8}, top[] = {9}, base[] = {4};
    zep::chbars("V", 1, p, top, base, 1, 0, 1);
    f += expectBoxes({{7.5F, 8.5F, 4, 9}});
    return f;
  });
}

TEST(Charts, MarkersOnEveryNthPointAndOnListedPoints) {
  ZEP_EXPECT_ISOLATED([] {
    recordedFrame();
    std::vector<float> x, y;
    for (int i = 0; i < 10; ++i) {
      x.push_back(static_cast<float>(i));
      y.push_back(static_cast<float>(i));
    }
    // Square markers (type 6) are closed outlines centred on their points.
    const auto centres = [] {
      std::vector<double> out;
      for (const Path& p : zeptest::drawnPaths()) {
        const Box b = zeptest::boxOf(p);
        out.push_back(((b.x0 + b.x1) / 2 - 255) / 39);
      }
      return out;
    };
    const auto same = [](const std::vector<double>& got, const std::vector<double>& want) {
      if (got.size() != want.size()) return false;
      for (std::size_t i = 0; i < got.size(); ++i)
        if (std::fabs(got[i] - want[i]) > 0.01) return false;
      return true;
    };
    std::string f;
    zep::chmkev(10, x.data(), y.data(), 3, 2, 6, 1, 0.02F);
    if (!same(centres(), {1, 4, 7})) f += "every third from the second\n";
    zeptest::driverLog().clear();
    const int idx[] = {10, 1};
    zep::chmkix(10, x.data(), y.data(), 2, idx, 6, 1, 0.02F);
    if (!same(centres(), {9, 0})) f += "listed points\n";
    return f;
  });
}

// Pixels of one colour inside the viewport 0.2 .. 0.8 of a PNG page.
int colouredPixels(const zeptest::Png& png, std::uint32_t rgb) {
  return zeptest::countPixels(png, rgb, zeptest::pagePx(0.2), zeptest::pagePy(0.8), zeptest::pagePx(0.8),
                              zeptest::pagePy(0.2));
}

TEST(Charts, FilledAreasBetweenCrossingCurvesAndDownToAValue) {
  ZEP_EXPECT_ISOLATED([] {
    const auto frame = [] {
      zep::sgsvpt(0.2F, 0.8F, 0.2F, 0.8F);
      zep::sgswnd(0, 1, 0, 1);
      zep::sgstrn(1);
      zep::sgstrf();
    };
    // y = x and y = 1 - x cross at 0.5: two triangles of area 1/4 each, of the 390 x 390 pixel viewport.
    std::uint32_t colour = 0;
    std::string f = zeptest::onPngPage(
        "charts_fill_between",
        [&] {
          frame();
          const float x[] = {0, 1}, a[] = {0, 1}, b[] = {1, 0};
          zep::chfilb(2, x, a, b, 2999);
        },
        [&](const zeptest::Png& png) {
          colour = png.pixel(zeptest::pagePx(0.3), zeptest::pagePy(0.5));
          const double want = 0.5 * 390 * 390, got = colouredPixels(png, colour);
          return std::fabs(got - want) < 0.02 * want ? std::string() : "between: " + std::to_string(got) + "\n";
        });
    // A curve above a level beyond the window: clipped to the viewport, the fill covers
    // everything under y = 0.75.
    f += zeptest::onPngPage(
        "charts_fill_level",
        [&] {
          zep::sglset("LCLIP", true);
          frame();
          const float x[] = {0, 1}, y[] = {0.75F, 0.75F};
          zep::chfilv(2, x, y, -5, 2999);
        },
        [&](const zeptest::Png& png) {
          const double want = 0.75 * 390 * 390, got = colouredPixels(png, colour);
          const bool outside = png.pixel(zeptest::pagePx(0.5), zeptest::pagePy(0.1)) == colour;
          return std::fabs(got - want) < 0.02 * want && !outside ? std::string() : "level: " + std::to_string(got) + "\n";
        });
    return f;
  });
}

TEST(Charts, BadArgumentsAreReported) {
  const float x[] = {1, 2}, y[] = {1, 2}, e[] = {0.1F, -0.1F};
  EXPECT_EXIT(zep::chebry(2, x, y, e, nullptr, 1), testing::KilledBySignal(SIGABRT),
              zeptest::lineRegex(" ***** ERROR (CHEBRY) ***  ERROR BAR EXTENT IS NEGATIVE."));
  EXPECT_EXIT(zep::chstep(2, x, y, "LEFT", 1, 1), testing::KilledBySignal(SIGABRT),
              zeptest::lineRegex(" ***** ERROR (CHSTEP) ***  STEP POSITION IS INVALID (PRE, POST OR MID)."));
  const float bad[] = {0, 2, 1};
  float c[2];
  EXPECT_EXIT(zep::chqhst(2, x, 2, bad, c), testing::KilledBySignal(SIGABRT),
              zeptest::lineRegex(" ***** ERROR (CHQHST) ***  BIN EDGES ARE NOT FINITE AND INCREASING."));
}

}  // namespace
