// Wind over a region and over the globe: arrows coloured by speed with a
// reference key and a colour bar, and wind barbs, on a conformal conic map, then evenly spaced streamlines over bands of
// wind speed on a Mollweide map.
//
// The output format of workstation 2 follows the SW parameter IFL (1 PNG, 2 EPS,
// 3 SVG, 4 PDF), for example:  vector_fields -SW_IFL=1
#include <cmath>
#include <vector>

#include <zep/zep.hpp>

#include "wind_fields.hpp"

namespace {

// Longitudes and latitudes every `step` degrees and the field on them.
struct Grid {
  std::vector<float> lon, lat, u, v;
};
Grid grid(float lon0, float lon1, float lat0, float lat1, float step, void (*f)(float, float, float&, float&)) {
  Grid g;
  for (float x = lon0; x <= lon1 + 1e-3F; x += step) g.lon.push_back(x);
  for (float y = lat0; y <= lat1 + 1e-3F; y += step) g.lat.push_back(y);
  for (float y : g.lat)
    for (float x : g.lon) {
      float u, v;
      f(x, y, u, v);
      g.u.push_back(u);
      g.v.push_back(v);
    }
  return g;
}

}  // namespace

int main() {
  zep::sgopn(2);

  // A region on a conformal conic map (standard parallels 30N and 60N) centred
  // on 30W: arrows in the map's own east and north, a key, then barbs.
  for (int page = 0; page < 2; ++page) {
    zep::sgfrm();
    zep::sgsvpt(0.1F, 0.9F, 0.21F, 0.81F);  // room below for the colour bar, its labels and title
    zep::sgrset("STLAT1", 30);
    zep::sgrset("STLAT2", 60);
    zep::sgssim(0.7F, 0, 0.58F);
    zep::sgsmpl(-30, 90, 0);
    zep::sgstxy(-45, 45, 22, 72);
    zep::sgstrn(22);
    zep::sgstrf();
    const Grid g = grid(-80, 20, 20, 75, page == 0 ? 2.5F : 5.0F, wind::cyclone);
    zep::vcsfld(static_cast<int>(g.lon.size()), static_cast<int>(g.lat.size()), g.u.data(), g.v.data(), g.lon.data(),
                g.lat.data());
    if (page == 0) {
      zep::vcrset("SPACE", 0.03F);    // arrows at least 0.03 apart in V
      zep::vcrset("SCALE", 0.0015F);  // 0.0015 V per m/s
      zep::vclset("LCOLOR", true);    // colours of the current colormap over the speeds
      zep::vcarwu();
      zep::vclset("LCOLOR", false);
      zep::vckeyv(0.8F, 0.84F, 20, "20 m s\\^{-1}");  // a key above the map, right
      zep::cmsbtl("SPEED", "m/s");
      zep::cmrset("BARGAP", 0.06F);   // clear of the longitude labels
      zep::cmbarp("B");               // the arrows' colours, below the map
      zep::cmsbtl("", "");
      zep::cmrset("BARGAP", 0.03F);
    } else {
      zep::vcrset("SPACE", 0.05F);
      zep::vcbrbu();
    }
    zep::axpfrm();
    zep::sgtxzv(0.5F, 0.88F, page == 0 ? "WIND, CONFORMAL CONIC" : "WIND BARBS (M/S)", 0.025F, 0, 0, 3);
  }

  // The globe on Mollweide: bands of speed under evenly spaced streamlines.
  zep::sgfrm();
  zep::sgsvpt(0.04F, 0.84F, 0.15F, 0.85F);
  zep::sgssim(0.135F, 0, 0);
  zep::sgsmpl(0, 90, 0);
  zep::sgstxy(-180, 180, -90, 90);
  zep::sgstrn(12);
  zep::sgstrf();
  const Grid g = grid(-180, 180, -90, 90, 1, wind::globalFlow);
  std::vector<float> speed;
  for (std::size_t k = 0; k < g.u.size(); ++k) speed.push_back(std::hypot(g.u[k], g.v[k]));
  const int nx = static_cast<int>(g.lon.size()), ny = static_cast<int>(g.lat.size());
  zep::cnsfld(nx, ny, speed.data(), g.lon.data(), g.lat.data());
  const int pale[] = {0xeef3ff, 0xfff2cc, 0xffc9b0};  // light colours under black lines
  zep::cmdfmp("PALE", 3, pale);
  zep::cmsmap("PALE");
  zep::cnslvi(5, 0);
  zep::cnshdu();
  zep::vcsfld(nx, ny, g.u.data(), g.v.data(), g.lon.data(), g.lat.data());
  zep::vcrset("DSEP", 0.02F);   // lines 0.02 apart in V
  zep::vcrset("DTEST", 0.01F);  // none closer than 0.01
  zep::vcstmu();
  zep::axpfrm();
  zep::cnbarv(0.89F, 0.92F, 0.3F, 0.7F);
  zep::sgtxzv(0.44F, 0.82F, "STREAMLINES OVER WIND SPEED (M/S)", 0.025F, 0, 0, 3);
  zep::sgcls();
  return 0;
}
