// What the shipped stroke fonts draw: a glyph for every code they promise,
// filled markers as large as their outlines and covered without gaps, and
// UTF-8 text turned into the fonts' codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "primitives/text_markup.hpp"
#include "support/recording_port.hpp"
#include "support/test_support.hpp"

namespace {

using zep::text_engine::decodeUtf8;
using zep::text_engine::kReplacementCode;

struct Point {
  float x, y;
};
using Stroke = std::vector<Point>;

// The strokes of one glyph of the loaded font, in glyph units (y downwards).
std::vector<Stroke> strokesOf(unsigned char code) {
  std::vector<int> index(256);
  std::string xs(6000, ' '), ys(6000, ' ');
  zep::szqfnt(index.data(), xs, ys);
  std::vector<Stroke> strokes(1);
  for (auto j = static_cast<std::size_t>(index[code]); j < 6000; ++j) {
    const int bx = static_cast<unsigned char>(xs[j]), by = static_cast<unsigned char>(ys[j]);
    if (bx == 0 && by == 0) break;
    if (bx == 0) {
      strokes.emplace_back();
      continue;
    }
    strokes.back().push_back({static_cast<float>(bx - 64), static_cast<float>(by - 64)});
  }
  std::erase_if(strokes, [](const Stroke& s) { return s.empty(); });
  return strokes;
}

int pointsOf(unsigned char code) {
  int n = 0;
  for (const Stroke& s : strokesOf(code)) n += static_cast<int>(s.size());
  return n;
}

struct Box {
  float xmin = 1e9F, xmax = -1e9F, ymin = 1e9F, ymax = -1e9F;
  bool operator==(const Box&) const = default;
};
Box boxOf(const std::vector<Stroke>& strokes) {
  Box b;
  for (const Stroke& s : strokes)
    for (const Point& p : s) {
      b.xmin = std::min(b.xmin, p.x);
      b.xmax = std::max(b.xmax, p.x);
      b.ymin = std::min(b.ymin, p.y);
      b.ymax = std::max(b.ymax, p.y);
    }
  return b;
}

bool insidePolygon(const Stroke& poly, float x, float y) {
  bool in = false;
  for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const Point a = poly[i], b = poly[j];
    if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y)) in = !in;
  }
  return in;
}

float distanceToSegment(Point p, Point a, Point b) {
  const float dx = b.x - a.x, dy = b.y - a.y;
  const float len2 = dx * dx + dy * dy;
  const float t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0F, 1.0F) : 0.0F;
  return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

// The largest distance from a point inside the glyph's first stroke (its
// outline) to the nearest stroke: how large the holes of the filling are.
float largestHole(const std::vector<Stroke>& strokes) {
  const Stroke& outline = strokes.front();
  const Box b = boxOf(strokes);
  float worst = 0;
  for (float y = b.ymin + 0.1F; y < b.ymax; y += 0.2F)
    for (float x = b.xmin + 0.1F; x < b.xmax; x += 0.2F) {
      if (!insidePolygon(outline, x, y)) continue;
      float nearest = 1e9F;
      for (const Stroke& s : strokes)
        for (std::size_t i = 0; i + 1 < s.size(); ++i) nearest = std::min(nearest, distanceToSegment({x, y}, s[i], s[i + 1]));
      worst = std::max(worst, nearest);
    }
  return worst;
}

std::string forEachFont(std::string (*check)(int font)) {
  std::string failure;
  for (int font : {1, 2}) {
    zep::sgiset("IFONT", font);
    int n = 0;
    zep::szfint(n);
    failure += check(font);
  }
  return failure;
}

TEST(StrokeGlyphs, EveryPromisedCodeHasAGlyph) {
  ZEP_EXPECT_ISOLATED([] {
    return forEachFont([](int font) {
      std::vector<int> promised;
      for (int k = 1; k <= 17; ++k) promised.push_back(k);                  // markers
      for (int k = 33; k <= 127; ++k) promised.push_back(k);                // ASCII, 127 the replacement
      for (int k = 0x80; k <= 0xDB; ++k) promised.push_back(k);             // Greek, degree, symbols
      for (int k : {0xE0, 0xE1, 0xE3, 0xE4, 0xE5, 0xE6, 0xF0, 0xF1, 0xF2, 0xF3, 0xF5, 0xF6, 0xF7, 0xF8}) promised.push_back(k);
      std::string failure;
      for (int k : promised) {
        if (k == 0xBB || k == 0xD1) continue;  // spaces
        if (pointsOf(static_cast<unsigned char>(k)) < 2)
          failure += "font " + std::to_string(font) + ": no glyph for code " + std::to_string(k) + "\n";
      }
      // Codes without a symbol draw a blank as wide as the space.
      if (pointsOf(0xDC) != 0 || pointsOf(0xFF) != 0) failure += "font " + std::to_string(font) + ": blank codes draw\n";
      return failure;
    });
  });
}

TEST(StrokeGlyphs, FilledMarkersMatchTheirOutlinesAndLookSolid) {
  ZEP_EXPECT_ISOLATED([] {
    return forEachFont([](int font) {
      std::string failure;
      const std::string f = "font " + std::to_string(font) + ": ";
      const Box triangle = boxOf(strokesOf(7));
      const float tw = triangle.xmax - triangle.xmin, th = triangle.ymax - triangle.ymin;
      // Circle, square and the four triangles against the circle, the square and
      // the upward triangle (turned).
      const struct {
        int filled;
        Box want;
      } pairs[] = {{10, boxOf(strokesOf(4))},
                   {11, boxOf(strokesOf(6))},
                   {12, triangle},
                   {14, {triangle.xmin, triangle.xmax, -triangle.ymax, -triangle.ymin}}};
      for (const auto& p : pairs)
        if (!(boxOf(strokesOf(static_cast<unsigned char>(p.filled))) == p.want))
          failure += f + "code " + std::to_string(p.filled) + " not the size of its outline\n";
      for (int code : {13, 15}) {
        const Box b = boxOf(strokesOf(static_cast<unsigned char>(code)));
        if (b.xmax - b.xmin != th || b.ymax - b.ymin != tw) failure += f + "code " + std::to_string(code) + " size\n";
      }
      // Solid: no point inside is more than 0.4 glyph units from a stroke (rows
      // one unit apart leave 0.5, and more where they stop short of the edge).
      for (int code : {10, 11, 12, 13, 14, 15, 16}) {
        const float hole = largestHole(strokesOf(static_cast<unsigned char>(code)));
        if (hole > 0.4F) failure += f + "code " + std::to_string(code) + " has holes of " + std::to_string(hole) + "\n";
      }
      return failure;
    });
  });
}

TEST(StrokeGlyphs, Utf8SequencesBecomeFontCodes) {
  std::string failure;
  auto check = [&](const std::string& in, const std::string& want) {
    const std::string got = decodeUtf8(in);
    if (got != want) {
      failure += "[";
      for (unsigned char c : in) failure += std::to_string(c) + " ";
      failure += "] ->";
      for (unsigned char c : got) failure += " " + std::to_string(c);
      failure += "\n";
    }
  };
  // Greek, the degree sign and symbols of two, three and four bytes.
  check("\u03b1\u03b2 = 30\u00b0", "\x98\x99 = 30\xb0");
  check("\u0391\u03a3\u03a9\u03c3\u03c2\u03c9", "\x80\x91\x97\xa9\xa9\xaf");
  check("\u2202T/\u2202t \u2264 \u221e", "\xd8T/\xd8t \xca \xbd");
  check("\xf0\x9d\x9c\x96\u00c5\u00b5m", "\xf0\xe1\xa3m");
  check("\u25cf\u2605", "\x0a\x10");
  // Characters the fonts lack draw the replacement.
  check("caf\u00e9 \u3042", std::string("caf") + static_cast<char>(kReplacementCode) + " " + static_cast<char>(kReplacementCode));
  // Bytes that are not part of a well-formed sequence stay font codes: lone
  // high bytes, a sequence cut short, overlong forms, surrogates, beyond U+10FFFF.
  check("\x98\xb0 ", "\x98\xb0 ");
  check("\xce", "\xce");
  check("\xce" "a", "\xce" "a");
  check("\xc0\x80\xc1\xbf", "\xc0\x80\xc1\xbf");
  check("\xe0\x80\xaf", "\xe0\x80\xaf");
  check("\xed\xa0\x80", "\xed\xa0\x80");
  check("\xf4\x90\x80\x80", "\xf4\x90\x80\x80");
  check("\xe2\x88", "\xe2\x88");
  check("plain ASCII \\^2  ", "plain ASCII \\^2  ");
  EXPECT_EQ(failure, "");
}

TEST(StrokeGlyphs, MarkupUnits) {
  using zep::markup::TokenKind;
  using zep::markup::tokenAt;
  const std::string text = "a\\^{\u03b1}\xce\\";
  // a, \^, {, alpha (two bytes as UTF-8, or one byte), }, a stray byte, a final backslash.
  struct Want {
    std::size_t at;
    TokenKind kind;
    std::size_t utf8Length, byteLength;
    char letter;
  } wants[] = {{0, TokenKind::character, 1, 1, 0},  {1, TokenKind::escape, 2, 2, '^'},
               {3, TokenKind::open, 1, 1, 0},       {4, TokenKind::character, 2, 1, 0},
               {6, TokenKind::close, 1, 1, 0},      {7, TokenKind::character, 1, 1, 0},
               {8, TokenKind::escape, 1, 1, 0}};
  for (const Want& w : wants) {
    const auto u = tokenAt(text, w.at, true), b = tokenAt(text, w.at, false);
    EXPECT_EQ(u.kind, w.kind) << w.at;
    EXPECT_EQ(u.length, w.utf8Length) << w.at;
    EXPECT_EQ(b.length, w.byteLength) << w.at;
    EXPECT_EQ(u.letter, w.letter) << w.at;
  }
  EXPECT_EQ(tokenAt(text, 7, true).utf8, 0);  // 0xCE without its continuation byte
  EXPECT_EQ(zep::markup::sequenceLength("\xf0\x9d\x9c\x96"), 4);
  EXPECT_EQ(zep::markup::sequenceLength("\xf0\x9d\x9c"), 0);
}

// The polylines the workstation receives for one stroke-font text.
std::vector<std::string> strokesDrawn(const std::string& text) {
  zeptest::driverLog().clear();
  zep::sgtxzv(0.3F, 0.5F, text, 0.1F, 0, -1, 1);
  std::vector<std::string> out;
  for (const auto& s : zeptest::driverLog())
    if (s.rfind("gmov", 0) == 0 || s.rfind("gplt", 0) == 0) out.push_back(s);
  return out;
}

TEST(StrokeGlyphs, Utf8TextDrawsLikeItsFontCodesUnlessSwitchedOff) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    std::string failure;
    const std::string utf8 = "\u03b1=5\u00b0", codes = "\x98=5\xb0";
    if (strokesDrawn(utf8) != strokesDrawn(codes)) failure += "UTF-8 text drawn differently from its codes\n";
    float w8 = 0, wc = 0, h = 0;
    int nc = 0;
    zep::szqtxw(utf8, nc, w8, h);
    zep::szqtxw(codes, nc, wc, h);
    if (w8 != wc) failure += "widths differ: " + std::to_string(w8) + " " + std::to_string(wc) + "\n";
    // Scripts work on decoded text as on plain text.
    zep::sglset("LCNTL", true);
    if (strokesDrawn("x\\^\u03b1") != strokesDrawn("x\\^\x98")) failure += "script of a decoded letter\n";
    zep::sglset("LCNTL", false);
    // Switched off, the bytes are font codes again: two glyphs for one letter.
    zep::swlset("LUTF8", false);
    if (strokesDrawn(utf8) != strokesDrawn("\xce\xb1=5\xc2\xb0")) failure += "raw bytes with decoding off\n";
    if (strokesDrawn(utf8) == strokesDrawn(codes)) failure += "decoding not switched off\n";
    zep::szqtxw(utf8, nc, w8, h);
    if (w8 == wc) failure += "width with decoding off\n";
    return failure;
  });
}

}  // namespace
