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
  // The box fitted to the page, room left for its labels and title, by the
  // figure layer; standard parallels 30N and 45N.
  zep::fgfrm();
  zep::fgsmpc(999, 999, 30, 45);
  zep::fgsmap(22, 120, 150, 20, 50);
  zep::axrset("DGLON", 10);
  zep::axrset("DGLAT", 10);
  zep::axlset("LGRLBL", true);
  zep::fgttl("JAPAN: CONFORMAL CONIC, RIVERS");
  zep::fgstrf();
  zep::gecset("CRES", "i");
  zep::geiset("ITPLND", 4999);  // green land
  zep::geiset("ITPWTR", 0);
  zep::gebkgd();
  zep::gebrdr();
  zep::gervrs();
  zep::gecset("CRES", "AUTO");
  zep::fgpfrm();
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
