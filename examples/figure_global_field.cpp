// A global field on a Mollweide map and on the northern hemisphere in polar
// stereographic projection, with filled bands, contour lines and colour bars,
// on a page of 20 x 9 cm (figure_global_field.png, .pdf).
// The same figure in matplotlib and cartopy: matplotlib/figure_global_field.py.
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
  for (int ifl : {1, 4}) {
    zep::swiset("IFL", ifl);
    zep::swcset("FNAME", "figure_global_field");
    zep::swiset("ICLRMAP", 4);
    zep::fgpage(20, 9, "CM");
    zep::sgopn(2);
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
      zep::fgpfrm();
    }
    zep::sgcls();
  }
}
