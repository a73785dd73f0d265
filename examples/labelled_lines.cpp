// Labelled lines: contour-like circles and a wave, each carrying its value in
// gaps along the line, the labels turned along it and kept upright.
#include <cmath>
#include <cstdio>
#include <numbers>

#include <zep/zep.hpp>

int main() {
  constexpr float kPi = std::numbers::pi_v<float>;
  zep::sgopn(2);
  zep::sgfrm();
  zep::sgsvpt(0.1F, 0.9F, 0.1F, 0.9F);
  zep::sgswnd(-1, 1, -1, 1);
  zep::sgstrf();
  zep::sglset("LCHAR", true);
  zep::sgrset("CWL", 12.0F);
  for (int k = 1; k <= 4; ++k) {
    const float r = 0.22F * static_cast<float>(k);
    char text[8];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(r));
    zep::szschz(text, 0.018F);
    zep::sgslni(10 * (k + 1) + 2);
    // One polyline per circle: open the primitive once, then move and draw.
    zep::szlnop(10 * (k + 1) + 2);
    zep::szoplu();
    for (int i = 0; i <= 120; ++i) {
      const float a = 2 * kPi * static_cast<float>(i) / 120.0F;
      i == 0 ? zep::szmvlu(r * std::cos(a), r * std::sin(a)) : zep::szpllu(r * std::cos(a), r * std::sin(a));
    }
    zep::szcllu();
    zep::szlncl();
  }
  zep::szschz("WAVE", 0.02F);
  zep::szlnop(13);
  zep::szoplu();
  for (int i = 0; i <= 200; ++i) {
    const float x = -1 + 0.01F * static_cast<float>(i);
    i == 0 ? zep::szmvlu(x, 0.9F * std::sin(3 * x)) : zep::szpllu(x, 0.9F * std::sin(3 * x));
  }
  zep::szcllu();
  zep::szlncl();
  zep::sgcls();
  return 0;
}
