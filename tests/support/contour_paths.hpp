// Contour lines and band rings as a caller reads them back, and the plane
// geometry (signed area, winding) that checks them independently.
#pragma once

#include <cstddef>
#include <vector>
#include <zep/zep.hpp>

namespace zeptest {

struct Line {
  int level;
  bool closed;
  std::vector<float> x, y;
};

inline std::vector<Line> allLines() {
  int n = 0;
  zep::cnqlnn(n);
  std::vector<Line> out;
  for (int i = 1; i <= n; ++i) {
    Line l;
    int np = 0;
    zep::cnqlni(i, l.level, np, l.closed);
    l.x.resize(static_cast<std::size_t>(np));
    l.y.resize(static_cast<std::size_t>(np));
    zep::cnqlnx(i, l.x.data(), l.y.data());
    out.push_back(std::move(l));
  }
  return out;
}

struct Ring {
  int band;
  std::vector<float> x, y;
};

inline std::vector<Ring> allRings() {
  int n = 0;
  zep::cnqbdn(n);
  std::vector<Ring> out;
  for (int i = 1; i <= n; ++i) {
    Ring r;
    int np = 0;
    zep::cnqbdi(i, r.band, np);
    r.x.resize(static_cast<std::size_t>(np));
    r.y.resize(static_cast<std::size_t>(np));
    zep::cnqbdx(i, r.x.data(), r.y.data());
    out.push_back(std::move(r));
  }
  return out;
}

inline double signedArea(const std::vector<float>& x, const std::vector<float>& y) {
  double a = 0;
  const std::size_t n = x.size();
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t m = (k + 1) % n;
    a += static_cast<double>(x[k]) * y[m] - static_cast<double>(x[m]) * y[k];
  }
  return a / 2;
}

// Winding number of a closed ring about (px, py).
inline int winding(const std::vector<float>& x, const std::vector<float>& y, double px, double py) {
  int w = 0;
  const std::size_t n = x.size();
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t m = (k + 1) % n;
    const double x0 = x[k], y0 = y[k], x1 = x[m], y1 = y[m];
    const double cross = (x1 - x0) * (py - y0) - (px - x0) * (y1 - y0);
    if (y0 <= py) {
      if (y1 > py && cross > 0) ++w;
    } else if (y1 <= py && cross < 0) {
      --w;
    }
  }
  return w;
}

inline std::vector<float> linspace(float a, float b, int n) {
  std::vector<float> v(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) v[static_cast<std::size_t>(i)] = a + (b - a) * static_cast<float>(i) / static_cast<float>(n - 1);
  return v;
}

}  // namespace zeptest
