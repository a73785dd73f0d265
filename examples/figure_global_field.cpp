// A global field on a Mollweide map and on the northern hemisphere in polar
// stereographic projection, with filled bands, contour lines and colour bars,
// on a page of 20 x 9 cm: figure_global_field.pdf (-SW_IFL=1: PNG).
// In matplotlib and cartopy: matplotlib/figure_global_field.py.
#include <cmath>
#include <zep/zep.hpp>
int main() {
  const auto lon = zep::fglins(-180, 180, 73), lat = zep::fglins(-90, 90, 37);
  const auto z = zep::fgmesh(lon, lat, [](float x, float y) {
    return 40 * std::cos(y * 0.01745F) - 10 + 6 * std::sin(3 * x * 0.01745F) * std::cos(2 * y * 0.01745F);
  });
  zep::fgopn("figure_global_field", 20, 9, "CM", 1, 2);
  zep::cnsfld(z, lon, lat);
  for (int k = 0; k < 2; ++k) {
    zep::fgfrm();
    zep::fgsmap(k == 0 ? 12 : 31, -180, 180, k == 0 ? -90 : 0, 90);
    zep::fgttl(k == 0 ? "SURFACE TEMPERATURE (\\deg{}C)" : "NORTHERN HEMISPHERE");
    zep::fgsbar(k == 0 ? "B" : "R");
    zep::fgstrf();
    zep::cnshdu();
    zep::cnlinu();
  }
  zep::fgcls();
}
