// A page of everyday charts (error bars on 2·10^4 points, a histogram of 10^6
// values in 100 bins, 2000 bars, a step line and a filled area of 10^5 points
// each) written to PNG by this library and by matplotlib (the Debian package
// python3-matplotlib, a baseline only: the library never uses Python), both in
// this run. Rows: the drawing and writing alone (matplotlib's timed inside its
// process, after its import), and whole processes.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "bench_support.hpp"

namespace {

const long kPoints = bench::scaled(100000), kErrors = bench::scaled(20000), kValues = bench::scaled(1000000),
           kBars = bench::scaled(2000);

// The same data as the Python side: a hash of the index in [0, 1).
double hash(long i) {
  const double v = std::sin(static_cast<double>(i) * 12.9898) * 43758.5453;
  return v - std::floor(v);
}

void frame(float x0, float x1, float y0, float y1, float vx0, float vx1, float vy0, float vy1) {
  zep::sgsvpt(vx0, vx1, vy0, vy1);
  zep::sgswnd(x0, x1, y0, y1);
  zep::sgstrn(1);
  zep::sgstrf();
  zep::axpfrm();
}

// The whole page, to charts_0001.png in the working directory.
double drawPage() {
  std::vector<float> ex(kErrors), ey(kErrors), ee(kErrors), hv(kValues), bx(kBars), bh(kBars), sx(kPoints),
      sy(kPoints), sy2(kPoints);
  for (long i = 0; i < kErrors; ++i) {
    ex[i] = static_cast<float>(i) / kErrors;
    ey[i] = std::sin(6.0F * ex[i]);
    ee[i] = 0.05F + 0.1F * static_cast<float>(hash(i));
  }
  // Sum of three uniforms: a bell over [0, 3).
  for (long i = 0; i < kValues; ++i) hv[i] = static_cast<float>(hash(3 * i) + hash(3 * i + 1) + hash(3 * i + 2));
  for (long i = 0; i < kBars; ++i) {
    bx[i] = static_cast<float>(i);
    bh[i] = static_cast<float>(1 + hash(7 * i));
  }
  for (long i = 0; i < kPoints; ++i) {
    sx[i] = static_cast<float>(i) / kPoints;
    sy[i] = static_cast<float>(hash(5 * i));
    sy2[i] = sy[i] + 0.5F;
  }
  const auto t0 = bench::Clock::now();
  zep::gliset("MSGLEV", 2);
  zep::swiset("IFL", 1);
  zep::swcset("FNAME", "charts");
  zep::sgopn(2);
  zep::sgfrm();
  frame(0, 1, -1.5F, 1.5F, 0.05F, 0.45F, 0.55F, 0.95F);
  zep::chebry(static_cast<int>(kErrors), ex.data(), ey.data(), ee.data(), nullptr, 21);
  std::vector<float> edges(101), counts(100);
  zep::chqbin(static_cast<int>(kValues), hv.data(), 100, edges.data());
  zep::chqhst(static_cast<int>(kValues), hv.data(), 100, edges.data(), counts.data());
  float top = 0;
  for (const float c : counts) top = std::max(top, c);
  frame(0, 3, 0, 1.05F * top, 0.55F, 0.95F, 0.55F, 0.95F);
  zep::chhist(static_cast<int>(kValues), hv.data(), 100, edges.data(), 3999, 1);
  frame(-1, static_cast<float>(kBars), 0, 2.1F, 0.05F, 0.45F, 0.05F, 0.45F);
  zep::chbars("V", static_cast<int>(kBars), bx.data(), bh.data(), nullptr, 0.8F, 4999, 0);
  frame(0, 1, 0, 1.6F, 0.55F, 0.95F, 0.05F, 0.45F);
  zep::chfilb(static_cast<int>(kPoints), sx.data(), sy.data(), sy2.data(), 5999);
  zep::chstep(static_cast<int>(kPoints), sx.data(), sy.data(), "POST", 1, 1);
  zep::sgcls();
  return bench::seconds_since(t0);
}

const char* kScript = R"PY(
import sys, time
t_start = time.perf_counter()
import numpy as np
import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt
P, E, V, B = (int(a) for a in sys.argv[1:5])
h = lambda i: (np.sin(i * 12.9898) * 43758.5453) % 1.0
ex = np.arange(E) / E; ey = np.sin(6 * ex); ee = 0.05 + 0.1 * h(np.arange(E))
i = np.arange(V); hv = h(3 * i) + h(3 * i + 1) + h(3 * i + 2)
bx = np.arange(B); bh = 1 + h(7 * bx)
sx = np.arange(P) / P; sy = h(5 * np.arange(P)); sy2 = sy + 0.5
t0 = time.perf_counter()
fig, ax = plt.subplots(2, 2, figsize=(9.04, 6.54), dpi=100)
ax[0, 0].errorbar(ex, ey, yerr=ee, capsize=2, linestyle="none")
ax[0, 1].hist(hv, bins=100)
ax[1, 0].bar(bx, bh, width=0.8)
ax[1, 1].fill_between(sx, sy, sy2)
ax[1, 1].step(sx, sy, where="post")
fig.savefig("charts_mpl.png")
t1 = time.perf_counter()
print("%.6f %.6f" % (t1 - t0, t1 - t_start))
)PY";

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--page") {
    drawPage();
    return 0;
  }
  const char* python = "/usr/bin/python3";
  if (std::system("/usr/bin/python3 -c 'import matplotlib, numpy' 2>/dev/null") != 0) {
    std::printf("NOTE|charts: matplotlib is missing (apt-get install python3-matplotlib); no comparison\n");
    return 0;
  }
  {
    std::ofstream("charts_mpl.py") << kScript;
  }
  const std::string args = " " + std::to_string(kPoints) + " " + std::to_string(kErrors) + " " +
                           std::to_string(kValues) + " " + std::to_string(kBars);
  double mplDraw = 0, mplWhole = 0;
  const auto matplotlib = [&] {
    const auto t0 = bench::Clock::now();
    FILE* p = ::popen((std::string(python) + " charts_mpl.py" + args).c_str(), "r");
    double draw = 0, inner = 0;
    if (p == nullptr || std::fscanf(p, "%lf %lf", &draw, &inner) != 2) draw = 0;
    if (p != nullptr) ::pclose(p);
    mplWhole = bench::seconds_since(t0);
    mplDraw = draw;
  };
  char self[4096] = {};
  const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  const std::string page = std::string(n > 0 ? self : argv[0]) + " --page";
  const bench::Result drawing = bench::alternate(drawPage, [&] {
    matplotlib();
    return mplDraw;
  });
  bench::row("charts page to PNG (drawing and writing)", drawing, "matplotlib 3.6 Agg", 1.0);
  const bench::Result whole = bench::alternate(
      [&] {
        const auto t0 = bench::Clock::now();
        if (std::system(page.c_str()) != 0) return 0.0;
        return bench::seconds_since(t0);
      },
      [&] {
        matplotlib();
        return mplWhole;
      });
  bench::row("charts page to PNG (whole process)", whole, "matplotlib 3.6 Agg", 1.0);
  return 0;
}
