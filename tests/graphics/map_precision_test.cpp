// Accuracy of the projections where single precision runs out: the Hammer
// inverse and the Mollweide forward mapping near the poles, each against a
// reference computed here in double precision; and the polyconic forward
// function the Newton solver inverts, which must not fold its longitude.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include <zep/zep.hpp>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;

TEST(MapPrecision, HammerInverseNearThePoles) {
  for (double la : {-89.0, -88.0, 85.0, 88.0, 89.0, 89.5}) {
    for (double lo : {-170.0, -120.0, 45.0, 170.0, 179.0}) {
      // The forward mapping in double, rounded to the single-precision plane.
      const double l = lo * kDeg, b = la * kDeg;
      const double d = std::sqrt(1 + std::cos(b) * std::cos(l / 2));
      const auto x = static_cast<float>(2 * std::sqrt(2.0) * std::cos(b) * std::sin(l / 2) / d);
      const auto y = static_cast<float>(std::sqrt(2.0) * std::sin(b) / d);
      float lon = 0, lat = 0;
      zep::mpihmr(x, y, lon, lat);
      // The longitude error as a distance on the sphere.
      const double err = std::fabs(lon - l) * std::cos(b);
      EXPECT_LT(err, 5e-6) << "lat " << la << " lon " << lo;
      EXPECT_NEAR(lat, b, 2e-6) << "lat " << la << " lon " << lo;
    }
  }
}

// The Mollweide auxiliary angle: 2 th + sin 2 th = pi sin(lat), by Newton
// steps kept inside a shrinking bracket, in double. The single-precision pi/2
// lies just beyond the pole and stands for it.
double mollweideAngle(double lat) {
  if (std::fabs(lat) >= kPi / 2) return std::copysign(kPi / 2, lat);
  const double target = kPi * std::sin(lat);
  double lo = -kPi / 2, hi = kPi / 2, th = lat;
  for (int i = 0; i < 200 && hi - lo > 1e-15; ++i) {
    const double f = 2 * th + std::sin(2 * th) - target;
    (f < 0 ? lo : hi) = th;
    const double df = 2 + 2 * std::cos(2 * th);
    th = df > 0 ? th - f / df : lo;
    if (!(th > lo && th < hi)) th = (lo + hi) / 2;
  }
  return th;
}

TEST(MapPrecision, MollweideForwardEverywhereIncludingNearThePoles) {
  double worst = 0;
  std::string where;
  auto check = [&](double la, double lo) {
    const auto lat = static_cast<float>(la * kDeg), lon = static_cast<float>(lo * kDeg);
    const double th = mollweideAngle(lat);
    float x = 0, y = 0;
    zep::mpfmwd(lon, lat, x, y);
    const double err = std::max(std::fabs(x - 2 * std::sqrt(2.0) / kPi * lon * std::cos(th)),
                                std::fabs(y - std::sqrt(2.0) * std::sin(th)));
    if (err > worst) {
      worst = err;
      where = "lat " + std::to_string(la) + " lon " + std::to_string(lo);
    }
  };
  for (double la = -90; la <= 90; la += 0.5)
    for (double lo = -180; lo <= 180; lo += 7.5) check(la, lo);
  for (double la : {89.9, -89.9, 89.99, -89.999, 89.0, 88.5, 60.0})
    for (double lo : {-180.0, -177.0, 177.0, 180.0}) check(la, lo);
  EXPECT_LT(worst, 1e-5) << where;
}

TEST(MapPrecision, PolyconicRawForwardTakesTheLongitudeAsGiven) {
  const float lat = static_cast<float>(40 * kDeg);
  for (double lo : {-170.0, 20.0, 175.0}) {
    const auto l = static_cast<float>(lo * kDeg);
    const auto beyond = static_cast<float>(lo * kDeg + 2 * kPi);
    float x = 0, y = 0, xr = 0, yr = 0, xf = 0, yf = 0;
    zep::mpxplc(beyond, lat, xr, yr);
    // The raw function is the formula at the longitude as given ...
    const double e = beyond * std::sin(lat), cot = 1 / std::tan(lat);
    EXPECT_NEAR(xr, cot * std::sin(e), 1e-5) << lo;
    EXPECT_NEAR(yr, lat + cot * (1 - std::cos(e)), 1e-5) << lo;
    // ... the projection folds first: the same point as one turn less.
    zep::mpfplc(beyond, lat, xf, yf);
    zep::mpfplc(l, lat, x, y);
    EXPECT_NEAR(xf, x, 1e-5) << lo;
    EXPECT_NEAR(yf, y, 1e-5) << lo;
    EXPECT_GT(std::hypot(xr - x, yr - y), 0.1) << lo;
  }
}

}  // namespace
