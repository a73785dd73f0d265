// Drawing helpers of the axis package: polylines and texts through the kernel's
// primitives, text widths with the backslash markup, and temporary clipping.
#include <string>
#include <vector>

#include <zep/axes.hpp>
#include <zep/graphics.hpp>
#include <zep/primitives.hpp>

#include "axes/ax_internal.hpp"

namespace zep::axes {

void polyline(char level, const std::vector<float>& x, const std::vector<float>& y, int index, int itype) {
  // An index of 0 draws nothing, quietly: frames switch parts off that way.
  if (index <= 0 || x.size() < 2 || x.size() != y.size()) return;
  const int n = static_cast<int>(x.size());
  if (level == 'U') sgplzu(n, x.data(), y.data(), itype, index);
  else sgplzv(n, x.data(), y.data(), itype, index);
}

void text(float vx, float vy, std::string_view s, float height, int angle, int centring, int index) {
  if (index <= 0 || !(height > 0) || s.find_first_not_of(' ') == std::string_view::npos) return;
  // Labels and titles lie outside the viewport: a program's clipping must not cut them.
  const ViewportClip unclipped(false);
  // The markup becomes control characters, which draw as scripts only with LCNTL.
  bool control = false;
  const bool markup = s.find('\\') != std::string_view::npos;
  if (markup) {
    sglget("LCNTL", control);
    sglset("LCNTL", true);
  }
  sgtxzv(vx, vy, s, height, angle, centring, index);
  if (markup) sglset("LCNTL", control);
}

float textWidth(std::string_view s, float height) {
  bool control = false;
  sglget("LCNTL", control);
  sglset("LCNTL", false);
  float small = 0.7F;
  sgrget("SMALL", small);
  // Plain pieces are measured as they are; the content of \^ and \_ at script size.
  float width = 0;
  const auto measure = [&](const std::string& piece, float factor) {
    if (piece.empty()) return;
    int nc = 0;
    float wx = 0, wy = 0;
    // Trailing blanks would be cut by the measurement; they count as a narrow glyph.
    std::string p = piece;
    for (auto it = p.rbegin(); it != p.rend() && *it == ' '; ++it) *it = 'i';
    szqtxw(p, nc, wx, wy);
    width += wx * factor;
  };
  std::string plain;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 >= s.size()) {
      plain += s[i];
      continue;
    }
    const char c = s[i + 1];
    if (c == '\\') {
      plain += '\\';
      ++i;
      continue;
    }
    if (c != '^' && c != '_') {
      ++i;
      continue;
    }
    measure(plain, 1);
    plain.clear();
    i += 2;
    std::string script;
    if (i < s.size() && s[i] == '{') {
      for (++i; i < s.size() && s[i] != '}'; ++i) script += s[i];
    } else if (i < s.size()) {
      script += s[i];
    }
    measure(script, small);
  }
  measure(plain, 1);
  sglset("LCNTL", control);
  return width * height;
}

ViewportClip::ViewportClip(bool on) {
  sglget("LCLIP", previous_);
  sglset("LCLIP", on);
}

ViewportClip::~ViewportClip() { sglset("LCLIP", previous_); }

std::vector<LabelBox>& mapLabels() {
  static std::vector<LabelBox> labels;
  return labels;
}

}  // namespace zep::axes
