// Stroke-font text on PDF pages is shown as glyphs of a Type 3 font that the
// file holds once per shape: the rasterised page is that of the strokes down
// to antialiasing (upright and turned, every height, angle, colour and width),
// the content holds each shape once, and nothing but PDF changes.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "driver/zgpack_internal.hpp"
#include "support/page_compare.hpp"
#include "support/png_image.hpp"
#include "support/pdf_streams.hpp"
#include "support/test_support.hpp"
#include "workstation/driver_port.hpp"

namespace {

namespace fs = std::filesystem;
using zep::workstation::DriverPort;

int painted = 0;  // glyphs the driver took whole

const DriverPort& countingPort() {
  static const DriverPort port = [] {
    DriverPort p = zep::workstation::realDriverPort();
    p.glyph = [](long long shape, double x, double y, double a, double b, double c, double d, int n,
                 const int* npts, const float* u, const float* v) {
      const bool done = zep::zgglyph(shape, x, y, a, b, c, d, n, npts, u, v);
      painted += done;
      return done;
    };
    return p;
  }();
  return port;
}

const DriverPort& strokingPort() {
  static const DriverPort port = [] {
    DriverPort p = zep::workstation::realDriverPort();
    p.glyph = nullptr;
    return p;
  }();
  return port;
}

using zeptest::Difference;
using zeptest::difference;
using zeptest::pdfContent;

void write(const DriverPort& port, const std::function<void()>& draw, int iws, int ifl, const std::string& name) {
  zeptest::writeThrough(port, draw, iws, ifl, name);
}

int count(const std::string& text, const std::string& what) { return zeptest::countOf(text, what); }

// Heights, angles, colours, widths, scripts and both fonts.
void sampler() {
  zep::sglset("LCNTL", true);
  const char* labels[] = {"Label 012345 x=0.5", "QUICK brown fox", "a\\^2+b\\_i=c\\^n\\_k"};
  const float heights[] = {0.014F, 0.025F, 0.05F, 0.09F};
  const int angles[] = {0, 30, 90, 145, 270};
  const int indices[] = {1, 21, 33, 15, 49, 405};
  int k = 0;
  for (float h : heights)
    for (int angle : angles) {
      const float x = 0.08F + 0.21F * static_cast<float>(k % 5);
      const float y = 0.1F + 0.2F * static_cast<float>(k / 5);
      if (k == 10) zep::sgiset("IFONT", 2);
      zep::sgtxzv(x, y, labels[k % 3], h, angle, 0, indices[k % 6]);
      ++k;
    }
  zep::sgiset("IFONT", 1);
}

TEST(TextPdfGlyphs, GlyphsLookLikeTheirStrokesAndAreHeldOnce) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    std::string failure;
    for (int iws : {2, -2}) {
      const std::string tag = iws < 0 ? "turned: " : "upright: ";
      write(strokingPort(), sampler, iws, 4, "strokes.pdf");
      painted = 0;
      write(countingPort(), sampler, iws, 4, "glyphs.pdf");
      if (painted < 200) failure += tag + "only " + std::to_string(painted) + " glyphs shown whole\n";
      if (zeptest::runCommand("pdftoppm -r 150 -singlefile -png strokes.pdf strokes && "
                              "pdftoppm -r 150 -singlefile -png glyphs.pdf glyphs; echo $?") != "0\n")
        return std::string("pdftoppm failed");
      const Difference d = difference(zeptest::Png("glyphs.png"), zeptest::Png("strokes.png"));
      if (d.ink < 10000) failure += tag + "little ink: " + std::to_string(d.ink) + "\n";
      if (d.unmatched > d.ink / 100) failure += tag + d.text() + "\n";
      // Each shape is one glyph of strokes, fewer than the glyphs shown (the
      // sampler repeats few letters at one size and angle).
      const int shapes = count(pdfContent("glyphs.pdf"), " d1\n");
      if (shapes == 0 || shapes >= painted) failure += tag + std::to_string(shapes) + " glyph shapes held\n";
    }
    return failure;
  });
}

// Many labels of few shapes: the file holds the shapes once, whatever the
// number of uses; the shapes kept are bounded and dropped at a new page.
TEST(TextPdfGlyphs, ShapesAreBoundedAndHeldOncePerPage) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    std::string failure;
    auto labels = [](int n) {
      return [n] {
        for (int i = 0; i < n; ++i)
          zep::sgtxzv(0.1F + 0.0007F * static_cast<float>(i % 1000), 0.1F + 0.0008F * static_cast<float>(i / 10),
                      "ABAB 1010", 0.02F, 0, 0, 1 + 20 * (i % 2));
      };
    };
    painted = 0;
    write(countingPort(), labels(100), 2, 4, "few.pdf");
    write(countingPort(), labels(1000), 2, 4, "many.pdf");
    const std::string few = pdfContent("few.pdf"), many = pdfContent("many.pdf");
    // Four letters, their shapes one per character code.
    if (count(few, " d1\n") != 4 || count(many, " d1\n") != 4)
      failure += "shapes held: " + std::to_string(count(few, " d1\n")) + ", " + std::to_string(count(many, " d1\n")) + "\n";
    if (fs::file_size("many.pdf") > 10 * fs::file_size("few.pdf")) failure += "the file grows with every glyph's strokes\n";
    // Colours change the text's colour, not the shapes.
    if (count(many, " rg") < 10) failure += "colours not set for the glyphs\n";

    zep::workstation::setDriverPort(&countingPort());
    zep::gliset("MSGLEV", 2);
    zep::swiset("IFL", 4);
    zep::sgopn(2);
    zep::sgfrm();
    std::size_t most = 0, previous = 0;
    bool dropped = false;
    for (int i = 0; i < 3000; ++i) {
      zep::sgtxzv(0.5F, 0.5F, "W@%&B8", 0.01F + 0.0001F * static_cast<float>(i), 0, 0, 1);
      const std::size_t now = zep::zgglyphbytes();
      most = std::max(most, now);
      dropped = dropped || now < previous;
      previous = now;
    }
    if (most > zep::kZgGlyphCacheBytes) failure += "shapes hold " + std::to_string(most) + " bytes\n";
    if (!dropped) failure += "the shapes never filled their bound\n";
    zep::sgfrm();
    if (zep::zgglyphbytes() != 0) failure += "shapes kept across the page\n";
    zep::sgcls();
    zep::workstation::setDriverPort(nullptr);
    // Every page and every font renewal is in the file, which poppler reads.
    if (zeptest::runCommand("pdftoppm -r 10 -png zep.pdf p >/dev/null 2>&1; echo $?") != "0\n")
      failure += "the file does not render\n";
    return failure;
  });
}

// EPS and SVG keep their strokes.
TEST(TextPdfGlyphs, OtherVectorFormatsKeepTheirStrokes) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    std::string failure;
    for (int ifl : {2, 3}) {
      painted = 0;
      write(countingPort(), sampler, 2, ifl, "page");
      if (painted != 0) failure += "format " + std::to_string(ifl) + ": glyphs shown whole\n";
    }
    return failure;
  });
}

}  // namespace
