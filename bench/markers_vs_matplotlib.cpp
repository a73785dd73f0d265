// Colour-mapped markers against matplotlib's scatter: n filled circles at
// random points, coloured by a value in 32 bins of a blue-to-yellow ramp, to
// PDF and PNG. Both sides are whole processes (start, drawing, file written),
// run alternately in one run: this program draws in a child of its own, and
// /usr/bin/python3 runs `scatter(x, y, c=v)` with the Debian package
// python3-matplotlib (a baseline only). Rows give the time ratios; notes give
// the file sizes and the largest memory of each process, also for 10^6
// markers, where matplotlib is not run (the library's time and memory must
// grow linearly).
//
//   bench_markers_vs_matplotlib          (BENCH_REPS, BENCH_SCALE as in bench_support.hpp)
//   bench_markers_vs_matplotlib draw <pdf|png> <n>    one page, for the timing
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "bench_support.hpp"

namespace {

constexpr int kBins = 32;

// The page: markers in kBins groups, each in its own full colour.
int draw(const std::string& format, long n) {
  bench::Random rnd(11);
  std::vector<std::vector<float>> xs(kBins), ys(kBins);
  for (long i = 0; i < n; ++i) {
    const float x = static_cast<float>(0.05 + 0.9 * rnd.next()), y = static_cast<float>(0.05 + 0.9 * rnd.next());
    const float value = 0.5F * (x + y);  // in [0.05, 0.95]
    const int bin = std::min(kBins - 1, static_cast<int>(value * kBins));
    xs[bin].push_back(x);
    ys[bin].push_back(y);
  }
  zep::gliset("MSGLEV", 3);
  zep::swiset("IFL", format == "pdf" ? 4 : 1);
  zep::sgopn(2);
  zep::sgfrm();
  zep::sgswnd(0, 1, 0, 1);
  zep::sgsvpt(0.1F, 0.9F, 0.1F, 0.9F);
  zep::sgstrn(1);
  zep::sgstrf();
  for (int b = 0; b < kBins; ++b) {
    const double t = (b + 0.5) / kBins;
    const int r = static_cast<int>(255 * t), g = static_cast<int>(255 * (0.2 + 0.6 * t)), bl = static_cast<int>(255 * (1 - t));
    zep::swsfcm(true);
    zep::swslcl(r << 16 | g << 8 | bl);
    zep::sgpmzu(static_cast<int>(xs[b].size()), xs[b].data(), ys[b].data(), 10, 1, 0.008F);
  }
  zep::sgcls();
  return 0;
}

struct Child {
  double seconds = 0;
  long maxRssKb = 0;
};

// Runs argv to its end; its time and largest resident memory.
Child run(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const auto start = bench::Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    execv(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  Child c;
  c.seconds = bench::seconds_since(start);
  c.maxRssKb = usage.ru_maxrss;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s failed\n", argv[0].c_str());
    c.seconds = 0;
  }
  return c;
}

const char* kScatter = R"(
import sys
import numpy as np
import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt
fmt, n = sys.argv[1], int(sys.argv[2])
rng = np.random.default_rng(11)
x = 0.05 + 0.9 * rng.random(n)
y = 0.05 + 0.9 * rng.random(n)
fig, ax = plt.subplots(figsize=(8.42, 5.95))
ax.scatter(x, y, c=0.5 * (x + y), s=9, cmap="viridis", marker="o")
ax.set_xlim(0, 1)
ax.set_ylim(0, 1)
fig.savefig("mpl." + fmt)
)";

long fileSize(const std::string& name) {
  std::error_code ec;
  const auto s = std::filesystem::file_size(name, ec);
  return ec ? -1 : static_cast<long>(s);
}

std::string zepFile(const std::string& format) { return format == "pdf" ? "zep.pdf" : "zep_0001.png"; }

void note(const std::string& text) {
  std::printf("NOTE|%s\n", text.c_str());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "draw") return draw(argv[2], std::atol(argv[3]));
  const std::string self = std::filesystem::canonical("/proc/self/exe").string();
  {
    std::FILE* f = std::fopen("scatter.py", "w");
    if (!f) return 1;
    std::fputs(kScatter, f);
    std::fclose(f);
  }
  const long n = bench::scaled(100000);
  const std::string count = std::to_string(n);
  const bool haveMatplotlib = std::system("/usr/bin/python3 -c 'import matplotlib, numpy' 2>/dev/null") == 0;
  for (const std::string format : {"pdf", "png"}) {
    Child zep, mpl;
    const bench::Run subject = [&] {
      zep = run({self, "draw", format, count});
      return zep.seconds;
    };
    const bench::Run baseline = [&] {
      mpl = run({"/usr/bin/python3", "scatter.py", format, count});
      return mpl.seconds;
    };
    const std::string name = "1e5 colour-mapped markers, " + format + " (whole process)";
    if (!haveMatplotlib) {
      note(name + ": matplotlib missing (apt-get install python3-matplotlib)");
      continue;
    }
    bench::row(name, bench::alternate(subject, baseline), "matplotlib scatter", 0.5);
    note(name + ": file " + std::to_string(fileSize(zepFile(format)) / 1024) + " KB against matplotlib's " +
         std::to_string(fileSize("mpl." + format) / 1024) + " KB; memory " + std::to_string(zep.maxRssKb / 1024) +
         " MB against " + std::to_string(mpl.maxRssKb / 1024) + " MB");
  }
  // Ten times the markers to PDF: time and memory against ten times those of n.
  const std::string tenfold = std::to_string(10 * n);
  Child small, large;
  const bench::Result r = bench::alternate([&] { small = run({self, "draw", "pdf", count}); return 10 * small.seconds; },
                                           [&] { large = run({self, "draw", "pdf", tenfold}); return large.seconds; });
  // Subject and baseline swapped back: the larger page against ten smaller ones.
  bench::row("1e6 markers to PDF against 10 x 1e5", {r.baseline, r.subject}, "ten times 1e5 markers", 1.3);
  note("markers to PDF: " + std::to_string(small.maxRssKb / 1024) + " MB for 1e5, " +
       std::to_string(large.maxRssKb / 1024) + " MB for 1e6; file " + std::to_string(fileSize("zep.pdf") / 1024) +
       " KB for 1e6");
  return 0;
}
