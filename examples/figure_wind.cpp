// A wind field over a region on a conformal conic map: speed as filled bands
// with a colour bar, direction as arrows, on a page of 12 x 10 cm:
// figure_wind.pdf (-SW_IFL=1: PNG). In matplotlib and cartopy:
// matplotlib/figure_wind.py.
#include <cmath>
#include <zep/zep.hpp>
int main() {
  const auto lon = zep::fglins(120, 150, 16), lat = zep::fglins(25, 49, 13);
  const auto u = zep::fgmesh(lon, lat, [](float, float y) { return 10 + 8 * std::sin((y - 25) * 0.25F); });
  const auto v = zep::fgmesh(lon, lat, [](float x, float) { return 6 * std::cos((x - 120) * 0.2F); });
  zep::fgopn("figure_wind", 12, 10, "CM");
  zep::cnsfld(zep::fgeval(u, v, [](float a, float b) { return std::hypot(a, b); }), lon, lat);
  zep::fgsmap(22, 120, 150, 25, 49);
  zep::fgttl("WIND AT 850 hPa (m s\\^{-1})");
  zep::fgsbar("R");
  zep::fgstrf();
  zep::cnshdu();
  zep::vcsfld(u, v, lon, lat);
  zep::vcarwu();
  zep::fgcls();
}
