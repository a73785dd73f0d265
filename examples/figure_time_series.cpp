// Two time series, the second on a logarithmic y axis, one above the other on
// a page of 16 x 10 cm: figure_time_series.pdf (with -SW_IFL=1 the PNG
// figure_time_series_0001.png). In matplotlib: matplotlib/figure_time_series.py.
#include <cmath>
#include <vector>
#include <zep/zep.hpp>
int main() {
  std::vector<float> t(500), y(500), z(500);
  for (int i = 0; i < 500; ++i) {
    t[i] = 0.02F * i;
    y[i] = std::sin(2 * t[i]) * std::exp(-0.2F * t[i]);
    z[i] = std::exp(0.5F * t[i]);
  }
  zep::fgopn("figure_time_series", 16, 10, "CM");
  zep::fggrid(2, 1);
  zep::fgfrm();
  zep::fgplzu(500, t.data(), y.data(), 1, 23);
  zep::axsttl("L", "displacement (m)");
  zep::fgttl("DAMPED OSCILLATION");
  zep::fgfrm();
  zep::sgstrn(2);
  zep::fgplzu(500, t.data(), z.data(), 1, 43);
  zep::axsttl("B", "time t (s)");
  zep::axsttl("L", "e\\^{t/2}");
  zep::fgttl("EXPONENTIAL GROWTH");
  zep::fgcls();
}
