// A wind field over a region on a conformal conic map: speed as filled bands
// with a colour bar, direction as arrows, on a page of 12 x 10 cm:
// figure_wind.pdf (-SW_IFL=1: PNG). In matplotlib and cartopy:
// matplotlib/figure_wind.py.
#include <cmath>
#include <vector>
#include <zep/zep.hpp>
int main() {
  const int nx = 16, ny = 13, n = nx * ny;
  std::vector<float> lon(nx), lat(ny), x(n), y(n), u(n), v(n), speed(n);
  for (int i = 0; i < nx; ++i) lon[i] = 120.0F + 2 * i;
  for (int j = 0; j < ny; ++j) lat[j] = 25.0F + 2 * j;
  for (int k = 0; k < n; ++k) {
    x[k] = lon[k % nx], y[k] = lat[k / nx];
    u[k] = 10 + 8 * std::sin((y[k] - 25) * 0.25F), v[k] = 6 * std::cos((x[k] - 120) * 0.2F);
    speed[k] = std::hypot(u[k], v[k]);
  }
  zep::swiset("ICLRMAP", 5);
  zep::fgopn("figure_wind", 12, 10, "CM");
  zep::cnsfld(nx, ny, speed.data(), lon.data(), lat.data());
  zep::fgfrm();
  zep::fgsmap(22, 120, 150, 25, 49);
  zep::fgttl("WIND AT 850 hPa (m s\\^{-1})");
  zep::fgsbar("R");
  zep::fgstrf();
  zep::cnshdu();
  zep::fgvecu(n, x.data(), y.data(), u.data(), v.data(), 0.0015F, 1);
  zep::fgcls();
}
