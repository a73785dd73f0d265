// Helpers of the chart package: missing values, the floors of logarithmic axes,
// argument checks and one bar.
#include <cmath>
#include <string>

#include <zep/foundation.hpp>
#include <zep/graphics.hpp>
#include <zep/primitives.hpp>

#include "charts/ch_internal.hpp"

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

}  // namespace zep::charts
