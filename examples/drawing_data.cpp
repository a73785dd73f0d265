// Drawing data from arrays: a curve with markers at its points, a dashed
// envelope and a filled band between two curves (page 1); filled polygons on
// maps, one across the date line and one around the South Pole, in a world map
// and in a view centred on the pole (page 2).
//
//   drawing_data [workstation]     workstation 2 (files, default) or 1 (window)
//
// The output format of workstation 2 follows the SW parameter IFL (1 PNG, 2 EPS,
// 3 SVG, 4 PDF), for example:  drawing_data -SW_IFL=1
#include <cmath>
#include <cstdlib>
#include <string_view>
#include <vector>

#include <zep/zep.hpp>

namespace {

void box(float x0, float x1, float y0, float y1) {
  const float x[] = {x0, x1, x1, x0, x0}, y[] = {y0, y0, y1, y1, y0};
  zep::sgplzv(5, x, y, 1, 1);
}

// A damped wave with an uncertainty that grows along it.
void curvePage() {
  constexpr int n = 41;
  std::vector<float> x(n), y(n), lo(n), hi(n);
  for (int i = 0; i < n; ++i) {
    x[i] = 0.25F * static_cast<float>(i);
    y[i] = std::exp(-0.15F * x[i]) * std::cos(x[i]);
    lo[i] = y[i] - 0.05F - 0.03F * x[i];
    hi[i] = y[i] + 0.05F + 0.03F * x[i];
  }
  // The band: out along the lower curve, back along the upper one.
  std::vector<float> bx(x), by(lo);
  bx.insert(bx.end(), x.rbegin(), x.rend());
  by.insert(by.end(), hi.rbegin(), hi.rend());

  zep::sgfrm();
  zep::sgswnd(0, 10, -1.2F, 1.2F);
  zep::sgsvpt(0.1F, 0.9F, 0.2F, 0.8F);
  zep::sgstrn(1);
  zep::sgstrf();
  zep::sglset("LCLIP", true);
  zep::sgtnzu(2 * n, bx.data(), by.data(), 14999);
  zep::sgplzu(n, x.data(), lo.data(), 2, 32);
  zep::sgplzu(n, x.data(), hi.data(), 2, 32);
  zep::sgplzu(n, x.data(), y.data(), 1, 13);
  zep::sgpmzu(n, x.data(), y.data(), 10, 21, 0.02F);
  zep::sglset("LCLIP", false);
  box(0.1F, 0.9F, 0.2F, 0.8F);
  zep::sgtxzv(0.5F, 0.88F, "DAMPED WAVE WITH ITS ENVELOPE", 0.03F, 0, 0, 1);
}

// Meridians and parallels every 30 degrees as polylines: meridians follow
// great circles, parallels (which are not) are cut into steps in U.
void graticule() {
  std::vector<float> lon, lat;
  zep::sglset("LGCINT", true);
  for (int m = -180; m <= 180; m += 30) {
    lon.assign(7, static_cast<float>(m));
    lat.assign({-90, -60, -30, 0, 30, 60, 90});
    zep::sgplzu(7, lon.data(), lat.data(), 1, 101);
  }
  zep::sglset("LGCINT", false);
  zep::sglset("LLNINT", true);
  for (int p = -60; p <= 60; p += 30) {
    lon.assign({-180, 180});
    lat.assign(2, static_cast<float>(p));
    zep::sgplzu(2, lon.data(), lat.data(), 1, 101);
  }
  zep::sglset("LLNINT", false);
}

// One map in the viewport, centred on it, with the map pole at latitude ply and
// latitudes from tymin about that pole.
void map(std::string_view title, int itr, float simfac, float ply, float tymin, float vx0, float vx1) {
  const float vy0 = 0.08F, vy1 = 0.62F;
  zep::sgsvpt(vx0, vx1, vy0, vy1);
  zep::sgssim(simfac, 0, 0);
  zep::sgsmpl(0, ply, 0);
  zep::sgstxy(-180, 180, tymin, 90);
  zep::sgstrn(itr);
  zep::sgstrf();
  zep::sglset("LCLIP", true);

  // A box over the Pacific, 40 degrees either side of the date line, with
  // edges along great circles, so that its northern and southern sides bow
  // towards the poles. The world map shows it at both edges.
  zep::sglset("LGCINT", true);
  const float px[] = {140, -140, -140, 140}, py[] = {-30, -30, 30, 30};
  zep::sgtnzu(4, px, py, 5999);
  // A ring that goes once around the South Pole: its cap is filled down to
  // the pole, which is the lower edge of the world map and the centre of the
  // polar view.
  zep::sglset("LGCINT", false);
  std::vector<float> rx, ry;
  for (int i = 0; i < 72; ++i) {
    rx.push_back(-180.0F + 5.0F * static_cast<float>(i));
    ry.push_back(-65.0F + 5.0F * std::sin(0.5236F * static_cast<float>(i)));
  }
  zep::sgtnzu(72, rx.data(), ry.data(), 3999);
  graticule();
  // A few stations, drawn upright wherever the map puts them.
  const float sx[] = {166.7F, -177.4F, 0, 90}, sy[] = {-77.8F, 28.2F, -90, -66.6F};
  zep::sgpmzu(4, sx, sy, 11, 21, 0.015F);
  zep::sglset("LCLIP", false);
  zep::sgtxzv((vx0 + vx1) / 2, 0.66F, title, 0.022F, 0, 0, 1);
}

void mapPage() {
  // The frame is the whole page: V [0, 1] x [0, 650 / 900].
  zep::sglset("LFULL", true);
  zep::sgfrm();
  map("MOLLWEIDE", 12, 0.09F, 90, -90, 0.02F, 0.54F);
  // Around the South Pole up to 30 degrees north.
  map("AZIMUTHAL EQUIDISTANT", 32, 0.1F, -90, -30, 0.56F, 0.98F);
}

}  // namespace

int main(int argc, char** argv) {
  const int workstation = argc > 1 && argv[1][0] != '-' ? std::atoi(argv[1]) : 2;
  zep::sgopn(workstation);
  curvePage();
  mapPage();
  zep::sgcls();
  return 0;
}
