// System-font text: the markup made from the library's escapes, symbol and
// marker codes, text widths, and where text lands on PNG pages (centring,
// angles, turned pages, clipping).
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include <pango/pangocairo.h>

#include "zgpack_test_util.hpp"

namespace {

using namespace zgtest;
using zeptest::TempWorkDir;

// The opening spans of scripts for a font of 26 points with SMALL 0.7, SHIFT 0.3.
const std::string kSup = "<span size='18636' rise='11980'>";
const std::string kSub = "<span size='18636' rise='-3993'>";
constexpr double kF = 26.0 * 1024.0;

void defaultSlots() {
  zep::zgrset("small", 5, 0.7F);
  zep::zgrset("shift", 5, 0.3F);
  zep::zgftfc("Sans Normal 26");
}

std::string markup(const std::string& text, double f = kF) { return zep::zgmarkup(text, static_cast<int>(text.size()), f); }

TEST(ZgpackText, EscapesBecomeScriptSpans) {
  defaultSlots();
  EXPECT_EQ(markup("x\\^2"), "x" + kSup + "2</span>");
  EXPECT_EQ(markup("x\\^{10}y"), "x" + kSup + "10</span>y");
  EXPECT_EQ(markup("a\\_i\\^2"), "a" + kSub + "i</span>" + kSup + "2</span>");
  EXPECT_EQ(markup("\\_{ab}\\^{c}"), kSub + "ab</span>" + kSup + "c</span>");
  EXPECT_EQ(markup("\\_i\\^{c}"), kSub + "i</span>" + kSup + "c</span>");
  // A script at the very end is closed after the text.
  EXPECT_EQ(markup("x\\^"), "x" + kSup + "</span>");
  // One multi-byte character is one script character.
  EXPECT_EQ(markup("x\\^\xCE\xB1y"), "x" + kSup + "\xCE\xB1</span>y");
  // Other sizes and script ratios.
  zep::zgrset("small", 5, 0.5);
  zep::zgrset("shift", 5, 0.5);
  EXPECT_EQ(markup("\\^2", 10240.0), "<span size='5120' rise='7680'>2</span>");
  EXPECT_EQ(markup("\\_2", 10240.0), "<span size='5120' rise='-2560'>2</span>");
  // Script ratios far out of range saturate instead of overflowing the sizes.
  zep::zgrset("small", 5, 1.0e6);
  zep::zgrset("shift", 5, 0.0);
  EXPECT_EQ(markup("\\^2", 102400.0), "<span size='1000000000' rise='-1000000000'>2</span>");
  defaultSlots();
}

TEST(ZgpackText, BackslashesBracesAndReservedCharacters) {
  defaultSlots();
  EXPECT_EQ(markup("\\\\"), "\\");
  EXPECT_EQ(markup("\\q"), "\\q");
  EXPECT_EQ(markup("ab\\"), "ab\\");
  EXPECT_EQ(markup("\\p"), "\\p");
  EXPECT_EQ(markup("a}b"), "a}b");  // no span open: an ordinary brace
  EXPECT_EQ(markup("a<b & c>d"), "a&#60;b &amp; c&#62;d");
  EXPECT_EQ(markup("-5"), "\u22125");
  // Raw passages carry Pango tags; the minus sign is still converted there.
  EXPECT_EQ(markup("\\p{<i>}text\\p{</i>}"), "<i>text</i>");
  EXPECT_EQ(markup("\\p{<b>-</b>}"), "<b>\u2212</b>");
  // The count limits the text; a NUL ends it.
  EXPECT_EQ(zep::zgmarkup("abcdef", 3, kF), "abc");
  EXPECT_EQ(zep::zgmarkup(std::string("ab\0cd", 5), 5, kF), "ab");
  EXPECT_EQ(zep::zgmarkup("abc", -1, kF), "");
}

TEST(ZgpackText, EscapesInsideGroupsNest) {
  defaultSlots();
  // A backslash that is not a mark is a character of the group it stands in;
  // the group still ends at its "}".
  EXPECT_EQ(markup("e\\^{i\\pi}"), "e" + kSup + "i\\pi</span>");
  EXPECT_EQ(markup("\\_{a\\\\b}c"), kSub + "a\\b</span>c");
  // A script inside a script is smaller again and set relative to it.
  const std::string kSupSup = "<span size='13045' rise='20367'>";  // 0.49 F, rise 0.45 F + 0.315 F
  const std::string kSupSub = "<span size='13045' rise='9185'>";   // rise 0.45 F - 0.105 F
  EXPECT_EQ(markup("e\\^{\\-x\\^2}"), "e" + kSup + "\\\u2212x" + kSupSup + "2</span></span>");
  EXPECT_EQ(markup("e\\^{-x\\^2}"), "e" + kSup + "\u2212x" + kSupSup + "2</span></span>");
  EXPECT_EQ(markup("e\\^{x\\_{ij}y}z"), "e" + kSup + "x" + kSupSub + "ij</span>y</span>z");
  // The "}" of a group also ends a one-character script still waiting in it.
  EXPECT_EQ(markup("\\^{a\\^}b"), kSup + "a" + kSupSup + "</span></span>b");
  // A mark whose character is another mark covers that script.
  EXPECT_EQ(markup("\\^\\^2x"), kSup + kSupSup + "2</span></span>x");
  // A "}" with no group open is a character, inside a script as well.
  EXPECT_EQ(markup("\\^}x"), kSup + "}</span>x");
  // Scripts inside a raw passage.
  EXPECT_EQ(markup("\\p{<i>x\\^2</i>}"), "<i>x" + kSup + "2</span></i>");

  // Whatever the nesting, the result is markup the font engine takes, with the
  // text nothing but what was asked for; only a group without its "}" is
  // rejected.
  for (const std::string text : {"e\\^{i\\pi}", "e\\^{-x\\^2}", "a\\_{b\\_{c\\^{d}}e}f", "\\^{\\^{\\^{x}}}",
                                 "\\^{x\\^}", "\\^\\_\\^y", "a\\^{b\\o{c}}", "\\^{}}", "\\_{\\q}"}) {
    const std::string m = markup(text);
    char* plain = nullptr;
    GError* err = nullptr;
    ASSERT_TRUE(pango_parse_markup(m.c_str(), -1, 0, nullptr, &plain, nullptr, &err)) << text << " -> " << m;
    EXPECT_EQ(std::string(plain).find('}') == std::string::npos, text != "\\^{}}") << text;
    g_free(plain);
  }
  EXPECT_FALSE(pango_parse_markup(markup("x\\^{a\\^{2}").c_str(), -1, 0, nullptr, nullptr, nullptr, nullptr));
}

TEST(ZgpackText, SymbolAndMarkerCodes) {
  defaultSlots();
  EXPECT_EQ(markup("\x98"), "\u03B1");
  EXPECT_EQ(markup("\x80\x91\x97"), "\u0391\u03A3\u03A9");
  EXPECT_EQ(markup("\xA9\xAF"), "\u03C3\u03C9");
  EXPECT_EQ(markup("\xBD\xC0\xC8\xC9\xF7\xF8"), "\u221E\u00B1&#60;&#62;-\u2014");
  EXPECT_EQ(markup("\xF0"), "\U0001D716");
  // Codes without a symbol draw nothing.
  EXPECT_EQ(markup("a\xB0\xDC\xE7\xF9\xFF" "b"), "ab");
  // Valid UTF-8 passes unchanged, also when it begins with a marker code byte.
  EXPECT_EQ(markup("\xE3\x81\x82"), "\u3042");
  EXPECT_EQ(markup("\xC3\xA9t\xC3\xA9"), "\u00E9t\u00E9");

  EXPECT_EQ(markup("\x05"), "<span font_desc='ZEPMarker Regular'>\u00D7</span>");
  EXPECT_EQ(markup("\x01\x11"), "<span font_desc='ZEPMarker Regular'>\u30FB</span>"
                                "<span font_desc='ZEPMarker Regular'>\u2691</span>");
  EXPECT_EQ(markup("\xE6"), "<span font_desc='ZEPMarker Regular'>\u2460</span>");
  // The marker face follows the weight of the text font.
  zep::zgftfc("Sans Semi-Bold 26");  // 600
  EXPECT_EQ(markup("\x0A"), "<span font_desc='ZEPMarker Bold'>\u25CF</span>");
  zep::zgftfc("Sans Bold 26");  // 700
  EXPECT_EQ(markup("\x0A"), "<span font_desc='ZEPMarker Black'>\u25CF</span>");
  zep::zgftfc("Sans Ultra-Light 26");  // 200
  EXPECT_EQ(markup("\x0A"), "<span font_desc='ZEPMarker Light'>\u25CF</span>");
  zep::zgftfc("Sans Light 26");  // 300
  EXPECT_EQ(markup("\x0A"), "<span font_desc='ZEPMarker Regular'>\u25CF</span>");
  defaultSlots();
}

TEST(ZgpackText, FixedBufferIsNulTerminatedAndCut) {
  defaultSlots();
  char out[16];
  std::fill(std::begin(out), std::end(out), 'z');
  zep::zeptext2pangomarkup("x\\^2", 4, out, kF);
  EXPECT_STREQ(out, "x<span size='18");
  std::array<char, 64> big{};
  big.fill('z');
  zep::zeptext2pangomarkup("a&b", 3, big, kF);
  EXPECT_STREQ(big.data(), "a&amp;b");
  EXPECT_TRUE(std::all_of(big.begin() + 7, big.end(), [](char c) { return c == '\0'; }));
}

TEST(ZgpackText, Utf8SequenceLengths) {
  EXPECT_EQ(zep::utf8_char_byte("a"), 1);
  EXPECT_EQ(zep::utf8_char_byte("\xCE\xB1"), 2);
  EXPECT_EQ(zep::utf8_char_byte("\xE3\x81\x82"), 3);
  EXPECT_EQ(zep::utf8_char_byte("\xF0\x9D\x9C\x96"), 4);
  EXPECT_EQ(zep::utf8_char_byte("\x98"), 0);          // continuation byte
  EXPECT_EQ(zep::utf8_char_byte("\xE3\x81" "a"), 0);  // broken sequence
  EXPECT_EQ(zep::utf8_char_byte(std::string_view("\xE3\x81\x82", 2)), 0);  // cut by the end
  EXPECT_EQ(zep::utf8_char_byte(""), 0);
  EXPECT_EQ(zep::utf8_char_byte("\xF8\x80\x80\x80\x80"), 0);
}

// Parses the three numbers of an accent's spans.
bool accentNumbers(const std::string& m, int& back, int& rise, int& forward) {
  return std::sscanf(m.c_str(), "A<span letter_spacing='%d'> </span><span rise='%d' letter_spacing='%d'>", &back,
                     &rise, &forward) == 3;
}

TEST(ZgpackText, AccentsSitOnThePreviousCharacter) {
  defaultSlots();
  int back = 0, rise = 0, forward = 0;
  const std::string over = markup("A\\o-");
  ASSERT_TRUE(accentNumbers(over, back, rise, forward)) << over;
  const int wa = zep::char_width("A", 1), ws = zep::char_width(" ", 1), wm = zep::char_width("\u2212", -1);
  EXPECT_GT(wa, 0);
  EXPECT_EQ(back, -(wa + ws));
  EXPECT_EQ(forward, wa - wm);  // the width of the minus sign that is drawn, not of "-"
  EXPECT_EQ(rise, static_cast<int>(0.75 * zep::char_height("A", 1)));
  EXPECT_EQ(over.substr(over.size() - 10), "\u2212</span>");

  const std::string under = markup("A\\u{~}");
  ASSERT_TRUE(accentNumbers(under, back, rise, forward)) << under;
  EXPECT_LT(rise, 0);
  EXPECT_EQ(rise, static_cast<int>(-0.65 * zep::char_height("I", 1)));
  EXPECT_EQ(under.substr(under.size() - 8), "~</span>");

  // The pen comes back to the end of the accented character: inside a line the
  // accent adds no width. (Pango leaves out the spacing after a line's last
  // character, so an accent at the end overhangs.)
  float w1 = 0, w2 = 0, h = 0;
  zep::zgqtxw("AB", 2, w1, h);
  zep::zgqtxw("A\\o-B", 5, w2, h);
  zep::zgqtxw("A\\o-B", 5, w2, h);  // now measured at the size of the query
  EXPECT_NEAR(w2, w1, 0.01 * w1);
}

TEST(ZgpackText, WidthsForAFontOfOnePoint) {
  defaultSlots();
  float wx = 0, wy = 0, w4 = 0, h4 = 0;
  zep::zgqtxw("H", 1, wx, wy);
  zep::zgqtxw("HHHH", 4, w4, h4);
  EXPECT_GT(wx, 0.3F);
  EXPECT_LT(wx, 1.5F);
  EXPECT_NEAR(w4, 4 * wx, 0.02);
  EXPECT_FLOAT_EQ(h4, wy);
  // 0.8 of the line height of a 100-point layout.
  PangoFontDescription* d = pango_font_description_from_string("Sans Normal 100");
  cairo_surface_t* surf = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(surf);
  PangoLayout* layout = pango_cairo_create_layout(cr);
  pango_layout_set_font_description(layout, d);
  pango_layout_set_text(layout, "HHHH", -1);
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  EXPECT_NEAR(w4, logical.width / 1024.0 / 100.0, 0.01);
  EXPECT_NEAR(h4, 0.8 * logical.height / 1024.0 / 100.0, 0.01);
  g_object_unref(layout);
  cairo_destroy(cr);
  cairo_surface_destroy(surf);
  pango_font_description_free(d);

  // Scripts are smaller than the line.
  float ws = 0, wn = 0;
  zep::zgqtxw("x\\^{22}", 7, ws, wy);
  zep::zgqtxw("x22", 3, wn, wy);
  EXPECT_LT(ws, 0.9 * wn);
  // Markup that Pango rejects measures zero.
  zep::zgqtxw("x\\^{2", 5, wx, wy);
  EXPECT_EQ(wx, 0.0F);
  EXPECT_EQ(wy, 0.0F);
  // Monospace: all characters alike.
  zep::zgftfc("Monospace   ");
  zep::zgqtxw("iiii", 4, wx, wy);
  zep::zgqtxw("MMMM", 4, wn, wy);
  EXPECT_NEAR(wx, wn, 1e-4);
  defaultSlots();
}

TEST(ZgpackText, WeightIndexFollowsTheLineScale) {
  zep::ZgState& s = zep::zgstate();
  const double keep = s.dlnscale;
  zep::zgftfc("Sans");
  s.dlnscale = 1.0;
  zep::zgsfw(1);
  EXPECT_EQ(pango_font_description_get_weight(zep::zgfontdesc()), 300);
  zep::zgsfw(5);
  EXPECT_EQ(pango_font_description_get_weight(zep::zgfontdesc()), 700);
  zep::zgsfw(9);  // beyond the heaviest weight
  EXPECT_EQ(pango_font_description_get_weight(zep::zgfontdesc()), 1000);
  float bold = 0, light = 0, h = 0;
  zep::zgsfw(5);
  zep::zgqtxw("Weight", 6, bold, h);
  zep::zgsfw(1);
  zep::zgqtxw("Weight", 6, light, h);
  EXPECT_GT(bold, light);
  s.dlnscale = 0.2;
  zep::zgsfw(4);
  EXPECT_EQ(pango_font_description_get_weight(zep::zgfontdesc()), 400);
  s.dlnscale = keep;
  defaultSlots();
}

// ---------------------------------------------------------------------------
// Text on PNG pages
// ---------------------------------------------------------------------------

struct Box {
  int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1, n = 0;
  double cx() const { return 0.5 * (x0 + x1); }
  double cy() const { return 0.5 * (y0 + y1); }
};

// Bounding box of the pixels that are not background white.
Box inkBox(const Png& png, std::uint32_t background = 0xFFFFFF) {
  Box b;
  for (int y = 0; y < png.height(); ++y)
    for (int x = 0; x < png.width(); ++x)
      if (png.pixel(x, y) != background) {
        b.x0 = std::min(b.x0, x);
        b.y0 = std::min(b.y0, y);
        b.x1 = std::max(b.x1, x);
        b.y1 = std::max(b.y1, y);
        ++b.n;
      }
  return b;
}

// Logical width and height in pixels of a text drawn with zgtxt at size `size`.
void layoutSize(const std::string& text, double size, double& w, double& h) {
  pango_font_description_set_size(zep::zgfontdesc(), static_cast<int>(26 * size) * PANGO_SCALE);
  const std::string m = zep::zgmarkup(text, static_cast<int>(text.size()), static_cast<int>(26 * size) * 1024.0);
  zep::get_pangostring_width_height(zep::zgstate().cr.get(), m.c_str(), w, h);
}

// One PNG page (904 x 654 pixels) with whatever `draw` puts on it, read back.
template <class Draw>
Png pngPage(int iws, Draw draw) {
  Opts o;
  o.iws = iws;
  o.ifl = 1;
  open(o);
  zep::zgpopn();
  zep::zgscli(1);
  draw();
  zep::zgpcls();
  zep::zgdcls();
  return Png(fs::path("zep_0001.png"));
}

TEST(ZgpackText, TextLandsWhereItsCentringPutsIt) {
  TempWorkDir dir;
  double w = 0, h = 0;
  const double Y = 654 - 300;
  for (int icent : {-1, 0, 1}) {
    Png png = pngPage(2, [&] {
      layoutSize("HHHH", 1.0, w, h);
      zep::zgtxt(400, 300, 1.0, "HHHH", 4, 0.0, icent);
    });
    ASSERT_TRUE(png.ok());
    const Box b = inkBox(png);
    ASSERT_GT(b.n, 200) << "icent " << icent;
    const double start = icent == -1 ? 400 : icent == 0 ? 400 - w / 2 : 400 - w;
    // Ink lies within the logical box, a little inside its ends.
    EXPECT_GE(b.x0, start) << icent;
    EXPECT_LE(b.x0, start + 0.15 * h) << icent;
    EXPECT_LE(b.x1, start + w + 1) << icent;
    EXPECT_GE(b.x1, start + w - 0.2 * h) << icent;
    // Capitals sit on the baseline, a little above the middle of the line.
    EXPECT_LT(std::abs(b.cy() - Y), 0.2 * h) << icent;
    EXPECT_GT(b.y1 - b.y0, 0.4 * h);
    EXPECT_LT(b.y1 - b.y0, h);
  }
  // The text has the current colour (index 2, red).
  Png red = pngPage(2, [] {
    zep::zgscli(2);
    zep::zgtxt(400, 300, 1.0, "HHHH", 4, 0.0, 0);
  });
  EXPECT_GT(zeptest::countPixels(red, 0xFF0000, 0, 0, red.width(), red.height()), 100);
  EXPECT_EQ(zeptest::countPixels(red, 0x000000, 0, 0, red.width(), red.height()), 0);
}

TEST(ZgpackText, TurnedTextAndTurnedPages) {
  TempWorkDir dir;
  double w = 0, h = 0;
  const double Y = 654 - 300;
  // Counter-clockwise by 90 degrees: the text runs up the page from the point.
  Png up = pngPage(2, [&] {
    layoutSize("HHHHHH", 1.0, w, h);
    zep::zgtxt(400, 300, 1.0, "HHHHHH", 6, 1.5707963F, -1);
  });
  Box b = inkBox(up);
  ASSERT_GT(b.n, 200);
  EXPECT_GT(b.y1 - b.y0, 2 * (b.x1 - b.x0));
  EXPECT_LE(b.y1, Y + 1);
  EXPECT_GE(b.y0, Y - w - 1);
  EXPECT_LT(std::abs(b.cx() - 400), 0.2 * h);

  // 45 degrees, centred: the ink's centre is the point.
  Png diag = pngPage(2, [] { zep::zgtxt(400, 300, 1.0, "HHHHHH", 6, 0.78539816F, 0); });
  b = inkBox(diag);
  EXPECT_LT(std::abs(b.cx() - 400), 8);
  EXPECT_LT(std::abs(b.cy() - Y), 8);
  EXPECT_NEAR(b.x1 - b.x0, b.y1 - b.y0, 0.2 * (b.x1 - b.x0));

  // On a turned page text at angle 0 runs down the surface (a clockwise turn).
  Png turned = pngPage(-2, [&] {
    layoutSize("HHHHHH", 1.0, w, h);
    zep::zgtxt(400, 300, 1.0, "HHHHHH", 6, 0.0, -1);
  });
  b = inkBox(turned);
  ASSERT_GT(b.n, 200);
  EXPECT_GT(b.y1 - b.y0, 2 * (b.x1 - b.x0));
  EXPECT_GE(b.y0, Y - 1);
  EXPECT_LE(b.y1, Y + w + 1);
  EXPECT_LT(std::abs(b.cx() - 400), 0.2 * h);
}

TEST(ZgpackText, ClippedSymbolsMarkersAndRejectedText) {
  TempWorkDir dir;
  // Clip to x 300..500, y 200..400 (workstation): the long text is cut.
  Png clipped = pngPage(2, [] {
    zep::zgclip(300, 500, 200, 400);
    zep::zgtxt(200, 300, 1.0, "HHHHHHHHHHHHHHHHHHHH", 20, 0.0, -1);
    zep::zgrclp();
    zep::zgtxt(200, 100, 1.0, "HHHHHHHHHHHHHHHHHHHH", 20, 0.0, -1);
  });
  const Box top = [&] {
    Box b;
    for (int y = 0; y < 654 - 200; ++y)
      for (int x = 0; x < 904; ++x)
        if (clipped.pixel(x, y) != 0xFFFFFF) {
          b.x0 = std::min(b.x0, x);
          b.x1 = std::max(b.x1, x);
          ++b.n;
        }
    return b;
  }();
  ASSERT_GT(top.n, 100);
  EXPECT_GE(top.x0, 300);
  EXPECT_LE(top.x1, 501);
  // The text after the clip is removed is whole.
  EXPECT_GT(zeptest::countPixels(clipped, 0x000000, 0, 654 - 130, 300, 654 - 70), 50);
  EXPECT_GT(zeptest::countPixels(clipped, 0x000000, 501, 654 - 130, 904, 654 - 70), 50);

  // Symbol codes draw Greek letters; marker codes draw glyphs even where no
  // "ZEPMarker" font is installed (the font engine falls back to a font that has
  // them); rejected markup draws nothing.
  Png alpha = pngPage(2, [] { zep::zgtxt(400, 300, 1.0, "\x98", 1, 0.0, 0); });
  EXPECT_GT(inkBox(alpha).n, 50);
  Png marker = pngPage(2, [] { zep::zgtxt(400, 300, 1.0, "\x0A", 1, 0.0, 0); });
  const Box m = inkBox(marker);
  EXPECT_GT(m.n, 100);
  EXPECT_LT(std::abs(m.cx() - 400), 10);
  Png rejected = pngPage(2, [] { zep::zgtxt(400, 300, 1.0, "x\\^{2", 5, 0.0, 0); });
  EXPECT_EQ(inkBox(rejected).n, 0);
}

TEST(ZgpackText, NestedScriptsAreDrawn) {
  TempWorkDir dir;
  // Each text is drawn, as wide as it says and with no "}" left over: the
  // script of the second ends right after its group.
  for (const std::string text : {"e\\^{i\\pi}", "e\\^{-x\\^2}", "a\\_{b\\_{c}}d"}) {
    double w = 0, h = 0;
    Png png = pngPage(2, [&] {
      layoutSize(text, 1.0, w, h);
      zep::zgtxt(400, 300, 1.0, text, static_cast<int>(text.size()), 0.0, -1);
    });
    ASSERT_TRUE(png.ok());
    const Box b = inkBox(png);
    EXPECT_GT(b.n, 100) << text;
    EXPECT_GT(w, 0.0) << text;
    EXPECT_LE(b.x1, 400 + w + 1) << text;
  }
  // A one-character script is the same as that character in braces.
  double wa = 0, wb = 0, h = 0;
  pngPage(2, [&] {
    layoutSize("e\\^{-x\\^2}", 1.0, wa, h);
    layoutSize("e\\^{-x\\^{2}}", 1.0, wb, h);
  });
  EXPECT_GT(wa, 0.0);
  EXPECT_EQ(wa, wb);
}

// The window device: the text reaches the page image that a hidden window
// writes at page end, and marks the part of the window to repaint.
TEST(ZgpackText, TextOnTheWindowPage) {
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') GTEST_SKIP() << "no X display";
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        TempWorkDir dir;
        Opts o;
        o.iws = 1;
        o.lwnd = false;  // hidden: every page is written, nobody waits
        open(o);
        zep::zgpopn();
        zep::zgscli(3);
        zep::ZgState& s = zep::zgstate();
        s.laltz = true;  // keep the dirty rectangle for a look
        s.irxb = s.iryb = s.irxt = s.iryt = 0;
        zep::zgtxt(450, 300, 1.0, "Window", 6, 0.0, 0);
        const bool marked = s.irxb > 300 && s.irxb < 450 && s.irxt > 450 && s.irxt < 600 && s.iryb > 654 - 340 &&
                            s.iryt < 654 - 260;
        zep::zgpcls();
        Png png(fs::path("zep_0001.png"));
        const Box b = inkBox(png);
        const bool placed = png.ok() && b.n > 100 && std::abs(b.cx() - 450) < 6 && std::abs(b.cy() - 354) < 10;
        const bool blue = zeptest::countPixels(png, 0x0000FF, 0, 0, png.width(), png.height()) > 50;
        std::_Exit(marked && placed && blue ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(ZgpackText, OpenResetsTheFont) {
  TempWorkDir dir;
  zep::zgftfc("Serif Bold Italic 30");
  Opts o;
  o.ifl = 1;
  open(o);
  char* name = pango_font_description_to_string(zep::zgfontdesc());
  EXPECT_STREQ(name, "Sans 12");
  g_free(name);
  EXPECT_EQ(zep::zgstate().fontfamily, "Sans Normal 12");
  zep::zgdcls();
}

}  // namespace
