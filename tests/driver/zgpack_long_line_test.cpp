// Long polylines on image pages are stroked in pieces: the page must look as
// one stroke of the whole line does (cuts included), and the time must grow
// linearly with the number of points.
#include <chrono>
#include <cmath>
#include <vector>

#include "zgpack_test_util.hpp"

namespace {

using namespace zgtest;
using zeptest::TempWorkDir;

struct Points {
  std::vector<double> x, y;
};

// A wave across the page with a little noise: it never crosses itself, so a
// single stroke of it is the exact answer for every pixel.
Points wave(int n) {
  Points p;
  unsigned state = 12345;
  for (int i = 0; i < n; ++i) {
    state = state * 1664525u + 1013904223u;
    const double t = static_cast<double>(i) / (n - 1);
    p.x.push_back(50 + 800 * t);
    p.y.push_back(325 + 220 * std::sin(20 * t) + 0.8 * (state >> 8) / 16777216.0);
  }
  return p;
}

// A noisy series over most of the page's height: every segment crosses many
// others, which makes one stroke of it cost the square of its length.
Points noisy(int n) {
  Points p;
  unsigned state = 777;
  for (int i = 0; i < n; ++i) {
    state = state * 1664525u + 1013904223u;
    p.x.push_back(50 + 800.0 * i / (n - 1));
    p.y.push_back(100 + 450.0 * (state >> 8) / 16777216.0);
  }
  return p;
}

void polyline(const Points& p, int width) {
  zep::zgswdi(width);
  zep::zgscli(1);
  zep::zggopn();
  zep::zggmov(p.x[0], p.y[0]);
  for (std::size_t i = 1; i < p.x.size(); ++i) zep::zggplt(p.x[i], p.y[i]);
  zep::zggcls();
}

TEST(ZgpackLongLines, PiecesLookLikeOneStroke) {
  TempWorkDir dir;
  Opts o;
  o.ifl = 1;
  open(o);
  zep::zgpopn();
  zep::zgpcls();  // a blank page: the ground the oracle draws on
  const Points p = wave(6000);
  zep::zgpopn();
  polyline(p, 5);
  const double width = zep::zgstate().linewidth[4] * zep::zgstate().dlnscale;
  std::vector<double> xs, ys;
  for (std::size_t i = 0; i < p.x.size(); ++i) {
    xs.push_back(zep::zgxs(p.x[i]));
    ys.push_back(zep::zgys(p.y[i]));
  }
  zep::zgpcls();
  zep::zgdcls();

  // The same line as one cairo stroke on the blank page.
  cairo_surface_t* want = cairo_image_surface_create_from_png("zep_0001.png");
  cairo_t* cr = cairo_create(want);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_BEVEL);
  cairo_move_to(cr, xs[0], ys[0]);
  for (std::size_t i = 1; i < xs.size(); ++i) cairo_line_to(cr, xs[i], ys[i]);
  cairo_stroke(cr);
  cairo_destroy(cr);
  Png oracle(want);
  Png got("zep_0002.png");
  ASSERT_TRUE(got.ok());
  ASSERT_EQ(got.width(), oracle.width());
  int worst = 0, ink = 0;
  for (int y = 0; y < got.height(); ++y)
    for (int x = 0; x < got.width(); ++x) {
      const std::uint32_t a = got.pixel(x, y), b = oracle.pixel(x, y);
      ink += a != 0xffffffu;
      for (int sh : {0, 8, 16})
        worst = std::max(worst, std::abs(static_cast<int>((a >> sh) & 0xff) - static_cast<int>((b >> sh) & 0xff)));
    }
  EXPECT_GT(ink, 10000);
  // Rounding of the pieces' coverage: at most a step or two, nowhere a seam.
  EXPECT_LE(worst, 3);
}

double secondsFor(const Points& p) {
  double best = 1e30;
  for (int run = 0; run < 2; ++run) {
    zep::zgpopn();
    const auto start = std::chrono::steady_clock::now();
    polyline(p, 1);
    zep::zgflushstroke();
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    zep::zgpcls();
  }
  return best;
}

TEST(ZgpackLongLines, TimeGrowsLinearlyWithTheLength) {
  TempWorkDir dir;
  Opts o;
  o.ifl = 1;
  o.lsep = true;
  open(o);
  const double small = secondsFor(noisy(2500)), large = secondsFor(noisy(20000));
  zep::zgdcls();
  // Eight times the points: linear is 8, the square of it 64.
  EXPECT_LT(large / small, 20.0) << small << " s, " << large << " s";
}

}  // namespace
