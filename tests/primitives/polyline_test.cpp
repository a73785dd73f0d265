// Polylines from arrays: what reaches the workstation, where the ink lands on a
// PNG page, dashes running on across points, missing points, and the reports
// for counts and indices that draw nothing or are wrong.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "support/message_file.hpp"
#include "support/png_image.hpp"
#include "support/recording_port.hpp"
#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;
using zeptest::driverLog;
using zeptest::expectLines;

// The page is 900 x 650 inside a 2-pixel border, y upwards; the frame is the
// centred square 650 x 650 from x = 125.
int px(double vx) { return static_cast<int>(2 + 125 + 650 * vx + 0.5); }
int py(double vy) { return static_cast<int>(2 + 650 - 650 * vy + 0.5); }

// Whether any pixel within one pixel of V point (vx, vy) is inked.
bool inkNear(const zeptest::Png& png, double vx, double vy) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (png.pixel(px(vx) + dx, py(vy) + dy) != 0xFFFFFF) return true;
  return false;
}

// Runs `draw` on a one-frame PNG page and returns its path.
template <class Draw>
fs::path pngPage(const zeptest::TempWorkDir& dir, Draw draw) {
  zep::gliset("MSGLEV", 2);
  zep::swiset("IFL", 1);
  zep::sgopn(2);
  zep::sgfrm();
  draw();
  zep::sgcls();
  return dir.path() / "zep_0001.png";
}

// Everything from the first open of the workstation's polyline on.
std::vector<std::string> fromFirst(const std::string& call) {
  const auto it = std::find(driverLog().begin(), driverLog().end(), call);
  return {it, driverLog().end()};
}

TEST(Polylines, PointsReachTheWorkstationAsOnePolylineAndMissingPointsLiftThePen) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::sgswnd(0, 10, 0, 10);
    zep::sgstrf();
    const float x[] = {0, 10, 10, 0};
    const float y[] = {0, 0, 10, 10};
    zep::sgspli(25);
    zep::sgplu(4, x, y);
    std::string failure = expectLines(fromFirst("oopn(SZPL,25)"),
                                      {"oopn(SZPL,25)", "qwdc", "qclc", "swdi(5)", "scli(2)", "gopn", "gmov(125.0,0.0)", "gplt(775.0,0.0)",
                                       "gplt(775.0,650.0)", "gplt(125.0,650.0)", "gcls", "ocls(SZPL)"});
    // Missing points are plain numbers until LMISS says otherwise; then a point
    // missing in either coordinate ends a piece, and leading and trailing
    // missing points, or several in a row, leave nothing behind.
    float miss = 0;
    zep::glrget("RMISS", miss);
    const float mx[] = {miss, 0, 0.5F, miss, 1, 0, 0.5F, miss};
    const float my[] = {0, 0, 0, 0.5F, miss, 0.5F, 0.5F, miss};
    driverLog().clear();
    zep::gllset("LMISS", true);
    zep::sgplzv(8, mx, my, 1, 1);
    failure += expectLines(fromFirst("gopn"), {"gopn", "gmov(125.0,0.0)", "gplt(450.0,0.0)", "gmov(125.0,325.0)",
                                               "gplt(450.0,325.0)", "gcls", "ocls(SZPL)"});
    // The one-call form leaves the current attributes alone; the arrays are read only.
    int type = 0, index = 0;
    zep::sgqplt(type);
    zep::sgqpli(index);
    if (type != 1 || index != 25) failure += "current attributes changed\n";
    if (mx[0] != miss || my[4] != miss) failure += "arrays written\n";
    // R level: the workstation window clips.
    driverLog().clear();
    const float rx[] = {0.5F, 2.0F};
    const float ry[] = {0.5F, 0.5F};
    zep::sgplzr(2, rx, ry, 1, 1);
    failure += expectLines(fromFirst("gopn"), {"gopn", "gmov(450.0,325.0)", "gplt(775.0,325.0)", "gcls", "ocls(SZPL)"});
    return failure;
  });
}

TEST(Polylines, InkLandsOnTheLineDashesRunOnAndMissingPointsLeaveGaps) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    // A zigzag in U: window 0..10 over the whole frame.
    const float zx[] = {1, 3, 5, 7, 9};
    const float zy[] = {8, 6, 8, 6, 8};
    // A dashed row made of 40 steps of 0.01 in V: type 2 is 12 bits on and 4
    // off with bits of 0.003, so gaps of 0.012 every 0.048, running across
    // points. Restarted at every point each step would be drawn whole.
    std::vector<float> dx, dy;
    for (int i = 0; i <= 40; ++i) {
      dx.push_back(0.1F + 0.01F * static_cast<float>(i));
      dy.push_back(0.4F);
    }
    // A row with a missing point between 0.3 and 0.5.
    const float mx[] = {0.1F, 0.3F, 0.4F, 0.5F, 0.7F};
    const float my[] = {0.2F, 0.2F, -999.0F, 0.2F, 0.2F};
    const fs::path page = pngPage(dir, [&] {
      zep::sgswnd(0, 10, 0, 10);
      zep::sgsvpt(0, 1, 0, 1);
      zep::sgstrf();
      zep::sgplu(5, zx, zy);
      zep::sgsplt(2);
      zep::sgplv(static_cast<int>(dx.size()), dx.data(), dy.data());
      zep::sgsplt(1);
      zep::gllset("LMISS", true);
      zep::glrset("RMISS", -999.0F);
      zep::sgplzv(5, mx, my, 1, 1);
    });
    const zeptest::Png png(page);
    if (!png.ok()) return std::string("no PNG page");
    std::string failure;
    // The zigzag: ink at the corners and halfway along each leg, none inside
    // the triangles between the legs.
    for (double v : {0.1, 0.3, 0.5, 0.7, 0.9})
      if (!inkNear(png, v, v == 0.3 || v == 0.7 ? 0.6 : 0.8)) failure += "zigzag corner missing\n";
    for (double v : {0.2, 0.4, 0.6, 0.8})
      if (!inkNear(png, v, 0.7)) failure += "zigzag leg missing\n";
    for (double v : {0.3, 0.7})
      if (inkNear(png, v, 0.75)) failure += "ink inside a zigzag triangle\n";
    if (zeptest::countPixels(png, 0x000000, 0, 0, png.width(), py(0.9) - 3) > 0) failure += "ink above the zigzag\n";
    // Dashes: on at 0.1 + 0.018, off at 0.1 + 0.042, on again at 0.1 + 0.066.
    for (int c = 0; c < 8; ++c) {
      const double start = 0.1 + 0.048 * c;
      if (!inkNear(png, start + 0.018, 0.4)) failure += "dash missing in cycle " + std::to_string(c) + "\n";
      if (png.pixel(px(start + 0.042), py(0.4)) != 0xFFFFFF) failure += "no gap in cycle " + std::to_string(c) + "\n";
    }
    // The missing point: the line stops at 0.3 and starts again at 0.5.
    if (!inkNear(png, 0.2, 0.2) || !inkNear(png, 0.6, 0.2)) failure += "pieces around the missing point\n";
    if (inkNear(png, 0.35, 0.2) || inkNear(png, 0.4, 0.2) || inkNear(png, 0.45, 0.2))
      failure += "drawn across the missing point\n";
    if (zeptest::countPixels(png, 0x000000, 0, py(0.15), png.width(), png.height()) > 0)
      failure += "drawn towards the missing value\n";
    return failure;
  });
}

TEST(Polylines, CountsAndIndicesThatDrawNothingOrAreWrong) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zeptest::openRecordedSession();
    zeptest::MessageFile messages(dir.path() / "m.txt");
    zep::gliset("MSGLEV", 0);
    const float x[] = {0, 1};
    const float y[] = {0, 1};
    zep::sgplu(0, x, y);
    zep::sgplv(1, x, y);
    zep::sgspli(0);
    zep::sgplr(2, x, y);
    zep::sgplzu(2, x, y, 1, 0);
    if (!driverLog().empty()) return std::string("something was drawn");
    return expectLines(messages.lines(), {" *** MESSAGE (SGPLV ) ***  NUMBER OF POINTS IS 1 / DO NOTHING.",
                                          " *** MESSAGE (SGPLR ) ***  POLYLINE INDEX IS 0 / DO NOTHING.",
                                          " *** MESSAGE (SGPLZU) ***  POLYLINE INDEX IS 0 / DO NOTHING."});
  });
  const float x[] = {0, 1};
  EXPECT_EXIT(
      {
        zeptest::openRecordedSession();
        zep::sgplu(-1, x, x);
      },
      testing::KilledBySignal(SIGABRT), zeptest::lineRegex(" ***** ERROR (SGPLU ) ***  NUMBER OF POINTS IS LESS THAN 0."));
  EXPECT_EXIT(
      {
        zeptest::openRecordedSession();
        zep::sgplzv(2, x, x, 1, -5);
      },
      testing::KilledBySignal(SIGABRT), zeptest::lineRegex(" ***** ERROR (SGPLZV) ***  POLYLINE INDEX IS LESS THAN 0."));
}

}  // namespace
