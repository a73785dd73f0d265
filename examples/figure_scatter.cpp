// A scatter of 10^5 points coloured by a value, with a colour bar, on a page
// of 12 x 10 cm: figure_scatter.pdf (-SW_IFL=1: PNG). In matplotlib:
// matplotlib/figure_scatter.py.
#include <cmath>
#include <random>
#include <vector>
#include <zep/zep.hpp>
int main() {
  std::mt19937 rng(1);
  std::normal_distribution<float> normal;
  std::vector<float> x(100000), y(100000), c(100000), levels(11);
  for (int i = 0; i < 100000; ++i) {
    x[i] = normal(rng);
    y[i] = 0.5F * x[i] + normal(rng);
    c[i] = std::hypot(x[i], y[i]);
  }
  for (int k = 0; k < 11; ++k) levels[k] = 0.4F * k;
  zep::swiset("ICLRMAP", 5);
  zep::fgopn("figure_scatter", 12, 10, "CM");
  zep::cnslvl(11, levels.data());
  zep::fgfrm();
  zep::fgscat(100000, x.data(), y.data(), c.data(), 1, 0.002F);
  zep::axsttl("B", "x");
  zep::axsttl("L", "y");
  zep::fgttl("10\\^{5} POINTS COLOURED BY DISTANCE");
  zep::fgsbar("R");
  zep::fgcls();
}
