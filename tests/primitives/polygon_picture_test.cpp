// Filled polygons on pages: the pixels that a tone covers, in linear, polar
// and map frames, with holes, self-intersections, the map's seam and poles,
// and the same figure in every file format.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "support/page_pixels.hpp"
#include "support/png_image.hpp"
#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;
using zeptest::Png;

constexpr double kPi = 3.14159265358979323846;

using zeptest::colourOf;

// One frame on a 900 x 650 page: the centred square 650 x 650.
constexpr auto px = zeptest::pixelX;
constexpr auto py = zeptest::pixelY;

// Where the current transformation puts a U point, as a pixel.
struct Pixel {
  int x, y;
};
Pixel atU(float ux, float uy) {
  float vx = 0, vy = 0;
  zep::stftrf(ux, uy, vx, vy);
  return {px(vx), py(vy)};
}

// Pages drawn by `draw`, one frame each, into PNG files; the pixels to look at
// are gathered while the transformation is set (`probe` gets the page number).
struct Probe {
  std::string what;
  Pixel at;
  bool filled;
};

std::string runPages(int pages, const std::function<void(int, std::vector<Probe>&)>& draw, std::uint32_t colour) {
  zeptest::TempWorkDir dir;
  zep::gliset("MSGLEV", 2);
  zep::swiset("IFL", 1);
  zep::sgopn(2);
  std::vector<std::vector<Probe>> probes(static_cast<std::size_t>(pages));
  for (int p = 0; p < pages; ++p) {
    zep::sgfrm();
    draw(p, probes[static_cast<std::size_t>(p)]);
  }
  zep::sgcls();
  std::string failure;
  for (int p = 0; p < pages; ++p) {
    char name[32];
    std::snprintf(name, sizeof name, "zep_%04d.png", p + 1);
    const Png png(dir.path() / name);
    if (!png.ok()) return std::string("no page ") + name;
    for (const Probe& probe : probes[static_cast<std::size_t>(p)]) {
      const bool isFilled = png.pixel(probe.at.x, probe.at.y) == colour;
      if (isFilled != probe.filled)
        failure += "page " + std::to_string(p + 1) + ": " + probe.what + (probe.filled ? " empty; " : " filled; ");
    }
  }
  return failure;
}

// Counts pixels of `colour` in a rectangle of V (x0 < x1, y0 < y1).
int countIn(const Png& png, std::uint32_t colour, double vx0, double vy0, double vx1, double vy1) {
  return zeptest::countPixels(png, colour, px(vx0), py(vy1), px(vx1), py(vy0));
}

TEST(PolygonPicture, FilledSquareInUserCoordinatesStaysInTheViewport) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zep::gliset("MSGLEV", 2);
    zep::swiset("IFL", 1);
    zep::sgopn(2);
    // U [0, 10] on V [0.2, 0.8]: the square -5..5 is V -0.1..0.5, the part in
    // the viewport V 0.2..0.5.
    const float x[] = {-5, 5, 5, -5}, y[] = {-5, -5, 5, 5};
    for (bool clip : {true, false}) {
      zep::sgfrm();
      zep::sgsvpt(0.2F, 0.8F, 0.2F, 0.8F);
      zep::sgswnd(0, 10, 0, 10);
      zep::sgstrn(1);
      zep::sgstrf();
      zep::sglset("LCLIP", clip);
      zep::sgstnp(2999);
      zep::sgtnu(4, x, y);
    }
    zep::sgcls();
    const std::uint32_t red = colourOf(2);
    const Png clipped(dir.path() / "zep_0001.png"), whole(dir.path() / "zep_0002.png");
    if (!clipped.ok() || !whole.ok()) return std::string("no pages");
    const int inside = countIn(clipped, red, 0.2, 0.2, 0.5, 0.5);
    const int all = zeptest::countPixels(clipped, red, 0, 0, clipped.width(), clipped.height());
    const int side = px(0.5) - px(0.2);
    if (std::abs(inside - side * side) > 2 * side) return "clipped square covers " + std::to_string(inside);
    if (all != inside) return "outside the viewport: " + std::to_string(all - inside);
    // Without LCLIP the square reaches the edge of the workstation window,
    // which is the frame here.
    const int wholeSide = px(0.5) - px(0.0);
    const int wholeCount = countIn(whole, red, 0.0, 0.0, 0.5, 0.5);
    if (std::abs(wholeCount - wholeSide * wholeSide) > 2 * wholeSide) return "whole square covers " + std::to_string(wholeCount);
    if (zeptest::countPixels(whole, red, 0, 0, whole.width(), whole.height()) != wholeCount)
      return std::string("whole square spills");
    return std::string();
  });
}

TEST(PolygonPicture, EvenOddStarAndRingsWithHoles) {
  ZEP_EXPECT_ISOLATED([] {
    return runPages(1, [](int, std::vector<Probe>& probes) {
      zep::sgswnd(0, 10, 0, 10);
      zep::sgstrf();
      // A five-pointed star drawn in one stroke: its centre pentagon is crossed
      // twice and stays empty.
      float sx[5], sy[5];
      for (int i = 0; i < 5; ++i) {
        const double a = kPi / 2 + i * 4 * kPi / 5;
        sx[i] = static_cast<float>(3 + 2.5 * std::cos(a));
        sy[i] = static_cast<float>(3 + 2.5 * std::sin(a));
      }
      zep::sgtnzu(5, sx, sy, 3999);
      probes.push_back({"star centre", atU(3, 3), false});
      probes.push_back({"star top point", atU(3, 4.8F), true});
      probes.push_back({"star left point", atU(1.5F, 3.6F), true});
      probes.push_back({"between points", atU(4.2F, 5), false});
      // Rings separated by missing values: an outer square with two holes,
      // and a separate square in one of the holes.
      zep::gllset("LMISS", true);
      const float hx[] = {5, 9.5F, 9.5F, 5, 999, 5.5F, 7, 7, 5.5F, 999, 7.5F, 9, 9, 7.5F, 999, 6, 6.5F, 6.5F, 6};
      const float hy[] = {5, 5, 9.5F, 9.5F, 999, 5.5F, 5.5F, 9, 9, 999, 5.5F, 5.5F, 9, 9, 999, 7, 7, 7.5F, 7.5F};
      zep::sgtnzu(19, hx, hy, 3999);
      probes.push_back({"ring", atU(7.25F, 7), true});
      probes.push_back({"ring border", atU(9.25F, 9.25F), true});
      probes.push_back({"first hole", atU(5.75F, 8), false});
      probes.push_back({"second hole", atU(8.25F, 7), false});
      probes.push_back({"island in the hole", atU(6.25F, 7.25F), true});
      // Without LMISS the missing value is a coordinate like any other.
      zep::gllset("LMISS", false);
      const float mx[] = {1, 2, 999}, my[] = {7, 7, 999};
      zep::sgtnzu(3, mx, my, 3999);
      probes.push_back({"towards a point beyond the window", atU(1.9F, 7.3F), true});
    }, colourOf(3));
  });
}

TEST(PolygonPicture, EdgesFollowTheTransformation) {
  ZEP_EXPECT_ISOLATED([] {
    return runPages(4, [](int page, std::vector<Probe>& probes) {
      const bool interpolate = page % 2 == 0;
      if (page < 2) {
        // Polar: the quarter disc 0..1 x 0..90 degrees; with LLNINT its arc is
        // an arc, without it a chord.
        zep::sgssim(0.4F, -0.2F, -0.2F);
        zep::sgstrn(5);
        zep::sgstrf();
        zep::sglset("LLNINT", interpolate);
        const float r[] = {0, 1, 1}, t[] = {0, 0, 90};
        zep::sgtnzu(3, r, t, 2999);
        probes.push_back({"near the arc", atU(0.95F, 45), interpolate});
        probes.push_back({"inside the chord", atU(0.6F, 45), true});
        probes.push_back({"beyond the arc", atU(1.05F, 45), false});
      } else {
        // Equidistant cylindrical: the edge between (-60, 50) and (60, 50) is
        // a great circle that rises to 67 degrees, or the parallel itself
        // without LGCINT.
        zep::sgssim(0.15F, 0, 0);
        zep::sgstrn(10);
        zep::sgstrf();
        zep::sglset("LGCINT", interpolate);
        const float lon[] = {-60, 60, 60, -60}, lat[] = {20, 20, 50, 50};
        zep::sgtnzu(4, lon, lat, 2999);
        probes.push_back({"above the parallel", atU(0, 60), interpolate});
        // The lower edge rises to 36 degrees along its great circle.
        probes.push_back({"inside", atU(0, 40), true});
        probes.push_back({"below the lower arc", atU(0, 30), !interpolate});
        probes.push_back({"above the corner", atU(-59, 53), false});
        probes.push_back({"above the top of the arc", atU(0, 69), false});
      }
    }, colourOf(2));
  });
}

TEST(PolygonPicture, PolygonAcrossTheSeamFillsBothSides) {
  ZEP_EXPECT_ISOLATED([] {
    return runPages(3, [](int page, std::vector<Probe>& probes) {
      // Cylindrical, Mollweide and cylindrical centred on 180 degrees (where
      // the date line is in the middle and the seam at 0).
      const int itr[] = {10, 12, 10};
      zep::sgssim(0.15F, 0, 0);
      zep::sgsmpl(page == 2 ? 180 : 0, 90, 0);
      zep::sgstrn(itr[page]);
      zep::sgstrf();
      zep::sglset("LGCINT", true);
      const float lon[] = {150, -150, -150, 150}, lat[] = {-20, -20, 30, 30};
      zep::sgtnzu(4, lon, lat, 4999);
      probes.push_back({"east of the date line", atU(170, 0), true});
      probes.push_back({"west of the date line", atU(-170, 0), true});
      probes.push_back({"at 160 E", atU(160, 25), true});
      probes.push_back({"at 160 W", atU(-160, -15), true});
      probes.push_back({"at 0", atU(0, 0), false});
      probes.push_back({"at 140 E", atU(140, 0), false});
      probes.push_back({"at 140 W", atU(-140, 0), false});
      probes.push_back({"south of it", atU(170, -30), false});
      // A polygon across the seam at 0 of the third map.
      if (page == 2) {
        const float lx[] = {-10, 10, 10, -10}, ly[] = {40, 40, 60, 60};
        zep::sgtnzu(4, lx, ly, 4999);
        probes.push_back({"east of the seam", atU(5, 50), true});
        probes.push_back({"west of the seam", atU(-5, 50), true});
        probes.push_back({"between them", atU(180, 50), false});
      }
    }, colourOf(4));
  });
}

TEST(PolygonPicture, PolygonAroundAPoleFillsTheCap) {
  ZEP_EXPECT_ISOLATED([] {
    return runPages(4, [](int page, std::vector<Probe>& probes) {
      // Cylindrical and Mollweide with the southern cap; azimuthal equidistant
      // on the north pole with the northern cap, and with the southern cap,
      // which becomes the ring out to the edge of the map.
      const int itr[] = {10, 12, 32, 32};
      zep::sgssim(page < 2 ? 0.15F : 0.14F, 0, 0);
      zep::sgstrn(itr[page]);
      zep::sgstrf();
      zep::sglset("LGCINT", false);
      const float cap = page == 2 ? 60.0F : -60.0F;
      std::vector<float> lon, lat;
      for (int i = 0; i < 12; ++i) {
        lon.push_back(static_cast<float>(30 + 30 * i));  // starts away from the seam
        lat.push_back(cap + static_cast<float>(i % 2) * (cap > 0 ? 5.0F : -5.0F));
      }
      zep::sgtnzu(12, lon.data(), lat.data(), 2999);
      const float in = cap > 0 ? 80.0F : -80.0F, polar = cap > 0 ? 88.0F : -88.0F, out = cap > 0 ? 50.0F : -50.0F;
      for (float l : {-170.0F, -90.0F, 0.0F, 45.0F, 170.0F}) {
        probes.push_back({"inside the cap at " + std::to_string(static_cast<int>(l)), atU(l, in), true});
        // Near the pole of Mollweide the map is a few pixels wide.
        if (std::fabs(l) <= 90) probes.push_back({"at the pole at " + std::to_string(static_cast<int>(l)), atU(l, polar), true});
        probes.push_back({"outside the cap at " + std::to_string(static_cast<int>(l)), atU(l, out), false});
        probes.push_back({"other hemisphere at " + std::to_string(static_cast<int>(l)), atU(l, -in), false});
      }
    }, colourOf(2));
  });
}

TEST(PolygonPicture, RingAlongTheEdgeOfTheGlobeFillsTheVisibleDisk) {
  ZEP_EXPECT_ISOLATED([] {
    return runPages(4, [](int page, std::vector<Probe>& probes) {
      // Orthographic and azimuthal equal-area, each tilted and on the north
      // pole, showing one hemisphere: the rectangle of the whole globe (its
      // edges in steps, as a field's edge comes) with a hole. The rectangle's
      // curve is the meridian of 180 degrees, there and back: it encloses the
      // whole globe, not nothing.
      const bool tilted = page % 2 == 0;
      zep::sgssim(0.3F, 0, 0);
      zep::sgsmpl(tilted ? 20 : 0, tilted ? 30 : 90, 0);
      zep::sgstxy(-180, 180, 0, 90);
      zep::sgstrn(page < 2 ? 30 : 33);
      zep::sgstrf();
      zep::gllset("LMISS", true);
      std::vector<float> x, y;
      auto at = [&](float lon, float lat) {
        x.push_back(lon);
        y.push_back(lat);
      };
      for (int i = 0; i <= 120; ++i) at(-180.0F + 3.0F * static_cast<float>(i), -90);
      for (int j = 1; j <= 60; ++j) at(180, -90.0F + 3.0F * static_cast<float>(j));
      for (int i = 1; i <= 120; ++i) at(180.0F - 3.0F * static_cast<float>(i), 90);
      for (int j = 1; j < 60; ++j) at(-180, 90.0F - 3.0F * static_cast<float>(j));
      at(999, 999);
      at(0, 40);
      at(40, 40);
      at(40, 60);
      at(0, 60);
      zep::sgtnzu(static_cast<int>(x.size()), x.data(), y.data(), 2999);
      probes.push_back({"in the hole", atU(20, 50), false});
      probes.push_back({"near the centre", atU(tilted ? 10 : 60, tilted ? 20 : 80), true});
      probes.push_back({"east", atU(tilted ? 80 : 90, tilted ? 20 : 20), true});
      probes.push_back({"west", atU(tilted ? -40 : -90, 10), true});
      probes.push_back({"south", atU(tilted ? 20 : 180, tilted ? -30 : 30), true});
      // Beyond the hemisphere's edge, in the frame's corner.
      probes.push_back({"outside the globe", {px(0.05), py(0.05)}, false});
    }, colourOf(2));
  });
}

// The figure of the format test: a square with a square hole, all alone on the
// page, and a star in its hole.
void holeFigure() {
  zep::gllset("LMISS", true);
  const float x[] = {0.1F, 0.9F, 0.9F, 0.1F, 999, 0.3F, 0.7F, 0.7F, 0.3F};
  const float y[] = {0.1F, 0.1F, 0.9F, 0.9F, 999, 0.3F, 0.3F, 0.7F, 0.7F};
  zep::sgtnzv(9, x, y, 3999);
}

// The box around the pixels of `colour`; the pixel at its centre and at a
// quarter of its width.
struct Seen {
  bool found = false;
  std::uint32_t centre = 0, band = 0;
};
Seen look(const Png& png, std::uint32_t colour) {
  int x0 = png.width(), x1 = -1, y0 = png.height(), y1 = -1;
  for (int y = 0; y < png.height(); ++y)
    for (int x = 0; x < png.width(); ++x)
      if (png.pixel(x, y) == colour) {
        x0 = std::min(x0, x);
        x1 = std::max(x1, x);
        y0 = std::min(y0, y);
        y1 = std::max(y1, y);
      }
  Seen s;
  if (x1 < 0) return s;
  s.found = true;
  s.centre = png.pixel((x0 + x1) / 2, (y0 + y1) / 2);
  s.band = png.pixel(x0 + (x1 - x0) / 8, (y0 + y1) / 2);
  return s;
}

// Draws the figure into a file of format `ifl` and looks at it.
std::string formatCheck(int ifl) {
  zeptest::TempWorkDir dir;
  zep::gliset("MSGLEV", 2);
  zep::swiset("IFL", ifl);
  zep::sgopn(2);
  zep::sgfrm();
  holeFigure();
  zep::sgcls();
  const std::uint32_t blue = colourOf(3);
  std::string png;
  if (ifl == 2) {
    const std::string eps = zeptest::readFile("zep_0001.eps");
    if (eps.rfind("%!PS-Adobe-3.0 EPSF-3.0", 0) != 0) return "not EPS";
    return eps.find("eofill") != std::string::npos ? "" : "EPS fills by the winding rule";
  }
  if (ifl == 3) {
    const std::string svg = zeptest::readFile("zep_0001.svg");
    if (svg.find("<svg") == std::string::npos) return "not SVG";
    return svg.find("evenodd") != std::string::npos ? "" : "SVG fills by the winding rule";
  }
  if (ifl == 4) {
    if (zeptest::runCommand("pdftoppm -r 72 -singlefile -png zep.pdf page; echo $?") != "0\n") return "pdftoppm failed";
    png = "page.png";
  } else {
    png = "zep_0001.png";
  }
  // PDF's outline that closes hairline gaps is blended at its edge: only
  // solid pixels count.
  const Png image(png);
  if (!image.ok()) return "no image";
  const Seen seen = look(image, blue);
  if (!seen.found) return "nothing filled";
  if (seen.centre != 0xFFFFFFu) return "the hole is filled";
  if (seen.band != blue) return "the ring is empty";
  return "";
}

TEST(PolygonPicture, EveryFileFormatFillsByTheEvenOddRule) {
  for (int ifl : {1, 2, 3, 4}) {
    SCOPED_TRACE(ifl);
    ZEP_EXPECT_ISOLATED([ifl] { return formatCheck(ifl); });
  }
}

}  // namespace
