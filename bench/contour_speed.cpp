// How long contour lines and filled bands take to compute (nothing is drawn) for
// an n x n field and a number of levels: the field is given, levels chosen,
// lines or band rings computed, best of several runs.
//
//   bench_contour_speed [n] [levels] [kind] [dump-prefix]
//
// kind "smooth" (default) is a sum of waves and Gaussians; "rough" adds a
// high-frequency ripple that crosses many levels in many cells. With a dump
// prefix the field (prefix.z, n*n float32, row-major), its coordinates and the
// levels (prefix.lev, float32) are written so that another program can contour
// the very same data.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <zep/zep.hpp>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

float field(double x, double y, bool rough) {
  double v = std::sin(3 * x) * std::cos(2 * y) + 1.5 * std::exp(-8 * ((x - 0.3) * (x - 0.3) + (y + 0.2) * (y + 0.2))) -
             std::exp(-5 * ((x + 0.6) * (x + 0.6) + (y - 0.5) * (y - 0.5)));
  if (rough) v += 0.15 * std::sin(97.0 * x + 13.0 * y) * std::cos(71.0 * y - 29.0 * x);
  return static_cast<float>(v);
}

bool write(const std::string& path, const std::vector<float>& v) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool ok = std::fwrite(v.data(), sizeof(float), v.size(), f) == v.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::max(2, std::atoi(argv[1])) : 1000;
  const int nlev = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
  const bool rough = argc > 3 && std::string(argv[3]) == "rough";
  const std::string dump = argc > 4 ? argv[4] : "";
  const int runs = 5;

  std::vector<float> x(static_cast<std::size_t>(n)), y(static_cast<std::size_t>(n)), z;
  for (int i = 0; i < n; ++i) x[static_cast<std::size_t>(i)] = y[static_cast<std::size_t>(i)] = -1.0F + 2.0F * static_cast<float>(i) / static_cast<float>(n - 1);
  z.reserve(static_cast<std::size_t>(n) * static_cast<std::size_t>(n));
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) z.push_back(field(x[static_cast<std::size_t>(i)], y[static_cast<std::size_t>(j)], rough));
  const auto [lo, hi] = std::minmax_element(z.begin(), z.end());
  // Evenly spaced levels strictly inside the range.
  std::vector<float> levels;
  for (int k = 1; k <= nlev; ++k) levels.push_back(*lo + (*hi - *lo) * static_cast<float>(k) / static_cast<float>(nlev + 1));

  if (!dump.empty()) {
    if (!write(dump + ".z", z) || !write(dump + ".x", x) || !write(dump + ".lev", levels)) {
      std::fprintf(stderr, "cannot write %s.*\n", dump.c_str());
      return 1;
    }
  }

  double bestLines = 1e30, bestBands = 1e30;
  int lines = 0, rings = 0;
  long long linePoints = 0, ringPoints = 0;
  for (int r = 0; r < runs; ++r) {
    auto t0 = Clock::now();
    zep::cnsfld(n, n, z.data(), x.data(), y.data());
    zep::cnslvl(nlev, levels.data());
    zep::cnmkln();
    bestLines = std::min(bestLines, seconds(t0));
    t0 = Clock::now();
    zep::cnsfld(n, n, z.data(), x.data(), y.data());
    zep::cnslvl(nlev, levels.data());
    zep::cnmkbd();
    bestBands = std::min(bestBands, seconds(t0));
  }
  zep::cnsfld(n, n, z.data(), x.data(), y.data());
  zep::cnslvl(nlev, levels.data());
  zep::cnqlnn(lines);
  zep::cnqbdn(rings);
  for (int i = 1; i <= lines; ++i) {
    int level = 0, np = 0;
    bool closed = false;
    zep::cnqlni(i, level, np, closed);
    linePoints += np;
  }
  for (int i = 1; i <= rings; ++i) {
    int band = 0, np = 0;
    zep::cnqbdi(i, band, np);
    ringPoints += np;
  }
  std::printf("zep %dx%d %s field, %d levels: lines %.2f ms (%d polylines, %lld points), "
              "bands %.2f ms (%d bands, %d rings, %lld points)\n",
              n, n, rough ? "rough" : "smooth", nlev, bestLines * 1e3, lines, linePoints, bestBands * 1e3, nlev + 1,
              rings, ringPoints);
  std::printf("zep_lines_ms %.3f\nzep_bands_ms %.3f\n", bestLines * 1e3, bestBands * 1e3);
  return 0;
}
