// Figure layout: page size, a grid of cells over the whole page, and each
// frame's viewport placed in its cell with room for what the frame draws around
// it (tick labels, common factors, axis titles, frame title, colour bar), the
// room measured from those texts themselves.
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "axes/ax_internal.hpp"
#include "colour/colour_bar.hpp"
#include "contour/contour_drawing.hpp"
#include "figure/fg_internal.hpp"
#include "foundation/fixed_text.hpp"
#include "foundation/registry.hpp"
#include "graphics/session_hooks.hpp"
#include "primitives/figure_text.hpp"

namespace zep {
namespace figure {

State& state() {
  static State s;
  return s;
}

float real(const char* name) {
  float v = 0;
  fgrget(name, v);
  return v;
}

namespace {

float axReal(const char* name) {
  float v = 0;
  axrget(name, v);
  return v;
}

std::string trimmedCopy(std::span<const char> text) {
  std::string s(text.begin(), text.end());
  while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.pop_back();
  return s;
}

// A text parameter of unknown length (axis titles), read in full.
std::string sideTitle(const char* side) {
  std::string title(128, ' ');
  for (axqttl(side, title); title.back() != ' '; axqttl(side, title)) title.assign(2 * title.size(), ' ');
  return trimmedCopy(title);
}

// A title fitted to a width: its height (shrunk down to RSHRNK of the asked
// height) and its lines (wrapped at blanks once shrinking is not enough).
struct FittedText {
  float height = 0;
  std::vector<std::string> lines;
};

FittedText fit(const std::string& text, float height, float maxWidth) {
  FittedText f{height, {text}};
  const float w = figure_text::width(text, height, "FGTTL");
  if (w <= maxWidth || !(w > 0)) return f;
  const float minShrink = std::clamp(real("RSHRNK"), 0.05F, 1.0F);
  if (maxWidth / w >= minShrink) {
    f.height = height * maxWidth / w;
    return f;
  }
  f.height = height * minShrink;
  f.lines.clear();
  std::string line;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t blank = text.find(' ', i);
    const std::string word = text.substr(i, blank == std::string::npos ? std::string::npos : blank - i);
    i = blank == std::string::npos ? text.size() : blank + 1;
    if (word.empty()) continue;
    const std::string candidate = line.empty() ? word : line + " " + word;
    if (!line.empty() && figure_text::width(candidate, f.height, "FGTTL") > maxWidth) {
      f.lines.push_back(line);
      line = word;
    } else {
      line = candidate;
    }
  }
  if (!line.empty()) f.lines.push_back(line);
  float widest = 0;
  for (const std::string& l : f.lines) widest = std::max(widest, figure_text::width(l, f.height, "FGTTL"));
  // A single word wider than the cell: the whole title shrinks further.
  if (widest > maxWidth) f.height *= maxWidth / widest;
  return f;
}

float linesHeight(const FittedText& f) { return f.height * (1.3F * static_cast<float>(f.lines.size()) - 0.3F); }

// Lines drawn upwards from the centre of the lowest line at (vx, vy).
void drawLines(const FittedText& f, float vx, float vy, const Rect& within, const char* routine) {
  for (std::size_t k = 0; k < f.lines.size(); ++k) {
    const std::string& line = f.lines[f.lines.size() - 1 - k];
    const float w = figure_text::width(line, f.height, routine);
    // Centred over the frame, but kept inside its cell.
    const float x = std::clamp(vx, within.x0 + w / 2, std::max(within.x0 + w / 2, within.x1 - w / 2));
    figure_text::draw(x, vy + 1.3F * f.height * static_cast<float>(k), line, f.height, 0, 0, 3, routine);
  }
}

constexpr std::array<const char*, 4> kSides = {"B", "T", "L", "R"};

// An axis title of side k (B, T, L, R), its first line `offset` out from the
// viewport's edge, further lines outwards, centred on the side within the cell.
void drawTitleLines(const FittedText& f, std::size_t k, float offset, const Rect& vp, const Rect& cell, int index) {
  const std::size_t n = f.lines.size();
  for (std::size_t i = 0; i < n; ++i) {
    // Lines read downwards: below the frame (and right of it, where the turned
    // text's top faces the frame) the first line is nearest, above and left the last.
    const std::string& line = (k == 0 || k == 3) ? f.lines[i] : f.lines[n - 1 - i];
    const float out = offset + 1.3F * f.height * static_cast<float>(i);
    const float w = figure_text::width(line, f.height, "FGPFRM");
    const auto centre = [&](float a0, float a1, float c0, float c1) {
      return std::clamp((a0 + a1) / 2, c0 + w / 2, std::max(c0 + w / 2, c1 - w / 2));
    };
    switch (k) {
      case 0: figure_text::draw(centre(vp.x0, vp.x1, cell.x0, cell.x1), vp.y0 - out, line, f.height, 0, 0, index, "FGPFRM"); break;
      case 1: figure_text::draw(centre(vp.x0, vp.x1, cell.x0, cell.x1), vp.y1 + out, line, f.height, 0, 0, index, "FGPFRM"); break;
      case 2: figure_text::draw(vp.x0 - out, centre(vp.y0, vp.y1, cell.y0, cell.y1), line, f.height, 90, 0, index, "FGPFRM"); break;
      default: figure_text::draw(vp.x1 + out, centre(vp.y0, vp.y1, cell.y0, cell.y1), line, f.height, 90, 0, index, "FGPFRM"); break;
    }
  }
}

bool horizontal(int side) { return side < 2; }

// Room around a rectangular frame (ITR 1-4) whose transformation is finalized
// on the viewport `vp`: each side's ticks, labels, factor and title, and the
// labels that reach past the ends of the neighbouring sides.
FrameRoom rectangularRoom(const Rect& vp, const Rect& cell, std::array<float, 4>& labelRoom) {
  const float gap = axReal("RGAP"), rtick = axReal("RTICK"), th = axReal("RTITLE") * state().textScale;
  std::array<float, 4> room{};
  labelRoom = {};
  std::array<float, 4> overhang{};  // past the ends: left, right, bottom, top
  int itickDefault = 1;
  axiget("ITICK", itickDefault);
  for (int side = 0; side < 4; ++side) {
    const char* c = kSides[static_cast<std::size_t>(side)];
    bool draw = true, label = false;
    axqsid(c, draw, label);
    if (!draw) continue;
    int itick = 0, lindex = 0, tindex = 0;
    float h = 0;
    axqtdr(c, itick);
    if (itick == 0) itick = itickDefault;
    axqatr(c, h, lindex, tindex);
    if (h <= 0) h = axReal("RLABEL");
    if (tindex == 0) label = false;
    const float out = (itick == 2 || itick == 3) ? rtick : 0.0F;
    const float base = out + gap;
    float extent = 0, factorReach = 0;
    if (label) {
      constexpr int kMax = 400;
      std::vector<float> major(kMax), minor(kMax);
      int nmajor = 0, nminor = 0;
      axqtck(c, major.data(), nmajor, minor.data(), nminor, kMax);
      float widest = 0;
      bool scripts = false;
      std::vector<std::pair<float, float>> placed;  // V position along the side, width
      for (int i = 1; i <= nmajor; ++i) {
        std::array<char, 96> buf{};
        axqlbl(c, i, buf);
        const std::string text = trimmedCopy(buf);
        if (text.empty()) continue;
        scripts = scripts || text.find("\\^") != std::string::npos;
        const float w = figure_text::width(text, h, "FGSTRF");
        widest = std::max(widest, w);
        const float u = major[static_cast<std::size_t>(i - 1)];
        float vx = 0, vy = 0;
        stftrf(horizontal(side) ? u : 1.0F, horizontal(side) ? 1.0F : u, vx, vy);
        if (horizontal(side) && !(std::isfinite(vx))) continue;
        placed.emplace_back(horizontal(side) ? vx : vy, w);
      }
      const float raise = scripts ? 0.4F * h : 0.0F;
      extent = horizontal(side) ? h + raise : widest;
      for (auto [a, w] : placed) {
        if (horizontal(side)) {
          overhang[0] = std::max(overhang[0], vp.x0 - (a - w / 2));
          overhang[1] = std::max(overhang[1], a + w / 2 - vp.x1);
        } else {
          overhang[2] = std::max(overhang[2], vp.y0 - (a - h / 2));
          overhang[3] = std::max(overhang[3], a + h / 2 + raise - vp.y1);
        }
      }
      std::array<char, 96> factor{};
      axqfct(c, factor);
      const std::string f = trimmedCopy(factor);
      if (!f.empty()) {
        // Past the labels' end on a side across; over the middle of the
        // labels' column beside the frame, as wide as it is.
        const float w = figure_text::width(f, h, "FGSTRF");
        if (horizontal(side)) {
          float end = vp.x1;
          for (auto [a, lw] : placed) end = std::max(end, a + lw / 2);
          overhang[1] = std::max(overhang[1], end - vp.x1 + 2 * gap + w);
        } else {
          overhang[3] = std::max(overhang[3], 2 * gap + 1.6F * h);
          factorReach = base + (widest + w) / 2;
        }
      }
    }
    float r = label ? base + extent : out;
    labelRoom[static_cast<std::size_t>(side)] = r;
    const std::string title = tindex != 0 ? sideTitle(c) : std::string();
    if (!title.empty()) {
      const FittedText f = fit(title, th, horizontal(side) ? cell.width() : cell.height());
      r = (label ? r + gap : base) + linesHeight(f) + 0.25F * f.height;
    }
    room[static_cast<std::size_t>(side)] = std::max(r, factorReach);
  }
  return {std::max(room[2], overhang[0]), std::max(room[3], overhang[1]), std::max(room[0], overhang[2]),
          std::max(room[1], overhang[3])};
}

// How crowded the labels of a side are: the largest ratio of the space
// neighbours need (a label height between them along y, their half widths and
// a label height along x: numbers closer than that read as one) to the space
// they have; at most 1 where they stand apart. `count` is how many labels the
// side has inside the viewport.
float crowding(int side, float h, int& count) {
  const axes::Ticks t = axes::ticksOf(side);
  float vx0 = 0, vx1 = 0, vy0 = 0, vy1 = 0;
  sgqvpt(vx0, vx1, vy0, vy1);
  const float lo = horizontal(side) ? vx0 : vy0, hi = horizontal(side) ? vx1 : vy1, slack = 1e-4F * (hi - lo);
  std::vector<std::pair<float, float>> labels;  // V position along the side, width
  bool scripts = false;
  for (std::size_t i = 0; i < t.major.size(); ++i) {
    if (t.labels[i].empty()) continue;
    const auto u = static_cast<float>(t.major[i]);
    float vx = 0, vy = 0;
    stftrf(horizontal(side) ? u : 1.0F, horizontal(side) ? 1.0F : u, vx, vy);
    const float a = horizontal(side) ? vx : vy;
    if (!(a >= lo - slack && a <= hi + slack)) continue;
    scripts = scripts || t.labels[i].find("\\^") != std::string::npos;
    labels.emplace_back(a, horizontal(side) ? figure_text::width(t.labels[i], h, "FGSTRF") : 0.0F);
  }
  count = static_cast<int>(labels.size());
  std::sort(labels.begin(), labels.end());
  // A superscript reaches 0.4 of the height above the line.
  const float tall = h + (scripts ? 0.4F * h : 0.0F);
  float worst = 0;
  for (std::size_t k = 1; k < labels.size(); ++k) {
    const float need = horizontal(side) ? (labels[k - 1].second + labels[k].second) / 2 + h : tall + h;
    worst = std::max(worst, need / std::max(labels[k].first - labels[k - 1].first, 1e-6F));
  }
  return worst;
}

// The number of major ticks of each labelled side chosen from the frame's size
// (finalized): the largest up to AX NTICK whose labels stand apart, keeping
// at least 3 labels where the window has them. Sides with an interval of
// their own (axsstp) and an NTICK the caller chose keep theirs. Where even the
// fewest ticks crowd their labels (long numbers on a short side), the frame
// thins the labels as it draws. Gives the crowding of the most crowded side.
float fitTickTargets() {
  for (int side = 0; side < 4; ++side) axes::setTickTarget(side, 0);
  if (axes::tickTargetChosen()) return 0;
  int most = 6;
  axiget("NTICK", most);
  float worst = 0;
  std::array<int, 4> chosen{};  // -1: the side has no labels of its own
  for (int side = 0; side < 4; ++side) {
    const char* c = kSides[static_cast<std::size_t>(side)];
    bool draw = true, label = false;
    int lindex = 0, tindex = 0, nminor = 0;
    float h = 0, dmajor = 0;
    axqsid(c, draw, label);
    axqatr(c, h, lindex, tindex);
    axqstp(c, dmajor, nminor);
    if (dmajor > 0) continue;
    if (!draw || !label || tindex == 0) {
      chosen[static_cast<std::size_t>(side)] = -1;
      continue;
    }
    if (h <= 0) h = axReal("RLABEL");
    int count = 0, best = 0;
    float crowd = crowding(side, h, count);
    const int least = std::min(count, 3);
    if (crowd > 1) {
      for (int n = most - 1; n >= 2 && crowd > 1; --n) {
        axes::setTickTarget(side, n);
        int fewer = 0;
        const float c = crowding(side, h, fewer);
        if (fewer < least) break;
        best = n;
        crowd = c;
      }
      axes::setTickTarget(side, best);
      chosen[static_cast<std::size_t>(side)] = best;
    }
    worst = std::max(worst, crowd);
  }
  // A side without labels ticks as the labelled side across from it (B and T,
  // L and R), so that the frame's ticks face each other.
  for (int side = 0; side < 4; ++side) {
    const int across = side ^ 1;
    if (chosen[static_cast<std::size_t>(side)] < 0 && chosen[static_cast<std::size_t>(across)] > 0)
      axes::setTickTarget(side, chosen[static_cast<std::size_t>(across)]);
  }
  return worst;
}

bool alongY(char side) { return side == 'R' || side == 'L'; }

// Room of a colour bar beside the frame: gap, bar, ticks, labels and title,
// measured by the bar's own reckoning for a bar as long as the area's side:
// the contour package's bar when it has levels, else the colour package's.
float barRoom(const State& s, const Rect& area) {
  if (contourLevelsKnown())
    return 2 * axReal("RGAP") + contour::barRoom(s.bar, alongY(s.bar) ? area.height() : area.width()).depth;
  scatterBounds();
  return 2 * axReal("RGAP") + colour::barDepth(s.bar, alongY(s.bar) ? s.cellRect.height() : s.cellRect.width());
}

// The frame's room widened where the bar's labels put their common factor past
// the bar's end (right of a bar below or above, above a bar beside), for a bar
// as long as the frame's side.
void leaveBarEnd(FrameRoom& room, const Rect& vp, char side) {
  if (side == ' ') return;
  const float past = contour::barRoom(side, alongY(side) ? vp.height() : vp.width()).pastEnd;
  if (alongY(side)) room.top = std::max(room.top, past);
  else room.right = std::max(room.right, past);
}

Rect inset(const Rect& r, const FrameRoom& m) { return {r.x0 + m.left, r.x1 - m.right, r.y0 + m.bottom, r.y1 - m.top}; }

Rect withAspect(const Rect& r, float aspect) {
  if (!(aspect > 0)) return r;
  float w = r.width(), h = r.height();
  if (h > w * aspect) h = w * aspect;
  else w = h / aspect;
  const float cx = (r.x0 + r.x1) / 2, cy = (r.y0 + r.y1) / 2;
  return {cx - w / 2, cx + w / 2, cy - h / 2, cy + h / 2};
}

void finalize(const Rect& vp) {
  sgsvpt(vp.x0, vp.x1, vp.y0, vp.y1);
  sgstrf();
}

// The cell less its padding, the frame title and the colour bar.
struct Reserved {
  Rect area;
  FittedText title;
  float barRoom = 0;
};

// A polar frame whose scale was left at 0: the largest radius of the kept
// data (or the window's largest |x|) reaches the edge of the viewport.
void fitPolar(const Rect& vp) {
  float simfac = 0, vxoff = 0, vyoff = 0;
  sgqsim(simfac, vxoff, vyoff);
  if (simfac != 0) return;
  float rmax = 0;
  for (const Item& item : state().items)
    for (float r : item.x)
      if (std::isfinite(r)) rmax = std::max(rmax, std::abs(r));
  if (!(rmax > 0)) {
    float ux0 = 0, ux1 = 0, uy0 = 0, uy1 = 0;
    sgqwnd(ux0, ux1, uy0, uy1);
    rmax = std::max(std::abs(ux0), std::abs(ux1));
  }
  if (!(rmax > 0)) rmax = 1;
  // The outer circle is the frame's largest radius tick: rounded up to the
  // tick interval, it encloses the data.
  float dmajor = 0;
  int nminor = 0, ntick = 6;
  axiget("NTICK", ntick);
  axqnic(0, rmax, ntick, dmajor, nminor);
  if (dmajor > 0) rmax = dmajor * std::ceil(rmax / dmajor * (1 - 1e-6F));
  sgsvpt(vp.x0, vp.x1, vp.y0, vp.y1);
  // The frame's outer circle leaves room inside the viewport for the angle
  // labels (axppol); the data reach that circle, not the viewport's edge.
  const float half = 0.5F * std::min(vp.width(), vp.height());
  const float room = axReal("RGAP") + axes::textWidth("000" + axes::textParameter("CDEG"), axReal("RLABEL"));
  sgssim(std::max(half - room, 0.5F * half) / rmax, 0, 0);
}

Reserved reserve(const State& s) {
  const float pad = std::max(real("RPAD"), 0.0F);
  Reserved r;
  r.area = {s.cellRect.x0 + pad, s.cellRect.x1 - pad, s.cellRect.y0 + pad, s.cellRect.y1 - pad};
  if (!s.title.empty()) {
    r.title = fit(s.title, real("RTITLE"), r.area.width());
    r.area.y1 -= linesHeight(r.title) + axReal("RGAP");
  }
  if (s.bar != ' ') {
    r.barRoom = barRoom(s, r.area);
    switch (s.bar) {
      case 'R': r.area.x1 -= r.barRoom; break;
      case 'L': r.area.x0 += r.barRoom; break;
      case 'T': r.area.y1 -= r.barRoom; break;
      default: r.area.y0 += r.barRoom; break;
    }
  }
  return r;
}

float roomOn(const FrameRoom& m, char side) {
  return side == 'R' ? m.right : side == 'L' ? m.left : side == 'T' ? m.top : m.bottom;
}

// Less than a third of the cell each way leaves a frame too small to read.
bool tooSmall(const Rect& vp, const Rect& cell) {
  return !(vp.width() > 0.33F * cell.width() && vp.height() > 0.33F * cell.height());
}

const char* const kSideNames[4] = {"B", "T", "L", "R"};

// Label heights of the frame's sides times k (titles follow through textScale);
// the sides' own settings come back at the next fgfrm.
void scaleText(float k) {
  State& s = state();
  for (std::size_t i = 0; i < 4; ++i) {
    float h = 0;
    int lindex = 0, tindex = 0;
    axqatr(kSideNames[i], h, lindex, tindex);
    if (!s.heightsChanged) s.savedHeights[i] = h;
    const float base = s.savedHeights[i] > 0 ? s.savedHeights[i] : axReal("RLABEL");
    axsatr(kSideNames[i], base * k, lindex, tindex);
  }
  s.heightsChanged = true;
  s.textScale = k;
}

void restoreText() {
  State& s = state();
  if (s.heightsChanged)
    for (std::size_t i = 0; i < 4; ++i) {
      float h = 0;
      int lindex = 0, tindex = 0;
      axqatr(kSideNames[i], h, lindex, tindex);
      axsatr(kSideNames[i], s.savedHeights[i], lindex, tindex);
    }
  s.heightsChanged = false;
  s.textScale = 1;
}

void drawFigureTitle(State& s) {
  if (s.figureTitle.empty()) return;
  const float pad = std::max(real("RPAD"), 0.0F);
  const FittedText f = fit(s.figureTitle, real("RFTTL"), s.page.width() - 2 * pad);
  const float y = s.page.y1 - pad - linesHeight(f) + f.height / 2;
  drawLines(f, (s.page.x0 + s.page.x1) / 2, y, s.page, "FGFRM");
}

}  // namespace
}  // namespace figure

using figure::Rect;
using figure::state;

void fgpage(float width, float height, std::string_view cunit) {
  std::string unit(text::trimmed(cunit));
  for (char& c : unit) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const float scale = unit == "CM" ? 1.0F : unit == "MM" ? 0.1F : unit == "IN" ? 2.54F : 0.0F;
  if (scale == 0.0F) {
    msgdmp("E", "FGPAGE", "UNIT \"" + std::string(text::trimmed(cunit)) + "\" IS INVALID (CM, MM OR IN).");
    return;
  }
  if (!(std::isfinite(width) && std::isfinite(height) && width > 0 && height > 0)) {
    msgdmp("E", "FGPAGE", "PAGE WIDTH AND HEIGHT MUST BE POSITIVE.");
    return;
  }
  swrset("PAGEW", width * scale);
  swrset("PAGEH", height * scale);
}

void fgsdpi(float dpi) {
  if (!(std::isfinite(dpi) && dpi > 0 && dpi <= 10000)) {
    msgdmp("E", "FGSDPI", "DPI MUST BE GREATER THAN 0 AND AT MOST 10000.");
    return;
  }
  swrset("DPI", dpi);
}

void fggrid(int nrow, int ncol) {
  if (nrow < 1 || ncol < 1 || nrow > 20 || ncol > 20) {
    msgdmp("E", "FGGRID", "ROWS AND COLUMNS MUST BE 1 TO 20 (" + std::to_string(nrow) + " X " + std::to_string(ncol) + ").");
    return;
  }
  figure::State& s = state();
  s.nrow = nrow;
  s.ncol = ncol;
  // A new grid starts on a new page once frames are on the current one.
  s.cell = s.pageStarted ? nrow * ncol : -1;
}

void fgfttl(std::string_view title) {
  std::string t(title);
  while (!t.empty() && t.back() == ' ') t.pop_back();
  state().figureTitle = t;
}

namespace figure {
namespace {

// A frame started and never drawn is drawn before the next one (or the close):
// its kept data and titles must not vanish.
void finishPendingFrame() {
  State& s = state();
  // A frame started by sgfrm since our page began, or a session closed, has
  // ended that page: what was pending there belongs to a page that is gone.
  int nframe = 0;
  bool page = false;
  sgiget("NFRAME", nframe);
  swqpag(page);
  if (s.pageStarted && (nframe != s.nframe || !page)) {
    s.pageStarted = false;
    s.cell = -1;
    s.items.clear();
    return;
  }
  if (s.cell >= 0 && !s.drawn) fgpfrm();
}

}  // namespace

State::Settings settingsNow() {
  State::Settings t;
  sgqtrn(t.itr);
  sgqwnd(t.window[0], t.window[1], t.window[2], t.window[3]);
  for (std::size_t k = 0; k < 4; ++k) {
    t.titles[k] = sideTitle(kSides[k]);
    char unit[2] = {' ', ' '};
    axqtim(kSides[k], t.dates[k][0], t.dates[k][1], t.dates[k][2], unit);
    t.units[k] = unit[0];
    axqstp(kSides[k], t.dmajor[k], t.nminor[k]);
  }
  return t;
}

void ensureFrame() {
  State& s = state();
  if (!s.autoFrame || s.cell >= 0) return;
  // The transformation, window and axis settings that the caller made between
  // fgopn and the first frame's routine belong to that frame: the frame that
  // starts by itself keeps them instead of putting them back to its start.
  const State::Settings now = settingsNow(),& open = s.open;
  fgfrm();
  if (now.itr != open.itr && now.itr >= 1 && now.itr <= 6) sgstrn(now.itr);
  const auto& w = now.window;
  if (w != open.window && w[0] != w[1] && w[2] != w[3]) sgswnd(w[0], w[1], w[2], w[3]);
  for (std::size_t k = 0; k < 4; ++k) {
    if (now.titles[k] != open.titles[k] && !now.titles[k].empty()) axsttl(kSides[k], now.titles[k]);
    if (now.units[k] != open.units[k] || now.dates[k] != open.dates[k])
      axstim(kSides[k], now.dates[k][0], now.dates[k][1], now.dates[k][2], std::string_view(&now.units[k], 1));
    if (now.dmajor[k] != open.dmajor[k] || now.nminor[k] != open.nminor[k])
      axsstp(kSides[k], now.dmajor[k], now.nminor[k]);
  }
}

namespace {

// The SG parameters that a frame of the figure sets for its map.
constexpr std::array<const char*, 12> kMapParameters = {"SIMFAC", "VXOFF", "VYOFF", "PLX",   "PLY",    "PLROT",
                                                        "TXMIN",  "TXMAX", "TYMIN", "TYMAX", "STLAT1", "STLAT2"};

void takeMapParameters() {
  State& s = state();
  if (s.framed) return;
  for (std::size_t i = 0; i < kMapParameters.size(); ++i) sgrget(kMapParameters[i], s.callerMap[i]);
  s.framed = true;
}

// A figure's frames, maps, axis titles and shrunk labels end with its session:
// the next session, figure or not, starts from what the caller had set.
void giveBack() {
  State& s = state();
  restoreText();
  if (s.framed) {
    for (std::size_t i = 0; i < kMapParameters.size(); ++i) sgrset(kMapParameters[i], s.callerMap[i]);
    for (const char* side : kSides) axsttl(side, "");
    for (int side = 0; side < 4; ++side) axes::setTickTarget(side, 0);
  }
  s.framed = false;
}

// At close all is forgotten. A frame still waiting for fgpfrm is drawn by
// fgcls, not by sgcls: callers that take cells from fgfrm and draw in them
// themselves close with sgcls and want no frame there.
void closeFigure() {
  State& s = state();
  int nframe = 0;
  bool page = false;
  sgiget("NFRAME", nframe);
  swqpag(page);
  if (s.cell >= 0 && !s.drawn && page && nframe == s.nframe) {
    // Charts are drawn where the caller put them; kept lines and markers need
    // the frame's window, which only fgpfrm makes: say that they are lost.
    const auto lost = std::count_if(s.items.begin(), s.items.end(), [](const Item& i) { return !i.chart; });
    drawKeptCharts();
    if (lost > 0)
      msgdmp("W", "SGCLS", std::to_string(lost) + " KEPT PLOT(S) NOT DRAWN: CALL FGPFRM OR FGCLS.");
  }
  giveBack();
  state() = State{};
}

// At open: no page and no frame yet. A grid or figure title given since the
// last close is for this session and stays.
void openFigure() {
  giveBack();
  State& s = state();
  State fresh;
  fresh.nrow = s.nrow;
  fresh.ncol = s.ncol;
  fresh.figureTitle = std::move(s.figureTitle);
  s = std::move(fresh);
}

[[maybe_unused]] const bool atOpen = hooks::onOpen(&openFigure);
[[maybe_unused]] const bool atClose = hooks::onClose(&closeFigure);

}  // namespace
}  // namespace figure

void fgopn(std::string_view cfname, float width, float height, std::string_view cunit) {
  // The name and the page are this figure's: the workstation takes them at its
  // open, and a later session writes under the caller's own settings instead
  // of over this figure's files.
  std::string fname(registry::kTextValueWidth, ' ');
  float pagew = 0, pageh = 0;
  swcget("FNAME", fname);
  swrget("PAGEW", pagew);
  swrget("PAGEH", pageh);
  if (!text::trimmed(cfname).empty()) swcset("FNAME", cfname);
  fgpage(width, height, cunit);
  figure::State& s = state();
  s.pageStarted = false;
  s.cell = -1;
  sgopn(2);
  swcset("FNAME", fname);
  swrset("PAGEW", pagew);
  swrset("PAGEH", pageh);
  s.autoFrame = true;
  s.open = figure::settingsNow();
}

void fgopn(std::string_view cfname, float width, float height, std::string_view cunit, int nrow, int ncol) {
  fgopn(cfname, width, height, cunit);
  fggrid(nrow, ncol);
}

void fgcls() {
  figure::finishPendingFrame();
  figure::State& s = state();
  s.pageStarted = false;
  s.cell = -1;
  s.autoFrame = false;
  sgcls();
}

void fgfrm() {
  figure::finishPendingFrame();
  figure::State& s = state();
  if (!s.pageStarted || s.cell + 1 >= s.nrow * s.ncol) {
    // V spans the whole page, whatever its shape.
    bool lfull = false;
    sglget("LFULL", lfull);
    sglset("LFULL", true);
    sgfrm();
    sglset("LFULL", lfull);
    sgiget("NFRAME", s.nframe);
    sgqvpt(s.page.x0, s.page.x1, s.page.y0, s.page.y1);
    s.pageStarted = true;
    s.cell = 0;
    figure::drawFigureTitle(s);
  } else {
    ++s.cell;
  }
  Rect grid = s.page;
  if (!s.figureTitle.empty()) {
    const float pad = std::max(figure::real("RPAD"), 0.0F);
    grid.y1 -= pad + figure::linesHeight(figure::fit(s.figureTitle, figure::real("RFTTL"), s.page.width() - 2 * pad));
  }
  const int row = s.cell / s.ncol, col = s.cell % s.ncol;
  const float cw = grid.width() / static_cast<float>(s.ncol), ch = grid.height() / static_cast<float>(s.nrow);
  s.cellRect = {grid.x0 + cw * static_cast<float>(col), grid.x0 + cw * static_cast<float>(col + 1),
                grid.y1 - ch * static_cast<float>(row + 1), grid.y1 - ch * static_cast<float>(row)};
  s.aspect = 0;
  s.title.clear();
  s.bar = ' ';
  s.map = {};
  s.override = {};
  s.placed = false;
  s.drawn = false;
  s.items.clear();
  figure::restoreText();
  // Axis titles, time axes and tick intervals belong to the data of one frame.
  for (const char* side : figure::kSides) {
    axsttl(side, "");
    axstim(side, 0, 0, 0, " ");
    axsstp(side, 0, -1);
  }
  for (int side = 0; side < 4; ++side) axes::setTickTarget(side, 0);
  const Rect& c = s.cellRect;
  sgsvpt(c.x0 + 0.15F * c.width(), c.x1 - 0.08F * c.width(), c.y0 + 0.15F * c.height(), c.y1 - 0.12F * c.height());
  sgswnd(0, 1, 0, 1);
  sgstrn(1);
  // No similarity, pole or map limits left from an earlier frame's map.
  figure::takeMapParameters();
  sgrset("SIMFAC", 0);
  sgrset("VXOFF", 0);
  sgrset("VYOFF", 0);
  sgsmpl(0, 90, 0);
  sgstxy(-180, 180, -90, 90);
  sgstrf();
}

void fgsasp(float ratio) {
  figure::ensureFrame();
  if (!(std::isfinite(ratio) && ratio >= 0)) {
    msgdmp("E", "FGSASP", "ASPECT RATIO MUST BE 0 OR POSITIVE.");
    return;
  }
  state().aspect = ratio;
}

void fgttl(std::string_view title) {
  figure::ensureFrame();
  std::string t(title);
  while (!t.empty() && t.back() == ' ') t.pop_back();
  state().title = t;
}

void fgsttl(std::string_view xtitle, std::string_view ytitle, std::string_view title) {
  figure::ensureFrame();
  if (!text::trimmed(xtitle).empty()) axsttl("B", xtitle);
  if (!text::trimmed(ytitle).empty()) axsttl("L", ytitle);
  if (!text::trimmed(title).empty()) fgttl(title);
}

void fgsbar(std::string_view side) {
  figure::ensureFrame();
  const std::string_view t = text::trimmed(side);
  const char c = t.empty() ? ' ' : static_cast<char>(std::toupper(static_cast<unsigned char>(t[0])));
  if (t.size() > 1 || (c != ' ' && c != 'R' && c != 'L' && c != 'T' && c != 'B')) {
    msgdmp("E", "FGSBAR", "SIDE MUST BE R, L, T, B OR BLANK.");
    return;
  }
  state().bar = c;
}

void fgstrf() {
  figure::ensureFrame();
  figure::State& s = state();
  if (s.cell < 0) {
    msgdmp("E", "FGSTRF", "NO FRAME IS STARTED: CALL FGFRM FIRST.");
    return;
  }
  // Placed anew (charts kept after an fgstrf, or fgstrf called again): from
  // the labels' own size.
  figure::restoreText();
  for (int side = 0; side < 4; ++side) axes::setTickTarget(side, 0);
  const figure::Reserved r = figure::reserve(s);
  const float gap = figure::axReal("RGAP");
  figure::FrameRoom room;
  Rect vp;
  if (s.map.set) {
    room = figure::mapRoom();
    figure::leaveBarEnd(room, figure::inset(r.area, room), s.bar);
    vp = figure::inset(r.area, room);
    // A map keeps its aspect and may well be small; only a cell with next to
    // no room left for it gives up on the labels' room.
    if (!(vp.width() > 0.1F * r.area.width() && vp.height() > 0.1F * r.area.height())) {
      msgdmp("W", "FGSTRF", "THE CELL IS TOO SMALL FOR THE MAP AND ITS LABELS; THE LABELS MAY OVERLAP.");
      vp = figure::inset(r.area, {0.1F * r.area.width(), 0.1F * r.area.width(), 0.1F * r.area.height(), 0.1F * r.area.height()});
    }
    figure::placeMap(vp);
    sgqvpt(vp.x0, vp.x1, vp.y0, vp.y1);
  } else {
    int itr = 1;
    sgqtrn(itr);
    bool cramped = false;
    if (itr >= 1 && itr <= 4) {
      figure::dataWindow();
      // The room depends on where labels fall, which depends on the viewport:
      // a few rounds settle it.
      // A cell too small for its labels at their size gets smaller labels and
      // titles (down to 0.4 of their size) rather than labels over its neighbours.
      // Labels that crowd even at the fewest ticks shrink too, where two such
      // steps part them; longer numbers are thinned by the frame instead.
      sgqvpt(vp.x0, vp.x1, vp.y0, vp.y1);
      for (int attempt = 0;; ++attempt) {
        Rect region = vp;
        float crowd = 0;
        for (int round = 0; round < 3; ++round) {
          figure::finalize(vp);
          crowd = figure::fitTickTargets();
          room = figure::rectangularRoom(vp, r.area, s.labelRoom);
          figure::leaveBarEnd(room, vp, s.bar);
          region = figure::inset(r.area, room);
          if (figure::tooSmall(region, r.area)) break;
          vp = figure::withAspect(region, s.aspect);
        }
        const bool shrinkForLabels = crowd > 1.001F && crowd < 1 / (0.8F * 0.8F);
        if (!figure::tooSmall(region, r.area) && !shrinkForLabels) break;
        if (attempt == 4) {
          cramped = figure::tooSmall(region, r.area);
          break;
        }
        figure::scaleText(s.textScale * 0.8F);
      }
    } else {
      s.labelRoom = {};
      // Other frames: labels all around, as wide as a short number.
      // (The polar frame's own labels lie inside its viewport.)
      const float side = itr == 5 ? gap : gap + figure::axReal("RTICK") + figure_text::width("00.0°", figure::axReal("RLABEL"));
      room = {side, side, side, side};
      figure::leaveBarEnd(room, figure::inset(r.area, room), s.bar);
      if (figure::tooSmall(figure::inset(r.area, room), r.area)) {
        msgdmp("W", "FGSTRF", "THE CELL IS TOO SMALL FOR THE FRAME'S LABELS; THE LABELS MAY OVERLAP.");
        const float mx = 0.1F * r.area.width(), my = 0.1F * r.area.height();
        room = {mx, mx, my, my};
      }
      // The shape and the polar scale follow the rectangle finally chosen.
      vp = figure::withAspect(figure::inset(r.area, room), s.aspect > 0 ? s.aspect : (itr == 5 ? 1.0F : 0.0F));
      if (itr == 5) figure::fitPolar(vp);
    }
    if (cramped) {
      msgdmp("W", "FGSTRF", "THE CELL IS TOO SMALL FOR THE FRAME'S LABELS; THE LABELS MAY OVERLAP.");
      vp = figure::inset(r.area, {0.1F * r.area.width(), 0.1F * r.area.width(), 0.1F * r.area.height(), 0.1F * r.area.height()});
    }
    figure::finalize(vp);
    // The ticks for the viewport as it finally is.
    if (itr >= 1 && itr <= 4) figure::fitTickTargets();
  }
  s.area = r.area;
  s.barGap = figure::roomOn(room, s.bar) + gap;
  // A bar on top lies between the frame and its title.
  s.titleBase = s.bar == 'T' ? vp.y1 + s.barGap + r.barRoom - gap : vp.y1 + room.top + gap;
  // Never above the room kept for it: the title stays in its own cell.
  s.titleBase = std::min(s.titleBase, r.area.y1 + gap + (s.bar == 'T' ? r.barRoom : 0.0F));
  s.placed = true;
}

void fgpfrm() {
  figure::ensureFrame();
  figure::State& s = state();
  if (s.cell < 0) {
    msgdmp("E", "FGPFRM", "NO FRAME IS STARTED: CALL FGFRM FIRST.");
    return;
  }
  if (!s.placed) fgstrf();
  s.drawn = true;
  figure::drawItems();
  if (!s.placed) {
    axpfrm();
    return;
  }
  float vx0 = 0, vx1 = 0, vy0 = 0, vy1 = 0;
  sgqvpt(vx0, vx1, vy0, vy1);
  int itr = 1;
  sgqtrn(itr);
  // Axis titles of ticked frames are fitted to the cell here rather than drawn
  // at one size by the frame, where a long one would run into the next cell.
  std::array<std::string, 4> titles;
  const bool fitted = itr >= 1 && itr <= 4;
  if (fitted)
    for (std::size_t k = 0; k < 4; ++k) {
      titles[k] = figure::sideTitle(figure::kSides[k]);
      axsttl(figure::kSides[k], "");
    }
  axpfrm();
  if (fitted) {
    // Within the cell less its padding, frame title and colour bar.
    const Rect& cell = s.area;
    const float gap = figure::axReal("RGAP"), th = figure::axReal("RTITLE") * s.textScale;
    for (std::size_t k = 0; k < 4; ++k) {
      axsttl(figure::kSides[k], titles[k]);
      if (titles[k].empty()) continue;
      bool draw = true, label = false;
      int lindex = 0, tindex = 0;
      float h = 0;
      axqsid(figure::kSides[k], draw, label);
      axqatr(figure::kSides[k], h, lindex, tindex);
      if (!draw || tindex == 0) continue;
      if (tindex < 0) axiget("INDEXT", tindex);
      const bool across = k < 2;
      const figure::FittedText f = figure::fit(titles[k], th, across ? cell.width() : cell.height());
      // Titles above the frame and left of it (turned) have their descenders
      // towards the labels: the room kept for descenders goes between them.
      const float descent = k == 1 || k == 2 ? 0.25F * f.height : 0.0F;
      const float offset = s.labelRoom[k] + (s.labelRoom[k] > 0 ? gap : 0) + descent + f.height / 2;
      figure::drawTitleLines(f, k, offset, {vx0, vx1, vy0, vy1}, cell, tindex);
    }
  }
  if (!s.title.empty()) {
    const float pad = std::max(figure::real("RPAD"), 0.0F);
    const Rect within{s.cellRect.x0 + pad, s.cellRect.x1 - pad, s.cellRect.y0, s.cellRect.y1};
    const figure::FittedText f = figure::fit(s.title, figure::real("RTITLE"), within.width());
    figure::drawLines(f, (vx0 + vx1) / 2, s.titleBase + f.height / 2, within, "FGPFRM");
  }
  if (s.bar != ' ') {
    float gap = 0;
    const char side[2] = {s.bar, '\0'};
    if (figure::contourLevelsKnown()) {
      cnrget("BARGAP", gap);
      cnrset("BARGAP", s.barGap);
      cnbarp(side);
      cnrset("BARGAP", gap);
    } else {
      cmrget("BARGAP", gap);
      cmrset("BARGAP", s.barGap);
      cmbarp(side);
      cmrset("BARGAP", gap);
    }
  }
}

void fgqcel(float& vxmin, float& vxmax, float& vymin, float& vymax) {
  const figure::State& s = state();
  if (s.cell < 0) {
    msgdmp("E", "FGQCEL", "NO FRAME IS STARTED: CALL FGFRM FIRST.");
    return;
  }
  vxmin = s.cellRect.x0;
  vxmax = s.cellRect.x1;
  vymin = s.cellRect.y0;
  vymax = s.cellRect.y1;
}

void fgtxzv(float vx, float vy, std::string_view text, float height, int angle, int centring, int index) {
  if (height < 0 || index < 0 || centring < -1 || centring > 1) {
    msgdmp("W", "FGTXZV", "HEIGHT, CENTRING OR INDEX IS INVALID; TEXT NOT DRAWN.");
    return;
  }
  figure_text::draw(vx, vy, text, height, angle, centring, index, "FGTXZV");
}

void fgtxu(float ux, float uy, std::string_view text) {
  float height = 0, vx = 0, vy = 0;
  int angle = 0, centring = 0, index = 0;
  sgqtxs(height);
  sgqtxr(angle);
  sgqtxc(centring);
  sgqtxi(index);
  stftrf(ux, uy, vx, vy);
  figure_text::draw(vx, vy, text, height, angle, std::clamp(centring, -1, 1), index, "FGTXU");
}

void fgqtxw(std::string_view text, float height, float& width) { width = figure_text::width(text, height, "FGQTXW"); }

}  // namespace zep
