// Stroke-font text on a PNG page: the strokes land where the text belongs.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include <zep/zep.hpp>

#include "support/png_image.hpp"
#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;

// The page is 900 x 650 workstation units inside a 2-pixel border, y upwards;
// the single frame is the centred square 650 x 650 from x = 125.
int px(double vx) { return static_cast<int>(2 + 125 + 650 * vx + 0.5); }
int py(double vy) { return static_cast<int>(2 + 650 - 650 * vy + 0.5); }

int inkIn(const zeptest::Png& png, double vx0, double vy0, double vx1, double vy1) {
  const int x0 = px(vx0), x1 = px(vx1), y0 = py(vy1), y1 = py(vy0);
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      if (png.pixel(x, y) != 0xFFFFFF) ++n;
  return n;
}

TEST(TextPicture, StrokeTextOnAPngPage) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zep::gliset("MSGLEV", 2);
    zep::swiset("IFL", 1);
    zep::sgopn(2);
    zep::sgfrm();
    // "H" 0.24 high centred at (0.3, 0.7); "T" turned by 90 degrees from (0.7, 0.2),
    // in colour 2; a superscript 2 after an "x" at (0.2, 0.3).
    zep::sgtxzv(0.3F, 0.7F, "H", 0.24F, 0, 0, 1);
    zep::sgtxzv(0.7F, 0.2F, "T", 0.24F, 90, -1, 21);
    zep::sglset("LCNTL", true);
    zep::sgtxzv(0.2F, 0.3F, "x\\^2", 0.2F, 0, -1, 1);
    zep::sgcls();
    const fs::path page = dir.path() / "zep_0001.png";
    if (!zeptest::isPng(page)) return std::string("no PNG page");
    const zeptest::Png png(page);
    if (png.width() != 904 || png.height() != 654) return std::string("page size");
    std::string failure;
    // The H: two uprights about 0.07 to either side of the point, and a bar
    // through it; caps are 21/24 of the height (0.21), centred on the point.
    if (inkIn(png, 0.21, 0.62, 0.25, 0.78) < 40) failure += "left upright of H\n";
    if (inkIn(png, 0.35, 0.62, 0.39, 0.78) < 40) failure += "right upright of H\n";
    if (inkIn(png, 0.27, 0.69, 0.33, 0.72) < 10) failure += "bar of H\n";
    if (inkIn(png, 0.26, 0.73, 0.34, 0.82) > 0) failure += "ink inside the H above the bar\n";
    if (inkIn(png, 0.15, 0.83, 0.45, 0.95) > 0 || inkIn(png, 0.15, 0.45, 0.45, 0.58) > 0)
      failure += "ink above or below the H\n";
    // The turned T runs upwards from the point: its top bar stands left of the
    // point's x, its stem reaches right; nothing lies below the point. It is
    // drawn in colour 2 (red), the H in black.
    if (inkIn(png, 0.57, 0.22, 0.62, 0.34) < 40) failure += "top bar of the turned T\n";
    if (inkIn(png, 0.70, 0.26, 0.79, 0.30) < 20) failure += "stem of the turned T\n";
    if (inkIn(png, 0.50, 0.05, 0.90, 0.19) > 0) failure += "ink below the turned T\n";
    const std::uint32_t red = png.pixel(px(0.75), py(0.28)) != 0xFFFFFF ? png.pixel(px(0.75), py(0.28)) : png.pixel(px(0.75), py(0.28) + 1);
    if (((red >> 16) & 0xFF) < ((red >> 8) & 0xFF) + 100) failure += "the turned T is not red\n";
    // x and its superscript: the 2 sits higher than the x.
    if (inkIn(png, 0.2, 0.2, 0.36, 0.38) < 40) failure += "x\n";
    if (inkIn(png, 0.36, 0.33, 0.46, 0.45) < 20) failure += "superscript 2\n";
    if (inkIn(png, 0.36, 0.2, 0.46, 0.26) > 0) failure += "superscript drawn low\n";
    return failure;
  });
}

}  // namespace
