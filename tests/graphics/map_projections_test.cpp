// Map projections: each forward mapping against the textbook formulas (written
// out here in double precision, in their usual published form), the defining
// properties of the equal-area and conformal ones, round trips over the globe,
// and the points where a projection ends or has to give up.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "graphics/report_recorder.hpp"

namespace {

using zeptest::Report;
using zeptest::ReportRecorder;

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;
constexpr float kRundef = -999.0F;

using Mapping = void (*)(float, float, float&, float&);

struct XY {
  double x, y;
};

XY apply(Mapping f, double a, double b) {
  float x = 0, y = 0;
  f(static_cast<float>(a), static_cast<float>(b), x, y);
  return {x, y};
}

// Bisection for the auxiliary angle of the pseudocylindrical projections:
// g(th) = rhs with g increasing on [-pi/2, pi/2].
double solveIncreasing(const std::function<double(double)>& g, double rhs) {
  double lo = -kPi / 2, hi = kPi / 2;
  for (int i = 0; i < 200; ++i) {
    const double mid = (lo + hi) / 2;
    (g(mid) < rhs ? lo : hi) = mid;
  }
  return (lo + hi) / 2;
}

// Points in the apex-centred frame of a cone or an azimuthal projection: the
// meridian 0 runs down the negative y axis (s = -1 for a southern cone).
XY polarPoint(double rho, double angle, double s = 1.0) { return {rho * std::sin(angle), -s * rho * std::cos(angle)}; }

void expectXY(const XY& got, const XY& want, double tol, const std::string& what) {
  SCOPED_TRACE(what);
  EXPECT_NEAR(got.x, want.x, tol);
  EXPECT_NEAR(got.y, want.y, tol);
}

std::string at(double lonDeg, double latDeg) {
  return "at lon " + std::to_string(lonDeg) + ", lat " + std::to_string(latDeg);
}

const std::vector<std::pair<double, double>> kSamplePoints = {
    {0, 0}, {30, 0}, {-45, 20}, {100, 45}, {-170, -60}, {150, 75}, {60, -35}, {-90, 89}};

TEST(MapProjections, CylindricalMappingsMatchTheirFormulas) {
  for (auto [lo, la] : kSamplePoints) {
    const double l = lo * kDeg, b = la * kDeg;
    expectXY(apply(zep::mpfcyl, l, b), {l, b}, 1e-6, "equidistant " + at(lo, la));
    if (std::fabs(la) < 85) {
      expectXY(apply(zep::mpfmer, l, b), {l, std::asinh(std::tan(b))}, 2e-5, "Mercator " + at(lo, la));
      expectXY(apply(zep::mpfcyc, l, b), {l, std::tan(b)}, 1e-4, "central cylindrical " + at(lo, la));
    }
    // Miller: Mercator of 4/5 of the latitude, stretched by 5/4.
    expectXY(apply(zep::mpfmil, l, b), {l, 1.25 * std::asinh(std::tan(0.8 * b))}, 2e-5, "Miller " + at(lo, la));
    expectXY(apply(zep::mpfcya, l, b), {l, std::sin(b)}, 1e-6, "equal-area cylindrical " + at(lo, la));
    expectXY(apply(zep::mpfsin, l, b), {l * std::cos(b), b}, 1e-6, "sinusoidal " + at(lo, la));
  }
  // Braun's cylindrical cuts at the standard latitude; 0 gives the classic form.
  zep::mpscyb(0);
  expectXY(apply(zep::mpfcyb, 0.5, 1.0), {0.5, 2 * std::tan(0.5)}, 1e-6, "Braun");
  zep::mpscyb(static_cast<float>(45 * kDeg));
  expectXY(apply(zep::mpfcyb, -0.5, -1.0), {-0.5, -2 * std::cos(45 * kDeg) * std::tan(0.5)}, 1e-6, "Braun 45");
  zep::mpscyb(0);
  // Longitudes outside [-pi, pi] fold back.
  expectXY(apply(zep::mpfcyl, 200 * kDeg, 0), {-160 * kDeg, 0}, 1e-5, "folded longitude");
  expectXY(apply(zep::mpfsin, -200 * kDeg, 0), {160 * kDeg, 0}, 1e-5, "folded longitude, sinusoidal");
}

TEST(MapProjections, PseudocylindricalMappingsMatchTheirFormulas) {
  const double root2 = std::sqrt(2.0);
  const double k6 = std::sqrt(2 + kPi);
  for (auto [lo, la] : kSamplePoints) {
    const double l = lo * kDeg, b = la * kDeg;
    // Mollweide (Snyder): 2t + sin 2t = pi sin(lat).
    const double tm = solveIncreasing([](double t) { return 2 * t + std::sin(2 * t); }, kPi * std::sin(b));
    expectXY(apply(zep::mpfmwd, l, b), {2 * root2 / kPi * l * std::cos(tm), root2 * std::sin(tm)}, 2e-4,
             "Mollweide " + at(lo, la));
    // Eckert VI: t + sin t = (1 + pi/2) sin(lat).
    const double te = solveIncreasing([](double t) { return t + std::sin(t); }, (1 + kPi / 2) * std::sin(b));
    expectXY(apply(zep::mpfek6, l, b), {l * (1 + std::cos(te)) / k6, 2 * te / k6}, 2e-4, "Eckert VI " + at(lo, la));
    // The pole-line ellipse: 2t + sin 2t = (2 pi/3 + sqrt 3/2) sin(lat).
    const double tk = solveIncreasing([](double t) { return 2 * t + std::sin(2 * t); },
                                      (2 * kPi / 3 + std::sqrt(3.0) / 2) * std::sin(b));
    expectXY(apply(zep::mpfktd, l, b), {1.535649 * 1.8 / kPi * l * std::cos(tk), 1.535649 * std::sin(tk)}, 2e-4,
             "pole-line ellipse " + at(lo, la));
    // Hammer: the equatorial azimuthal equal-area map of half the longitude,
    // doubled in width.
    const double kk = std::sqrt(2 / (1 + std::cos(b) * std::cos(l / 2)));
    expectXY(apply(zep::mpfhmr, l, b), {2 * kk * std::cos(b) * std::sin(l / 2), kk * std::sin(b)}, 2e-5,
             "Hammer " + at(lo, la));
    // Bacon's globular as given: straight parallels, elliptic meridians.
    expectXY(apply(zep::mpfglb, l, b), {std::cos(b) * l / (kPi / 2), std::sin(b)}, 1e-5, "globular " + at(lo, la));
  }
  // Mollweide: the pole is one point at the top of the ellipse.
  for (double lo : {-180.0, -30.0, 0.0, 90.0}) {
    const XY p = apply(zep::mpfmwd, lo * kDeg, kPi / 2);
    expectXY(p, {0, 1.4142137}, 1e-6, "Mollweide pole");
  }
}

TEST(MapProjections, RobinsonFollowsRobinsonsTable) {
  // Robinson's table: length of the parallel relative to the equator and
  // distance from the equator relative to the pole's, by latitude.
  struct Row {
    double lat, plen, pdfe;
  };
  const Row table[] = {{0, 1.0, 0.0},       {15, 0.9900, 0.1860}, {30, 0.9600, 0.3720}, {45, 0.8962, 0.5571},
                       {60, 0.7986, 0.7346}, {75, 0.6732, 0.8936}, {85, 0.5722, 0.9761}};
  const XY equator = apply(zep::mpfrbs, 1.0, 0.0);
  const XY pole = apply(zep::mpfrbs, 0.0, kPi / 2);
  for (const Row& r : table) {
    const XY p = apply(zep::mpfrbs, 1.0, r.lat * kDeg);
    EXPECT_NEAR(p.x / equator.x, r.plen, 0.005) << r.lat;
    EXPECT_NEAR(p.y / pole.y, r.pdfe, 0.005) << r.lat;
    const XY south = apply(zep::mpfrbs, -1.0, -r.lat * kDeg);
    EXPECT_NEAR(south.x, -p.x, 1e-6);
    EXPECT_NEAR(south.y, -p.y, 1e-6);
  }
}

TEST(MapProjections, VanDerGrintenMatchesItsConstruction) {
  for (auto [lo, la] : kSamplePoints) {
    if (std::fabs(lo) < 1 || std::fabs(la) < 1 || std::fabs(la) > 85) continue;
    const double l = lo * kDeg, b = la * kDeg;
    // Snyder's formulas.
    const double th = std::asin(std::fabs(2 * b / kPi));
    const double a = 0.5 * std::fabs(kPi / l - l / kPi);
    const double g = std::cos(th) / (std::sin(th) + std::cos(th) - 1);
    const double p = g * (2 / std::sin(th) - 1);
    const double q = a * a + g;
    const double x = kPi * (a * (g - p * p) + std::sqrt(a * a * (g - p * p) * (g - p * p) - (p * p + a * a) * (g * g - p * p))) /
                     (p * p + a * a);
    const double y = kPi * (p * q - a * std::sqrt((a * a + 1) * (p * p + a * a) - q * q)) / (p * p + a * a);
    expectXY(apply(zep::mpfvdg, l, b), {std::copysign(x, l), std::copysign(std::fabs(y), b)}, 2e-4,
             "van der Grinten " + at(lo, la));
  }
  // The boundary meridian is the circle of radius pi; the central meridian
  // lies at y = pi tan(th/2) with sin th = 2 lat/pi.
  for (double la = -80; la <= 80; la += 20) {
    const XY e = apply(zep::mpfvdg, kPi, la * kDeg);
    EXPECT_NEAR(std::hypot(e.x, e.y), kPi, 2e-3) << la;
    const double th = std::asin(std::fabs(2 * la * kDeg / kPi));
    const XY c = apply(zep::mpfvdg, 0.0, la * kDeg);
    EXPECT_NEAR(c.x, 0.0, 1e-6);
    // (a series in the latitude, good to a few thousandths)
    EXPECT_NEAR(std::fabs(c.y), kPi * std::tan(th / 2), 4e-3) << la;
  }
  // The equator is straight.
  EXPECT_NEAR(apply(zep::mpfvdg, 2.0, 0.0).y, 0.0, 1e-6);
  EXPECT_NEAR(apply(zep::mpfvdg, kPi, 0.0).x, kPi, 1e-5);
}

TEST(MapProjections, ConicMappingsMatchTheirFormulas) {
  const double phi1 = 30 * kDeg;
  zep::mpscon(static_cast<float>(phi1));
  zep::mpscoa(static_cast<float>(phi1));
  zep::mpsbon(static_cast<float>(phi1));
  const double phi2 = 60 * kDeg;
  zep::mpscoc(static_cast<float>(phi1), static_cast<float>(phi2));
  zep::mpscct(static_cast<float>(phi2));
  for (auto [lo, la] : kSamplePoints) {
    if (la < -70 || la > 88) continue;
    const double l = lo * kDeg, b = la * kDeg;
    // Equidistant conic with one standard parallel (Snyder): n = sin phi1,
    // rho = cot phi1 + phi1 - lat, measured from the apex.
    const double n = std::sin(phi1);
    expectXY(apply(zep::mpfcon, l, b), polarPoint(1 / std::tan(phi1) + phi1 - b, n * l), 1e-4,
             "equidistant conic " + at(lo, la));
    // Albers with the second standard parallel at the pole.
    const double na = (std::sin(phi1) + 1) / 2;
    const double c = std::cos(phi1) * std::cos(phi1) + 2 * na * std::sin(phi1);
    expectXY(apply(zep::mpfcoa, l, b), polarPoint(std::sqrt(c - 2 * na * std::sin(b)) / na, na * l), 1e-4,
             "equal-area conic " + at(lo, la));
    // Lambert conformal conic (Snyder).
    const double nc = std::log(std::cos(phi1) / std::cos(phi2)) /
                      std::log(std::tan(kPi / 4 + phi2 / 2) / std::tan(kPi / 4 + phi1 / 2));
    const double f = std::cos(phi1) * std::pow(std::tan(kPi / 4 + phi1 / 2), nc) / nc;
    expectXY(apply(zep::mpfcoc, l, b), polarPoint(f / std::pow(std::tan(kPi / 4 + b / 2), nc), nc * l), 2e-4,
             "conformal conic " + at(lo, la));
    // Bonne (Snyder).
    const double rho = 1 / std::tan(phi1) + phi1 - b;
    expectXY(apply(zep::mpfbon, l, b), polarPoint(rho, l * std::cos(b) / rho), 1e-4, "Bonne " + at(lo, la));
    // Central conical: the cone touching at 60 degrees, seen from the centre.
    if (la > -20) {
      expectXY(apply(zep::mpfcct, l, b), polarPoint(1 / std::tan(phi2) - std::tan(b - phi2), std::sin(phi2) * l),
               2e-4, "central conical " + at(lo, la));
    }
  }
  // Southern cones open towards the south pole: mirror images of northern ones.
  zep::mpscon(static_cast<float>(-phi1));
  zep::mpscoc(static_cast<float>(-phi1), static_cast<float>(-phi2));
  for (auto [lo, la] : kSamplePoints) {
    if (la > 70 || la < -88) continue;
    const double l = lo * kDeg, b = -la * kDeg;
    expectXY(apply(zep::mpfcon, l, -b), polarPoint(1 / std::tan(phi1) + phi1 - b, std::sin(phi1) * l, -1), 1e-4,
             "southern equidistant conic " + at(lo, -la));
  }
  float lon = 0, lat = 0;
  zep::mpicoc(0, 0, lon, lat);
  EXPECT_FLOAT_EQ(lat, -static_cast<float>(kPi / 2));
  EXPECT_EQ(lon, 0.0F);
  const XY southPole = apply(zep::mpfcoc, 0.3, -kPi / 2);
  expectXY(southPole, {0, 0}, 1e-6, "apex of the southern cone");
  const XY north = apply(zep::mpfcoc, 0.0, 0.0);
  EXPECT_GT(north.y, 0.0) << "the equator lies above the apex of a southern cone";
}

TEST(MapProjections, PolyconicMatchesItsFormula) {
  for (auto [lo, la] : kSamplePoints) {
    const double l = lo * kDeg, b = la * kDeg;
    XY want{l, 0};
    if (la != 0) {
      const double e = l * std::sin(b);
      want = {std::sin(e) / std::tan(b), b + (1 - std::cos(e)) / std::tan(b)};
    }
    expectXY(apply(zep::mpfplc, l, b), want, 1e-5, "polyconic " + at(lo, la));
  }
}

TEST(MapProjections, AzimuthalMappingsMatchTheirFormulas) {
  zep::mpsotg(0);
  for (auto [lo, la] : kSamplePoints) {
    const double l = lo * kDeg, b = la * kDeg;
    expectXY(apply(zep::mpfotg, l, b), polarPoint(std::cos(b), l), 1e-6, "orthographic " + at(lo, la));
    expectXY(apply(zep::mpfpst, l, b), polarPoint(2 * std::tan(kPi / 4 - b / 2), l), 1e-5,
             "stereographic " + at(lo, la));
    expectXY(apply(zep::mpfazm, l, b), polarPoint(kPi / 2 - b, l), 1e-6, "azimuthal equidistant " + at(lo, la));
    expectXY(apply(zep::mpfaza, l, b), polarPoint(2 * std::sin(kPi / 4 - b / 2), l), 1e-6,
             "azimuthal equal-area " + at(lo, la));
    if (la > 10) {
      expectXY(apply(zep::mpfgno, l, b), polarPoint(1 / std::tan(b), l), 1e-4, "gnomonic " + at(lo, la));
    }
  }
  // Azimuthal longitudes are used as they are: a full turn changes nothing.
  expectXY(apply(zep::mpfazm, 7.0, 0.5), apply(zep::mpfazm, 7.0 - 2 * kPi, 0.5), 1e-5, "unfolded longitude");
  // Vertical perspective from 3 radii: Snyder's k' = (P - 1)/(P - sin lat),
  // here on the plane through the centre instead of the tangent plane, which
  // scales it by P/(P - 1).
  const double pSat = 3.0;
  zep::mpsotg(static_cast<float>(pSat));
  for (auto [lo, la] : kSamplePoints) {
    const double l = lo * kDeg, b = la * kDeg;
    const double k = (pSat - 1) / (pSat - std::sin(b)) * pSat / (pSat - 1);
    expectXY(apply(zep::mpfotg, l, b), polarPoint(k * std::cos(b), l), 1e-5, "satellite view " + at(lo, la));
  }
  // A viewpoint at or inside the sphere is no satellite: plain orthographic.
  zep::mpsotg(1.0F);
  expectXY(apply(zep::mpfotg, 0.2, 0.5), polarPoint(std::cos(0.5), 0.2), 1e-6, "RSAT 1");
  zep::mpsotg(0);
}

// Area and angle checks from numerical derivatives: an equal-area mapping of
// the unit sphere has |d(x, y)/d(lon, lat)| = cos(lat); a conformal one has
// perpendicular parallels and meridians with equal scales.
struct Jacobian {
  double xl, xb, yl, yb;
};

Jacobian jacobian(Mapping f, double l, double b) {
  const double h = 1e-3;
  const XY l1 = apply(f, l + h, b), l0 = apply(f, l - h, b), b1 = apply(f, l, b + h), b0 = apply(f, l, b - h);
  return {(l1.x - l0.x) / (2 * h), (b1.x - b0.x) / (2 * h), (l1.y - l0.y) / (2 * h), (b1.y - b0.y) / (2 * h)};
}

TEST(MapProjections, EqualAreaAndConformalProperties) {
  zep::mpscoa(static_cast<float>(40 * kDeg));
  zep::mpsbon(static_cast<float>(45 * kDeg));
  zep::mpscoc(static_cast<float>(20 * kDeg), static_cast<float>(50 * kDeg));
  const struct {
    const char* name;
    Mapping f;
  } equalArea[] = {{"Mollweide", zep::mpfmwd}, {"Hammer", zep::mpfhmr},           {"Eckert VI", zep::mpfek6},
                   {"pole-line ellipse", zep::mpfktd}, {"sinusoidal", zep::mpfsin}, {"equal-area conic", zep::mpfcoa},
                   {"Bonne", zep::mpfbon},         {"azimuthal equal-area", zep::mpfaza},
                   {"equal-area cylindrical", zep::mpfcya}};
  const struct {
    const char* name;
    Mapping f;
  } conformal[] = {{"Mercator", zep::mpfmer}, {"conformal conic", zep::mpfcoc}, {"stereographic", zep::mpfpst}};
  for (double lo = -150; lo <= 150; lo += 50) {
    for (double la = -70; la <= 70; la += 35) {
      const double l = lo * kDeg, b = la * kDeg;
      for (const auto& p : equalArea) {
        const Jacobian j = jacobian(p.f, l, b);
        EXPECT_NEAR(std::fabs(j.xl * j.yb - j.xb * j.yl) / std::cos(b), 1.0, 3e-3) << p.name << " " << at(lo, la);
      }
      if (la < -40) continue;  // the northern cones and the stereographic pole
      for (const auto& p : conformal) {
        const Jacobian j = jacobian(p.f, l, b);
        const double along = std::hypot(j.xl, j.yl) / std::cos(b);
        const double across = std::hypot(j.xb, j.yb);
        EXPECT_NEAR(along / across, 1.0, 2e-3) << p.name << " " << at(lo, la);
        EXPECT_NEAR((j.xl * j.xb + j.yl * j.yb) / (along * across * std::cos(b)), 0.0, 2e-3)
            << p.name << " " << at(lo, la);
      }
    }
  }
}

struct RoundTrip {
  const char* name;
  Mapping forward;
  Mapping inverse;
  double latMin, latMax;  // degrees, the part of the globe to check
  double lonMax;          // degrees
  double tolerance;       // radians
};

void checkRoundTrips(const RoundTrip& t) {
  ReportRecorder rec;
  int checked = 0;
  for (double la = t.latMin; la <= t.latMax + 1e-9; la += (t.latMax - t.latMin) / 8) {
    for (double lo = -t.lonMax; lo <= t.lonMax + 1e-9; lo += t.lonMax / 6) {
      const XY p = apply(t.forward, lo * kDeg, la * kDeg);
      float lon = 0, lat = 0;
      t.inverse(static_cast<float>(p.x), static_cast<float>(p.y), lon, lat);
      SCOPED_TRACE(std::string(t.name) + " " + at(lo, la));
      ASSERT_NE(lon, kRundef);
      EXPECT_NEAR(lat, la * kDeg, t.tolerance);
      EXPECT_NEAR(lon, lo * kDeg, t.tolerance);
      ++checked;
    }
  }
  EXPECT_EQ(checked, 9 * 13);
  EXPECT_TRUE(rec.reports().empty()) << t.name;
}

TEST(MapProjections, ForwardAndInverseRoundTrips) {
  zep::mpscon(static_cast<float>(35 * kDeg));
  zep::mpscoa(static_cast<float>(35 * kDeg));
  zep::mpscoc(static_cast<float>(30 * kDeg), static_cast<float>(60 * kDeg));
  zep::mpsbon(static_cast<float>(45 * kDeg));
  zep::mpscyb(static_cast<float>(30 * kDeg));
  zep::mpscct(static_cast<float>(50 * kDeg));
  zep::mpsotg(0);
  const RoundTrip trips[] = {
      {"equidistant cylindrical", zep::mpfcyl, zep::mpicyl, -85, 85, 175, 1e-6},
      {"Mercator", zep::mpfmer, zep::mpimer, -85, 85, 175, 1e-5},
      {"Mollweide", zep::mpfmwd, zep::mpimwd, -85, 85, 175, 1e-4},
      {"Hammer", zep::mpfhmr, zep::mpihmr, -85, 85, 175, 5e-4},
      {"Eckert VI", zep::mpfek6, zep::mpiek6, -85, 85, 175, 1e-4},
      {"pole-line ellipse", zep::mpfktd, zep::mpiktd, -85, 85, 175, 1e-4},
      {"Miller", zep::mpfmil, zep::mpimil, -85, 85, 175, 1e-5},
      {"sinusoidal", zep::mpfsin, zep::mpisin, -85, 85, 175, 1e-5},
      {"van der Grinten", zep::mpfvdg, zep::mpivdg, -80, 80, 170, 2e-3},
      {"equidistant conic", zep::mpfcon, zep::mpicon, -80, 85, 175, 1e-4},
      {"equal-area conic", zep::mpfcoa, zep::mpicoa, -80, 85, 175, 1e-4},
      {"conformal conic", zep::mpfcoc, zep::mpicoc, -60, 85, 175, 1e-4},
      {"Bonne", zep::mpfbon, zep::mpibon, -80, 80, 175, 1e-4},
      {"polyconic", zep::mpfplc, zep::mpiplc, -80, 80, 170, 2e-3},
      {"orthographic", zep::mpfotg, zep::mpiotg, 5, 85, 175, 1e-3},
      {"stereographic", zep::mpfpst, zep::mpipst, -80, 85, 175, 1e-5},
      {"azimuthal equidistant", zep::mpfazm, zep::mpiazm, -85, 85, 175, 1e-5},
      {"azimuthal equal-area", zep::mpfaza, zep::mpiaza, -80, 85, 175, 1e-4},
      {"gnomonic", zep::mpfgno, zep::mpigno, 10, 85, 175, 1e-5},
      {"central cylindrical", zep::mpfcyc, zep::mpicyc, -80, 80, 175, 1e-5},
      {"equal-area cylindrical", zep::mpfcya, zep::mpicya, -80, 80, 175, 1e-3},
      {"Braun", zep::mpfcyb, zep::mpicyb, -85, 85, 175, 1e-5},
      {"globular", zep::mpfglb, zep::mpiglb, -85, 85, 85, 1e-4},
      {"central conical", zep::mpfcct, zep::mpicct, -30, 85, 175, 1e-4},
  };
  for (const RoundTrip& t : trips) checkRoundTrips(t);

  // From a satellite 2.5 radii away the visible cap ends at asin(0.4).
  zep::mpsotg(2.5F);
  checkRoundTrips({"satellite view", zep::mpfotg, zep::mpiotg, 30, 88, 175, 1e-3});
  zep::mpsotg(0);
}

TEST(MapProjections, RobinsonInverseIsAnApproximateFit) {
  double worstLat = 0, worstLon = 0;
  for (double la = -85; la <= 85; la += 5) {
    for (double lo = -175; lo <= 175; lo += 25) {
      const XY p = apply(zep::mpfrbs, lo * kDeg, la * kDeg);
      float lon = 0, lat = 0;
      zep::mpirbs(static_cast<float>(p.x), static_cast<float>(p.y), lon, lat);
      ASSERT_NE(lon, kRundef) << at(lo, la);
      worstLat = std::max(worstLat, std::fabs(lat - la * kDeg));
      worstLon = std::max(worstLon, std::fabs(lon - lo * kDeg));
    }
  }
  EXPECT_LT(worstLat, 0.6 * kDeg);
  EXPECT_LT(worstLon, 0.03);
}

TEST(MapProjections, InversesRefusePointsOffTheMap) {
  zep::mpscon(static_cast<float>(30 * kDeg));
  zep::mpscoa(static_cast<float>(30 * kDeg));
  zep::mpscoc(static_cast<float>(30 * kDeg), static_cast<float>(60 * kDeg));
  zep::mpsbon(static_cast<float>(30 * kDeg));
  zep::mpscct(static_cast<float>(45 * kDeg));
  zep::mpsotg(0);
  const struct {
    const char* name;
    Mapping inverse;
    float x, y;
  } outside[] = {
      {"equidistant cylindrical beyond 180", zep::mpicyl, 3.2F, 0},
      {"equidistant cylindrical beyond the pole", zep::mpicyl, 0, 1.6F},
      {"Mercator beyond 180", zep::mpimer, -3.2F, 1},
      {"Mollweide beside the pole", zep::mpimwd, 0.1F, 1.4142137F},
      {"Mollweide above the pole", zep::mpimwd, 0, 1.5F},
      {"Mollweide beside the ellipse", zep::mpimwd, 2.8F, 0.5F},
      {"Hammer outside the ellipse", zep::mpihmr, 2.9F, 0},
      {"Eckert VI above the pole line", zep::mpiek6, 0, 1.4F},
      {"Eckert VI beside the map", zep::mpiek6, 2.9F, 0},
      {"pole-line ellipse above the pole line", zep::mpiktd, 0, 1.34F},
      {"pole-line ellipse beside", zep::mpiktd, 2.8F, 0},
      {"Miller above the pole", zep::mpimil, 0, 2.5F},
      {"Robinson above the pole", zep::mpirbs, 0, 1.7F},
      {"Robinson beside", zep::mpirbs, 3.5F, 0},
      {"sinusoidal beside", zep::mpisin, 2.0F, 1.0F},
      {"van der Grinten outside the circle", zep::mpivdg, 3.3F, 0.5F},
      {"equidistant conic beyond the pole", zep::mpicon, 0, -0.2F},
      {"equal-area conic beyond the south pole", zep::mpicoa, 0, -2.5F},
      {"conformal conic beyond the cut", zep::mpicoc, 0, 1.0F},
      {"Bonne beyond the south pole", zep::mpibon, 0, -4.5F},
      {"polyconic far outside", zep::mpiplc, 30.0F, 30.0F},
      {"orthographic outside the disc", zep::mpiotg, 0.8F, 0.7F},
      {"azimuthal equidistant beyond pi", zep::mpiazm, 3.0F, 1.0F},
      {"azimuthal equal-area beyond 2", zep::mpiaza, -1.5F, 1.5F},
      {"central cylindrical beyond 180", zep::mpicyc, 3.2F, 0},
      {"equal-area cylindrical above 1", zep::mpicya, 0, 1.01F},
      {"Braun beyond 180", zep::mpicyb, -3.2F, 0},
      {"globular outside the disc", zep::mpiglb, 0.8F, 0.7F},
      {"central conical beyond the cut", zep::mpicct, 0, 1.5F},
  };
  ReportRecorder rec;
  for (const auto& o : outside) {
    float lon = 1, lat = 1;
    o.inverse(o.x, o.y, lon, lat);
    EXPECT_EQ(lon, kRundef) << o.name;
    EXPECT_EQ(lat, kRundef) << o.name;
  }
  // The satellite view ends at the horizon radius 1/sqrt(1 - RS^2).
  zep::mpsotg(2.0F);
  const float horizon = 1.0F / std::sqrt(1.0F - 0.25F);
  float lon = 0, lat = 0;
  zep::mpiotg(0, -0.999F * horizon, lon, lat);
  EXPECT_NEAR(lat, std::asin(0.5F), 0.05F);
  EXPECT_NEAR(lon, 0.0F, 1e-6F);
  zep::mpiotg(0, -1.001F * horizon, lon, lat);
  EXPECT_EQ(lon, kRundef);
  zep::mpsotg(0);
  EXPECT_TRUE(rec.reports().empty());
}

TEST(MapProjections, EndsOfTheMaps) {
  // Mercator stops short of the pole instead of reaching infinity.
  const XY top = apply(zep::mpfmer, 0.3, kPi / 2);
  EXPECT_NEAR(top.y, std::log(1 / 1.0e-5), 0.05);
  EXPECT_NEAR(apply(zep::mpfmer, 0.3, -kPi / 2).y, -top.y, 1e-2);

  // Mollweide poles.
  float lon = 1, lat = 1;
  zep::mpimwd(0, 1.4142137F, lon, lat);
  EXPECT_EQ(lon, 0.0F);
  EXPECT_FLOAT_EQ(lat, static_cast<float>(kPi / 2));
  zep::mpimwd(0, -1.4142137F, lon, lat);
  EXPECT_FLOAT_EQ(lat, -static_cast<float>(kPi / 2));

  // Equidistant conic at 30 degrees: the pole lies on a circle of radius
  // tan 60 - pi/3 about the apex.
  zep::mpscon(static_cast<float>(30 * kDeg));
  const double q0 = std::tan(60 * kDeg) - kPi / 3;
  for (double lo : {-120.0, 0.0, 45.0}) {
    const XY p = apply(zep::mpfcon, lo * kDeg, kPi / 2);
    EXPECT_NEAR(std::hypot(p.x, p.y), q0, 1e-5);
    zep::mpicon(static_cast<float>(p.x), static_cast<float>(p.y), lon, lat);
    EXPECT_NEAR(lat, kPi / 2, 1e-5);
  }

  // Gnomonic: the equator of T is drawn at colatitude pi/2 - 0.001.
  const XY g = apply(zep::mpfgno, 0, 0);
  EXPECT_NEAR(std::hypot(g.x, g.y), 1000.0, 1.0);
  EXPECT_NEAR(std::hypot(g.x, g.y), std::hypot(apply(zep::mpfgno, 1, -0.5).x, apply(zep::mpfgno, 1, -0.5).y), 1e-2);

  // Stereographic: the south pole is drawn at colatitude pi - 1e-4, and the
  // inverse never refuses.
  const XY s = apply(zep::mpfpst, 0, -kPi / 2);
  EXPECT_NEAR(std::hypot(s.x, s.y), 2 * std::tan((kPi - 1e-4) / 2), 200.0);
  zep::mpipst(1e6F, 0, lon, lat);
  EXPECT_NE(lon, kRundef);
  EXPECT_LT(lat, -1.57F);

  // Sinusoidal inverse of (1, 0).
  float x = 1, y = 0;
  zep::mpisin(x, y, lon, lat);
  EXPECT_EQ(lon, 1.0F);
  EXPECT_EQ(lat, 0.0F);

  // Hammer and Bonne at their poles give longitude 0, not a division by zero.
  zep::mpihmr(0, static_cast<float>(std::sqrt(2.0)), lon, lat);
  EXPECT_EQ(lon, 0.0F);
  EXPECT_NEAR(lat, kPi / 2, 1e-3);
  zep::mpsbon(static_cast<float>(45 * kDeg));
  const XY bp = apply(zep::mpfbon, 0.7, kPi / 2);
  zep::mpibon(static_cast<float>(bp.x), static_cast<float>(bp.y), lon, lat);
  EXPECT_TRUE(std::isfinite(lon));
  EXPECT_NEAR(lat, kPi / 2, 1e-5);

  // Conformal conic with two standard latitudes of one magnitude: the tangent
  // cone (n = sin of the latitude), not 0/0.
  zep::mpscoc(static_cast<float>(45 * kDeg), static_cast<float>(45 * kDeg));
  const XY a = apply(zep::mpfcoc, 0.0, 45 * kDeg);
  const XY b = apply(zep::mpfcoc, 1.0, 45 * kDeg);
  ASSERT_TRUE(std::isfinite(a.y) && std::isfinite(b.x));
  const double radius = std::hypot(a.x, a.y);
  EXPECT_NEAR(radius, 1 / std::tan(45 * kDeg), 1e-4) << "the standard parallel is true to scale";
  EXPECT_NEAR(std::atan2(b.x, -b.y), std::sin(45 * kDeg), 1e-4);

  // Central conical: latitudes a quarter circle from the standard parallel
  // stay on the far side of the apex's circle instead of folding over.
  zep::mpscct(static_cast<float>(45 * kDeg));
  const XY far = apply(zep::mpfcct, 0, -60 * kDeg);
  EXPECT_LT(far.y, -100.0);
  zep::mpscct(static_cast<float>(45 * kDeg));
}

TEST(MapProjections, LongitudeFolding) {
  const float pi = zep::rfpi();
  EXPECT_NEAR(zep::xmplon(3 * pi / 2), -pi / 2, 1e-6F);
  EXPECT_EQ(zep::xmplon(pi), pi);
  EXPECT_EQ(zep::xmplon(-pi), -pi);
  EXPECT_NEAR(zep::xmplon(3 * pi), pi, 1e-5F);
  EXPECT_NEAR(zep::xmplon(-3 * pi), -pi, 1e-5F);
  EXPECT_NEAR(zep::xmplon(7.0F), 7.0F - 2 * pi, 1e-6F);
  EXPECT_NEAR(zep::xmplon(-7.0F), -7.0F + 2 * pi, 1e-6F);
  EXPECT_EQ(zep::xmplon(1.0F), 1.0F);
  EXPECT_NEAR(zep::xmplon(20.0F * pi + 0.5F), 0.5F, 1e-5F);
}

}  // namespace
