// A global field on a Mollweide map and on the northern hemisphere in polar
// stereographic projection, with filled bands, contour lines and colour bars,
// on a page of 20 x 9 cm: figure_global_field.pdf (-SW_IFL=1: PNG).
// In matplotlib and cartopy: matplotlib/figure_global_field.py.
#include <cmath>
#include <vector>
#include <zep/zep.hpp>
int main() {
  const int nx = 73, ny = 37;
  std::vector<float> lon(nx), lat(ny), z(nx * ny);
  for (int i = 0; i < nx; ++i) lon[i] = -180.0F + 5 * i;
  for (int j = 0; j < ny; ++j) lat[j] = -90.0F + 5 * j;
  for (int k = 0; k < nx * ny; ++k) {
    const float x = lon[k % nx] * 0.01745F, y = lat[k / nx] * 0.01745F;
    z[k] = 40 * std::cos(y) - 10 + 6 * std::sin(3 * x) * std::cos(2 * y);
  }
  zep::swiset("ICLRMAP", 4);
  zep::fgopn("figure_global_field", 20, 9, "CM");
  zep::fggrid(1, 2);
  zep::cnsfld(nx, ny, z.data(), lon.data(), lat.data());
  for (int k = 0; k < 2; ++k) {
    zep::fgfrm();
    zep::fgsmap(k == 0 ? 12 : 31, -180, 180, k == 0 ? -90 : 0, 90);
    zep::fgttl(k == 0 ? "SURFACE TEMPERATURE (\\deg C)" : "NORTHERN HEMISPHERE");
    zep::fgsbar(k == 0 ? "B" : "R");
    zep::fgstrf();
    zep::cnshdu();
    zep::cnlinu();
  }
  zep::fgcls();
}
