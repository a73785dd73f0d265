// Drawing helpers of the axis package: polylines and texts through the kernel's
// primitives, texts and their widths through the figure layer's text, and
// temporary clipping.
#include <string>
#include <vector>

#include <zep/axes.hpp>
#include <zep/graphics.hpp>
#include <zep/primitives.hpp>

#include "axes/ax_internal.hpp"
#include "graphics/session_hooks.hpp"
#include "primitives/figure_text.hpp"

namespace zep::axes {

void polyline(char level, const std::vector<float>& x, const std::vector<float>& y, int index, int itype) {
  // An index of 0 draws nothing, quietly: frames switch parts off that way.
  if (index <= 0 || x.size() < 2 || x.size() != y.size()) return;
  const int n = static_cast<int>(x.size());
  if (level == 'U') sgplzu(n, x.data(), y.data(), itype, index);
  else sgplzv(n, x.data(), y.data(), itype, index);
}

void text(float vx, float vy, std::string_view s, float height, int angle, int centring, int index,
          std::string_view routine) {
  // Labels and titles lie outside the viewport: a program's clipping must not
  // cut them, and a caller's text (any length, markup, "_" or "|") must not end
  // the program.
  figure_text::draw(vx, vy, s, height, angle, centring, index, routine);
}

float textWidth(std::string_view s, float height) { return figure_text::width(s, height, "AXPFRM"); }

ViewportClip::ViewportClip(bool on) {
  sglget("LCLIP", previous_);
  sglset("LCLIP", on);
}

ViewportClip::~ViewportClip() { sglset("LCLIP", previous_); }

std::vector<LabelBox>& mapLabels() {
  static std::vector<LabelBox> labels;
  return labels;
}

namespace {
// The boxes describe a map of the session that drew it; a new session has none yet.
void forgetMapLabels() { mapLabels().clear(); }
[[maybe_unused]] const bool forgottenAtOpen = hooks::onOpen(&forgetMapLabels);
}  // namespace

}  // namespace zep::axes
