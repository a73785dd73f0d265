// Polylines of one width and colour are stroked together: what is drawn in
// between (tones, clipping, other colours and widths) must keep its order and
// attributes, and the page must show every line that was drawn.
#include <string>

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
  const std::string note = zep::zgfinishoutput();
  EXPECT_NE(note.find("INCOMPLETE"), std::string::npos);
  Png png("zep_0001.png");
  ASSERT_TRUE(png.ok());
  EXPECT_EQ(png.pixel(200, 654 - 300), 0x0000ffu);
  zep::zgdcls();
}

}  // namespace
