// One PNG page drawn in a temporary directory and read back: the page is 900 x
// 650 workstation units inside a 2-pixel border, y upwards; its single frame
// is the centred square 650 x 650 from x = 125.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>

#include <zep/zep.hpp>

#include "support/png_image.hpp"
#include "support/test_support.hpp"

namespace zeptest {

// Pixel column and row of a V point on that page.
inline int pagePx(double vx) { return static_cast<int>(2 + 125 + 650 * vx + 0.5); }
inline int pagePy(double vy) { return static_cast<int>(2 + 650 - 650 * vy + 0.5); }

// Opens a PNG session, runs `draw` in its one frame and hands the page to
// `check`, whose text (empty when all is well) it returns. ZEPTEST_KEEP_PAGES
// names a directory that keeps the pages for looking at, under `name`.
inline std::string onPngPage(const std::string& name, const std::function<void()>& draw,
                             const std::function<std::string(const Png&)>& check) {
  TempWorkDir dir;
  zep::gliset("MSGLEV", 2);
  zep::swiset("IFL", 1);
  zep::sgopn(2);
  zep::sgfrm();
  draw();
  zep::sgcls();
  const std::filesystem::path file = dir.path() / "zep_0001.png";
  if (!isPng(file)) return "no PNG page";
  if (const char* keep = std::getenv("ZEPTEST_KEEP_PAGES"))
    std::filesystem::copy_file(file, std::filesystem::path(keep) / (name + ".png"),
                               std::filesystem::copy_options::overwrite_existing);
  const Png png(file);
  if (png.width() != 904 || png.height() != 654) return "page size";
  return check(png);
}

}  // namespace zeptest
