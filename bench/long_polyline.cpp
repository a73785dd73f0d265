// One long noisy polyline against the same points drawn as separate segments:
// a polyline of n points (sgplu) and its n - 1 segments (sglnu one by one),
// on a PNG page, alternating in one run, for 10^5 and 10^6 points of a noisy
// series and of a random walk. The target is at most twice the time of the
// segments (the time must grow linearly with the length of the line). The
// whole page is timed, writing the file included.
//
//   bench_long_polyline      (BENCH_REPS, BENCH_SCALE as in bench_support.hpp)
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "bench_support.hpp"

namespace {

struct Line {
  std::vector<float> x, y;
};

// A measured series: a slow wave under noise of a tenth of the frame.
Line noisySeries(long n) {
  bench::Random rnd(5);
  Line l;
  for (long i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / static_cast<double>(std::max(1L, n - 1));
    l.x.push_back(static_cast<float>(0.05 + 0.9 * t));
    l.y.push_back(static_cast<float>(0.5 + 0.25 * std::sin(12.0 * t) + 0.1 * (rnd.next() - 0.5)));
  }
  return l;
}

// A random walk of short steps, kept inside the frame.
Line randomWalk(long n) {
  bench::Random rnd(6);
  Line l;
  double x = 0.5, y = 0.5;
  for (long i = 0; i < n; ++i) {
    const double a = 6.283185307 * rnd.next();
    x = std::clamp(x + 0.004 * std::cos(a), 0.02, 0.98);
    y = std::clamp(y + 0.004 * std::sin(a), 0.02, 0.98);
    l.x.push_back(static_cast<float>(x));
    l.y.push_back(static_cast<float>(y));
  }
  return l;
}

void page() {
  zep::gliset("MSGLEV", 3);
  zep::swiset("IFL", 1);
  zep::sgopn(2);
  zep::sgfrm();
  zep::sgswnd(0, 1, 0, 1);
  zep::sgsvpt(0, 1, 0, 1);
  zep::sgstrn(1);
  zep::sgstrf();
}

void compare(const std::string& name, const Line& l) {
  const int n = static_cast<int>(l.x.size());
  const bench::Run polyline = [&] {
    const auto start = bench::Clock::now();
    page();
    zep::sgplu(n, l.x.data(), l.y.data());
    zep::sgcls();
    return bench::seconds_since(start);
  };
  const bench::Run segments = [&] {
    const auto start = bench::Clock::now();
    page();
    for (int i = 0; i + 1 < n; ++i) zep::sglnu(l.x[i], l.y[i], l.x[i + 1], l.y[i + 1]);
    zep::sgcls();
    return bench::seconds_since(start);
  };
  bench::row(name, bench::alternate(polyline, segments), "the same as separate segments", 2.0);
}

}  // namespace

int main() {
  compare("1e5-point noisy polyline, PNG", noisySeries(bench::scaled(100000)));
  compare("1e6-point noisy polyline, PNG", noisySeries(bench::scaled(1000000)));
  compare("1e6-step random walk as one polyline, PNG", randomWalk(bench::scaled(1000000)));
  return 0;
}
