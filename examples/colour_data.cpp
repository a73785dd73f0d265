// Colour that carries data: a scatter coloured and sized by values with its
// colour bar, a track coloured along its length, every colormap, and contour
// bands on a diverging map centred on zero.
//
// The output format of workstation 2 follows the SW parameter IFL (1 PNG, 2 EPS,
// 3 SVG, 4 PDF), for example:  colour_data -SW_IFL=1
#include <cmath>
#include <random>
#include <vector>

#include <zep/zep.hpp>

namespace {

void scatterPage() {
  zep::sgfrm();
  zep::sgsvpt(0.12F, 0.78F, 0.55F, 0.92F);
  zep::sgswnd(-3, 3, -3, 3);
  zep::sgstrn(1);
  zep::sgstrf();
  // Two thousand points of a two-dimensional normal distribution, coloured by
  // their distance from the middle and sized by their angle.
  std::mt19937 random(7);
  std::normal_distribution<float> normal(0.0F, 1.0F);
  std::vector<float> x, y, r, size;
  for (int i = 0; i < 2000; ++i) {
    x.push_back(normal(random));
    y.push_back(normal(random));
    r.push_back(std::hypot(x.back(), y.back()));
    size.push_back(0.004F + 0.004F * (1.0F + std::sin(std::atan2(y.back(), x.back()))));
  }
  zep::cmsmap("VIRIDIS");
  zep::cmsnrl(NAN, NAN);  // the data's bounds
  zep::sglset("LCLIP", true);  // markers stop at the frame
  zep::cmpmsu(static_cast<int>(x.size()), x.data(), y.data(), r.data(), size.data(), 10);
  zep::sglset("LCLIP", false);
  zep::axpfrm();
  zep::cmsbtl("DISTANCE", "SIGMA");
  zep::cmbarp("R");
  zep::sgtxzv(0.45F, 0.95F, "SCATTER COLOURED AND SIZED BY VALUES", 0.02F, 0, 0, 3);

  // A spiral track coloured by its speed, on a log normalisation.
  zep::sgsvpt(0.12F, 0.78F, 0.1F, 0.42F);
  zep::sgswnd(-1, 1, -1, 1);
  zep::sgstrf();
  std::vector<float> tx, ty, speed;
  for (int i = 0; i < 600; ++i) {
    const float t = static_cast<float>(i) / 599.0F;
    const float a = 18.0F * t;
    tx.push_back(t * std::cos(a));
    ty.push_back(t * std::sin(a));
    speed.push_back(std::pow(10.0F, 3.0F * t - 1.0F));
  }
  zep::cmsmap("PLASMA");
  zep::cmsnrg(0.1F, 100.0F);
  zep::cmplzu(static_cast<int>(tx.size()), tx.data(), ty.data(), speed.data(), 3);
  zep::axpfrm();
  zep::cmsbtl("SPEED", "M/S");
  zep::cmbarp("R");
  zep::sgtxzv(0.45F, 0.45F, "TRACK COLOURED ALONG ITS LENGTH (LOG)", 0.02F, 0, 0, 3);
  zep::cmsbtl("", "");
}

void colormapsPage() {
  zep::sgfrm();
  const char* names[] = {"VIRIDIS", "PLASMA", "INFERNO", "MAGMA", "DIVERGING", "CYCLIC", "GREY", "VIRIDIS_R", "USER"};
  const int user[] = {0x2166ac, 0xf7f7f7, 0x1a9850, 0xfee08b, 0xd73027};
  zep::cmdfmp("USER", 5, user);
  zep::cmsnrl(0, 1);
  const int n = static_cast<int>(sizeof names / sizeof names[0]);
  for (int k = 0; k < n; ++k) {
    const float top = 0.9F - 0.09F * static_cast<float>(k);
    zep::cmsmap(names[k]);
    zep::cmbarv(0.3F, 0.9F, top - 0.035F, top);
    zep::sgtxzv(0.27F, top - 0.022F, names[k], 0.018F, 0, 1, 3);
  }
  zep::sgtxzv(0.5F, 0.95F, "COLORMAPS", 0.022F, 0, 0, 3);
  zep::cmsmap("VIRIDIS");
}

// On [-3, 3] x [-2, 2]: a deep valley and a lower hill, so that the levels are
// far from symmetric about zero.
void divergingPage() {
  constexpr int nx = 121, ny = 81;
  std::vector<float> z;
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i) {
      const float x = -3.0F + 6.0F * static_cast<float>(i) / (nx - 1);
      const float y = -2.0F + 4.0F * static_cast<float>(j) / (ny - 1);
      z.push_back(-6.0F * std::exp(-((x + 1) * (x + 1) + y * y)) + 2.0F * std::exp(-((x - 1.5F) * (x - 1.5F) + (y - 0.5F) * (y - 0.5F))));
    }
  zep::sgfrm();
  zep::sgsvpt(0.12F, 0.78F, 0.2F, 0.8F);
  zep::sgswnd(-3, 3, -2, 2);
  zep::sgstrn(1);
  zep::sgstrf();
  zep::cmsmap("DIVERGING");
  zep::cmsnrc(NAN, 0.0F, NAN);  // white at zero, whatever the range
  zep::cnsfld(nx, ny, z.data(), nullptr, nullptr);
  zep::cnslvi(0.5F, 0.0F);
  zep::cnshdu();
  zep::cnlinu();
  zep::axpfrm();
  zep::cmsbtl("HEIGHT", "M");
  zep::cnbarp("R");
  zep::cmsbtl("", "");
  zep::sgtxzv(0.45F, 0.87F, "BANDS ON A DIVERGING MAP CENTRED ON ZERO", 0.022F, 0, 0, 3);
  zep::cmsnrl(NAN, NAN);
  zep::cmsmap("VIRIDIS");
}

}  // namespace

int main() {
  zep::sgopn(2);
  scatterPage();
  colormapsPage();
  divergingPage();
  zep::sgcls();
  return 0;
}
