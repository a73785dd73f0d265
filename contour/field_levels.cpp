// The field, its levels, their attributes and label texts.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include <zep/contour.hpp>
#include <zep/foundation.hpp>
#include <zep/graphics.hpp>

#include "contour/contour_state.hpp"
#include "foundation/allocation.hpp"
#include "foundation/fixed_text.hpp"

namespace zep {
namespace contour {

State& state() {
  static State s;
  return s;
}

bool requireField(const char* routine) {
  if (state().fieldSet) return true;
  msgdmp("E", routine, "FIELD HAS NOT BEEN SET YET.");
  return false;
}

void levelsChanged() {
  State& s = state();
  s.levelsReady = false;
  s.linesReady = false;
  s.ringsReady = false;
  s.classesReady = false;
  s.bandTone.clear();
}

namespace {

bool strictlyMonotonic(const float* v, int n) {
  if (n < 2) return false;
  const bool up = v[1] > v[0];
  for (int i = 1; i < n; ++i) {
    if (!(std::isfinite(v[i - 1]) && std::isfinite(v[i]))) return false;
    if (up ? !(v[i] > v[i - 1]) : !(v[i] < v[i - 1])) return false;
  }
  return true;
}

// Decimals (or mantissa decimals in exponent form) with which every level reads
// back as itself and no two levels read the same.
std::string chooseFormat(const std::vector<Level>& levels, int fixedDecimals) {
  float largest = 0;
  for (const Level& l : levels) largest = std::max(largest, std::fabs(l.value));
  const bool exponent = largest >= 1.0e6F || (largest > 0 && largest < 1.0e-3F);
  const char* conversion = exponent ? "E" : "f";
  auto formatWith = [&](int d) { return "%." + std::to_string(d) + conversion; };
  if (fixedDecimals >= 0) return formatWith(std::min(fixedDecimals, 9));

  double spacing = std::numeric_limits<double>::infinity();
  for (std::size_t k = 1; k < levels.size(); ++k)
    spacing = std::min(spacing, static_cast<double>(levels[k].value) - levels[k - 1].value);
  if (!std::isfinite(spacing)) spacing = largest > 0 ? largest : 1.0;
  // Reading back within a thousandth of the spacing is "the same number" for
  // single-precision levels such as 0.1F.
  const double tolerance = 1.0e-3 * spacing;
  char buffer[64];
  for (int d = 0; d <= 6; ++d) {
    const std::string f = formatWith(d);
    bool ok = true;
    std::string previous;
    for (std::size_t k = 0; k < levels.size() && ok; ++k) {
      std::snprintf(buffer, sizeof buffer, f.c_str(), static_cast<double>(levels[k].value));
      const double back = std::strtod(buffer, nullptr);
      if (std::fabs(back - levels[k].value) > tolerance) ok = false;
      if (k > 0 && previous == buffer) ok = false;
      previous = buffer;
    }
    if (ok) return f;
  }
  return formatWith(6);
}

std::string labelText(const std::string& format, float value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format.c_str(), static_cast<double>(value));
  std::string t = buffer;
  // A level that rounds to zero reads "0", not "-0".
  if (!t.empty() && t[0] == '-' && std::strtod(buffer, nullptr) == 0.0) t.erase(0, 1);
  return t;
}

// Multiples zref + k*dz strictly inside (zmin, zmax); false when too many. The
// reference is first brought next to zero (the remainder is exact), so that a
// far reference costs nothing: the count of candidates follows from the range.
bool regularLevels(double dz, double zref, double zmin, double zmax, int limit, std::vector<float>& out,
                   std::vector<long long>& ks) {
  out.clear();
  ks.clear();
  const double near = std::remainder(zref, dz);
  const double shift = std::nearbyint((zref - near) / dz);  // zref = near + shift * dz
  const double kfirst = std::floor((zmin - near) / dz);
  const double klast = std::ceil((zmax - near) / dz);
  if (!(klast - kfirst <= static_cast<double>(limit) + 2.0)) return false;
  // The position in the sequence counted from zref, for labelling every n-th.
  const long long offset = std::fabs(shift) < 0x1p62 ? static_cast<long long>(shift) : 0;
  const long long count = static_cast<long long>(klast - kfirst);
  for (long long n = 0; n <= count; ++n) {
    const double k = kfirst + static_cast<double>(n);
    const float v = static_cast<float>(near + k * dz);
    if (v > zmin && v < zmax && (out.empty() || v > out.back())) {
      if (static_cast<int>(out.size()) >= limit) return false;
      out.push_back(k == 0 && near == 0 ? 0.0F : v);
      const long long kk = std::fabs(k) < 0x1p62 ? static_cast<long long>(k) : n;
      ks.push_back(kk - offset);
    }
  }
  return true;
}

void reportTooMany(const char* routine, int limit) {
  char text[80];
  std::snprintf(text, sizeof text, "MORE THAN %d LEVELS (CN PARAMETER MAXLEV).", limit);
  msgdmp("E", routine, text);
}

// The limit on the number of levels, CN MAXLEV, within what a class can hold.
int levelLimit() {
  int limit = 2000;
  cniget("MAXLEV", limit);
  return std::clamp(limit, 0, kLevelLimit);
}

}  // namespace

void ensureLevels(const char* routine) {
  State& s = state();
  if (s.levelsReady) return;
  int target = 10, limit = 2000, index = 1, indexLabelled = 0, type = 1, typeNegative = 2, step = 2,
      decimals = -1;
  bool labels = true;
  cniget("NLEV", target);
  cniget("MAXLEV", limit);
  cniget("INDEX", index);
  cniget("INDEXL", indexLabelled);
  cniget("ITYPE", type);
  cniget("ITYPEN", typeNegative);
  cniget("LABSTP", step);
  cniget("NDIGIT", decimals);
  cnlget("LLABEL", labels);
  limit = levelLimit();

  std::vector<float> values;
  std::vector<long long> ks;  // position in the regular sequence, for labelling
  const double zmin = s.zmin, zmax = s.zmax;
  switch (s.mode) {
    case LevelMode::List:
      // MAXLEV may have been lowered since the levels were given.
      if (static_cast<int>(s.listed.size()) > limit) {
        reportTooMany(routine, limit);
        break;
      }
      values = s.listed;
      for (std::size_t k = 0; k < values.size(); ++k) ks.push_back(static_cast<long long>(k));
      break;
    case LevelMode::Interval:
      if (s.anyValid && !regularLevels(s.interval, s.reference, zmin, zmax, limit, values, ks)) {
        reportTooMany(routine, limit);
        values.clear();
        ks.clear();
      }
      break;
    case LevelMode::Automatic:
      if (target < 1 || target > limit) {
        const std::string text =
            "CN NLEV = " + std::to_string(target) + " IS NOT IN 1 .. MAXLEV = " + std::to_string(limit) + ".";
        msgdmp("E", routine, text);
        break;
      }
      if (s.anyValid && zmax > zmin) {
        const double raw = (zmax - zmin) / target;
        const double decade = std::pow(10.0, std::floor(std::log10(raw)));
        double best = 0;
        long long bestMiss = std::numeric_limits<long long>::max();
        std::vector<float> trial;
        std::vector<long long> trialKs;
        for (double scale : {0.1, 1.0, 10.0})
          for (double m : {1.0, 2.0, 5.0}) {
            const double dz = m * decade * scale;
            if (!regularLevels(dz, 0.0, zmin, zmax, std::max(limit, 4 * target + 10), trial, trialKs)) continue;
            const long long miss = std::llabs(static_cast<long long>(trial.size()) - target);
            // Nearest count; on a tie the coarser interval.
            if (miss < bestMiss || (miss == bestMiss && dz > best)) {
              bestMiss = miss;
              best = dz;
            }
          }
        if (best > 0) regularLevels(best, 0.0, zmin, zmax, std::max(limit, 4 * target + 10), values, ks);
        if (static_cast<int>(values.size()) > limit) {
          reportTooMany(routine, limit);
          values.clear();
          ks.clear();
        }
      }
      break;
  }

  s.levels.clear();
  s.levels.reserve(values.size());
  for (std::size_t k = 0; k < values.size(); ++k) {
    Level l;
    l.value = values[k];
    l.label = labels && step > 0 && ks[k] % step == 0;
    l.index = (l.label && indexLabelled != 0) ? indexLabelled : index;
    l.type = values[k] < 0 ? typeNegative : type;
    s.levels.push_back(l);
  }
  s.format = chooseFormat(s.levels, decimals);
  for (Level& l : s.levels) l.text = labelText(s.format, l.value);
  s.levelsReady = true;
}

int bandToneOf(int band) {
  State& s = state();
  ensureLevels();
  const std::size_t nb = s.levels.size() + 1;
  if (s.bandTone.size() == nb && s.bandTone[static_cast<std::size_t>(band)] >= 0)
    return s.bandTone[static_cast<std::size_t>(band)];
  int first = 2, last = 99, pattern = 999;
  cniget("ICOLMN", first);
  cniget("ICOLMX", last);
  cniget("IPATRN", pattern);
  const double f = nb > 1 ? static_cast<double>(band) / static_cast<double>(nb - 1) : 0.5;
  const int colour = static_cast<int>(std::lround(first + f * (last - first)));
  return colour * 1000 + ((pattern % 1000) + 1000) % 1000;
}

}  // namespace contour

using contour::ensureLevels;
using contour::levelsChanged;
using contour::requireField;
using contour::state;

void cnsfld(int nx, int ny, const float* z, const float* x, const float* y) {
  if (nx < 2 || ny < 2) {
    msgdmp("E", "CNSFLD", "NX AND NY MUST BE AT LEAST 2.");
    return;
  }
  if (z == nullptr) {
    msgdmp("E", "CNSFLD", "THE FIELD IS A NULL POINTER.");
    return;
  }
  if (x != nullptr && !contour::strictlyMonotonic(x, nx)) {
    msgdmp("E", "CNSFLD", "X COORDINATES ARE NOT STRICTLY MONOTONIC.");
    return;
  }
  if (y != nullptr && !contour::strictlyMonotonic(y, ny)) {
    msgdmp("E", "CNSFLD", "Y COORDINATES ARE NOT STRICTLY MONOTONIC.");
    return;
  }
  contour::State& s = state();
  const std::size_t n = static_cast<std::size_t>(nx) * static_cast<std::size_t>(ny);
  // The copy is made before anything changes: a field that does not fit leaves
  // the previous one in place.
  std::vector<float> copy;
  if (!memory::allocateOrReport("CNSFLD", "GRID POINTS", n, sizeof(float), [&] { copy.assign(z, z + n); })) return;
  bool lmiss = false;
  float rmiss = 999.0F;
  gllget("LMISS", lmiss);
  glrget("RMISS", rmiss);
  s.nx = nx;
  s.ny = ny;
  s.z = std::move(copy);
  float lo = std::numeric_limits<float>::infinity(), hi = -lo;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (float& v : s.z) {
    if ((lmiss && v == rmiss) || !std::isfinite(v)) {
      v = nan;
      continue;
    }
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  s.anyValid = lo <= hi;
  s.zmin = s.anyValid ? lo : 0;
  s.zmax = s.anyValid ? hi : 0;
  if (x != nullptr) s.xgiven.assign(x, x + nx); else s.xgiven.clear();
  if (y != nullptr) s.ygiven.assign(y, y + ny); else s.ygiven.clear();
  s.fieldSet = true;
  levelsChanged();
}

void cnsfld(std::span<const float> z, std::span<const float> x, std::span<const float> y) {
  const std::size_t nx = x.size(), ny = y.size();
  if (nx > static_cast<std::size_t>(std::numeric_limits<int>::max()) ||
      ny > static_cast<std::size_t>(std::numeric_limits<int>::max()) || z.size() != nx * ny) {
    msgdmp("E", "CNSFLD", "Z HOLDS " + std::to_string(z.size()) + " VALUES; X AND Y GIVE NX X NY = " + std::to_string(nx) +
                              " X " + std::to_string(ny) + ".");
    return;
  }
  cnsfld(static_cast<int>(nx), static_cast<int>(ny), z.data(), x.data(), y.data());
}

void cnslva() {
  state().mode = contour::LevelMode::Automatic;
  levelsChanged();
}

void cnslvi(float dz, float zref) {
  if (!(dz > 0) || !std::isfinite(dz) || !std::isfinite(zref)) {
    msgdmp("E", "CNSLVI", "THE INTERVAL IS NOT POSITIVE.");
    return;
  }
  contour::State& s = state();
  s.mode = contour::LevelMode::Interval;
  s.interval = dz;
  s.reference = zref;
  levelsChanged();
}

void cnslvl(int n, const float* levels) {
  if (n < 0) {
    msgdmp("E", "CNSLVL", "THE NUMBER OF LEVELS IS NEGATIVE.");
    return;
  }
  if (n > 0 && levels == nullptr) {
    msgdmp("E", "CNSLVL", "THE LEVELS ARE A NULL POINTER.");
    return;
  }
  if (const int limit = contour::levelLimit(); n > limit) {
    contour::reportTooMany("CNSLVL", limit);
    return;
  }
  for (int k = 0; k < n; ++k)
    if (!std::isfinite(levels[k]) || (k > 0 && !(levels[k] > levels[k - 1]))) {
      msgdmp("E", "CNSLVL", "LEVELS ARE NOT STRICTLY INCREASING.");
      return;
    }
  contour::State& s = state();
  s.mode = contour::LevelMode::List;
  s.listed.assign(levels, levels + n);
  levelsChanged();
}

namespace {

// Level i (1-based) after the checks; null after an error report.
contour::Level* levelAt(int i, const char* routine) {
  contour::State& s = state();
  if (s.mode != contour::LevelMode::List && !requireField(routine)) return nullptr;
  ensureLevels(routine);
  if (i < 1 || i > static_cast<int>(s.levels.size())) {
    msgdmp("E", routine, "LEVEL NUMBER IS OUT OF RANGE.");
    return nullptr;
  }
  return &s.levels[static_cast<std::size_t>(i - 1)];
}

}  // namespace

void cnqlvn(int& n) {
  contour::State& s = state();
  if (s.mode != contour::LevelMode::List && !requireField("CNQLVN")) return;
  ensureLevels("CNQLVN");
  n = static_cast<int>(s.levels.size());
}

void cnqlvl(int i, float& level) {
  if (contour::Level* l = levelAt(i, "CNQLVL")) level = l->value;
}

void cnqlat(int i, int& index, int& itype, bool& label) {
  if (contour::Level* l = levelAt(i, "CNQLAT")) {
    index = l->index;
    itype = l->type;
    label = l->label;
  }
}

void cnslat(int i, int index, int itype, bool label) {
  if (contour::Level* l = levelAt(i, "CNSLAT")) {
    l->index = index;
    l->type = itype;
    l->label = label;
  }
}

void cnqlbl(int i, std::span<char> text) {
  if (contour::Level* l = levelAt(i, "CNQLBL")) text::assign(text, l->text);
}

void cnqlfm(std::span<char> format) {
  contour::State& s = state();
  if (s.mode != contour::LevelMode::List && !requireField("CNQLFM")) return;
  ensureLevels("CNQLFM");
  text::assign(format, s.format);
}

void cnqbdt(int band, int& itpat) {
  contour::State& s = state();
  if (s.mode != contour::LevelMode::List && !requireField("CNQBDT")) return;
  ensureLevels("CNQBDT");
  if (band < 0 || band > static_cast<int>(s.levels.size())) {
    msgdmp("E", "CNQBDT", "BAND NUMBER IS OUT OF RANGE.");
    return;
  }
  itpat = contour::bandToneOf(band);
}

void cnsbdt(int band, int itpat) {
  contour::State& s = state();
  if (s.mode != contour::LevelMode::List && !requireField("CNSBDT")) return;
  ensureLevels("CNSBDT");
  if (band < 0 || band > static_cast<int>(s.levels.size())) {
    msgdmp("E", "CNSBDT", "BAND NUMBER IS OUT OF RANGE.");
    return;
  }
  s.bandTone.resize(s.levels.size() + 1, -1);
  s.bandTone[static_cast<std::size_t>(band)] = itpat < 0 ? -1 : itpat;
}

}  // namespace zep
