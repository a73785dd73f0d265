// Error bars, markers on chosen points, step lines and filled areas between
// curves, in U through the line, marker and tone primitives.
#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include <zep/charts.hpp>
#include <zep/foundation.hpp>
#include <zep/graphics.hpp>
#include <zep/primitives.hpp>

#include "charts/ch_internal.hpp"
#include "charts/ch_keep.hpp"
#include "foundation/fixed_text.hpp"

namespace zep {
namespace {

using charts::Axes;
using charts::Missing;

// Error bars along y ('Y') or x ('X'); all bars of a call are one line primitive.
void errorBars(std::string_view routine, char along, int n, const float* ux, const float* uy, const float* elo,
               const float* ehi, int index) {
  if (!charts::validCount(routine, n) || n == 0) return;
  if (!charts::present(routine, ux, "X") || !charts::present(routine, uy, "Y") ||
      !charts::present(routine, elo, "ERROR"))
    return;
  if (!charts::drawingIndex(routine, index)) return;
  const Missing missing;
  for (int i = 0; i < n; ++i) {
    const float lo = elo[i], hi = ehi != nullptr ? ehi[i] : elo[i];
    if (lo < 0 || hi < 0) {
      msgdmp("E", routine, "ERROR BAR EXTENT IS NEGATIVE.");
      return;
    }
  }
  const auto cover = [&] {
    charts::Cover c;
    for (int i = 0; i < n; ++i) {
      const float lo = elo[i], hi = ehi != nullptr ? ehi[i] : elo[i];
      if (missing(ux[i]) || missing(uy[i]) || missing(lo) || missing(hi)) continue;
      (along == 'Y' ? c.x : c.y).add(along == 'Y' ? ux[i] : uy[i]);
      (along == 'Y' ? c.y : c.x).add((along == 'Y' ? uy[i] : ux[i]) - lo);
      (along == 'Y' ? c.y : c.x).add((along == 'Y' ? uy[i] : ux[i]) + hi);
    }
    return c;
  };
  if (charts::kept(cover, [routine, along, n, ux = charts::copyOf(ux, n), uy = charts::copyOf(uy, n),
                           elo = charts::copyOf(elo, n), ehi = charts::copyOf(ehi, n), index] {
        errorBars(routine, along, n, ux.data(), uy.data(), elo.data(), charts::dataOf(ehi), index);
      }))
    return;
  const Axes axes;
  float cap = 0;
  chrget("RCAP", cap);
  szlnop(index);
  for (int i = 0; i < n; ++i) {
    const float lo = elo[i], hi = ehi != nullptr ? ehi[i] : elo[i];
    if (missing(ux[i]) || missing(uy[i]) || missing(lo) || missing(hi)) continue;
    float x0 = ux[i], x1 = ux[i], y0 = uy[i], y1 = uy[i];
    if (along == 'Y') {
      if (axes.logX && !(x0 * axes.floorX > 0)) continue;
      y0 = axes.y(uy[i] - lo);
      y1 = axes.y(uy[i] + hi);
    } else {
      if (axes.logY && !(y0 * axes.floorY > 0)) continue;
      x0 = axes.x(ux[i] - lo);
      x1 = axes.x(ux[i] + hi);
    }
    szlnzu(x0, y0, x1, y1);
    if (!(cap > 0)) continue;
    // Caps are a fixed length on the page whatever the axes, so they are drawn in V.
    for (const auto& [x, y] : {std::pair{x0, y0}, std::pair{x1, y1}}) {
      float vx = 0, vy = 0;
      stftrn(x, y, vx, vy);
      if (along == 'Y') szlnzv(vx - cap / 2, vy, vx + cap / 2, vy);
      else szlnzv(vx, vy - cap / 2, vx, vy + cap / 2);
    }
  }
  szlncl();
}

// Markers at the chosen points (1 .. n), in batches of bounded size, so that a
// marker on every point of a long series needs no copy of it.
class ChosenMarkers {
 public:
  ChosenMarkers(std::string_view routine, int n, const float* ux, const float* uy, int itype, int index, float size)
      : routine_(routine), n_(n), ux_(ux), uy_(uy), itype_(itype), index_(index), size_(size) {
    x_.reserve(kBatch);
    y_.reserve(kBatch);
  }
  // False (reported) when i is not a point.
  bool add(long long i) {
    if (i < 1 || i > n_) {
      msgdmp("E", routine_, "POINT NUMBER IS OUT OF RANGE (1 TO N).");
      return false;
    }
    x_.push_back(ux_[i - 1]);
    y_.push_back(uy_[i - 1]);
    if (x_.size() == kBatch) flush();
    return true;
  }
  void flush() {
    if (!x_.empty()) sgpmzu(static_cast<int>(x_.size()), x_.data(), y_.data(), itype_, index_, size_);
    x_.clear();
    y_.clear();
  }

 private:
  static constexpr std::size_t kBatch = 4096;
  std::string_view routine_;
  int n_;
  const float *ux_, *uy_;
  int itype_, index_;
  float size_;
  std::vector<float> x_, y_;
};

// Fills the area between (x, ya) and (x, yb) over each run of points with no
// missing value. The ring goes out along one curve and back along the other, so
// where the curves cross it forms lobes that the even-odd rule fills alike.
void fillBetween(std::string_view routine, int n, const float* ux, const float* ya, const float* yb, float ref,
                 int itpat) {
  if (!charts::validCount(routine, n) || n < 2 || itpat == 0) return;
  if (!charts::present(routine, ux, "X") || !charts::present(routine, ya, "Y")) return;
  if (itpat < 0) {
    msgdmp("E", routine, "TONE PATTERN NUMBER IS LESS THAN 0.");
    return;
  }
  const Missing missing;
  const auto other = [&](int i) { return yb != nullptr ? yb[i] : ref; };
  const auto cover = [&] {
    charts::Cover c;
    for (int i = 0; i < n; ++i)
      if (!missing(ux[i]) && !missing(ya[i]) && !missing(other(i))) {
        c.x.addSticky(ux[i]);
        c.y.add(ya[i]);
        c.y.add(other(i));
      }
    return c;
  };
  if (charts::kept(cover, [routine, n, ux = charts::copyOf(ux, n), ya = charts::copyOf(ya, n),
                           yb = charts::copyOf(yb, n), ref, itpat] {
        fillBetween(routine, n, ux.data(), ya.data(), charts::dataOf(yb), ref, itpat);
      }))
    return;
  const Axes axes;
  std::vector<float> x, y;
  const auto flush = [&](int from, int to) {  // points from .. to-1
    if (to - from < 2) return true;
    x.clear();
    y.clear();
    try {
      x.reserve(2 * static_cast<std::size_t>(to - from));
      y.reserve(2 * static_cast<std::size_t>(to - from));
    } catch (const std::bad_alloc&) {
      msgdmp("E", routine, "NO MEMORY FOR " + std::to_string(to - from) + " POINTS.");
      return false;
    }
    for (int i = from; i < to; ++i) {
      x.push_back(ux[i]);
      y.push_back(axes.y(ya[i]));
    }
    for (int i = to - 1; i >= from; --i) {
      x.push_back(ux[i]);
      y.push_back(axes.y(other(i)));
    }
    sgtnzu(static_cast<int>(x.size()), x.data(), y.data(), itpat);
    return true;
  };
  int start = 0;
  for (int i = 0; i <= n; ++i) {
    const bool gap = i == n || missing(ux[i]) || missing(ya[i]) || missing(other(i)) ||
                     (axes.logX && !(ux[i] * axes.floorX > 0));
    if (!gap) continue;
    if (!flush(start, i)) return;
    start = i + 1;
  }
}

}  // namespace

void chebry(int n, const float* ux, const float* uy, const float* elo, const float* ehi, int index) {
  errorBars("CHEBRY", 'Y', n, ux, uy, elo, ehi, index);
}

void chebrx(int n, const float* ux, const float* uy, const float* elo, const float* ehi, int index) {
  errorBars("CHEBRX", 'X', n, ux, uy, elo, ehi, index);
}

namespace {

// Markers on chosen points kept for a frame whose window is still to come:
// what they cover is the chosen points (1 .. n) themselves.
bool markersKept(const std::vector<long long>& chosen, int n, const float* ux, const float* uy, int itype, int index,
                 float size) {
  const Missing missing;
  return charts::kept(
      [&] {
        charts::Cover c;
        for (long long i : chosen)
          if (!missing(ux[i - 1]) && !missing(uy[i - 1])) c.x.add(ux[i - 1]), c.y.add(uy[i - 1]);
        return c;
      },
      [n, ux = charts::copyOf(ux, n), uy = charts::copyOf(uy, n),
       idx = std::vector<int>(chosen.begin(), chosen.end()), itype, index, size] {
        chmkix(n, ux.data(), uy.data(), static_cast<int>(idx.size()), idx.data(), itype, index, size);
      });
}

}  // namespace

void chmkev(int n, const float* ux, const float* uy, int nevery, int nfirst, int itype, int index, float size) {
  if (!charts::validCount("CHMKEV", n) || n == 0) return;
  if (!charts::present("CHMKEV", ux, "X") || !charts::present("CHMKEV", uy, "Y")) return;
  if (nevery < 1 || nfirst < 1) {
    msgdmp("E", "CHMKEV", "STEP OR FIRST POINT IS LESS THAN 1.");
    return;
  }
  if (charts::keeping()) {
    std::vector<long long> chosen;
    for (long long i = nfirst; i <= n; i += nevery) chosen.push_back(i);
    if (markersKept(chosen, n, ux, uy, itype, index, size)) return;
  }
  ChosenMarkers markers("CHMKEV", n, ux, uy, itype, index, size);
  for (long long i = nfirst; i <= n; i += nevery) markers.add(i);
  markers.flush();
}

void chmkix(int n, const float* ux, const float* uy, int nidx, const int* idx, int itype, int index, float size) {
  if (!charts::validCount("CHMKIX", n) || !charts::validCount("CHMKIX", nidx) || nidx == 0) return;
  if (!charts::present("CHMKIX", ux, "X") || !charts::present("CHMKIX", uy, "Y") ||
      !charts::present("CHMKIX", idx, "INDEX"))
    return;
  // Every index is checked before any marker is drawn: a bad list draws nothing.
  for (int k = 0; k < nidx; ++k)
    if (idx[k] < 1 || idx[k] > n) {
      msgdmp("E", "CHMKIX", "POINT NUMBER IS OUT OF RANGE (1 TO N).");
      return;
    }
  if (charts::keeping() && markersKept(std::vector<long long>(idx, idx + nidx), n, ux, uy, itype, index, size)) return;
  ChosenMarkers markers("CHMKIX", n, ux, uy, itype, index, size);
  for (int k = 0; k < nidx; ++k) markers.add(idx[k]);
  markers.flush();
}

void chstep(int n, const float* ux, const float* uy, std::string_view cwhere, int itype, int index) {
  const std::string_view where = text::trimmed(cwhere);
  const bool pre = lchreq(where, "PRE"), post = lchreq(where, "POST"), mid = lchreq(where, "MID");
  if (!(pre || post || mid)) {
    msgdmp("E", "CHSTEP", "STEP POSITION IS INVALID (PRE, POST OR MID).");
    return;
  }
  if (!charts::validCount("CHSTEP", n) || n == 0) return;
  if (!charts::present("CHSTEP", ux, "X") || !charts::present("CHSTEP", uy, "Y")) return;
  if (!charts::drawingIndex("CHSTEP", index)) return;
  const Missing missing;
  // A line, as fgplzu's: from its first x to its last, a margin in y.
  const auto cover = [&] {
    charts::Cover c;
    for (int i = 0; i < n; ++i)
      if (!missing(ux[i]) && !missing(uy[i])) c.x.addSticky(ux[i]), c.y.add(uy[i]);
    return c;
  };
  if (charts::kept(cover, [n, ux = charts::copyOf(ux, n), uy = charts::copyOf(uy, n),
                           where = std::string(pre ? "PRE" : post ? "POST" : "MID"), itype, index] {
        chstep(n, ux.data(), uy.data(), where, itype, index);
      }))
    return;
  std::vector<float> x, y;
  const auto flush = [&] {
    if (x.size() >= 2) sgplzu(static_cast<int>(x.size()), x.data(), y.data(), itype, index);
    x.clear();
    y.clear();
  };
  // A long noisy step line is stroked in pieces that share their end points: on
  // image pages one path of 10^5 steps overlapping in each pixel column took a
  // minute, pieces of 64 points take a fraction of a second (measured), and the
  // shared points leave no gap.
  constexpr std::size_t kPiece = 64;
  const auto cutWhenLong = [&] {
    if (x.size() < kPiece) return;
    const float lx = x.back(), ly = y.back();
    flush();
    x.push_back(lx);
    y.push_back(ly);
  };
  for (int i = 0; i < n; ++i) {
    if (missing(ux[i]) || missing(uy[i])) {
      flush();
      continue;
    }
    if (!x.empty()) {
      // The corner between the previous point and this one.
      const float px = x.back(), py = y.back();
      if (pre) {
        x.push_back(px);
        y.push_back(uy[i]);
      } else if (post) {
        x.push_back(ux[i]);
        y.push_back(py);
      } else {
        const float m = px + (ux[i] - px) / 2;
        x.insert(x.end(), {m, m});
        y.insert(y.end(), {py, uy[i]});
      }
    }
    x.push_back(ux[i]);
    y.push_back(uy[i]);
    cutWhenLong();
  }
  flush();
}

void chfilb(int n, const float* ux, const float* uy1, const float* uy2, int itpat) {
  if (n > 0 && !charts::present("CHFILB", uy2, "Y")) return;
  fillBetween("CHFILB", n, ux, uy1, uy2, 0, itpat);
}

void chfilv(int n, const float* ux, const float* uy, float uref, int itpat) {
  fillBetween("CHFILV", n, ux, uy, nullptr, uref, itpat);
}

}  // namespace zep
