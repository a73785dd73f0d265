// Legends: entries with a line, marker, line-and-marker, tone or colour sample
// and a text, in the order added, drawn on an opaque box in a corner of the
// viewport or at a given point. Entries belong to one session: they are
// forgotten when the next session opens.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <zep/axes.hpp>
#include <zep/foundation.hpp>
#include <zep/graphics.hpp>
#include <zep/primitives.hpp>
#include <zep/workstation.hpp>

#include "axes/ax_internal.hpp"
#include "foundation/fixed_text.hpp"
#include "graphics/session_hooks.hpp"
#include "primitives/text_state.hpp"

namespace zep {
namespace {

using axes::axInt;
using axes::axReal;

enum class Sample { kNone, kLine, kMarker, kLineMarker, kTone, kColours };

struct Entry {
  Sample sample = Sample::kNone;
  int type = 0;   // line type, marker type or tone pattern
  int index = 0;  // line index
  float size = 0;
  int markerType = 0;  // the marker of a line-and-marker sample
  int markerIndex = 0;
  std::vector<int> colours;  // 0xRRGGBB, left to right
  std::string text;
};

std::vector<Entry>& entries() {
  static std::vector<Entry> e;
  return e;
}

[[maybe_unused]] const bool clearedAtOpen = hooks::onOpen(&axlgcl);

bool systemFont() {
  bool on = false;
  swlget("SYSFONT", on);
  return on;
}

// Width in V of an entry's text as it will be drawn. A system font is measured
// by the workstation, with the markup switch the drawing will have, at the
// size the driver draws. The stroke font is measured glyph by glyph.
float entryTextWidth(const std::string& s, float height) {
  if (!systemFont() || s.empty() || static_cast<unsigned char>(s[0]) <= 18) return axes::textWidth(s, height);
  bool control = false;
  sglget("LCNTL", control);
  sglset("LCNTL", s.find('\\') != std::string::npos);
  const float w = text_engine::drawnWidth(s, height);
  sglset("LCNTL", control);
  return w;
}

bool anySample() {
  return std::any_of(entries().begin(), entries().end(), [](const Entry& e) { return e.sample != Sample::kNone; });
}

// Size of the legend box in V.
void boxSize(float& w, float& h) {
  const float th = axReal("RLEGND"), len = axReal("RLGLEN"), m = 0.5F * th;
  float widest = 0;
  for (const Entry& e : entries()) widest = std::max(widest, entryTextWidth(e.text, th));
  w = m + (anySample() ? len + m : 0) + widest + m;
  h = 2 * m + static_cast<float>(entries().size()) * 1.5F * th;
}

// A row of full colours filling the V rectangle, as an image of the page's pixels.
void colourStrip(const std::vector<int>& colours, float x0, float y0, float x1, float y1) {
  if (colours.empty()) return;
  int ix0 = 0, iy0 = 0, ix1 = 0, iy1 = 0;
  const auto surface = [](float vx, float vy, int& ix, int& iy) {
    float rx = 0, ry = 0, wx = 0, wy = 0;
    stfpr2(vx, vy, rx, ry);
    stfwtr(rx, ry, wx, wy);
    swfint(wx, wy, ix, iy);
  };
  surface(x0, y1, ix0, iy0);  // top left: surface y grows downwards
  surface(x1, y0, ix1, iy1);
  const int left = std::min(ix0, ix1), top = std::min(iy0, iy1);
  const int width = std::abs(ix1 - ix0), height = std::abs(iy1 - iy0);
  if (width <= 0 || height <= 0) return;
  std::vector<int> row(static_cast<std::size_t>(width));
  const auto n = static_cast<long long>(colours.size());
  for (int c = 0; c < width; ++c) row[static_cast<std::size_t>(c)] = colours[static_cast<std::size_t>(c * n / width)];
  swiopn(left, top, width, height);
  for (int r = 0; r < height; ++r) swiclr(row.data(), width);
  swicls();
}

void drawAt(float left, float top) {
  if (entries().empty()) return;
  const axes::ViewportClip unclipped(false);  // a legend placed by V may lie outside
  const float th = axReal("RLEGND"), len = axReal("RLGLEN"), m = 0.5F * th;
  float w = 0, h = 0;
  boxSize(w, h);
  const bool samples = anySample();
  const float bx[] = {left, left + w, left + w, left, left};
  const float by[] = {top, top, top - h, top - h, top};
  // The background hides what lies under the legend, so that no curve runs through its texts.
  if (axes::axLogical("LLGBG") && axInt("ITLGBG") > 0) sgtnzv(4, bx, by, axInt("ITLGBG"));
  if (axes::axLogical("LLGBOX"))
    axes::polyline('V', std::vector<float>(bx, bx + 5), std::vector<float>(by, by + 5), axInt("INDEXB"), 1);
  const int textIndex = axInt("INDEXL");
  float row = top - m - 0.75F * th;
  for (const Entry& e : entries()) {
    const float x0 = left + m;
    const float y0 = row - 0.45F * th, y1 = row + 0.45F * th;
    switch (e.sample) {
      case Sample::kLine:
      case Sample::kLineMarker: {
        const std::vector<float> x{x0, x0 + len}, y{row, row};
        axes::polyline('V', x, y, e.index, e.type);
        if (e.sample == Sample::kLine) break;
        const float mx = x0 + len / 2, my = row;
        sgpmzv(1, &mx, &my, e.markerType, e.markerIndex, e.size);
        break;
      }
      case Sample::kMarker: {
        const float x = x0 + len / 2, y = row;
        sgpmzv(1, &x, &y, e.type, e.index, e.size);
        break;
      }
      case Sample::kTone: {
        const float x[] = {x0, x0 + len, x0 + len, x0};
        const float y[] = {y0, y0, y1, y1};
        sgtnzv(4, x, y, e.type);
        break;
      }
      case Sample::kColours:
        colourStrip(e.colours, x0, y0, x0 + len, y1);
        break;
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
  add({Sample::kLine, itype, index, 0, 0, 0, {}, {}}, text);
}

void axlgmk(int itype, int index, float size, std::string_view text) {
  if (index < 0 || !(size >= 0)) {
    msgdmp("E", "AXLGMK", "MARKER INDEX OR SIZE IS LESS THAN 0.");
    return;
  }
  add({Sample::kMarker, itype, index, size, 0, 0, {}, {}}, text);
}

void axlglm(int index, int itype, int mtype, int mindex, float size, std::string_view text) {
  if (index < 0 || mindex < 0 || !(size >= 0)) {
    msgdmp("E", "AXLGLM", "LINE INDEX, MARKER INDEX OR SIZE IS LESS THAN 0.");
    return;
  }
  add({Sample::kLineMarker, itype, index, size, mtype, mindex, {}, {}}, text);
}

void axlgtn(int itpat, std::string_view text) { add({Sample::kTone, itpat, 0, 0, 0, 0, {}, {}}, text); }

void axlgcm(int n, const int* colours, std::string_view text) {
  if (n < 1 || colours == nullptr) {
    msgdmp("E", "AXLGCM", "NUMBER OF COLOURS IS LESS THAN 1.");
    return;
  }
  for (int i = 0; i < n; ++i)
    if (colours[i] < 0 || colours[i] > 0xFFFFFF) {
      msgdmp("E", "AXLGCM", "COLOUR IS NOT A FULL COLOUR 0XRRGGBB.");
      return;
    }
  add({Sample::kColours, 0, 0, 0, 0, 0, std::vector<int>(colours, colours + n), {}}, text);
}

void axlgtx(std::string_view text) { add({Sample::kNone, 0, 0, 0, 0, 0, {}, {}}, text); }

void axqlgn(int& n) { n = static_cast<int>(entries().size()); }

void axqlgb(std::string_view ccorner, float& vxmin, float& vxmax, float& vymin, float& vymax) {
  vxmin = vxmax = vymin = vymax = 0;
  const std::string_view c = text::trimmed(ccorner);
  const auto is = [&](std::string_view name) { return lchreq(c, name); };
  if (!(is("TR") || is("TL") || is("BR") || is("BL"))) {
    msgdmp("E", "AXQLGB", "CORNER IS INVALID (TR, TL, BR OR BL).");
    return;
  }
  float vx0 = 0, vx1 = 0, vy0 = 0, vy1 = 0;
  sgqvpt(vx0, vx1, vy0, vy1);
  float w = 0, h = 0;
  boxSize(w, h);
  const float inset = 2 * axReal("RGAP");
  const char v = static_cast<char>(std::toupper(static_cast<unsigned char>(c[0])));
  const char u = static_cast<char>(std::toupper(static_cast<unsigned char>(c[1])));
  vxmin = u == 'L' ? vx0 + inset : vx1 - inset - w;
  vymax = v == 'T' ? vy1 - inset : vy0 + inset + h;
  vxmax = vxmin + w;
  vymin = vymax - h;
}

void axlgpv(std::string_view ccorner) {
  const std::string_view c = text::trimmed(ccorner);
  if (!(lchreq(c, "TR") || lchreq(c, "TL") || lchreq(c, "BR") || lchreq(c, "BL"))) {
    msgdmp("E", "AXLGPV", "CORNER IS INVALID (TR, TL, BR OR BL).");
    return;
  }
  float x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  axqlgb(c, x0, x1, y0, y1);
  drawAt(x0, y1);
}

void axlgzv(float vx, float vy) { drawAt(vx, vy); }

}  // namespace zep
