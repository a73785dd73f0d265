// A scatter of 10^5 markers coloured by a value per point, with a frame and a
// colour bar, drawn to PNG and to PDF by this library and by matplotlib's
// scatter(c=...) (the Debian package python3-matplotlib, a baseline only: the
// library never uses Python), on the same points. Whole processes are timed,
// alternating, and the file sizes compared; rows for bench/run.sh.
//
//   bench_scatter_vs_matplotlib            (BENCH_REPS, BENCH_SCALE as in bench_support.hpp)
//   bench_scatter_vs_matplotlib draw png|pdf n     one drawing (the child process)
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "bench_support.hpp"

namespace {

void points(long n, std::vector<float>& x, std::vector<float>& y, std::vector<float>& v) {
  bench::Random rnd(11);
  for (long i = 0; i < n; ++i) {
    // Clustered points, coloured by a smooth function of their place.
    const double a = rnd.next(), b = rnd.next();
    x.push_back(static_cast<float>(0.5 + 0.22 * (a + b - 1) + 0.2 * rnd.next()));
    y.push_back(static_cast<float>(0.1 + 0.8 * rnd.next()));
    v.push_back(static_cast<float>(std::sin(9 * x.back()) * std::cos(7 * y.back())));
  }
}

int draw(const char* format, long n) {
  std::vector<float> x, y, v;
  points(n, x, y, v);
  zep::gliset("MSGLEV", 2);
  zep::swiset("IFL", std::strcmp(format, "pdf") == 0 ? 4 : 1);
  zep::sgopn(2);
  zep::sgfrm();
  zep::sgsvpt(0.1F, 0.8F, 0.1F, 0.9F);
  zep::sgswnd(0, 1, 0, 1);
  zep::sgstrn(1);
  zep::sgstrf();
  zep::cmsmap("VIRIDIS");
  zep::cmpmzu(static_cast<int>(n), x.data(), y.data(), v.data(), 10, 0.008F);
  zep::axpfrm();
  zep::cmbarp("R");
  zep::sgcls();
  return 0;
}

const char* kScript = R"(import sys, numpy as np
import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt
fmt, n = sys.argv[1], int(sys.argv[2])
d = np.fromfile("points.f32", dtype=np.float32).reshape(3, n)
fig = plt.figure(figsize=(9, 6.5), dpi=100)
ax = fig.add_axes([0.1, 0.1, 0.6, 0.8])
s = ax.scatter(d[0], d[1], c=d[2], s=16, cmap="viridis", marker="o")
ax.set_xlim(0, 1)
ax.set_ylim(0, 1)
fig.colorbar(s)
fig.savefig("mpl." + fmt)
)";

double run(const std::string& command) {
  const auto start = bench::Clock::now();
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
  return bench::seconds_since(start);
}

long sizeOf(const char* file) {
  struct stat st {};
  return ::stat(file, &st) == 0 ? static_cast<long>(st.st_size) : -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "draw") == 0) return draw(argv[2], std::atol(argv[3]));
  const long n = bench::scaled(100000);
  if (std::system("/usr/bin/python3 -c 'import matplotlib, numpy' 2>/dev/null") != 0) {
    std::printf("NOTE|scatter: matplotlib is missing (apt-get install python3-matplotlib); not measured\n");
    return 0;
  }
  std::vector<float> x, y, v;
  points(n, x, y, v);
  {
    std::ofstream out("points.f32", std::ios::binary);
    for (const std::vector<float>* a : {&x, &y, &v})
      out.write(reinterpret_cast<const char*>(a->data()), static_cast<std::streamsize>(a->size() * sizeof(float)));
    std::ofstream("scatter.py") << kScript;
  }
  const std::string self = argv[0];
  for (const char* format : {"png", "pdf"}) {
    const std::string zep = "'" + self + "' draw " + format + " " + std::to_string(n) + " 2>/dev/null";
    const std::string mpl = std::string("/usr/bin/python3 scatter.py ") + format + " " + std::to_string(n);
    const bench::Result r = bench::alternate([&] { return run(zep); }, [&] { return run(mpl); });
    const std::string what = "scatter of " + std::to_string(n) + " coloured markers, " +
                             (std::strcmp(format, "pdf") == 0 ? "PDF" : "PNG") + ", whole process";
    bench::row(what, r, "matplotlib scatter(c=...)", 0.5);
    const long zs = sizeOf(std::strcmp(format, "pdf") == 0 ? "zep.pdf" : "zep_0001.png");
    const long ms = sizeOf(std::strcmp(format, "pdf") == 0 ? "mpl.pdf" : "mpl.png");
    std::printf("NOTE|scatter %s file: libzep %.1f KB, matplotlib %.1f KB (%.2f of matplotlib's)\n", format,
                zs / 1024.0, ms / 1024.0, ms > 0 ? static_cast<double>(zs) / static_cast<double>(ms) : 0.0);
  }
  return 0;
}
