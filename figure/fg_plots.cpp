// Data of a frame kept until it is placed: polylines and coloured markers that
// fgpfrm draws, and whose extent gives the window of a frame whose window was
// left as fgfrm set it.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <limits>
#include <vector>

#include <zep/zep.hpp>

#include "colour/colour_state.hpp"
#include "contour/contour_state.hpp"
#include "figure/fg_internal.hpp"
#include "vector/vector_state.hpp"

namespace zep {
namespace figure {
namespace {

bool finite(float v) { return std::isfinite(v); }

}  // namespace

// The count of arrays given together: the shortest, with a warning naming the
// routine when they differ (the rest of the longer ones is left out).
int count(std::initializer_list<std::size_t> sizes, const char* routine) {
  const std::size_t lo = std::min(sizes), hi = std::max(sizes);
  if (lo != hi)
    msgdmp("W", routine, "ARRAYS OF " + std::to_string(lo) + " TO " + std::to_string(hi) + " VALUES: THE FIRST " +
                             std::to_string(lo) + " ARE DRAWN.");
  if (lo > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    msgdmp("E", routine, "MORE THAN 2^31 - 1 POINTS.");
    return 0;
  }
  return static_cast<int>(lo);
}

namespace {

// Band of v among the current contour levels (0 below the first).
int bandOf(float v, const std::vector<float>& levels) {
  return static_cast<int>(std::upper_bound(levels.begin(), levels.end(), v) - levels.begin());
}

// Markers of a scatter in the colours of their values' contour bands, as the
// colour bar shows them; the colour package draws them.
void scatterByBand(const Item& item, const std::vector<float>& levels) {
  const int n = static_cast<int>(item.x.size());
  if (levels.empty()) {
    // No levels: each value in its own colour, the bounds the same for every
    // scatter of the frame (and for its colour bar), as cmpmzu would take them
    // from all the values at once.
    colour::Norm& norm = colour::state().norm;
    const double vmin = norm.vmin, vmax = norm.vmax;
    if (norm.kind != colour::NormKind::Discrete && !std::isnan(norm.lo) && !std::isnan(norm.hi)) {
      norm.vmin = norm.lo;
      norm.vmax = norm.hi;
    }
    cmpmzu(n, item.x.data(), item.y.data(), item.v.data(), item.itype, item.size);
    norm.vmin = vmin;
    norm.vmax = vmax;
    return;
  }
  bool byMap = true;
  cnlget("LCMAP", byMap);
  int rgb = 0;
  cnqbdc(0, rgb);
  if (byMap && rgb >= 0) {
    // Bands spread over the colormap (the contour package's default) are the
    // bands of a discrete normalisation open at both ends; a normalisation the
    // caller set colours each value itself.
    const colour::Norm saved = colour::state().norm;
    const bool spread = saved.kind == colour::NormKind::Linear && std::isnan(saved.vmin) && std::isnan(saved.vmax);
    if (spread) {
      std::vector<float> bounds{-std::numeric_limits<float>::max()};
      bounds.insert(bounds.end(), levels.begin(), levels.end());
      bounds.push_back(std::numeric_limits<float>::max());
      cmsnrd(static_cast<int>(bounds.size()), bounds.data());
    }
    cmpmzu(n, item.x.data(), item.y.data(), item.v.data(), item.itype, item.size);
    colour::state().norm = saved;
    return;
  }
  // Band tones of the indexed colormap (LCMAP off or tones set): one marker
  // call per band in the tone's colour index.
  std::vector<std::vector<float>> bx(levels.size() + 1), by(levels.size() + 1);
  for (std::size_t i = 0; i < item.x.size(); ++i) {
    if (!finite(item.v[i])) continue;
    const auto b = static_cast<std::size_t>(bandOf(item.v[i], levels));
    bx[b].push_back(item.x[i]);
    by[b].push_back(item.y[i]);
  }
  for (std::size_t b = 0; b < bx.size(); ++b) {
    if (bx[b].empty()) continue;
    int itpat = 0;
    cnqbdt(static_cast<int>(b), itpat);
    const int colour = itpat / 1000;
    if (colour <= 0) continue;  // a band left unfilled
    sgpmzu(static_cast<int>(bx[b].size()), bx[b].data(), by[b].data(), item.itype, colour * 10 + 1, item.size);
  }
}

}  // namespace

namespace {

// The extent of coordinates, none at or below 0 on a log axis; false when
// there are none to take.
bool extentOf(const std::vector<float>& v, bool log, double& lo, double& hi) {
  lo = HUGE_VAL, hi = -HUGE_VAL;
  for (float a : v) {
    if (!finite(a)) continue;
    if (log && a <= 0) return false;
    lo = std::min<double>(lo, a), hi = std::max<double>(hi, a);
  }
  return hi >= lo;
}

// Without kept data, the grid of the contour field (as contourf sets its
// limits), else the points of the vector field with a margin for the arrows
// (as quiver does), when their coordinates were given in U.
void fieldWindow(bool logX, bool logY) {
  double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  const contour::State& c = contour::state();
  if (c.fieldSet && extentOf(c.xgiven, logX, x0, x1) && extentOf(c.ygiven, logY, y0, y1) && x1 > x0 && y1 > y0) {
    sgswnd(static_cast<float>(x0), static_cast<float>(x1), static_cast<float>(y0), static_cast<float>(y1));
    return;
  }
  const vector::Field& f = vector::field();
  if (!f.set || !extentOf(f.x, logX, x0, x1) || !extentOf(f.y, logY, y0, y1)) return;
  const auto widen = [](double& lo, double& hi, bool log) {
    if (log) {
      const double a = std::log10(lo), b = std::log10(hi), m = b > a ? 0.05 * (b - a) : 0.5;
      lo = std::pow(10.0, a - m), hi = std::pow(10.0, b + m);
    } else {
      const double m = hi > lo ? 0.05 * (hi - lo) : lo == 0 ? 1.0 : 0.1 * std::abs(lo);
      lo -= m, hi += m;
    }
  };
  widen(x0, x1, logX);
  widen(y0, y1, logY);
  sgswnd(static_cast<float>(x0), static_cast<float>(x1), static_cast<float>(y0), static_cast<float>(y1));
}

}  // namespace

namespace {

// The limits along one axis from what the frame's data cover: a margin of 5%
// each way that stops at a sticky value (a bar's base, a histogram's edge, a
// line's ends) as matplotlib's margins do; a flat range gets room of its own.
// False when nothing can be shown on the axis.
bool limitsOf(const charts::Span& span, bool log, double& lo, double& hi) {
  lo = log ? span.lowestPositive : span.lo;
  hi = span.hi;
  if (!(std::isfinite(lo) && std::isfinite(hi) && hi >= lo)) return false;
  const double tol = 1e-5 * (hi - lo);
  double below = -HUGE_VAL, above = HUGE_VAL;  // the nearest sticky values outside the data
  for (double v : span.sticky) {
    if (log && !(v > 0)) continue;
    if (v < lo + tol) below = std::max(below, v);
    if (v > hi - tol) above = std::min(above, v);
  }
  constexpr double kShare = 0.05;
  if (log) {
    double a = std::log10(lo), b = std::log10(hi);
    if (b - a < 1e-6) a -= 0.5, b += 0.5;
    const double m = kShare * (b - a);
    lo = std::pow(10.0, a - m), hi = std::pow(10.0, b + m);
  } else {
    if (hi - lo <= 1e-6 * std::max(std::abs(lo), std::abs(hi))) {
      const double d = lo == 0 ? 1.0 : 0.1 * std::abs(lo);
      lo -= d, hi += d;
    }
    const double m = kShare * (hi - lo);
    lo -= m, hi += m;
  }
  lo = std::max(lo, below);
  hi = std::min(hi, above);
  return hi > lo;
}

}  // namespace

void dataWindow() {
  State& s = state();
  s.windowUnset = false;
  float ux0 = 0, ux1 = 0, uy0 = 0, uy1 = 0;
  sgqwnd(ux0, ux1, uy0, uy1);
  // Only a window left as fgfrm set it is the data's to choose.
  if (!(ux0 == 0 && ux1 == 1 && uy0 == 0 && uy1 == 1)) return;
  int itr = 1;
  sgqtrn(itr);
  const bool logX = itr == 3 || itr == 4, logY = itr == 2 || itr == 4;
  if (s.items.empty()) {
    fieldWindow(logX, logY);
    sgqwnd(ux0, ux1, uy0, uy1);
    s.windowUnset = ux0 == 0 && ux1 == 1 && uy0 == 0 && uy1 == 1;
    return;
  }
  charts::Cover all;
  const auto merge = [](charts::Span& to, const charts::Span& from) {
    to.add(from.lo);
    to.add(from.hi);
    to.lowestPositive = std::min(to.lowestPositive, from.lowestPositive);
    to.sticky.insert(to.sticky.end(), from.sticky.begin(), from.sticky.end());
  };
  for (const Item& item : s.items) {
    if (item.chart) {
      merge(all.x, item.cover.x);
      merge(all.y, item.cover.y);
      continue;
    }
    // Series run from their first to their last point: a line's ends are sticky in x.
    charts::Span x;
    for (std::size_t i = 0; i < item.x.size(); ++i) {
      const float a = item.x[i], b = item.y[i];
      if (!finite(a) || !finite(b) || (logX && a <= 0) || (logY && b <= 0)) continue;
      x.add(a);
      all.y.add(b);
    }
    if (!item.markers && x.hi >= x.lo) x.sticky = {x.lo, x.hi};
    merge(all.x, x);
  }
  double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  if (!limitsOf(all.x, logX, x0, x1) || !limitsOf(all.y, logY, y0, y1)) {
    msgdmp("W", "FGSTRF", "NO DATA POINT FITS THE TRANSFORMATION; THE WINDOW STAYS [0, 1] X [0, 1].");
    s.windowUnset = true;
    return;
  }
  sgswnd(static_cast<float>(x0), static_cast<float>(x1), static_cast<float>(y0), static_cast<float>(y1));
}

bool contourLevelsKnown() {
  const contour::State& c = contour::state();
  return c.mode == contour::LevelMode::List || c.fieldSet;
}

void scatterBounds() {
  if (contourLevelsKnown()) return;
  std::vector<float> values;
  for (const Item& item : state().items)
    if (item.markers) values.insert(values.end(), item.v.begin(), item.v.end());
  if (!values.empty()) colour::resolveBounds(static_cast<int>(values.size()), values.data());
}

void drawItems() {
  State& s = state();
  std::vector<float> levels;
  scatterBounds();
  const bool banded = contourLevelsKnown();
  // A value at or below 0 has no place on a log axis: left out (a line breaks
  // there), as the window left it out, instead of ending the program.
  int itr = 1;
  sgqtrn(itr);
  const bool logX = itr == 3 || itr == 4, logY = itr == 2 || itr == 4;
  const auto off = [&](float x, float y) { return (logX && x <= 0) || (logY && y <= 0); };
  int dropped = 0;
  for (Item& item : s.items) {
    if (!logX && !logY) break;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < item.x.size(); ++i) {
      const bool out = off(item.x[i], item.y[i]);
      dropped += out ? 1 : 0;
      if (!item.markers) {
        if (out) item.x[i] = item.y[i] = std::numeric_limits<float>::quiet_NaN();
      } else if (!out) {
        item.x[kept] = item.x[i], item.y[kept] = item.y[i], item.v[kept] = item.v[i];
        ++kept;
      }
    }
    if (item.markers) item.x.resize(kept), item.y.resize(kept), item.v.resize(kept);
  }
  if (dropped > 0)
    msgdmp("W", "FGPFRM",
           std::to_string(dropped) + (dropped == 1 ? " POINT AT OR BELOW 0 ON A LOG AXIS IS LEFT OUT."
                                                   : " POINTS AT OR BELOW 0 ON A LOG AXIS ARE LEFT OUT."));
  for (const Item& item : s.items) {
    if (item.chart) {
      item.chart();
      continue;
    }
    const int n = static_cast<int>(item.x.size());
    if (n == 0) continue;
    if (!item.markers) {
      sgplzu(n, item.x.data(), item.y.data(), item.itype, item.index);
      continue;
    }
    if (banded && levels.empty()) {
      int nl = 0;
      cnqlvn(nl);
      levels.resize(static_cast<std::size_t>(std::max(nl, 0)));
      for (int i = 1; i <= nl; ++i) cnqlvl(i, levels[static_cast<std::size_t>(i - 1)]);
    }
    scatterByBand(item, levels);
  }
  s.items.clear();
}

namespace {

// Charts in a frame whose window is still to come from its data: called
// before the frame is placed, or after it was placed with the window fgfrm
// set, on the frame's own page, in a frame with a window (ITR 1-4). After
// fgopn a chart starts the first frame like the frame's own routines.
bool wantsChart() {
  State& s = state();
  ensureFrame();
  if (s.cell < 0 || s.drawn || s.map.set) return false;
  int nframe = 0, itr = 1;
  bool page = false;
  sgiget("NFRAME", nframe);
  swqpag(page);
  sgqtrn(itr);
  if (!page || nframe != s.nframe || itr < 1 || itr > 4) return false;
  if (!s.placed) return true;
  float ux0 = 0, ux1 = 0, uy0 = 0, uy1 = 0;
  sgqwnd(ux0, ux1, uy0, uy1);
  return s.windowUnset && ux0 == 0 && ux1 == 1 && uy0 == 0 && uy1 == 1;
}

// A chart kept; one kept after the frame was placed places it again at fgpfrm.
void keepChart(charts::Cover cover, std::function<void()> draw) {
  State& s = state();
  Item item;
  item.chart = std::move(draw);
  item.cover = std::move(cover);
  s.items.push_back(std::move(item));
  s.placed = false;
}

[[maybe_unused]] const bool chartsKept = (charts::setKeeper({&wantsChart, &keepChart}), true);

}  // namespace

void drawKeptCharts() {
  State& s = state();
  std::vector<Item> items = std::move(s.items);
  s.items.clear();
  for (const Item& item : items)
    if (item.chart) item.chart();
}

}  // namespace figure

void fgplzu(int n, const float* x, const float* y, int itype, int index) {
  figure::ensureFrame();
  if (n < 2 || x == nullptr || y == nullptr) {
    msgdmp("W", "FGPLZU", "A POLYLINE NEEDS AT LEAST 2 POINTS; NOTHING DRAWN.");
    return;
  }
  figure::Item item;
  item.x.assign(x, x + n);
  item.y.assign(y, y + n);
  item.itype = itype;
  item.index = index;
  figure::state().items.push_back(std::move(item));
}

void fgscat(int n, const float* x, const float* y, const float* v, int itype, float size) {
  figure::ensureFrame();
  if (n < 1 || x == nullptr || y == nullptr || v == nullptr) {
    msgdmp("W", "FGSCAT", "NO POINTS; NOTHING DRAWN.");
    return;
  }
  figure::Item item;
  item.markers = true;
  item.x.assign(x, x + n);
  item.y.assign(y, y + n);
  item.v.assign(v, v + n);
  item.itype = itype;
  item.size = size;
  figure::state().items.push_back(std::move(item));
}

void fgplzu(std::span<const float> x, std::span<const float> y, int itype, int index) {
  fgplzu(figure::count({x.size(), y.size()}, "FGPLZU"), x.data(), y.data(), itype, index);
}

void fgscat(std::span<const float> x, std::span<const float> y, std::span<const float> v, int itype, float size) {
  fgscat(figure::count({x.size(), y.size(), v.size()}, "FGSCAT"), x.data(), y.data(), v.data(), itype, size);
}

std::vector<float> fglins(float a, float b, int n) {
  if (n < 1 || !std::isfinite(a) || !std::isfinite(b)) {
    msgdmp("E", "FGLINS", "N MUST BE AT LEAST 1 AND THE ENDS FINITE.");
    return {};
  }
  std::vector<float> out(static_cast<std::size_t>(n));
  // Computed from both ends so that the last value is b exactly.
  for (int i = 0; i < n; ++i) {
    const double t = n == 1 ? 0.0 : static_cast<double>(i) / (n - 1);
    out[static_cast<std::size_t>(i)] = static_cast<float>(a * (1 - t) + b * t);
  }
  return out;
}

void fgvecu(int n, const float* x, const float* y, const float* u, const float* v, float vscale, int index) {
  if (n < 1 || x == nullptr || y == nullptr || u == nullptr || v == nullptr) {
    msgdmp("W", "FGVECU", "NO VECTORS; NOTHING DRAWN.");
    return;
  }
  if (!(std::isfinite(vscale) && vscale > 0)) {
    msgdmp("E", "FGVECU", "VSCALE MUST BE POSITIVE.");
    return;
  }
  // The vector package's arrows, on this vector's points only: its field and
  // settings are the caller's again afterwards.
  const vector::Field saved = vector::field();
  float scale = 0;
  int lineIndex = 1;
  bool ludir = false;
  vcrget("SCALE", scale);
  vciget("INDEX", lineIndex);
  vclget("LUDIR", ludir);
  vcspnt(n, x, y, u, v);
  vcrset("SCALE", vscale);
  vciset("INDEX", index);
  vclset("LUDIR", true);  // off maps, u along growing x and v along growing y
  vcarwu();
  vcrset("SCALE", scale);
  vciset("INDEX", lineIndex);
  vclset("LUDIR", ludir);
  const std::uint64_t generation = vector::field().generation;
  vector::field() = saved;
  vector::field().generation = generation + 1;  // whatever was computed for these points is stale
}

}  // namespace zep
