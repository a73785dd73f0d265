// Map projections: six projections on one page, one per frame of a 2 x 3
// division, each framed by its outline, a graticule every 30 degrees and
// longitude and latitude labels where the graticule leaves the map.
//
//   map_projections [workstation]     workstation 2 (files, default) or 1 (window)
//
// The output format of workstation 2 follows the SW parameter IFL (1 PNG, 2 EPS,
// 3 SVG, 4 PDF), for example:  map_projections -SW_IFL=1
#include <cstdlib>
#include <string_view>

#include <zep/zep.hpp>

namespace {

struct MapFrame {
  std::string_view title;
  int itr;
  float simfac;
  float vyoff;                        // projection origin above the viewport centre
  float plx, ply;                     // map pole
  float tymin;                        // southern limit in T
  float stlat1 = 0.0F, stlat2 = 0.0F;  // standard latitudes of the cones
};

void drawFrame(const MapFrame& f) {
  zep::sgfrm();
  // The viewport, with room for the title on top.
  const float x0 = 0.1F, x1 = 0.9F, y0 = 0.1F, y1 = 0.84F;
  zep::sgsvpt(x0, x1, y0, y1);
  zep::sgssim(f.simfac, 0, f.vyoff);
  zep::sgsmpl(f.plx, f.ply, 0);
  zep::sgstxy(-180, 180, f.tymin, 90);
  zep::sgrset("STLAT1", f.stlat1);
  zep::sgrset("STLAT2", f.stlat2);
  zep::sgstrn(f.itr);
  zep::sgstrf();

  zep::axrset("DGLON", 30);
  zep::axrset("DGLAT", 30);
  zep::axrset("RLABEL", 0.035F);
  zep::axpfrm();
  zep::sgtxzv(0.5F, 0.92F, f.title, 0.05F, 0, 0, 1);
}

}  // namespace

int main(int argc, char** argv) {
  const int workstation = argc > 1 && argv[1][0] != '-' ? std::atoi(argv[1]) : 2;
  zep::sgopn(workstation);
  // Two rows of three frames.
  zep::sldiv("Y", 3, 2);
  const MapFrame frames[] = {
      {"MERCATOR (11)", 11, 0.11F, 0.0F, 0, 90, -90},
      {"MOLLWEIDE (12)", 12, 0.12F, 0.0F, 0, 90, -90},
      {"ROBINSON (17)", 17, 0.115F, 0.0F, 0, 90, -90},
      {"CONFORMAL CONIC (22)", 22, 0.17F, 0.12F, 0, 90, 0, 30, 60},
      {"ORTHOGRAPHIC (30)", 30, 0.3F, 0.0F, 140, 40, 0},
      {"POLAR STEREOGRAPHIC (31)", 31, 0.1F, 0.0F, 0, 90, -30},
  };
  for (const MapFrame& f : frames) drawFrame(f);
  zep::sgcls();
  return 0;
}
