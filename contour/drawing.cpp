// Contour lines through the labelled-line pipeline, and cell shading as one
// image on linear axes.
#include <algorithm>
#include <cmath>
#include <vector>

#include <zep/contour.hpp>
#include <zep/foundation.hpp>
#include <zep/graphics.hpp>
#include <zep/primitives.hpp>
#include <zep/workstation.hpp>

#include "contour/contour_drawing.hpp"
#include "contour/contour_state.hpp"

namespace zep {
namespace contour {

int nearestPoint(const std::vector<float>& edges, float u) {
  // `edges` holds the n-1 midpoints between neighbouring grid coordinates, in
  // increasing order; point k owns the stretch between edges k-1 and k.
  return static_cast<int>(std::upper_bound(edges.begin(), edges.end(), u) - edges.begin());
}

std::vector<float> midpoints(const std::vector<float>& v, bool& reversed) {
  reversed = v.size() > 1 && v.back() < v.front();
  std::vector<float> m;
  m.reserve(v.size());
  for (std::size_t k = 1; k < v.size(); ++k) m.push_back(0.5F * (v[k - 1] + v[k]));
  if (reversed) std::reverse(m.begin(), m.end());
  return m;
}

int pointColour(int band) { return bandToneOf(band) / 1000; }

namespace {

bool perspectiveIsOff() {
  const float probe[3][2] = {{0.1F, 0.2F}, {0.9F, 0.3F}, {0.4F, 0.8F}};
  for (const auto& p : probe) {
    float rx = 0, ry = 0;
    stfpr2(p[0], p[1], rx, ry);
    if (rx != p[0] || ry != p[1]) return false;
  }
  return true;
}

}  // namespace

bool shadeCellsAsImage() {
  State& s = state();
  bool use = true, capable = false;
  int itr = 0;
  cnlget("LIMAGE", use);
  sgqtrn(itr);
  swqimc(capable);
  if (!use || itr != 1 || !capable || !perspectiveIsOff()) return false;

  // The grid's extent in V, cut to the viewport and the workstation window.
  float vx0, vy0, vx1, vy1;
  stftrf(s.xs.front(), s.ys.front(), vx0, vy0);
  stftrf(s.xs.back(), s.ys.back(), vx1, vy1);
  float cx0, cx1, cy0, cy1;
  szqcll(cx0, cx1, cy0, cy1, 1);
  const float vxa = std::max(std::min(vx0, vx1), cx0), vxb = std::min(std::max(vx0, vx1), cx1);
  const float vya = std::max(std::min(vy0, vy1), cy0), vyb = std::min(std::max(vy0, vy1), cy1);
  szqcll(cx0, cx1, cy0, cy1, 0);
  const float rxa = std::max(vxa, cx0), rxb = std::min(vxb, cx1);
  const float rya = std::max(vya, cy0), ryb = std::min(vyb, cy1);
  if (!(rxa < rxb && rya < ryb)) return true;
  float wx0, wy0, wx1, wy1;
  stfwtr(rxa, rya, wx0, wy0);
  stfwtr(rxb, ryb, wx1, wy1);
  int ix0, iy0, ix1, iy1;
  swfint(wx0, wy0, ix0, iy0);
  swfint(wx1, wy1, ix1, iy1);
  const int left = std::min(ix0, ix1), right = std::max(ix0, ix1);
  const int top = std::min(iy0, iy1), bottom = std::max(iy0, iy1);
  const int width = right - left, height = bottom - top;
  if (width <= 0 || height <= 0) return true;

  // U of every pixel column and row: the transformation is linear in each axis.
  auto userOf = [](int ix, int iy, float& ux, float& uy) {
    float wx, wy, rx, ry, vx, vy;
    swiint(ix, iy, wx, wy);
    stiwtr(wx, wy, rx, ry);
    stipr2(rx, ry, vx, vy);
    stitrf(vx, vy, ux, uy);
  };
  bool xReversed = false, yReversed = false;
  const std::vector<float> xm = midpoints(s.xs, xReversed), ym = midpoints(s.ys, yReversed);
  std::vector<int> column(static_cast<std::size_t>(width)), row(static_cast<std::size_t>(height));
  const int nx = s.cols, ny = s.ny;
  for (int c = 0; c < width; ++c) {
    float ux, uy;
    userOf(left + c, top, ux, uy);
    const int k = nearestPoint(xm, ux);
    column[static_cast<std::size_t>(c)] = xReversed ? nx - 1 - k : k;
  }
  for (int r = 0; r < height; ++r) {
    float ux, uy;
    userOf(left, top + r, ux, uy);
    const int k = nearestPoint(ym, uy);
    row[static_cast<std::size_t>(r)] = yReversed ? ny - 1 - k : k;
  }
  // Pixels in full colour when the bands have colours. A band with a tone, or a
  // missing point, has no full colour to give (the colour table is the
  // driver's): such fields are shaded cell by cell instead.
  std::vector<int> colourOfClass(s.levels.size() + 1);
  bool full = false, tones = false;
  for (std::size_t b = 0; b < colourOfClass.size(); ++b) {
    const int rgb = bandColourOf(static_cast<int>(b));
    full = full || rgb >= 0;
    tones = tones || rgb < 0;
    colourOfClass[b] = rgb >= 0 ? rgb : pointColour(static_cast<int>(b));
  }
  if (full && (tones || std::find(s.classes.begin(), s.classes.end(), kMissingClass) != s.classes.end()))
    return false;
  std::vector<int> pixels(static_cast<std::size_t>(width));
  swiopn(left, top, width, height);
  for (int r = 0; r < height; ++r) {
    const std::size_t base = static_cast<std::size_t>(row[static_cast<std::size_t>(r)]) * static_cast<std::size_t>(nx);
    for (int c = 0; c < width; ++c) {
      const PointClass k = s.classes[base + static_cast<std::size_t>(column[static_cast<std::size_t>(c)])];
      pixels[static_cast<std::size_t>(c)] = k == kMissingClass ? 0 : colourOfClass[k];
    }
    if (full) swiclr(pixels.data(), width);
    else swidat(pixels.data(), width);
  }
  swicls();
  return true;
}

}  // namespace contour

using contour::state;

void cnlinu() {
  if (!contour::requireField("CNLINU")) return;
  contour::ensureLines();
  contour::State& s = state();
  float height = 0.015F;
  cnrget("RLABHT", height);
  bool labelsBefore = false;
  sglget("LCHAR", labelsBefore);
  bool anyLabel = false;
  const contour::Paths& p = s.lines;
  for (std::size_t k = 0; k < p.count(); ++k) {
    const contour::Level& l = s.levels[static_cast<std::size_t>(p.tag[k])];
    if (l.index == 0) continue;
    if (l.index < 0) {
      msgdmp("E", "CNLINU", "LINE INDEX IS LESS THAN 0.");
      break;
    }
    const bool label = l.label && height > 0 && !l.text.empty();
    sglset("LCHAR", label);
    if (label) {
      szschz(l.text, height);
      anyLabel = true;
    }
    szlnop(l.index);
    szstyp(l.type);
    szoplu();
    const std::size_t a = p.start[k], b = p.start[k + 1];
    szmvlu(p.x[a], p.y[a]);
    for (std::size_t m = a + 1; m < b; ++m) szpllu(p.x[m], p.y[m]);
    szcllu();
    szlncl();
  }
  sglset("LCHAR", labelsBefore);
  if (anyLabel) szcrst();
}

}  // namespace zep
