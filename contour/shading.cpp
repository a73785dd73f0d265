// Filled bands and cell shading through the fill primitive.
#include <algorithm>
#include <vector>

#include <zep/contour.hpp>
#include <zep/foundation.hpp>
#include <zep/graphics.hpp>
#include <zep/primitives.hpp>

#include "contour/contour_drawing.hpp"
#include "contour/contour_state.hpp"

namespace zep {
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
    const int tone = contour::bandToneOf(static_cast<int>(band));
    if (tone == 0) continue;
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
    sgtnzu(static_cast<int>(x.size()), x.data(), y.data(), tone);
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
  std::vector<int> tones(s.levels.size() + 1);
  for (std::size_t b = 0; b < tones.size(); ++b) tones[b] = contour::bandToneOf(static_cast<int>(b));
  std::vector<float> px, py;
  for (int j = 0; j < s.ny; ++j) {
    float y0, y1;
    bounds(s.ys, j, y0, y1);
    const std::size_t row = static_cast<std::size_t>(j) * static_cast<std::size_t>(s.nx);
    int i = 0;
    while (i < s.nx) {
      const contour::PointClass c = s.classes[row + static_cast<std::size_t>(i)];
      int end = i + 1;
      while (end < s.nx && s.classes[row + static_cast<std::size_t>(end)] == c) ++end;
      if (c != contour::kMissingClass && tones[c] != 0) {
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
        sgtnzu(static_cast<int>(px.size()), px.data(), py.data(), tones[c]);
      }
      i = end;
    }
  }
}

}  // namespace zep
