// Normalization transformation: parameters and their derivations, sgstrf and
// its reports, the linear, logarithmic, polar and bipolar transformations and
// their inverses, rotation to the map pole, degrees, missing values.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <csignal>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "graphics/report_recorder.hpp"
#include "support/test_support.hpp"

namespace {

using zeptest::lineRegex;
using zeptest::Report;
using zeptest::ReportRecorder;

constexpr float kRundef = -999.0F;
const float kPi = 3.14159265F;

// Viewport, window and number in one go, then finalized.
void setAxes(int itr, float vx0, float vx1, float vy0, float vy1, float ux0, float ux1, float uy0, float uy1) {
  zep::sgsvpt(vx0, vx1, vy0, vy1);
  zep::sgswnd(ux0, ux1, uy0, uy1);
  zep::sgstrn(itr);
  zep::sgstrf();
}

void setSimilarity(int itr, bool ldeg, float simfac) {
  zep::sglset("LDEG", ldeg);
  zep::sgsvpt(0, 1, 0, 1);
  zep::sgssim(simfac, 0, 0);
  zep::sgstrn(itr);
  zep::sgstrf();
}

struct Point {
  float x, y;
};

Point forward(float ux, float uy) {
  Point v{0, 0};
  zep::stftrf(ux, uy, v.x, v.y);
  return v;
}

Point inverse(float vx, float vy) {
  Point u{0, 0};
  zep::stitrf(vx, vy, u.x, u.y);
  return u;
}

void expectPoint(const Point& p, float x, float y, const std::string& what, float tol = 2e-6F) {
  SCOPED_TRACE(what);
  EXPECT_NEAR(p.x, x, tol);
  EXPECT_NEAR(p.y, y, tol);
}

TEST(Normalization, SettersAndQueriesStoreTheParameters) {
  float a = 0, b = 0, c = 0, d = 0;
  zep::sgsvpt(0.1F, 0.9F, 0.2F, 0.8F);
  zep::sgqvpt(a, b, c, d);
  EXPECT_EQ((std::vector<float>{a, b, c, d}), (std::vector<float>{0.1F, 0.9F, 0.2F, 0.8F}));
  zep::sgswnd(-3, 4, 5, -6);
  zep::sgqwnd(a, b, c, d);
  EXPECT_EQ((std::vector<float>{a, b, c, d}), (std::vector<float>{-3, 4, 5, -6}));
  zep::sgstxy(-90, 90, 0, 60);
  zep::sgqtxy(a, b, c, d);
  EXPECT_EQ((std::vector<float>{a, b, c, d}), (std::vector<float>{-90, 90, 0, 60}));
  zep::sgsmpl(135, 60, 10);
  zep::sgqmpl(a, b, c);
  EXPECT_EQ((std::vector<float>{a, b, c}), (std::vector<float>{135, 60, 10}));
  zep::sgstrn(7);  // stored without a check
  int itr = 0;
  zep::sgqtrn(itr);
  EXPECT_EQ(itr, 7);
  zep::sgsmpl(0, 90, 0);
  zep::sgstxy(-180, 180, -90, 90);
}

TEST(Normalization, SimilarityAndProjectionWindowDeriveEachOther) {
  zep::sgsvpt(0.1F, 0.9F, 0.2F, 0.8F);
  zep::sgssim(0.4F, 0.1F, -0.1F);
  float cx0 = 0, cx1 = 0, cy0 = 0, cy1 = 0;
  zep::sgqcwd(cx0, cx1, cy0, cy1);
  EXPECT_NEAR(cx0, -1.25F, 1e-6F);
  EXPECT_NEAR(cx1, 0.75F, 1e-6F);
  EXPECT_NEAR(cy0, -0.5F, 1e-6F);
  EXPECT_NEAR(cy1, 1.0F, 1e-6F);

  // The window derived from a similarity gives that similarity back.
  zep::sgssim(0, 0, 0);
  zep::sgscwd(cx0, cx1, cy0, cy1);
  float simfac = 0, vxoff = 0, vyoff = 0;
  zep::sgqsim(simfac, vxoff, vyoff);
  EXPECT_NEAR(simfac, 0.4F, 1e-6F);
  EXPECT_NEAR(vxoff, 0.1F, 1e-6F);
  EXPECT_NEAR(vyoff, -0.1F, 1e-6F);

  // One factor for both axes: a window of another aspect is matched in x.
  zep::sgscwd(0, 2, 0, 2);
  zep::sgqsim(simfac, vxoff, vyoff);
  EXPECT_NEAR(simfac, 0.4F, 1e-6F);
  EXPECT_NEAR(vxoff, -0.4F, 1e-6F);
  EXPECT_NEAR(vyoff, -0.3F, 1e-6F);

  // Degenerate inputs store the parameters but derive nothing.
  zep::sgssim(0, 0.5F, 0.5F);
  zep::sgqcwd(cx0, cx1, cy0, cy1);
  EXPECT_EQ((std::vector<float>{cx0, cx1, cy0, cy1}), (std::vector<float>{0, 2, 0, 2}));
  zep::sgssim(0.4F, 0, 0);
  zep::sgscwd(1, 1, 0, 2);
  zep::sgqsim(simfac, vxoff, vyoff);
  EXPECT_EQ((std::vector<float>{simfac, vxoff, vyoff}), (std::vector<float>{0.4F, 0, 0}));
}

TEST(Normalization, LinearWindowOntoViewport) {
  setAxes(1, 0.1F, 0.9F, 0.2F, 0.8F, 0, 10, -1, 1);
  bool lmap = true;
  zep::stqtrf(lmap);
  EXPECT_FALSE(lmap);
  expectPoint(forward(5, 0), 0.5F, 0.5F, "centre");
  expectPoint(forward(0, -1), 0.1F, 0.2F, "corner");
  expectPoint(forward(20, 3), 1.7F, 1.4F, "outside the window is not clipped here");
  expectPoint(inverse(0.9F, 0.8F), 10, 1, "inverse corner", 1e-5F);

  // A reversed window turns the axis.
  setAxes(1, 0, 1, 0, 1, 10, 0, 0, 1);
  expectPoint(forward(2, 0.25F), 0.8F, 0.25F, "reversed x");
  expectPoint(inverse(0.8F, 0.25F), 2, 0.25F, "reversed x inverse", 1e-5F);

  // The viewport becomes the V clipping rectangle.
  setAxes(1, 0.1F, 0.9F, 0.2F, 0.8F, 0, 1, 0, 1);
  float a = 0, b = 0, c = 0, d = 0;
  zep::szqcll(a, b, c, d, 1);
  EXPECT_EQ((std::vector<float>{a, b, c, d}), (std::vector<float>{0.1F, 0.9F, 0.2F, 0.8F}));
}

TEST(Normalization, LogarithmicAxesIncludingNegativeWindows) {
  setAxes(3, 0.1F, 0.9F, 0.2F, 0.8F, 1, 100, 0, 1);
  expectPoint(forward(10, 0.5F), 0.5F, 0.5F, "log x");
  expectPoint(forward(100, 1), 0.9F, 0.8F, "log x end");
  expectPoint(inverse(0.5F, 0.5F), 10, 0.5F, "log x inverse", 1e-4F);

  // A window of negative numbers: logarithmic axis of the absolute values.
  setAxes(2, 0, 1, 0, 1, 0, 1, -100, -1);
  expectPoint(forward(0.5F, -10), 0.5F, 0.5F, "negative log y");
  expectPoint(forward(0.5F, -100), 0.5F, 0.0F, "negative log y start");
  expectPoint(inverse(0.25F, 0.5F), 0.25F, -10, "negative log y inverse", 1e-4F);

  setAxes(4, 0, 1, 0, 1, 1, 1000, -1000, -1);
  expectPoint(forward(10, -100), 1.0F / 3, 1.0F / 3, "log x and y");
  expectPoint(inverse(2.0F / 3, 2.0F / 3), 100, -10, "log x and y inverse", 1e-3F);

  // Bounds so small that their single-precision product underflows are
  // still on one side of 0.
  ReportRecorder rec;
  setAxes(3, 0, 1, 0, 1, 1e-30F, 1e-20F, 0, 1);
  EXPECT_TRUE(rec.reports().empty());
  expectPoint(forward(1e-25F, 0), 0.5F, 0, "tiny log window", 1e-5F);
}

TEST(Normalization, LogarithmicPointsOnTheWrongSideAreUndefined) {
  ReportRecorder rec;
  setAxes(3, 0.1F, 0.9F, 0.2F, 0.8F, 1, 100, 0, 1);
  expectPoint(forward(0, 0.5F), kRundef, kRundef, "ux 0");
  setAxes(2, 0, 1, 0, 1, 0, 1, -100, -1);
  expectPoint(forward(0.5F, 10), kRundef, kRundef, "uy positive");
  const std::vector<Report> want = {
      {"E", "STFTRN", "UX HAS INVALID SIGN FOR LOG TRANSFORMATION OR IS 0"},
      {"E", "STFTRN", "UY HAS INVALID SIGN FOR LOG TRANSFORMATION OR IS 0"},
  };
  EXPECT_EQ(rec.reports(), want);
}

TEST(Normalization, FinalizationReportsKeepTheLastTransformation) {
  ReportRecorder rec;
  setAxes(1, 0, 1, 0, 1, 0, 2, 0, 2);
  const std::vector<Report> want = {
      {"E", "SGSTRF", "THE REGION STRADDLES 0 FOR LOG TRANSFORMATION (X)."},
      {"E", "SGSTRF", "THE REGION STRADDLES 0 FOR LOG TRANSFORMATION (Y)."},
      {"E", "SGSTRF", "VIEWPORT DEFINITION IS INVALID."},
      {"E", "SGSTRF", "VIEWPORT DEFINITION IS INVALID."},
      {"E", "SGSTRF", "WINDOW DEFINITION IS INVALID."},
      {"E", "SGSTRF", "WINDOW DEFINITION IS INVALID."},
      {"E", "SGSTRF", "TRANSFORMATION FUNCTION NUMBER IS INVALID."},
      {"E", "SGSTRF", "TRANSFORMATION FUNCTION NUMBER IS INVALID."},
      {"E", "SGSTRF", "TRANSFORMATION FUNCTION NUMBER IS INVALID."},
  };
  setAxes(3, 0, 1, 0, 1, -1, 10, 1, 2);
  setAxes(4, 0, 1, 0, 1, 1, 10, 0, 2);
  setAxes(1, 0.5F, 0.5F, 0, 1, 0, 1, 0, 1);
  setAxes(1, 0, 1, 0.6F, 0.4F, 0, 1, 0, 1);
  setAxes(1, 0, 1, 0, 1, 3, 3, 0, 1);
  setAxes(3, 0, 1, 0, 1, 1, 10, 5, 5);
  setAxes(7, 0, 1, 0, 1, 0, 1, 0, 1);
  setAxes(25, 0, 1, 0, 1, 0, 1, 0, 1);
  setAxes(0, 0, 1, 0, 1, 0, 1, 0, 1);
  EXPECT_EQ(rec.reports(), want);
  expectPoint(forward(1, 1), 0.5F, 0.5F, "still the first transformation");
}

TEST(Normalization, WindowsBeyondFloatRangeAreRejected) {
  ReportRecorder rec;
  setAxes(1, 0, 1, 0, 1, 0, 2, 0, 2);
  // Widths (and a log window's ratio) that overflow a float, or one too small to divide by.
  setAxes(1, 0, 1, 0, 1, -3.4e38F, 3.4e38F, 0, 1);
  setAxes(3, 0, 1, 0, 1, 1e-20F, 1e20F, 0, 1);
  setAxes(2, 0, 1, 0, 1, 0, 1, 1e30F, 1e-30F);
  setAxes(1, 0, 1, 0, 1, 0, 1e-44F, 0, 1);
  EXPECT_EQ(rec.reports(), std::vector<Report>(4, Report{"E", "SGSTRF", "WINDOW DEFINITION IS INVALID."}));
  expectPoint(forward(1, 1), 0.5F, 0.5F, "still the first transformation");
  setAxes(3, 0, 1, 0, 1, 1e-18F, 1e18F, 0, 1);  // 36 decades still fit
  expectPoint(forward(1, 0), 0.5F, 0, "middle of 36 decades", 1e-5F);
  EXPECT_EQ(rec.reports().size(), 4U);
}

TEST(Normalization, DegenerateConesAreReportedAtFinalization) {
  ReportRecorder rec;
  for (const auto& [itr, st1, st2] : {std::array{20, 0, 0}, {22, 0, 0}, {23, 0, 0}, {20, 30, 0}, {21, 0, 0},
                                      {22, 0, 30}, {23, -45, 0}}) {
    zep::sgrset("STLAT1", static_cast<float>(st1));
    zep::sgrset("STLAT2", static_cast<float>(st2));
    setSimilarity(itr, true, 0.2F);
    // On the equator the cone is a plane at infinity: 30E 45N lands far off.
    if (itr == 20 && st1 == 0) {
      EXPECT_GT(std::fabs(forward(30, 45).y), 1e5F);
    }
  }
  const std::string far = "; THE MAP LIES FAR OFF THE VIEWPORT.";
  EXPECT_EQ(rec.reports(), (std::vector<Report>{
                               {"W", "SGSTRF", "(ITR:20) EQUIDISTANT CONIC IS DEGENERATE FOR STANDARD LATITUDE STLAT1" + far},
                               {"W", "SGSTRF", "(ITR:22) CONFORMAL CONIC IS DEGENERATE FOR STANDARD LATITUDES STLAT1 AND STLAT2" + far},
                               {"W", "SGSTRF", "(ITR:23) BONNE IS DEGENERATE FOR STANDARD LATITUDE STLAT1" + far}}));
  zep::sgrset("STLAT1", 0);
}

TEST(Normalization, PolarCoordinates) {
  setSimilarity(5, true, 0.4F);
  expectPoint(forward(1, 90), 0.5F, 0.9F, "r 1 at 90 degrees");
  expectPoint(forward(0.5F, 180), 0.3F, 0.5F, "r 0.5 at 180 degrees");
  expectPoint(forward(1, 0), 0.9F, 0.5F, "theta 0");
  expectPoint(inverse(0.5F, 0.9F), 1, 90, "inverse", 1e-4F);
  expectPoint(inverse(0.3F, 0.5F), 0.5F, 180, "inverse at 180", 1e-4F);

  setSimilarity(5, false, 0.4F);
  expectPoint(forward(1, kPi / 2), 0.5F, 0.9F, "radians");
  expectPoint(inverse(0.5F, 0.1F), 1, -kPi / 2, "inverse in radians", 1e-5F);

  // Offsets move the origin away from the viewport centre.
  zep::sgsvpt(0, 1, 0, 1);
  zep::sgssim(0.4F, 0.1F, -0.2F);
  zep::sgstrf();
  expectPoint(forward(1, 0), 1.0F, 0.3F, "offset origin");

  // Without a scale every point lies on the centre, and none leads back.
  zep::sgssim(0, 0, 0);
  zep::sgstrf();
  expectPoint(forward(3, 1), 0.5F, 0.5F, "zero scale");
  expectPoint(inverse(0.5F, 0.5F), kRundef, kRundef, "zero scale inverse");
  zep::sglset("LDEG", true);
}

TEST(Normalization, BipolarCoordinates) {
  setSimilarity(6, false, 0.25F);
  expectPoint(forward(0, 0), 0.5F, 0.5F, "origin");
  expectPoint(forward(kPi / 2, 0), 0.5F, 0.75F, "u pi/2");
  const float d = std::cosh(1.0F) + 1.0F;
  expectPoint(forward(0, 1), 0.5F + 0.25F * std::sinh(1.0F) / d, 0.5F, "v 1");
  // cosh v + cos u = 0: the point has no image.
  expectPoint(forward(zep::rfpi(), 0), kRundef, kRundef, "pole of the system");

  setSimilarity(6, true, 0.25F);  // both coordinates are angles
  expectPoint(forward(90, 0), 0.5F, 0.75F, "u 90 degrees");

  ReportRecorder rec;
  expectPoint(inverse(0.5F, 0.5F), kRundef, kRundef, "no inverse");
  EXPECT_EQ(rec.reports(),
            (std::vector<Report>{{"E", "STITRN", "INVERSE TRANSFORMATION IS NOT DEFINED FOR ITR=6."}}));
}

TEST(Normalization, MissingValuesPassThroughUntouched) {
  setAxes(1, 0, 1, 0, 1, 0, 2, 0, 2);
  zep::gllset("LMISS", true);
  zep::sgstrf();  // the missing-value settings are taken when finalizing
  expectPoint(forward(999, 1), 999, 999, "missing x");
  expectPoint(forward(1, 999), 999, 999, "missing y");
  expectPoint(forward(1, 1), 0.5F, 0.5F, "ordinary point");
  zep::gllset("LMISS", false);
  zep::sgstrf();
  expectPoint(forward(999, 1), 499.5F, 0.5F, "999 is a number without LMISS", 1e-3F);
}

TEST(Normalization, DegreesPerAxis) {
  zep::stsrad(true, false);
  float xr = 0, yr = 0;
  zep::stfrad(180, 180, xr, yr);
  EXPECT_FLOAT_EQ(xr, zep::rfpi());
  EXPECT_FLOAT_EQ(yr, 180.0F);
  float x = 0, y = 0;
  zep::stirad(xr, yr, x, y);
  EXPECT_NEAR(x, 180.0F, 1e-4F);
  EXPECT_FLOAT_EQ(y, 180.0F);
  zep::stsrad(false, false);
}

TEST(Normalization, RotationToTheMapPole) {
  const float cp = zep::rfpi() / 180;
  // Default pole: T is U shifted in longitude.
  zep::stsrot(0, 30 * cp, 10 * cp);
  float tx = 0, ty = 0;
  zep::stfrot(100 * cp, 20 * cp, tx, ty);
  EXPECT_NEAR(tx, 60 * cp, 1e-6F);
  EXPECT_NEAR(ty, 20 * cp, 1e-6F);

  // A pole at (30E, 45N) becomes the north pole of T, and points come back.
  zep::stsrot(zep::rfpi() / 2 - 45 * cp, 30 * cp, 0);
  zep::stfrot(30 * cp, 45 * cp, tx, ty);
  EXPECT_NEAR(ty, zep::rfpi() / 2, 1e-5F);
  for (const Point& u : {Point{10 * cp, -20 * cp}, Point{-150 * cp, 60 * cp}, Point{90 * cp, 0}}) {
    zep::stfrot(u.x, u.y, tx, ty);
    float ux = 0, uy = 0;
    zep::stirot(tx, ty, ux, uy);
    // Longitudes come back up to a full turn; folding is the projection's job.
    EXPECT_NEAR(std::remainder(ux - u.x, 2 * zep::rfpi()), 0.0F, 1e-5F);
    EXPECT_NEAR(uy, u.y, 1e-5F);
  }

  // The complete transformation with a map: degrees, rotation, projection
  // step (here the identity) and scaling, and back.
  zep::sgswnd(0, 1, 0, 1);
  zep::stsrad(true, true);
  zep::ststrf(true);
  zep::ststri(1);
  zep::ststrp(0.1F, 0.1F, 0.5F, 0.5F);
  bool lmap = false;
  zep::stqtrf(lmap);
  EXPECT_TRUE(lmap);
  const Point v = forward(30, 45);
  EXPECT_NEAR(v.y, 0.5F + 0.1F * zep::rfpi() / 2, 1e-5F);
  const Point back = inverse(forward(-40, 10).x, forward(-40, 10).y);
  expectPoint(back, -40, 10, "map chain inverse", 1e-3F);
  zep::stsrot(0, 0, 0);
  zep::sgstrn(1);
  zep::sgstrf();
}

TEST(NormalizationDeath, ErrorReportLines) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(setAxes(3, 0.1F, 0.9F, 0.2F, 0.8F, -1, 10, 0, 1), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SGSTRF) ***  THE REGION STRADDLES 0 FOR LOG TRANSFORMATION (X)."));
  EXPECT_EXIT(
      {
        setAxes(3, 0.1F, 0.9F, 0.2F, 0.8F, 1, 100, 0, 1);
        forward(0, 0.5F);
      },
      testing::KilledBySignal(SIGABRT),
      lineRegex(" ***** ERROR (STFTRN) ***  UX HAS INVALID SIGN FOR LOG TRANSFORMATION OR IS 0"));
  EXPECT_EXIT(
      {
        setSimilarity(6, false, 0.25F);
        inverse(0.5F, 0.5F);
      },
      testing::KilledBySignal(SIGABRT),
      lineRegex(" ***** ERROR (STITRN) ***  INVERSE TRANSFORMATION IS NOT DEFINED FOR ITR=6."));
  EXPECT_EXIT(setAxes(25, 0, 1, 0, 1, 0, 1, 0, 1), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SGSTRF) ***  TRANSFORMATION FUNCTION NUMBER IS INVALID."));
  EXPECT_EXIT(setAxes(1, 0, 0, 0, 1, 0, 1, 0, 1), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SGSTRF) ***  VIEWPORT DEFINITION IS INVALID."));
}

}  // namespace
