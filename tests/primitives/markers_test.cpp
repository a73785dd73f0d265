// Markers: centred on their points in linear, logarithmic, polar and map frames
// (PNG pixels), upright and of one size whatever the frame, left out where the
// point is missing, undefined or outside the clipped viewport; filled markers
// solid; the system-font path; the reports for counts, types, indices and sizes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>

#include <zep/zep.hpp>

#include "support/message_file.hpp"
#include "support/png_image.hpp"
#include "support/recording_port.hpp"
#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;
using zeptest::driverLog;
using zeptest::expectLines;

// The page is 900 x 650 inside a 2-pixel border, y upwards; the frame is the
// centred square 650 x 650 from x = 125. Pixel centres, not rounded.
double fx(double vx) { return 2 + 125 + 650 * vx; }
double fy(double vy) { return 2 + 650 - 650 * vy; }

struct Box {
  int x0 = 1 << 20, y0 = 1 << 20, x1 = -1, y1 = -1;
  bool empty() const { return x1 < 0; }
  double cx() const { return (x0 + x1) / 2.0; }
  double cy() const { return (y0 + y1) / 2.0; }
  int width() const { return x1 - x0; }
  int height() const { return y1 - y0; }
};

// The bounding box of the ink within `r` pixels of V point (vx, vy).
Box inkAround(const zeptest::Png& png, double vx, double vy, int r = 20) {
  Box b;
  const int cx = static_cast<int>(fx(vx)), cy = static_cast<int>(fy(vy));
  for (int y = std::max(0, cy - r); y <= std::min(png.height() - 1, cy + r); ++y)
    for (int x = std::max(0, cx - r); x <= std::min(png.width() - 1, cx + r); ++x)
      if (png.pixel(x, y) != 0xFFFFFF) {
        b.x0 = std::min(b.x0, x);
        b.x1 = std::max(b.x1, x);
        b.y0 = std::min(b.y0, y);
        b.y1 = std::max(b.y1, y);
      }
  return b;
}

template <class Draw>
fs::path pngPage(const zeptest::TempWorkDir& dir, Draw draw) {
  zep::gliset("MSGLEV", 2);
  zep::swiset("IFL", 1);
  zep::sgopn(2);
  zep::sgfrm();
  draw();
  zep::sgcls();
  return dir.path() / "zep_0001.png";
}

TEST(Markers, CentredOnTheirPointsUprightAndOfOneSizeInEveryFrame) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    struct Expected {
      const char* frame;
      double vx, vy;
    };
    // Where each frame puts its points, worked out from the frame's formula.
    const double pi = std::acos(-1.0);
    const Expected want[] = {
        {"linear", 0.1 + 0.3 * 0.2, 0.6 + 0.3 * 0.7},
        {"log", 0.6 + 0.3 * (1.0 / 3.0), 0.6 + 0.3 * (2.0 / 3.0)},
        {"polar", 0.25 + 0.15 * std::cos(pi / 3), 0.25 + 0.15 * std::sin(pi / 3)},
        {"map", 0.75 + 0.04 * (pi / 2), 0.25 + 0.04 * (pi / 4)},
        {"map across the seam", 0.75 + 0.04 * (-170 * pi / 180), 0.25 + 0.04 * (-pi / 6)},
    };
    const fs::path page = pngPage(dir, [] {
      const float size = 0.06F;
      // Linear: window 0..10 in the upper left quarter.
      zep::sgsvpt(0.1F, 0.4F, 0.6F, 0.9F);
      zep::sgswnd(0, 10, 0, 10);
      zep::sgstrn(1);
      zep::sgstrf();
      float x = 2, y = 7;
      zep::sgpmzu(1, &x, &y, 2, 1, size);
      // Log-log: decades 1..1000 in the upper right quarter.
      zep::sgsvpt(0.6F, 0.9F, 0.6F, 0.9F);
      zep::sgswnd(1, 1000, 1, 1000);
      zep::sgstrn(4);
      zep::sgstrf();
      x = 10;
      y = 100;
      zep::sgpmzu(1, &x, &y, 2, 1, size);
      // Polar: radius 1 at 60 degrees, 0.15 in V per unit radius.
      zep::sgsvpt(0.0F, 0.5F, 0.0F, 0.5F);
      zep::sgssim(0.15F, 0, 0);
      zep::sgstrn(5);
      zep::sgstrf();
      x = 1;
      y = 60;
      zep::sgpmzu(1, &x, &y, 2, 1, size);
      // Equidistant cylindrical map, 0.04 in V per radian; a second point
      // west of the date line, after a longitude of 190 degrees east.
      zep::sgsvpt(0.5F, 1.0F, 0.0F, 0.5F);
      zep::sgssim(0.04F, 0, 0);
      zep::sgsmpl(0, 90, 0);
      zep::sgstrn(10);
      zep::sgstrf();
      const float mx[] = {90, 190};
      const float my[] = {45, -30};
      zep::sgpmzu(2, mx, my, 2, 1, size);
    });
    const zeptest::Png png(page);
    if (!png.ok()) return std::string("no PNG page");
    std::string failure;
    Box reference;
    for (const Expected& e : want) {
      const Box b = inkAround(png, e.vx, e.vy);
      char buf[200];
      if (b.empty()) {
        failure += std::string("no marker in the ") + e.frame + " frame\n";
        continue;
      }
      if (std::fabs(b.cx() - fx(e.vx)) > 1.5 || std::fabs(b.cy() - fy(e.vy)) > 1.5) {
        std::snprintf(buf, sizeof buf, "%s: marker centred at (%.1f, %.1f), the point is at (%.1f, %.1f)\n", e.frame,
                      b.cx(), b.cy(), fx(e.vx), fy(e.vy));
        failure += buf;
      }
      // A plus 14/24 of the size across, as wide as high, in every frame.
      if (reference.empty()) reference = b;
      if (std::abs(b.width() - b.height()) > 1 || std::abs(b.width() - reference.width()) > 1 ||
          std::abs(b.width() - static_cast<int>(std::lround(650 * 0.06 * 14 / 24))) > 2) {
        std::snprintf(buf, sizeof buf, "%s: marker %d x %d pixels\n", e.frame, b.width(), b.height());
        failure += buf;
      }
      // Upright: the arms run along the pixel row and column of the centre.
      const int cx = static_cast<int>(std::lround(b.cx())), cy = static_cast<int>(std::lround(b.cy()));
      if (png.pixel(b.x0 + 1, cy) == 0xFFFFFF && png.pixel(b.x0 + 1, cy + 1) == 0xFFFFFF && png.pixel(b.x0 + 1, cy - 1) == 0xFFFFFF)
        failure += std::string(e.frame) + ": the horizontal arm is not level\n";
      if (png.pixel(cx, b.y0 + 1) == 0xFFFFFF && png.pixel(cx + 1, b.y0 + 1) == 0xFFFFFF && png.pixel(cx - 1, b.y0 + 1) == 0xFFFFFF)
        failure += std::string(e.frame) + ": the vertical arm is not upright\n";
    }
    // Nothing else on the page: five markers of at most 36 x 36 pixels.
    int ink = 0;
    for (int y = 0; y < png.height(); ++y)
      for (int x = 0; x < png.width(); ++x) ink += png.pixel(x, y) != 0xFFFFFF ? 1 : 0;
    if (ink > 5 * 2 * 36 * 3) failure += "ink elsewhere: " + std::to_string(ink) + " pixels\n";
    return failure;
  });
}

TEST(Markers, LeftOutWhereThePointIsMissingUndefinedOrClippedAndFilledOnesSolid) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const fs::path page = pngPage(dir, [nan] {
      zep::sgsvpt(0.2F, 0.8F, 0.2F, 0.8F);
      zep::sgswnd(0, 1, 0, 1);
      zep::sgstrf();
      zep::gllset("LMISS", true);
      float miss = 0;
      zep::glrget("RMISS", miss);
      // Filled circles in colour 2: inside; missing in x, in y; not a number;
      // beyond the viewport's right edge by less than the marker's radius,
      // which is drawn without LCLIP and left out with it.
      const float x[] = {0.5F, miss, 0.3F, nan, 1.01F};
      const float y[] = {0.5F, 0.3F, miss, 0.3F, 0.5F};
      zep::sgspmt(10);
      zep::sgspmi(21);
      zep::sgspms(0.08F);
      zep::sgpmu(5, x, y);
      zep::sglset("LCLIP", true);
      const float x2[] = {1.01F, 0.99F};
      const float y2[] = {0.8F, 0.2F};
      zep::sgpmu(2, x2, y2);
    });
    const zeptest::Png png(page);
    if (!png.ok()) return std::string("no PNG page");
    std::string failure;
    // V of the window point (x, y): 0.2 + 0.6 x.
    auto v = [](double u) { return 0.2 + 0.6 * u; };
    const Box centre = inkAround(png, v(0.5), v(0.5), 30);
    if (centre.empty()) return std::string("no marker at the good point");
    // Solid and red, right through the middle.
    for (int dx = -2; dx <= 2; ++dx) {
      const std::uint32_t p = png.pixel(static_cast<int>(centre.cx()) + dx, static_cast<int>(centre.cy()));
      if (((p >> 16) & 0xFF) < 200 || ((p >> 8) & 0xFF) > 80) failure += "filled marker not solid red\n";
    }
    if (!inkAround(png, v(0.3), v(0.3), 30).empty()) failure += "marker at a missing or undefined point\n";
    if (inkAround(png, v(1.01), v(0.5), 30).empty()) failure += "marker just outside the viewport missing without LCLIP\n";
    if (!inkAround(png, v(1.01), v(0.8), 30).empty()) failure += "marker outside the viewport drawn with LCLIP\n";
    // Inside by a hair: drawn whole, reaching past the viewport's edge.
    const Box edge = inkAround(png, v(0.99), v(0.2), 30);
    if (edge.empty() || edge.x1 < static_cast<int>(fx(0.8)) + 5) failure += "marker at the viewport's edge cut or missing\n";
    return failure;
  });
}

TEST(Markers, AttributesAndTheSystemFontPath) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    std::string failure;
    int type = 0, index = 0;
    float size = 0;
    zep::sgqpmt(type);
    zep::sgqpmi(index);
    zep::sgqpms(size);
    if (type != 1 || index != 1 || size != 0.01F) failure += "initial attributes\n";
    zep::sgspmt(4);
    zep::sgspmi(35);
    zep::sgspms(0.05F);
    const float x[] = {0.5F};
    const float y[] = {0.25F};
    zep::sgpmzv(1, x, y, 2, 1, 0.02F);
    zep::sgqpmt(type);
    zep::sgqpmi(index);
    zep::sgqpms(size);
    if (type != 4 || index != 35 || size != 0.05F) failure += "the one-call form changed the attributes\n";
    // With the system font the workstation draws the marker code as text,
    // centred on the point, at the marker's size.
    zep::swlset("SYSFONT", true);
    driverLog().clear();
    zep::sgpmv(1, x, y);
    const auto txt = std::find_if(driverLog().begin(), driverLog().end(),
                                  [](const std::string& s) { return s.rfind("txt(", 0) == 0; });
    char want[64];
    std::snprintf(want, sizeof want, "txt(450.0,162.5,%.3f,\x04,0.000,0)", 0.05 / 24 * 650);
    if (txt == driverLog().end() || *txt != want) failure += "system-font marker: " + (txt == driverLog().end() ? std::string("none") : *txt) + "\n";
    if (std::find(driverLog().begin(), driverLog().end(), "scli(3)") == driverLog().end()) failure += "marker colour\n";
    return failure;
  });
}

TEST(Markers, ReportsForCountsTypesIndicesAndSizes) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zeptest::openRecordedSession();
    zeptest::MessageFile messages(dir.path() / "m.txt");
    zep::gliset("MSGLEV", 0);
    const float x[] = {0.5F};
    zep::sgpmv(0, x, x);
    zep::sgspmi(0);
    zep::sgpmu(1, x, x);
    zep::sgpmzr(1, x, x, 2, 1, 0.0F);
    if (!driverLog().empty()) return std::string("something was drawn");
    return expectLines(messages.lines(), {" *** MESSAGE (SGPMU ) ***  MARKER INDEX IS 0 / DO NOTHING.",
                                          " *** MESSAGE (SGPMZR) ***  MARKER SIZE IS 0 / DO NOTHING."});
  });
  const float x[] = {0.5F};
  const struct {
    int n, type, index;
    float size;
    const char* report;
  } errors[] = {
      {-1, 2, 1, 0.01F, " ***** ERROR (SGPMZV) ***  NUMBER OF POINTS IS LESS THAN 0."},
      {1, 0, 1, 0.01F, " ***** ERROR (SGPMZV) ***  MARKER TYPE IS INVALID."},
      {1, 19, 1, 0.01F, " ***** ERROR (SGPMZV) ***  MARKER TYPE IS INVALID."},
      {1, 2, -1, 0.01F, " ***** ERROR (SGPMZV) ***  MARKER INDEX IS LESS THAN 0."},
      {1, 2, 1, -0.01F, " ***** ERROR (SGPMZV) ***  MARKER SIZE IS LESS THAN 0."},
      {1, 2, 1, std::numeric_limits<float>::infinity(), " ***** ERROR (SGPMZV) ***  MARKER SIZE IS NOT FINITE."},
  };
  for (const auto& e : errors) {
    EXPECT_EXIT(
        {
          zeptest::openRecordedSession();
          zep::sgpmzv(e.n, x, x, e.type, e.index, e.size);
        },
        testing::KilledBySignal(SIGABRT), zeptest::lineRegex(e.report));
  }
}

}  // namespace
