// Arrows, key and barbs against answers measured independently: directions
// against the drawn parallels and meridians of each projection, lengths in
// workstation units, barb counts worked by hand, the hemisphere's side.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <limits>
#include <string>
#include <vector>
#include <zep/zep.hpp>

#include "support/drawn_paths.hpp"
#include "support/message_file.hpp"
#include "support/png_page.hpp"
#include "support/recording_port.hpp"
#include "support/test_support.hpp"

namespace {

using zeptest::drawnPaths;
using zeptest::driverLog;

struct MapCase {
  const char* name;
  int itr;
  float simfac, plx, ply, plrot, tymin, tymax;
  std::vector<std::array<float, 2>> points;  // lon, lat in degrees
};

void setMap(const MapCase& m) {
  zep::sgsvpt(0.1F, 0.9F, 0.1F, 0.9F);
  zep::sgssim(m.simfac, 0, 0);
  zep::sgsmpl(m.plx, m.ply, m.plrot);
  zep::sgstxy(-180, 180, m.tymin, m.tymax);
  zep::sgstrn(m.itr);
  zep::sgstrf();
}

// Direction in V of the chord of the curve through (lon, lat) between two
// parameter values: the drawn parallel or meridian, measured on the projection.
std::array<double, 2> chord(float lon0, float lat0, float lon1, float lat1) {
  float x0, y0, x1, y1;
  zep::stftrf(lon0, lat0, x0, y0);
  zep::stftrf(lon1, lat1, x1, y1);
  return {x1 - x0, y1 - y0};
}

// The shaft of the one arrow drawn for (u, v) at (lon, lat): its first segment in W.
bool shaftOf(float lon, float lat, float u, float v, std::array<double, 2>& dir, double& length) {
  zep::vcspnt(1, &lon, &lat, &u, &v);
  driverLog().clear();
  zep::vcarwu();
  const auto paths = drawnPaths();
  if (paths.empty() || paths[0].size() < 2) return false;
  dir = {paths[0][1][0] - paths[0][0][0], paths[0][1][1] - paths[0][0][1]};
  length = std::hypot(dir[0], dir[1]);
  return true;
}

TEST(VectorArrows, EastAndNorthFollowTheDrawnParallelAndMeridian) {
  const std::vector<MapCase> cases = {
      {"north polar stereographic", 31, 0.4F, 0, 90, 0, 0, 90, {{0, 45}, {100, 60}, {-135, 89}, {180, 50}, {179.98F, 70}}},
      {"south polar stereographic", 31, 0.4F, 0, -90, 0, 0, 90, {{30, -45}, {-120, -89}, {170, -60}}},
      {"Mollweide", 12, 0.14F, 0, 90, 0, -90, 90, {{0, 0}, {150, 60}, {-170, -70}, {179.98F, 20}, {-179.98F, -30}}},
      {"Mollweide, rotated pole", 12, 0.14F, 30, 60, 10, -90, 90, {{0, 0}, {45, 30}, {-100, -40}, {160, 75}}},
  };
  for (const MapCase& m : cases)
    ZEP_EXPECT_ISOLATED([&] {
      zeptest::openRecordedSession();
      setMap(m);
      zep::vcrset("SCALE", 0.2F);
      std::string problem;
      for (const auto& p : m.points) {
        const float lon = p[0], lat = p[1];
        // A chord symmetric about the point; where it jumps across the seam, the
        // chord on the point's own side (parallels that end at a seam are straight).
        auto east = chord(lon - 0.5F, lat, lon + 0.5F, lat);
        const auto inward = lon > 0 ? chord(lon - 1, lat, lon, lat) : chord(lon, lat, lon + 1, lat);
        if (std::hypot(east[0], east[1]) > 3 * std::hypot(inward[0], inward[1])) east = inward;
        const float n0 = std::max(lat - 0.5F, -90.0F), n1 = std::min(lat + 0.5F, 90.0F);
        const auto north = chord(lon, n0, lon, n1);
        for (int k = 0; k < 2; ++k) {
          std::array<double, 2> got{};
          double length = 0;
          const auto& want = k == 0 ? east : north;
          if (!shaftOf(lon, lat, k == 0 ? 1.0F : 0.0F, k == 0 ? 0.0F : 1.0F, got, length)) {
            problem += std::string(m.name) + ": no arrow; ";
            continue;
          }
          // Beside the seam an arrow that crosses it is cut at once, too short to
          // measure; those that point into the map are.
          if (std::fabs(lon) > 179 && length < 20) continue;
          const double off = zeptest::angleBetween(want[0], want[1], got[0], got[1]);
          // 0.2 V on the 650-unit frame, shorter where the map's outline cuts it
          // (the cut itself is checked on the conic box below).
          if (std::fabs(off) > 0.5 || length > 130.5 || length < 20)
            problem += std::string(m.name) + (k == 0 ? " east" : " north") + " at " + std::to_string(lon) + "," +
                       std::to_string(lat) + ": off by " + std::to_string(off) + " deg, length " +
                       std::to_string(length) + "; ";
        }
      }
      return problem;
    });
}

TEST(VectorArrows, LengthsKeyAndDirectionsOnLinearAxes) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::sgsvpt(0.1F, 0.9F, 0.1F, 0.9F);
    zep::sgswnd(0, 10, 0, 1);
    zep::sgstrn(1);
    zep::sgstrf();
    std::string problem;
    auto expectNear = [&](const char* what, double got, double want, double tol) {
      if (std::fabs(got - want) > tol) problem += std::string(what) + " " + std::to_string(got) + " not " + std::to_string(want) + "; ";
    };
    // A given scale: 0.05 V per unit, 32.5 W units per unit on the 650-unit frame.
    zep::vcrset("SCALE", 0.05F);
    const float x[] = {2, 6}, y[] = {0.3F, 0.7F}, u[] = {1, 0}, v[] = {0, 3};
    zep::vcspnt(2, x, y, u, v);
    driverLog().clear();
    zep::vcarwu();
    auto paths = drawnPaths();
    std::vector<double> shafts;
    for (const auto& p : paths)
      if (p.size() >= 2) shafts.push_back(std::hypot(p[1][0] - p[0][0], p[1][1] - p[0][1]));
    if (shafts.size() < 2) return std::string("fewer than two arrows");
    expectNear("arrow of 1", shafts[0], 32.5, 0.15);
    // The head's strokes follow the shaft; the second arrow's shaft starts a new path.
    double longest = 0;
    for (double s : shafts) longest = std::max(longest, s);
    expectNear("arrow of 3", longest, 97.5, 0.15);
    // The key's arrow is as long as an arrow of its magnitude.
    driverLog().clear();
    zep::vckeyv(0.5F, 0.5F, 3, "");
    paths = drawnPaths();
    expectNear("key of 3", paths.empty() ? 0 : std::hypot(paths[0][1][0] - paths[0][0][0], paths[0][1][1] - paths[0][0][1]), 97.5, 0.15);
    // Screen directions by default; along the data's axes with LUDIR (x spans 10, y 1: 45 degrees).
    const float one[] = {5}, half[] = {0.5F}, uu[] = {1}, vv[] = {0.1F};
    zep::vcspnt(1, one, half, uu, vv);
    std::array<double, 2> d{};
    double len = 0;
    zep::vcspnt(1, one, half, uu, vv);
    driverLog().clear();
    zep::vcarwu();
    paths = drawnPaths();
    d = {paths[0][1][0] - paths[0][0][0], paths[0][1][1] - paths[0][0][1]};
    expectNear("screen direction", std::atan2(d[1], d[0]) * 180 / 3.14159265358979, std::atan(0.1) * 180 / 3.14159265358979, 0.3);
    zep::vclset("LUDIR", true);
    driverLog().clear();
    zep::vcarwu();
    paths = drawnPaths();
    d = {paths[0][1][0] - paths[0][0][0], paths[0][1][1] - paths[0][0][1]};
    len = std::hypot(d[0], d[1]);
    expectNear("data direction", std::atan2(d[1], d[0]) * 180 / 3.14159265358979, 45, 0.3);
    expectNear("data-direction length", len, 32.5 * std::hypot(1.0, 0.1), 0.15);
    // Automatic scale: the longest arrow is one grid spacing (0.2 V = 130 W here).
    zep::vclset("LUDIR", false);
    zep::vcrset("SCALE", 0);
    zep::sgswnd(0, 4, 0, 4);
    zep::sgstrf();
    std::vector<float> gu(25, 0.5F), gv(25, 0);
    gu[12] = 2;
    zep::vcsfld(5, 5, gu.data(), gv.data(), nullptr, nullptr);
    float scale = 0;
    zep::vcqscl(scale);
    expectNear("automatic scale", scale, 0.1, 1e-5);
    return problem;
  });
}

TEST(VectorArrows, ColoursComeFromTheColormapOverTheMagnitudes) {
  // Magnitudes 1, 2, 3 with bounds left to the data: viridis at t = 0, 0.5, 1
  // (matplotlib's values); the bounds stay for the colour bar. Isolated: the
  // field and VC settings stay in the child.
  ZEP_EXPECT_ISOLATED([] {
    const float x[] = {0.15F, 0.45F, 0.75F}, y[] = {0.5F, 0.5F, 0.5F}, u[] = {1, 2, 3}, v[] = {0, 0, 0};
    const int expected[] = {0x440154, 0x21918c, 0xfde725};
    float vmin = 0, vmax = 0;
    const auto png = zeptest::drawPngPage([&] {
      zep::sgsvpt(0, 1, 0, 1);
      zep::sgswnd(0, 1, 0, 1);
      zep::sgstrn(1);
      zep::sgstrf();
      zep::cmsmap("VIRIDIS");
      zep::cmsnrl(NAN, NAN);
      zep::vclset("LCOLOR", true);
      zep::vciset("INDEX", 7);
      zep::vcrset("SCALE", 0.05F);
      zep::vcspnt(3, x, y, u, v);
      zep::vcarwu();
      zep::cmqnrb(vmin, vmax);
    });
    if (!png->ok()) return std::string("no page");
    if (vmin != 1 || vmax != 3) return "bounds " + std::to_string(vmin) + " " + std::to_string(vmax);
    for (int k = 0; k < 3; ++k) {
      const auto px = png->pixel(zeptest::pixelX(x[k] + 0.03), zeptest::pixelY(0.5));
      if (!zeptest::sameColour(px, expected[k])) return "colour " + std::to_string(px) + " for " + std::to_string(u[k]);
    }
    return std::string();
  });
}

TEST(VectorBarbs, CountsFollowTheConvention) {
  // speed: pennants, barbs, half barbs, worked by hand for the unit 5.
  const int want[][4] = {{0, 0, 0, 0}, {5, 0, 0, 1}, {10, 0, 1, 0}, {15, 0, 1, 1}, {50, 1, 0, 0}, {65, 1, 1, 1},
                         {2, 0, 0, 0}, {3, 0, 0, 1}, {48, 1, 0, 0}, {147, 2, 4, 1}};
  for (const auto& w : want) {
    int np = -1, nb = -1, nh = -1;
    zep::vcqbrb(static_cast<float>(w[0]), np, nb, nh);
    EXPECT_EQ(np, w[1]) << w[0];
    EXPECT_EQ(nb, w[2]) << w[0];
    EXPECT_EQ(nh, w[3]) << w[0];
  }
}

TEST(VectorBarbs, DrawnStrokesAndTheHemispheresSide) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    const MapCase cyl{"cylindrical", 10, 0.12F, 0, 90, 0, -90, 90, {}};
    setMap(cyl);
    std::string problem;
    // 65 from the west: shaft, the pennant's two edges and one fill, a barb, a half barb.
    const float lon[] = {0}, lat[] = {45}, u[] = {65}, v[] = {0};
    zep::vcspnt(1, lon, lat, u, v);
    driverLog().clear();
    zep::vcbrbu();
    int segments = 0;
    for (const auto& p : drawnPaths()) segments += static_cast<int>(p.size()) - 1;
    const int fills = zeptest::countCalls("gton") + zeptest::countCalls("gtnm");
    if (segments != 5 || fills != 1) problem += "65: " + std::to_string(segments) + " segments, " + std::to_string(fills) + " fills; ";
    // A westerly's shaft points west; its barbs point north in the north and south in the south.
    for (float la : {45.0F, -45.0F}) {
      const float l[] = {la}, uu[] = {10}, vv[] = {0};
      zep::vcspnt(1, lon, l, uu, vv);
      driverLog().clear();
      zep::vcbrbu();
      const auto paths = drawnPaths();
      if (paths.size() < 1 || paths[0].size() < 2) return problem + "no barb";
      const auto& shaft = paths[0];
      // The shaft starts at the station and runs west; the barb leaves its free end.
      const double dx = shaft[1][0] - shaft[0][0];
      double barbDy = 0;
      for (const auto& p : paths)
        for (std::size_t k = 1; k < p.size(); ++k)
          if (&p != &paths[0] || k > 1) barbDy += p[k][1] - p[k - 1][1];
      if (!(dx < 0)) problem += "shaft does not point west; ";
      if (la > 0 ? !(barbDy > 5) : !(barbDy < -5)) problem += "barb on the wrong side at " + std::to_string(la) + "; ";
    }
    return problem;
  });
}

// ---------------------------------------------------------------------------
// The map's outline
// ---------------------------------------------------------------------------

// The box 120-150E, 25-49N on a conformal conic map, its centre in the middle
// of the viewport. Its outline is measured from the projection: the apex (the
// pole's image), the radius of the parallel 25N and the directions of the
// meridians 120E and 150E from the apex.
struct ConicBox {
  double ax = 0, ay = 0, r25 = 0, west = 0, east = 0;  // V; angles in radians
  double w0x = 0, w0y = 0, perV = 0;                  // V = (W - w0) / perV

  ConicBox() {
    zep::sgsvpt(0.1F, 0.9F, 0.1F, 0.9F);
    zep::sgsmpl(135, 90, 0);
    zep::sgrset("STLAT1", 29);
    zep::sgrset("STLAT2", 45);
    zep::sgstxy(-15, 15, 25, 49);
    zep::sgstrn(22);
    float cx = 0, cy = 0;
    zep::sgssim(0.8F, 0, 0);
    zep::sgstrf();
    zep::stftrf(135, 37, cx, cy);
    zep::sgssim(0.8F, 0.5F - cx, 0.5F - cy);  // the box's centre to the middle of the viewport
    zep::sgstrf();
    float x = 0, y = 0, wx = 0, wy = 0;
    zep::stftrf(135, 90, x, y);
    ax = x, ay = y;
    zep::stftrf(135, 25, x, y);
    r25 = std::hypot(x - ax, y - ay);
    zep::stftrf(120, 25, x, y);
    west = std::atan2(y - ay, x - ax);
    zep::stftrf(150, 25, x, y);
    east = std::atan2(y - ay, x - ax);
    zep::stfwtr(0, 0, wx, wy);
    w0x = wx, w0y = wy;
    zep::stfwtr(1, 0, wx, wy);
    perV = wx - w0x;
  }
  // How far a drawn W point lies beyond the outline's bottom and sides, in V (<= 0 inside).
  double beyond(double wx, double wy) const {
    const double x = (wx - w0x) / perV - ax, y = (wy - w0y) / perV - ay;
    const double r = std::hypot(x, y), a = std::atan2(y, x);
    return std::max({r - r25, r * std::sin(west - a), r * std::sin(a - east)});
  }
  bool onBottom(double wx, double wy) const {
    const double x = (wx - w0x) / perV - ax, y = (wy - w0y) / perV - ay;
    return std::fabs(std::hypot(x, y) - r25) < 2e-4;
  }
};

TEST(VectorOnMaps, ArrowsAndBarbsStopAtTheOutline) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    const ConicBox box;
    std::string problem;
    // South-east arrows 0.06 V long (about 4 degrees of latitude): those at 26N
    // cross the bottom edge, those near 149E the side; tails at 24N are off the map.
    std::vector<float> lon, lat, u, v;
    for (float lo = 121; lo < 150; lo += 4)
      for (float la : {24.0F, 26.0F}) lon.push_back(lo), lat.push_back(la), u.push_back(3), v.push_back(-4);
    for (float la : {30.0F, 40.0F}) lon.push_back(149), lat.push_back(la), u.push_back(3), v.push_back(-4);
    zep::vcspnt(static_cast<int>(lon.size()), lon.data(), lat.data(), u.data(), v.data());
    zep::vcrset("SCALE", 0.06F / 5);
    driverLog().clear();
    zep::vcarwu();
    int onEdge = 0, points = 0;
    double worst = -1;
    for (const auto& path : drawnPaths())
      for (const auto& q : path) {
        ++points;
        worst = std::max(worst, box.beyond(q[0], q[1]));
        onEdge += box.onBottom(q[0], q[1]) ? 1 : 0;
      }
    if (worst > 2e-4) problem += "arrow ink " + std::to_string(worst) + " V beyond the outline; ";
    if (onEdge < 8) problem += std::to_string(onEdge) + " arrows cut at the bottom edge, 8 expected; ";
    if (points == 0) problem += "no arrow drawn; ";

    // An arrow inside stays whole: the shaft 0.06 V long, then the head's three strokes.
    const float lo1[] = {135}, la1[] = {37}, u1[] = {5}, v1[] = {0};
    zep::vcspnt(1, lo1, la1, u1, v1);
    driverLog().clear();
    zep::vcarwu();
    const auto inside = drawnPaths();
    if (inside.size() != 4 || inside[0].size() != 2) {
      problem += "the inner arrow is not a shaft and a head; ";
    } else {
      const double len = std::hypot(inside[0][1][0] - inside[0][0][0], inside[0][1][1] - inside[0][0][1]) / box.perV;
      if (std::fabs(len - 0.06) > 1e-3) problem += "inner arrow " + std::to_string(len) + " V long; ";
    }

    // The key is no part of the map: drawn whole below it.
    driverLog().clear();
    zep::vckeyv(0.5F, 0.05F, 5, "");
    if (drawnPaths().size() != 4) problem += "the key below the map is not drawn whole; ";

    // Barbs of 65 from the south: the shaft points south across the bottom edge,
    // and for some of these stations the pennant at its free end straddles it.
    zep::vcrset("BARBLN", 0.06F);
    bool cutPennant = false;
    for (float la = 27.8F; la < 29.6F; la += 0.2F) {
      const float lo2[] = {135}, la2[] = {la}, u2[] = {0}, v2[] = {65};
      zep::vcspnt(1, lo2, la2, u2, v2);
      driverLog().clear();
      zeptest::lastTone() = {};
      zep::vcbrbu();
      for (const auto& path : drawnPaths())
        for (const auto& q : path)
          if (box.beyond(q[0], q[1]) > 2e-4) problem += "barb stroke beyond the outline at " + std::to_string(la) + "; ";
      for (const auto& ring : zeptest::lastTone().rings)
        for (const auto& q : ring) {
          if (box.beyond(q[0], q[1]) > 2e-4) problem += "pennant beyond the outline at " + std::to_string(la) + "; ";
          cutPennant = cutPennant || box.onBottom(q[0], q[1]);
        }
    }
    if (!cutPennant) problem += "no pennant was cut at the edge; ";
    return problem;
  });
}

// ---------------------------------------------------------------------------
// Bad input
// ---------------------------------------------------------------------------

std::string errorLine(const char* routine, const char* text) {
  return zeptest::lineRegex(std::string(" ***** ERROR (") + routine + ") ***  " + text);
}

TEST(VectorInput, BadInputIsReported) {
  // Each case in a process of its own: a field set by an earlier test of this
  // program would otherwise still be there for "no field".
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const float a[] = {1, 2, 3, 4}, bad[] = {1, 1};
  EXPECT_EXIT(zep::vcsfld(1, 1, a, a, nullptr, nullptr), testing::KilledBySignal(SIGABRT),
              errorLine("VCSFLD", "NX AND NY MUST BE AT LEAST 2."));
  EXPECT_EXIT(zep::vcsfld(2, 2, a, a, bad, nullptr), testing::KilledBySignal(SIGABRT),
              errorLine("VCSFLD", "X COORDINATES ARE NOT STRICTLY MONOTONIC."));
  EXPECT_EXIT(zep::vcspnt(0, a, a, a, a), testing::KilledBySignal(SIGABRT),
              errorLine("VCSPNT", "THE NUMBER OF POINTS N IS NOT POSITIVE."));
  EXPECT_EXIT(zep::vcarwu(), testing::KilledBySignal(SIGABRT),
              errorLine("VCARWU", "NO VECTOR FIELD HAS BEEN SET (VCSFLD OR VCSPNT)."));
  EXPECT_EXIT(
      {
        zeptest::openRecordedSession();
        zep::vcspnt(4, a, a, a, a);
        zep::vcrset("SCALE", -1);
        zep::vcarwu();
      },
      testing::KilledBySignal(SIGABRT), errorLine("VCARWU", "ARROW SCALE (VC SCALE) IS NEGATIVE OR NOT FINITE."));
  EXPECT_EXIT(zep::vcqbrb(-1, *new int, *new int, *new int), testing::KilledBySignal(SIGABRT),
              errorLine("VCQBRB", "THE SPEED IS NEGATIVE OR NOT FINITE."));
  EXPECT_EXIT(
      {
        zeptest::openRecordedSession();
        zep::vcspnt(4, a, a, a, a);
        zep::vckeyp("XX", 1, "");
      },
      testing::KilledBySignal(SIGABRT), errorLine("VCKEYP", "CORNER MUST BE \"TR\", \"TL\", \"BR\" OR \"BL\"."));
}

TEST(VectorInput, MissingAndZeroVectorsDrawNothing) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zeptest::openRecordedSession();
    zeptest::MessageFile messages(dir.path() / "messages.txt");
    zep::gliset("MSGLEV", 1);
    zep::sgsvpt(0.2F, 0.8F, 0.2F, 0.8F);
    zep::sgswnd(0, 1, 0, 1);
    zep::sgstrn(1);
    zep::sgstrf();
    std::string problem;
    // Non-finite components and RMISS are skipped; no stroke goes to the page's corner.
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    zep::gllset("LMISS", true);
    const float x[] = {0.2F, 0.4F, 0.6F, 0.8F, 0.5F}, y[] = {0.5F, 0.5F, 0.5F, 0.5F, nan};
    const float u[] = {1, inf, 1, 999, 1}, v[] = {0, 0, nan, 0, 0};
    zep::vcspnt(5, x, y, u, v);
    driverLog().clear();
    zep::vcarwu();
    const auto paths = drawnPaths();
    int shafts = 0;
    for (const auto& p : paths) {
      shafts += p.size() == 2 && std::fabs(p[1][1] - p[0][1]) < 0.01 ? 1 : 0;
      for (const auto& q : p)
        if (q[0] < 125 + 0.2 * 650 - 1 || q[1] < 0.2 * 650 - 1) problem += "a stroke outside the viewport; ";
    }
    if (shafts != 1) problem += std::to_string(shafts) + " arrows instead of 1; ";
    // All zero: one warning, nothing drawn.
    const float zero[] = {0, 0, 0, 0};
    zep::vcspnt(4, x, x, zero, zero);
    driverLog().clear();
    zep::vcarwu();
    if (!drawnPaths().empty()) problem += "zero vectors drawn; ";
    int warnings = 0;
    for (const std::string& l : messages.lines()) warnings += l.find("VCARWU") != std::string::npos ? 1 : 0;
    if (warnings != 1) problem += std::to_string(warnings) + " messages for an all-zero field; ";
    return problem;
  });
}

}  // namespace

namespace {

// A key in a corner inside the viewport reads the same over a dense field of
// arrows as on an empty frame: the arrows under it are hidden.
TEST(VectorArrows, AKeyInsideTheViewportStandsClearOfTheArrows) {
  const auto page = [](bool arrows) {
    return zeptest::drawPngPage([arrows] {
      zep::sgsvpt(0, 1, 0, 1);
      zep::sgswnd(0, 1, 0, 1);
      zep::sgstrn(1);
      zep::sgstrf();
      zep::vcrset("SCALE", 0.02F);
      std::vector<float> u(41 * 41, 1.0F), v(41 * 41, 1.0F);
      zep::vcsfld(41, 41, u.data(), v.data(), nullptr, nullptr);
      if (arrows) zep::vcarwu();
      zep::vckeyp("TR", 2, "2 m s\\^{-1}");
    });
  };
  const auto bare = page(false), busy = page(true);
  ASSERT_TRUE(bare->ok() && busy->ok());
  // The key's ink on the empty frame: its box, a pixel wider.
  int x0 = bare->width(), x1 = -1, y0 = bare->height(), y1 = -1;
  for (int y = 0; y < bare->height() / 4; ++y)
    for (int x = bare->width() / 2; x < bare->width(); ++x)
      if (bare->pixel(x, y) != 0xFFFFFF) x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
  ASSERT_GE(x1, x0) << "no key drawn";
  int differ = 0;
  for (int y = y0 - 1; y <= y1 + 1; ++y)
    for (int x = x0 - 1; x <= x1 + 1; ++x) differ += bare->pixel(x, y) != busy->pixel(x, y) ? 1 : 0;
  EXPECT_EQ(differ, 0) << "pixels of the key's box changed by the arrows";
}

}  // namespace
