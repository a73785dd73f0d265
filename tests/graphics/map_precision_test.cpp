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
