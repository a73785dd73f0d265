// The Newton solvers of the map projections, the finalization of every map
// number by sgstrf, and the user projection of ITR 99.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <string>
#include <unistd.h>
#include <vector>

#include <zep/zep.hpp>

#include "graphics/report_recorder.hpp"
#include "support/test_support.hpp"

namespace {

using zeptest::Report;
using zeptest::ReportRecorder;

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;
constexpr float kRundef = -999.0F;

std::vector<std::string> errorTexts;
void recordError(std::string_view routine, std::string_view text) {
  errorTexts.push_back(std::string(routine) + ": " + std::string(text));
}

// A function whose Newton corrections never shrink.
void runaway(float, float th, float& value, float& derivative) {
  value = 1.0F;
  derivative = 1.0E-3F + 0.0F * th;
}

// th^3 = lat: a plain root.
void cubeRoot(float lat, float th, float& value, float& derivative) {
  value = th * th * th - lat;
  derivative = 3 * th * th;
}

TEST(MapSolvers, OneDimensionalNewton) {
  float th = 1.0F;
  zep::mpznwt(cubeRoot, 8.0F, th);
  EXPECT_NEAR(th, 2.0F, 1e-4F);

  // A flat start away from a root stops at once with the value as it is, and
  // says so.
  errorTexts.clear();
  zep::set_msgdmp_err_func(recordError);
  th = 0.0F;
  zep::mpznwt(cubeRoot, 8.0F, th);
  zep::set_msgdmp_err_func(nullptr);
  EXPECT_EQ(th, 0.0F);
  ASSERT_EQ(errorTexts.size(), 1U);
  EXPECT_NE(errorTexts[0].find("DERIVATIVE IS ZERO AWAY FROM A ROOT."), std::string::npos);

  // No convergence: a report, and the caller gets a finite angle back.
  errorTexts.clear();
  zep::set_msgdmp_err_func(recordError);
  th = 0.0F;
  zep::mpznwt(runaway, 0.0F, th);
  zep::set_msgdmp_err_func(nullptr);
  ASSERT_EQ(errorTexts.size(), 1U);
  EXPECT_NE(errorTexts[0].find("MPZNWT"), std::string::npos);
  EXPECT_NE(errorTexts[0].find("EXCEEDING MAXIMUM ITERATIONS."), std::string::npos);
  EXPECT_TRUE(std::isfinite(th));
}

TEST(MapSolvers, AuxiliaryAnglesConvergeEverywhere) {
  // The auxiliary angle is hardest to find next to the poles, where its
  // equation has a flat point: no latitude may exhaust the solver.
  ReportRecorder rec;
  std::vector<double> lats;
  for (double la = -90; la <= 90; la += 0.25) lats.push_back(la);
  for (double d = 1e-4; d < 1; d *= 1.7) {
    lats.push_back(90 - d);
    lats.push_back(-90 + d);
  }
  for (double la : lats) {
    const float b = static_cast<float>(la * kDeg);
    for (auto f : {zep::mpfmwd, zep::mpfek6, zep::mpfktd}) {
      float x = 0, y = 0;
      f(1.0F, b, x, y);
      ASSERT_TRUE(std::isfinite(x) && std::isfinite(y)) << la;
    }
    float x0 = 0, y0 = 0;
    zep::mpfmwd(0.0F, b, x0, y0);
    // Mollweide parallels: 2t + sin 2t = pi sin(lat) with y = sqrt 2 sin t.
    const double t = std::asin(std::clamp(y0 / 1.4142137, -1.0, 1.0));
    EXPECT_NEAR(2 * t + std::sin(2 * t), kPi * std::sin(la * kDeg), 2e-3) << la;
  }
  EXPECT_TRUE(rec.reports().empty());
}

void plane(float lon, float lat, float& x, float& y) {
  x = 2 * lon + lat;
  y = lon - lat * lat;
}

void flat(float lon, float, float& x, float& y) {
  x = lon;
  y = 2 * lon;
}

TEST(MapSolvers, TwoDimensionalNewton) {
  float lon = 0.1F, lat = 0.2F;
  zep::mpnwtn(2.0F, 0.75F, lon, lat, plane, false);
  EXPECT_NEAR(2 * lon + lat, 2.0F, 1e-4F);
  EXPECT_NEAR(lon - lat * lat, 0.75F, 1e-4F);

  // A singular Jacobian ends the solve with the start point.
  lon = 0.3F;
  lat = 0.4F;
  zep::mpnwtn(1.0F, 1.0F, lon, lat, flat, false);
  EXPECT_EQ(lon, 0.3F);
  EXPECT_EQ(lat, 0.4F);

  // No convergence: RUNDEF in both.
  lon = 0.5F;
  lat = 0.5F;
  zep::mpnwtn(0.0F, 0.0F, lon, lat, [](float lo, float la, float& x, float& y) {
    x = 1.0F + 0.01F * lo;
    y = 1.0F + 0.01F * la + 0.001F * lo;
  }, false);
  EXPECT_EQ(lon, kRundef);
  EXPECT_EQ(lat, kRundef);
}

struct Point {
  float x, y;
};

Point toV(float ux, float uy) {
  Point v{0, 0};
  zep::stftrf(ux, uy, v.x, v.y);
  return v;
}

Point toU(Point v) {
  Point u{0, 0};
  zep::stitrf(v.x, v.y, u.x, u.y);
  return u;
}

void finalizeMap(int itr) {
  zep::sgsvpt(0.1F, 0.9F, 0.1F, 0.9F);
  zep::sgssim(0.1F, 0, 0);
  zep::sgstrn(itr);
  zep::sgstrf();
}

struct MapRow {
  int itr;
  zep::MapForwardFunction forward;
};

const MapRow kMaps[] = {{10, zep::mpfcyl}, {11, zep::mpfmer}, {12, zep::mpfmwd}, {13, zep::mpfhmr},
                        {14, zep::mpfek6}, {15, zep::mpfktd}, {16, zep::mpfmil}, {17, zep::mpfrbs},
                        {18, zep::mpfsin}, {19, zep::mpfvdg}, {20, zep::mpfcon}, {21, zep::mpfcoa},
                        {22, zep::mpfcoc}, {23, zep::mpfbon}, {24, zep::mpfplc}, {30, zep::mpfotg},
                        {31, zep::mpfpst}, {32, zep::mpfazm}, {33, zep::mpfaza}, {34, zep::mpfgno}};

void resetMapParameters() {
  zep::sgsmpl(0, 90, 0);
  zep::sgrset("STLAT1", 0.0F);
  zep::sgrset("STLAT2", 0.0F);
  zep::sgrset("RSAT", 0.0F);
  zep::sgstrn(1);
  zep::sgswnd(0, 1, 0, 1);
  zep::sgsvpt(0, 1, 0, 1);
  zep::sgstrf();
}

TEST(MapFinalization, SgstrfAcceptsEveryMapNumber) {
  ReportRecorder rec;
  zep::sgrset("STLAT1", 40.0F);
  zep::sgrset("STLAT2", 70.0F);
  for (const MapRow& m : kMaps) {
    SCOPED_TRACE(m.itr);
    finalizeMap(m.itr);
    bool lmap = false;
    zep::stqtrf(lmap);
    EXPECT_TRUE(lmap);
    // With the default pole T is U in radians: the number's own projection,
    // scaled by SIMFAC about the viewport centre.
    for (const Point& u : {Point{30, 50}, Point{-120, 70}, Point{60, 20}}) {
      float x = 0, y = 0;
      m.forward(static_cast<float>(u.x * kDeg), static_cast<float>(u.y * kDeg), x, y);
      const Point v = toV(u.x, u.y);
      EXPECT_NEAR(v.x, 0.5F + 0.1F * x, 1e-5F);
      EXPECT_NEAR(v.y, 0.5F + 0.1F * y, 1e-5F);
    }
  }
  EXPECT_TRUE(rec.reports().empty());

  // The user projection number too.
  zep::stnusr(101);
  finalizeMap(99);
  const Point v = toV(90, 30);
  EXPECT_NEAR(v.x, 0.5F + 0.1F * kPi / 2, 1e-5F);
  EXPECT_NEAR(v.y, 0.5F + 0.1F * 0.5F, 1e-5F);
  EXPECT_TRUE(rec.reports().empty());
  resetMapParameters();
}

TEST(MapFinalization, ParametersReachTheProjections) {
  // Equidistant cylindrical, SIMFAC 0.1: (90, 0) lies pi/2 tenths right of the centre.
  zep::sgsmpl(0, 90, 0);
  finalizeMap(10);
  Point v = toV(90, 0);
  EXPECT_NEAR(v.x, 0.5F + 0.1F * kPi / 2, 1e-6F);
  EXPECT_NEAR(v.y, 0.5F, 1e-6F);

  // Standard latitudes in degrees reach the cones in radians: the pole of an
  // equidistant conic at 30 degrees lies tan 60 - pi/3 below the apex.
  zep::sgrset("STLAT1", 30.0F);
  finalizeMap(20);
  v = toV(0, 90);
  EXPECT_NEAR(v.y, 0.5F - 0.1F * (std::tan(60 * kDeg) - kPi / 3), 1e-5F);
  // In radians when LDEG is off.
  zep::sglset("LDEG", false);
  zep::sgrset("STLAT1", static_cast<float>(30 * kDeg));
  zep::sgsmpl(0, static_cast<float>(kPi / 2), 0);
  finalizeMap(20);
  v = toV(0, static_cast<float>(kPi / 2));
  EXPECT_NEAR(v.y, 0.5F - 0.1F * (std::tan(60 * kDeg) - kPi / 3), 1e-5F);
  zep::sglset("LDEG", true);
  zep::sgsmpl(0, 90, 0);

  // Conformal conic on two southern standard latitudes: the apex is the south pole.
  zep::sgrset("STLAT1", -30.0F);
  zep::sgrset("STLAT2", -60.0F);
  finalizeMap(22);
  v = toV(45, -90);
  EXPECT_NEAR(v.x, 0.5F, 1e-6F);
  EXPECT_NEAR(v.y, 0.5F, 1e-6F);
  EXPECT_GT(toV(0, 0).y, 0.5F);

  // The viewpoint distance makes the orthographic projection a satellite view.
  zep::sgrset("RSAT", 3.0F);
  finalizeMap(30);
  v = toV(0, 30);
  EXPECT_NEAR(v.y, 0.5F - 0.1F * std::cos(30 * kDeg) / (1 - 0.5 / 3), 1e-5F);
  zep::sgrset("RSAT", 0.0F);
  finalizeMap(30);
  v = toV(0, 30);
  EXPECT_NEAR(v.y, 0.5F - 0.1F * std::cos(30 * kDeg), 1e-5F);
  resetMapParameters();
}

TEST(MapFinalization, WholeChainComesBackWithATurnedPole) {
  ReportRecorder rec;
  zep::sgsmpl(135, 50, 20);
  zep::sgrset("STLAT1", 35.0F);
  zep::sgrset("STLAT2", 65.0F);
  for (const MapRow& m : kMaps) {
    finalizeMap(m.itr);
    // The map pole is the north pole of T: for the azimuthal projections it
    // lands on the viewport centre.
    if (m.itr >= 30) {
      const Point c = toV(135, 50);
      EXPECT_NEAR(c.x, 0.5F, 1e-5F) << m.itr;
      EXPECT_NEAR(c.y, 0.5F, 1e-5F) << m.itr;
    }
    // Points within 60 degrees of the map pole are on every map's good side.
    for (const Point& u : {Point{135, 80}, Point{100, 40}, Point{170, 30}, Point{-160, 60}, Point{120, 20}}) {
      const Point back = toU(toV(u.x, u.y));
      // The Robinson inverse is a polynomial fit of its own.
      const float tol = m.itr == 17 ? 2.0F : 0.05F;
      EXPECT_NEAR(std::remainder(back.x - u.x, 360.0F), 0.0F, tol) << m.itr << " " << u.x << "," << u.y;
      EXPECT_NEAR(back.y, u.y, tol) << m.itr << " " << u.x << "," << u.y;
    }
  }
  EXPECT_TRUE(rec.reports().empty());
  resetMapParameters();
}

TEST(UserProjection, NamesAndSelection) {
  const struct {
    int n;
    const char* name;
  } names[] = {{100, "CENTRAL CYLINDRICAL"}, {101, "EQ.-AREA CYLINDRICAL"}, {102, "BRAUN CYLINDRICAL"},
               {103, "BACON'S GLOBULAR"}, {104, "CENTRAL CONICAL"}, {99, ""}, {105, ""}, {-1, ""}};
  for (const auto& n : names) {
    std::string out(24, '*');
    zep::stcusr(n.n, out);
    std::string want = n.name;
    want.resize(24, ' ');
    EXPECT_EQ(out, want) << n.n;
  }
  char shortName[7];
  zep::stcusr(103, shortName);
  EXPECT_EQ(std::string(shortName, 7), "BACON'S");

  // Braun's cylindrical takes its standard latitude at finalization.
  zep::sgrset("STLAT1", 60.0F);
  zep::stnusr(102);
  finalizeMap(99);
  Point v = toV(-90, 40);
  EXPECT_NEAR(v.x, 0.5F - 0.1F * kPi / 2, 1e-5F);
  EXPECT_NEAR(v.y, 0.5F + 0.1F * 2 * std::cos(60 * kDeg) * std::tan(20 * kDeg), 1e-5F);
  Point u = toU(v);
  EXPECT_NEAR(u.x, -90, 1e-3F);
  EXPECT_NEAR(u.y, 40, 1e-3F);

  // stsusr finalizes ITR 99 by itself, whatever ITR says.
  zep::sgrset("STLAT1", 50.0F);
  zep::stnusr(104);
  zep::sgstrn(1);
  zep::stsusr();
  bool lmap = false;
  zep::stqtrf(lmap);
  EXPECT_TRUE(lmap);
  v = toV(0, 50);
  // The standard parallel of the central cone lies cot 50 below the apex.
  EXPECT_NEAR(v.y, 0.5F - 0.1F / std::tan(50 * kDeg), 1e-5F);
  float x = 0, y = 0;
  zep::stfusr(static_cast<float>(30 * kDeg), static_cast<float>(50 * kDeg), x, y);
  float lon = 0, lat = 0;
  zep::stiusr(x, y, lon, lat);
  EXPECT_NEAR(lon, 30 * kDeg, 1e-5);
  EXPECT_NEAR(lat, 50 * kDeg, 1e-5);

  // Bacon's globular refuses the far hemisphere through the whole chain.
  zep::stnusr(103);
  finalizeMap(99);
  u = toU({0.5F + 0.1F * 1.5F, 0.5F});
  EXPECT_EQ(u.x, kRundef);
  EXPECT_EQ(u.y, kRundef);
  resetMapParameters();
}

TEST(UserProjectionDeath, UnselectedProjectionStopsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // The notice goes to standard output; sent to standard error here so that
  // the death test can read it.
  EXPECT_EXIT(
      {
        ::dup2(2, 1);
        float xy[2];
        zep::stfusr(0.1F, 0.2F, xy[0], xy[1]);
      },
      testing::ExitedWithCode(16), zeptest::lineRegex("CALL STNUSR(i) before calling STFUSR"));
  EXPECT_EXIT(
      {
        ::dup2(2, 1);
        zep::stnusr(7);
        float xy[2];
        zep::stiusr(0.1F, 0.2F, xy[0], xy[1]);
      },
      testing::ExitedWithCode(16), zeptest::lineRegex("CALL STNUSR(i) before calling STIUSR"));
  EXPECT_EXIT(
      {
        zep::stnusr(-1);
        finalizeMap(99);
        toV(10, 10);
      },
      testing::ExitedWithCode(16), "");
}

TEST(MapSolversDeath, ExhaustedNewtonEndsTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        float th = 0;
        zep::mpznwt(runaway, 0, th);
      },
      testing::KilledBySignal(SIGABRT),
      zeptest::lineRegex(" ***** ERROR (MPZNWT) ***  EXCEEDING MAXIMUM ITERATIONS."));
}

}  // namespace
