// Page layout: frame numbering of divisions, pages, paper sizes, limits and
// reports.
#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "graphics/report_recorder.hpp"
#include "support/test_support.hpp"

namespace {

using zeptest::lineRegex;
using zeptest::Report;
using zeptest::ReportRecorder;

struct Rect {
  float xmin, xmax, ymin, ymax;
};

Rect frame(int lev, int ifr) {
  Rect r{-1, -1, -1, -1};
  zep::slqrct(lev, ifr, r.xmin, r.xmax, r.ymin, r.ymax);
  return r;
}

void expectRect(const Rect& r, float xmin, float xmax, float ymin, float ymax, const std::string& what) {
  SCOPED_TRACE(what);
  EXPECT_NEAR(r.xmin, xmin, 1e-3F);
  EXPECT_NEAR(r.xmax, xmax, 1e-3F);
  EXPECT_NEAR(r.ymin, ymin, 1e-3F);
  EXPECT_NEAR(r.ymax, ymax, 1e-3F);
}

int sgInt(const char* name) {
  int v = 0;
  zep::sgiget(name, v);
  return v;
}

TEST(PageLayout, InitSetsBothLevelsAndParameters) {
  zep::slinit(300.0F, 200.0F, 0.05F);
  expectRect(frame(0, 1), 0, 300, 0, 200, "level 0");
  expectRect(frame(1, 1), 0, 300, 0, 200, "level 1");
  EXPECT_EQ(sgInt("NLEVEL"), 1);
  float factor = 0;
  zep::sgrget("FACTOR", factor);
  EXPECT_FLOAT_EQ(factor, 0.05F);
  // Every frame of an undivided layout is a page of its own.
  int jfr = 3, ipage = 0;
  zep::slpage(1, jfr, ipage);
  EXPECT_EQ(ipage, 3);
  EXPECT_EQ(jfr, 1);
}

TEST(PageLayout, PaperSizesFollowTheHalvingRule) {
  float dl = 0, ds = 0;
  zep::slqsiz("A0", dl, ds);
  EXPECT_FLOAT_EQ(dl, 118.9F);
  EXPECT_FLOAT_EQ(ds, 84.1F);
  zep::slqsiz("A4", dl, ds);
  EXPECT_FLOAT_EQ(dl, 29.725F);
  EXPECT_FLOAT_EQ(ds, 21.025F);
  zep::slqsiz("b5T", dl, ds);  // either case; the third character does not matter
  EXPECT_FLOAT_EQ(dl, 25.75F);
  EXPECT_FLOAT_EQ(ds, 18.2F);
  zep::slqsiz("B0", dl, ds);
  EXPECT_FLOAT_EQ(dl, 145.6F);
  EXPECT_FLOAT_EQ(ds, 103.0F);
}

TEST(PageLayout, PaperIsCentredInLandscapeOrUpright) {
  ReportRecorder rec;
  // 50 x 35 cm workstation at 0.05 cm per unit: A4 is 594.5 x 420.5 units.
  zep::slinit(1000.0F, 700.0F, 0.05F);
  zep::slsize("A4");
  expectRect(frame(0, 1), 202.75F, 797.25F, 139.75F, 560.25F, "A4 level 0");
  expectRect(frame(1, 1), 202.75F, 797.25F, 139.75F, 560.25F, "A4 level 1");

  zep::slinit(1000.0F, 700.0F, 0.05F);
  zep::slsize("A4T");
  expectRect(frame(1, 1), 289.75F, 710.25F, 52.75F, 647.25F, "A4T");

  // Automatic orientation on an upright workstation puts the long side up.
  zep::slinit(700.0F, 1000.0F, 0.05F);
  zep::slsize("a4 ");
  expectRect(frame(1, 1), 139.75F, 560.25F, 202.75F, 797.25F, "A4 upright");
  zep::slinit(700.0F, 1000.0F, 0.05F);
  zep::slsize("A4A");
  expectRect(frame(1, 1), 139.75F, 560.25F, 202.75F, 797.25F, "A4A upright");
  zep::slinit(700.0F, 1000.0F, 0.05F);
  zep::slsize("A4y");
  expectRect(frame(1, 1), 52.75F, 647.25F, 289.75F, 710.25F, "A4Y landscape");

  zep::slinit(1000.0F, 700.0F, 0.05F);
  zep::slform(20.0F, 10.0F);
  expectRect(frame(0, 1), 300.0F, 700.0F, 250.0F, 450.0F, "20 x 10 cm");
  EXPECT_TRUE(rec.reports().empty());
}

TEST(PageLayout, UnknownOrientationIsReportedAndAutomatic) {
  ReportRecorder rec;
  zep::slinit(1000.0F, 700.0F, 0.05F);
  zep::slsize("A4X");
  const std::vector<Report> want = {{"W", "SLSIZE", "SIZE PARAMETER IS INVALID."},
                                    {"M", "-CNT.-", "'A4A' IS ASSUMED."}};
  EXPECT_EQ(rec.reports(), want);
  expectRect(frame(1, 1), 202.75F, 797.25F, 139.75F, 560.25F, "A4X as A4A");
}

TEST(PageLayout, PaperTooLargeLeavesTheLayoutAlone) {
  ReportRecorder rec;
  zep::slinit(100.0F, 70.0F, 0.05F);  // 5 x 3.5 cm
  zep::sldiv("Y", 2, 1);
  zep::slsize("A0");
  std::vector<Report> want = {{"W", "SLSIZE", "SELECTED SIZE 'A0 ' CANNOT BE ASSIGNED."},
                              {"M", "-CNT.-", "DO NOTHING."}};
  EXPECT_EQ(rec.reports(), want);
  expectRect(frame(1, 1), 0, 100, 0, 70, "after A0");
  expectRect(frame(2, 2), 50, 100, 0, 70, "division kept");

  rec.clear();
  zep::slform(4.0F, 3.6F);  // fits across, not upwards
  want = {{"W", "SLFORM", "SELECTED SIZE CANNOT BE ASSIGNED."}, {"M", "-CNT.-", "DO NOTHING."}};
  EXPECT_EQ(rec.reports(), want);
  expectRect(frame(0, 1), 0, 100, 0, 70, "after slform");
}

TEST(PageLayout, SizeAfterDivisionChangesOnlyLevelsZeroAndOne) {
  zep::slinit(1000.0F, 700.0F, 0.05F);
  zep::sldiv("Y", 2, 2);
  zep::slsize("A4");
  expectRect(frame(1, 1), 202.75F, 797.25F, 139.75F, 560.25F, "page");
  expectRect(frame(2, 1), 0, 500, 350, 700, "first frame as divided before");
}

TEST(PageLayout, DivisionAlongRowsAndAlongColumns) {
  zep::slinit(200.0F, 300.0F, 1.0F);
  zep::sldiv("y", 2, 3);
  EXPECT_EQ(sgInt("NLEVEL"), 2);
  // Rows from the top, left to right.
  expectRect(frame(2, 1), 0, 100, 200, 300, "Y 1");
  expectRect(frame(2, 2), 100, 200, 200, 300, "Y 2");
  expectRect(frame(2, 3), 0, 100, 100, 200, "Y 3");
  expectRect(frame(2, 4), 100, 200, 100, 200, "Y 4");
  expectRect(frame(2, 5), 0, 100, 0, 100, "Y 5");
  expectRect(frame(2, 6), 100, 200, 0, 100, "Y 6");

  zep::slinit(200.0F, 300.0F, 1.0F);
  zep::sldiv("T", 2, 3);
  // Columns from the left, top to bottom.
  expectRect(frame(2, 1), 0, 100, 200, 300, "T 1");
  expectRect(frame(2, 2), 0, 100, 100, 200, "T 2");
  expectRect(frame(2, 3), 0, 100, 0, 100, "T 3");
  expectRect(frame(2, 4), 100, 200, 200, 300, "T 4");
  expectRect(frame(2, 6), 100, 200, 0, 100, "T 6");

  // "S" and "L" are the other names of the two orders.
  float xa[6], xb[6], ya[6], yb[6];
  zep::sldivz(0, 200, 0, 300, "S", 2, 3, xa, xb, ya, yb);
  EXPECT_FLOAT_EQ(xa[1], 100.0F);
  EXPECT_FLOAT_EQ(ya[1], 200.0F);
  zep::sldivz(0, 200, 0, 300, "l", 2, 3, xa, xb, ya, yb);
  EXPECT_FLOAT_EQ(xa[1], 0.0F);
  EXPECT_FLOAT_EQ(ya[1], 100.0F);
}

TEST(PageLayout, SecondDivisionSplitsEveryFrameAndPagesCount) {
  zep::slinit(400.0F, 400.0F, 1.0F);
  zep::sldiv("Y", 2, 2);
  zep::sldiv("Y", 2, 1);
  EXPECT_EQ(sgInt("NLEVEL"), 3);
  // Children of frame 2 (top right) are frames 3 and 4 of level 3.
  expectRect(frame(3, 3), 200, 300, 200, 400, "3.3");
  expectRect(frame(3, 4), 300, 400, 200, 400, "3.4");
  expectRect(frame(3, 8), 300, 400, 0, 200, "3.8");

  int jfr = 8, ipage = 0;
  zep::slpage(3, jfr, ipage);
  EXPECT_EQ(ipage, 1);
  EXPECT_EQ(jfr, 8);
  jfr = 9;
  zep::slpage(3, jfr, ipage);
  EXPECT_EQ(ipage, 2);
  EXPECT_EQ(jfr, 1);
  jfr = 17;
  zep::slpage(3, jfr, ipage);
  EXPECT_EQ(ipage, 3);
  EXPECT_EQ(jfr, 1);
  // Frame numbers beyond a page wrap onto the same rectangles.
  expectRect(frame(3, 12), 300, 400, 200, 400, "3.12 as 3.4");
  // Upper levels stay as they were.
  jfr = 9;
  zep::slpage(2, jfr, ipage);
  EXPECT_EQ(ipage, 3);
  EXPECT_EQ(jfr, 1);
}

struct DivisionCase {
  int nx1, ny1, nx2, ny2;  // nx2 == 0: one division only
  bool fits;
};

TEST(PageLayout, FortyPositionsAtMost) {
  const DivisionCase cases[] = {
      {5, 4, 2, 1, false}, {4, 4, 2, 1, false}, {3, 3, 2, 1, true}, {6, 6, 0, 0, true}, {6, 7, 0, 0, false},
      {1, 1, 1, 1, true},  {100000, 100000, 0, 0, false},  // must not wrap around
  };
  ReportRecorder rec;
  for (const DivisionCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.nx1) + "x" + std::to_string(c.ny1) + " then " + std::to_string(c.nx2) + "x" +
                 std::to_string(c.ny2));
    rec.clear();
    zep::slinit(100.0F, 100.0F, 1.0F);
    zep::sldiv("Y", c.nx1, c.ny1);
    if (c.nx2 > 0) zep::sldiv("Y", c.nx2, c.ny2);
    if (c.fits) {
      EXPECT_TRUE(rec.reports().empty());
    } else {
      const std::vector<Report> want = {{"E", "SLDIV ", "TOTAL FRAME NUMBER IS IN EXCESS OF MAXIMUM."}};
      EXPECT_EQ(rec.reports(), want);
      // The refused division is not applied.
      EXPECT_EQ(sgInt("NLEVEL"), c.nx2 > 0 ? 2 : 1);
    }
  }
}

TEST(PageLayout, DivisionReportsKeepTheLayout) {
  ReportRecorder rec;
  zep::slinit(100.0F, 100.0F, 1.0F);
  zep::sldiv("X", 2, 2);
  zep::sldiv("Y", 0, 3);
  zep::sldiv("Y", 2, -1);
  const std::vector<Report> want = {
      {"E", "SLDIV ", "DIVISION DIRECTION IS INVALID."},
      {"E", "SLDIV ", "NUMBER OF COLUMNS AND ROWS MUST BE 1 OR MORE."},
      {"E", "SLDIV ", "NUMBER OF COLUMNS AND ROWS MUST BE 1 OR MORE."},
  };
  EXPECT_EQ(rec.reports(), want);
  EXPECT_EQ(sgInt("NLEVEL"), 1);
  int jfr = 2, ipage = 0;
  zep::slpage(1, jfr, ipage);
  EXPECT_EQ(ipage, 2);
}

TEST(PageLayout, LevelAndFrameChecks) {
  ReportRecorder rec;
  zep::slinit(100.0F, 100.0F, 1.0F);
  zep::sldiv("Y", 2, 2);
  int jfr = 0, ipage = 77;
  zep::slpage(2, jfr, ipage);
  jfr = 1;
  zep::slpage(3, jfr, ipage);
  zep::slpage(-1, jfr, ipage);
  EXPECT_EQ(ipage, 77);
  const Rect r = frame(3, 1);
  frame(2, -4);
  const std::vector<Report> want = {
      {"E", "SLPAGE", "FRAME NUMBER IS LESS THAN ZERO."}, {"E", "SLPAGE", "LEVEL NUMBER IS INVALID."},
      {"E", "SLPAGE", "LEVEL NUMBER IS INVALID."},        {"E", "SLQRCT", "LEVEL NUMBER IS INVALID."},
      {"E", "SLQRCT", "FRAME NUMBER IS LESS THAN ZERO."},
  };
  EXPECT_EQ(rec.reports(), want);
  EXPECT_EQ(r.xmin, -1.0F);  // outputs untouched

  // A level that holds no frames cannot number pages, whatever NLEVEL says.
  rec.clear();
  zep::sgiset("NLEVEL", 3);
  jfr = 5;
  zep::slpage(3, jfr, ipage);
  EXPECT_EQ(rec.reports(), (std::vector<Report>{{"E", "SLPAGE", "LEVEL NUMBER IS INVALID."}}));
  zep::sgiset("NLEVEL", 2);
}

TEST(PageLayout, MarginsAndInitChecks) {
  float x0 = 0, x1 = 10, y0 = 0, y1 = 20;
  zep::slmgnz(x0, x1, y0, y1, 0.1F, 0.2F, 0.25F, 0.25F);
  EXPECT_FLOAT_EQ(x0, 1.0F);
  EXPECT_FLOAT_EQ(x1, 8.0F);
  EXPECT_FLOAT_EQ(y0, 5.0F);
  EXPECT_FLOAT_EQ(y1, 15.0F);

  ReportRecorder rec;
  float a = 5, b = 4, c = 0, d = 1;
  zep::slmgnz(a, b, c, d, 0, 0, 0, 0);
  a = 0, b = 10;
  zep::slmgnz(a, b, c, d, -0.1F, 0, 0, 0);
  zep::slmgnz(a, b, c, d, 0.5F, 0.5F, 0, 0);
  EXPECT_EQ(a, 0.0F);
  EXPECT_EQ(b, 10.0F);
  zep::slinit(0.0F, 10.0F, 1.0F);
  zep::slinit(10.0F, 10.0F, 0.0F);
  const std::vector<Report> want = {
      {"E", "SLMGNZ", "RECTANGLE DEFINITION IS INVALID."},
      {"E", "SLMGNZ", "MARGIN PARAMETER IS LESS THAN ZERO."},
      {"E", "SLMGNZ", "SUM OF MARGIN PARAMETERS IS LARGER THAN 1.0."},
      {"E", "SLINIT", "WIDTH OF LAYOUT RECTANGLE IS LESS THAN ZERO."},
      {"E", "SLINIT", "SCALING FACTOR IS LESS THAN ZERO."},
  };
  EXPECT_EQ(rec.reports(), want);
}

TEST(PageLayoutDeath, ErrorReportLines) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        zep::slinit(100.0F, 100.0F, 1.0F);
        zep::sldiv("Y", 2, 2);
        zep::sldiv("Y", 1, 2);
        zep::sldiv("Y", 1, 1);
      },
      testing::KilledBySignal(SIGABRT), lineRegex(" ***** ERROR (SLDIV ) ***  NUMBER OF DIVISION IS IN EXCESS OF MUXIMUM."));
  EXPECT_EXIT(zep::slsize("C4"), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SLSIZE) ***  SIZE PARAMETER IS INVALID."));
  EXPECT_EXIT(zep::slsize("AX"), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SLSIZE) ***  SIZE PARAMETER IS INVALID."));
  float dx = 0, dy = 0;
  EXPECT_EXIT(zep::slqsiz("A", dx, dy), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SLQSIZ) ***  SIZE PARAMETER IS INVALID."));
  EXPECT_EXIT(zep::sldiv("Y", 0, 1), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SLDIV ) ***  NUMBER OF COLUMNS AND ROWS MUST BE 1 OR MORE."));
}

}  // namespace
