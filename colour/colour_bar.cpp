// Colour bars: the current map under the current normalisation, continuous
// (a fine ramp) or discrete (one box per band), with labels thinned by the
// space they need, and the title with its units.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <zep/colour.hpp>
#include <zep/foundation.hpp>
#include <zep/graphics.hpp>
#include <zep/primitives.hpp>
#include <zep/workstation.hpp>

#include "colour/colour_bar.hpp"
#include "colour/colour_state.hpp"
#include "foundation/fixed_text.hpp"
#include "primitives/figure_text.hpp"
#include "primitives/text_state.hpp"

namespace zep {
namespace colour {

float devicePerV() {
  float wx0 = 0, wy0 = 0, wx1 = 0, wy1 = 0;
  stfwtr(0, 0, wx0, wy0);
  stfwtr(1, 0, wx1, wy1);
  int ix0 = 0, iy0 = 0, ix1 = 0, iy1 = 0;
  swfint(wx0, wy0, ix0, iy0);
  swfint(wx1, wy1, ix1, iy1);
  return static_cast<float>(std::abs(ix1 - ix0));
}

float textWidth(const std::string& text, float height) { return text_engine::drawnWidth(text, height); }

float labelRoom(const BarFrame& f, const std::string& text, float height) {
  return f.vertical() ? 1.4F * height : textWidth(text, height) + 1.0F * height;
}

std::string tickText(double value, double step, double magnitude) {
  if (std::fabs(value) < std::fabs(step) * 1e-6) value = 0;
  char buf[64];
  const int e = magnitude > 0 ? static_cast<int>(std::floor(std::log10(magnitude))) : 0;
  const int s = step > 0 ? static_cast<int>(std::floor(std::log10(step) + 1e-9)) : e;
  if (e >= 6 || e <= -4) std::snprintf(buf, sizeof buf, "%.*E", std::clamp(e - s, 0, 6), value);
  else std::snprintf(buf, sizeof buf, "%.*f", std::clamp(-s, 0, 9), value);
  return buf;
}

float drawLabels(const BarFrame& f, const std::vector<float>& at, const std::vector<std::string>& texts,
                 float height, int index) {
  const float tick = 0.3F * height;
  const bool plus = f.outer == 'R' || f.outer == 'T';
  const float base = plus ? f.c1() : f.c0(), dir = plus ? 1.0F : -1.0F;
  // How far out the labels' far edge lies: a label above the bar stands just
  // clear of its tick, one below it half a height further out.
  float reach = 2 * tick + (f.vertical() ? 0.0F : plus ? height : 1.5F * height);
  float lastEnd = -1e30F;
  const int line = index > 0 ? index : 1;
  for (std::size_t k = 0; k < at.size() && k < texts.size(); ++k) {
    const float room = labelRoom(f, texts[k], height);
    if (at[k] - 0.5F * room < lastEnd) continue;  // it would overlap the previous label
    lastEnd = at[k] + 0.5F * room;
    float tx[2], ty[2];
    f.put(at[k], base, tx[0], ty[0]);
    f.put(at[k], base + dir * tick, tx[1], ty[1]);
    sgplzv(2, tx, ty, 1, line);
    float lx = 0, ly = 0;
    if (f.vertical()) {
      // A text's point is the middle of its line: level with the tick.
      f.put(at[k], base + dir * 2 * tick, lx, ly);
      sgtxzv(lx, ly, texts[k], height, 0, plus ? -1 : 1, 3);
      reach = std::max(reach, 2 * tick + textWidth(texts[k], height));
    } else {
      f.put(at[k], base + dir * (2 * tick + (plus ? 0.5F : 1.0F) * height), lx, ly);
      sgtxzv(lx, ly, texts[k], height, 0, 0, 3);
    }
  }
  return reach;
}

std::string barTitle() {
  const State& s = state();
  if (s.title.empty()) return s.units.empty() ? "" : "[" + s.units + "]";
  return s.units.empty() ? s.title : s.title + " [" + s.units + "]";
}

float titleHeight(const BarFrame& f, float height) {
  const std::string title = barTitle();
  if (title.empty()) return 0;
  // Longer than the bar: shrunk towards the bar's length, to no less than
  // this share of its height (it then runs past the bar's ends).
  constexpr float kLeast = 0.6F;
  const float w = figure_text::width(title, height, "CMBARP"), length = std::fabs(f.a1() - f.a0());
  return w > length && w > 0 ? height * std::max(length / w, kLeast) : height;
}

float titleRoom(const BarFrame& f, float height) {
  const float h = titleHeight(f, height);
  return h > 0 ? kTitleGap * height + kTitleLine * h : 0.0F;
}

void drawTitle(const BarFrame& f, float reach, float height) {
  const std::string title = barTitle();
  if (title.empty()) return;
  const float h = titleHeight(f, height);
  const bool plus = f.outer == 'R' || f.outer == 'T';
  const float base = plus ? f.c1() : f.c0(), dir = plus ? 1.0F : -1.0F;
  const float mid = 0.5F * (f.a0() + f.a1());
  // Its line a gap beyond the labels' far edge, on every side (a text's point
  // is the middle of its line, turned or not).
  float x = 0, y = 0;
  f.put(mid, base + dir * (reach + kTitleGap * height + 0.5F * kTitleLine * h), x, y);
  // The caller's text: markup and names as everywhere in figures, never
  // clipped, never the end of the program.
  figure_text::draw(x, y, title, h, f.vertical() ? 90 : 0, 0, 3, "CMBARP");
}

namespace {

// The caller's clipping comes back when the bar is drawn.
class NoClip {
 public:
  NoClip() {
    sglget("LCLIP", before_);
    sglset("LCLIP", false);
  }
  ~NoClip() { sglset("LCLIP", before_); }
  NoClip(const NoClip&) = delete;
  NoClip& operator=(const NoClip&) = delete;

 private:
  bool before_ = false;
};

double niceStep(double raw) {
  if (!(raw > 0) || !std::isfinite(raw)) return 1;
  const double p = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (m * p >= raw * (1 - 1e-9)) return m * p;
  return 10 * p;
}

struct Ticks {
  std::vector<double> values;
  double step = 1;
};

// Multiples of a 1-2-5 step between lo and hi, no more than `most`.
Ticks linearTicks(double lo, double hi, int most, double origin = 0) {
  Ticks t;
  t.step = niceStep((hi - lo) / std::max(most, 1));
  const double first = origin + std::ceil((lo - origin) / t.step - 1e-6) * t.step;
  for (int k = 0; k < 1000; ++k) {
    const double v = first + k * t.step;
    if (v > hi + 1e-6 * t.step) break;
    t.values.push_back(v);
  }
  return t;
}

Ticks logTicks(double lo, double hi, int most) {
  Ticks t;
  const int d0 = static_cast<int>(std::ceil(std::log10(lo) - 1e-6)), d1 = static_cast<int>(std::floor(std::log10(hi) + 1e-6));
  if (d1 - d0 + 1 >= 2) {
    const int every = std::max(1, static_cast<int>(std::ceil((d1 - d0 + 1) / static_cast<double>(std::max(most, 1)))));
    for (int d = d0; d <= d1; d += every) t.values.push_back(std::pow(10.0, d));
    t.step = 0;
    return t;
  }
  // Less than two decades: 1, 2 and 5 times the powers of ten inside.
  for (int d = d0 - 1; d <= d1; ++d)
    for (double m : {1.0, 2.0, 5.0}) {
      const double v = m * std::pow(10.0, d);
      if (v >= lo * (1 - 1e-9) && v <= hi * (1 + 1e-9)) t.values.push_back(v);
    }
  if (t.values.size() < 2) return linearTicks(lo, hi, most);
  t.step = 0;
  return t;
}

// The labels of a bar `length` long (V): their places along it (0 .. 1) and
// texts, at most as many as fit at their height (a first guess for
// horizontal bars, where drawLabels thins them further).
void barLabels(float length, bool vertical, float height, std::vector<double>& places,
               std::vector<std::string>& texts) {
  const Norm& norm = state().norm;
  const int most = std::max(2, static_cast<int>(length / (vertical ? 2.5F * height : 5.0F * height)));
  if (norm.kind == NormKind::Discrete) {
    const std::vector<double>& b = norm.bounds;
    const std::size_t boxes = b.size() - 1;
    const double magnitude = std::max(std::fabs(b.front()), std::fabs(b.back()));
    double step = 0;
    for (std::size_t k = 1; k < b.size(); ++k) step = k == 1 ? b[k] - b[k - 1] : std::min(step, b[k] - b[k - 1]);
    const std::size_t stride = (b.size() + static_cast<std::size_t>(most) - 1) / static_cast<std::size_t>(most);
    for (std::size_t k = 0; k < b.size(); k += stride) {
      places.push_back(static_cast<double>(k) / static_cast<double>(boxes));
      texts.push_back(tickText(b[k], step, magnitude));
    }
    return;
  }
  const double lo = norm.lo, hi = norm.hi;
  Ticks t;
  if (norm.kind == NormKind::Log) {
    t = logTicks(lo, hi, most);
  } else if (norm.kind == NormKind::Centred) {
    t = linearTicks(lo, hi, most, norm.vcentre);
  } else {
    t = linearTicks(lo, hi, most);
  }
  const double magnitude = std::max(std::fabs(lo), std::fabs(hi));
  for (double v : t.values) {
    places.push_back(position(v));
    texts.push_back(t.step > 0 ? tickText(v, t.step, magnitude) : tickText(v, v, std::fabs(v)));
  }
}

void drawBar(float x0, float x1, float y0, float y1, char outer) {
  const Norm& norm = state().norm;
  const BarFrame f{x0, x1, y0, y1, outer};
  int line = 1;
  bool triangles = false;
  float height = 0.016F;
  cmiget("IBARLI", line);
  cmlget("LBTRI", triangles);
  cmrget("BARLHT", height);
  const NoClip noClip;
  const float length = f.a1() - f.a0(), thick = f.c1() - f.c0();
  const float tri = triangles ? std::min(0.06F * length, 1.2F * thick) : 0.0F;
  const float b0 = f.a0() + tri, b1 = f.a1() - tri;  // the body, without the tips
  const float cm = 0.5F * (f.c0() + f.c1());
  auto box = [&](float lo, float hi, std::uint32_t rgb) {
    float px[4], py[4];
    f.put(lo, f.c0(), px[0], py[0]);
    f.put(hi, f.c0(), px[1], py[1]);
    f.put(hi, f.c1(), px[2], py[2]);
    f.put(lo, f.c1(), px[3], py[3]);
    fillFull(false, 4, px, py, rgb);
  };
  const bool discrete = norm.kind == NormKind::Discrete;
  const int boxes = discrete ? static_cast<int>(norm.bounds.size()) - 1 : 256;
  auto along = [&](double p) { return static_cast<float>(b0 + (b1 - b0) * p); };
  for (int k = 0; k < boxes; ++k) {
    const double t = discrete ? (boxes == 1 ? 0.5 : static_cast<double>(k) / (boxes - 1)) : (k + 0.5) / boxes;
    box(along(static_cast<double>(k) / boxes), along(static_cast<double>(k + 1) / boxes),
        static_cast<std::uint32_t>(colourAt(t)));
  }
  std::vector<float> ox, oy;
  auto outlinePoint = [&](float a, float c) {
    float x = 0, y = 0;
    f.put(a, c, x, y);
    ox.push_back(x);
    oy.push_back(y);
  };
  if (triangles) {
    float px[3], py[3];
    f.put(f.a0(), cm, px[0], py[0]);
    f.put(b0, f.c0(), px[1], py[1]);
    f.put(b0, f.c1(), px[2], py[2]);
    fillFull(false, 3, px, py, underColour());
    f.put(f.a1(), cm, px[0], py[0]);
    f.put(b1, f.c0(), px[1], py[1]);
    f.put(b1, f.c1(), px[2], py[2]);
    fillFull(false, 3, px, py, overColour());
    outlinePoint(f.a0(), cm);
    outlinePoint(b0, f.c0());
    outlinePoint(b1, f.c0());
    outlinePoint(f.a1(), cm);
    outlinePoint(b1, f.c1());
    outlinePoint(b0, f.c1());
  } else {
    outlinePoint(b0, f.c0());
    outlinePoint(b1, f.c0());
    outlinePoint(b1, f.c1());
    outlinePoint(b0, f.c1());
  }
  ox.push_back(ox.front());
  oy.push_back(oy.front());
  if (line > 0) {
    sgplzv(static_cast<int>(ox.size()), ox.data(), oy.data(), 1, line);
    // Edges between the boxes of a discrete bar, where they stand apart.
    if (discrete && (b1 - b0) / boxes * devicePerV() >= kEdgeSpacing)
      for (int k = 1; k < boxes; ++k) {
        float ex[2], ey[2];
        f.put(along(static_cast<double>(k) / boxes), f.c0(), ex[0], ey[0]);
        f.put(along(static_cast<double>(k) / boxes), f.c1(), ex[1], ey[1]);
        sgplzv(2, ex, ey, 1, line);
      }
  }

  std::vector<double> places;
  std::vector<std::string> texts;
  barLabels(b1 - b0, f.vertical(), height, places, texts);
  std::vector<float> at;
  for (double p : places) at.push_back(along(p));
  const float reach = drawLabels(f, at, texts, height, line);
  drawTitle(f, reach, height);
}

bool barReady(const char* routine) {
  if (boundsKnown()) return true;
  msgdmp("E", routine, "THE NORMALISATION'S BOUNDS ARE NOT KNOWN YET (DRAW THE DATA OR CALL CMSDAT FIRST).");
  return false;
}

}  // namespace

float barDepth(char side, float length) {
  float width = 0.03F, height = 0.016F;
  cmrget("BARWD", width);
  cmrget("BARLHT", height);
  const BarFrame f{0, side == 'R' || side == 'L' ? 0.0F : length, 0, side == 'R' || side == 'L' ? length : 0.0F, side};
  const float tick = 0.3F * height;
  float reach = 2 * tick + (f.vertical() ? 0.0F : side == 'T' ? height : 1.5F * height);
  if (boundsKnown() && f.vertical()) {
    std::vector<double> places;
    std::vector<std::string> texts;
    barLabels(length, true, height, places, texts);
    for (const std::string& t : texts) reach = std::max(reach, 2 * tick + textWidth(t, height));
  }
  return width + reach + titleRoom(f, height);
}

}  // namespace colour

void cmbarv(float vxmin, float vxmax, float vymin, float vymax) {
  if (!(vxmax > vxmin && vymax > vymin)) {
    msgdmp("E", "CMBARV", "THE RECTANGLE IS EMPTY.");
    return;
  }
  if (!colour::barReady("CMBARV")) return;
  colour::drawBar(vxmin, vxmax, vymin, vymax, vymax - vymin > vxmax - vxmin ? 'R' : 'B');
}

void cmbarp(std::string_view side) {
  const std::string_view t = text::trimmed(side);
  const char c = t.empty() ? 'R' : static_cast<char>(std::toupper(static_cast<unsigned char>(t[0])));
  if (t.size() > 1 || (c != 'R' && c != 'L' && c != 'T' && c != 'B')) {
    msgdmp("E", "CMBARP", "SIDE MUST BE R, L, T OR B.");
    return;
  }
  if (!colour::barReady("CMBARP")) return;
  float vx0, vx1, vy0, vy1, width = 0.03F, gap = 0.03F;
  sgqvpt(vx0, vx1, vy0, vy1);
  cmrget("BARWD", width);
  cmrget("BARGAP", gap);
  switch (c) {
    case 'R': colour::drawBar(vx1 + gap, vx1 + gap + width, vy0, vy1, 'R'); break;
    case 'L': colour::drawBar(vx0 - gap - width, vx0 - gap, vy0, vy1, 'L'); break;
    case 'T': colour::drawBar(vx0, vx1, vy1 + gap, vy1 + gap + width, 'T'); break;
    default: colour::drawBar(vx0, vx1, vy0 - gap - width, vy0 - gap, 'B'); break;
  }
}

void cmsbtl(std::string_view title, std::string_view units) {
  colour::State& s = colour::state();
  s.title = std::string(text::trimmed(title));
  s.units = std::string(text::trimmed(units));
}

}  // namespace zep
