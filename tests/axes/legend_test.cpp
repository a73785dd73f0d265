// Legends: an opaque box over what was drawn before, line-and-marker and
// full-colour samples, boxes that hold their system-font texts, and entries
// that do not outlive their session.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "support/png_page.hpp"
#include "support/recording_port.hpp"
#include "support/test_support.hpp"

namespace {

using zeptest::pagePx;
using zeptest::pagePy;

void unitFrame() {
  zep::sgsvpt(0.2F, 0.8F, 0.2F, 0.8F);
  zep::sgswnd(0, 1, -1, 1);
  zep::sgstrn(1);
  zep::sgstrf();
}

bool reddish(std::uint32_t c) {
  const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
  return r > g + 60 && r > b + 60;
}

// The legend box in pixels: left, right, top, bottom.
struct PixelBox {
  int x0, x1, y0, y1;
};
PixelBox legendBox() {
  float vx0 = 0, vx1 = 0, vy0 = 0, vy1 = 0;
  zep::axqlgb("TR", vx0, vx1, vy0, vy1);
  return {pagePx(vx0), pagePx(vx1), pagePy(vy1), pagePy(vy0)};
}

TEST(Legend, OpaqueBoxHidesADenseCurveUnderIt) {
  ZEP_EXPECT_ISOLATED([] {
    PixelBox box{};
    return zeptest::onPngPage(
        "legend_over_curve",
        [&] {
          unitFrame();
          std::vector<float> x, y;
          for (int i = 0; i < 3000; ++i) {
            x.push_back(static_cast<float>(i) / 2999);
            y.push_back(0.98F * std::sin(400 * x.back()));
          }
          zep::sgplzu(3000, x.data(), y.data(), 1, 21);  // red, densely over the whole viewport
          zep::axlgln(41, 1, "COLOUR 4");
          zep::axlglm(41, 2, 11, 41, 0.015F, "LINE AND MARKER");
          zep::axlgtx("TEXT ONLY");
          box = legendBox();
          zep::axlgpv("TR");
        },
        [&](const zeptest::Png& png) {
          std::string f;
          int inside = 0, beside = 0;
          for (int y = box.y0 + 2; y <= box.y1 - 2; ++y) {
            for (int x = box.x0 + 2; x <= box.x1 - 2; ++x) inside += reddish(png.pixel(x, y)) ? 1 : 0;
            for (int x = box.x0 - 40; x < box.x0 - 2; ++x) beside += reddish(png.pixel(x, y)) ? 1 : 0;
          }
          if (inside > 0) f += "curve pixels inside the legend: " + std::to_string(inside) + "\n";
          if (beside < 100) f += "no curve beside the legend to hide\n";
          return f;
        });
  });
}

TEST(Legend, LineWithMarkerAndFullColourSamples) {
  ZEP_EXPECT_ISOLATED([] {
    float top = 0, left = 0;
    return zeptest::onPngPage(
        "legend_samples",
        [&] {
          unitFrame();
          zep::axlglm(21, 1, 11, 31, 0.02F, "RED LINE, BLUE SQUARE");
          const int colours[] = {0xFF0000, 0x00FF00, 0x0000FF};
          zep::axlgcm(3, colours, "THREE COLOURS");
          float x1 = 0, y0 = 0;
          zep::axqlgb("TR", left, x1, y0, top);
          zep::axlgpv("TR");
        },
        [&](const zeptest::Png& png) {
          std::string f;
          // Rows are 1.5 text heights apart from half a height below the top; the
          // samples RLGLEN long from half a height inside the left edge.
          const float th = 0.018F, len = 0.05F, x0 = left + th / 2;
          const int row1 = pagePy(top - th / 2 - 0.75F * th), row2 = pagePy(top - th / 2 - 2.25F * th);
          const std::uint32_t ends = png.pixel(pagePx(x0 + 0.05F * len), row1);
          const std::uint32_t middle = png.pixel(pagePx(x0 + 0.5F * len), row1);
          if (!reddish(ends)) f += "no line at the sample's end\n";
          if ((middle & 0xFF) < 150 || reddish(middle)) f += "no blue marker in the middle of the line\n";
          const std::uint32_t want[] = {0xFF0000, 0x00FF00, 0x0000FF};
          for (int k = 0; k < 3; ++k) {
            const std::uint32_t got = png.pixel(pagePx(x0 + (2 * k + 1) * len / 6), row2);
            if (got != want[k]) f += "colour " + std::to_string(k) + " is " + std::to_string(got) + "\n";
          }
          return f;
        });
  });
}

TEST(Legend, BoxHoldsItsSystemFontText) {
  ZEP_EXPECT_ISOLATED([] {
    PixelBox box{};
    return zeptest::onPngPage(
        "legend_system_font",
        [&] {
          zep::swlset("SYSFONT", true);
          zep::axiset("INDEXB", 21);  // a red frame, told apart from the black text
          unitFrame();
          zep::axlgln(41, 1, "A RATHER LONG LEGEND TEXT WWW MMM");
          zep::axlgtn(3999, "x\\^2 + y\\_{k} WWWW");
          box = legendBox();
          zep::axlgpv("TR");
        },
        [&](const zeptest::Png& png) {
          std::string f;
          int frameRight = -1, textRight = -1, textLeft = 100000, dark = 0;
          for (int y = box.y0 - 3; y <= box.y1 + 3; ++y)
            for (int x = box.x0 - 3; x <= std::min(box.x1 + 40, png.width() - 1); ++x) {
              const std::uint32_t c = png.pixel(x, y);
              if (reddish(c)) frameRight = std::max(frameRight, x);
              const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
              if (r < 90 && g < 90 && b < 90) {
                textRight = std::max(textRight, x);
                textLeft = std::min(textLeft, x);
                ++dark;
              }
            }
          if (dark < 200) return std::string("no legend text\n");
          if (frameRight < 0) return std::string("no legend frame\n");
          if (textRight >= frameRight - 1)
            f += "text runs to " + std::to_string(textRight) + ", the box ends at " + std::to_string(frameRight) + "\n";
          if (textLeft <= box.x0 + 2) f += "text starts at the box's edge\n";
          return f;
        });
  });
}

TEST(Legend, ASecondSessionStartsWithAnEmptyLegend) {
  ZEP_EXPECT_ISOLATED([] {
    std::string f;
    zeptest::openRecordedSession();
    zep::axlgln(21, 1, "FIRST SESSION");
    zep::axlgtx("NOTE");
    int n = 0;
    zep::axqlgn(n);
    if (n != 2) f += "entries not counted\n";
    zep::sgcls();
    zeptest::openRecordedSession();
    zep::axqlgn(n);
    if (n != 0) f += "entries carried into the next session\n";
    // Nothing of the old entries is drawn.
    zeptest::driverLog().clear();
    zep::axlgpv("TR");
    if (!zeptest::driverLog().empty()) f += "an empty legend drew\n";
    zep::sgcls();
    return f;
  });
}

}  // namespace
