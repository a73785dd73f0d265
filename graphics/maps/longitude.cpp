// Longitude folding shared by the map projections and the line stages.
#include <cmath>
#include <numbers>

#include <zep/zep.hpp>

namespace zep {

float xmplon(float x) {
  constexpr double kPi = std::numbers::pi;
  // Nothing to fold in what is not a number; the line stages drop it.
  if (!std::isfinite(x)) return x;
  // Whole turns beyond what the turn count holds are taken off first.
  const double xd = std::fabs(static_cast<double>(x)) > 1.0E9 ? std::remainder(static_cast<double>(x), 2.0 * kPi)
                                                               : static_cast<double>(x);
  const double rx = std::fabs(xd) / kPi;
  const double nx = std::nearbyint(rx);
  // Within a hair of an odd multiple of pi the value folds to the end of the
  // range that carries its own sign, so pi and -pi stay where they are.
  const long ix = std::fabs(rx - nx) <= 1.0E-5 ? static_cast<long>(nx) - 1 : static_cast<long>(std::floor(rx));
  const long ii = (ix + 1) / 2;
  const double turns = std::trunc(xd) < 0 ? -static_cast<double>(ii) : static_cast<double>(ii);
  return static_cast<float>(xd - turns * 2.0 * kPi);
}

}  // namespace zep
