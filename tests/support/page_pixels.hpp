// Where things land on the default PNG page: colours of the default colormap
// and the pixel of a V or U point in the one frame of a 900 x 650 page.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>

#include <zep/zep.hpp>

#include "support/test_support.hpp"

namespace zeptest {

// The colour of colour index c, from the default colormap file itself.
inline std::uint32_t colourOf(int c) {
  const auto lines = readLines(std::filesystem::path(ZEP_BUILD_DATA_DIR) / "colormap.x11");
  unsigned r = 0, g = 0, b = 0;
  std::sscanf(lines.at(static_cast<std::size_t>(c) + 1).c_str(), "%u %u %u", &r, &g, &b);
  return ((r / 257) << 16) | ((g / 257) << 8) | (b / 257);
}

// One frame on a 900 x 650 page (2-pixel border): the centred square 650 x 650.
inline int pixelX(double vx) { return static_cast<int>(std::floor(2 + 125 + 650 * vx)); }
inline int pixelY(double vy) { return static_cast<int>(std::floor(2 + 650 - 650 * vy)); }

struct PagePixel {
  int x = 0, y = 0;
  bool onMap = false;  // the transformation has an image of the point inside the viewport
};

// Where the current transformation puts a U point.
inline PagePixel pixelOfU(float ux, float uy) {
  float vx = 0, vy = 0, rundef = 0, x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  zep::glrget("RUNDEF", rundef);
  zep::stftrf(ux, uy, vx, vy);
  zep::sgqvpt(x0, x1, y0, y1);
  const bool on = vx != rundef && std::isfinite(vx) && vx > x0 && vx < x1 && vy > y0 && vy < y1;
  return {pixelX(vx), pixelY(vy), on};
}

}  // namespace zeptest
