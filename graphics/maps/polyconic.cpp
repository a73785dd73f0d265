// ITR 24, polyconic (American): every parallel is the arc of its own tangent
// cone, true to scale along the parallels and the central meridian. The
// inverse solves the forward function with the 2-D Newton solver, started from
// the nearest point of a coarse table over the sphere.
#include <array>

#include "graphics/maps/map_common.hpp"

namespace zep {
namespace {

constexpr int kColumns = 12;
constexpr int kRows = 6;

struct StartPoint {
  float lon, lat, x, y;
};

const std::array<StartPoint, kColumns * kRows>& startTable() {
  static const auto table = [] {
    std::array<StartPoint, kColumns * kRows> t{};
    constexpr float kDegree = 0.017453292F;
    for (int i = 1; i <= kColumns; ++i) {
      for (int j = 1; j <= kRows; ++j) {
        StartPoint& s = t[static_cast<std::size_t>((i - 1) * kRows + (j - 1))];
        s.lon = ((static_cast<float>(i) - 0.5F) / kColumns * 360.0F - 180.0F) * kDegree;
        s.lat = ((static_cast<float>(j) - 0.5F) / kRows * 180.0F - 90.0F) * kDegree;
        mpxplc(s.lon, s.lat, s.x, s.y);
      }
    }
    return t;
  }();
  return table;
}

}  // namespace

// The raw forward function: the longitude is used as given, so that the Newton
// solver sees a smooth function across the edge of the map.
void mpxplc(float lon, float lat, float& x, float& y) {
  const float l = lon;
  if (std::fabs(lat) < 1.0E-4F) {
    x = l;
    y = lat;
    return;
  }
  const float e = l * std::sin(lat);
  const float cotLat = 1.0F / std::tan(lat);
  x = cotLat * std::sin(e);
  y = lat + cotLat * (1.0F - std::cos(e));
}

void mpfplc(float lon, float lat, float& x, float& y) { mpxplc(xmplon(lon), lat, x, y); }

void mpiplc(float x, float y, float& lon, float& lat) {
  // Start at the table point nearest in the larger of the two distances; the
  // first strict minimum wins.
  const StartPoint* best = nullptr;
  float bestDistance = 0.0F;
  for (const StartPoint& s : startTable()) {
    const float d = std::max(std::fabs(x - s.x), std::fabs(y - s.y));
    if (best == nullptr || d < bestDistance) {
      best = &s;
      bestDistance = d;
    }
  }
  lon = best->lon;
  lat = best->lat;
  mpnwtn(x, y, lon, lat, mpxplc, true);
}

}  // namespace zep
