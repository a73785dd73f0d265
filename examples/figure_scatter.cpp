// A scatter of 10^5 points coloured by a value, with a colour bar, on a page
// of 12 x 10 cm: figure_scatter.pdf (-SW_IFL=1: PNG). In matplotlib:
// matplotlib/figure_scatter.py.
#include <cmath>
#include <random>
#include <zep/zep.hpp>
int main() {
  auto normal = [rng = std::mt19937(1), d = std::normal_distribution<float>()]() mutable { return d(rng); };
  const auto x = zep::fgarry(100000, normal);
  const auto y = zep::fgeval(x, [&](float s) { return 0.5F * s + normal(); });
  zep::fgopn("figure_scatter", 12, 10, "CM");
  zep::cnslvl(11, zep::fglins(0, 4, 11).data());
  zep::fgscat(x, y, zep::fgeval(x, y, [](float a, float b) { return std::hypot(a, b); }), 1, 0.002F);
  zep::fgsttl("x", "y", "10\\^{5} POINTS COLOURED BY DISTANCE");
  zep::fgsbar("R");
  zep::fgcls();
}
