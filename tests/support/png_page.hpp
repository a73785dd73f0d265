// One page drawn to a PNG and read back, and where a V point lands on it.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>

#include <zep/zep.hpp>

#include "support/png_image.hpp"
#include "support/test_support.hpp"

namespace zeptest {

// Draws one page with `draw` on workstation 2 as PNG (900 x 650 pixels) and
// reads the image back; the session is closed afterwards.
inline std::unique_ptr<Png> drawPngPage(const std::function<void()>& draw) {
  TempWorkDir dir;
  zep::gliset("MSGLEV", 2);
  zep::swiset("IFL", 1);
  zep::sgopn(2);
  zep::sgfrm();
  draw();
  zep::sgcls();
  return std::make_unique<Png>(dir.path() / "zep_0001.png");
}

// Pixel of a V point on that page: the centred square of 650 x 650 pixels
// inside a 2-pixel border.
inline int pixelX(double vx) { return static_cast<int>(2 + 125 + 650 * vx); }
inline int pixelY(double vy) { return static_cast<int>(2 + 650 - 650 * vy); }

// Colours equal within `tolerance` in each channel (the driver scales a full
// colour by 256/65535, so a channel may come out one lower).
inline bool sameColour(std::uint32_t a, std::uint32_t b, int tolerance = 2) {
  for (int shift : {16, 8, 0})
    if (std::abs(static_cast<int>((a >> shift) & 0xff) - static_cast<int>((b >> shift) & 0xff)) > tolerance)
      return false;
  return true;
}

}  // namespace zeptest
