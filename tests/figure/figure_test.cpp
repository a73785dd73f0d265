// The figure layer: pages of an exact size, frames laid out in a grid without
// text running into the next cell or off the page, maps that fill their frame,
// and text that never ends the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <numbers>
#include <set>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "axes/ax_internal.hpp"
#include "foundation/fixed_text.hpp"
#include "primitives/figure_text.hpp"
#include "support/exact_page.hpp"
#include "support/message_file.hpp"
#include "support/png_page.hpp"
#include "vector/vector_state.hpp"

namespace {

namespace fs = std::filesystem;
using zeptest::drawExactPage;
using zeptest::PagePixels;
using zeptest::Png;
using zeptest::TempWorkDir;

void diagonal() {
  zep::fgfrm();
  float x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  zep::fgqcel(x0, x1, y0, y1);
  zep::sglnv(x0, y0, x1, y1);
}

// Points for cm: 72 / 2.54 worked by hand.
TEST(FigurePages, PdfSvgAndEpsPagesHaveTheSizeAskedUpright) {
  struct Case {
    float w, h;
    const char *size;
  } cases[] = {{8.9F, 6.0F, "252.283 x 170.079 pts"}, {18.0F, 12.0F, "510.236 x 340.157 pts"}};
  for (const Case& c : cases) {
    TempWorkDir dir;
    drawExactPage(4, c.w, c.h, diagonal);
    EXPECT_EQ(zeptest::pdfinfoValue(dir.path() / "zep.pdf", "Page size"), c.size) << c.w;
    EXPECT_EQ(zeptest::pdfinfoValue(dir.path() / "zep.pdf", "Page rot"), "0");
  }
  TempWorkDir dir;
  drawExactPage(3, 18, 12, diagonal);
  EXPECT_NE(zeptest::readFile(dir.path() / "zep_0001.svg").find("width=\"510.23622pt\" height=\"340.15748pt\""),
            std::string::npos);
  drawExactPage(2, 18, 12, diagonal);
  EXPECT_NE(zeptest::readFile(dir.path() / "zep_0001.eps").find("%%BoundingBox: 0 0 511 341"), std::string::npos);
}

TEST(FigurePages, PngPagesHaveExactlyThePixelsAskedWithoutABorder) {
  TempWorkDir dir;
  // 9 x 6 inches at the default 100 pixels per inch, and 6 x 4 at 150.
  drawExactPage(1, 22.86F, 15.24F, diagonal);
  {
    Png png(dir.path() / "zep_0001.png");
    ASSERT_EQ(png.width(), 900);
    ASSERT_EQ(png.height(), 600);
    // The diagonal of the whole page reaches its corner pixels: no border.
    const PagePixels p{png};
    EXPECT_GT(p.inkIn(0, 2, 597, 599), 0);
    EXPECT_GT(p.inkIn(897, 899, 0, 2), 0);
  }
  zep::fgsdpi(150);
  drawExactPage(1, 15.24F, 10.16F, diagonal);
  EXPECT_EQ(Png(dir.path() / "zep_0001.png").width(), 900);
  // Without a page size the design's plot of IWIDTH x IHEIGHT and its border stay.
  zep::swrset("PAGEW", 0);
  zep::swrset("PAGEH", 0);
  zep::gliset("MSGLEV", 2);
  zep::sgopn(2);
  zep::sgfrm();
  zep::sgcls();
  Png old(dir.path() / "zep_0001.png");
  EXPECT_EQ(old.width(), 904);
  EXPECT_EQ(old.height(), 654);
}

// A text's share of the page is the same on a PNG page and on the PDF page of
// the same size read back by poppler at the PNG's resolution.
TEST(FigurePages, TextHasTheSameSizeRelativeToThePageInPngAndPdf) {
  TempWorkDir dir;
  const auto draw = [] {
    zep::fgfrm();
    zep::fgtxzv(0.1F, 0.3F, "HHHHHHHH", 0.08F, 0, -1, 1);
  };
  drawExactPage(1, 20, 10, draw);
  fs::rename(dir.path() / "zep_0001.png", dir.path() / "direct.png");
  drawExactPage(4, 20, 10, draw);
  zeptest::runCommand("pdftoppm -png -r 100 -singlefile zep.pdf viapdf");
  const auto extent = [](const Png& png) {
    int x0 = png.width(), x1 = -1;
    for (int y = 0; y < png.height(); ++y)
      for (int x = 0; x < png.width(); ++x)
        if (png.pixel(x, y) != 0xFFFFFF) x0 = std::min(x0, x), x1 = std::max(x1, x);
    return std::pair{x0, x1};
  };
  Png direct(dir.path() / "direct.png"), viaPdf(dir.path() / "viapdf.png");
  ASSERT_TRUE(viaPdf.ok());
  EXPECT_NEAR(viaPdf.width(), direct.width(), 1);
  const auto [a0, a1] = extent(direct);
  const auto [b0, b1] = extent(viaPdf);
  EXPECT_NEAR(a0, b0, 2);
  EXPECT_NEAR(a1, b1, 2);
  EXPECT_GT(a1 - a0, 400);
}

TEST(FigurePages, SizesThatCannotBeHadAreReported) {
  EXPECT_EXIT(zep::fgpage(10, 10, "PT"), testing::KilledBySignal(SIGABRT),
              zeptest::lineRegex(" ***** ERROR (FGPAGE) ***  UNIT \"PT\" IS INVALID (CM, MM OR IN)."));
  EXPECT_EXIT(
      {
        zep::gliset("MSGLEV", 2);
        zep::swrset("PAGEW", -1);
        zep::swrset("PAGEH", 5);
        zep::sgopn(2);
      },
      testing::KilledBySignal(SIGABRT), zeptest::lineRegex(" ***** ERROR (SWDOPN) ***  PAGEW = -1 IS OUT OF RANGE (>0 TO 1000 CM)."));
}

TEST(FigurePages, NothingVanishesInSilence) {
  TempWorkDir dir;
  EXPECT_EXIT(
      {
        zep::gliset("MSGLEV", 2);
        zep::swiset("IFL", 1);
        zep::sgopn(2);
        zep::sglnv(0, 0, 1, 1);
      },
      testing::KilledBySignal(SIGABRT),
      zeptest::lineRegex(" ***** ERROR (SWGOPN) ***  NO PAGE IS OPEN: CALL SGFRM BEFORE DRAWING."));
  // A data directory named without its trailing slash is found all the same.
  std::string dspath(80, ' ');
  zep::glcget("DSPATH", dspath);
  std::string bare(zep::text::trimmed(dspath));
  while (!bare.empty() && bare.back() == '/') bare.pop_back();
  zep::glcset("DSPATH", bare);
  drawExactPage(1, 5, 5, diagonal);
  EXPECT_TRUE(zeptest::isPng(dir.path() / "zep_0001.png"));
}

// A 2 x 3 grid on a 24 x 14 cm page (945 x 551 pixels) with long tick labels,
// axis titles and frame titles: no ink on the lines between the cells or on
// the page's edge, and every frame keeps a useful size.
TEST(FigureLayout, SixFramesWithLongLabelsKeepToTheirCells) {
  TempWorkDir dir;
  std::vector<std::array<float, 4>> viewports;
  drawExactPage(1, 24, 14, [&] {
    zep::fggrid(2, 3);
    for (int k = 0; k < 6; ++k) {
      zep::fgfrm();
      const float s = k % 3 == 2 ? 1e7F : 1.0F;
      zep::sgswnd(-123456.0F * s, 987654.0F * s, k % 2 ? 0.001F : -5e4F, k % 2 ? 1000.0F : 5e4F);
      zep::sgstrn(k % 2 ? 2 : 1);
      zep::axsttl("B", "A RATHER LONG AXIS TITLE IN METRES PER SECOND (m s\\^{-1})");
      zep::axsttl("L", "TEMPERATURE DIFFERENCE \\Delta T (\\deg C)");
      zep::axssid("R", true, true);
      zep::fgttl(k == 2 ? "A FRAME TITLE MUCH WIDER THAN ITS FRAME THAT HAS TO BE WRAPPED" : "NORTHERN HEMISPHERE");
      zep::fgstrf();
      std::array<float, 4> vp{};
      zep::sgqvpt(vp[0], vp[1], vp[2], vp[3]);
      viewports.push_back(vp);
      zep::fgpfrm();
    }
  });
  Png png(dir.path() / "zep_0001.png");
  ASSERT_EQ(png.width(), 945);
  ASSERT_EQ(png.height(), 551);
  const PagePixels p{png};
  EXPECT_EQ(p.inkIn(314, 316, 0, 550), 0) << "between columns 1 and 2";
  EXPECT_EQ(p.inkIn(629, 631, 0, 550), 0) << "between columns 2 and 3";
  EXPECT_EQ(p.inkIn(0, 944, 274, 276), 0) << "between the rows";
  EXPECT_EQ(p.inkIn(0, 0, 0, 550) + p.inkIn(944, 944, 0, 550) + p.inkIn(0, 944, 0, 0) + p.inkIn(0, 944, 550, 550), 0)
      << "on the page's edge";
  for (const auto& vp : viewports) {
    EXPECT_GT(vp[1] - vp[0], 0.3F * (1.0F / 3)) << "frame width";
    EXPECT_GT(vp[3] - vp[2], 0.25F * (551.0F / 945 / 2)) << "frame height";
  }
}

// Each map's outline reaches two opposite sides of its viewport: it fills the
// frame, with no arithmetic in the caller.
TEST(FigureMaps, MapsFillTheirViewport) {
  struct Case {
    int itr;
    float lon0, lon1, lat0, lat1;
  } cases[] = {{12, -180, 180, -90, 90},
               {17, -180, 180, -90, 90},
               {30, -180, 180, -90, 90},
               {31, -180, 180, 0, 90},
               {22, -130, -60, 20, 55}};
  for (const Case& c : cases) {
    TempWorkDir dir;
    std::array<float, 4> vp{}, cell{};
    drawExactPage(1, 16, 10, [&] {
      zep::fgfrm();
      zep::fgsmap(c.itr, c.lon0, c.lon1, c.lat0, c.lat1);
      zep::fgstrf();
      zep::sgqvpt(vp[0], vp[1], vp[2], vp[3]);
      zep::fgqcel(cell[0], cell[1], cell[2], cell[3]);
      zep::axlset("LGRAT", false);
      zep::fgpfrm();
    });
    Png png(dir.path() / "zep_0001.png");
    const PagePixels p{png};
    const int x0 = p.x(vp[0]), x1 = p.x(vp[1]), y0 = p.y(vp[3]), y1 = p.y(vp[2]);
    const bool leftRight = p.inkIn(x0 - 2, x0 + 2, y0, y1) > 0 && p.inkIn(x1 - 2, x1 + 2, y0, y1) > 0;
    const bool topBottom = p.inkIn(x0, x1, y0 - 2, y0 + 2) > 0 && p.inkIn(x0, x1, y1 - 2, y1 + 2) > 0;
    EXPECT_TRUE(leftRight || topBottom) << "ITR " << c.itr;
    EXPECT_TRUE(leftRight && topBottom) << "ITR " << c.itr << ": the outline fills its viewport";
    EXPECT_GT(std::max((vp[1] - vp[0]) / (cell[1] - cell[0]), (vp[3] - vp[2]) / (cell[3] - cell[2])), 0.6F)
        << "ITR " << c.itr;
  }
}

TEST(FigureText, NamesBecomeCharactersAndOddTextStaysDrawable) {
  zep::gliset("MSGLEV", 2);
  const auto prepared = [](std::string_view t) { return zep::figure_text::prepare(t, "FGTXZV"); };
  EXPECT_EQ(prepared("\\pm 3\\sigma"), "\xC2\xB1 3\xCF\x83");
  EXPECT_EQ(prepared("a_b | \"c\""), "a_b | \"c\"");
  EXPECT_EQ(prepared("x\\^{2} \\leq{} y\\_0"), "x\\^{2} \xE2\x89\xA4 y\\_{0}");
  EXPECT_EQ(prepared("x\\^{} y\\^"), "x y");  // empty scripts are dropped
  EXPECT_EQ(prepared("m s\xE2\x81\xBB\xC2\xB9"), "m s\\^{-}\\^{1}");  // U+207B, U+00B9
  EXPECT_EQ(prepared("\\^{\\alpha}"), "\\^{\xCE\xB1}");
}

// Texts with "_", "|", '"', \pm, \sigma and an unknown \foo, in a legend and as
// free text: drawn, one warning for each text with the unknown name, and a
// character the stroke fonts lack is named once.
TEST(FigureText, LegendsAndFreeTextWarnInsteadOfEnding) {
  TempWorkDir dir;
  zeptest::MessageFile messages(dir.path() / "messages.txt");
  const std::string odd = "a_b | \"c\" \\pm 3\\sigma \\foo";
  drawExactPage(1, 16, 10, [&] {
    zep::gliset("MSGLEV", 1);
    zep::fgfrm();
    zep::sgswnd(0, 1, 0, 1);
    zep::fgstrf();
    zep::axlgcl();
    zep::axlgln(23, 1, odd);
    zep::axlgpv("TR");
    zep::fgtxzv(0.1F, 0.1F, odd + " \xE2\x98\x83", 0.03F, 0, -1, 1);
    zep::fgpfrm();
  });
  std::vector<std::string> warnings;
  for (const std::string& l : messages.lines())
    if (l.find("WARNING") != std::string::npos) warnings.push_back(l);
  EXPECT_EQ(zeptest::expectLines(warnings, {" *** WARNING (AXLGPV) ***  UNKNOWN MARKUP NAME \\FOO; DRAWN AS WRITTEN.",
                                            " *** WARNING (FGTXZV) ***  UNKNOWN MARKUP NAME \\FOO; DRAWN AS WRITTEN.",
                                            " *** WARNING (FGTXZV) ***  U+2603 IS NOT IN THE STROKE FONTS; DRAWN AS \"?\"."}),
            "");
}

// A text of 160 characters is drawn whole by the figure layer; the design's own
// text routine keeps its report.
TEST(FigureText, TextsOfAnyLengthAreDrawnWhole) {
  std::string longText;
  for (int i = 0; i < 40; ++i) longText += "ABCD";
  TempWorkDir dir;
  float unit = 0;
  drawExactPage(1, 30, 10, [&] {
    zep::fgfrm();
    int nc = 0;
    float wx = 0, wy = 0;
    zep::szqtxw("ABCD", nc, wx, wy);
    unit = wx;
    zep::fgtxzv(0.02F, 0.15F, longText, 0.0058F, 0, -1, 1);
  });
  Png png(dir.path() / "zep_0001.png");
  const PagePixels p{png};
  const double end = 0.02 + 40 * unit * 0.0058;
  ASSERT_LT(end, 1.0);
  EXPECT_GT(p.inkIn(p.x(end) - 8, p.x(end) - 1, p.y(0.17), p.y(0.13)), 0) << "the last characters";
  EXPECT_EQ(p.inkIn(p.x(end) + 3, png.width() - 1, 0, png.height() - 1), 0) << "nothing beyond the text";
  EXPECT_EXIT(drawExactPage(1, 30, 10,
                            [&] {
                              zep::sgfrm();
                              zep::sgtxzv(0.02F, 0.15F, longText, 0.0058F, 0, -1, 1);
                            }),
              testing::KilledBySignal(SIGABRT),
              zeptest::lineRegex(" ***** ERROR (SZTXWV) ***  STRING LENGTH TOO LONG. CONSIDER USING SYSTEM FONT."));
}

// The room the layout reserves for a text is its width as drawn: no less than
// its ink, and no more than the side bearings beyond it. A system font is
// drawn by Pango at whole points of 26/24 of the height; measured per height it
// came out 5-8% narrow, less than the ink on the page. The stroke font's width
// stays its glyphs' extent exactly.
TEST(FigureText, WidthsCoverTheTextAsDrawn) {
  const std::vector<std::string> texts = {"MMMMMMMM", "0.0001", "-120", "Temperature (K)", "1000 hPa"};
  constexpr float kHeight = 0.03F;
  std::vector<float> widths;
  float strokeWidth = 0, strokeGlyphs = 0;
  const std::string failure = zeptest::onPngPage(
      "system-font-widths",
      [&] {
        zep::sgswnd(0, 1, 0, 1);
        zep::sgsvpt(0, 1, 0, 1);
        zep::sgstrn(1);
        zep::sgstrf();
        zep::fgqtxw("ABCD", kHeight, strokeWidth);
        int nc = 0;
        float wy = 0;
        zep::szqtxw("ABCD", nc, strokeGlyphs, wy);
        zep::swlset("SYSFONT", true);
        for (std::size_t i = 0; i < texts.size(); ++i) {
          float w = 0;
          zep::fgqtxw(texts[i], kHeight, w);
          widths.push_back(w);
          zep::fgtxzv(0.05F, 0.9F - 0.15F * static_cast<float>(i), texts[i], kHeight, 0, -1, 1);
        }
        zep::swlset("SYSFONT", false);
      },
      [&](const Png& png) {
        std::string bad;
        for (std::size_t i = 0; i < texts.size(); ++i) {
          const double y = 0.9 - 0.15 * static_cast<double>(i);
          int left = png.width(), right = -1;
          for (int py = zeptest::pixelY(y + 0.05); py <= zeptest::pixelY(y - 0.05); ++py)
            for (int px = 0; px < png.width(); ++px)
              if ((png.pixel(px, py) & 0xFFFFFFu) != 0xFFFFFFu) left = std::min(left, px), right = std::max(right, px);
          const double ink = right - left + 1, reserved = 650.0 * widths[i];
          if (ink > reserved + 1 || reserved > ink + 0.8 * 650 * kHeight)
            bad += texts[i] + ": " + std::to_string(reserved) + " px reserved, " + std::to_string(ink) + " px of ink\n";
        }
        return bad;
      });
  EXPECT_EQ(failure, "");
  EXPECT_FLOAT_EQ(strokeWidth, strokeGlyphs * kHeight);
}

}  // namespace

namespace {

// A map finalized at a scale that leaves its viewport (nearly) empty says so:
// SIMFAC 0 puts the whole globe on one point, an offset of 5 moves it off.
TEST(FigureMaps, AMapThatMissesItsViewportIsWarnedAbout) {
  TempWorkDir dir;
  zeptest::MessageFile messages(dir.path() / "messages.txt");
  drawExactPage(1, 10, 10, [] {
    zep::gliset("MSGLEV", 1);
    zep::sgfrm();
    zep::sgstrn(12);
    zep::sgstrf();
    zep::sgssim(0.2F, 5, 0);
    zep::sgstrf();
    zep::sgssim(0.2F, 0, 0);
    zep::sgstrf();
  });
  std::string all;
  for (const std::string& l : messages.lines()) all += l + "\n";
  EXPECT_NE(all.find(" *** WARNING (SGSTRF) ***  MAP COVERS <1% OF ITS VIEWPORT (SIMFAC = 0).\n"), std::string::npos) << all;
  EXPECT_NE(all.find(" *** WARNING (SGSTRF) ***  MAP WHOLLY OUTSIDE ITS VIEWPORT (SIMFAC = 0.2).\n"), std::string::npos) << all;
  EXPECT_EQ(all.find("WARNING", all.find("0.2)") + 1), std::string::npos) << "the map that fits: " << all;
}

}  // namespace

namespace {

// The page of markup names lists every name the figure layer knows.
TEST(FigureText, EveryMarkupNameIsDocumented) {
  const std::string doc = zeptest::readFile(fs::path(ZEP_SOURCE_DIR) / "docs" / "text-markup.md");
  for (const zep::figure_text::Symbol& s : zep::figure_text::symbols())
    EXPECT_NE(doc.find("`\\" + std::string(s.name) + "` | " + std::string(s.utf8) + " |"), std::string::npos)
        << s.name;
}

}  // namespace

namespace {

// A colour bar beside a frame whose right side carries long labels, and one
// beside a map: between the labels and the bar's outline (the first column
// with a vertical run of ink over half the frame's height) lie blank columns.
TEST(FigureLayout, ColourBarsKeepClearOfLabels) {
  for (const bool map : {false, true}) {
    TempWorkDir dir;
    std::array<float, 4> vp{};
    drawExactPage(1, 16, 10, [&] {
      const float levels[] = {-1000, -500, 0, 500, 1000};
      zep::cnslvl(5, levels);
      zep::fgfrm();
      if (map) {
        zep::fgsmap(12, -180, 180, -90, 90);
      } else {
        zep::sgswnd(0, 1, -123456, 123456);
        zep::axssid("R", true, true);
      }
      zep::fgsbar("R");
      zep::fgstrf();
      zep::sgqvpt(vp[0], vp[1], vp[2], vp[3]);
      zep::fgpfrm();
    });
    Png png(dir.path() / "zep_0001.png");
    const PagePixels p{png};
    const int top = p.y(vp[3]), bottom = p.y(vp[2]);
    int bar = -1;
    for (int x = p.x(vp[1]) + 3; x < png.width() && bar < 0; ++x) {
      int run = 0, longest = 0;
      for (int y = top; y <= bottom; ++y) {
        run = p.ink(x, y) ? run + 1 : 0;
        longest = std::max(longest, run);
      }
      if (longest > (bottom - top) / 2) bar = x;
    }
    ASSERT_GT(bar, 0) << (map ? "map" : "frame") << ": no colour bar found";
    EXPECT_EQ(p.inkIn(bar - 3, bar - 1, 0, png.height() - 1), 0) << (map ? "map" : "frame") << ": labels touch the bar";
    EXPECT_GT(p.inkIn(p.x(vp[1]) + 3, bar - 4, top, bottom), 0) << (map ? "map" : "frame") << ": labels expected";
  }
}

// Four frames with a colour bar on sides B, R, T, L in turn (maps or framed
// plots), on PNG pages of a rows x columns grid of width x height cm (`g`),
// warnings and worse kept: `setup` runs once before the frames, `frame` after
// each fgfrm. The frames' viewports and cells.
// The four sides' drawing and labelling as they were, given back at the end of
// a test that changes them (they outlive sessions, as the caller set them).
struct KeptSides {
  std::array<bool, 4> draw{}, label{};
  KeptSides() {
    for (std::size_t k = 0; k < 4; ++k) zep::axqsid(std::string(1, "BTLR"[k]), draw[k], label[k]);
  }
  ~KeptSides() {
    for (std::size_t k = 0; k < 4; ++k) zep::axssid(std::string(1, "BTLR"[k]), draw[k], label[k]);
  }
  KeptSides(const KeptSides&) = delete;
  KeptSides& operator=(const KeptSides&) = delete;
};

constexpr char kBarSides[] = {'B', 'R', 'T', 'L'};

struct BarFrames {
  std::array<std::array<float, 4>, 4> vps{}, cells{};
  int perPage = 1;
  bool map = false;
  // The page that holds frame k, and how a failure names that frame.
  Png page(const TempWorkDir& dir, std::size_t k) const {
    return Png(dir.path() / ("zep_000" + std::to_string(static_cast<int>(k) / perPage + 1) + ".png"));
  }
  std::string where(std::size_t k) const {
    return std::to_string(perPage) + (map ? " maps, bar " : " frames, bar ") + kBarSides[k];
  }
};

BarFrames drawBarFrames(const std::array<float, 4>& g, bool map, const std::function<void()>& setup,
                        const std::function<void()>& frame) {
  BarFrames f;
  f.perPage = static_cast<int>(g[0] * g[1]);
  f.map = map;
  drawExactPage(1, g[2], g[3], [&] {
    zep::gliset("MSGLEV", 1);
    setup();
    zep::fggrid(static_cast<int>(g[0]), static_cast<int>(g[1]));
    for (std::size_t k = 0; k < 4; ++k) {
      zep::fgfrm();
      if (map) zep::fgsmap(12, -180, 180, -90, 90);
      frame();
      zep::fgsbar(std::string(1, kBarSides[k]));
      zep::fgstrf();
      zep::sgqvpt(f.vps[k][0], f.vps[k][1], f.vps[k][2], f.vps[k][3]);
      zep::fgqcel(f.cells[k][0], f.cells[k][1], f.cells[k][2], f.cells[k][3]);
      zep::fgpfrm();
    }
  });
  return f;
}

// Inked pixels on the edges of a cell (V x0, x1, y0, y1).
int inkOnEdges(const PagePixels& p, const std::array<float, 4>& c) {
  const int x0 = p.x(c[0]), x1 = p.x(c[1]), top = p.y(c[3]), bottom = p.y(c[2]);
  return p.inkIn(x0, x1, top, top) + p.inkIn(x0, x1, bottom, bottom) + p.inkIn(x0, x0, top, bottom) +
         p.inkIn(x1, x1, top, bottom);
}

// Colour bars with a title on each side of maps and of framed plots, alone on
// a page and in 2 x 2 and 1 x 2 grids. Going out from the frame's side through
// its cell: a blank line, the bar (the outermost line inked across the whole
// side) with its ticks, its labels, then its title as a run of ink one line
// deep (and the frame's title beyond a bar on top), the last ending inside the
// cell; no ink on a cell's edge; no text warned about for leaving the page.
TEST(FigureLayout, ColourBarTitlesFitTheirCellsOnEverySide) {
  const std::array<std::array<float, 4>, 3> grids = {{{1, 1, 16, 10}, {2, 2, 16, 12}, {1, 2, 16, 7}}};
  for (const auto& g : grids)
    for (const bool map : {false, true}) {
      TempWorkDir dir;
      zeptest::MessageFile messages(dir.path() / "messages.txt");
      const BarFrames f = drawBarFrames(
          g, map,
          [] {
            const float levels[] = {-1000, -500, 0, 500, 1000};
            zep::cnslvl(5, levels);
            zep::cmsbtl("HEIGHT ANOMALY", "m");
          },
          [&] {
            if (!map) zep::axsttl("B", "TIME (s)");
            zep::fgttl("FRAME");
          });
      zep::cmsbtl("", "");
      for (std::size_t k = 0; k < 4; ++k) {
        const Png png = f.page(dir, k);
        const PagePixels p{png};
        const char side = kBarSides[k];
        const std::string where = f.where(k);
        EXPECT_EQ(inkOnEdges(p, f.cells[k]), 0) << where << ": ink on the cell's edge";
        const std::vector<int> out = zeptest::outwardProfile(p, side, f.vps[k], f.cells[k]);
        const int length = side == 'B' || side == 'T' ? p.x(f.vps[k][1]) - p.x(f.vps[k][0]) - 3
                                                      : p.y(f.vps[k][2]) - p.y(f.vps[k][3]) - 3;
        int bar = -1;
        for (int i = 0; i < static_cast<int>(out.size()); ++i) bar = out[static_cast<std::size_t>(i)] >= length ? i : bar;
        std::vector<std::pair<int, int>> runs = zeptest::inkRuns(out);
        const auto at = std::find_if(runs.begin(), runs.end(), [&](const auto& r) { return r.second >= bar; });
        ASSERT_TRUE(bar > 0 && at != runs.end()) << where << ": no bar";
        EXPECT_EQ(out[static_cast<std::size_t>(at->first - 1)], 0) << where << ": the bar touches the frame's labels";
        // Beyond the bar and its ticks: labels (a vertical bar's may fall
        // apart between characters), the bar's title, the frame's title.
        const std::vector<std::pair<int, int>> beyond(at + 1, runs.end());
        const std::size_t titles = side == 'T' ? 2 : 1;
        ASSERT_GE(beyond.size(), titles + 1) << where << ": labels and titles expected apart";
        const auto& title = beyond[beyond.size() - titles];
        EXPECT_LE(title.second - title.first + 1, static_cast<int>(1.8 * 0.016 * p.scale()) + 2)
            << where << ": the bar's title runs into its labels";
        EXPECT_LT(beyond.back().second, static_cast<int>(out.size()) - 1) << where << ": text reaches the cell's edge";
      }
      for (const std::string& line : messages.lines()) EXPECT_EQ(line.find("WARNING"), std::string::npos) << line;
    }
}

// Bars whose labels take a common factor (x10^-5 over 21 levels, small end
// boxes), beside frames without labels of their own, alone on a page and in a
// 2 x 2 grid: the factor stands past the bar's end (right of a bar below or
// above the frame, above a bar beside it) inside the cell; no ink on a cell's
// edge (the page's edge for a cell there), no warning.
TEST(FigureLayout, ColourBarFactorsKeepToTheirCells) {
  const KeptSides sides;
  const std::array<std::array<float, 4>, 2> grids = {{{1, 1, 16, 10}, {2, 2, 16, 12}}};
  for (const auto& g : grids)
    for (const bool map : {false, true}) {
      TempWorkDir dir;
      zeptest::MessageFile messages(dir.path() / "messages.txt");
      const BarFrames f = drawBarFrames(
          g, map,
          [] {
            std::vector<float> levels;
            for (int k = 0; k <= 20; ++k) levels.push_back(1e-6F * static_cast<float>(k));
            zep::cnslvl(21, levels.data());
          },
          [&] {
            if (map) return;
            for (const char* side : {"B", "T", "L", "R"}) zep::axssid(side, true, false);
          });
      for (std::size_t k = 0; k < 4; ++k) {
        const Png png = f.page(dir, k);
        const PagePixels p{png};
        const char side = kBarSides[k];
        const std::string where = f.where(k);
        const auto& vp = f.vps[k];
        const auto& c = f.cells[k];
        EXPECT_EQ(inkOnEdges(p, c), 0) << where << ": ink on the cell's edge";
        // The factor: ink past the frame's right end beyond a bar below or
        // above it, above the frame's top beside a bar there.
        int factor = 0;
        switch (side) {
          case 'B': factor = p.inkIn(p.x(vp[1]) + 3, p.x(c[1]) - 1, p.y(vp[2]) + 3, p.y(c[2]) - 1); break;
          case 'T': factor = p.inkIn(p.x(vp[1]) + 3, p.x(c[1]) - 1, p.y(c[3]) + 1, p.y(vp[3]) - 3); break;
          case 'R': factor = p.inkIn(p.x(vp[1]) + 3, p.x(c[1]) - 1, p.y(c[3]) + 1, p.y(vp[3]) - 3); break;
          default: factor = p.inkIn(p.x(c[0]) + 1, p.x(vp[0]) - 3, p.y(c[3]) + 1, p.y(vp[3]) - 3); break;
        }
        EXPECT_GT(factor, 0) << where << ": no factor past the bar's end";
      }
      for (const std::string& line : messages.lines()) EXPECT_EQ(line.find("WARNING"), std::string::npos) << line;
    }
}

// Frames whose labels take common factors on both axes (x10^6 below, x10^-5
// beside), alone on a page and in a 2 x 2 grid: no ink on a cell's edge, no
// warning, and below the frame the factor stands apart from the last label:
// past the frame's right end, the first ink ends with the right half of "2.0"
// (within a pixel) and more ink, the factor, follows.
TEST(FigureLayout, AxisFactorsKeepToTheirCellsApartFromTheLabels) {
  for (const int n : {1, 2}) {
    TempWorkDir dir;
    zeptest::MessageFile messages(dir.path() / "messages.txt");
    std::array<float, 4> vp{}, cell{};
    float half = 0;  // half the last label's width
    drawExactPage(1, 12, 8, [&] {
      zep::gliset("MSGLEV", 1);
      zep::fggrid(n, n);
      for (int k = 0; k < n * n; ++k) {
        zep::fgfrm();
        zep::sgswnd(0, 2e6F, 0, 3e-5F);
        zep::fgstrf();
        zep::sgqvpt(vp[0], vp[1], vp[2], vp[3]);
        zep::fgqcel(cell[0], cell[1], cell[2], cell[3]);
        float h = 0;
        int lindex = 0, tindex = 0;
        zep::axqatr("B", h, lindex, tindex);
        if (h <= 0) zep::axrget("RLABEL", h);
        zep::fgqtxw("2.0", h, half);
        half /= 2;
        zep::fgpfrm();
      }
    });
    Png png(dir.path() / "zep_0001.png");
    const PagePixels p{png};
    EXPECT_EQ(inkOnEdges(p, cell), 0) << n << " x " << n << ": ink on the cell's edge";
    std::vector<int> columns;  // ink per column past the frame's end, below it
    for (int x = p.x(vp[1]) + 1; x < p.x(cell[1]); ++x) columns.push_back(p.inkIn(x, x, p.y(vp[2]) + 2, p.y(cell[2]) - 1));
    const auto runs = zeptest::inkRuns(columns);
    ASSERT_GE(runs.size(), 2U) << n << " x " << n << ": the last label and the factor expected";
    EXPECT_LE(runs[0].second + 1, half * p.scale() + 1) << n << " x " << n << ": the factor touches the last label";
    for (const std::string& line : messages.lines()) EXPECT_EQ(line.find("WARNING"), std::string::npos) << line;
  }
}

// Latitude circles of polar maps, north and south, on PNG and PDF pages: the
// labels of 30 and 60 degrees are drawn inside the map centred on their
// circles (radius R tan((90 - |lat|) / 2) on a map of radius R to the equator)
// and clear of the longitude labels round the rim.
TEST(FigureMaps, PolarMapsLabelTheirLatitudeCircles) {
  for (const bool south : {false, true})
    for (const int ifl : {1, 4}) {
      TempWorkDir dir;
      std::array<float, 4> vp{};
      std::vector<zeptest::MapLabel> labels;
      drawExactPage(ifl, 16, 10, [&] {
        zep::fgfrm();
        zep::fgsmap(31, -180, 180, south ? -90 : 0, south ? 0 : 90);
        zep::fgpfrm();
        zep::sgqvpt(vp[0], vp[1], vp[2], vp[3]);
        labels = zeptest::mapLabels();
      });
      if (ifl == 4) zeptest::runCommand("pdftoppm -png -r 100 -singlefile zep.pdf zep_0001");
      Png png(dir.path() / "zep_0001.png");
      const PagePixels p{png};
      const std::string where = std::string(south ? "south" : "north") + (ifl == 1 ? ", PNG" : ", PDF");
      const double cx = (vp[0] + vp[1]) / 2, cy = (vp[2] + vp[3]) / 2, r = (vp[1] - vp[0]) / 2;
      const auto radius = [&](double x, double y) { return std::hypot(x - cx, y - cy); };
      for (const int lat : {30, 60}) {
        const std::string name = std::to_string(lat) + zep::axes::textParameter("CDEG") + (south ? "S" : "N");
        const auto b = std::find_if(labels.begin(), labels.end(), [&](const auto& l) {
          return l.text == name && radius((l.x0 + l.x1) / 2, (l.y0 + l.y1) / 2) < r;
        });
        ASSERT_NE(b, labels.end()) << where << ": no label " << name << " inside the map";
        EXPECT_NEAR(radius((b->x0 + b->x1) / 2, (b->y0 + b->y1) / 2), r * std::tan((90 - lat) * std::numbers::pi / 360),
                    0.002) << where << ", " << name;
        EXPECT_LT(std::max({radius(b->x0, b->y0), radius(b->x0, b->y1), radius(b->x1, b->y0), radius(b->x1, b->y1)}), r)
            << where << ", " << name;
        EXPECT_GT(p.inkIn(p.x(b->x0), p.x(b->x1), p.y(b->y1), p.y(b->y0)), 20) << where << ", " << name;
        for (const auto& o : labels)
          EXPECT_TRUE(&o == &*b || o.x1 < b->x0 || b->x1 < o.x0 || o.y1 < b->y0 || b->y1 < o.y0) << where << ": " << o.text;
      }
      EXPECT_GT(labels.size(), 10U) << where << ": longitudes round the rim";
    }
}

// A conformal conic box in a small frame, as on the gallery's page: longitude
// labels side by side keep blank columns between their inked strokes.
TEST(FigureMaps, ConicLabelsInASmallFrameStandApart) {
  TempWorkDir dir;
  std::vector<zeptest::MapLabel> labels;
  drawExactPage(1, 18.29F, 12.95F, [&] {
    zep::axrset("RLABEL", 0.014F);
    zep::fgfttl("SIX FRAMES");
    zep::fggrid(2, 3);
    for (int k = 0; k < 5; ++k) zep::fgfrm();
    zep::fgsmap(22, 120, 150, 25, 50);
    zep::fgpfrm();
    labels = zeptest::mapLabels();
    zep::axrset("RLABEL", 0.02F);
    zep::fgfttl("");
  });
  Png png(dir.path() / "zep_0001.png");
  const PagePixels p{png};
  int pairs = 0;
  for (const auto& a : labels)
    for (const auto& b : labels) {
      if (!(a.x1 <= b.x0 && a.y0 < b.y1 && b.y0 < a.y1)) continue;  // b right of a, on one line
      ++pairs;
      const int top = p.y(std::min(a.y1, b.y1)), bottom = p.y(std::max(a.y0, b.y0));
      int run = 0, widest = 0;
      for (int x = p.x((a.x0 + a.x1) / 2); x <= p.x((b.x0 + b.x1) / 2); ++x) {
        run = p.inkIn(x, x, top, bottom) == 0 ? run + 1 : 0;
        widest = std::max(widest, run);
      }
      EXPECT_GE(widest, 4) << a.text << " and " << b.text;
    }
  EXPECT_GT(pairs, 0) << "labels side by side expected";
}

// The first of three scatter points whose pixel is not its value's colour, or
// nothing when all three are.
std::string wrongPointColour(const Png& png, const PagePixels& p, const float* vx, const float* vy,
                             const int* expected, const float* values) {
  for (int k = 0; k < 3; ++k) {
    const auto px = png.pixel(p.x(vx[k]), p.y(vy[k]));
    if (!zeptest::sameColour(px, expected[k])) return "colour " + std::to_string(px) + " for " + std::to_string(values[k]);
  }
  return {};
}

TEST(FigurePlots, ScatterTakesItsBandsColoursAndArrowsLeaveTheFieldAlone) {
  // Isolated: the levels and the vector field stay in the child.
  ZEP_EXPECT_ISOLATED([] {
    TempWorkDir dir;
    // Levels 1 and 2 make three bands spread over viridis: t = 0, 0.5 and 1
    // (matplotlib's colours).
    const float levels[] = {1, 2};
    const float x[] = {1, 2, 3}, y[] = {0.4F, 0.4F, 0.4F}, c[] = {0.5F, 1.5F, 2.5F};
    const int expected[] = {0x440154, 0x21918c, 0xfde725};
    float vx[3] = {}, vy[3] = {}, ax = 0, ay = 0;
    int keptPoints = 0;
    drawExactPage(1, 22.86F, 15.24F, [&] {
      zep::cnslvl(2, levels);
      const float px[] = {0, 1, 2, 3, 4}, pu[] = {1, 1, 1, 1, 1};
      zep::vcspnt(5, px, px, pu, pu);  // the caller's own field
      zep::fgfrm();
      zep::sgswnd(0, 4, 0, 1);
      zep::fgscat(3, x, y, c, 10, 0.03F);
      zep::fgstrf();
      for (int k = 0; k < 3; ++k) zep::stftrf(x[k], y[k], vx[k], vy[k]);
      zep::stftrf(2, 0.8F, ax, ay);
      const float u = 1, v = 0, at[] = {2, 0.8F};
      zep::fgvecu(1, at, at + 1, &u, &v, 0.08F, 3);
      keptPoints = zep::vector::field().nx;
      zep::fgpfrm();
    });
    Png png(dir.path() / "zep_0001.png");
    if (!png.ok()) return std::string("no page");
    const PagePixels p{png};
    if (const std::string wrong = wrongPointColour(png, p, vx, vy, expected, c); !wrong.empty()) return wrong;
    // The arrow runs 0.08 V along growing x from its point, not back.
    if (p.inkIn(p.x(ax + 0.03), p.x(ax + 0.05), p.y(ay) - 1, p.y(ay) + 1) == 0) return std::string("no arrow");
    if (p.inkIn(p.x(ax - 0.05), p.x(ax - 0.02), p.y(ay) - 3, p.y(ay) + 3) != 0) return std::string("arrow backwards");
    if (keptPoints != 5) return "the field has " + std::to_string(keptPoints) + " points";
    return std::string();
  });
}

}  // namespace

namespace {

// The array makers against values worked by hand.
TEST(FigureData, ArraysAreMadeAsNumpyMakesThem) {
  EXPECT_EQ(zep::fglins(0, 1, 5), (std::vector<float>{0, 0.25F, 0.5F, 0.75F, 1}));
  EXPECT_EQ(zep::fglins(-180, 180, 73).back(), 180.0F);  // the last value is b, not a sum of steps
  EXPECT_EQ(zep::fglins(3, 7, 1), std::vector<float>{3});
  EXPECT_EQ(zep::fgarry(4, [](int i) { return i * i; }), (std::vector<float>{0, 1, 4, 9}));
  int calls = 0;
  auto counter = [&calls] { return static_cast<float>(++calls); };
  EXPECT_EQ(zep::fgarry(3, counter), (std::vector<float>{1, 2, 3}));
  EXPECT_EQ(zep::fgarry(2, counter), (std::vector<float>{4, 5}));  // a generator goes on where it was
  const std::vector<float> x{1, 2, 3}, y{10, 20};
  EXPECT_EQ(zep::fgeval(x, [](float v) { return 2 * v; }), (std::vector<float>{2, 4, 6}));
  EXPECT_EQ(zep::fgeval(x, y, [](float a, float b) { return a + b; }), (std::vector<float>{11, 22}));
  // Row-major: element j * nx + i is (x[i], y[j]).
  EXPECT_EQ(zep::fgmesh(x, y, [](float a, float b) { return a + b; }), (std::vector<float>{11, 12, 13, 21, 22, 23}));
  EXPECT_EXIT(zep::fglins(0, 1, 0), testing::KilledBySignal(SIGABRT),
              zeptest::lineRegex(" ***** ERROR (FGLINS) ***  N MUST BE AT LEAST 1 AND THE ENDS FINITE."));
  const std::vector<float> z(5, 1.0F);
  EXPECT_EXIT(zep::cnsfld(z, x, y), testing::KilledBySignal(SIGABRT),
              zeptest::lineRegex(" ***** ERROR (CNSFLD) ***  Z HOLDS 5 VALUES; X AND Y GIVE NX X NY = 3 X 2."));
  EXPECT_EXIT(zep::vcsfld(z, z, x, y), testing::KilledBySignal(SIGABRT),
              zeptest::lineRegex(" ***** ERROR (VCSFLD) ***  U, V HOLD 5, 5 VALUES; X AND Y GIVE NX X NY = 3 X 2."));
}

// After fgopn the first frame starts by itself, in the grid fgopn was given;
// fgsttl sets the three titles at once; arrays of different lengths are warned about.
TEST(FigureData, TheFirstFrameStartsByItselfAfterFgopn) {
  TempWorkDir dir;
  zeptest::MessageFile messages(dir.path() / "messages.txt");
  zep::gliset("MSGLEV", 1);
  zep::swiset("IFL", 1);
  const std::vector<float> x{0, 1, 2}, y{0, 1};
  zep::fgopn("compact", 20, 10, "CM", 1, 2);
  zep::fgplzu(x, y, 1, 1);
  float x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  zep::fgqcel(x0, x1, y0, y1);
  EXPECT_FLOAT_EQ(x0, 0);  // the left cell of the two
  EXPECT_FLOAT_EQ(x1, 0.5F);
  zep::fgsttl("TIME", "HEIGHT", "FIRST");
  std::string title(8, ' ');
  zep::axqttl("B", title);
  EXPECT_EQ(zep::text::trimmed(title), "TIME");
  zep::axqttl("L", title);
  EXPECT_EQ(zep::text::trimmed(title), "HEIGHT");
  zep::fgsttl("", "", "SECOND");  // blanks leave the axis titles
  zep::axqttl("B", title);
  EXPECT_EQ(zep::text::trimmed(title), "TIME");
  zep::fgfrm();
  zep::fgqcel(x0, x1, y0, y1);
  EXPECT_FLOAT_EQ(x0, 0.5F);  // the right cell: one frame before it, not two
  zep::fgcls();
  EXPECT_TRUE(zeptest::isPng(dir.path() / "compact_0001.png"));
  EXPECT_FALSE(fs::exists(dir.path() / "compact_0002.png"));
  // Name and page size were the figure's: the next session writes its own
  // file, at the page size of its own settings, and leaves the figure's alone.
  const std::string figurePage = zeptest::readFile(dir.path() / "compact_0001.png");
  zep::sgopn(2);
  zep::sgfrm();
  zep::sgcls();
  EXPECT_TRUE(zeptest::readFile(dir.path() / "compact_0001.png") == figurePage) << "the figure's page written over";
  EXPECT_EQ(Png(dir.path() / "zep_0001.png").width(), 904);
  // A frame's kept lines need fgpfrm or fgcls: closed by sgcls, they are said to be lost.
  zep::fgopn("lost", 10, 10, "CM");
  zep::fgplzu(x, x, 1, 1);
  zep::sgcls();
  const auto lines = messages.lines();
  for (const char* line : {" *** WARNING (FGPLZU) ***  ARRAYS OF 2 TO 3 VALUES: THE FIRST 2 ARE DRAWN.",
                           " *** WARNING (SGCLS ) ***  1 KEPT PLOT(S) NOT DRAWN: CALL FGPFRM OR FGCLS."})
    EXPECT_EQ(std::count(lines.begin(), lines.end(), line), 1) << line << "\n" << zeptest::expectLines(lines, {});
}

}  // namespace

namespace {

// A program that makes figures one after another, as a loop over data files
// does: a figure and a plain kernel page come out the same before and after
// other figures in the same process, an EPS page of a grid under a figure
// title whose last frame had to shrink its labels, and a figure whose last
// frame is a conic map, both closed with sgcls.
TEST(FigureSessions, AFigureComesOutTheSameAfterOthersInOneProcess) {
  const std::vector<float> x = zep::fglins(0, 10, 60);
  const std::vector<float> y = zep::fgeval(x, [](float t) { return std::sin(t); });
  const auto kernelPage = [] {
    zep::sgfrm();
    zep::sgsvpt(0.1F, 0.45F, 0.3F, 0.7F);
    zep::sgswnd(0, 10, -1, 1);
    zep::sgstrn(1);
    zep::sgstrf();
    zep::axpfrm();
    zep::sgsvpt(0.55F, 0.95F, 0.3F, 0.7F);
    zep::sgssim(0.06F, 0, 0);
    zep::sgstrn(10);
    zep::sgstrf();
    zep::axpfrm();
  };
  const auto figure = [&] {
    zep::fgfrm();
    zep::fgplzu(x, y, 1, 1);
    zep::fgsttl("TIME (s)", "SIGNAL", "A FIGURE");
    zep::fgpfrm();
  };
  const std::string kernelBefore = zeptest::exactPngFile(16, 10, kernelPage);
  const std::string figureBefore = zeptest::exactPngFile(16, 10, figure);
  ASSERT_FALSE(kernelBefore.empty() || figureBefore.empty());
  const auto expectUnchanged = [&](const std::string& after) {
    EXPECT_TRUE(zeptest::exactPngFile(16, 10, kernelPage) == kernelBefore) << "the kernel's page after " << after;
    EXPECT_TRUE(zeptest::exactPngFile(16, 10, figure) == figureBefore) << "the figure after " << after;
  };

  TempWorkDir dir;
  drawExactPage(1, 10, 10, [] {
    zep::fgfrm();
    zep::fgsmap(22, -130, -60, 20, 55);
    zep::fgpfrm();
  });
  int staleLabels = -1;
  drawExactPage(1, 5, 5, [&] { zep::axqmln(staleLabels); });
  EXPECT_EQ(staleLabels, 0) << "the map labels of a closed session";
  expectUnchanged("a conic map");

  float shrunk = 0;
  drawExactPage(2, 8, 6, [&] {
    zep::fgfttl("ANOTHER FIGURE");
    zep::fggrid(4, 4);
    zep::fgfrm();
    zep::sgswnd(-123456, 987654, -5e4F, 5e4F);
    zep::fgsttl("A RATHER LONG AXIS TITLE IN METRES PER SECOND", "TEMPERATURE DIFFERENCE", "");
    zep::fgstrf();
    int lindex = 0, tindex = 0;
    zep::axqatr("B", shrunk, lindex, tindex);
    zep::fgpfrm();
  });
  ASSERT_GT(shrunk, 0) << "the frame in between was meant to shrink its labels";
  expectUnchanged("an EPS grid with shrunk labels");
}

// Without contour levels a scatter takes each value's own colour, bounds from
// all its values, and fgsbar draws the bar of those colours beside the frame.
TEST(FigurePlots, ScatterWithoutLevelsHasItsColoursAndItsBar) {
  ZEP_EXPECT_ISOLATED([] {
    TempWorkDir dir;
    // Bounds 0 and 1 from the data: viridis at t = 0, 0.5 and 1 (matplotlib's colours).
    const float x[] = {1, 2, 3}, y[] = {0.5F, 0.5F, 0.5F}, c[] = {0, 0.5F, 1};
    const int expected[] = {0x440154, 0x21918c, 0xfde725};
    float vx[3] = {}, vy[3] = {}, cell[4] = {}, vp[4] = {};
    drawExactPage(1, 22.86F, 15.24F, [&] {
      zep::fgfrm();
      zep::sgswnd(0, 4, 0, 1);
      zep::fgscat(3, x, y, c, 10, 0.03F);
      zep::fgsbar("R");
      zep::fgstrf();
      for (int k = 0; k < 3; ++k) zep::stftrf(x[k], y[k], vx[k], vy[k]);
      zep::fgqcel(cell[0], cell[1], cell[2], cell[3]);
      zep::sgqvpt(vp[0], vp[1], vp[2], vp[3]);
      zep::fgpfrm();
    });
    Png png(dir.path() / "zep_0001.png");
    if (!png.ok()) return std::string("no page");
    const PagePixels p{png};
    if (const std::string wrong = wrongPointColour(png, p, vx, vy, expected, c); !wrong.empty()) return wrong;
    // The bar's ends in the end colours, its labels inside the cell.
    int bottom = -1, top = -1, rightmost = -1;
    for (int px = p.x(vp[1]) + 2; px < png.width(); ++px) {
      if (bottom < 0 && zeptest::sameColour(png.pixel(px, p.y(vp[2]) - 2), expected[0])) bottom = px;
      if (top < 0 && zeptest::sameColour(png.pixel(px, p.y(vp[3]) + 2), expected[2])) top = px;
      if (p.inkIn(px, px, p.y(vp[3]), p.y(vp[2])) > 0) rightmost = px;
    }
    if (bottom < 0 || top < 0) return std::string("no bar in the colours of the scatter");
    if (rightmost > p.x(cell[1])) return "the bar reaches " + std::to_string(rightmost) + " beyond its cell";
    return std::string();
  });
}

}  // namespace

namespace {

// A cylindrical map fills its viewport: its outline lies on the viewport's
// edges and is drawn there whole, on all four sides.
TEST(FigureMaps, CylindricalMapsHaveTheirOutline) {
  for (const int itr : {10, 11, 16}) {
    TempWorkDir dir;
    float vp[4] = {};
    drawExactPage(1, 12, 12, [&] {
      zep::fgfrm();
      zep::fgsmap(itr, 120, 140, 35, 50);
      zep::fgstrf();
      zep::sgqvpt(vp[0], vp[1], vp[2], vp[3]);
      zep::fgpfrm();
    });
    Png png(dir.path() / "zep_0001.png");
    ASSERT_TRUE(png.ok());
    const PagePixels p{png};
    const int x0 = p.x(vp[0]), x1 = p.x(vp[1]), top = p.y(vp[3]), bottom = p.y(vp[2]);
    // Share of the side's pixels inked within a pixel of the edge.
    const auto column = [&](int x) {
      int n = 0;
      for (int y = top + 3; y <= bottom - 3; ++y) n += p.inkIn(x - 1, x + 1, y, y) > 0 ? 1 : 0;
      return static_cast<double>(n) / (bottom - top - 5);
    };
    const auto row = [&](int y) {
      int n = 0;
      for (int x = x0 + 3; x <= x1 - 3; ++x) n += p.inkIn(x, x, y - 1, y + 1) > 0 ? 1 : 0;
      return static_cast<double>(n) / (x1 - x0 - 5);
    };
    EXPECT_GT(column(x0), 0.99) << "ITR " << itr << " left";
    EXPECT_GT(column(x1), 0.99) << "ITR " << itr << " right";
    EXPECT_GT(row(top), 0.99) << "ITR " << itr << " top";
    EXPECT_GT(row(bottom), 0.99) << "ITR " << itr << " bottom";
  }
}

}  // namespace

namespace {

// Values at or below 0 on a log axis are left out with one warning, as
// matplotlib masks them: the rest of the line and the other markers are drawn.
TEST(FigurePlots, ZerosOnALogAxisAreLeftOutNotFatal) {
  ZEP_EXPECT_ISOLATED([] {
    TempWorkDir dir;
    zeptest::MessageFile messages(dir.path() / "messages.txt");
    const std::vector<float> x{0, 1, 2, 3, 4}, y{0, 1, 4, 9, 16}, v{1, 1, 1, 1, 1};
    const std::vector<float> mx{1, 2, 3}, my{-5, 2, 5};
    float ax = 0, ay = 0, bx = 0, by = 0;
    drawExactPage(1, 16, 10, [&] {
      zep::gliset("MSGLEV", 1);
      zep::fgfrm();
      zep::sgstrn(2);
      zep::fgplzu(x, y, 1, 23);
      zep::fgscat(mx, my, v, 10, 0.02F);
      zep::fgstrf();
      zep::stftrf(3.5F, 12.5F, ax, ay);  // on the segment from (3, 9) to (4, 16)
      zep::stftrf(3, 5, bx, by);
      zep::fgpfrm();
    });
    Png png(dir.path() / "zep_0001.png");
    if (!png.ok()) return std::string("no page");
    const PagePixels p{png};
    if (p.inkIn(p.x(ax) - 3, p.x(ax) + 3, p.y(ay) - 3, p.y(ay) + 3) == 0) return std::string("no line");
    if (!p.ink(p.x(bx), p.y(by))) return std::string("no marker");
    const auto lines = messages.lines();
    if (std::count(lines.begin(), lines.end(),
                   " *** WARNING (FGPFRM) ***  2 POINTS AT OR BELOW 0 ON A LOG AXIS ARE LEFT OUT.") != 1)
      return zeptest::expectLines(lines, {});
    return std::string();
  });
}

}  // namespace

namespace {

// With no kept data, an untouched window becomes the contour field's grid
// (contourf's limits) or the vector field's points with 5% of room (quiver's).
TEST(FigureLayout, FieldsGiveTheWindowAsContourfAndQuiverDo) {
  ZEP_EXPECT_ISOLATED([] {
    TempWorkDir dir;
    std::array<float, 4> contourWindow{}, vectorWindow{}, setWindow{};
    drawExactPage(1, 16, 10, [&] {
      zep::fggrid(1, 3);
      const auto x = zep::fglins(-3, 3, 7), y = zep::fglins(2, -2, 5);  // y decreasing
      zep::fgfrm();
      zep::cnsfld(std::vector<float>(35, 1.0F), x, y);
      zep::fgstrf();
      zep::sgqwnd(contourWindow[0], contourWindow[1], contourWindow[2], contourWindow[3]);
      zep::fgpfrm();
      zep::cnsfld(5, 2, std::vector<float>(10, 1.0F).data(), nullptr, nullptr);  // no coordinates of its own
      zep::fgfrm();
      const auto vx = zep::fglins(0, 10, 3), vy = zep::fglins(0, 4, 2);
      zep::vcsfld(std::vector<float>(6, 1.0F), std::vector<float>(6, 0.0F), vx, vy);
      zep::fgstrf();
      zep::sgqwnd(vectorWindow[0], vectorWindow[1], vectorWindow[2], vectorWindow[3]);
      zep::fgpfrm();
      zep::fgfrm();
      zep::sgswnd(5, 6, 7, 8);  // a window the caller set stays
      zep::fgstrf();
      zep::sgqwnd(setWindow[0], setWindow[1], setWindow[2], setWindow[3]);
      zep::fgpfrm();
    });
    const auto same = [](const std::array<float, 4>& a, const std::array<float, 4>& b) {
      for (std::size_t k = 0; k < 4; ++k)
        if (std::fabs(a[k] - b[k]) > 1e-5F) return false;
      return true;
    };
    const auto text = [](const std::array<float, 4>& a) {
      return std::to_string(a[0]) + " " + std::to_string(a[1]) + " " + std::to_string(a[2]) + " " + std::to_string(a[3]);
    };
    if (!same(contourWindow, {-3, 3, -2, 2})) return "contour window " + text(contourWindow);
    if (!same(vectorWindow, {-0.5F, 10.5F, -0.2F, 4.2F})) return "vector window " + text(vectorWindow);
    if (!same(setWindow, {5, 6, 7, 8})) return "set window " + text(setWindow);
    return std::string();
  });
}

}  // namespace

namespace {

// A polar frame in a small cell: its title stays in the cell and its data stay
// inside the frame's outer circle, clear of the angle labels around it.
TEST(FigureLayout, APolarFrameKeepsItsTitleAndDataInPlace) {
  const auto page = [](bool title, float (&cell)[4], float& ox, float& oy, float& ex) {
    TempWorkDir dir;
    drawExactPage(1, 20, 12, [&] {
      zep::fggrid(2, 2);
      for (int k = 0; k < 3; ++k) zep::fgfrm();
      zep::fgfrm();
      zep::sgstrn(5);
      const auto t = zep::fglins(0, 360, 361);
      zep::fgplzu(std::vector<float>(361, 0.9F), t, 1, 23);  // ticks every 0.2
      if (title) zep::fgttl("POLAR ROSE");
      zep::fgstrf();
      zep::fgqcel(cell[0], cell[1], cell[2], cell[3]);
      zep::stftrf(0, 0, ox, oy);
      zep::stftrf(1, 0, ex, oy);
      zep::fgpfrm();
    });
    return std::make_unique<Png>(dir.path() / "zep_0001.png");
  };
  float cell[4] = {}, ox = 0, oy = 0, ex = 0;
  const auto bare = page(false, cell, ox, oy, ex);
  const auto titled = page(true, cell, ox, oy, ex);
  ASSERT_TRUE(bare->ok() && titled->ok());
  const PagePixels p{*titled};
  // What the title adds lies in the cell.
  int outside = 0;
  for (int y = 0; y < titled->height(); ++y)
    for (int x = 0; x < titled->width(); ++x)
      if (bare->pixel(x, y) != titled->pixel(x, y) && (y < p.y(cell[3]) - 1 || x < p.x(cell[0]) - 1)) ++outside;
  EXPECT_EQ(outside, 0) << "pixels of the title outside its cell";
  // Along 45 degrees (no spoke there): the red circle of the data lies within
  // the outermost circle of the frame.
  const auto at = [&](int k) { return std::array<int, 2>{p.x(ox) + k, p.y(oy) - k}; };
  int red = 0, black = 0;
  for (int k = 0; k < 400; ++k) {
    const auto [x, y] = at(k);
    if (x >= titled->width() || y < 0) break;
    const std::uint32_t c = titled->pixel(x, y);
    const int r = static_cast<int>((c >> 16) & 0xff), g = static_cast<int>((c >> 8) & 0xff);
    if (r < 160 && g < 160) black = k;  // black and grey circles
    if (r - g > 30) red = k;
  }
  ASSERT_GT(red, 0) << "no data found";
  EXPECT_LE(red, black + 1) << "the data run past the outer circle";
}

}  // namespace

namespace {

// Where latitude labels crowd the sides of a small map, the round ones stay:
// 30, 40 ... 70 degrees north, not 30, 35, 45 ...
TEST(FigureMaps, CrowdedLatitudeLabelsKeepTheRoundOnes) {
  TempWorkDir dir;
  std::vector<zeptest::MapLabel> conic;
  drawExactPage(1, 20, 9, [&] {
    zep::fggrid(1, 2);
    zep::fgfrm();
    zep::fgsmap(22, -30, 40, 30, 70);
    zep::fgpfrm();
    conic = zeptest::mapLabels();
  });
  std::set<std::string> lats;
  for (const auto& l : conic)
    if (l.text.back() == 'N') lats.insert(l.text);
  EXPECT_EQ(lats, (std::set<std::string>{"30°N", "40°N", "50°N", "60°N", "70°N"}));
}

}  // namespace

namespace {

// A turned title left of the frame keeps the gap AX RGAP from the widest
// labels beside it, its descender included ("y" beside 10^1 on a log axis).
TEST(FigureLayout, ALeftTitleStandsClearOfItsLabels) {
  TempWorkDir dir;
  float vx0 = 0, vy = 0, gap = 0;
  zep::fgsdpi(300);
  drawExactPage(1, 16, 10, [&] {
    zep::fgfrm();
    zep::sgstrn(2);
    zep::sgswnd(1, 10, 1, 100);
    zep::fgsttl("", "y", "");
    zep::fgstrf();
    float vx1 = 0, vy0 = 0, vy1 = 0, ux = 0;
    zep::sgqvpt(vx0, vx1, vy0, vy1);
    zep::stftrf(1, 10, ux, vy);
    zep::axrget("RGAP", gap);
    zep::fgpfrm();
  });
  zep::fgsdpi(100);
  Png png(dir.path() / "zep_0001.png");
  ASSERT_TRUE(png.ok());
  const PagePixels p{png};
  // Columns left of the axis across the label's height: the label's ink, a gap, the title's.
  const int half = static_cast<int>(0.012 * p.scale());
  std::vector<int> profile;
  for (int x = p.x(vx0) - 2; x >= 0; --x) profile.push_back(p.inkIn(x, x, p.y(vy) - half, p.y(vy) + half));
  const auto runs = zeptest::inkRuns(profile);
  ASSERT_GE(runs.size(), 2U);
  const int between = runs.back().first - runs[runs.size() - 2].second - 1;
  // AX RGAP is the gap between labels and titles.
  EXPECT_GE(between, static_cast<int>(0.75 * gap * p.scale())) << "title and label " << between << " pixels apart";
}

}  // namespace

namespace {

// What the caller sets between fgopn and the first frame's routine (fgstrf
// among them) belongs to that frame; time axes end with it; what an earlier
// session left does not come back.
TEST(FigureData, TheFirstFrameKeepsWhatWasSetBeforeIt) {
  ZEP_EXPECT_ISOLATED([] {
    TempWorkDir dir;
    zep::gliset("MSGLEV", 2);
    zep::swiset("IFL", 1);
    int itr = 0, iy = 0, im = 0, id = 0;
    float w[4] = {};
    char unit[2] = {};
    std::string title(8, ' ');
    zep::fgopn("first", 16, 10, "CM", 1, 2);
    zep::sgstrn(2);
    zep::sgswnd(0, 20, 0.5F, 500);
    zep::axsttl("B", "TIME");
    zep::axstim("B", 2024, 12, 31, "D");
    zep::fgstrf();  // starts the frame
    zep::sgqtrn(itr);
    zep::sgqwnd(w[0], w[1], w[2], w[3]);
    zep::axqttl("B", title);
    zep::axqtim("B", iy, im, id, unit);
    if (itr != 2 || w[1] != 20 || w[3] != 500) return std::string("transformation or window lost");
    if (zep::text::trimmed(title) != "TIME" || unit[0] != 'D') return std::string("axis settings lost");
    zep::fgfrm();
    zep::axqtim("B", iy, im, id, unit);
    zep::fgcls();
    if (unit[0] != ' ') return std::string("the second frame has the first one's time axis");
    zep::fgopn("second", 16, 10, "CM");
    zep::fgpfrm();
    zep::sgqtrn(itr);
    zep::fgcls();
    if (itr != 1) return "a new figure starts at ITR " + std::to_string(itr);
    return std::string();
  });
}

}  // namespace
