// Text primitives seen from the workstation: the attribute checks and their
// reports, the calls one short string makes, R-level text and clipping, and the
// system-font path.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "support/message_file.hpp"
#include "support/recording_port.hpp"
#include "support/test_support.hpp"

namespace {

using zeptest::driverLog;
using zeptest::expectLines;

struct Report {
  std::string routine, text;
};
std::vector<Report>& errors() {
  static std::vector<Report> r;
  return r;
}
void recordError(std::string_view routine, std::string_view text) {
  errors().push_back({std::string(routine), std::string(text)});
}

bool drew(const std::vector<std::string>& log) {
  return std::any_of(log.begin(), log.end(), [](const std::string& s) { return s.rfind("gplt", 0) == 0 || s.rfind("txt", 0) == 0; });
}

std::vector<std::string> callsStartingWith(const std::string& prefix) {
  std::vector<std::string> out;
  for (const auto& s : driverLog())
    if (s.rfind(prefix, 0) == 0) out.push_back(s);
  return out;
}

TEST(TextPrimitives, ZeroHeightAndZeroIndexDoNothingWithAMessage) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zeptest::MessageFile messages("text-messages.txt");
    zep::gliset("MSGLEV", 0);
    zep::sgstxs(0.0F);
    zep::sgtxv(0.5F, 0.5F, "A");
    zep::sgstxs(0.05F);
    zep::sgstxi(0);
    zep::sgtxu(0.5F, 0.5F, "A");
    zep::sgtxzr(0.5F, 0.5F, "A", 0.05F, 0, 0, 0);
    if (!driverLog().empty()) return std::string("drew something: ") + driverLog().front();
    return expectLines(messages.lines(), {" *** MESSAGE (SGTXV ) ***  TEXT HEIGHT IS 0 / DO NOTHING.",
                                          " *** MESSAGE (SGTXU ) ***  TEXT INDEX IS 0 / DO NOTHING.",
                                          " *** MESSAGE (SGTXZR) ***  TEXT INDEX IS 0 / DO NOTHING."});
  });
}

TEST(TextPrimitives, InvalidAttributesAreErrors) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  auto run = [](auto body) {
    zeptest::openRecordedSession();
    body();
  };
  EXPECT_EXIT(run([] { zep::sgtxzv(0.5F, 0.5F, "A", -0.1F, 0, 0, 1); }), testing::KilledBySignal(SIGABRT),
              zeptest::lineRegex(" ***** ERROR (SGTXZV) ***  TEXT HEIGHT IS LESS THAN ZERO."));
  EXPECT_EXIT(run([] { zep::sgstxc(2); zep::sgtxv(0.5F, 0.5F, "A"); }), testing::KilledBySignal(SIGABRT),
              zeptest::lineRegex(" ***** ERROR (SGTXV ) ***  CENTERING OPTION IS INVALID."));
  EXPECT_EXIT(run([] { zep::sgstxi(-3); zep::sgtxr(0.5F, 0.5F, "A"); }), testing::KilledBySignal(SIGABRT),
              zeptest::lineRegex(" ***** ERROR (SGTXR ) ***  TEXT INDEX IS LESS THAN 0."));
  // With an error callback the routine returns without drawing anything.
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::set_msgdmp_err_func(&recordError);
    zep::sgtxzv(0.5F, 0.5F, "A", 0.05F, 0, 2, 1);
    if (errors().size() != 1 || errors()[0].routine != "SGTXZV" || errors()[0].text != "CENTERING OPTION IS INVALID.")
      return std::string("report");
    return driverLog().empty() ? std::string() : "drew after the error: " + driverLog().front();
  });
}

TEST(TextPrimitives, AttributesAreStoredAsGiven) {
  float h = 0;
  int a = 0, c = 0, i = 0;
  zep::sgqtxs(h);
  zep::sgqtxr(a);
  zep::sgqtxc(c);
  zep::sgqtxi(i);
  EXPECT_FLOAT_EQ(h, 0.05F);
  EXPECT_EQ(a, 0);
  EXPECT_EQ(c, 0);
  EXPECT_EQ(i, 1);
  zep::sgstxs(-1.0F);  // setters do not check
  zep::sgstxr(400);
  zep::sgstxc(7);
  zep::sgstxi(-2);
  zep::sgqtxs(h);
  zep::sgqtxr(a);
  zep::sgqtxc(c);
  zep::sgqtxi(i);
  EXPECT_FLOAT_EQ(h, -1.0F);
  EXPECT_EQ(a, 400);
  EXPECT_EQ(c, 7);
  EXPECT_EQ(i, -2);
  zep::sgstxs(0.05F);
  zep::sgstxr(0);
  zep::sgstxc(0);
  zep::sgstxi(1);
}

// The glyph of one character as the font file holds it: extents and points
// (x, y, pen down), in glyph units with y downwards.
struct GlyphData {
  float left = 0, right = 0;
  struct Point {
    int x, y;
    bool down;
  };
  std::vector<Point> points;
};

GlyphData glyphOf(unsigned char code) {
  std::vector<int> index(256);
  std::string xs(6000, ' '), ys(6000, ' ');
  zep::szqfnt(index.data(), xs, ys);
  std::vector<float> left(256), right(256);
  zep::szqfnw(left.data(), right.data());
  GlyphData g;
  g.left = left[code];
  g.right = right[code];
  bool down = false;
  for (auto j = static_cast<std::size_t>(index[code]); j < 6000; ++j) {
    const int bx = static_cast<unsigned char>(xs[j]), by = static_cast<unsigned char>(ys[j]);
    if (bx == 0 && by == 0) break;
    if (bx == 0) {
      down = false;
      continue;
    }
    g.points.push_back({bx - 64, by - 64, down});
    down = true;
  }
  return g;
}

TEST(TextPrimitives, OneStrokeStringReachesTheWorkstationGlyphByGlyph) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::sgslni(25);
    zep::sglnv(0.1F, 0.1F, 0.2F, 0.1F);  // leaves line index 25 in force
    int ncnt = 0;
    zep::szfint(ncnt);
    const GlyphData minus = glyphOf('-');
    const GlyphData one = glyphOf('1');
    driverLog().clear();

    // Height 0.24: one glyph unit is 0.01 in V, 6.5 workstation units.
    zep::sgtxzv(0.5F, 0.5F, "-1", 0.24F, 0, -1, 43);

    std::vector<std::string> want = {"swdi(3)", "scli(4)", "oopn(SZTX,0.24000 0 -1 43 1 2)",
                                     "oopn(SZTXZ,450 325 \"-1\")"};
    float xc = 0.5F + (0 - minus.left) * 0.01F;
    for (const GlyphData* g : {&minus, &one}) {
      want.push_back("gopn");
      for (const auto& p : g->points)
        want.push_back(zeptest::fmt2(p.down ? "gplt" : "gmov", 125 + 650 * (xc + 0.01F * static_cast<float>(p.x)),
                                     650 * (0.5F - 0.01F * static_cast<float>(p.y))));
      want.push_back("gcls");
      if (g == &minus) xc += (minus.right - one.left) * 0.01F;
    }
    for (const char* s : {"ocls(SZTXZ)", "swdi(5)", "scli(2)", "ocls(SZTX)"}) want.push_back(s);
    if (minus.points.size() < 2 || one.points.size() < 2) return std::string("glyphs without strokes");
    return expectLines(driverLog(), want);
  });
}

TEST(TextPrimitives, CentringAndAngleMoveTheStringAboutThePoint) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    int nc = 0;
    float w = 0, wy = 0;
    zep::sgslni(1);
    zep::szqtxw("I", nc, w, wy);  // also loads the font
    const GlyphData glyph = glyphOf('I');
    // "I" is one vertical stroke; centred on the point its stroke lies at the
    // point's x plus the glyph's offset from the middle of its extents.
    const float mid = (glyph.left + glyph.right) / 2;
    std::string failure;
    for (int centring = -1; centring <= 1; ++centring) {
      driverLog().clear();
      zep::sgtxzv(0.5F, 0.5F, "I", 0.24F, 0, centring, 1);
      const auto moves = callsStartingWith("gmov");
      float x = 0, y = 0;
      if (moves.empty() || std::sscanf(moves[0].c_str(), "gmov(%f,%f)", &x, &y) != 2) return std::string("no stroke");
      const float startOffset = -static_cast<float>(centring + 1) * w * 24 / 2;  // glyph units
      const float expected = 125 + 650 * (0.5F + 0.01F * (startOffset - glyph.left + static_cast<float>(glyph.points[0].x)));
      if (std::fabs(x - expected) > 0.06F) failure += "centring " + std::to_string(centring) + ": " + moves[0] + "\n";
      if (centring == 0 && std::fabs(x - (125 + 650 * (0.5F + 0.01F * (static_cast<float>(glyph.points[0].x) - mid)))) > 0.06F)
        failure += "not centred: " + moves[0] + "\n";
    }
    // Turned by 90 degrees the stroke of "I" becomes horizontal, exactly.
    driverLog().clear();
    zep::sgtxzv(0.5F, 0.5F, "I", 0.24F, 90, -1, 1);
    const auto moves = callsStartingWith("gmov"), draws = callsStartingWith("gplt");
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    if (moves.empty() || draws.empty()) return std::string("no turned stroke");
    std::sscanf(moves[0].c_str(), "gmov(%f,%f)", &x0, &y0);
    std::sscanf(draws.back().c_str(), "gplt(%f,%f)", &x1, &y1);
    if (y0 != y1 || std::fabs(std::fabs(x1 - x0) - 6.5F * static_cast<float>(std::abs(glyph.points.back().y - glyph.points[0].y))) > 0.1F)
      failure += "turned: " + moves[0] + " " + draws.back();
    return failure;
  });
}

TEST(TextPrimitives, RLevelTextIgnoresTheViewportClipAndKeepsLclip) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::sgsvpt(0.4F, 0.6F, 0.4F, 0.6F);
    zep::sgstrf();
    zep::sglset("LCLIP", true);
    zep::sgtxzv(0.1F, 0.1F, "A", 0.05F, 0, 0, 1);
    if (drew(driverLog())) return std::string("V-level text outside the viewport was drawn");
    driverLog().clear();
    zep::sgtxzr(0.1F, 0.1F, "A", 0.05F, 0, 0, 1);
    if (!drew(driverLog())) return std::string("R-level text was clipped by the viewport");
    bool clip = false;
    zep::sglget("LCLIP", clip);
    if (!clip) return std::string("LCLIP was not restored");
    driverLog().clear();
    zep::sglnv(0.0F, 0.5F, 1.0F, 0.5F);  // lines still clip
    return expectLines(callsStartingWith("g"), {"gopn", "gmov(385.0,325.0)", "gplt(515.0,325.0)", "gcls"});
  });
}

TEST(TextPrimitives, SystemFontPathHandsTheStringToTheWorkstation) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::swlset("SYSFONT", true);
    zep::sgtxzv(0.5F, 0.5F, "x\\^2", 0.24F, 90, 1, 23);
    std::string failure = expectLines(driverLog(), {"qwdc", "qclc", "swdi(3)", "scli(2)", "oopn(SZTX,0.24000 90 1 23 1 2)", "ftfc(Sans)",
                                                    "sfw(3)", "scli(2)", "rclp", "txt(450.0,325.0,6.500,x\\^2,1.571,1)",
                                                    "swdi(0)", "scli(1)", "ocls(SZTX)"});
    // Serif for font 2, monospace for fixed widths, FONTNAME above both.
    zep::sgiset("IFONT", 2);
    driverLog().clear();
    zep::sgtxzv(0.5F, 0.5F, "a", 0.05F, 0, 0, 1);
    if (callsStartingWith("ftfc") != std::vector<std::string>{"ftfc(Serif)"}) failure += "serif\n";
    zep::sglset("LFPROP", false);
    driverLog().clear();
    zep::sgtxzv(0.5F, 0.5F, "a", 0.05F, 0, 0, 1);
    if (callsStartingWith("ftfc") != std::vector<std::string>{"ftfc(Monospace)"}) failure += "monospace\n";
    zep::swcset("FONTNAME", "Courier Bold 10");
    driverLog().clear();
    zep::sgtxzv(0.5F, 0.5F, "a", 0.05F, 0, 0, 1);
    if (callsStartingWith("ftfc") != std::vector<std::string>{"ftfc(Courier Bold 10)"}) failure += "fontname\n";
    zep::sglset("LFPROP", true);
    zep::sgiset("IFONT", 1);

    // A marker code first: the system font draws it unless MARKFONT is off.
    const std::string marker = "\x05";
    driverLog().clear();
    zep::sgtxzv(0.5F, 0.5F, marker, 0.05F, 0, 0, 1);
    if (callsStartingWith("txt").size() != 1) failure += "marker with MARKFONT\n";
    zep::sglset("MARKFONT", false);
    driverLog().clear();
    zep::sgtxzv(0.5F, 0.5F, marker, 0.05F, 0, 0, 1);
    if (!callsStartingWith("txt").empty() || callsStartingWith("gplt").empty()) failure += "marker without MARKFONT\n";

    // Widths come from the workstation on this path.
    driverLog().clear();
    int nc = 0;
    float w = 0, h = 0;
    zep::szqtxw("abcd", nc, w, h);
    if (callsStartingWith("qtxw") != std::vector<std::string>{"qtxw(abcd)"} || w != 2.0F || h != 0.8F) failure += "width\n";

    // An 80-character text is too long for the stroke font, not for the system font.
    const std::string longText(80, 'a');
    driverLog().clear();
    zep::sgtxzv(0.5F, 0.5F, longText, 0.05F, 0, 0, 1);
    if (callsStartingWith("txt").size() != 1) failure += "long text on the system font\n";
    return failure;
  });
}

TEST(TextPrimitives, LongStrokeStringIsAnError) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        zeptest::openRecordedSession();
        zep::sgtxzv(0.5F, 0.5F, std::string(80, 'a'), 0.05F, 0, 0, 1);
      },
      testing::KilledBySignal(SIGABRT),
      zeptest::lineRegex(" ***** ERROR (SZTXWV) ***  STRING LENGTH TOO LONG. CONSIDER USING SYSTEM FONT."));
  // Characters outside the printable range count four times in the object text.
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::sgtxzv(0.5F, 0.5F, "100%\x98", 0.05F, 0, 0, 1);
    const auto opens = callsStartingWith("oopn(SZTXZ");
    return expectLines(opens, {"oopn(SZTXZ,450 325 \"100%037%152\")"});
  });
  // A control-character code that no character has cannot be written.
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::set_msgdmp_err_func(&recordError);
    zep::sgiset("ISUP", 300);
    zep::sgtxzv(0.5F, 0.5F, "x\\^2", 0.05F, 0, 0, 1);
    if (errors().size() != 1 || errors()[0].text != "CONTROL CHARACTER CODE IS OUT OF RANGE (0-255).")
      return std::string("no report");
    return drew(driverLog()) ? std::string("drew with a bad code") : std::string();
  });
}

}  // namespace
