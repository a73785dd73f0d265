// The pen paths that reached the recording driver, read back from its log:
// one path per move (each the points of one stroke), in workstation units.
#pragma once

#include <algorithm>
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

// The bounding box of a path: x0, x1, y0, y1.
struct Box {
  double x0, x1, y0, y1;
};
inline Box boxOf(const Path& p) {
  Box b{1e30, -1e30, 1e30, -1e30};
  for (const auto& q : p) {
    b.x0 = std::min(b.x0, q[0]);
    b.x1 = std::max(b.x1, q[0]);
    b.y0 = std::min(b.y0, q[1]);
    b.y1 = std::max(b.y1, q[1]);
  }
  return b;
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
