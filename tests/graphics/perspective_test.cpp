// 3-D perspective transformation: perspective and parallel projections against
// a rotation computed here, the 2-D view and its inverse, suspension, reports,
// and where lines land once the view is switched into the line pipeline.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "graphics/report_recorder.hpp"
#include "support/message_file.hpp"
#include "support/page_pixels.hpp"
#include "support/png_image.hpp"
#include "support/recording_port.hpp"
#include "support/test_support.hpp"

namespace {

using zeptest::lineRegex;
using zeptest::Report;
using zeptest::ReportRecorder;

constexpr float kRundef = -999.0F;
namespace fs = std::filesystem;

using Vec = std::array<double, 3>;

// The rotation of the axes by the Euler angles: first by phi in the x-y plane,
// then by -theta in the x-z plane, then by psi in the x-y plane; each plane
// step maps (a, b) to (a cos t + b sin t, b cos t - a sin t).
Vec rotate(double theta, double phi, double psi, const Vec& v) {
  auto plane = [](double t, double a, double b) {
    return std::array<double, 2>{a * std::cos(t) + b * std::sin(t), b * std::cos(t) - a * std::sin(t)};
  };
  const auto s1 = plane(phi, v[0], v[1]);
  const auto s2 = plane(-theta, s1[0], v[2]);
  const auto s3 = plane(psi, s2[0], s1[1]);
  return {s3[0], s3[1], s2[1]};
}

struct View3 {
  double xobj, yobj, zobj, theta, phi, psi, fac, rz0, rx0, ry0;
  void set() const {
    zep::stspr3(static_cast<float>(xobj), static_cast<float>(yobj), static_cast<float>(zobj),
                static_cast<float>(theta), static_cast<float>(phi), static_cast<float>(psi), static_cast<float>(fac),
                static_cast<float>(rz0), static_cast<float>(rx0), static_cast<float>(ry0));
  }
  // The image in R, computed here in double precision.
  std::array<double, 2> image(const Vec& x) const {
    const Vec p = rotate(theta, phi, psi, {fac * (x[0] - xobj), fac * (x[1] - yobj), fac * (x[2] - zobj)});
    const double cc = rz0 > 0 ? rz0 / (rz0 - p[2]) : 1.0;
    return {cc * p[0] + rx0, cc * p[1] + ry0};
  }
};

const View3 kPerspective{0.5, 0.4, 0.1, 0.7, -0.4, 0.3, 0.8, 2.5, 0.5, 0.45};
const View3 kParallel{0.5, 0.4, 0.1, 0.7, -0.4, 0.3, 0.8, 0.0, 0.5, 0.45};

struct Point {
  float x, y;
};

Point v2r(float vx, float vy) {
  Point r{0, 0};
  zep::stfpr2(vx, vy, r.x, r.y);
  return r;
}

Point r2v(float rx, float ry) {
  Point v{0, 0};
  zep::stipr2(rx, ry, v.x, v.y);
  return v;
}

void resetView() {
  zep::stspr2(0, 0, 0);
  zep::stspr3(0, 0, 0, 0, 0, 0, 1, 0, 0, 0);
}

TEST(Perspective, IdentityUntilSwitchedOnAndWithTheNeutralProjection) {
  ZEP_EXPECT_ISOLATED([] {
    const Point r = v2r(0.3F, 0.7F);
    if (r.x != 0.3F || r.y != 0.7F) return std::string("not the identity at start");
    const Point v = r2v(0.3F, 0.7F);
    if (v.x != 0.3F || v.y != 0.7F) return std::string("inverse not the identity at start");
    // Switched on before any 3-D set-up: a parallel view without rotation.
    zep::stspr2(1, 2, 0);
    const Point p = v2r(0.3F, 0.7F);
    if (p.x != 0.3F || p.y != 0.7F) return std::string("view before stspr3");
    return std::string();
  });
  zep::stspr3(0, 0, 0, 0, 0, 0, 1, 0, 0, 0);
  zep::stspr2(1, 2, 0);
  for (float v : {-0.5F, 0.0F, 0.25F, 1.0F}) {
    const Point r = v2r(v, 1.0F - v);
    EXPECT_FLOAT_EQ(r.x, v);
    EXPECT_FLOAT_EQ(r.y, 1.0F - v);
  }
  // Mirrored x.
  zep::stspr2(-1, 2, 0);
  EXPECT_FLOAT_EQ(v2r(0.25F, 0.5F).x, -0.25F);
  EXPECT_FLOAT_EQ(v2r(0.25F, 0.5F).y, 0.5F);
  resetView();
}

TEST(Perspective, ThreeDPointsMatchTheComputedProjection) {
  // Without rotation and with scale 1, a point half-way to the eye doubles.
  zep::stspr3(0, 0, 0, 0, 0, 0, 1, 2, 0.5F, 0.5F);
  float rx = 0, ry = 0;
  zep::stfpr3(0.1F, -0.2F, 1.0F, rx, ry);
  EXPECT_FLOAT_EQ(rx, 0.7F);
  EXPECT_FLOAT_EQ(ry, 0.1F);

  for (const View3* view : {&kPerspective, &kParallel}) {
    view->set();
    for (double x = -0.5; x <= 1.0; x += 0.5)
      for (double y = -0.5; y <= 1.0; y += 0.5)
        for (double z = -0.5; z <= 1.0; z += 0.5) {
          zep::stfpr3(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z), rx, ry);
          const auto want = view->image({x, y, z});
          EXPECT_NEAR(rx, want[0], 2e-6) << x << " " << y << " " << z;
          EXPECT_NEAR(ry, want[1], 2e-6) << x << " " << y << " " << z;
        }
  }
  resetView();
}

TEST(Perspective, TwoDViewPlacesVOnTheChosenAxesAndInvertsBack) {
  struct Case {
    int ix, iy;
    float sec;
  };
  const Case cases[] = {{1, 2, 0.0F}, {2, 3, 0.5F}, {-3, 1, -0.2F}, {3, -2, 0.3F}, {2, 1, 0.1F}};
  for (const View3* view : {&kPerspective, &kParallel}) {
    view->set();
    for (const Case& c : cases) {
      SCOPED_TRACE(std::to_string(c.ix) + " " + std::to_string(c.iy) + " rz0 " + std::to_string(view->rz0));
      zep::stspr2(c.ix, c.iy, c.sec);
      for (float vx = -0.2F; vx <= 1.2F; vx += 0.35F)
        for (float vy = -0.2F; vy <= 1.2F; vy += 0.35F) {
          Vec q{0, 0, 0};
          const int nx = std::abs(c.ix), ny = std::abs(c.iy);
          q[static_cast<std::size_t>(nx - 1)] = c.ix < 0 ? -vx : vx;
          q[static_cast<std::size_t>(ny - 1)] = c.iy < 0 ? -vy : vy;
          q[static_cast<std::size_t>(6 - nx - ny - 1)] = c.sec;
          const auto want = view->image(q);
          const Point r = v2r(vx, vy);
          EXPECT_NEAR(r.x, want[0], 2e-6);
          EXPECT_NEAR(r.y, want[1], 2e-6);
          const Point back = r2v(r.x, r.y);
          EXPECT_NEAR(back.x, vx, 1e-5);
          EXPECT_NEAR(back.y, vy, 1e-5);
        }
    }
  }
  resetView();
}

TEST(Perspective, SuspendRestoreAndDegenerateViews) {
  ReportRecorder rec;
  kPerspective.set();
  zep::stspr2(1, 2, 0);
  const Point on = v2r(0.2F, 0.3F);
  zep::stepr2();
  EXPECT_EQ(v2r(0.2F, 0.3F).x, 0.2F);
  zep::strpr2();
  EXPECT_EQ(v2r(0.2F, 0.3F).x, on.x);
  // Off stays off.
  zep::stspr2(0, 2, 0);
  zep::stepr2();
  zep::strpr2();
  EXPECT_EQ(v2r(0.2F, 0.3F).x, 0.2F);

  // Bad axis numbers are refused and change nothing.
  zep::stspr2(1, 2, 0);
  zep::stspr2(4, 2, 0);
  zep::stspr2(1, -5, 0);
  zep::stspr2(INT_MIN, 2, 0);  // no magnitude in int: refused, not an index
  EXPECT_EQ(v2r(0.2F, 0.3F).x, on.x);
  const std::vector<Report> want = {{"E", "STSPR2", "INVALID COORDINATE NUMBER (IX)."},
                                    {"E", "STSPR2", "INVALID COORDINATE NUMBER (IY)."},
                                    {"E", "STSPR2", "INVALID COORDINATE NUMBER (IX)."}};
  EXPECT_EQ(rec.reports(), want);

  // Both V coordinates on one axis: no way back.
  zep::stspr2(1, 1, 0);
  const Point r = v2r(0.2F, 0.3F);
  EXPECT_EQ(r2v(r.x, r.y).x, kRundef);
  // A point in the plane of the eye has no image.
  zep::stspr3(0, 0, 0, 0, 0, 0, 1, 2, 0, 0);
  float rx = 0, ry = 0;
  zep::stfpr3(0.3F, 0.3F, 2.0F, rx, ry);
  EXPECT_EQ(rx, kRundef);
  EXPECT_EQ(ry, kRundef);
  resetView();
}

TEST(PerspectiveDeath, ReportLines) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(zep::stspr2(0 - 4, 1, 0), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (STSPR2) ***  INVALID COORDINATE NUMBER (IX)."));
  EXPECT_EXIT(zep::stspr2(2, 7, 0), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (STSPR2) ***  INVALID COORDINATE NUMBER (IY)."));
}

// ---------------------------------------------------------------------------
// In the line pipeline
// ---------------------------------------------------------------------------

// The W points of the polylines that reached the recording workstation.
std::vector<Point> drawnPoints() {
  std::vector<Point> pts;
  for (const std::string& s : zeptest::driverLog()) {
    double x = 0, y = 0;
    if (std::sscanf(s.c_str(), "gmov(%lf,%lf)", &x, &y) == 2 || std::sscanf(s.c_str(), "gplt(%lf,%lf)", &x, &y) == 2)
      pts.push_back({static_cast<float>(x), static_cast<float>(y)});
  }
  return pts;
}

// The recording workstation is 900 x 650; after sgfrm the frame is the square
// of 650 from x = 125.
Point wOf(double rx, double ry) { return {static_cast<float>(125 + 650 * rx), static_cast<float>(650 * ry)}; }

TEST(PerspectivePipeline, LinesAreMappedBetweenVAndR) {
  ZEP_EXPECT_ISOLATED([] {
    zep::workstation::setDriverPort(&zeptest::recordingPort());
    zep::gliset("MSGLEV", 2);
    zep::sgopn(2);
    zep::sgfrm();
    kPerspective.set();
    zep::stspr2(1, 2, 0.1F);
    zeptest::driverLog().clear();
    zep::sglnv(0.2F, 0.3F, 0.7F, 0.6F);
    // A curvilinear grid drawn in user coordinates passes the same stage.
    const float ux[] = {0, 1};
    const float uy[] = {0, 1};
    const float cx[] = {0.1F, 0.9F, 0.3F, 0.7F};
    const float cy[] = {0.1F, 0.2F, 0.8F, 0.9F};
    zep::g2sctr(2, 2, ux, uy, cx, cy);
    zep::sgswnd(0, 1, 0, 1);
    zep::sgscwd(0, 1, 0, 1);
    zep::sgstrn(51);
    zep::sgstrf();
    zep::sglnu(0.5F, 0.5F, 1.0F, 1.0F);  // (0.5, 0.5) is (0.5, 0.5); (1, 1) is (0.7, 0.9)
    zep::stepr2();
    zep::sglnv(0.2F, 0.3F, 0.7F, 0.6F);
    zep::strpr2();
    const std::vector<Point> got = drawnPoints();
    std::vector<Point> want;
    for (const auto& v : {Vec{0.2, 0.3, 0.1}, Vec{0.7, 0.6, 0.1}, Vec{0.5, 0.5, 0.1}, Vec{0.7, 0.9, 0.1}}) {
      const auto r = kPerspective.image(v);
      want.push_back(wOf(r[0], r[1]));
    }
    want.push_back(wOf(0.2, 0.3));
    want.push_back(wOf(0.7, 0.6));
    if (got.size() != want.size()) return "points: " + std::to_string(got.size());
    for (std::size_t i = 0; i < got.size(); ++i)
      if (std::fabs(got[i].x - want[i].x) > 0.1F || std::fabs(got[i].y - want[i].y) > 0.1F)
        return "point " + std::to_string(i) + ": " + std::to_string(got[i].x) + ", " + std::to_string(got[i].y) +
               " instead of " + std::to_string(want[i].x) + ", " + std::to_string(want[i].y);
    return std::string();
  });
}

TEST(PerspectivePipeline, AnEndInThePlaneOfTheEyeLiftsThePen) {
  ZEP_EXPECT_ISOLATED([] {
    zep::workstation::setDriverPort(&zeptest::recordingPort());
    zep::gliset("MSGLEV", 2);
    zep::sgopn(2);
    zep::sgfrm();
    // V y is the depth axis: y = 0.5 lies in the plane of the eye.
    zep::stspr3(0, 0, 0, 0, 0, 0, 1, 0.5F, 0.5F, 0.5F);
    zep::stspr2(1, 3, 0.0F);
    zeptest::driverLog().clear();
    zep::sglnv(0.1F, 0.5F, 0.2F, 0.0F);
    zep::sglnv(0.2F, 0.0F, 0.1F, 0.5F);
    const std::vector<std::string> want = {"oopn(SZLN,1)", "qwdc", "qclc", "swdi(1)", "scli(1)", "gopn", "gmov(580.0,325.0)",
                                           "gcls", "ocls(SZLN)", "oopn(SZLN,1)", "swdi(1)", "scli(1)", "gopn",
                                           "gmov(580.0,325.0)", "gcls", "ocls(SZLN)"};
    return zeptest::expectLines(zeptest::driverLog(), want);
  });
}

using zeptest::colourOf;

bool near(const zeptest::Png& png, double x, double y, std::uint32_t rgb, int r = 3) {
  const int cx = static_cast<int>(x + 0.5), cy = static_cast<int>(y + 0.5);
  return zeptest::countPixels(png, rgb, cx - r, cy - r, cx + r + 1, cy + r + 1) > 0;
}

// A PNG page of 900 x 650 with a border of 2: pixel of an R point.
double px(double rx) { return 2 + 125 + 650 * rx; }
double py(double ry) { return 2 + 650 - 650 * ry; }

TEST(PerspectivePipeline, ASquareInPerspectiveOnAPngPage) {
  const fs::path keep = fs::current_path() / "perspective_square.png";
  ZEP_EXPECT_ISOLATED([keep] {
    zeptest::TempWorkDir dir;
    zep::swiset("IFL", 1);
    zep::gliset("MSGLEV", 2);
    zep::sgopn(2);
    zep::sgfrm();
    kPerspective.set();
    zep::stspr2(1, 2, 0.0F);
    zep::sgslni(33);
    const float sq[5][2] = {{0.1F, 0.1F}, {0.9F, 0.1F}, {0.9F, 0.9F}, {0.1F, 0.9F}, {0.1F, 0.1F}};
    for (int i = 0; i < 4; ++i) zep::sglnv(sq[i][0], sq[i][1], sq[i + 1][0], sq[i + 1][1]);
    zep::sgcls();
    const zeptest::Png png(dir.path() / "zep_0001.png");
    if (!png.ok()) return std::string("no page");
    std::error_code ec;
    fs::copy_file(dir.path() / "zep_0001.png", keep, fs::copy_options::overwrite_existing, ec);
    const std::uint32_t colour = colourOf(3);
    for (int i = 0; i < 4; ++i)
      for (double t = 0.1; t < 1.0; t += 0.2) {
        const double vx = sq[i][0] + t * (sq[i + 1][0] - sq[i][0]);
        const double vy = sq[i][1] + t * (sq[i + 1][1] - sq[i][1]);
        const auto r = kPerspective.image({vx, vy, 0.0});
        if (!near(png, px(r[0]), py(r[1]), colour))
          return "edge " + std::to_string(i) + " missing at " + std::to_string(t);
        // Where the square would be without the view, nothing is drawn
        // (unless the projected square passes there too).
        const double dr = std::hypot(r[0] - vx, r[1] - vy);
        if (dr > 0.03 && near(png, px(vx), py(vy), colour, 2)) {
          bool crossed = false;
          for (int k = 0; k < 4 && !crossed; ++k)
            for (double s = 0; s <= 1.0; s += 0.01) {
              const auto q = kPerspective.image({sq[k][0] + s * (sq[k + 1][0] - sq[k][0]),
                                                 sq[k][1] + s * (sq[k + 1][1] - sq[k][1]), 0.0});
              if (std::hypot(px(q[0]) - px(vx), py(q[1]) - py(vy)) < 6) crossed = true;
            }
          if (!crossed) return "unprojected edge " + std::to_string(i) + " drawn at " + std::to_string(t);
        }
      }
    return std::string();
  });
}

}  // namespace
