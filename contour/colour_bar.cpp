// The colour bar: one box per band in its tone, the level values at the edges
// between boxes, triangles for the open-ended bands when asked.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include <zep/axes.hpp>
#include <zep/contour.hpp>
#include <zep/foundation.hpp>
#include <zep/graphics.hpp>
#include <zep/primitives.hpp>

#include "axes/ax_internal.hpp"
#include "colour/colour_bar.hpp"
#include "colour/colour_state.hpp"
#include "contour/contour_drawing.hpp"
#include "contour/contour_state.hpp"
#include "foundation/fixed_text.hpp"
#include "primitives/figure_text.hpp"

namespace zep {
namespace {

// Saves the frame's viewport, window and transformation number, and brings
// them back (finalized again) when it goes.
class SavedTransformation {
 public:
  SavedTransformation() {
    sgqvpt(vp_[0], vp_[1], vp_[2], vp_[3]);
    sgqwnd(wd_[0], wd_[1], wd_[2], wd_[3]);
    sgqtrn(itr_);
    sglget("LCLIP", clip_);
  }
  ~SavedTransformation() {
    sgsvpt(vp_[0], vp_[1], vp_[2], vp_[3]);
    sgswnd(wd_[0], wd_[1], wd_[2], wd_[3]);
    sgstrn(itr_);
    sglset("LCLIP", clip_);
    sgstrf();
  }
  SavedTransformation(const SavedTransformation&) = delete;
  SavedTransformation& operator=(const SavedTransformation&) = delete;

 private:
  float vp_[4]{}, wd_[4]{};
  int itr_ = 1;
  bool clip_ = false;
};

// Levels evenly spaced (within a small part of their spacing)?
bool evenlySpaced(const std::vector<contour::Level>& levels, double& spacing) {
  if (levels.size() < 2) return false;
  spacing = (static_cast<double>(levels.back().value) - levels.front().value) / static_cast<double>(levels.size() - 1);
  for (std::size_t k = 1; k < levels.size(); ++k)
    if (std::fabs(levels[k].value - levels[k - 1].value - spacing) > 1e-3 * spacing) return false;
  return true;
}

// Which edges carry a label: all of them for a few levels, else those chosen
// for line labels, else every n-th; then only as many as have room along the
// bar (`room`: the space one label needs, in boxes).
std::vector<bool> labelledEdges(const std::vector<contour::Level>& levels, double room) {
  const std::size_t n = levels.size();
  std::vector<bool> out(n, n <= 12);
  bool any = false;
  for (std::size_t k = 0; k < n; ++k) any = any || levels[k].label;
  if (n > 12)
    for (std::size_t k = 0; k < n; ++k) out[k] = any ? levels[k].label : k % ((n + 11) / 12) == 0;
  // Chosen edges closer than the room they need: every m-th of them, where
  // m keeps them apart.
  std::vector<std::size_t> chosen;
  for (std::size_t k = 0; k < n; ++k)
    if (out[k]) chosen.push_back(k);
  double closest = static_cast<double>(n);
  for (std::size_t k = 1; k < chosen.size(); ++k)
    closest = std::min(closest, static_cast<double>(chosen[k] - chosen[k - 1]));
  if (chosen.size() > 1 && closest < room) {
    const auto every = static_cast<std::size_t>(std::ceil(room / closest));
    for (std::size_t k = 0; k < chosen.size(); ++k) out[chosen[k]] = k % every == 0;
  }
  return out;
}

// How far the far edge of the labels lies out from the bar, for labels of
// these texts placed by the axis package (ticks out, its label gap, then the
// labels at the side's height) or written at the box edges.
float axisLabelHeight(char outer, float labelHeight) {
  float h = 0;
  int lindex = 0, tindex = 0;
  axqatr(std::string_view(&outer, 1), h, lindex, tindex);
  return h > 0 ? h : labelHeight;
}

float axisLabelReach(const std::vector<contour::Level>& levels, char outer, float labelHeight) {
  const float h = axisLabelHeight(outer, labelHeight);
  float rtick = 0, gap = 0;
  axrget("RTICK", rtick);
  axrget("RGAP", gap);
  float extent = 0;
  bool scripts = false;
  for (const contour::Level& l : levels) {
    scripts = scripts || l.text.find("\\^") != std::string::npos;
    extent = std::max(extent, figure_text::width(l.text, h, "CNBARP"));
  }
  if (outer == 'B' || outer == 'T') extent = h + (scripts ? 0.4F * h : 0.0F);
  return rtick + gap + extent;
}

float edgeLabelReach(const std::vector<contour::Level>& levels, char outer, float labelHeight) {
  const float tick = 0.3F * labelHeight;
  if (outer == 'T') return 2 * tick + labelHeight;
  if (outer == 'B') return 2 * tick + 1.5F * labelHeight;
  float widest = 0;
  for (const contour::Level& l : levels) widest = std::max(widest, colour::textWidth(l.text, labelHeight));
  return 2 * tick + widest;
}

// Which edges of a bar `length` long (V) carry labels, and whether they go to
// the axis package: evenly spaced levels whose labelled ones fall on
// multiples of one step, with room for an axis window in float.
struct LabelPlan {
  std::vector<bool> labelled;
  bool axis = false;
  double step = 0;
  std::size_t stride = 0;
};

LabelPlan planLabels(const std::vector<contour::Level>& levels, const colour::BarFrame& frame, float labelHeight) {
  LabelPlan plan;
  const double nb = static_cast<double>(levels.size()) + 1;
  float room = 0;
  for (const contour::Level& l : levels) room = std::max(room, colour::labelRoom(frame, l.text, labelHeight));
  plan.labelled = labelledEdges(levels, room / (std::fabs(frame.a1() - frame.a0()) / nb));
  double spacing = 0;
  std::size_t firstLabel = levels.size();
  for (std::size_t k = 0; k < levels.size(); ++k)
    if (plan.labelled[k]) {
      if (firstLabel == levels.size()) firstLabel = k;
      else if (plan.stride == 0) plan.stride = k - firstLabel;
    }
  if (!evenlySpaced(levels, spacing) || firstLabel == levels.size()) return plan;
  if (plan.stride == 0) plan.stride = levels.size();
  plan.step = spacing * static_cast<double>(plan.stride);
  const double q = levels[firstLabel].value / plan.step;
  plan.axis = std::fabs(q - std::round(q)) < 1e-4;
  for (std::size_t k = 0; plan.axis && k < levels.size(); ++k)
    plan.axis = plan.labelled[k] == ((k >= firstLabel) && (k - firstLabel) % plan.stride == 0);
  // A window wider than float can hold maps every point to one place: such
  // levels are written at their edges.
  const float first = levels.front().value, last = levels.back().value;
  if (levels.size() == 1 || !std::isfinite(last - first)) plan.axis = false;
  return plan;
}

// The ticks and labels the axis package gives an axis from the first to the
// last level with the plan's step: the same reckoning as the side's own.
axes::Ticks axisTicks(const std::vector<contour::Level>& levels, const LabelPlan& plan) {
  return axes::linearTicks(levels.front().value, levels.back().value, static_cast<float>(plan.step),
                           static_cast<int>(plan.stride), axes::axInt("NTICK"), axes::axInt("LBLMAX"),
                           axes::textParameter("CTIMES"));
}

// Where the common factor of the labels (x10^k) goes: past the bar's far end
// (right of a horizontal bar on the labels' line, above a vertical one at the
// labels' column) and past the last label's half there. Where the axis would
// put it, at the end of its window, it stands on the last box or by the last
// label as if it were part of it.
struct Factor {
  float start = 0;           // along the bar, V: where its line starts, or its foot
  float along = 0, out = 0;  // how far it reaches past the bar's end; out from the bar
};

Factor placeFactor(const axes::Ticks& ticks, const colour::BarFrame& f, std::size_t nlevels, float h) {
  if (ticks.factor.empty()) return {};
  const float rtick = axes::axReal("RTICK"), gap = axes::axReal("RGAP");
  const float w = figure_text::width(ticks.factor, h, "CNBARP");
  float widest = 0;
  for (const std::string& l : ticks.labels) widest = std::max(widest, figure_text::width(l, h, "CNBARP"));
  const float box = (f.a1() - f.a0()) / static_cast<float>(nlevels + 1);
  const float start = std::max(f.a1(), f.a1() - box + 0.5F * (f.vertical() ? h : widest)) + gap;
  // A superscript reaches above the line by 0.4 of the height.
  if (f.vertical()) return {start, start - f.a1() + 1.4F * h, rtick + gap + w};
  return {start, start - f.a1() + w, rtick + gap + 1.4F * h};
}

// A title longer than the bar runs past its ends, where the factor is.
float titleReach(const colour::BarFrame& f, float labels, const Factor& factor, float labelHeight) {
  const std::string title = colour::barTitle();
  if (title.empty()) return labels;
  const float w = figure_text::width(title, colour::titleHeight(f, labelHeight), "CNBARP");
  return w > f.a1() - f.a0() ? std::max(labels, factor.out) : labels;
}

// Draws the bar in the rectangle; labels go on the side named by `outer`
// ("R", "L" for a vertical bar, "B", "T" for a horizontal one).
void drawBar(float x0, float x1, float y0, float y1, const char* outer) {
  contour::State& s = contour::state();
  contour::ensureLevels();
  const std::vector<contour::Level>& levels = s.levels;
  const int nb = static_cast<int>(levels.size()) + 1;
  bool triangles = false;
  int outline = 1;
  float labelHeight = 0.016F;
  cnlget("LBTRI", triangles);
  cniget("IBARLI", outline);
  cnrget("BARLHT", labelHeight);
  const bool vertical = outer[0] == 'R' || outer[0] == 'L';
  const SavedTransformation saved;
  sglset("LCLIP", false);

  // Along the bar, box b spans [b, b+1] of nb: a straight map from box units to V.
  const float a0 = vertical ? y0 : x0, a1 = vertical ? y1 : x1;
  const float c0 = vertical ? x0 : y0, c1 = vertical ? x1 : y1;
  auto along = [&](double t) { return static_cast<float>(a0 + (a1 - a0) * t / nb); };
  auto put = [&](float a, float c, float& x, float& y) {
    x = vertical ? c : a;
    y = vertical ? a : c;
  };
  const float cm = 0.5F * (c0 + c1);
  std::vector<float> ox, oy;  // the bar's outline
  auto outlinePoint = [&](float a, float c) {
    float x, y;
    put(a, c, x, y);
    ox.push_back(x);
    oy.push_back(y);
  };
  for (int b = 0; b < nb; ++b) {
    const float lo = along(b), hi = along(b + 1);
    float px[4], py[4];
    int np = 4;
    const bool tipLow = triangles && b == 0 && nb > 1, tipHigh = triangles && b == nb - 1 && nb > 1;
    if (tipLow) {
      put(lo, cm, px[0], py[0]);
      put(hi, c1, px[1], py[1]);
      put(hi, c0, px[2], py[2]);
      np = 3;
    } else if (tipHigh) {
      put(lo, c0, px[0], py[0]);
      put(lo, c1, px[1], py[1]);
      put(hi, cm, px[2], py[2]);
      np = 3;
    } else {
      put(lo, c0, px[0], py[0]);
      put(hi, c0, px[1], py[1]);
      put(hi, c1, px[2], py[2]);
      put(lo, c1, px[3], py[3]);
    }
    const int rgb = contour::bandColourOf(b);
    if (rgb >= 0) {
      colour::fillFull(false, np, px, py, static_cast<std::uint32_t>(rgb));
    } else {
      const int tone = contour::bandToneOf(b);
      if (tone != 0) sgtnzv(np, px, py, tone);
    }
  }
  // Outline, through the tips when there are any.
  const bool tips = triangles && nb > 1;
  if (tips) {
    outlinePoint(a0, cm);
    outlinePoint(along(1), c0);
    outlinePoint(along(nb - 1), c0);
    outlinePoint(a1, cm);
    outlinePoint(along(nb - 1), c1);
    outlinePoint(along(1), c1);
  } else {
    outlinePoint(a0, c0);
    outlinePoint(a1, c0);
    outlinePoint(a1, c1);
    outlinePoint(a0, c1);
  }
  ox.push_back(ox.front());
  oy.push_back(oy.front());
  if (outline > 0) {
    sgplzv(static_cast<int>(ox.size()), ox.data(), oy.data(), 1, outline);
    // Edges between the boxes, where they stand apart: a bar of very many
    // levels would otherwise be all edge.
    const bool edges = std::fabs(a1 - a0) / nb * colour::devicePerV() >= colour::kEdgeSpacing;
    for (int b = 1; edges && b < nb; ++b) {
      float ex[2], ey[2];
      put(along(b), c0, ex[0], ey[0]);
      put(along(b), c1, ex[1], ey[1]);
      sgplzv(2, ex, ey, 1, outline);
    }
  }
  const colour::BarFrame frame{x0, x1, y0, y1, outer[0]};
  if (levels.empty()) {
    colour::drawTitle(frame, 0, labelHeight);
    return;
  }

  // Labels. Evenly spaced levels whose labelled ones fall on multiples of one
  // step go to the axis package on a value axis laid along the bar; any other
  // levels are written at their edges.
  const LabelPlan plan = planLabels(levels, frame, labelHeight);
  const std::vector<bool>& labelled = plan.labelled;
  if (plan.axis) {
    // The axis runs from the first to the last level, the inner edges of the
    // end boxes, so that the open ends carry no value. Labels that take a
    // common factor are drawn on a window divided by it, and the factor is
    // written beyond the bar's end: where the axis would put it, at the end
    // of its window, it would stand on the last box or by the last label as
    // if it were part of it.
    const axes::Ticks ticks = axisTicks(levels, plan);
    const double scale = ticks.factor.empty() ? 1.0 : std::pow(10.0, ticks.exponent);
    const float lo = along(1), hi = along(nb - 1);
    const auto first = static_cast<float>(levels.front().value / scale);
    const auto last = static_cast<float>(levels.back().value / scale);
    if (vertical) {
      sgsvpt(x0, x1, lo, hi);
      sgswnd(0, 1, first, last);
    } else {
      sgsvpt(lo, hi, y0, y1);
      sgswnd(first, last, 0, 1);
    }
    sgstrn(1);
    sgstrf();
    bool draw = true, label = false;
    float dmajor = 0, height = 0;
    int nminor = 0, itick = 0, longest = 0;
    axqsid(outer, draw, label);
    axqstp(outer, dmajor, nminor);
    axqtdr(outer, itick);
    axrget("RLABEL", height);
    axiget("LBLMAX", longest);
    // The side's title belongs to the caller's frame: on the bar it would
    // land below the labels, in pieces where the frame clips it.
    std::string title(64, ' ');
    for (axqttl(outer, title); title.back() != ' '; axqttl(outer, title)) title.assign(2 * title.size(), ' ');
    axsttl(outer, "");
    axssid(outer, true, true);
    axsstp(outer, static_cast<float>(plan.step / scale), static_cast<int>(plan.stride));
    axstdr(outer, 2);
    axrset("RLABEL", labelHeight);
    if (scale != 1.0) axiset("LBLMAX", 1000);  // the factor is ours to write
    axpsid(outer);
    axiset("LBLMAX", longest);
    axrset("RLABEL", height);
    axsttl(outer, title);
    axstdr(outer, itick);
    axsstp(outer, dmajor, nminor);
    axssid(outer, draw, label);
    const float h = axisLabelHeight(outer[0], labelHeight);
    const Factor factor = placeFactor(ticks, frame, levels.size(), h);
    if (!ticks.factor.empty()) {
      int index = 0, lindex = 0;
      float sideHeight = 0;
      axqatr(outer, sideHeight, lindex, index);
      if (index < 0) axiget("INDEXL", index);
      const bool plus = outer[0] == 'R' || outer[0] == 'T';
      const float out = axes::axReal("RTICK") + axes::axReal("RGAP");
      float fx = 0, fy = 0;
      if (vertical) {
        put(factor.start + 0.5F * h, plus ? c1 + out : c0 - out, fx, fy);
        figure_text::draw(fx, fy, ticks.factor, h, 0, plus ? -1 : 1, index, "CNBARP");
      } else {
        put(factor.start, plus ? c1 + out + 0.5F * h : c0 - out - 0.5F * h, fx, fy);
        figure_text::draw(fx, fy, ticks.factor, h, 0, -1, index, "CNBARP");
      }
    }
    colour::drawTitle(frame, titleReach(frame, axisLabelReach(levels, outer[0], labelHeight), factor, labelHeight),
                      labelHeight);
    return;
  }
  const float tick = 0.3F * labelHeight;
  const bool plus = outer[0] == 'R' || outer[0] == 'T';
  const float base = plus ? c1 : c0, dir = plus ? 1.0F : -1.0F;
  for (std::size_t k = 0; k < levels.size(); ++k) {
    if (!labelled[k]) continue;
    const float a = along(static_cast<double>(k) + 1);
    float tx[2], ty[2];
    put(a, base, tx[0], ty[0]);
    put(a, base + dir * tick, tx[1], ty[1]);
    sgplzv(2, tx, ty, 1, outline > 0 ? outline : 1);
    float lx, ly;
    if (vertical) {
      // Level with the tick: a text's point is the middle of its line.
      put(a, base + dir * 2 * tick, lx, ly);
      sgtxzv(lx, ly, levels[k].text, labelHeight, 0, plus ? -1 : 1, 3);
    } else {
      // Above the bar clear of the tick (its middle half a height out).
      put(a, base + dir * (2 * tick + (plus ? 0.5F : 1.0F) * labelHeight), lx, ly);
      sgtxzv(lx, ly, levels[k].text, labelHeight, 0, 0, 3);
    }
  }
  colour::drawTitle(frame, edgeLabelReach(levels, outer[0], labelHeight), labelHeight);
}

}  // namespace

namespace contour {

BarRoom barRoom(char side, float length) {
  State& s = state();
  float labelHeight = 0.016F, width = 0.03F;
  cnrget("BARLHT", labelHeight);
  cnrget("BARWD", width);
  std::vector<Level> none;
  const bool known = s.mode == LevelMode::List || s.fieldSet;
  if (known) ensureLevels("CNBARP");
  const std::vector<Level>& levels = known ? s.levels : none;
  // Which way the labels go depends on the bar's length: room for either.
  const float labels = std::max(axisLabelReach(levels, side, labelHeight), edgeLabelReach(levels, side, labelHeight));
  Factor factor;
  const bool vertical = side == 'R' || side == 'L';
  const colour::BarFrame frame{0, vertical ? width : length, 0, vertical ? length : width, side};
  if (!levels.empty() && length > 0) {
    const LabelPlan plan = planLabels(levels, frame, labelHeight);
    if (plan.axis) factor = placeFactor(axisTicks(levels, plan), frame, levels.size(), axisLabelHeight(side, labelHeight));
  }
  // The title at full height: it only shrinks on a bar shorter than it.
  const std::string title = colour::barTitle();
  const float titleRoom = title.empty() ? 0.0F : (colour::kTitleGap + colour::kTitleLine) * labelHeight;
  return {width + std::max(labels, factor.out) + titleRoom, factor.along};
}

}  // namespace contour

void cnbarv(float vxmin, float vxmax, float vymin, float vymax) {
  contour::State& s = contour::state();
  if (s.mode != contour::LevelMode::List && !contour::requireField("CNBARV")) return;
  if (!(vxmax > vxmin && vymax > vymin)) {
    msgdmp("E", "CNBARV", "THE RECTANGLE IS EMPTY.");
    return;
  }
  const bool vertical = vymax - vymin > vxmax - vxmin;
  drawBar(vxmin, vxmax, vymin, vymax, vertical ? "R" : "B");
}

void cnbarp(std::string_view side) {
  contour::State& s = contour::state();
  if (s.mode != contour::LevelMode::List && !contour::requireField("CNBARP")) return;
  float vx0, vx1, vy0, vy1, width = 0.03F, gap = 0.03F;
  sgqvpt(vx0, vx1, vy0, vy1);
  cnrget("BARWD", width);
  cnrget("BARGAP", gap);
  const std::string_view t = text::trimmed(side);
  const char c = t.empty() ? 'R' : static_cast<char>(std::toupper(static_cast<unsigned char>(t[0])));
  if (t.size() > 1 || (c != 'R' && c != 'L' && c != 'T' && c != 'B')) {
    msgdmp("E", "CNBARP", "SIDE MUST BE R, L, T OR B.");
    return;
  }
  switch (c) {
    case 'R': drawBar(vx1 + gap, vx1 + gap + width, vy0, vy1, "R"); break;
    case 'L': drawBar(vx0 - gap - width, vx0 - gap, vy0, vy1, "L"); break;
    case 'T': drawBar(vx0, vx1, vy1 + gap, vy1 + gap + width, "T"); break;
    default: drawBar(vx0, vx1, vy0 - gap - width, vy0 - gap, "B"); break;
  }
}

}  // namespace zep
