// The pen paths that reached the recording driver, read back from its log:
// one path per move, its points in workstation units.
#pragma once

#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "support/recording_port.hpp"

namespace zeptest {

using Path = std::vector<std::array<double, 2>>;

inline std::vector<Path> drawnPaths() {
  std::vector<Path> paths;
  for (const std::string& s : driverLog()) {
    double x = 0, y = 0;
    if (std::sscanf(s.c_str(), "gmov(%lf,%lf)", &x, &y) == 2) {
      paths.push_back({{x, y}});
    } else if (std::sscanf(s.c_str(), "gplt(%lf,%lf)", &x, &y) == 2 && !paths.empty()) {
      paths.back().push_back({x, y});
    }
  }
  return paths;
}

inline int countCalls(const std::string& prefix) {
  int n = 0;
  for (const std::string& s : driverLog()) n += s.rfind(prefix, 0) == 0 ? 1 : 0;
  return n;
}

// Angle in degrees from direction a to direction b, in (-180, 180].
inline double angleBetween(double ax, double ay, double bx, double by) {
  const double d = std::atan2(by, bx) - std::atan2(ay, ax);
  return std::remainder(d, 2 * 3.14159265358979323846) * 180 / 3.14159265358979323846;
}

}  // namespace zeptest
