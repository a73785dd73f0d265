// Map projection functions against PROJ on the unit sphere: the same 10^6
// points (longitude, latitude in radians) through the library's forward
// function and through proj_trans_generic, and the largest difference between
// the two results (Mollweide is also checked near the poles).
//
//   bench_projections_vs_proj    (BENCH_REPS, BENCH_SCALE as in bench_support.hpp)
#include <proj.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "bench_support.hpp"

namespace {

using Forward = void (*)(float, float, float&, float&);

struct Points {
  std::vector<float> lon, lat;
  std::vector<double> dlon, dlat;
};

Points points(long n, double latmin, double latmax) {
  bench::Random rnd(7);
  Points p;
  for (long i = 0; i < n; ++i) {
    const double lon = -3.14159 + 6.28318 * rnd.next();
    const double lat = latmin + (latmax - latmin) * rnd.next();
    p.lon.push_back(static_cast<float>(lon));
    p.lat.push_back(static_cast<float>(lat));
    p.dlon.push_back(static_cast<float>(lon));
    p.dlat.push_back(static_cast<float>(lat));
  }
  return p;
}

struct Case {
  const char* name;
  Forward forward;
  const char* proj;
  double latmin, latmax;
  bool comparable;  // same plane orientation and scale as PROJ's definition
};

double library(const Points& p, Forward f, std::vector<float>& x, std::vector<float>& y) {
  const auto start = bench::Clock::now();
  const std::size_t n = p.lon.size();
  for (std::size_t i = 0; i < n; ++i) f(p.lon[i], p.lat[i], x[i], y[i]);
  return bench::seconds_since(start);
}

double proj(const Points& p, PJ* pj, std::vector<double>& x, std::vector<double>& y) {
  x = p.dlon;
  y = p.dlat;
  const auto start = bench::Clock::now();
  proj_trans_generic(pj, PJ_FWD, x.data(), sizeof(double), x.size(), y.data(), sizeof(double), y.size(),
                     nullptr, 0, 0, nullptr, 0, 0);
  return bench::seconds_since(start);
}

double largestDifference(const std::vector<float>& x, const std::vector<float>& y, const std::vector<double>& px,
                         const std::vector<double>& py) {
  double worst = 0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    if (!std::isfinite(px[i]) || !std::isfinite(py[i])) continue;
    worst = std::max(worst, std::max(std::fabs(x[i] - px[i]), std::fabs(y[i] - py[i])));
  }
  return worst;
}

}  // namespace

int main() {
  zep::mpscoc(0.5F, 1.0F);
  const long n = bench::scaled(1000000);
  const Case cases[] = {
      {"Mollweide", zep::mpfmwd, "+proj=moll +R=1", -1.5707, 1.5707, true},
      {"Hammer", zep::mpfhmr, "+proj=hammer +R=1", -1.5707, 1.5707, true},
      {"orthographic", zep::mpfotg, "+proj=ortho +lat_0=90 +R=1", 0.01, 1.5707, false},
      {"conformal conic", zep::mpfcoc, "+proj=lcc +lat_1=28.65 +lat_2=57.3 +lat_0=90 +R=1", -0.5, 1.5, false},
      {"polar stereographic", zep::mpfpst, "+proj=stere +lat_0=90 +R=1", -1.3, 1.5707, false},
  };
  PJ_CONTEXT* ctx = proj_context_create();
  for (const Case& c : cases) {
    PJ* pj = proj_create(ctx, c.proj);
    if (!pj) {
      std::fprintf(stderr, "bench_projections_vs_proj: PROJ cannot make \"%s\"\n", c.proj);
      return 1;
    }
    const Points p = points(n, c.latmin, c.latmax);
    std::vector<float> x(p.lon.size()), y(p.lon.size());
    std::vector<double> px, py;
    const bench::Result r = bench::alternate([&] { return library(p, c.forward, x, y); },
                                             [&] { return proj(p, pj, px, py); });
    bench::row(std::string(c.name) + " forward, 1e6 points", r, "PROJ proj_trans", 1.0);
    if (c.comparable)
      std::printf("NOTE|%s: largest difference from PROJ %.2g\n", c.name, largestDifference(x, y, px, py));
    proj_destroy(pj);
  }

  // Mollweide near the poles, where the auxiliary angle converges slowest.
  PJ* moll = proj_create(ctx, "+proj=moll +R=1");
  double worst = 0, where = 0;
  for (int i = 0; i < 2000; ++i) {
    const double lat = (89.0 + i * 0.0005) * M_PI / 180.0;
    for (double lon : {-3.09, -1.0, 0.5, 3.09}) {
      float x = 0, y = 0;
      zep::mpfmwd(static_cast<float>(lon), static_cast<float>(lat), x, y);
      PJ_COORD c = proj_coord(static_cast<float>(lon), static_cast<float>(lat), 0, 0);
      c = proj_trans(moll, PJ_FWD, c);
      const double d = std::max(std::fabs(x - c.xy.x), std::fabs(y - c.xy.y));
      if (d > worst) {
        worst = d;
        where = lat * 180.0 / M_PI;
      }
    }
  }
  std::printf("NOTE|Mollweide above 89 degrees: largest difference from PROJ %.2g (at latitude %.3f)\n", worst,
              where);
  proj_destroy(moll);
  proj_context_destroy(ctx);
  return 0;
}
