// Stroke-font text on raster pages is painted from glyph masks where nothing
// bends or cuts the glyphs: the picture is that of the strokes down to
// antialiasing, a perspective view or a clip that cuts a glyph gets strokes,
// and the masks kept are bounded and never reused for another font or width.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include <zep/zep.hpp>

#include "driver/zgpack_internal.hpp"
#include "gallery/picture_compare.hpp"
#include "support/test_support.hpp"
#include "workstation/driver_port.hpp"

namespace {

namespace fs = std::filesystem;
using zep::workstation::DriverPort;

struct GlyphCounts {
  int asked = 0;    // glyphs handed to the driver whole
  int painted = 0;  // of them, painted from a mask
};
GlyphCounts counts;

// The real driver, counting the glyphs it is handed.
const DriverPort& countingPort() {
  static const DriverPort port = [] {
    DriverPort p = zep::workstation::realDriverPort();
    p.glyph = [](long long shape, double x, double y, double a, double b, double c, double d, int n,
                 const int* npts, const float* u, const float* v) {
      ++counts.asked;
      const bool painted = zep::zgglyph(shape, x, y, a, b, c, d, n, npts, u, v);
      counts.painted += painted;
      return painted;
    };
    return p;
  }();
  return port;
}

// The real driver without glyph masks: every glyph is stroked.
const DriverPort& strokingPort() {
  static const DriverPort port = [] {
    DriverPort p = zep::workstation::realDriverPort();
    p.glyph = nullptr;
    return p;
  }();
  return port;
}

// One PNG page drawn by `draw` through `port` (workstation -2: turned page).
zeptest::Picture render(const DriverPort& port, const std::function<void()>& draw, int iws = 2) {
  zep::workstation::setDriverPort(&port);
  zep::gliset("MSGLEV", 2);
  zep::swiset("IFL", 1);
  zep::sgopn(iws);
  zep::sgfrm();
  draw();
  zep::sgcls();
  zep::workstation::setDriverPort(nullptr);
  zeptest::Picture picture;
  for (const auto& e : fs::directory_iterator(fs::current_path())) {
    if (e.path().extension() != ".png") continue;
    picture = zeptest::readPicture(e.path());
    fs::remove(e.path());
  }
  return picture;
}

int channel(std::uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); }

// How far two pictures of the same text differ: per pixel, and in the ink of
// 4 x 4 blocks, which a shift of a fraction of a pixel hardly changes.
struct Difference {
  int largest = 0;       // largest channel difference of a pixel
  int beyond = 0;        // pixels differing by more than 96 in a channel
  int blockLargest = 0;  // largest difference of the mean of a 4 x 4 block, per channel
  long long ink = 0;     // pixels not white in the reference
  std::string text() const {
    char buf[160];
    std::snprintf(buf, sizeof buf, "largest %d, %d pixels beyond 96, largest block difference %d, %lld ink pixels",
                  largest, beyond, blockLargest, ink);
    return buf;
  }
};

Difference difference(const zeptest::Picture& got, const zeptest::Picture& want) {
  Difference d;
  if (got.width != want.width || got.height != want.height) {
    d.largest = d.blockLargest = 999;
    return d;
  }
  for (int y = 0; y < want.height; ++y)
    for (int x = 0; x < want.width; ++x) {
      int worst = 0;
      for (int sh : {0, 8, 16}) worst = std::max(worst, std::abs(channel(got.at(x, y), sh) - channel(want.at(x, y), sh)));
      d.largest = std::max(d.largest, worst);
      d.beyond += worst > 96;
      d.ink += want.at(x, y) != 0xFFFFFF;
    }
  for (int y = 0; y + 4 <= want.height; y += 2)
    for (int x = 0; x + 4 <= want.width; x += 2)
      for (int sh : {0, 8, 16}) {
        int sum = 0;
        for (int j = 0; j < 4; ++j)
          for (int i = 0; i < 4; ++i) sum += channel(got.at(x + i, y + j), sh) - channel(want.at(x + i, y + j), sh);
        d.blockLargest = std::max(d.blockLargest, std::abs(sum) / 16);
      }
  return d;
}

// Heights, angles, colours, widths, scripts and both fonts.
void sampler() {
  zep::sglset("LCNTL", true);
  const char* labels[] = {"Label 012345 x=0.5", "QUICK brown fox", "a\\^2+b\\_i=c\\^n\\_k"};
  const float heights[] = {0.014F, 0.025F, 0.05F, 0.09F};
  const int angles[] = {0, 30, 90, 145, 270};
  const int indices[] = {1, 21, 33, 15, 49};
  int k = 0;
  for (float h : heights)
    for (int angle : angles) {
      const float x = 0.08F + 0.21F * static_cast<float>(k % 5);
      const float y = 0.1F + 0.2F * static_cast<float>(k / 5);
      if (k == 10) zep::sgiset("IFONT", 2);
      zep::sgtxzv(x, y, labels[k % 3], h, angle, 0, indices[k % 5]);
      ++k;
    }
  zep::sgiset("IFONT", 1);
}

TEST(TextGlyphMasks, PaintedGlyphsLookLikeTheirStrokes) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    const zeptest::Picture strokes = render(strokingPort(), sampler);
    counts = {};
    const zeptest::Picture masks = render(countingPort(), sampler);
    std::string failure;
    if (strokes.empty() || masks.empty()) return std::string("no PNG page");
    if (counts.painted < 200) failure += "only " + std::to_string(counts.painted) + " glyphs painted whole\n";
    const Difference d = difference(masks, strokes);
    if (d.ink < 5000) failure += "too little text drawn\n";
    if (d.blockLargest > 24 || d.beyond > d.ink / 200) failure += "pictures differ: " + d.text() + "\n";
    // On a turned page W runs across V.
    const zeptest::Picture turnedStrokes = render(strokingPort(), sampler, -2);
    counts = {};
    const zeptest::Picture turned = render(countingPort(), sampler, -2);
    const Difference t = difference(turned, turnedStrokes);
    if (counts.painted < 200) failure += "only " + std::to_string(counts.painted) + " glyphs painted on the turned page\n";
    if (t.blockLargest > 24 || t.beyond > t.ink / 200) failure += "turned pictures differ: " + t.text() + "\n";
    return failure;
  });
}

// Ink outside the rectangle x0..x1, y0..y1 (pixels) of a picture.
int inkOutside(const zeptest::Picture& p, int x0, int x1, int y0, int y1) {
  int n = 0;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if ((x < x0 || x > x1 || y < y0 || y > y1) && p.at(x, y) != 0xFFFFFF) ++n;
  return n;
}

TEST(TextGlyphMasks, BentOrCutGlyphsAreStroked) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    std::string failure;
    // A perspective view bends every glyph: no glyph goes to the driver whole,
    // and the page is that of the strokes.
    auto inPerspective = [] {
      zep::sgsvpt(0.1F, 0.9F, 0.1F, 0.9F);
      zep::sgswnd(0, 1, 0, 1);
      zep::sgstrn(1);
      zep::sgstrf();
      zep::stspr3(0.5F, 0.5F, 0.0F, 0.3F, 0.4F, 0.0F, 1.0F, 3.0F, 0.5F, 0.5F);
      zep::stspr2(1, 2, 0.0F);
      zep::sgtxzv(0.5F, 0.5F, "PERSPECTIVE 123", 0.05F, 20, 0, 1);
      zep::stspr2(0, 0, 0.0F);
    };
    const zeptest::Picture stroked = render(strokingPort(), inPerspective);
    counts = {};
    const zeptest::Picture viewed = render(countingPort(), inPerspective);
    if (counts.asked != 0) failure += std::to_string(counts.asked) + " glyphs handed over in perspective\n";
    if (difference(viewed, stroked).largest != 0) failure += "the perspective page is not that of the strokes\n";

    // With LCLIP on, a string across the viewport's right edge: the glyphs
    // inside are painted, those the edge cuts are stroked and clipped, and no
    // ink lies right of the edge (x = 0.6 of the frame: 127 + 390 pixels).
    auto clipped = [] {
      zep::sgsvpt(0.1F, 0.6F, 0.1F, 0.9F);
      zep::sgswnd(0, 1, 0, 1);
      zep::sgstrn(1);
      zep::sgstrf();
      zep::sglset("LCLIP", true);
      zep::sgtxzv(0.5F, 0.5F, "CUT AT THE EDGE OF THE VIEWPORT", 0.04F, 0, 0, 1);
      zep::sglset("LCLIP", false);
    };
    const zeptest::Picture cutStrokes = render(strokingPort(), clipped);
    counts = {};
    const zeptest::Picture cut = render(countingPort(), clipped);
    if (counts.painted == 0 || counts.asked >= 31)
      failure += "glyphs painted " + std::to_string(counts.painted) + ", handed over " + std::to_string(counts.asked) + "\n";
    if (inkOutside(cut, 0, 127 + 390 + 1, 0, cut.height) != 0) failure += "ink right of the clipped edge\n";
    const Difference d = difference(cut, cutStrokes);
    if (d.blockLargest > 24) failure += "clipped text differs: " + d.text() + "\n";
    return failure;
  });
}

TEST(TextGlyphMasks, MasksAreBoundedAndNeverServeAnotherFontWidthOrPage) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    std::string failure;
    // The same glyphs at the same place in two fonts and two widths, on two
    // pages: a mask of the first kind reused for the second would show.
    auto fontsAndWidths = [] {
      zep::sgtxzv(0.3F, 0.5F, "AgW", 0.06F, 0, 0, 1);
      zep::sgiset("IFONT", 2);
      zep::sgtxzv(0.3F, 0.5F, "AgW", 0.06F, 0, 0, 1);
      zep::sgiset("IFONT", 1);
      zep::sgtxzv(0.6F, 0.5F, "AgW", 0.06F, 0, 0, 1);
      zep::sgtxzv(0.6F, 0.5F, "AgW", 0.06F, 0, 0, 5);
    };
    const zeptest::Picture strokes = render(strokingPort(), fontsAndWidths);
    const zeptest::Picture masks = render(countingPort(), fontsAndWidths);
    const Difference d = difference(masks, strokes);
    if (d.blockLargest > 24) failure += "font or width change reused a mask: " + d.text() + "\n";

    // Many sizes of a large glyph fill the cache, which stays within its bound;
    // a new page starts with none.
    zep::workstation::setDriverPort(&countingPort());
    zep::gliset("MSGLEV", 2);
    zep::swiset("IFL", 1);
    zep::sgopn(2);
    zep::sgfrm();
    std::size_t most = 0, previous = 0;
    bool dropped = false;
    for (int i = 0; i < 400; ++i) {
      zep::sgtxzv(0.5F, 0.5F, "W", 0.1F + 0.0005F * static_cast<float>(i), 0, 0, 1);
      const std::size_t now = zep::zgglyphbytes();
      most = std::max(most, now);
      dropped = dropped || now < previous;
      previous = now;
    }
    if (most == 0) failure += "no masks kept\n";
    if (most > zep::kZgGlyphCacheBytes) failure += "masks hold " + std::to_string(most) + " bytes\n";
    if (!dropped) failure += "the cache never filled\n";
    zep::sgfrm();
    if (zep::zgglyphbytes() != 0) failure += "masks kept across the page\n";
    zep::sgcls();
    zep::workstation::setDriverPort(nullptr);
    return failure;
  });
}

}  // namespace
