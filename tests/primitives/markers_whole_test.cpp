// Markers are handed to the driver whole: PDF pages hold each shape once and
// place it per point, image pages paint it from a mask. Either way the page
// must look as the marker filled and stroked does, in the colour that is
// current when it is drawn.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <zep/zep.hpp>

#include "support/page_compare.hpp"
#include "support/pdf_streams.hpp"
#include "support/png_image.hpp"
#include "support/test_support.hpp"
#include "workstation/driver_port.hpp"

namespace {

namespace fs = std::filesystem;
using zep::workstation::DriverPort;

int placed = 0;  // markers the driver took whole

const DriverPort& countingPort() {
  static const DriverPort port = [] {
    DriverPort p = zep::workstation::realDriverPort();
    p.mark = [](long long shape, double x, double y, double a, double b, double c, double d, int n,
                const int* npts, const float* u, const float* v, bool filled) {
      const bool done = zep::zgmark(shape, x, y, a, b, c, d, n, npts, u, v, filled);
      placed += done;
      return done;
    };
    return p;
  }();
  return port;
}

// Every marker filled and stroked, as before shapes were handed over whole.
const DriverPort& strokingPort() {
  static const DriverPort port = [] {
    DriverPort p = zep::workstation::realDriverPort();
    p.mark = nullptr;
    return p;
  }();
  return port;
}

// Every type at three sizes and four line indices (colours and widths); two
// markers reach past the window's edge.
void sampler() {
  for (int type = 1; type <= 18; ++type)
    for (int k = 0; k < 8; ++k) {
      const float x = 0.05F + 0.11F * static_cast<float>(k), y = 1.0F - 0.052F * static_cast<float>(type);
      zep::sgpmzu(1, &x, &y, type, (k % 4 + 1) * 10 + (k < 4 ? 1 : 3), 0.012F + 0.006F * static_cast<float>(k % 3));
    }
  const float xs[2] = {-0.005F, 1.003F}, ys[2] = {0.02F, 0.02F};
  zep::sgpmzu(2, xs, ys, 10, 21, 0.03F);
}

// Without antialiasing: poppler draws thin strokes of a page at least a pixel
// wide, but thin strokes inside glyphs at their width, which a comparison of
// colours would count against the glyphs (ghostscript draws both alike).
std::string rasterise(const std::string& name, int ifl) {
  if (ifl == 1) return name;
  zeptest::runCommand("pdftoppm -r 150 -aa no -aaVector no -singlefile -png " + name + " " + name);
  return name + ".png";
}

TEST(MarkersWhole, LookAsFilledAndStrokedOnPdfAndImagePages) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    std::string failure;
    for (auto [iws, ifl] : {std::pair{2, 4}, std::pair{-2, 4}, std::pair{2, 1}}) {
      const std::string tag = std::to_string(iws) + "/" + std::to_string(ifl) + ": ";
      zeptest::writeThrough(strokingPort(), sampler, iws, ifl, "strokes");
      placed = 0;
      zeptest::writeThrough(countingPort(), sampler, iws, ifl, "whole");
      // All but the two at the edge.
      if (placed != 18 * 8) failure += tag + std::to_string(placed) + " markers placed whole\n";
      const zeptest::Difference d =
          zeptest::difference(zeptest::Png(rasterise("whole", ifl)), zeptest::Png(rasterise("strokes", ifl)));
      if (d.ink < 3000) failure += tag + "little ink: " + std::to_string(d.ink) + "\n";
      if (d.unmatched > d.ink / 50) failure += tag + d.text() + "\n";
    }
    return failure;
  });
}

// Pixels within a step or two of colour rgb (PDF colours go through reals).
int pixelsOf(const zeptest::Png& png, std::uint32_t rgb) {
  int n = 0;
  for (int y = 0; y < png.height(); ++y)
    for (int x = 0; x < png.width(); ++x) {
      const std::uint32_t p = png.pixel(x, y);
      bool near = true;
      for (int sh : {0, 8, 16})
        near = near && std::abs(static_cast<int>((p >> sh) & 0xff) - static_cast<int>((rgb >> sh) & 0xff)) <= 2;
      n += near;
    }
  return n;
}

// Filled circles in a line index's colour, then in a full colour, then in
// the index's colour again: each group in its own colour, inside and out.
void colourGroups() {
  const float x[3] = {0.2F, 0.5F, 0.8F}, y = 0.5F;
  zep::sgpmzu(1, &x[0], &y, 10, 21, 0.08F);
  zep::swsfcm(true);
  zep::swslcl(0x20a050);
  zep::sgpmzu(1, &x[1], &y, 10, 21, 0.08F);
  zep::sgpmzu(1, &x[2], &y, 10, 21, 0.08F);
}

TEST(MarkersWhole, TakeTheColourCurrentWhenDrawn) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    std::string failure;
    for (int ifl : {1, 4}) {
      zeptest::writeThrough(countingPort(), colourGroups, 2, ifl, "groups");
      const zeptest::Png page(rasterise("groups", ifl));
      const double side = std::min(page.width(), page.height());
      // The disc of marker 10 at size 0.08 is about 0.016 of the frame in
      // radius (measured on the page): two of them in the full colour, the
      // first one not.
      const double disc = 3.14 * (0.016 * side) * (0.016 * side);
      const int full = pixelsOf(page, 0x20a050);
      if (full < 1.6 * disc || full > 2.5 * disc)
        failure += std::to_string(ifl) + ": " + std::to_string(full) + " full-colour pixels for discs of " +
                   std::to_string(static_cast<int>(disc)) + "\n";
    }
    return failure;
  });
}

// Ten thousand markers of one shape in two colours: the file holds the shape
// once and grows by a few bytes a marker, a tenth of what filled and stroked
// markers take.
TEST(MarkersWhole, PdfHoldsEachShapeOnce) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    std::string failure;
    auto scatter = [] {
      for (int i = 0; i < 10000; ++i) {
        const float x = 0.05F + 0.9F * static_cast<float>((i * 7919) % 10007) / 10007.0F;
        const float y = 0.05F + 0.9F * static_cast<float>((i * 104729) % 10009) / 10009.0F;
        zep::sgpmzu(1, &x, &y, 10, i < 5000 ? 21 : 31, 0.006F);
      }
    };
    placed = 0;
    zeptest::writeThrough(countingPort(), scatter, 2, 4, "whole.pdf");
    zeptest::writeThrough(strokingPort(), scatter, 2, 4, "strokes.pdf");
    if (placed != 10000) failure += std::to_string(placed) + " markers placed whole\n";
    const int shapes = zeptest::countOf(zeptest::pdfContent("whole.pdf"), " d1\n");
    if (shapes != 1) failure += std::to_string(shapes) + " shapes held\n";
    const auto whole = fs::file_size("whole.pdf"), strokes = fs::file_size("strokes.pdf");
    if (whole * 10 > strokes || whole > 20 * 10000)
      failure += "sizes " + std::to_string(whole) + " against " + std::to_string(strokes) + "\n";
    return failure;
  });
}

}  // namespace
