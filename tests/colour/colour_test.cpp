// Colour that carries data: colormaps against their published tables,
// normalisations against hand-worked values (and matplotlib's Normalize,
// LogNorm, TwoSlopeNorm, BoundaryNorm), CPT files, pixels of markers, lines
// and colour bars, and the contour package's bands and bars.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>
#include <zep/zep.hpp>

#include "support/exact_page.hpp"
#include "support/png_page.hpp"
#include "support/recording_port.hpp"
#include "support/test_support.hpp"

namespace {

int colourOf(float v) {
  int rgb = 0;
  zep::cmqvrg(v, rgb);
  return rgb;
}

float positionOf(float v) {
  float t = 0;
  zep::cmqnrm(v, t);
  return t;
}

// The last error report, kept by the error callback instead of ending the process.
std::string& lastError() {
  static std::string e;
  return e;
}
void keepError(std::string_view routine, std::string_view text) {
  lastError() = std::string(routine) + ": " + std::string(text);
}

TEST(ColourMaps, EndsMiddleAndQuarterAreThePublishedColours) {
  // matplotlib 3.6's tables read at t = 0, 0.25, 0.5, 1.
  struct Case {
    const char* name;
    int at0, at25, at50, at100;
  };
  const Case cases[] = {{"VIRIDIS", 0x440154, 0x3b528b, 0x21918c, 0xfde725},
                        {"plasma", 0x0d0887, 0x7e03a8, 0xcc4778, 0xf0f921},
                        {"INFERNO", 0x000004, 0x57106e, 0xbc3754, 0xfcffa4},
                        {"MAGMA", 0x000004, 0x51127c, 0xb73779, 0xfcfdbf}};
  zep::cmsnrl(0, 1);
  for (const Case& c : cases) {
    zep::cmsmap(c.name);
    EXPECT_EQ(colourOf(0), c.at0) << c.name;
    EXPECT_EQ(colourOf(0.25F), c.at25) << c.name;
    EXPECT_EQ(colourOf(0.5F), c.at50) << c.name;
    EXPECT_EQ(colourOf(1), c.at100) << c.name;
  }
  zep::cmsmap("VIRIDIS_R");
  EXPECT_EQ(colourOf(0), 0xfde725);
  EXPECT_EQ(colourOf(1), 0x440154);
  zep::cmsmap("GREY");
  EXPECT_EQ(colourOf(0), 0x000000);
  EXPECT_EQ(colourOf(1), 0xffffff);
  // The cyclic map closes on itself.
  zep::cmsmap("CYCLIC");
  EXPECT_TRUE(zeptest::sameColour(colourOf(0), colourOf(0.999F), 6));
  int rgb = 0;
  zep::cmqrgb(NAN, rgb);
  EXPECT_EQ(rgb, -1);
  zep::cmsmap("VIRIDIS");
}

TEST(ColourNormalisation, LogDecadesCentreAndBandsFallWhereExpected) {
  zep::cmsmap("VIRIDIS");
  // Decades evenly spaced (LogNorm(1, 1e4): 0.25, 0.5, 0.75); zero and below are under.
  zep::cmsnrg(1, 1e4F);
  EXPECT_NEAR(positionOf(10), 0.25, 1e-6);
  EXPECT_NEAR(positionOf(100), 0.5, 1e-6);
  EXPECT_NEAR(positionOf(1000), 0.75, 1e-6);
  EXPECT_EQ(colourOf(0), 0x440154);
  // Centred: the centre on the diverging map's neutral middle whatever the
  // bounds (TwoSlopeNorm(-1, 0, 10): -0.5 -> 0.25, 5 -> 0.75).
  zep::cmsmap("DIVERGING");
  const float bounds[][2] = {{-1, 10}, {-100, 0.5F}, {-3, 3}};
  for (const auto& b : bounds) {
    zep::cmsnrc(b[0], 0, b[1]);
    const int c = colourOf(0);
    EXPECT_EQ(c >> 16, c & 0xff) << b[0] << " " << b[1];
    EXPECT_EQ((c >> 8) & 0xff, c & 0xff) << b[0] << " " << b[1];
  }
  zep::cmsnrc(-1, 0, 10);
  EXPECT_NEAR(positionOf(-0.5F), 0.25, 1e-6);
  EXPECT_NEAR(positionOf(5), 0.75, 1e-6);
  // Discrete bands: first, middle and last colour; under and over colours.
  zep::cmsmap("VIRIDIS");
  const float edges[] = {0, 1, 2, 3};
  zep::cmsnrd(4, edges);
  EXPECT_EQ(colourOf(0.5F), 0x440154);
  EXPECT_EQ(colourOf(1.5F), 0x21918c);
  EXPECT_EQ(colourOf(3), 0xfde725);
  EXPECT_EQ(colourOf(-1), 0x440154);
  zep::cmiset("IUNDER", 0x123456);
  zep::cmiset("IOVER", 0xabcdef);
  EXPECT_EQ(colourOf(-1), 0x123456);
  EXPECT_EQ(colourOf(4), 0xabcdef);
  EXPECT_EQ(colourOf(NAN), -1);
  zep::cmiset("IUNDER", -1);
  zep::cmiset("IOVER", -1);
  // Bounds from data: the given one stays; one value still makes a range.
  zep::cmsnrl(NAN, 5);
  const float data[] = {1, NAN, 3, 7};
  zep::cmsdat(4, data);
  float lo = 0, hi = 0;
  zep::cmqnrb(lo, hi);
  EXPECT_EQ(lo, 1);
  EXPECT_EQ(hi, 5);
  zep::cmsnrl(NAN, NAN);
  zep::cmsdat(1, data);
  zep::cmqnrb(lo, hi);
  EXPECT_LT(lo, hi);
  EXPECT_NEAR(positionOf(1), 1, 1e-6);
}

TEST(ColourNormalisation, BoundsThatMakeNoRangeAreReported) {
  ZEP_EXPECT_ISOLATED([] {
    zep::set_msgdmp_err_func(keepError);
    std::string problem;
    auto expect = [&](const std::string& want) {
      if (lastError() != want) problem += " got '" + lastError() + "' wanted '" + want + "';";
      lastError().clear();
    };
    zep::cmsnrg(0, 10);
    expect("CMSNRG: A LOG NORMALISATION NEEDS 0 < VMIN < VMAX (NAN: FROM THE DATA).");
    zep::cmsnrc(1, 0, 2);
    expect("CMSNRC: A CENTRED NORMALISATION NEEDS VMIN < VCENTRE < VMAX, VCENTRE FINITE.");
    const float unordered[] = {0, 2, 1};
    zep::cmsnrd(3, unordered);
    expect("CMSNRD: BOUND 3 IS NOT FINITE OR NOT ABOVE THE ONE BEFORE.");
    zep::cmsmap("NOSUCHMAP");
    expect("CMSMAP: COLORMAP NOSUCHMAP IS NOT DEFINED.");
    return problem;
  });
}

TEST(ColourMaps, UserMapsFromColoursAndFromCptFiles) {
  ZEP_EXPECT_ISOLATED([] {
    zep::set_msgdmp_err_func(keepError);
    std::string problem;
    const int ramp[] = {0x000000, 0xffffff};
    zep::cmdfmp("ramp", 2, ramp);
    zep::cmsmap("RAMP");
    int rgb = 0;
    zep::cmqrgb(0.25F, rgb);
    if (rgb != 0x404040) problem += " ramp at 0.25;";
    zeptest::TempWorkDir dir;
    std::ofstream("topo.cpt") << "# COLOR_MODEL = RGB\n"
                                 "0 0/0/255 10 0/0/255\n"
                                 "10 255 0 0 30 255 255 0 ; land\n"
                                 "B 0 0 0\nF #ffffff\nN 128\n";
    zep::cmrcpt("TOPO", "topo.cpt");
    zep::cmsmap("TOPO");
    zep::cmsnrl(0, 30);
    // Within a segment, linear in RGB: 25 is three quarters of the way from
    // (255,0,0) to (255,255,0), green 191.25.
    if (colourOf(5) != 0x0000ff || colourOf(25) != 0xffbf00)
      problem += " cpt colours " + std::to_string(colourOf(5)) + " " + std::to_string(colourOf(25)) + ";";
    if (colourOf(-1) != 0x000000 || colourOf(31) != 0xffffff) problem += " cpt B and F;";
    std::ofstream("bad.cpt") << "0 0 0 0 1 0 0 0\n1 10 10 10 2 20 20 20\n2 255 0 3 255 0 0\n";
    zep::cmrcpt("BAD", "bad.cpt");
    if (lastError() != "CMRCPT: LINE 3 OF CPT FILE bad.cpt IS MALFORMED (WANTED: Z0 COLOUR Z1 COLOUR).")
      problem += " report: " + lastError() + ";";
    std::ofstream("back.cpt") << "0 0 0 0 1 0 0 0\n# fine\n0.5 1 1 1 2 2 2 2\n";
    zep::cmrcpt("BACK", "back.cpt");
    if (lastError() != "CMRCPT: LINE 3 OF CPT FILE back.cpt DOES NOT FOLLOW ON: Z VALUES MUST INCREASE.")
      problem += " report: " + lastError() + ";";
    std::ofstream("long.cpt") << std::string(5000, '1') << "\n";
    zep::cmrcpt("LONG", "long.cpt");
    if (lastError() != "CMRCPT: LINE 1 OF CPT FILE long.cpt IS LONGER THAN 1024 CHARACTERS.")
      problem += " report: " + lastError() + ";";
    // A failed read leaves no map behind.
    lastError().clear();
    zep::cmsmap("BAD");
    if (lastError() != "CMSMAP: COLORMAP BAD IS NOT DEFINED.") problem += " bad map defined;";
    return problem;
  });
}

TEST(ColourPictures, MarkerLineAndBarPixelsHaveTheirValuesColours) {
  // Viridis at t = 0, 0.25, 0.5, 1 (matplotlib), and at the middle of boxes
  // 10, 128 and 245 of the bar's 256.
  const float values[] = {0, 0.25F, 0.5F, 1};
  const int expected[] = {0x440154, 0x3b528b, 0x21918c, 0xfde725};
  const float x[] = {0.2F, 0.4F, 0.6F, 0.8F}, y[] = {0.7F, 0.7F, 0.7F, 0.7F};
  const int boxes[] = {10, 128, 245};
  const auto png = zeptest::drawPngPage([&] {
    zep::sgsvpt(0, 1, 0, 1);
    zep::sgswnd(0, 1, 0, 1);
    zep::sgstrn(1);
    zep::sgstrf();
    zep::cmsmap("VIRIDIS");
    zep::cmsnrl(NAN, NAN);
    zep::cmpmzu(4, x, y, values, 10, 0.04F);
    const float lx[] = {0.1F, 0.5F, 0.9F}, ly[] = {0.45F, 0.45F, 0.45F}, lv[] = {0, 0.5F, 1};
    zep::cmplzu(3, lx, ly, lv, 5);  // segments of 0.25 and 0.75
    zep::cmbarv(0.1F, 0.9F, 0.1F, 0.2F);
  });
  ASSERT_TRUE(png->ok());
  for (int k = 0; k < 4; ++k)
    EXPECT_TRUE(zeptest::sameColour(png->pixel(zeptest::pixelX(x[k]), zeptest::pixelY(0.7)), expected[k]))
        << std::hex << png->pixel(zeptest::pixelX(x[k]), zeptest::pixelY(0.7)) << " for " << values[k];
  EXPECT_TRUE(zeptest::sameColour(png->pixel(zeptest::pixelX(0.3), zeptest::pixelY(0.45)), 0x3b528b));
  EXPECT_TRUE(zeptest::sameColour(png->pixel(zeptest::pixelX(0.7), zeptest::pixelY(0.45)), colourOf(0.75F)));
  for (int k : boxes) {
    const double t = (k + 0.5) / 256;
    EXPECT_TRUE(zeptest::sameColour(png->pixel(zeptest::pixelX(0.1 + 0.8 * t), zeptest::pixelY(0.15)),
                                    colourOf(static_cast<float>(t))))
        << "box " << k;
  }
}

// A cone around the middle of the unit window, scaled by `scale`.
std::vector<float> cone(int n, double scale) {
  std::vector<float> z;
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i)
      z.push_back(static_cast<float>(scale * (std::hypot(i / (n - 1.0) - 0.5, j / (n - 1.0) - 0.5) - 0.35)));
  return z;
}

TEST(ContourColours, BandsSpreadOverTheMapUnlessToldOtherwise) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    std::string problem;
    const std::vector<float> z = cone(21, 1);
    zep::cnsfld(21, 21, z.data(), nullptr, nullptr);
    const float levels[] = {-0.2F, -0.1F, 0.0F, 0.1F};
    zep::cnslvl(4, levels);
    int first = 0, middle = 0, last = 0, toned = 0;
    zep::cnqbdc(0, first);
    zep::cnqbdc(2, middle);
    zep::cnqbdc(4, last);
    if (first != 0x440154 || middle != 0x21918c || last != 0xfde725) problem += " band colours;";
    zep::cnsbdt(1, 5999);
    zep::cnqbdc(1, toned);
    if (toned != -1) problem += " a band given a tone keeps a colour;";
    zep::cnlset("LCMAP", false);
    zep::cnqbdc(0, first);
    if (first != -1) problem += " colours with LCMAP off;";
    return problem;
  });
}

TEST(ContourColours, BarsOfManyLevelsAndOfHugeValuesStayReadable) {
  // A thousand levels: no box edges (they would be 0.5 pixels apart), and only
  // as many labels as fit at their height (0.8 / (1.4 x 0.016) = 35).
  const std::vector<float> z = cone(41, 1);
  const auto png = zeptest::drawPngPage([&] {
    zep::cnsfld(41, 41, z.data(), nullptr, nullptr);
    std::vector<float> many;
    for (int k = 0; k < 1000; ++k) many.push_back(-0.35F + 0.7F * static_cast<float>(k) / 999);
    zep::cnslvl(1000, many.data());
    zep::cnbarv(0.4F, 0.45F, 0.1F, 0.9F);
  });
  ASSERT_TRUE(png->ok());
  EXPECT_EQ(zeptest::countPixels(*png, 0x000000, zeptest::pixelX(0.4) + 3, zeptest::pixelY(0.9) + 3,
                                 zeptest::pixelX(0.45) - 3, zeptest::pixelY(0.1) - 3),
            0);
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::swlset("SYSFONT", true);
    const std::vector<float> zz = cone(41, 1);
    zep::cnsfld(41, 41, zz.data(), nullptr, nullptr);
    std::vector<float> many;
    for (int k = 0; k < 1000; ++k) many.push_back(-0.35F + 0.7F * static_cast<float>(k) / 999);
    zep::cnslvl(1000, many.data());
    zep::cnbarv(0.4F, 0.45F, 0.1F, 0.9F);
    const std::size_t labels = zeptest::systemFontTexts().size();
    std::string problem = labels < 5 || labels > 36 ? " " + std::to_string(labels) + " labels;" : "";
    // Near the float limit: automatic levels every 5E37 from -2.5E38 to 2.5E38,
    // written at their edges (an axis window that wide does not fit in float).
    const std::vector<float> huge = cone(41, 8.0e38);
    zep::cnsfld(41, 41, huge.data(), nullptr, nullptr);
    zep::cnslva();
    zeptest::driverLog().clear();
    zep::cnbarv(0.4F, 0.45F, 0.1F, 0.9F);
    const std::vector<std::string> want = {"-2.5E+38", "-2.0E+38", "-1.5E+38", "-1.0E+38", "-5.0E+37", "0.0E+00",
                                           "5.0E+37",  "1.0E+38",  "1.5E+38",  "2.0E+38",  "2.5E+38"};
    if (zeptest::systemFontTexts() != want) {
      problem += " huge labels:";
      for (const std::string& t : zeptest::systemFontTexts()) problem += " " + t;
    }
    return problem;
  });
}

// How far the ink of each label beside a bar (V rectangle x0, x1, y0, y1,
// labels on `side`) lies off its tick along the bar, in pixels: ticks are the
// runs of ink in the line of pixels a third of a label height out from the
// bar's edge, a label is the ink between 0.45 and 6 heights out within a
// height of its tick, its middle the middle of that ink's extent.
std::vector<double> labelOffsets(const zeptest::PagePixels& p, const std::array<float, 4>& bar, char side,
                                 float height) {
  const bool vertical = side == 'R' || side == 'L';
  const int dir = side == 'R' || side == 'B' ? 1 : -1;  // outwards in pixels
  const int edge = side == 'R' ? p.x(bar[1]) : side == 'L' ? p.x(bar[0]) : side == 'T' ? p.y(bar[3]) : p.y(bar[2]);
  const int h = static_cast<int>(height * p.scale());
  const int a0 = vertical ? p.y(bar[3]) - 2 : p.x(bar[0]) - 2, a1 = vertical ? p.y(bar[2]) + 2 : p.x(bar[1]) + 2;
  auto ink = [&](int along, int out) { return vertical ? p.ink(edge + dir * out, along) : p.ink(along, edge + dir * out); };
  std::vector<double> offsets;
  for (int a = a0; a <= a1; ++a) {
    if (!ink(a, h / 3) || ink(a - 1, h / 3)) continue;
    int last = a;
    while (ink(last + 1, h / 3)) ++last;
    const double tick = 0.5 * (a + last);
    int lo = a1 + h, hi = a0 - h;
    for (int b = a - h; b <= last + h; ++b)
      for (int out = static_cast<int>(0.45 * h); out <= 6 * h; ++out)
        if (ink(b, out)) lo = std::min(lo, b), hi = std::max(hi, b);
    offsets.push_back(hi >= lo ? 0.5 * (lo + hi) - tick : 1e9);
  }
  return offsets;
}

// Labels beside colour bars on all four sides, of this package and of the
// contour package (levels written at their box edges), in stroke and system
// fonts on a 150 dpi page: the ink of every label is centred on its tick
// along the bar to within 2 pixels of 28 (the glyphs' own ink is not quite
// centred in their cells: a stroke "1" stands right of its middle, system-font
// digits a little above the line's middle).
TEST(ColourBars, LabelsAreCentredOnTheirTicks) {
  constexpr float kHeight = 0.03F;
  for (const bool system : {false, true})
    for (const bool contour : {false, true}) {
      zeptest::TempWorkDir dir;
      std::array<float, 4> vp{};
      zep::fgsdpi(150);
      zeptest::drawExactPage(1, 16, 10, [&] {
        zep::sglset("LFULL", true);
        zep::sgfrm();
        zep::sgsvpt(0.25F, 0.75F, 0.15F, 0.45F);
        zep::sgswnd(0, 1, 0, 1);
        zep::sgstrn(1);
        zep::sgstrf();
        zep::sgqvpt(vp[0], vp[1], vp[2], vp[3]);
        zep::swlset("SYSFONT", system);
        zep::cmrset("BARLHT", kHeight);
        zep::cnrset("BARLHT", kHeight);
        zep::cmsnrl(0, 10);
        const float levels[] = {0, 1, 5, 10};  // uneven: written at the edges
        zep::cnslvl(4, levels);
        for (const char* side : {"R", "L", "T", "B"}) contour ? zep::cnbarp(side) : zep::cmbarp(side);
        zep::swlset("SYSFONT", false);
        zep::sglset("LFULL", false);
      });
      zep::swrset("DPI", 100);
      const zeptest::Png png(dir.path() / "zep_0001.png");
      const zeptest::PagePixels p{png};
      const float gap = 0.03F, width = 0.03F;  // BARGAP and BARWD as they are by default
      const std::array<std::pair<char, std::array<float, 4>>, 4> bars = {{
          {'R', {vp[1] + gap, vp[1] + gap + width, vp[2], vp[3]}},
          {'L', {vp[0] - gap - width, vp[0] - gap, vp[2], vp[3]}},
          {'T', {vp[0], vp[1], vp[3] + gap, vp[3] + gap + width}},
          {'B', {vp[0], vp[1], vp[2] - gap - width, vp[2] - gap}},
      }};
      for (const auto& [side, bar] : bars) {
        const std::vector<double> offsets = labelOffsets(p, bar, side, kHeight);
        const std::string where = std::string(contour ? "contour bar " : "bar ") + side + (system ? ", system font" : ", stroke font");
        EXPECT_GE(offsets.size(), 3U) << where << ": ticks expected";
        for (double d : offsets) EXPECT_LE(std::fabs(d), 2.0) << where << ": a label " << d << " px off its tick";
      }
    }
}

}  // namespace
