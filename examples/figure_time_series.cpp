// Two time series, the second on a logarithmic y axis, one above the other on
// a page of 16 x 10 cm: figure_time_series.pdf (with -SW_IFL=1 the PNG
// figure_time_series_0001.png). In matplotlib: matplotlib/figure_time_series.py.
#include <cmath>
#include <zep/zep.hpp>
int main() {
  const auto t = zep::fglins(0, 9.98F, 500);
  const auto y = zep::fgeval(t, [](float s) { return std::sin(2 * s) * std::exp(-0.2F * s); });
  const auto z = zep::fgeval(t, [](float s) { return std::exp(0.5F * s); });
  zep::fgopn("figure_time_series", 16, 10, "CM", 2, 1);
  zep::fgplzu(t, y, 1, 23);
  zep::fgsttl("", "displacement (m)", "DAMPED OSCILLATION");
  zep::fgfrm();
  zep::sgstrn(2);
  zep::fgplzu(t, z, 1, 43);
  zep::fgsttl("time t (s)", "e\\^{t/2}", "EXPONENTIAL GROWTH");
  zep::fgcls();
}
