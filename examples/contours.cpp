// Contours of an analytic field (a sum of Gaussians with a hole of missing
// values): shaded bands, labelled contour lines and a colour bar, first on
// linear axes, then on a map of the whole globe.
//
//   contours [itr ...]     map projections to draw after the linear axes
//                          (default 12, Mollweide)
//
// The output format of workstation 2 follows the SW parameter IFL (1 PNG, 2 EPS,
// 3 SVG, 4 PDF), for example:  contours -SW_IFL=1
#include <cmath>
#include <cstdlib>
#include <vector>

#include <zep/zep.hpp>

namespace {

constexpr int kNx = 121, kNy = 81;

// On [-3, 3] x [-2, 2]: two hills, a valley and a ridge, with no data inside a
// small disk.
std::vector<float> field() {
  std::vector<float> z;
  z.reserve(kNx * kNy);
  for (int j = 0; j < kNy; ++j)
    for (int i = 0; i < kNx; ++i) {
      const float x = -3.0F + 6.0F * static_cast<float>(i) / (kNx - 1);
      const float y = -2.0F + 4.0F * static_cast<float>(j) / (kNy - 1);
      auto g = [&](float x0, float y0, float s) { return std::exp(-((x - x0) * (x - x0) + (y - y0) * (y - y0)) / (s * s)); };
      float v = 3.0F * g(-1.2F, 0.6F, 0.8F) + 2.0F * g(1.4F, 0.9F, 0.6F) - 2.5F * g(0.3F, -0.9F, 0.9F) +
                1.2F * g(2.2F, -1.2F, 0.5F) - 1.0F * g(-2.2F, -1.3F, 0.7F);
      if ((x - 1.6F) * (x - 1.6F) + (y + 0.3F) * (y + 0.3F) < 0.16F) v = 999.0F;  // RMISS
      z.push_back(v);
    }
  return z;
}

void contourPicture() {
  zep::cnslvi(0.5F, 0.0F);
  zep::cnshdu();
  zep::cnlinu();
}

// Scale, pole and limits that show each projection whole in the frame.
struct MapSetup {
  float simfac, vyoff, plx, ply, tymin, stlat1, stlat2;
};

MapSetup setupOf(int itr) {
  switch (itr) {
    case 10: case 11: case 16: return {0.11F, 0, 0, 90, -80, 0, 0};
    case 12: case 13: case 14: case 15: case 17: case 18: return {0.135F, 0, 0, 90, -90, 0, 0};
    case 19: return {0.1F, 0, 0, 90, -90, 0, 0};
    case 20: case 21: case 22: return {0.2F, 0.12F, 0, 90, 0, 30, 60};
    case 23: return {0.165F, 0.1F, 0, 90, 0, 30, 60};
    case 30: return {0.3F, 0, 20, 30, 0, 0, 0};
    case 33: return {0.24F, 0, 20, 30, 0, 0, 0};
    case 31: case 32: case 34: return {0.12F, 0, 0, 90, -20, 0, 0};
    default: return {0.12F, 0, 0, 90, -90, 0, 0};
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<float> z = field();
  zep::gllset("LMISS", true);
  zep::cmsmap("DIVERGING");     // bands blue below zero, red above
  zep::cmsnrc(NAN, 0.0F, NAN);  // zero on the neutral middle, whatever the range
  zep::cnlstx("LBTRI", true);  // triangles for the open ends of the colour bar
  zep::sgopn(2);

  // Linear axes: the grid spans the window.
  zep::sgfrm();
  zep::sgsvpt(0.12F, 0.82F, 0.2F, 0.8F);
  zep::sgswnd(-3, 3, -2, 2);
  zep::sgstrn(1);
  zep::sgstrf();
  zep::cnsfld(kNx, kNy, z.data(), nullptr, nullptr);
  contourPicture();
  zep::cnbarp("R");
  zep::axpfrm();
  zep::sgtxzv(0.47F, 0.87F, "SUM OF GAUSSIANS WITH A HOLE", 0.025F, 0, 0, 3);

  // The same field on the globe: longitude and latitude as coordinates.
  std::vector<float> lon(kNx), lat(kNy);
  for (int i = 0; i < kNx; ++i) lon[static_cast<std::size_t>(i)] = -180.0F + 360.0F * static_cast<float>(i) / (kNx - 1);
  for (int j = 0; j < kNy; ++j) lat[static_cast<std::size_t>(j)] = -90.0F + 180.0F * static_cast<float>(j) / (kNy - 1);
  std::vector<int> projections;
  for (int a = 1; a < argc; ++a)
    if (argv[a][0] != '-') projections.push_back(std::atoi(argv[a]));
  if (projections.empty()) projections.push_back(12);
  for (int itr : projections) {
    const MapSetup m = setupOf(itr);
    zep::sgfrm();
    zep::sgsvpt(0.04F, 0.84F, 0.15F, 0.85F);
    zep::sgssim(m.simfac, 0, m.vyoff);
    zep::sgsmpl(m.plx, m.ply, 0);
    zep::sgstxy(-180, 180, m.tymin, 90);
    zep::sgrset("STLAT1", m.stlat1);
    zep::sgrset("STLAT2", m.stlat2);
    zep::sgstrn(itr);
    zep::sgstrf();
    zep::cnsfld(kNx, kNy, z.data(), lon.data(), lat.data());
    contourPicture();
    zep::axpfrm();
    // The bar as tall as the middle of the map rather than the whole viewport.
    zep::cnbarv(0.89F, 0.92F, 0.3F, 0.7F);
  }
  zep::sgcls();
  return 0;
}
