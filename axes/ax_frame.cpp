// Rectangular frames: per-side settings, ticks and labels for the current
// window and transformation (linear, logarithmic, time), axis titles placed
// clear of the labels, and the one call that frames the viewport.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include <zep/axes.hpp>
#include <zep/foundation.hpp>
#include <zep/graphics.hpp>
#include <zep/primitives.hpp>

#include "axes/ax_internal.hpp"
#include "foundation/fixed_text.hpp"

namespace zep {
namespace {

using axes::axInt;
using axes::axLogical;
using axes::axReal;

using axes::Ticks;

struct Side {
  bool draw = true;
  bool label = false;
  int itick = 0;
  std::string title;
  float dmajor = 0;
  int nminor = -1;
  char unit = ' ';
  int iy = 0, im = 0, id = 0;
  float height = 0;     // label height; 0: AX RLABEL
  int target = 0;       // major ticks aimed at; 0: AX NTICK
  int lineIndex = -1;   // axis and ticks; -1: AX INDEXA
  int textIndex = -1;   // labels and title; -1: AX INDEXL and INDEXT
};

std::array<Side, 4>& sides() {
  static std::array<Side, 4> s = [] {
    std::array<Side, 4> init{};
    init[0].label = true;  // B
    init[2].label = true;  // L
    return init;
  }();
  return s;
}

constexpr char kSideNames[] = {'B', 'T', 'L', 'R'};

// Index 0..3 of a side name, or -1 after an error report.
int sideIndex(std::string_view cside, const char* routine) {
  const std::string_view t = text::trimmed(cside);
  if (t.size() == 1) {
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(t[0])));
    for (int i = 0; i < 4; ++i)
      if (kSideNames[i] == c) return i;
  }
  msgdmp("E", routine, "SIDE IS INVALID (B, T, L OR R).");
  return -1;
}


bool horizontal(int side) { return side < 2; }

// Whether the axis of a side is logarithmic under the current transformation.
bool logarithmic(int side) {
  int itr = 1;
  sgqtrn(itr);
  return horizontal(side) ? (itr == 3 || itr == 4) : (itr == 2 || itr == 4);
}

Ticks sideTicks(int side) {
  float ux0 = 0, ux1 = 0, uy0 = 0, uy1 = 0;
  sgqwnd(ux0, ux1, uy0, uy1);
  const Side& s = sides()[static_cast<std::size_t>(side)];
  const double u0 = horizontal(side) ? ux0 : uy0, u1 = horizontal(side) ? ux1 : uy1;
  const int target = s.target > 0 ? s.target : axInt("NTICK");
  if (logarithmic(side)) return axes::logTicks(u0, u1, target);
  if (s.unit != ' ') return axes::timeTicks(u0, u1, s.iy, s.im, s.id, s.unit, target);
  return axes::linearTicks(u0, u1, s.dmajor, s.nminor, target, axInt("LBLMAX"), axes::textParameter("CTIMES"));
}

// V coordinate along the axis of a side for a U value.
float alongV(int side, double u) {
  float ux0 = 0, ux1 = 0, uy0 = 0, uy1 = 0;
  sgqwnd(ux0, ux1, uy0, uy1);
  float vx = 0, vy = 0;
  if (horizontal(side)) stftrf(static_cast<float>(u), uy0, vx, vy);
  else stftrf(ux0, static_cast<float>(u), vx, vy);
  return horizontal(side) ? vx : vy;
}

// Geometry of a side: its edge in V and the outward direction.
struct Edge {
  int side;
  float edge;     // V y of B/T, V x of L/R
  float outward;  // +1 or -1
  float lo, hi;   // extent along the side
  void point(float along, float offset, float& vx, float& vy) const {
    if (horizontal(side)) {
      vx = along;
      vy = edge + outward * offset;
    } else {
      vx = edge + outward * offset;
      vy = along;
    }
  }
};

Edge edgeOf(int side) {
  float vx0 = 0, vx1 = 0, vy0 = 0, vy1 = 0;
  sgqvpt(vx0, vx1, vy0, vy1);
  switch (side) {
    case 0: return {side, vy0, -1, vx0, vx1};
    case 1: return {side, vy1, 1, vx0, vx1};
    case 2: return {side, vx0, -1, vy0, vy1};
    default: return {side, vx1, 1, vy0, vy1};
  }
}

void tick(const Edge& e, float along, float length, int itick, int index) {
  const float in = (itick == 1 || itick == 3) ? length : 0;
  const float out = (itick == 2 || itick == 3) ? length : 0;
  std::vector<float> x(2), y(2);
  e.point(along, -in, x[0], y[0]);
  e.point(along, out, x[1], y[1]);
  axes::polyline('V', x, y, index, 1);
}

// Tick labels of the frame being drawn, placed together once every side has
// put its own: where two run into each other (the labels at a corner, crowded
// ticks) the less important of them (the later of two alike) is moved along its
// axis by a little, or, when that is not enough, left out.
struct PendingLabel {
  axes::LabelBox box;
  float vx, vy;
  int centring;
  float height;
  int index;
  bool alongY;     // the label's side is L or R: it moves up or down
  int importance;  // 2 a decade of a log axis, 1 a window end, 0 an inner label
  std::string text;
};

std::vector<PendingLabel>& pendingLabels() {
  static std::vector<PendingLabel> labels;
  return labels;
}

bool collecting = false;  // a whole frame also knows its corners

// Whether two boxes come closer than `pad`.
bool overlap(const axes::LabelBox& a, const axes::LabelBox& b, float pad) {
  return a.x0 < b.x1 + pad && b.x0 < a.x1 + pad && a.y0 < b.y1 + pad && b.y0 < a.y1 + pad;
}

// How far `box` must move along its axis (sign +1 up or right, -1 down or
// left) to be clear of the boxes placed; beyond `limit`, a value above it.
float clearance(axes::LabelBox b, bool alongY, float sign, const std::vector<axes::LabelBox>& placed, float limit,
                float pad) {
  float moved = 0;
  for (int round = 0; round < 8 && moved <= limit; ++round) {
    const axes::LabelBox* hit = nullptr;
    for (const axes::LabelBox& o : placed)
      if (overlap(b, o, pad)) hit = &o;
    if (hit == nullptr) return moved;
    // Just past the other box and the space between, in this direction.
    const float step = alongY ? (sign > 0 ? hit->y1 - b.y0 : b.y1 - hit->y0) + 1.05F * pad
                              : (sign > 0 ? hit->x1 - b.x0 : b.x1 - hit->x0) + 1.05F * pad;
    moved += step;
    (alongY ? b.y0 : b.x0) += sign * step;
    (alongY ? b.y1 : b.x1) += sign * step;
  }
  return limit * 2 + 1;
}

// Moves `p` along its axis by the smaller of the two moves that free it, if
// that is at most `limit`; false when it cannot be freed that far.
bool nudge(PendingLabel& p, const std::vector<axes::LabelBox>& placed, float limit) {
  // A tenth of the height between labels keeps their glyphs apart.
  const float pad = 0.1F * p.height;
  const float up = clearance(p.box, p.alongY, 1, placed, limit, pad);
  const float down = clearance(p.box, p.alongY, -1, placed, limit, pad);
  const float d = up <= down ? up : -down;
  if (std::fabs(d) > limit) return false;
  (p.alongY ? p.vy : p.vx) += d;
  (p.alongY ? p.box.y0 : p.box.x0) += d;
  (p.alongY ? p.box.y1 : p.box.x1) += d;
  return true;
}

void placePendingLabels() {
  std::vector<PendingLabel>& pending = pendingLabels();
  // Placed by importance, drawn in the order the sides gave them.
  std::vector<std::size_t> order(pending.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return pending[a].importance > pending[b].importance; });
  std::vector<axes::LabelBox> placed;
  std::vector<bool> kept(pending.size(), false);
  for (std::size_t i : order) {
    PendingLabel& p = pending[i];
    // A third of a label height moves a label that its tick still owns; a
    // decade of a log axis may go as far as a whole height rather than be lost.
    if (!nudge(p, placed, (p.importance == 2 ? 1.0F : 0.34F) * p.height) && p.importance < 2) continue;
    placed.push_back(p.box);
    kept[i] = true;
  }
  for (std::size_t i = 0; i < pending.size(); ++i) {
    const PendingLabel& p = pending[i];
    if (kept[i]) axes::text(p.vx, p.vy, p.text, p.height, 0, p.centring, p.index);
  }
  pending.clear();
}

// The space between the boxes of two labels of one side, along the side.
float spaceBetween(const axes::LabelBox& a, const axes::LabelBox& b, bool alongY) {
  return alongY ? std::max(b.y0 - a.y1, a.y0 - b.y1) : std::max(b.x0 - a.x1, a.x0 - b.x1);
}

// Thins the labels of one side (in window order, with the U value of each) to
// every 2nd, 4th, 5th, 10th ... until neighbours keep `gap` between them: two numbers
// that touch read as one. The labels kept stay on their ticks, and the thinning
// keeps the multiples of the coarser step (zero, a decade) where it can.
void thinLabels(std::vector<PendingLabel>& labels, const std::vector<double>& values, bool alongY, float gap,
                bool linear) {
  const auto crowded = [&](const std::vector<std::size_t>& kept) {
    for (std::size_t k = 1; k < kept.size(); ++k)
      if (spaceBetween(labels[kept[k - 1]].box, labels[kept[k]].box, alongY) < gap) return true;
    return false;
  };
  std::vector<std::size_t> kept(labels.size());
  for (std::size_t i = 0; i < kept.size(); ++i) kept[i] = i;
  if (!crowded(kept)) return;
  // On a log axis the labels between the decades go before any decade does.
  std::vector<std::size_t> pool;
  for (std::size_t i = 0; i < labels.size(); ++i)
    if (labels[i].importance == 2) pool.push_back(i);
  if (pool.empty() || pool.size() == labels.size()) pool = kept;
  kept = pool;
  // The one label every thinning keeps: zero or a decade, else the first.
  std::size_t anchor = 0;
  for (std::size_t k = 0; k < pool.size(); ++k)
    if (labels[pool[k]].importance == 2 || values[pool[k]] == 0) {
      anchor = k;
      break;
    }
  // On a linear axis the labels are multiples of one step: keeping the
  // multiples of the coarser step keeps round numbers even without a zero.
  const double step = linear && values.size() > 1 ? std::fabs(values[1] - values[0]) : 0;
  for (long stride : {2L, 4L, 5L, 10L, 20L, 40L, 50L, 100L, 200L, 500L, 1000L}) {
    if (!crowded(kept) || kept.size() == 1) break;
    kept.clear();
    for (std::size_t k = 0; k < pool.size(); ++k) {
      const long position =
          step > 0 ? std::lround(values[pool[k]] / step) : static_cast<long>(k) - static_cast<long>(anchor);
      if (position % stride == 0) kept.push_back(pool[k]);
    }
    if (kept.empty()) kept.push_back(pool[anchor]);
  }
  std::vector<PendingLabel> thinned;
  for (std::size_t i : kept) thinned.push_back(std::move(labels[i]));
  labels = std::move(thinned);
}

void drawSide(int side) {
  // Outward ticks lie outside the viewport.
  const axes::ViewportClip unclipped(false);
  if (!collecting) pendingLabels().clear();  // one side alone: its own labels only
  const Side& s = sides()[static_cast<std::size_t>(side)];
  const Edge e = edgeOf(side);
  const int index = s.lineIndex >= 0 ? s.lineIndex : axInt("INDEXA");
  int itick = s.itick != 0 ? s.itick : axInt("ITICK");
  if (itick < 1 || itick > 3) itick = 1;
  const float major = axReal("RTICK"), minor = axReal("RMINOR");
  const float h = s.height > 0 ? s.height : axReal("RLABEL"), th = axReal("RTITLE"), gap = axReal("RGAP");
  const int labelIndex = s.textIndex >= 0 ? s.textIndex : axInt("INDEXL");
  const int titleIndex = s.textIndex >= 0 ? s.textIndex : axInt("INDEXT");

  std::vector<float> x(2), y(2);
  e.point(e.lo, 0, x[0], y[0]);
  e.point(e.hi, 0, x[1], y[1]);
  axes::polyline('V', x, y, index, 1);

  const Ticks t = sideTicks(side);
  const float slack = 1e-4F * (e.hi - e.lo);
  const auto inside = [&](float a) { return a >= e.lo - slack && a <= e.hi + slack; };
  for (double u : t.major) {
    const float a = alongV(side, u);
    if (inside(a)) tick(e, a, major, itick, index);
  }
  if (axLogical("LMINOR"))
    for (double u : t.minor) {
      const float a = alongV(side, u);
      if (inside(a)) tick(e, a, minor, itick, index);
    }

  const float base = ((itick == 2 || itick == 3) ? major : 0) + gap;
  float extent = 0;  // room the labels take outwards
  if (s.label) {
    bool scripts = false;
    float widest = 0;
    for (std::size_t i = 0; i < t.major.size(); ++i) {
      if (t.labels[i].empty()) continue;
      scripts = scripts || t.labels[i].find("\\^") != std::string::npos;
      widest = std::max(widest, axes::textWidth(t.labels[i], h));
    }
    // A superscript reaches above the line by SHIFT + SMALL/2 of the height.
    const float raise = scripts ? 0.4F * h : 0;
    extent = horizontal(side) ? h + raise : widest;
    const bool log = logarithmic(side);
    const float endSlack = 1e-3F * (e.hi - e.lo);
    std::vector<PendingLabel> labels;
    std::vector<double> values;
    for (std::size_t i = 0; i < t.major.size(); ++i) {
      const float a = alongV(side, t.major[i]);
      if (t.labels[i].empty() || !inside(a)) continue;
      PendingLabel p{};
      p.text = t.labels[i];
      p.height = h;
      p.index = labelIndex;
      p.alongY = !horizontal(side);
      const double decade = std::log10(std::fabs(t.major[i]));
      p.importance = log && std::fabs(decade - std::round(decade)) < 1e-6                              ? 2
                     : (std::fabs(a - e.lo) < endSlack || std::fabs(a - e.hi) < endSlack) ? 1
                                                                                          : 0;
      const float w = axes::textWidth(t.labels[i], h);
      if (horizontal(side)) {
        e.point(a, base + (e.outward < 0 ? raise : 0) + h / 2, p.vx, p.vy);
        p.box = {p.vx - w / 2, p.vx + w / 2, p.vy - h / 2, p.vy + h / 2 + raise, {}};
      } else {
        e.point(a, base, p.vx, p.vy);
        p.centring = e.outward < 0 ? 1 : -1;
        const float x0 = e.outward < 0 ? p.vx - w : p.vx;
        p.box = {x0, x0 + w, p.vy - h / 2, p.vy + h / 2 + raise, {}};
      }
      labels.push_back(std::move(p));
      values.push_back(t.major[i]);
    }
    // Half a height between numbers side by side (drawn strokes reach a little
    // beyond the measured width); a fifth of one between stacked ones.
    thinLabels(labels, values, !horizontal(side), (horizontal(side) ? 0.5F : 0.2F) * h,
               !log && s.unit == ' ');
    // A factor right at the side's end would touch a last label centred there
    // and read as part of it: it starts a gap past the labels' end.
    float labelsEnd = -1e30F;
    for (const PendingLabel& p : labels) labelsEnd = std::max(labelsEnd, p.box.x1);
    for (PendingLabel& p : labels) pendingLabels().push_back(std::move(p));
    if (!t.factor.empty()) {
      float vx = 0, vy = 0;
      if (horizontal(side)) {
        e.point(e.hi, base + (e.outward < 0 ? raise : 0) + h / 2, vx, vy);
        axes::text(std::max(vx, labelsEnd) + gap, vy, t.factor, h, 0, -1, labelIndex);
      } else {
        e.point(e.hi, base + widest / 2, vx, vy);
        axes::text(vx, vy + gap + 0.9F * h, t.factor, h, 0, 0, labelIndex);
      }
    }
  }
  if (!s.title.empty()) {
    float vx = 0, vy = 0;
    const float offset = base + extent + (s.label ? gap : 0) + th / 2 + (horizontal(side) ? 0 : 0.15F * th);
    e.point((e.lo + e.hi) / 2, offset, vx, vy);
    axes::text(vx, vy, s.title, th, horizontal(side) ? 0 : 90, 0, titleIndex);
  }
  if (!collecting) placePendingLabels();
}

Side* side(std::string_view cside, const char* routine) {
  const int i = sideIndex(cside, routine);
  return i < 0 ? nullptr : &sides()[static_cast<std::size_t>(i)];
}

}  // namespace

void axpfrm() {
  int itr = 1;
  sgqtrn(itr);
  if (itr == 5) {
    axppol();
  } else if (itr == 51) {
    axpgrd();
  } else if ((itr >= 10 && itr <= 34) || itr == 99) {
    axpmap();
  } else if (itr == 6) {
    // Bipolar coordinates have no window to tick: the viewport is outlined.
    msgdmp("W", "AXPFRM", "BIPOLAR COORDINATES (ITR=6) GET NO TICKS; VIEWPORT OUTLINED.");
    float vx0 = 0, vx1 = 0, vy0 = 0, vy1 = 0;
    sgqvpt(vx0, vx1, vy0, vy1);
    const axes::ViewportClip unclipped(false);
    axes::polyline('V', {vx0, vx1, vx1, vx0, vx0}, {vy0, vy0, vy1, vy1, vy0}, axInt("INDEXA"), 1);
  } else {
    pendingLabels().clear();
    collecting = true;
    for (int i = 0; i < 4; ++i)
      if (sides()[static_cast<std::size_t>(i)].draw) drawSide(i);
    collecting = false;
    placePendingLabels();
  }
}

void axpsid(std::string_view cside) {
  const int i = sideIndex(cside, "AXPSID");
  if (i >= 0) drawSide(i);
}

void axssid(std::string_view cside, bool ldraw, bool llabel) {
  if (Side* s = side(cside, "AXSSID")) {
    s->draw = ldraw;
    s->label = llabel;
  }
}

void axqsid(std::string_view cside, bool& ldraw, bool& llabel) {
  if (const Side* s = side(cside, "AXQSID")) {
    ldraw = s->draw;
    llabel = s->label;
  }
}

void axstdr(std::string_view cside, int itick) {
  if (itick < 0 || itick > 3) {
    msgdmp("E", "AXSTDR", "TICK DIRECTION IS INVALID (0 TO 3).");
    return;
  }
  if (Side* s = side(cside, "AXSTDR")) s->itick = itick;
}

void axqtdr(std::string_view cside, int& itick) {
  if (const Side* s = side(cside, "AXQTDR")) itick = s->itick;
}

void axsttl(std::string_view cside, std::string_view ctitle) {
  if (Side* s = side(cside, "AXSTTL")) s->title = std::string(text::trimmed(ctitle));
}

void axqttl(std::string_view cside, std::span<char> ctitle) {
  if (const Side* s = side(cside, "AXQTTL")) text::assign(ctitle, s->title);
}

void axsstp(std::string_view cside, float dmajor, int nminor) {
  if (!(dmajor >= 0) || nminor < -1) {
    msgdmp("E", "AXSSTP", "TICK INTERVAL IS INVALID.");
    return;
  }
  if (Side* s = side(cside, "AXSSTP")) {
    s->dmajor = dmajor;
    s->nminor = nminor;
  }
}

void axqstp(std::string_view cside, float& dmajor, int& nminor) {
  if (const Side* s = side(cside, "AXQSTP")) {
    dmajor = s->dmajor;
    nminor = s->nminor;
  }
}

void axstim(std::string_view cside, int iy, int im, int id, std::string_view cunit) {
  const std::string_view u = text::trimmed(cunit);
  char unit = ' ';
  if (!u.empty()) unit = static_cast<char>(std::toupper(static_cast<unsigned char>(u[0])));
  if (u.size() > 1 || (unit != ' ' && unit != 'D' && unit != 'H' && unit != 'S')) {
    msgdmp("E", "AXSTIM", "TIME UNIT IS INVALID (D, H OR S).");
    return;
  }
  if (unit != ' ') {
    int first = 0, next = 0;
    if (im >= 1 && im <= 12) {
      date32(iy, im, 1, first);
      if (im < 12) date32(iy, im + 1, 1, next);
      else next = ndyear(iy) + 1;
    }
    if (iy < 1 || im < 1 || im > 12 || id < 1 || id > next - first) {
      msgdmp("E", "AXSTIM", "DATE IS INVALID.");
      return;
    }
  }
  if (Side* s = side(cside, "AXSTIM")) {
    s->unit = unit;
    s->iy = iy;
    s->im = im;
    s->id = id;
  }
}

void axqtim(std::string_view cside, int& iy, int& im, int& id, std::span<char> cunit) {
  if (const Side* s = side(cside, "AXQTIM")) {
    iy = s->iy;
    im = s->im;
    id = s->id;
    text::assign(cunit, std::string(1, s->unit));
  }
}

void axsatr(std::string_view cside, float height, int lindex, int tindex) {
  if (!(height >= 0) || lindex < -1 || tindex < -1) {
    msgdmp("E", "AXSATR", "LABEL HEIGHT OR INDEX IS INVALID.");
    return;
  }
  if (Side* s = side(cside, "AXSATR")) {
    s->height = height;
    s->lineIndex = lindex;
    s->textIndex = tindex;
  }
}

void axqatr(std::string_view cside, float& height, int& lindex, int& tindex) {
  if (const Side* s = side(cside, "AXQATR")) {
    height = s->height;
    lindex = s->lineIndex;
    tindex = s->textIndex;
  }
}

void axinit() {
  for (std::size_t i = 0; i < 4; ++i) {
    sides()[i] = Side{};
    sides()[i].label = (i == 0 || i == 2);
  }
}

namespace axes {

Ticks ticksOf(int side) { return sideTicks(side); }

void setTickTarget(int side, int target) {
  if (side >= 0 && side < 4) sides()[static_cast<std::size_t>(side)].target = std::max(target, 0);
}

}  // namespace axes

void axqnic(float umin, float umax, int ntarget, float& dmajor, int& nminor) {
  dmajor = static_cast<float>(axes::niceStep(umin, umax, ntarget, nminor));
}

void axqtck(std::string_view cside, float* major, int& nmajor, float* minor, int& nminor, int nmax) {
  nmajor = nminor = 0;
  const int i = sideIndex(cside, "AXQTCK");
  if (i < 0) return;
  const Ticks t = sideTicks(i);
  for (double u : t.major)
    if (nmajor < nmax) major[nmajor++] = static_cast<float>(u);
  for (double u : t.minor)
    if (nminor < nmax) minor[nminor++] = static_cast<float>(u);
}

void axqlbl(std::string_view cside, int i, std::span<char> label) {
  const int s = sideIndex(cside, "AXQLBL");
  if (s < 0) return;
  const Ticks t = sideTicks(s);
  if (i < 1 || i > static_cast<int>(t.labels.size())) {
    msgdmp("E", "AXQLBL", "TICK NUMBER IS OUT OF RANGE.");
    return;
  }
  text::assign(label, t.labels[static_cast<std::size_t>(i - 1)]);
}

void axqfct(std::string_view cside, std::span<char> factor) {
  const int s = sideIndex(cside, "AXQFCT");
  if (s < 0) return;
  text::assign(factor, sideTicks(s).factor);
}

}  // namespace zep
