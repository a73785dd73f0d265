// Map projections: a graticule (meridians and parallels every 30 degrees) in
// six projections on one page, one projection per frame of a 2 x 3 division.
//
//   map_projections [workstation]     workstation 2 (files, default) or 1 (window)
//
// The output format of workstation 2 follows the SW parameter IFL (1 PNG, 2 EPS,
// 3 SVG, 4 PDF), for example:  map_projections -SW_IFL=1
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string_view>

#include <zep/zep.hpp>

namespace {

// Meridians as 30-degree arcs (great-circle interpolation in T follows them
// exactly); parallels cut into 5-degree steps of longitude by linear
// interpolation in U, since a parallel is not a great circle.
void graticule() {
  for (int lon = -180; lon <= 180; lon += 30) {
    zep::sgslni(lon == 0 ? 22 : 31);
    for (int lat = -90; lat < 90; lat += 30)
      zep::sglnu(static_cast<float>(lon), static_cast<float>(lat), static_cast<float>(lon),
                 static_cast<float>(lat + 30));
  }
  zep::sglset("LLNINT", true);
  for (int lat = -60; lat <= 60; lat += 30) {
    zep::sgslni(lat == 0 ? 22 : 31);
    zep::sglnu(-180, static_cast<float>(lat), 180, static_cast<float>(lat));
  }
  zep::sglset("LLNINT", false);
}

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
  const float x0 = 0.05F, x1 = 0.95F, y0 = 0.05F, y1 = 0.85F;
  zep::sgsvpt(x0, x1, y0, y1);
  zep::sgssim(f.simfac, 0, f.vyoff);
  zep::sgsmpl(f.plx, f.ply, 0);
  zep::sgstxy(-180, 180, f.tymin, 90);
  zep::sgrset("STLAT1", f.stlat1);
  zep::sgrset("STLAT2", f.stlat2);
  zep::sgstrn(f.itr);
  zep::sgstrf();

  zep::sgslni(1);
  zep::sglnv(x0, y0, x1, y0);
  zep::sglnv(x1, y0, x1, y1);
  zep::sglnv(x1, y1, x0, y1);
  zep::sglnv(x0, y1, x0, y0);
  zep::sglset("LCLIP", true);
  graticule();
  zep::sglset("LCLIP", false);
  // The orthographic view shows where the globe ends: its outline is the
  // circle of radius SIMFAC about the projection origin.
  if (f.itr == 30) {
    zep::sgslni(1);
    const float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2 + f.vyoff;
    constexpr int kSteps = 120;
    for (int i = 0; i < kSteps; ++i) {
      const float a0 = 2 * std::numbers::pi_v<float> * static_cast<float>(i) / kSteps;
      const float a1 = 2 * std::numbers::pi_v<float> * static_cast<float>(i + 1) / kSteps;
      zep::sglnv(cx + f.simfac * std::cos(a0), cy + f.simfac * std::sin(a0), cx + f.simfac * std::cos(a1),
                 cy + f.simfac * std::sin(a1));
    }
  }
  zep::sgtxzv(0.5F, 0.92F, f.title, 0.05F, 0, 0, 1);
}

}  // namespace

int main(int argc, char** argv) {
  const int workstation = argc > 1 && argv[1][0] != '-' ? std::atoi(argv[1]) : 2;
  zep::sgopn(workstation);
  // Two rows of three frames.
  zep::sldiv("Y", 3, 2);
  const MapFrame frames[] = {
      {"MERCATOR (11)", 11, 0.14F, 0.0F, 0, 90, -90},
      {"MOLLWEIDE (12)", 12, 0.155F, 0.0F, 0, 90, -90},
      {"ROBINSON (17)", 17, 0.14F, 0.0F, 0, 90, -90},
      {"CONFORMAL CONIC (22)", 22, 0.2F, 0.15F, 0, 90, 0, 30, 60},
      {"ORTHOGRAPHIC (30)", 30, 0.39F, 0.0F, 140, 40, 0},
      {"POLAR STEREOGRAPHIC (31)", 31, 0.12F, 0.0F, 0, 90, -30},
  };
  for (const MapFrame& f : frames) drawFrame(f);
  zep::sgcls();
  return 0;
}
