// The text engine: one string at a point in V, drawn by the workstation with a
// system font or here with the loaded stroke font; and text widths.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "foundation/fixed_text.hpp"
#include "foundation/parameter_handle.hpp"
#include "graphics/transform_queries.hpp"
#include "primitives/line_pipeline.hpp"
#include "primitives/stroke_font.hpp"
#include "primitives/text_markup.hpp"
#include "primitives/text_state.hpp"

namespace zep {
namespace {

using text_engine::TextState;
using text_engine::textState;

// Marker codes run up to 17; a string that starts with one of them keeps the
// stroke font's marker glyphs unless the system font provides markers.
constexpr int kLastMarkerCode = 18;

// Read for every string.
bool systemFont() {
  static ParameterHandle<bool, swlqid, swlqvl> sysfont("SYSFONT");
  return sysfont.get();
}

bool markersFromSystemFont() {
  static ParameterHandle<bool, sglqid, sglqvl> markfont("MARKFONT");
  return markfont.get();
}

// Stroke-font text given as UTF-8 becomes font codes (LUTF8); programs that
// write raw font codes may switch the decoding off.
std::string strokeCodes(std::string_view text) {
  static ParameterHandle<bool, swlqid, swlqvl> utf8("LUTF8");
  const bool decode = utf8.get();
  return decode ? text_engine::decodeUtf8(text) : std::string(text);
}

// Workstation units per V along x, as system-font text is sized with.
float wPerV() {
  float rxmin = 0, rxmax = 0, rymin = 0, rymax = 0, wxmin = 0, wxmax = 0, wymin = 0, wymax = 0;
  int iwtrf = 0;
  stqwtr(rxmin, rxmax, rymin, rymax, wxmin, wxmax, wymin, wymax, iwtrf);
  return (wxmax - wxmin) / (rxmax - rxmin);
}

int firstCode(std::string_view text) { return text.empty() ? ' ' : static_cast<unsigned char>(text[0]); }

int weightOf(int index) { return std::max(1, index % 10); }

// The system font for the current text: FONTNAME when it is given, otherwise a
// family that matches the stroke font number and the proportional flag.
void selectSystemFont(int index) {
  std::string name(80, ' ');
  swcget("FONTNAME", name);
  if (!text::trimmed(name).empty()) {
    swftfc(name);
    return;
  }
  int font = 1;
  bool proportional = true;
  sgiget("IFONT", font);
  sglget("LFPROP", proportional);
  if (proportional && font != 1 && font != 2) msgdmp("E", "SZINIT", "FONT NUMBER IS OUT OF RANGE.");
  swftfc(!proportional ? "Monospace" : font == 2 ? "Serif" : "Sans");
  swsfw(weightOf(index));
}

// Width (in heights) and height factor of a string of stroke-font characters.
void strokeExtent(std::string_view text, int& nc, float& wxch, float& wych) {
  const text_engine::TextControls controls = text_engine::readTextControls();
  if (!controls.enabled) {
    float sum = 0;
    for (char c : text) {
      const auto k = static_cast<unsigned char>(c);
      sum += (stroke_font::rightExtent(k) - stroke_font::leftExtent(k)) / 24.0F;
    }
    wxch = sum;
    wych = 1;
    return;
  }
  const int sup = controls.superscript, sub = controls.subscript, reset = controls.reset;
  const float small = controls.small, shift = controls.shift;
  nc = 0;

  auto code = [](char c) { return static_cast<int>(static_cast<unsigned char>(c)); };
  auto count = [&](std::size_t from, std::size_t to, int what) {
    return static_cast<int>(std::count_if(text.begin() + static_cast<std::ptrdiff_t>(from),
                                          text.begin() + static_cast<std::ptrdiff_t>(to),
                                          [&](char c) { return code(c) == what; }));
  };
  int supContent = 0, subContent = 0;
  bool agreed = count(0, text.size(), reset) == count(0, text.size(), sup) + count(0, text.size(), sub);
  for (std::size_t pos = 0; agreed && pos < text.size();) {
    std::size_t r = pos;
    while (r < text.size() && code(text[r]) != reset) ++r;
    if (r == text.size()) break;
    const bool oneSup = count(pos, r, sup) == 1;
    const bool oneSub = count(pos, r, sub) == 1;
    if (oneSup == oneSub) {
      agreed = false;
      break;
    }
    const int script = oneSup ? sup : sub;
    std::size_t s = pos;
    while (code(text[s]) != script) ++s;
    const int content = static_cast<int>(r - s - 1);
    if (content == 0) {
      msgdmp("E", "SZQTXW", oneSup ? "NO VALID SUP CHARACTER." : "NO VALID SUB CHARACTER.");
    } else {
      (oneSup ? supContent : subContent) += content;
    }
    pos = r + 1;
  }
  if (!agreed) msgdmp("E", "SZQTXW", "CONTROL CHARACTERS ARE NOT IN GOOD AGREEMENT.");

  float sum = 0, ratio = 1;
  for (char c : text) {
    const int k = code(c);
    if (k == sup || k == sub) {
      ratio = small;
    } else if (k == reset) {
      ratio = 1;
    } else {
      const auto u = static_cast<unsigned char>(c);
      sum += (stroke_font::rightExtent(u) - stroke_font::leftExtent(u)) / 24.0F * ratio;
    }
  }
  wxch = sum;
  const float dz = std::max(0.0F, small / 2 + shift - 0.5F);
  wych = 1 + (supContent > 0 ? dz : 0) + (subContent > 0 ? dz : 0);
}

std::string integerField(float value) {
  // Truncated like an integer conversion; far-off points cannot overflow it.
  const double v = std::isnan(value) ? 0.0 : std::clamp(static_cast<double>(value), -1.0e9, 1.0e9);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%8d", static_cast<int>(v));
  std::string s(buf);
  return s.size() > 8 ? std::string(8, '*') : s;
}

// The descriptive copy of a stroke-font string for the workstation object: the
// characters the object text cannot carry as they are become "%" and three digits.
std::string encodedCopy(std::string_view converted) {
  std::string out;
  for (char c : converted) {
    const int k = static_cast<unsigned char>(c);
    if (k < 32 || k > 127 || c == '%') {
      char buf[8];
      std::snprintf(buf, sizeof buf, "%%%03d", k);
      out += buf;
    } else {
      out += c;
    }
  }
  return out;
}

bool validControlCodes(const TextState& s) {
  for (int code : {s.superscript, s.subscript, s.reset})
    if (code < 0 || code > 255) {
      msgdmp("E", "SZTXWV", "CONTROL CHARACTER CODE IS OUT OF RANGE (0-255).");
      return false;
    }
  return true;
}

// A glyph's strokes in glyph units (u to the right of its origin, v up), line
// after line, with their bounding box; made once per font.
struct Outline {
  std::vector<int> counts;
  std::vector<float> u, v;
  float umin = 0, umax = 0, vmin = 0, vmax = 0;
};

const Outline& outline(unsigned char code) {
  static std::array<Outline, stroke_font::kGlyphs> outlines;
  static std::array<int, stroke_font::kGlyphs> madeFor{};  // font generation + 1; 0: not made
  const int generation = stroke_font::generation() + 1;
  Outline& o = outlines[code];
  if (madeFor[code] == generation) return o;
  madeFor[code] = generation;
  o = Outline{};
  const stroke_font::Tables& t = stroke_font::tables();
  bool penDown = false;
  for (auto j = static_cast<std::size_t>(t.index[code]); j < t.x.size(); ++j) {
    const int bx = t.x[j], by = t.y[j];
    if (bx == 0 && by == 0) break;
    if (bx == 0) {
      penDown = false;
      continue;
    }
    if (!penDown) o.counts.push_back(0);
    ++o.counts.back();
    o.u.push_back(static_cast<float>(bx - stroke_font::kBias));
    o.v.push_back(-static_cast<float>(by - stroke_font::kBias));
    penDown = true;
  }
  if (!o.u.empty()) {
    const auto [u0, u1] = std::minmax_element(o.u.begin(), o.u.end());
    const auto [v0, v1] = std::minmax_element(o.v.begin(), o.v.end());
    o.umin = *u0;
    o.umax = *u1;
    o.vmin = *v0;
    o.vmax = *v1;
  }
  return o;
}

struct Box {
  float xmin = 0, xmax = 0, ymin = 0, ymax = 0;
  bool holds(float x, float y) const { return x > xmin && x < xmax && y > ymin && y < ymax; }
};

// How the glyphs of one string may reach the workstation whole, without the
// line pipeline: where no perspective view bends them, V to W is a scale
// (turned by 90 degrees for turned output), and a glyph that no clipping
// rectangle cuts keeps every stroke.
struct GlyphPlacement {
  bool usable = false;
  double wxx = 0, wxy = 0, wyx = 0, wyy = 0;  // V to W, without the shift
  Box window;                                 // the workstation window in R (= V)
  bool clip = false;                          // the viewport clips the text (LCLIP)
  Box viewport;
};

// `mapped`: the workstation transformation mapped the string's point (else
// the strokes report what is missing, once).
GlyphPlacement placement(bool mapped) {
  GlyphPlacement p;
  if (!mapped || transform::perspectiveViewOn()) return p;
  float rxmin = 0, rxmax = 0, rymin = 0, rymax = 0, wxmin = 0, wxmax = 0, wymin = 0, wymax = 0;
  int iwtrf = 1;
  stqwtr(rxmin, rxmax, rymin, rymax, wxmin, wxmax, wymin, wymax, iwtrf);
  const double cx = (wxmax - wxmin) / (rxmax - rxmin), cy = (wymax - wymin) / (rymax - rymin);
  if (iwtrf == 1) {
    p.wxx = cx;
    p.wyy = cy;
  } else {
    p.wxy = cy;
    p.wyx = -cx;
  }
  szqcll(p.window.xmin, p.window.xmax, p.window.ymin, p.window.ymax, 0);
  p.clip = pipeline::lineState().clipText;
  if (p.clip) szqcll(p.viewport.xmin, p.viewport.xmax, p.viewport.ymin, p.viewport.ymax, 1);
  p.usable = std::isfinite(cx) && std::isfinite(cy);
  return p;
}

// Hands the glyph at (xc, yc) in V, scaled by f, to the workstation to be
// painted whole; false when it must go through the line pipeline instead.
bool paintGlyph(unsigned char code, float xc, float yc, float f, const TextState& s, const GlyphPlacement& p) {
  if (!p.usable) return false;
  const Outline& o = outline(code);
  // Glyph units to V: f R(u, v); the corners of the box bound the strokes.
  const float cs = f * s.cosScaled, sn = f * s.sinScaled;
  for (float u : {o.umin, o.umax}) {
    for (float v : {o.vmin, o.vmax}) {
      const float x = xc + cs * u - sn * v, y = yc + sn * u + cs * v;
      if (!p.window.holds(x, y) || (p.clip && !p.viewport.holds(x, y))) return false;
    }
  }
  float wx = 0, wy = 0;
  stfwtr(xc, yc, wx, wy);
  const double a = p.wxx * cs + p.wxy * sn, b = -p.wxx * sn + p.wxy * cs;
  const double c = p.wyx * cs + p.wyy * sn, d = -p.wyx * sn + p.wyy * cs;
  const long long shape = static_cast<long long>(stroke_font::generation()) * stroke_font::kGlyphs + code;
  return swglyph(shape, wx, wy, a, b, c, d, static_cast<int>(o.counts.size()), o.counts.data(), o.u.data(),
                 o.v.data());
}

void drawGlyph(unsigned char code, float xc, float yc, float f, const TextState& s) {
  const stroke_font::Tables& t = stroke_font::tables();
  szopsv();
  bool penDown = false;
  // The loader made sure that every glyph ends inside the arrays.
  for (auto j = static_cast<std::size_t>(t.index[code]); j < t.x.size(); ++j) {
    const int bx = t.x[j], by = t.y[j];
    if (bx == 0 && by == 0) break;
    if (bx == 0) {
      penDown = false;
      continue;
    }
    const float u = f * static_cast<float>(bx - stroke_font::kBias);
    const float v = -f * static_cast<float>(by - stroke_font::kBias);
    const float x = xc + s.cosScaled * u - s.sinScaled * v;
    const float y = yc + s.sinScaled * u + s.cosScaled * v;
    penDown ? szplsv(x, y) : szmvsv(x, y);
    penDown = true;
  }
  szclsv();
}

void strokeText(float vx, float vy, std::string_view text) {
  const TextState& s = textState();
  if (!stroke_font::ensureLoaded() || !validControlCodes(s)) return;
  const std::string converted = text_engine::convertMarkup(strokeCodes(text), s.superscript, s.subscript, s.reset);
  int nc = 0;
  float wxch = 0, wych = 0;
  strokeExtent(std::string_view(converted).substr(0, static_cast<std::size_t>(lenc(converted))), nc, wxch, wych);

  const std::string encoded = encodedCopy(converted);
  if (encoded.size() >= 80) {
    msgdmp("E", "SZTXWV", "STRING LENGTH TOO LONG. CONSIDER USING SYSTEM FONT.");
    return;
  }
  float wx = 0, wy = 0;
  stfwtr(vx, vy, wx, wy);
  std::string position = integerField(wx) + integerField(wy);
  cdblk(position);
  swoopn("SZTXZ", std::string(text::trimmed(position)) + " \"" + encoded + "\"");

  // Glyph units to V: R(u, v) = (cs u - sn v, sn u + cs v).
  const float cs = s.cosScaled, sn = s.sinScaled;
  const float offset = -static_cast<float>(s.centring + 1) * wxch * 24.0F / 2.0F;
  float xc = vx + cs * offset;
  float yc = vy + sn * offset;
  static ParameterHandle<float, glrqid, glrqvl> rundef("RUNDEF");
  const GlyphPlacement glyphs = placement(!(wx == rundef.get() && wy == rundef.get()));
  int mode = 0, previousMode = 0;
  float f = 1, e = 0;
  for (char c : converted) {
    const auto k = static_cast<unsigned char>(c);
    if (s.controlChars) {
      if (k == s.subscript) {
        mode = -1;
        f = s.small;
        continue;
      }
      if (k == s.superscript) {
        mode = 1;
        f = s.small;
        continue;
      }
      if (k == s.reset) {
        mode = 0;
        f = 1;
        continue;
      }
    }
    const float l = stroke_font::leftExtent(k);
    float dx = 0, dy = 0;
    if (mode == previousMode) {
      dx = (e - l) * (mode != 0 ? s.small : 1.0F);
    } else {
      if (mode == 0) dx = s.small * e - l;
      else if (previousMode == 0) dx = e - s.small * l;
      else dx = (e - l) * s.small;
      dy = static_cast<float>(mode - previousMode) * s.shift * 24.0F;
    }
    previousMode = mode;
    xc += cs * dx - sn * dy;
    yc += sn * dx + cs * dy;
    e = stroke_font::rightExtent(k);
    if (!paintGlyph(k, xc, yc, f, s, glyphs)) drawGlyph(k, xc, yc, f, s);
  }
  swocls("SZTXZ");
}

}  // namespace

void sztxwv(float vx, float vy, std::string_view text) {
  if (!std::isfinite(vx) || !std::isfinite(vy)) {
    msgdmp("M", "SZTXWV", "TEXT POSITION IS NOT FINITE / DO NOTHING.");
    return;
  }
  if (systemFont()) {
    const TextState& s = textState();
    int index = 0;
    szqidx(index);
    selectSystemFont(index);
    const int k = firstCode(text);
    if (k > kLastMarkerCode || markersFromSystemFont()) {
      const int n = lenc(text);
      float wx = 0, wy = 0;
      stfwtr(vx, vy, wx, wy);
      if (index > 9) swscli(index / 10);
      if (k < kLastMarkerCode) swsfw(weightOf(index));
      swtxt(wx, wy, s.scale * wPerV(), text, n, s.angle, s.centring);
      return;
    }
  }
  strokeText(vx, vy, text);
}

float text_engine::drawnWidth(std::string_view text, float height) {
  int nc = 0;
  float wxch = 0, wych = 0;
  szqtxw(text, nc, wxch, wych);
  const int k = firstCode(text);
  if (!systemFont() || !(k > kLastMarkerCode || markersFromSystemFont())) return wxch * height;
  // The workstation measures per point of font size, and the driver draws
  // whole points: int(26 x size), the size being what sztxwv hands swtxt
  // (the height in W over 24). The ratio 26/24 alone would be the widest the
  // text can come out, not its width.
  const float rate = wPerV();
  if (!(rate > 0.0F) || !std::isfinite(rate)) return wxch * height;
  const float size = height / 24.0F * rate;  // in float, as sztxwv computes it
  const double points = std::floor(std::clamp(26.0 * size, 0.0, 1.0e5));
  return static_cast<float>(wxch * points / rate);
}

void szqtxw(std::string_view text, int& nc, float& wxch, float& wych) {
  int ncnt = 0;
  szfint(ncnt);
  const int n = lenc(text);
  if (systemFont()) {
    int index = 0;
    szqidx(index);
    selectSystemFont(index);
    const int k = firstCode(text);
    if (k > kLastMarkerCode || markersFromSystemFont()) {
      if (k < kLastMarkerCode) swsfw(weightOf(index));
      swqtxw(text, n, wxch, wych);
      return;
    }
  }
  strokeExtent(strokeCodes(text.substr(0, static_cast<std::size_t>(n))), nc, wxch, wych);
}

}  // namespace zep
