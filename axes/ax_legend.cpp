// Legends: entries with a line, marker or tone sample and a text, in the order
// added, drawn in a box in a corner of the viewport or at a given point.
#include <algorithm>
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
using axes::axReal;

enum class Sample { kNone, kLine, kMarker, kTone };

struct Entry {
  Sample sample = Sample::kNone;
  int type = 0;   // line type, marker type or tone pattern
  int index = 0;  // line index
  float size = 0;
  std::string text;
};

std::vector<Entry>& entries() {
  static std::vector<Entry> e;
  return e;
}


// Size of the legend box in V.
void boxSize(float& w, float& h) {
  const float th = axReal("RLEGND"), len = axReal("RLGLEN"), m = 0.5F * th;
  float widest = 0;
  bool samples = false;
  for (const Entry& e : entries()) {
    widest = std::max(widest, axes::textWidth(e.text, th));
    samples = samples || e.sample != Sample::kNone;
  }
  w = m + (samples ? len + m : 0) + widest + m;
  h = 2 * m + static_cast<float>(entries().size()) * 1.5F * th;
}

void drawAt(float left, float top) {
  if (entries().empty()) return;
  const axes::ViewportClip unclipped(false);  // a legend placed by V may lie outside
  const float th = axReal("RLEGND"), len = axReal("RLGLEN"), m = 0.5F * th;
  float w = 0, h = 0;
  boxSize(w, h);
  bool samples = false;
  for (const Entry& e : entries()) samples = samples || e.sample != Sample::kNone;
  bool box = true;
  axlget("LLGBOX", box);
  if (box) {
    const std::vector<float> x{left, left + w, left + w, left, left};
    const std::vector<float> y{top, top, top - h, top - h, top};
    axes::polyline('V', x, y, axInt("INDEXB"), 1);
  }
  const int textIndex = axInt("INDEXL");
  float row = top - m - 0.75F * th;
  for (const Entry& e : entries()) {
    const float x0 = left + m;
    switch (e.sample) {
      case Sample::kLine: {
        const std::vector<float> x{x0, x0 + len}, y{row, row};
        axes::polyline('V', x, y, e.index, e.type);
        break;
      }
      case Sample::kMarker: {
        const float x = x0 + len / 2, y = row;
        sgpmzv(1, &x, &y, e.type, e.index, e.size);
        break;
      }
      case Sample::kTone: {
        const float y0 = row - 0.45F * th, y1 = row + 0.45F * th;
        const float x[] = {x0, x0 + len, x0 + len, x0};
        const float y[] = {y0, y0, y1, y1};
        sgtnzv(4, x, y, e.type);
        break;
      }
      case Sample::kNone:
        break;
    }
    axes::text(x0 + (samples ? len + m : 0), row, e.text, th, 0, -1, textIndex, "AXLGPV");
    row -= 1.5F * th;
  }
}

void add(Entry e, std::string_view text) {
  e.text = std::string(text::trimmed(text));
  entries().push_back(std::move(e));
}

}  // namespace

void axlgcl() { entries().clear(); }

void axlgln(int index, int itype, std::string_view text) {
  if (index < 0) {
    msgdmp("E", "AXLGLN", "LINE INDEX IS LESS THAN 0.");
    return;
  }
  add({Sample::kLine, itype, index, 0, {}}, text);
}

void axlgmk(int itype, int index, float size, std::string_view text) {
  if (index < 0 || !(size >= 0)) {
    msgdmp("E", "AXLGMK", "MARKER INDEX OR SIZE IS LESS THAN 0.");
    return;
  }
  add({Sample::kMarker, itype, index, size, {}}, text);
}

void axlgtn(int itpat, std::string_view text) { add({Sample::kTone, itpat, 0, 0, {}}, text); }

void axlgtx(std::string_view text) { add({Sample::kNone, 0, 0, 0, {}}, text); }

void axlgpv(std::string_view ccorner) {
  const std::string_view c = text::trimmed(ccorner);
  const auto is = [&](std::string_view name) { return lchreq(c, name); };
  if (!(is("TR") || is("TL") || is("BR") || is("BL"))) {
    msgdmp("E", "AXLGPV", "CORNER IS INVALID (TR, TL, BR OR BL).");
    return;
  }
  float vx0 = 0, vx1 = 0, vy0 = 0, vy1 = 0;
  sgqvpt(vx0, vx1, vy0, vy1);
  float w = 0, h = 0;
  boxSize(w, h);
  const float inset = 2 * axReal("RGAP");
  const char v = static_cast<char>(std::toupper(static_cast<unsigned char>(c[0])));
  const char u = static_cast<char>(std::toupper(static_cast<unsigned char>(c[1])));
  const float left = u == 'L' ? vx0 + inset : vx1 - inset - w;
  const float top = v == 'T' ? vy1 - inset : vy0 + inset + h;
  drawAt(left, top);
}

void axlgzv(float vx, float vy) { drawAt(vx, vy); }

}  // namespace zep
