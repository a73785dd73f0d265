// One PNG page drawn in a temporary directory and read back: the page is 900 x
// 650 workstation units inside a 2-pixel border, y upwards; its single frame
// is the centred square 650 x 650 from x = 125.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>

#include <zep/zep.hpp>

#include "support/png_image.hpp"
#include "support/test_support.hpp"

namespace zeptest {

// Draws one page with `draw` on workstation 2 as PNG and returns the path of
// the page; the session is closed afterwards.
inline std::filesystem::path drawPngPageFile(const TempWorkDir& dir, const std::function<void()>& draw) {
  zep::gliset("MSGLEV", 2);
  zep::swiset("IFL", 1);
  zep::sgopn(2);
  zep::sgfrm();
  draw();
  zep::sgcls();
  return dir.path() / "zep_0001.png";
}

// The same page read back.
inline std::unique_ptr<Png> drawPngPage(const std::function<void()>& draw) {
  TempWorkDir dir;
  return std::make_unique<Png>(drawPngPageFile(dir, draw));
}

// Pixel of a V point on that page: truncated (pixelX, pixelY) or rounded
// (pagePx, pagePy) to the pixel grid.
inline int pixelX(double vx) { return static_cast<int>(2 + 125 + 650 * vx); }
inline int pixelY(double vy) { return static_cast<int>(2 + 650 - 650 * vy); }
inline int pagePx(double vx) { return pixelX(vx + 0.5 / 650); }
inline int pagePy(double vy) { return pixelY(vy - 0.5 / 650); }

// Colours equal within `tolerance` in each channel (the driver scales a full
// colour by 256/65535, so a channel may come out one lower).
inline bool sameColour(std::uint32_t a, std::uint32_t b, int tolerance = 2) {
  for (int shift : {16, 8, 0})
    if (std::abs(static_cast<int>((a >> shift) & 0xff) - static_cast<int>((b >> shift) & 0xff)) > tolerance)
      return false;
  return true;
}

// Draws the page and hands it to `check`, whose text (empty when all is well)
// it returns. ZEPTEST_KEEP_PAGES names a directory that keeps the pages for
// looking at, under `name`.
inline std::string onPngPage(const std::string& name, const std::function<void()>& draw,
                             const std::function<std::string(const Png&)>& check) {
  TempWorkDir dir;
  const std::filesystem::path file = drawPngPageFile(dir, draw);
  if (!isPng(file)) return "no PNG page";
  if (const char* keep = std::getenv("ZEPTEST_KEEP_PAGES"))
    std::filesystem::copy_file(file, std::filesystem::path(keep) / (name + ".png"),
                               std::filesystem::copy_options::overwrite_existing);
  const Png png(file);
  if (png.width() != 904 || png.height() != 654) return "page size";
  return check(png);
}

}  // namespace zeptest
