// Helpers of the chart package: missing values, the floors of logarithmic axes,
// argument checks and one bar.
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include <zep/foundation.hpp>
#include <zep/graphics.hpp>
#include <zep/primitives.hpp>

#include <zep/charts.hpp>

#include "charts/ch_internal.hpp"
#include "charts/ch_keep.hpp"

namespace zep::charts {

Missing::Missing() {
  gllget("LMISS", on_);
  glrget("RMISS", rmiss_);
}

bool Missing::operator()(float v) const { return !std::isfinite(v) || (on_ && v == rmiss_); }

Axes::Axes() {
  int itr = 0;
  sgqtrn(itr);
  logX = itr == 3 || itr == 4;
  logY = itr == 2 || itr == 4;
  float ux0 = 0, ux1 = 0, uy0 = 0, uy1 = 0;
  sgqwnd(ux0, ux1, uy0, uy1);
  // A window all below zero shows absolute values: its end nearest zero is its maximum.
  floorX = std::fabs(ux0) < std::fabs(ux1) ? ux0 : ux1;
  floorY = std::fabs(uy0) < std::fabs(uy1) ? uy0 : uy1;
}

bool validCount(std::string_view routine, int n) {
  if (n < 0) {
    msgdmp("E", routine, "NUMBER OF POINTS IS LESS THAN 0.");
    return false;
  }
  return true;
}

bool present(std::string_view routine, const void* array, std::string_view what) {
  if (array != nullptr) return true;
  msgdmp("E", routine, std::string(what) + " ARRAY IS MISSING.");
  return false;
}

bool drawingIndex(std::string_view routine, int index) {
  if (index < 0) {
    msgdmp("E", routine, "LINE INDEX IS LESS THAN 0.");
    return false;
  }
  return index > 0;
}

void bar(char dir, const Axes& axes, float a0, float a1, float b0, float b1, int itpat, int index) {
  const bool vertical = dir == 'V';
  // On a log position axis a bar that reaches zero has no place; on a log value
  // axis its base stands on the window's end nearest zero.
  if (vertical) {
    if (axes.logX && !(a0 * axes.floorX > 0 && a1 * axes.floorX > 0)) return;
    b0 = axes.y(b0);
    b1 = axes.y(b1);
  } else {
    if (axes.logY && !(a0 * axes.floorY > 0 && a1 * axes.floorY > 0)) return;
    b0 = axes.x(b0);
    b1 = axes.x(b1);
  }
  if (b0 == b1) return;  // an empty bar shows nothing
  const float pa[] = {a0, a1, a1, a0, a0}, pb[] = {b0, b0, b1, b1, b0};
  const float* x = vertical ? pa : pb;
  const float* y = vertical ? pb : pa;
  if (itpat != 0) sgtnzu(4, x, y, itpat);
  if (index > 0) sgplzu(5, x, y, 1, index);
}

void Span::add(double v) {
  if (!std::isfinite(v)) return;
  lo = std::min(lo, v);
  hi = std::max(hi, v);
  if (v > 0) lowestPositive = std::min(lowestPositive, v);
}

namespace {

Keeper keeper;
bool replaying = false;  // a kept chart drawn now is drawn, not kept again

// The settings a chart reads while it draws, as they were when it was called.
struct Settings {
  std::vector<int> integers;
  std::vector<bool> logicals;
  std::vector<float> reals;
  bool lmiss = false;
  float rmiss = 0;

  static Settings now() {
    Settings s;
    int n = 0;
    chiqnp(n);
    for (int id = 1; id <= n; ++id) chiqvl(id, s.integers.emplace_back());
    chlqnp(n);
    for (int id = 1; id <= n; ++id) {
      bool v = false;
      chlqvl(id, v);
      s.logicals.push_back(v);
    }
    chrqnp(n);
    for (int id = 1; id <= n; ++id) chrqvl(id, s.reals.emplace_back());
    gllget("LMISS", s.lmiss);
    glrget("RMISS", s.rmiss);
    return s;
  }

  // Stores only what differs: a value left alone is not a value stored.
  void apply() const {
    for (std::size_t i = 0; i < integers.size(); ++i) {
      int v = 0;
      chiqvl(static_cast<int>(i + 1), v);
      if (v != integers[i]) chisvl(static_cast<int>(i + 1), integers[i]);
    }
    for (std::size_t i = 0; i < logicals.size(); ++i) {
      bool v = false;
      chlqvl(static_cast<int>(i + 1), v);
      if (v != logicals[i]) chlsvl(static_cast<int>(i + 1), logicals[i]);
    }
    for (std::size_t i = 0; i < reals.size(); ++i) {
      float v = 0;
      chrqvl(static_cast<int>(i + 1), v);
      if (v != reals[i]) chrsvl(static_cast<int>(i + 1), reals[i]);
    }
    bool on = false;
    float value = 0;
    gllget("LMISS", on);
    glrget("RMISS", value);
    if (on != lmiss) gllset("LMISS", lmiss);
    if (value != rmiss) glrset("RMISS", rmiss);
  }
};

}  // namespace

void setKeeper(Keeper k) { keeper = k; }

bool keeping() { return !replaying && keeper.wants != nullptr && keeper.keep != nullptr && keeper.wants(); }

bool kept(const std::function<Cover()>& cover, std::function<void()> draw) {
  if (!keeping()) return false;
  keeper.keep(cover(), [then = Settings::now(), draw = std::move(draw)] {
    // The caller's settings and the flag come back however the drawing ends.
    struct Replay {
      Settings current = Settings::now();
      Replay() { replaying = true; }
      ~Replay() {
        replaying = false;
        current.apply();
      }
      Replay(const Replay&) = delete;
      Replay& operator=(const Replay&) = delete;
    } const replay;
    then.apply();
    draw();
  });
  return true;
}

}  // namespace zep::charts
