// Histograms (bins given or chosen, counts or density, stacked) and bar charts
// (single, grouped, stacked; vertical or horizontal).
#include <algorithm>
#include <cmath>
#include <new>
#include <string>
#include <vector>

#include <zep/charts.hpp>
#include <zep/foundation.hpp>

#include "charts/ch_internal.hpp"
#include "charts/ch_keep.hpp"
#include "foundation/fixed_text.hpp"

namespace zep {
namespace {

using charts::Axes;
using charts::Missing;

// The values that are not missing, in double, for sorting; false (reported) when
// memory for them cannot be had.
bool presentValues(std::string_view routine, int n, const float* x, std::vector<double>& v) {
  const Missing missing;
  try {
    v.reserve(static_cast<std::size_t>(n));
  } catch (const std::bad_alloc&) {
    msgdmp("E", routine, "NO MEMORY FOR " + std::to_string(n) + " VALUES.");
    return false;
  }
  for (int i = 0; i < n; ++i)
    if (!missing(x[i])) v.push_back(x[i]);
  return true;
}

// The smallest and largest of the values that are not missing; false when none is.
bool valueRange(int n, const float* x, double& lo, double& hi) {
  const Missing missing;
  bool any = false;
  for (int i = 0; i < n; ++i) {
    if (missing(x[i])) continue;
    lo = any ? std::min<double>(lo, x[i]) : x[i];
    hi = any ? std::max<double>(hi, x[i]) : x[i];
    any = true;
  }
  return any;
}

// Quantile q of sorted values, interpolated linearly between order statistics.
double quantile(const std::vector<double>& sorted, double q) {
  const double pos = q * static_cast<double>(sorted.size() - 1);
  const auto k = static_cast<std::size_t>(pos);
  if (k + 1 >= sorted.size()) return sorted.back();
  return sorted[k] + (pos - static_cast<double>(k)) * (sorted[k + 1] - sorted[k]);
}

bool validBinCount(std::string_view routine, int nbin) {
  int most = 0;
  chiget("NBINMX", most);
  if (nbin < 1) {
    msgdmp("E", routine, "NUMBER OF BINS IS LESS THAN 1.");
    return false;
  }
  if (nbin > most) {
    msgdmp("E", routine, "NUMBER OF BINS EXCEEDS MAXIMUM (CH NBINMX).");
    return false;
  }
  return true;
}

bool validEdges(std::string_view routine, int nbin, const float* edges) {
  for (int k = 0; k < nbin; ++k)
    if (!(edges[k] < edges[k + 1]) || !std::isfinite(edges[k]) || !std::isfinite(edges[k + 1])) {
      msgdmp("E", routine, "BIN EDGES ARE NOT FINITE AND INCREASING.");
      return false;
    }
  return true;
}

// Raw counts of the values that are not missing in the bins, as numpy counts them.
std::vector<double> countsIn(int n, const float* x, int nbin, const float* edges) {
  const Missing missing;
  std::vector<double> counts(static_cast<std::size_t>(nbin), 0.0);
  const float* end = edges + nbin + 1;
  for (int i = 0; i < n; ++i) {
    const float v = x[i];
    if (missing(v) || v < edges[0] || v > edges[nbin]) continue;
    auto k = static_cast<std::size_t>(std::upper_bound(edges, end, v) - edges) - 1;
    if (k >= static_cast<std::size_t>(nbin)) k = static_cast<std::size_t>(nbin) - 1;  // the last edge
    counts[k] += 1;
  }
  return counts;
}

// Counts turned into density when CH LDENS is on: total is the number the area stands for.
void toDensity(std::vector<double>& counts, int nbin, const float* edges, double total) {
  bool density = false;
  chlget("LDENS", density);
  if (!density || !(total > 0)) return;
  for (int k = 0; k < nbin; ++k)
    counts[static_cast<std::size_t>(k)] /= total * (static_cast<double>(edges[k + 1]) - edges[k]);
}

// Edges for a histogram call: the caller's, or nbin (0: chosen) equal bins over the values.
bool histogramEdges(std::string_view routine, int n, const float* x, int& nbin, const float* edges,
                    std::vector<float>& own, const float*& use) {
  if (edges != nullptr) {
    if (!validBinCount(routine, nbin) || !validEdges(routine, nbin, edges)) return false;
    use = edges;
    return true;
  }
  if (nbin < 0) {
    msgdmp("E", routine, "NUMBER OF BINS IS LESS THAN 1.");
    return false;
  }
  double lo = 0, hi = 0;
  if (!valueRange(n, x, lo, hi)) return false;  // nothing to show, and no range to bin
  if (nbin == 0) chqnbn(n, x, nbin);
  if (!validBinCount(routine, nbin)) return false;
  own.assign(static_cast<std::size_t>(nbin) + 1, 0);
  chqbin(n, x, nbin, own.data());
  use = own.data();
  return true;
}

char direction(std::string_view routine, std::string_view cdir) {
  const std::string_view d = text::trimmed(cdir);
  if (lchreq(d, "V")) return 'V';
  if (lchreq(d, "H")) return 'H';
  msgdmp("E", routine, "BAR DIRECTION IS INVALID (V OR H).");
  return 0;
}

bool validTones(std::string_view routine, int n, const int* itpat) {
  for (int i = 0; i < n; ++i)
    if (itpat[i] < 0) {
      msgdmp("E", routine, "TONE PATTERN NUMBER IS LESS THAN 0.");
      return false;
    }
  return true;
}

// Grouped or stacked bars: the checks they share.
bool validSets(std::string_view routine, int ngroup, int nset, const float* u, const float* v, const int* itpat,
               int index) {
  if (!charts::validCount(routine, ngroup) || !charts::validCount(routine, nset) || ngroup == 0 || nset == 0)
    return false;
  if (!charts::present(routine, u, "POSITION") || !charts::present(routine, v, "VALUE") ||
      !charts::present(routine, itpat, "TONE"))
    return false;
  if (index < 0) {
    msgdmp("E", routine, "LINE INDEX IS LESS THAN 0.");
    return false;
  }
  return validTones(routine, nset, itpat);
}

using GroupedChart = void (*)(std::string_view, int, int, const float*, const float*, float, const int*, int);

// Grouped or stacked bars kept for a frame whose window is still to come.
template <class Cover>
bool groupsKept(std::string_view routine, char dir, int ngroup, int nset, const float* u, const float* v, float width,
                const int* itpat, int index, Cover&& add) {
  const GroupedChart chart = routine == "CHBRGP" ? &chbrgp : &chbrsk;
  return charts::kept(
      [&] {
        charts::Cover c;
        add(c);
        return c;
      },
      [chart, dir, ngroup, nset, u = charts::copyOf(u, ngroup),
       v = charts::copyOf(v, static_cast<long long>(ngroup) * nset), width, itpat = charts::copyOf(itpat, nset),
       index] { chart(dir == 'V' ? "V" : "H", ngroup, nset, u.data(), v.data(), width, itpat.data(), index); });
}

}  // namespace

void chqnbn(int n, const float* x, int& nbin) {
  nbin = 1;
  if (!charts::validCount("CHQNBN", n) || n == 0 || !charts::present("CHQNBN", x, "X")) return;
  std::vector<double> v;
  if (!presentValues("CHQNBN", n, x, v) || v.size() < 2) return;
  std::sort(v.begin(), v.end());
  const double range = v.back() - v.front();
  if (!(range > 0)) return;
  const double count = static_cast<double>(v.size());
  // Sturges: log2(n) + 1 bins; Freedman-Diaconis: width 2 IQR n^(-1/3). The
  // narrower width wins, as in numpy's "auto", unless the IQR is zero.
  const double sturgesWidth = range / (std::log2(count) + 1);
  const double iqr = quantile(v, 0.75) - quantile(v, 0.25);
  double width = sturgesWidth;
  if (iqr > 0) width = std::min(width, 2 * iqr / std::cbrt(count));
  int most = 0;
  chiget("NBINMX", most);
  nbin = static_cast<int>(std::clamp(std::ceil(range / width), 1.0, static_cast<double>(std::max(most, 1))));
}

void chqbin(int n, const float* x, int nbin, float* edges) {
  if (!charts::validCount("CHQBIN", n) || !validBinCount("CHQBIN", nbin)) return;
  if (!charts::present("CHQBIN", edges, "EDGE") || (n > 0 && !charts::present("CHQBIN", x, "X"))) return;
  double lo = 0, hi = 1;
  valueRange(n, x, lo, hi);
  // All values alike: a bin of width 1 around them, as numpy does.
  if (!(hi > lo)) {
    lo -= 0.5;
    hi += 0.5;
  }
  for (int k = 0; k <= nbin; ++k) edges[k] = static_cast<float>(lo + (hi - lo) * k / nbin);
  edges[nbin] = static_cast<float>(hi);  // the largest value stays in the last bin
}

void chqhst(int n, const float* x, int nbin, const float* edges, float* counts) {
  if (!charts::validCount("CHQHST", n) || !validBinCount("CHQHST", nbin)) return;
  if (!charts::present("CHQHST", edges, "EDGE") || !charts::present("CHQHST", counts, "COUNT") ||
      (n > 0 && !charts::present("CHQHST", x, "X")) || !validEdges("CHQHST", nbin, edges))
    return;
  std::vector<double> c = countsIn(n, x, nbin, edges);
  double total = 0;
  for (const double k : c) total += k;
  toDensity(c, nbin, edges, total);
  std::copy(c.begin(), c.end(), counts);
}

void chhist(int n, const float* x, int nbin, const float* edges, int itpat, int index) {
  const int nval[] = {n};
  const int tone[] = {itpat};
  if (!charts::validCount("CHHIST", n)) return;
  chhsst(1, nval, x, nbin, edges, tone, index);
}

void chhsst(int nset, const int* nval, const float* x, int nbin, const float* edges, const int* itpat, int index) {
  if (!charts::validCount("CHHSST", nset) || nset == 0) return;
  if (!charts::present("CHHSST", nval, "COUNT") || !charts::present("CHHSST", itpat, "TONE")) return;
  long long all = 0;
  for (int s = 0; s < nset; ++s) {
    if (!charts::validCount("CHHSST", nval[s])) return;
    all += nval[s];
  }
  if (all > 0 && !charts::present("CHHSST", x, "X")) return;
  if (all > 0x7fffffff) {
    msgdmp("E", "CHHSST", "TOTAL NUMBER OF VALUES IS TOO LARGE.");
    return;
  }
  if (index < 0) {
    msgdmp("E", "CHHSST", "LINE INDEX IS LESS THAN 0.");
    return;
  }
  if (!validTones("CHHSST", nset, itpat)) return;
  const int nbinAsked = nbin;
  std::vector<float> own;
  const float* use = nullptr;
  if (!histogramEdges("CHHSST", static_cast<int>(all), x, nbin, edges, own, use)) return;

  std::vector<std::vector<double>> counts;
  double total = 0;
  const float* first = x;
  for (int s = 0; s < nset; ++s) {
    counts.push_back(countsIn(nval[s], first, nbin, use));
    for (const double k : counts.back()) total += k;
    first += nval[s];
  }
  // A stacked density stands for every sample together: its top encloses area 1.
  for (auto& c : counts) toDensity(c, nbin, use, total);
  // From the first edge to the last, from 0 to the highest stack.
  const auto cover = [&] {
    charts::Cover c;
    c.x.addSticky(use[0]);
    c.x.addSticky(use[nbin]);
    c.y.addSticky(0);
    for (int k = 0; k < nbin; ++k) {
      double top = 0;
      for (const auto& set : counts) top += set[static_cast<std::size_t>(k)];
      if (top > 0) c.y.add(top);
    }
    return c;
  };
  if (charts::kept(cover, [nset, nval = charts::copyOf(nval, nset), x = charts::copyOf(x, all), nbinAsked,
                           edges = charts::copyOf(edges, edges != nullptr ? nbin + 1 : 0),
                           itpat = charts::copyOf(itpat, nset), index] {
        chhsst(nset, nval.data(), charts::dataOf(x), nbinAsked, charts::dataOf(edges), itpat.data(), index);
      }))
    return;
  const Axes axes;
  std::vector<double> base(static_cast<std::size_t>(nbin), 0.0);
  for (int s = 0; s < nset; ++s)
    for (int k = 0; k < nbin; ++k) {
      const double top = base[static_cast<std::size_t>(k)] + counts[static_cast<std::size_t>(s)][static_cast<std::size_t>(k)];
      charts::bar('V', axes, use[k], use[k + 1], static_cast<float>(base[static_cast<std::size_t>(k)]),
                  static_cast<float>(top), itpat[s], index);
      base[static_cast<std::size_t>(k)] = top;
    }
}

void chbars(std::string_view cdir, int n, const float* u, const float* v, const float* base, float width, int itpat,
            int index) {
  const char dir = direction("CHBARS", cdir);
  if (dir == 0 || !charts::validCount("CHBARS", n) || n == 0) return;
  if (!charts::present("CHBARS", u, "POSITION") || !charts::present("CHBARS", v, "VALUE")) return;
  if (!(width > 0) || !std::isfinite(width)) {
    msgdmp("E", "CHBARS", "BAR WIDTH IS NOT POSITIVE.");
    return;
  }
  if (index < 0 || itpat < 0) {
    msgdmp("E", "CHBARS", "LINE INDEX OR TONE PATTERN NUMBER IS LESS THAN 0.");
    return;
  }
  const Missing missing;
  const auto cover = [&] {
    charts::Cover c;
    for (int i = 0; i < n; ++i) {
      const float b = base != nullptr ? base[i] : 0.0F;
      if (missing(u[i]) || missing(v[i]) || missing(b)) continue;
      (dir == 'V' ? c.x : c.y).add(u[i] - width / 2);
      (dir == 'V' ? c.x : c.y).add(u[i] + width / 2);
      (dir == 'V' ? c.y : c.x).addSticky(b);
      (dir == 'V' ? c.y : c.x).add(v[i]);
    }
    return c;
  };
  if (charts::kept(cover, [dir, n, u = charts::copyOf(u, n), v = charts::copyOf(v, n), base = charts::copyOf(base, n),
                           width, itpat, index] {
        chbars(dir == 'V' ? "V" : "H", n, u.data(), v.data(), charts::dataOf(base), width, itpat, index);
      }))
    return;
  const Axes axes;
  for (int i = 0; i < n; ++i) {
    const float b = base != nullptr ? base[i] : 0.0F;
    if (missing(u[i]) || missing(v[i]) || missing(b)) continue;
    charts::bar(dir, axes, u[i] - width / 2, u[i] + width / 2, b, v[i], itpat, index);
  }
}

void chbrgp(std::string_view cdir, int ngroup, int nset, const float* u, const float* v, float width, const int* itpat,
            int index) {
  const char dir = direction("CHBRGP", cdir);
  if (dir == 0 || !validSets("CHBRGP", ngroup, nset, u, v, itpat, index)) return;
  if (!(width > 0) || !std::isfinite(width)) {
    msgdmp("E", "CHBRGP", "BAR WIDTH IS NOT POSITIVE.");
    return;
  }
  float fill = 0.8F;
  chrget("RGROUP", fill);
  const float w = width * std::clamp(fill, 0.0F, 1.0F) / static_cast<float>(nset);
  const Missing missing;
  if (groupsKept("CHBRGP", dir, ngroup, nset, u, v, width, itpat, index, [&](charts::Cover& c) {
        for (int s = 0; s < nset; ++s)
          for (int g = 0; g < ngroup; ++g) {
            const float value = v[static_cast<std::size_t>(s) * static_cast<std::size_t>(ngroup) + static_cast<std::size_t>(g)];
            if (missing(u[g]) || missing(value)) continue;
            const float left = u[g] + (static_cast<float>(s) - static_cast<float>(nset) / 2) * w;
            (dir == 'V' ? c.x : c.y).add(left);
            (dir == 'V' ? c.x : c.y).add(left + w);
            (dir == 'V' ? c.y : c.x).addSticky(0);
            (dir == 'V' ? c.y : c.x).add(value);
          }
      }))
    return;
  const Axes axes;
  for (int s = 0; s < nset; ++s)
    for (int g = 0; g < ngroup; ++g) {
      const float value = v[static_cast<std::size_t>(s) * static_cast<std::size_t>(ngroup) + static_cast<std::size_t>(g)];
      if (missing(u[g]) || missing(value)) continue;
      const float left = u[g] + (static_cast<float>(s) - static_cast<float>(nset) / 2) * w;
      charts::bar(dir, axes, left, left + w, 0, value, itpat[s], index);
    }
}

void chbrsk(std::string_view cdir, int ngroup, int nset, const float* u, const float* v, float width, const int* itpat,
            int index) {
  const char dir = direction("CHBRSK", cdir);
  if (dir == 0 || !validSets("CHBRSK", ngroup, nset, u, v, itpat, index)) return;
  if (!(width > 0) || !std::isfinite(width)) {
    msgdmp("E", "CHBRSK", "BAR WIDTH IS NOT POSITIVE.");
    return;
  }
  const Missing missing;
  if (groupsKept("CHBRSK", dir, ngroup, nset, u, v, width, itpat, index, [&](charts::Cover& c) {
        for (int g = 0; g < ngroup; ++g) {
          if (missing(u[g])) continue;
          (dir == 'V' ? c.x : c.y).add(u[g] - width / 2);
          (dir == 'V' ? c.x : c.y).add(u[g] + width / 2);
          (dir == 'V' ? c.y : c.x).addSticky(0);
          double base = 0;
          for (int s = 0; s < nset; ++s) {
            const float value = v[static_cast<std::size_t>(s) * static_cast<std::size_t>(ngroup) + static_cast<std::size_t>(g)];
            if (!missing(value)) (dir == 'V' ? c.y : c.x).add(base += value);
          }
        }
      }))
    return;
  const Axes axes;
  for (int g = 0; g < ngroup; ++g) {
    if (missing(u[g])) continue;
    double base = 0;
    for (int s = 0; s < nset; ++s) {
      const float value = v[static_cast<std::size_t>(s) * static_cast<std::size_t>(ngroup) + static_cast<std::size_t>(g)];
      if (missing(value)) continue;  // a missing part adds nothing to the stack
      charts::bar(dir, axes, u[g] - width / 2, u[g] + width / 2, static_cast<float>(base),
                  static_cast<float>(base + value), itpat[s], index);
      base += value;
    }
  }
}

}  // namespace zep
