// The Earth on maps: land, lakes, coastlines and borders under a contoured field
// on a global Mollweide map; Japan at intermediate resolution on a conformal
// conic projection with its rivers; the Arctic from 20 degrees north on a polar
// stereographic map, Greenland and the Arctic islands filled.
//
//   geography_maps [workstation]     workstation 2 (files, default) or 1 (window)
//
// Needs the Debian package gmt-gshhg-low (the shoreline database). The output
// format of workstation 2 follows the SW parameter IFL (1 PNG, 2 EPS, 3 SVG, 4 PDF),
// for example:  geography_maps -SW_IFL=1
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include <zep/zep.hpp>

namespace {

constexpr float kPi = 3.14159265F;

// A smooth global field: two waves over latitude and longitude.
void globalField() {
  constexpr int nx = 73, ny = 37;
  std::vector<float> z, x, y;
  for (int i = 0; i < nx; ++i) x.push_back(-180.0F + 5.0F * static_cast<float>(i));
  for (int j = 0; j < ny; ++j) y.push_back(-90.0F + 5.0F * static_cast<float>(j));
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i) {
      const float lon = x[static_cast<std::size_t>(i)] * kPi / 180, lat = y[static_cast<std::size_t>(j)] * kPi / 180;
      z.push_back(10.0F * std::cos(lat) * std::cos(lat) * std::sin(2 * lon) + 6.0F * std::sin(2 * lat));
    }
  zep::cnsfld(nx, ny, z.data(), x.data(), y.data());
}

// A map of a longitude and latitude box filling the given viewport's width or
// height: the projection plane window is the box's extent on the map.
void fitRegion(int itr, float lon0, float lon1, float lat0, float lat1, float vx0, float vx1, float vy0, float vy1) {
  const float plx = 0.5F * (lon0 + lon1);
  zep::sgsvpt(vx0, vx1, vy0, vy1);
  zep::sgssim(1, 0, 0);
  zep::sgsmpl(plx, 90, 0);
  zep::sgstxy(lon0 - plx, lon1 - plx, lat0, lat1);
  zep::sgstrn(itr);
  zep::sgstrf();
  float xmin = 1e9F, xmax = -1e9F, ymin = 1e9F, ymax = -1e9F;
  const float cx = 0.5F * (vx0 + vx1), cy = 0.5F * (vy0 + vy1);
  for (int i = 0; i <= 100; ++i)
    for (int side = 0; side < 4; ++side) {
      const float t = static_cast<float>(i) / 100;
      const float lon = side < 2 ? lon0 + t * (lon1 - lon0) : (side == 2 ? lon0 : lon1);
      const float lat = side < 2 ? (side == 0 ? lat0 : lat1) : lat0 + t * (lat1 - lat0);
      float vx = 0, vy = 0;
      zep::stftrn((lon - plx) * kPi / 180, lat * kPi / 180, vx, vy);
      xmin = std::min(xmin, vx - cx);
      xmax = std::max(xmax, vx - cx);
      ymin = std::min(ymin, vy - cy);
      ymax = std::max(ymax, vy - cy);
    }
  // Keep the map's shape: shrink the viewport to the box's aspect ratio.
  const float w = vx1 - vx0, h = vy1 - vy0, aspect = (xmax - xmin) / (ymax - ymin);
  if (aspect > w / h) {
    const float hh = w / aspect;
    vy0 = cy - hh / 2;
    vy1 = cy + hh / 2;
  } else {
    const float ww = h * aspect;
    vx0 = cx - ww / 2;
    vx1 = cx + ww / 2;
  }
  zep::sgsvpt(vx0, vx1, vy0, vy1);
  zep::sgscwd(xmin, xmax, ymin, ymax);
  zep::sgstrf();
}

void title(const char* text) { zep::sgtxzv(0.5F, 0.95F, text, 0.028F, 0, 0, 3); }

void globalMap() {
  zep::sgfrm();
  zep::sgsvpt(0.0F, 1.0F, 0.2F, 0.8F);
  zep::sgssim(0.175F, 0, 0);
  zep::sgsmpl(0, 90, 0);
  zep::sgstxy(-180, 180, -90, 90);
  zep::sgstrn(12);
  zep::sgstrf();
  zep::geiset("ITPLND", 10999);  // grey land, lakes left white
  zep::gebkgd();
  zep::gebrdr();
  globalField();
  zep::cnslvi(2, 0);
  zep::cnlinu();
  zep::axrset("DGLON", 60);
  zep::axrset("DGLAT", 30);
  zep::axlset("LGRLBL", false);
  zep::axpfrm();
  title("MOLLWEIDE: LAND, LAKES, BORDERS, A FIELD");
}

void japanMap() {
  zep::sgfrm();
  zep::sgrset("STLAT1", 30);
  zep::sgrset("STLAT2", 45);
  fitRegion(22, 120, 150, 20, 50, 0.1F, 0.9F, 0.08F, 0.88F);
  zep::gecset("CRES", "i");
  zep::geiset("ITPLND", 4999);  // green land
  zep::geiset("ITPWTR", 0);
  zep::gebkgd();
  zep::gebrdr();
  zep::gervrs();
  zep::gecset("CRES", "AUTO");
  zep::axrset("DGLON", 10);
  zep::axrset("DGLAT", 10);
  zep::axlset("LGRLBL", true);
  zep::axpfrm();
  title("JAPAN: CONFORMAL CONIC, RIVERS");
}

void arcticMap() {
  zep::sgfrm();
  zep::sgsvpt(0.05F, 0.95F, 0.02F, 0.9F);
  zep::sgssim(0.3F, 0, 0);
  zep::sgsmpl(0, 90, 0);
  zep::sgstxy(-180, 180, 20, 90);
  zep::sgstrn(31);
  zep::sgstrf();
  zep::geiset("ITPLND", 10999);
  zep::gebkgd();
  zep::axrset("DGLON", 30);
  zep::axrset("DGLAT", 20);
  zep::axlset("LGRLBL", false);
  zep::axpfrm();
  title("THE ARCTIC FROM 20 N");
}

}  // namespace

int main(int argc, char** argv) {
  const int workstation = argc > 1 && argv[1][0] != '-' ? std::atoi(argv[1]) : 2;
  zep::sgopn(workstation);
  globalMap();
  japanMap();
  arcticMap();
  zep::sgcls();
  return 0;
}
