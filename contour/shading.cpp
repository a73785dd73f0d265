// Filled bands and cell shading through the fill primitive.
#include <algorithm>
#include <cmath>
#include <vector>

#include <zep/contour.hpp>
#include <zep/foundation.hpp>
#include <zep/graphics.hpp>
#include <zep/primitives.hpp>

#include "colour/colour_state.hpp"
#include "contour/contour_drawing.hpp"
#include "contour/contour_state.hpp"

namespace zep {
namespace contour {

int bandColourOf(int band) {
  State& s = state();
  ensureLevels();
  bool byMap = true;
  cnlget("LCMAP", byMap);
  const std::size_t nb = s.levels.size() + 1;
  const auto b = static_cast<std::size_t>(band);
  if (!byMap || b >= nb || (s.bandTone.size() == nb && s.bandTone[b] >= 0)) return -1;
  const colour::Norm& norm = colour::state().norm;
  const bool spread = norm.kind == colour::NormKind::Linear && std::isnan(norm.vmin) && std::isnan(norm.vmax);
  if (spread || s.levels.empty()) {
    // The bands spread over the whole map, the open ends in its end colours.
    return colour::colourAt(nb > 1 ? static_cast<double>(band) / static_cast<double>(nb - 1) : 0.5);
  }
  // A normalisation set by the caller places each band by a value inside it
  // (its middle; half a spacing beyond the end level for the open ends).
  const float range[2] = {s.zmin, s.zmax};
  colour::resolveBounds(s.anyValid ? 2 : 0, range);
  const std::vector<Level>& l = s.levels;
  const std::size_t n = l.size();
  const double first = l.front().value, last = l.back().value;
  const double spacing = n > 1 ? (last - first) / static_cast<double>(n - 1) : 1.0;
  double v = 0;
  if (b == 0) v = first - 0.5 * spacing;
  else if (b == n) v = last + 0.5 * spacing;
  else if (norm.kind == colour::NormKind::Log && l[b - 1].value > 0)
    v = std::sqrt(static_cast<double>(l[b - 1].value) * l[b].value);
  else v = 0.5 * (static_cast<double>(l[b - 1].value) + l[b].value);
  const int rgb = colour::colourAt(colour::position(v));
  return rgb;
}

void fillBand(int band, int n, const float* x, const float* y) {
  const int rgb = bandColourOf(band);
  if (rgb >= 0) {
    colour::fillFull(true, n, x, y, static_cast<std::uint32_t>(rgb));
    return;
  }
  const int tone = bandToneOf(band);
  if (tone != 0) sgtnzu(n, x, y, tone);
}

}  // namespace contour

namespace {

// GL LMISS on while the fills run, so that an RMISS point separates the rings of
// one area; the caller's setting comes back afterwards.
class RingSeparators {
 public:
  RingSeparators() {
    gllget("LMISS", before_);
    glrget("RMISS", rmiss_);
    gllset("LMISS", true);
  }
  ~RingSeparators() { gllset("LMISS", before_); }
  RingSeparators(const RingSeparators&) = delete;
  RingSeparators& operator=(const RingSeparators&) = delete;
  float value() const { return rmiss_; }

 private:
  bool before_ = false;
  float rmiss_ = 999.0F;
};

}  // namespace

void cnshdu() {
  if (!contour::requireField("CNSHDU")) return;
  contour::ensureRings();
  contour::State& s = contour::state();
  const contour::Paths& p = s.rings;
  const RingSeparators separators;
  std::vector<float> x, y;
  for (std::size_t band = 0; band + 1 < s.bandStart.size(); ++band) {
    const std::size_t first = s.bandStart[band], last = s.bandStart[band + 1];
    if (first == last) continue;
    if (contour::bandColourOf(static_cast<int>(band)) < 0 && contour::bandToneOf(static_cast<int>(band)) == 0)
      continue;
    x.clear();
    y.clear();
    // All rings of a band in one area: holes come out by the even-odd rule.
    for (std::size_t r = first; r < last; ++r) {
      if (r > first) {
        x.push_back(separators.value());
        y.push_back(separators.value());
      }
      x.insert(x.end(), p.x.begin() + static_cast<std::ptrdiff_t>(p.start[r]),
               p.x.begin() + static_cast<std::ptrdiff_t>(p.start[r + 1]));
      y.insert(y.end(), p.y.begin() + static_cast<std::ptrdiff_t>(p.start[r]),
               p.y.begin() + static_cast<std::ptrdiff_t>(p.start[r + 1]));
    }
    contour::fillBand(static_cast<int>(band), static_cast<int>(x.size()), x.data(), y.data());
  }
}

void cncelu() {
  if (!contour::requireField("CNCELU")) return;
  contour::ensureClasses();
  contour::ensureCoordinates();
  if (contour::shadeCellsAsImage()) return;
  contour::State& s = contour::state();
  // Each point owns the rectangle halfway to its neighbours, cut at the grid's
  // edge; runs of one colour along a row are filled as one rectangle.
  auto bounds = [](const std::vector<float>& v, int k, float& a, float& b) {
    const std::size_t n = v.size(), i = static_cast<std::size_t>(k);
    a = i == 0 ? v[0] : 0.5F * (v[i - 1] + v[i]);
    b = i + 1 == n ? v[n - 1] : 0.5F * (v[i] + v[i + 1]);
  };
  // Bands left unfilled (tone 0 and no colour) are skipped.
  std::vector<bool> drawn(s.levels.size() + 1);
  for (std::size_t b = 0; b < drawn.size(); ++b)
    drawn[b] = contour::bandColourOf(static_cast<int>(b)) >= 0 || contour::bandToneOf(static_cast<int>(b)) != 0;
  std::vector<float> px, py;
  for (int j = 0; j < s.ny; ++j) {
    float y0, y1;
    bounds(s.ys, j, y0, y1);
    const std::size_t row = static_cast<std::size_t>(j) * static_cast<std::size_t>(s.cols);
    int i = 0;
    while (i < s.cols) {
      const contour::PointClass c = s.classes[row + static_cast<std::size_t>(i)];
      int end = i + 1;
      while (end < s.cols && s.classes[row + static_cast<std::size_t>(end)] == c) ++end;
      if (c != contour::kMissingClass && drawn[c]) {
        // Every cell boundary along the run stays a point of the outline, so
        // that rows above and below share their edges exactly on any
        // transformation (edges may be drawn as great circles on maps).
        px.clear();
        py.clear();
        float a = 0, b = 0;
        for (int k = i; k < end; ++k) {
          bounds(s.xs, k, a, b);
          px.push_back(a);
          py.push_back(y0);
        }
        px.push_back(b);
        py.push_back(y0);
        for (int k = end - 1; k >= i; --k) {
          bounds(s.xs, k, a, b);
          px.push_back(b);
          py.push_back(y1);
        }
        px.push_back(a);
        py.push_back(y1);
        contour::fillBand(c, static_cast<int>(px.size()), px.data(), py.data());
      }
      i = end;
    }
  }
}

void cnqbdc(int band, int& rgb) {
  rgb = -1;
  contour::State& s = contour::state();
  if (s.mode != contour::LevelMode::List && !contour::requireField("CNQBDC")) return;
  contour::ensureLevels();
  if (band < 0 || band > static_cast<int>(s.levels.size())) {
    msgdmp("E", "CNQBDC", "BAND NUMBER IS OUT OF RANGE.");
    return;
  }
  rgb = contour::bandColourOf(band);
}

}  // namespace zep
