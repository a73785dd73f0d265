// A whole figure against PLplot at the same page size: 10^5 line segments of
// a random walk, 200 text labels and a Mollweide graticule (meridians and
// parallels every 30 degrees, drawn as curves), to PNG and to PDF, timed from
// opening the output to the finished file.
//
//   bench_figure_vs_plplot       (BENCH_REPS, BENCH_SCALE as in bench_support.hpp)
#include <plplot.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "bench_support.hpp"

namespace {

struct Figure {
  std::vector<float> x, y;  // the walk, n + 1 points in [0, 1]
  std::vector<float> lx, ly;
  std::vector<std::string> labels;
};

Figure figure(long n) {
  bench::Random rnd(5);
  Figure f;
  double x = 0.5, y = 0.5;
  f.x.push_back(0.5F);
  f.y.push_back(0.5F);
  for (long i = 0; i < n; ++i) {
    const double a = 6.283185307 * rnd.next();
    x = std::clamp(x + 0.004 * std::cos(a), 0.0, 1.0);
    y = std::clamp(y + 0.004 * std::sin(a), 0.0, 1.0);
    f.x.push_back(static_cast<float>(x));
    f.y.push_back(static_cast<float>(y));
  }
  for (int i = 0; i < 200; ++i) {
    f.lx.push_back(static_cast<float>(0.05 + 0.9 * rnd.next()));
    f.ly.push_back(static_cast<float>(0.05 + 0.9 * rnd.next()));
    f.labels.push_back("label " + std::to_string(i));
  }
  return f;
}

enum class Format { png, pdf };

// Graticule lines in degrees: meridians every 30 and parallels every 30, each
// as a polyline of 1-degree steps (the library interpolates further itself).
void graticule(std::vector<std::vector<float>>& gx, std::vector<std::vector<float>>& gy) {
  for (int lon = -180; lon <= 180; lon += 30) {
    std::vector<float> x, y;
    for (int lat = -90; lat <= 90; ++lat) {
      x.push_back(static_cast<float>(lon));
      y.push_back(static_cast<float>(lat));
    }
    gx.push_back(x);
    gy.push_back(y);
  }
  for (int lat = -60; lat <= 60; lat += 30) {
    std::vector<float> x, y;
    for (int lon = -180; lon <= 180; ++lon) {
      x.push_back(static_cast<float>(lon));
      y.push_back(static_cast<float>(lat));
    }
    gx.push_back(x);
    gy.push_back(y);
  }
}

double library(const Figure& fig, Format f) {
  const auto start = bench::Clock::now();
  zep::gliset("MSGLEV", 3);
  zep::swiset("IFL", f == Format::png ? 1 : 4);
  zep::sgopn(2);
  zep::sgfrm();
  // Left half: the walk as segments and the labels.
  zep::sgsvpt(0.02F, 0.48F, 0.1F, 0.6F);
  zep::sgswnd(0, 1, 0, 1);
  zep::sgstrn(1);
  zep::sgstrf();
  zep::sgslni(1);
  for (std::size_t i = 0; i + 1 < fig.x.size(); ++i) zep::sglnu(fig.x[i], fig.y[i], fig.x[i + 1], fig.y[i + 1]);
  zep::sgstxs(0.01F);
  for (std::size_t i = 0; i < fig.lx.size(); ++i) zep::sgtxu(fig.lx[i], fig.ly[i], fig.labels[i]);
  // Right half: a Mollweide graticule.
  zep::sgsvpt(0.52F, 0.98F, 0.1F, 0.6F);
  zep::sgssim(0.07F, 0, 0);
  zep::sgsmpl(0, 90, 0);
  zep::sgstrn(12);
  zep::sgstrf();
  std::vector<std::vector<float>> gx, gy;
  graticule(gx, gy);
  zep::sgspli(1);
  zep::sgsplt(1);
  for (std::size_t i = 0; i < gx.size(); ++i) zep::sgplu(static_cast<int>(gx[i].size()), gx[i].data(), gy[i].data());
  zep::sgcls();
  return bench::seconds_since(start);
}

// PLplot's map transformation hook: Mollweide on degrees, as a PLplot user
// would write it (Newton's method for the auxiliary angle).
void mollweide(PLINT n, PLFLT* x, PLFLT* y) {
  for (PLINT i = 0; i < n; ++i) {
    const double lon = x[i] * M_PI / 180.0, lat = y[i] * M_PI / 180.0;
    double t = lat;
    const double target = M_PI * std::sin(lat);
    for (int k = 0; k < 20; ++k) {
      const double d = 2 + 2 * std::cos(2 * t);
      if (std::fabs(d) < 1e-12) break;
      const double step = (2 * t + std::sin(2 * t) - target) / d;
      t -= step;
      if (std::fabs(step) < 1e-9) break;
    }
    x[i] = 2 * std::sqrt(2.0) / M_PI * lon * std::cos(t);
    y[i] = std::sqrt(2.0) * std::sin(t);
  }
}

double plplot(const Figure& fig, Format f) {
  const auto start = bench::Clock::now();
  plsdev(f == Format::png ? "pngcairo" : "pdfcairo");
  plsfnam(f == Format::png ? "plplot.png" : "plplot.pdf");
  plspage(0, 0, 842, 595, 0, 0);
  plscolbg(255, 255, 255);
  plinit();
  pladv(0);
  plscol0(1, 0, 0, 0);
  plcol0(1);
  plvpor(0.02, 0.48, 0.1, 0.6);
  plwind(0, 1, 0, 1);
  for (std::size_t i = 0; i + 1 < fig.x.size(); ++i) {
    const PLFLT x[2] = {fig.x[i], fig.x[i + 1]}, y[2] = {fig.y[i], fig.y[i + 1]};
    plline(2, x, y);
  }
  plschr(0, 0.5);
  for (std::size_t i = 0; i < fig.lx.size(); ++i) plptex(fig.lx[i], fig.ly[i], 1, 0, 0.5, fig.labels[i].c_str());
  plvpor(0.52, 0.98, 0.1, 0.6);
  plwind(-2.9, 2.9, -1.45, 1.45);
  plmeridians(mollweide, 30, 30, -180, 180, -90, 90);
  plend();
  return bench::seconds_since(start);
}

}  // namespace

int main() {
  const Figure fig = figure(bench::scaled(100000));
  bench::row("whole figure, PNG", bench::alternate([&] { return library(fig, Format::png); },
                                                   [&] { return plplot(fig, Format::png); }),
             "PLplot pngcairo", 0.9);
  bench::row("whole figure, PDF", bench::alternate([&] { return library(fig, Format::pdf); },
                                                   [&] { return plplot(fig, Format::pdf); }),
             "PLplot pdfcairo", 0.9);
  return 0;
}
