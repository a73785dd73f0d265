// Drawing in full colour: filled polygons, markers coloured (and sized) by a
// value per point, polylines coloured along their length.
//
// The kernel's primitives take colour indices; the workstation's full-colour
// mode makes the colour given here stand for the primitive that follows. Points
// are grouped by quantised colour (CM NBIN bins over the map, plus the under and
// over colours), so a scatter of any size costs one marker call per colour in
// use, not one per point. Where markers of different colours overlap, the later
// colour bin lies on top.
#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include <zep/colour.hpp>
#include <zep/foundation.hpp>
#include <zep/primitives.hpp>
#include <zep/workstation.hpp>

#include "colour/colour_state.hpp"

namespace zep {
namespace colour {

namespace {

// Full-colour mode around one kernel primitive; off again afterwards even when
// the primitive drew nothing (clipped away), so that no later colour index is
// ignored.
class FullColour {
 public:
  explicit FullColour(std::uint32_t rgb) {
    swsfcm(true);
    swslcl(static_cast<int>(rgb));
  }
  ~FullColour() { swsfcm(false); }
  FullColour(const FullColour&) = delete;
  FullColour& operator=(const FullColour&) = delete;
};

// The marker glyphs of the stroke font, whatever SW SYSFONT says: system-font
// markers are text, whose colour the full-colour mode does not reach.
class StrokeFontMarkers {
 public:
  StrokeFontMarkers() {
    swlget("SYSFONT", before_);
    swlset("SYSFONT", false);
  }
  ~StrokeFontMarkers() { swlset("SYSFONT", before_); }
  StrokeFontMarkers(const StrokeFontMarkers&) = delete;
  StrokeFontMarkers& operator=(const StrokeFontMarkers&) = delete;

 private:
  bool before_ = false;
};

int binCount() {
  int n = 256;
  cmiget("NBIN", n);
  return std::clamp(n, 1, 4096);
}

// Quantised colour of a value: 0 .. bins-1 on the map, bins under, bins+1
// over, -1 missing.
int binOf(double t, int bins) {
  if (std::isnan(t)) return -1;
  if (t < 0) return bins;
  if (t > 1) return bins + 1;
  return std::min(static_cast<int>(t * bins), bins - 1);
}

std::uint32_t colourOfBin(int bin, int bins) {
  if (bin == bins) return underColour();
  if (bin == bins + 1) return overColour();
  return mapColour((bin + 0.5) / bins);
}

// The bounds still to come from data are taken from these values; false
// (with a report) when there are none to take.
bool ready(const char* routine, int n, const float* v) {
  resolveBounds(n, v);
  if (boundsKnown()) return true;
  msgdmp("W", routine, "NO VALUE TO TAKE THE NORMALISATION'S BOUNDS FROM / DO NOTHING.");
  return false;
}

bool pointsOk(const char* routine, int n, const float* x, const float* y, const float* v) {
  if (n < 0) {
    msgdmp("E", routine, "NUMBER OF POINTS IS LESS THAN 0.");
    return false;
  }
  if (n > 0 && (x == nullptr || y == nullptr || v == nullptr)) {
    msgdmp("E", routine, "AN ARRAY OF POINTS OR VALUES IS A NULL POINTER.");
    return false;
  }
  return n > 0;
}

void markers(const char* routine, int n, const float* x, const float* y, const float* v, const float* size,
             int itype, float fixedSize) {
  if (!pointsOk(routine, n, x, y, v)) return;
  if (itype < 1 || itype > 18) {
    msgdmp("E", routine, "MARKER TYPE IS INVALID.");
    return;
  }
  if (size == nullptr && !(fixedSize > 0 && std::isfinite(fixedSize))) {
    msgdmp("E", routine, "MARKER SIZE MUST BE POSITIVE AND FINITE.");
    return;
  }
  if (!ready(routine, n, v)) return;
  const int bins = binCount();
  std::vector<int> key(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const bool sized = size == nullptr || (size[i] > 0 && std::isfinite(size[i]));
    key[static_cast<std::size_t>(i)] = sized ? binOf(position(v[i]), bins) : -1;
  }
  // Points in order of colour (and size), each group one marker call.
  std::vector<int> order(static_cast<std::size_t>(n));
  std::iota(order.begin(), order.end(), 0);
  auto sizeOf = [&](int i) { return size == nullptr ? fixedSize : size[i]; };
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const int ka = key[static_cast<std::size_t>(a)], kb = key[static_cast<std::size_t>(b)];
    return ka != kb ? ka < kb : sizeOf(a) < sizeOf(b);
  });
  const StrokeFontMarkers strokeFont;
  std::vector<float> gx, gy;
  for (std::size_t k = 0; k < order.size();) {
    const int first = order[k];
    const int bin = key[static_cast<std::size_t>(first)];
    const float s = sizeOf(first);
    gx.clear();
    gy.clear();
    for (; k < order.size() && key[static_cast<std::size_t>(order[k])] == bin && sizeOf(order[k]) == s; ++k) {
      gx.push_back(x[order[k]]);
      gy.push_back(y[order[k]]);
    }
    if (bin < 0) continue;
    const FullColour colour(colourOfBin(bin, bins));
    sgpmzu(static_cast<int>(gx.size()), gx.data(), gy.data(), itype, 1, s);
  }
}

}  // namespace

void fillFull(bool user, int n, const float* x, const float* y, std::uint32_t rgb) {
  const FullColour colour(rgb);
  swstcl(static_cast<int>(rgb));
  if (user) sgtnzu(n, x, y, 1999);
  else sgtnzv(n, x, y, 1999);
}

}  // namespace colour

namespace {

bool validColour(const char* routine, int rgb) {
  if (rgb >= 0 && rgb <= 0xffffff) return true;
  msgdmp("E", routine, "COLOUR IS NOT 0XRRGGBB (0 TO 16777215).");
  return false;
}

}  // namespace

void cmtnzu(int n, const float* x, const float* y, int rgb) {
  if (validColour("CMTNZU", rgb)) colour::fillFull(true, n, x, y, static_cast<std::uint32_t>(rgb));
}

void cmtnzv(int n, const float* x, const float* y, int rgb) {
  if (validColour("CMTNZV", rgb)) colour::fillFull(false, n, x, y, static_cast<std::uint32_t>(rgb));
}

void cmpmzu(int n, const float* x, const float* y, const float* v, int itype, float size) {
  colour::markers("CMPMZU", n, x, y, v, nullptr, itype, size);
}

void cmpmsu(int n, const float* x, const float* y, const float* v, const float* size, int itype) {
  if (n > 0 && size == nullptr) {
    msgdmp("E", "CMPMSU", "THE SIZES ARE A NULL POINTER.");
    return;
  }
  colour::markers("CMPMSU", n, x, y, v, size, itype, 0);
}

void cmplzu(int n, const float* x, const float* y, const float* v, int index) {
  if (!colour::pointsOk("CMPLZU", n, x, y, v)) return;
  if (index <= 0) {
    msgdmp("E", "CMPLZU", "LINE INDEX MUST BE POSITIVE.");
    return;
  }
  if (!colour::ready("CMPLZU", n, v)) return;
  const int bins = colour::binCount();
  auto pointMissing = [&](int i) {
    return colour::isMissing(x[i]) || colour::isMissing(y[i]) || colour::isMissing(v[i]);
  };
  // Runs of segments of one colour, each drawn as one polyline.
  std::vector<float> rx, ry;
  int i = 0;
  while (i + 1 < n) {
    if (pointMissing(i) || pointMissing(i + 1)) {
      ++i;
      continue;
    }
    const int bin = colour::binOf(colour::position(0.5 * (static_cast<double>(v[i]) + v[i + 1])), bins);
    rx.assign(1, x[i]);
    ry.assign(1, y[i]);
    int j = i + 1;
    rx.push_back(x[j]);
    ry.push_back(y[j]);
    while (j + 1 < n && !pointMissing(j + 1) &&
           colour::binOf(colour::position(0.5 * (static_cast<double>(v[j]) + v[j + 1])), bins) == bin) {
      ++j;
      rx.push_back(x[j]);
      ry.push_back(y[j]);
    }
    if (bin >= 0) {
      const colour::FullColour colour(colour::colourOfBin(bin, bins));
      sgplzu(static_cast<int>(rx.size()), rx.data(), ry.data(), 1, index % 10 == 0 ? 1 : index % 10);
    }
    i = j;
  }
}

}  // namespace zep
