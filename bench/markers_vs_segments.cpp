// What a marker costs against a short line: 10^5 markers (sgpmzu) and 10^5
// short segments (sglnu, as long as the markers are wide) at the same random
// points of a PNG page, alternating in one run; one row per marker type, with
// the target that markers take at most ten times as long. Only the drawing is
// timed; each run starts on a fresh page.
//
//   bench_markers_vs_segments      (BENCH_REPS, BENCH_SCALE as in bench_support.hpp)
#include <vector>

#include <zep/zep.hpp>

#include "bench_support.hpp"

int main() {
  const long n = bench::scaled(100000);
  bench::Random rnd(3);
  std::vector<float> x, y;
  for (long i = 0; i < n; ++i) {
    x.push_back(static_cast<float>(0.05 + 0.9 * rnd.next()));
    y.push_back(static_cast<float>(0.05 + 0.9 * rnd.next()));
  }
  zep::gliset("MSGLEV", 2);
  zep::swiset("IFL", 1);
  zep::sgopn(2);
  auto page = [] {
    zep::sgfrm();
    zep::sgswnd(0, 1, 0, 1);
    zep::sgstrf();
  };
  const float size = 0.01F;
  const bench::Run segments = [&] {
    page();
    const auto start = bench::Clock::now();
    for (std::size_t i = 0; i < x.size(); ++i) zep::sglnu(x[i], y[i], x[i] + size, y[i]);
    return bench::seconds_since(start);
  };
  const struct {
    int type;
    const char* name;
  } types[] = {{2, "plus"}, {4, "circle"}, {10, "filled circle"}, {16, "filled star"}};
  for (const auto& t : types) {
    const bench::Run markers = [&] {
      page();
      const auto start = bench::Clock::now();
      zep::sgpmzu(static_cast<int>(x.size()), x.data(), y.data(), t.type, 1, size);
      return bench::seconds_since(start);
    };
    bench::row(std::string("markers: 10^5 ") + t.name + " (PNG)", bench::alternate(markers, segments),
               "10^5 short segments", 10.0);
  }
  zep::sgcls();
  return 0;
}
