// What a marker costs against a short line: 10^5 markers (sgpmu) and 10^5 short
// segments (sglnu) at the same points of one PNG page, both measured in this
// run. Prints both times and their ratio for a few marker types.
//
//   bench_markers_vs_segments [points]     (default 100000)
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <zep/zep.hpp>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

}  // namespace

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
  std::vector<float> x(static_cast<std::size_t>(n)), y(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    x[static_cast<std::size_t>(i)] = static_cast<float>(i) / static_cast<float>(n);
    y[static_cast<std::size_t>(i)] = std::sin(40.0F * x[static_cast<std::size_t>(i)]);
  }
  zep::gliset("MSGLEV", 2);
  zep::swiset("IFL", 1);
  zep::sgopn(2);
  zep::sgfrm();
  zep::sgswnd(0, 1, -1, 1);
  zep::sgstrf();

  // A segment as long as a marker is wide, at each point.
  auto start = Clock::now();
  for (int i = 0; i < n; ++i) {
    const auto k = static_cast<std::size_t>(i);
    zep::sglnu(x[k], y[k], x[k] + 0.01F, y[k]);
  }
  const double segments = seconds(start);
  std::printf("points                %d\n", n);
  std::printf("short segments        %.3f s\n", segments);

  const struct {
    int type;
    const char* name;
  } types[] = {{2, "plus"}, {4, "circle"}, {10, "filled circle"}, {16, "filled star"}};
  double worst = 0;
  for (const auto& t : types) {
    start = Clock::now();
    zep::sgpmzu(n, x.data(), y.data(), t.type, 1, 0.01F);
    const double markers = seconds(start);
    worst = std::max(worst, markers / segments);
    std::printf("markers %-13s %.3f s  ratio %.2f\n", t.name, markers, markers / segments);
  }
  zep::sgcls();
  std::printf("worst ratio           %.2f\n", worst);
  return 0;
}
