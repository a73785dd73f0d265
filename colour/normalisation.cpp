// Normalisations: from a data value to a position on the colormap.
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include <zep/colour.hpp>
#include <zep/foundation.hpp>

#include "colour/colour_state.hpp"

namespace zep {
namespace colour {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A bound that is given must be finite; NaN asks for the data's.
bool acceptable(double v) { return std::isnan(v) || std::isfinite(v); }

void reset(NormKind kind, double vmin, double vcentre, double vmax) {
  Norm& n = state().norm;
  n.kind = kind;
  n.vmin = vmin;
  n.vcentre = vcentre;
  n.vmax = vmax;
  n.lo = vmin;
  n.hi = vmax;
  n.bounds.clear();
}

// Moves a bound taken from the data off the other one when the data leave
// no range (one value, or all beyond a given bound).
void widen(Norm& n) {
  if (std::isnan(n.lo) || std::isnan(n.hi)) return;
  const bool lowFromData = std::isnan(n.vmin);
  if (n.kind == NormKind::Centred) {
    const double c = n.vcentre;
    if (n.lo >= c && lowFromData) n.lo = n.hi > c ? c - (n.hi - c) : c - 1;
    if (n.hi <= c && std::isnan(n.vmax)) n.hi = n.lo < c ? c + (c - n.lo) : c + 1;
    return;
  }
  if (n.lo < n.hi) return;
  if (n.kind == NormKind::Log) {
    if (lowFromData) n.lo = n.hi / 10;
    else n.hi = n.lo * 10;
  } else {
    if (lowFromData) n.lo = n.hi - 1;
    else n.hi = n.lo + 1;
  }
}

}  // namespace

bool isMissing(float v) {
  if (std::isnan(v)) return true;
  bool lmiss = false;
  gllget("LMISS", lmiss);
  if (!lmiss) return false;
  float rmiss = 999.0F;
  glrget("RMISS", rmiss);
  return v == rmiss;
}

bool boundsKnown() {
  const Norm& n = state().norm;
  return n.kind == NormKind::Discrete || (!std::isnan(n.lo) && !std::isnan(n.hi));
}

void resolveBounds(int n, const float* values) {
  Norm& norm = state().norm;
  if (norm.kind == NormKind::Discrete) return;
  const bool wantLow = std::isnan(norm.vmin), wantHigh = std::isnan(norm.vmax);
  if (!wantLow && !wantHigh) return;
  double lo = kNaN, hi = kNaN;
  for (int i = 0; values != nullptr && i < n; ++i) {
    const float v = values[i];
    if (!std::isfinite(v) || isMissing(v) || (norm.kind == NormKind::Log && !(v > 0))) continue;
    if (!(lo <= v)) lo = v;
    if (!(hi >= v)) hi = v;
  }
  if (wantLow) norm.lo = lo;
  if (wantHigh) norm.hi = hi;
  if (norm.kind == NormKind::Centred) {
    if (wantLow && !std::isnan(norm.lo)) norm.lo = std::min(norm.lo, norm.vcentre);
    if (wantHigh && !std::isnan(norm.hi)) norm.hi = std::max(norm.hi, norm.vcentre);
  }
  // One bound given, the other beyond it in the data's direction: still a range.
  widen(norm);
}

double position(double v) {
  if (std::isnan(v) || isMissing(static_cast<float>(v)) || !boundsKnown()) return kNaN;
  const Norm& n = state().norm;
  switch (n.kind) {
    case NormKind::Linear: return (v - n.lo) / (n.hi - n.lo);
    case NormKind::Log:
      if (!(v > 0)) return -std::numeric_limits<double>::infinity();
      return (std::log10(v) - std::log10(n.lo)) / (std::log10(n.hi) - std::log10(n.lo));
    case NormKind::Centred:
      if (v < n.vcentre) return 0.5 * (v - n.lo) / (n.vcentre - n.lo);
      return 0.5 + 0.5 * (v - n.vcentre) / (n.hi - n.vcentre);
    case NormKind::Discrete: {
      const std::vector<double>& b = n.bounds;
      if (v < b.front()) return -1;
      if (v > b.back()) return 2;
      const std::size_t bands = b.size() - 1;
      const auto k = std::min(static_cast<std::size_t>(std::upper_bound(b.begin(), b.end(), v) - b.begin()) - 1,
                              bands - 1);
      return bands == 1 ? 0.5 : static_cast<double>(k) / static_cast<double>(bands - 1);
    }
  }
  return kNaN;
}

}  // namespace colour

using colour::NormKind;

void cmsnrl(float vmin, float vmax) {
  if (!colour::acceptable(vmin) || !colour::acceptable(vmax) || !(std::isnan(vmin) || std::isnan(vmax) || vmin < vmax)) {
    msgdmp("E", "CMSNRL", "VMIN MUST BE LESS THAN VMAX, BOTH FINITE (NAN: FROM THE DATA).");
    return;
  }
  colour::reset(NormKind::Linear, vmin, 0, vmax);
}

void cmsnrg(float vmin, float vmax) {
  const bool ok = colour::acceptable(vmin) && colour::acceptable(vmax) && !(vmin <= 0) && !(vmax <= 0) &&
                  (std::isnan(vmin) || std::isnan(vmax) || vmin < vmax);
  if (!ok) {
    msgdmp("E", "CMSNRG", "A LOG NORMALISATION NEEDS 0 < VMIN < VMAX (NAN: FROM THE DATA).");
    return;
  }
  colour::reset(NormKind::Log, vmin, 0, vmax);
}

void cmsnrc(float vmin, float vcentre, float vmax) {
  const bool ok = std::isfinite(vcentre) && colour::acceptable(vmin) && colour::acceptable(vmax) &&
                  !(vmin >= vcentre) && !(vmax <= vcentre);
  if (!ok) {
    msgdmp("E", "CMSNRC", "A CENTRED NORMALISATION NEEDS VMIN < VCENTRE < VMAX, VCENTRE FINITE.");
    return;
  }
  colour::reset(NormKind::Centred, vmin, vcentre, vmax);
}

void cmsnrd(int n, const float* bounds) {
  if (n < 2 || bounds == nullptr) {
    msgdmp("E", "CMSNRD", "A DISCRETE NORMALISATION NEEDS AT LEAST 2 BOUNDS.");
    return;
  }
  std::vector<double> b;
  for (int i = 0; i < n; ++i) {
    if (!std::isfinite(bounds[i]) || (i > 0 && !(bounds[i] > bounds[i - 1]))) {
      msgdmp("E", "CMSNRD", "BOUND " + std::to_string(i + 1) + " IS NOT FINITE OR NOT ABOVE THE ONE BEFORE.");
      return;
    }
    b.push_back(bounds[i]);
  }
  colour::reset(NormKind::Discrete, b.front(), 0, b.back());
  colour::state().norm.bounds = std::move(b);
}

void cmsdat(int n, const float* values) {
  if (n < 0) {
    msgdmp("E", "CMSDAT", "NUMBER OF VALUES IS LESS THAN 0.");
    return;
  }
  colour::resolveBounds(n, values);
}

void cmqnrb(float& vmin, float& vmax) {
  const colour::Norm& n = colour::state().norm;
  vmin = static_cast<float>(n.lo);
  vmax = static_cast<float>(n.hi);
}

void cmqnrm(float value, float& t) { t = static_cast<float>(colour::position(value)); }

void cmqvrg(float value, int& rgb) { rgb = colour::colourAt(colour::position(value)); }

}  // namespace zep
