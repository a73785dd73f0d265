// Arrows, the reference key and wind barbs.
#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include <zep/foundation.hpp>
#include <zep/graphics.hpp>
#include <zep/primitives.hpp>
#include <zep/vector.hpp>

#include "primitives/text_state.hpp"
#include "vector/vector_state.hpp"

namespace zep {

namespace {

using vector::ArrowBatch;
using vector::field;
using vector::Placement;

struct Drawn {
  float x, y, dx, dy, magnitude;
  int point;
};

// The kept points with a defined direction in V, and the smallest magnitude among them.
std::vector<Drawn> directions(const Placement& p, float& minMagnitude) {
  const vector::Field& f = field();
  std::vector<Drawn> out;
  out.reserve(p.kept.size());
  minMagnitude = p.maxMagnitude;
  for (std::size_t q = 0; q < p.kept.size(); ++q) {
    const int k = p.kept[q];
    const float u = f.u[static_cast<std::size_t>(k)], v = f.v[static_cast<std::size_t>(k)];
    const float mag = std::hypot(u, v);
    float ux, uy, dx = 0, dy = 0;
    vector::pointU(k, ux, uy);
    if (mag > 0 && !vector::directionV(ux, uy, u, v, dx, dy)) continue;
    out.push_back({p.vx[q], p.vy[q], dx, dy, mag, k});
    minMagnitude = std::min(minMagnitude, mag);
  }
  return out;
}

}  // namespace

void vcarwu() {
  if (!vector::requireField("VCARWU")) return;
  const Placement p = vector::place("VCARWU");
  if (p.maxMagnitude == 0) {
    msgdmp("W", "VCARWU", "NO ARROW: ALL VECTORS ZERO, MISSING OR OUTSIDE.");
    return;
  }
  const float scale = vector::arrowScale(p, "VCARWU");
  if (!(scale > 0)) return;
  float minMagnitude = 0;
  std::vector<Drawn> arrows = directions(p, minMagnitude);
  const vector::MagnitudeColours colours(p.maxMagnitude, minMagnitude);
  // One open line primitive per line index.
  std::map<int, std::vector<const Drawn*>> byIndex;
  for (const Drawn& a : arrows)
    if (a.magnitude > 0) byIndex[colours.keyOf(a.magnitude)].push_back(&a);
  // On a map, arrows are cut at its outline as lines drawn in U are; an arrow
  // whose tail is off the map is not drawn at all.
  const vector::MapOutline outline;
  for (const auto& [key, list] : byIndex) {
    const int index = colours.lineIndex(key);
    if (index <= 0) continue;
    ArrowBatch batch(index, colours.rgb(key), true);
    for (const Drawn* a : list) {
      if (!outline.covers(a->x, a->y)) continue;
      const float len = scale * a->magnitude;
      const float tx = a->x + a->dx * len, ty = a->y + a->dy * len;
      batch.segment(a->x, a->y, tx, ty);
      batch.head(tx, ty, a->dx, a->dy, len);
    }
  }
}

// ---------------------------------------------------------------------------
// Key
// ---------------------------------------------------------------------------

namespace {

// Length in V of the key's arrow, 0 after an error report.
float keyLength(float mag, const char* routine) {
  if (!(mag > 0) || !std::isfinite(mag)) {
    msgdmp("E", routine, "THE KEY'S MAGNITUDE IS NOT POSITIVE.");
    return 0;
  }
  float scale = 0;
  vcrget("SCALE", scale);
  if (scale == 0) {
    if (!vector::requireField(routine)) return 0;
    scale = vector::arrowScale(vector::place(routine), routine);
    if (!(scale > 0)) {
      msgdmp("E", routine, "NO KEY SCALE: VC SCALE IS 0, ALL VECTORS ZERO.");
      return 0;
    }
  } else {
    scale = vector::arrowScale(Placement{}, routine);
    if (!(scale > 0)) return 0;
  }
  return scale * mag;
}

void drawKey(float cx, float cy, float len, std::string_view label, float height) {
  int index = 1;
  vciget("INDEX", index);
  {
    ArrowBatch batch(index);
    batch.segment(cx - len / 2, cy, cx + len / 2, cy);
    batch.head(cx + len / 2, cy, 1, 0, len);
  }
  if (label.empty()) return;
  // Units want their exponents ("m s\\^{-1}"): markup on for the label only.
  bool lcntl = false;
  sglget("LCNTL", lcntl);
  sglset("LCNTL", true);
  sgtxzv(cx + len / 2 + 0.5F * height, cy, label, height, 0, -1, index);
  sglset("LCNTL", lcntl);
}

float keyHeight(const char* routine) {
  float height = 0.015F;
  vcrget("KEYHT", height);
  if (!(height > 0) || !std::isfinite(height)) {
    msgdmp("E", routine, "KEY LABEL HEIGHT (VC KEYHT) IS NOT POSITIVE.");
    return 0;
  }
  return height;
}

}  // namespace

void vckeyv(float vx, float vy, float mag, std::string_view label) {
  if (!std::isfinite(vx) || !std::isfinite(vy)) {
    msgdmp("E", "VCKEYV", "THE KEY'S POSITION IS NOT FINITE.");
    return;
  }
  const float height = keyHeight("VCKEYV");
  if (height == 0) return;
  const float len = keyLength(mag, "VCKEYV");
  if (len > 0) drawKey(vx, vy, len, label, height);
}

void vckeyp(std::string_view corner, float mag, std::string_view label) {
  std::string c(corner.substr(0, std::min<std::size_t>(corner.find_last_not_of(' ') + 1, corner.size())));
  for (char& ch : c) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  if (c != "TR" && c != "TL" && c != "BR" && c != "BL") {
    msgdmp("E", "VCKEYP", "CORNER MUST BE \"TR\", \"TL\", \"BR\" OR \"BL\".");
    return;
  }
  const float height = keyHeight("VCKEYP");
  if (height == 0) return;
  const float len = keyLength(mag, "VCKEYP");
  if (!(len > 0)) return;
  bool inside = true;
  vclget("LKEYIN", inside);
  bool lcntl = false;
  sglget("LCNTL", lcntl);
  sglset("LCNTL", true);
  const float drawn = text_engine::drawnWidth(label, height);
  sglset("LCNTL", lcntl);
  const float textWidth = label.empty() ? 0 : 0.5F * height + drawn;
  float vx0, vx1, vy0, vy1;
  sgqvpt(vx0, vx1, vy0, vy1);
  const float margin = height;
  const float cx = c[1] == 'R' ? vx1 - margin - textWidth - len / 2 : vx0 + margin + len / 2;
  float cy = 0;
  if (inside)
    cy = c[0] == 'T' ? vy1 - margin - height / 2 : vy0 + margin + height / 2;
  else
    cy = c[0] == 'T' ? vy1 + margin + height / 2 : vy0 - margin - height / 2;
  if (inside) {
    // Inside the viewport the key stands among the arrows: on a patch of the
    // page's background (colour 0, solid), within the viewport, so that no
    // arrow runs through its own arrow or label.
    const float pad = 0.5F * height;
    const float x0 = cx - len / 2 - pad, x1 = cx + len / 2 + textWidth + pad;
    const float bx[] = {x0, x1, x1, x0}, by[] = {cy - height, cy - height, cy + height, cy + height};
    bool lclip = false;
    sglget("LCLIP", lclip);
    sglset("LCLIP", false);
    sgtnzv(4, bx, by, 999);
    sglset("LCLIP", lclip);
  }
  drawKey(cx, cy, len, label, height);
}

// ---------------------------------------------------------------------------
// Barbs
// ---------------------------------------------------------------------------

void vcqbrb(float speed, int& npennant, int& nbarb, int& nhalf) {
  npennant = nbarb = nhalf = 0;
  float unit = 5;
  vcrget("BARBU", unit);
  if (!(unit > 0) || !std::isfinite(unit)) {
    msgdmp("E", "VCQBRB", "BARB UNIT (VC BARBU) IS NOT POSITIVE.");
    return;
  }
  if (!(speed >= 0) || !std::isfinite(speed)) {
    msgdmp("E", "VCQBRB", "THE SPEED IS NEGATIVE OR NOT FINITE.");
    return;
  }
  // Half barbs, rounded half up as in station plots (2.5 -> 5, 7.4 -> 5).
  const double halves = std::floor(static_cast<double>(speed) / unit + 0.5);
  if (halves > 1e6) {
    msgdmp("E", "VCQBRB", "SPEED TOO LARGE FOR BARBS (OVER 100000 PENNANTS).");
    return;
  }
  const int h = static_cast<int>(halves);
  npennant = h / 10;
  nbarb = h % 10 / 2;
  nhalf = h % 2;
}

void vcbrbu() {
  if (!vector::requireField("VCBRBU")) return;
  float len = 0.035F, unit = 5;
  vcrget("BARBLN", len);
  vcrget("BARBU", unit);
  if (!(len > 0) || !std::isfinite(len)) {
    msgdmp("E", "VCBRBU", "BARB LENGTH (VC BARBLN) IS NOT POSITIVE.");
    return;
  }
  if (!(unit > 0) || !std::isfinite(unit)) {
    msgdmp("E", "VCBRBU", "BARB UNIT (VC BARBU) IS NOT POSITIVE.");
    return;
  }
  const Placement p = vector::place("VCBRBU");
  if (p.kept.empty()) {
    msgdmp("W", "VCBRBU", "NO BARB: ALL VECTORS MISSING OR OUTSIDE.");
    return;
  }
  float minMagnitude = 0;
  const std::vector<Drawn> barbs = directions(p, minMagnitude);
  const vector::MagnitudeColours colours(p.maxMagnitude, minMagnitude);
  bool flip = false;
  vclget("LBFLIP", flip);
  const bool map = vector::onMap();
  const float rady = vector::setup().rady;

  const float height = 0.4F * len;   // full barb
  const float spacing = 0.13F * len; // between barbs along the shaft
  const float width = 0.22F * len;   // base of a pennant
  const float calm = 0.15F * len;    // radius of the calm circle
  // On a map, barbs are cut at its outline; a station off the map has none.
  const vector::MapOutline outline;
  std::map<int, std::vector<const Drawn*>> byIndex;
  for (const Drawn& b : barbs)
    if (outline.covers(b.x, b.y)) byIndex[colours.keyOf(b.magnitude)].push_back(&b);
  for (const auto& [key, list] : byIndex) {
    const int index = colours.lineIndex(key);
    if (index <= 0) continue;
    std::vector<float> pennants;
    {
      ArrowBatch batch(index, colours.rgb(key), true);
      for (const Drawn* b : list) {
        int np = 0, nb = 0, nh = 0;
        const double halves = std::floor(static_cast<double>(b->magnitude) / unit + 0.5);
        if (halves > 1e6) continue;
        const int h = static_cast<int>(halves);
        np = h / 10, nb = h % 10 / 2, nh = h % 2;
        if (h == 0) {
          constexpr int kSides = 16;
          for (int s = 0; s < kSides; ++s) {
            const double a0 = 2 * std::numbers::pi * s / kSides, a1 = 2 * std::numbers::pi * (s + 1) / kSides;
            batch.segment(b->x + calm * static_cast<float>(std::cos(a0)), b->y + calm * static_cast<float>(std::sin(a0)),
                          b->x + calm * static_cast<float>(std::cos(a1)), b->y + calm * static_cast<float>(std::sin(a1)));
          }
          continue;
        }
        // The shaft points to where the wind comes from; d runs from its free end to the station.
        const float dx = b->dx, dy = b->dy;
        const float ex = b->x - dx * len, ey = b->y - dy * len;
        // Barbs on the clockwise side of the shaft (seen from the station) in the
        // northern hemisphere, the other side in the southern one.
        float ux, uy;
        vector::pointU(b->point, ux, uy);
        const bool south = map && uy * rady < 0;
        const float sgn = (south != flip) ? -1.0F : 1.0F;
        const float sx = -dy * sgn, sy = dx * sgn;  // clockwise of (-dx, -dy)
        batch.segment(b->x, b->y, ex, ey);
        float t = 0;
        auto at = [&](float s, float& qx, float& qy) { qx = ex + dx * s, qy = ey + dy * s; };
        for (int k = 0; k < np; ++k) {
          float ax, ay, bx, by;
          at(t, ax, ay);
          at(t + width, bx, by);
          const float px = ax + sx * height, py = ay + sy * height;
          batch.segment(ax, ay, px, py);
          batch.segment(px, py, bx, by);
          pennants.insert(pennants.end(), {ax, ay, px, py, bx, by});
          t += width + (k + 1 == np ? 0.5F * spacing : 0);
        }
        if (np == 0 && nb == 0) t = spacing;  // a lone half barb stands off the end
        for (int k = 0; k < nb + nh; ++k) {
          const float hl = k < nb ? height : 0.5F * height;
          float ax, ay;
          at(t, ax, ay);
          // Slanted away from the station, as barbs are drawn.
          batch.segment(ax, ay, ax + (sx - 0.35F * dx) * hl, ay + (sy - 0.35F * dy) * hl);
          t += spacing;
        }
      }
    }
    const int tone = vector::fillColour(index) * 1000 + 999;
    const vector::FullColourPen pen(colours.rgb(key));
    for (std::size_t k = 0; k + 6 <= pennants.size(); k += 6) outline.fill(&pennants[k], 3, tone);
  }
}

}  // namespace zep
