// The pen's path from the recording driver's log, cut into pieces at every
// move: each piece is the points of one stroke in workstation coordinates.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "support/recording_port.hpp"

namespace zeptest {

struct Point {
  double x = 0, y = 0;
};
using Piece = std::vector<Point>;

inline std::vector<Piece> recordedPieces() {
  std::vector<Piece> out;
  for (const std::string& call : driverLog()) {
    double x = 0, y = 0;
    if (std::sscanf(call.c_str(), "gmov(%lf,%lf)", &x, &y) == 2) out.push_back({{x, y}});
    else if (std::sscanf(call.c_str(), "gplt(%lf,%lf)", &x, &y) == 2 && !out.empty()) out.back().push_back({x, y});
  }
  return out;
}

// The bounding box of a piece: x0, x1, y0, y1.
struct Box {
  double x0, x1, y0, y1;
};
inline Box boxOf(const Piece& p) {
  Box b{1e30, -1e30, 1e30, -1e30};
  for (const Point& q : p) {
    b.x0 = std::min(b.x0, q.x);
    b.x1 = std::max(b.x1, q.x);
    b.y0 = std::min(b.y0, q.y);
    b.y1 = std::max(b.y1, q.y);
  }
  return b;
}

}  // namespace zeptest
