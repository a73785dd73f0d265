// Tick choice and labels: 1-2-5 steps for linear axes, decades for logarithmic
// ones, calendar steps for time axes, and longitude and latitude texts.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include <zep/axes.hpp>
#include <zep/foundation.hpp>

#include "axes/ax_internal.hpp"
#include "foundation/fixed_text.hpp"

namespace zep::axes {
namespace {

constexpr double kEps = 1e-6;
// Loops over ticks are bounded: a window of a billion intervals gets no ticks.
constexpr double kMaxTicks = 5000;

void toWindowOrder(Ticks& t, bool descending) {
  std::vector<std::pair<double, std::string>> m;
  for (std::size_t i = 0; i < t.major.size(); ++i) m.emplace_back(t.major[i], t.labels[i]);
  const auto cmp = [descending](const auto& a, const auto& b) { return descending ? a.first > b.first : a.first < b.first; };
  std::stable_sort(m.begin(), m.end(), cmp);
  t.major.clear();
  t.labels.clear();
  for (auto& p : m) {
    t.major.push_back(p.first);
    t.labels.push_back(std::move(p.second));
  }
  if (descending) std::sort(t.minor.begin(), t.minor.end(), std::greater<>());
  else std::sort(t.minor.begin(), t.minor.end());
}

std::string trimmedText(const std::string& s) {
  const auto b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// The distance between neighbouring floats at the magnitude of x (at least the
// smallest normal spacing, so that a window at 0 is not held to 0).
double floatSpacing(double x) {
  const float f = static_cast<float>(std::min(x, 1e38));
  return std::max(static_cast<double>(std::nextafter(f, std::numeric_limits<float>::infinity())) - f,
                  static_cast<double>(std::numeric_limits<float>::min()));
}

// The smallest 1, 2 or 5 x 10^k that is not below x.
double niceAtLeast(double x) {
  double p = std::pow(10.0, std::floor(std::log10(x)));
  for (int guard = 0; guard < 4; ++guard, p *= 10)
    for (double m : {1.0, 2.0, 5.0})
      if (m * p >= x) return m * p;
  return 10 * p;
}

int minorFor(double step) {
  const double m = step / std::pow(10.0, std::floor(std::log10(step) + kEps));
  if (std::fabs(m - 2) < 1e-3) return 4;
  if (std::fabs(m - 2.5) < 1e-3 || std::fabs(m - 1) < 1e-3 || std::fabs(m - 5) < 1e-3) return 5;
  return 2;
}

}  // namespace

double niceStep(double lo, double hi, int target, int& minorIntervals) {
  if (lo > hi) std::swap(lo, hi);
  double range = hi - lo;
  if (!(range > 0) || !std::isfinite(range)) range = std::fabs(lo) > 0 && std::isfinite(lo) ? std::fabs(lo) : 1.0;
  target = std::clamp(target, 2, 50);
  const double raw = range / (target - 1);
  const int k0 = static_cast<int>(std::floor(std::log10(raw)));
  double best = 0;
  double bestMiss = 1e300;
  for (int k = k0 - 1; k <= k0 + 1; ++k) {
    for (double mantissa : {1.0, 2.0, 5.0}) {
      const double s = mantissa * std::pow(10.0, k);
      const double count = std::floor(hi / s + kEps) - std::ceil(lo / s - kEps) + 1;
      const double miss = std::fabs(count - target);
      if (miss < bestMiss - 1e-9) {
        bestMiss = miss;
        best = s;
      }
    }
  }
  minorIntervals = minorFor(best);
  return best;
}

int labelDecimals(double step) {
  step = std::fabs(step);
  if (!(step > 0) || !std::isfinite(step)) return 0;
  for (int d = 0; d <= 9; ++d) {
    const double x = step * std::pow(10.0, d);
    const double r = std::round(x);
    if (r != 0 && std::fabs(x - r) <= 1e-4 * x) return d;
  }
  return 9;
}

std::string formatNumber(double value, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", std::clamp(decimals, 0, 9), value);
  std::string s = buf;
  if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  return s;
}

Ticks linearTicks(double u0, double u1, double step, int minorIntervals, int target, int maxLength,
                  const std::string& times) {
  Ticks t;
  double lo = std::min(u0, u1), hi = std::max(u0, u1);
  if (!std::isfinite(lo) || !std::isfinite(hi)) return t;
  // Windows come in float: their ends are off the decimal values meant by a few
  // units in the last place, and no step finer than that spacing can give
  // distinct ticks.
  const double spacing = floatSpacing(std::max(std::fabs(lo), std::fabs(hi)));
  step = std::fabs(step);
  int autoMinor = 0;
  if (!(step > 0) || (hi - lo) / step > kMaxTicks || step < spacing) step = niceStep(lo, hi, target, autoMinor);
  else autoMinor = minorFor(step);
  if (step < spacing) {
    step = niceAtLeast(spacing);
    autoMinor = 0;
  }
  if (minorIntervals < 0) minorIntervals = autoMinor;
  if ((hi - lo) / step > kMaxTicks) return t;
  const double slack = std::min(4 * spacing, step / 4);  // the ends as the caller meant them
  const double i0 = std::ceil((lo - slack) / step - kEps), i1 = std::floor((hi + slack) / step + kEps);
  // (+ 0.0 turns the -0 of a tick at zero into 0.)
  for (double i = i0; i <= i1; ++i) t.major.push_back(i * step + 0.0);
  if (minorIntervals > 1 && step / minorIntervals >= spacing) {
    const double sub = step / minorIntervals;
    const double j0 = std::ceil((lo - slack) / sub - kEps), j1 = std::floor((hi + slack) / sub + kEps);
    if (j1 - j0 <= kMaxTicks)
      for (double j = j0; j <= j1; ++j)
        if (std::fmod(std::fabs(j), minorIntervals) != 0) t.minor.push_back(j * sub + 0.0);
  }
  // Labels: the fewest decimals that tell multiples of the step apart; a common
  // factor when the plain labels would be long.
  const int decimals = labelDecimals(step);
  std::size_t longest = 0;
  double biggest = 0;
  for (double v : t.major) {
    const std::string s = formatNumber(std::fabs(v) < step * 1e-6 ? 0.0 : v, decimals);
    longest = std::max(longest, s.size() - (s[0] == '-' ? 1 : 0));
    biggest = std::max(biggest, std::fabs(v));
  }
  if (static_cast<int>(longest) > maxLength && biggest > 0) {
    t.exponent = static_cast<int>(std::floor(std::log10(biggest) + kEps));
    t.factor = times + "10\\^{" + std::to_string(t.exponent) + "}";
  }
  const double scale = std::pow(10.0, t.exponent);
  const int scaledDecimals = labelDecimals(step / scale);
  for (double v : t.major)
    t.labels.push_back(formatNumber(std::fabs(v) < step * 1e-6 ? 0.0 : v / scale, scaledDecimals));
  toWindowOrder(t, u0 > u1);
  return t;
}

namespace {

// The label of m x 10^k between the decades of a short log axis: the value
// itself where it is short ("0.02", "200"), else the digit with its decade
// ("2x10^{5}"), so that no label states a number the tick is not.
std::string logValueLabel(int m, int k) {
  if (k >= -3 && k <= 3) return formatNumber(m * std::pow(10.0, k), std::max(0, -k));
  return std::to_string(m) + textParameter("CTIMES") + "10\\^{" + std::to_string(k) + "}";
}

}  // namespace

Ticks logTicks(double u0, double u1, int target) {
  Ticks t;
  const double sign = u0 < 0 ? -1.0 : 1.0;
  double lo = std::min(std::fabs(u0), std::fabs(u1)), hi = std::max(std::fabs(u0), std::fabs(u1));
  if (!(lo > 0) || !std::isfinite(hi)) return t;
  const double l0 = std::log10(lo), l1 = std::log10(hi);
  const double span = l1 - l0;
  const int k0 = static_cast<int>(std::ceil(l0 - kEps)), k1 = static_cast<int>(std::floor(l1 + kEps));
  const std::string minus = sign < 0 ? "-" : "";
  // Decades; over very many decades only every n-th is labelled.
  const int ndec = k1 - k0 + 1;
  const int stride = std::max(1, static_cast<int>(std::ceil(ndec / (1.5 * std::max(target, 2)))));
  for (int k = k0; k <= k1; ++k) {
    t.major.push_back(sign * std::pow(10.0, k));
    t.labels.push_back((k - k0) % stride == 0 ? minus + "10\\^{" + std::to_string(k) + "}" : std::string());
  }
  if (span <= 12) {
    for (int k = static_cast<int>(std::floor(l0)); k <= k1; ++k) {
      for (int m = 2; m <= 9; ++m) {
        const double v = m * std::pow(10.0, k);
        if (v < lo * (1 - kEps) || v > hi * (1 + kEps)) continue;
        if (span < 2 && (m == 2 || m == 5)) {
          t.major.push_back(sign * v);
          t.labels.push_back(minus + logValueLabel(m, k));
        } else {
          t.minor.push_back(sign * v);
        }
      }
    }
  }
  if (t.major.size() < 2) {
    // Less than a decade without two labelled ticks: label it like a linear axis.
    const std::vector<double> minor = t.minor;
    t = linearTicks(u0, u1, 0, 0, target, 1000, "");
    t.minor = minor;
  }
  toWindowOrder(t, u0 > u1);
  return t;
}

namespace {

struct CalendarStep {
  char kind;   // 'S' fixed seconds, 'M' months, 'Y' years
  double n;    // seconds, months or years
  int minor;   // minor intervals (fixed steps) or calendar minors (months, years)
};

constexpr std::array<CalendarStep, 35> kCalendarSteps = {{
    {'S', 1, 0},        {'S', 2, 2},        {'S', 5, 5},         {'S', 10, 5},       {'S', 15, 3},
    {'S', 30, 3},       {'S', 60, 4},       {'S', 120, 4},       {'S', 300, 5},      {'S', 600, 5},
    {'S', 900, 3},      {'S', 1800, 3},     {'S', 3600, 4},      {'S', 7200, 4},     {'S', 10800, 3},
    {'S', 21600, 6},    {'S', 43200, 4},    {'S', 86400, 4},     {'S', 172800, 2},   {'S', 604800, 7},
    {'S', 1209600, 2},  {'M', 1, 0},        {'M', 2, 1},         {'M', 3, 1},        {'M', 6, 1},
    {'Y', 1, 1},        {'Y', 2, 1},        {'Y', 5, 1},         {'Y', 10, 1},       {'Y', 20, 4},
    {'Y', 50, 5},       {'Y', 100, 5},      {'Y', 200, 4},       {'Y', 500, 5},      {'Y', 1000, 5},
}};

struct Calendar {
  int y0, itd0;
  long days(int y, int m, int d) const {
    int itd = 0, n = 0;
    date32(y, m, d, itd);
    dateg2(n, y0, itd0, y, itd);
    return n;
  }
  void date(long dayCount, int& y, int& m, int& d) const {
    y = y0;
    long itd = itd0 + dayCount;
    while (itd > ndyear(y)) itd -= ndyear(y++);
    while (itd < 1) itd += ndyear(--y);
    m = 1;
    int first = 0;
    for (; m < 12; ++m) {
      date32(y, m + 1, 1, first);
      if (first > itd) break;
    }
    date32(y, m, 1, first);
    d = static_cast<int>(itd) - first + 1;
  }
};

std::string dateText(std::string form, int y, int m, int d) {
  datec3(form, y, m, d);
  return trimmedText(form);
}

std::string timeText(std::string form, int h, int mi, int s) {
  timec3(form, h, mi, s);
  return trimmedText(form);
}

}  // namespace

Ticks timeTicks(double u0, double u1, int iy, int im, int id, char unit, int target) {
  const double perUnit = unit == 'H' ? 3600.0 : unit == 'S' ? 1.0 : 86400.0;
  const double s0 = std::min(u0, u1) * perUnit, s1 = std::max(u0, u1) * perUnit;
  // Beyond some tens of thousands of years the calendar walk is pointless.
  if (!std::isfinite(s0) || !std::isfinite(s1) || std::fabs(s0) > 1e12 || std::fabs(s1) > 1e12 || iy < 1 ||
      im < 1 || im > 12 || id < 1 || id > 31)
    return linearTicks(u0, u1, 0, -1, target, 6, textParameter("CTIMES"));
  Calendar cal{iy, 0};
  date32(iy, im, id, cal.itd0);
  const double span = std::max(s1 - s0, 1.0);
  target = std::clamp(target, 2, 50);
  const CalendarStep* best = &kCalendarSteps[0];
  double bestMiss = 1e300;
  for (const CalendarStep& c : kCalendarSteps) {
    const double length = c.kind == 'S' ? c.n : c.kind == 'M' ? c.n * 30.44 * 86400 : c.n * 365.25 * 86400;
    const double miss = std::fabs(span / length + 1 - target);
    if (miss < bestMiss - 1e-9) {
      bestMiss = miss;
      best = &c;
    }
  }
  Ticks t;
  std::vector<double> major;  // seconds from the origin
  const auto add = [&](std::vector<double>& v, double s) {
    if (s >= s0 - 1e-6 * span && s <= s1 + 1e-6 * span && v.size() < kMaxTicks) v.push_back(s);
  };
  int ya = 0, ma = 0, da = 0, yb = 0, mb = 0, db = 0;
  cal.date(static_cast<long>(std::floor(s0 / 86400)), ya, ma, da);
  cal.date(static_cast<long>(std::floor(s1 / 86400)), yb, mb, db);
  if (best->kind == 'S') {
    const double step = best->n;
    for (double i = std::ceil(s0 / step - kEps); i * step <= s1 + kEps * step; ++i) add(major, i * step);
    if (best->minor > 1) {
      const double sub = step / best->minor;
      for (double j = std::ceil(s0 / sub - kEps); j * sub <= s1 + kEps * sub; ++j)
        if (std::fmod(std::fabs(j), best->minor) != 0) add(t.minor, j * sub);
    }
    for (double s : major) {
      int y = 0, m = 0, d = 0;
      const double day = std::floor(s / 86400 + 1e-9);
      cal.date(static_cast<long>(day), y, m, d);
      const long sec = std::lround(s - day * 86400);
      if (step >= 86400 || (sec == 0 && step >= 3600)) t.labels.push_back(dateText("DD CCC", y, m, d));
      else if (step < 60) t.labels.push_back(timeText("HH:MM:SS", static_cast<int>(sec / 3600), static_cast<int>(sec / 60 % 60), static_cast<int>(sec % 60)));
      else t.labels.push_back(timeText("HH:MM", static_cast<int>(sec / 3600), static_cast<int>(sec / 60 % 60), 0));
    }
  } else {
    const int n = static_cast<int>(best->n);
    bool first = true;
    for (int y = ya; y <= yb; ++y) {
      for (int m = 1; m <= 12; ++m) {
        const double s = static_cast<double>(cal.days(y, m, 1)) * 86400;
        const bool onMajor = best->kind == 'M' ? (m - 1) % n == 0 : (m == 1 && y % n == 0);
        if (onMajor) {
          const std::size_t before = major.size();
          add(major, s);
          if (major.size() > before) {
            // The year in as many digits as it needs, with its sign before year 0
            // (a fixed four-digit field would wrap or overflow).
            t.labels.push_back(best->kind == 'Y' ? std::to_string(y)
                               : (first || m == 1) ? dateText("CCC", y, m, 1) + " " + std::to_string(y)
                                                   : dateText("CCC", y, m, 1));
            first = false;
          }
        } else if (best->kind == 'M' ? best->minor > 0 : (n == 1 || (m == 1 && y % std::max(1, n / best->minor) == 0))) {
          add(t.minor, s);
        }
      }
    }
  }
  for (double s : major) t.major.push_back(s / perUnit);
  for (double& s : t.minor) s /= perUnit;
  toWindowOrder(t, u0 > u1);
  return t;
}

std::string longitudeLabel(double lon, const std::string& degree) {
  double l = std::fmod(lon, 360.0);
  if (l > 180 + 1e-6) l -= 360;
  if (l <= -180 + 1e-6) l += 360;
  const double a = std::fabs(l);
  const std::string number = formatNumber(a, labelDecimals(a > 0 ? a : 1));
  if (a < 1e-6 || std::fabs(a - 180) < 1e-6) return number + degree;
  return number + degree + (l > 0 ? "E" : "W");
}

std::string latitudeLabel(double lat, const std::string& degree) {
  const double a = std::fabs(lat);
  const std::string number = formatNumber(a, labelDecimals(a > 0 ? a : 1));
  if (a < 1e-6) return number + degree;
  return number + degree + (lat > 0 ? "N" : "S");
}

double graticuleStep(double span, int target) {
  constexpr double kSteps[] = {0.1, 0.2, 0.5, 1, 2, 5, 10, 15, 20, 30, 45, 60, 90};
  target = std::max(target, 2);
  double best = 30, bestMiss = 1e300;
  for (double s : kSteps) {
    const double miss = std::fabs(span / s - target);
    if (miss < bestMiss - 1e-9) {
      bestMiss = miss;
      best = s;
    }
  }
  return best;
}

std::string textParameter(std::string_view name) {
  std::string v(80, ' ');
  axcget(name, v);
  return v.substr(0, v.find_last_not_of(' ') + 1);
}

}  // namespace zep::axes
