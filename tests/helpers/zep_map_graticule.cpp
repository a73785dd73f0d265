// Draws map graticules for the end-to-end tests, one projection per page, into
// the workstation's files: meridians every 30 degrees (as 30-degree arcs that
// follow great circles) and the parallels -60 to 60 every 30 degrees (cut into
// 5-degree steps of longitude by linear interpolation), line index 21, with
// the viewport [0, 1] x [0, 1] and LCLIP on.
//
// Page 1: Mercator (11), SIMFAC 0.15.
// Page 2: Mollweide (12), SIMFAC 0.17.
// Page 3: orthographic (30), map pole (0, 45), latitudes of T from 0 (the far
//         hemisphere hidden), SIMFAC 0.45.
// Page 4: polar stereographic (31), latitudes of T from -30, SIMFAC 0.13.
// Page 5: conformal conic (22) on 30 and 60 degrees, northern hemisphere,
//         SIMFAC 0.3, apex moved to V y = 0.9 (VYOFF 0.4).
//
// The first argument that is not an option is the workstation number (2 by
// default); options are the library's runtime parameters (-SW_IFL=1 ...).
#include <cstdlib>

#include <zep/zep.hpp>

namespace {

void graticule() {
  zep::sgslni(21);
  for (int lon = -180; lon <= 180; lon += 30)
    for (int lat = -90; lat < 90; lat += 30)
      zep::sglnu(static_cast<float>(lon), static_cast<float>(lat), static_cast<float>(lon),
                 static_cast<float>(lat + 30));
  zep::sglset("LLNINT", true);
  for (int lat = -60; lat <= 60; lat += 30) zep::sglnu(-180, static_cast<float>(lat), 180, static_cast<float>(lat));
  zep::sglset("LLNINT", false);
}

void page(int itr, float simfac, float vyoff, float plx, float ply, float tymin) {
  zep::sgfrm();
  zep::sgsvpt(0, 1, 0, 1);
  zep::sgssim(simfac, 0, vyoff);
  zep::sgsmpl(plx, ply, 0);
  zep::sgstxy(-180, 180, tymin, 90);
  zep::sgstrn(itr);
  zep::sgstrf();
  graticule();
}

}  // namespace

int main(int argc, char** argv) {
  int ws = 2;
  for (int i = 1; i < argc; ++i)
    if (argv[i][0] != '-') ws = std::atoi(argv[i]);
  zep::sgopn(ws);
  zep::sglset("LCLIP", true);
  page(11, 0.15F, 0, 0, 90, -90);
  page(12, 0.17F, 0, 0, 90, -90);
  page(30, 0.45F, 0, 0, 45, 0);
  page(31, 0.13F, 0, 0, 90, -30);
  zep::sgrset("STLAT1", 30);
  zep::sgrset("STLAT2", 60);
  page(22, 0.3F, 0.4F, 0, 90, 0);
  zep::sgcls();
  return 0;
}
