// Analytic wind fields shared by the gallery's vector page and the vector-field
// example, in m/s at (lon, lat) degrees.
#pragma once

#include <cmath>

namespace wind {

// Westerlies with a jet near 45N and a cyclone south of Iceland.
inline void cyclone(float lon, float lat, float& u, float& v) {
  constexpr float kDeg = 3.14159265F / 180;
  const float dx = (lon + 30) * std::cos(55 * kDeg), dy = lat - 55;
  const float w = 1.6F * std::exp(-(dx * dx + dy * dy) / 150.0F);
  u = 8 + 14 * std::exp(-(lat - 45) * (lat - 45) / 60.0F) - dy * w;
  v = dx * w;
}

// A jet along 40N and four vortices of both senses over the globe.
inline void globalFlow(float lon, float lat, float& u, float& v) {
  const float centres[4][3] = {{-100, 10, 40}, {20, -30, -35}, {120, 45, 30}, {60, 0, -25}};
  u = 30 * std::exp(-(lat - 40) * (lat - 40) / 100.0F);
  v = 0;
  for (const auto& c : centres) {
    const float dx = lon - c[0], dy = lat - c[1];
    const float w = c[2] / 25 * std::exp(-(dx * dx + dy * dy) / 625.0F);
    u -= dy * w;
    v += dx * w;
  }
}

}  // namespace wind
