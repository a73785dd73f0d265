// Polylines of one width and colour are stroked together: what is drawn in
// between (tones, clipping, other colours and widths) must keep its order and
// attributes, and the page must show every line that was drawn.
#include <initializer_list>
#include <string>
#include <utility>

#include "zgpack_test_util.hpp"

namespace {

using namespace zgtest;
using zeptest::TempWorkDir;

Opts fileOpts(int ifl) {
  Opts o;
  o.ifl = ifl;
  return o;
}

// One short polyline per step along y = `y`, as a dashed or mapped line
// reaches the driver.
void shortLines(double x0, double x1, double y, int color) {
  zep::zgswdi(1);
  zep::zgscli(color);
  for (double x = x0; x < x1; x += 4) {
    zep::zggopn();
    zep::zggmov(x, y);
    zep::zggplt(x + 4, y);
    zep::zggcls();
  }
}

TEST(ZgpackBatch, DrawingOrderAndAttributesKept) {
  TempWorkDir dir;
  open(fileOpts(1));
  zep::zgpopn();
  // Far more segments than one stroke takes, then a tone over their middle.
  shortLines(100, 500, 100, 2);
  box(250, 50, 350, 150, 3999);
  // Lines after the tone lie on it.
  shortLines(100, 500, 120, 2);
  // Colour and width changes between polylines of one run.
  hline(100, 200, 200, 2);
  hline(300, 400, 200, 3);
  hline(100, 200, 250, 1, 5);
  hline(300, 400, 250, 1, 1);
  // A clip set after lines does not cut them; it cuts what follows.
  shortLines(100, 500, 300, 3);
  zep::zgclip(0, 200, 0, 654);
  shortLines(100, 500, 320, 3);
  zep::zgrclp();
  // A polyline without a first point starts where the last one ended.
  zep::zgscli(1);
  zep::zggopn();
  zep::zggmov(600, 400);
  zep::zggplt(700, 400);
  zep::zggcls();
  zep::zggopn();
  zep::zggplt(700, 500);
  zep::zggcls();
  zep::zgpcls();
  zep::zgdcls();

  Png png("zep_0001.png");
  ASSERT_TRUE(png.ok());
  auto at = [&](int x, int y) { return png.pixel(x, 654 - y); };
  EXPECT_EQ(at(150, 100), 0xff0000u);
  EXPECT_EQ(at(300, 100), 0x0000ffu);  // under the tone
  EXPECT_EQ(at(450, 100), 0xff0000u);
  EXPECT_EQ(at(300, 120), 0xff0000u);  // on the tone
  EXPECT_EQ(at(150, 200), 0xff0000u);
  EXPECT_EQ(at(350, 200), 0x0000ffu);
  // Width 5 covers the pixels next to the line, width 1 does not.
  EXPECT_EQ(at(150, 251), 0x000000u);
  EXPECT_EQ(at(350, 251), 0xffffffu);
  EXPECT_EQ(at(450, 300), 0x0000ffu);
  EXPECT_EQ(at(150, 320), 0x0000ffu);
  EXPECT_EQ(at(450, 320), 0xffffffu);
  EXPECT_EQ(at(700, 450), 0x000000u);
  EXPECT_EQ(at(650, 450), 0xffffffu);
}

// One-segment polylines that continue each other may be stroked as one chain:
// the corner between them stays as round as two round caps make it, while the
// corners inside a polyline of several points stay bevelled, also next to
// such chains.
TEST(ZgpackBatch, ChainedSegmentsKeepTheirCorners) {
  TempWorkDir dir;
  open(fileOpts(1));
  zep::zgpopn();
  zep::zgswdi(9);  // 5 pixels: the corner shapes differ by whole pixels
  zep::zgscli(1);
  auto segment = [](double x0, double y0, double x1, double y1) {
    zep::zggopn();
    zep::zggmov(x0, y0);
    zep::zggplt(x1, y1);
    zep::zggcls();
  };
  auto polyline = [](std::initializer_list<std::pair<double, double>> points) {
    zep::zggopn();
    bool first = true;
    for (const auto& [x, y] : points) {
      first ? zep::zggmov(x, y) : zep::zggplt(x, y);
      first = false;
    }
    zep::zggcls();
  };
  segment(100, 300, 200, 300);
  segment(200, 300, 200, 400);
  polyline({{300, 300}, {400, 300}, {400, 400}});
  // A polyline that starts where a chain ends, and a segment that starts
  // where a polyline ends.
  segment(500, 300, 600, 300);
  polyline({{600, 300}, {600, 400}, {700, 400}});
  polyline({{100, 500}, {200, 500}, {200, 600}});
  segment(200, 600, 300, 600);
  // A polyline without a first point continues a chain.
  zep::zggopn();
  zep::zggplt(300, 500);
  zep::zggcls();
  zep::zgpcls();
  zep::zgdcls();

  Png png("zep_0001.png");
  ASSERT_TRUE(png.ok());
  // Grey level of the pixel at (x, y) in workstation coordinates.
  auto grey = [&](int x, int y) { return static_cast<int>(png.pixel(x, 654 - y) & 0xffu); };
  // The outer side of each corner, two pixels along and one across: inside a
  // round corner, mostly outside a bevelled one.
  EXPECT_LT(grey(202, 299), 128);  // chain, round
  EXPECT_GT(grey(402, 299), 160);  // polyline, bevelled
  EXPECT_GT(grey(598, 401), 160);  // polyline after a chain, bevelled
  EXPECT_GT(grey(202, 499), 160);  // polyline before a segment, bevelled
  EXPECT_LT(grey(198, 601), 128);  // segment after a polyline, round
  // Every line is drawn.
  for (auto [x, y] : {std::pair{150, 300}, {200, 350}, {350, 300}, {400, 350}, {550, 300}, {600, 350},
                      {650, 400}, {150, 500}, {200, 550}, {250, 600}, {300, 550}})
    EXPECT_EQ(grey(x, y), 0) << x << "," << y;
}

// A polyline interrupted by a change of colour keeps its first segment in
// the colour it was drawn in.
TEST(ZgpackBatch, OpenPolylineSurvivesAColourChange) {
  TempWorkDir dir;
  open(fileOpts(1));
  zep::zgpopn();
  zep::zgswdi(1);
  zep::zgscli(2);
  zep::zggopn();
  zep::zggmov(100, 100);
  zep::zggplt(200, 100);
  zep::zgscli(3);
  zep::zggplt(300, 100);
  zep::zggcls();
  zep::zgpcls();
  zep::zgdcls();
  Png png("zep_0001.png");
  ASSERT_TRUE(png.ok());
  EXPECT_EQ(png.pixel(150, 654 - 100), 0xff0000u);
  EXPECT_EQ(png.pixel(250, 654 - 100), 0x0000ffu);
}

// On vector pages a run of short lines of one colour becomes a few strokes,
// not one stroke per line, while a change of colour at every line still
// strokes each in its own colour.
TEST(ZgpackBatch, RunsOfLinesBecomeFewStrokes) {
  auto strokes = [](bool alternate) {
    TempWorkDir dir;
    open(fileOpts(3));  // SVG: one path element per stroke
    zep::zgpopn();
    for (int i = 0; i < 4000; ++i) {
      zep::zgscli(alternate ? 2 + i % 2 : 2);
      zep::zggopn();
      zep::zggmov(100 + (i % 100) * 6, 100 + (i / 100) * 10);
      zep::zggplt(104 + (i % 100) * 6, 100 + (i / 100) * 10);
      zep::zggcls();
    }
    zep::zgpcls();
    zep::zgdcls();
    const std::string svg = zeptest::readFile("zep_0001.svg");
    int paths = 0;
    for (auto at = svg.find("<path"); at != std::string::npos; at = svg.find("<path", at + 1)) ++paths;
    return paths;
  };
  const int together = strokes(false), apart = strokes(true);
  EXPECT_GE(together, 1);
  EXPECT_LE(together, 40);
  EXPECT_GE(apart, 4000);
}

// Lines still waiting for their stroke are on the page when the output is
// completed early.
TEST(ZgpackBatch, PendingLinesReachAnIncompletePage) {
  TempWorkDir dir;
  open(fileOpts(1));
  zep::zgpopn();
  hline(100, 300, 300, 3);
  // A polyline begun and never closed.
  zep::zggopn();
  zep::zggmov(100, 400);
  zep::zggplt(300, 400);
  const std::string note = zep::zgfinishoutput();
  EXPECT_NE(note.find("INCOMPLETE"), std::string::npos);
  Png png("zep_0001.png");
  ASSERT_TRUE(png.ok());
  EXPECT_EQ(png.pixel(200, 654 - 300), 0x0000ffu);
  EXPECT_EQ(png.pixel(200, 654 - 400), 0x0000ffu);
  zep::zgdcls();
}

}  // namespace
